#include "selector_dlg.h"

#include "common/orvane_settings.h"
#include "platform/bundle_strings.h"
#include "platform/help.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "selector_ids.h"

#include <algorithm>
#include <filesystem>
#include <numeric>

namespace orvane::selector {
namespace {

using platform::IWindow;

constexpr std::string_view kLeft = "SelectorLocationLeft";
constexpr std::string_view kRight = "SelectorLocationRight";
constexpr std::string_view kTop = "SelectorLocationTop";
constexpr std::string_view kBottom = "SelectorLocationBottom";
constexpr std::string_view kMaximized = "SelectorMaximized";
constexpr std::string_view kColumns[3] = {"SelectorCol0", "SelectorCol1", "SelectorCol2"};
constexpr std::string_view kLastDirectory = "SelectorLastDirectory";
constexpr std::string_view kDirectorySpecial = "SelectorDirectorySpecial";
constexpr std::size_t kLastDirectoryBuffer = 500;

std::string Text(int id) { return platform::Strings().Get(id); }

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsPageExtension(std::string extension)
{
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* known : {".htm", ".shtml", ".shtm", ".html", ".txt"}) {
        if (extension == known)
            return true;
    }
    return false;
}

bool IsInside(const std::string& folder, const std::string& root)
{
    if (root.empty())
        return false;
    if (folder == root || root == "/")
        return folder.compare(0, root.size(), root) == 0;
    return folder.compare(0, root.size() + 1, root + "/") == 0;
}

const char* ImageOfItem(int kind)
{
    switch (kind) {
    case itemkind::kHtml:
    case itemkind::kHtmlLink: return "text-html";
    case itemkind::kText:
    case itemkind::kTextLink: return "text-plain";
    case itemkind::kFolder: return "folder";
    default: return "text-x-generic";
    }
}

const char* ImageOfMount(int kind)
{
    switch (kind) {
    case mountkind::kRemovable: return "drive-removable-media";
    case mountkind::kOptical: return "drive-optical";
    case mountkind::kNetwork: return "folder-remote";
    default: return "drive-harddisk";
    }
}

// A question with Yes and No; defaultAnswer is what Enter gives.
int Ask(const std::string& text, int defaultAnswer = platform::kAnswerYes)
{
    return platform::Prompt().Show(Text(text::kCaption), text, platform::PromptIcon::Exclamation,
                                   platform::PromptButtons::YesNo, defaultAnswer);
}

void Tell(const std::string& text)
{
    platform::Prompt().Show(Text(text::kCaption), text, platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
}

} // namespace

CSelectorDlg::CSelectorDlg(ICheckerLibrary& library, ISelectorFiles& files, std::string databasePath)
    : m_library(library), m_files(files), m_database(std::move(databasePath))
{
}

void CSelectorDlg::Message(int textId) const { Tell(Text(textId)); }

// --- Start and end.

void CSelectorDlg::OnInit(IWindow& window)
{
    m_special = m_files.Special();
    m_state = LoadWindowState();
    m_desktopMode = m_state.special == 1;
    m_documentsMode = m_state.special == 2;
    window.SetChecked(kIdShowHtml, true);
    // A folder that went away since the last run gives way to the working folder.
    if (!m_startFolder.empty() && m_files.CanEnter(m_startFolder))
        m_currentFolder = m_startFolder;
    else if (!m_state.lastFolder.empty() && m_files.CanEnter(m_state.lastFolder))
        m_currentFolder = m_state.lastFolder;
    else
        m_currentFolder = m_files.CurrentDirectory();
    m_database.Read();
    window.SetIcon(kIconWindow);
    window.SetTitle(Text(text::kCaption));
    window.SetImageStrip(kIdFiles, kBitmapMarks);
    // A file's status is its mark; a screen reader reads the mark's words with the name.
    window.SetImageTexts(kIdFiles, {std::string(), Text(text::kMarkNotChecked), Text(text::kMarkChecked),
                                    Text(text::kMarkPartlyRepaired), Text(text::kMarkProblemsRemain),
                                    Text(text::kMarkNotCheckable), Text(text::kTypeFolder)});
    window.SetColumns(kIdFiles, {{Text(text::kColumnName), m_state.columns[0], platform::Align::Left},
                                 {Text(text::kColumnSize), m_state.columns[1], platform::Align::Right},
                                 {Text(text::kColumnDate), m_state.columns[2], platform::Align::Left},
                                 {Text(text::kColumnType), std::max(60, window.ClientWidth() - 385),
                                  platform::Align::Left, true}});
    window.WatchKey(kIdFiles, platform::Key::Enter);
    window.WatchKey(kIdFiles, platform::Key::Backspace);
    for (platform::Key key : {platform::Key::F5, platform::Key::AltUp, platform::Key::CtrlL})
        window.WatchWindowKey(key);
    window.SetComboEditable(kIdLookIn, false);
    window.AcceptDroppedFiles();
    FillLookIn(window);
    ListFolder(window);
    if (const std::string about = Text(text::kAboutMenu); !about.empty())
        window.AddSystemCommand(platform::kCommandAbout, about);
    // Saved on a screen that is no longer there, the window would open out of reach.
    if (m_state.complete)
        window.SetPlacement(platform::BringOntoScreens(m_state.placement, window.ScreenAreas()));
    window.Focus(kIdFiles);
    SelectOnFocus(window);
    BindLibrary();
}

void CSelectorDlg::BindLibrary()
{
    if (!m_libraryLoaded) {
        if (!m_library.Load()) {
            const std::string reason = m_library.LoadError();
            Tell(reason.empty() ? Text(text::kNoLibrary) : platform::Strings().Format(text::kLibraryNotLoaded, {reason}));
            return;
        }
        m_libraryLoaded = true;
    }
    if (!m_validateDoc && !(m_validateDoc = m_library.ResolvePathFunction("ValidateDoc")))
        Message(text::kNoValidateDoc);
    if (!m_saveDoc && !(m_saveDoc = m_library.ResolvePathFunction("SaveDoc")))
        Message(text::kNoSaveDoc);
    if (!m_displaySettings && !(m_displaySettings = m_library.ResolveAction("DisplaySettings")))
        Message(text::kNoDisplaySettings);
    if (!m_getSettings && !(m_getSettings = m_library.ResolveSettings("GetSettings")))
        Message(text::kNoGetSettings);
    if (!m_displayAbout && !(m_displayAbout = m_library.ResolveAction("DisplayAbout")))
        Message(text::kNoDisplayAbout);
}

void CSelectorDlg::OnDestroy(IWindow& window)
{
    m_database.Write();
    SaveWindowState(window);
}

CSelectorDlg::WindowState CSelectorDlg::LoadWindowState() const
{
    WindowState state;
    std::unique_ptr<platform::IRegistryKey> key =
        platform::Registry().OpenKey(platform::kOrvaneRegistryKey, platform::RegistryAccess::Read);
    if (!key)
        return state;
    int* edges[4] = {&state.placement.left, &state.placement.right, &state.placement.top, &state.placement.bottom};
    const std::string_view names[4] = {kLeft, kRight, kTop, kBottom};
    bool read = true;
    for (int i = 0; i < 4 && read; ++i) {
        std::optional<std::uint32_t> value = key->QueryDword(names[i]);
        if ((read = value.has_value()))
            *edges[i] = static_cast<std::int32_t>(*value);
    }
    if (read) {
        std::optional<std::uint32_t> maximized = key->QueryDword(kMaximized);
        if ((read = maximized.has_value()))
            state.placement.maximized = *maximized == 1;
    }
    state.complete = read;
    read = true;
    for (int i = 0; i < 3 && read; ++i) {
        std::optional<std::uint32_t> width = key->QueryDword(kColumns[i]);
        if ((read = width.has_value()) && static_cast<std::int32_t>(*width) > 0)
            state.columns[static_cast<std::size_t>(i)] = static_cast<int>(*width);
    }
    std::optional<std::string> last = key->QueryString(kLastDirectory, kLastDirectoryBuffer);
    std::optional<std::uint32_t> special = key->QueryDword(kDirectorySpecial);
    if (last)
        state.lastFolder = *last;
    if (special)
        state.special = static_cast<int>(*special);
    if (!read || !last || !special)
        state.complete = false;
    return state;
}

void CSelectorDlg::SaveWindowState(IWindow& window) const
{
    std::unique_ptr<platform::IRegistryKey> key = platform::Registry().CreateKey(platform::kOrvaneRegistryKey);
    if (!key)
        return;
    const platform::WindowPlacement placement = window.Placement();
    key->SetDword(kLeft, static_cast<std::uint32_t>(placement.left));
    key->SetDword(kRight, static_cast<std::uint32_t>(placement.right));
    key->SetDword(kTop, static_cast<std::uint32_t>(placement.top));
    key->SetDword(kBottom, static_cast<std::uint32_t>(placement.bottom));
    key->SetDword(kMaximized, placement.maximized ? 1u : 0u);
    for (int i = 0; i < 3; ++i) {
        const int width = window.ColumnWidth(kIdFiles, i);
        key->SetDword(kColumns[i], static_cast<std::uint32_t>(width > 0 ? width : m_state.columns[static_cast<std::size_t>(i)]));
    }
    key->SetDword(kDirectorySpecial, m_desktopMode ? 1u : m_documentsMode ? 2u : 0u);
    key->SetString(kLastDirectory, m_currentFolder);
    key->Flush();
}

// --- What the user does.

void CSelectorDlg::OnNotify(IWindow& window, const platform::Notification& notification)
{
    using platform::NotifyCode;
    switch (notification.code) {
    case NotifyCode::Clicked:
        switch (notification.control) {
        case kIdCheck: CheckSelection(window); break;
        case kIdSettings:
            if (m_displaySettings)
                m_displaySettings();
            else
                Message(text::kNoSettings);
            break;
        case kIdShowHelp: ShowHelp(window); break;
        case kIdUp: Up(window); break;
        case kIdRefresh: ListFolder(window); break;
        case kIdClose: window.End(platform::kIdCancel); break;
        case kIdShowHtml:
        case kIdShowText:
        case kIdShowAll: FilterChanged(window); break;
        default: break;
        }
        break;
    // Stepping through the closed list with the arrow keys opens nothing (a
    // drive stepped over may not be ready); a pick in the open list does.
    case NotifyCode::Chosen:
        if (notification.control == kIdLookIn) {
            const int row = window.CurrentItem(kIdLookIn);
            if (m_typingLocation)
                EndTypedLocation(window);
            LookInChosen(window, row);
        }
        break;
    // Leaving the look-in list with an entry stepped to but not chosen: it
    // shows again where the listing is.
    case NotifyCode::FocusGained:
        if (notification.control != kIdLookIn && m_typingLocation)
            EndTypedLocation(window);
        if (notification.control != kIdLookIn && window.CurrentItem(kIdLookIn) != m_lastLookIn)
            window.SetCurrentItem(kIdLookIn, m_lastLookIn);
        // A click selects the row clicked; Tab into the list selects a row
        // so that Check has one.
        if (notification.control == kIdFiles && notification.focusCause == platform::FocusCause::Keyboard)
            SelectOnFocus(window);
        break;
    case NotifyCode::DoubleClicked:
        if (notification.control == kIdFiles && notification.item >= 0)
            ActivateRow(window, notification.item);
        break;
    case NotifyCode::KeyPressed:
        if (notification.control == 0) {
            switch (notification.key) {
            case platform::Key::F5: ListFolder(window); break;
            case platform::Key::AltUp:
                if (m_typingLocation)
                    EndTypedLocation(window);
                Up(window);
                break;
            case platform::Key::CtrlL: BeginTypedLocation(window); break;
            default: break;
            }
        } else if (notification.control == kIdFiles && notification.key == platform::Key::Backspace) {
            Up(window);
        } else if (notification.control == kIdFiles && notification.key == platform::Key::Enter) {
            std::vector<int> selected;
            for (int row = 0; row < window.ItemCount(kIdFiles); ++row) {
                if (window.IsItemSelected(kIdFiles, row))
                    selected.push_back(row);
            }
            if (selected.size() == 1)
                ActivateRow(window, selected.front());
            else if (selected.size() > 1)
                CheckSelection(window);
        }
        break;
    case NotifyCode::ColumnClicked:
        if (notification.control == kIdFiles && notification.column >= 0 && notification.column < 4) {
            m_ascending[static_cast<std::size_t>(notification.column)] =
                !m_ascending[static_cast<std::size_t>(notification.column)];
            SortBy(window, notification.column);
        }
        break;
    default: break;
    }
}

// Enter never closes the window: on a show-files box it ticks the box, on
// a button it presses the button (none is the default one).
void CSelectorDlg::OnOk(IWindow& window)
{
    const int focused = window.FocusedControl();
    if (m_typingLocation && focused == kIdLookIn) {
        GoToTypedLocation(window);
        return;
    }
    if (window.KindOf(focused) == platform::ControlKind::Button && window.IsEnabled(focused)) {
        OnNotify(window, {focused, platform::NotifyCode::Clicked});
        return;
    }
    if ((focused == kIdShowHtml || focused == kIdShowText || focused == kIdShowAll) && window.IsEnabled(focused)) {
        window.SetChecked(focused, !window.IsChecked(focused));
        FilterChanged(window);
    }
    // The look-in entry stepped to with the arrow keys, chosen with Enter.
    if (focused == kIdLookIn && window.CurrentItem(kIdLookIn) != m_lastLookIn)
        LookInChosen(window, window.CurrentItem(kIdLookIn));
}

// Escape does not close the window; the close box and the Close button do.
// While a location is typed, Escape gives the look-in list back.
void CSelectorDlg::OnCancel(IWindow& window)
{
    if (m_typingLocation)
        EndTypedLocation(window);
}

void CSelectorDlg::OnClose(IWindow& window) { window.End(platform::kIdCancel); }

void CSelectorDlg::OnHelp(IWindow& window) { ShowHelp(window); }

void CSelectorDlg::OnSystemCommand(IWindow&, int command)
{
    if (command != platform::kCommandAbout)
        return;
    if (m_displayAbout)
        m_displayAbout();
    else
        Message(text::kNoAbout);
}

// Another program added, removed or wrote files of the folder shown.
void CSelectorDlg::OnFolderChanged(IWindow& window)
{
    // A listing that tells of a folder gone waits for the user to read it.
    if (m_listing)
        return;
    if (m_checking > 0)
        m_relistPending = true;
    else
        ListFolder(window);
}

void CSelectorDlg::OnDropFiles(IWindow& window, const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        if (!m_files.CanEnter(path))
            CheckFile(window, path);
    }
}

