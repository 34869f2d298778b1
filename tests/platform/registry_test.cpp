#include "platform/file_system.h"
#include "platform/registry.h"

#include "platform/services.h"
#include "platform/string_table.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <string>
#include <vector>

namespace orvane::platform {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

constexpr std::string_view kKey = "Accessibility\\Orvane";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::random_device random;
        m_folder = fs::temp_directory_path() / ("orvane-registry-" + std::to_string(random()));
        fs::create_directories(m_folder);
        m_file = (m_folder / "UserRegistry.reg").string();
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(m_folder, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(m_folder, ignored);
    }

    void WriteStoreFile(const std::string& text)
    {
        std::ofstream out(m_file, std::ios::binary);
        out << text;
    }
    std::string StoreFile() const { return test::ReadFileBytes(m_file); }

    fs::path m_folder;
    std::string m_file;
};

TEST_F(RegistryTest, AMissingKeyDoesNotOpenUntilItIsCreated)
{
    auto registry = CreateFileRegistry(m_file);
    EXPECT_EQ(registry->OpenKey(kKey, RegistryAccess::Read), nullptr);
    EXPECT_EQ(registry->OpenKey(kKey, RegistryAccess::Full), nullptr);

    ASSERT_NE(registry->CreateKey(kKey), nullptr);
    // Also an empty key exists from then on, for another store on the same file.
    auto other = CreateFileRegistry(m_file);
    EXPECT_NE(other->OpenKey(kKey, RegistryAccess::Read), nullptr);
    EXPECT_EQ(other->OpenKey("Accessibility\\Other", RegistryAccess::Read), nullptr);
}

TEST_F(RegistryTest, ValuesSurviveInAFreshStore)
{
    {
        auto key = CreateFileRegistry(m_file)->CreateKey(kKey);
        ASSERT_NE(key, nullptr);
        EXPECT_TRUE(key->SetDword("FileSaves", 0x103));
        EXPECT_TRUE(key->SetString("OriginalExtension", ".htmlold"));
        EXPECT_TRUE(key->SetString("Empty", ""));
    }
    auto key = CreateFileRegistry(m_file)->OpenKey(kKey, RegistryAccess::Read);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->QueryDword("FileSaves"), 0x103u);
    EXPECT_EQ(key->QueryString("OriginalExtension", 30), ".htmlold");
    EXPECT_EQ(key->QueryString("Empty", 1), "");
    EXPECT_EQ(key->QueryDword("Missing"), std::nullopt);
    EXPECT_EQ(key->QueryString("Missing", 30), std::nullopt);
}

TEST_F(RegistryTest, AKeySeesItsOwnValuesBeforeTheyAreFlushed)
{
    auto key = CreateFileRegistry(m_file)->CreateKey(kKey);
    ASSERT_NE(key, nullptr);
    key->SetDword("Number", 7);
    EXPECT_EQ(key->QueryDword("Number"), 7u);
    EXPECT_TRUE(key->Flush());
    EXPECT_EQ(CreateFileRegistry(m_file)->OpenKey(kKey, RegistryAccess::Read)->QueryDword("Number"), 7u);
}

TEST_F(RegistryTest, ATextMustFitTheBufferWithItsTerminator)
{
    {
        auto key = CreateFileRegistry(m_file)->CreateKey(kKey);
        key->SetString("Text", std::string(98, 'x'));
        key->SetString("Longer", std::string(99, 'x'));
    }
    auto key = CreateFileRegistry(m_file)->OpenKey(kKey, RegistryAccess::Read);
    EXPECT_EQ(key->QueryString("Text", 99), std::string(98, 'x'));
    EXPECT_EQ(key->QueryString("Longer", 99), std::nullopt);
    EXPECT_EQ(key->QueryString("Longer", 100), std::string(99, 'x'));
    EXPECT_EQ(key->QueryString("Text", 0), std::nullopt);
}

