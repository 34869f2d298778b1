#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace orvane::platform {

// Conversion between UTF-8 and the character encodings pages are written in,
// named as the converter knows them ("windows-1252", "ISO-8859-15",
// "UTF-16LE", "Shift_JIS", ...).

// Whether the converter knows the encoding.
bool KnowsEncoding(std::string_view encoding);

// The bytes as UTF-8; a byte sequence the encoding does not define becomes
// U+FFFD, so nothing that is not UTF-8 reaches the caller. False (and out
// empty) when the encoding is unknown.
bool DecodeToUtf8(std::string_view bytes, std::string_view encoding, std::string& out);

// A character of the text the encoding cannot hold: the code point, and the
// text to append in its place.
using UnencodableCharacter = std::function<void(char32_t codePoint, std::string& out)>;

// The UTF-8 text in the encoding; each character the encoding cannot hold
// goes through unencodable (an invalid UTF-8 sequence counts as U+FFFD).
// False (and out empty) when the encoding is unknown.
bool EncodeFromUtf8(std::string_view utf8, std::string_view encoding, std::string& out,
                    const UnencodableCharacter& unencodable);

} // namespace orvane::platform
