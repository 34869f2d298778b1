#include "bench_support.h"

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
                   bool writeBack, double items)
{
    // Timed as the process's processor time, which the other work on a shared
    // machine does not inflate the way it does wall time; page faults count.
    std::vector<double> samples;
    std::size_t peak = 0;
    std::size_t elements = 0;
    std::size_t written = 0;
    for (auto _ : state) {
        CPeakScope scope;
        auto document = std::make_unique<CHtmlDocument>(CFamilyElementFactory::Instance());
        const std::clock_t start = std::clock();
        int taken = TakeIn(*document, page, intake);
        if (writeBack) {
            CCountingBuffer sink;
            std::ostream out(&sink);
            document->Write(out);
            written = sink.Count();
        }
        const double elapsed = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
        benchmark::DoNotOptimize(taken);
        state.SetIterationTime(elapsed);
        samples.push_back(elapsed);
        peak = std::max(peak, scope.Extra());
        elements = document->Size();
        document.reset();  // not timed: the next page's Start would pay it
    }
    const double bytes = static_cast<double>(page.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(page.size()));
    state.counters["peak_x_page"] = static_cast<double>(peak) / bytes;
    state.counters["peak_MB"] = static_cast<double>(peak) / kMegabyte;
    state.counters["elements"] = static_cast<double>(elements);
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

    out << "\nAims:\n";
    if (const Measurement* ten = Find("Intake/File/Generated/10MB")) {
        double rate = ten->inputBytes / kMegabyte / ten->seconds;
        Line(out, "10 MB page", ": %.1f MB/s (at least %.0f)", rate, 100, Verdict(rate >= 100));
        if (const Measurement* fifty = Find("Intake/File/Generated/50MB")) {
            double ratio = fifty->seconds / ten->seconds;
            Line(out, "50 MB page", " costs %.2f times the 10 MB page (at most %.1f)", ratio, 5.5,
                 Verdict(ratio <= 5.5));
        }
    }
    for (const auto& [name, m] : Measurements()) {
        if (name.rfind("Intake/", 0) != 0)
            continue;
        double ratio = m.peakBytes / m.inputBytes;
        Line(out, "peak memory of " + name, ": %.2f times the page (at most %.0f)", ratio, 10,
             Verdict(ratio <= 10));
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
        Line(out, stem, ": full input takes %.2f times the half (linear: about %.0f)", ratio, 2,
             Verdict(ratio <= 2.6));
    }
}

} // namespace orvane::bench
