// Server-side map files of the largest kinds the converter takes: read,
// built, written and spliced into a page, at full size and at half size, so
// the two can show that the cost grows linearly.
#include "bench_support.h"

#include "library/html/tag_table.h"
#include "library/ui/pages/text_alternatives/image_map_converter.h"
#include "platform/paths.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace orvane::bench {
namespace {

// One polygon of count coordinates, on one line without end.
std::string Polygon(std::size_t count)
{
    std::string file = "poly /p.html ";
    for (std::size_t i = 0; i < count / 2; ++i)
        file += "12,34 ";
    return file;
}

// count rectangles, one a line, in the order of CERN files.
std::string Rectangles(std::size_t count)
{
    std::string file;
    for (std::size_t i = 0; i < count; ++i)
        file += "rect (" + std::to_string(i) + ",0) (" + std::to_string(i + 1) + ",9) /r" + std::to_string(i) + ".html\n";
    return file;
}

void Register(const char* name, std::size_t full, std::string (*make)(std::size_t))
{
    for (bool half : {false, true}) {
        const std::size_t size = half ? full / 2 : full;
        const std::string label = std::string("ImageMap/") + name + (half ? "/half" : "/full");
        benchmark::RegisterBenchmark(label.c_str(), [=](benchmark::State& state) {
            const std::filesystem::path path =
                std::filesystem::path(platform::UserDataDirectory()) / (std::string(name) + ".map");
            std::ofstream(path, std::ios::binary) << make(size);
            for (auto _ : state) {
                CHtmlDocument page(CFamilyElementFactory::Instance());
                std::istringstream in("<p><a href=\"/cgi-bin/imagemap\"><img src=x.gif ismap></a></p>\n");
                page.Load(in);
                ImageMapConverter converter;
                converter.ReadMapFile(path.string());
                converter.BuildAreas();
                converter.SpliceIntoDocument(page, *page.At(3));
                benchmark::DoNotOptimize(page.Text());
            }
            std::filesystem::remove(path);
        })->Unit(benchmark::kMillisecond);
    }
}

} // namespace

void RegisterImageMapBenchmarks()
{
    Register("Coordinates1M", 1000000, Polygon);
    Register("Rectangles10k", ImageMapConverter::kMaxAreas, Rectangles);
}

} // namespace orvane::bench
