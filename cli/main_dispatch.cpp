#include "command_line.h"
#include "commands.h"

#include <ostream>

namespace orvane::cli {
namespace {

int RunHelp(const Arguments& args, std::ostream& out, std::ostream& err)
{
    const OptionSpec* option = args.size() == 1 ? FindOption(Program().options, args[0]) : nullptr;
    if (args.empty() || (option && option->id == OptionId::Help)) {
        WriteProgramHelp(out);
        return out ? kExitOk : kExitError;
    }
    const CommandSpec* command = args.size() == 1 ? FindCommand(args[0]) : nullptr;
    if (!command) {
        err << "orvane help: " << (args.size() == 1 ? "unknown command '" + args[0] + "'" : "expects one COMMAND")
            << '\n';
        WriteProgramUsage(err);
        return kExitError;
    }
    WriteCommandHelp(*command, out);
    return out ? kExitOk : kExitError;
}

} // namespace

std::optional<int> ReadCommandLine(std::string_view name, const Arguments& args, CommandLine& line,
                                   std::ostream& out, std::ostream& err)
{
    const CommandSpec& command = *FindCommand(name);
    if (std::string problem = ParseCommandLine(command, args, line); !problem.empty()) {
        err << Program().name << ' ' << command.name << ": " << problem << '\n';
        WriteUsage(command, err);
        return kExitError;
    }
    if (line.helpAsked) {
        WriteCommandHelp(command, out);
        return out ? kExitOk : kExitError;
    }
    return std::nullopt;
}

int UsageError(std::string_view name, std::string_view problem, std::ostream& err)
{
    const CommandSpec& command = *FindCommand(name);
    err << Program().name << ' ' << command.name << ": " << problem << '\n';
    WriteUsage(command, err);
    return kExitError;
}

int RunMain(const Arguments& args, std::ostream& out, std::ostream& err)
{
    if (args.empty()) {
        WriteProgramUsage(err);
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
    if (command == "fix")
        return RunFix(rest, out, err);
    if (command == "settings")
        return RunSettings(rest, out, err);
    if (command == "registry")
        return RunRegistry(rest, out, err);
    if (command == "help")
        return RunHelp(rest, out, err);
    if (const OptionSpec* option = FindOption(Program().options, command)) {
        if (option->id == OptionId::Version)
            WriteVersion(out);
        else
            WriteProgramHelp(out);
        return out ? kExitOk : kExitError;
    }
    err << "orvane: unknown command '" << command << "'\n";
    WriteProgramUsage(err);
    return kExitError;
}

} // namespace orvane::cli
