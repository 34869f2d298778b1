#include "about_dialog.h"

#include "platform/services.h"
#include "platform/window.h"

namespace orvane {
namespace {

enum AboutControl : int {
    kIdProductPicture = 1251,
    kIdCredits = 1252,
    kIdVersion = 1072,
    kIdProductSite = 1065,
    kIdMakerSite = 1071,
    kIdPartnerSite = 1073,
    kIdMd5Credit = 1344,
};

constexpr int kTemplateAbout = 100;
constexpr int kIconProduct = 128;
constexpr int kStringVersion = 110;
constexpr int kStringCaption = 111;

// The lines of the credits list, in the order they are shown.
constexpr int kCreditLines[] = {481, 482, 483, 484, 485, 486, 487, 488, 489, 490, 491, 493, 492};

constexpr const char* kProductSite = "https://orvane.example.org/";
constexpr const char* kMakerSite = "https://www.example.org/";
constexpr const char* kPartnerSite = "https://accessibility-partner.example.org/";

class CAboutDialog final : public platform::IDialogLogic {
public:
    void OnInit(platform::IWindow& window) override
    {
        window.SetIcon(kIconProduct);
        window.SetPicture(kIdProductPicture, kIconProduct);
        const platform::IStringTable& strings = platform::Strings();
        for (int line : kCreditLines)
            window.AddItem(kIdCredits, strings.Get(line));
        window.SetText(kIdVersion, strings.Get(kStringVersion));
    }

    void OnNotify(platform::IWindow& /*window*/, const platform::Notification& notification) override
    {
        if (notification.code != platform::NotifyCode::Clicked)
            return;
        switch (notification.control) {
        case kIdProductSite: platform::Windows().OpenAddress(kProductSite); break;
        case kIdMakerSite: platform::Windows().OpenAddress(kMakerSite); break;
        case kIdPartnerSite: platform::Windows().OpenAddress(kPartnerSite); break;
        case kIdMd5Credit:
            platform::Prompt().Show(platform::Strings().Get(kStringCaption), "RSA Data Security, Inc. MD5 Algorithm.",
                                    platform::PromptIcon::Information, platform::PromptButtons::Ok);
            break;
        default: break;
        }
    }
};

} // namespace

void ShowAboutDialog(platform::IWindow* owner)
{
    CAboutDialog logic;
    platform::Windows().RunModal(kTemplateAbout, logic, owner);
}

} // namespace orvane
