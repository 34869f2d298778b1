#include "page_settings_filesaves.h"

namespace orvane {

std::string CPageSettingsFileSaves::NormalisedExtension(std::string_view typed, std::string_view fallback)
{
    std::string extension(typed);
    if (!extension.empty() && extension.find('.') == std::string::npos)
        extension = "." + extension;
    if (extension.empty() || extension == ".")
        return std::string(fallback);
    return extension;
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

void CPageSettingsFileSaves::OkStep()
{
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
