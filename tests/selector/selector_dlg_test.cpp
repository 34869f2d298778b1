// Tamsel's window, worked as a user works it: browsing a site's folder,
// checking pages, and what each file-save mode leaves on the disk.
#include "selector/selector_dlg.h"
#include "selector/selector_ids.h"

#include "common/orvane_settings.h"
#include "platform/file_system.h"
#include "platform/help.h"
#include "platform/registry.h"
#include "platform/string_table.h"
#include "tests/support/memory_window.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

namespace orvane::selector {
namespace {

namespace fs = std::filesystem;
using test::CMemoryWindow;

// The checker library as the test writes it: ValidateDoc reads the page as
// the real one does (-4 when it cannot) and answers from a table (1 unless
// told); SaveDoc writes "repaired" as the real one writes, or, when told to
// fail, leaves a half-written file and answers 0.
class CFakeLibrary final : public ICheckerLibrary {
public:
    bool Load() override { return loads; }
    std::string LoadError() const override { return loadError; }
    PathFunction ResolvePathFunction(const char* name) override
    {
        if (missing.count(name))
            return {};
        if (std::string(name) == "ValidateDoc")
            return [this](const char* path) {
                validated.push_back(path);
                if (whileChecking)
                    whileChecking();
                if (!platform::OpenForReading(path))
                    return -4;
                auto it = results.find(fs::path(path).filename().string());
                return it == results.end() ? 1 : it->second;
            };
        return [this](const char* path) {
            saved.push_back(path);
            if (saveFails) {
                std::ofstream(path, std::ios::binary) << "half-writ";
                return 0;
            }
            return platform::WriteFileAtomically(path, [](std::ostream& out) { return static_cast<bool>(out << "repaired"); })
                       ? 1
                       : 0;
        };
    }
    ActionFunction ResolveAction(const char* name) override
    {
        if (missing.count(name))
            return {};
        return [this, name = std::string(name)] { actions.push_back(name); };
    }
    SettingsFunction ResolveSettings(const char* name) override
    {
        if (missing.count(name))
            return {};
        return [this] { return static_cast<void*>(&settings); };
    }

    bool loads = true;
    std::string loadError;
    std::set<std::string> missing;
    std::map<std::string, int> results;
    bool saveFails = false;
    std::vector<std::string> validated, saved, actions;
    COrvaneSettings settings;
    // What happens while the checker's windows are open.
    std::function<void()> whileChecking;
};

// The disk, with the special folders and mounts inside the test's folder and
// copies that fail on request.
class CTestFiles final : public CDiskFiles {
public:
    explicit CTestFiles(std::string root) : m_root(std::move(root)) {}
    bool Copy(const std::string& from, const std::string& to) override
    {
        return !copyFails && CDiskFiles::Copy(from, to);
    }
    std::vector<MountPoint> MountPoints() const override { return {{"/", mountkind::kFixed}, {m_root, mountkind::kFixed}}; }
    SpecialFolders Special() const override { return {m_root + "/Desktop", m_root + "/Documents"}; }
    std::string CurrentDirectory() const override { return m_root + "/site"; }
    std::string HomeFolder() const override { return m_root; }
    bool copyFails = false;

private:
    std::string m_root;
};

class SelectorTest : public ::testing::Test {
protected:
    SelectorTest()
        : m_root(fs::path(::testing::TempDir()) /
                 ("selector-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()))),
          files((fs::remove_all(m_root), fs::create_directories(m_root / "site/sub"), m_root.string())),
          m_registry(platform::CreateFileRegistry((m_root / "registry.reg").string())),
          m_registryScope(*m_registry), m_stringsScope(Strings())
    {
        fs::create_directories(m_root / "Desktop");
        library.settings.SetOriginalExtension(".htmlold");
        library.settings.SetValidateExtension(".htmlvalid");
    }
    ~SelectorTest() override { fs::remove_all(m_root); }

    static const platform::CStringTable& Strings()
    {
        static platform::CStringTable table = [] {
            platform::CStringTable strings;
            strings.Parse(test::ReadFileBytes(ORVANE_SELECTOR_STRINGS));
            return strings;
        }();
        return table;
    }
    std::string Site(const std::string& name) const { return (m_root / "site" / name).string(); }
    std::string SiteFolder() const { return (m_root / "site").string(); }
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(Site(name), std::ios::binary) << bytes;
        return Site(name);
    }
    std::string DatabasePath() const { return (m_root / "OrvaneFileDatabase.txt").string(); }

    // Opens the window, lets the user act, closes it with its close box.
    void Run(const std::function<void(CMemoryWindow&, CSelectorDlg&)>& steps)
    {
        CSelectorDlg selector(library, files, DatabasePath());
        windows.WhenShown(kTemplateSelector, [&](CMemoryWindow& window) {
            steps(window, selector);
            window.PressCloseBox();
        });
        platform::Windows().RunModal(kTemplateSelector, selector, nullptr);
    }
    static int Row(CMemoryWindow& window, const std::string& name)
    {
        const std::vector<std::string> names = window.ItemTexts(kIdFiles);
        auto it = std::find(names.begin(), names.end(), name);
        EXPECT_NE(it, names.end()) << name << " is not listed";
        return it == names.end() ? -1 : static_cast<int>(it - names.begin());
    }
    static int MarkOf(CMemoryWindow& window, const std::string& name) { return window.ItemIcon(kIdFiles, Row(window, name)); }
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const auto& message : windows.prompt.messages)
            texts.push_back(message.text);
        return texts;
    }

