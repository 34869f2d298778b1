#pragma once

// A window of the control layer made from a Qt Designer template: its
// controls found by their names ("c1043"), their signals passed to the logic
// as notifications. A window is a dialog (RunModal) or a page of a sheet.

#include "platform/column_menu.h"
#include "platform/table_grid_control.h"
#include "platform/template_info.h"
#include "platform/window.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

class QFileSystemWatcher;
class QKeyEvent;
class QLabel;
class QMenu;
class QTimer;
class QTreeWidgetItem;

namespace orvane::platform::qt {

class CQtBrowser;
class CTableGridView;

// The number of the state icon a row or tree item shows (-1 for none), and
// the words the logic gave that icon, kept in its first column.
constexpr int kStateIconRole = Qt::UserRole + 1;
constexpr int kStateTextRole = Qt::UserRole + 4;

// Whether Qt made a widget that can stand for a control of that kind.
bool WidgetServes(const QWidget* widget, ControlKind kind);

// Loads a template; its top widget is a dialog that hands keys and its close
// box to the window, or a plain widget for a page of a sheet (null when the
// template is malformed).
QWidget* LoadTemplateWidget(const QByteArray& uiText, QWidget* parent, std::string* error = nullptr,
                            bool asPage = false);

class CQtWindow final : public IWindow, public IGridControls, public IColumnMenus {
public:
    // Builds the window on a loaded template widget (taken over when it is a
    // dialog; a page's widget belongs to its page area).
    CQtWindow(int templateId, const TemplateInfo& info, QWidget* widget, IDialogLogic& logic, CQtWindow* owner);
    ~CQtWindow() override;
    CQtWindow(const CQtWindow&) = delete;
    CQtWindow& operator=(const CQtWindow&) = delete;

    QWidget* Widget() const { return m_widget; }
    IDialogLogic& Logic() { return m_logic; }
    int Result() const { return m_result; }
    // The window menu with the entries the logic added; null when it has none.
    QMenu* SystemMenu() const { return m_systemMenu; }

    // What the user does to the window as a whole.
    void UserOk();
    void UserCancel();
    void UserClose();
    void UserHelp();
    void UserSystemMenu();

    // --- IWindow
    int TemplateId() const override { return m_templateId; }
    IWindow* Owner() const override { return m_owner; }
    void SetTitle(std::string_view title) override;
    std::string Title() const override;
    void SetIcon(int iconId) override;
    void AddSystemCommand(int command, std::string_view text) override;
    void End(int result) override;
    bool HasEnded() const override { return m_ended; }
    void StartTimer(int timer, int milliseconds) override;
    void StopTimer(int timer) override;
    int ClientWidth() const override;
    WindowPlacement Placement() const override;
    void SetPlacement(const WindowPlacement& placement) override;
    std::pair<int, int> ScreenSize() const override;
    std::vector<ScreenArea> ScreenAreas() const override;
    std::pair<int, int> SplitterRatio() const override;
    void SetSplitterRatio(int numerator, int denominator) override;
    void AcceptDroppedFiles() override;
    void WatchFolder(std::string_view folder) override;
    void WatchWindowKey(Key key) override;

    bool HasControl(int id) const override { return m_controls.count(id) != 0; }
    std::optional<ControlKind> KindOf(int id) const override;
    void SetText(int id, std::string_view text) override;
    std::string Text(int id) const override;
    void SetChecked(int id, bool checked) override;
    bool IsChecked(int id) const override;
    void Enable(int id, bool enable) override;
    bool IsEnabled(int id) const override;
    void Show(int id, bool show) override;
    bool IsVisible(int id) const override;
    void Focus(int id) override;
    int FocusedControl() const override;
    void SetPicture(int id, int iconId) override;

    void SetColumns(int id, const std::vector<Column>& columns) override;
    void ClearItems(int id) override;
    int AddItem(int id, std::string_view text, ItemData data = 0) override;
    void RemoveItem(int id, int row) override;
    int ItemCount(int id) const override;
    void SetItemText(int id, int row, int column, std::string_view text) override;
    std::string ItemText(int id, int row, int column = 0) const override;
    ItemData GetItemData(int id, int row) const override;
    void SetItemIcon(int id, int row, int icon) override;
    int ItemIcon(int id, int row) const override;
    void SetItemSelected(int id, int row, bool selected) override;
    bool IsItemSelected(int id, int row) const override;
    void SetCurrentItem(int id, int row) override;
    int CurrentItem(int id) const override;
    void ReorderItems(int id, const std::vector<int>& order) override;
    void SetImageStrip(int id, int bitmapId) override;
    void WatchKey(int id, Key key) override;
    void SetImageTexts(int id, const std::vector<std::string>& texts) override;
    void SetPictureText(int id, std::string_view text) override;
    void SetItemImage(int id, int row, std::string_view image) override;
    void SetItemIndent(int id, int row, int level) override;
    int ColumnWidth(int id, int column) const override;
    void SetColumnMenu(int id, const std::vector<int>& columns, std::function<void(int column)> chosen) override;
    void SetColumnHidden(int id, int column, bool hidden) override;
    bool IsColumnHidden(int id, int column) const override;
    void SetColumnEditable(int id, int column) override;
    void SetComboEditable(int id, bool editable, std::string_view text = {}) override;
    bool IsComboEditable(int id) const override;
    void SetMapAreas(int id, std::string_view imagePath, const std::vector<MapOutline>& areas) override;
    void SetCurrentMapArea(int id, int index) override;
    void SetColourSample(int id, const ColourSample& sample) override;
    void SetGridContent(int id, const GridContent& content) override;
    void SetGridCellHeader(int id, int cell, bool header) override;
    void SetGridCellDescription(int id, int cell, std::string_view description) override;
    void SetCurrentGridCell(int id, int cell) override;
    int CurrentGridCell(int id) const override;

