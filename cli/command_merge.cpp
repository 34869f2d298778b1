#include "check_report.h"
#include "command_line.h"
#include "commands.h"

#include "platform/file_system.h"

#include <algorithm>
#include <iterator>
#include <ostream>
#include <set>
#include <sstream>

namespace orvane::cli {
namespace {


} // namespace

int RunMergeReports(const Arguments& args, std::ostream& out, std::ostream& err)
{
    CommandLine line;
    if (std::optional<int> status = ReadCommandLine("merge-reports", args, line, out, err))
        return *status;
    std::string output;
    for (const GivenOption& given : line.options) {
        if (given.spec->id == OptionId::Output)
            output = given.value;
    }
    const std::vector<std::string>& inputs = line.operands;

    // Everything is read and checked before a byte is written: a bad share
    // gives no report of the site that lacks it.
    Report merged;
    std::set<std::string> paths;
    for (std::size_t n = 0; n < inputs.size(); ++n) {
        const std::string& input = inputs[n];
        std::string reason;
        std::unique_ptr<std::istream> in = platform::OpenForReading(input, &reason);
        if (!in) {
            err << "orvane merge-reports: cannot read " << input << ": " << reason << '\n';
            return kExitError;
        }
        const std::string text(std::istreambuf_iterator<char>(*in), {});
        Report share;
        if (!ReadJsonReport(text, share, reason)) {
            err << "orvane merge-reports: " << input << " is no JSON report of orvane check: " << reason << '\n';
            return kExitError;
        }
        if (n == 0) {
            merged.target = share.target;
        } else if (share.target != merged.target) {
            err << "orvane merge-reports: " << input << " was checked against " << LevelLabel(share.target) << ", "
                << inputs.front() << " against " << LevelLabel(merged.target) << '\n';
            return kExitError;
        }
        for (ReportFile& file : share.files) {
            if (!paths.insert(file.path).second) {
                err << "orvane merge-reports: " << file.path << " is in more than one report (" << input
                    << " is one)\n";
                return kExitError;
            }
            merged.files.push_back(std::move(file));
        }
    }
    // The order of a run over the whole folder.
    std::stable_sort(merged.files.begin(), merged.files.end(),
                     [](const ReportFile& a, const ReportFile& b) { return a.path < b.path; });

    bool findings = false;
    bool unreadable = false;
    for (const ReportFile& file : merged.files) {
        findings = findings || file.ProblemsAtLevel() > 0;
        unreadable = unreadable || !file.error.empty();
    }
    auto write = [&](std::ostream& stream) {
        WriteJsonReport(merged, stream);
        return static_cast<bool>(stream);
    };
    if (output.empty()) {
        write(out);
    } else if (std::string reason; !platform::WriteFileAtomically(output, write, &reason)) {
        err << "orvane merge-reports: cannot write " << output << ": " << reason << '\n';
        return kExitError;
    }
    // The status the run over the whole site would have ended with.
    if (unreadable)
        return kExitError;
    return findings ? kExitFindings : kExitOk;
}

} // namespace orvane::cli