    fs::path m_root;
    CFakeLibrary library;
    CTestFiles files;
    test::CMemoryWindows windows;

private:
    std::unique_ptr<platform::IRegistry> m_registry;
    platform::ScopedRegistry m_registryScope;
    platform::ScopedStrings m_stringsScope;
};

void SetTime(const std::string& path, std::chrono::seconds fromNow)
{
    fs::last_write_time(path, fs::file_time_type::clock::now() + fromNow);
}

TEST_F(SelectorTest, ListsTheFolderWithSizesTypesAndRememberedMarksAndTheBoxesFilterIt)
{
    Write("a.htm", std::string(511, 'a'));
    Write("B.HTML", std::string(1536, 'b'));
    Write("notes.txt", std::string(2559, 'n'));
    Write("picture.png", "png");
    Write("page", "no extension");
    fs::create_symlink(Site("a.htm"), Site("shortcut.htm"));
    SetTime(Site("B.HTML"), std::chrono::hours(-1));
    // a.htm was checked after its last change; B.HTML changed since; the
    // text file's line lost its date; the last line differs from B.HTML's
    // path only in case, which on this file system is another file.
    std::ofstream(DatabasePath()) << Site("a.htm") << "\t2\t2099\t1\t1\t0\t0\t0\n"
                                  << Site("B.HTML") << "\t5\t2000\t1\t1\t0\t0\t0\textra\tfields\n"
                                  << Site("notes.txt") << "\t3\n"
                                  << Site("b.html") << "\t4\t2099\t1\t1\t0\t0\t0\n";
    const std::string databaseBefore = test::ReadFileBytes(DatabasePath());

    Run([&](CMemoryWindow& window, CSelectorDlg&) {
        EXPECT_EQ(window.Title(), "Tamsel");
        EXPECT_TRUE(window.IsChecked(kIdShowHtml));
        EXPECT_EQ(window.ItemTexts(kIdFiles), (std::vector<std::string>{"sub", "a.htm", "B.HTML", "shortcut.htm"}));
        EXPECT_EQ(window.ItemText(kIdFiles, Row(window, "a.htm"), 1), "1KB");
        EXPECT_EQ(window.ItemText(kIdFiles, Row(window, "B.HTML"), 1), "2KB");
        EXPECT_EQ(window.ItemText(kIdFiles, Row(window, "sub"), 1), "");
        EXPECT_EQ(window.ItemImage(kIdFiles, Row(window, "sub")), "folder");
        EXPECT_EQ(window.ItemImage(kIdFiles, Row(window, "shortcut.htm")), "text-html");
        EXPECT_EQ(MarkOf(window, "sub"), mark::kFolder);
        EXPECT_EQ(MarkOf(window, "a.htm"), mark::kChecked);
        EXPECT_EQ(MarkOf(window, "B.HTML"), mark::kNotChecked);
        // The look-in list: the special folders, the file systems, the path below the one holding it.
        EXPECT_EQ(window.ItemText(kIdLookIn, window.CurrentItem(kIdLookIn)), "site");
        EXPECT_EQ(window.ItemIndent(kIdLookIn, window.CurrentItem(kIdLookIn)), 1);

        // Escape does nothing; Enter on a focused box ticks it and lists again.
        window.PressEscape();
        EXPECT_FALSE(window.HasEnded());
        window.PressKey(kIdShowText, platform::Key::Enter);
        EXPECT_FALSE(window.HasEnded());
        EXPECT_TRUE(window.IsChecked(kIdShowText));
        EXPECT_EQ(window.ItemText(kIdFiles, Row(window, "notes.txt"), 1), "2KB");
        EXPECT_EQ(MarkOf(window, "notes.txt"), mark::kNotChecked);
        window.Click(kIdShowHtml);
        EXPECT_EQ(window.ItemTexts(kIdFiles), (std::vector<std::string>{"sub", "notes.txt"}));

        // Size ascending, then descending; the folder stays on top.
        window.Click(kIdShowAll);
        EXPECT_FALSE(window.IsEnabled(kIdShowHtml));
        window.ClickColumn(kIdFiles, 1);
        EXPECT_EQ(window.ItemTexts(kIdFiles).front(), "sub");
        EXPECT_EQ(window.ItemTexts(kIdFiles).back(), "notes.txt");
        window.ClickColumn(kIdFiles, 1);
        EXPECT_EQ(window.ItemTexts(kIdFiles)[1], "notes.txt");

        // Into the folder and up again.
        window.DoubleClickRow(kIdFiles, Row(window, "sub"));
        EXPECT_EQ(window.ItemCount(kIdFiles), 0);
        window.PressKey(kIdUp, platform::Key::Enter); // Enter presses the focused button
        EXPECT_EQ(window.ItemCount(kIdFiles), 7);
    });
    // Nothing was checked: the database is as it was.
    EXPECT_EQ(test::ReadFileBytes(DatabasePath()), databaseBefore);
}

TEST_F(SelectorTest, EachResultGivesItsMarkAndOnlyRepairedPagesAreSavedWhichTheNextRunRemembers)
{
    library.settings.SetFileSaves(filesaves::kBeside);
    for (const char* name : {"broken.htm", "fine.htm", "unrepaired.htm", "repaired.htm", "partly.htm"})
        Write(name, "<p>original</p>");
    library.results = {{"broken.htm", -4}, {"fine.htm", 0}, {"unrepaired.htm", 2}, {"repaired.htm", 1}, {"partly.htm", 3}};
    Run([&](CMemoryWindow& window, CSelectorDlg&) {
        window.SelectOnlyRows(kIdFiles, {});
        window.Click(kIdCheck);
        EXPECT_EQ(Messages(), (std::vector<std::string>{Strings().Get(text::kNothingSelected)}));
        window.SelectOnlyRows(kIdFiles, {Row(window, "broken.htm"), Row(window, "fine.htm"), Row(window, "unrepaired.htm")});
        window.Click(kIdCheck);
        EXPECT_EQ(MarkOf(window, "broken.htm"), mark::kNotCheckable);
        EXPECT_EQ(MarkOf(window, "fine.htm"), mark::kChecked);
        EXPECT_EQ(MarkOf(window, "unrepaired.htm"), mark::kProblemsRemain);
        EXPECT_TRUE(library.saved.empty());

        window.DoubleClickRow(kIdFiles, Row(window, "repaired.htm"));
        window.SelectOnlyRows(kIdFiles, {Row(window, "partly.htm")});
        window.PressKey(kIdFiles, platform::Key::Enter);
        // The originals keep their bytes and show that problems remain in them.
        EXPECT_EQ(test::ReadFileBytes(Site("repaired.htm")), "<p>original</p>");
        EXPECT_EQ(test::ReadFileBytes(Site("repaired.htm.htmlvalid")), "repaired");
        EXPECT_EQ(MarkOf(window, "repaired.htm"), mark::kProblemsRemain);
        window.Click(kIdShowAll);
        EXPECT_EQ(MarkOf(window, "repaired.htm.htmlvalid"), mark::kChecked);
        EXPECT_EQ(MarkOf(window, "partly.htm.htmlvalid"), mark::kPartlyRepaired);
    });
    // The next run shows the same marks; a page edited since shows none.
    SetTime(Site("fine.htm"), std::chrono::hours(1));
    Run([&](CMemoryWindow& window, CSelectorDlg&) {
        EXPECT_EQ(MarkOf(window, "broken.htm"), mark::kNotCheckable);
        EXPECT_EQ(MarkOf(window, "unrepaired.htm"), mark::kProblemsRemain);
        EXPECT_EQ(MarkOf(window, "fine.htm"), mark::kNotChecked);
    });
}

TEST_F(SelectorTest, AFileWithoutExtensionIsCheckedOnlyWhenTheUserSaysSo)
{
    Write("page", "<p>x</p>");
    Run([&](CMemoryWindow& window, CSelectorDlg&) {
        window.Click(kIdShowAll);
        windows.AnswerNextMessage(platform::kAnswerNo);
        window.DoubleClickRow(kIdFiles, Row(window, "page"));
        EXPECT_TRUE(library.validated.empty());
        EXPECT_EQ(MarkOf(window, "page"), mark::kNotChecked);
        ASSERT_EQ(windows.prompt.messages.size(), 1u);
        EXPECT_EQ(windows.prompt.messages[0].buttons, platform::PromptButtons::YesNo);
        // Enter answers No: a file nobody meant is not checked by accident.
        EXPECT_EQ(windows.prompt.messages[0].defaultAnswer, platform::kAnswerNo);
        EXPECT_NE(windows.prompt.messages[0].text.find(Site("page")), std::string::npos);
        // Dropped on the window: the folder among the drops is skipped.
        windows.AnswerNextMessage(platform::kAnswerYes);
        library.results["page"] = 0;
        window.DropFiles({Site("sub"), Site("page")});
        EXPECT_EQ(library.validated, (std::vector<std::string>{Site("page")}));
        EXPECT_EQ(MarkOf(window, "page"), mark::kChecked);
    });
}

// The backup of "page.htm" is named after its whole name, so "page.html"'s
// backups are not in its way, and its number follows the whole name, so no
// other page's backup ("page0.htm.htmlold") can take it.
TEST_F(SelectorTest, BackupTakesTheFirstFreeNumberedNameAndIsMarked)
{
    library.settings.SetFileSaves(filesaves::kReplaceKeepOriginal);
    Write("page.htm", "<p>original</p>");
    Write("page.htmlold", "page.html's");
    Write("page.htm.htmlold", "oldest");
    Write("page.htm.htmlold.1", "older");
    Run([&](CMemoryWindow& window, CSelectorDlg&) {
        window.DoubleClickRow(kIdFiles, Row(window, "page.htm"));
        EXPECT_EQ(MarkOf(window, "page.htm"), mark::kChecked);
    });
    EXPECT_EQ(test::ReadFileBytes(Site("page.htm")), "repaired");
    EXPECT_EQ(test::ReadFileBytes(Site("page.htm.htmlold.2")), "<p>original</p>");
    EXPECT_EQ(test::ReadFileBytes(Site("page.htmlold")), "page.html's");
    EXPECT_EQ(test::ReadFileBytes(Site("page.htm.htmlold")), "oldest");
    EXPECT_EQ(test::ReadFileBytes(Site("page.htm.htmlold.1")), "older");
    CFileStatusDatabase database(DatabasePath());
    database.Read();
    ASSERT_TRUE(database.Find(Site("page.htm.htmlold.2")));
    EXPECT_EQ(database.Find(Site("page.htm.htmlold.2"))->mark, mark::kProblemsRemain);
}

TEST_F(SelectorTest, ReplaceThatCannotKeepACopyAsideSavesBesideAndSaysWhere)
{
    library.settings.SetFileSaves(filesaves::kReplace);
    Write("page.htm", "<p>original</p>");
    files.copyFails = true;
    Run([&](CMemoryWindow& window, CSelectorDlg&) {
        window.DoubleClickRow(kIdFiles, Row(window, "page.htm"));
        EXPECT_EQ(MarkOf(window, "page.htm"), mark::kProblemsRemain);
        EXPECT_EQ(MarkOf(window, "page-valid.htm"), mark::kChecked); // listed again: a new file
    });
    EXPECT_EQ(test::ReadFileBytes(Site("page.htm")), "<p>original</p>");
    EXPECT_EQ(test::ReadFileBytes(Site("page-valid.htm")), "repaired");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find(Site("page-valid.htm")), std::string::npos);
}

