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
class CValidatorSheet;

// Puts the problems of a repair run in the order their pages make sense in:
// a table's headers before their abbreviations, a page's headings before the
// nesting of its headings; image problems get their elements ready for repair.
void OrderRepairWork(std::vector<CProblemEntry*>& work);

// Adds the pages that repair or judge the problem to the sheet: a check's
// own pages; for a WCAG 2.2 rule's finding the pages of the check's problem
// that mends it, or the warnings page where a person judges it. A finding no
// page mends adds none.
void AddRepairPagesOf(CValidatorSheet& sheet, CHtmlDocument& document, CProblemEntry& entry);

// Shows the validator sheet with the repair pages of the problems, owned by
// the window. Nothing is shown when no problem adds a page.
void RunRepairRun(platform::IWindow& owner, const std::vector<CProblemEntry*>& work, CHtmlDocument& document,
                  COrvaneSettings& settings, CSrcObjectDatabase& registry, const std::string& fileName);

// Shows the settings sheet over the window; true when the user chose OK.
bool RunSettingsFromOverview(platform::IWindow& owner);

} // namespace orvane
