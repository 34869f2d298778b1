#pragma once

// Windows without a screen, for tests that act as the user would: a window is
// made from its template file, so the logic can only reach the controls the
// template really has, and a test clicks, types and reads what is shown.
//
//   CMemoryWindows windows;                      // installed for the test
//   windows.WhenShown(229, [&](CMemoryWindow& w) {
//       w.Click(1043);                           // opens the sheet, whose script runs next
//       EXPECT_EQ(w.Text(1273), "All repaired");
//       w.Click(platform::kIdOk);
//   });
//   RunTheCode();

#include "platform/column_menu.h"
#include "platform/media_player.h"
#include "platform/prompt.h"
#include "platform/services.h"
#include "platform/table_grid_control.h"
#include "platform/template_info.h"
#include "platform/window.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace orvane::test {

class CMemoryWindows;

class CMemoryWindow final : public platform::IWindow, public platform::IGridControls, public platform::IColumnMenus {
public:
    CMemoryWindow(int templateId, platform::IDialogLogic& logic, CMemoryWindow* owner, CMemoryWindows& system);
    ~CMemoryWindow() override;

    // --- The user's hands. Each fails the test when a user could not do it
    // (the control is missing, hidden or disabled).
    void Click(int id);
    void Type(int id, std::string_view text);
    void MoveFocus(int id);                     // Tab or a mnemonic to the control; the logic hears it gain focus
    void Choose(int id, int row);               // combo or list box; a combo's entry picked in its open list
    void PressArrowKeysTo(int id, int row);     // a closed combo stepped through, one entry a key, to that one
    void SelectRow(int id, int row, bool selected = true);
    void SelectOnlyRows(int id, const std::vector<int>& rows);
    void DoubleClickRow(int id, int row);
    // Opens the row's editable text in place (F2), types the text and ends with Enter.
    void EditRowInPlace(int id, int row, std::string_view text);
    // A key pressed while the focus is on the control: the control's own
    // watched key, else the window's, else Enter and Escape as the dialog
    // takes them. Backspace in a field that takes text edits the text.
    void PressKey(int id, platform::Key key);
    void ClickColumn(int id, int column);
    // Opens the column menu of a report list (a right click on its header, or
    // Shift+F10 on the list) and chooses the entry of that column.
    void ChooseFromColumnMenu(int id, int column);
    // A table grid: the arrow keys taken to the cell covering that place, and
    // Space (the cell), Ctrl+Space (its row) or Shift+Space (its column) pressed there.
    void MoveToGridCell(int id, int row, int column);
    void ToggleGridHeader(int id, platform::GridScope scope);
    void SelectTreeItemAsUser(int id, platform::TreeItem item);
    void ChooseTab(int index);                   // a sheet's tab
    void PressEnter();
    void PressEscape();
    void PressCloseBox();
    void PressHelp();
    void ChooseSystemCommand(int command);
    void FireTimer(int timer);
    void DropFiles(const std::vector<std::string>& paths);
    // Another program changed the folder's entries: the logic hears of it
    // when the window watches that folder.
    void FolderChangedOnDisk(const std::string& folder);

    // --- What the user sees, beyond the IWindow getters.
    const platform::TemplateInfo& Template() const { return m_template; }
    int Result() const { return m_result; }
    bool IsTimerRunning(int timer) const;
    std::vector<std::string> SystemCommands() const;
    std::vector<int> SelectedRows(int id) const;
    std::vector<std::string> ItemTexts(int id, int column = 0) const;
    int IconId() const { return m_icon; }
    int PictureOf(int id) const;
    // What a screen reader reads for a picture, and for the row's state icon.
    std::string PictureText(int id) const;
    std::string ItemStateText(int id, int row) const;
    int ImageStrip(int id) const;
    const std::vector<platform::Column>& Columns(int id) const;
    platform::TreeItem FindTreeItem(int id, std::string_view text) const;
    std::string ItemImage(int id, int row) const;
    int ItemIndent(int id, int row) const;
    // The entries of a report list's column menu, by their columns, and
    // whether each is checked (its column shows).
    std::vector<std::pair<std::string, bool>> ColumnMenu(int id) const;
    // The column of a report list the user may edit in place; -1 for none.
    int EditableColumn(int id) const;
    // What a map preview was given to draw.
    std::string MapImage(int id) const;
    const std::vector<platform::MapOutline>& MapAreas(int id) const;
    int CurrentMapArea(int id) const;
    // What a colour swatch or sample was given to draw.
    const platform::ColourSample& ColourSampleOf(int id) const;
    // What a table grid shows; the cell covering a place (-1 for none), and whether it is marked a header.
    const platform::GridContent& GridOf(int id) const;
    int GridCellAt(int id, int row, int column) const;
    bool IsGridHeader(int id, int row, int column) const;
    const std::string& WatchedFolder() const { return m_watchedFolder; }
    // The page windows in the order they were added (the wizard adds each
    // page's window when the user first reaches that page).
    CMemoryWindow& PageWindow(int index);
    platform::IDialogLogic& Logic() { return m_logic; }