TEST_F(SelectorTest, AskModeSavesUnderTheChosenNameAndAsksAgainWhenCancelled)
{
    library.settings.SetFileSaves(filesaves::kAsk);
    Write("page.htm", "<p>original</p>");
    Write("other.htm", "<p>other</p>");
    library.results["page.htm"] = 3;
    Run([&](CMemoryWindow& window, CSelectorDlg&) {
        // The original's own name: only it is marked, saved in place.
        windows.AnswerNextFileDialog(Site("page.htm"));
        window.DoubleClickRow(kIdFiles, Row(window, "page.htm"));
        EXPECT_EQ(MarkOf(window, "page.htm"), mark::kPartlyRepaired);
        EXPECT_EQ(test::ReadFileBytes(Site("page.htm")), "repaired");
        ASSERT_EQ(windows.fileRequests.size(), 1u);
        EXPECT_EQ(windows.fileRequests[0].initialPath, Site("page.htm"));
        EXPECT_EQ(windows.fileRequests[0].defaultExtension, "htm");
        // Cancelled, asked again, cancelled and given up: nothing saved.
        windows.AnswerNextFileDialog(std::nullopt);
        windows.AnswerNextMessage(platform::kAnswerYes);
        windows.AnswerNextFileDialog(std::nullopt);
        windows.AnswerNextMessage(platform::kAnswerNo);
        window.DoubleClickRow(kIdFiles, Row(window, "other.htm"));
        EXPECT_EQ(windows.fileRequests.size(), 3u);
        EXPECT_EQ(MarkOf(window, "other.htm"), mark::kProblemsRemain);
        EXPECT_EQ(test::ReadFileBytes(Site("other.htm")), "<p>other</p>");
    });
}

