#include "commands.h"

#include <ostream>

namespace orvane::cli {
namespace {

void PrintUsage(std::ostream& out)
{
    out << "usage: orvane COMMAND [ARGUMENTS]\n"
           "commands:\n"
           "  check [OPTIONS] PATH...  check pages and folders of pages (see README)\n"
           "  elements FILE      list the elements of a page, one a line\n"
           "  fix [OPTIONS] PATH...  make the automatic repairs and write the pages (see README)\n"
           "  rewrite IN OUT     take a page in and write it out again\n"
           "  settings [--set NAME=VALUE]...  show or change the settings\n";
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
    if (command == "elements")
        return RunElements(rest, out, err);
    if (command == "rewrite")
        return RunRewrite(rest, out, err);
    if (command == "fix")
        return RunFix(rest, out, err);
    if (command == "settings")
        return RunSettings(rest, out, err);
    if (command == "help" || command == "--help" || command == "-h") {
        PrintUsage(out);
        return kExitOk;
    }
    err << "orvane: unknown command '" << command << "'\n";
    PrintUsage(err);
    return kExitError;
}

} // namespace orvane::cli
