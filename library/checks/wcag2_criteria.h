#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

enum class Wcag2Level { kA, kAA, kAAA };

// A success criterion of WCAG 2.2.
struct SuccessCriterion {
    std::string_view number;  // "1.1.1"
    std::string_view name;    // "Non-text Content"
    Wcag2Level level = Wcag2Level::kA;
    // 4.1.1 Parsing: kept so older mappings can be read, but removed from 2.2
    // and never named for a check.
    bool obsolete = false;
};

// The criteria of WCAG 2.2 in their order, the obsolete one among them.
std::span<const SuccessCriterion> Wcag2SuccessCriteria();
// Null for a number that is no criterion.
const SuccessCriterion* FindSuccessCriterion(std::string_view number);

// "A", "AA", "AAA".
std::string_view Wcag2LevelText(Wcag2Level level);
// "1.1.1 Non-text Content (A)".
std::string Wcag2CriterionLabel(const SuccessCriterion& criterion);

// One check's row of the mapping: the numbers of its criteria, separated by
// blanks, empty when WCAG 2 has no counterpart for it; the note tells where
// the row departs from W3C's comparison of the two versions, or why it is
// empty. A note starting "closest" says WCAG 2 does not require the check as
// such and the criteria are only the nearest ones; an empty row's note starts
// "no counterpart".
struct Wcag2CheckRow {
    std::string_view check;
    std::string_view criteria;
    std::string_view note{};
};

std::span<const Wcag2CheckRow> Wcag2CheckRows();
// Null for a check the table does not know.
const Wcag2CheckRow* FindWcag2Row(std::string_view check);
// How a check's criteria stand to it: its counterparts, only the closest
// criteria to a check WCAG 2 does not require, or none at all (also for a
// check the table does not know).
enum class Wcag2Match { kCounterpart, kClosest, kNone };
Wcag2Match Wcag2MatchOf(std::string_view check);
// The numbers of a row's criteria, in the row's order.
std::vector<std::string_view> Wcag2Numbers(const Wcag2CheckRow& row);
// The criteria of a check, in the row's order; empty when it has none or the
// table does not know it.
std::vector<const SuccessCriterion*> Wcag2CriteriaOf(std::string_view check);

} // namespace orvane
