// Text fields, spin fields, progress bars, labels and pictures; and the names
// that labels give the controls they stand before.

#include "qt_window.h"
#include "qt_window_p.h"

#include "qt_resources.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBrowser>

namespace orvane::platform::qt {
namespace {

// Set on a control whose accessible name its label gave, so that a new text
// of the label renames it.
constexpr char kNamedByLabel[] = "orvaneNamedByLabel";

// A label's words as a name: without the mnemonic's marker and the colon.
QString NameOfLabelText(QString text)
{
    QString name;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        name += text[i];
    }
    name = name.trimmed();
    if (name.endsWith(':'))
        name.chop(1);
    return name.trimmed();
}

// Qt names a line edit or a button after the label whose buddy it is, but
// not a list, a tree or a drop-down list: a screen reader would read those
// by their current entry or not at all. They take their label's words, unless
// the template gives them a name of their own.
void NameByLabel(QLabel& label)
{
    QWidget* buddy = label.buddy();
    if (!buddy || !(qobject_cast<QAbstractItemView*>(buddy) || qobject_cast<QComboBox*>(buddy)))
        return;
    if (!buddy->accessibleName().isEmpty() && !buddy->property(kNamedByLabel).toBool())
        return;
    const QString name = NameOfLabelText(label.text());
    if (name.isEmpty())
        return;
    buddy->setAccessibleName(name);
    buddy->setProperty(kNamedByLabel, true);
    // The line of an editable drop-down list takes the focus on its own.
    if (auto* combo = qobject_cast<QComboBox*>(buddy); combo && combo->lineEdit())
        combo->lineEdit()->setAccessibleName(name);
}

} // namespace

// What a screen reader needs of a form beyond what Qt gives it: names for
// the controls whose labels Qt does not take as names, a value read with
// its caption, and a name for a sheet's tabs.
void NameForScreenReaders(QWidget& form)
{
    for (QFormLayout* layout : form.findChildren<QFormLayout*>()) {
        for (int row = 0; row < layout->rowCount(); ++row) {
            QLayoutItem* caption = layout->itemAt(row, QFormLayout::LabelRole);
            QLayoutItem* field = layout->itemAt(row, QFormLayout::FieldRole);
            auto* label = caption ? qobject_cast<QLabel*>(caption->widget()) : nullptr;
            if (label && !label->buddy() && field && field->widget())
                label->setBuddy(field->widget());
        }
    }
    for (QLabel* label : form.findChildren<QLabel*>())
        NameByLabel(*label);
    for (QComboBox* combo : form.findChildren<QComboBox*>()) {
        if (combo->lineEdit() && combo->lineEdit()->accessibleName().isEmpty())
            combo->lineEdit()->setAccessibleName(combo->accessibleName());
    }
    for (QTabWidget* tabs : form.findChildren<QTabWidget*>()) {
        if (tabs->accessibleName().isEmpty())
            tabs->setAccessibleName(form.windowTitle());
        if (tabs->tabBar()->accessibleName().isEmpty())
            tabs->tabBar()->setAccessibleName(tabs->accessibleName());
    }
}

void CQtWindow::BindTextField(int id, Control& control)
{
    QWidget* widget = control.widget;
    switch (control.kind) {
    case ControlKind::Edit:
        QObject::connect(static_cast<QLineEdit*>(widget), &QLineEdit::textEdited, widget,
                         [this, id] { Notify({id, NotifyCode::TextChanged}); });
        break;
    case ControlKind::Spin:
        QObject::connect(static_cast<QSpinBox*>(widget), &QSpinBox::valueChanged, widget,
                         [this, id] { Notify({id, NotifyCode::TextChanged}); });
        break;
    case ControlKind::TextBox:
        if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
            QObject::connect(plain, &QPlainTextEdit::textChanged, widget, [this, id] { Notify({id, NotifyCode::TextChanged}); });
        else if (auto* rich = qobject_cast<QTextEdit*>(widget))
            QObject::connect(rich, &QTextEdit::textChanged, widget, [this, id] { Notify({id, NotifyCode::TextChanged}); });
        break;
    default:
        break;
    }
}