TEST_F(RegistryTest, AValueOfAnotherTypeCountsAsMissing)
{
    {
        auto key = CreateFileRegistry(m_file)->CreateKey(kKey);
        key->SetString("Text", "3");
        key->SetDword("Number", 3);
    }
    auto key = CreateFileRegistry(m_file)->OpenKey(kKey, RegistryAccess::Read);
    EXPECT_EQ(key->QueryDword("Text"), std::nullopt);
    EXPECT_EQ(key->QueryString("Number", 30), std::nullopt);
}

TEST_F(RegistryTest, NamesAndKeyPathsIgnoreCaseAndKeepTheirFirstSpelling)
{
    {
        auto key = CreateFileRegistry(m_file)->CreateKey(kKey);
        key->SetDword("FileSaves", 1);
    }
    {
        auto key = CreateFileRegistry(m_file)->OpenKey("ACCESSIBILITY\\orvane\\", RegistryAccess::Full);
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->QueryDword("filesaves"), 1u);
        key->SetDword("FILESAVES", 2);
    }
    auto key = CreateFileRegistry(m_file)->OpenKey(kKey, RegistryAccess::Read);
    EXPECT_EQ(key->QueryDword("FileSaves"), 2u);
    std::string file = StoreFile();
    EXPECT_NE(file.find("[Accessibility\\Orvane]"), std::string::npos);
    EXPECT_NE(file.find("\"FileSaves\"=dword:00000002"), std::string::npos);
    EXPECT_EQ(file.find("FILESAVES"), std::string::npos);
}

TEST_F(RegistryTest, TextsKeepEveryByteButStopAtAZero)
{
    const std::string awkward = "quote \" backslash \\ line\nfeed tab\t = ; [x] \x7f umlaut \xe4";
    {
        auto key = CreateFileRegistry(m_file)->CreateKey(kKey);
        key->SetString("Awkward", awkward);
        key->SetString("Name with \"quotes\" = and spaces", "v");
        key->SetString("Zero", std::string_view("before\0after", 12));
    }
    auto key = CreateFileRegistry(m_file)->OpenKey(kKey, RegistryAccess::Read);
    EXPECT_EQ(key->QueryString("Awkward", 200), awkward);
    EXPECT_EQ(key->QueryString("Name with \"quotes\" = and spaces", 10), "v");
    EXPECT_EQ(key->QueryString("Zero", 30), "before");
}

TEST_F(RegistryTest, AHandWrittenZeroInsideATextEndsItAsTheReaderSeesIt)
{
    WriteStoreFile("[Accessibility\\Orvane]\n\"Ext\"=\".html\\x00old\"\n");
    auto key = CreateFileRegistry(m_file)->OpenKey(kKey, RegistryAccess::Full);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->QueryString("Ext", 30), ".html");
    // The buffer must still hold the whole stored value.
    EXPECT_EQ(key->QueryString("Ext", 9), std::nullopt);
    // And the stored bytes stay as they were when another value is written.
    key->SetDword("Other", 1);
    key->Flush();
    EXPECT_NE(StoreFile().find("\"Ext\"=\".html\\x00old\""), std::string::npos);
}

TEST_F(RegistryTest, TheRewrittenTextOfAStoreIsWhatAWriteLeavesBesidesItsValue)
{
    const std::string file = "; by hand\n[accessibility\\orvane\\]\n\"A\" = dword:1 \n\"B\"=odd\n[Other]\n\"C\"=\"c\"\n";
    WriteStoreFile(file);
    const std::string rewritten = RewrittenStoreText(file).value();
    EXPECT_EQ(RewrittenStoreText(rewritten), rewritten);
    auto key = CreateFileRegistry(m_file)->OpenKey(kKey, RegistryAccess::Full);
    ASSERT_NE(key, nullptr);
    key->SetString("Z", "z");
    ASSERT_TRUE(key->Flush());
    std::string expected = rewritten;
    expected.insert(expected.find("\n[Other]"), "\"Z\"=\"z\"\n");
    EXPECT_EQ(StoreFile(), expected);
}

