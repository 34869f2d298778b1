#include "memory_window.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <strings.h>

namespace orvane::test {

using platform::ControlKind;
using platform::Key;
using platform::Notification;
using platform::NotifyCode;
using platform::TreeItem;

namespace {

std::string Where(int templateId, int id)
{
    return "template " + std::to_string(templateId) + ", control " + std::to_string(id);
}

bool HasRows(ControlKind kind)
{
    return kind == ControlKind::Combo || kind == ControlKind::ListBox || kind == ControlKind::ReportList;
}

bool UserCanType(ControlKind kind)
{
    return kind == ControlKind::Edit || kind == ControlKind::Spin || kind == ControlKind::TextBox ||
           kind == ControlKind::Combo;
}

// What a spin field makes of typed text: its number, kept within its range;
// no number leaves the field as it was.
std::optional<int> SpinNumber(std::string_view text, int low, int high)
{
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return std::clamp(value, low, high);
}

} // namespace

class CMemoryWindow::CMemoryBrowser final : public platform::IBrowser {
public:
    void Navigate(std::string_view address) override
    {
        m_address = address;
        ++navigations;
    }
    void Refresh() override { ++refreshes; }
    std::string Address() const override { return m_address; }
    int Width() const override { return 400; }
    void SetResourceFolder(std::string_view folder) override { resourceFolder = folder; }

    int navigations = 0;
    int refreshes = 0;
    std::string resourceFolder;

private:
    std::string m_address;
};

// Plays nothing: it keeps what it was told, and tells the window's logic of
// each change of its state as a real player does.
class CMemoryWindow::CMemoryPlayer final : public platform::IMediaPlayer {
public:
    CMemoryPlayer(CMemoryWindow& window, int id) : m_window(window), m_id(id) {}
    void SetBaseAddress(std::string_view base) override { baseAddress = base; }
    void Play(std::string_view fileName) override
    {
        played.emplace_back(fileName);
        Become(platform::MediaState::Playing, {});
    }
    void Stop() override { Become(platform::MediaState::Stopped, {}); }
    platform::MediaState State() const override { return m_state; }
    std::string ErrorText() const override { return m_error; }

    void Become(platform::MediaState state, std::string_view error)
    {
        if (state == m_state && error == m_error)
            return;
        m_state = state;
        m_error = error;
        m_window.Notify({m_id, platform::NotifyCode::PlayerStateChanged});
    }

