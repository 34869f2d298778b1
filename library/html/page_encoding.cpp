#include "page_encoding.h"

#include "text_util.h"

#include "platform/text_codec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <utility>

namespace orvane {

namespace {

// The labels of the HTML standard's encodings (the common ones of each; a
// label outside the table is still taken when the converter knows it).
constexpr auto kLabels = std::to_array<std::pair<std::string_view, std::string_view>>({
    {"unicode-1-1-utf-8", "UTF-8"}, {"unicode11utf8", "UTF-8"}, {"unicode20utf8", "UTF-8"},
    {"utf-8", "UTF-8"}, {"utf8", "UTF-8"}, {"x-unicode20utf8", "UTF-8"},
    {"866", "IBM866"}, {"cp866", "IBM866"}, {"ibm866", "IBM866"},
    {"iso-8859-2", "ISO-8859-2"}, {"iso8859-2", "ISO-8859-2"}, {"iso_8859-2", "ISO-8859-2"}, {"latin2", "ISO-8859-2"}, {"l2", "ISO-8859-2"},
    {"iso-8859-3", "ISO-8859-3"}, {"latin3", "ISO-8859-3"},
    {"iso-8859-4", "ISO-8859-4"}, {"latin4", "ISO-8859-4"},
    {"cyrillic", "ISO-8859-5"}, {"iso-8859-5", "ISO-8859-5"}, {"iso8859-5", "ISO-8859-5"},
    {"arabic", "ISO-8859-6"}, {"iso-8859-6", "ISO-8859-6"},
    {"greek", "ISO-8859-7"}, {"iso-8859-7", "ISO-8859-7"}, {"iso8859-7", "ISO-8859-7"},
    {"hebrew", "ISO-8859-8"}, {"iso-8859-8", "ISO-8859-8"}, {"visual", "ISO-8859-8"},
    {"iso-8859-8-i", "ISO-8859-8-I"}, {"logical", "ISO-8859-8-I"},
    {"iso-8859-10", "ISO-8859-10"}, {"latin6", "ISO-8859-10"},
    {"iso-8859-13", "ISO-8859-13"}, {"iso-8859-14", "ISO-8859-14"},
    {"iso-8859-15", "ISO-8859-15"}, {"iso8859-15", "ISO-8859-15"}, {"iso_8859-15", "ISO-8859-15"}, {"l9", "ISO-8859-15"}, {"latin-9", "ISO-8859-15"}, {"csisolatin9", "ISO-8859-15"},
    {"iso-8859-16", "ISO-8859-16"},
    {"koi", "KOI8-R"}, {"koi8", "KOI8-R"}, {"koi8-r", "KOI8-R"}, {"koi8_r", "KOI8-R"},
    {"koi8-ru", "KOI8-U"}, {"koi8-u", "KOI8-U"},
    {"csmacintosh", "macintosh"}, {"mac", "macintosh"}, {"macintosh", "macintosh"}, {"x-mac-roman", "macintosh"},
    {"dos-874", "windows-874"}, {"iso-8859-11", "windows-874"}, {"tis-620", "windows-874"}, {"windows-874", "windows-874"},
    {"cp1250", "windows-1250"}, {"windows-1250", "windows-1250"}, {"x-cp1250", "windows-1250"},
    {"cp1251", "windows-1251"}, {"windows-1251", "windows-1251"}, {"x-cp1251", "windows-1251"},
    {"ansi_x3.4-1968", "windows-1252"}, {"ascii", "windows-1252"}, {"cp1252", "windows-1252"}, {"cp819", "windows-1252"},
    {"csisolatin1", "windows-1252"}, {"ibm819", "windows-1252"}, {"iso-8859-1", "windows-1252"}, {"iso-ir-100", "windows-1252"},
    {"iso8859-1", "windows-1252"}, {"iso88591", "windows-1252"}, {"iso_8859-1", "windows-1252"}, {"iso_8859-1:1987", "windows-1252"},
    {"l1", "windows-1252"}, {"latin1", "windows-1252"}, {"us-ascii", "windows-1252"}, {"windows-1252", "windows-1252"}, {"x-cp1252", "windows-1252"},
    {"cp1253", "windows-1253"}, {"windows-1253", "windows-1253"},
    {"cp1254", "windows-1254"}, {"iso-8859-9", "windows-1254"}, {"latin5", "windows-1254"}, {"windows-1254", "windows-1254"},
    {"cp1255", "windows-1255"}, {"windows-1255", "windows-1255"},
    {"cp1256", "windows-1256"}, {"windows-1256", "windows-1256"},
    {"cp1257", "windows-1257"}, {"windows-1257", "windows-1257"},
    {"cp1258", "windows-1258"}, {"windows-1258", "windows-1258"},
    {"x-mac-cyrillic", "x-mac-cyrillic"}, {"x-mac-ukrainian", "x-mac-cyrillic"},
    {"chinese", "GBK"}, {"gb2312", "GBK"}, {"gbk", "GBK"}, {"x-gbk", "GBK"},
    {"gb18030", "gb18030"},
    {"big5", "Big5"}, {"big5-hkscs", "Big5"}, {"x-x-big5", "Big5"},
    {"euc-jp", "EUC-JP"}, {"x-euc-jp", "EUC-JP"},
    {"iso-2022-jp", "ISO-2022-JP"},
    {"ms932", "Shift_JIS"}, {"shift-jis", "Shift_JIS"}, {"shift_jis", "Shift_JIS"}, {"sjis", "Shift_JIS"}, {"windows-31j", "Shift_JIS"}, {"x-sjis", "Shift_JIS"},
    {"euc-kr", "EUC-KR"}, {"ks_c_5601-1987", "EUC-KR"}, {"windows-949", "EUC-KR"},
    {"unicodefffe", "UTF-16BE"}, {"utf-16be", "UTF-16BE"},
    {"csunicode", "UTF-16LE"}, {"ucs-2", "UTF-16LE"}, {"unicode", "UTF-16LE"}, {"utf-16", "UTF-16LE"}, {"utf-16le", "UTF-16LE"},
    {"x-user-defined", "x-user-defined"},
});

} // namespace

std::string ConverterName(std::string_view standard)
{
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kDiffering = {{
        {"x-mac-cyrillic", "MAC-CYRILLIC"}, {"Big5", "BIG5-HKSCS"}, {"Shift_JIS", "CP932"},
        {"EUC-KR", "CP949"}, {"ISO-8859-8-I", "ISO-8859-8"}, {"x-user-defined", "windows-1252"},
    }};
    for (const auto& [name, converter] : kDiffering) {
        if (name == standard)
            return std::string(converter);
    }
    return std::string(standard);
}

namespace {

bool IsUtf16(std::string_view standard) { return standard == "UTF-16BE" || standard == "UTF-16LE"; }

// Takes the label as the page's declaration, as a browser does: a meta
// declaring UTF-16 is read as UTF-8 (the bytes it stands in were read as
// ASCII), x-user-defined as windows-1252.
bool TakeLabel(std::string_view label, bool fromMeta, PageEncoding& found)
{
    std::string standard = EncodingForLabel(label);
    if (standard.empty()) {
        const std::string trimmed(Trim(label));
        // The converter reads past what is no letter of a name ("utf\a8"
        // is utf8 to it); a browser takes such a label for none.
        const bool printable = std::all_of(trimmed.begin(), trimmed.end(), [](char c) { return c > ' ' && c < 0x7F; });
        if (!printable || !platform::KnowsEncoding(trimmed))
            return false;
        standard = trimmed;
    }
    if (fromMeta && IsUtf16(standard))
        standard = "UTF-8";
    if (standard == "x-user-defined")
        standard = "windows-1252";
    found.declared = std::string(Trim(label));
    found.source = PageEncoding::Source::Declaration;
    found.name = standard;
    // Written as declared where the converter knows the label: the standard
    // reads some labels as a wider encoding than they name (ISO-8859-1 as
    // windows-1252), and a page declaring one gets only what it declares.
    if (standard != "UTF-8" && platform::KnowsEncoding(found.declared))
        found.writeName = found.declared;
    else
        found.writeName = ConverterName(standard);
    return true;
}

// From "text/html; charset=ISO-8859-1": the label after charset=, without quotes.
std::string_view CharsetInContent(std::string_view content)
{
    const std::string lower = ToLower(content);
    std::size_t at = 0;
    while ((at = lower.find("charset", at)) != std::string::npos) {
        std::size_t i = at + 7;
        while (i < content.size() && IsSpace(content[i]))
            ++i;
        if (i >= content.size() || content[i] != '=') {
            at = i;
            continue;
        }
        ++i;
        while (i < content.size() && IsSpace(content[i]))
            ++i;
        if (i < content.size() && (content[i] == '"' || content[i] == '\'')) {
            const char quote = content[i];
            const std::size_t end = content.find(quote, i + 1);
            if (end == std::string_view::npos)
                return {};
            return content.substr(i + 1, end - i - 1);
        }
        std::size_t end = i;
        while (end < content.size() && !IsSpace(content[end]) && content[end] != ';')
            ++end;
        return content.substr(i, end - i);
    }
    return {};
}

// One attribute of a tag from position i: name and value; false at the tag's end.
bool NextAttribute(std::string_view text, std::size_t& i, std::string& name, std::string& value)
{
    name.clear();
    value.clear();
    while (i < text.size() && (IsSpace(text[i]) || text[i] == '/'))
        ++i;
    if (i >= text.size() || text[i] == '>')
        return false;
    while (i < text.size() && !IsSpace(text[i]) && text[i] != '=' && text[i] != '>' &&
           !(text[i] == '/' && !name.empty()))
        name.push_back(AsciiLower(text[i++]));
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    if (i >= text.size() || text[i] != '=')
        return true;
    ++i;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
        const char quote = text[i++];
        while (i < text.size() && text[i] != quote)
            value.push_back(text[i++]);
        if (i < text.size())
            ++i;
        return true;
    }
    while (i < text.size() && !IsSpace(text[i]) && text[i] != '>')
        value.push_back(text[i++]);
    return true;
}

bool FromXmlDeclaration(std::string_view head, PageEncoding& found)
{
    if (head.substr(0, 6) != "<?xml ")
        return false;
    const std::size_t end = head.find("?>");
    if (end == std::string_view::npos)
        return false;
    const std::string_view declaration = head.substr(0, end);
    const std::size_t at = declaration.find("encoding");
    if (at == std::string_view::npos)
        return false;
    std::size_t i = at + 8;
    while (i < declaration.size() && IsSpace(declaration[i]))
        ++i;
    if (i >= declaration.size() || declaration[i] != '=')
        return false;
    ++i;
    while (i < declaration.size() && IsSpace(declaration[i]))
        ++i;
    if (i >= declaration.size() || (declaration[i] != '"' && declaration[i] != '\''))
        return false;
    const std::size_t close = declaration.find(declaration[i], i + 1);
    if (close == std::string_view::npos)
        return false;
    return TakeLabel(declaration.substr(i + 1, close - i - 1), true, found);
}

// The meta prescan: comments skipped, every <meta> looked at in order.
bool FromMeta(std::string_view head, PageEncoding& found)
{
    std::size_t i = 0;
    std::string name;
    std::string value;
    while ((i = head.find('<', i)) != std::string_view::npos) {
        if (head.substr(i, 4) == "<!--") {
            const std::size_t end = head.find("-->", i + 4);
            if (end == std::string_view::npos)
                return false;
            i = end + 3;
            continue;
        }
        if (i + 5 < head.size() && EqualsIgnoreCase(head.substr(i, 5), "<meta") &&
            (IsSpace(head[i + 5]) || head[i + 5] == '/')) {
            i += 5;
            bool gotPragma = false;
            std::string charset;
            std::string fromContent;
            while (NextAttribute(head, i, name, value)) {
                if (name == "http-equiv" && EqualsIgnoreCase(Trim(value), "content-type"))
                    gotPragma = true;
                else if (name == "charset" && charset.empty())
                    charset = value;
                else if (name == "content" && fromContent.empty() && charset.empty())
                    fromContent = std::string(CharsetInContent(value));
            }
            if (!charset.empty() && TakeLabel(charset, true, found))
                return true;
            if (charset.empty() && gotPragma && !fromContent.empty() && TakeLabel(fromContent, true, found))
                return true;
            continue;
        }
        const std::size_t end = head.find('>', i + 1);
        if (end == std::string_view::npos)
            return false;
        i = end + 1;
    }
    return false;
}

} // namespace

