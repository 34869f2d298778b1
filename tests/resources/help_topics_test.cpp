// The help as a reader meets it: every topic a window, a repair page or the
// check catalogue names is there in English and in German, every link between
// topics leads somewhere, every topic has the shape of the others, and the
// plain pages the reports link to are the pages of the compiled help.
#include "help_files.h"

#include "library/html/html_document.h"
#include "library/rules/rule_findings.h"
#include "platform/paths.h"

#include <QCoreApplication>
#include <QHelpEngineCore>
#include <QHelpLink>
#include <QUrl>

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace orvane {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = test::kSourceDir;
const fs::path kEnglish = test::kEnglishHelp;
const fs::path kGerman = test::kGermanHelp;

std::string ReadAll(const fs::path& path) { return test::ReadWholeFile(path); }

bool IsTopicFile(const fs::path& path)
{
    return path.extension() == ".html" || path.extension() == ".htm";
}

std::set<std::string> FilesIn(const fs::path& folder) { return test::FileNamesIn(folder); }

std::string Joined(const std::set<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

std::multimap<std::string, std::string> CheckNamesByTopic() { return test::CatalogueChecksByTopic(); }

// The topic names the program's code shows: a quoted file name on a line
// that speaks of help or of a topic (a page's kHelpTopic, a settings page's
// HelpTopic(), the selector's ShowTopic).
std::set<std::string> TopicsNamedInCode()
{
    static const std::regex literal("\"([A-Za-z0-9][A-Za-z0-9_-]*\\.html?)\"");
    static const std::regex aboutHelp("help|topic", std::regex::icase);
    std::set<std::string> topics;
    for (const char* folder : {"library", "selector", "platform", "cli"}) {
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(kSource / folder)) {
            const std::string extension = entry.path().extension().string();
            if (extension != ".cpp" && extension != ".h")
                continue;
            std::istringstream lines(ReadAll(entry.path()));
            for (std::string line; std::getline(lines, line);) {
                if (!std::regex_search(line, aboutHelp))
                    continue;
                for (auto it = std::sregex_iterator(line.begin(), line.end(), literal); it != std::sregex_iterator(); ++it)
                    topics.insert((*it)[1]);
            }
        }
    }
    return topics;
}

std::set<std::string> TopicsOfTheContents()
{
    std::set<std::string> topics;
    std::istringstream lines(ReadAll(test::kHelpSources / "contents.txt"));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line[0] != '#' && line[0] != '=')
            topics.insert(line);
    }
    return topics;
}

TEST(HelpTopics, EveryTopicNamedAnywhereIsThereInEnglishAndInGerman)
{
    std::set<std::string> named = TopicsNamedInCode();
    // The scan finds what the windows name, or it proves nothing.
    for (const char* topic : {"OverviewDialog.html", "WarningsHelp.html", "5-1-1.html", "AutoRepairs.html",
                              "SavingFiles.html", "Conformance.html", "dLinks.html", "ConformanceLevelAdvanced.html",
                              "Tamsel.html", "1-1-1.html"})
        EXPECT_TRUE(named.count(topic)) << topic << " was not found in the code";
    for (const auto& [topic, check] : CheckNamesByTopic())
        named.insert(topic);
    for (const auto& [topic, rule] : test::RulesByTopic())
        named.insert(topic);
    // Dialogs whose topic no code names yet: the colour chooser, the missing
    // data file and the file-saves page's second topic.
    named.insert({"ColorSelectorDialog.html", "AltDataNotFound.htm", "SettingsFileSaves.html", "index.html"});
    const std::set<std::string> contents = TopicsOfTheContents();
    named.insert(contents.begin(), contents.end());

    const std::set<std::string> english = FilesIn(kEnglish);
    const std::set<std::string> german = FilesIn(kGerman);
    std::set<std::string> missingEnglish, missingGerman;
    for (const std::string& topic : named) {
        if (!english.count(topic))
            missingEnglish.insert(topic);
        if (!german.count(topic))
            missingGerman.insert(topic);
    }
    EXPECT_TRUE(missingEnglish.empty()) << "No English topic for: " << Joined(missingEnglish);
    EXPECT_TRUE(missingGerman.empty()) << "No German topic for: " << Joined(missingGerman);
    // Every topic of the help is in the contents, so it can be found there.
    for (const std::string& topic : english) {
        if (IsTopicFile(topic) && topic != "index.html") {
            EXPECT_TRUE(contents.count(topic)) << topic << " is missing in contents.txt";
        }
    }
    // The start page leads to every topic of the contents, in both languages.
    for (const fs::path& folder : {kEnglish, kGerman}) {
        const std::string start = ReadAll(folder / "index.html");
        for (const std::string& topic : contents)
            EXPECT_NE(start.find("<a href=\"" + topic + "\">"), std::string::npos)
                << (folder == kGerman ? "de/" : "") << "index.html does not link to " << topic;
    }
    // A German topic translates an English one.
    for (const std::string& topic : german)
        EXPECT_TRUE(english.count(topic)) << "de/" << topic << " has no English topic of the same name";
}