    void ClearTree(int id) override;
    TreeItem AddTreeItem(int id, TreeItem parent, std::string_view text, int image, ItemData data) override;
    std::vector<TreeItem> TreeChildren(int id, TreeItem parent) const override;
    std::string TreeItemText(int id, TreeItem item) const override;
    ItemData TreeItemData(int id, TreeItem item) const override;
    void SetTreeItemImage(int id, TreeItem item, int image) override;
    int TreeItemImage(int id, TreeItem item) const override;
    void ExpandTreeItem(int id, TreeItem item, bool expand) override;
    bool IsTreeItemExpanded(int id, TreeItem item) const override;
    void SortTreeChildren(int id, TreeItem parent) override;
    void SelectTreeItem(int id, TreeItem item) override;
    TreeItem SelectedTreeItem(int id) const override;

    void SetRange(int id, int low, int high) override;
    void SetPosition(int id, int position) override;
    int Position(int id) const override;
    std::pair<int, int> Range(int id) const override;

    IBrowser* Browser(int id) override;
    IMediaPlayer* MediaPlayer(int id) override;

    IWindow& AddPage(int templateId, IDialogLogic& logic, std::string_view title = {}) override;
    int PageCount() const override { return static_cast<int>(m_pages.size()); }
    IWindow& Page(int index) override;
    void ShowPage(int index) override;
    int CurrentPage() const override { return m_currentPage; }

private:
    struct Control {
        QPointer<QWidget> widget;
        ControlKind kind = ControlKind::Label;
        std::vector<Key> watchedKeys;
        QList<QPixmap> images;
        QStringList imageTexts;
        std::set<QTreeWidgetItem*> treeItems;
        std::unique_ptr<CQtBrowser> browser;
        int editableColumn = -1;
        std::vector<int> columnMenu;
        std::function<void(int column)> columnChosen;
    };
    class CQuiet;
    class CControlEvents;
    class CDropEvents;
    void UpdateRowDecoration(int id, QTreeWidgetItem* item);
    void UpdateStateText(const Control& control, QTreeWidgetItem* item) const;

    template <class W> W* As(int id) const;
    Control* Find(int id);
    const Control* Find(int id) const;
    CTableGridView* GridOf(int id) const;
    QTreeWidgetItem* TreeItemOf(int id, TreeItem item) const;
    QTreeWidgetItem* RowOf(int id, int row) const;
    // Hands a control to the binding of its kind, each beside the rest of
    // what that kind does.
    void Bind(int id, Control& control);
    void BindButton(int id, Control& control);
    void BindTextField(int id, Control& control);
    void BindCombo(int id, Control& control);
    void BindList(int id, Control& control);
    void BindTree(int id, Control& control);
    void BindPageArea(int id, Control& control);
    void BindView(int id, Control& control);
    void Notify(const Notification& notification);
    void PageAreaChanged(int index);
    bool ControlEvent(int id, QEvent* event);
    bool StepCombo(int id, QObject& combo, QEvent* event);
    // A label that names one of several controls shown in turn (its "buddies"
    // property) gives its key to the one shown.
    void FollowSharedLabels(const QWidget& changed);
    bool EditInPlace(int id, const QKeyEvent& event);
    // The column menu of a report list, opened at that place of the screen.
    void ShowColumnMenu(int id, const QPoint& at);
    void WatchFolderFiles();

    int m_templateId;
    QPointer<QWidget> m_widget;
    bool m_ownsWidget;
    IDialogLogic& m_logic;
    CQtWindow* m_owner;
    std::map<int, Control> m_controls;
    std::map<int, QTimer*> m_timers;
    QMenu* m_systemMenu = nullptr;
    std::unique_ptr<CControlEvents> m_events;
    std::unique_ptr<CDropEvents> m_drops;
    QFileSystemWatcher* m_folderWatcher = nullptr;
    QTimer* m_folderSettle = nullptr;
    QString m_watchedFolder;
    std::vector<std::unique_ptr<CQtWindow>> m_pages;
    int m_currentPage = -1;
    // The labels with a "buddies" property, found when a control is first shown or hidden.
    std::optional<std::vector<QPointer<QLabel>>> m_sharedLabels;
    // The last widget of the pages in the focus chain, where the next page's go.
    QPointer<QWidget> m_pagesFocusEnd;
    int m_quiet = 0;
    // The combo whose entries keys or the wheel step through just now.
    int m_steppingCombo = 0;
    bool m_ended = false;
    int m_result = 0;
    std::pair<int, int> m_splitterRatio{1, 2};
};

} // namespace orvane::platform::qt
