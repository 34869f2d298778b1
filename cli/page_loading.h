#pragma once

#include "library/html/html_document.h"
#include "library/registry/object_database.h"
#include "library/rules/rule_findings.h"
#include "table_guess.h"

#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {
class COrvaneSettings;
class CProblemList;
}

namespace orvane::cli {

// Loads a page file as the checker does; on failure writes a message naming
// the file to err and returns false.
bool LoadPage(CHtmlDocument& document, const std::string& path, std::ostream& err);
// The same for the bytes of the page named path, read from in.
bool LoadPageFrom(CHtmlDocument& document, const std::string& path, std::istream& in, std::ostream& err);

// A registry named on the command line must be there: running without it
// would quietly give other answers. Otherwise writes why to err.
bool NamedRegistryReadable(std::string_view command, const std::string& file, std::ostream& err);
// The registry a run reads, loaded: an empty one in memory with none (as a
// session always has one, so checks that ask it are not silenced), else the
// file named or the user's own. It is only ever read.
std::unique_ptr<CSrcObjectDatabase> OpenRegistry(const std::string& file, bool none);

// The registries a run reads, one run's worth for one worker: the file
// named, or none, when the command line says so; otherwise the registry of
// the site a page lies in (".orvane/registry.xml" in its folder or one
// above), and the user's own for pages of no site. Each is loaded once.
// A site registry that cannot be read is said so on err, once a run, and
// not used: its pages are checked with nothing remembered.
class CRunRegistries {
public:
    CRunRegistries(std::string_view command, std::string file, bool none, std::ostream& err);
    CRunRegistries(const CRunRegistries&) = delete;
    CRunRegistries& operator=(const CRunRegistries&) = delete;
    CSrcObjectDatabase& For(const std::string& pagePath);

private:
    std::string m_command;
    std::string m_file;
    bool m_none;
    std::ostream& m_err;
    std::unique_ptr<CSrcObjectDatabase> m_fixed;  // the one named, none, or the user's own
    std::map<std::string, std::unique_ptr<CSrcObjectDatabase>> m_sites;
};

// Checks a loaded page as a session does, the tables nobody classified taken
// as tables says, and groups its problems as the overview does. Returns the
// tables so taken.
std::vector<AssumedTable> FindProblems(CProblemList& problems, CHtmlDocument& document, COrvaneSettings& settings,
                                       CSrcObjectDatabase* registry, TableMode tables);

// A conformance target as --level names it: A, AA, AAA, 508, 2.2-A, 2.2-AA or 2.2-AAA.
std::optional<int> ParseLevel(std::string_view text);

// The rule set's target of a WCAG 2.2 conformance target (2.2-AAA for any other).
rules::Wcag22Target RulesTargetOf(int conformance);

// Control characters as escapes, so one element stays on one line.
std::string EscapeControls(std::string_view text);

} // namespace orvane::cli