TEST_F(RegistryTest, CarriageReturnsAndBlanksBeforeALineFeedAreTheLineEnd)
{
    // Found by fuzzing: a value line ending in two carriage returns kept one
    // in its raw text, and every rewrite of the store lost another.
    const std::string file = "[A]\n\"W\"=\r\r\n\"V\"=\r \n\"T\"=\"t\"\r\r\r\n";
    const std::string rewritten = RewrittenStoreText(file).value();
    EXPECT_EQ(RewrittenStoreText(rewritten), rewritten);
    WriteStoreFile(file);
    auto key = CreateFileRegistry(m_file)->OpenKey("A", RegistryAccess::Read);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->QueryString("T", 30), "t");
}

TEST_F(RegistryTest, AKeyOpenedForReadingCannotWrite)
{
    CreateFileRegistry(m_file)->CreateKey(kKey);
    auto key = CreateFileRegistry(m_file)->OpenKey(kKey, RegistryAccess::Read);
    EXPECT_FALSE(key->SetDword("Number", 1));
    EXPECT_FALSE(key->SetString("Text", "x"));
    EXPECT_EQ(key->QueryDword("Number"), std::nullopt);
}

TEST_F(RegistryTest, AnEmptyValueNameIsRefused)
{
    auto key = CreateFileRegistry(m_file)->CreateKey(kKey);
    EXPECT_FALSE(key->SetDword("", 1));
}

TEST_F(RegistryTest, HandWrittenValuesOfUnknownTypesAreMissingButKept)
{
    WriteStoreFile("; written by hand\r\n"
                   "\"Before\"=dword:1\n"
                   "[Accessibility\\Orvane]\r\n"
                   "\"FileSaves\"=\".htmlold\"\n"
                   "\"OriginalExtension\"=dword:00000003\n"
                   "\"Binary\"=hex:01,02,03\n"
                   "\"TooLong\"=dword:123456789\n"
                   "\"Unterminated\"=\"abc\n"
                   "not a value line\n"
                   "\"Spaced\" = dword:0000000A \n"
                   "\"Good\"=\"text\"\n");
    {
        auto key = CreateFileRegistry(m_file)->OpenKey(kKey, RegistryAccess::Full);
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->QueryDword("FileSaves"), std::nullopt);
        EXPECT_EQ(key->QueryString("FileSaves", 30), ".htmlold");
        EXPECT_EQ(key->QueryString("OriginalExtension", 30), std::nullopt);
        EXPECT_EQ(key->QueryDword("Binary"), std::nullopt);
        EXPECT_EQ(key->QueryString("Binary", 30), std::nullopt);
        EXPECT_EQ(key->QueryDword("TooLong"), std::nullopt);
        EXPECT_EQ(key->QueryString("Unterminated", 30), std::nullopt);
        EXPECT_EQ(key->QueryDword("Spaced"), 10u);
        EXPECT_EQ(key->QueryString("Good", 30), "text");
        EXPECT_EQ(key->QueryDword("Before"), std::nullopt);
        key->SetDword("New", 1);
    }
    // Rewriting keeps what it could not read as it stood.
    std::string file = StoreFile();
    EXPECT_NE(file.find("\"Binary\"=hex:01,02,03"), std::string::npos);
    EXPECT_NE(file.find("\"Unterminated\"=\"abc"), std::string::npos);
    EXPECT_NE(file.find("\"New\"=dword:00000001"), std::string::npos);
}

