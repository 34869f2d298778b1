#pragma once

// The selector's main window: the user browses folders of pages, sees the
// status mark of each file and has them checked one after another by the
// checker library, which then saves the repaired page as the user's
// file-save setting says.

#include "checker_library.h"
#include "file_status_database.h"
#include "listing.h"
#include "selector_files.h"

#include "platform/window.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace orvane::selector {

class CSelectorDlg final : public platform::IDialogLogic {
public:
    CSelectorDlg(ICheckerLibrary& library, ISelectorFiles& files, std::string databasePath);

    // The folder to open at, named when the program was started: it goes
    // before the one remembered from the last run. One that cannot be
    // opened is passed over as a remembered one that went away is.
    void OpenAt(std::string folder) { m_startFolder = std::move(folder); }

    // Checks one file and saves it as the settings say: 1 when a new file was
    // made by saving (the listing needs a refresh), else 0.
    int CheckFile(platform::IWindow& window, const std::string& path);
    // The full path of a file list row; empty for a link that leads nowhere.
    std::string ItemPath(platform::IWindow& window, int row) const;
    const std::string& CurrentFolder() const { return m_currentFolder; }
    const CFileStatusDatabase& Database() const { return m_database; }

    void OnInit(platform::IWindow& window) override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;
    void OnOk(platform::IWindow& window) override;
    void OnCancel(platform::IWindow& window) override;
    void OnClose(platform::IWindow& window) override;
    void OnHelp(platform::IWindow& window) override;
    void OnSystemCommand(platform::IWindow& window, int command) override;
    void OnDestroy(platform::IWindow& window) override;
    void OnDropFiles(platform::IWindow& window, const std::vector<std::string>& paths) override;
    void OnFolderChanged(platform::IWindow& window) override;

private:
    // The rows the user had selected, by name, to find again in a new listing.
    struct Selection {
        std::vector<std::string> selected;
        std::string current;
    };
    struct WindowState {
        platform::WindowPlacement placement;
        std::array<int, 3> columns{200, 60, 125};
        std::string lastFolder;
        int special = 0;
        bool complete = false;
    };

    // Library binding.
    void BindLibrary();
    // Checking and saving.
    void CheckSelection(platform::IWindow& window);
    void ActivateRow(platform::IWindow& window, int row);
    // A row's path to check; empty, and the user told why, for a link that leads nowhere.
    std::string CheckablePath(platform::IWindow& window, int row) const;
    std::string SaveReplacing(const std::string& path);
    std::string SaveKeepingBackup(platform::IWindow& window, const std::string& path, const std::string& originalExtension);
    std::string SaveBeside(const std::string& path, const std::string& validatedExtension);
    std::string SaveAsked(platform::IWindow& window, const std::string& path);
    bool SaveOver(const std::string& target);
    PageWriter LibraryWriter() const;
    void TellSaveFailed(const std::string& path, const PageSaveResult& result);
    void MarkFile(platform::IWindow& window, const std::string& path, int status);
    // Listing and navigation.
    void FillLookIn(platform::IWindow& window);
    void ListFolder(platform::IWindow& window);
    void SortBy(platform::IWindow& window, int column);
    void ApplyDatabase(platform::IWindow& window);
    bool Navigate(platform::IWindow& window, const std::string& folder);
    void LookInChosen(platform::IWindow& window, int row);
    void Up(platform::IWindow& window);
    void FilterChanged(platform::IWindow& window);
    Selection SelectionOf(platform::IWindow& window) const;
    void Reselect(platform::IWindow& window, const Selection& selection);
    // The list took the focus with no row selected: the row with the focus, or the first file, is.
    void SelectOnFocus(platform::IWindow& window);
    // Ctrl+L: the look-in list becomes a field for a typed folder.
    void BeginTypedLocation(platform::IWindow& window);
    void EndTypedLocation(platform::IWindow& window);
    void GoToTypedLocation(platform::IWindow& window);
    std::string ResolveTypedPath(const std::string& typed) const;
    // Window state.
    WindowState LoadWindowState() const;
    void SaveWindowState(platform::IWindow& window) const;
    void ShowHelp(platform::IWindow& window);
    void Message(int textId) const;

    ICheckerLibrary& m_library;
    ISelectorFiles& m_files;
    bool m_libraryLoaded = false;
    PathFunction m_validateDoc;
    PathFunction m_saveDoc;
    ActionFunction m_displaySettings;
    ActionFunction m_displayAbout;
    SettingsFunction m_getSettings;

    CFileStatusDatabase m_database;
    SpecialFolders m_special;
    std::string m_currentFolder;
    std::string m_startFolder;
    std::vector<CListingItem> m_items;
    std::vector<CListingItem> m_lookIn;
    std::array<bool, 4> m_ascending{true, false, true, false};
    WindowState m_state;
    bool m_desktopMode = false;
    bool m_documentsMode = false;
    int m_lastLookIn = -1;
    // The folder the list shows, and the one the window watches.
    std::string m_listedFolder;
    std::string m_watchedFolder;
    // A row to select in the next listing (the folder just left by Up).
    std::string m_selectNext;
    // Checks run (with their own windows, whose waiting lets the folder's
    // changes in); the listing they changed is renewed once they end.
    int m_checking = 0;
    bool m_relistPending = false;
    bool m_listing = false;
    bool m_typingLocation = false;
    bool m_helpFailed = false;
};

} // namespace orvane::selector