bool IsValidUtf8(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2)
                return false;
        }
        i += length;
    }
    return true;
}

// Where the elements of a page do not close in the order they opened (every
// element but the empty ones has its end tag); empty when they all do.
std::string NestingFault(const std::string& text)
{
    static const std::regex tag("<(/?)([A-Za-z][A-Za-z0-9]*)[^>]*>");
    static const std::set<std::string> empty = {"meta", "link", "br", "img", "hr", "input", "area", "col", "wbr"};
    std::vector<std::string> open;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), tag); it != std::sregex_iterator(); ++it) {
        std::string name = (*it)[2];
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (empty.count(name))
            continue;
        if ((*it)[1].length() == 0) {
            open.push_back(name);
        } else if (open.empty() || open.back() != name) {
            return "closes </" + name + "> where <" + (open.empty() ? std::string("nothing") : open.back()) + "> is open";
        } else {
            open.pop_back();
        }
    }
    return open.empty() ? std::string() : "leaves <" + open.back() + "> open";
}

std::string FirstMatch(const std::string& text, const std::regex& pattern)
{
    std::smatch match;
    return std::regex_search(text, match, pattern) ? match[1].str() : std::string();
}

// What is wrong with a topic's shape; empty when it has the skeleton of all
// topics: language, charset, title repeated as the heading, keywords, the
// shared style sheet, the way back to the start page, nothing run or fetched.
std::vector<std::string> SkeletonFaults(const std::string& name, const std::string& text, const std::string& language)
{
    std::vector<std::string> faults;
    auto expect = [&](bool good, const std::string& fault) {
        if (!good)
            faults.push_back(fault);
    };
    expect(IsValidUtf8(text), "is not UTF-8");
    expect(text.rfind("<!DOCTYPE html>", 0) == 0, "does not start with <!DOCTYPE html>");
    expect(text.find("<html lang=\"" + language + "\">") != std::string::npos, "is not <html lang=\"" + language + "\">");
    expect(text.find("<meta charset=\"utf-8\">") != std::string::npos, "has no <meta charset=\"utf-8\">");
    const std::string title = FirstMatch(text, std::regex("<title>([^<]+)</title>"));
    expect(!title.empty(), "has no title");
    expect(FirstMatch(text, std::regex("<h1>([^<]+)</h1>")) == title, "has no <h1> repeating its title");
    expect(!FirstMatch(text, std::regex("<meta name=\"keywords\" content=\"([^\"]+)\">")).empty(), "has no keywords");
    expect(text.find("<link rel=\"stylesheet\" href=\"help.css\">") != std::string::npos, "does not use help.css");
    if (name != "index.html") {
        const std::string back = language == "de" ? "Orvane-Hilfe" : "Orvane Help";
        expect(text.find("<p class=\"back\"><a href=\"index.html\">" + back + "</a></p>") != std::string::npos,
               "has no link back to the start page");
    }
    expect(text.find("<script") == std::string::npos, "has a script");
    const std::string nesting = NestingFault(text);
    expect(nesting.empty(), nesting);
    expect(text.find("</body>") != std::string::npos && text.find("</html>") != std::string::npos, "is not closed");
    return faults;
}

