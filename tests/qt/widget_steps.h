#pragma once

// The user's hands on any Qt window, whoever made it (the test's own window
// system or a library loaded at run time): its controls are found by the
// names the templates give them ("c" and the control's number).
#include <QAbstractButton>
#include <QWidget>

#include <gtest/gtest.h>

namespace orvane::test {

template <class Widget>
Widget* Find(QWidget& window, const char* name)
{
    auto* widget = window.findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// As a click on the button's text: the middle of a wide radio button is not part of it.
inline void Press(QWidget& window, const char* name)
{
    if (auto* button = Find<QAbstractButton>(window, name))
        button->click();
}

// The control of the page shown: the sheet's other pages have controls of the same numbers.
template <class Widget>
Widget* Shown(QWidget& sheet, const char* name)
{
    for (Widget* widget : sheet.findChildren<Widget*>(name)) {
        if (widget->isVisible())
            return widget;
    }
    return nullptr;
}

} // namespace orvane::test
