#pragma once

#include "check_info.h"

namespace orvane {

// The element family of the page body.
class CElementBody : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;
    bool UsesColour() const override;

    // What the colour check found, for the colour repair page.
    struct ColourFlags {
        bool backgroundMissing = false;
        bool textMissing = false;
        bool linkMissing = false;
        bool visitedLinkMissing = false;
        bool activeLinkMissing = false;
        bool textContrastFails = false;
        bool linkContrastFails = false;
        bool visitedLinkContrastFails = false;
        bool activeLinkContrastFails = false;
    };
    const ColourFlags& Colours() const { return m_colours; }

protected:
    bool PrepareRepairPage(RepairPageRequest& request) override;

private:
    std::uint32_t CheckColours();
    ColourFlags m_colours;
};

} // namespace orvane
