// Taking pages in: generated pages of 1, 10 and 50 MB and the largest page of
// the shared corpus, as a file (pieces of at most 499 characters) and as one
// text; and dropping a page taken in.
#include "bench_support.h"
#include "page_generator.h"

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

namespace orvane::bench {
namespace {

const std::string& GeneratedPage(std::size_t megabytes)
{
    static std::map<std::size_t, std::string> pages;
    auto it = pages.find(megabytes);
    if (it == pages.end())
        it = pages.emplace(megabytes, GeneratePage(megabytes * 1024 * 1024, 20240601)).first;
    return it->second;
}

// The largest page of the corpus beside the project, or an empty path.
std::filesystem::path LargestCorpusPage()
{
    std::error_code error;
    std::filesystem::path folder(ORVANE_CORPUS_DIR);
    if (!std::filesystem::is_directory(folder, error))
        return {};
    std::filesystem::path largest;
    std::uintmax_t largestSize = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (!entry.is_regular_file(error))
            continue;
        std::uintmax_t size = entry.file_size(error);
        if (!error && size > largestSize) {
            largest = entry.path();
            largestSize = size;
        }
    }
    return largest;
}

std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Drops a page taken in from a file, timing only the drop: a page is thrown
// away as a whole, so this is to cost a small part of taking it in.
void MeasureDrop(benchmark::State& state, std::string_view page)
{
    for (auto _ : state) {
        auto document = std::make_unique<CHtmlDocument>(CFamilyElementFactory::Instance());
        benchmark::DoNotOptimize(TakeIn(*document, page, Intake::File));
        const std::clock_t begin = std::clock();
        document.reset();
        state.SetIterationTime(static_cast<double>(std::clock() - begin) / CLOCKS_PER_SEC);
    }
}

} // namespace

void RegisterIntakeBenchmarks()
{
    benchmark::RegisterBenchmark("Intake/Drop/Generated/10MB", [](benchmark::State& state) {
        MeasureDrop(state, GeneratedPage(10));
    })->Unit(benchmark::kMillisecond)->UseManualTime();

    for (Intake intake : {Intake::File, Intake::Text}) {
        const std::string how = intake == Intake::File ? "File" : "Text";
        for (std::size_t megabytes : {1, 10, 50}) {
            std::string name = "Intake/" + how + "/Generated/" + std::to_string(megabytes) + "MB";
            benchmark::RegisterBenchmark(name.c_str(), [name, megabytes, intake](benchmark::State& state) {
                MeasureIntake(state, name, GeneratedPage(megabytes), intake, Then::Nothing);
            })->Unit(benchmark::kMillisecond)->UseManualTime();
        }
    }

    std::filesystem::path largest = LargestCorpusPage();
    if (largest.empty()) {
        std::cerr << "orvane_bench: no corpus beside the project (" << ORVANE_CORPUS_DIR
                  << "); the corpus page is left out\n";
        return;
    }
    auto page = std::make_shared<std::string>(ReadBytes(largest));
    for (Intake intake : {Intake::File, Intake::Text}) {
        std::string name = std::string("Intake/") + (intake == Intake::File ? "File" : "Text") + "/Corpus/" +
                           largest.filename().string();
        benchmark::RegisterBenchmark(name.c_str(), [name, page, intake](benchmark::State& state) {
            MeasureIntake(state, name, *page, intake, Then::Nothing);
        })->Unit(benchmark::kMillisecond)->UseManualTime();
    }
}

} // namespace orvane::bench
