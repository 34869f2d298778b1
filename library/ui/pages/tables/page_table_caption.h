#pragma once

#include "library/ui/pages/tables/page_table_base.h"

namespace orvane {

// Gives a data table its caption: the text the record writes into the
// table's caption element (made when the table has none).
class CPageTableCaption final : public CPageTableBase {
public:
    static constexpr int kTemplate = 160;
    static constexpr int kText = 1010;
    static constexpr int kPreview = 1020;

    explicit CPageTableCaption(CTableRecord& table);
    std::string_view ClassName() const override { return "CPageTableCaption"; }

    void Undo() override;
    bool Apply() override;

protected:
    void Initialise() override;
};

} // namespace orvane
