#pragma once

#include <string>
#include <vector>

namespace orvane::test {

// One test case of a W3C ACT rule file.
struct ActExample {
    std::string expected;  // "passed", "failed" or "inapplicable"
    int number = 0;
    std::string language;  // of its code block: html, svg, xml ...
    std::string page;      // the page to check, fragments wrapped as the rules' README says
};

struct ActRuleFile {
    std::string id;    // "b5c3f8"
    std::string name;  // the file name without the id: "html-page-lang"
    std::string title;
    std::vector<ActExample> examples;
};

// The folder of the ACT rule files beside the project; empty when absent.
std::string ActRulesDirectory();
std::vector<ActRuleFile> ReadActRuleFiles(const std::string& folder);
ActRuleFile ParseActRuleFile(const std::string& fileName, const std::string& text);

} // namespace orvane::test