TEST_F(RegistryTest, EveryLineTheStoreDoesNotUnderstandIsKeptAsItStands)
{
    // What a hand or a newer program may have added: notes, values outside a
    // key, a heading the store cannot name and the lines below it.
    const std::vector<std::string> foreign{
        "# notes, written by hand",
        "\"Loose\"=dword:00000001",
        "; about the key",
        "  not a value line  ",
        "\"Binary\" = hex:01,02 ",
        "\"\"=\"no name\"",
        "[Accessibility\\Orvane",
        "\"Below\"=dword:00000002",
    };
    WriteStoreFile(foreign[0] + "\n" + foreign[1] + "\n\n[Accessibility\\Orvane]\n" + foreign[2] + "\n\"A\"=dword:1\n" +
                   foreign[3] + "\n" + foreign[4] + "\n" + foreign[5] + "\n" + foreign[6] + "\n" + foreign[7] + "\n");
    {
        auto key = CreateFileRegistry(m_file)->OpenKey(kKey, RegistryAccess::Full);
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->QueryDword("A"), 1u);
        EXPECT_EQ(key->QueryDword("Below"), std::nullopt);
        key->SetDword("New", 3);
    }
    const std::string file = StoreFile();
    for (const std::string& line : foreign)
        EXPECT_NE(file.find("\n" + line + "\n"), std::string::npos) << line;
    EXPECT_LT(file.find("[Accessibility\\Orvane]\n"), file.find(foreign[2]));
    EXPECT_EQ(RewrittenStoreText(file), file);
    auto key = CreateFileRegistry(m_file)->OpenKey(kKey, RegistryAccess::Read);
    EXPECT_EQ(key->QueryDword("New"), 3u);
    EXPECT_EQ(key->QueryDword("A"), 1u);
    EXPECT_EQ(key->QueryDword("Below"), std::nullopt);
}

TEST_F(RegistryTest, AByteOrderMarkAndLinesEndedByACarriageReturnAloneAreRead)
{
    WriteStoreFile("\xEF\xBB\xBF[Accessibility\\Orvane]\r\"FileSaves\"=dword:00000002\r"
                   "\"OriginalExtension\"=\".old\"\r; kept\r");
    {
        auto key = CreateFileRegistry(m_file)->OpenKey(kKey, RegistryAccess::Full);
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->QueryDword("FileSaves"), 2u);
        EXPECT_EQ(key->QueryString("OriginalExtension", 30), ".old");
        key->SetDword("FileSaves", 3);
    }
    const std::string file = StoreFile();
    EXPECT_EQ(file.rfind("\xEF\xBB\xBF", 0), 0u);
    EXPECT_NE(file.find("\n; kept\n"), std::string::npos);
    auto key = CreateFileRegistry(m_file)->OpenKey(kKey, RegistryAccess::Read);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->QueryDword("FileSaves"), 3u);
    EXPECT_EQ(key->QueryString("OriginalExtension", 30), ".old");
}

TEST_F(RegistryTest, AFileThatIsNoStoreIsSetAsideWithOneMessageBeforeItIsReplaced)
{
    CStringTable strings;
    strings.Parse("111\tOrvane\n952\t%1 was kept as %2\n");
    ScopedStrings stringsScope(strings);
    // Not text; text in which no line opens a key; a folder (empty content).
    for (const std::string& content : {"[Accessibility\\Orvane]\n\"A\"=dword:1\n\0\x01 binary"s,
                                       "just some text\n\"A\"=dword:1\n"s, ""s}) {
        SCOPED_TRACE(content);
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        if (content.empty()) {
            fs::create_directories(fs::path(m_file) / "inside");
        } else {
            WriteStoreFile(content);
            EXPECT_EQ(RewrittenStoreText(content), std::nullopt);
        }
        test::CPromptCapture capture;
        auto registry = CreateFileRegistry(m_file);
        EXPECT_EQ(registry->OpenKey(kKey, RegistryAccess::Read), nullptr);
        {
            auto key = registry->CreateKey(kKey);
            ASSERT_NE(key, nullptr);
            key->SetDword("Fresh", 1);
        }
        std::vector<fs::path> kept;
        for (const auto& entry : fs::directory_iterator(m_folder)) {
            if (entry.path().filename().string().rfind("UserRegistry.reg.unreadable-", 0) == 0)
                kept.push_back(entry.path());
        }
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_TRUE(std::regex_match(kept[0].filename().string(), std::regex(R"(.*\.unreadable-\d{8}-\d{6})")));
        if (content.empty())
            EXPECT_TRUE(fs::is_directory(kept[0] / "inside"));
        else
            EXPECT_EQ(test::ReadFileBytes(kept[0].string()), content);
        ASSERT_EQ(capture.prompt.messages.size(), 1u);
        EXPECT_EQ(capture.prompt.messages[0].caption, "Orvane");
        EXPECT_EQ(capture.prompt.messages[0].text, m_file + " was kept as " + kept[0].string());
        EXPECT_EQ(capture.prompt.messages[0].icon, PromptIcon::Exclamation);

        auto key = registry->OpenKey(kKey, RegistryAccess::Full);
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->QueryDword("Fresh"), 1u);
        EXPECT_EQ(key->QueryDword("A"), std::nullopt);
        // The new store is replaced as any other: nothing more is set aside or said.
        key->SetDword("More", 2);
        EXPECT_TRUE(key->Flush());
        EXPECT_EQ(capture.prompt.messages.size(), 1u);
        EXPECT_EQ(std::distance(fs::directory_iterator(m_folder), fs::directory_iterator()), 2);
    }
}

