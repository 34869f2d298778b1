#pragma once

#include "check_catalogue.h"

#include <cstdint>

namespace orvane {

class CHtmlDocument;
class COrvaneSettings;

// One call of a family's Check: the settings, the page and the level filter.
struct CCheckRun {
    COrvaneSettings& settings;
    CHtmlDocument& document;
    int applyLevel;

    // Whether the check counts at the settings' conformance target.
    bool Applies(const CElement& element, std::uint32_t bit) const
    {
        return CheckApplies(element, settings, bit);
    }
    // A filtered check runs when the level filter is off or the check applies.
    bool Runs(const CElement& element, std::uint32_t bit) const
    {
        return applyLevel == 0 || Applies(element, bit);
    }
};

// Stores the problems found as the element's problem mask and problem flag;
// returns what Check returns: 2 when there is a problem, else 0.
inline int StoreProblems(CElement& element, std::uint32_t mask)
{
    element.SetProblemMask(mask);
    element.SetProblemFlag(mask != 0 ? 1 : 0);
    return mask != 0 ? 2 : 0;
}

} // namespace orvane
