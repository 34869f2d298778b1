#pragma once

#include "library/checks/repair_pages.h"

#include <string_view>

namespace orvane {

// Makes the repair pages the families ask for, by the class names of the
// check catalogue. Families whose page is not built get none.
class CRepairPageFactory final : public IRepairPageFactory {
public:
    // Installs the factory for the checks (once; later calls change nothing).
    static void Install();
    // Whether pages of the class are built; the general warnings page always is.
    static bool Builds(std::string_view pageClass);

    int AutoRepairMode(const CValidatorSheet& sheet, const CElement& element, std::uint32_t bit) const override;
    int AddPage(CValidatorSheet& sheet, const RepairPageRequest& request) override;
    int AddWarning(CValidatorSheet& sheet, CHtmlDocument& document, CElement& element, std::uint32_t bit) override;
    void AddWithoutPage(CValidatorSheet& sheet, CElement& element, std::uint32_t bit) override;
    bool RepairAutomatically(CValidatorSheet& sheet, const RepairPageRequest& request) override;
};

} // namespace orvane
