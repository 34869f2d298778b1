// The WCAG 2.2 rule set beside the WCAG 1.0 check pass on the same pages:
// the generated 25 MB page and every page of the corpus, load included in
// both. The rule set must stay within 1.5 times the WCAG 1.0 AAA run.
#include "bench_support.h"
#include "page_generator.h"

#include "common/orvane_settings.h"
#include "library/checks/check_pass.h"
#include "library/html/lang_codes.h"
#include "library/rules/rule_findings.h"

#include <algorithm>
#include <chrono>
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

template <class Run>
void Measure(benchmark::State& state, const std::vector<const std::string*>& pages, Run run)
{
    CLanguageCodeList::Library().Load();
    std::size_t bytes = 0;
    for (const std::string* page : pages)
        bytes += page->size();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        std::size_t found = 0;
        for (const std::string* page : pages)
            found += run(*page);
        benchmark::DoNotOptimize(found);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
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
    benchmark::RegisterBenchmark("Wcag10AAA/Generated/25MB", [=](benchmark::State& s) { Measure(s, generated(), RunWcag10); })
        ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
    benchmark::RegisterBenchmark("Wcag22AA/Generated/25MB", [=](benchmark::State& s) { Measure(s, generated(), RunWcag22); })
        ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
    benchmark::RegisterBenchmark("Wcag10AAA/Corpus", [=](benchmark::State& s) { Measure(s, corpus(), RunWcag10); })
        ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
    benchmark::RegisterBenchmark("Wcag22AA/Corpus", [=](benchmark::State& s) { Measure(s, corpus(), RunWcag22); })
        ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
}

} // namespace orvane::bench
