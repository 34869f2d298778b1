#pragma once

#include <string>
#include <string_view>

namespace orvane {

// A text written between the double quotes of an attribute in markup the
// library makes: a quote cannot end the value early, and no bracket or
// ampersand in it is read as markup, so the attribute reads back as the text.
inline std::string QuotedValue(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out.push_back(c);
        }
    }
    return out;
}

} // namespace orvane
