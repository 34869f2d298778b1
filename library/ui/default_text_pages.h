#pragma once

#include <string>
#include <string_view>

namespace orvane {

// What both default-text pages share: the message when no text was entered,
// and the text written into the page as character data.
namespace defaulttext {

// Tells the user that a default text is needed; the page stays.
void SayTextNeeded();
bool IsEmpty(std::string_view text);
// The entered text as markup: & < > written as references, so that a text
// such as "</textarea>" stays text.
std::string AsMarkup(std::string_view text);
std::string FromMarkup(std::string_view markup);

} // namespace defaulttext
} // namespace orvane
