#pragma once

#include "check_info.h"
#include "label_repair.h"

#include <string>

namespace orvane {

// The element family of a form input.
class CElementInput : public CCatalogueElement {
public:
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;
    std::span<const CheckInfo> CheckTable() const override;
    std::string GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const override;

    // What the last check read of an image input's width and height
    // attributes; -1 until an attribute was read.
    int Width() const { return m_width; }
    int Height() const { return m_height; }

protected:
    bool PrepareRepairPage(RepairPageRequest& request) override;

private:
    int m_width = -1;
    int m_height = -1;
    CLabelRepairElements m_labelRepair;
    // The id aria-labelledby names in vain, when the last check found one.
    std::string m_missingReference;
};

} // namespace orvane
