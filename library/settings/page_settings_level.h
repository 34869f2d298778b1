#pragma once

#include "library/settings/settings_page.h"

#include <optional>
#include <string>

namespace orvane {

// The conformance target, the advanced dialogs that add checks above it, and
// the conformance icon, and whether the checks take ARIA names into account.
class CPageSettingsLevel final : public CSettingsPage {
public:
    static constexpr int kTemplate = 9101;
    static constexpr int kRadioA = 1264, kRadioAA = 1265, kRadioAAA = 1266, kRadio508 = 1267;
    static constexpr int kRadioWcag22A = 9132, kRadioWcag22AA = 9133, kRadioWcag22AAA = 9134;
    static constexpr int kDescriptionWcag22 = 9135; // shown for each of the three
    static constexpr int kDescriptionA = 9120; // to 9123, one per level
    static constexpr int kAdvancedA = 9124, kAdvancedAA = 9125, kAdvanced508 = 9126;
    static constexpr int kInsertIcon = 9127;
    static constexpr int kIconsLocation = 9128;
    static constexpr int kAriaNames = 1241;

    explicit CPageSettingsLevel(CSheetSettings& sheet) : CSettingsPage(sheet) {}

    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;
    bool CanLeave() override;
    void OkStep() override;
    std::string_view HelpTopic() const override { return "Conformance.html"; }

protected:
    void FirstShow(platform::IWindow& window) override;

private:
    void ShowLevel(platform::IWindow& window, int level);
    // The icons location as it will be stored; nothing (after telling the
    // user) when the icon is to be inserted and no location is given.
    std::optional<std::string> ValidatedIconsLocation();
    void RunAdvanced(platform::IWindow& window, int level);
};

} // namespace orvane
