#include "check_report.h"
#include "command_line.h"
#include "commands.h"

#include "platform/file_system.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <ostream>
#include <set>
#include <sstream>

namespace orvane::cli {
namespace {

// What must be the same in every share of one run; empty when it is.
std::string RunDifference(const Report& one, const Report& other)
{
    if (one.target != other.target)
        return "was checked against " + LevelLabel(other.target) + ", the first report against " +
               LevelLabel(one.target);
    if (one.paths != other.paths)
        return "was a run over other paths than the first report";
    if (one.all != other.all)
        return std::string("was a run ") + (other.all ? "with" : "without") + " --all, the first report not";
    if (one.tables != other.tables)
        return "was a run with --tables " + other.tables + ", the first report with --tables " + one.tables;
    if (one.ariaNames != other.ariaNames)
        return std::string("was a run ") + (other.ariaNames ? "with" : "without") +
               " the names ARIA gives, the first report not";
    if (one.registry != other.registry)
        return "took its decisions from another registry than the first report";
    if (!other.shard || !one.shard || other.shard->count != one.shard->count)
        return "is no share of the same number of shares as the first report";
    return {};
}

std::string ShareText(const Shard& shard) { return std::to_string(shard.index) + "/" + std::to_string(shard.count); }

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
    if (std::string problem = OutputProblem(output, inputs); !problem.empty()) {
        err << "orvane merge-reports: " << problem << '\n';
        return kExitError;
    }

    // Everything is read and checked before a byte is written: a bad share
    // gives no report of the site that lacks it, and a report made of the
    // shares is only one when every share of one run is there once.
    Report merged;
    std::set<std::string> paths;
    std::map<unsigned, std::string> shares;
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
        if (!share.shard) {
            err << "orvane merge-reports: " << input << " is the report of a whole run, no share of one (--shard K/N)\n";
            return kExitError;
        }
        if (n == 0) {
            merged.target = share.target;
            merged.all = share.all;
            merged.paths = share.paths;
            merged.tables = share.tables;
            merged.ariaNames = share.ariaNames;
            merged.registry = share.registry;
            merged.shard = share.shard;
        } else if (std::string difference = RunDifference(merged, share); !difference.empty()) {
            err << "orvane merge-reports: " << input << ' ' << difference << " (" << inputs.front() << ")\n";
            return kExitError;
        }
        for (std::string& folder : share.foldersNotRead)
            merged.foldersNotRead.push_back(std::move(folder));
        for (std::string& link : share.linksNotFollowed)
            merged.linksNotFollowed.push_back(std::move(link));
        for (ReportFile& file : share.files) {
            if (!paths.insert(file.path).second) {
                err << "orvane merge-reports: " << file.path << " is in more than one report (" << input
                    << " is one)\n";
                return kExitError;
            }
            merged.files.push_back(std::move(file));
        }
        if (auto [at, added] = shares.emplace(share.shard->index, input); !added) {
            err << "orvane merge-reports: " << input << " and " << at->second << " are both the share "
                << ShareText(*share.shard) << '\n';
            return kExitError;
        }
    }
    if (inputs.empty())
        return kExitError;
    std::string missing;
    for (unsigned k = 1; k <= merged.shard->count; ++k) {
        if (!shares.count(k))
            missing += (missing.empty() ? "" : ", ") + ShareText(Shard{k, merged.shard->count});
    }
    if (!missing.empty()) {
        err << "orvane merge-reports: the share(s) " << missing << " are missing; the reports are not the whole run\n";
        return kExitError;
    }
    merged.shard.reset();
    // The order of a run over the whole folder, and what it would have found unread.
    std::stable_sort(merged.files.begin(), merged.files.end(),
                     [](const ReportFile& a, const ReportFile& b) { return a.path < b.path; });
    for (auto* list : {&merged.foldersNotRead, &merged.linksNotFollowed}) {
        std::sort(list->begin(), list->end());
        list->erase(std::unique(list->begin(), list->end()), list->end());
    }

    bool findings = false;
    bool unreadable = !merged.foldersNotRead.empty();
    for (const ReportFile& file : merged.files) {
        findings = findings || file.ProblemsAtLevel() > 0;
        unreadable = unreadable || !file.error.empty();
    }
    auto write = [&](std::ostream& stream) {
        WriteJsonReport(merged, stream);
        return static_cast<bool>(stream);
    };
    if (!WriteReportTo("merge-reports", output, write, out, err))
        return kExitError;
    // The status the run over the whole site would have ended with.
    if (unreadable)
        return kExitError;
    return findings ? kExitFindings : kExitOk;
}

} // namespace orvane::cli
