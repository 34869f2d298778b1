#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::cli {

// Exit statuses shared by the commands.
constexpr int kExitOk = 0;
constexpr int kExitFindings = 1;
constexpr int kExitError = 2;

using Arguments = std::vector<std::string>;

struct CommandLine;

// Reads the arguments of the command of that name into line. Returns the exit
// status when the command is done with them: its help shown (on out), or what
// is wrong with them and its usage written (on err).
std::optional<int> ReadCommandLine(std::string_view command, const Arguments& args, CommandLine& line,
                                   std::ostream& out, std::ostream& err);

// Writes "orvane COMMAND: problem" and the command's usage on err; returns
// the exit status of a usage error.
int UsageError(std::string_view command, std::string_view problem, std::ostream& err);

// orvane elements FILE: one line per element of the page.
int RunElements(const Arguments& args, std::ostream& out, std::ostream& err);
// orvane rewrite IN OUT: takes a page in and writes it out again.
int RunRewrite(const Arguments& args, std::ostream& out, std::ostream& err);
// orvane check [options] PATH...: checks pages for accessibility problems.
int RunCheck(const Arguments& args, std::ostream& out, std::ostream& err);
// orvane fix [options] PATH...: makes the automatic repairs and writes the pages.
int RunFix(const Arguments& args, std::ostream& out, std::ostream& err);
// orvane settings [--set NAME=VALUE]...: shows and changes the settings record.
int RunSettings(const Arguments& args, std::ostream& out, std::ostream& err);
// orvane merge-reports REPORT.json...: the JSON reports of shares of a site as
// the one report of the whole site.
int RunMergeReports(const Arguments& args, std::ostream& out, std::ostream& err);

// orvane registry ACTION [ARG...]: shows, forgets, merges or starts object registries.
int RunRegistry(const Arguments& args, std::ostream& out, std::ostream& err);

int RunMain(const Arguments& args, std::ostream& out, std::ostream& err);

} // namespace orvane::cli
