// Trees: items found by the handles the logic holds, only while they are
// items of that tree.

#include "qt_window.h"
#include "qt_window_p.h"

#include <QTreeWidget>

#include <algorithm>

namespace orvane::platform::qt {

void CQtWindow::BindTree(int id, Control& control)
{
    QWidget* widget = control.widget;
    auto* tree = static_cast<QTreeWidget*>(widget);
    QObject::connect(tree, &QTreeWidget::currentItemChanged, widget,
                     [this, id] { Notify({id, NotifyCode::SelectionChanged}); });
    QObject::connect(tree, &QTreeWidget::itemDoubleClicked, widget,
                     [this, id] { Notify({id, NotifyCode::DoubleClicked}); });
}

QTreeWidgetItem* CQtWindow::TreeItemOf(int id, TreeItem item) const
{
    const Control* control = Find(id);
    auto* pointer = reinterpret_cast<QTreeWidgetItem*>(item);
    return control && control->treeItems.count(pointer) ? pointer : nullptr;
}

void CQtWindow::ClearTree(int id)
{
    CQuiet quiet(*this);
    if (auto* tree = As<QTreeWidget>(id)) {
        tree->clear();
        Find(id)->treeItems.clear();
    }
}

TreeItem CQtWindow::AddTreeItem(int id, TreeItem parent, std::string_view text, int image, ItemData data)
{
    auto* tree = As<QTreeWidget>(id);
    if (!tree)
        return 0;
    CQuiet quiet(*this);
    QTreeWidgetItem* parentItem = TreeItemOf(id, parent);
    auto* item = parentItem ? new CStateItem(parentItem) : new CStateItem(tree);
    item->setText(0, ToQt(text));
    item->setData(0, kDataRole, QVariant::fromValue<qlonglong>(data));
    Find(id)->treeItems.insert(item);
    SetTreeItemImage(id, reinterpret_cast<TreeItem>(item), image);
    return reinterpret_cast<TreeItem>(item);
}

std::vector<TreeItem> CQtWindow::TreeChildren(int id, TreeItem parent) const
{
    std::vector<TreeItem> children;
    auto* tree = As<QTreeWidget>(id);
    if (!tree)
        return children;
    QTreeWidgetItem* parentItem = parent ? TreeItemOf(id, parent) : tree->invisibleRootItem();
    if (!parentItem)
        return children;
    for (int i = 0; i < parentItem->childCount(); ++i)
        children.push_back(reinterpret_cast<TreeItem>(parentItem->child(i)));
    return children;
}

std::string CQtWindow::TreeItemText(int id, TreeItem item) const
{
    QTreeWidgetItem* node = TreeItemOf(id, item);
    return node ? FromQt(node->text(0)) : std::string();
}

ItemData CQtWindow::TreeItemData(int id, TreeItem item) const
{
    QTreeWidgetItem* node = TreeItemOf(id, item);
    return node ? static_cast<ItemData>(node->data(0, kDataRole).toLongLong()) : 0;
}

void CQtWindow::SetTreeItemImage(int id, TreeItem item, int image)
{
    QTreeWidgetItem* node = TreeItemOf(id, item);
    const Control* control = Find(id);
    if (!node || !control)
        return;
    node->setData(0, kIconRole, image);
    node->setIcon(0, image >= 0 && image < control->images.size() ? QIcon(control->images[image]) : QIcon());
    UpdateStateText(*control, node);
}

int CQtWindow::TreeItemImage(int id, TreeItem item) const
{
    QTreeWidgetItem* node = TreeItemOf(id, item);
    return node ? node->data(0, kIconRole).toInt() : -1;
}

void CQtWindow::ExpandTreeItem(int id, TreeItem item, bool expand)
{
    if (QTreeWidgetItem* node = TreeItemOf(id, item)) {
        CQuiet quiet(*this);
        node->setExpanded(expand);
    }
}

bool CQtWindow::IsTreeItemExpanded(int id, TreeItem item) const
{
    QTreeWidgetItem* node = TreeItemOf(id, item);
    return node && node->isExpanded();
}

void CQtWindow::SortTreeChildren(int id, TreeItem parent)
{
    auto* tree = As<QTreeWidget>(id);
    if (!tree)
        return;
    QTreeWidgetItem* parentItem = parent ? TreeItemOf(id, parent) : tree->invisibleRootItem();
    if (!parentItem)
        return;
    CQuiet quiet(*this);
    QTreeWidgetItem* current = tree->currentItem();
    QList<QTreeWidgetItem*> children = parentItem->takeChildren();
    std::stable_sort(children.begin(), children.end(), [](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        return QString::compare(a->text(0), b->text(0), Qt::CaseInsensitive) < 0;
    });
    parentItem->addChildren(children);
    if (current)
        tree->setCurrentItem(current);
}

void CQtWindow::SelectTreeItem(int id, TreeItem item)
{
    auto* tree = As<QTreeWidget>(id);
    if (!tree)
        return;
    CQuiet quiet(*this);
    QTreeWidgetItem* node = TreeItemOf(id, item);
    tree->setCurrentItem(node);
    if (node)
        tree->scrollToItem(node);
}

TreeItem CQtWindow::SelectedTreeItem(int id) const
{
    auto* tree = As<QTreeWidget>(id);
    return tree ? reinterpret_cast<TreeItem>(tree->currentItem()) : 0;
}

} // namespace orvane::platform::qt
