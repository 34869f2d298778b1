#pragma once

// The control layer: what dialog logic sees of a window. A window is made from
// a numbered template; the logic addresses its controls by their numbers and
// hears what the user does through IDialogLogic. Nothing here names a toolkit,
// so every rule of a dialog runs without a display (tests drive an in-memory
// window, the product a Qt one).

#include "platform/map_outline.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::platform {

class IBrowser;
class IMediaPlayer;
class IWindow;

// Control numbers the frames of dialogs and sheets share with every template.
enum StandardControl : int {
    kIdOk = 1,
    kIdCancel = 2,
    kIdHelp = 9,
    kIdBack = 12323,
    kIdNext = 12324,
    kIdFinish = 12325,
    // The area of a sheet that holds its pages (a stack in a wizard, tabs otherwise).
    kIdPageArea = 12320,
};

// Command of the About entry that dialogs add to their system menu.
constexpr int kCommandAbout = 16;

// What a control is; a template's widget must be of the kind the logic expects.
enum class ControlKind {
    Button,
    CheckBox,
    Radio,
    Edit,       // one line of text
    Spin,       // a number typed or stepped with arrows, within its range (Position, SetRange)
    TextBox,    // several lines of text
    Combo,      // a drop-down list, editable or not
    ListBox,    // a plain list of texts
    Label,
    Picture,    // an icon or image by resource number
    ReportList, // rows with columns, state icons and several selected rows
    Tree,
    Progress,
    Browser,    // a preview of a page
    MediaPlayer, // plays a sound or video file, showing the video
    PageArea,   // where a sheet shows its pages
    Frame,      // a decoration (group box, line)
    Custom,     // a small owner-drawn widget (colour swatch, map outline)
};

std::string_view ControlKindName(ControlKind kind);

// What happened to a control.
enum class NotifyCode {
    Clicked,          // a button was pressed (also a check box or radio button, after its state changed)
    TextChanged,      // the user edited an edit field or an editable combo
    SelectionChanged, // the current item of a combo, list box, report list or tree, or the page of a sheet
    Chosen,           // a combo's entry picked in its open list (after its SelectionChanged); stepping
                      // through the closed box with the arrow keys or the wheel gives SelectionChanged alone
    ItemChanged,      // a row of a report list was selected or deselected (item = the row)
    ColumnClicked,    // a report list's header (column = the column)
    DoubleClicked,    // a row of a list or an item of a tree (item = the row, -1 for none)
    KeyPressed,       // a key on a list that the logic asked to hear (key = the key)
    FocusGained,
    ItemEdited,       // the user edited a report row's text in place (item = the row, column = the column)
    PlayerStateChanged, // a media player started, stopped (also at the end of the file) or failed
};

// Keys a logic can ask to hear. Backspace, F5, Alt+Up and Ctrl+L are the
// keys of file browsers (the folder above, refresh, a typed location).
enum class Key { Space, Enter, Escape, Delete, Backspace, F5, AltUp, CtrlL };

// How a control gained the focus: by Tab, a mnemonic or the logic; by a
// click, on which the control then also acts (a list selects the row
// clicked); or back with its window, made active again.
enum class FocusCause { Keyboard, Mouse, WindowActivated };

struct Notification {
    int control = 0;
    NotifyCode code = NotifyCode::Clicked;
    int item = -1;
    int column = -1;
    Key key = Key::Space;
    FocusCause focusCause = FocusCause::Keyboard;
};

// Colours as 0x00BBGGRR, the way pages' colour values are kept.
using Colour = std::uint32_t;

// What a colour swatch, or a sample of coloured texts, shows: texts on a
// ground. A colour that is not set is drawn as a marked yellow, so it is
// never taken for a chosen one.
struct ColourSample {
    struct Line {
        std::string text;
        std::optional<Colour> colour;
        bool underlined = false;  // as a link is shown
    };
    std::optional<Colour> ground;
    std::vector<Line> lines;
    // What a screen reader is told of it ("Text colour: #333333, dark grey").
    std::string description;
};

// A tree item; 0 is "none" (and, as a parent, the invisible root).
using TreeItem = std::intptr_t;
// The data a logic keeps with a list row or tree item.
using ItemData = std::intptr_t;

enum class Align { Left, Centre, Right };

