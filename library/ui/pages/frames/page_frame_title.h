#pragma once

#include "library/ui/page_validator_base.h"

namespace orvane {

class CAttribute;

// Gives a frame the title a screen reader announces for it: the text goes
// into the frame's title attribute, which the frame family made (hidden)
// when it was missing. The frame is shown by its name, its source and the
// page it loads.
class CPageFrameTitle final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 138;
    static constexpr int kTitle = 1010;
    static constexpr int kName = 1015;
    static constexpr int kSource = 1016;
    static constexpr int kPreview = 1020;

    explicit CPageFrameTitle(CAttribute& title);
    std::string_view ClassName() const override { return "CPageFrameTitle"; }

    void Undo() override;
    bool Apply() override;

protected:
    void Initialise() override;

private:

    CAttribute& m_title;
};

} // namespace orvane
