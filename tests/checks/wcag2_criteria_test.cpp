#include "library/checks/check_catalogue.h"
#include "library/checks/check_info.h"
#include "library/checks/wcag2_criteria.h"
#include "platform/paths.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace orvane {
namespace {

// Every named check of the catalogue, also the named bits outside a family's
// mask, with the help topic its row gives it.
std::map<std::string, std::string> CatalogueChecksWithTopics()
{
    std::map<std::string, std::string> checks;
    for (const ElementPtr& element : CreateCatalogueFamilies()) {
        const auto& family = dynamic_cast<const CCatalogueElement&>(*element);
        for (const CheckInfo& info : family.CheckTable()) {
            if (info.name.empty())
                continue;
            std::string topic(info.helpTopic.empty() ? info.warningHelpTopic : info.helpTopic);
            checks.emplace(std::string(info.name), topic);
        }
    }
    return checks;
}

TEST(Wcag2CriteriaTest, TheCriteriaAreThoseOfWcag22)
{
    std::set<std::string_view> numbers;
    std::map<Wcag2Level, int> perLevel;
    int current = 0;
    for (const SuccessCriterion& criterion : Wcag2SuccessCriteria()) {
        EXPECT_TRUE(numbers.insert(criterion.number).second) << criterion.number << " twice";
        EXPECT_FALSE(criterion.name.empty()) << criterion.number;
        if (!criterion.obsolete) {
            ++current;
            ++perLevel[criterion.level];
        }
    }
    EXPECT_EQ(current, 86);
    EXPECT_EQ(perLevel[Wcag2Level::kA], 31);
    EXPECT_EQ(perLevel[Wcag2Level::kAA], 24);
    EXPECT_EQ(perLevel[Wcag2Level::kAAA], 31);

    // 4.1.1 is known, so a mapping naming it is recognised, but it is obsolete.
    const SuccessCriterion* parsing = FindSuccessCriterion("4.1.1");
    ASSERT_NE(parsing, nullptr);
    EXPECT_TRUE(parsing->obsolete);
    EXPECT_EQ(FindSuccessCriterion("4.1.4"), nullptr);
    EXPECT_EQ(Wcag2CriterionLabel(*FindSuccessCriterion("1.4.3")), "1.4.3 Contrast (Minimum) (AA)");
}

TEST(Wcag2CriteriaTest, EveryCheckOfTheCatalogueHasARowAndEveryRowACheck)
{
    const auto checks = CatalogueChecksWithTopics();
    for (const auto& [name, topic] : checks)
        EXPECT_NE(FindWcag2Row(name), nullptr) << name << " has no WCAG 2 row";
    // The two checks that are still being finished have their rows already.
    EXPECT_NE(FindWcag2Row("DeprecatedHtml"), nullptr);
    EXPECT_NE(FindWcag2Row("ScriptSpawnNewWindow"), nullptr);

    std::set<std::string_view> rows;
    for (const Wcag2CheckRow& row : Wcag2CheckRows()) {
        EXPECT_TRUE(rows.insert(row.check).second) << row.check << " has two rows";
        EXPECT_TRUE(checks.contains(std::string(row.check))) << row.check << " is no check of the catalogue";
    }
}

TEST(Wcag2CriteriaTest, EveryRowNamesCurrentCriteriaOrSaysWhyItHasNone)
{
    for (const Wcag2CheckRow& row : Wcag2CheckRows()) {
        const std::vector<std::string_view> numbers = Wcag2Numbers(row);
        std::set<std::string_view> seen;
        for (std::string_view number : numbers) {
            const SuccessCriterion* criterion = FindSuccessCriterion(number);
            EXPECT_NE(criterion, nullptr) << row.check << ": " << number << " is no WCAG 2.2 criterion";
            EXPECT_FALSE(criterion && criterion->obsolete) << row.check << ": " << number << " is obsolete";
            EXPECT_TRUE(seen.insert(number).second) << row.check << ": " << number << " twice";
        }
        EXPECT_EQ(Wcag2CriteriaOf(row.check).size(), numbers.size()) << row.check;
        if (numbers.empty()) {
            EXPECT_FALSE(row.note.empty()) << row.check << " has no criterion and no note saying why";
        }
    }
    ASSERT_EQ(Wcag2CriteriaOf("ImgAltText").size(), 2u);
    EXPECT_EQ(Wcag2CriteriaOf("ImgAltText")[0]->name, "Non-text Content");
    EXPECT_EQ(Wcag2CriteriaOf("ImgAltText")[1]->name, "Link Purpose (In Context)");
    EXPECT_TRUE(Wcag2CriteriaOf("DoctypeMissing").empty());
    EXPECT_TRUE(Wcag2CriteriaOf("NoSuchCheck").empty());
}

std::string NumbersOf(std::string_view check)
{
    std::string numbers;
    for (const SuccessCriterion* criterion : Wcag2CriteriaOf(check))
        numbers += (numbers.empty() ? "" : " ") + std::string(criterion->number);
    return numbers;
}

// The rows an audit report is signed on: a check WCAG 2 does not require maps
// to nothing, not to the criterion it is vaguely about, and a check covering a
// failure WCAG 2 documents names that failure's criterion.
TEST(Wcag2CriteriaTest, ChecksWcag2DoesNotRequireMapToNothing)
{
    for (const char* check : {"InputMissingDefault", "TextareaText", "FramesetNoframes", "ImageMapTextLinks",
                              "TableSummary", "TableAbbreviations", "FrameLongdesc", "DeprecatedHtml",
                              "AsciiArtSkipover", "ScriptNoscript", "UsableWithoutProgram", "DoctypeMissing"}) {
        EXPECT_EQ(NumbersOf(check), "") << check;
        EXPECT_EQ(Wcag2MatchOf(check), Wcag2Match::kNone) << check;
        ASSERT_NE(FindWcag2Row(check), nullptr) << check;
        EXPECT_TRUE(FindWcag2Row(check)->note.starts_with("no counterpart")) << check;
    }
}

TEST(Wcag2CriteriaTest, ChecksNameEveryCriterionTheirFailuresFail)
{
    EXPECT_EQ(NumbersOf("ImgAltText"), "1.1.1 2.4.4");         // F89: a linked image without a name
    EXPECT_EQ(NumbersOf("MapAltText"), "1.1.1 2.4.4");         // H24: area alt texts name the links
    EXPECT_EQ(NumbersOf("InputAltText"), "1.1.1 4.1.2");       // an image button is a control
    EXPECT_EQ(NumbersOf("DynamicEquivalents"), "1.1.1 4.1.2");
    EXPECT_EQ(NumbersOf("ImageMap"), "1.1.1 2.1.1");
    EXPECT_EQ(NumbersOf("MultiMedia"), "1.2.2 1.2.3 1.2.5");
    EXPECT_EQ(NumbersOf("TableAbsoluteUnits"), "1.4.4 1.4.10");
    EXPECT_EQ(NumbersOf("FramesetAbsoluteUnits"), "1.4.4 1.4.10");
    EXPECT_EQ(NumbersOf("MapRefresh"), "2.2.1 2.2.4 3.2.5");   // F40, F41
    EXPECT_EQ(NumbersOf("MapRedirect"), "2.2.1 2.2.4 3.2.5");
    EXPECT_EQ(Wcag2MatchOf("ImgAltText"), Wcag2Match::kCounterpart);
    EXPECT_EQ(Wcag2MatchOf("TableCaption"), Wcag2Match::kClosest);
    EXPECT_EQ(Wcag2MatchOf("NoSuchCheck"), Wcag2Match::kNone);
    // Scripts with and without an equivalent are judged alike.
    EXPECT_EQ(NumbersOf("ScriptNoscript"), NumbersOf("UsableWithoutProgram"));
}

// The "WCAG 2" section of a help topic: from its heading to the next heading.
std::string Wcag2Section(const std::string& page)
{
    static const std::regex heading(R"(<h[1-6][^>]*>\s*WCAG 2[^<]*</h[1-6]>)", std::regex::icase);
    std::smatch found;
    if (!std::regex_search(page, found, heading))
        return {};
    const std::size_t from = static_cast<std::size_t>(found.position(0) + found.length(0));
    const std::size_t next = page.find("<h", from);
    return page.substr(from, next == std::string::npos ? std::string::npos : next - from);
}

// "1.1.1" as a number of its own, not the start of "1.1.10".
bool NamesNumber(const std::string& text, std::string_view number)
{
    for (std::size_t at = text.find(number); at != std::string::npos; at = text.find(number, at + 1)) {
        const auto digitOrDot = [&](std::size_t i) {
            return i < text.size() && (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == '.');
        };
        const bool before = at > 0 && digitOrDot(at - 1);
        const std::size_t end = at + number.size();
        const bool after = end < text.size() && (std::isdigit(static_cast<unsigned char>(text[end])) ||
                                                 (text[end] == '.' && end + 1 < text.size() &&
                                                  std::isdigit(static_cast<unsigned char>(text[end + 1]))));
        if (!before && !after)
            return true;
    }
    return false;
}

// The topics name their criteria in a "WCAG 2" section; every criterion the
// table gives a check must be named by that check's English topic. A topic
// without the section fails, listed: a skip would let one lose it unnoticed.
TEST(Wcag2CriteriaTest, EachChecksHelpTopicNamesItsCriteria)
{
    std::ostringstream mismatches;
    std::set<std::string> withoutSection;
    for (const auto& [name, topic] : CatalogueChecksWithTopics()) {
        const std::vector<const SuccessCriterion*> criteria = Wcag2CriteriaOf(name);
        if (topic.empty() || criteria.empty())
            continue;
        const std::string path = platform::FindDataFile("help/" + topic);
        ASSERT_FALSE(path.empty()) << "help topic " << topic << " of " << name << " is not built";
        std::ifstream in(path, std::ios::binary);
        std::ostringstream page;
        page << in.rdbuf();
        const std::string section = Wcag2Section(page.str());
        if (section.empty()) {
            withoutSection.insert(topic);
            continue;
        }
        for (const SuccessCriterion* criterion : criteria) {
            if (!NamesNumber(section, criterion->number))
                mismatches << "\n  " << topic << " (" << name << ") does not name " << Wcag2CriterionLabel(*criterion);
        }
    }
    EXPECT_TRUE(mismatches.str().empty()) << "criteria missing from the topics' WCAG 2 sections:" << mismatches.str();
    if (!withoutSection.empty()) {
        std::string list;
        for (const std::string& topic : withoutSection)
            list += " " + topic;
        ADD_FAILURE() << withoutSection.size() << " topics have no WCAG 2 section:" << list;
    }
}

std::string ReadTopic(const std::string& topic)
{
    const std::string path = platform::FindDataFile("help/" + topic);
    std::ifstream in(path, std::ios::binary);
    std::ostringstream page;
    page << in.rdbuf();
    return page.str();
}

// The paragraph of the WCAG 2 section that gives the topic's counterparts;
// other paragraphs of the section may name related criteria.
std::string CounterpartParagraph(const std::string& section)
{
    const std::size_t from = section.find("<p class=\"wcag2\">");
    if (from == std::string::npos)
        return {};
    const std::size_t text = from + std::string_view("<p class=\"wcag2\">").size();
    return section.substr(text, section.find("</p>", text) - text);
}

std::string Lowered(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The other way round: every criterion a topic gives as its checks'
// counterpart is one the table maps them to, in both languages; a topic of
// checks WCAG 2 does not require opens its section saying so, and one whose
// checks map only to the closest criteria says that they are the closest.
TEST(Wcag2CriteriaTest, EachTopicNamesAsCounterpartsOnlyMappedCriteria)
{
    std::map<std::string, std::vector<std::string>> checksOfTopic;
    for (const auto& [name, topic] : CatalogueChecksWithTopics()) {
        if (!topic.empty())
            checksOfTopic[topic].push_back(name);
    }
    static const std::regex number(R"(\b\d\.\d\.\d{1,2}\b)");
    std::ostringstream mismatches;
    for (const auto& [topic, checks] : checksOfTopic) {
        std::set<std::string> mapped;
        std::set<Wcag2Match> matches;
        for (const std::string& check : checks) {
            matches.insert(Wcag2MatchOf(check));
            for (const SuccessCriterion* criterion : Wcag2CriteriaOf(check))
                mapped.insert(std::string(criterion->number));
        }
        for (const std::string language : {"", "de/"}) {
            const std::string page = ReadTopic(language + topic);
            ASSERT_FALSE(page.empty()) << language << topic << " is not built";
            const std::string paragraph = CounterpartParagraph(Wcag2Section(page));
            const std::string where = "\n  " + language + topic + ": ";
            if (paragraph.empty()) {
                mismatches << where << "no WCAG 2 paragraph";
                continue;
            }
            const std::string lowered = Lowered(paragraph);
            const bool saysNone = lowered.starts_with(language.empty() ? "no counterpart" : "keine entsprechung");
            const bool saysClosest =
                lowered.find(language.empty() ? "closest" : "am nächsten") != std::string::npos;
            if (mapped.empty()) {
                if (!saysNone)
                    mismatches << where << "its checks have no counterpart, and the section does not open saying so";
                continue;
            }
            if (saysNone)
                mismatches << where << "says there is no counterpart, but its checks are mapped";
            if (matches.contains(Wcag2Match::kClosest) && !saysClosest)
                mismatches << where << "does not say its criteria are only the closest";
            for (auto it = std::sregex_iterator(paragraph.begin(), paragraph.end(), number);
                 it != std::sregex_iterator(); ++it) {
                const std::string named = it->str();
                if (FindSuccessCriterion(named) && !mapped.contains(named))
                    mismatches << where << "names " << named << ", which none of its checks maps to";
            }
        }
    }
    EXPECT_TRUE(mismatches.str().empty()) << "topics and the mapping disagree:" << mismatches.str();
}

} // namespace
} // namespace orvane
