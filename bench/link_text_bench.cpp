// The link text page opened on a page of many links, in real Qt windows drawn
// offscreen: listing and classifying the links must grow with their number,
// not with its square (each text is compared with the texts of every other
// link), or a site's long index page keeps its user waiting.
#include "bench_support.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/check_pass.h"
#include "library/checks/family_factory.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/ui/validator_sheet.h"
#include "platform/bundle_strings.h"
#include "platform/qt/qt_window_system.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

#include <sstream>
#include <string>

namespace orvane::bench {
namespace {

// An index of count links: mostly texts of their own, every tenth a
// "Details" to a page of its own and every twenty-fifth a "more".
std::string LinksPage(int count)
{
    std::string page = "<html lang=\"en\"><head><title>Index</title></head><body>\n<h1>Index</h1>\n<ul>\n";
    for (int i = 0; i < count; ++i) {
        const std::string number = std::to_string(i);
        std::string text = "Crossing " + number + " of the summer timetable";
        if (i % 10 == 0)
            text = "Details";
        else if (i % 25 == 0)
            text = "more";
        page += "<li><a href=\"crossing-" + number + ".html\">" + text + "</a></li>\n";
    }
    return page + "</ul>\n</body></html>\n";
}

void OpenLinkTextPage(benchmark::State& state)
{
    Application();
    platform::InstallBundleStrings("OrvaneResources.rcc");
    COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
    COrvaneSettings settings;
    // The link text check counts from level AA.
    settings.SetConformanceLevel(2);
    CHtmlDocument document(CFamilyElementFactory::Instance());
    document.Start(1, false);
    std::istringstream in(LinksPage(static_cast<int>(state.range(0))));
    document.Load(in);
    const std::vector<CFoundProblem> found = RunCheckPass(document, settings, nullptr);
    platform::qt::CQtWindowSystem windows;
    platform::SetWindows(&windows);
    // The wizard closes as soon as its page, listed and classified, is on the screen.
    int rows = 0;
    windows.SetShowHook([&rows](QWidget& widget, platform::IWindow& window) {
        if (window.PageCount() > 0)
            rows = window.Page(window.CurrentPage()).ItemCount(1157);
        if (auto* dialog = qobject_cast<QDialog*>(&widget))
            dialog->reject();
    });
    for (auto _ : state) {
        CValidatorSheet sheet;
        sheet.SetSettings(&settings);
        sheet.SetDocumentPath("/site/index.html");
        for (const CFoundProblem& problem : found) {
            if (problem.element->GetCheckName(problem.bit) == "TextLinks")
                problem.element->AddRepairPages(sheet, document, problem.bit);
        }
        sheet.DoModal(nullptr);
    }
    platform::SetWindows(nullptr);
    state.counters["rows"] = rows;
    state.SetComplexityN(state.range(0));
}

} // namespace

void RegisterLinkTextBenchmarks()
{
    benchmark::RegisterBenchmark("LinkTextPage/OpenOnLinks", OpenLinkTextPage)
        ->Arg(10)
        ->Arg(1000)
        ->Arg(4000)
        ->Unit(benchmark::kMillisecond)
        ->Complexity(benchmark::oN);
}

} // namespace orvane::bench
