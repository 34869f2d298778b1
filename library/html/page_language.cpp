#include "library/html/page_language.h"

#include "library/html/attribute.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/lang_codes.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"

namespace orvane {

namespace {

const CAttribute* Shown(const CElement& element, std::string_view name)
{
    for (const CAttribute* a = element.AttributesAfterName(); a; a = a->Next()) {
        if (!a->IsHidden() && EqualsIgnoreCase(a->Name(), name))
            return a;
    }
    return nullptr;
}

} // namespace

std::string KnownLanguageCode(std::string_view value)
{
    const std::string code = ToLower(Trim(value.substr(0, value.find_first_of("-_"))));
    CLanguageCodeList& list = CLanguageCodeList::Library();
    list.Load();
    return (code.size() == 2 || code.size() == 3) && list.IsValidCode(code) ? code : std::string();
}

std::string ReadableText(const CHtmlDocument& document)
{
    std::string raw;
    int hidden = 0;  // inside script or style
    for (const CElement* e : document.Elements()) {
        if (e->IsDeleted())
            continue;
        const int k = e->Kind();
        if (k == tag::kScript || k == tag::kStyle) {
            ++hidden;
        } else if ((k == tag::kScript + kind::kEndOffset || k == tag::kStyle + kind::kEndOffset) && hidden > 0) {
            --hidden;
        } else if (k == kind::kText && hidden == 0) {
            raw.append(e->Text());
            raw.push_back(' ');
        } else if (k != kind::kText) {
            raw.push_back(' ');  // a tag parts words
        }
    }
    // One blank for every run of them: the identifier counts letters, not layout.
    std::string text;
    text.reserve(raw.size());
    for (char c : document.UserText(raw, TextPlace::ElementText)) {
        if (IsSpace(c)) {
            if (!text.empty() && text.back() != ' ')
                text.push_back(' ');
        } else {
            text.push_back(c);
        }
    }
    return text;
}

std::string ReadersLanguage(const CHtmlDocument& document)
{
    for (const CElement* e : document.Elements()) {
        if (e->IsDeleted() || e->Kind() != tag::kHtml)
            continue;
        if (const CAttribute* lang = Shown(*e, "lang")) {
            if (std::string code = KnownLanguageCode(lang->Value()); !code.empty())
                return code;
        }
        break;
    }
    return FindPageLanguage(document).code;
}

PageLanguage FindPageLanguage(const CHtmlDocument& document)
{
    PageLanguage found;
    for (const CElement* e : document.Elements()) {
        if (e->IsDeleted())
            continue;
        if (e->Kind() == tag::kHtml) {
            if (const CAttribute* xmlLang = Shown(*e, "xml:lang"); xmlLang && found.code.empty()) {
                found.code = KnownLanguageCode(xmlLang->Value());
                found.source = PageLanguage::Source::XmlLang;
            }
        } else if (e->Kind() == tag::kMeta && found.code.empty()) {
            const CAttribute* equiv = Shown(*e, "http-equiv");
            const CAttribute* content = Shown(*e, "content");
            if (equiv && content && EqualsIgnoreCase(Trim(equiv->Value()), "content-language")) {
                const std::string_view value = content->Value();
                found.code = KnownLanguageCode(value.substr(0, value.find(',')));
                found.source = PageLanguage::Source::ContentLanguage;
            }
        }
    }
    if (!found.code.empty())
        return found;
    const platform::LanguageGuess guess = platform::GuessLanguage(ReadableText(document));
    found.code = guess.outcome == platform::LanguageGuessOutcome::Identified ? KnownLanguageCode(guess.code) : "";
    if (!found.code.empty()) {
        found.source = PageLanguage::Source::Text;
        return found;
    }
    found.source = PageLanguage::Source::None;
    found.why = guess.outcome == platform::LanguageGuessOutcome::Identified ? platform::LanguageGuessOutcome::Unsure
                                                                            : guess.outcome;
    return found;
}

} // namespace orvane