TEST_F(RegistryTest, TwoStoresOnOneFileKeepEachOthersValues)
{
    CreateFileRegistry(m_file)->CreateKey(kKey);
    auto first = CreateFileRegistry(m_file);
    auto second = CreateFileRegistry(m_file);
    auto firstKey = first->OpenKey(kKey, RegistryAccess::Full);
    auto secondKey = second->OpenKey(kKey, RegistryAccess::Full);
    ASSERT_NE(firstKey, nullptr);
    ASSERT_NE(secondKey, nullptr);

    firstKey->SetString("IconsLocation", "http://example.org/icons");
    secondKey->SetDword("FileSaves", 2);
    secondKey->SetDword("Shared", 2);
    firstKey->SetDword("Shared", 1);
    EXPECT_TRUE(firstKey->Flush());
    EXPECT_TRUE(secondKey->Flush());

    auto key = CreateFileRegistry(m_file)->OpenKey(kKey, RegistryAccess::Read);
    EXPECT_EQ(key->QueryString("IconsLocation", 299), "http://example.org/icons");
    EXPECT_EQ(key->QueryDword("FileSaves"), 2u);
    // The same value written twice: the later write wins.
    EXPECT_EQ(key->QueryDword("Shared"), 2u);
}

TEST_F(RegistryTest, AStoreThatCannotBeWrittenOpensForReadingOnly)
{
    CreateFileRegistry(m_file)->CreateKey(kKey);
    const std::string before = StoreFile();
    // A folder where the store's new text is written first: no write can
    // replace the store, for root no more than for anyone.
    ASSERT_TRUE(fs::create_directory(TemporaryPathFor(m_file)));
    auto registry = CreateFileRegistry(m_file);
    EXPECT_NE(registry->OpenKey(kKey, RegistryAccess::Read), nullptr);
    EXPECT_EQ(registry->OpenKey(kKey, RegistryAccess::Full), nullptr);
    EXPECT_EQ(registry->CreateKey(kKey), nullptr);
    EXPECT_EQ(registry->CreateKey("Accessibility\\Other"), nullptr);
    EXPECT_EQ(StoreFile(), before);
}

TEST_F(RegistryTest, AFlushThatFailsKeepsItsValuesForTheNextAttempt)
{
    auto key = CreateFileRegistry(m_file)->CreateKey(kKey);
    ASSERT_NE(key, nullptr);
    key->SetDword("Number", 5);
    // A file where the store's folder belongs: the store can be neither read nor written.
    fs::remove_all(m_folder);
    std::ofstream(m_folder).put('x');
    EXPECT_FALSE(key->Flush());
    fs::remove(m_folder);
    EXPECT_TRUE(key->Flush());
    EXPECT_EQ(CreateFileRegistry(m_file)->OpenKey(kKey, RegistryAccess::Read)->QueryDword("Number"), 5u);
}