    // --- platform::IWindow
    int TemplateId() const override { return m_templateId; }
    IWindow* Owner() const override { return m_owner; }
    void SetTitle(std::string_view title) override { m_title = title; }
    std::string Title() const override { return m_title; }
    void SetIcon(int iconId) override { m_icon = iconId; }
    void AddSystemCommand(int command, std::string_view text) override;
    void End(int result) override;
    bool HasEnded() const override { return m_ended; }
    void StartTimer(int timer, int milliseconds) override;
    void StopTimer(int timer) override;
    int ClientWidth() const override { return 600; }
    platform::WindowPlacement Placement() const override { return m_placement; }
    void SetPlacement(const platform::WindowPlacement& placement) override { m_placement = placement; }
    std::pair<int, int> ScreenSize() const override;
    std::vector<platform::ScreenArea> ScreenAreas() const override;
    std::pair<int, int> SplitterRatio() const override { return m_splitter; }
    void SetSplitterRatio(int numerator, int denominator) override { m_splitter = {numerator, denominator}; }

    bool HasControl(int id) const override;
    std::optional<platform::ControlKind> KindOf(int id) const override;
    void SetText(int id, std::string_view text) override;
    std::string Text(int id) const override;
    void SetChecked(int id, bool checked) override;
    bool IsChecked(int id) const override;
    void Enable(int id, bool enable) override;
    bool IsEnabled(int id) const override;
    void Show(int id, bool show) override;
    bool IsVisible(int id) const override;
    void Focus(int id) override;
    int FocusedControl() const override { return m_focus; }
    void SetPicture(int id, int iconId) override;

    void SetColumns(int id, const std::vector<platform::Column>& columns) override;
    void ClearItems(int id) override;
    int AddItem(int id, std::string_view text, platform::ItemData data = 0) override;
    void RemoveItem(int id, int row) override;
    int ItemCount(int id) const override;
    void SetItemText(int id, int row, int column, std::string_view text) override;
    std::string ItemText(int id, int row, int column = 0) const override;
    platform::ItemData GetItemData(int id, int row) const override;
    void SetItemIcon(int id, int row, int icon) override;
    void SetImageTexts(int id, const std::vector<std::string>& texts) override;
    void SetPictureText(int id, std::string_view text) override;
    int ItemIcon(int id, int row) const override;
    void SetItemSelected(int id, int row, bool selected) override;
    bool IsItemSelected(int id, int row) const override;
    void SetCurrentItem(int id, int row) override;
    int CurrentItem(int id) const override;
    void ReorderItems(int id, const std::vector<int>& order) override;
    void SetImageStrip(int id, int bitmapId) override;
    void WatchKey(int id, platform::Key key) override;
    void SetItemImage(int id, int row, std::string_view image) override;
    void SetItemIndent(int id, int row, int level) override;
    int ColumnWidth(int id, int column) const override;
    // --- platform::IColumnMenus
    void SetColumnMenu(int id, const std::vector<int>& columns, std::function<void(int column)> chosen) override;
    void SetColumnHidden(int id, int column, bool hidden) override;
    bool IsColumnHidden(int id, int column) const override;
    void SetColumnEditable(int id, int column) override;
    void SetMapAreas(int id, std::string_view imagePath, const std::vector<platform::MapOutline>& areas) override;
    void SetCurrentMapArea(int id, int index) override;
    void SetColourSample(int id, const platform::ColourSample& sample) override;
    void SetGridContent(int id, const platform::GridContent& content) override;
    void SetGridCellHeader(int id, int cell, bool header) override;
    void SetGridCellDescription(int id, int cell, std::string_view description) override;
    void SetCurrentGridCell(int id, int cell) override;
    int CurrentGridCell(int id) const override;
    void AcceptDroppedFiles() override { m_acceptsDrops = true; }
    void WatchFolder(std::string_view folder) override { m_watchedFolder = folder; }
    void WatchWindowKey(platform::Key key) override { m_windowKeys.push_back(key); }
    void SetComboEditable(int id, bool editable, std::string_view text = {}) override;
    bool IsComboEditable(int id) const override;