// A window's place on the screen, in screen pixels; when maximised, the
// rectangle it returns to.
struct WindowPlacement {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool maximized = false;
};

// The part of a screen that windows may take (without the desktop's panels).
struct ScreenArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The placement moved and shrunk as little as it takes to be reachable: a
// window whose title bar shows on none of the screens (one saved on a screen
// that has since gone) comes onto the screen it overlaps most, or the
// first; one larger than its screen is made to fit it.
WindowPlacement BringOntoScreens(const WindowPlacement& placement, const std::vector<ScreenArea>& screens);

struct Column {
    std::string title;
    int width = 100; // in pixels at the standard resolution; grows with the font
    Align align = Align::Left;
    bool fills = false; // takes the width the other columns leave, as the list grows or shrinks
    // Every text the column's cells may show: the column is made wide enough
    // for the widest of them in the list's font, whatever the language.
    std::vector<std::string> contents = {};
};

// The dialog's behaviour. The window calls it; it answers by changing
// controls and, to close, by calling IWindow::End.
class IDialogLogic {
public:
    virtual ~IDialogLogic() = default;
    // The window and its controls exist; fill them.
    virtual void OnInit(IWindow& window) = 0;
    virtual void OnNotify(IWindow& /*window*/, const Notification& /*notification*/) {}
    // Enter on a control that does not take it, or the default button. Closes with 1 unless overridden.
    virtual void OnOk(IWindow& window);
    // Escape. Closes with 2 unless overridden.
    virtual void OnCancel(IWindow& window);
    // The window's close box; as Escape unless overridden.
    virtual void OnClose(IWindow& window) { OnCancel(window); }
    virtual void OnHelp(IWindow& /*window*/) {}
    virtual void OnTimer(IWindow& /*window*/, int /*timer*/) {}
    // An entry of the window menu the logic added (kCommandAbout ...).
    virtual void OnSystemCommand(IWindow& /*window*/, int /*command*/) {}
    // A page of a sheet became the shown one (also the first time).
    virtual void OnActivate(IWindow& /*window*/) {}
    // The window is going away; its controls still answer.
    virtual void OnDestroy(IWindow& /*window*/) {}
    // Files the user dropped on the window (after IWindow::AcceptDroppedFiles).
    virtual void OnDropFiles(IWindow& /*window*/, const std::vector<std::string>& /*paths*/) {}
    // Entries of the folder the window watches (IWindow::WatchFolder) were
    // added, removed, renamed or written by someone; one call for a burst.
    virtual void OnFolderChanged(IWindow& /*window*/) {}
};

class IWindow {
public:
    virtual ~IWindow() = default;

    virtual int TemplateId() const = 0;
    virtual IWindow* Owner() const = 0;

    // The window as a whole.
    virtual void SetTitle(std::string_view title) = 0;
    virtual std::string Title() const = 0;
    virtual void SetIcon(int iconId) = 0;
    virtual void AddSystemCommand(int command, std::string_view text) = 0;
    virtual void End(int result) = 0;
    virtual bool HasEnded() const = 0;
    virtual void StartTimer(int timer, int milliseconds) = 0;
    virtual void StopTimer(int timer) = 0;
    // Width of the window's client area, in pixels.
    virtual int ClientWidth() const = 0;
    virtual WindowPlacement Placement() const = 0;
    virtual void SetPlacement(const WindowPlacement& placement) = 0;
    // The size of the screen the window is on.
    virtual std::pair<int, int> ScreenSize() const = 0;
    // Every screen of the desktop, the first the primary one.
    virtual std::vector<ScreenArea> ScreenAreas() const = 0;
    // Where the window's splitter divides its two sides: numerator / denominator of its width.
    virtual std::pair<int, int> SplitterRatio() const = 0;
    virtual void SetSplitterRatio(int numerator, int denominator) = 0;
    // Files dropped on the window reach the logic's OnDropFiles from now on.
    virtual void AcceptDroppedFiles() {}
    // Changes to the folder's entries reach the logic's OnFolderChanged from
    // now on (those of the folder watched before no longer); empty watches none.
    virtual void WatchFolder(std::string_view /*folder*/) {}
    // Let the logic hear these keys wherever the focus is in the window
    // (control 0 in the notification). A text field keeps the keys it edits
    // with: Backspace there deletes.
    virtual void WatchWindowKey(Key /*key*/) {}

