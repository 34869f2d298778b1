#include "bench_support.h"

#include <iostream>

int main(int argc, char** argv)
{
    orvane::bench::RegisterIntakeBenchmarks();
    orvane::bench::RegisterBoundBenchmarks();
    orvane::bench::RegisterCheckBenchmarks();
    orvane::bench::RegisterReportBenchmarks();
    orvane::bench::RegisterImageMapBenchmarks();
    orvane::bench::RegisterWizardBenchmarks();
    orvane::bench::RegisterLinkTextBenchmarks();
    orvane::bench::RegisterSettledBenchmarks();
    orvane::bench::RegisterRulesBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    orvane::bench::PrintSummary(std::cout);
    orvane::bench::PrintRulesSummary(std::cout);
    return 0;
}
