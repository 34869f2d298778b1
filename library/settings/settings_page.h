#pragma once

#include "common/orvane_settings.h"
#include "platform/window.h"

#include <string_view>

namespace orvane {

class CSheetSettings;

// A page of the settings sheet. It takes the sheet's record the first time it
// is shown and fills its controls from it then; a page never shown changes
// nothing on OK.
class CSettingsPage : public platform::IDialogLogic {
public:
    void OnInit(platform::IWindow& window) override { m_window = &window; }
    void OnActivate(platform::IWindow& window) override;
    // Enter and Escape on a page act on the sheet.
    void OnOk(platform::IWindow& window) override;
    void OnCancel(platform::IWindow& window) override;

    bool WasShown() const { return m_record != nullptr; }
    // Whether the user may go to another page.
    virtual bool CanLeave() { return true; }
    // Writes the page's values into the record (the sheet's OK).
    virtual void OkStep() = 0;
    virtual std::string_view HelpTopic() const = 0;

protected:
    explicit CSettingsPage(CSheetSettings& sheet) : m_sheet(sheet) {}
    virtual void FirstShow(platform::IWindow& window) = 0;
    virtual void ShowAgain(platform::IWindow& /*window*/) {}

    CSheetSettings& m_sheet;
    COrvaneSettings* m_record = nullptr;
    platform::IWindow* m_window = nullptr;
};

} // namespace orvane