TEST(HelpTopics, EveryTopicHasTheCommonShapeAndEveryLinkLeadsToATopicOrToTheW3C)
{
    // Only the topic's own tags: the markup of its examples is escaped text.
    static const std::regex reference("<[A-Za-z][^>]*?\\s(?:href|src)=\"([^\"]*)\"");
    const std::set<std::string> english = FilesIn(kEnglish);
    const std::set<std::string> german = FilesIn(kGerman);
    for (const auto& [folder, language] : {std::pair{kEnglish, std::string("en")}, std::pair{kGerman, std::string("de")}}) {
        for (const std::string& name : language == "en" ? english : german) {
            if (!IsTopicFile(name))
                continue;
            const std::string text = ReadAll(folder / name);
            const std::string where = (language == "de" ? "de/" : "") + name;
            for (const std::string& fault : SkeletonFaults(name, text, language))
                ADD_FAILURE() << where << " " << fault;
            for (auto it = std::sregex_iterator(text.begin(), text.end(), reference); it != std::sregex_iterator(); ++it) {
                std::string target = (*it)[1];
                if (target.rfind("https://www.w3.org/", 0) == 0 || target.rfind("http://www.w3.org/", 0) == 0)
                    continue;
                EXPECT_EQ(target.find(':'), std::string::npos) << where << " links outside the help: " << target;
                target = target.substr(0, target.find('#'));
                // A German page is shown with the English one where no translation is there yet;
                // "#part" is a place in the topic itself.
                const bool found = target.empty() || english.count(target) || (language == "de" && german.count(target));
                EXPECT_TRUE(found) << where << " links to " << target << ", which is no topic";
            }
        }
    }
}

TEST(HelpTopics, EveryCheckIsInTheKeywordsOfItsTopicInBothLanguages)
{
    for (const auto& [topic, check] : CheckNamesByTopic()) {
        for (const fs::path& folder : {kEnglish, kGerman}) {
            if (!fs::exists(folder / topic))
                continue;  // a missing topic is the first test's finding
            const std::string keywords =
                FirstMatch(ReadAll(folder / topic), std::regex("<meta name=\"keywords\" content=\"([^\"]*)\">"));
            std::set<std::string> words;
            std::istringstream list(keywords);
            for (std::string word; std::getline(list, word, ';');) {
                const std::size_t start = word.find_first_not_of(' ');
                words.insert(start == std::string::npos ? std::string() : word.substr(start));
            }
            if (!words.count(check))
                ADD_FAILURE() << (folder == kGerman ? "de/" : "") << topic << " does not name the check " << check
                              << " in its keywords";
        }
    }
}

std::set<std::string> KeywordsOf(const std::string& topic)
{
    const std::string keywords = FirstMatch(topic, std::regex("<meta name=\"keywords\" content=\"([^\"]*)\">"));
    std::set<std::string> words;
    std::istringstream list(keywords);
    for (std::string word; std::getline(list, word, ';');) {
        const std::size_t start = word.find_first_not_of(' ');
        words.insert(start == std::string::npos ? std::string() : word.substr(start));
    }
    return words;
}

// A rule's topic is where its findings lead: it names the rule and its ACT
// rule for the index, links the ACT rule's page and each success criterion
// the rule maps to, and leads to the topic that says at which target the
// rule counts.
TEST(HelpTopics, EveryRuleHasATopicOfItsOwnNamingItsActRuleCriteriaAndTarget)
{
    const std::map<std::string, const rules::RuleDefinition*> topics = test::RulesByTopic();
    EXPECT_EQ(topics.size(), rules::RuleTable().size()) << "two rules share a topic";
    for (const auto& [topic, rule] : topics) {
        for (const fs::path& folder : {kEnglish, kGerman}) {
            const std::string where = (folder == kGerman ? "de/" : "") + topic;
            if (!fs::exists(folder / topic))
                continue;  // a missing topic is the first test's finding
            const std::string text = ReadAll(folder / topic);
            const std::set<std::string> keywords = KeywordsOf(text);
            EXPECT_TRUE(keywords.count(std::string(rule->id))) << where << " does not name " << rule->id;
            EXPECT_TRUE(keywords.count(std::string(rule->actId))) << where << " does not name " << rule->actId;
            const std::string act = "<a href=\"https://www.w3.org/WAI/standards-guidelines/act/rules/" +
                                    std::string(rule->actId) + "/\"";
            EXPECT_NE(text.find(act), std::string::npos) << where << " does not link its ACT rule";
            const std::string wcag2 = FirstMatch(text, std::regex("<p class=\"wcag2\">([\\s\\S]*?)</p>"));
            for (std::string_view criterion : rules::SplitCriteria(rule->criteria)) {
                const std::regex linked("<a href=\"https://www\\.w3\\.org/TR/WCAG22/#[a-z-]+\">" +
                                        std::regex_replace(std::string(criterion), std::regex("\\."), "\\.") + " ");
                EXPECT_TRUE(std::regex_search(wcag2, linked)) << where << " does not link " << criterion;
            }
            EXPECT_NE(text.find("<a href=\"Wcag22Targets.html\">"), std::string::npos)
                << where << " does not lead to the topic of the targets";
        }
    }
}

