#pragma once

#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/tables/table_record.h"
#include "tests/html/page_fixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace orvane::test {

// A parsed page with a record built for each of its tables, in page order.
class CTablePage {
public:
    explicit CTablePage(std::string_view text, CSrcObjectDatabase* registry = nullptr, std::string name = "page.html")
    {
        page.document.SetName(std::move(name));
        page.FromText(text);
        page.document.SetObjectRegistry(registry);
        for (CElement* e : page.document.Elements()) {
            if (e->Kind() == tag::kTable) {
                records.push_back(std::make_unique<CTableRecord>());
                EXPECT_EQ(records.back()->Build(page.document, *e), 1);
            }
        }
    }

    CTableRecord& Table(std::size_t i = 0) { return *records.at(i); }
    const CTableCell& Cell(std::size_t row, std::size_t cell, std::size_t table = 0)
    {
        return *Table(table).Rows().at(row)->Cells().at(cell);
    }
    std::string Written() const { return page.Written(); }

    CParsedPage page;
    std::vector<std::unique_ptr<CTableRecord>> records;
};

} // namespace orvane::test
