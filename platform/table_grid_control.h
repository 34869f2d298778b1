#pragma once

// Table grids: a custom control that shows a table's cells as a grid, for
// marking header cells. A window whose templates can hold grids offers this
// beside IWindow; a logic reaches it with GridControls(window).
//
// The user moves between cells with the arrow keys (SelectionChanged, item =
// the cell) and asks to toggle header cells with Space (the cell), Ctrl+Space
// (its row) or Shift+Space (its column): KeyPressed, key Space, item = the
// current cell, column = the GridScope. The logic decides and sets the marks.

#include "platform/window.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvane::platform {

enum class GridScope { Cell = 0, Row = 1, Column = 2 };

// One cell, covering one place or, spanning, several.
struct GridCell {
    int row = 0;
    int column = 0;
    int rowSpan = 1;
    int columnSpan = 1;
    std::string text;  // shortened to what a place shows
    bool header = false;
    // What a screen reader adds after the cell's text, such as the headers
    // a data cell is read with; empty for nothing.
    std::string description = {};
    // A cell that cannot be chosen (one that is no header where only headers count).
    bool selectable = true;
};

// What a grid shows: rows and columns of places; cells are addressed by
// their index in `cells`.
struct GridContent {
    int rows = 0;
    int columns = 0;
    std::vector<GridCell> cells;
    // How a screen reader is told a cell's place and state: "Row %1, column %2"
    // and the word for a header cell.
    std::string placeFormat;
    std::string headerWord;
};

class IGridControls {
public:
    virtual ~IGridControls() = default;
    virtual void SetGridContent(int id, const GridContent& content) = 0;
    virtual void SetGridCellHeader(int id, int cell, bool header) = 0;
    virtual void SetGridCellDescription(int id, int cell, std::string_view description) = 0;
    // The cell the arrow keys are on; -1 for none.
    virtual void SetCurrentGridCell(int id, int cell) = 0;
    virtual int CurrentGridCell(int id) const = 0;
};

// The window's grids; null for a window that has none.
inline IGridControls* GridControls(IWindow* window) { return dynamic_cast<IGridControls*>(window); }

} // namespace orvane::platform