std::string EncodingForLabel(std::string_view label)
{
    const std::string lower = ToLower(Trim(label));
    for (const auto& [name, standard] : kLabels) {
        if (name == lower)
            return std::string(standard);
    }
    return {};
}

bool FindDeclaredEncoding(std::string_view head, PageEncoding& found)
{
    head = head.substr(0, 1024);
    const auto starts = [&](std::string_view mark) { return head.substr(0, mark.size()) == mark; };
    const auto byMark = [&](std::string name) {
        found.name = name;
        found.writeName = name;
        found.declared.clear();
        found.source = PageEncoding::Source::ByteOrderMark;
        return true;
    };
    if (starts("\xEF\xBB\xBF"))
        return byMark("UTF-8");
    if (starts("\xFE\xFF"))
        return byMark("UTF-16BE");
    if (starts("\xFF\xFE"))
        return byMark("UTF-16LE");
    return FromXmlDeclaration(head, found) || FromMeta(head, found);
}

bool IsValidUtf8(std::string_view bytes, bool* nonAscii)
{
    if (nonAscii)
        *nonAscii = false;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        // Runs of ASCII, the bulk of markup, eight bytes at a time.
        while (i + 8 <= n) {
            std::uint64_t word;
            std::memcpy(&word, p + i, 8);
            if (word & 0x8080808080808080ULL)
                break;
            i += 8;
        }
        if (i >= n)
            break;
        const unsigned char lead = p[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (nonAscii)
            *nonAscii = true;
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0;
            if (lead == 0xED)
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            if (lead == 0xF4)
                high = 0x8F;
        } else {
            return false;
        }
        if (i + length > n || p[i + 1] < low || p[i + 1] > high)
            return false;
        for (std::size_t k = 2; k < length; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
}

PageEncoding SniffPageEncoding(std::string_view page)
{
    PageEncoding found;
    if (FindDeclaredEncoding(page, found))
        return found;
    bool nonAscii = false;
    if (IsValidUtf8(page, &nonAscii)) {
        found.source = PageEncoding::Source::Utf8Content;
        found.name = "UTF-8";
        found.writeName = nonAscii ? "UTF-8" : "US-ASCII";
    } else {
        found.source = PageEncoding::Source::Fallback;
        found.name = "windows-1252";
        found.writeName = "windows-1252";
    }
    return found;
}

} // namespace orvane
