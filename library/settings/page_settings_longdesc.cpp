#include "page_settings_longdesc.h"

#include "check_rows.h"

namespace orvane {

using settingsui::kBitDLink;
using settingsui::kFamilyImg;

void CPageSettingsLongdesc::FirstShow(platform::IWindow& window)
{
    window.SetChecked(kCheckDLinks, m_record->GetAlwaysInclude(kFamilyImg, kBitDLink));
    const bool automatic = m_record->GetAutoRepairMode(kFamilyImg, kBitDLink) == autorepair::kOn;
    window.SetChecked(automatic ? kRadioAutomatic : kRadioAsk, true);
    EnableChoices(window);
}

void CPageSettingsLongdesc::EnableChoices(platform::IWindow& window)
{
    const bool on = window.IsChecked(kCheckDLinks);
    window.Enable(kRadioAutomatic, on);
    window.Enable(kRadioAsk, on);
}

void CPageSettingsLongdesc::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    if (WasShown() && notification.control == kCheckDLinks && notification.code == platform::NotifyCode::Clicked)
        EnableChoices(window);
}

void CPageSettingsLongdesc::OkStep()
{
    m_record->SetAlwaysInclude(kFamilyImg, kBitDLink, m_window->IsChecked(kCheckDLinks));
    m_record->SetAutoRepairMode(kFamilyImg, kBitDLink,
                                m_window->IsChecked(kRadioAutomatic) ? autorepair::kOn : autorepair::kOff);
}

} // namespace orvane
