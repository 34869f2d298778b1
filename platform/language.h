#pragma once

#include <string>

namespace orvane::platform {

// The language of the user interface: "de" or "en". ORVANE_LANG chooses it
// when set to one of them; else the user's locale (LC_ALL, LC_MESSAGES, LANG,
// the first one set) gives German when it starts with "de", English otherwise.
std::string UiLanguage();

} // namespace orvane::platform
