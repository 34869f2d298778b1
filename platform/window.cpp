#include "window.h"

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

} // namespace

void IDialogLogic::OnOk(IWindow& window) { window.End(kIdOk); }
void IDialogLogic::OnCancel(IWindow& window) { window.End(kIdCancel); }

IWindowSystem& Windows() { return *g_windows; }
void SetWindows(IWindowSystem* windows) { g_windows = windows ? windows : &g_noWindows; }

} // namespace orvane::platform