// Whatever the mode, a save that fails half-way leaves the user's page as it
// was, under its own name, and no stray copy beside it.
TEST_F(SelectorTest, NoModeLosesTheOriginalWhenTheSaveFails)
{
    for (int mode : {filesaves::kReplace, filesaves::kReplaceKeepOriginal, filesaves::kBeside, filesaves::kAsk}) {
        SCOPED_TRACE(mode);
        fs::remove_all(m_root / "site");
        fs::create_directories(m_root / "site");
        Write("page.htm", "<p>original</p>");
        library.settings.SetFileSaves(mode);
        library.saveFails = true;
        windows.AnswerNextFileDialog(Site("page.htm"));
        windows.AnswerNextMessage(platform::kAnswerNo);
        Run([&](CMemoryWindow& window, CSelectorDlg&) {
            window.DoubleClickRow(kIdFiles, Row(window, "page.htm"));
            EXPECT_EQ(MarkOf(window, "page.htm"), mark::kProblemsRemain);
        });
        EXPECT_EQ(test::ReadFileBytes(Site("page.htm")), "<p>original</p>");
        std::vector<std::string> left;
        for (const auto& entry : fs::directory_iterator(m_root / "site"))
            left.push_back(entry.path().filename().string());
        EXPECT_EQ(left, (std::vector<std::string>{"page.htm"}));
        EXPECT_FALSE(library.saved.empty());
        library.saved.clear();
        windows.prompt.messages.clear();
    }
}

// The help a user reads beside the window: the checker's help, in the
// language of the interface, at the window's own topic.
TEST_F(SelectorTest, HelpShowsTheWindowsTopicInTheLanguageOfTheInterface)
{
    class CRecordingHelp final : public platform::IHelpViewer {
    public:
        bool Open(const std::string& helpFile) override
        {
            opened.push_back(fs::path(helpFile).filename().string());
            m_file = helpFile;
            return true;
        }
        std::string OpenFile() const override { return m_file; }
        bool ShowTopic(platform::IWindow*, std::string_view topic) override
        {
            shown.emplace_back(topic);
            return true;
        }
        std::vector<std::string> opened;
        std::vector<std::string> shown;

    private:
        std::string m_file;
    } help;
    platform::SetHelpViewer(&help);
    const std::string language = std::getenv("ORVANE_LANG") ? std::getenv("ORVANE_LANG") : "";
    Run([&](CMemoryWindow& window, CSelectorDlg&) {
        setenv("ORVANE_LANG", "de", 1);
        window.Click(kIdShowHelp);
        window.Click(kIdShowHelp);
        setenv("ORVANE_LANG", "en", 1);
        window.Click(kIdShowHelp);
    });
    setenv("ORVANE_LANG", language.c_str(), 1);
    platform::SetHelpViewer(nullptr);
    EXPECT_EQ(help.opened, (std::vector<std::string>{"Orvane_de.qhc", "Orvane.qhc"})) << "opened once per language";
    EXPECT_EQ(help.shown, (std::vector<std::string>{"Tamsel.html", "Tamsel.html", "Tamsel.html"}));
}

TEST_F(SelectorTest, WithoutTheLibraryBrowsingWorksAndEveryActionSaysWhy)
{
    Write("page.htm", "<p>x</p>");
    library.loads = false;
    Run([&](CMemoryWindow& window, CSelectorDlg&) {
        EXPECT_EQ(Messages(), (std::vector<std::string>{Strings().Get(text::kNoLibrary)}));
        EXPECT_EQ(window.ItemTexts(kIdFiles), (std::vector<std::string>{"sub", "page.htm"}));
        window.DoubleClickRow(kIdFiles, Row(window, "page.htm"));
        window.Click(kIdSettings);
        window.ChooseSystemCommand(platform::kCommandAbout);
        EXPECT_EQ(Messages(), (std::vector<std::string>{Strings().Get(text::kNoLibrary), Strings().Get(text::kNoChecking),
                                                        Strings().Get(text::kNoSettings), Strings().Get(text::kNoAbout)}));
        for (const auto& message : windows.prompt.messages)
            EXPECT_EQ(message.caption, "Tamsel");
    });

    // The loader's reason is told: a library that is there but cannot be
    // loaded needs another remedy than one that is missing.
    library.loadError = "libORVANE.so: cannot open shared object file: No such file or directory";
    windows.prompt.messages.clear();
    Run([&](CMemoryWindow&, CSelectorDlg&) {
        EXPECT_EQ(Messages(), (std::vector<std::string>{Strings().Format(text::kLibraryNotLoaded, {library.loadError})}));
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_NE(Messages()[0].find("cannot open shared object file"), std::string::npos);
    });

    library.loads = true;
    library.missing = {"SaveDoc", "DisplayAbout"};
    windows.prompt.messages.clear();
    Run([&](CMemoryWindow& window, CSelectorDlg&) {
        EXPECT_EQ(Messages(), (std::vector<std::string>{Strings().Get(text::kNoSaveDoc), Strings().Get(text::kNoDisplayAbout)}));
        window.Click(kIdSettings);
        EXPECT_EQ(library.actions, (std::vector<std::string>{"DisplaySettings"}));
    });
}

