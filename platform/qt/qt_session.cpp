#include "qt_session.h"

#include "message_box_prompt.h"
#include "qt_help_viewer.h"
#include "qt_resources.h"
#include "qt_window_system.h"

#include "platform/bundle_strings.h"
#include "platform/console_prompt.h"
#include "platform/help.h"
#include "platform/language.h"
#include "platform/services.h"

#include <QApplication>

#include <cstdlib>
#include <iostream>
#include <string_view>

namespace orvane::platform::qt {
namespace {

bool g_started = false;
bool g_windows = false;

bool EnvironmentSet(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

bool Unattended()
{
    const char* session = std::getenv("ORVANE_SESSION");
    return session && std::string_view(session) == "unattended";
}

// Makes the widget application of a host that has none. Without a platform
// named by QT_QPA_PLATFORM and without a display to connect to, none is made:
// Qt would abort the host. A display that cannot be reached falls back to the
// offscreen platform, which shows the user nothing: then no windows either.
QApplication* MakeApplication()
{
    const bool platformChosen = EnvironmentSet("QT_QPA_PLATFORM");
    if (!platformChosen && !EnvironmentSet("DISPLAY") && !EnvironmentSet("WAYLAND_DISPLAY"))
        return nullptr;
    static int argc = 1;
    static char name[] = "Orvane";
    static char platformOption[] = "-platform";
    static char platforms[] = "wayland;xcb;offscreen";
    static char* argv[] = {name, platformOption, platforms, nullptr};
    if (!platformChosen)
        argc = 3;
    // Kept for the life of the process: hosts and Qt may use it until exit.
    auto* application = new QApplication(argc, argv);
    if (!platformChosen && QGuiApplication::platformName() == "offscreen")
        return nullptr;
    return application;
}

void InstallQtServices();

} // namespace

bool StartWindows()
{
    if (g_started)
        return g_windows;
    g_started = true;
    static CConsolePrompt consolePrompt(std::cerr);
    QApplication* application = nullptr;
    if (!Unattended()) {
        if (!QCoreApplication::instance())
            application = MakeApplication();
        else
            application = qobject_cast<QApplication*>(QCoreApplication::instance());
    }
    if (!application) {
        SetPrompt(&consolePrompt);
        return false;
    }
    InstallQtServices();
    return true;
}

bool StartProgramWindows()
{
    if (g_started || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return StartWindows();
    g_started = true;
    InstallQtServices();
    return true;
}

namespace {

void InstallQtServices()
{
    g_windows = true;
    static CQtWindowSystem windows;
    static CQtHelpViewer helpViewer;
    static CMessageBoxPrompt messageBoxes;
    SetWindows(&windows);
    SetHelpViewer(&helpViewer);
    SetPrompt(&messageBoxes);
    InstallTemplateLanguage(UiLanguage());
}

} // namespace

CQtWindowSystem* QtWindows() { return g_windows ? static_cast<CQtWindowSystem*>(&Windows()) : nullptr; }

CQtHelpViewer* QtHelpViewer() { return g_windows ? static_cast<CQtHelpViewer*>(HelpViewer()) : nullptr; }

void UseLanguage(const std::string& language)
{
    InstallBundleLanguage(language);
    if (QCoreApplication::instance())
        InstallTemplateLanguage(language);
}

} // namespace orvane::platform::qt
