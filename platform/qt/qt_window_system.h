#pragma once

// The window system of a process with a screen: modal dialogs from the
// templates of the resource bundle, Qt's file and colour dialogs, the
// desktop's web browser.

#include "platform/window.h"

#include <functional>

class QWidget;

namespace orvane::platform::qt {

class CQtWindow;

class CQtWindowSystem final : public IWindowSystem {
public:
    // Called once each modal window is on the screen, before the user can act
    // (the screenshots use it to grab a window and close it).
    using ShowHook = std::function<void(QWidget& widget, IWindow& window)>;
    void SetShowHook(ShowHook hook) { m_showHook = std::move(hook); }

    // Only on the application's thread: Qt's windows cannot be made elsewhere.
    bool CanShowWindows() const override;
    int RunModal(int templateId, IDialogLogic& logic, IWindow* owner) override;
    std::optional<std::string> ChooseFileToOpen(IWindow* owner, const FileDialogRequest& request) override;
    std::optional<std::string> ChooseFileToSave(IWindow* owner, const FileDialogRequest& request) override;
    std::optional<Colour> ChooseColour(IWindow* owner, Colour initial, std::string_view title) override;
    bool OpenAddress(std::string_view address) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

private:
    ShowHook m_showHook;
    int m_waitDepth = 0;
};

// The widget of a window of the control layer (for owners of Qt's own
// dialogs); null for a window that is not a Qt one.
QWidget* WidgetOf(IWindow* window);

} // namespace orvane::platform::qt
