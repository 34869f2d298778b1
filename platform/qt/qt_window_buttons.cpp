// Buttons, check boxes, radio buttons and checkable group boxes.

#include "qt_window.h"
#include "qt_window_p.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QGroupBox>

namespace orvane::platform::qt {
namespace {

// A row's text still being edited in a list when a button is pressed (by
// its key, which leaves the focus in the editor) is taken first, so the
// button acts on what the user sees.
void TakeOpenEdit()
{
    QWidget* focus = QApplication::focusWidget();
    for (QWidget* outer = focus ? focus->parentWidget() : nullptr; outer; outer = outer->parentWidget()) {
        if (auto* view = qobject_cast<QAbstractItemView*>(outer)) {
            emit view->itemDelegate()->commitData(focus);
            emit view->itemDelegate()->closeEditor(focus, QAbstractItemDelegate::NoHint);
            return;
        }
    }
}

} // namespace

void CQtWindow::BindButton(int id, Control& control)
{
    QWidget* widget = control.widget;
    switch (control.kind) {
    case ControlKind::Button:
        QObject::connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, widget, [this, id] {
            TakeOpenEdit();
            if (id == kIdCancel)
                UserCancel();
            else if (id == kIdHelp)
                UserHelp();
            else if (id == kIdOk)
                UserOk();
            else
                Notify({id, NotifyCode::Clicked});
        });
        break;
    case ControlKind::CheckBox:
    case ControlKind::Radio:
        QObject::connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, widget,
                         [this, id] { Notify({id, NotifyCode::Clicked}); });
        break;
    default:
        break;
    }
}

void CQtWindow::SetChecked(int id, bool checked)
{
    CQuiet quiet(*this);
    if (auto* button = As<QAbstractButton>(id))
        button->setChecked(checked);
    else if (auto* group = As<QGroupBox>(id))
        group->setChecked(checked);
}

bool CQtWindow::IsChecked(int id) const
{
    if (auto* button = As<QAbstractButton>(id))
        return button->isChecked();
    if (auto* group = As<QGroupBox>(id))
        return group->isChecked();
    return false;
}

} // namespace orvane::platform::qt
