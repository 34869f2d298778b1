#pragma once

#include <string>
#include <string_view>

namespace orvane::presentation {

// A start tag of the name with the attributes as the user typed them (bare
// ampersands escaped), "<name>" without any.
std::string StartTag(std::string_view name, std::string_view attributes);
// Whether the text can stand inside a tag: a < or > would end it early and
// write what follows as page text.
bool IsTagText(std::string_view text);
// A tag name as HTML writes one: a letter, then letters, digits or hyphens.
bool IsTagName(std::string_view name);

// The messages that keep the user on a page.
void SayNoAngleBrackets();
void SayTagNeeded();

} // namespace orvane::presentation
