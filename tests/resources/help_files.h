#pragma once

// The help topics as the build writes them from their sources (each
// language's text, the examples kept once for both), read by the tests of
// the help, and the checks of the catalogue each topic explains.
#include "library/checks/check_catalogue.h"
#include "library/checks/check_info.h"
#include "library/rules/rule_table.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <system_error>

namespace orvane::test {

inline const std::filesystem::path kSourceDir = ORVANE_SOURCE_DIR;
inline const std::filesystem::path kHelpSources = kSourceDir / "resources/help";
inline const std::filesystem::path kEnglishHelp = ORVANE_HELP_TOPICS_DIR;
inline const std::filesystem::path kGermanHelp = kEnglishHelp / "de";

inline std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The names of the files of a folder (not of its subfolders).
inline std::set<std::string> FileNamesIn(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    std::error_code error;
    for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file())
            names.insert(entry.path().filename().string());
    }
    return names;
}

// Every check of the catalogue with the topic the user is shown for it: its
// repair page's topic, or for a general warning the warning's topic.
inline std::multimap<std::string, std::string> CatalogueChecksByTopic()
{
    std::multimap<std::string, std::string> checks;
    for (const ElementPtr& element : CreateCatalogueFamilies()) {
        const auto* family = dynamic_cast<const CCatalogueElement*>(element.get());
        if (!family)
            continue;
        for (const CheckInfo& check : family->CheckTable()) {
            if (check.name.empty())
                continue;
            for (std::string_view topic : {check.helpTopic, check.warningHelpTopic}) {
                if (!topic.empty())
                    checks.emplace(std::string(topic), std::string(check.name));
            }
        }
    }
    return checks;
}

// Every rule of the WCAG 2.2 rule set by the topic of its findings, one
// topic for each rule.
inline std::map<std::string, const rules::RuleDefinition*> RulesByTopic()
{
    std::map<std::string, const rules::RuleDefinition*> rules;
    for (const rules::RuleDefinition& rule : rules::RuleTable())
        rules.emplace(std::string(rule.helpTopic), &rule);
    return rules;
}

} // namespace orvane::test
