#pragma once

// What the automatic-repair list and the advanced conformance list share:
// each row is one check setting, shown as "On - title" or "Off - title" with
// the matching state icon, and switched by a double click or the space key
// over every selected row.

#include "common/orvane_settings.h"
#include "platform/window.h"

#include <functional>
#include <string>
#include <vector>

namespace orvane::settingsui {

// Resources of the settings windows.
inline constexpr int kStringCaption = 111;
inline constexpr int kStringOn = 273;
inline constexpr int kStringOff = 274;
inline constexpr int kStringColumnPriority = 280;
inline constexpr int kStringColumnCheck = 342;
inline constexpr int kBitmapStateIcons = 222;
inline constexpr int kIconOn = 1;
inline constexpr int kIconOff = 3;

// The long-description check has a page of its own.
inline constexpr int kFamilyImg = 44;
inline constexpr std::uint32_t kBitDLink = 0x80;
inline bool IsLongDescriptionCheck(const CheckSetting& setting)
{
    return setting.Family() == kFamilyImg && setting.CheckBit() == kBitDLink;
}

// Sets up a list of checks: state icons, the check and priority columns, Space heard.
void PrepareCheckList(platform::IWindow& window, int list);
int AddCheckRow(platform::IWindow& window, int list, CheckSetting& setting, bool on, const std::string& column1);
void ShowRowState(platform::IWindow& window, int list, int row, bool on);
CheckSetting& SettingOfRow(const platform::IWindow& window, int list, int row);
std::vector<CheckSetting*> ListedSettings(const platform::IWindow& window, int list);

// A double click on a row or Space on the list.
bool IsToggleGesture(const platform::Notification& notification, int list);
// Flips every selected row: flip returns the row's new state.
void ToggleSelectedRows(platform::IWindow& window, int list, const std::function<bool(CheckSetting&)>& flip);

void SelectFirstRow(platform::IWindow& window, int list);

} // namespace orvane::settingsui
