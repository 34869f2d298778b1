// The WCAG 2.2 rule set beside the WCAG 1.0 check pass on the same pages:
// the generated 25 MB page and every page of the corpus, load included in
// both. The rule set must stay within 1.5 times the WCAG 1.0 AAA run, in
// time and in peak memory; the two runs are printed side by side last.
#include "allocation_counter.h"
#include "bench_support.h"
#include "page_generator.h"

#include "common/orvane_settings.h"
#include "library/checks/check_pass.h"
#include "library/html/lang_codes.h"
#include "library/rules/rule_findings.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <ostream>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace orvane::bench {
namespace {

const std::string& GeneratedPage()
{
    static const std::string page = GeneratePage(25u * 1024 * 1024, 7);
    return page;
}

const std::vector<std::string>& CorpusPages()
{
    static const std::vector<std::string> pages = [] {
        std::vector<std::string> found;
        std::error_code error;
        if (!std::filesystem::is_directory(ORVANE_CORPUS_DIR, error))
            return found;
        for (const auto& entry : std::filesystem::directory_iterator(ORVANE_CORPUS_DIR)) {
            std::ifstream in(entry.path(), std::ios::binary);
            found.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        return found;
    }();
    return pages;
}

std::size_t RunWcag10(const std::string& page)
{
    COrvaneSettings settings;
    settings.SetConformanceLevel(3);
    CHtmlDocument document(CFamilyElementFactory::Instance());
    document.Start(1, false);
    CMemoryStream in(page);
    document.Load(in);
    return RunCheckPass(document, settings, nullptr).size();
}

std::size_t RunWcag22(const std::string& page)
{
    CHtmlDocument document(CFamilyElementFactory::Instance());
    document.Start(1, false);
    CMemoryStream in(page);
    document.Load(in);
    return rules::CheckWcag22(document, rules::Wcag22Target::kAA).size();
}

// Seconds per run and peak heap bytes of each run, by benchmark name, for the
// side-by-side lines after the table.
struct RulesRun {
    double seconds = 0;
    double peakBytes = 0;
};
std::map<std::string, RulesRun>& RulesRuns()
{
    static std::map<std::string, RulesRun> runs;
    return runs;
}

template <class Run>
void Measure(benchmark::State& state, const std::string& name, const std::vector<const std::string*>& pages, Run run)
{
    CLanguageCodeList::Library().Load();
    std::size_t bytes = 0;
    for (const std::string* page : pages)
        bytes += page->size();
    double seconds = 0, peak = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const CPeakScope scope;
        std::size_t found = 0;
        for (const std::string* page : pages)
            found += run(*page);
        benchmark::DoNotOptimize(found);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        seconds += elapsed.count();
        peak = std::max(peak, static_cast<double>(scope.Extra()));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    RulesRuns()[name] = {seconds / static_cast<double>(state.iterations()), peak};
}

} // namespace

void PrintRulesSummary(std::ostream& out)
{
    constexpr double kAim = 1.5;
    bool heading = false;
    for (const char* set : {"Generated/25MB", "Corpus"}) {
        const auto old = RulesRuns().find(std::string("Wcag10AAA/") + set);
        const auto now = RulesRuns().find(std::string("Wcag22AA/") + set);
        if (old == RulesRuns().end() || now == RulesRuns().end())
            continue;
        if (!heading)
            out << "\nThe WCAG 2.2 AA rule set beside the WCAG 1.0 AAA checks (page taken in, both; peak heap "
                   "bytes; at most "
                << kAim << " times each):\n";
        heading = true;
        const double time = now->second.seconds / old->second.seconds;
        const double memory = now->second.peakBytes / old->second.peakBytes;
        char line[320];
        std::snprintf(line, sizeof line,
                      "  %-15s time %8.0f ms beside %8.0f ms: %4.2f times (%s); memory %6.0f MB beside %6.0f MB: "
                      "%4.2f times (%s)\n",
                      set, now->second.seconds * 1000, old->second.seconds * 1000, time,
                      time <= kAim ? "met" : "MISSED", now->second.peakBytes / kMegabyte,
                      old->second.peakBytes / kMegabyte, memory, memory <= kAim ? "met" : "MISSED");
        out << line;
    }
}

namespace {

// Elements nested 20,000 deep, each kind a rule asks about its ancestors or
// subtree for: font sizes and spacing, busy regions, parents in the
// accessibility tree, widgets named apart from their visible text. A rule
// that climbs or walks per element costs the square of the depth here.
const std::string& NestedPage()
{
    static const std::string page = [] {
        constexpr int kDepth = 20000;
        std::string html = "<!DOCTYPE html><html lang=en><head><title>Nested</title></head><body>";
        for (int i = 0; i < kDepth; ++i) {
            switch (i % 5) {
            case 0: html += "<div style='font-size: 1.1em; line-height: 1.2 !important'>two words"; break;
            case 1: html += "<div aria-busy=false><span role=listitem>item</span>"; break;
            case 2: html += "<div role=button tabindex=0 aria-label='press'>word "; break;
            case 3: html += "<div style='letter-spacing: 0.1em !important'>some words here"; break;
            default: html += "<div><span role=option>o</span>"; break;
            }
        }
        for (int i = 0; i < kDepth; ++i)
            html += "</div>";
        return html + "</body></html>";
    }();
    return page;
}

} // namespace

void RegisterRulesBenchmarks()
{
    auto generated = [] { return std::vector<const std::string*>{&GeneratedPage()}; };
    auto corpus = [] {
        std::vector<const std::string*> pages;
        for (const std::string& page : CorpusPages())
            pages.push_back(&page);
        return pages;
    };
    benchmark::RegisterBenchmark("Wcag10AAA/Generated/25MB", [=](benchmark::State& s) { Measure(s, "Wcag10AAA/Generated/25MB", generated(), RunWcag10); })
        ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
    benchmark::RegisterBenchmark("Wcag22AA/Generated/25MB", [=](benchmark::State& s) { Measure(s, "Wcag22AA/Generated/25MB", generated(), RunWcag22); })
        ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
    benchmark::RegisterBenchmark("Wcag10AAA/Corpus", [=](benchmark::State& s) { Measure(s, "Wcag10AAA/Corpus", corpus(), RunWcag10); })
        ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
    benchmark::RegisterBenchmark("Wcag22AA/Corpus", [=](benchmark::State& s) { Measure(s, "Wcag22AA/Corpus", corpus(), RunWcag22); })
        ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
    auto nested = [] { return std::vector<const std::string*>{&NestedPage()}; };
    benchmark::RegisterBenchmark("Wcag22AA/Nested/20000", [=](benchmark::State& s) { Measure(s, "Wcag22AA/Nested/20000", nested(), RunWcag22); })
        ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
}

} // namespace orvane::bench
