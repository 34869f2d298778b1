#include "window.h"

#include <algorithm>

namespace orvane::platform {
namespace {

// Until a host installs its window system nothing is shown: a library loaded
// by a build server or an editor plug-in must never pop up a window.
class CNoWindows final : public IWindowSystem {
public:
    bool CanShowWindows() const override { return false; }
    int RunModal(int, IDialogLogic&, IWindow*) override { return -1; }
    std::optional<std::string> ChooseFileToOpen(IWindow*, const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> ChooseFileToSave(IWindow*, const FileDialogRequest&) override { return std::nullopt; }
    std::optional<Colour> ChooseColour(IWindow*, Colour, std::string_view) override { return std::nullopt; }
    bool OpenAddress(std::string_view) override { return false; }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
};

CNoWindows g_noWindows;
IWindowSystem* g_windows = &g_noWindows;

// How much of a rectangle lies on a screen, in square pixels.
long long Overlap(int left, int top, int right, int bottom, const ScreenArea& screen)
{
    const long long width = std::min(right, screen.right) - std::max(left, screen.left);
    const long long height = std::min(bottom, screen.bottom) - std::max(top, screen.top);
    return width > 0 && height > 0 ? width * height : 0;
}

// The title bar's strip: enough of it shows to grab the window and drag it.
bool TitleShows(const WindowPlacement& placement, const ScreenArea& screen)
{
    constexpr int kTitleHeight = 24, kGrip = 48;
    const int width = std::min(placement.right, screen.right) - std::max(placement.left, screen.left);
    return width >= std::min(kGrip, placement.right - placement.left) && placement.top >= screen.top &&
           placement.top + kTitleHeight <= screen.bottom;
}

} // namespace

WindowPlacement BringOntoScreens(const WindowPlacement& placement, const std::vector<ScreenArea>& screens)
{
    if (screens.empty())
        return placement;
    std::size_t best = 0;
    long long bestOverlap = -1;
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const long long overlap = Overlap(placement.left, placement.top, placement.right, placement.bottom, screens[i]);
        if (overlap > bestOverlap) {
            best = i;
            bestOverlap = overlap;
        }
    }
    const ScreenArea& screen = screens[best];
    WindowPlacement placed = placement;
    const int width = std::min(placement.right - placement.left, screen.right - screen.left);
    const int height = std::min(placement.bottom - placement.top, screen.bottom - screen.top);
    if (width <= 0 || height <= 0)
        return placement;
    const bool reachable =
        std::any_of(screens.begin(), screens.end(), [&](const ScreenArea& area) { return TitleShows(placement, area); });
    if (!reachable || width < placement.right - placement.left || height < placement.bottom - placement.top) {
        placed.left = std::clamp(placement.left, screen.left, screen.right - width);
        placed.top = std::clamp(placement.top, screen.top, screen.bottom - height);
    }
    placed.right = placed.left + width;
    placed.bottom = placed.top + height;
    return placed;
}

void IDialogLogic::OnOk(IWindow& window) { window.End(kIdOk); }
void IDialogLogic::OnCancel(IWindow& window) { window.End(kIdCancel); }

IWindowSystem& Windows() { return *g_windows; }
void SetWindows(IWindowSystem* windows) { g_windows = windows ? windows : &g_noWindows; }

} // namespace orvane::platform
