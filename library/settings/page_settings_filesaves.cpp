#include "page_settings_filesaves.h"

#include "check_rows.h"
#include "common/page_extensions.h"
#include "library/settings/sheet_settings.h"
#include "platform/services.h"

namespace orvane {

namespace {

constexpr int kStringExtensionsUnusable = 413;

} // namespace

std::string CPageSettingsFileSaves::NormalisedExtension(std::string_view typed, std::string_view fallback)
{
    if (typed.empty() || typed == ".")
        return std::string(fallback);
    // Built anew rather than inserted into: gcc 12 warns falsely about an insert at the front.
    if (typed.find('.') == std::string_view::npos)
        return "." + std::string(typed);
    return std::string(typed);
}

void CPageSettingsFileSaves::FirstShow(platform::IWindow& window)
{
    window.SetText(kOriginalExtension, m_record->GetOriginalExtension());
    window.SetText(kValidateExtension, m_record->GetValidateExtension());
    int mode = m_record->GetFileSaves();
    if (mode < filesaves::kReplace || mode > filesaves::kAsk)
        mode = filesaves::kAsk;
    window.SetChecked(kRadioReplace + mode, true);
}

bool CPageSettingsFileSaves::ExtensionsUsable()
{
    const std::string original = NormalisedExtension(m_window->Text(kOriginalExtension), kDefaultOriginalExtension);
    const std::string validated = NormalisedExtension(m_window->Text(kValidateExtension), kDefaultValidateExtension);
    if (SaveExtensionsProblem(original, validated).empty())
        return true;
    platform::Prompt().Show(platform::Strings().Get(settingsui::kStringCaption),
                            platform::Strings().Get(kStringExtensionsUnusable), platform::PromptIcon::Exclamation,
                            platform::PromptButtons::Ok);
    m_window->Focus(IsPageExtension(validated) || !IsPageExtension(original) ? kValidateExtension : kOriginalExtension);
    return false;
}

bool CPageSettingsFileSaves::CanLeave() { return !WasShown() || ExtensionsUsable(); }

void CPageSettingsFileSaves::OkStep()
{
    if (!ExtensionsUsable()) {
        m_sheet.RefuseAccept();
        m_sheet.ShowPageOf(*this);
        return;
    }
    int mode = filesaves::kAsk;
    for (int candidate = filesaves::kReplace; candidate < filesaves::kAsk; ++candidate) {
        if (m_window->IsChecked(kRadioReplace + candidate))
            mode = candidate;
    }
    m_record->SetFileSaves(mode);
    m_record->SetOriginalExtension(NormalisedExtension(m_window->Text(kOriginalExtension), kDefaultOriginalExtension));
    m_record->SetValidateExtension(NormalisedExtension(m_window->Text(kValidateExtension), kDefaultValidateExtension));
}

} // namespace orvane