// A page saved in place, with or without a backup, stays the file it was
// but for its bytes: a page only its group may read stays so, a page the
// server runs for its includes stays executable, and a page behind a
// symbolic link is repaired where the link leads, the link staying a link.
TEST_F(SelectorTest, ASaveInPlaceKeepsThePagesPermissionsOwnerAndLink)
{
    const bool root = ::geteuid() == 0;
    const fs::path real = m_root / "pages/real.htm";
    for (int mode : {filesaves::kReplace, filesaves::kReplaceKeepOriginal}) {
        SCOPED_TRACE(mode);
        fs::remove_all(m_root / "site");
        fs::remove_all(m_root / "pages");
        fs::create_directories(m_root / "site");
        fs::create_directories(m_root / "pages");
        Write("private.htm", "<p>private</p>");
        fs::permissions(Site("private.htm"), fs::perms(0640));
        // Only root may give a file away; then the page keeps its owner too.
        if (root) {
            ASSERT_EQ(::chown(Site("private.htm").c_str(), 4321, 4322), 0);
        }
        Write("include.shtml", "<!--#include virtual=\"menu.html\" -->");
        fs::permissions(Site("include.shtml"), fs::perms(0750));
        std::ofstream(real, std::ios::binary) << "<p>real</p>";
        fs::permissions(real, fs::perms(0600));
        fs::create_symlink("../pages/real.htm", Site("linked.htm"));
        library.settings.SetFileSaves(mode);
        library.saved.clear();

        Run([&](CMemoryWindow& window, CSelectorDlg&) {
            window.DoubleClickRow(kIdFiles, Row(window, "private.htm"));
            window.DoubleClickRow(kIdFiles, Row(window, "include.shtml"));
            // As a file manager hands it over: the link itself.
            window.DropFiles({Site("linked.htm")});
        });
        EXPECT_EQ(library.saved, (std::vector<std::string>{Site("private.htm"), Site("include.shtml"), Site("linked.htm")}));
        EXPECT_EQ(test::ReadFileBytes(Site("private.htm")), "repaired");
        EXPECT_EQ(fs::status(Site("private.htm")).permissions(), fs::perms(0640));
        if (root) {
            struct stat owner {};
            ASSERT_EQ(::stat(Site("private.htm").c_str(), &owner), 0);
            EXPECT_EQ(owner.st_uid, 4321u);
            EXPECT_EQ(owner.st_gid, 4322u);
        }
        EXPECT_EQ(test::ReadFileBytes(Site("include.shtml")), "repaired");
        EXPECT_EQ(fs::status(Site("include.shtml")).permissions(), fs::perms(0750));
        EXPECT_TRUE(fs::is_symlink(Site("linked.htm")));
        EXPECT_EQ(test::ReadFileBytes(real.string()), "repaired");
        EXPECT_EQ(fs::status(real).permissions(), fs::perms(0600));

        std::set<std::string> left;
        for (const auto& entry : fs::directory_iterator(m_root / "site"))
            left.insert(entry.path().filename().string());
        if (mode == filesaves::kReplace) {
            EXPECT_EQ(left, (std::set<std::string>{"private.htm", "include.shtml", "linked.htm"}));
        } else {
            // The backups are the pages as they were, the linked one's too,
            // each named after its page's whole name.
            EXPECT_EQ(left, (std::set<std::string>{"private.htm", "private.htm.htmlold", "include.shtml",
                                                   "include.shtml.htmlold", "linked.htm", "linked.htm.htmlold"}));
            EXPECT_EQ(test::ReadFileBytes(Site("private.htm.htmlold")), "<p>private</p>");
            EXPECT_EQ(fs::status(Site("private.htm.htmlold")).permissions(), fs::perms(0640));
            EXPECT_EQ(test::ReadFileBytes(Site("linked.htm.htmlold")), "<p>real</p>");
            EXPECT_FALSE(fs::is_symlink(Site("linked.htm.htmlold")));
        }
    }
}

// A file name may hold a tab, a line break, a backslash or bytes that are no
// UTF-8: such pages are checked like any other and the next start shows
// their marks.
TEST_F(SelectorTest, PagesWithAnyNameAreCheckedAndTheirMarksRemembered)
{
    const std::vector<std::string> names = {"tab\there.htm", "line\nbreak.htm", "caf\xe9.htm", "back\\slash.htm",
                                            "plain.htm"};
    for (const std::string& name : names) {
        Write(name, "<p>x</p>");
        library.results[name] = 0;
    }
    Run([&](CMemoryWindow& window, CSelectorDlg&) {
        for (const std::string& name : names) {
            window.DoubleClickRow(kIdFiles, Row(window, name));
            EXPECT_EQ(MarkOf(window, name), mark::kChecked) << name;
        }
    });
    std::vector<std::string> lines;
    std::istringstream database(test::ReadFileBytes(DatabasePath()));
    for (std::string line; std::getline(database, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), names.size());
    // Lines without such names read as they always did.
    EXPECT_EQ(lines.back().rfind(Site("plain.htm") + "\t2\t", 0), 0u) << lines.back();
    EXPECT_EQ(std::count(lines.back().begin(), lines.back().end(), '\t'), 7);

    CFileStatusDatabase reread(DatabasePath());
    reread.Read();
    EXPECT_EQ(reread.Records().size(), names.size());
    Run([&](CMemoryWindow& window, CSelectorDlg&) {
        for (const std::string& name : names)
            EXPECT_EQ(MarkOf(window, name), mark::kChecked) << name;
    });
}

