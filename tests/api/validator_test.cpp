// The exported checking interface as a host uses it, run unattended (tests
// show no window): arguments, buffers, results and calling orders.
#include "library/api/validator.h"

#include "common/orvane_settings.h"

#include "library/checks/element_table.h"
#include "library/registry/object_database.h"
#include "library/registry/object_digest.h"
#include "library/registry/src_table.h"
#include "library/tables/table_record.h"
#include "platform/registry.h"
#include "tests/support/memory_window.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

namespace orvane {
namespace {

// An image without a text alternative: one problem at every level.
constexpr const char* kFaultyPage = "<html><head><title>t</title></head>\n<body>\n<img src=\"a.gif\">\n</body></html>\n";

class ValidatorTest : public ::testing::Test {
    static bool Unattended(test::CMemoryWindows& windows) { return !(windows.canShow = false); }

protected:
    void SetUp() override
    {
        m_folder = std::filesystem::path(::testing::TempDir()) /
                   ("validator-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = (m_folder / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    test::CMemoryWindows windows; // no window may open: the session runs unattended
    bool m_unattended = Unattended(windows);
    CValidator validator;
    std::filesystem::path m_folder;
};

TEST_F(ValidatorTest, ValidateChecksItsArgumentsInOrderBeforeTakingThePageIn)
{
    std::uint32_t word = 77;
    char buffer[64] = "unchanged";
    EXPECT_EQ(validator.Validate(kFaultyPage, nullptr, 0, 0, "n", nullptr), -1);
    EXPECT_EQ(validator.Validate(kFaultyPage, nullptr, 64, 0, "n", &word), -2);
    EXPECT_EQ(validator.Validate(kFaultyPage, buffer, 9, 0, "n", &word), -3);
    EXPECT_STREQ(buffer, "unchanged");
    EXPECT_EQ(word, 77u);
    // The document's name is taken before any argument is checked.
    EXPECT_EQ(validator.Document().Name(), "n");

    EXPECT_EQ(validator.Validate("<p>", buffer, 10, 0, "n", &word), 0);
    EXPECT_EQ(word, 0u);
    EXPECT_STREQ(buffer, "<p>");
}

TEST_F(ValidatorTest, ValidateCopiesTheRepairedPageOnlyWhenItFitsWithItsTerminator)
{
    const std::string page = kFaultyPage;
    std::uint32_t word = 0;
    std::string buffer(page.size() + 1, 'x');
    EXPECT_EQ(validator.Validate(page.c_str(), buffer.data(), static_cast<int>(page.size()), 0, "p", &word), 2);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(validator.Validate(page.c_str(), buffer.data(), static_cast<int>(page.size() + 1), 0, "p", &word), 2);
    EXPECT_EQ(std::string(buffer.c_str()), page);
}

TEST_F(ValidatorTest, AMissingFileIsOneMessageAndMinusFour)
{
    const std::string missing = (m_folder / "missing.html").string();
    EXPECT_EQ(validator.ValidateDoc(missing.c_str()), -4);
    ASSERT_EQ(windows.prompt.messages.size(), 1u);
    EXPECT_NE(windows.prompt.messages[0].text.find(missing), std::string::npos);
    EXPECT_EQ(validator.ValidateDoc(nullptr), -4);
}

TEST_F(ValidatorTest, APageFileIsCheckedSavedByteForByteAndReadBackLineByLine)
{
    const std::string page = "<html>\r\n<body>\r\n<img src=\"a.gif\">\r\n</body></html>";
    const std::string path = Write("page.html", page);
    EXPECT_EQ(validator.ValidateDoc(path.c_str()), 2);

    const std::string copy = (m_folder / "copy.html").string();
    EXPECT_EQ(validator.SaveDoc(copy.c_str()), 1);
    EXPECT_EQ(test::ReadFileBytes(copy), page);

    EXPECT_EQ(validator.StartGetDocumentLine(), 1);
    char line[64];
    std::string joined;
    while (validator.GetNextDocumentLine(line, sizeof line) == 0)
        joined += line;
    EXPECT_EQ(joined, page);
}

// A host such as the selector checks and saves a page whatever target the
// user chose, a WCAG 2.2 one included: the page comes back as it was.
TEST_F(ValidatorTest, APageCheckedAtAWcag22TargetIsSavedByteForByte)
{
    const std::unique_ptr<platform::IRegistry> store = platform::CreateFileRegistry((m_folder / "store.reg").string());
    const platform::ScopedRegistry scope(*store);
    {
        COrvaneSettings settings;
        settings.Load();
        settings.SetConformanceLevel(level::kWcag22AA);
        settings.Save();
    }
    const std::string page = "<html>\r\n<body>\r\n<img src=\"a.gif\">\r\n</body></html>";
    const std::string path = Write("page.html", page);
    EXPECT_GE(validator.ValidateDoc(path.c_str()), 0);
    const std::string copy = (m_folder / "copy.html").string();
    EXPECT_EQ(validator.SaveDoc(copy.c_str()), 1);
    EXPECT_EQ(test::ReadFileBytes(copy), page);
    COrvaneSettings after;
    after.Load();
    EXPECT_EQ(after.GetConformanceLevel(), level::kWcag22AA) << "the target stays as the user chose it";
}

TEST_F(ValidatorTest, LineReadingSkipsALineTooLongAndStaysAtTheEnd)
{
    ASSERT_EQ(validator.ValidateDocCreate("lines.html"), 1);
    for (const char* line : {"<html>\n", "<body><p>a rather long line of text</p>\n", "</body></html>\n"})
        ASSERT_EQ(validator.ValidateDocAddLine(line), 1);
    ASSERT_GE(validator.ValidateDocEndCreate(), 0);

    validator.StartGetDocumentLine();
    char buffer[16];
    EXPECT_EQ(validator.GetNextDocumentLine(buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "<html>\n");
    EXPECT_EQ(validator.GetNextDocumentLine(buffer, sizeof buffer), -1);
    EXPECT_EQ(validator.GetNextDocumentLine(buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "</body></html>\n");
    std::strcpy(buffer, "kept");
    EXPECT_EQ(validator.GetNextDocumentLine(buffer, sizeof buffer), 1);
    EXPECT_EQ(validator.GetNextDocumentLine(buffer, sizeof buffer), 1);
    EXPECT_STREQ(buffer, "kept");
}

TEST_F(ValidatorTest, AnEmptyLineByLinePageStillRunsASession)
{
    EXPECT_EQ(validator.ValidateDocCreate("empty.html"), 1);
    EXPECT_GE(validator.ValidateDocEndCreate(), 0);
    EXPECT_EQ(validator.ValidateDocAddLine(nullptr), 0);
}

TEST_F(ValidatorTest, SettingsAreReadOnceForTwoSessions)
{
    std::uint32_t word = 0;
    char buffer[256];
    validator.Validate(kFaultyPage, buffer, sizeof buffer, 0, "a", &word);
    validator.Validate(kFaultyPage, buffer, sizeof buffer, 0, "b", &word);
    EXPECT_EQ(validator.SettingsLoadCount(), 1);
}

TEST_F(ValidatorTest, AFailedSaveLeavesTheOldFileAndSaysSo)
{
    const std::string path = Write("page.html", kFaultyPage);
    ASSERT_EQ(validator.ValidateDoc(path.c_str()), 2);
    const std::string target = (m_folder / "no-such-folder" / "out.html").string();
    EXPECT_EQ(validator.SaveDoc(target.c_str()), 0);
    EXPECT_FALSE(std::filesystem::exists(target));
    ASSERT_EQ(windows.prompt.messages.size(), 1u);
    EXPECT_NE(windows.prompt.messages[0].text.find(target), std::string::npos);
}

// Remembered decisions of one page, in a home of the test's own: nothing of
// another page's records may be read or written under a page's name.
class RememberedDecisionsTest : public ValidatorTest {
protected:
    void SetUp() override
    {
        ValidatorTest::SetUp();
        m_home.emplace((m_folder / "home").string());
    }
    void TearDown() override
    {
        m_home.reset();
        ValidatorTest::TearDown();
    }

    // The user once called the table summarised "Prices" on page a a layout table.
    std::string RememberPricesAsLayoutOn(const std::string& page)
    {
        const std::string file = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<root>\n<document filename=\"" +
                                 page + "\" framesneeddescription=\"false\">\n<table id=\"" +
                                 ObjectDigest("Prices") +
                                 "\" type=\"layout\" rowheaders=\"false\" colheaders=\"false\" "
                                 "rowheaders_abbrev=\"false\" colheaders_abbrev=\"false\" linearize=\"true\" />\n"
                                 "</document>\n</root>";
        std::ofstream(CSrcObjectDatabase::DefaultFilePath(), std::ios::binary) << file;
        return page;
    }

    // The type of the page's first table, as the last session left it.
    int FirstTableType() const
    {
        for (const CElement* e : validator.Document().Elements()) {
            if (const auto* table = dynamic_cast<const CElementTable*>(e))
                return table->TableRecord().Type();
        }
        return -1;
    }

    void CheckLineByLine(const char* sessionName, const std::vector<std::string>& lines)
    {
        ASSERT_EQ(validator.ValidateDocCreate(sessionName), 1);
        for (const std::string& line : lines)
            ASSERT_EQ(validator.ValidateDocAddLine(line.c_str()), 1);
        ASSERT_GE(validator.ValidateDocEndCreate(), 0);
    }

    // What page a's records hold after the sessions.
    static bool PageKnowsTable(const std::string& page, std::string_view summary)
    {
        CSrcObjectDatabase registry;
        return registry.Load() == 1 && registry.FindTable(page, ObjectDigest(summary));
    }

    std::optional<test::CScopedHome> m_home;
};

TEST_F(RememberedDecisionsTest, APageGivenLineByLineUsesItsOwnRecordsNotThoseOfThePageBefore)
{
    const std::vector<std::string> lines = {"<html><body>\n", "<table summary=\"Prices\"><tr><td>1</td></tr></table>\n",
                                            "<table summary=\"Only in b\"><tr><td>2</td></tr></table>\n",
                                            "</body></html>\n"};
    const std::string a = RememberPricesAsLayoutOn(Write("a.html", lines[0] + lines[1] + lines[3]));
    ASSERT_GE(validator.ValidateDoc(a.c_str()), 0);
    EXPECT_EQ(FirstTableType(), table_type::kLayout);

    // Page b holds the same table, but nobody has judged its tables.
    CheckLineByLine("b.html", lines);
    EXPECT_EQ(validator.Document().Name(), "b.html");
    EXPECT_EQ(FirstTableType(), table_type::kUnknown);
    EXPECT_FALSE(PageKnowsTable(a, "Only in b"));

    // A page without a name reads and files nothing under page a's name either.
    ASSERT_GE(validator.ValidateDoc(a.c_str()), 0);
    CheckLineByLine(nullptr, lines);
    EXPECT_EQ(validator.Document().Name(), "");
    EXPECT_EQ(FirstTableType(), table_type::kUnknown);
    CheckLineByLine("", lines);
    EXPECT_EQ(FirstTableType(), table_type::kUnknown);
    EXPECT_FALSE(PageKnowsTable(a, "Only in b"));
    EXPECT_TRUE(PageKnowsTable(a, "Prices"));
}

} // namespace
} // namespace orvane
