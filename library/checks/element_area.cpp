#include "element_area.h"

#include "library/html/attribute_table.h"
#include "library/html/text_util.h"
#include "platform/services.h"

#include <string>
#include <vector>

namespace orvane {

namespace {
constexpr int kNoLinkText = 760;
constexpr int kRectangleText = 761;
constexpr int kCircleText = 762;
constexpr int kPolygonText = 763;
constexpr int kWholeImageText = 764;
constexpr int kOtherShapeText = 765;

// The comma-separated whole numbers of a coords value; empty when one of
// them is not a number.
std::vector<std::string> Coordinates(std::string_view coords)
{
    std::vector<std::string> numbers;
    while (!coords.empty()) {
        const std::size_t comma = coords.find(',');
        const std::string_view number = Trim(coords.substr(0, comma));
        const std::string_view digits = number.starts_with('-') ? number.substr(1) : number;
        if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
            return {};
        numbers.emplace_back(number);
        coords = comma == std::string_view::npos ? std::string_view() : coords.substr(comma + 1);
        if (comma != std::string_view::npos && coords.empty())
            return {};
    }
    return numbers;
}
} // namespace

// The family has no checks of its own.
std::span<const CheckInfo> CElementArea::CheckTable() const { return {}; }

bool CElementArea::PrepareRepairPage(RepairPageRequest& request)
{
    if (request.pageClass != "CPageAreaAltText")
        return true;
    request.attribute = AttributeToRepair(attr::kAlt);
    if (!request.attribute)
        return false;
    request.bit = kAltTextBit;
    request.areaLinkTarget = LinkTargetText();
    request.areaShapeText = ShapeText();
    SetProblemMask(ProblemMask() | kAltTextBit);
    SetProblemFlag(1);
    return true;
}

std::string CElementArea::LinkTargetText() const
{
    const std::string_view href = NonEmptyAttribute(*this, attr::kHref);
    return href.empty() ? platform::Strings().Get(kNoLinkText) : std::string(href);
}

std::string CElementArea::ShapeText() const
{
    const std::string shape = ToLower(Trim(NonEmptyAttribute(*this, attr::kShape)));
    const std::string_view coords = NonEmptyAttribute(*this, attr::kCoords);
    const std::vector<std::string> n = Coordinates(coords);
    const platform::IStringTable& strings = platform::Strings();
    // An area without a shape is a rectangle.
    if ((shape.empty() || shape == "rect" || shape == "rectangle") && n.size() == 4)
        return strings.Format(kRectangleText, {n[0], n[1], n[2], n[3]});
    if ((shape == "circle" || shape == "circ") && n.size() == 3)
        return strings.Format(kCircleText, {n[0], n[1], n[2]});
    if ((shape == "poly" || shape == "polygon") && n.size() >= 6 && n.size() % 2 == 0)
        return strings.Format(kPolygonText, {std::to_string(n.size() / 2), n[0], n[1]});
    if (shape == "default")
        return strings.Get(kWholeImageText);
    return strings.Format(kOtherShapeText, {shape.empty() ? std::string_view("rect") : std::string_view(shape), coords});
}
CAttribute* CElementArea::AltToRepair() { return AttributeToRepair(attr::kAlt); }

} // namespace orvane
