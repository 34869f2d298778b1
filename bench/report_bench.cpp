// What a batch user waits for: `orvane check --format json` of a generated
// page of 10 and 50 MB, and of a folder of 2,000 small pages, run in the
// process as the command runs it (reading the file, loading, checking,
// writing the report), timed as processor time.
#include "bench_support.h"
#include "page_generator.h"

#include "cli/commands.h"
#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "platform/bundle_strings.h"

#include <ctime>
#include <filesystem>
#include <fstream>

namespace orvane::bench {
namespace {

namespace fs = std::filesystem;

// The pages are files, as the command reads them; removed when the program ends.
class CPageFolder {
public:
    CPageFolder() : m_folder(fs::temp_directory_path() / "orvane-bench-report")
    {
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    ~CPageFolder() { fs::remove_all(m_folder); }
    std::string Write(const std::string& name, const std::string& bytes)
    {
        fs::path path = m_folder / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    fs::path Path(const std::string& name) const { return m_folder / name; }

private:
    fs::path m_folder;
};

CPageFolder& Pages()
{
    static CPageFolder folder;
    return folder;
}

void MeasureReport(benchmark::State& state, const std::string& name, const std::string& path, double bytes)
{
    static const bool installed = [] {
        platform::InstallBundleStrings("OrvaneResources.rcc");
        COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
        return true;
    }();
    (void)installed;
    std::size_t peak = 0;
    std::size_t written = 0;
    std::vector<double> samples;
    for (auto _ : state) {
        CPeakScope scope;
        CCountingBuffer sink;
        std::ostream out(&sink);
        CCountingBuffer errors;
        std::ostream err(&errors);
        const std::clock_t begin = std::clock();
        int status = cli::RunMain({"check", "--no-registry", "--format", "json", "--level", "AAA", path}, out, err);
        const double elapsed = static_cast<double>(std::clock() - begin) / CLOCKS_PER_SEC;
        benchmark::DoNotOptimize(status);
        peak = std::max(peak, scope.Extra());
        written = sink.Count();
        if (errors.Count() != 0)
            state.SkipWithError("the check wrote errors");
        state.SetIterationTime(elapsed);
        samples.push_back(elapsed);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(static_cast<double>(state.iterations()) * bytes));
    state.counters["peak_x_page"] = static_cast<double>(peak) / bytes;
    state.counters["report_MB"] = static_cast<double>(written) / kMegabyte;
    Measurement& m = Measurements()[name];
    m.samples.insert(m.samples.end(), samples.begin(), samples.end());
    double total = 0;
    for (double sample : m.samples)
        total += sample;
    m.seconds = total / static_cast<double>(m.samples.size());
    m.peakBytes = std::max(m.peakBytes, static_cast<double>(peak));
    m.inputBytes = bytes;
    m.aim = PeakAim::PerPageByte;
}

} // namespace

void RegisterReportBenchmarks()
{
    for (std::size_t megabytes : {10, 50}) {
        std::string name = "Report/Json/Generated/" + std::to_string(megabytes) + "MB";
        benchmark::RegisterBenchmark(name.c_str(), [name, megabytes](benchmark::State& state) {
            const std::string file = std::to_string(megabytes) + "MB.html";
            std::string path = Pages().Path(file).string();
            if (!fs::exists(path))
                path = Pages().Write(file, GeneratePage(megabytes * 1024 * 1024, 20240601));
            MeasureReport(state, name, path, static_cast<double>(fs::file_size(path)));
        })->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(megabytes >= 50 ? 2 : 5);
    }
    const std::string folderName = "Report/Json/Folder/2000x20KB";
    benchmark::RegisterBenchmark(folderName.c_str(), [folderName](benchmark::State& state) {
        static double bytes = 0;
        if (bytes == 0) {
            for (std::uint32_t i = 0; i < 2000; ++i) {
                std::string page = GeneratePage(20 * 1024, i + 1);
                bytes += static_cast<double>(page.size());
                Pages().Write("site/page" + std::to_string(10000 + i) + ".html", page);
            }
        }
        MeasureReport(state, folderName, Pages().Path("site").string(), bytes);
    })->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);
}

} // namespace orvane::bench
