// Settled problems looked up on the 25 MB generated page: a site registry of
// 10,000 judgement records against one that holds nothing. The records are
// the site's other pages' (the page itself judged on its general warnings),
// or, at worst, all the page's own: every problem of a judged check is then
// keyed; with the keys of earlier releases, each is keyed twice. The registry is read and the page checked in every iteration, as
// `orvane check` does for a page of a site; the 5 MB page shows the lookup
// grows with the page.
#include "bench_support.h"
#include "page_generator.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/html/lang_codes.h"
#include "library/registry/object_database.h"
#include "library/ui/judgement_records.h"
#include "library/ui/problem_list.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace orvane::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kRecords = 10000;

enum class Judged { Nothing, OtherPages, ThisPage, ThisPageEarlierKeys };

struct SettledSite {
    std::string page;
    std::string pagePath;
    std::string registryPath;
};

// The page in a site of its own whose registry holds records judged, as
// people judge them: the page's own problems first (each a digest to find),
// then other pages' until there are records enough.
const SettledSite& SiteOf(std::size_t megabytes, Judged judged)
{
    static std::map<std::pair<std::size_t, Judged>, SettledSite> sites;
    if (auto it = sites.find({megabytes, judged}); it != sites.end())
        return it->second;
    SettledSite site;
    site.page = GeneratePage(megabytes * 1024 * 1024, 40);
    const fs::path folder = fs::temp_directory_path() / "orvane-settled-bench" /
                            (std::to_string(megabytes) + "-" + std::to_string(static_cast<int>(judged)));
    fs::create_directories(folder / ".orvane");
    site.pagePath = (folder / "page.html").string();
    site.registryPath = (folder / ".orvane" / "registry.xml").string();
    std::ofstream(site.registryPath) << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n</root>\n";
    if (judged != Judged::Nothing) {
        COrvaneSettings settings;
        settings.SetConformanceLevel(3);
        CHtmlDocument document(CFamilyElementFactory::Instance());
        document.Start(1, false);
        document.SetName(site.pagePath);
        CMemoryStream in(site.page);
        document.Load(in);
        CSrcObjectDatabase registry;
        registry.UseSiteRegistry(site.registryPath);
        registry.Load();
        CProblemList problems;
        problems.Prepare(document, settings, nullptr);
        int records = 0;
        CSrcDocument* entry = registry.DocumentFor(site.pagePath);
        for (const auto& problem : problems.AllEntries()) {
            if (records == kRecords || (judged == Judged::OtherPages && records == 1))
                break;
            if (judged == Judged::OtherPages && problem->IsGrouped())
                continue;
            const std::string check = problem->Element().GetCheckName(problem->Bit());
            const std::string key = judged == Judged::ThisPageEarlierKeys
                                        ? Md5JudgementKeyOf(document, problem->Element(), problem->Bit())
                                        : JudgementKeyOf(document, problem->Element(), problem->Bit());
            if (entry->FindJudgement(check, key))
                continue;
            entry->RecordJudgement({check, key, "judged", "bench", "2026-12-01"});
            ++records;
        }
        for (int other = 0; records < kRecords; ++other, ++records)
            registry.DocumentFor("other/" + std::to_string(other) + ".html")
                ->RecordJudgement({"UsingColor", "page", "warnings considered", "bench", "2026-12-01"});
        CSrcObjectDatabase::SetChanged(true);
        registry.Save();
    }
    return sites.emplace(std::pair{megabytes, judged}, std::move(site)).first->second;
}

// One page of the site checked as `orvane check` does it, with its registry
// read; how many of its problems are settled. Kept out of line so that an
// instruction count can be taken of it alone
// (valgrind --tool=callgrind --toggle-collect='*CheckPageOfSite*').
[[gnu::noinline]] std::size_t CheckPageOfSite(const SettledSite& site, COrvaneSettings& settings)
{
    CSrcObjectDatabase registry;
    registry.UseSiteRegistry(site.registryPath);
    registry.Load();
    CHtmlDocument document(CFamilyElementFactory::Instance());
    document.Start(1, false);
    document.SetName(site.pagePath);
    CMemoryStream in(site.page);
    document.Load(in);
    CProblemList problems;
    problems.Prepare(document, settings, &registry);
    std::size_t settled = 0;
    for (const auto& entry : problems.AllEntries())
        settled += entry->Settlement() ? 1 : 0;
    return settled;
}

void MeasureSettledLookup(benchmark::State& state, std::size_t megabytes, Judged judged)
{
    const SettledSite& site = SiteOf(megabytes, judged);
    COrvaneSettings settings;
    settings.SetConformanceLevel(3);
    CLanguageCodeList::Library().Load();
    std::size_t settled = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        settled = CheckPageOfSite(site, settings);
        std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
    }
    state.counters["settled"] = static_cast<double>(settled);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * site.page.size()));
}

// Only the reading of the registry of 10,000 records: what every page of a
// run pays once, whatever its size.
void MeasureRegistryLoad(benchmark::State& state)
{
    const SettledSite& site = SiteOf(5, Judged::OtherPages);
    for (auto _ : state) {
        CSrcObjectDatabase registry;
        registry.UseSiteRegistry(site.registryPath);
        benchmark::DoNotOptimize(registry.Load());
    }
}

// Under an instruction counter one check of the page tells all:
// ORVANE_SETTLED_ITERATIONS=1 makes the runs that short.
int IterationsFor(std::size_t megabytes)
{
    if (const char* wanted = std::getenv("ORVANE_SETTLED_ITERATIONS"); wanted && std::atoi(wanted) > 0)
        return std::atoi(wanted);
    return megabytes >= 25 ? 3 : 5;
}

} // namespace

void RegisterSettledBenchmarks()
{
    benchmark::RegisterBenchmark("Settled/RegistryLoad10000", MeasureRegistryLoad)->Unit(benchmark::kMillisecond);
    COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
    for (std::size_t megabytes : {5, 25}) {
        for (const auto& variant : {std::pair{Judged::Nothing, "EmptyRegistry"},
                                    std::pair{Judged::OtherPages, "Registry10000OtherPages"},
                                    std::pair{Judged::ThisPage, "Registry10000ThisPage"},
                                    std::pair{Judged::ThisPageEarlierKeys, "Registry10000ThisPageEarlierKeys"}}) {
            const Judged judged = variant.first;
            const char* what = variant.second;
            const std::string name = "Settled/" + std::to_string(megabytes) + "MB/" + what;
            benchmark::RegisterBenchmark(name.c_str(), [megabytes, judged](benchmark::State& state) {
                MeasureSettledLookup(state, megabytes, judged);
            })->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(IterationsFor(megabytes));
        }
    }
}

} // namespace orvane::bench
