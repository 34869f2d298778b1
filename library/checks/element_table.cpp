#include "element_table.h"

#include "absolute_units.h"
#include "check_index.h"
#include "check_run.h"
#include "kind_positions.h"
#include "repair_pages.h"

#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "library/tables/table_type_question.h"

#include <vector>

namespace orvane {

namespace {

constexpr CheckInfo kTableChecks[] = {
    {.bit = 0x1, .name = "TableSummary", .titleId = 190, .priority = 3, .repairPage = "CPageTableSummary",
     .helpTopic = "5-5-1.html"},
    {.bit = 0x2, .name = "TableHeaders", .titleId = 177, .priority = 1, .section508 = true,
     .repairPage = "CPageTableHeader", .helpTopic = "5-1-2.html"},
    {.bit = 0x4, .name = "TableAbbreviations", .titleId = 178, .priority = 3,
     .repairPage = "CPageTableHeaderAbbrev", .helpTopic = "5-6-1.html"},
    {.bit = 0x8, .name = "TableMultipleTH", .titleId = 290, .priority = 1, .section508 = true,
     .repairPage = "CPageTableMultilevel", .helpTopic = "5-2-1.html"},
    {.bit = 0x10, .name = "TableLinearize", .titleId = 291, .priority = 2,
     .repairPage = "CPageTableLinearize", .helpTopic = "5-3-1.html"},
    {.bit = 0x20, .name = "TableStructMarkup", .titleId = 294, .priority = 2, .section508 = true,
     .repairPage = "CPageTableStructualMarkup", .helpTopic = "5-4-1.html"},
    {.bit = 0x40, .titleId = 187, .priority = -1, .inMask = false, .reported = false},
    {.bit = 0x80, .name = "TableCaption", .titleId = 191, .priority = 2, .repairPage = "CPageTableCaption",
     .helpTopic = "5-5-2.html"},
    {.bit = 0x10000000, .name = "TableAbsoluteUnits", .titleId = 428, .titleSuffix = " - TABLE",
     .priority = 2, .repairPage = "CPageUnitsTable", .helpTopic = "UnitsTableHelp.html"},
};

} // namespace

std::span<const CheckInfo> CElementTable::CheckTable() const { return kTableChecks; }

namespace {

constexpr std::uint32_t kSummaryBit = 0x1;
constexpr std::uint32_t kHeadersBit = 0x2;
constexpr std::uint32_t kAbbreviationsBit = 0x4;
constexpr std::uint32_t kMultipleHeadersBit = 0x8;
constexpr std::uint32_t kLinearizeBit = 0x10;
constexpr std::uint32_t kStructuralMarkupBit = 0x20;
constexpr std::uint32_t kCaptionBit = 0x80;
constexpr std::uint32_t kAbsoluteUnitsBit = 0x10000000;

// From this many rows or columns on, a data table needs its cells tied to their headers.
constexpr int kLargeTableExtent = 4;

std::uint32_t LayoutTableChecks(const CCheckRun& run, const CElement& table, const CTableRecord& record)
{
    std::uint32_t mask = 0;
    if (run.Runs(table, kLinearizeBit) && record.RowCount() > 0 && !record.LinearizationConfirmed())
        mask |= kLinearizeBit;
    if (run.Runs(table, kStructuralMarkupBit) && record.HasStructuralMarkup())
        mask |= kStructuralMarkupBit;
    return mask;
}

std::uint32_t DataTableChecks(const CCheckRun& run, const CElement& table, const CTableRecord& record)
{
    std::uint32_t mask = 0;
    const int rows = record.RowCount();
    if (run.Runs(table, kHeadersBit) && rows > 0 && (!record.HasRowHeaders() || !record.HasColumnHeaders()))
        mask |= kHeadersBit;
    if (run.Runs(table, kMultipleHeadersBit) &&
        (rows >= kLargeTableExtent || record.ColumnCount() >= kLargeTableExtent) && !record.HasHeaderAssociations())
        mask |= kMultipleHeadersBit;
    if (run.Runs(table, kAbbreviationsBit) && rows > 0 && !record.HeaderCellsHaveAbbreviations())
        mask |= kAbbreviationsBit;
    if (run.Runs(table, kCaptionBit) && TrimLeft(record.CaptionText()).empty())
        mask |= kCaptionBit;
    return mask;
}

} // namespace

int CElementTable::Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel)
{
    CCheckRun run{settings, document, applyLevel};
    if (!m_tableRecord.Build(document, *this))
        return 0;

    std::uint32_t mask = 0;
    if (run.Runs(*this, kSummaryBit) && m_tableRecord.SummaryValue().empty())
        mask |= kSummaryBit;
    // Sizes in pixels keep the table from following the reader's window and text size.
    if (run.Runs(*this, kAbsoluteUnitsBit) && !TableAbsoluteSizes(*this, m_tableRecord).empty())
        mask |= kAbsoluteUnitsBit;

    if (m_tableRecord.Type() == table_type::kUnknown) {
        CTableRecord* self[] = {&m_tableRecord};
        TableTypeQuestion().Ask(self);
    }
    if (m_tableRecord.Type() == table_type::kLayout)
        mask |= LayoutTableChecks(run, *this, m_tableRecord);
    else if (m_tableRecord.Type() == table_type::kData)
        mask |= DataTableChecks(run, *this, m_tableRecord);
    return StoreProblems(*this, mask);
}

int PrepareTables(CHtmlDocument& document)
{
    std::vector<CTableRecord*> unknown;
    const auto kinds = PageIndex<CKindPositions>(document);
    for (std::uint32_t position : kinds->Of(tag::kTable)) {
        CElement* element = document.At(position);
        if (element->IsDeleted())
            continue;
        auto* table = dynamic_cast<CElementTable*>(element);
        if (!table)
            continue;
        CTableRecord& record = table->TableRecord();
        record.Build(document, *table);
        if (record.Type() == table_type::kUnknown)
            unknown.push_back(&record);
    }
    if (!unknown.empty())
        TableTypeQuestion().Ask(unknown);
    return static_cast<int>(unknown.size());
}

bool CElementTable::PrepareRepairPage(RepairPageRequest& request)
{
    request.lineEnd = PageLineEnd(request.document);
    return true;
}

bool CElementTable::UsesColour() const
{
    for (int id : {attr::kBgcolor, attr::kBordercolor}) {
        const CAttribute* colour = FindAttribute(id);
        if (colour && !colour->IsEmpty())
            return true;
    }
    return CCatalogueElement::UsesColour();
}

} // namespace orvane
