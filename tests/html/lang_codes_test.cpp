#include "library/html/lang_codes.h"

#include "platform/paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace orvane {
namespace {

// The list read from the given file text.
CLanguageCodeList ListOf(const std::string& text)
{
    CLanguageCodeList list;
    std::istringstream in(text);
    EXPECT_EQ(list.Load(in), 1);
    return list;
}

void ExpectRecord(const CLanguageRecord& record, std::string_view first, std::string_view second, std::string_view name)
{
    EXPECT_EQ(record.FirstCode(), first);
    EXPECT_EQ(record.SecondCode(), second);
    EXPECT_EQ(record.DisplayName(), name);
}

TEST(LanguageCodeList, BlanksAfterCommasLeaveTheCodesButNotTheName)
{
    CLanguageCodeList list = ListOf("en, eng, English\n");
    ASSERT_EQ(list.Codes().size(), 1u);
    ExpectRecord(list.Codes()[0], "en", "eng", " English");
    EXPECT_TRUE(list.IsValidCode("en"));
    EXPECT_TRUE(list.IsValidCode("eng"));
    EXPECT_FALSE(list.IsValidCode(" eng"));
    EXPECT_FALSE(list.IsValidCode("EN"));
    EXPECT_FALSE(list.IsValidCode("English"));
}

TEST(LanguageCodeList, CommasInARowAreOneSeparator)
{
    CLanguageCodeList list = ListOf("en,,English\n,,de,deu,German\n");
    ASSERT_EQ(list.Codes().size(), 2u);
    ExpectRecord(list.Codes()[0], "en", "English", "");
    ExpectRecord(list.Codes()[1], "de", "deu", "German");
}

TEST(LanguageCodeList, MissingFieldsAreEmptyAndAFourthIsIgnored)
{
    CLanguageCodeList list = ListOf("fr\nit,ita\nes,spa,Spanish,Castilian\n\n,,,\n");
    ASSERT_EQ(list.Codes().size(), 5u);
    ExpectRecord(list.Codes()[0], "fr", "", "");
    ExpectRecord(list.Codes()[1], "it", "ita", "");
    ExpectRecord(list.Codes()[2], "es", "spa", "Spanish");
    ExpectRecord(list.Codes()[3], "", "", "");
    ExpectRecord(list.Codes()[4], "", "", "");
}

TEST(LanguageCodeList, TheLastCharacterOfEveryLineIsCut)
{
    CLanguageCodeList list = ListOf("de,deu,German\nnl,nld,Dutch");
    ASSERT_EQ(list.Codes().size(), 2u);
    EXPECT_EQ(list.Codes()[0].DisplayName(), "German");
    EXPECT_EQ(list.Codes()[1].DisplayName(), "Dutc");
}

TEST(LanguageCodeList, ACarriageReturnBeforeALineFeedIsNotSeen)
{
    CLanguageCodeList list = ListOf("de,deu,German\r\nfr,fra,Fr\rench\n");
    ASSERT_EQ(list.Codes().size(), 2u);
    EXPECT_EQ(list.Codes()[0].DisplayName(), "German");
    EXPECT_EQ(list.Codes()[1].DisplayName(), "Fr\rench");
}

TEST(LanguageCodeList, LongLinesAreReadIn199CharacterPieces)
{
    std::string name(250, 'x');
    CLanguageCodeList list = ListOf("ab,abc," + name + "\n");
    ASSERT_EQ(list.Codes().size(), 2u);
    // 199 characters, the last of them cut.
    EXPECT_EQ(list.Codes()[0].DisplayName(), std::string(199 - 7 - 1, 'x'));
    // The rest of the line is a record of its own.
    EXPECT_EQ(list.Codes()[1].FirstCode(), std::string(250 - (199 - 7), 'x'));
}

TEST(LanguageCodeList, LoadingTwiceReadsOnceAndFreeEmpties)
{
    CLanguageCodeList list;
    std::istringstream first("en,eng,English\n");
    std::istringstream second("de,deu,German\n");
    EXPECT_FALSE(list.IsLoaded());
    EXPECT_EQ(list.Load(first), 1);
    EXPECT_EQ(list.Load(second), 1);
    ASSERT_EQ(list.Codes().size(), 1u);
    EXPECT_FALSE(list.IsValidCode("de"));
    EXPECT_EQ(second.tellg(), 0);

    list.Free();
    EXPECT_FALSE(list.IsLoaded());
    EXPECT_TRUE(list.Codes().empty());
    EXPECT_FALSE(list.IsValidCode("en"));
    EXPECT_EQ(list.Load(second), 1);
    EXPECT_TRUE(list.IsValidCode("de"));
}

TEST(LanguageCodeList, AMissingFileGivesAnEmptyList)
{
    CLanguageCodeList list;
    EXPECT_EQ(list.Load((std::filesystem::temp_directory_path() / "no-such-folder" / "LangCodes.txt").string()), 0);
    EXPECT_FALSE(list.IsLoaded());
    EXPECT_TRUE(list.Codes().empty());
    EXPECT_FALSE(list.IsValidCode("en"));
}

TEST(LanguageCodeList, TheShippedListHoldsEveryTwoLetterCodeOnce)
{
    ASSERT_FALSE(platform::FindDataFile("LangCodes.txt").empty()) << "LangCodes.txt is not beside the library";
    CLanguageCodeList& list = CLanguageCodeList::Library();
    list.Free();
    ASSERT_EQ(list.Load(), 1);
    EXPECT_GT(list.Codes().size(), 180u);
    const std::regex two("[a-z]{2}"), three("[a-z]{3}");
    std::set<std::string> seen;
    for (const CLanguageRecord& record : list.Codes()) {
        EXPECT_TRUE(std::regex_match(record.FirstCode(), two)) << record.FirstCode();
        EXPECT_TRUE(std::regex_match(record.SecondCode(), three)) << record.SecondCode();
        EXPECT_FALSE(record.DisplayName().empty()) << record.FirstCode();
        EXPECT_TRUE(seen.insert(record.FirstCode()).second) << record.FirstCode();
    }
    for (const char* code : {"en", "eng", "de", "deu", "fr", "fra", "zh", "zho", "ar", "ara"})
        EXPECT_TRUE(list.IsValidCode(code)) << code;
    EXPECT_FALSE(list.IsValidCode("xx"));
    list.Free();
}

} // namespace
} // namespace orvane
