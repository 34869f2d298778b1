#pragma once

#include <cstdint>
#include <vector>

namespace orvane {

class CElement;
class CHtmlDocument;
class COrvaneSettings;
class CSrcObjectDatabase;

// One problem a check found: the element and the check's bit.
struct CFoundProblem {
    CElement* element;
    std::uint32_t bit;
};

// Checks a whole page the way the overview prepares its problem list: the
// registry (may be null) is attached, the tables are read, and every element
// not deleted is checked in document order with the level filter off. Each
// set bit of an element's problem mask, lowest first, is one problem.
std::vector<CFoundProblem> RunCheckPass(CHtmlDocument& document, COrvaneSettings& settings,
                                        CSrcObjectDatabase* registry);

} // namespace orvane
