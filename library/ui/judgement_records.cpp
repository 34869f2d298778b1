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

// The judged text as the digest takes it: markup written back after a repair
// is laid out anew, so only what it says counts; and no more is gathered
// than the digest reads, however large the element.
class CJudgedText {
public:
    CJudgedText() { m_text.reserve(kDigestTextLimit + 64); }

    // Runs of white space become one blank, none at either end of the piece.
    void AppendFolded(std::string_view piece)
    {
        bool blank = false;
        for (char c : piece) {
            if (Full())
                return;
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
                blank = true;
                continue;
            }
            if (blank && !m_text.empty())
                m_text += ' ';
            blank = false;
            m_text += c;
        }
    }
    void EndLine()
    {
        if (!Full())
            m_text += '\n';
    }
    bool Full() const { return m_text.size() >= kDigestTextLimit; }
    std::string Digest() const { return ObjectDigest(m_text); }

private:
    std::string m_text;
};

std::string FlickerKeyOf(const CHtmlDocument& document)
{
    CJudgedText judged;
    for (const CPageFlicker::Item& item : CPageFlicker::ItemsOf(document)) {
        judged.AppendFolded(item.image);
        judged.AppendFolded(item.markup);
        judged.EndLine();
        if (judged.Full())
            break;
    }
    return judged.Digest();
}

std::string ElementKeyOf(const CHtmlDocument& document, const CElement& element)
{
    CJudgedText judged;
    // The page's own tags carry settings repairs add to (a language, a
    // title): what the page says is what was judged.
    if (element.Kind() != tag::kHtml && element.Kind() != tag::kBody) {
        if (element.NeedsRebuild())
            judged.AppendFolded(element.MarkupText());
        else
            judged.AppendFolded(element.Text());
    }
    judged.EndLine();
    if (!judged.Full())
        judged.AppendFolded(document.InnerText(element, kJudgedTextLimit));
    return judged.Digest();
}

} // namespace

CJudgementKeys::CJudgementKeys(const CHtmlDocument& document) : m_document(document) {}

std::string CJudgementKeys::Of(const CElement& element, std::uint32_t bit)
{
    if (!element.IsGrouped(bit))
        return kWholePageKey;
    // What may flicker is judged for the page at once: every problem of the
    // check has the one key.
    if (element.GetCheckName(bit) == "CheckFlicker") {
        if (!m_flickerKey)
            m_flickerKey = FlickerKeyOf(m_document);
        return *m_flickerKey;
    }
    // Every other check's key is the element's alone: an element with
    // problems of several checks is digested once.
    if (auto known = m_elementKeys.find(&element); known != m_elementKeys.end())
        return known->second;
    return m_elementKeys.emplace(&element, ElementKeyOf(m_document, element)).first->second;
}

std::string JudgementKeyOf(const CHtmlDocument& document, const CElement& element, std::uint32_t bit)
{
    return CJudgementKeys(document).Of(element, bit);
}

std::string RuleJudgementKeyOf(const CHtmlDocument& document, const CElement* element)
{
    return element ? ElementKeyOf(document, *element) : std::string(kWholePageKey);
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
