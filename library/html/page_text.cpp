#include "page_text.h"

#include "text_util.h"

#include "platform/text_codec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <vector>

namespace orvane {

namespace {

struct NamedReference {
    std::string_view name;  // with its ";", but for the legacy names written without
    std::string_view text;  // UTF-8
};

constexpr NamedReference kNamedReferences[] = {
#include "named_references.inc"
};
constexpr std::size_t kLongestName = 32;

const NamedReference* FindName(std::string_view name)
{
    const auto* begin = std::begin(kNamedReferences);
    const auto* end = std::end(kNamedReferences);
    const auto* at = std::lower_bound(begin, end, name,
                                      [](const NamedReference& r, std::string_view n) { return r.name < n; });
    return at != end && at->name == name ? at : nullptr;
}

// What a numeric reference stands for, as browsers read it: the C1 controls
// as windows-1252 has them (&#128; is the euro sign), nothing, surrogates and
// numbers past Unicode as U+FFFD.
char32_t NumericReferenceCharacter(std::uint64_t number)
{
    static constexpr std::array<char32_t, 32> kC1 = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    if (number == 0 || number > 0x10FFFF || (number >= 0xD800 && number <= 0xDFFF))
        return 0xFFFD;
    if (number >= 0x80 && number <= 0x9F)
        return kC1[number - 0x80];
    return static_cast<char32_t>(number);
}

bool IsAsciiAlnum(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// Resolves the reference at text[0] == '&'; the bytes it took, 0 when it is none.
std::size_t ResolveAt(std::string_view text, TextPlace place, std::string& out)
{
    if (text.size() > 1 && text[1] == '#') {
        std::size_t i = 2;
        const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
        i += hex ? 1 : 0;
        const std::size_t digits = i;
        std::uint64_t number = 0;
        for (; i < text.size(); ++i) {
            const char c = text[i];
            int value = -1;
            if (c >= '0' && c <= '9')
                value = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                value = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F')
                value = c - 'A' + 10;
            if (value < 0)
                break;
            number = std::min<std::uint64_t>(number * (hex ? 16 : 10) + static_cast<unsigned>(value), 0x110000);
        }
        if (i == digits)
            return 0;
        if (i < text.size() && text[i] == ';')
            ++i;
        AppendUtf8(out, NumericReferenceCharacter(number));
        return i;
    }
    // The longest name that matches, as browsers take it.
    std::size_t run = 1;
    while (run < text.size() && run <= kLongestName && IsAsciiAlnum(text[run]))
        ++run;
    const bool semicolon = run < text.size() && text[run] == ';';
    for (std::size_t length = run - 1 + (semicolon ? 1 : 0); length >= 2; --length) {
        const NamedReference* found = FindName(text.substr(1, length));
        if (!found)
            continue;
        const std::size_t taken = 1 + length;
        // A legacy name without ";" inside an attribute value, before "=" or
        // a letter or digit, is text (a query string's "&copy=1").
        if (found->name.back() != ';' && place == TextPlace::AttributeValue && taken < text.size() &&
            (text[taken] == '=' || IsAsciiAlnum(text[taken])))
            return 0;
        out += found->text;
        return taken;
    }
    return 0;
}

void AppendReference(char32_t codePoint, std::string& out)
{
    out += "&#" + std::to_string(static_cast<std::uint32_t>(codePoint)) + ";";
}

std::string Encode(std::string_view utf8, const PageEncoding& encoding)
{
    if (encoding.WritesAsUtf8())
        return std::string(utf8);
    std::string out;
    if (platform::EncodeFromUtf8(utf8, ConverterName(encoding.writeName), out, AppendReference))
        return out;
    // A converter that cannot be had: references alone stand for everything
    // beyond ASCII, which any ASCII-compatible encoding reads the same.
    platform::EncodeFromUtf8(utf8, "US-ASCII", out, AppendReference);
    return out;
}

} // namespace

void AppendUtf8(std::string& out, char32_t c)
{
    if (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = 0xFFFD;
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::string ResolveCharacterReferences(std::string_view text, TextPlace place)
{
    std::size_t amp = text.find('&');
    if (amp == std::string_view::npos)
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    while (amp != std::string_view::npos) {
        out.append(text.substr(from, amp - from));
        const std::size_t taken = ResolveAt(text.substr(amp), place, out);
        if (taken == 0) {
            out.push_back('&');
            from = amp + 1;
        } else {
            from = amp + taken;
        }
        amp = text.find('&', from);
    }
    out.append(text.substr(from));
    return out;
}

// Encodings in which ASCII bytes stand for ASCII alone.
static bool AsciiCompatible(const PageEncoding& encoding)
{
    return !encoding.name.starts_with("UTF-16") && encoding.name != "ISO-2022-JP" && encoding.name != "replacement";
}

std::string PageBytesToUtf8(std::string_view bytes, const PageEncoding& encoding)
{
    // Most texts a report or a page shows are ASCII: no converter for them.
    bool nonAscii = false;
    const bool valid = IsValidUtf8(bytes, &nonAscii);
    std::string decoded;
    if (valid && (encoding.ReadsAsUtf8() || (!nonAscii && AsciiCompatible(encoding))))
        decoded.assign(bytes);
    else if (!platform::DecodeToUtf8(bytes, ConverterName(encoding.ReadsAsUtf8() ? "UTF-8" : encoding.name), decoded))
        platform::DecodeToUtf8(bytes, "windows-1252", decoded);
    return decoded;
}

std::string PageTextToUser(std::string_view bytes, const PageEncoding& encoding, TextPlace place)
{
    std::string decoded = PageBytesToUtf8(bytes, encoding);
    // Most texts name no character: they are kept, not copied once more.
    if (decoded.find('&') == std::string::npos)
        return decoded;
    return ResolveCharacterReferences(decoded, place);
}

std::string UserTextToPage(std::string_view text, const PageEncoding& encoding, TextPlace place)
{
    // A value's quotes are the attribute writer's to choose; < and > are
    // text there already.
    const std::string ampersands = EscapeBareAmpersands(text);
    if (place == TextPlace::AttributeValue)
        return Encode(ampersands, encoding);
    std::string escaped;
    escaped.reserve(ampersands.size());
    for (char c : ampersands) {
        switch (c) {
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        default: escaped.push_back(c);
        }
    }
    return Encode(escaped, encoding);
}

namespace {

// A piece of page bytes and the user's text it reads as.
struct ReadPiece {
    std::size_t begin;
    std::size_t end;
    std::string text;
};

std::size_t CodePoints(std::string_view utf8)
{
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The bytes in pieces no smaller than a character or a reference: a run of
// text is parted into its characters where each is one byte, or the page is
// read as UTF-8; in another encoding it stays one piece.
std::vector<ReadPiece> ReadPieces(std::string_view bytes, const PageEncoding& encoding, TextPlace place)
{
    std::vector<ReadPiece> pieces;
    std::size_t at = 0;
    while (at < bytes.size()) {
        if (bytes[at] == '&') {
            std::string resolved;
            const std::size_t taken = ResolveAt(bytes.substr(at), place, resolved);
            if (taken > 0) {
                pieces.push_back({at, at + taken, std::move(resolved)});
                at += taken;
                continue;
            }
            pieces.push_back({at, at + 1, "&"});
            ++at;
            continue;
        }
        const std::size_t end = std::min(bytes.find('&', at), bytes.size());
        const std::string_view run = bytes.substr(at, end - at);
        std::string read = PageBytesToUtf8(run, encoding);
        const bool sameBytes = encoding.ReadsAsUtf8() && read == run;
        if (sameBytes || CodePoints(read) == run.size()) {
            // Character by character: the bytes of one are one byte, or themselves.
            std::size_t from = 0;
            for (std::size_t i = 0; i < read.size();) {
                std::size_t next = i + 1;
                while (next < read.size() && (static_cast<unsigned char>(read[next]) & 0xC0) == 0x80)
                    ++next;
                const std::size_t length = sameBytes ? next - i : 1;
                pieces.push_back({at + from, at + from + length, read.substr(i, next - i)});
                from += length;
                i = next;
            }
        } else {
            pieces.push_back({at, end, std::move(read)});
        }
        at = end;
    }
    return pieces;
}

} // namespace

std::string UserTextToPageKeeping(std::string_view text, std::string_view bytes, const PageEncoding& encoding,
                                  TextPlace place)
{
    if (bytes.empty() || !AsciiCompatible(encoding))
        return UserTextToPage(text, encoding, place);
    const std::vector<ReadPiece> pieces = ReadPieces(bytes, encoding, place);
    // The pieces that read alike from the start, then from the end, the two
    // never sharing a piece or a character of the text.
    std::size_t first = 0;
    std::size_t textFront = 0;
    while (first < pieces.size() && text.substr(textFront).starts_with(pieces[first].text)) {
        textFront += pieces[first].text.size();
        ++first;
    }
    std::size_t last = pieces.size();
    std::size_t textBack = text.size();
    while (last > first && textBack - textFront >= pieces[last - 1].text.size() &&
           text.substr(0, textBack).ends_with(pieces[last - 1].text)) {
        textBack -= pieces[last - 1].text.size();
        --last;
    }
    const std::size_t keptFront = first > 0 ? pieces[first - 1].end : 0;
    const std::size_t keptBack = last < pieces.size() ? pieces[last].begin : bytes.size();
    std::string written(bytes.substr(0, keptFront));
    written += UserTextToPage(text.substr(textFront, textBack - textFront), encoding, place);
    written += bytes.substr(keptBack);
    // A kept part may read otherwise beside new bytes (a reference's name
    // running on into typed letters): then the text is written whole.
    if (PageTextToUser(written, encoding, place) != text)
        return UserTextToPage(text, encoding, place);
    return written;
}

std::string MarkupToPage(std::string_view markup, const PageEncoding& encoding) { return Encode(markup, encoding); }

} // namespace orvane
