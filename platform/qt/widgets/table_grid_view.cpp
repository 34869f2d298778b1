#include "table_grid_view.h"

#include <QHeaderView>
#include <QFontMetrics>
#include <QKeyEvent>

#include <algorithm>

namespace orvane::platform::qt {

namespace {
constexpr int kMinColumnWidth = 80;
constexpr int kMaxColumnWidth = 240;
constexpr int kCellPadding = 16;
QString FromText(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
} // namespace

CTableGridView::CTableGridView(QWidget* parent) : QTableWidget(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setWordWrap(false);
    horizontalHeader()->setDefaultSectionSize(110);
    QObject::connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int column, int, int) {
        if (m_quiet || !m_listener)
            return;
        const int cell = CellAt(row, column);
        if (cell >= 0)
            m_listener(false, cell, GridScope::Cell);
    });
}

int CTableGridView::CellAt(int row, int column) const
{
    if (row < 0 || column < 0 || m_columns == 0 || column >= m_columns)
        return -1;
    const std::size_t place = static_cast<std::size_t>(row) * static_cast<std::size_t>(m_columns) +
                              static_cast<std::size_t>(column);
    return place < m_places.size() ? m_places[place] : -1;
}

void CTableGridView::SetContent(const GridContent& content)
{
    m_quiet = true;
    setUpdatesEnabled(false);
    clearSpans();
    clear();
    m_cells = content.cells;
    m_columns = content.columns;
    m_placeFormat = FromText(content.placeFormat);
    m_headerWord = FromText(content.headerWord);
    m_places.assign(static_cast<std::size_t>(content.rows) * static_cast<std::size_t>(content.columns), -1);
    setRowCount(content.rows);
    setColumnCount(content.columns);
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        const GridCell& cell = m_cells[i];
        for (int r = cell.row; r < cell.row + cell.rowSpan && r < content.rows; ++r) {
            for (int c = cell.column; c < cell.column + cell.columnSpan && c < content.columns; ++c)
                m_places[static_cast<std::size_t>(r) * static_cast<std::size_t>(m_columns) + static_cast<std::size_t>(c)] =
                    static_cast<int>(i);
        }
        auto* item = new QTableWidgetItem(FromText(cell.text));
        if (!cell.selectable)
            item->setFlags(Qt::NoItemFlags);
        else
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(cell.row, cell.column, item);
        if (cell.rowSpan > 1 || cell.columnSpan > 1)
            setSpan(cell.row, cell.column, cell.rowSpan, cell.columnSpan);
        ShowCell(static_cast<int>(i));
    }
    // Wide enough for a header's words, as far as the page has room: a
    // row of "Northport & ..." places tells the user nothing.
    std::vector<int> widths(static_cast<std::size_t>(std::max(0, content.columns)), kMinColumnWidth);
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics plainMetrics(font());
    const QFontMetrics boldMetrics(bold);
    for (int pass = 0; pass < 2; ++pass) {
        // Cells of one column first; a spanning cell then widens its columns
        // only by what they still lack between them.
        for (const GridCell& cell : m_cells) {
            if ((cell.columnSpan == 1) != (pass == 0) || cell.column >= content.columns)
                continue;
            const int last = std::min(cell.column + cell.columnSpan, content.columns);
            const QFontMetrics& metrics = cell.header ? boldMetrics : plainMetrics;
            const int wanted = std::min(metrics.horizontalAdvance(FromText(cell.text)) + kCellPadding,
                                        kMaxColumnWidth * (last - cell.column));
            int has = 0;
            for (int c = cell.column; c < last; ++c)
                has += widths[static_cast<std::size_t>(c)];
            const int each = (std::max(0, wanted - has) + (last - cell.column) - 1) / (last - cell.column);
            for (int c = cell.column; c < last; ++c)
                widths[static_cast<std::size_t>(c)] = std::min(kMaxColumnWidth, widths[static_cast<std::size_t>(c)] + each);
        }
    }
    for (int c = 0; c < content.columns; ++c)
        setColumnWidth(c, widths[static_cast<std::size_t>(c)]);
    setUpdatesEnabled(true);
    m_quiet = false;
}

void CTableGridView::ShowCell(int index)
{
    const GridCell& cell = m_cells[static_cast<std::size_t>(index)];
    QTableWidgetItem* shown = item(cell.row, cell.column);
    if (!shown)
        return;
    QFont font = this->font();
    font.setBold(cell.header);
    shown->setFont(font);
    shown->setBackground(cell.header ? palette().brush(QPalette::Midlight) : QBrush());
    QString place = m_placeFormat;
    place.replace("%1", QString::number(cell.row + 1)).replace("%2", QString::number(cell.column + 1));
    QString spoken = place + ": " + shown->text();
    if (cell.header)
        spoken += ", " + m_headerWord;
    const QString description = FromText(cell.description);
    if (!description.isEmpty())
        spoken += ", " + description;
    shown->setData(Qt::AccessibleTextRole, spoken);
    shown->setData(Qt::AccessibleDescriptionRole, cell.header ? m_headerWord : description);
    shown->setToolTip(cell.header ? shown->text() + " (" + m_headerWord + ")" : shown->text());
}

void CTableGridView::SetHeader(int cell, bool header)
{
    if (cell < 0 || cell >= CellCount())
        return;
    m_cells[static_cast<std::size_t>(cell)].header = header;
    ShowCell(cell);
}

void CTableGridView::SetDescription(int cell, std::string description)
{
    if (cell < 0 || cell >= CellCount())
        return;
    m_cells[static_cast<std::size_t>(cell)].description = std::move(description);
    ShowCell(cell);
}

bool CTableGridView::IsHeader(int cell) const
{
    return cell >= 0 && cell < CellCount() && m_cells[static_cast<std::size_t>(cell)].header;
}

void CTableGridView::SetCurrent(int cell)
{
    m_quiet = true;
    if (cell >= 0 && cell < CellCount())
        setCurrentCell(m_cells[static_cast<std::size_t>(cell)].row, m_cells[static_cast<std::size_t>(cell)].column);
    else
        setCurrentCell(-1, -1);
    m_quiet = false;
}

int CTableGridView::Current() const { return CellAt(currentRow(), currentColumn()); }

void CTableGridView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space) {
        const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
        GridScope scope = GridScope::Cell;
        if (modifiers == Qt::ControlModifier)
            scope = GridScope::Row;
        else if (modifiers == Qt::ShiftModifier)
            scope = GridScope::Column;
        else if (modifiers != Qt::NoModifier)
            return QTableWidget::keyPressEvent(event);
        const int cell = Current();
        if (cell >= 0 && m_listener)
            m_listener(true, cell, scope);
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

} // namespace orvane::platform::qt
