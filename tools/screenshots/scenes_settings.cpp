// The settings sheet on each of its pages, and the dialog that adds single
// checks above level A.
#include "scene.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/settings/conformance_advanced_dlg.h"
#include "library/settings/sheet_settings.h"
#include "platform/registry.h"
#include "platform/services.h"

#include <filesystem>

namespace {

// The sheet's page of that index, with the checks of the catalogue listed as
// the library lists them.
orvane::screenshots::Preparation ShowPage(int index)
{
    orvane::COrvaneSettings::InstallCatalogue(&orvane::CCheckCatalogue::Instance());
    return [index](orvane::platform::IWindow& window, QWidget&) {
        if (window.TemplateId() == orvane::CSheetSettings::kTemplate)
            window.ShowPage(index);
    };
}

} // namespace

ORVANE_SCENE_PREPARED(settings_level, ShowPage(0)) { orvane::RunSettingsSheet(nullptr); }
ORVANE_SCENE_PREPARED(settings_autorepair, ShowPage(1)) { orvane::RunSettingsSheet(nullptr); }
ORVANE_SCENE_PREPARED(settings_filesaves, ShowPage(2)) { orvane::RunSettingsSheet(nullptr); }
ORVANE_SCENE_PREPARED(settings_longdesc, ShowPage(3)) { orvane::RunSettingsSheet(nullptr); }

// The level page with a WCAG 2.2 target chosen, from a settings store of the
// scene's own (the pictures are otherwise taken with none).
ORVANE_SCENE_PREPARED(settings_level_wcag22, ShowPage(0))
{
    const std::string storeFile = (std::filesystem::temp_directory_path() / "orvane-screenshot-settings.reg").string();
    std::filesystem::remove(storeFile);
    {
        const std::unique_ptr<orvane::platform::IRegistry> store = orvane::platform::CreateFileRegistry(storeFile);
        const orvane::platform::ScopedRegistry scope(*store);
        orvane::COrvaneSettings settings;
        settings.Load();
        settings.SetConformanceLevel(orvane::level::kWcag22AA);
        settings.Save();
        orvane::RunSettingsSheet(nullptr);
    }
    std::filesystem::remove(storeFile);
}

ORVANE_SCENE(settings_advanced_level_a)
{
    orvane::COrvaneSettings::InstallCatalogue(&orvane::CCheckCatalogue::Instance());
    orvane::COrvaneSettings settings;
    settings.Load();
    orvane::CConformanceAdvancedDlg dialog(settings, orvane::level::kA);
    orvane::platform::Windows().RunModal(orvane::CConformanceAdvancedDlg::kTemplate, dialog, nullptr);
}
