#pragma once

#include "platform/table_grid_control.h"

#include <string>
#include <vector>

namespace orvane {

class CTableCell;
class CTableRecord;

// A table laid out as the browser lays it out: rows and columns of places,
// each cell taking the place left free by the cells above it and as many
// places as its rowspan and colspan ask for. The table pages show it in a
// grid and address cells by their index here.
class CTableGrid {
public:
    struct Cell {
        CTableCell* cell = nullptr;
        int row = 0;
        int column = 0;
        int rowSpan = 1;
        int columnSpan = 1;
    };

    // The rows that count and their cells that count.
    void Build(const CTableRecord& table);

    int Rows() const { return m_rows; }
    int Columns() const { return m_columns; }
    const std::vector<Cell>& Cells() const { return m_cells; }
    // The cell covering the place; -1 for a place no cell covers.
    int CellAt(int row, int column) const;
    // Cells covering a place of the row, or of the column, each once, in order.
    std::vector<int> CellsInRow(int row) const;
    std::vector<int> CellsInColumn(int column) const;

    // The grid as the control shows it, with these header marks (by cell).
    platform::GridContent Content(const std::vector<bool>& headers, std::string placeFormat,
                                  std::string headerWord) const;

    // A cell's text as a place shows it: blanks run together, and cut short.
    static std::string ShortText(const CTableCell& cell);

private:
    int m_rows = 0;
    int m_columns = 0;
    std::vector<Cell> m_cells;
    std::vector<int> m_places;  // rows x columns, the covering cell or -1
};

} // namespace orvane
