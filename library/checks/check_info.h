#pragma once

#include "library/html/element.h"
#include "repair_pages.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace orvane {

// What the catalogue knows of one check bit of a family. A family keeps one
// constant table of these; its catalogue answers are read from it.
struct CheckInfo {
    std::uint32_t bit = 0;
    // Empty: the bit is not part of the catalogue.
    std::string_view name{};
    // Title: resource string, followed by the suffix; 0 for none.
    int titleId = 0;
    std::string_view titleSuffix{};
    int priority = 3;
    bool section508 = false;
    // 0: a general warning the user has to judge on the warnings page.
    bool grouped = true;
    bool autoRepair = false;
    // The repair page class the family adds for the problem, and its help
    // topic; empty when the problem has none.
    std::string_view repairPage{};
    std::string_view helpTopic{};
    // For general warnings: the help topic and explanation on the warnings page.
    std::string_view warningHelpTopic{};
    int warningTextId = 0;
    // A resource string naming the problem in the overview; 0 when the family
    // words it from the element.
    int problemTextId = 0;
    // False for the named bits that lie outside the family's check mask.
    bool inMask = true;
    // False for catalogue checks whose bit no check ever sets.
    bool reported = true;
};

inline constexpr int kRememberedDefault = 0;

// The row of a bit; null for a bit the table does not know.
const CheckInfo* FindCheckInfo(std::span<const CheckInfo> checks, std::uint32_t bit);
// The bits of the rows in the mask.
std::uint32_t CheckMaskOf(std::span<const CheckInfo> checks);

// A priority as the dialogs show it: "1", "BITV I-2", "BITV II-3".
std::string PriorityDisplayText(int priority);

// An element family of the check catalogue: its answers come from its table,
// and every bit outside the table gets the element base's answer.
class CCatalogueElement : public CElement {
public:
    std::uint32_t GetCheckMask() const override;
    std::string GetCheckName(std::uint32_t bit) const override;
    std::string GetCheckTitle(std::uint32_t bit) const override;
    std::string GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const override;
    std::string GetWarningHelpTopic(std::uint32_t bit) const override;
    int GetWarningTextId(std::uint32_t bit) const override;
    int GetPriority(std::uint32_t bit) const override;
    bool IsSection508(std::uint32_t bit) const override;
    bool IsGrouped(std::uint32_t bit) const override;
    bool HasAutoRepair(std::uint32_t bit) const override;
    int GetRememberedDefault(std::uint32_t bit) const override;
    // Each problem bit goes to its page through the installed page factory:
    // a general warning to the warnings page, a check whose automatic repair
    // the settings switch on is repaired at once, any other to its own page.
    int AddRepairPages(CValidatorSheet& sheet, CHtmlDocument& document, std::uint32_t bits) override;

    // The family's table, also for the named bits outside its mask.
    virtual std::span<const CheckInfo> CheckTable() const = 0;
    const CheckInfo* FindCheck(std::uint32_t bit) const { return FindCheckInfo(CheckTable(), bit); }

    // The repair page class added for the bit, and its help topic; empty when none.
    std::string RepairPageClass(std::uint32_t bit) const;
    std::string RepairHelpTopic(std::uint32_t bit) const;

protected:
    // Readies the element for the page the request names (an attribute to
    // fill, an element to insert) and records it in the request; false when
    // the page cannot be made. The same element is readied once, however
    // often its pages are asked for.
    virtual bool PrepareRepairPage(RepairPageRequest& request);
    // The attribute of that id a repair page fills in. A missing one is made
    // hidden, so the tag is written as it stands until the repair gives it a
    // value; the snapshot taken before the first repair is what an undo goes
    // back to. Null when it cannot be added.
    CAttribute* AttributeToRepair(int attributeId);
};

// How the page ends its lines, as its first line end shows: "\r\n" or
// "\n" (also for a page of one line), so markup a repair adds fits in.
std::string_view PageLineEnd(const CHtmlDocument& document);

// The value of an attribute when it is present and not empty.
std::string_view NonEmptyAttribute(const CElement& element, int id);

// The first attribute of each id, as FindAttribute gives it, found in one
// walk over the element's attributes; null for an id the element lacks. The
// element name is not among them.
template <std::size_t N>
std::array<CAttribute*, N> FindAttributes(const CElement& element, const std::array<int, N>& ids)
{
    std::array<CAttribute*, N> found{};
    for (CAttribute* a = element.AttributesAfterName(); a; a = a->Next()) {
        for (std::size_t n = 0; n < N; ++n) {
            if (!found[n] && a->Id() == ids[n])
                found[n] = a;
        }
    }
    return found;
}

} // namespace orvane