void CQtWindow::SetText(int id, std::string_view text)
{
    Control* control = Find(id);
    if (!control)
        return;
    CQuiet quiet(*this);
    QWidget* widget = control->widget;
    const QString value = ToQt(text);
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(value);
    else if (auto* spin = qobject_cast<QSpinBox*>(widget))
        spin->setValue(value.toInt());
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(value);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
        plain->setPlainText(value);
    else if (auto* browser = qobject_cast<QTextBrowser*>(widget))
        browser->setHtml(value);
    else if (auto* rich = qobject_cast<QTextEdit*>(widget))
        rich->setPlainText(value);
    else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->isEditable())
            combo->setEditText(value);
        else
            combo->setCurrentIndex(combo->findText(value));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(value);
        NameByLabel(*label);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(value);
    else
        widget->setWindowTitle(value);
}

std::string CQtWindow::Text(int id) const
{
    const Control* control = Find(id);
    if (!control)
        return {};
    QWidget* widget = control->widget;
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return FromQt(button->text());
    if (auto* spin = qobject_cast<QSpinBox*>(widget))
        return FromQt(spin->cleanText());
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return FromQt(edit->text());
    if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
        return FromQt(plain->toPlainText());
    if (auto* rich = qobject_cast<QTextEdit*>(widget))
        return FromQt(rich->toPlainText());
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return FromQt(combo->currentText());
    if (auto* label = qobject_cast<QLabel*>(widget))
        return FromQt(label->text());
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return FromQt(group->title());
    if (auto* list = qobject_cast<QListWidget*>(widget))
        return list->currentItem() ? FromQt(list->currentItem()->text()) : std::string();
    return FromQt(widget->windowTitle());
}

// An address typed by hand, or picked from the known ones: one label names
// whichever of the two is shown, so its key always leads somewhere.
void CQtWindow::FollowSharedLabels(const QWidget& changed)
{
    if (!m_widget)
        return;
    if (!m_sharedLabels) {
        m_sharedLabels.emplace();
        for (QLabel* label : m_widget->findChildren<QLabel*>()) {
            if (label->property("buddies").isValid())
                m_sharedLabels->emplace_back(label);
        }
    }
    for (const QPointer<QLabel>& label : *m_sharedLabels) {
        if (!label)
            continue;
        const QStringList names = label->property("buddies").toString().split(' ', Qt::SkipEmptyParts);
        if (!names.contains(changed.objectName()))
            continue;
        for (const QString& name : names) {
            QWidget* candidate = m_widget->findChild<QWidget*>(name);
            if (candidate && !candidate->isHidden()) {
                label->setBuddy(candidate);
                NameByLabel(*label);
                break;
            }
        }
    }
}

void CQtWindow::SetPicture(int id, int iconId)
{
    auto* label = As<QLabel>(id);
    if (!label)
        return;
    QIcon icon = IconResource(iconId);
    const int side = label->style()->pixelMetric(QStyle::PM_LargeIconSize);
    label->setPixmap(icon.isNull() ? QPixmap() : icon.pixmap(side, side));
}

void CQtWindow::SetPictureText(int id, std::string_view text)
{
    if (Control* control = Find(id))
        control->widget->setAccessibleName(ToQt(text));
}

// --- Progress bars and spin fields.

void CQtWindow::SetRange(int id, int low, int high)
{
    CQuiet quiet(*this);
    if (auto* bar = As<QProgressBar>(id))
        bar->setRange(low, high);
    else if (auto* spin = As<QSpinBox>(id))
        spin->setRange(low, high);
}

void CQtWindow::SetPosition(int id, int position)
{
    CQuiet quiet(*this);
    if (auto* bar = As<QProgressBar>(id))
        bar->setValue(position);
    else if (auto* spin = As<QSpinBox>(id))
        spin->setValue(position);
}

int CQtWindow::Position(int id) const
{
    if (auto* spin = As<QSpinBox>(id))
        return spin->value();
    auto* bar = As<QProgressBar>(id);
    return bar ? bar->value() : 0;
}

std::pair<int, int> CQtWindow::Range(int id) const
{
    if (auto* spin = As<QSpinBox>(id))
        return {spin->minimum(), spin->maximum()};
    auto* bar = As<QProgressBar>(id);
    return bar ? std::pair(bar->minimum(), bar->maximum()) : std::pair(0, 0);
}

} // namespace orvane::platform::qt
