#pragma once

#include "library/tables/table_record.h"
#include "library/tables/table_type_question.h"

#include <span>

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

} // namespace orvane::test
