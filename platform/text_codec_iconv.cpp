#include "platform/text_codec.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <string>

namespace orvane::platform {

namespace {

class Converter {
public:
    Converter(std::string_view to, std::string_view from)
        : m_handle(iconv_open(std::string(to).c_str(), std::string(from).c_str()))
    {
    }
    ~Converter()
    {
        if (Ok())
            iconv_close(m_handle);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Ok() const { return m_handle != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of in as it can, appending to out; in is left at the
    // first sequence that could not be converted (empty when all went).
    // The errno of the stop, 0 when all went.
    int Convert(std::string_view& in, std::string& out)
    {
        char buffer[4096];
        while (!in.empty()) {
            char* from = const_cast<char*>(in.data());
            std::size_t fromLeft = in.size();
            char* to = buffer;
            std::size_t toLeft = sizeof buffer;
            const std::size_t result = iconv(m_handle, &from, &fromLeft, &to, &toLeft);
            const int error = result == static_cast<std::size_t>(-1) ? errno : 0;
            out.append(buffer, static_cast<std::size_t>(to - buffer));
            in.remove_prefix(in.size() - fromLeft);
            if (error == E2BIG)
                continue;
            if (error != 0)
                return error;
        }
        Flush(out);
        return 0;
    }

    // Back to the initial state, dropping any shift state.
    void Reset() { iconv(m_handle, nullptr, nullptr, nullptr, nullptr); }

    // Ends a shift state (the stateful encodings) and starts afresh.
    void Flush(std::string& out)
    {
        char buffer[64];
        char* to = buffer;
        std::size_t toLeft = sizeof buffer;
        iconv(m_handle, nullptr, nullptr, &to, &toLeft);
        out.append(buffer, static_cast<std::size_t>(to - buffer));
    }

private:
    iconv_t m_handle;
};

// Length of the UTF-8 sequence at the start of text and its code point;
// an invalid sequence is one byte long and stands for U+FFFD.
std::size_t NextCodePoint(std::string_view text, char32_t& codePoint)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    codePoint = 0xFFFD;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, least = 0x10000;
    } else {
        return 1;
    }
    if (text.size() < length)
        return 1;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 1;
        value = (value << 6) | (byte(i) & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 1;
    codePoint = value;
    return length;
}

// The width of the smallest unit of an encoding, by which undecodable input is skipped.
std::size_t UnitSize(std::string_view encoding)
{
    std::string upper;
    for (char c : encoding)
        upper.push_back(static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
    if (upper.rfind("UTF-16", 0) == 0 || upper.rfind("UCS-2", 0) == 0)
        return 2;
    if (upper.rfind("UTF-32", 0) == 0 || upper.rfind("UCS-4", 0) == 0)
        return 4;
    return 1;
}

} // namespace

bool KnowsEncoding(std::string_view encoding)
{
    return !encoding.empty() && Converter("UTF-8", encoding).Ok();
}

bool DecodeToUtf8(std::string_view bytes, std::string_view encoding, std::string& out)
{
    out.clear();
    if (encoding.empty())
        return false;
    // A page's texts are decoded one by one, from the one encoding: opening
    // a converter costs more than converting a short text, so each thread
    // keeps the last one it opened.
    thread_local std::string lastEncoding;
    thread_local std::unique_ptr<Converter> lastConverter;
    if (!lastConverter || lastEncoding != encoding) {
        auto opened = std::make_unique<Converter>("UTF-8", encoding);
        if (!opened->Ok())
            return false;
        lastConverter = std::move(opened);
        lastEncoding = encoding;
    }
    Converter& converter = *lastConverter;
    // What a conversion before left unfinished is no part of this text.
    converter.Reset();
    out.reserve(bytes.size());
    const std::size_t unit = UnitSize(encoding);
    while (converter.Convert(bytes, out) != 0) {
        out += "\xEF\xBF\xBD";
        bytes.remove_prefix(std::min(unit, bytes.size()));
        converter.Flush(out);
    }
    return true;
}

bool EncodeFromUtf8(std::string_view utf8, std::string_view encoding, std::string& out,
                    const UnencodableCharacter& unencodable)
{
    out.clear();
    if (encoding.empty())
        return false;
    Converter converter(encoding, "UTF-8");
    if (!converter.Ok())
        return false;
    out.reserve(utf8.size());
    while (converter.Convert(utf8, out) != 0) {
        char32_t codePoint = 0;
        const std::size_t length = NextCodePoint(utf8, codePoint);
        std::string replacement;
        if (unencodable)
            unencodable(codePoint, replacement);
        // The replacement is text too: in the encoding, like the rest.
        std::string_view inserted = replacement;
        if (converter.Convert(inserted, out) != 0) {
            out.clear();
            return false;
        }
        utf8.remove_prefix(length);
    }
    return true;
}

} // namespace orvane::platform
