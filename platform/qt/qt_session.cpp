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
#include <QThread>

#include <cstdlib>
#include <iostream>
#include <string_view>
#include <unistd.h>

namespace orvane::platform::qt {
namespace {

bool g_started = false;
bool g_windows = false;

bool EnvironmentSet(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

bool SessionModeIs(std::string_view mode)
{
    const char* session = std::getenv("ORVANE_SESSION");
    return session && std::string_view(session) == mode;
}

// The thread the process started with: the only one a widget application may
// be made on.
bool OnMainThread() { return gettid() == getpid(); }

// Platforms that draw into memory: a window there waits for a person who can
// never see it, so a modal session would hang its host.
bool DrawsNowhere()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

// Makes the widget application of a host that has none. Without a platform
// named by QT_QPA_PLATFORM and without a display to connect to, none is made:
// Qt would abort the host. A display that cannot be reached falls back to the
// offscreen platform, which the caller then refuses like any that draws nowhere.
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
    return new QApplication(argc, argv);
}

// Why the sessions run without windows where a person might expect them, said
// once on standard error: unattended sessions are not a failure, but a user
// who waits for a window must learn why none comes.
void SayWhyNoWindows(const char* reason)
{
    std::cerr << "Orvane: " << reason << "; pages are checked without windows." << std::endl;
}

void InstallQtServices();

} // namespace

bool OnApplicationThread()
{
    const QCoreApplication* application = QCoreApplication::instance();
    return application && QThread::currentThread() == application->thread();
}

bool StartWindows()
{
    if (g_started)
        return g_windows && OnApplicationThread();
    static CConsolePrompt consolePrompt(std::cerr);
    SetPrompt(&consolePrompt);
    if (SessionModeIs("unattended")) {
        g_started = true;
        return false;
    }
    // Qt's objects belong to the application's thread; a call from any other
    // runs unattended, and a later call from the right thread may still start.
    QCoreApplication* existing = QCoreApplication::instance();
    if (existing ? !OnApplicationThread() : !OnMainThread())
        return false;
    g_started = true;
    auto* application = existing ? qobject_cast<QApplication*>(existing) : MakeApplication();
    if (!application)
        return false;
    if (DrawsNowhere() && !SessionModeIs("windows")) {
        SayWhyNoWindows(EnvironmentSet("QT_QPA_PLATFORM")
                            ? "the Qt platform draws no window a person can see (ORVANE_SESSION=windows shows them)"
                            : "the display could not be reached");
        return false;
    }
    if (!InstalledBundle()) {
        SayWhyNoWindows("the resource bundle with the windows was not found beside the library or in share/orvane");
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