void CSelectorDlg::ShowHelp(IWindow& window)
{
    platform::IHelpViewer* viewer = platform::HelpViewer();
    if (m_helpFailed || !viewer)
        return;
    // The checker's help file, in the language of the window.
    const std::string helpFile = platform::HelpFileFor(platform::BundleLanguage());
    if (helpFile.empty() || (helpFile != viewer->OpenFile() && !viewer->Open(helpFile))) {
        m_helpFailed = true;
        return;
    }
    viewer->ShowTopic(&window, "Tamsel.html");
}

// --- Checking and saving.

void CSelectorDlg::CheckSelection(IWindow& window)
{
    std::vector<std::string> paths;
    bool any = false;
    for (int row = 0; row < window.ItemCount(kIdFiles); ++row) {
        if (!window.IsItemSelected(kIdFiles, row))
            continue;
        any = true;
        const CListingItem& item = m_items[static_cast<std::size_t>(window.GetItemData(kIdFiles, row))];
        if (item.kind == itemkind::kFolder)
            continue;
        if (std::string path = CheckablePath(window, row); !path.empty())
            paths.push_back(std::move(path));
    }
    if (!any) {
        Message(text::kNothingSelected);
        return;
    }
    bool newFiles = false;
    for (const std::string& path : paths)
        newFiles = CheckFile(window, path) == 1 || newFiles;
    if (newFiles)
        ListFolder(window);
    window.Focus(kIdFiles);
}

