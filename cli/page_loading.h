#pragma once

#include "library/html/html_document.h"
#include "library/registry/object_database.h"
#include "table_guess.h"

#include <iosfwd>
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

// Checks a loaded page as a session does, the tables nobody classified taken
// as tables says, and groups its problems as the overview does. Returns the
// tables so taken.
std::vector<AssumedTable> FindProblems(CProblemList& problems, CHtmlDocument& document, COrvaneSettings& settings,
                                       CSrcObjectDatabase* registry, TableMode tables);

// A conformance target as --level names it: A, AA, AAA or 508.
std::optional<int> ParseLevel(std::string_view text);

// Control characters as escapes, so one element stays on one line.
std::string EscapeControls(std::string_view text);

} // namespace orvane::cli
