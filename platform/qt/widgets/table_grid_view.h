#pragma once

#include "platform/table_grid_control.h"

#include <QTableWidget>

#include <functional>
#include <vector>

namespace orvane::platform::qt {

// A table shown as a grid of its cells, for marking header cells. Header
// cells are drawn bold on a shaded ground, and a screen reader hears each
// cell as "Row 2, column 3: Price, header" through the accessible table of
// the view. Arrow keys move between cells; Space asks to toggle the current
// cell, Ctrl+Space its row, Shift+Space its column; the logic answers by
// setting the marks. Templates name it by its class, kClassName.
class CTableGridView final : public QTableWidget {
public:
    static constexpr const char* kClassName = "OrvaneTableGrid";

    // The current cell moved (toggle false) or a header toggle was asked for.
    using Listener = std::function<void(bool toggle, int cell, GridScope scope)>;

    explicit CTableGridView(QWidget* parent = nullptr);

    void SetListener(Listener listener) { m_listener = std::move(listener); }
    void SetContent(const GridContent& content);
    void SetHeader(int cell, bool header);
    void SetDescription(int cell, std::string description);
    void SetCurrent(int cell);
    // -1 for none.
    int Current() const;
    int CellCount() const { return static_cast<int>(m_cells.size()); }
    bool IsHeader(int cell) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    int CellAt(int row, int column) const;
    void ShowCell(int cell);

    std::vector<GridCell> m_cells;
    std::vector<int> m_places;  // rows x columns
    int m_columns = 0;
    QString m_placeFormat;
    QString m_headerWord;
    bool m_quiet = false;
    Listener m_listener;
};

} // namespace orvane::platform::qt