void CSelectorDlg::ActivateRow(IWindow& window, int row)
{
    const CListingItem& item = m_items[static_cast<std::size_t>(window.GetItemData(kIdFiles, row))];
    if (item.kind == itemkind::kFolder) {
        Navigate(window, JoinPath(m_currentFolder, item.name));
        return;
    }
    const std::string path = CheckablePath(window, row);
    if (!path.empty() && CheckFile(window, path) == 1)
        ListFolder(window);
}

std::string CSelectorDlg::CheckablePath(IWindow& window, int row) const
{
    std::string path = ItemPath(window, row);
    if (path.empty()) {
        const CListingItem& item = m_items[static_cast<std::size_t>(window.GetItemData(kIdFiles, row))];
        Tell(platform::Strings().Format(text::kLinkLeadsNowhere, {JoinPath(m_currentFolder, item.name)}));
    }
    return path;
}

std::string CSelectorDlg::ItemPath(IWindow& window, int row) const
{
    const CListingItem& item = m_items[static_cast<std::size_t>(window.GetItemData(kIdFiles, row))];
    const std::string path = JoinPath(m_currentFolder, item.name);
    if (item.kind == itemkind::kHtmlLink || item.kind == itemkind::kTextLink)
        return m_files.LinkTarget(path);
    return path;
}

