#pragma once

// How a library or program of Orvane gets its windows: where a person can see
// them, a widget application (the host's, or one made here when the host has
// none), the Qt window system, the help window and message boxes; where
// nobody can (ORVANE_SESSION=unattended, no display, a platform that draws
// nowhere, no resource bundle, a call from a thread other than the
// application's), the window system that shows nothing and messages on
// standard error. Never aborts the host for want of a display.

#include <string>

namespace orvane::platform::qt {

class CQtWindowSystem;
class CQtHelpViewer;

// Installs the services above, once it is called on the application's thread;
// true when windows can be shown. A platform that draws nowhere (offscreen,
// minimal) shows windows only when ORVANE_SESSION=windows asks for them, as
// tests that drive the real windows do.
bool StartWindows();

// The same for a program that made its own widget application: its windows
// are shown whatever ORVANE_SESSION says (that tells the checker library how
// to run its sessions, not whether the program has a window).
bool StartProgramWindows();

// The Qt services StartWindows installed; null when windows cannot be shown.
CQtWindowSystem* QtWindows();
CQtHelpViewer* QtHelpViewer();

// Whether the caller runs on the thread of the process's widget application
// (false when there is none): Qt's windows may only be made there.
bool OnApplicationThread();

// Puts the texts of the user interface in that language ("de", "en"): the
// string table, the template texts and Qt's own texts.
void UseLanguage(const std::string& language);

} // namespace orvane::platform::qt
