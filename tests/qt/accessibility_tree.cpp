#include "accessibility_tree.h"

#include "platform/qt/qt_window.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QTabBar>
#include <QTreeWidget>

#include <functional>
#include <map>
#include <vector>

namespace orvane::platform::qt::test {
namespace {

QString Describe(QAccessibleInterface& iface)
{
    QObject* object = iface.object();
    QString what = object ? QString::fromLatin1(object->metaObject()->className()) : QStringLiteral("(no object)");
    if (object && !object->objectName().isEmpty())
        what += " " + object->objectName();
    return what;
}

// Every object the user can perceive, from the window down; the cells of
// item views are left to the rows' own rule.
void Walk(QAccessibleInterface* iface, const std::function<void(QAccessibleInterface&)>& visit, int depth = 0)
{
    if (!iface || !iface->isValid() || iface->state().invisible || depth > 64)
        return;
    visit(*iface);
    if (iface->tableInterface())
        return;
    for (int i = 0; i < iface->childCount(); ++i)
        Walk(iface->child(i), visit, depth + 1);
}

QChar Mnemonic(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return text[i + 1].toLower();
    }
    return {};
}

// The texts whose marked letter, pressed with Alt, leads to a control of
// the window as it is shown.
QStringList KeyTexts(QObject* object)
{
    if (auto* button = qobject_cast<QAbstractButton*>(object))
        return {button->text()};
    if (auto* label = qobject_cast<QLabel*>(object); label && label->buddy() && label->buddy()->isVisible())
        return {label->text()};
    if (auto* group = qobject_cast<QGroupBox*>(object); group && group->isCheckable())
        return {group->title()};
    if (auto* tabs = qobject_cast<QTabBar*>(object)) {
        QStringList texts;
        for (int i = 0; i < tabs->count(); ++i)
            texts << tabs->tabText(i);
        return texts;
    }
    return {};
}

struct Row {
    QTreeWidgetItem* item = nullptr;
    int visualRow = 0;
};

// The rows of a tree as its accessibility table counts them: the items
// shown, from the top, children of expanded items after them.
std::vector<Row> ShownRows(QTreeWidget& tree)
{
    std::vector<Row> rows;
    int visual = 0;
    for (QModelIndex index = tree.model()->index(0, 0); index.isValid(); index = tree.indexBelow(index))
        rows.push_back({tree.itemFromIndex(index), visual++});
    return rows;
}

// The names of a row's cells, as a screen reader reads them.
QString RowAsRead(QAccessibleInterface& view, const Row& row, int columns)
{
    QStringList parts;
    QAccessibleTableInterface* table = view.tableInterface();
    for (int column = 0; table && column < columns; ++column) {
        if (QAccessibleInterface* cell = table->cellAt(row.visualRow, column)) {
            parts << cell->text(QAccessible::Name);
            const QString description = cell->text(QAccessible::Description);
            if (!description.isEmpty())
                parts << description;
        }
    }
    return parts.join(" | ");
}

bool ShowsStateIcon(const QTreeWidgetItem& item)
{
    return item.data(0, kStateIconRole).toInt() >= 0 && !item.icon(0).isNull();
}

void ForEachStateRow(QWidget& window, const std::function<void(QAccessibleInterface&, QTreeWidget&, const Row&)>& visit)
{
    Walk(QAccessible::queryAccessibleInterface(&window), [&](QAccessibleInterface& iface) {
        auto* tree = qobject_cast<QTreeWidget*>(iface.object());
        if (!tree)
            return;
        for (const Row& row : ShownRows(*tree)) {
            if (row.item && ShowsStateIcon(*row.item))
                visit(iface, *tree, row);
        }
    });
}

} // namespace

QStringList AccessibilityFaults(QWidget& window)
{
    QStringList faults;
    std::map<QChar, QString> keys;
    Walk(QAccessible::queryAccessibleInterface(&window), [&](QAccessibleInterface& iface) {
        const QString name = iface.text(QAccessible::Name).trimmed();
        auto* widget = qobject_cast<QWidget*>(iface.object());
        if (widget && (widget->focusPolicy() & Qt::TabFocus) && iface.state().focusable && name.isEmpty())
            faults << Describe(iface) + " takes the focus but has no name";
        if (iface.role() == QAccessible::Graphic && name.isEmpty())
            faults << Describe(iface) + " is a picture without a name";
        for (const QString& text : KeyTexts(iface.object())) {
            const QChar key = Mnemonic(text);
            if (key.isNull())
                continue;
            auto [it, fresh] = keys.emplace(key, text);
            if (!fresh)
                faults << "\"" + text + "\" and \"" + it->second + "\" share the key " + key;
        }
    });
    ForEachStateRow(window, [&](QAccessibleInterface& view, QTreeWidget& tree, const Row& row) {
        const QString words = row.item->data(0, kStateTextRole).toString();
        const QString read = RowAsRead(view, row, tree.columnCount());
        if (words.isEmpty())
            faults << tree.objectName() + ": the icon of \"" + row.item->text(0) + "\" tells its state in no words";
        else if (!read.contains(words, Qt::CaseInsensitive))
            faults << tree.objectName() + ": \"" + read + "\" does not say \"" + words + "\"";
    });
    return faults;
}

QStringList RowsWithStatesAsRead(QWidget& window)
{
    QStringList rows;
    ForEachStateRow(window, [&](QAccessibleInterface& view, QTreeWidget& tree, const Row& row) {
        rows << RowAsRead(view, row, tree.columnCount());
    });
    return rows;
}

QString LostFocus()
{
    QWidget* focus = QApplication::focusWidget();
    QWidget* active = QApplication::activeWindow();
    if (!active)
        return {};
    if (!focus)
        return "no control of " + active->objectName() + " has the focus";
    if (!focus->isVisible() || focus->window() != active)
        return focus->objectName() + " (" + focus->metaObject()->className() + ") has the focus unseen";
    return {};
}

} // namespace orvane::platform::qt::test
