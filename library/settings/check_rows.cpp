#include "check_rows.h"

#include "platform/services.h"

#include <algorithm>

namespace orvane::settingsui {

using platform::Strings;

namespace {

constexpr int kColumnCheckWidth = 300;
constexpr int kColumnPriorityWidth = 70;

std::string RowText(bool on, const CheckSetting& setting)
{
    return Strings().Get(on ? kStringOn : kStringOff) + " - " + setting.Title();
}

} // namespace

void PrepareCheckList(platform::IWindow& window, int list)
{
    window.SetImageStrip(list, kBitmapStateIcons);
    std::vector<std::string> states(std::max(kIconOn, kIconOff) + 1);
    states[kIconOn] = Strings().Get(kStringOn);
    states[kIconOff] = Strings().Get(kStringOff);
    window.SetImageTexts(list, states);
    // The check's title takes whatever the priority column leaves.
    const int checkWidth = std::max(kColumnCheckWidth, window.ClientWidth() - kColumnPriorityWidth);
    window.SetColumns(list, {{Strings().Get(kStringColumnCheck), checkWidth, platform::Align::Left, true},
                             {Strings().Get(kStringColumnPriority), kColumnPriorityWidth, platform::Align::Centre}});
    window.WatchKey(list, platform::Key::Space);
}

int AddCheckRow(platform::IWindow& window, int list, CheckSetting& setting, bool on, const std::string& column1)
{
    const int row = window.AddItem(list, RowText(on, setting), reinterpret_cast<platform::ItemData>(&setting));
    window.SetItemIcon(list, row, on ? kIconOn : kIconOff);
    window.SetItemText(list, row, 1, column1);
    return row;
}

void ShowRowState(platform::IWindow& window, int list, int row, bool on)
{
    window.SetItemText(list, row, 0, RowText(on, SettingOfRow(window, list, row)));
    window.SetItemIcon(list, row, on ? kIconOn : kIconOff);
}

CheckSetting& SettingOfRow(const platform::IWindow& window, int list, int row)
{
    return *reinterpret_cast<CheckSetting*>(window.GetItemData(list, row));
}

std::vector<CheckSetting*> ListedSettings(const platform::IWindow& window, int list)
{
    std::vector<CheckSetting*> settings;
    for (int row = 0; row < window.ItemCount(list); ++row)
        settings.push_back(&SettingOfRow(window, list, row));
    return settings;
}

bool IsToggleGesture(const platform::Notification& notification, int list)
{
    if (notification.control != list)
        return false;
    return (notification.code == platform::NotifyCode::DoubleClicked && notification.item >= 0) ||
           (notification.code == platform::NotifyCode::KeyPressed && notification.key == platform::Key::Space);
}

void ToggleSelectedRows(platform::IWindow& window, int list, const std::function<bool(CheckSetting&)>& flip)
{
    for (int row = 0; row < window.ItemCount(list); ++row) {
        if (window.IsItemSelected(list, row))
            ShowRowState(window, list, row, flip(SettingOfRow(window, list, row)));
    }
}

void SelectFirstRow(platform::IWindow& window, int list)
{
    if (window.ItemCount(list) == 0)
        return;
    window.SetItemSelected(list, 0, true);
    window.SetCurrentItem(list, 0);
}

} // namespace orvane::settingsui