int CSelectorDlg::CheckFile(IWindow& window, const std::string& path)
{
    // The checker's windows wait for the user, and the changes a save makes
    // to the folder arrive meanwhile: the listing is renewed once, at the end.
    struct Checking {
        CSelectorDlg& selector;
        IWindow& window;
        explicit Checking(CSelectorDlg& s, IWindow& w) : selector(s), window(w) { ++selector.m_checking; }
        ~Checking()
        {
            if (--selector.m_checking == 0 && selector.m_relistPending)
                selector.ListFolder(window);
        }
        Checking(const Checking&) = delete;
        Checking& operator=(const Checking&) = delete;
    } checking(*this, window);
    if (!m_validateDoc || !m_saveDoc) {
        Message(text::kNoChecking);
        return 0;
    }
    if (path.empty())
        return 0;
    // Enter must not check a file the user did not mean to.
    if (!IsPageExtension(PageExtensionOf(path)) &&
        Ask(Text(text::kUnknownTypeBefore) + path + Text(text::kUnknownTypeAfter), platform::kAnswerNo) !=
            platform::kAnswerYes)
        return 0;

    const int result = m_validateDoc(path.c_str());
    if (result < 0 || result == 0 || result == 2) {
        MarkFile(window, path, result < 0 ? 4 : result == 0 ? 1 : 3);
        return 0;
    }
    const auto* settings = m_getSettings ? static_cast<const COrvaneSettings*>(m_getSettings()) : nullptr;
    if (!settings)
        return 0;
    std::string saved;
    switch (settings->GetFileSaves()) {
    case filesaves::kReplace: saved = SaveReplacing(path); break;
    case filesaves::kReplaceKeepOriginal: saved = SaveKeepingBackup(window, path, settings->GetOriginalExtension()); break;
    case filesaves::kBeside: saved = SaveBeside(path, settings->GetValidateExtension()); break;
    case filesaves::kAsk: saved = SaveAsked(window, path); break;
    default: break;
    }
    const int savedStatus = result == 3 ? 2 : 1;
    if (saved.empty()) {
        MarkFile(window, path, 3);
        return 0;
    }
    if (saved == path) {
        MarkFile(window, path, savedStatus);
        return 0;
    }
    MarkFile(window, path, 3);
    MarkFile(window, saved, savedStatus);
    return 1;
}

