#pragma once

#include "common/orvane_settings.h"
#include "library/checks/check_pass.h"
#include "library/checks/family_factory.h"
#include "library/html/html_document.h"
#include "library/ui/validator_sheet.h"
#include "platform/registry.h"
#include "platform/string_table.h"
#include "tests/support/memory_window.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace orvane::test {

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

// A repair run as the overview starts it: the page is checked, the elements
// add their pages to a sheet, and the sheet is shown to the scripted user.
class RepairRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        strings.Parse(ReadFileBytes(ORVANE_STRINGS_FILE));
        DialogRecord() = {};
    }

    // The registry (may be null) is the one the checks consult, as the
    // overview's is: some checks run only with one.
    void Load(std::string_view page, CSrcObjectDatabase* registry = nullptr)
    {
        document.Start(1, false);
        document.SetName("/site/forms/page.html");
        std::istringstream in{std::string(page)};
        ASSERT_EQ(document.Load(in), 1);
        found = RunCheckPass(document, settings, registry);
    }

    // A sheet set up as the overview sets it up.
    void StartSheet()
    {
        sheet.SetSettings(&settings);
        sheet.SetDocumentPath("/site/forms/page.html");
        sheet.SetSkipAdvances(true);
        sheet.SetTrailingPage(false);
    }

    // Every problem found of the check adds its pages; the number added.
    int AddPages(std::string_view checkName)
    {
        return AddPages(sheet, [&](std::string_view check) { return check == checkName; });
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

    std::string Strings(int id) const { return strings.Get(id); }

    std::string InFolder(std::string_view name) const { return (folder / name).string(); }

    const std::filesystem::path folder = TestFolder();
    platform::CStringTable strings;
    platform::ScopedStrings useStrings{strings};
    CMemoryWindows windows;
    COrvaneSettings settings;
    CHtmlDocument document{CFamilyElementFactory::Instance()};
    std::vector<CFoundProblem> found;
    CValidatorSheet sheet;
};

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

} // namespace orvane::test
