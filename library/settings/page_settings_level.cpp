#include "page_settings_level.h"

#include "check_rows.h"
#include "conformance_advanced_dlg.h"
#include "library/settings/sheet_settings.h"
#include "platform/services.h"

namespace orvane {

using platform::Strings;

namespace {

constexpr int kStringIconsLocationMissing = 412;

int LevelOfRadio(int radio)
{
    switch (radio) {
    case CPageSettingsLevel::kRadioA: return level::kA;
    case CPageSettingsLevel::kRadioAA: return level::kAA;
    case CPageSettingsLevel::kRadioAAA: return level::kAAA;
    case CPageSettingsLevel::kRadioWcag22A: return level::kWcag22A;
    case CPageSettingsLevel::kRadioWcag22AA: return level::kWcag22AA;
    case CPageSettingsLevel::kRadioWcag22AAA: return level::kWcag22AAA;
    default: return level::kSection508;
    }
}

std::string Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

} // namespace

void CPageSettingsLevel::FirstShow(platform::IWindow& window)
{
    ShowLevel(window, m_record->GetConformanceLevel());
    window.SetChecked(kInsertIcon, m_record->GetInsertIcon());
    window.SetText(kIconsLocation, m_record->GetIconsLocation());
    window.SetChecked(kAriaNames, m_record->GetAriaNames());
}

void CPageSettingsLevel::ShowLevel(platform::IWindow& window, int level)
{
    if (level < level::kA || level > level::kWcag22AAA)
        level = level::kSection508;
    const int radios[] = {kRadioA, kRadioAA, kRadioAAA, kRadio508, kRadioWcag22A, kRadioWcag22AA, kRadioWcag22AAA};
    window.SetChecked(radios[level - 1], true);
    for (int shown = level::kA; shown <= level::kSection508; ++shown)
        window.Show(kDescriptionA + shown - 1, shown == level);
    window.Show(kDescriptionWcag22, level::IsWcag22(level));
    // The dialogs add WCAG 1.0 checks of the priorities above a WCAG 1.0 target;
    // a WCAG 2.2 target has no priorities above it.
    window.Enable(kAdvancedA, level == level::kA);
    window.Enable(kAdvancedAA, level == level::kAA);
    window.Enable(kAdvanced508, level == level::kSection508);
    m_sheet.SetChosenLevel(level);
}

void CPageSettingsLevel::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    if (notification.code != platform::NotifyCode::Clicked || !WasShown())
        return;
    switch (notification.control) {
    case kRadioA:
    case kRadioAA:
    case kRadioAAA:
    case kRadio508:
    case kRadioWcag22A:
    case kRadioWcag22AA:
    case kRadioWcag22AAA:
        ShowLevel(window, LevelOfRadio(notification.control));
        break;
    case kAdvancedA: RunAdvanced(window, level::kA); break;
    case kAdvancedAA: RunAdvanced(window, level::kAA); break;
    case kAdvanced508: RunAdvanced(window, level::kSection508); break;
    default: break;
    }
}

void CPageSettingsLevel::RunAdvanced(platform::IWindow& window, int level)
{
    CConformanceAdvancedDlg dialog(*m_record, level);
    if (platform::Windows().RunModal(CConformanceAdvancedDlg::kTemplate, dialog, &window) == platform::kIdOk)
        m_sheet.SetAdvancedConfirmed(true);
}

std::optional<std::string> CPageSettingsLevel::ValidatedIconsLocation()
{
    std::string location = Trimmed(m_window->Text(kIconsLocation));
    if (!location.empty() && location.back() == '/')
        location.pop_back();
    if (m_window->IsChecked(kInsertIcon) && location.empty()) {
        platform::Prompt().Show(Strings().Get(settingsui::kStringCaption), Strings().Get(kStringIconsLocationMissing),
                                platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
        m_window->Focus(kIconsLocation);
        return std::nullopt;
    }
    return location;
}

bool CPageSettingsLevel::CanLeave() { return !WasShown() || ValidatedIconsLocation().has_value(); }

void CPageSettingsLevel::OkStep()
{
    int level = level::kSection508;
    for (int radio : {kRadioA, kRadioAA, kRadioAAA, kRadioWcag22A, kRadioWcag22AA, kRadioWcag22AAA}) {
        if (m_window->IsChecked(radio))
            level = LevelOfRadio(radio);
    }
    m_record->SetConformanceLevel(level);
    m_record->SetInsertIcon(m_window->IsChecked(kInsertIcon));
    m_record->SetAriaNames(m_window->IsChecked(kAriaNames));
    if (std::optional<std::string> location = ValidatedIconsLocation()) {
        m_record->SetIconsLocation(*location);
    } else {
        m_sheet.RefuseAccept();
        m_sheet.ShowPageOf(*this);
    }
}

} // namespace orvane
