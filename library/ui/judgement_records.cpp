#include "library/ui/judgement_records.h"

#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/registry/judgement_key.h"
#include "library/registry/object_database.h"
#include "library/ui/page_validator_base.h"
#include "library/ui/validator_sheet.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <set>

namespace orvane {

std::string JudgeName()
{
    for (const char* name : {"ORVANE_USER", "USER", "LOGNAME", "USERNAME"}) {
        if (const char* value = std::getenv(name); value && *value)
            return value;
    }
    return {};
}

std::string JudgementDate()
{
    std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    char text[16] = {};
    std::tm parts{};
#ifdef _WIN32
    if (gmtime_s(&parts, &now) == 0)
#else
    if (gmtime_r(&now, &parts))
#endif
        std::strftime(text, sizeof text, "%Y-%m-%d", &parts);
    return text;
}

void RememberVerdicts(const CValidatorSheet& sheet, const CHtmlDocument& document, CSrcObjectDatabase& registry)
{
    const std::string who = JudgeName();
    const std::string when = JudgementDate();
    CSrcDocument* entry = registry.FindDocument(document.Name());
    // The checks with records under keys of earlier releases: only for them
    // is the MD5 digest of an element worth taking.
    std::set<std::string, std::less<>> md5Checks;
    if (entry) {
        entry->ForEachJudgement([&](const CSrcJudgement& judgement) {
            if (FormOfJudgementKey(judgement.key) == JudgementKeyForm::Md5)
                md5Checks.insert(judgement.check);
        });
    }
    CJudgementKeys keys(document);
    for (int i = 0; i < sheet.PageCount(); ++i) {
        const CPageValidatorBase& page = sheet.Page(i);
        if (!page.GivesVerdicts() || !page.VerdictAnswered())
            continue;
        const std::string& verdict = page.Verdict();
        if (verdict.empty() && !entry)
            continue;
        page.ForEachJudged([&](CElement& element, std::uint32_t bit) {
            const std::string check = element.GetCheckName(bit);
            const std::string key = keys.Of(element, bit);
            if (entry && element.IsGrouped(bit) && md5Checks.contains(check))
                entry->ForgetJudgement(check, Md5JudgementKey(keys.DigestOf(check, element, JudgementKeyForm::Md5)));
            if (verdict.empty()) {
                entry->ForgetJudgement(check, key);
                return;
            }
            if (!entry && !(entry = registry.DocumentFor(document.Name())))
                return;
            entry->RecordJudgement({check, key, verdict, who, when});
        });
        page.ForEachJudgedKey([&](const std::string& check, const std::string& key) {
            if (verdict.empty()) {
                if (entry)
                    entry->ForgetJudgement(check, key);
                return;
            }
            if (!entry && !(entry = registry.DocumentFor(document.Name())))
                return;
            entry->RecordJudgement({check, key, verdict, who, when});
        });
    }
}

} // namespace orvane