    void ClearTree(int id) override;
    platform::TreeItem AddTreeItem(int id, platform::TreeItem parent, std::string_view text, int image,
                                   platform::ItemData data) override;
    std::vector<platform::TreeItem> TreeChildren(int id, platform::TreeItem parent) const override;
    std::string TreeItemText(int id, platform::TreeItem item) const override;
    platform::ItemData TreeItemData(int id, platform::TreeItem item) const override;
    void SetTreeItemImage(int id, platform::TreeItem item, int image) override;
    int TreeItemImage(int id, platform::TreeItem item) const override;
    void ExpandTreeItem(int id, platform::TreeItem item, bool expand) override;
    bool IsTreeItemExpanded(int id, platform::TreeItem item) const override;
    void SortTreeChildren(int id, platform::TreeItem parent) override;
    void SelectTreeItem(int id, platform::TreeItem item) override;
    platform::TreeItem SelectedTreeItem(int id) const override;

    void SetRange(int id, int low, int high) override;
    void SetPosition(int id, int position) override;
    int Position(int id) const override;
    std::pair<int, int> Range(int id) const override;

    platform::IBrowser* Browser(int id) override;
    // Where the browser was told to look up what a shown page names.
    std::string BrowserResourceFolder(int id);

    platform::IMediaPlayer* MediaPlayer(int id) override;
    // What the media player was told to play, in order, and its base address.
    std::vector<std::string> PlayedFiles(int id);
    std::string PlayerBaseAddress(int id);
    // The file being played comes to its end, or turns out not to play.
    void PlayerReachesEnd(int id);
    void PlayerFails(int id, std::string_view reason);

    IWindow& AddPage(int templateId, platform::IDialogLogic& logic, std::string_view title = {}) override;
    int PageCount() const override { return static_cast<int>(m_pages.size()); }
    IWindow& Page(int index) override;
    void ShowPage(int index) override;
    int CurrentPage() const override { return m_currentPage; }

private:
    struct Row {
        std::vector<std::string> cells;
        platform::ItemData data = 0;
        int icon = -1;
        bool selected = false;
        std::string image;
        int indent = 0;
    };
    struct TreeNode {
        platform::TreeItem parent = 0;
        std::string text;
        int image = -1;
        platform::ItemData data = 0;
        bool expanded = false;
        std::vector<platform::TreeItem> children;
    };
    class CMemoryBrowser;
    class CMemoryPlayer;
    struct Control {
        platform::ControlInfo info;
        std::string text;
        bool checked = false;
        bool enabled = true;
        bool visible = true;
        int picture = -1;
        int imageStrip = -1;
        std::vector<std::string> imageTexts;
        std::string pictureText;
        std::vector<platform::Column> columns;
        std::vector<int> columnMenu;
        std::function<void(int column)> columnChosen;
        std::vector<int> hiddenColumns;
        std::vector<Row> rows;
        int current = -1;
        std::map<platform::TreeItem, TreeNode> tree;
        platform::TreeItem selectedTreeItem = 0;
        int low = 0, high = 100, position = 0;
        std::vector<platform::Key> watchedKeys;
        std::unique_ptr<CMemoryBrowser> browser;
        std::unique_ptr<CMemoryPlayer> player;
        int editableColumn = -1;
        std::string mapImage;
        std::vector<platform::MapOutline> mapAreas;
        int currentMapArea = -1;
        platform::ColourSample colourSample;
        platform::GridContent grid;
        int currentGridCell = -1;
        // Set by the logic; unknown (as the template has it) until then.
        std::optional<bool> comboEditable;
    };

    Control* Find(int id, const char* what);
    const Control* Find(int id, const char* what) const;
    Control* FindForUser(int id, const char* what);
    Row* FindRow(int id, int row, const char* what);
    const Row* FindRow(int id, int row, const char* what) const;
    TreeNode* FindNode(int id, platform::TreeItem item, const char* what);
    const TreeNode* FindNode(int id, platform::TreeItem item, const char* what) const;
    void Notify(const platform::Notification& notification);

