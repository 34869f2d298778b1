#pragma once

#include "check_info.h"
#include "label_repair.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

struct CCheckRun;

// A form control whose only label check is whether it has a label at all (a
// selection list, a text area): the check, its problem text and the
// elements its repair page keeps.
class CLabelledControl : public CCatalogueElement {
public:
    static constexpr std::uint32_t kNoLabelBit = 0x20000000;

protected:
    // "select control - its name" for a kind "select"; the missing label's
    // text also names the id aria-labelledby names in vain.
    std::string ControlProblemText(std::string_view kind, std::uint32_t bit, const PageEncoding& encoding) const;
    // kNoLabelBit when the check counts at the target and the control goes
    // without a label; otherwise 0. Asked at every level filter: only the
    // conformance target decides. How far the label stands is not judged.
    std::uint32_t NoLabelProblem(const CCheckRun& run);
    // Readies the page that gives the control its label.
    bool PrepareNoLabelRepair(RepairPageRequest& request);

private:
    CLabelRepairElements m_labelRepair;
    // The id aria-labelledby names in vain, when the last check found one.
    std::string m_missingReference;
};

} // namespace orvane
