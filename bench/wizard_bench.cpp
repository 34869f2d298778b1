// The repair wizard opened on a page with many problems chosen, in real Qt
// windows drawn offscreen: what opening costs, and the memory it holds, must
// follow the pages the user is shown, not the problems chosen.
#include "bench_support.h"

#include "allocation_counter.h"

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

// One application for every benchmark that opens windows, drawn offscreen.
QApplication& Application()
{
    static int argc = 1;
    static char name[] = "orvane_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(argc, argv);
    return application;
}

namespace {

// A form of count text fields without a default text: one repair page each.
std::string FormPage(int count)
{
    std::string page = "<html lang=\"en\"><head><title>Order</title></head><body><form action=\"/o\">\n";
    for (int i = 0; i < count; ++i)
        page += "<p><label for=\"f" + std::to_string(i) + "\">Field</label> <input type=\"text\" id=\"f" +
                std::to_string(i) + "\" name=\"f" + std::to_string(i) + "\"></p>\n";
    return page + "</form></body></html>\n";
}


void OpenWizard(benchmark::State& state)
{
    Application();
    platform::InstallBundleStrings("OrvaneResources.rcc");
    COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
    COrvaneSettings settings;
    CHtmlDocument document(CFamilyElementFactory::Instance());
    document.Start(1, false);
    std::istringstream in(FormPage(static_cast<int>(state.range(0))));
    document.Load(in);
    const std::vector<CFoundProblem> found = RunCheckPass(document, settings, nullptr);
    platform::qt::CQtWindowSystem windows;
    platform::SetWindows(&windows);
    // The wizard closes as soon as its first page is on the screen.
    windows.SetShowHook([](QWidget& widget, platform::IWindow&) {
        if (auto* dialog = qobject_cast<QDialog*>(&widget))
            dialog->reject();
    });
    int pages = 0;
    std::size_t peak = 0;
    for (auto _ : state) {
        CPeakScope scope;
        CValidatorSheet sheet;
        sheet.SetSettings(&settings);
        sheet.SetDocumentPath("/site/order.html");
        for (const CFoundProblem& problem : found) {
            if (problem.element->GetCheckName(problem.bit) == "InputMissingDefault")
                problem.element->AddRepairPages(sheet, document, problem.bit);
        }
        pages = sheet.PageCount();
        sheet.DoModal(nullptr);
        peak = std::max(peak, scope.Extra());
    }
    platform::SetWindows(nullptr);
    state.counters["pages"] = pages;
    state.counters["peak_bytes_per_page"] = pages > 0 ? static_cast<double>(peak) / pages : 0;
}

} // namespace

void RegisterWizardBenchmarks()
{
    for (int count : {2000, 20000})
        benchmark::RegisterBenchmark("Wizard/OpenOnChosenProblems", OpenWizard)->Arg(count)->Unit(benchmark::kMillisecond);
}

} // namespace orvane::bench
