#pragma once

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/check_pass.h"
#include "library/checks/family_factory.h"
#include "library/html/html_document.h"
#include "library/registry/object_database.h"
#include "library/ui/validator_sheet.h"
#include "platform/registry.h"
#include "platform/string_table.h"
#include "tests/support/memory_window.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvane::test {

// The buttons of the sheet every page test presses.
using platform::kIdFinish;
using platform::kIdNext;
constexpr int kSkipUndo = CValidatorSheet::kSkipUndoButton;
constexpr int kOption = CValidatorSheet::kOptionBox;

struct ShownDialogs {
    std::vector<std::string> helpTopics;
    std::vector<platform::IWindow*> helpOwners;
    int aboutBoxes = 0;
};
ShownDialogs& DialogRecord();

// The test's own folder, its home, made empty for it: the pages,
// description files and registries it writes stay apart from those of the
// tests running beside it.
inline std::filesystem::path TestFolder()
{
    const char* home = std::getenv("ORVANE_HOME");
    return home && *home ? std::filesystem::path(home) : std::filesystem::path(::testing::TempDir());
}

// One of the example pages shipped with the project, byte for byte.
inline std::string ExamplePage(std::string_view name)
{
    return ReadFileBytes(std::string(ORVANE_EXAMPLES_DIR) + "/" + std::string(name));
}

using Replacements = std::initializer_list<std::pair<std::string_view, std::string_view>>;

// The page with each piece of markup replaced, in page order: each is looked
// for after the one before, so that the same markup further down can be meant.
inline std::string ReplacedInPageOrder(std::string page, Replacements replacements)
{
    std::size_t from = 0;
    for (const auto& [old, now] : replacements) {
        const std::size_t at = page.find(old, from);
        EXPECT_NE(at, std::string::npos) << old;
        if (at == std::string::npos)
            return page;
        page.replace(at, old.size(), now);
        from = at + now.size();
    }
    return page;
}

// The page with the first place of each piece of markup replaced.
inline std::string ReplacedFirst(std::string page, Replacements replacements)
{
    for (const auto& [old, now] : replacements) {
        const std::size_t at = page.find(old);
        EXPECT_NE(at, std::string::npos) << old;
        if (at != std::string::npos)
            page.replace(at, old.size(), now);
    }
    return page;
}

inline std::string Replaced(std::string page, std::string_view what, std::string_view by)
{
    return ReplacedFirst(std::move(page), {{what, by}});
}

inline int Count(const std::vector<std::string>& names, std::string_view name)
{
    return static_cast<int>(std::count(names.begin(), names.end(), name));
}

inline bool Has(const std::vector<std::string>& names, std::string_view name) { return Count(names, name) > 0; }

// The user's settings store as a file in the test's own folder, in place
// while the fixture that holds it lives.
class CTestUserStore {
public:
    CTestUserStore()
        : m_store(platform::CreateFileRegistry((TestFolder() / "UserRegistry.reg").string())),
          m_scope(*m_store)
    {
    }

private:
    std::unique_ptr<platform::IRegistry> m_store;
    platform::ScopedRegistry m_scope;
};