    int m_templateId;
    platform::IDialogLogic& m_logic;
    CMemoryWindow* m_owner;
    CMemoryWindows& m_system;
    platform::TemplateInfo m_template;
    std::map<int, Control> m_controls;
    std::string m_title;
    int m_icon = -1;
    std::vector<std::pair<int, std::string>> m_systemCommands;
    std::map<int, int> m_timers;
    bool m_ended = false;
    int m_result = 0;
    int m_focus = 0;
    platform::TreeItem m_nextTreeItem = 1;
    std::vector<std::unique_ptr<CMemoryWindow>> m_pages;
    int m_currentPage = -1;
    platform::WindowPlacement m_placement{100, 100, 900, 700, false};
    std::pair<int, int> m_splitter{1, 2};
    bool m_acceptsDrops = false;
    std::string m_watchedFolder;
    std::vector<platform::Key> m_windowKeys;
};

// A message box that answers from a queue (OK once it is empty) and keeps
// every message it was asked to show.
class CScriptedPrompt final : public platform::IPrompt {
public:
    struct Message {
        std::string caption;
        std::string text;
        platform::PromptIcon icon;
        platform::PromptButtons buttons;
        int defaultAnswer = 0; // what Enter would answer (0: the first button)
    };
    int Show(std::string_view caption, std::string_view text, platform::PromptIcon icon,
             platform::PromptButtons buttons, int defaultAnswer = 0) override;
    void AnswerNext(int answer) { answers.push_back(answer); }

    std::deque<int> answers;
    std::vector<Message> messages;
};

// The window system of a test, installed (with its prompt) while it lives.
// Each modal window runs the next script given by WhenShown; a window that
// opens without a script, or that a script leaves open, fails the test.
class CMemoryWindows final : public platform::IWindowSystem {
public:
    using UserSteps = std::function<void(CMemoryWindow&)>;

    CMemoryWindows();
    ~CMemoryWindows() override;

    void WhenShown(int templateId, UserSteps steps);
    // The window of that template cannot be made, as when the bundle lacks it.
    void CannotMake(int templateId) { m_unmakeable.push_back(templateId); }
    void AnswerNextMessage(int answer) { prompt.AnswerNext(answer); }
    void AnswerNextFileDialog(std::optional<std::string> path) { fileAnswers.push_back(std::move(path)); }
    void AnswerNextColourDialog(std::optional<platform::Colour> colour) { colourAnswers.push_back(colour); }
    // Templates shown so far, in order.
    const std::vector<int>& Shown() const { return m_shown; }

    bool CanShowWindows() const override { return canShow; }
    int RunModal(int templateId, platform::IDialogLogic& logic, platform::IWindow* owner) override;
    std::optional<std::string> ChooseFileToOpen(platform::IWindow* owner,
                                                const platform::FileDialogRequest& request) override;
    std::optional<std::string> ChooseFileToSave(platform::IWindow* owner,
                                                const platform::FileDialogRequest& request) override;
    std::optional<platform::Colour> ChooseColour(platform::IWindow* owner, platform::Colour initial,
                                                 std::string_view title) override;
    bool OpenAddress(std::string_view address) override;
    void BeginWaitCursor() override { ++waitCursorDepth; }
    void EndWaitCursor() override { --waitCursorDepth; }

    CScriptedPrompt prompt;
    bool canShow = true;
    std::pair<int, int> screenSize{1920, 1080};
    // The desktop's screens; one of screenSize when empty.
    std::vector<platform::ScreenArea> screens;
    std::deque<std::optional<std::string>> fileAnswers;
    std::deque<std::optional<platform::Colour>> colourAnswers;
    std::vector<std::string> colourDialogTitles;
    std::vector<platform::FileDialogRequest> fileRequests;
    std::vector<std::string> openedAddresses;
    int waitCursorDepth = 0;

private:
    std::deque<std::pair<int, UserSteps>> m_scripts;
    std::vector<int> m_unmakeable;
    std::vector<int> m_shown;
    platform::IWindowSystem* m_previousWindows;
    platform::ScopedPrompt m_promptScope;
};

// The template of that number from the source tree; a test fails when it is missing.
std::optional<platform::TemplateInfo> LoadTemplate(int templateId);
std::vector<int> TemplateIds();

} // namespace orvane::test