    // Any control.
    virtual bool HasControl(int id) const = 0;
    virtual std::optional<ControlKind> KindOf(int id) const = 0;
    virtual void SetText(int id, std::string_view text) = 0;
    virtual std::string Text(int id) const = 0;
    virtual void SetChecked(int id, bool checked) = 0;
    virtual bool IsChecked(int id) const = 0;
    virtual void Enable(int id, bool enable) = 0;
    virtual bool IsEnabled(int id) const = 0;
    virtual void Show(int id, bool show) = 0;
    virtual bool IsVisible(int id) const = 0;
    virtual void Focus(int id) = 0;
    virtual int FocusedControl() const = 0;
    virtual void SetPicture(int id, int iconId) = 0;

    // Combos, list boxes and report lists: rows with columns.
    virtual void SetColumns(int id, const std::vector<Column>& columns) = 0;
    virtual void ClearItems(int id) = 0;
    virtual int AddItem(int id, std::string_view text, ItemData data = 0) = 0;
    virtual void RemoveItem(int id, int row) = 0;
    virtual int ItemCount(int id) const = 0;
    virtual void SetItemText(int id, int row, int column, std::string_view text) = 0;
    virtual std::string ItemText(int id, int row, int column = 0) const = 0;
    virtual ItemData GetItemData(int id, int row) const = 0;
    // A state icon in front of the row (report lists), by its number in the list's image strip.
    virtual void SetItemIcon(int id, int row, int icon) = 0;
    virtual int ItemIcon(int id, int row) const = 0;
    virtual void SetItemSelected(int id, int row, bool selected) = 0;
    virtual bool IsItemSelected(int id, int row) const = 0;
    // The row with the focus (report lists) or the chosen one (combos, list boxes); -1 for none.
    virtual void SetCurrentItem(int id, int row) = 0;
    virtual int CurrentItem(int id) const = 0;
    // Rows in a new order: order[i] is the old index of the row that becomes row i.
    virtual void ReorderItems(int id, const std::vector<int>& order) = 0;
    // The image strip of a report list's state icons or a tree's images (a bitmap resource).
    virtual void SetImageStrip(int id, int bitmapId) = 0;
    // Let the logic hear these keys on the control (Space on a list toggles rows, say).
    virtual void WatchKey(int id, Key key) = 0;
    // What each icon of the control's image strip tells, in words ("Repaired"),
    // by the icon's number: a screen reader reads a row's or tree item's words
    // with it, since it cannot see the icon. An icon without words tells nothing.
    virtual void SetImageTexts(int /*id*/, const std::vector<std::string>& /*texts*/) {}
    // What a picture or a colour shows, in words ("Level AA"), read as the
    // control's name by those who cannot see it.
    virtual void SetPictureText(int /*id*/, std::string_view /*text*/) {}
    // An image of the row's kind from the desktop's icon theme, by its name in
    // the icon naming of freedesktop.org ("text-html", "folder"): beside a
    // report row's state icon, in front of a combo's entry. Empty removes it.
    virtual void SetItemImage(int /*id*/, int /*row*/, std::string_view /*image*/) {}
    // How far a combo's entry is indented in its drop-down list (levels of a path).
    virtual void SetItemIndent(int /*id*/, int /*row*/, int /*level*/) {}
    // A report list's column width as the user left it; -1 when unknown.
    virtual int ColumnWidth(int /*id*/, int /*column*/) const { return -1; }
    // Lets the user edit that column of a report list in place: F2, Enter or
    // a double click on a row opens its text; each edit made reaches the
    // logic as ItemEdited.
    virtual void SetColumnEditable(int id, int column) = 0;
    // Turns a drop-down list into a field the user may type in (a path),
    // showing text all selected to be typed over, and back into the list.
    virtual void SetComboEditable(int /*id*/, bool /*editable*/, std::string_view /*text*/ = {}) {}
    virtual bool IsComboEditable(int /*id*/) const { return false; }

    // An image map preview (a custom control): the image file (empty when
    // there is none to show) and the outline of each area over it, in the
    // order of the rows that stand for them.
    virtual void SetMapAreas(int id, std::string_view imagePath, const std::vector<MapOutline>& areas) = 0;
    // The area drawn more strongly than the others; -1 for none.
    virtual void SetCurrentMapArea(int id, int index) = 0;
    // A colour swatch or sample (a custom control).
    virtual void SetColourSample(int id, const ColourSample& sample) = 0;