// The library writes the page; the common saving code decides where and keeps
// the original safe around it.
PageWriter CSelectorDlg::LibraryWriter() const
{
    return [this](const std::string& target) { return m_saveDoc(target.c_str()) == 1; };
}

bool CSelectorDlg::SaveOver(const std::string& target) { return SavePageOver(m_files, LibraryWriter(), target); }

// A failed write in place is told, with where the original page is now
// when its bytes could not go back.
void CSelectorDlg::TellSaveFailed(const std::string& path, const PageSaveResult& result)
{
    std::string message = Text(text::kCouldNotSave) + path;
    if (!result.originalKeptIn.empty())
        message += "\n" + result.originalKeptIn;
    Tell(message);
}

std::string CSelectorDlg::SaveReplacing(const std::string& path)
{
    const PageSaveResult result = SavePageReplacing(m_files, LibraryWriter(), path);
    if (result.noCopyAside) {
        std::string message = Text(text::kNoCopyAside);
        if (!result.saved.empty())
            message += Text(text::kNoCopyAsideSavedAs) + result.saved;
        else
            message += Text(text::kNoCopyAsideNotSaved);
        Tell(message);
    } else if (result.saved.empty()) {
        TellSaveFailed(path, result);
    }
    return result.saved;
}

std::string CSelectorDlg::SaveKeepingBackup(IWindow& window, const std::string& path, const std::string& originalExtension)
{
    const PageSaveResult result = SavePageKeepingBackup(m_files, LibraryWriter(), path, originalExtension);
    if (result.saved.empty()) {
        TellSaveFailed(path, result);
        return {};
    }
    MarkFile(window, result.backup, 3);
    return result.saved;
}

std::string CSelectorDlg::SaveBeside(const std::string& path, const std::string& validatedExtension)
{
    return SavePageBeside(m_files, LibraryWriter(), path, validatedExtension).saved;
}

std::string CSelectorDlg::SaveAsked(IWindow& window, const std::string& path)
{
    platform::FileDialogRequest request;
    request.title = Text(text::kSaveDialogTitle);
    request.initialPath = path;
    request.filters = {{Text(text::kSaveDialogFilter), "*.html *.htm *.shtml *.shtm"}};
    request.defaultExtension = "htm";
    for (;;) {
        std::optional<std::string> chosen = platform::Windows().ChooseFileToSave(&window, request);
        if (chosen && !chosen->empty()) {
            if (SaveOver(*chosen))
                return *chosen;
            if (Ask(Text(text::kSaveFailedBefore) + *chosen + Text(text::kSaveFailedAfter)) != platform::kAnswerYes)
                return {};
            request.initialPath = *chosen;
        } else if (Ask(Text(text::kSaveCancelled)) != platform::kAnswerYes) {
            return {};
        }
    }
}

void CSelectorDlg::MarkFile(IWindow& window, const std::string& path, int status)
{
    const int mark = MarkOfStatus(status);
    m_database.Update(path, mark, m_files.ModificationTime(path));
    if (FolderOf(path) != m_listedFolder)
        return;
    const std::string name = NameOf(path);
    for (int row = 0; row < window.ItemCount(kIdFiles); ++row) {
        CListingItem& item = m_items[static_cast<std::size_t>(window.GetItemData(kIdFiles, row))];
        if (item.kind == itemkind::kFolder || item.name != name)
            continue;
        window.SetItemIcon(kIdFiles, row, mark);
        // A page saved in its place has another size and time now.
        if (const std::optional<FolderEntry> entry = m_files.Describe(path); entry && !entry->folder) {
            item.size = entry->size;
            item.time = entry->time;
            window.SetItemText(kIdFiles, row, 1, SizeText(item.size));
            window.SetItemText(kIdFiles, row, 2, DateText(item.time));
        }
        break;
    }
}

