#pragma once

#include "check_info.h"

namespace orvane {

// The element family of an image map area. Areas are checked through their
// map; an area has no checks of its own.
class CElementArea : public CCatalogueElement {
public:
    // The bit under which an area's missing text alternative is repaired on a
    // page of its own.
    static constexpr std::uint32_t kAltTextBit = 0x1;

    std::span<const CheckInfo> CheckTable() const override;

    // Readies the area for the page that gives it its text alternative
    // (CPageAreaAltText), for a caller that found the text missing: the alt
    // attribute to fill, where the area leads and the part of the image it
    // covers. The area then carries that problem under kAltTextBit, so the
    // page's status and undo mark and unmark it. False when the attribute
    // cannot be added.
    bool PrepareRepairPage(RepairPageRequest& request) override;

    // Where the area leads, in words: its address, or that it leads nowhere.
    std::string LinkTargetText() const;
    // The part of the image the area covers, in words ("Rectangle from (0, 0)
    // to (120, 80)"); the shape and coordinates as written when they do not
    // fit together.
    std::string ShapeText() const;

    // The alt attribute a page of its map fills in, made hidden when missing;
    // null when it cannot be added.
    CAttribute* AltToRepair();
};

} // namespace orvane