    // Trees.
    virtual void ClearTree(int id) = 0;
    virtual TreeItem AddTreeItem(int id, TreeItem parent, std::string_view text, int image, ItemData data) = 0;
    virtual std::vector<TreeItem> TreeChildren(int id, TreeItem parent) const = 0;
    virtual std::string TreeItemText(int id, TreeItem item) const = 0;
    virtual ItemData TreeItemData(int id, TreeItem item) const = 0;
    virtual void SetTreeItemImage(int id, TreeItem item, int image) = 0;
    virtual int TreeItemImage(int id, TreeItem item) const = 0;
    virtual void ExpandTreeItem(int id, TreeItem item, bool expand) = 0;
    virtual bool IsTreeItemExpanded(int id, TreeItem item) const = 0;
    // Children in alphabetical order of their texts, without regard to case.
    virtual void SortTreeChildren(int id, TreeItem parent) = 0;
    virtual void SelectTreeItem(int id, TreeItem item) = 0;
    virtual TreeItem SelectedTreeItem(int id) const = 0;

    // Progress bars and spin fields.
    virtual void SetRange(int id, int low, int high) = 0;
    virtual void SetPosition(int id, int position) = 0;
    virtual int Position(int id) const = 0;
    virtual std::pair<int, int> Range(int id) const = 0;

    // A preview of a page; null when the control is not a browser.
    virtual IBrowser* Browser(int id) = 0;
    // A player of sound and video files; null when the control is not one.
    virtual IMediaPlayer* MediaPlayer(int /*id*/) { return nullptr; }

    // Pages of a sheet, shown in the page area. A page is a window of its own
    // template with its own logic, owned by this window; it is created when
    // added. The title is the tab's text (sheets with tabs). Pages are
    // numbered in the order they were added: a wizard that adds each page
    // when it is first shown keeps its own numbers apart from these.
    virtual IWindow& AddPage(int templateId, IDialogLogic& logic, std::string_view title = {}) = 0;
    virtual int PageCount() const = 0;
    virtual IWindow& Page(int index) = 0;
    virtual void ShowPage(int index) = 0;
    virtual int CurrentPage() const = 0;
};

// A page preview. Local files and their images are shown; nothing is fetched
// from the network.
class IBrowser {
public:
    virtual ~IBrowser() = default;
    virtual void Navigate(std::string_view address) = 0;
    virtual void Refresh() = 0;
    virtual std::string Address() const = 0;
    virtual int Width() const = 0;
    // Where names that the shown page does not find beside itself are looked
    // up: previews are written apart from the page they show, whose images
    // lie beside that page.
    virtual void SetResourceFolder(std::string_view folder) { (void)folder; }
};

struct FileFilter {
    std::string description; // "HTML pages"
    std::string patterns;    // "*.html *.htm"
};

struct FileDialogRequest {
    std::string title;
    std::string initialPath;
    std::vector<FileFilter> filters;
    std::string defaultExtension; // without the dot; added when the name has none
};

// The windows of the running program: modal dialogs and the choosers the
// platform brings.
class IWindowSystem {
public:
    virtual ~IWindowSystem() = default;
    // False when no window can be shown (no display, or an unattended session).
    virtual bool CanShowWindows() const = 0;
    // Shows template N as a modal dialog run by the logic; the result is what
    // the logic passed to End (-1 when the window could not be made).
    virtual int RunModal(int templateId, IDialogLogic& logic, IWindow* owner) = 0;
    virtual std::optional<std::string> ChooseFileToOpen(IWindow* owner, const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> ChooseFileToSave(IWindow* owner, const FileDialogRequest& request) = 0;
    // The colour chooser, titled with what the colour is for.
    virtual std::optional<Colour> ChooseColour(IWindow* owner, Colour initial, std::string_view title) = 0;
    // Opens an address with the desktop's own handler (the user's web browser).
    virtual bool OpenAddress(std::string_view address) = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
};

// The process's window system; one that shows nothing until a host installs one.
IWindowSystem& Windows();
void SetWindows(IWindowSystem* windows);

class WaitCursor {
public:
    WaitCursor() { Windows().BeginWaitCursor(); }
    ~WaitCursor() { Windows().EndWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace orvane::platform
