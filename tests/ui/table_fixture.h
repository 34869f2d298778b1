#pragma once

#include "ui_fixture.h"

#include "library/checks/check_catalogue.h"
#include "library/checks/element_table.h"
#include "library/registry/object_database.h"
#include "library/tables/table_type_question.h"

#include <span>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orvane::test {

// Whoever is asked gives every table the same type.
class CTablesOfType final : public ITableTypeQuestion {
public:
    explicit CTablesOfType(int type) : m_type(type) {}
    void Ask(std::span<CTableRecord* const> tables) override
    {
        for (CTableRecord* table : tables)
            table->SetType(m_type);
        asked += static_cast<int>(tables.size());
    }
    int asked = 0;

private:
    int m_type;
};

// A repair run over a page with tables, checked at level AAA with the
// registry attached as a session checks it; unknown tables are taken to be
// of the type the test gives.
class TableRunTest : public RepairRunTest {
protected:
    explicit TableRunTest(int tableType = table_type::kData) : question(tableType) {}

    void SetUp() override
    {
        RepairRunTest::SetUp();
        COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
        settings.Load();
        settings.SetConformanceLevel(3);
    }

    void LoadWith(CSrcObjectDatabase& registry, std::string_view page, std::string_view name = "/site/tables.html")
    {
        document.Start(1, false);
        document.SetName(std::string(name));
        std::istringstream in{std::string(page)};
        ASSERT_EQ(document.Load(in), 1);
        document.SetObjectRegistry(&registry);
        registry.UpdateFromDocument(document);
        found = RunCheckPass(document, settings, &registry);
    }

    // How many problems of the check the last check pass found.
    int Reported(std::string_view check) const
    {
        int count = 0;
        for (const CFoundProblem& problem : found)
            count += problem.element->GetCheckName(problem.bit) == check;
        return count;
    }

    // The record of the page's first table.
    CTableRecord& Record()
    {
        for (CElement* e : document.Elements()) {
            if (auto* table = dynamic_cast<CElementTable*>(e))
                return table->TableRecord();
        }
        throw std::logic_error("no table");
    }

    CTestUserStore userStore;
    CTablesOfType question;
    ScopedTableTypeQuestion answering{question};
};

} // namespace orvane::test
