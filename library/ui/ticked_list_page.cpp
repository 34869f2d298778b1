#include "library/ui/ticked_list_page.h"

#include "platform/services.h"

#include <algorithm>
#include <string>
#include <vector>

namespace orvane {

namespace {
constexpr int kStringOn = 273;
constexpr int kStringOff = 274;
constexpr int kStateIcons = 222;
} // namespace

CTickedListPage::CTickedListPage(int templateId) : CPageValidatorBase(templateId) {}

void CTickedListPage::ShowTickIcons(platform::IWindow& window, int list)
{
    window.SetImageStrip(list, kStateIcons);
    std::vector<std::string> states(std::max(kIconTicked, kIconUnticked) + 1);
    states[kIconTicked] = platform::Strings().Get(kStringOn);
    states[kIconUnticked] = platform::Strings().Get(kStringOff);
    window.SetImageTexts(list, states);
}

void CTickedListPage::ChooseFirstRow(platform::IWindow& window, int list, bool any)
{
    if (any) {
        window.SetItemSelected(list, 0, true);
        window.SetCurrentItem(list, 0);
    }
    ShowMarkup(window);
}

bool CTickedListPage::TogglesTicks(const platform::Notification& notification)
{
    return (notification.code == platform::NotifyCode::DoubleClicked && notification.item >= 0) ||
           (notification.code == platform::NotifyCode::KeyPressed && notification.key == platform::Key::Space);
}

bool CTickedListPage::WriteAndShow()
{
    TakeBack();
    WriteTicked();
    if (Window())
        ShowMarkup(*Window());
    return true;
}

void CTickedListPage::Undo()
{
    TakeBack();
    SetStatus(pagestatus::kNotRepaired);
    if (Window())
        ShowMarkup(*Window());
}

} // namespace orvane