// A folder that went away, and a link whose file went away, say so: an
// empty list, or nothing at all, would leave the user guessing.
TEST_F(SelectorTest, AFolderThatWentAwayAndALinkThatLeadsNowhereSaySo)
{
    Write("page.htm", "<p>x</p>");
    fs::create_symlink(Site("gone.htm"), Site("link.htm"));
    Run([&](CMemoryWindow& window, CSelectorDlg&) {
        window.DoubleClickRow(kIdFiles, Row(window, "link.htm"));
        window.SelectOnlyRows(kIdFiles, {Row(window, "link.htm")});
        window.Click(kIdCheck);
        EXPECT_TRUE(library.validated.empty());
        const std::string leadsNowhere = Strings().Format(text::kLinkLeadsNowhere, {Site("link.htm")});
        EXPECT_EQ(Messages(), (std::vector<std::string>{leadsNowhere, leadsNowhere}));

        window.DoubleClickRow(kIdFiles, Row(window, "sub"));
        fs::remove_all(m_root / "site/sub");
        window.Click(kIdRefresh);
        EXPECT_EQ(window.ItemCount(kIdFiles), 0);
        ASSERT_EQ(Messages().size(), 3u);
        EXPECT_EQ(Messages()[2], Strings().Format(text::kFolderUnreadable, {Site("sub")}));
        for (const auto& message : windows.prompt.messages)
            EXPECT_EQ(message.caption, "Tamsel");
    });
}

// Stepping through the look-in list with the arrow keys opens nothing, not
// even the entries on the way that cannot be opened; an entry picked in the
// open list, or Enter on the one stepped to, is opened.
TEST_F(SelectorTest, TheLookInListOpensAFolderOnlyWhenTheUserPicksIt)
{
    Run([&](CMemoryWindow& window, CSelectorDlg& selector) {
        ASSERT_EQ(window.ItemText(kIdLookIn, 0), Strings().Get(text::kDesktop));
        ASSERT_EQ(window.ItemText(kIdLookIn, 1), Strings().Get(text::kDocuments)); // not there in the test
        window.PressArrowKeysTo(kIdLookIn, 0);
        EXPECT_EQ(selector.CurrentFolder(), (m_root / "site").string());
        EXPECT_TRUE(Messages().empty());
        window.PressEnter();
        EXPECT_EQ(selector.CurrentFolder(), (m_root / "Desktop").string());
        EXPECT_TRUE(Messages().empty());

        window.Choose(kIdLookIn, 1);
        EXPECT_EQ(Messages(), (std::vector<std::string>{Strings().Format(text::kFolderNotReady, {(m_root / "Documents").string()})}));
        EXPECT_EQ(selector.CurrentFolder(), (m_root / "Desktop").string());
        EXPECT_EQ(window.CurrentItem(kIdLookIn), 0);
    });
}

TEST_F(SelectorTest, TheWindowComesBackWhereTheUserLeftItOnAScreenThatIsThere)
{
    // Left on the second of two screens.
    windows.screens = {{0, 0, 1920, 1080}, {1920, 0, 3840, 1080}};
    const platform::WindowPlacement placement{2000, 50, 2900, 650, false};
    Run([&](CMemoryWindow& window, CSelectorDlg&) {
        window.SetPlacement(placement);
        window.DoubleClickRow(kIdFiles, Row(window, "sub"));
    });
    Run([&](CMemoryWindow& window, CSelectorDlg& selector) {
        EXPECT_EQ(selector.CurrentFolder(), Site("sub"));
        EXPECT_EQ(window.Placement().left, 2000);
        EXPECT_EQ(window.Placement().bottom, 650);
    });
    // That screen is gone, and the one left is smaller than the window was:
    // the window opens whole on it, at the size it had where it fits.
    windows.screens = {{0, 0, 1280, 600}};
    Run([&](CMemoryWindow& window, CSelectorDlg&) {
        const platform::WindowPlacement shown = window.Placement();
        EXPECT_EQ(shown.right - shown.left, 900);
        EXPECT_EQ(shown.bottom - shown.top, 600);
        EXPECT_GE(shown.left, 0);
        EXPECT_LE(shown.right, 1280);
        EXPECT_EQ(shown.top, 0);
    });
}

// A folder named when the program starts is where the window opens, ahead
// of the one it was left in; one that cannot be opened is passed over, and
// the window opens where it was left.
TEST_F(SelectorTest, AFolderNamedAtTheStartGoesBeforeTheOneLeftLastTime)
{
    Write("sub/inner.htm", "<p>inner</p>");
    Run([&](CMemoryWindow& window, CSelectorDlg&) { window.DoubleClickRow(kIdFiles, Row(window, "sub")); });
    std::vector<std::string> listed;
    auto openAt = [&](const std::string& folder) {
        std::string shown;
        CSelectorDlg selector(library, files, DatabasePath());
        selector.OpenAt(folder);
        windows.WhenShown(kTemplateSelector, [&](CMemoryWindow& window) {
            shown = selector.CurrentFolder();
            listed = window.ItemTexts(kIdFiles);
            window.PressCloseBox();
        });
        platform::Windows().RunModal(kTemplateSelector, selector, nullptr);
        return shown;
    };
    EXPECT_EQ(openAt((m_root / "Desktop").string()), (m_root / "Desktop").string());
    EXPECT_TRUE(listed.empty());
    EXPECT_EQ(openAt((m_root / "gone").string()), (m_root / "Desktop").string());
    EXPECT_EQ(openAt(Site("sub")), Site("sub"));
    EXPECT_EQ(listed, std::vector<std::string>{"inner.htm"});
    EXPECT_TRUE(Messages().empty());
}

