// Taking pages in: generated pages of 1, 10 and 50 MB and the largest page of
// the shared corpus, as a file (pieces of at most 499 characters) and as one text.
#include "bench_support.h"
#include "page_generator.h"

#include <filesystem>
#include <fstream>
#include <iostream>
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

} // namespace

void RegisterIntakeBenchmarks()
{
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
