#pragma once

#include "text_util.h"

#include <string>
#include <string_view>

namespace orvane {

// Every run of white space one blank, none at either end: text on one line,
// as a browser shows a title.
inline std::string CollapseSpaces(std::string_view text)
{
    std::string line;
    line.reserve(text.size());
    bool blank = false;
    for (char c : text) {
        if (IsSpace(c)) {
            blank = !line.empty();
            continue;
        }
        if (blank)
            line += ' ';
        blank = false;
        line += c;
    }
    return line;
}

} // namespace orvane