// A keyboard user browses as in any file browser: Enter opens a folder,
// Backspace and Alt+Up go to the one above with the folder left selected,
// F5 lists again, Ctrl+L takes a typed location (a hidden folder, a file,
// a path relative to the folder shown or to the home folder); and the list
// always has a row selected when it has the focus, so Check acts at once.
TEST_F(SelectorTest, TheKeyboardAloneBrowsesTypesALocationAndChecks)
{
    Write("a.htm", "<p>a</p>");
    Write("b.htm", "<p>b</p>");
    std::ofstream(m_root / "site/sub/inner.htm") << "<p>inner</p>";
    fs::create_directories(m_root / "site/.drafts");
    std::ofstream(m_root / "site/.drafts/draft.htm") << "<p>draft</p>";
    library.results = {{"a.htm", 0}, {"draft.htm", 0}};
    Run([&](CMemoryWindow& window, CSelectorDlg& selector) {
        // The list has the focus, the first file (not the folder above it) selected.
        EXPECT_EQ(window.FocusedControl(), kIdFiles);
        EXPECT_EQ(window.SelectedRows(kIdFiles), (std::vector<int>{Row(window, "a.htm")}));
        window.Click(kIdCheck);
        EXPECT_EQ(library.validated, (std::vector<std::string>{Site("a.htm")}));
        EXPECT_EQ(MarkOf(window, "a.htm"), mark::kChecked);
        EXPECT_TRUE(Messages().empty());

        // Into the folder with Enter, back with Backspace, further up with Alt+Up.
        window.SelectOnlyRows(kIdFiles, {Row(window, "sub")});
        window.PressKey(kIdFiles, platform::Key::Enter);
        EXPECT_EQ(selector.CurrentFolder(), Site("sub"));
        EXPECT_EQ(window.SelectedRows(kIdFiles), (std::vector<int>{Row(window, "inner.htm")}));
        window.PressKey(kIdFiles, platform::Key::Backspace);
        EXPECT_EQ(selector.CurrentFolder(), SiteFolder());
        EXPECT_EQ(window.SelectedRows(kIdFiles), (std::vector<int>{Row(window, "sub")}));
        EXPECT_EQ(window.CurrentItem(kIdFiles), Row(window, "sub"));
        window.PressKey(kIdFiles, platform::Key::AltUp);
        EXPECT_EQ(selector.CurrentFolder(), m_root.string());
        EXPECT_EQ(window.SelectedRows(kIdFiles), (std::vector<int>{Row(window, "site")}));
        window.PressKey(kIdFiles, platform::Key::Enter);

        // F5 lists again: the new file shows, the rows selected stay so.
        window.SelectOnlyRows(kIdFiles, {Row(window, "b.htm")});
        Write("c.htm", "<p>c</p>");
        window.PressKey(kIdFiles, platform::Key::F5);
        EXPECT_EQ(window.ItemTexts(kIdFiles), (std::vector<std::string>{"sub", "a.htm", "b.htm", "c.htm"}));
        EXPECT_EQ(window.SelectedRows(kIdFiles), (std::vector<int>{Row(window, "b.htm")}));

        // Ctrl+L: the look-in list becomes a field with the folder's path.
        window.PressKey(kIdFiles, platform::Key::CtrlL);
        EXPECT_TRUE(window.IsComboEditable(kIdLookIn));
        EXPECT_EQ(window.FocusedControl(), kIdLookIn);
        EXPECT_EQ(window.Text(kIdLookIn), SiteFolder());
        // A folder that is not there is told; the text stays to be
        // corrected, and Backspace in it deletes, going nowhere.
        window.Type(kIdLookIn, ".draft");
        window.PressKey(kIdLookIn, platform::Key::Enter);
        EXPECT_EQ(Messages(), (std::vector<std::string>{Strings().Format(text::kFolderNotReady, {Site(".draft")})}));
        EXPECT_TRUE(window.IsComboEditable(kIdLookIn));
        window.PressKey(kIdLookIn, platform::Key::Backspace);
        EXPECT_EQ(window.Text(kIdLookIn), ".draf");
        EXPECT_EQ(selector.CurrentFolder(), SiteFolder());
        window.Type(kIdLookIn, ".drafts/");
        window.PressKey(kIdLookIn, platform::Key::Enter);
        EXPECT_EQ(selector.CurrentFolder(), Site(".drafts"));
        EXPECT_FALSE(window.IsComboEditable(kIdLookIn));
        EXPECT_EQ(window.ItemText(kIdLookIn, window.CurrentItem(kIdLookIn)), ".drafts");
        EXPECT_EQ(window.FocusedControl(), kIdFiles);
        EXPECT_EQ(window.SelectedRows(kIdFiles), (std::vector<int>{Row(window, "draft.htm")}));
        window.Click(kIdCheck);
        EXPECT_EQ(library.validated.back(), Site(".drafts/draft.htm"));

        // Escape gives the list back as it was.
        window.PressKey(kIdFiles, platform::Key::CtrlL);
        window.Type(kIdLookIn, "/");
        window.PressEscape();
        EXPECT_FALSE(window.IsComboEditable(kIdLookIn));
        EXPECT_FALSE(window.HasEnded());
        EXPECT_EQ(selector.CurrentFolder(), Site(".drafts"));
        EXPECT_EQ(window.ItemText(kIdLookIn, window.CurrentItem(kIdLookIn)), ".drafts");

        // An entry picked from the open list while typing opens, and the list is back.
        window.PressKey(kIdFiles, platform::Key::CtrlL);
        const std::vector<std::string> lookIn = window.ItemTexts(kIdLookIn);
        window.Choose(kIdLookIn, static_cast<int>(std::find(lookIn.begin(), lookIn.end(), "site") - lookIn.begin()));
        EXPECT_EQ(selector.CurrentFolder(), SiteFolder());
        EXPECT_FALSE(window.IsComboEditable(kIdLookIn));

        // A file typed from the home folder: its folder, with it selected alone.
        window.PressKey(kIdFiles, platform::Key::CtrlL);
        window.Type(kIdLookIn, "~/site/sub/../b.htm");
        window.PressEnter();
        EXPECT_EQ(selector.CurrentFolder(), SiteFolder());
        EXPECT_EQ(window.SelectedRows(kIdFiles), (std::vector<int>{Row(window, "b.htm")}));

        // Tab away and back with nothing selected: the row with the focus is.
        window.SelectOnlyRows(kIdFiles, {Row(window, "c.htm")});
        window.SelectRow(kIdFiles, Row(window, "c.htm"), false);
        window.MoveFocus(kIdShowHtml);
        window.MoveFocus(kIdFiles);
        EXPECT_EQ(window.SelectedRows(kIdFiles), (std::vector<int>{Row(window, "c.htm")}));
        // Moving the focus elsewhere while typing a location gives the list back.
        window.PressKey(kIdFiles, platform::Key::CtrlL);
        window.MoveFocus(kIdFiles);
        EXPECT_FALSE(window.IsComboEditable(kIdLookIn));
    });
}

