// The check pass: load plus check of generated pages of 1, 10 and 50 MB,
// dense in the markup the checks look at most (images with long
// descriptions, labelled inputs, image maps, tables, ASCII art).
#include "bench_support.h"
#include "page_generator.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/check_pass.h"
#include "library/html/lang_codes.h"

#include <chrono>
#include <map>
#include <sstream>
#include <string>

namespace orvane::bench {
namespace {

// Blocks of the markup the checks spend most on, repeated to the size asked.
std::string DensePage(std::size_t targetBytes)
{
    static std::map<std::size_t, std::string> pages;
    if (auto it = pages.find(targetBytes); it != pages.end())
        return it->second;
    std::string page = "<!DOCTYPE html>\n<html lang=\"en\"><head><title>Dense</title></head>\n<body>\n";
    for (int block = 0; page.size() < targetBytes; ++block) {
        std::string n = std::to_string(block);
        page += "<h2>Section " + n + "</h2>\n<p>Some text of section " + n + " with <a href=\"s" + n +
                ".html\">a link</a>.</p>\n";
        page += "<img src=\"pic" + n + ".gif\" alt=\"Picture " + n + "\" longdesc=\"pic" + n +
                ".html\"><a href=\"pic" + n + ".html\">d</a>\n";
        page += "<map name=\"m" + n + "\"><area href=\"a" + n + ".html\" alt=\"A\"><area href=\"b" + n +
                ".html\" alt=\"B\"></map><img src=\"map" + n + ".png\" usemap=\"#m" + n + "\" alt=\"Map\">\n";
        page += "<a href=\"a" + n + ".html\">A</a> <a href=\"b" + n + ".html\">B</a>\n";
        page += "<form action=\"/f\"><label for=\"q" + n + "\">Search</label> <input type=\"text\" id=\"q" + n +
                "\" name=\"q\" value=\"x\"><select name=\"s\"><option>1</option></select></form>\n";
        page += "<table summary=\"Figures " + n + "\"><caption>Figures</caption><tr><th>Year</th><th>Count</th></tr>"
                "<tr><td>2001</td><td>" + n + "</td></tr></table>\n";
        if (block % 4 == 0) {
            page += "<pre>\n";
            for (int line = 0; line < 8; ++line)
                page += "  +-----+-----+\n";
            page += "</pre>\n";
        }
    }
    page += "</body></html>\n";
    return pages.emplace(targetBytes, page).first->second;
}

void MeasureCheckPass(benchmark::State& state, const std::string& page)
{
    COrvaneSettings settings;
    settings.SetConformanceLevel(3);
    CLanguageCodeList::Library().Load();
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        CHtmlDocument document(CFamilyElementFactory::Instance());
        document.Start(1, false);
        CMemoryStream in(page);
        document.Load(in);
        auto problems = RunCheckPass(document, settings, nullptr);
        benchmark::DoNotOptimize(problems.data());
        std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

} // namespace

void RegisterCheckBenchmarks()
{
    for (std::size_t megabytes : {1, 10, 50}) {
        std::string name = "CheckPass/Dense/" + std::to_string(megabytes) + "MB";
        benchmark::RegisterBenchmark(name.c_str(), [megabytes](benchmark::State& state) {
            MeasureCheckPass(state, DensePage(megabytes * 1024 * 1024));
        })->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(megabytes >= 50 ? 1 : 3);
    }
}

} // namespace orvane::bench