// The targets topic's table gives each rule its criteria and the targets at
// which it counts, as the rule set counts them: a rule whose level changes
// leaves the table wrong until it is written anew.
TEST(HelpTopics, TheTargetsTopicSaysAtWhichTargetsEachRuleCounts)
{
    for (const fs::path& folder : {kEnglish, kGerman}) {
        const std::string text = ReadAll(folder / "Wcag22Targets.html");
        for (const rules::RuleDefinition& rule : rules::RuleTable()) {
            std::string targets;
            for (rules::Wcag22Target target : {rules::Wcag22Target::kA, rules::Wcag22Target::kAA, rules::Wcag22Target::kAAA}) {
                if (rules::RuleCountsAt(rule, target)) {
                    const std::string_view name = rules::Wcag22TargetText(target);
                    targets += (targets.empty() ? "" : ", ") + std::string(name.substr(name.find('-') + 1));
                }
            }
            const std::string criteria = rule.criteria.empty() ? "\u2013" : std::string(rule.criteria);
            const std::string row = "<a href=\"" + std::string(rule.helpTopic) + "\">";
            const std::size_t at = text.find(row);
            ASSERT_NE(at, std::string::npos) << (folder == kGerman ? "de/" : "") << "Wcag22Targets.html has no row for "
                                             << rule.id;
            static const std::regex cells("^[^\\n]*?</th><td>([^<]*)</td><td>([^<(]*?) *[(<]");
            const std::string rest = text.substr(at);
            std::smatch match;
            ASSERT_TRUE(std::regex_search(rest, match, cells)) << rule.id;
            EXPECT_EQ(match[1].str() + " | " + match[2].str(), criteria + " | " + targets)
                << (folder == kGerman ? "de/" : "") << "Wcag22Targets.html, " << rule.id;
        }
    }
}

// Files we write pass our own checks: no topic fails a rule of the rule set
// at its strictest target.
TEST(HelpTopics, EveryTopicPassesTheRuleSetAtWcag22AAA)
{
    int checked = 0;
    for (const fs::path& folder : {kEnglish, kGerman}) {
        for (const std::string& name : FilesIn(folder)) {
            if (!IsTopicFile(name))
                continue;
            CHtmlDocument document;
            document.Start(1, false);
            std::istringstream in(ReadAll(folder / name));
            ASSERT_EQ(document.Load(in), 1) << name;
            for (const rules::RuleFinding& finding : rules::CheckWcag22(document, rules::Wcag22Target::kAAA)) {
                EXPECT_TRUE(finding.cannotTell) << (folder == kGerman ? "de/" : "") << name << " line "
                                                << finding.position.line << ": " << finding.text;
            }
            ++checked;
        }
    }
    EXPECT_GE(checked, 2 * 100);
}

// The files of a kind ("example", "part") a source names in its lines
// "<!-- KIND: NAME -->", in their order.
std::vector<std::string> NamedIn(const fs::path& source, const std::string& kind)
{
    const std::regex directive("<!-- " + kind + ": ([A-Za-z0-9_.-]+)");
    const std::string text = ReadAll(source);
    std::vector<std::string> names;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), directive); it != std::sregex_iterator(); ++it)
        names.push_back((*it)[1]);
    return names;
}

