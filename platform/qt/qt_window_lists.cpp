// The rows of list boxes, report lists and drop-down lists, and the state
// icons, images and editable column of a report list's rows.

#include "qt_window.h"
#include "qt_window_p.h"

#include "qt_resources.h"

#include <QAction>
#include <QComboBox>
#include <QFileIconProvider>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>

namespace orvane::platform::qt {
namespace {

// An image of the desktop's icon theme by its freedesktop.org name; where
// the theme lacks it, the style's picture of that kind of thing.
QIcon ThemeImage(const QString& name)
{
    if (name.isEmpty())
        return {};
    QIcon icon = QIcon::fromTheme(name);
    if (!icon.isNull())
        return icon;
    static QFileIconProvider provider;
    if (name == "user-desktop")
        return provider.icon(QFileIconProvider::Desktop);
    if (name.startsWith("folder-remote"))
        return provider.icon(QFileIconProvider::Network);
    if (name.startsWith("folder"))
        return provider.icon(QFileIconProvider::Folder);
    if (name.startsWith("drive-optical"))
        return provider.icon(QFileIconProvider::Drive);
    if (name.startsWith("drive"))
        return provider.icon(QFileIconProvider::Drive);
    return provider.icon(QFileIconProvider::File);
}


Qt::Alignment AlignmentOf(Align align)
{
    switch (align) {
    case Align::Centre: return Qt::AlignHCenter | Qt::AlignVCenter;
    case Align::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case Align::Left: break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

} // namespace

void CQtWindow::BindList(int id, Control& control)
{
    QWidget* widget = control.widget;
    switch (control.kind) {
    case ControlKind::ListBox: {
        auto* list = static_cast<QListWidget*>(widget);
        QObject::connect(list, &QListWidget::currentRowChanged, widget,
                         [this, id](int row) { Notify({id, NotifyCode::SelectionChanged, row}); });
        QObject::connect(list, &QListWidget::itemDoubleClicked, widget, [this, id, list](QListWidgetItem* item) {
            Notify({id, NotifyCode::DoubleClicked, list->row(item)});
        });
        break;
    }
    case ControlKind::ReportList: {
        auto* tree = static_cast<QTreeWidget*>(widget);
        tree->setRootIsDecorated(false);
        tree->setAllColumnsShowFocus(true);
        tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
        tree->header()->setSectionsClickable(true);
        QObject::connect(tree->selectionModel(), &QItemSelectionModel::selectionChanged, widget,
                         [this, id](const QItemSelection& selected, const QItemSelection& deselected) {
                             std::set<int> rows;
                             for (const QItemSelection* change : {&selected, &deselected}) {
                                 for (const QModelIndex& index : change->indexes())
                                     rows.insert(index.row());
                             }
                             for (int row : rows)
                                 Notify({id, NotifyCode::ItemChanged, row});
                         });
        QObject::connect(tree->header(), &QHeaderView::sectionClicked, widget, [this, id](int column) {
            Notification notification{id, NotifyCode::ColumnClicked};
            notification.column = column;
            Notify(notification);
        });
        QObject::connect(tree, &QTreeWidget::itemDoubleClicked, widget, [this, id, tree](QTreeWidgetItem* item) {
            if (const Control* bound = Find(id); bound && bound->editableColumn >= 0 && !m_ended)
                tree->editItem(item, bound->editableColumn);
            Notify({id, NotifyCode::DoubleClicked, tree->indexOfTopLevelItem(item)});
        });
        // Only the user's edits: the logic's own changes are made quietly.
        QObject::connect(tree, &QTreeWidget::itemChanged, widget, [this, id, tree](QTreeWidgetItem* item, int column) {
            // The logic's own changes are not heard: finding the row of each
            // would make filling a long list cost the square of its length.
            const Control* bound = Find(id);
            if (!bound || column != bound->editableColumn || m_quiet != 0)
                return;
            Notification notification{id, NotifyCode::ItemEdited, tree->indexOfTopLevelItem(item)};
            notification.column = column;
            Notify(notification);
        });
        break;
    }
    default:
        break;
    }
}

// F2 and Enter open the current row's editable text; Enter in the open
// editor ends the edit (the editor's delegate takes the text) and goes no
// further, so it does not also press the window's default button.
bool CQtWindow::EditInPlace(int id, const QKeyEvent& event)
{
    auto* tree = As<QTreeWidget>(id);
    const Control* control = Find(id);
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    if (!tree || !control || (!enter && event.key() != Qt::Key_F2) || (event.modifiers() & ~Qt::KeypadModifier))
        return false;
    QWidget* focus = tree->window()->focusWidget();
    if (focus && focus != tree && tree->isAncestorOf(focus))
        return enter;
    if (QTreeWidgetItem* item = tree->currentItem()) {
        tree->editItem(item, control->editableColumn);
        return true;
    }
    return false;
}

// --- Rows.

QTreeWidgetItem* CQtWindow::RowOf(int id, int row) const
{
    auto* tree = As<QTreeWidget>(id);
    return tree && row >= 0 && row < tree->topLevelItemCount() ? tree->topLevelItem(row) : nullptr;
}

void CQtWindow::SetColumns(int id, const std::vector<Column>& columns)
{
    auto* tree = As<QTreeWidget>(id);
    if (!tree)
        return;
    // Widths are given for the classic 8-point dialog font, about 6 pixels a character.
    const double scale = std::max(1.0, tree->fontMetrics().averageCharWidth() / 6.0);
    tree->setColumnCount(static_cast<int>(columns.size()));
    QStringList titles;
    for (const Column& column : columns)
        titles << ToQt(column.title);
    tree->setHeaderLabels(titles);
    bool filled = false;
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        const Column& column = columns[static_cast<std::size_t>(i)];
        int width = static_cast<int>(column.width * scale);
        // The cell's margins: about a character's width on either side.
        const int margins = 2 * tree->fontMetrics().averageCharWidth();
        for (const std::string& text : column.contents)
            width = std::max(width, tree->fontMetrics().horizontalAdvance(ToQt(text)) + margins);
        tree->setColumnWidth(i, width);
        tree->headerItem()->setTextAlignment(i, AlignmentOf(column.align));
        tree->header()->setSectionResizeMode(i, column.fills ? QHeaderView::Stretch : QHeaderView::Interactive);
        filled = filled || column.fills;
    }
    if (filled)
        tree->header()->setStretchLastSection(false);
    tree->setHeaderHidden(false);
}

void CQtWindow::ClearItems(int id)
{
    CQuiet quiet(*this);
    if (auto* tree = As<QTreeWidget>(id))
        tree->clear();
    else if (auto* list = As<QListWidget>(id))
        list->clear();
    else if (auto* combo = As<QComboBox>(id))
        combo->clear();
}

int CQtWindow::AddItem(int id, std::string_view text, ItemData data)
{
    CQuiet quiet(*this);
    if (auto* tree = As<QTreeWidget>(id)) {
        auto* item = new CStateItem(tree);
        item->setText(0, ToQt(text));
        item->setData(0, kDataRole, QVariant::fromValue<qlonglong>(data));
        item->setData(0, kIconRole, -1);
        if (Find(id)->editableColumn >= 0)
            item->setFlags(item->flags() | Qt::ItemIsEditable);
        for (int column = 0; column < tree->columnCount(); ++column)
            item->setTextAlignment(column, Qt::Alignment(tree->headerItem()->textAlignment(column)));
        // An item is appended unless the tree sorts: a search of every row
        // would make filling a long list cost the square of its length.
        return tree->isSortingEnabled() ? tree->indexOfTopLevelItem(item) : tree->topLevelItemCount() - 1;
    }
    if (auto* list = As<QListWidget>(id)) {
        auto* item = new QListWidgetItem(ToQt(text), list);
        item->setData(kDataRole, QVariant::fromValue<qlonglong>(data));
        return list->row(item);
    }
    if (auto* combo = As<QComboBox>(id)) {
        combo->addItem(ToQt(text), QVariant::fromValue<qlonglong>(data));
        return combo->count() - 1;
    }
    return -1;
}

void CQtWindow::RemoveItem(int id, int row)
{
    CQuiet quiet(*this);
    if (QTreeWidgetItem* item = RowOf(id, row))
        delete item;
    else if (auto* list = As<QListWidget>(id); list && row >= 0 && row < list->count())
        delete list->takeItem(row);
    else if (auto* combo = As<QComboBox>(id); combo && row >= 0 && row < combo->count())
        combo->removeItem(row);
}

int CQtWindow::ItemCount(int id) const
{
    if (auto* tree = As<QTreeWidget>(id))
        return tree->topLevelItemCount();
    if (auto* list = As<QListWidget>(id))
        return list->count();
    if (auto* combo = As<QComboBox>(id))
        return combo->count();
    return 0;
}

void CQtWindow::SetItemText(int id, int row, int column, std::string_view text)
{
    CQuiet quiet(*this);
    if (QTreeWidgetItem* item = RowOf(id, row); item && column >= 0) {
        item->setText(column, ToQt(text));
        item->setTextAlignment(column, Qt::Alignment(item->treeWidget()->headerItem()->textAlignment(column)));
    } else if (auto* list = As<QListWidget>(id); list && column == 0 && row >= 0 && row < list->count())
        list->item(row)->setText(ToQt(text));
    else if (auto* combo = As<QComboBox>(id); combo && column == 0 && row >= 0 && row < combo->count())
        combo->setItemText(row, ToQt(text));
}

std::string CQtWindow::ItemText(int id, int row, int column) const
{
    if (QTreeWidgetItem* item = RowOf(id, row))
        return FromQt(item->text(column));
    if (auto* list = As<QListWidget>(id); list && column == 0 && row >= 0 && row < list->count())
        return FromQt(list->item(row)->text());
    if (auto* combo = As<QComboBox>(id); combo && column == 0 && row >= 0 && row < combo->count())
        return FromQt(combo->itemText(row));
    return {};
}

ItemData CQtWindow::GetItemData(int id, int row) const
{
    if (QTreeWidgetItem* item = RowOf(id, row))
        return static_cast<ItemData>(item->data(0, kDataRole).toLongLong());
    if (auto* list = As<QListWidget>(id); list && row >= 0 && row < list->count())
        return static_cast<ItemData>(list->item(row)->data(kDataRole).toLongLong());
    if (auto* combo = As<QComboBox>(id); combo && row >= 0 && row < combo->count())
        return static_cast<ItemData>(combo->itemData(row).toLongLong());
    return 0;
}

void CQtWindow::SetItemIcon(int id, int row, int icon)
{
    QTreeWidgetItem* item = RowOf(id, row);
    const Control* control = Find(id);
    if (!item || !control)
        return;
    CQuiet quiet(*this);
    item->setData(0, kIconRole, icon);
    UpdateRowDecoration(id, item);
}

// A report row shows its state icon and its kind's image side by side.
void CQtWindow::UpdateRowDecoration(int id, QTreeWidgetItem* item)
{
    const Control* control = Find(id);
    if (!control)
        return;
    UpdateStateText(*control, item);
    const int icon = item->data(0, kIconRole).toInt();
    const QIcon image = ThemeImage(item->data(0, kImageRole).toString());
    const bool hasState = icon >= 0 && icon < control->images.size();
    if (!hasState || image.isNull()) {
        item->setIcon(0, hasState ? QIcon(control->images[icon]) : image);
        return;
    }
    const int side = control->widget->style()->pixelMetric(QStyle::PM_SmallIconSize);
    const qreal ratio = control->widget->devicePixelRatioF();
    QPixmap both(QSize(side * 2 + 2, side) * ratio);
    both.setDevicePixelRatio(ratio);
    both.fill(Qt::transparent);
    {
        QPainter painter(&both);
        painter.drawPixmap(QRect(0, 0, side, side), control->images[icon]);
        painter.drawPixmap(QRect(side + 2, 0, side, side), image.pixmap(QSize(side, side), ratio));
    }
    item->setIcon(0, QIcon(both));
    if (auto* tree = qobject_cast<QTreeWidget*>(control->widget.data()); tree && tree->iconSize().width() < side * 2 + 2)
        tree->setIconSize(QSize(side * 2 + 2, side));
}

void CQtWindow::SetItemImage(int id, int row, std::string_view image)
{
    CQuiet quiet(*this);
    if (QTreeWidgetItem* item = RowOf(id, row)) {
        item->setData(0, kImageRole, ToQt(image));
        UpdateRowDecoration(id, item);
    } else if (auto* combo = As<QComboBox>(id); combo && row >= 0 && row < combo->count()) {
        combo->setItemIcon(row, ThemeImage(ToQt(image)));
    }
}

int CQtWindow::ColumnWidth(int id, int column) const
{
    auto* tree = As<QTreeWidget>(id);
    if (!tree || column < 0 || column >= tree->columnCount())
        return -1;
    // In the standard resolution's pixels, as SetColumns takes them.
    const double scale = std::max(1.0, tree->fontMetrics().averageCharWidth() / 6.0);
    return static_cast<int>(tree->columnWidth(column) / scale + 0.5);
}

void CQtWindow::SetColumnMenu(int id, const std::vector<int>& columns, std::function<void(int column)> chosen)
{
    auto* tree = As<QTreeWidget>(id);
    Control* control = Find(id);
    if (!tree || !control || control->kind != ControlKind::ReportList)
        return;
    const bool first = control->columnMenu.empty();
    control->columnMenu = columns;
    control->columnChosen = std::move(chosen);
    if (!first || columns.empty())
        return;
    tree->header()->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(tree->header(), &QWidget::customContextMenuRequested, tree, [this, id, tree](const QPoint& at) {
        ShowColumnMenu(id, tree->header()->mapToGlobal(at));
    });
    // Shift+F10 and the Menu key reach the list, not its header, which takes no focus.
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(tree, &QWidget::customContextMenuRequested, tree, [this, id, tree](const QPoint& at) {
        ShowColumnMenu(id, tree->viewport()->mapToGlobal(at));
    });
}

void CQtWindow::ShowColumnMenu(int id, const QPoint& at)
{
    auto* tree = As<QTreeWidget>(id);
    const Control* control = Find(id);
    if (!tree || !control || m_ended)
        return;
    QMenu menu(tree);
    for (int column : control->columnMenu) {
        if (column < 0 || column >= tree->columnCount())
            continue;
        QAction* action = menu.addAction(tree->headerItem()->text(column));
        action->setCheckable(true);
        action->setChecked(!tree->isColumnHidden(column));
        action->setData(column);
    }
    if (menu.isEmpty())
        return;
    QAction* chosen = menu.exec(at);
    // The control may be gone once the menu closes: look it up again.
    const Control* still = Find(id);
    if (!chosen || m_ended || !still || !still->columnChosen)
        return;
    std::function<void(int)> toggled = still->columnChosen;
    toggled(chosen->data().toInt());
}

void CQtWindow::SetColumnHidden(int id, int column, bool hidden)
{
    if (auto* tree = As<QTreeWidget>(id); tree && column >= 0 && column < tree->columnCount())
        tree->setColumnHidden(column, hidden);
}

bool CQtWindow::IsColumnHidden(int id, int column) const
{
    const auto* tree = As<QTreeWidget>(id);
    return tree && column >= 0 && column < tree->columnCount() && tree->isColumnHidden(column);
}

void CQtWindow::SetColumnEditable(int id, int column)
{
    auto* tree = As<QTreeWidget>(id);
    Control* control = Find(id);
    if (!tree || !control || control->kind != ControlKind::ReportList)
        return;
    CQuiet quiet(*this);
    control->editableColumn = column;
    // Opened by the keys and the double click the window handles, on that column only.
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int row = 0; row < tree->topLevelItemCount(); ++row)
        tree->topLevelItem(row)->setFlags(tree->topLevelItem(row)->flags() | Qt::ItemIsEditable);
}

int CQtWindow::ItemIcon(int id, int row) const
{
    QTreeWidgetItem* item = RowOf(id, row);
    return item ? item->data(0, kIconRole).toInt() : -1;
}

void CQtWindow::SetItemSelected(int id, int row, bool selected)
{
    CQuiet quiet(*this);
    if (QTreeWidgetItem* item = RowOf(id, row))
        item->setSelected(selected);
    else if (auto* list = As<QListWidget>(id); list && row >= 0 && row < list->count())
        list->item(row)->setSelected(selected);
}

bool CQtWindow::IsItemSelected(int id, int row) const
{
    if (QTreeWidgetItem* item = RowOf(id, row))
        return item->isSelected();
    if (auto* list = As<QListWidget>(id); list && row >= 0 && row < list->count())
        return list->item(row)->isSelected();
    return false;
}

void CQtWindow::SetCurrentItem(int id, int row)
{
    CQuiet quiet(*this);
    if (auto* tree = As<QTreeWidget>(id)) {
        tree->setCurrentItem(RowOf(id, row), 0, QItemSelectionModel::NoUpdate);
    } else if (auto* list = As<QListWidget>(id)) {
        list->setCurrentRow(row);
    } else if (auto* combo = As<QComboBox>(id)) {
        combo->setCurrentIndex(row);
    }
}

int CQtWindow::CurrentItem(int id) const
{
    if (auto* tree = As<QTreeWidget>(id))
        return tree->currentItem() ? tree->indexOfTopLevelItem(tree->currentItem()) : -1;
    if (auto* list = As<QListWidget>(id))
        return list->currentRow();
    if (auto* combo = As<QComboBox>(id))
        return combo->currentIndex();
    return -1;
}

void CQtWindow::ReorderItems(int id, const std::vector<int>& order)
{
    CQuiet quiet(*this);
    if (auto* tree = As<QTreeWidget>(id)) {
        const int count = tree->topLevelItemCount();
        if (static_cast<int>(order.size()) != count)
            return;
        QTreeWidgetItem* current = tree->currentItem();
        std::vector<QTreeWidgetItem*> items;
        std::vector<bool> selected;
        for (int i = 0; i < count; ++i) {
            items.push_back(tree->topLevelItem(i));
            selected.push_back(tree->topLevelItem(i)->isSelected());
        }
        for (int i = count - 1; i >= 0; --i)
            tree->takeTopLevelItem(i);
        for (int oldIndex : order) {
            if (oldIndex < 0 || oldIndex >= count)
                return;
            tree->addTopLevelItem(items[static_cast<std::size_t>(oldIndex)]);
        }
        for (int i = 0; i < count; ++i)
            items[static_cast<std::size_t>(i)]->setSelected(selected[static_cast<std::size_t>(i)]);
        if (current)
            tree->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
    } else if (auto* list = As<QListWidget>(id)) {
        const int count = list->count();
        if (static_cast<int>(order.size()) != count)
            return;
        std::vector<QListWidgetItem*> items;
        for (int i = 0; i < count; ++i)
            items.push_back(list->item(i));
        for (int i = count - 1; i >= 0; --i)
            list->takeItem(i);
        for (int oldIndex : order)
            list->addItem(items[static_cast<std::size_t>(oldIndex)]);
    }
}

void CQtWindow::SetImageStrip(int id, int bitmapId)
{
    if (Control* control = Find(id))
        control->images = ImageStrip(bitmapId);
}

void CQtWindow::SetImageTexts(int id, const std::vector<std::string>& texts)
{
    Control* control = Find(id);
    auto* tree = As<QTreeWidget>(id);
    if (!control)
        return;
    control->imageTexts.clear();
    for (const std::string& text : texts)
        control->imageTexts << ToQt(text);
    if (!tree)
        return;
    CQuiet quiet(*this);
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        UpdateStateText(*control, *it);
}

// The words of the item's state icon, while it shows one.
void CQtWindow::UpdateStateText(const Control& control, QTreeWidgetItem* item) const
{
    const int icon = item->data(0, kIconRole).toInt();
    const bool shown = icon >= 0 && icon < control.images.size();
    const QString text = shown && icon < control.imageTexts.size() ? control.imageTexts[icon] : QString();
    if (item->data(0, kStateTextRole).toString() != text)
        item->setData(0, kStateTextRole, text.isEmpty() ? QVariant() : QVariant(text));
}

} // namespace orvane::platform::qt