TEST_F(RegistryTest, AStoreInAFolderThatCannotBeMadeCreatesNoKey)
{
    WriteStoreFile("");
    auto registry = CreateFileRegistry(m_file + "/UserRegistry.reg");
    EXPECT_EQ(registry->CreateKey(kKey), nullptr);
    EXPECT_EQ(registry->OpenKey(kKey, RegistryAccess::Full), nullptr);
}

TEST_F(RegistryTest, TheDefaultRegistryOpensNothingUntilOneIsInstalled)
{
    EXPECT_EQ(Registry().OpenKey(kKey, RegistryAccess::Read), nullptr);
    EXPECT_EQ(Registry().CreateKey(kKey), nullptr);
    auto store = CreateFileRegistry(m_file);
    {
        ScopedRegistry scope(*store);
        EXPECT_NE(Registry().CreateKey(kKey), nullptr);
    }
    EXPECT_EQ(Registry().OpenKey(kKey, RegistryAccess::Read), nullptr);
}

TEST_F(RegistryTest, TheUserRegistryLiesInTheUserDataFolder)
{
    // ctest points ORVANE_HOME at a folder of the build.
    const char* home = std::getenv("ORVANE_HOME");
    if (!home || !*home)
        GTEST_SKIP() << "ORVANE_HOME is not set";
    {
        auto key = UserRegistry().CreateKey("Accessibility\\OrvaneTest");
        ASSERT_NE(key, nullptr);
        key->SetDword("Probe", 1);
    }
    EXPECT_TRUE(fs::exists(fs::path(home) / "UserRegistry.reg"));
}

// --- Two processes at once --------------------------------------------------------

constexpr int kValuesPerWriter = 25;
constexpr const char* kChildFile = "ORVANE_REGISTRY_CHILD_FILE";
constexpr const char* kChildPrefix = "ORVANE_REGISTRY_CHILD_PREFIX";

void WriteValues(const std::string& file, const std::string& prefix)
{
    auto registry = CreateFileRegistry(file);
    for (int i = 0; i < kValuesPerWriter; ++i) {
        auto key = registry->CreateKey(kKey);
        ASSERT_NE(key, nullptr);
        key->SetDword(prefix + std::to_string(i), static_cast<std::uint32_t>(i));
        ASSERT_TRUE(key->Flush());
    }
}

// Run by the test below in child processes only.
TEST(RegistryChildProcess, DISABLED_WritesItsValues)
{
    const char* file = std::getenv(kChildFile);
    const char* prefix = std::getenv(kChildPrefix);
    ASSERT_TRUE(file && prefix);
    WriteValues(file, prefix);
}

TEST_F(RegistryTest, ProcessesWritingAtTheSameTimeLoseNoValues)
{
    const QString program = QString::fromStdString(std::string(ORVANE_BIN_DIR) + "/orvane_platform_tests");
    std::vector<std::unique_ptr<QProcess>> children;
    for (const char* prefix : {"First", "Second"}) {
        auto child = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(kChildFile, QString::fromStdString(m_file));
        environment.insert(kChildPrefix, prefix);
        child->setProcessEnvironment(environment);
        child->start(program, {"--gtest_also_run_disabled_tests", "--gtest_filter=RegistryChildProcess.*"});
        ASSERT_TRUE(child->waitForStarted(10000));
        children.push_back(std::move(child));
    }
    WriteValues(m_file, "Parent");
    for (auto& child : children) {
        ASSERT_TRUE(child->waitForFinished(60000));
        EXPECT_EQ(child->exitCode(), 0) << child->readAllStandardOutput().toStdString();
    }

    auto key = CreateFileRegistry(m_file)->OpenKey(kKey, RegistryAccess::Read);
    ASSERT_NE(key, nullptr);
    for (const char* prefix : {"First", "Second", "Parent"}) {
        for (int i = 0; i < kValuesPerWriter; ++i)
            EXPECT_EQ(key->QueryDword(prefix + std::to_string(i)), static_cast<std::uint32_t>(i)) << prefix << i;
    }
}

} // namespace
} // namespace orvane::platform
