// Drop-down lists: picks told apart from steps, editable boxes, indented entries.

#include "qt_window.h"
#include "qt_window_p.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>

#include <utility>

namespace orvane::platform::qt {
namespace {

// Entries of a combo's drop-down list indented by their level; the entry in
// the closed box is not.
class CIndentDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem indented(option);
        indented.rect.adjust(index.data(kIndentRole).toInt() * 12, 0, 0, 0);
        QStyledItemDelegate::paint(painter, indented, index);
    }
};

} // namespace

void CQtWindow::BindCombo(int id, Control& control)
{
    QWidget* widget = control.widget;
    auto* combo = static_cast<QComboBox*>(widget);
    QObject::connect(combo, &QComboBox::activated, widget, [this, id](int row) {
        Notify({id, NotifyCode::SelectionChanged, row});
        if (m_steppingCombo != id)
            Notify({id, NotifyCode::Chosen, row});
    });
    if (combo->lineEdit())
        QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, widget,
                         [this, id] { Notify({id, NotifyCode::TextChanged}); });
}

// Keys (arrows, letters) and the wheel on a closed combo step through its
// entries, and Qt reports each step as if the entry had been picked. The
// step is delivered here, marked, so that only picks count as chosen.
bool CQtWindow::StepCombo(int id, QObject& combo, QEvent* event)
{
    const int outer = std::exchange(m_steppingCombo, id);
    combo.event(event);
    m_steppingCombo = outer;
    return true;
}

void CQtWindow::SetItemIndent(int id, int row, int level)
{
    auto* combo = As<QComboBox>(id);
    if (!combo || row < 0 || row >= combo->count())
        return;
    if (!dynamic_cast<CIndentDelegate*>(combo->itemDelegate()))
        combo->setItemDelegate(new CIndentDelegate(combo));
    combo->setItemData(row, level, kIndentRole);
}

void CQtWindow::SetComboEditable(int id, bool editable, std::string_view text)
{
    auto* combo = As<QComboBox>(id);
    if (!combo || combo->isEditable() == editable)
        return;
    CQuiet quiet(*this);
    const int current = combo->currentIndex();
    combo->setEditable(editable);
    if (!editable) {
        combo->setCurrentIndex(current);
        return;
    }
    // A typed path is taken as it is: no entry is added for it, and no
    // entry's text completes it while the user types.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    QLineEdit* edit = combo->lineEdit();
    QObject::connect(edit, &QLineEdit::textEdited, edit, [this, id] { Notify({id, NotifyCode::TextChanged}); });
    edit->setText(ToQt(text));
    edit->selectAll();
}

bool CQtWindow::IsComboEditable(int id) const
{
    const auto* combo = As<QComboBox>(id);
    return combo && combo->isEditable();
}

} // namespace orvane::platform::qt
