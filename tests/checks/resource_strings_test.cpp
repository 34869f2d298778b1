#include "library/checks/check_catalogue.h"
#include "library/checks/check_info.h"
#include "platform/paths.h"
#include "platform/resource_bundle.h"
#include "platform/string_table.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <cctype>
#include <charconv>
#include <filesystem>
#include <map>
#include <regex>
#include <string>

namespace orvane {
namespace {

// The string table as the built resource bundle carries it.
class ResourceStringsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string path = platform::FindDataFile("OrvaneResources.rcc");
        ASSERT_FALSE(path.empty()) << "the resource bundle is not built";
        ASSERT_TRUE(m_bundle.Load(path));
        std::optional<std::string> text = m_bundle.ReadFile("strings/en.txt");
        ASSERT_TRUE(text);
        m_text = *text;
        int badLine = 0;
        m_strings.Parse(m_text, &badLine);
        EXPECT_EQ(badLine, 0);
    }

    void ExpectText(int id) const { EXPECT_FALSE(m_strings.Get(id).empty()) << "string " << id; }

    // "1-1-6.html" belongs to checkpoint 1.1; other topics name none.
    static std::string CheckpointOfTopic(std::string_view topic)
    {
        int a = 0, b = 0, c = 0;
        const char* end = topic.data() + topic.size();
        auto first = std::from_chars(topic.data(), end, a);
        if (first.ec != std::errc() || first.ptr == end || *first.ptr != '-')
            return {};
        auto second = std::from_chars(first.ptr + 1, end, b);
        if (second.ec != std::errc() || second.ptr == end || *second.ptr != '-')
            return {};
        auto third = std::from_chars(second.ptr + 1, end, c);
        if (third.ec != std::errc() || std::string_view(third.ptr, end - third.ptr) != ".html")
            return {};
        return std::to_string(a) + "." + std::to_string(b);
    }

    platform::CResourceBundle m_bundle;
    std::string m_text;
    platform::CStringTable m_strings;
};

TEST_F(ResourceStringsTest, TheTableIsOrderedByNumber)
{
    int previous = 0;
    std::string_view text = m_text;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        int id = 0;
        std::from_chars(line.data(), line.data() + line.size(), id);
        EXPECT_GT(id, previous) << line;
        previous = id;
    }
}

TEST_F(ResourceStringsTest, EveryTitleNamesTheCheckpointOfItsHelpTopic)
{
    for (const ElementPtr& family : CreateCatalogueFamilies()) {
        for (const CheckInfo& info : dynamic_cast<const CCatalogueElement&>(*family).CheckTable()) {
            if (info.titleId == 0)
                continue;
            SCOPED_TRACE(std::string(info.name) + " " + std::to_string(info.titleId));
            std::string title = m_strings.Get(info.titleId);
            std::size_t at = title.find("(WCAG 1.0 checkpoint ");
            ASSERT_NE(at, std::string::npos) << title;
            EXPECT_EQ(title.back(), ')');
            std::string topic(info.helpTopic.empty() ? info.warningHelpTopic : info.helpTopic);
            std::string checkpoint = CheckpointOfTopic(topic);
            if (!checkpoint.empty()) {
                EXPECT_EQ(title.substr(at), "(WCAG 1.0 checkpoint " + checkpoint + ")");
            }
        }
    }
}

TEST_F(ResourceStringsTest, WarningAndProblemTextsExist)
{
    for (const ElementPtr& family : CreateCatalogueFamilies()) {
        for (const CheckInfo& info : dynamic_cast<const CCatalogueElement&>(*family).CheckTable()) {
            if (info.warningTextId != 0)
                ExpectText(info.warningTextId);
            if (info.problemTextId != 0)
                ExpectText(info.problemTextId);
        }
    }
    // Every document and html check names its problem with a string.
    for (int kind : {-4, 41}) {
        for (const ElementPtr& family : CreateCatalogueFamilies()) {
            if (family->Kind() != kind)
                continue;
            for (const CheckInfo& info : dynamic_cast<const CCatalogueElement&>(*family).CheckTable())
                EXPECT_TRUE(!info.inMask || info.problemTextId != 0) << info.name;
        }
    }
}

TEST_F(ResourceStringsTest, TheTextsTheChecksAndPagesInsertExist)
{
    for (int id : {111, 199, 200, 306, 307, 325, 367})
        ExpectText(id);
    EXPECT_NE(m_strings.Get(306), m_strings.Get(307));
    std::string image = m_strings.Get(441);
    EXPECT_EQ(image.find("%1"), image.rfind("%1"));
    EXPECT_NE(image.find("%1"), std::string::npos);
    EXPECT_EQ(image.find("%2"), std::string::npos);
    EXPECT_NE(platform::FormatMessage(image, {"a.gif"}).find("a.gif"), std::string::npos);
}

// Every string number the library names in its code: given as a number or
// through a named constant to a string look-up, or to the load-failure report.
TEST_F(ResourceStringsTest, EveryStringNumberTheLibraryUsesIsInTheTable)
{
    namespace fs = std::filesystem;
    const fs::path library = fs::path(ORVANE_EXAMPLES_DIR).parent_path() / "library";
    ASSERT_TRUE(fs::is_directory(library));
    std::map<std::string, int> constants;
    std::vector<std::pair<std::string, std::string>> uses;  // file, number or constant name
    const std::regex constant(R"(constexpr int (k\w+) = (\d{3});)");
    const std::regex use(R"((?:Get|Format|refuse|ReportLoadFailure)\(\s*(?:\w+::)?(\d{3}|k\w+)\b)");
    for (const auto& entry : fs::recursive_directory_iterator(library)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".cpp" && ext != ".h")
            continue;
        const std::string text = test::ReadFileBytes(entry.path().string());
        for (std::sregex_iterator it(text.begin(), text.end(), constant), end; it != end; ++it)
            constants[(*it)[1]] = std::stoi((*it)[2]);
        for (std::sregex_iterator it(text.begin(), text.end(), use), end; it != end; ++it)
            uses.emplace_back(entry.path().filename().string(), (*it)[1]);
    }
    int checked = 0;
    for (const auto& [file, name] : uses) {
        int id = 0;
        if (std::isdigit(static_cast<unsigned char>(name.front())))
            id = std::stoi(name);
        else if (auto found = constants.find(name); found != constants.end())
            id = found->second;
        else
            continue;  // a constant that is not a string number
        ExpectText(id);
        ++checked;
    }
    EXPECT_GE(checked, 10);
}

} // namespace
} // namespace orvane
