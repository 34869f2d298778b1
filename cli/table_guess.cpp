#include "table_guess.h"

#include "library/checks/element_table.h"
#include "library/html/attribute_table.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "library/tables/table_record.h"
#include "library/tables/table_tags.h"

#include <algorithm>
#include <cctype>

namespace orvane::cli {
namespace {

// A cell with this much text holds running text, not a value.
constexpr std::size_t kLongCellText = 200;
// A grid of fewer rows is as often a layout of two or three boxes.
constexpr int kGridRows = 3;
constexpr int kGridColumns = 2;

constexpr int kBlockquote = 12;
constexpr int kButton = 14;
constexpr int kForm = 30;
constexpr int kParagraph = 64;

// Strongest signs first: what an author wrote to say what the table is, then
// the markup only data tables need, then the shape and the content of the cells.
constexpr TableGuessRule kRules[] = {
    {"presentation-role", "role presentation", table_type::kLayout,
     [](const TableFacts& f) { return f.presentationRole; }},
    {"nested-table", "nested table", table_type::kLayout, [](const TableFacts& f) { return f.nestedTable; }},
    {"header-cells", "header cells", table_type::kData, [](const TableFacts& f) { return f.headerCells; }},
    {"caption", "caption", table_type::kData, [](const TableFacts& f) { return f.caption; }},
    {"summary", "summary", table_type::kData, [](const TableFacts& f) { return f.summary; }},
    {"head-section", "thead or tfoot", table_type::kData, [](const TableFacts& f) { return f.headSection; }},
    {"header-associations", "scope or headers", table_type::kData,
     [](const TableFacts& f) { return f.headerAssociations; }},
    {"single-row-or-column", "one row or one column", table_type::kLayout,
     [](const TableFacts& f) { return f.rows <= 1 || f.columns <= 1; }},
    {"form-controls", "form controls in cells", table_type::kLayout,
     [](const TableFacts& f) { return f.formControls; }},
    {"long-text", "long text blocks in cells", table_type::kLayout, [](const TableFacts& f) { return f.longText; }},
    {"regular-grid", "regular grid", table_type::kData,
     [](const TableFacts& f) { return f.sameCellCount && f.rows >= kGridRows && f.columns >= kGridColumns; }},
    {"no-data-signs", "no sign of a data table", table_type::kLayout, [](const TableFacts&) { return true; }},
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool HasPresentationRole(const CElement& table)
{
    for (const CAttribute* a = table.AttributesAfterName(); a; a = a->Next()) {
        if (!EqualsIgnoringCase(a->Name(), "role"))
            continue;
        const std::string_view role = Trim(a->Value());
        return EqualsIgnoringCase(role, "presentation") || EqualsIgnoringCase(role, "none");
    }
    return false;
}

bool HoldsRunningText(const CTableCell& cell)
{
    std::size_t text = 0;
    for (const CElement* e : cell.Content()) {
        const int k = e->Kind();
        if (k == kParagraph || k == tag::kList || k == kBlockquote || e->IsHeadingStart())
            return true;
        if (k == kind::kText) {
            for (char c : e->Text())
                text += !std::isspace(static_cast<unsigned char>(c));
            if (text >= kLongCellText)
                return true;
        }
    }
    return false;
}

} // namespace

std::optional<TableMode> ParseTableMode(std::string_view text)
{
    if (text == "skip")
        return TableMode::kSkip;
    if (text == "data")
        return TableMode::kData;
    if (text == "layout")
        return TableMode::kLayout;
    if (text == "guess")
        return TableMode::kGuess;
    return std::nullopt;
}

std::span<const TableGuessRule> TableGuessRules() { return kRules; }

const TableGuessRule* FindTableGuessRule(std::string_view id)
{
    for (const TableGuessRule& rule : kRules) {
        if (rule.id == id)
            return &rule;
    }
    return nullptr;
}

TableFacts ReadTableFacts(const CHtmlDocument& document, const CTableRecord& table)
{
    TableFacts facts;
    const CElement& start = *table.TableElement();
    facts.presentationRole = HasPresentationRole(start);
    facts.caption = !Trim(table.CaptionText()).empty();
    facts.summary = !Trim(table.SummaryValue()).empty();
    facts.rows = table.RowCount();
    facts.columns = table.ColumnCount();

    // The table's own elements, nested tables jumped over as the record does.
    const std::vector<CElement*>& elements = document.Elements();
    for (std::size_t i = document.IndexOf(start) + 1; i < elements.size();) {
        const CElement& e = *elements[i++];
        if (e.IsDeleted())
            continue;
        const int k = e.Kind();
        if (k == tag::kTable) {
            facts.nestedTable = true;
            const CElement* nestedEnd = e.Partner();
            if (!nestedEnd || document.IndexOf(*nestedEnd) < i)
                break;
            i = document.IndexOf(*nestedEnd) + 1;
            continue;
        }
        if (k == tag::kTable + kind::kEndOffset)
            break;
        facts.headSection |= k == table_tag::kThead || k == table_tag::kTfoot;
        facts.formControls |= k == kForm || k == tag::kInput || k == tag::kSelect || k == tag::kTextarea ||
                              k == kButton;
    }

    facts.sameCellCount = true;
    int cellsPerRow = -1;
    for (const CTableRow* row : table.Rows()) {
        if (row->IsExcluded())
            continue;
        int cells = 0;
        for (const CTableCell* cell : row->Cells()) {
            if (cell->IsIgnored())
                continue;
            ++cells;
            facts.headerCells |= cell->Type() == cell_type::kTh && cell->HasText();
            facts.headerAssociations |= cell->HasHeaderAssociation();
            if (cell->StartElement().FindAttribute(attr::kColspan) ||
                cell->StartElement().FindAttribute(attr::kRowspan))
                facts.sameCellCount = false;
            if (!facts.longText && HoldsRunningText(*cell))
                facts.longText = true;
        }
        if (cellsPerRow >= 0 && cells != cellsPerRow)
            facts.sameCellCount = false;
        cellsPerRow = cells;
    }
    return facts;
}

const TableGuessRule& GuessTableType(const TableFacts& facts)
{
    for (const TableGuessRule& rule : kRules) {
        if (rule.applies(facts))
            return rule;
    }
    return kRules[std::size(kRules) - 1];
}

std::vector<AssumedTable> AssumeTableTypes(CHtmlDocument& document, CSrcObjectDatabase* registry, TableMode mode)
{
    std::vector<AssumedTable> assumed;
    if (mode == TableMode::kSkip)
        return assumed;
    document.SetObjectRegistry(registry);
    for (CElement* e : document.Elements()) {
        // The kind first: a cast of every element of a large page costs more than its check.
        if (e->Kind() != tag::kTable || e->IsDeleted())
            continue;
        auto* element = dynamic_cast<CElementTable*>(e);
        if (!element)
            continue;
        CTableRecord& table = element->TableRecord();
        table.Build(document, *element);
        if (table.Type() != table_type::kUnknown)
            continue;
        AssumedTable entry;
        if (mode == TableMode::kGuess) {
            const TableGuessRule& rule = GuessTableType(ReadTableFacts(document, table));
            entry.type = rule.type;
            entry.rule = rule.id;
        } else {
            entry.type = mode == TableMode::kData ? table_type::kData : table_type::kLayout;
            entry.rule = kOptionRule;
        }
        table.AssumeType(entry.type);
        const SourceLocation at = document.LocationOf(*element);
        entry.line = at.line;
        entry.column = at.column;
        assumed.push_back(std::move(entry));
    }
    return assumed;
}

} // namespace orvane::cli
