#pragma once

#include "page_encoding.h"

#include <string>
#include <string_view>

namespace orvane {

// The one way text crosses between the page and the user. What the user
// reads (controls, proposals, reports) and types is UTF-8 without markup;
// what the page holds is its bytes, in its encoding, with character
// references and escapes.

// Where a text stands in markup: the two places escape differently, and a
// legacy reference without its ";" is read differently in an attribute.
enum class TextPlace { AttributeValue, ElementText };

// The user's text of page bytes (an attribute value or text between tags, as
// they stand): decoded from the page's encoding, character references
// (named, decimal, hexadecimal) resolved.
std::string PageTextToUser(std::string_view bytes, const PageEncoding& encoding,
                           TextPlace place = TextPlace::AttributeValue);

// Page bytes as they stand, the way source is shown: decoded from the page's
// encoding, references kept as written. With the default encoding, any text
// made valid UTF-8 (a sequence that is not becomes U+FFFD).
std::string PageBytesToUtf8(std::string_view bytes, const PageEncoding& encoding = PageEncoding());

// Appends the character c as UTF-8; what is no character (nothing, a
// surrogate, a number past Unicode) as U+FFFD.
void AppendUtf8(std::string& out, char32_t c);

// The character references of UTF-8 text resolved, as a browser reads them.
std::string ResolveCharacterReferences(std::string_view text, TextPlace place);

// The page bytes of the user's text for a place: escaped for it (every &
// that starts no reference, and in element text < >; the attribute writer
// quotes a value), in the page's encoding, with a numeric reference
// (&#8364;) for each character the encoding cannot hold. A reference typed
// on purpose stays one.
std::string UserTextToPage(std::string_view text, const PageEncoding& encoding, TextPlace place);

// The page bytes of the user's text for a place, where it takes the place of
// bytes the page has: every part at its start and end that reads as those
// bytes do keeps them (a reference stays the reference it was, "&#246;" no
// less than "&ouml;"), and only the part between is escaped and encoded.
std::string UserTextToPageKeeping(std::string_view text, std::string_view bytes, const PageEncoding& encoding,
                                  TextPlace place);

// Markup the program made in UTF-8 (its tags, and texts it escaped already)
// in the page's encoding, with numeric references for what it cannot hold.
std::string MarkupToPage(std::string_view markup, const PageEncoding& encoding);

} // namespace orvane
