#pragma once

#include "allocation_counter.h"

#include "library/checks/family_factory.h"
#include "library/html/html_document.h"

#include <benchmark/benchmark.h>

#include <cstddef>
#include <istream>
#include <map>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

class QApplication;

namespace orvane::bench {

// Reads bytes in place, so the stream a benchmark hands to Load costs no copy.
class CMemoryBuffer : public std::streambuf {
public:
    explicit CMemoryBuffer(std::string_view bytes)
    {
        char* begin = const_cast<char*>(bytes.data());
        setg(begin, begin, begin + bytes.size());
    }
};

class CMemoryStream : public std::istream {
public:
    explicit CMemoryStream(std::string_view bytes) : std::istream(nullptr), m_buffer(bytes) { rdbuf(&m_buffer); }

private:
    CMemoryBuffer m_buffer;
};

// Swallows what is written and counts it.
class CCountingBuffer : public std::streambuf {
public:
    std::size_t Count() const { return m_count; }

protected:
    int_type overflow(int_type c) override
    {
        if (!traits_type::eq_int_type(c, traits_type::eof()))
            ++m_count;
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char*, std::streamsize n) override
    {
        m_count += static_cast<std::size_t>(n);
        return n;
    }

private:
    std::size_t m_count = 0;
};

// How the page gets into the document.
enum class Intake { File, Text };

// Takes the page in, as a file or as one text, and finishes it.
inline int TakeIn(CHtmlDocument& document, std::string_view page, Intake intake)
{
    if (intake == Intake::File) {
        CMemoryStream in(page);
        return document.Load(in);
    }
    document.Start(0, false);
    int added = document.AddLine(page);
    return document.Finish() && added;
}

// What a benchmark does with the page once it is in; all of it is timed and
// counted in the peak.
enum class Then {
    Nothing,
    WriteBack,
    // The whole check pass, as the overview runs it, and then the write back.
    CheckAndWriteBack,
};

// What the peak memory of a benchmark is held against: the page size, for
// pages mostly of text, or the elements or attributes, for pages of markup
// so dense that each one costs more than the bytes it is written in.
enum class PeakAim { PerPageByte, PerItem };
constexpr double kPeakPerPageByte = 10;
constexpr double kPeakPerItem = 1024;

// Whether one untimed run of the work comes before the timed iterations. The
// first work of a program maps fresh memory, which later work finds mapped
// already; inputs compared with each other by size (a full input and its
// half) are warmed up alike, so that only their size tells them apart.
enum class WarmUp { No, Yes };

// What each benchmark measured, for the summary against the aims printed
// after the run: seconds per iteration and peak bytes above the start level.
struct Measurement {
    std::vector<double> samples;  // seconds of every iteration run
    double seconds = 0;           // their mean
    double peakBytes = 0;
    double inputBytes = 0;
    double items = 0;  // elements, or attributes, the input consists of
    PeakAim aim = PeakAim::PerPageByte;
};
std::map<std::string, Measurement>& Measurements();

void PrintSummary(std::ostream& out);
// The WCAG 2.2 rule set's runs beside the WCAG 1.0 ones, with their ratios.
void PrintRulesSummary(std::ostream& out);

// The body of every benchmark here: takes the page in (and, when asked, checks
// it and writes it back) once per iteration, timing exactly that, and records
// the time, the peak memory and the element count under the benchmark's name.
// items: what the per-item memory figure divides by; 0 uses the element count.
void MeasureIntake(benchmark::State& state, const std::string& name, std::string_view page, Intake intake,
                   Then then, double items = 0, PeakAim aim = PeakAim::PerPageByte,
                   WarmUp warmUp = WarmUp::No);

// Registers the benchmarks of the two sets; the corpus page only when it exists.
void RegisterIntakeBenchmarks();
void RegisterBoundBenchmarks();
void RegisterCheckBenchmarks();
void RegisterReportBenchmarks();
void RegisterImageMapBenchmarks();
void RegisterWizardBenchmarks();
void RegisterLinkTextBenchmarks();
void RegisterSettledBenchmarks();
void RegisterRulesBenchmarks();

// The Qt application of the benchmarks that open windows (offscreen unless told otherwise).
QApplication& Application();

constexpr double kMegabyte = 1024.0 * 1024.0;

} // namespace orvane::bench