// --- Listing and navigation.

void CSelectorDlg::ListFolder(IWindow& window)
{
    platform::WaitCursor wait;
    m_relistPending = false;
    m_listing = true;
    // Listed again, the folder keeps the rows the user selected; a folder
    // left by Up is selected in the one above.
    Selection keep;
    if (m_listedFolder == m_currentFolder)
        keep = SelectionOf(window);
    else if (!m_selectNext.empty())
        keep = {{m_selectNext}, m_selectNext};
    m_selectNext.clear();
    if (m_watchedFolder != m_currentFolder) {
        window.WatchFolder(m_currentFolder);
        m_watchedFolder = m_currentFolder;
    }
    window.ClearItems(kIdFiles);
    m_items.clear();
    // Gone or no longer readable since it was opened: an empty list alone
    // would look like an empty folder.
    if (!m_files.CanEnter(m_currentFolder))
        Tell(platform::Strings().Format(text::kFolderUnreadable, {m_currentFolder}));
    const bool all = window.IsChecked(kIdShowAll);
    const bool html = all || window.IsChecked(kIdShowHtml);
    const bool text = all || window.IsChecked(kIdShowText);
    for (const FolderEntry& entry : m_files.List(m_currentFolder)) {
        if (entry.name.empty() || entry.name[0] == '.')
            continue; // hidden, as the desktop's file managers keep them
        CListingItem item;
        item.name = entry.name;
        item.time = entry.time;
        if (entry.folder) {
            item.kind = itemkind::kFolder;
        } else {
            item.kind = ClassifyFileName(entry.name, entry.link);
            item.size = entry.size;
            const bool isHtml = item.kind == itemkind::kHtml || item.kind == itemkind::kHtmlLink;
            const bool isText = item.kind == itemkind::kText || item.kind == itemkind::kTextLink;
            if (!(isHtml ? html : isText ? text : all))
                continue;
        }
        item.type = m_files.TypeName(JoinPath(m_currentFolder, entry.name), entry.folder);
        item.index = static_cast<int>(m_items.size());
        m_items.push_back(std::move(item));
    }
    for (const CListingItem& item : m_items) {
        const int row = window.AddItem(kIdFiles, item.name, item.index);
        const bool folder = item.kind == itemkind::kFolder;
        window.SetItemImage(kIdFiles, row, ImageOfItem(item.kind));
        window.SetItemIcon(kIdFiles, row, folder ? mark::kFolder : mark::kNotChecked);
        if (!folder)
            window.SetItemText(kIdFiles, row, 1, SizeText(item.size));
        window.SetItemText(kIdFiles, row, 2, DateText(item.time));
        window.SetItemText(kIdFiles, row, 3, item.type);
    }
    m_listedFolder = m_currentFolder;
    SortBy(window, 0);
    ApplyDatabase(window);
    Reselect(window, keep);
    if (window.FocusedControl() == kIdFiles)
        SelectOnFocus(window);
    m_listing = false;
}

CSelectorDlg::Selection CSelectorDlg::SelectionOf(IWindow& window) const
{
    Selection selection;
    for (int row = 0; row < window.ItemCount(kIdFiles); ++row) {
        if (window.IsItemSelected(kIdFiles, row))
            selection.selected.push_back(window.ItemText(kIdFiles, row));
    }
    if (const int current = window.CurrentItem(kIdFiles); current >= 0 && current < window.ItemCount(kIdFiles))
        selection.current = window.ItemText(kIdFiles, current);
    return selection;
}

void CSelectorDlg::Reselect(IWindow& window, const Selection& selection)
{
    for (int row = 0; row < window.ItemCount(kIdFiles); ++row) {
        const std::string name = window.ItemText(kIdFiles, row);
        if (std::find(selection.selected.begin(), selection.selected.end(), name) != selection.selected.end())
            window.SetItemSelected(kIdFiles, row, true);
        if (!selection.current.empty() && name == selection.current)
            window.SetCurrentItem(kIdFiles, row);
    }
}

void CSelectorDlg::SelectOnFocus(IWindow& window)
{
    const int count = window.ItemCount(kIdFiles);
    for (int row = 0; row < count; ++row) {
        if (window.IsItemSelected(kIdFiles, row))
            return;
    }
    int row = window.CurrentItem(kIdFiles);
    if (row < 0 || row >= count) {
        row = 0;
        for (int file = 0; file < count; ++file) {
            if (m_items[static_cast<std::size_t>(window.GetItemData(kIdFiles, file))].kind != itemkind::kFolder) {
                row = file;
                break;
            }
        }
    }
    if (row >= count)
        return;
    window.SetCurrentItem(kIdFiles, row);
    window.SetItemSelected(kIdFiles, row, true);
}