std::vector<std::string> ExamplesNamedIn(const fs::path& source) { return NamedIn(source, "example"); }
std::vector<std::string> PartsNamedIn(const fs::path& source) { return NamedIn(source, "part"); }

TEST(HelpTopics, EveryExampleIsKeptOnceForBothLanguagesAndNamedByItsTopic)
{
    const fs::path examples = test::kHelpSources / "examples";
    std::set<std::string> named;
    for (const std::string& name : FilesIn(test::kHelpSources)) {
        if (!IsTopicFile(name))
            continue;
        const std::vector<std::string> english = ExamplesNamedIn(test::kHelpSources / name);
        named.insert(english.begin(), english.end());
        if (fs::exists(test::kHelpSources / "de" / name)) {
            EXPECT_EQ(ExamplesNamedIn(test::kHelpSources / "de" / name), english)
                << "de/" << name << " does not show the examples of " << name;
        }
    }
    for (const std::string& name : FilesIn(test::kHelpSources / "de")) {
        for (const std::string& example : ExamplesNamedIn(test::kHelpSources / "de" / name))
            EXPECT_TRUE(named.count(example)) << "de/" << name << " shows " << example << ", which no English topic shows";
    }
    EXPECT_EQ(FilesIn(examples), named) << "an example no topic shows, or a topic showing an example that is not there";
    // The topics were written from them: the example of a topic stands in both languages.
    EXPECT_GE(named.size(), 60u);
    for (const fs::path& folder : {kEnglish, kGerman}) {
        const std::string topic = ReadAll(folder / "1-1-1.html");
        EXPECT_NE(topic.find("<pre><code>&lt;a href="), std::string::npos) << folder;
        EXPECT_EQ(topic.find("{{"), std::string::npos) << folder;
    }
}


// A shared passage is said once in each language: every part is there in
// both, some topic says it, a translated topic says the parts its English
// says, and the written topics hold the part's text in place of its line.
TEST(HelpTopics, EveryPartIsKeptInBothLanguagesAndSaidByATopic)
{
    const fs::path englishParts = test::kHelpSources / "parts";
    const fs::path germanParts = test::kHelpSources / "de" / "parts";
    EXPECT_EQ(FilesIn(germanParts), FilesIn(englishParts)) << "a part kept in one language only";
    std::set<std::string> named;
    int written = 0;
    for (const std::string& name : FilesIn(test::kHelpSources)) {
        if (!IsTopicFile(name))
            continue;
        const std::vector<std::string> english = PartsNamedIn(test::kHelpSources / name);
        named.insert(english.begin(), english.end());
        const bool translated = fs::exists(test::kHelpSources / "de" / name);
        if (translated) {
            EXPECT_EQ(PartsNamedIn(test::kHelpSources / "de" / name), english)
                << "de/" << name << " does not say the parts of " << name;
        }
        for (const auto& [topic, parts] : {std::pair{kEnglish / name, englishParts}, std::pair{kGerman / name, germanParts}}) {
            if (english.empty() || (topic.parent_path() == kGerman && !translated))
                continue;
            const std::string text = ReadAll(topic);
            EXPECT_EQ(text.find("<!-- part:"), std::string::npos) << topic << " still holds a part's line";
            for (const std::string& part : english) {
                EXPECT_NE(text.find(ReadAll(parts / part)), std::string::npos) << topic << " lacks the text of " << part;
                ++written;
            }
        }
    }
    for (const std::string& name : FilesIn(test::kHelpSources / "de")) {
        for (const std::string& part : PartsNamedIn(test::kHelpSources / "de" / name))
            EXPECT_TRUE(named.count(part)) << "de/" << name << " says " << part << ", which no English topic says";
    }
    EXPECT_EQ(FilesIn(englishParts), named) << "a part no topic says, or a topic saying a part that is not there";
    EXPECT_GE(written, 2 * 30);
}

