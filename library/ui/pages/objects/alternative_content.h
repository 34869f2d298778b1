#pragma once

#include <string>
#include <string_view>

namespace orvane {

class CElement;
class CHtmlDocument;

// The markup the pages write into an element for what stands in for it (an
// applet's or an object's content, a link to a description or a
// transcript). The user's text is character data: & < > become references,
// so a typed "</object>" stays text; lines end as the page ends them. The
// markup is made in UTF-8; the page gets it in its own encoding.
namespace alternative {

// The text on one line, its line breaks and runs of blanks as single
// blanks, trimmed: what an attribute such as alt holds.
std::string OneLine(std::string_view text);
// The text as character data, each line break as the page's line end.
std::string AsText(std::string_view text, std::string_view lineEnd);
// The text as a paragraph, its line breaks kept as <br>, on lines of its own.
std::string AsParagraph(std::string_view text, std::string_view lineEnd);
// A link to the address with the text as its content.
std::string Link(std::string_view address, std::string_view text);
// The prepared text run shows the markup (made in UTF-8, written in the
// page's encoding), on a line of its own when what stands before it ends
// with a line end.
void Fill(CElement& content, const CHtmlDocument& document, const std::string& markup, std::string_view lineEnd);

} // namespace alternative
} // namespace orvane
