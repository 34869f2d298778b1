#include "library/ui/pages/objects/alternative_content.h"

#include "library/ui/link_markup.h"

#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/page_text.h"

namespace orvane::alternative {

namespace {

void AppendEscaped(std::string& out, char c)
{
    switch (c) {
    case '&': out += "&amp;"; break;
    case '<': out += "&lt;"; break;
    case '>': out += "&gt;"; break;
    default: out.push_back(c);
    }
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Calls line(text) for each line of the text, without its line break ("\n" or "\r\n").
template <class Line>
void ForEachLine(std::string_view text, Line line)
{
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view piece = text.substr(start, end - start);
        if (!piece.empty() && piece.back() == '\r')
            piece.remove_suffix(1);
        line(piece, end == text.size());
        start = end + 1;
    }
}

} // namespace

std::string OneLine(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    bool blank = false;
    for (char c : text) {
        if (IsBlank(c)) {
            blank = !out.empty();
            continue;
        }
        if (blank)
            out.push_back(' ');
        blank = false;
        out.push_back(c);
    }
    return out;
}

std::string AsText(std::string_view text, std::string_view lineEnd)
{
    std::string out;
    out.reserve(text.size());
    ForEachLine(text, [&](std::string_view line, bool last) {
        for (char c : line)
            AppendEscaped(out, c);
        if (!last)
            out += lineEnd;
    });
    return out;
}

std::string AsParagraph(std::string_view text, std::string_view lineEnd)
{
    // Blank lines at the ends say nothing.
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    std::string out = "<p>";
    ForEachLine(text, [&](std::string_view line, bool last) {
        for (char c : line)
            AppendEscaped(out, c);
        if (!last) {
            out += "<br>";
            out += lineEnd;
        }
    });
    out += "</p>";
    return out;
}

std::string Link(std::string_view address, std::string_view text)
{
    std::string out = "<a href=\"" + linkmarkup::HrefValue(address) + "\">";
    for (char c : text)
        AppendEscaped(out, c);
    out += "</a>";
    return out;
}

void Fill(CElement& content, const CHtmlDocument& document, const std::string& markup, std::string_view lineEnd)
{
    const CElement* before = document.ElementBefore(&content);
    const bool ownLine = before && !before->Text().empty() && before->Text().back() == '\n';
    content.SetText(MarkupToPage(ownLine ? markup + std::string(lineEnd) : markup, document.Encoding()));
    content.SetDeleted(false);
}

} // namespace orvane::alternative
