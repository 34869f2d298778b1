#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {
class CHtmlDocument;
class CSrcObjectDatabase;
class CTableRecord;
} // namespace orvane

namespace orvane::cli {

// What a batch run does with the tables nobody has said are layout or data
// tables: leave their type checks out, take them all as one kind, or guess.
enum class TableMode { kSkip, kData, kLayout, kGuess };

// "skip", "data", "layout" or "guess"; nothing for any other text.
std::optional<TableMode> ParseTableMode(std::string_view text);

// What the guess looks at in a table, read in one walk over it.
struct TableFacts {
    bool presentationRole = false;  // role="presentation" or role="none"
    bool nestedTable = false;
    bool caption = false;
    bool summary = false;
    bool headerCells = false;
    bool headSection = false;         // thead or tfoot
    bool headerAssociations = false;  // scope, headers or axis on a cell
    int rows = 0;
    int columns = 0;           // the most cells of a row
    bool sameCellCount = false;  // every row has as many cells, none spans rows or columns
    bool formControls = false;
    bool longText = false;  // a cell with paragraphs, lists, headings or a long text
};

// One sign of what a table is. The rules are data, so the documentation, the
// reports and the measurements over a corpus all name the same rules.
struct TableGuessRule {
    std::string_view id;    // in JSON and SARIF: "header-cells"
    std::string_view name;  // in the text report: "header cells"
    int type;               // table_type::kData or kLayout
    bool (*applies)(const TableFacts&);
};

// The rules in the order they are tried; the first that applies decides, and
// the last applies to every table.
std::span<const TableGuessRule> TableGuessRules();
const TableGuessRule* FindTableGuessRule(std::string_view id);

TableFacts ReadTableFacts(const CHtmlDocument& document, const CTableRecord& table);
const TableGuessRule& GuessTableType(const TableFacts& facts);

// A table a run took as a layout or data table without anyone's decision.
struct AssumedTable {
    std::uint64_t line = 0;
    std::uint64_t column = 0;
    int type = 0;
    // The guess rule's id, or kOptionRule when --tables named the type.
    std::string rule;
};
inline constexpr std::string_view kOptionRule = "tables-option";

// Attaches the registry (none: no decisions), reads the page's tables as the
// check pass does, and gives each one whose type nobody decided the type the mode says. A type
// the registry remembers always stands. The types are taken for this run
// only: the registry is not told. Call before the page's checks run; the
// tables come back in page order.
std::vector<AssumedTable> AssumeTableTypes(CHtmlDocument& document, CSrcObjectDatabase* registry, TableMode mode);

} // namespace orvane::cli
