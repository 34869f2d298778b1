#include "commands.h"

#include <ostream>

namespace orvane::cli {
namespace {

void PrintUsage(std::ostream& out)
{
    out << "usage: orvane COMMAND [ARGUMENTS]\n"
           "commands:\n"
           "  check [OPTIONS] PATH...  check pages and folders of pages (see README)\n"
           "  merge-reports REPORT.json...  the JSON reports of shares of a site as one\n"
           "  elements FILE      list the elements of a page, one a line\n"
           "  rewrite IN OUT     take a page in and write it out again\n";
}

} // namespace

int RunMain(const Arguments& args, std::ostream& out, std::ostream& err)
{
    if (args.empty()) {
        PrintUsage(err);
        return kExitError;
    }
    const std::string& command = args[0];
    Arguments rest(args.begin() + 1, args.end());
    if (command == "check")
        return RunCheck(rest, out, err);
    if (command == "merge-reports")
        return RunMergeReports(rest, out, err);
    if (command == "elements")
        return RunElements(rest, out, err);
    if (command == "rewrite")
        return RunRewrite(rest, out, err);
    if (command == "help" || command == "--help" || command == "-h") {
        PrintUsage(out);
        return kExitOk;
    }
    err << "orvane: unknown command '" << command << "'\n";
    PrintUsage(err);
    return kExitError;
}

} // namespace orvane::cli
