#include "library/ui/pages/text_alternatives/page_map_area_alt.h"

#include "library/ui/pages/text_alternatives/map_area_outline.h"
#include "library/ui/validator_sheet.h"

#include "library/checks/element_area.h"
#include "library/html/address_path.h"
#include "library/html/attribute.h"
#include "library/html/attribute_table.h"
#include "library/html/element.h"
#include "library/html/image_map.h"
#include "library/html/text_util.h"
#include "platform/services.h"

#include <algorithm>
#include <vector>

namespace orvane {

namespace {
constexpr int kCaption = 111;
constexpr int kEveryAreaNeedsText = 104;
constexpr int kInstruction = 136;
constexpr int kTextTitle = 722;
constexpr int kLinkTitle = 723;
constexpr int kStateTitle = 724;
constexpr int kHasTextState = 725;
constexpr int kEmptyState = 726;
constexpr int kStateIcons = 257;
constexpr char kHelpTopic[] = "1-1-9.html";

std::string String(int id) { return platform::Strings().Get(id); }

// Only a file of the page's own folders can be shown: an image on a server
// is not fetched.
bool IsLocalAddress(std::string_view address)
{
    return !address.empty() && (!IsAbsoluteAddress(address) || (address.size() >= 5 && EqualsIgnoreCase(address.substr(0, 5), "file:")));
}

bool IsEmptyText(std::string_view text) { return TrimLeft(text).empty(); }
} // namespace


CPageMapAreaAlt::CPageMapAreaAlt(CImageMap* map, std::string_view imageSource)
    : CPageValidatorBase(kTemplate), m_map(map), m_imageSource(imageSource)
{
}

CAttribute* CPageMapAreaAlt::AltOf(const CElement& area) { return area.FindAttribute(attr::kAlt); }

void CPageMapAreaAlt::SetMap(CImageMap* map, std::string_view imageSource)
{
    m_map = map;
    m_imageSource = imageSource;
    m_filled = false;
    if (m_map) {
        for (CElement* e : m_map->Areas()) {
            if (auto* area = dynamic_cast<CElementArea*>(e))
                area->AltToRepair();
        }
    }
    if (Window())
        FillRows();
}

void CPageMapAreaAlt::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    window.SetColumns(kAreas, {{String(kTextTitle), 200, platform::Align::Left, true},
                               {String(kLinkTitle), 140},
                               {String(kStateTitle), 90}});
    window.SetImageStrip(kAreas, kStateIcons);
    std::vector<std::string> states(std::max(kEmpty, kHasText) + 1);
    states[kEmpty] = String(kEmptyState);
    states[kHasText] = String(kHasTextState);
    window.SetImageTexts(kAreas, states);
    window.SetColumnEditable(kAreas, kTextColumn);
    FillRows();
}

void CPageMapAreaAlt::FillRows()
{
    platform::IWindow& window = *Window();
    window.ClearItems(kAreas);
    m_strongArea = -1;
    std::vector<platform::MapOutline> outlines;
    if (m_map) {
        for (CElement* area : m_map->Areas()) {
            const CAttribute* alt = AltOf(*area);
            const std::string text = alt && !alt->IsHidden() ? UserText(alt->Value()) : std::string();
            const int row = window.AddItem(kAreas, text, reinterpret_cast<platform::ItemData>(area));
            const CAttribute* href = area->FindAttribute(attr::kHref);
            window.SetItemText(kAreas, row, kLinkColumn, href ? UserText(href->Value()) : std::string());
            ShowState(row);
            const CAttribute* shape = area->FindAttribute(attr::kShape);
            const CAttribute* coords = area->FindAttribute(attr::kCoords);
            outlines.push_back(OutlineOfArea(shape ? shape->Value() : std::string_view(),
                                             coords ? coords->Value() : std::string_view()));
        }
    }
    m_filled = m_map != nullptr;
    std::string image;
    if (IsLocalAddress(m_imageSource) && Sheet())
        image = Sheet()->AbsolutePath(m_imageSource);
    window.SetMapAreas(kPreview, image, outlines);
    if (window.ItemCount(kAreas) > 0) {
        window.SetCurrentItem(kAreas, 0);
        window.SetItemSelected(kAreas, 0, true);
        m_strongArea = 0;
        window.SetCurrentMapArea(kPreview, 0);
    }
}

void CPageMapAreaAlt::ShowState(int row)
{
    platform::IWindow& window = *Window();
    const bool empty = IsEmptyText(window.ItemText(kAreas, row, kTextColumn));
    window.SetItemIcon(kAreas, row, empty ? kEmpty : kHasText);
    window.SetItemText(kAreas, row, kStateColumn, String(empty ? kEmptyState : kHasTextState));
}

void CPageMapAreaAlt::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    if (notification.control != kAreas)
        return;
    if (notification.code == platform::NotifyCode::ItemEdited) {
        if (notification.column == kTextColumn && notification.item >= 0 && notification.item < window.ItemCount(kAreas))
            ShowState(notification.item);
        return;
    }
    if (notification.code != platform::NotifyCode::ItemChanged || notification.item < 0)
        return;
    // The area of the row the user selected last is drawn more strongly;
    // a change of selection reports the rows one by one, in their order.
    int strong = m_strongArea;
    if (window.IsItemSelected(kAreas, notification.item))
        strong = notification.item;
    else if (notification.item == m_strongArea)
        strong = -1;
    if (strong != m_strongArea) {
        m_strongArea = strong;
        window.SetCurrentMapArea(kPreview, strong);
    }
}

bool CPageMapAreaAlt::Apply()
{
    platform::IWindow* window = Window();
    if (!window || !m_filled)
        return true;
    const int rows = window->ItemCount(kAreas);
    for (int row = 0; row < rows; ++row) {
        if (IsEmptyText(window->ItemText(kAreas, row, kTextColumn))) {
            SetStatus(pagestatus::kNotRepaired);
            // The row without a text is the one chosen, its area outlined thickest.
            for (int other = 0; other < rows; ++other)
                window->SetItemSelected(kAreas, other, other == row);
            window->SetCurrentItem(kAreas, row);
            window->Focus(kAreas);
            m_strongArea = row;
            window->SetCurrentMapArea(kPreview, row);
            platform::Prompt().Show(String(kCaption), String(kEveryAreaNeedsText), platform::PromptIcon::Exclamation,
                                    platform::PromptButtons::Ok);
            return false;
        }
    }
    SetStatus(pagestatus::kRepaired);
    for (int row = 0; row < rows; ++row) {
        const auto* area = reinterpret_cast<const CElement*>(window->GetItemData(kAreas, row));
        CAttribute* alt = area ? AltOf(*area) : nullptr;
        if (!alt)
            continue;
        alt->SetFromText(window->ItemText(kAreas, row, kTextColumn), Encoding());
    }
    return true;
}

void CPageMapAreaAlt::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    if (!m_filled || !m_map)
        return;
    for (CElement* area : m_map->Areas()) {
        if (CAttribute* alt = AltOf(*area)) {
            alt->Revert();
        }
    }
    if (Window())
        FillRows();
}

} // namespace orvane