void CSelectorDlg::SortBy(IWindow& window, int column)
{
    const int count = window.ItemCount(kIdFiles);
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::vector<platform::ItemData> data;
    for (int row = 0; row < count; ++row)
        data.push_back(window.GetItemData(kIdFiles, row));
    const bool ascending = m_ascending[static_cast<std::size_t>(column)];
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return CompareItems(m_items[static_cast<std::size_t>(data[static_cast<std::size_t>(a)])],
                            m_items[static_cast<std::size_t>(data[static_cast<std::size_t>(b)])], column, ascending,
                            m_ascending[0]) < 0;
    });
    window.ReorderItems(kIdFiles, order);
}

void CSelectorDlg::ApplyDatabase(IWindow& window)
{
    for (int row = 0; row < window.ItemCount(kIdFiles); ++row) {
        const CListingItem& item = m_items[static_cast<std::size_t>(window.GetItemData(kIdFiles, row))];
        if (item.kind == itemkind::kFolder)
            continue;
        if (std::optional<int> mark = m_database.MarkFor(JoinPath(m_currentFolder, item.name), item.time))
            window.SetItemIcon(kIdFiles, row, *mark);
    }
}

void CSelectorDlg::FillLookIn(IWindow& window)
{
    window.ClearItems(kIdLookIn);
    m_lookIn.clear();
    // A special mode means nothing once the folder lies outside its special folder.
    m_desktopMode = m_desktopMode && IsInside(m_currentFolder, m_special.desktop);
    m_documentsMode = m_documentsMode && IsInside(m_currentFolder, m_special.documents);
    int selected = -1;
    bool pathShown = false;
    auto add = [&](std::string text, int kind, std::string path, const char* image, int level) {
        CListingItem entry;
        entry.index = static_cast<int>(m_lookIn.size());
        entry.kind = kind;
        entry.indent = level;
        entry.name = std::move(text);
        entry.path = std::move(path);
        const int row = window.AddItem(kIdLookIn, entry.name, entry.index);
        window.SetItemImage(kIdLookIn, row, image);
        window.SetItemIndent(kIdLookIn, row, level);
        m_lookIn.push_back(std::move(entry));
        return row;
    };
    auto addPath = [&](const std::string& root, int rootRow) {
        selected = rootRow;
        std::string relative = m_currentFolder.substr(root.size());
        std::string path = root;
        std::size_t start = 0;
        std::vector<std::string> names;
        while (start < relative.size()) {
            std::size_t slash = relative.find('/', start);
            if (slash == std::string::npos)
                slash = relative.size();
            if (slash > start)
                names.push_back(relative.substr(start, slash - start));
            start = slash + 1;
        }
        for (std::size_t i = 0; i < names.size(); ++i) {
            path = JoinPath(path, names[i]);
            const bool last = i + 1 == names.size();
            selected = add(names[i], last ? lookinkind::kCurrentFolder : lookinkind::kPathFolder, path,
                           last ? "folder-open" : "folder", static_cast<int>(i) + 1);
        }
        pathShown = true;
    };

    const int desktop = add(Text(text::kDesktop), lookinkind::kDesktop, m_special.desktop, "user-desktop", 0);
    if (m_desktopMode)
        addPath(m_special.desktop, desktop);
    const int documents = add(Text(text::kDocuments), lookinkind::kDocuments, m_special.documents, "folder-documents", 0);
    if (m_documentsMode)
        addPath(m_special.documents, documents);
    const std::vector<MountPoint> mounts = m_files.MountPoints();
    // The current folder is shown below the innermost file system holding it.
    std::size_t holder = mounts.size();
    for (std::size_t i = 0; i < mounts.size(); ++i) {
        if (IsInside(m_currentFolder, mounts[i].path) &&
            (holder == mounts.size() || mounts[i].path.size() > mounts[holder].path.size()))
            holder = i;
    }
    for (std::size_t i = 0; i < mounts.size(); ++i) {
        const int row = add(mounts[i].path, mounts[i].kind, mounts[i].path, ImageOfMount(mounts[i].kind), 0);
        if (!pathShown && i == holder)
            addPath(mounts[i].path, row);
    }
    window.Enable(kIdUp, m_currentFolder != "/" && !m_currentFolder.empty());
    window.SetCurrentItem(kIdLookIn, selected);
    m_lastLookIn = selected;
}

