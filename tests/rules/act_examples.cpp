#include "act_examples.h"

#include "tests/support/test_support.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace orvane::test {

namespace {

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A fragment becomes the body of a page, as the rule files' README says.
std::string Wrap(const std::string& ruleTitle, const ActExample& example, const std::string& code)
{
    const std::string lower = Lower(code);
    if (lower.find("<!doctype") != std::string::npos || lower.find("<html") != std::string::npos)
        return code;
    std::string outcome = example.expected;
    outcome[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(outcome[0])));
    return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<title>" + ruleTitle + " " + outcome + " example " +
           std::to_string(example.number) + "</title>\n</head>\n<body>\n" + code + "</body>\n</html>\n";
}

} // namespace

std::string ActRulesDirectory()
{
    std::error_code error;
    return std::filesystem::is_directory(ORVANE_ACT_RULES_DIR, error) ? std::string(ORVANE_ACT_RULES_DIR)
                                                                      : std::string();
}

ActRuleFile ParseActRuleFile(const std::string& fileName, const std::string& text)
{
    ActRuleFile rule;
    std::string stem = std::filesystem::path(fileName).stem().string();
    const std::size_t dash = stem.rfind('-');
    rule.name = stem.substr(0, dash);
    std::istringstream in(text);
    std::string line;
    ActExample* current = nullptr;
    bool inCode = false;
    std::string code;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (inCode) {
            if (line.rfind("```", 0) == 0) {
                inCode = false;
                if (current && current->page.empty())
                    current->page = Wrap(rule.title, *current, code);
                continue;
            }
            code += line + "\n";
            continue;
        }
        if (rule.id.empty() && line.rfind("id: ", 0) == 0)
            rule.id = line.substr(4);
        else if (rule.title.empty() && line.rfind("name: ", 0) == 0)
            rule.title = line.substr(6);
        if (line.rfind("#### ", 0) == 0) {
            std::istringstream heading(line.substr(5));
            std::string outcome, word;
            int number = 0;
            heading >> outcome >> word >> number;
            if (word == "Example") {
                rule.examples.push_back({Lower(outcome), number, {}, {}});
                current = &rule.examples.back();
            } else {
                current = nullptr;
            }
            continue;
        }
        if (line.rfind("```", 0) == 0 && current && current->page.empty()) {
            inCode = true;
            code.clear();
            current->language = Lower(line.substr(3));
        }
    }
    // Quotes around the title in the front matter are YAML's, not the title's.
    if (rule.title.size() > 1 && (rule.title.front() == '\'' || rule.title.front() == '"'))
        rule.title = rule.title.substr(1, rule.title.size() - 2);
    return rule;
}

std::vector<ActRuleFile> ReadActRuleFiles(const std::string& folder)
{
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".md")
            paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    std::vector<ActRuleFile> rules;
    for (const std::string& path : paths)
        rules.push_back(ParseActRuleFile(path, ReadFileBytes(path)));
    return rules;
}

} // namespace orvane::test
