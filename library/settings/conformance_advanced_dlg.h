#pragma once

#include "common/orvane_settings.h"
#include "platform/window.h"

#include <vector>

namespace orvane {

// Adds single checks above a conformance level: lists the checks the level
// leaves out (priorities 2 and 3 for A, 3 for AA, those outside Section 508)
// and lets the user include them. OK commits exactly the checks it listed.
class CConformanceAdvancedDlg final : public platform::IDialogLogic {
public:
    static constexpr int kTemplate = 9110;
    static constexpr int kList = 9170;

    // level: 1 (A), 2 (AA) or 4 (Section 508).
    CConformanceAdvancedDlg(COrvaneSettings& settings, int level);

    void OnInit(platform::IWindow& window) override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;
    void OnOk(platform::IWindow& window) override;
    void OnCancel(platform::IWindow& window) override;
    void OnHelp(platform::IWindow& window) override;

private:
    bool Lists(const CheckSetting& setting) const;

    const COrvaneSettings::CheckSettingList& m_checkSettings;
    int m_level;
    int m_lowestPriority;
    std::vector<CheckSetting*> m_listed;
};

} // namespace orvane
