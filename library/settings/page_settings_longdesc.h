#pragma once

#include "library/settings/settings_page.h"

namespace orvane {

// The check for the "d" link of images with a long description: whether it
// runs at every level, and whether missing links are added automatically.
class CPageSettingsLongdesc final : public CSettingsPage {
public:
    static constexpr int kTemplate = 9104;
    static constexpr int kCheckDLinks = 9160;
    static constexpr int kRadioAutomatic = 1407;
    static constexpr int kRadioAsk = 1408;

    explicit CPageSettingsLongdesc(CSheetSettings& sheet) : CSettingsPage(sheet) {}

    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;
    void OkStep() override;
    std::string_view HelpTopic() const override { return "dLinks.html"; }

protected:
    void FirstShow(platform::IWindow& window) override;

private:
    void EnableChoices(platform::IWindow& window);
};

} // namespace orvane
