#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvane {

// Byte-wise helpers: page text is single-byte, whatever its code page, so only
// ASCII letters change case and only ASCII white space counts as white space.

constexpr char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

constexpr bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Pages keep their carriage returns byte for byte, but a carriage return that
// stands before a line feed is part of the line break and is read as the break.
constexpr bool IsLineBreakAt(std::string_view text, std::size_t i)
{
    return text[i] == '\n' || (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n');
}

constexpr std::string_view TrimLeft(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    return text.substr(i);
}

constexpr std::string_view TrimRight(std::string_view text)
{
    std::size_t n = text.size();
    while (n > 0 && IsSpace(text[n - 1]))
        --n;
    return text.substr(0, n);
}

constexpr std::string_view Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

constexpr bool EqualsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

// The number a value starts with, as a standard decimal conversion reads it:
// white space, a sign, digits up to the first other character. Saturates
// rather than overflows on absurd inputs.
constexpr long long LeadingDecimal(std::string_view text)
{
    text = TrimLeft(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    long long number = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        if (number > (0x7fffffffffffffffLL - (c - '0')) / 10)
            break;
        number = number * 10 + (c - '0');
    }
    return negative ? -number : number;
}

// The length of a text as a page read in text mode has it: a carriage return
// before a line feed does not count.
constexpr std::size_t TextLength(std::string_view text)
{
    std::size_t length = text.size();
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '\r' && text[i + 1] == '\n')
            --length;
    }
    return length;
}

// Appends the text as a text-mode read would have given it: without the
// carriage returns that belong to line breaks.
inline void AppendWithoutBreakReturns(std::string& out, std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out.push_back(text[i]);
    }
}

inline std::string ToLower(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = AsciiLower(c);
    return result;
}

// Lower case for ASCII and for the letters of Latin-1 (À to Þ, but for ×),
// written as one Latin-1 byte or as their two UTF-8 bytes: texts of both
// encodings compare without regard to case ("UNTERSTÜTZT", "unterstützt").
inline std::string FoldLatinCase(std::string_view text)
{
    std::string result(text);
    for (std::size_t i = 0; i < result.size(); ++i) {
        const auto byte = static_cast<unsigned char>(result[i]);
        if (byte == 0xC3 && i + 1 < result.size() && (static_cast<unsigned char>(result[i + 1]) & 0xC0) == 0x80) {
            const auto second = static_cast<unsigned char>(result[i + 1]);
            if (second >= 0x80 && second <= 0x9E && second != 0x97)
                result[i + 1] = static_cast<char>(second + 0x20);
            ++i;
        } else if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) {
            result[i] = static_cast<char>(byte + 0x20);
        } else {
            result[i] = AsciiLower(result[i]);
        }
    }
    return result;
}

inline bool EqualsIgnoringLatinCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && FoldLatinCase(a) == FoldLatinCase(b);
}

// The text as it may stand in markup: every & that starts no character
// reference (&name; &#10; &#x0A;) written as &amp;, so a browser reads back
// what was typed; references written on purpose stay as they are.
inline std::string EscapeBareAmpersands(std::string_view text)
{
    auto startsReference = [](std::string_view rest) {
        std::size_t i = 1;
        if (i < rest.size() && rest[i] == '#') {
            ++i;
            const bool hex = i < rest.size() && (rest[i] == 'x' || rest[i] == 'X');
            i += hex ? 1 : 0;
            const std::size_t digits = i;
            while (i < rest.size() && (hex ? IsHexDigit(rest[i]) : (rest[i] >= '0' && rest[i] <= '9')))
                ++i;
            return i > digits && i < rest.size() && rest[i] == ';';
        }
        const std::size_t name = i;
        while (i < rest.size() && ((rest[i] >= 'a' && rest[i] <= 'z') || (rest[i] >= 'A' && rest[i] <= 'Z') ||
                                   (i > name && rest[i] >= '0' && rest[i] <= '9')))
            ++i;
        return i > name && i < rest.size() && rest[i] == ';';
    };
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && !startsReference(text.substr(i, 40)))
            out += "&amp;";
        else
            out.push_back(text[i]);
    }
    return out;
}

} // namespace orvane