// The examples' parts are kept once for both languages, like the examples,
// and each is said by an example.
TEST(HelpTopics, EveryPartOfTheExamplesIsSaidByAnExample)
{
    const fs::path examples = test::kHelpSources / "examples";
    std::set<std::string> named;
    for (const std::string& name : FilesIn(examples)) {
        const std::vector<std::string> parts = PartsNamedIn(examples / name);
        named.insert(parts.begin(), parts.end());
    }
    EXPECT_EQ(FilesIn(examples / "parts"), named) << "a part no example says, or an example saying a part that is not there";
    for (const fs::path& folder : {kEnglish, kGerman}) {
        const std::string topic = ReadAll(folder / "act-html-page-lang.html");
        EXPECT_EQ(topic.find("&lt;!-- part:"), std::string::npos) << folder << ": an example still shows a part's line";
        EXPECT_NE(topic.find("&lt;title&gt;"), std::string::npos) << folder << ": the part of the example is missing";
    }
}

// The help files the build made, opened as the help window opens them.
class CompiledHelp : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "help_topics_test";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);
    }

    // The file names compiled into a collection's help file.
    static std::set<std::string> CompiledTopics(QHelpEngineCore& help)
    {
        std::set<std::string> names;
        for (const QUrl& url : help.files(help.registeredDocumentations().value(0), QString()))
            names.insert(url.fileName().toStdString());
        return names;
    }
};

TEST_F(CompiledHelp, ThePlainPagesOfTheReportsAreThePagesOfTheHelpWindowInBothLanguages)
{
    const std::string plain = platform::FindDataFile("help");
    ASSERT_FALSE(plain.empty()) << "the plain help pages were not built";
    for (const auto& [collection, folder] :
         {std::pair{"Orvane.qhc", fs::path(plain)}, std::pair{"Orvane_de.qhc", fs::path(plain) / "de"}}) {
        const std::string file = platform::FindDataFile(collection);
        ASSERT_FALSE(file.empty()) << collection << " was not built";
        QHelpEngineCore help(QString::fromStdString(file));
        help.setReadOnly(true);
        ASSERT_TRUE(help.setupData()) << collection;
        const std::set<std::string> compiled = CompiledTopics(help);
        std::set<std::string> copied = FilesIn(folder);
        EXPECT_EQ(compiled, copied) << collection << " against " << folder;
        // The whole English help, translated or not, is in the German one.
        for (const std::string& name : FilesIn(kEnglish)) {
            if (name != "contents.txt") {
                EXPECT_TRUE(compiled.count(name)) << name << " is missing in " << collection;
            }
        }
    }
}

TEST_F(CompiledHelp, TheIndexFindsEveryCheckByNameAndTheGermanHelpSpeaksGerman)
{
    const std::multimap<std::string, std::string> checks = CheckNamesByTopic();
    for (const char* collection : {"Orvane.qhc", "Orvane_de.qhc"}) {
        QHelpEngineCore help(QString::fromStdString(platform::FindDataFile(collection)));
        help.setReadOnly(true);
        ASSERT_TRUE(help.setupData()) << collection;
        for (const auto& [topic, check] : checks) {
            bool found = false;
            for (const QHelpLink& link : help.documentsForKeyword(QString::fromStdString(check)))
                found = found || link.url.fileName().toStdString() == topic;
            EXPECT_TRUE(found) << collection << ": the index does not lead from " << check << " to " << topic;
        }
        for (const auto& [topic, rule] : test::RulesByTopic()) {
            bool found = false;
            for (const QHelpLink& link : help.documentsForKeyword(QString::fromUtf8(rule->id.data(), rule->id.size())))
                found = found || link.url.fileName().toStdString() == topic;
            EXPECT_TRUE(found) << collection << ": the index does not lead from " << rule->id << " to " << topic;
        }
        // A window's topic by the words a user would look up.
        const QString word = std::string(collection) == "Orvane.qhc" ? "backup" : "Original-Endung";
        const QList<QHelpLink> links = help.documentsForKeyword(word);
        ASSERT_FALSE(links.isEmpty()) << collection << ": " << word.toStdString();
        EXPECT_EQ(links.first().url.fileName(), "SavingFiles.html");
        const QString start = QString::fromUtf8(help.fileData(links.first().url));
        EXPECT_TRUE(start.contains(std::string(collection) == "Orvane.qhc" ? "Saving files" : "Dateien speichern"));
    }
}

} // namespace
} // namespace orvane
