// The German texts speak one vocabulary: no variant the glossary bans is in
// the interface's strings, the help or the window templates.
#include "help_files.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace orvane::test {
namespace {

namespace fs = std::filesystem;

std::string Trimmed(const std::string& text)
{
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos)
        return {};
    return text.substr(start, text.find_last_not_of(" \t\r") - start + 1);
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(Trimmed(part));
    return parts;
}

// A variant as a pattern: a word that starts as the variant does, "*" any
// ending; case does not matter.
std::regex PatternOf(const std::string& variant)
{
    std::string pattern = "\\b";
    for (char c : variant) {
        if (c == '*')
            pattern += "[^\\s.,;:!?\"()<>/|]*";
        else if (std::string(".^$|()[]{}+?\\").find(c) != std::string::npos)
            pattern += std::string("\\") + c;
        else
            pattern += c;
    }
    if (variant.back() != '*')
        pattern += "(?![A-Za-z])";
    return std::regex(pattern, std::regex::icase);
}

struct BannedVariant {
    std::string text;     // as the glossary writes it
    std::string preferred;
    std::regex pattern;
    std::vector<std::string> onlyWith;  // phrases of which one must be in the line; empty: always
};

std::vector<BannedVariant> ReadGlossary(std::vector<std::string>& faults)
{
    std::vector<BannedVariant> banned;
    std::istringstream lines(ReadWholeFile(kSourceDir / "resources/glossary-de.txt"));
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        if (Trimmed(line).empty() || line[0] == '#')
            continue;
        const std::vector<std::string> fields = Split(line, '|');
        if (fields.size() != 3 || fields[0].empty() || fields[1].empty() || fields[2].empty()) {
            faults.push_back("glossary-de.txt:" + std::to_string(number) + " is not \"term | variants | note\"");
            continue;
        }
        for (const std::string& entry : Split(fields[1], ';')) {
            const std::size_t at = entry.find('@');
            BannedVariant variant{Trimmed(entry.substr(0, at)), fields[0], std::regex(), {}};
            variant.pattern = PatternOf(variant.text);
            if (at != std::string::npos)
                variant.onlyWith = Split(entry.substr(at + 1), '/');
            banned.push_back(std::move(variant));
        }
    }
    return banned;
}

bool Contains(const std::string& line, const std::string& phrase)
{
    return std::regex_search(line, std::regex("\\b" + phrase, std::regex::icase));
}

// The banned variant a line of German text uses; null when it uses none.
const BannedVariant* BannedIn(const std::string& line, const std::vector<BannedVariant>& banned)
{
    for (const BannedVariant& variant : banned) {
        if (!std::regex_search(line, variant.pattern))
            continue;
        bool counts = variant.onlyWith.empty();
        for (const std::string& phrase : variant.onlyWith)
            counts = counts || Contains(line, phrase);
        if (counts)
            return &variant;
    }
    return nullptr;
}

class Glossary : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::vector<std::string> faults;
        banned = ReadGlossary(faults);
        for (const std::string& fault : faults)
            ADD_FAILURE() << fault;
        ASSERT_GE(banned.size(), 5u);
    }

    // Every line of the German text of a file that uses a banned variant.
    // `afterTab`: only the text after a line's first tab is German (the
    // template texts put the English text first).
    void ExpectNoBannedVariant(const fs::path& file, bool afterTab)
    {
        ASSERT_TRUE(fs::exists(file)) << file;
        std::istringstream lines(ReadWholeFile(file));
        int number = 0;
        for (std::string line; std::getline(lines, line);) {
            ++number;
            if (line.rfind("<meta name=\"keywords\"", 0) == 0 || line.rfind("#", 0) == 0)
                continue;
            if (afterTab)
                line = line.find('\t') == std::string::npos ? std::string() : line.substr(line.find('\t') + 1);
            if (const BannedVariant* variant = BannedIn(line, banned))
                ADD_FAILURE() << fs::relative(file, kSourceDir).string() << ":" << number << " says \"" << variant->text
                              << "\" where the glossary has \"" << variant->preferred << "\"";
        }
    }

    std::vector<BannedVariant> banned;
};

TEST_F(Glossary, CatchesTheInflectedFormsAndLeavesTheOtherSensesAlone)
{
    for (const char* line : {"Ein Alternativtext soll kurz sein.", "die Länge des Alternativtexts", "zwei Alternativtexte",
                             "Lange Beschreibungen", "einer langen Beschreibung", "Menschen mit kognitiven Einschränkungen",
                             "unter Allgemeine Hinweise", "Datentabellen ohne Beschriftung", "die Beschriftung der Tabelle"})
        EXPECT_NE(BannedIn(line, banned), nullptr) << line;
    for (const char* line : {"Eine Textalternative soll kurz sein.", "eine ausführliche Beschreibung",
                             "Einschränkungen der Dateigröße", "ein Hinweis zur Eingabe", "die Beschriftung des Felds",
                             "Beschriftung und Element gehören in dieselbe Zelle einer Layouttabelle",
                             "eine kurze Beschreibung"})
        EXPECT_EQ(BannedIn(line, banned), nullptr) << line;
}

TEST_F(Glossary, NoGermanTextUsesABannedVariant)
{
    ExpectNoBannedVariant(kSourceDir / "resources/strings/de.txt", false);
    ExpectNoBannedVariant(kSourceDir / "selector/resources/strings/de.txt", false);
    ExpectNoBannedVariant(kSourceDir / "resources/templates/de.txt", true);
    ExpectNoBannedVariant(kSourceDir / "selector/resources/templates/de.txt", true);
    for (const std::string& name : FileNamesIn(kGermanHelp)) {
        if (name.ends_with(".html") || name.ends_with(".htm"))
            ExpectNoBannedVariant(kGermanHelp / name, false);
    }
}

} // namespace
} // namespace orvane::test
