#pragma once

#include "library/settings/settings_page.h"

#include <string>
#include <string_view>

namespace orvane {

// How the selector writes a repaired page, and the extensions of the backup
// and of the repaired copy.
class CPageSettingsFileSaves final : public CSettingsPage {
public:
    static constexpr int kTemplate = 9103;
    static constexpr int kRadioReplace = 1004; // to 1007, one per file-save mode
    static constexpr int kOriginalExtension = 9150;
    static constexpr int kValidateExtension = 9151;

    explicit CPageSettingsFileSaves(CSheetSettings& sheet) : CSettingsPage(sheet) {}

    // Refuses extensions a save could give a page's name with, and says why.
    bool CanLeave() override;
    void OkStep() override;
    std::string_view HelpTopic() const override { return "SavingFiles.html"; }

    // An extension as typed, as it is stored: "bak" gains its dot, and a lone
    // dot or nothing gives the default.
    static std::string NormalisedExtension(std::string_view typed, std::string_view fallback);

protected:
    void FirstShow(platform::IWindow& window) override;

private:
    bool ExtensionsUsable();
};

} // namespace orvane
