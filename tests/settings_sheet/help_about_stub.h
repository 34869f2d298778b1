#pragma once

#include <string>
#include <vector>

namespace orvane::test {
extern std::vector<std::string> g_helpTopics;
extern int g_aboutBoxes;
} // namespace orvane::test
