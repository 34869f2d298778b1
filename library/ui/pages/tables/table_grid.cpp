#include "library/ui/pages/tables/table_grid.h"

#include "library/html/attribute.h"
#include "library/html/element.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "library/tables/table_record.h"

#include <algorithm>
#include <utility>

namespace orvane {

namespace {

// Browsers cap spans too: a colspan of a million would make a million places.
constexpr long long kMaxColumnSpan = 1000;
constexpr std::size_t kShortTextLength = 40;

int SpanOf(const CTableCell& cell, int id, long long limit)
{
    const CAttribute* span = cell.StartElement().FindAttribute(id);
    if (!span || span->IsHidden())
        return 1;
    const long long value = span->NumericValue();
    return static_cast<int>(std::clamp(value, 1LL, limit));
}

void AppendUtf8(std::string& out, unsigned long code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// A place shows what the reader reads: "Fares &amp; fees" as "Fares & fees".
// Entities other than the common ones stay as written.
std::string ReadableText(std::string_view text)
{
    static constexpr std::pair<std::string_view, std::string_view> kNamed[] = {
        {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&nbsp;", " "}};
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        const std::string_view rest = text.substr(i);
        bool done = false;
        for (const auto& [entity, sign] : kNamed) {
            if (rest.starts_with(entity)) {
                out += sign;
                i += entity.size() - 1;
                done = true;
                break;
            }
        }
        if (done)
            continue;
        if (rest.starts_with("&#")) {
            const bool hex = rest.size() > 2 && (rest[2] == 'x' || rest[2] == 'X');
            std::size_t at = hex ? 3 : 2;
            unsigned long code = 0;
            const std::size_t digitsStart = at;
            while (at < rest.size() && at - digitsStart < 7 &&
                   (hex ? IsHexDigit(rest[at]) : (rest[at] >= '0' && rest[at] <= '9'))) {
                const char c = rest[at];
                const unsigned long digit = (c >= '0' && c <= '9') ? static_cast<unsigned long>(c - '0')
                                                                     : static_cast<unsigned long>(AsciiLower(c) - 'a' + 10);
                code = code * (hex ? 16 : 10) + digit;
                ++at;
            }
            if (at > digitsStart && at < rest.size() && rest[at] == ';' && code > 0 && code <= 0x10FFFF &&
                (code < 0xD800 || code > 0xDFFF)) {
                AppendUtf8(out, code);
                i += at;
                continue;
            }
        }
        out += '&';
    }
    return out;
}

} // namespace

void CTableGrid::Build(const CTableRecord& table)
{
    m_cells.clear();
    m_places.clear();
    m_rows = 0;
    m_columns = 0;
    std::vector<const CTableRow*> rows;
    for (const CTableRow* row : table.Rows()) {
        if (!row->IsExcluded())
            rows.push_back(row);
    }
    m_rows = static_cast<int>(rows.size());

    // Rows of places, each as wide as it needs; the cells reaching down from
    // rows above hold their places in the rows below.
    std::vector<std::vector<int>> places(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::size_t column = 0;
        for (CTableCell* cell : rows[r]->Cells()) {
            if (cell->IsIgnored())
                continue;
            while (column < places[r].size() && places[r][column] != -1)
                ++column;
            Cell placed;
            placed.cell = cell;
            placed.row = static_cast<int>(r);
            placed.column = static_cast<int>(column);
            placed.columnSpan = SpanOf(*cell, attr::kColspan, kMaxColumnSpan);
            placed.rowSpan = SpanOf(*cell, attr::kRowspan, static_cast<long long>(rows.size() - r));
            const int index = static_cast<int>(m_cells.size());
            m_cells.push_back(placed);
            for (std::size_t down = r; down < r + static_cast<std::size_t>(placed.rowSpan); ++down) {
                std::vector<int>& line = places[down];
                const std::size_t end = column + static_cast<std::size_t>(placed.columnSpan);
                if (line.size() < end)
                    line.resize(end, -1);
                for (std::size_t c = column; c < end; ++c) {
                    if (line[c] == -1)
                        line[c] = index;
                }
            }
            column += static_cast<std::size_t>(placed.columnSpan);
        }
    }
    for (const std::vector<int>& line : places)
        m_columns = std::max(m_columns, static_cast<int>(line.size()));
    m_places.assign(static_cast<std::size_t>(m_rows) * static_cast<std::size_t>(m_columns), -1);
    for (std::size_t r = 0; r < places.size(); ++r)
        std::copy(places[r].begin(), places[r].end(), m_places.begin() + static_cast<std::ptrdiff_t>(r * m_columns));
}

int CTableGrid::CellAt(int row, int column) const
{
    if (row < 0 || column < 0 || row >= m_rows || column >= m_columns)
        return -1;
    return m_places[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_columns) + static_cast<std::size_t>(column)];
}

std::vector<int> CTableGrid::CellsInRow(int row) const
{
    std::vector<int> cells;
    int last = -1;
    for (int column = 0; column < m_columns; ++column) {
        const int cell = CellAt(row, column);
        // A cell covers a block of places: along a row, its places follow each other.
        if (cell != -1 && cell != last)
            cells.push_back(cell);
        last = cell;
    }
    return cells;
}

std::vector<int> CTableGrid::CellsInColumn(int column) const
{
    std::vector<int> cells;
    int last = -1;
    for (int row = 0; row < m_rows; ++row) {
        const int cell = CellAt(row, column);
        if (cell != -1 && cell != last)
            cells.push_back(cell);
        last = cell;
    }
    return cells;
}

std::string CTableGrid::ShortText(const CTableCell& cell)
{
    std::string text;
    bool blank = false;
    for (const CElement* e : cell.Content()) {
        if (e->Kind() != kind::kText || e->IsDeleted())
            continue;
        for (char c : ReadableText(e->Text())) {
            if (IsSpace(c)) {
                blank = !text.empty();
                continue;
            }
            if (text.size() >= kShortTextLength) {
                // Not inside a character of several bytes: the one cut is left out whole.
                if ((static_cast<unsigned char>(c) & 0xC0) == 0x80) {
                    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
                        text.pop_back();
                    if (!text.empty())
                        text.pop_back();
                }
                text += "...";
                return text;
            }
            if (blank)
                text += ' ';
            blank = false;
            text += c;
        }
    }
    return text;
}

platform::GridContent CTableGrid::Content(const std::vector<bool>& headers, std::string placeFormat,
                                          std::string headerWord) const
{
    platform::GridContent content;
    content.rows = m_rows;
    content.columns = m_columns;
    content.placeFormat = std::move(placeFormat);
    content.headerWord = std::move(headerWord);
    content.cells.reserve(m_cells.size());
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        const Cell& cell = m_cells[i];
        content.cells.push_back({.row = cell.row,
                                 .column = cell.column,
                                 .rowSpan = cell.rowSpan,
                                 .columnSpan = cell.columnSpan,
                                 .text = ShortText(*cell.cell),
                                 .header = i < headers.size() && headers[i]});
    }
    return content;
}

} // namespace orvane
