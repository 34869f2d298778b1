#include "conformance_advanced_dlg.h"

#include "check_rows.h"
#include "library/dialogs/help_topic.h"
#include "platform/services.h"

namespace orvane {

using platform::Strings;
using namespace settingsui;

namespace {

constexpr int kStringCaptionWcag = 336;
constexpr int kStringCaptionSection508 = 476;
constexpr int kStringAnd = 9101;
constexpr int kFamilyXmp = 93; // shares the ASCII-art check of pre
constexpr std::string_view kHelpTopic = "ConformanceLevelAdvanced.html";

std::string BitvPriority(int priority)
{
    if (priority == 2)
        return "BITV I-2";
    if (priority == 3)
        return "BITV II-3";
    return {};
}

} // namespace

CConformanceAdvancedDlg::CConformanceAdvancedDlg(COrvaneSettings& settings, int level)
    : m_checkSettings(settings.CheckSettings()), m_level(level), m_lowestPriority(level == level::kA ? 2 : 3)
{
}

bool CConformanceAdvancedDlg::Lists(const CheckSetting& setting) const
{
    if (IsLongDescriptionCheck(setting) || setting.Family() == kFamilyXmp)
        return false;
    if (m_level == level::kSection508)
        return !setting.IsSection508();
    return setting.Priority() >= m_lowestPriority;
}

void CConformanceAdvancedDlg::OnInit(platform::IWindow& window)
{
    if (m_level == level::kSection508) {
        window.SetTitle(Strings().Get(kStringCaptionSection508));
    } else if (m_level == level::kA) {
        window.SetTitle(Strings().Format(kStringCaptionWcag, {"A", "1", Strings().Format(kStringAnd, {"2", "3"})}));
    } else {
        window.SetTitle(Strings().Format(kStringCaptionWcag, {"AA", Strings().Format(kStringAnd, {"1", "2"}), "3"}));
    }
    PrepareCheckList(window, kList);
    for (const auto& setting : m_checkSettings) {
        if (!Lists(*setting))
            continue;
        setting->BeginEdit();
        AddCheckRow(window, kList, *setting, setting->PendingAlwaysInclude(), BitvPriority(setting->Priority()));
        m_listed.push_back(setting.get());
    }
    SelectFirstRow(window, kList);
    window.Focus(kList);
}

void CConformanceAdvancedDlg::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    if (IsToggleGesture(notification, kList)) {
        ToggleSelectedRows(window, kList, [](CheckSetting& setting) {
            setting.SetPendingAlwaysInclude(!setting.PendingAlwaysInclude());
            return setting.PendingAlwaysInclude();
        });
    } else if (notification.control == platform::kIdOk && notification.code == platform::NotifyCode::Clicked) {
        OnOk(window);
    }
}

void CConformanceAdvancedDlg::OnOk(platform::IWindow& window)
{
    for (CheckSetting* setting : m_listed)
        setting->CommitEdit();
    window.End(platform::kIdOk);
}

void CConformanceAdvancedDlg::OnCancel(platform::IWindow& window)
{
    // The pending values are shared with the automatic-repair page, which
    // commits its own rows later: what was switched here must not reach it.
    for (CheckSetting* setting : m_listed)
        setting->SetPendingAlwaysInclude(setting->AlwaysInclude());
    window.End(platform::kIdCancel);
}

void CConformanceAdvancedDlg::OnHelp(platform::IWindow& window) { ShowHelpTopic(&window, kHelpTopic); }

} // namespace orvane
