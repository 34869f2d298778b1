#pragma once

#include "library/ui/pages/tables/page_table_base.h"

namespace orvane {

// Gives a table its summary attribute, which the record writes into the
// table's start tag (made, hidden, when the table has none).
class CPageTableSummary final : public CPageTableBase {
public:
    static constexpr int kTemplate = 199;
    static constexpr int kText = 1010;
    static constexpr int kPreview = 1020;

    explicit CPageTableSummary(CTableRecord& table);
    std::string_view ClassName() const override { return "CPageTableSummary"; }

    void Undo() override;
    bool Apply() override;

protected:
    void Initialise() override;
};

} // namespace orvane
