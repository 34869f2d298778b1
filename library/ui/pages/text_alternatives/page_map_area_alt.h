#pragma once

#include "library/ui/page_validator_base.h"

#include <string>
#include <string_view>

namespace orvane {

class CAttribute;
class CElement;
class CImageMap;

// Gives every area of a client-side image map its text alternative at once:
// one row per area, its text edited in place, beside the image with the
// areas outlined over it. The page of a map that a server-side one is being
// converted into has no map until the conversion gives it one.
class CPageMapAreaAlt final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 211;
    static constexpr int kAreas = 1157;
    static constexpr int kPreview = 1235;
    // Column of the area's text, the one edited in place.
    static constexpr int kTextColumn = 0;
    static constexpr int kLinkColumn = 1;
    static constexpr int kStateColumn = 2;
    // State icons of the rows.
    static constexpr int kHasText = 1;
    static constexpr int kEmpty = 2;

    // map: null until a conversion gives the page one. imageSource: the
    // address of the map's image, as the page names it.
    CPageMapAreaAlt(CImageMap* map, std::string_view imageSource);
    std::string_view ClassName() const override { return "CPageMapAreaAlt"; }

    // The map whose areas the page fills (null: none); its areas are readied
    // for their texts, and the rows shown anew when the window is there.
    void SetMap(CImageMap* map, std::string_view imageSource);
    CImageMap* Map() const { return m_map; }

    void Undo() override;
    bool Apply() override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;

protected:
    void Initialise() override;

private:
    void FillRows();
    void ShowState(int row);
    static CAttribute* AltOf(const CElement& area);

    CImageMap* m_map;
    std::string m_imageSource;
    // The rows stand for the areas of the map as it is now.
    bool m_filled = false;
    int m_strongArea = -1;
};

} // namespace orvane
