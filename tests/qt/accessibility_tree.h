#pragma once
// What a screen reader reads of a window: Qt's accessibility tree, walked from
// the window's own interface as assistive technologies walk it.

#include <QString>
#include <QStringList>

class QWidget;

namespace orvane::platform::qt::test {

// What a user of a screen reader or of the keyboard alone could not
// understand in the window as it is shown now, one line a fault: a control
// that Tab leads to without a name, a picture without one, a state icon
// whose state no text of its row says, two controls of one key.
QStringList AccessibilityFaults(QWidget& window);

// Everything a screen reader reads of the rows of the window's item views
// that show a state icon: each row's names, joined.
QStringList RowsWithStatesAsRead(QWidget& window);

// Where the keyboard focus is, when it is on no control the user can see
// in the active window; empty while all is well.
QString LostFocus();

} // namespace orvane::platform::qt::test
