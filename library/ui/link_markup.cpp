#include "library/ui/link_markup.h"

#include "library/html/page_text.h"

namespace orvane::linkmarkup {

std::string Escaped(std::string_view text, const PageEncoding& encoding)
{
    std::string out;
    for (char c : UserTextToPage(text, encoding, TextPlace::ElementText)) {
        if (c == '"')
            out += "&quot;";
        else
            out.push_back(c);
    }
    return out;
}

std::string HrefValue(std::string_view address)
{
    std::string href;
    for (char c : address) {
        if (c == '"')
            href += "&quot;";
        else
            href.push_back(c);
    }
    return href;
}

std::string WithLineEnds(std::string_view markup, std::string_view lineEnd)
{
    std::string out;
    out.reserve(markup.size());
    for (char c : markup) {
        if (c == '\n')
            out.append(lineEnd);
        else
            out.push_back(c);
    }
    return out;
}

} // namespace orvane::linkmarkup