// What the list shows stays what is on the disk: a page saved in place shows
// its new size and time, files other programs add or remove come and go
// without Refresh (also while a page is being checked, once that is done),
// and the folder watched is the one shown.
TEST_F(SelectorTest, TheListFollowsTheDiskAfterASaveAndWhenOtherProgramsChangeTheFolder)
{
    library.settings.SetFileSaves(filesaves::kReplace);
    Write("a.htm", std::string(4096, 'a'));
    Write("b.htm", "<p>b</p>");
    Write("notes.txt", "notes");
    Write("style.css", "p {}");
    std::tm local{};
    local.tm_year = 2009 - 1900;
    local.tm_mon = 11;
    local.tm_mday = 26;
    local.tm_hour = 14;
    local.tm_min = 5;
    local.tm_isdst = -1;
    const auto then = std::chrono::system_clock::from_time_t(std::mktime(&local));
    fs::last_write_time(Site("a.htm"), std::chrono::file_clock::from_sys(then));
    Run([&](CMemoryWindow& window, CSelectorDlg&) {
        // Dates read the same to every reader: 26 December 2009.
        EXPECT_EQ(window.ItemText(kIdFiles, Row(window, "a.htm"), 2), "2009-12-26 14:05");
        EXPECT_EQ(window.ItemText(kIdFiles, Row(window, "a.htm"), 1), "4KB");
        EXPECT_EQ(window.WatchedFolder(), SiteFolder());

        window.Click(kIdCheck); // the first file, selected
        EXPECT_EQ(test::ReadFileBytes(Site("a.htm")), "repaired");
        EXPECT_EQ(window.ItemText(kIdFiles, Row(window, "a.htm"), 1), "1KB");
        const auto saved = std::chrono::file_clock::to_sys(fs::last_write_time(Site("a.htm")));
        EXPECT_EQ(window.ItemText(kIdFiles, Row(window, "a.htm"), 2),
                  DateText(std::chrono::duration_cast<std::chrono::seconds>(saved.time_since_epoch()).count()));
        EXPECT_EQ(MarkOf(window, "a.htm"), mark::kChecked);

        // Another program adds a page and removes one; the selection stays.
        Write("new.htm", "<p>new</p>");
        fs::remove(Site("b.htm"));
        window.FolderChangedOnDisk(SiteFolder());
        EXPECT_EQ(window.ItemTexts(kIdFiles), (std::vector<std::string>{"sub", "a.htm", "new.htm"}));
        EXPECT_EQ(window.SelectedRows(kIdFiles), (std::vector<int>{Row(window, "a.htm")}));

        // While a page is checked, a page added meanwhile shows once the check is done.
        library.whileChecking = [&] {
            Write("late.htm", "<p>late</p>");
            window.FolderChangedOnDisk(SiteFolder());
            EXPECT_EQ(window.ItemTexts(kIdFiles), (std::vector<std::string>{"sub", "a.htm", "new.htm"}));
        };
        window.SelectOnlyRows(kIdFiles, {Row(window, "new.htm")});
        window.PressKey(kIdFiles, platform::Key::Enter);
        library.whileChecking = nullptr;
        EXPECT_EQ(window.ItemTexts(kIdFiles), (std::vector<std::string>{"sub", "a.htm", "late.htm", "new.htm"}));
        EXPECT_EQ(MarkOf(window, "new.htm"), mark::kChecked);
        EXPECT_EQ(window.SelectedRows(kIdFiles), (std::vector<int>{Row(window, "new.htm")}));

        // The type column sorts by type, and files of one type by name.
        window.Click(kIdShowAll);
        window.ClickColumn(kIdFiles, 3);
        EXPECT_EQ(window.ItemTexts(kIdFiles),
                  (std::vector<std::string>{"sub", "style.css", "a.htm", "late.htm", "new.htm", "notes.txt"}));

        // In another folder the changes of this one are not heard.
        window.DoubleClickRow(kIdFiles, Row(window, "sub"));
        EXPECT_EQ(window.WatchedFolder(), Site("sub"));
        Write("unseen.htm", "x");
        window.FolderChangedOnDisk(SiteFolder());
        std::ofstream(m_root / "site/sub/seen.htm") << "x";
        window.FolderChangedOnDisk(Site("sub"));
        EXPECT_EQ(window.ItemTexts(kIdFiles), (std::vector<std::string>{"seen.htm"}));
    });
}

} // namespace
} // namespace orvane::selector
