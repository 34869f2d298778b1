#include "language.h"

#include <cstdlib>
#include <string_view>

namespace orvane::platform {

std::string UiLanguage()
{
    if (const char* chosen = std::getenv("ORVANE_LANG")) {
        std::string_view value(chosen);
        if (value == "de" || value == "en")
            return std::string(value);
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return std::string_view(value).substr(0, 2) == "de" ? "de" : "en";
    }
    return "en";
}

} // namespace orvane::platform
