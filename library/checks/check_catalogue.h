#pragma once

#include "common/orvane_settings.h"
#include "library/html/element.h"

#include <array>
#include <cstdint>
#include <vector>

namespace orvane {

// The family ids of the check catalogue, in catalogue order: the order in
// which the settings record lists the checks.
inline constexpr std::array<int, 25> kCatalogueFamilies = {
    5, 3, 4, 11, 7, -4, 29, 31, 32, 49, 33, 41, 44, 45, 24, 54, 57, 60, 67, 72, 71, 77, 80, 83, 93};

// One element of each catalogue family, in catalogue order, each with its
// family id as kind.
std::vector<ElementPtr> CreateCatalogueFamilies();

// The catalogue the settings record builds its check list from.
class CCheckCatalogue final : public ICheckCatalogue {
public:
    void ForEachFamily(const std::function<void(const CElement& family)>& visit) const override;
    static const CCheckCatalogue& Instance();
};

// The kind a problem of the element is shown and counted under: example text
// (xmp) counts as preformatted text (pre).
int ReportedKind(const CElement& element);

// The settings are asked about an element's checks by its reported kind, so
// that the overview, the repair sheet and an unattended session agree on
// whether a problem counts and whether it is repaired automatically.

// Whether the check counts at the settings' conformance level.
bool CheckApplies(const CElement& element, const COrvaneSettings& settings, std::uint32_t bit);
// The settings' automatic-repair mode of the check (1 on, 0 off, 2 none offered).
int AutoRepairSetting(const CElement& element, const COrvaneSettings& settings, std::uint32_t bit);

} // namespace orvane
