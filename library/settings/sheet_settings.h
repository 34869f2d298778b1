#pragma once

#include "common/orvane_settings.h"
#include "library/settings/page_settings_autorepair.h"
#include "library/settings/page_settings_filesaves.h"
#include "library/settings/page_settings_level.h"
#include "library/settings/page_settings_longdesc.h"
#include "platform/window.h"

#include <array>

namespace orvane {

// The settings sheet: four pages on a copy of the settings record of its own,
// loaded when a page first needs it and saved only when the user confirms.
class CSheetSettings final : public platform::IDialogLogic {
public:
    static constexpr int kTemplate = 9001;

    CSheetSettings();
    ~CSheetSettings() override;

    // The sheet's record, loaded on first use; null when it cannot be read.
    COrvaneSettings* GetRecord();

    // The level chosen on the level page, before OK stores it.
    int ChosenLevel() const { return m_level; }
    void SetChosenLevel(int level) { m_level = level; }
    // The advanced dialog was confirmed since the automatic-repair list was filled.
    bool IsAdvancedConfirmed() const { return m_advancedConfirmed; }
    void SetAdvancedConfirmed(bool confirmed) { m_advancedConfirmed = confirmed; }
    // A page keeps the sheet open on OK.
    void RefuseAccept() { m_accept = false; }
    // Brings the page to the front (a page whose values need the user's attention).
    void ShowPageOf(const CSettingsPage& page);
    platform::IWindow* Window() const { return m_window; }

    void OnInit(platform::IWindow& window) override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;
    void OnOk(platform::IWindow& window) override;
    void OnCancel(platform::IWindow& window) override;
    void OnHelp(platform::IWindow& window) override;
    void OnSystemCommand(platform::IWindow& window, int command) override;
    void OnDestroy(platform::IWindow& window) override;

private:
    CSettingsPage& PageAt(int index);
    CSettingsPage* CurrentPage();

    CPageSettingsLevel m_pageLevel;
    CPageSettingsAutoRepair m_pageAutoRepair;
    CPageSettingsFileSaves m_pageFileSaves;
    CPageSettingsLongdesc m_pageLongdesc;
    COrvaneSettings m_record;
    bool m_loaded = false;
    bool m_accept = false;
    int m_level = level::kAAA;
    bool m_advancedConfirmed = false;
    platform::IWindow* m_window = nullptr;
    bool m_freeLanguages = false;
};

// Shows the settings sheet modally; the result is OK (1) or Cancel (2).
int RunSettingsSheet(platform::IWindow* owner);

} // namespace orvane
