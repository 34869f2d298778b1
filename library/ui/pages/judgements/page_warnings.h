#pragma once

#include "library/ui/page_validator_base.h"

#include <cstdint>
#include <vector>

namespace orvane {

// The one page of a sheet that gathers the general warnings: things the user
// judges rather than faults (colour, scripts, style sheets ...). It lists each
// warning once, explains the selected one, and asks the user to confirm that
// all were considered; confirming marks every problem listed as repaired.
class CPageWarnings final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 218;
    static constexpr int kWarningList = 1040;
    static constexpr int kExplanation = 1041;
    static constexpr int kConfirmBox = 1042;

    CPageWarnings();
    std::string_view ClassName() const override { return "CPageWarnings"; }

    // Lists the warning unless one of the same element kind and check bit is
    // listed; either way the page is attached to it, and confirming covers it.
    void AddWarning(CElement& element, std::uint32_t bit);
    int WarningCount() const { return static_cast<int>(m_items.size()); }

    void Undo() override;
    bool GivesVerdicts() const override { return true; }
    // Every warning listed, those of the same kind and check included.
    void ForEachJudged(const std::function<void(CElement&, std::uint32_t)>& visit) const override;
    bool Apply() override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;

protected:
    void Initialise() override;

private:
    struct Warning {
        CElement* element;
        std::uint32_t bit;
        // Further problems of the same element kind and bit, listed under this one.
        std::vector<CElement*> alike;
    };
    void ShowExplanation(int row);
    void MarkAll(bool repaired);

    std::vector<Warning> m_items;
};

} // namespace orvane