// A repair run as the overview starts it: the page is checked, the elements
// add their pages to a sheet, and the sheet is shown to the scripted user.
// A test says which page, which check, what the user does on the sheet and
// what the page reads afterwards; the rest is set up here.
class RepairRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        strings.Parse(ReadFileBytes(ORVANE_STRINGS_FILE));
        strings.SetLanguage("en");
        DialogRecord() = {};
    }

    // The user's settings, with every check the catalogue knows, read from a
    // store of the test's own so that no test reads or changes the user's.
    void LoadSettingsOfTheTest()
    {
        userStore.emplace();
        COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
        settings.Load();
    }

    // The checks count at the conformance level (1 to 3).
    void CheckAtLevel(int level)
    {
        LoadSettingsOfTheTest();
        settings.SetConformanceLevel(level);
    }

    // A registry file that knows nothing yet.
    static void WriteEmptyRegistry(const std::string& file)
    {
        std::ofstream(file, std::ios::binary) << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n</root>";
    }

    // The registry the sheet and the next session share, kept as a file in
    // the test's folder.
    void KeepRegistryInFolder() { registry.SetFilePath(RegistryFile()); }

    // The registry starts from an empty file in the test's folder, as a
    // session's does once the registry has been written.
    void LoadEmptyRegistryInFolder()
    {
        WriteEmptyRegistry(RegistryFile());
        KeepRegistryInFolder();
        ASSERT_EQ(registry.Load(), 1);
    }
    std::string RegistryFile() const { return InFolder("ObjectRegistry.xml"); }

    // The registry (may be null) is the one the checks consult, as the
    // overview's is: some checks run only with one.
    void Load(std::string_view page, CSrcObjectDatabase* checksRegistry = nullptr)
    {
        LoadAs(document, "/site/forms/page.html", page);
        if (HasFatalFailure())
            return;
        found = RunCheckPass(document, settings, checksRegistry);
    }

    // A sheet set up as the overview sets it up.
    void StartSheet() { StartOverviewSheet(sheet, "/site/forms/page.html"); }

    // A sheet of a run of its own, for the page at path, set up as the overview sets it up.
    void StartOverviewSheet(CValidatorSheet& run, const std::string& path)
    {
        StartSheet(run, path);
        run.SetSkipAdvances(true);
        run.SetTrailingPage(false);
    }

    // The sheet for a page saved in the test's folder under that name, which
    // remembers its decisions in the fixture's registry.
    void StartSheetInFolder(std::string_view pageName)
    {
        StartSheet();
        sheet.SetDocumentPath(InFolder(pageName));
        sheet.SetObjectRegistry(&registry);
    }

    // Every problem found of the check adds its pages; the number added.
    int AddPages(std::string_view checkName)
    {
        return AddPages(sheet, [&](std::string_view check) { return check == checkName; });
    }

    // The page checked and a sheet started with the pages of the check's
    // problems; the number of pages.
    int OpenSheet(std::string_view page, std::string_view checkName)
    {
        Load(page);
        StartSheet();
        return AddPages(checkName);
    }

    // A sheet of a run of its own, for the page at path.
    void StartSheet(CValidatorSheet& run, const std::string& path)
    {
        run.SetSettings(&settings);
        run.SetDocumentPath(path);
    }

    // Every problem found of the chosen checks adds its pages to the sheet; the number added.
    int AddPages(CValidatorSheet& to, const std::function<bool(std::string_view check)>& chosen)
    {
        int added = 0;
        for (const CFoundProblem& problem : found) {
            if (chosen(problem.element->GetCheckName(problem.bit)))
                added += problem.element->AddRepairPages(to, document, problem.bit);
        }
        return added;
    }

    // The sheet shown to the user, who takes the steps; how the user closed it.
    int ShowSheet(const CMemoryWindows::UserSteps& steps)
    {
        windows.WhenShown(CValidatorSheet::kTemplate, steps);
        return sheet.DoModal(nullptr);
    }

    // The sheet shown to the user, who takes the steps and ends them with Finish.
    void RunSheetToFinish(const CMemoryWindows::UserSteps& steps) { EXPECT_EQ(ShowSheet(steps), platform::kIdFinish); }

    // The sheet's first page, where the user takes the steps and presses Finish.
    void FinishOnFirstPage(const std::function<void(CMemoryWindow& sheetWindow, CMemoryWindow& page)>& steps)
    {
        EXPECT_EQ(ShowSheet([&](CMemoryWindow& w) {
                      steps(w, w.PageWindow(0));
                      w.Click(platform::kIdFinish);
                  }),
                  platform::kIdFinish);
    }

    // The sheet opened again, its Undo button pressed that many times (it
    // moves on to the next repaired page each time), and the sheet closed.
    void UndoOnSheet(int presses = 1)
    {
        ShowSheet([&](CMemoryWindow& w) {
            for (int n = 0; n < presses; ++n)
                w.Click(CValidatorSheet::kSkipUndoButton);
            w.PressEscape();
        });
    }

    // The repair wrote the whole page as expected, and Undo (pressed that
    // many times) gives back every byte of the original.
    void ExpectWrittenThenUndone(std::string_view original, std::string_view expectedAfter, int undoPresses = 1)
    {
        EXPECT_EQ(document.Text(), expectedAfter);
        UndoOnSheet(undoPresses);
        EXPECT_EQ(document.Text(), original);
    }

    // The registry a session writes of the document as it closes, in a file
    // of the test's folder; its path, for the next session to read.
    std::string RegistryWrittenAtClose()
    {
        const std::string file = InFolder("ClosedSession.xml");
        CSrcObjectDatabase closing(file);
        closing.UpdateFromDocument(document);
        EXPECT_EQ(closing.Save(), 1);
        return file;
    }

    // The user has been told that many messages so far, the last of them this text.
    ::testing::AssertionResult ToldLast(std::size_t count, std::string_view text) const
    {
        const auto& told = windows.prompt.messages;
        if (told.size() != count)
            return ::testing::AssertionFailure() << told.size() << " messages told, not " << count;
        if (told.back().text != text)
            return ::testing::AssertionFailure() << "the last message told is \"" << told.back().text << "\", not \""
                                                 << text << "\"";
        return ::testing::AssertionSuccess();
    }

    // The help the user opened on the sheet, topic by topic.
    void ExpectHelpShown(std::vector<std::string> topics) { EXPECT_EQ(DialogRecord().helpTopics, topics); }

    // Every problem of the check is marked repaired.
    void ExpectRepaired(std::string_view checkName)
    {
        for (const CFoundProblem& problem : found) {
            if (problem.element->GetCheckName(problem.bit) == checkName) {
                EXPECT_TRUE(problem.element->IsRepaired(problem.bit, 0));
            }
        }
    }

    // Undone, no problem found counts as repaired any more.
    void ExpectNothingRepaired()
    {
        for (const CFoundProblem& problem : found)
            EXPECT_FALSE(problem.element->IsRepaired(problem.bit, 0)) << problem.element->GetCheckName(problem.bit);
    }

    // How many problems of the check the last check pass found.
    int Reported(std::string_view check) const
    {
        int count = 0;
        for (const CFoundProblem& problem : found)
            count += problem.element->GetCheckName(problem.bit) == check;
        return count;
    }

    // The checks that find problems on a page in a later session, by name,
    // with what that session's registry (may be null) knows.
    std::vector<std::string> ChecksOf(std::string_view page, std::string name, CSrcObjectDatabase* known)
    {
        CHtmlDocument again{CFamilyElementFactory::Instance()};
        LoadAs(again, std::move(name), page);
        std::vector<std::string> names;
        for (const CFoundProblem& problem : RunCheckPass(again, settings, known))
            names.push_back(problem.element->GetCheckName(problem.bit));
        return names;
    }

    static void LoadAs(CHtmlDocument& into, std::string name, std::string_view page)
    {
        into.Start(1, false);
        into.SetName(std::move(name));
        std::istringstream in{std::string(page)};
        ASSERT_EQ(into.Load(in), 1);
    }

    std::string Strings(int id) const { return strings.Get(id); }

    std::string InFolder(std::string_view name) const { return (folder / name).string(); }

    const std::filesystem::path folder = TestFolder();
    platform::CStringTable strings;
    platform::ScopedStrings useStrings{strings};
    CMemoryWindows windows;
    COrvaneSettings settings;
    // Before the document, which may keep a pointer to it until its end.
    CSrcObjectDatabase registry;
    CHtmlDocument document{CFamilyElementFactory::Instance()};
    std::vector<CFoundProblem> found;
    CValidatorSheet sheet;
    std::optional<CTestUserStore> userStore;
};

// A repair run whose checks count at a conformance level (AA unless told).
template <int Level = 2>
class RepairRunAtLevelTest : public RepairRunTest {
protected:
    void SetUp() override
    {
        RepairRunTest::SetUp();
        CheckAtLevel(Level);
    }
};

// A repair run that remembers its decisions in a registry in the test's
// folder, as a session does.
class RememberingRunTest : public RepairRunTest {
protected:
    void SetUp() override
    {
        RepairRunTest::SetUp();
        KeepRegistryInFolder();
    }
};

} // namespace orvane::test
