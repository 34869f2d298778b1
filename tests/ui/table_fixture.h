#pragma once

#include "ui_fixture.h"

#include "library/checks/element_table.h"
#include "library/tables/table_type_question.h"
#include "tests/support/tables_of_type.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace orvane::test {

// A repair run over a page with tables, checked at level AAA with the
// registry attached as a session checks it; unknown tables are taken to be
// of the type the test gives.
class TableRunTest : public RepairRunTest {
protected:
    explicit TableRunTest(int tableType = table_type::kData, std::string pageName = "/site/tables.html")
        : question(tableType), m_pageName(std::move(pageName))
    {
    }

    void SetUp() override
    {
        RepairRunTest::SetUp();
        CheckAtLevel(3);
    }

    // The page, under the fixture's name for it, checked with the tables' registry.
    void LoadWith(CSrcObjectDatabase& tables, std::string_view page) { LoadWith(tables, page, m_pageName); }

    void LoadWith(CSrcObjectDatabase& tables, std::string_view page, std::string_view name)
    {
        LoadAs(document, std::string(name), page);
        if (HasFatalFailure())
            return;
        document.SetObjectRegistry(&tables);
        tables.UpdateFromDocument(document);
        found = RunCheckPass(document, settings, &tables);
    }

    // The page checked with the session's registry, and a sheet that
    // remembers in it started with the pages of the check's problems; the
    // number of pages.
    int OpenSheetWith(CSrcObjectDatabase& tables, std::string_view page, std::string_view check)
    {
        LoadWith(tables, page);
        return StartSheetWith(tables, check);
    }

    // A sheet that remembers in the session's registry, started with the
    // pages of the check's problems; the number of pages.
    int StartSheetWith(CSrcObjectDatabase& tables, std::string_view check)
    {
        StartSheet();
        sheet.SetObjectRegistry(&tables);
        return AddPages(check);
    }

    // The page as the next session meets it, with the registry the last one saved.
    void LoadInNextSession(CSrcObjectDatabase& next, std::string_view page)
    {
        ASSERT_EQ(next.Load(), 1);
        found.clear();
        LoadWith(next, page);
    }

    // The page's first table, and its record.
    CElementTable& TableElement()
    {
        for (CElement* e : document.Elements()) {
            if (auto* table = dynamic_cast<CElementTable*>(e))
                return *table;
        }
        throw std::logic_error("no table");
    }
    CTableRecord& Record() { return TableElement().TableRecord(); }

    CTablesOfType question;
    ScopedTableTypeQuestion answering{question};

private:
    std::string m_pageName;
};

} // namespace orvane::test
