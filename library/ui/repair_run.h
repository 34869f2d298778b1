#pragma once

#include <string>
#include <vector>

namespace orvane {

namespace platform {
class IWindow;
}
class CHtmlDocument;
class COrvaneSettings;
class CProblemEntry;
class CSrcObjectDatabase;

// Puts the problems of a repair run in the order their pages make sense in:
// a table's headers before their abbreviations, a page's headings before the
// nesting of its headings; image problems get their elements ready for repair.
void OrderRepairWork(std::vector<CProblemEntry*>& work);

// Shows the validator sheet with the repair pages of the problems, owned by
// the window. Nothing is shown when no problem adds a page.
void RunRepairRun(platform::IWindow& owner, const std::vector<CProblemEntry*>& work, CHtmlDocument& document,
                  COrvaneSettings& settings, CSrcObjectDatabase& registry, const std::string& fileName);

// Shows the settings sheet over the window; true when the user chose OK.
bool RunSettingsFromOverview(platform::IWindow& owner);

} // namespace orvane