    std::string baseAddress;
    std::vector<std::string> played;

private:
    CMemoryWindow& m_window;
    int m_id;
    platform::MediaState m_state = platform::MediaState::Stopped;
    std::string m_error;
};

std::optional<platform::TemplateInfo> LoadTemplate(int templateId)
{
    // The library's templates, then those of the selector program's own bundle.
    std::string path;
    for (const char* folder : {ORVANE_TEMPLATES_DIR, ORVANE_SELECTOR_TEMPLATES_DIR}) {
        path = std::string(folder) + "/" + std::to_string(templateId) + ".ui";
        if (std::filesystem::exists(path))
            break;
        path.clear();
    }
    if (path.empty())
        return std::nullopt;
    std::string error;
    auto info = platform::ParseTemplate(ReadFileBytes(path), &error);
    if (!info)
        ADD_FAILURE() << path << ": " << error;
    return info;
}

std::vector<int> TemplateIds()
{
    std::vector<int> ids;
    for (const auto& entry : std::filesystem::directory_iterator(ORVANE_TEMPLATES_DIR)) {
        if (entry.path().extension() == ".ui") {
            const std::string stem = entry.path().stem().string();
            if (!stem.empty() && std::all_of(stem.begin(), stem.end(), ::isdigit))
                ids.push_back(std::stoi(stem));
        }
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

CMemoryWindow::CMemoryWindow(int templateId, platform::IDialogLogic& logic, CMemoryWindow* owner,
                             CMemoryWindows& system)
    : m_templateId(templateId), m_logic(logic), m_owner(owner), m_system(system)
{
    if (auto info = LoadTemplate(templateId))
        m_template = std::move(*info);
    else
        ADD_FAILURE() << "there is no template " << templateId;
    m_title = m_template.title;
    for (const auto& [id, info] : m_template.controls) {
        Control& control = m_controls[id];
        control.info = info;
        control.text = info.text;
        control.checked = info.checkedInitially;
        control.enabled = info.enabledInitially;
        control.visible = info.visibleInitially;
        // A combo the template makes editable takes typing until the logic says otherwise.
        if (info.kind == ControlKind::Combo && info.editable)
            control.comboEditable = true;
        if (info.kind == ControlKind::Browser)
            control.browser = std::make_unique<CMemoryBrowser>();
        if (info.kind == ControlKind::MediaPlayer)
            control.player = std::make_unique<CMemoryPlayer>(*this, id);
    }
}

CMemoryWindow::~CMemoryWindow() = default;

// --- lookup

CMemoryWindow::Control* CMemoryWindow::Find(int id, const char* what)
{
    auto it = m_controls.find(id);
    if (it == m_controls.end()) {
        ADD_FAILURE() << what << ": " << Where(m_templateId, id) << " does not exist";
        return nullptr;
    }
    return &it->second;
}

const CMemoryWindow::Control* CMemoryWindow::Find(int id, const char* what) const
{
    return const_cast<CMemoryWindow*>(this)->Find(id, what);
}

CMemoryWindow::Control* CMemoryWindow::FindForUser(int id, const char* what)
{
    Control* control = Find(id, what);
    if (!control)
        return nullptr;
    if (!control->visible || !control->enabled) {
        ADD_FAILURE() << what << ": the user cannot reach " << Where(m_templateId, id)
                      << (control->visible ? " (disabled)" : " (hidden)");
        return nullptr;
    }
    if (m_ended) {
        ADD_FAILURE() << what << ": the window " << m_templateId << " is closed";
        return nullptr;
    }
    return control;
}

CMemoryWindow::Row* CMemoryWindow::FindRow(int id, int row, const char* what)
{
    Control* control = Find(id, what);
    if (!control)
        return nullptr;
    if (row < 0 || row >= static_cast<int>(control->rows.size())) {
        ADD_FAILURE() << what << ": " << Where(m_templateId, id) << " has no row " << row;
        return nullptr;
    }
    return &control->rows[row];
}

const CMemoryWindow::Row* CMemoryWindow::FindRow(int id, int row, const char* what) const
{
    return const_cast<CMemoryWindow*>(this)->FindRow(id, row, what);
}

CMemoryWindow::TreeNode* CMemoryWindow::FindNode(int id, TreeItem item, const char* what)
{
    Control* control = Find(id, what);
    if (!control)
        return nullptr;
    auto it = control->tree.find(item);
    if (it == control->tree.end()) {
        ADD_FAILURE() << what << ": " << Where(m_templateId, id) << " has no tree item " << item;
        return nullptr;
    }
    return &it->second;
}

const CMemoryWindow::TreeNode* CMemoryWindow::FindNode(int id, TreeItem item, const char* what) const
{
    return const_cast<CMemoryWindow*>(this)->FindNode(id, item, what);
}

void CMemoryWindow::Notify(const Notification& notification) { m_logic.OnNotify(*this, notification); }

// --- the user's hands

void CMemoryWindow::Click(int id)
{
    Control* control = FindForUser(id, "Click");
    if (!control)
        return;
    m_focus = id;
    switch (control->info.kind) {
    case ControlKind::CheckBox:
        control->checked = !control->checked;
        break;
    case ControlKind::Radio:
        for (auto& [otherId, other] : m_controls) {
            if (other.info.kind == ControlKind::Radio && other.info.group == control->info.group)
                other.checked = false;
        }
        control->checked = true;
        break;
    case ControlKind::Button:
        break;
    default:
        ADD_FAILURE() << "Click: " << Where(m_templateId, id) << " is a "
                      << platform::ControlKindName(control->info.kind) << ", not a button";
        return;
    }
    // The frame's own buttons reach the logic as what they mean.
    if (control->info.kind == ControlKind::Button && id == platform::kIdCancel) {
        m_logic.OnCancel(*this);
        return;
    }
    if (control->info.kind == ControlKind::Button && id == platform::kIdHelp) {
        m_logic.OnHelp(*this);
        return;
    }
    if (control->info.kind == ControlKind::Button && id == platform::kIdOk) {
        m_logic.OnOk(*this);
        return;
    }
    Notify({id, NotifyCode::Clicked});
}

void CMemoryWindow::Type(int id, std::string_view text)
{
    Control* control = FindForUser(id, "Type");
    if (!control)
        return;
    if (!UserCanType(control->info.kind) || control->comboEditable == false) {
        ADD_FAILURE() << "Type: " << Where(m_templateId, id) << " takes no text";
        return;
    }
    m_focus = id;
    if (control->info.kind == ControlKind::Spin) {
        const std::optional<int> number = SpinNumber(text, control->low, control->high);
        if (!number)
            return;
        control->position = *number;
        control->text = std::to_string(*number);
    } else {
        control->text = text;
    }
    Notify({id, NotifyCode::TextChanged});
}

void CMemoryWindow::MoveFocus(int id)
{
    if (!FindForUser(id, "MoveFocus"))
        return;
    m_focus = id;
    Notify({id, NotifyCode::FocusGained});
}

void CMemoryWindow::Choose(int id, int row)
{
    Control* control = FindForUser(id, "Choose");
    if (!control || !FindRow(id, row, "Choose"))
        return;
    m_focus = id;
    control->current = row;
    if (control->info.kind == ControlKind::Combo)
        control->text = control->rows[row].cells.empty() ? std::string{} : control->rows[row].cells[0];
    Notify({id, NotifyCode::SelectionChanged, row});
    // A combo's entry is picked in its open list.
    if (control->info.kind == ControlKind::Combo)
        Notify({id, NotifyCode::Chosen, row});
}

void CMemoryWindow::PressArrowKeysTo(int id, int row)
{
    Control* control = FindForUser(id, "PressArrowKeysTo");
    if (!control || !FindRow(id, row, "PressArrowKeysTo"))
        return;
    if (control->info.kind != ControlKind::Combo) {
        ADD_FAILURE() << "PressArrowKeysTo: " << Where(m_templateId, id) << " is no combo";
        return;
    }
    m_focus = id;
    const int step = row < control->current ? -1 : 1;
    for (int at = control->current; at != row && !m_ended;) {
        at += step;
        control->current = at;
        const Row& shown = control->rows[static_cast<std::size_t>(at)];
        control->text = shown.cells.empty() ? std::string{} : shown.cells[0];
        Notify({id, NotifyCode::SelectionChanged, at});
    }
}

void CMemoryWindow::SelectRow(int id, int row, bool selected)
{
    if (!FindForUser(id, "SelectRow"))
        return;
    Row* target = FindRow(id, row, "SelectRow");
    if (!target)
        return;
    m_focus = id;
    m_controls[id].current = row;
    if (target->selected == selected)
        return;
    target->selected = selected;
    Notify({id, NotifyCode::ItemChanged, row});
}

void CMemoryWindow::SelectOnlyRows(int id, const std::vector<int>& rows)
{
    Control* control = FindForUser(id, "SelectOnlyRows");
    if (!control)
        return;
    for (int row = 0; row < static_cast<int>(control->rows.size()); ++row) {
        const bool wanted = std::find(rows.begin(), rows.end(), row) != rows.end();
        if (control->rows[row].selected && !wanted)
            SelectRow(id, row, false);
    }
    for (int row : rows)
        SelectRow(id, row, true);
}

void CMemoryWindow::DoubleClickRow(int id, int row)
{
    if (!FindForUser(id, "DoubleClickRow") || !FindRow(id, row, "DoubleClickRow"))
        return;
    m_focus = id;
    m_controls[id].current = row;
    Notify({id, NotifyCode::DoubleClicked, row});
}

void CMemoryWindow::EditRowInPlace(int id, int row, std::string_view text)
{
    Control* control = FindForUser(id, "EditRowInPlace");
    Row* target = control ? FindRow(id, row, "EditRowInPlace") : nullptr;
    if (!target)
        return;
    if (control->editableColumn < 0) {
        ADD_FAILURE() << "EditRowInPlace: the rows of " << Where(m_templateId, id) << " cannot be edited in place";
        return;
    }
    m_focus = id;
    control->current = row;
    const auto column = static_cast<std::size_t>(control->editableColumn);
    if (target->cells.size() <= column)
        target->cells.resize(column + 1);
    target->cells[column] = text;
    Notification notification{id, NotifyCode::ItemEdited, row};
    notification.column = control->editableColumn;
    Notify(notification);
}

void CMemoryWindow::PressKey(int id, Key key)
{
    Control* control = FindForUser(id, "PressKey");
    if (!control)
        return;
    m_focus = id;
    const auto& keys = control->watchedKeys;
    if (std::find(keys.begin(), keys.end(), key) != keys.end()) {
        Notification notification{id, NotifyCode::KeyPressed};
        notification.key = key;
        notification.item = control->current;
        Notify(notification);
        return;
    }
    const bool takesText = control->info.kind == ControlKind::Edit || control->info.kind == ControlKind::TextBox ||
                           (control->info.kind == ControlKind::Combo && control->comboEditable.value_or(false));
    if (key == Key::Backspace && takesText) {
        if (!control->text.empty()) {
            control->text.pop_back();
            Notify({id, NotifyCode::TextChanged});
        }
        return;
    }
    if (std::find(m_windowKeys.begin(), m_windowKeys.end(), key) != m_windowKeys.end()) {
        Notification notification{0, NotifyCode::KeyPressed};
        notification.key = key;
        Notify(notification);
        return;
    }
    if (key == Key::Enter)
        PressEnter();
    else if (key == Key::Escape)
        PressEscape();
}

void CMemoryWindow::ClickColumn(int id, int column)
{
    if (!FindForUser(id, "ClickColumn"))
        return;
    Notification notification{id, NotifyCode::ColumnClicked};
    notification.column = column;
    Notify(notification);
}

void CMemoryWindow::ChooseFromColumnMenu(int id, int column)
{
    const Control* control = FindForUser(id, "ChooseFromColumnMenu");
    if (!control)
        return;
    if (std::find(control->columnMenu.begin(), control->columnMenu.end(), column) == control->columnMenu.end()) {
        ADD_FAILURE() << "the column menu of control " << id << " has no entry for column " << column;
        return;
    }
    if (control->columnChosen) {
        std::function<void(int)> chosen = control->columnChosen;
        chosen(column);
    }
}

std::vector<std::pair<std::string, bool>> CMemoryWindow::ColumnMenu(int id) const
{
    std::vector<std::pair<std::string, bool>> entries;
    const Control* control = Find(id, "ColumnMenu");
    if (!control)
        return entries;
    for (int column : control->columnMenu) {
        const std::string title = column >= 0 && column < static_cast<int>(control->columns.size())
                                      ? control->columns[static_cast<std::size_t>(column)].title
                                      : std::string();
        entries.emplace_back(title, !IsColumnHidden(id, column));
    }
    return entries;
}

void CMemoryWindow::SetColumnMenu(int id, const std::vector<int>& columns, std::function<void(int column)> chosen)
{
    if (Control* control = Find(id, "SetColumnMenu")) {
        control->columnMenu = columns;
        control->columnChosen = std::move(chosen);
    }
}

void CMemoryWindow::SetColumnHidden(int id, int column, bool hidden)
{
    Control* control = Find(id, "SetColumnHidden");
    if (!control)
        return;
    auto& list = control->hiddenColumns;
    list.erase(std::remove(list.begin(), list.end(), column), list.end());
    if (hidden)
        list.push_back(column);
}

bool CMemoryWindow::IsColumnHidden(int id, int column) const
{
    const Control* control = Find(id, "IsColumnHidden");
    return control &&
           std::find(control->hiddenColumns.begin(), control->hiddenColumns.end(), column) != control->hiddenColumns.end();
}

void CMemoryWindow::SelectTreeItemAsUser(int id, TreeItem item)
{
    if (!FindForUser(id, "SelectTreeItemAsUser") || !FindNode(id, item, "SelectTreeItemAsUser"))
        return;
    m_focus = id;
    Control& control = m_controls[id];
    if (control.selectedTreeItem == item)
        return;
    control.selectedTreeItem = item;
    Notification notification{id, NotifyCode::SelectionChanged};
    notification.item = static_cast<int>(item);
    Notify(notification);
}

void CMemoryWindow::ChooseTab(int index)
{
    if (index < 0 || index >= PageCount()) {
        ADD_FAILURE() << "ChooseTab: template " << m_templateId << " has no page " << index;
        return;
    }
    Notify({platform::kIdPageArea, NotifyCode::SelectionChanged, index});
}

void CMemoryWindow::DropFiles(const std::vector<std::string>& paths)
{
    if (!m_acceptsDrops) {
        ADD_FAILURE() << "window " << m_templateId << " does not take dropped files";
        return;
    }
    m_logic.OnDropFiles(*this, paths);
}

void CMemoryWindow::SetItemImage(int id, int row, std::string_view image)
{
    if (Row* found = FindRow(id, row, "SetItemImage"))
        found->image = image;
}

std::string CMemoryWindow::ItemImage(int id, int row) const
{
    const Row* found = FindRow(id, row, "ItemImage");
    return found ? found->image : std::string();
}

void CMemoryWindow::SetItemIndent(int id, int row, int level)
{
    if (Row* found = FindRow(id, row, "SetItemIndent"))
        found->indent = level;
}

int CMemoryWindow::ItemIndent(int id, int row) const
{
    const Row* found = FindRow(id, row, "ItemIndent");
    return found ? found->indent : 0;
}

int CMemoryWindow::ColumnWidth(int id, int column) const
{
    const Control* control = Find(id, "ColumnWidth");
    if (!control || column < 0 || column >= static_cast<int>(control->columns.size()))
        return -1;
    return control->columns[static_cast<std::size_t>(column)].width;
}

void CMemoryWindow::SetColumnEditable(int id, int column)
{
    Control* control = Find(id, "SetColumnEditable");
    if (!control)
        return;
    if (control->info.kind != ControlKind::ReportList) {
        ADD_FAILURE() << "SetColumnEditable: " << Where(m_templateId, id) << " is no report list";
        return;
    }
    control->editableColumn = column;
}

int CMemoryWindow::EditableColumn(int id) const
{
    const Control* control = Find(id, "EditableColumn");
    return control ? control->editableColumn : -1;
}

void CMemoryWindow::SetMapAreas(int id, std::string_view imagePath, const std::vector<platform::MapOutline>& areas)
{
    Control* control = Find(id, "SetMapAreas");
    if (!control)
        return;
    if (control->info.kind != ControlKind::Custom) {
        ADD_FAILURE() << "SetMapAreas: " << Where(m_templateId, id) << " is no map preview";
        return;
    }
    control->mapImage = imagePath;
    control->mapAreas = areas;
    control->currentMapArea = -1;
}

void CMemoryWindow::SetColourSample(int id, const platform::ColourSample& sample)
{
    Control* control = Find(id, "SetColourSample");
    if (!control)
        return;
    if (control->info.kind != ControlKind::Custom) {
        ADD_FAILURE() << "SetColourSample: " << Where(m_templateId, id) << " is no colour sample";
        return;
    }
    control->colourSample = sample;
}

const platform::ColourSample& CMemoryWindow::ColourSampleOf(int id) const
{
    static const platform::ColourSample none;
    const Control* control = Find(id, "ColourSampleOf");
    return control ? control->colourSample : none;
}

void CMemoryWindow::SetGridContent(int id, const platform::GridContent& content)
{
    Control* control = Find(id, "SetGridContent");
    if (!control)
        return;
    if (control->info.kind != ControlKind::Custom) {
        ADD_FAILURE() << "SetGridContent: " << Where(m_templateId, id) << " is no table grid";
        return;
    }
    control->grid = content;
    control->currentGridCell = -1;
}

void CMemoryWindow::SetGridCellHeader(int id, int cell, bool header)
{
    Control* control = Find(id, "SetGridCellHeader");
    if (!control)
        return;
    if (cell < 0 || cell >= static_cast<int>(control->grid.cells.size())) {
        ADD_FAILURE() << "SetGridCellHeader: " << Where(m_templateId, id) << " has no cell " << cell;
        return;
    }
    control->grid.cells[static_cast<std::size_t>(cell)].header = header;
}

void CMemoryWindow::SetGridCellDescription(int id, int cell, std::string_view description)
{
    Control* control = Find(id, "SetGridCellDescription");
    if (!control)
        return;
    if (cell < 0 || cell >= static_cast<int>(control->grid.cells.size())) {
        ADD_FAILURE() << "SetGridCellDescription: " << Where(m_templateId, id) << " has no cell " << cell;
        return;
    }
    control->grid.cells[static_cast<std::size_t>(cell)].description = description;
}

void CMemoryWindow::SetCurrentGridCell(int id, int cell)
{
    if (Control* control = Find(id, "SetCurrentGridCell"))
        control->currentGridCell = cell;
}

int CMemoryWindow::CurrentGridCell(int id) const
{
    const Control* control = Find(id, "CurrentGridCell");
    return control ? control->currentGridCell : -1;
}

const platform::GridContent& CMemoryWindow::GridOf(int id) const
{
    static const platform::GridContent none;
    const Control* control = Find(id, "GridOf");
    return control ? control->grid : none;
}

int CMemoryWindow::GridCellAt(int id, int row, int column) const
{
    const platform::GridContent& grid = GridOf(id);
    for (std::size_t i = 0; i < grid.cells.size(); ++i) {
        const platform::GridCell& cell = grid.cells[i];
        if (row >= cell.row && row < cell.row + cell.rowSpan && column >= cell.column &&
            column < cell.column + cell.columnSpan)
            return static_cast<int>(i);
    }
    return -1;
}

bool CMemoryWindow::IsGridHeader(int id, int row, int column) const
{
    const int cell = GridCellAt(id, row, column);
    if (cell < 0) {
        ADD_FAILURE() << "IsGridHeader: " << Where(m_templateId, id) << " has no cell at " << row << "," << column;
        return false;
    }
    return GridOf(id).cells[static_cast<std::size_t>(cell)].header;
}

void CMemoryWindow::MoveToGridCell(int id, int row, int column)
{
    Control* control = FindForUser(id, "MoveToGridCell");
    if (!control)
        return;
    const int cell = GridCellAt(id, row, column);
    if (cell < 0 || !control->grid.cells[static_cast<std::size_t>(cell)].selectable) {
        ADD_FAILURE() << "MoveToGridCell: " << Where(m_templateId, id) << " has no cell to move to at " << row << ","
                      << column;
        return;
    }
    m_focus = id;
    if (control->currentGridCell == cell)
        return;
    control->currentGridCell = cell;
    Notify({.control = id, .code = platform::NotifyCode::SelectionChanged, .item = cell});
}

void CMemoryWindow::ToggleGridHeader(int id, platform::GridScope scope)
{
    Control* control = FindForUser(id, "ToggleGridHeader");
    if (!control)
        return;
    if (control->currentGridCell < 0) {
        ADD_FAILURE() << "ToggleGridHeader: " << Where(m_templateId, id) << " has no current cell";
        return;
    }
    m_focus = id;
    Notify({.control = id,
            .code = platform::NotifyCode::KeyPressed,
            .item = control->currentGridCell,
            .column = static_cast<int>(scope),
            .key = platform::Key::Space});
}

void CMemoryWindow::SetCurrentMapArea(int id, int index)
{
    if (Control* control = Find(id, "SetCurrentMapArea"))
        control->currentMapArea = index;
}

std::string CMemoryWindow::MapImage(int id) const
{
    const Control* control = Find(id, "MapImage");
    return control ? control->mapImage : std::string();
}

const std::vector<platform::MapOutline>& CMemoryWindow::MapAreas(int id) const
{
    static const std::vector<platform::MapOutline> none;
    const Control* control = Find(id, "MapAreas");
    return control ? control->mapAreas : none;
}

int CMemoryWindow::CurrentMapArea(int id) const
{
    const Control* control = Find(id, "CurrentMapArea");
    return control ? control->currentMapArea : -1;
}

void CMemoryWindow::PressEnter() { m_logic.OnOk(*this); }
void CMemoryWindow::PressEscape() { m_logic.OnCancel(*this); }
void CMemoryWindow::PressCloseBox() { m_logic.OnClose(*this); }
void CMemoryWindow::PressHelp() { m_logic.OnHelp(*this); }

void CMemoryWindow::ChooseSystemCommand(int command)
{
    auto it = std::find_if(m_systemCommands.begin(), m_systemCommands.end(),
                           [&](const auto& entry) { return entry.first == command; });
    if (it == m_systemCommands.end()) {
        ADD_FAILURE() << "the window menu of template " << m_templateId << " has no command " << command;
        return;
    }
    m_logic.OnSystemCommand(*this, command);
}

void CMemoryWindow::FolderChangedOnDisk(const std::string& folder)
{
    if (!m_ended && !m_watchedFolder.empty() && folder == m_watchedFolder)
        m_logic.OnFolderChanged(*this);
}

void CMemoryWindow::FireTimer(int timer)
{
    if (!IsTimerRunning(timer)) {
        ADD_FAILURE() << "timer " << timer << " of template " << m_templateId << " is not running";
        return;
    }
    m_logic.OnTimer(*this, timer);
}

// --- what the user sees

bool CMemoryWindow::IsTimerRunning(int timer) const { return m_timers.count(timer) != 0; }

std::vector<std::string> CMemoryWindow::SystemCommands() const
{
    std::vector<std::string> texts;
    for (const auto& entry : m_systemCommands)
        texts.push_back(entry.second);
    return texts;
}

std::vector<int> CMemoryWindow::SelectedRows(int id) const
{
    std::vector<int> rows;
    if (const Control* control = Find(id, "SelectedRows")) {
        for (int row = 0; row < static_cast<int>(control->rows.size()); ++row) {
            if (control->rows[row].selected)
                rows.push_back(row);
        }
    }
    return rows;
}

std::vector<std::string> CMemoryWindow::ItemTexts(int id, int column) const
{
    std::vector<std::string> texts;
    if (const Control* control = Find(id, "ItemTexts")) {
        for (const Row& row : control->rows)
            texts.push_back(column < static_cast<int>(row.cells.size()) ? row.cells[column] : std::string{});
    }
    return texts;
}

int CMemoryWindow::PictureOf(int id) const
{
    const Control* control = Find(id, "PictureOf");
    return control ? control->picture : -1;
}

int CMemoryWindow::ImageStrip(int id) const
{
    const Control* control = Find(id, "ImageStrip");
    return control ? control->imageStrip : -1;
}

const std::vector<platform::Column>& CMemoryWindow::Columns(int id) const
{
    static const std::vector<platform::Column> none;
    const Control* control = Find(id, "Columns");
    return control ? control->columns : none;
}

TreeItem CMemoryWindow::FindTreeItem(int id, std::string_view text) const
{
    if (const Control* control = Find(id, "FindTreeItem")) {
        for (const auto& [item, node] : control->tree) {
            if (item != 0 && node.text == text)
                return item;
        }
    }
    return 0;
}

CMemoryWindow& CMemoryWindow::PageWindow(int index)
{
    return static_cast<CMemoryWindow&>(Page(index));
}

// --- IWindow: the window

void CMemoryWindow::AddSystemCommand(int command, std::string_view text)
{
    m_systemCommands.emplace_back(command, std::string(text));
}

void CMemoryWindow::End(int result)
{
    if (m_ended)
        return;
    m_ended = true;
    m_result = result;
    m_timers.clear();
}

void CMemoryWindow::StartTimer(int timer, int milliseconds) { m_timers[timer] = milliseconds; }
void CMemoryWindow::StopTimer(int timer) { m_timers.erase(timer); }

std::pair<int, int> CMemoryWindow::ScreenSize() const { return m_system.screenSize; }

std::vector<platform::ScreenArea> CMemoryWindow::ScreenAreas() const
{
    if (!m_system.screens.empty())
        return m_system.screens;
    return {{0, 0, m_system.screenSize.first, m_system.screenSize.second}};
}

// --- IWindow: any control

bool CMemoryWindow::HasControl(int id) const { return m_controls.count(id) != 0; }

std::optional<ControlKind> CMemoryWindow::KindOf(int id) const
{
    auto it = m_controls.find(id);
    if (it == m_controls.end())
        return std::nullopt;
    return it->second.info.kind;
}

void CMemoryWindow::SetText(int id, std::string_view text)
{
    Control* control = Find(id, "SetText");
    if (!control)
        return;
    if (control->info.kind != ControlKind::Spin) {
        control->text = text;
        return;
    }
    control->position = SpinNumber(text, control->low, control->high).value_or(control->low);
    control->text = std::to_string(control->position);
}

std::string CMemoryWindow::Text(int id) const
{
    const Control* control = Find(id, "Text");
    return control ? control->text : std::string{};
}

void CMemoryWindow::SetChecked(int id, bool checked)
{
    Control* control = Find(id, "SetChecked");
    if (!control)
        return;
    if (checked && control->info.kind == ControlKind::Radio) {
        for (auto& [otherId, other] : m_controls) {
            if (other.info.kind == ControlKind::Radio && other.info.group == control->info.group)
                other.checked = false;
        }
    }
    control->checked = checked;
}

bool CMemoryWindow::IsChecked(int id) const
{
    const Control* control = Find(id, "IsChecked");
    return control && control->checked;
}

void CMemoryWindow::Enable(int id, bool enable)
{
    if (Control* control = Find(id, "Enable"))
        control->enabled = enable;
}

bool CMemoryWindow::IsEnabled(int id) const
{
    const Control* control = Find(id, "IsEnabled");
    return control && control->enabled;
}

void CMemoryWindow::Show(int id, bool show)
{
    if (Control* control = Find(id, "Show"))
        control->visible = show;
}

bool CMemoryWindow::IsVisible(int id) const
{
    const Control* control = Find(id, "IsVisible");
    return control && control->visible;
}

void CMemoryWindow::Focus(int id)
{
    if (Find(id, "Focus"))
        m_focus = id;
}

void CMemoryWindow::SetPicture(int id, int iconId)
{
    if (Control* control = Find(id, "SetPicture"))
        control->picture = iconId;
}

// --- IWindow: rows

void CMemoryWindow::SetColumns(int id, const std::vector<platform::Column>& columns)
{
    if (Control* control = Find(id, "SetColumns"))
        control->columns = columns;
}

void CMemoryWindow::ClearItems(int id)
{
    if (Control* control = Find(id, "ClearItems")) {
        control->rows.clear();
        control->current = -1;
    }
}

int CMemoryWindow::AddItem(int id, std::string_view text, platform::ItemData data)
{
    Control* control = Find(id, "AddItem");
    if (!control)
        return -1;
    if (!HasRows(control->info.kind)) {
        ADD_FAILURE() << "AddItem: " << Where(m_templateId, id) << " is a "
                      << platform::ControlKindName(control->info.kind) << ", which has no rows";
        return -1;
    }
    Row row;
    row.cells.emplace_back(text);
    row.data = data;
    control->rows.push_back(std::move(row));
    return static_cast<int>(control->rows.size()) - 1;
}

void CMemoryWindow::RemoveItem(int id, int row)
{
    if (!FindRow(id, row, "RemoveItem"))
        return;
    Control& control = m_controls[id];
    control.rows.erase(control.rows.begin() + row);
    if (control.current >= static_cast<int>(control.rows.size()))
        control.current = static_cast<int>(control.rows.size()) - 1;
}

int CMemoryWindow::ItemCount(int id) const
{
    const Control* control = Find(id, "ItemCount");
    return control ? static_cast<int>(control->rows.size()) : 0;
}

void CMemoryWindow::SetItemText(int id, int row, int column, std::string_view text)
{
    Row* target = FindRow(id, row, "SetItemText");
    if (!target || column < 0)
        return;
    if (static_cast<int>(target->cells.size()) <= column)
        target->cells.resize(column + 1);
    target->cells[column] = text;
}

std::string CMemoryWindow::ItemText(int id, int row, int column) const
{
    const Row* target = FindRow(id, row, "ItemText");
    if (!target || column < 0 || column >= static_cast<int>(target->cells.size()))
        return {};
    return target->cells[column];
}

platform::ItemData CMemoryWindow::GetItemData(int id, int row) const
{
    const Row* target = FindRow(id, row, "GetItemData");
    return target ? target->data : 0;
}

void CMemoryWindow::SetItemIcon(int id, int row, int icon)
{
    if (Row* target = FindRow(id, row, "SetItemIcon"))
        target->icon = icon;
}

int CMemoryWindow::ItemIcon(int id, int row) const
{
    const Row* target = FindRow(id, row, "ItemIcon");
    return target ? target->icon : -1;
}

void CMemoryWindow::SetItemSelected(int id, int row, bool selected)
{
    if (Row* target = FindRow(id, row, "SetItemSelected"))
        target->selected = selected;
}

bool CMemoryWindow::IsItemSelected(int id, int row) const
{
    const Row* target = FindRow(id, row, "IsItemSelected");
    return target && target->selected;
}

void CMemoryWindow::SetCurrentItem(int id, int row)
{
    Control* control = Find(id, "SetCurrentItem");
    if (!control)
        return;
    if (row >= static_cast<int>(control->rows.size())) {
        ADD_FAILURE() << "SetCurrentItem: " << Where(m_templateId, id) << " has no row " << row;
        return;
    }
    control->current = row;
    if (control->info.kind == ControlKind::Combo)
        control->text = row < 0 || control->rows[row].cells.empty() ? std::string{} : control->rows[row].cells[0];
}

int CMemoryWindow::CurrentItem(int id) const
{
    const Control* control = Find(id, "CurrentItem");
    return control ? control->current : -1;
}

void CMemoryWindow::ReorderItems(int id, const std::vector<int>& order)
{
    Control* control = Find(id, "ReorderItems");
    if (!control)
        return;
    if (order.size() != control->rows.size()) {
        ADD_FAILURE() << "ReorderItems: the order of " << Where(m_templateId, id) << " has "
                      << order.size() << " rows, the list " << control->rows.size();
        return;
    }
    std::vector<Row> rows;
    rows.reserve(order.size());
    int current = -1;
    for (std::size_t i = 0; i < order.size(); ++i) {
        rows.push_back(std::move(control->rows.at(order[i])));
        if (order[i] == control->current)
            current = static_cast<int>(i);
    }
    control->rows = std::move(rows);
    control->current = current;
}

void CMemoryWindow::SetImageStrip(int id, int bitmapId)
{
    if (Control* control = Find(id, "SetImageStrip"))
        control->imageStrip = bitmapId;
}

void CMemoryWindow::SetComboEditable(int id, bool editable, std::string_view text)
{
    Control* control = Find(id, "SetComboEditable");
    if (!control)
        return;
    if (control->info.kind != ControlKind::Combo) {
        ADD_FAILURE() << "SetComboEditable: " << Where(m_templateId, id) << " is no combo";
        return;
    }
    control->comboEditable = editable;
    if (editable)
        control->text = text;
    // Back to the list, the box shows its chosen entry again.
    if (!editable) {
        const bool chosen = control->current >= 0 && control->current < static_cast<int>(control->rows.size());
        control->text = chosen && !control->rows[static_cast<std::size_t>(control->current)].cells.empty()
                            ? control->rows[static_cast<std::size_t>(control->current)].cells[0]
                            : std::string();
    }
}

bool CMemoryWindow::IsComboEditable(int id) const
{
    const Control* control = Find(id, "IsComboEditable");
    return control && control->comboEditable.value_or(false);
}

void CMemoryWindow::SetImageTexts(int id, const std::vector<std::string>& texts)
{
    if (Control* control = Find(id, "SetImageTexts"))
        control->imageTexts = texts;
}

void CMemoryWindow::SetPictureText(int id, std::string_view text)
{
    if (Control* control = Find(id, "SetPictureText"))
        control->pictureText = std::string(text);
}

std::string CMemoryWindow::PictureText(int id) const
{
    const Control* control = Find(id, "PictureText");
    return control ? control->pictureText : std::string();
}

std::string CMemoryWindow::ItemStateText(int id, int row) const
{
    const Control* control = Find(id, "ItemStateText");
    const int icon = ItemIcon(id, row);
    if (!control || icon < 0 || icon >= static_cast<int>(control->imageTexts.size()))
        return {};
    return control->imageTexts[static_cast<std::size_t>(icon)];
}

void CMemoryWindow::WatchKey(int id, Key key)
{
    if (Control* control = Find(id, "WatchKey"))
        control->watchedKeys.push_back(key);
}

// --- IWindow: trees

void CMemoryWindow::ClearTree(int id)
{
    if (Control* control = Find(id, "ClearTree")) {
        control->tree.clear();
        control->selectedTreeItem = 0;
    }
}

TreeItem CMemoryWindow::AddTreeItem(int id, TreeItem parent, std::string_view text, int image,
                                    platform::ItemData data)
{
    Control* control = Find(id, "AddTreeItem");
    if (!control)
        return 0;
    if (control->info.kind != ControlKind::Tree) {
        ADD_FAILURE() << "AddTreeItem: " << Where(m_templateId, id) << " is not a tree";
        return 0;
    }
    control->tree[0]; // the invisible root
    if (parent != 0 && !control->tree.count(parent)) {
        ADD_FAILURE() << "AddTreeItem: " << Where(m_templateId, id) << " has no item " << parent;
        return 0;
    }
    const TreeItem item = m_nextTreeItem++;
    TreeNode node;
    node.parent = parent;
    node.text = text;
    node.image = image;
    node.data = data;
    control->tree[item] = std::move(node);
    control->tree[parent].children.push_back(item);
    return item;
}

std::vector<TreeItem> CMemoryWindow::TreeChildren(int id, TreeItem parent) const
{
    const Control* control = Find(id, "TreeChildren");
    if (!control)
        return {};
    auto it = control->tree.find(parent);
    return it == control->tree.end() ? std::vector<TreeItem>{} : it->second.children;
}

std::string CMemoryWindow::TreeItemText(int id, TreeItem item) const
{
    const TreeNode* node = FindNode(id, item, "TreeItemText");
    return node ? node->text : std::string{};
}

platform::ItemData CMemoryWindow::TreeItemData(int id, TreeItem item) const
{
    const TreeNode* node = FindNode(id, item, "TreeItemData");
    return node ? node->data : 0;
}

void CMemoryWindow::SetTreeItemImage(int id, TreeItem item, int image)
{
    if (TreeNode* node = FindNode(id, item, "SetTreeItemImage"))
        node->image = image;
}

int CMemoryWindow::TreeItemImage(int id, TreeItem item) const
{
    const TreeNode* node = FindNode(id, item, "TreeItemImage");
    return node ? node->image : -1;
}

void CMemoryWindow::ExpandTreeItem(int id, TreeItem item, bool expand)
{
    if (TreeNode* node = FindNode(id, item, "ExpandTreeItem"))
        node->expanded = expand;
}

bool CMemoryWindow::IsTreeItemExpanded(int id, TreeItem item) const
{
    const TreeNode* node = FindNode(id, item, "IsTreeItemExpanded");
    return node && node->expanded;
}

void CMemoryWindow::SortTreeChildren(int id, TreeItem parent)
{
    Control* control = Find(id, "SortTreeChildren");
    if (!control || !control->tree.count(parent))
        return;
    auto& children = control->tree[parent].children;
    std::stable_sort(children.begin(), children.end(), [&](TreeItem a, TreeItem b) {
        return strcasecmp(control->tree[a].text.c_str(), control->tree[b].text.c_str()) < 0;
    });
}

void CMemoryWindow::SelectTreeItem(int id, TreeItem item)
{
    Control* control = Find(id, "SelectTreeItem");
    if (!control || (item != 0 && !FindNode(id, item, "SelectTreeItem")))
        return;
    control->selectedTreeItem = item;
}

TreeItem CMemoryWindow::SelectedTreeItem(int id) const
{
    const Control* control = Find(id, "SelectedTreeItem");
    return control ? control->selectedTreeItem : 0;
}

// --- IWindow: progress bars

void CMemoryWindow::SetRange(int id, int low, int high)
{
    if (Control* control = Find(id, "SetRange")) {
        control->low = low;
        control->high = high;
        if (control->info.kind == ControlKind::Spin)
            SetPosition(id, control->position);
    }
}

void CMemoryWindow::SetPosition(int id, int position)
{
    Control* control = Find(id, "SetPosition");
    if (!control)
        return;
    if (control->info.kind != ControlKind::Spin) {
        control->position = position;
        return;
    }
    control->position = std::clamp(position, control->low, std::max(control->low, control->high));
    control->text = std::to_string(control->position);
}

int CMemoryWindow::Position(int id) const
{
    const Control* control = Find(id, "Position");
    return control ? control->position : 0;
}

std::pair<int, int> CMemoryWindow::Range(int id) const
{
    const Control* control = Find(id, "Range");
    return control ? std::pair{control->low, control->high} : std::pair{0, 0};
}

platform::IBrowser* CMemoryWindow::Browser(int id)
{
    Control* control = Find(id, "Browser");
    return control ? control->browser.get() : nullptr;
}

std::string CMemoryWindow::BrowserResourceFolder(int id)
{
    Control* control = Find(id, "BrowserResourceFolder");
    return control && control->browser ? control->browser->resourceFolder : std::string();
}

platform::IMediaPlayer* CMemoryWindow::MediaPlayer(int id)
{
    Control* control = Find(id, "MediaPlayer");
    return control ? control->player.get() : nullptr;
}

std::vector<std::string> CMemoryWindow::PlayedFiles(int id)
{
    Control* control = Find(id, "PlayedFiles");
    return control && control->player ? control->player->played : std::vector<std::string>{};
}

std::string CMemoryWindow::PlayerBaseAddress(int id)
{
    Control* control = Find(id, "PlayerBaseAddress");
    return control && control->player ? control->player->baseAddress : std::string();
}

void CMemoryWindow::PlayerReachesEnd(int id)
{
    Control* control = Find(id, "PlayerReachesEnd");
    if (control && control->player)
        control->player->Become(platform::MediaState::Stopped, {});
}

void CMemoryWindow::PlayerFails(int id, std::string_view reason)
{
    Control* control = Find(id, "PlayerFails");
    if (control && control->player)
        control->player->Become(platform::MediaState::Failed, reason);
}

// --- IWindow: pages

platform::IWindow& CMemoryWindow::AddPage(int templateId, platform::IDialogLogic& logic, std::string_view)
{
    m_pages.push_back(std::make_unique<CMemoryWindow>(templateId, logic, this, m_system));
    CMemoryWindow& page = *m_pages.back();
    logic.OnInit(page);
    return page;
}

platform::IWindow& CMemoryWindow::Page(int index) { return *m_pages.at(index); }

void CMemoryWindow::ShowPage(int index)
{
    if (index < 0 || index >= PageCount()) {
        ADD_FAILURE() << "ShowPage: template " << m_templateId << " has no page " << index;
        return;
    }
    m_currentPage = index;
    m_pages[index]->m_logic.OnActivate(*m_pages[index]);
}

// --- the prompt and the window system

int CScriptedPrompt::Show(std::string_view caption, std::string_view text, platform::PromptIcon icon,
                          platform::PromptButtons buttons, int defaultAnswer)
{
    messages.push_back({std::string(caption), std::string(text), icon, buttons, defaultAnswer});
    if (answers.empty())
        return platform::kAnswerOk;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

CMemoryWindows::CMemoryWindows() : m_previousWindows(&platform::Windows()), m_promptScope(prompt)
{
    platform::SetWindows(this);
}

CMemoryWindows::~CMemoryWindows()
{
    platform::SetWindows(m_previousWindows);
    for (const auto& [templateId, steps] : m_scripts)
        ADD_FAILURE() << "template " << templateId << " was expected but never shown";
}

void CMemoryWindows::WhenShown(int templateId, UserSteps steps) { m_scripts.emplace_back(templateId, std::move(steps)); }

int CMemoryWindows::RunModal(int templateId, platform::IDialogLogic& logic, platform::IWindow* owner)
{
    if (std::find(m_unmakeable.begin(), m_unmakeable.end(), templateId) != m_unmakeable.end())
        return -1;
    m_shown.push_back(templateId);
    if (m_scripts.empty()) {
        ADD_FAILURE() << "template " << templateId << " was shown, but the test expected no window";
        return -1;
    }
    auto [expected, steps] = std::move(m_scripts.front());
    m_scripts.pop_front();
    if (expected != templateId) {
        ADD_FAILURE() << "template " << templateId << " was shown where the test expected " << expected;
        return -1;
    }
    CMemoryWindow window(templateId, logic, static_cast<CMemoryWindow*>(owner), *this);
    logic.OnInit(window);
    if (!window.HasEnded() && steps)
        steps(window);
    if (!window.HasEnded())
        ADD_FAILURE() << "the user's steps left template " << templateId << " open";
    logic.OnDestroy(window);
    return window.Result();
}

std::optional<std::string> CMemoryWindows::ChooseFileToOpen(platform::IWindow*, const platform::FileDialogRequest& request)
{
    fileRequests.push_back(request);
    if (fileAnswers.empty()) {
        ADD_FAILURE() << "a file dialog \"" << request.title << "\" opened; the test gave no answer";
        return std::nullopt;
    }
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::optional<std::string> CMemoryWindows::ChooseFileToSave(platform::IWindow* owner,
                                                            const platform::FileDialogRequest& request)
{
    return ChooseFileToOpen(owner, request);
}

std::optional<platform::Colour> CMemoryWindows::ChooseColour(platform::IWindow*, platform::Colour,
                                                             std::string_view title)
{
    colourDialogTitles.emplace_back(title);
    if (colourAnswers.empty()) {
        ADD_FAILURE() << "the colour chooser opened; the test gave no answer";
        return std::nullopt;
    }
    auto answer = colourAnswers.front();
    colourAnswers.pop_front();
    return answer;
}

bool CMemoryWindows::OpenAddress(std::string_view address)
{
    openedAddresses.emplace_back(address);
    return true;
}

} // namespace orvane::test
