#include "library/html/page_language.h"

#include "library/html/attribute.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/lang_codes.h"
#include "library/html/page_text.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"

#include <array>
#include <cstdint>

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

bool IsUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const std::size_t length = byte < 0x80 ? 1 : (byte >> 5) == 0x6 ? 2 : (byte >> 4) == 0xE ? 3 : (byte >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
}

// The characters Windows-1252 puts where Latin-1 has its C1 controls.
constexpr std::array<std::uint16_t, 32> kWindows1252High = {
    0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

std::string FromWindows1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        AppendUtf8(out, byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte);
    }
    return out;
}

// Character references as a reader sees them; a named one other than the
// commonest stands as a blank, which says nothing of a language either way.
std::string Decoded(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out.push_back(text[i]);
            continue;
        }
        const std::size_t end = text.find(';', i);
        if (end == std::string_view::npos || end - i > 10) {
            out.push_back('&');
            continue;
        }
        const std::string_view name = text.substr(i + 1, end - i - 1);
        if (!name.empty() && name[0] == '#') {
            std::uint32_t c = 0;
            const bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
            for (char d : name.substr(hex ? 2 : 1)) {
                const int digit = d >= '0' && d <= '9' ? d - '0'
                                  : hex && d >= 'a' && d <= 'f' ? d - 'a' + 10
                                  : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10
                                                                : -1;
                if (digit < 0 || c > 0x10FFFF) {
                    c = 0xFFFD;
                    break;
                }
                c = c * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
            }
            AppendUtf8(out, c);
        } else if (name == "amp") {
            out.push_back('&');
        } else if (name == "lt") {
            out.push_back('<');
        } else if (name == "gt") {
            out.push_back('>');
        } else if (name == "quot") {
            out.push_back('"');
        } else if (name == "apos") {
            out.push_back('\'');
        } else {
            out.push_back(' ');
        }
        i = end;
    }
    return out;
}

// The encoding a meta element of the page names, lower-cased; empty when none does.
std::string DeclaredEncoding(const CHtmlDocument& document)
{
    for (const CElement* e : document.Elements()) {
        if (e->IsDeleted() || e->Kind() != tag::kMeta)
            continue;
        if (const CAttribute* charset = Shown(*e, "charset"))
            return ToLower(Trim(charset->Value()));
        const CAttribute* content = Shown(*e, "content");
        const std::string value = content ? ToLower(content->Value()) : std::string();
        if (const std::size_t at = value.find("charset="); at != std::string::npos) {
            std::string name = value.substr(at + 8);
            return std::string(Trim(name.substr(0, name.find_first_of("; \"'"))));
        }
    }
    return {};
}

bool IsWesternEncoding(std::string_view name)
{
    for (std::string_view western : {"", "iso-8859-1", "iso-8859-15", "latin1", "windows-1252", "cp1252",
                                     "us-ascii", "ascii", "utf-8", "utf8"}) {
        if (name == western)
            return true;
    }
    return false;
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
    if (!IsUtf8(raw)) {
        if (!IsWesternEncoding(DeclaredEncoding(document)))
            return {};
        raw = FromWindows1252(raw);
    }
    // One blank for every run of them: the identifier counts letters, not layout.
    std::string text;
    text.reserve(raw.size());
    for (char c : Decoded(raw)) {
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
