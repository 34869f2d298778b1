// A large data table laid out for the table header page's grid: the model
// that places each cell (spans included) and the grid widget that shows it,
// offscreen. A timetable of 200 rows and 30 columns must come up without a
// pause the user notices.
#include "bench_support.h"

#include "library/checks/family_factory.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/tables/table_record.h"
#include "library/ui/pages/tables/table_grid.h"
#include "platform/qt/widgets/table_grid_view.h"

#include <sstream>
#include <string>

namespace orvane::bench {
namespace {

// A timetable: a header row, a harbour's name and the times of every row;
// every tenth row spans two columns once.
std::string TimetablePage(int rows, int columns)
{
    std::string page = "<html lang=\"en\"><head><title>Timetable</title></head><body>\n<table>\n<tr>";
    for (int c = 0; c < columns; ++c)
        page += "<td><b>Crossing " + std::to_string(c) + "</b></td>";
    page += "</tr>\n";
    for (int r = 1; r < rows; ++r) {
        page += "<tr><td>Harbour " + std::to_string(r) + "</td>";
        for (int c = 1; c < columns; ++c) {
            if (r % 10 == 0 && c == 1) {
                page += "<td colspan=\"2\">no sailing</td>";
                ++c;
                continue;
            }
            page += "<td>" + std::to_string(6 + (r + c) % 16) + ":" + std::to_string(10 + c % 50) + "</td>";
        }
        page += "</tr>\n";
    }
    return page + "</table>\n</body></html>\n";
}

struct Table {
    CHtmlDocument document{CFamilyElementFactory::Instance()};
    CTableRecord record;

    Table(int rows, int columns)
    {
        document.Start(1, false);
        std::istringstream in(TimetablePage(rows, columns));
        document.Load(in);
        for (CElement* e : document.Elements()) {
            if (e->Kind() == tag::kTable) {
                record.Build(document, *e);
                break;
            }
        }
    }
};

void LayOutGridModel(benchmark::State& state)
{
    Table table(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    std::vector<bool> headers;
    for (auto _ : state) {
        CTableGrid grid;
        grid.Build(table.record);
        headers.assign(grid.Cells().size(), false);
        platform::GridContent content = grid.Content(headers, "Row %1, column %2", "header");
        benchmark::DoNotOptimize(content.cells.data());
    }
}
BENCHMARK(LayOutGridModel)->Args({200, 30})->Unit(benchmark::kMillisecond);

void ShowGridWidget(benchmark::State& state)
{
    Application();
    Table table(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    CTableGrid grid;
    grid.Build(table.record);
    std::vector<bool> headers(grid.Cells().size(), false);
    const platform::GridContent content = grid.Content(headers, "Row %1, column %2", "header");
    platform::qt::CTableGridView view;
    view.resize(800, 400);
    view.show();
    for (auto _ : state) {
        CTableGrid fresh;
        fresh.Build(table.record);
        view.SetContent(fresh.Content(headers, "Row %1, column %2", "header"));
        view.SetHeader(0, true);
        benchmark::DoNotOptimize(view.grab());
    }
}
BENCHMARK(ShowGridWidget)->Args({200, 30})->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orvane::bench