bool CSelectorDlg::Navigate(IWindow& window, const std::string& folder)
{
    if (!m_files.CanEnter(folder)) {
        int textId = text::kFolderNotReady;
        for (const MountPoint& mount : m_files.MountPoints()) {
            if (IsInside(folder, mount.path) && mount.path != "/" &&
                (mount.kind == mountkind::kRemovable || mount.kind == mountkind::kOptical))
                textId = text::kRemovableNotReady;
        }
        Tell(platform::Strings().Format(textId, {folder}));
        window.SetCurrentItem(kIdLookIn, m_lastLookIn);
        return false;
    }
    m_currentFolder = folder;
    FillLookIn(window);
    ListFolder(window);
    return true;
}

void CSelectorDlg::LookInChosen(IWindow& window, int row)
{
    if (row < 0 || row >= static_cast<int>(m_lookIn.size()))
        return;
    const CListingItem entry = m_lookIn[static_cast<std::size_t>(window.GetItemData(kIdLookIn, row))];
    const bool desktopMode = m_desktopMode, documentsMode = m_documentsMode;
    switch (entry.kind) {
    case mountkind::kFixed:
    case mountkind::kRemovable:
    case mountkind::kOptical:
    case 7:
    case mountkind::kNetwork:
        m_desktopMode = m_documentsMode = false;
        break;
    case lookinkind::kPathFolder: break;
    case lookinkind::kDesktop:
        m_desktopMode = true;
        m_documentsMode = false;
        break;
    case lookinkind::kDocuments:
        m_documentsMode = true;
        m_desktopMode = false;
        break;
    default: ListFolder(window); return;
    }
    if (!Navigate(window, entry.path)) {
        m_desktopMode = desktopMode;
        m_documentsMode = documentsMode;
    }
}

void CSelectorDlg::Up(IWindow& window)
{
    if (m_currentFolder.empty() || m_currentFolder == "/")
        return;
    m_selectNext = NameOf(m_currentFolder);
    if (!Navigate(window, FolderOf(m_currentFolder)))
        m_selectNext.clear();
}

// --- A typed location.

void CSelectorDlg::BeginTypedLocation(IWindow& window)
{
    if (m_typingLocation) {
        window.Focus(kIdLookIn);
        return;
    }
    m_typingLocation = true;
    window.SetComboEditable(kIdLookIn, true, m_currentFolder);
    window.Focus(kIdLookIn);
}

void CSelectorDlg::EndTypedLocation(IWindow& window)
{
    m_typingLocation = false;
    window.SetComboEditable(kIdLookIn, false);
    window.SetCurrentItem(kIdLookIn, m_lastLookIn);
}

// A folder typed (hidden ones too, which the list does not show) opens; a
// file typed opens its folder with the file selected. Anything else is
// told, and the text stays to be corrected.
void CSelectorDlg::GoToTypedLocation(IWindow& window)
{
    const std::string typed = window.Text(kIdLookIn);
    const std::string path = ResolveTypedPath(typed);
    if (path.empty()) {
        EndTypedLocation(window);
        return;
    }
    std::string folder = path;
    std::string file;
    if (!m_files.CanEnter(path)) {
        const std::optional<FolderEntry> entry = m_files.Describe(path);
        if (!entry || entry->folder || !m_files.CanEnter(FolderOf(path))) {
            Tell(platform::Strings().Format(text::kFolderNotReady, {path}));
            return;
        }
        folder = FolderOf(path);
        file = NameOf(path);
    }
    EndTypedLocation(window);
    if (folder != m_currentFolder)
        Navigate(window, folder);
    window.Focus(kIdFiles);
    if (!file.empty()) {
        for (int row = 0; row < window.ItemCount(kIdFiles); ++row) {
            const bool chosen = window.ItemText(kIdFiles, row) == file;
            window.SetItemSelected(kIdFiles, row, chosen);
            if (chosen)
                window.SetCurrentItem(kIdFiles, row);
        }
    }
    SelectOnFocus(window);
}

// The typed text as a whole path: "~" is the home folder, a relative path
// lies in the folder shown; "." and ".." are resolved, a final slash dropped.
std::string CSelectorDlg::ResolveTypedPath(const std::string& typed) const
{
    const std::size_t first = typed.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    std::string text = typed.substr(first, typed.find_last_not_of(" \t") - first + 1);
    if (text == "~" || text.compare(0, 2, "~/") == 0)
        text = m_files.HomeFolder() + text.substr(1);
    else if (text[0] != '/')
        text = JoinPath(m_currentFolder, text);
    std::string path = std::filesystem::path(text).lexically_normal().string();
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

void CSelectorDlg::FilterChanged(IWindow& window)
{
    const bool all = window.IsChecked(kIdShowAll);
    window.Enable(kIdShowHtml, !all);
    window.Enable(kIdShowText, !all);
    ListFolder(window);
}

} // namespace orvane::selector
