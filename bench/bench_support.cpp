#include "bench_support.h"

#include "common/orvane_settings.h"
#include "library/checks/check_pass.h"
#include "library/html/lang_codes.h"

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <memory>

namespace orvane::bench {

std::map<std::string, Measurement>& Measurements()
{
    static std::map<std::string, Measurement> measurements;
    return measurements;
}

void MeasureIntake(benchmark::State& state, const std::string& name, std::string_view page, Intake intake,
                   Then then, double items, PeakAim aim, WarmUp warmUp)
{
    const bool check = then == Then::CheckAndWriteBack;
    const bool writeBack = then != Then::Nothing;
    // The settings and the language codes belong to the session, not to the
    // page: made before the peak is taken.
    COrvaneSettings settings;
    settings.SetConformanceLevel(3);
    if (check)
        CLanguageCodeList::Library().Load();

    std::size_t elements = 0;
    std::size_t written = 0;
    std::size_t problemCount = 0;
    // Timed as the process's processor time, which the other work on a shared
    // machine does not inflate the way it does wall time; page faults count.
    auto run = [&](std::size_t& highest) {
        CPeakScope scope;
        auto document = std::make_unique<CHtmlDocument>(CFamilyElementFactory::Instance());
        const std::clock_t begin = std::clock();
        int taken = TakeIn(*document, page, intake);
        // Kept while the page is written back, as the overview keeps its list.
        std::vector<CFoundProblem> problems;
        if (check)
            problems = RunCheckPass(*document, settings, nullptr);
        if (writeBack) {
            CCountingBuffer sink;
            std::ostream out(&sink);
            document->Write(out);
            written = sink.Count();
        }
        const double elapsed = static_cast<double>(std::clock() - begin) / CLOCKS_PER_SEC;
        benchmark::DoNotOptimize(taken);
        highest = std::max(highest, scope.Extra());
        elements = document->Size();
        problemCount = problems.size();
        problems = {};
        document.reset();  // not timed: the next page's Start would pay it
        return elapsed;
    };

    std::size_t peak = 0;
    if (warmUp == WarmUp::Yes) {
        std::size_t untimed = 0;
        run(untimed);
    }
    std::vector<double> samples;
    for (auto _ : state) {
        const double elapsed = run(peak);
        state.SetIterationTime(elapsed);
        samples.push_back(elapsed);
    }
    const double bytes = static_cast<double>(page.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(page.size()));
    state.counters["peak_x_page"] = static_cast<double>(peak) / bytes;
    state.counters["peak_MB"] = static_cast<double>(peak) / kMegabyte;
    state.counters["elements"] = static_cast<double>(elements);
    if (check)
        state.counters["problems"] = static_cast<double>(problemCount);
    if (writeBack && written != page.size())
        state.SkipWithError("the page did not write back to its own size");

    // The summary takes the mean of every iteration of every run (repetitions
    // too): whether a page finds its memory already mapped varies from one
    // iteration to the next, and the mean weighs both cases as they come.
    Measurement& m = Measurements()[name];
    m.samples.insert(m.samples.end(), samples.begin(), samples.end());
    double total = 0;
    for (double sample : m.samples)
        total += sample;
    m.seconds = total / static_cast<double>(m.samples.size());
    m.peakBytes = std::max(m.peakBytes, static_cast<double>(peak));
    m.inputBytes = bytes;
    m.items = items > 0 ? items : static_cast<double>(elements);
    m.aim = aim;
}

namespace {

const Measurement* Find(const std::string& name)
{
    auto it = Measurements().find(name);
    return it == Measurements().end() ? nullptr : &it->second;
}

// One aim: what is measured (subject), the figure against the aim, the verdict.
void Line(std::ostream& out, const std::string& subject, const char* format, double a, double b, const char* verdict)
{
    char text[256];
    std::snprintf(text, sizeof text, format, a, b);
    out << "  " << subject << text << "  " << verdict << '\n';
}

const char* Verdict(bool met) { return met ? "[met]" : "[MISSED]"; }

// Twice the time for twice the input, with room for the noise of a shared machine.
constexpr double kLinear = 2.6;

} // namespace

void PrintSummary(std::ostream& out)
{
    if (Measurements().empty())
        return;
    out << "\nSummary (mean of all iterations; processor time):\n";
    for (const auto& [name, m] : Measurements()) {
        char text[256];
        std::snprintf(text, sizeof text, "  %-40s %8.1f MB/s  peak %6.2f x input", name.c_str(),
                      m.inputBytes / kMegabyte / m.seconds, m.peakBytes / m.inputBytes);
        out << text;
        if (m.items >= 1000) {
            std::snprintf(text, sizeof text, "  %7.0f bytes per element/attribute", m.peakBytes / m.items);
            out << text;
        }
        out << '\n';
    }

    out << "\nAims (time: linear, the full input of a bound at most " << kLinear
        << " times its half; peak memory: at most " << kPeakPerPageByte
        << " times the page for pages mostly of text, at most " << kPeakPerItem
        << " bytes per element or attribute for tag-dense ones):\n";
    if (const Measurement* ten = Find("Intake/File/Generated/10MB")) {
        double rate = ten->inputBytes / kMegabyte / ten->seconds;
        Line(out, "10 MB page", ": %.1f MB/s (at least %.0f)", rate, 100, Verdict(rate >= 100));
        if (const Measurement* fifty = Find("Intake/File/Generated/50MB")) {
            double ratio = fifty->seconds / ten->seconds;
            Line(out, "50 MB page", " costs %.2f times the 10 MB page (at most %.1f)", ratio, 5.5,
                 Verdict(ratio <= 5.5));
        }
    }
    // The whole command: a page in, its JSON report out.
    auto reportRate = [&](const char* subject, const char* name) -> const Measurement* {
        const Measurement* m = Find(name);
        if (m) {
            double rate = m->inputBytes / kMegabyte / m->seconds;
            Line(out, subject, ": %.1f MB/s (at least %.0f)", rate, 50, Verdict(rate >= 50));
        }
        return m;
    };
    const Measurement* reportTen = reportRate("check and JSON report of a 10 MB page", "Report/Json/Generated/10MB");
    const Measurement* reportFifty = reportRate("check and JSON report of a 50 MB page", "Report/Json/Generated/50MB");
    if (reportTen && reportFifty) {
        double ratio = reportFifty->seconds / reportTen->seconds;
        Line(out, "check and JSON report of the 50 MB page", " costs %.2f times the 10 MB page (at most %.1f)", ratio,
             5.5, Verdict(ratio <= 5.5));
    }
    reportRate("check and JSON report of 2,000 pages of 20 KB (processor time of all jobs)",
               "Report/Json/Folder/2000x20KB");
    for (const auto& [name, m] : Measurements()) {
        if (m.aim == PeakAim::PerPageByte) {
            double ratio = m.peakBytes / m.inputBytes;
            Line(out, "peak memory of " + name, ": %.2f times the page (at most %.0f)", ratio, kPeakPerPageByte,
                 Verdict(ratio <= kPeakPerPageByte));
        } else {
            double perItem = m.peakBytes / m.items;
            Line(out, "peak memory of " + name, ": %.0f bytes per element/attribute (at most %.0f)", perItem,
                 kPeakPerItem, Verdict(perItem <= kPeakPerItem));
        }
    }

    // Bounds come in pairs: the full input and one of half its size.
    for (const auto& [name, m] : Measurements()) {
        const std::string suffix = "/full";
        if (name.size() <= suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        std::string stem = name.substr(0, name.size() - suffix.size());
        const Measurement* half = Find(stem + "/half");
        if (!half)
            continue;
        double ratio = m.seconds / half->seconds;
        Line(out, "time of " + stem, ": full input takes %.2f times the half (linear: at most %.1f)", ratio, kLinear,
             Verdict(ratio <= kLinear));
    }
}

} // namespace orvane::bench
