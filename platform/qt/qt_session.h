#pragma once

// How a library or program of Orvane gets its windows: where a screen can be
// used, a widget application (the host's, or one made here when the host has
// none), the Qt window system, the help window and message boxes; where none
// can (ORVANE_SESSION=unattended, no display, a host without widgets), the
// window system that shows nothing and messages on standard error. Never
// aborts the host for want of a display.

#include <string>

namespace orvane::platform::qt {

class CQtWindowSystem;
class CQtHelpViewer;

// Installs the services above, once; true when windows can be shown.
bool StartWindows();

// The same for a program that made its own widget application: its windows
// are shown whatever ORVANE_SESSION says (that tells the checker library how
// to run its sessions, not whether the program has a window).
bool StartProgramWindows();

// The Qt services StartWindows installed; null when windows cannot be shown.
CQtWindowSystem* QtWindows();
CQtHelpViewer* QtHelpViewer();

// Puts the texts of the user interface in that language ("de", "en"): the
// string table, the template texts and Qt's own texts.
void UseLanguage(const std::string& language);

} // namespace orvane::platform::qt
