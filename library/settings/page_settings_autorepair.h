#pragma once

#include "library/settings/settings_page.h"

#include <cstdint>
#include <map>
#include <string>

namespace orvane {

// The checks that repair themselves, switched on and off, and the choices
// the automatic repairs of three checks use: the language given to a page
// without one, what replaces blinking text, the document type declaration.
class CPageSettingsAutoRepair final : public CSettingsPage {
public:
    static constexpr int kTemplate = 9102;
    static constexpr int kList = 9130;
    static constexpr int kNoChecks = 9131; // shown instead of an empty list
    static constexpr int kLanguageGroup = 9140, kLanguage = 9141;
    static constexpr int kBlinkGroup = 9142, kTag = 9143, kStyle = 9144;
    static constexpr int kRadioRemoveBlink = 1127, kRadioReplaceBlink = 1128;
    static constexpr int kDoctypeGroup = 9145, kOwnDoctype = 9146;
    static constexpr int kRadioFrameset = 1329, kRadioTransitional = 1330, kRadioStrict = 1331, kRadioOwn = 1332;

    explicit CPageSettingsAutoRepair(CSheetSettings& sheet) : CSettingsPage(sheet) {}

    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;
    void OkStep() override;
    std::string_view HelpTopic() const override { return "AutoRepairs.html"; }

protected:
    void FirstShow(platform::IWindow& window) override;
    void ShowAgain(platform::IWindow& window) override;

private:
    struct BlinkChoice {
        std::string tag;
        std::string style;
        std::int16_t number = 0;
        bool operator==(const BlinkChoice&) const = default;
    };
    struct DoctypeChoice {
        std::string text;
        std::int16_t number = 0;
        bool operator==(const DoctypeChoice&) const = default;
    };

    void FillLanguages(platform::IWindow& window);
    void FillOptions(platform::IWindow& window);
    void FillList(platform::IWindow& window);
    void ShowOptionsOfSelection(platform::IWindow& window);
    void EnableOptionFields(platform::IWindow& window);
    BlinkChoice ReadBlink(const platform::IWindow& window) const;
    DoctypeChoice ReadDoctype(const platform::IWindow& window) const;
    std::string ChosenLanguageCode(const platform::IWindow& window) const;

    int m_filledLevel = 0;
    // What the user switched on this page, kept when the list is filled again.
    std::map<CheckSetting*, int> m_switched;
    // The option values as first shown, so that only changes are stored.
    std::string m_startLanguage;
    BlinkChoice m_startBlink;
    DoctypeChoice m_startDoctype;
};

} // namespace orvane
