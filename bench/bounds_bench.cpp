// Hostile and extreme pages: each is taken in, checked by the whole check pass
// and written back, at full size and at half size, so the summary can tell
// whether the cost grows linearly.
#include "bench_support.h"
#include "hostile_pages.h"
#include "page_generator.h"

#include <array>
#include <functional>
#include <memory>

namespace orvane::bench {
namespace {

constexpr std::size_t kMB = 1024 * 1024;

// A generated page with every line break turned into a blank.
std::string OneLinePage(std::size_t bytes)
{
    std::string page = GeneratePage(bytes, 7);
    for (char& c : page) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return page;
}

// count start tags, none of them closed.
std::string NestedStartTags(std::size_t count)
{
    constexpr std::array<std::string_view, 8> kTags{"<div>", "<span>", "<b>", "<table>",
                                                    "<td>", "<ul>", "<font size=2>", "<section>"};
    std::string page;
    page.reserve(count * 8);
    for (std::size_t i = 0; i < count; ++i)
        page.append(kTags[i % kTags.size()]);
    return page;
}

// One p tag with count attributes, on one line, in every quoting style.
std::string ManyAttributes(std::size_t count)
{
    std::string page = "<html><body><p";
    page.reserve(count * 16);
    for (std::size_t i = 0; i < count; ++i) {
        std::string n = std::to_string(i);
        switch (i % 4) {
        case 0: page += " data" + n + "=\"v" + n + "\""; break;
        case 1: page += " x" + n + "='v" + n + "'"; break;
        case 2: page += " alt=v" + n; break;
        default: page += " flag" + n; break;
        }
    }
    page += ">text</p></body></html>\n";
    return page;
}

struct Bound {
    const char* name;
    std::size_t full;  // the size parameter of the full input; half is half of it
    std::function<std::string(std::size_t)> make;
    std::vector<Intake> intakes;
    // Tag-dense inputs are held to a memory aim per element (or attribute)
    // instead of per byte of the page.
    PeakAim aim = PeakAim::PerPageByte;
    bool countAttributes = false;
};

void Register(const Bound& bound)
{
    for (bool half : {false, true}) {
        std::size_t size = half ? bound.full / 2 : bound.full;
        // Made once, when the first of its benchmarks runs, and kept for the others.
        auto input = std::make_shared<std::string>();
        auto make = bound.make;
        for (Intake intake : bound.intakes) {
            std::string name = std::string("Bound/") + bound.name + "/" + (intake == Intake::File ? "File" : "Text") +
                               (half ? "/half" : "/full");
            double items = bound.countAttributes ? static_cast<double>(size) : 0;
            PeakAim aim = bound.aim;
            benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State& state) {
                if (input->empty())
                    *input = make(size);
                MeasureIntake(state, name, *input, intake, Then::CheckAndWriteBack, items, aim, WarmUp::Yes);
            })->Unit(benchmark::kMillisecond)->UseManualTime();
        }
    }
}

} // namespace

void RegisterBoundBenchmarks()
{
    const std::vector<Intake> both{Intake::File, Intake::Text};
    const std::vector<Intake> file{Intake::File};
    Register({"OneLinePage100MB", 100 * kMB, OneLinePage, both});
    Register({"OneLineProse100MB", 100 * kMB, OneLineProse, both});
    Register({"NestedStartTags1M", 1000000, NestedStartTags, file, PeakAim::PerItem});
    Register({"Attributes100k", 100000, ManyAttributes, file, PeakAim::PerItem, true});
    Register({"UnterminatedComment50MB", 50 * kMB, UnterminatedComment, both});
    Register({"RandomBytes64MB", 64 * kMB, [](std::size_t bytes) { return RandomBytes(bytes); }, both});
}

} // namespace orvane::bench
