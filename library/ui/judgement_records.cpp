#include "library/ui/judgement_records.h"

#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/registry/object_database.h"
#include "library/registry/object_digest.h"
#include "library/ui/page_validator_base.h"
#include "library/ui/pages/judgements/page_flicker.h"
#include "library/ui/validator_sheet.h"

#include <chrono>
#include <cstdlib>
#include <ctime>

namespace orvane {
namespace {

constexpr int kJudgedTextLimit = static_cast<int>(kDigestTextLimit);

// Markup written back after a repair is laid out anew: only what it says counts.
void AppendFolded(std::string& out, std::string_view text)
{
    bool blank = false;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
            blank = true;
            continue;
        }
        if (blank && !out.empty())
            out += ' ';
        blank = false;
        out += c;
    }
}

} // namespace

std::string JudgementKeyOf(const CHtmlDocument& document, const CElement& element, std::uint32_t bit)
{
    if (!element.IsGrouped(bit))
        return kWholePageKey;
    std::string judged;
    if (element.GetCheckName(bit) == "CheckFlicker") {
        for (const CPageFlicker::Item& item : CPageFlicker::ItemsOf(document)) {
            AppendFolded(judged, item.image);
            AppendFolded(judged, item.markup);
            judged += '\n';
            if (judged.size() >= kDigestTextLimit)
                break;
        }
        return ObjectDigest(judged);
    }
    return RuleJudgementKeyOf(document, &element);
}

std::string RuleJudgementKeyOf(const CHtmlDocument& document, const CElement* element)
{
    if (!element)
        return kWholePageKey;
    std::string judged;
    // The page's own tags carry settings repairs add to (a language, a
    // title): what the page says is what was judged.
    if (element->Kind() != tag::kHtml && element->Kind() != tag::kBody)
        AppendFolded(judged, element->MarkupText());
    judged += '\n';
    AppendFolded(judged, document.InnerText(*element, kJudgedTextLimit));
    return ObjectDigest(judged);
}

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
    for (int i = 0; i < sheet.PageCount(); ++i) {
        const CPageValidatorBase& page = sheet.Page(i);
        if (!page.GivesVerdicts() || !page.VerdictAnswered())
            continue;
        const std::string& verdict = page.Verdict();
        if (verdict.empty() && !entry)
            continue;
        page.ForEachJudged([&](CElement& element, std::uint32_t bit) {
            const std::string check = element.GetCheckName(bit);
            const std::string key = JudgementKeyOf(document, element, bit);
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
