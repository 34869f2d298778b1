#pragma once

#include "check_info.h"

#include "library/tables/table_record.h"

namespace orvane {

// The element family of a table. Each table owns the record of its rows and
// cells, which its checks and the table pages read.
class CElementTable : public CCatalogueElement {
public:
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;
    // A table with a background or border colour of its own.
    bool UsesColour() const override;
    std::span<const CheckInfo> CheckTable() const override;
    // Pages that write markup into the table write it with the page's line ends.
    bool PrepareRepairPage(RepairPageRequest& request) override;

    CTableRecord& TableRecord() { return m_tableRecord; }
    const CTableRecord& TableRecord() const { return m_tableRecord; }

private:
    CTableRecord m_tableRecord;
};

// The table pass before a page is checked: reads the record of every table
// not deleted and asks the table-type question once for all tables whose type
// is still unknown. Returns how many were asked about.
int PrepareTables(CHtmlDocument& document);

} // namespace orvane
