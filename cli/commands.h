#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace orvane::cli {

// Exit statuses shared by the commands.
constexpr int kExitOk = 0;
constexpr int kExitFindings = 1;
constexpr int kExitError = 2;

using Arguments = std::vector<std::string>;

// orvane elements FILE: one line per element of the page.
int RunElements(const Arguments& args, std::ostream& out, std::ostream& err);
// orvane rewrite IN OUT: takes a page in and writes it out again.
int RunRewrite(const Arguments& args, std::ostream& out, std::ostream& err);
// orvane check [options] PATH...: checks pages for accessibility problems.
int RunCheck(const Arguments& args, std::ostream& out, std::ostream& err);
// orvane merge-reports REPORT.json...: the JSON reports of shares of a site as
// the one report of the whole site.
int RunMergeReports(const Arguments& args, std::ostream& out, std::ostream& err);

int RunMain(const Arguments& args, std::ostream& out, std::ostream& err);

} // namespace orvane::cli
