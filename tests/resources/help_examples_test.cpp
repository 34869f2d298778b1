// The "before" and "after" examples of the help topics, checked as the
// overview checks a page: the "before" shows the problem the topic explains,
// the "after" repairs it and brings in no other.
#include "help_files.h"

#include "tests/checks/check_fixture.h"

#include "library/registry/object_database.h"
#include "library/rules/rule_findings.h"
#include "library/tables/table_record.h"
#include "library/tables/table_type_question.h"

#include <algorithm>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace orvane::test {
namespace {

struct TopicExamples {
    std::string before;
    std::string after;
};

// The text of an example as the topic's reader sees it: the markup in it is
// escaped in the topic, so it shows as code.
std::string Unescaped(const std::string& text)
{
    static const std::map<std::string, std::string> named = {
        {"lt", "<"}, {"gt", ">"}, {"amp", "&"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", "\xC2\xA0"}};
    static const std::regex reference("&(#[0-9]+|#[xX][0-9a-fA-F]+|[A-Za-z]+);");
    std::string plain;
    auto last = text.cbegin();
    for (auto it = std::sregex_iterator(text.begin(), text.end(), reference); it != std::sregex_iterator(); ++it) {
        plain.append(last, (*it)[0].first);
        last = (*it)[0].second;
        const std::string name = (*it)[1];
        if (name[0] != '#') {
            const auto known = named.find(name);
            plain += known != named.end() ? known->second : (*it)[0].str();
            continue;
        }
        const bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
        const unsigned long code = std::stoul(name.substr(hex ? 2 : 1), nullptr, hex ? 16 : 10);
        if (code < 0x80) {
            plain += static_cast<char>(code);
        } else if (code < 0x800) {
            plain += static_cast<char>(0xC0 | (code >> 6));
            plain += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            plain += static_cast<char>(0xE0 | (code >> 12));
            plain += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            plain += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            plain += static_cast<char>(0xF0 | (code >> 18));
            plain += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            plain += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            plain += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    plain.append(last, text.cend());
    return plain;
}

// A topic's examples: the code under its "Before" heading and the code under
// its "After" heading ("Vorher", "Nachher" in German), which a sentence may
// introduce.
std::optional<TopicExamples> ExamplesOf(const std::string& topic)
{
    static const std::regex examples(
        "<h3>(?:Before|Vorher)</h3>\\s*<pre><code>([\\s\\S]*?)</code></pre>\\s*"
        "<h3>(?:After|Nachher)</h3>\\s*(?:<p>[^<]*</p>\\s*)?<pre><code>([\\s\\S]*?)</code></pre>");
    std::smatch match;
    if (!std::regex_search(topic, match, examples))
        return std::nullopt;
    return TopicExamples{Unescaped(match[1]), Unescaped(match[2])};
}

std::string LowerCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The first tag of an example, comments passed over: "html", "head",
// "frameset", "tr", "p", ... or "!doctype".
std::string FirstTag(const std::string& example)
{
    static const std::regex tag("<(!doctype|[a-z][a-z0-9]*)");
    std::string text = LowerCase(example);
    for (std::size_t comment; (comment = text.find("<!--")) != std::string::npos;) {
        const std::size_t end = text.find("-->", comment);
        text.erase(comment, end == std::string::npos ? std::string::npos : end + 3 - comment);
    }
    std::smatch match;
    return std::regex_search(text, match, tag) ? match[1].str() : std::string();
}

constexpr const char* kStrict = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">\n";
constexpr const char* kFrameset =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Frameset//EN\" \"http://www.w3.org/TR/html4/frameset.dtd\">\n";

// An example is a piece of a page. It is checked as part of a page that is
// otherwise clean: a document type declaration (Frameset for a frameset), an
// html element with the topic's language, a head with a title and, unless
// the example is a frameset, a body. Where the piece goes depends on its
// first tag:
//  - a page's start (a declaration or <html>) stands as written, since its
//    lack is often the point; a body and the end tags are added when missing;
//  - <head> follows the html element, and a body is added when missing;
//  - <body> follows the head, and the body and page are closed after it;
//  - <frameset> follows the head, under the Frameset declaration;
//  - <meta> goes into the head, after the title;
//  - table rows go into a table of their own;
//  - an open <table> is finished with a headed row and closed;
//  - anything else is the body's content.
// An example that goes on into another file (a comment naming it, as
// "<!-- map.html -->") is checked up to there: the page is the first file.
std::string PageOf(std::string example, const std::string& language)
{
    static const std::regex otherFile("\\n[ \\t]*<!--\\s*[A-Za-z0-9_-]+\\.html?\\s*-->");
    std::smatch next;
    if (std::regex_search(example, next, otherFile))
        example.erase(static_cast<std::size_t>(next.position(0)));
    const std::string first = FirstTag(example);
    const std::string html = "<html lang=\"" + language + "\">\n";
    const std::string head = "<head>\n<title>Example</title>\n</head>\n";
    const std::string lower = LowerCase(example);
    const bool hasBody = lower.find("<body") != std::string::npos;
    if (first == "!doctype" || first == "html")
        return example + (hasBody ? "\n" : "\n<body>\n<p>Text.</p>\n</body>\n") + "</html>\n";
    if (first == "head")
        return kStrict + html + example + (hasBody ? "\n" : "\n<body>\n<p>Text.</p>\n</body>\n") + "</html>\n";
    if (first == "body")
        return kStrict + html + head + example + "\n<p>Text.</p>\n</body>\n</html>\n";
    if (first == "frameset")
        return kFrameset + html + head + example + "\n</html>\n";
    if (first == "meta")
        return kStrict + html + "<head>\n<title>Example</title>\n" + example + "\n</head>\n<body>\n<p>Text.</p>\n</body>\n</html>\n";
    std::string body = example;
    if (first == "tr")
        body = "<table>\n" + example + "\n</table>";
    else if (first == "table" && lower.find("</table>") == std::string::npos)
        body = example + "\n<tr><th scope=\"row\" abbr=\"Mon\">Monday</th><td>9:15</td></tr>\n</table>";
    return kStrict + html + head + "<body>\n" + body + "\n</body>\n</html>\n";
}

// Checks the topics explain beside the ones whose repair page names them in
// the catalogue: the second pages of a repair, and the question that comes
// before the table checks.
const std::multimap<std::string, std::string> kChecksOfTopicsShownElsewhere = {
    {"1-1-1b.html", "ImgAltTextSuspicious"}, {"1-1-1b.html", "ImgAltTextLong"},
    {"1-1-3b.html", "InputAltTextSuspicious"}, {"1-1-3c.html", "InputAltTextLong"},
    {"a1hlp.html", "TextLinks"}, {"5-1-1.html", "TableHeaders"},
};

// Topics whose examples no check can decide, and why. Their examples are
// still checked: the "after" must bring in no problem the "before" lacks.
const std::map<std::string, std::string> kUndecidedTopics = {
    {"1-4-1.html", "whether media have captions is a general warning a person judges"},
    {"2-1-1.html", "whether colour alone carries meaning is a general warning a person judges"},
    {"3-3-1.html", "whether style sheets are used well is a general warning a person judges"},
    {"4-1-1.html", "a change of language in the text is a general warning a person judges"},
    {"6-1-1.html", "whether the page reads without style sheets is a general warning a person judges"},
    {"6-2-2.html", "whether dynamic content has equivalents is a general warning a person judges"},
    {"6-3-1.html", "whether the page works without scripts is a general warning a person judges"},
    {"8-1-1.html", "whether scripts and programs are accessible is a general warning a person judges"},
    {"1-2-1.html", "every server-side image map is reported until a person confirms its text links"},
    {"10-1-1.html", "every link into a new window is reported until a person accepts it; the link text is not read"},
    {"13-1-1.html", "every page with text links is reported for a person to read the link texts over"},
    {"a1hlp.html", "every page with text links is reported for a person to read the link texts over"},
    {"5-3-1.html", "every layout table is reported until a person confirms it reads in order"},
    {"13-6-2.html", "every run of seven links or more is reported; a skip link before it is not recognised"},
    {"ScriptSpawnNewWindow.html",
     "the check reads script elements, so a window opened from an event attribute is left to the person"},
};

// Checks that report on every page with a kind of element, for a person to
// look it over, whatever its markup: an example that adds such an element
// brings in nothing to repair.
const std::map<std::string, std::string> kReviewChecks = {
    {"TextLinks", "reported on every page with text links, so that a person reads them over"},
};

// Rule topics whose "before" a person judges: the rule cannot tell there and
// asks for a judgement instead of failing.
const std::map<std::string, std::string> kJudgedRuleTopics = {
    {"act-bypass-blocks.html", "without a main landmark or a skip link only a person tells how the content is reached"},
};

// Tables are checked as the kind the topic speaks of: a layout table in the
// layout-table topics, else a data table.
const std::set<std::string> kLayoutTableTopics = {"5-3-1.html", "5-4-1.html"};

class AnswerEveryTable final : public ITableTypeQuestion {
public:
    void Ask(std::span<CTableRecord* const> tables) override
    {
        for (CTableRecord* table : tables)
            table->SetType(type);
    }
    int type = table_type::kData;
};

struct Finding {
    std::set<std::string> problems;  // checks a repair settles
    std::set<std::string> warnings;  // general warnings, a person's judgement
};

// The examples are checked with the interface's strings of the topic's
// language (a repair's link titles are compared with them) and with an empty
// object registry (some checks run only when there is one).
class HelpExamples : public CheckedPage {
protected:
    void UseLanguage(const std::string& language)
    {
        strings.Parse(ReadWholeFile(kSourceDir / "resources/strings" / (language + ".txt")));
    }

    Finding CheckExample(const std::string& page)
    {
        Finding finding;
        Check(page, &registry);
        for (const CFoundProblem& problem : found) {
            const std::string name = problem.element->GetCheckName(problem.bit);
            const bool judged = !problem.element->IsGrouped(problem.bit) || kReviewChecks.count(name);
            (judged ? finding.warnings : finding.problems).insert(name);
        }
        return finding;
    }

    // The findings of the WCAG 2.2 rule set counting at the target.
    std::vector<rules::RuleFinding> RuleFindings(const std::string& page, rules::Wcag22Target target)
    {
        document.Start(1, false);
        document.SetName("page.html");
        std::istringstream in{page};
        EXPECT_EQ(document.Load(in), 1) << page;
        return rules::CheckWcag22(document, target);
    }

    CSrcObjectDatabase registry;
    AnswerEveryTable answer;
    ScopedTableTypeQuestion useAnswer{answer};
};

std::string Joined(const std::set<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text.empty() ? "nothing" : text;
}

TEST_F(HelpExamples, TheSettingOfAnExampleIsAPageWithoutProblems)
{
    for (const char* piece : {"<p>Text.</p>", "<head><title>Page</title></head>", "<body>",
                              "<frameset cols=\"50%,*\"><frame src=\"a.html\" title=\"A\"><frame src=\"b.html\" "
                              "title=\"B\"><noframes><body><p><a href=\"a.html\">A</a></p></body></noframes></frameset>",
                              "<meta name=\"description\" content=\"A page\">",
                              "<table summary=\"Days down, times across\">\n<caption>Departures</caption>\n"
                              "<tr><th scope=\"col\" abbr=\"Day\">Day</th><th scope=\"col\" abbr=\"Time\">Time</th></tr>"}) {
        for (const char* language : {"en", "de"}) {
            UseLanguage(language);
            const std::string page = PageOf(piece, language);
            EXPECT_EQ(Joined(CheckExample(page).problems), "nothing") << page;
        }
    }
}

// The lowest target at which a rule counts.
rules::Wcag22Target TargetOf(const rules::RuleDefinition& rule)
{
    for (rules::Wcag22Target target : {rules::Wcag22Target::kA, rules::Wcag22Target::kAA})
        if (rules::RuleCountsAt(rule, target))
            return target;
    return rules::Wcag22Target::kAAA;
}

std::set<std::string> FailedRules(const std::vector<rules::RuleFinding>& findings)
{
    std::set<std::string> failed;
    for (const rules::RuleFinding& finding : findings)
        if (!finding.cannotTell)
            failed.emplace(finding.rule->id);
    return failed;
}

// A rule's topic is checked as a page is at a WCAG 2.2 target: the "before"
// fails the rule at the lowest target it counts at (or asks for a judgement
// where a person decides), the "after" is reported by it at no target and
// fails no rule the "before" passed.
TEST_F(HelpExamples, EveryRuleTopicsBeforeFailsItsRuleAndItsAfterPassesItWithoutANewFailure)
{
    const std::map<std::string, const rules::RuleDefinition*> rulesByTopic = RulesByTopic();
    std::set<std::string> checked;
    for (const auto& [folder, language] : {std::pair{kEnglishHelp, std::string("en")}, std::pair{kGermanHelp, std::string("de")}}) {
        for (const auto& [name, ruleOfTopic] : rulesByTopic) {
            const rules::RuleDefinition* rule = ruleOfTopic;
            const std::string where = (language == "de" ? "de/" : "") + name;
            const std::optional<TopicExamples> examples = ExamplesOf(ReadWholeFile(folder / name));
            if (!examples) {
                ADD_FAILURE() << where << " has no example";
                continue;
            }
            UseLanguage(language);
            const std::string beforePage = PageOf(examples->before, language);
            const std::string afterPage = PageOf(examples->after, language);
            const std::vector<rules::RuleFinding> before = RuleFindings(beforePage, TargetOf(*rule));
            const bool judged = kJudgedRuleTopics.count(name) > 0;
            const bool shown = std::any_of(before.begin(), before.end(), [&](const rules::RuleFinding& finding) {
                return finding.rule == rule && finding.cannotTell == judged;
            });
            EXPECT_TRUE(shown) << where << ": the \"before\" " << (judged ? "asks for no judgement of " : "does not fail ")
                               << rule->id << " at " << rules::Wcag22TargetText(TargetOf(*rule)) << "\n" << beforePage;
            const std::set<std::string> failedBefore = FailedRules(RuleFindings(beforePage, rules::Wcag22Target::kAAA));
            const std::vector<rules::RuleFinding> after = RuleFindings(afterPage, rules::Wcag22Target::kAAA);
            for (const rules::RuleFinding& finding : after) {
                EXPECT_NE(finding.rule, rule) << where << ": the \"after\" still reports " << finding.text << "\n"
                                              << afterPage;
                EXPECT_TRUE(finding.cannotTell || failedBefore.count(std::string(finding.rule->id)))
                    << where << ": the \"after\" brings in " << finding.text << "\n" << afterPage;
            }
            checked.insert(where);
        }
    }
    EXPECT_EQ(checked.size(), 2 * rulesByTopic.size());
}

TEST_F(HelpExamples, EveryBeforeShowsItsTopicsCheckAndEveryAfterRepairsItWithoutANewProblem)
{
    const std::map<std::string, const rules::RuleDefinition*> rulesByTopic = RulesByTopic();
    std::multimap<std::string, std::string> checksOfTopic = CatalogueChecksByTopic();
    checksOfTopic.insert(kChecksOfTopicsShownElsewhere.begin(), kChecksOfTopicsShownElsewhere.end());
    int examplesChecked = 0;
    for (const auto& [folder, language] : {std::pair{kEnglishHelp, std::string("en")}, std::pair{kGermanHelp, std::string("de")}}) {
        for (const std::string& name : FileNamesIn(folder)) {
            const std::optional<TopicExamples> examples = ExamplesOf(ReadWholeFile(folder / name));
            if (!examples || rulesByTopic.count(name))
                continue;  // a rule's topic is judged by its rule, above
            const std::string where = (language == "de" ? "de/" : "") + name;
            UseLanguage(language);
            answer.type = kLayoutTableTopics.count(name) ? table_type::kLayout : table_type::kData;
            const Finding before = CheckExample(PageOf(examples->before, language));
            const Finding after = CheckExample(PageOf(examples->after, language));
            ++examplesChecked;

            std::set<std::string> decided;
            const auto [from, to] = checksOfTopic.equal_range(name);
            for (auto it = from; it != to; ++it)
                decided.insert(it->second);
            if (kUndecidedTopics.count(name)) {
                for (const std::string& check : decided)
                    EXPECT_FALSE(before.problems.count(check) && !after.problems.count(check))
                        << where << " is listed as undecided, but its check " << check << " decides it";
            } else {
                ASSERT_FALSE(decided.empty()) << where << " has examples but no check: name it or list it as undecided";
                bool shown = false;
                for (const std::string& check : decided)
                    shown = shown || before.problems.count(check) > 0;
                EXPECT_TRUE(shown) << where << ": the \"before\" reports " << Joined(before.problems)
                                   << ", not the topic's check (" << Joined(decided) << ")\n"
                                   << PageOf(examples->before, language);
                for (const std::string& check : decided)
                    EXPECT_FALSE(after.problems.count(check))
                        << where << ": the \"after\" still reports " << check << "\n" << PageOf(examples->after, language);
            }
            std::set<std::string> added;
            for (const std::string& problem : after.problems) {
                if (!before.problems.count(problem) && !decided.count(problem))
                    added.insert(problem);
            }
            EXPECT_TRUE(added.empty()) << where << ": the \"after\" brings in " << Joined(added) << "\n"
                                       << PageOf(examples->after, language);
        }
    }
    // The examples were found, or the test proves nothing.
    EXPECT_GE(examplesChecked, 2 * 60);
}

} // namespace
} // namespace orvane::test
