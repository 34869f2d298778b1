#include "library/ui/pages/tables/page_table_header.h"

#include "library/html/attribute.h"
#include "library/html/element.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "library/registry/src_table.h"
#include "library/tables/table_record.h"
#include "platform/services.h"
#include "platform/table_grid_control.h"

#include <algorithm>

namespace orvane {

namespace {
constexpr int kMessageCaption = 111;
constexpr int kInstruction = 1030;
constexpr int kNoHeaderMarked = 1031;
constexpr int kPlaceFormat = 1032;
constexpr int kHeaderWord = 1033;
constexpr int kMarkRowText = 1034;
constexpr int kUnmarkRowText = 1035;
constexpr int kMarkColumnText = 1036;
constexpr int kUnmarkColumnText = 1037;
constexpr int kCurrentHeader = 1038;
constexpr int kCurrentData = 1039;
constexpr int kNoCell = 1040;
constexpr char kHelpTopic[] = "5-1-2.html";

bool HasLetter(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x80 || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
    });
}

// Figures, times, prices, or nothing of words: a dash or a currency sign counts too.
bool IsFigure(std::string_view text)
{
    return std::none_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
    });
}

bool HasDigit(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string Number(int n) { return std::to_string(n); }
} // namespace

// A cell written anew, and what it was before.
struct CPageTableHeader::Retyped {
    CTableCell* cell = nullptr;
    int type = cell_type::kTd;
    std::string startName;  // as the tag wrote it
    std::string startText;
    int startKind = 0;
    std::string endName;
    std::string endText;
    int endKind = 0;
    CAttribute* scope = nullptr;  // given by the repair; null when the cell kept its own
};

CPageTableHeader::CPageTableHeader(CTableRecord& table) : CPageTableBase(kTemplate, table, kPreview) {}

CPageTableHeader::~CPageTableHeader() = default;

void CPageTableHeader::Initialise()
{
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    ReadGrid();
}

void CPageTableHeader::ReadGrid()
{
    m_grid.Build(Table());
    if (!m_proposed && !m_applied) {
        const std::vector<bool> proposal = Proposal();
        for (std::size_t i = 0; i < proposal.size(); ++i)
            m_marks[m_grid.Cells()[i].cell] = proposal[i];
        m_proposed = true;
    }
    m_current = std::clamp(m_current, 0, std::max(0, static_cast<int>(m_grid.Cells().size()) - 1));
}

std::vector<bool> CPageTableHeader::Proposal() const
{
    const std::vector<CTableGrid::Cell>& cells = m_grid.Cells();
    std::vector<bool> marks(cells.size(), false);
    for (std::size_t i = 0; i < cells.size(); ++i)
        marks[i] = cells[i].cell->Type() == cell_type::kTh;

    bool firstRow = true;
    bool firstColumn = false;
    const CSrcTable* remembered = Table().RegistryRecord();
    if (remembered && (remembered->RowHeaders() || remembered->ColumnHeaders())) {
        firstRow = remembered->ColumnHeaders();
        firstColumn = remembered->RowHeaders();
    } else if (m_grid.Rows() > 1 && m_grid.Columns() > 1) {
        // The first column heads the rows when it names them and the rest are figures.
        firstColumn = true;
        bool anyDigit = false;
        for (std::size_t i = 0; i < cells.size() && firstColumn; ++i) {
            const CTableGrid::Cell& cell = cells[i];
            if (cell.row == 0)
                continue;
            const std::string text = cell.cell->Text();
            if (cell.column == 0)
                firstColumn = HasLetter(text);
            else {
                firstColumn = IsFigure(text);
                anyDigit = anyDigit || HasDigit(text);
            }
        }
        firstColumn = firstColumn && anyDigit;
    }
    if (firstRow) {
        for (int cell : m_grid.CellsInRow(0))
            marks[static_cast<std::size_t>(cell)] = true;
    }
    if (firstColumn) {
        for (int cell : m_grid.CellsInColumn(0))
            marks[static_cast<std::size_t>(cell)] = true;
    }
    // An empty corner heads nothing: a header without text is no header, and
    // the checks take an empty data cell there as it is.
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const CTableGrid::Cell& cell = cells[i];
        if (cell.row == 0 && cell.column == 0 && cell.cell->Type() != cell_type::kTh && !cell.cell->HasText())
            marks[i] = false;
    }
    return marks;
}

bool CPageTableHeader::IsMarked(int cell) const
{
    const CTableCell* of = m_grid.Cells()[static_cast<std::size_t>(cell)].cell;
    const auto mark = m_marks.find(of);
    return mark != m_marks.end() ? mark->second : of->Type() == cell_type::kTh;
}

std::vector<bool> CPageTableHeader::Marks() const
{
    std::vector<bool> marks(m_grid.Cells().size());
    for (std::size_t i = 0; i < marks.size(); ++i)
        marks[i] = IsMarked(static_cast<int>(i));
    return marks;
}

void CPageTableHeader::SetMark(int cell, bool header)
{
    m_marks[m_grid.Cells()[static_cast<std::size_t>(cell)].cell] = header;
    if (platform::IGridControls* grids = platform::GridControls(Window()))
        grids->SetGridCellHeader(kGrid, cell, header);
}

void CPageTableHeader::ShowGrid()
{
    platform::IWindow* window = Window();
    if (!window)
        return;
    if (platform::IGridControls* grids = platform::GridControls(window)) {
        const platform::IStringTable& strings = platform::Strings();
        grids->SetGridContent(kGrid, m_grid.Content(Marks(), strings.Get(kPlaceFormat), strings.Get(kHeaderWord)));
        grids->SetCurrentGridCell(kGrid, m_grid.Cells().empty() ? -1 : m_current);
    }
    ShowCurrent();
}

// The buttons say what they would do to the current cell's row and column.
void CPageTableHeader::ShowCurrent()
{
    platform::IWindow* window = Window();
    if (!window)
        return;
    const platform::IStringTable& strings = platform::Strings();
    const bool any = !m_grid.Cells().empty();
    window->Enable(kMarkRow, any);
    window->Enable(kMarkColumn, any);
    if (!any) {
        window->SetText(kCurrentCell, strings.Get(kNoCell));
        return;
    }
    const CTableGrid::Cell& cell = m_grid.Cells()[static_cast<std::size_t>(m_current)];
    auto allMarked = [&](const std::vector<int>& cells) {
        return std::all_of(cells.begin(), cells.end(), [&](int c) { return IsMarked(c); });
    };
    window->SetText(kMarkRow, strings.Get(allMarked(m_grid.CellsInRow(cell.row)) ? kUnmarkRowText : kMarkRowText));
    window->SetText(kMarkColumn,
                    strings.Get(allMarked(m_grid.CellsInColumn(cell.column)) ? kUnmarkColumnText : kMarkColumnText));
    const std::string place = strings.Format(kPlaceFormat, {Number(cell.row + 1), Number(cell.column + 1)});
    window->SetText(kCurrentCell, strings.Format(IsMarked(m_current) ? kCurrentHeader : kCurrentData,
                                                 {place, CTableGrid::ShortText(*cell.cell)}));
}

// A row or column wholly marked is unmarked; otherwise all of it becomes headers.
void CPageTableHeader::Toggle(platform::GridScope scope)
{
    if (m_grid.Cells().empty())
        return;
    const CTableGrid::Cell& current = m_grid.Cells()[static_cast<std::size_t>(m_current)];
    std::vector<int> cells;
    switch (scope) {
    case platform::GridScope::Cell: cells = {m_current}; break;
    case platform::GridScope::Row: cells = m_grid.CellsInRow(current.row); break;
    case platform::GridScope::Column: cells = m_grid.CellsInColumn(current.column); break;
    }
    const bool all = std::all_of(cells.begin(), cells.end(), [&](int c) { return IsMarked(c); });
    for (int cell : cells)
        SetMark(cell, !all);
    ShowCurrent();
}

void CPageTableHeader::OnNotify(platform::IWindow&, const platform::Notification& notification)
{
    using platform::NotifyCode;
    if (notification.control == kGrid && notification.code == NotifyCode::SelectionChanged) {
        if (notification.item >= 0 && notification.item < static_cast<int>(m_grid.Cells().size()))
            m_current = notification.item;
        ShowCurrent();
    } else if (notification.control == kGrid && notification.code == NotifyCode::KeyPressed &&
               notification.key == platform::Key::Space) {
        if (notification.item >= 0 && notification.item < static_cast<int>(m_grid.Cells().size()))
            m_current = notification.item;
        Toggle(static_cast<platform::GridScope>(notification.column));
    } else if (notification.control == kMarkRow && notification.code == NotifyCode::Clicked) {
        Toggle(platform::GridScope::Row);
    } else if (notification.control == kMarkColumn && notification.code == NotifyCode::Clicked) {
        Toggle(platform::GridScope::Column);
    }
}

// Another page of the table may have left rows out or retyped cells: the grid
// is read again, and the user's marks stay on the cells still shown.
void CPageTableHeader::OnActivate(platform::IWindow& window)
{
    ReadGrid();
    ShowGrid();
    CPageTableBase::OnActivate(window);
}

// Going back or on keeps the marks for when the user returns.
void CPageTableHeader::Left()
{
    if (platform::IGridControls* grids = platform::GridControls(Window()))
        m_current = std::max(0, grids->CurrentGridCell(kGrid));
}

bool CPageTableHeader::Apply()
{
    if (!Window())
        return true;
    const std::vector<bool> marks = Marks();
    if (std::find(marks.begin(), marks.end(), true) == marks.end()) {
        TakeBack();
        SetStatus(pagestatus::kNotRepaired);
        platform::Prompt().Show(platform::Strings().Get(kMessageCaption), platform::Strings().Get(kNoHeaderMarked),
                                platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
        return false;
    }
    TakeBack();

    // A header heads its row when data stands beside it, else its column.
    std::vector<bool> rowHasData(static_cast<std::size_t>(m_grid.Rows()), false);
    const std::vector<CTableGrid::Cell>& cells = m_grid.Cells();
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (!marks[i] && cells[i].cell->HasText()) {
            for (int r = cells[i].row; r < cells[i].row + cells[i].rowSpan; ++r)
                rowHasData[static_cast<std::size_t>(r)] = true;
        }
    }

    CSrcTable* remembered = Table().RegistryRecord();
    m_savedRowHeaders = remembered && remembered->RowHeaders();
    m_savedColumnHeaders = remembered && remembered->ColumnHeaders();
    for (std::size_t i = 0; i < cells.size(); ++i) {
        CTableCell& cell = *cells[i].cell;
        const int type = marks[i] ? cell_type::kTh : cell_type::kTd;
        if (cell.Type() == type)
            continue;
        CElement& start = cell.StartElement();
        CElement* end = cell.EndElement();
        Retyped retyped;
        retyped.cell = &cell;
        retyped.type = cell.Type();
        retyped.startName = std::string(start.WrittenTagName());
        retyped.startText = start.GetText();
        retyped.startKind = start.Kind();
        if (end) {
            retyped.endName = std::string(end->WrittenTagName());
            retyped.endText = end->GetText();
            retyped.endKind = end->Kind();
        }
        const bool header = type == cell_type::kTh;
        if (!start.RenameTag(header ? "th" : "td", header ? tag::kTh : tag::kTd))
            continue;
        if (end)
            end->RenameTag(header ? "th" : "td", (header ? tag::kTh : tag::kTd) + kind::kEndOffset);
        cell.SetType(type);
        if (header) {
            CAttribute* scope = start.FindAttribute(attr::kScope);
            if (!scope || scope->IsHidden()) {
                if (!scope) {
                    auto made = std::make_unique<CAttribute>();
                    made->NameById(attr::kScope);
                    made->SetHideable(true);
                    made->Hide(true);
                    scope = made.get();
                    start.InsertAttribute(std::move(made));
                }
                scope->Save();
                scope->SetFromText(rowHasData[static_cast<std::size_t>(cells[i].row)] ? "row" : "col", Encoding());
                retyped.scope = scope;
            }
        }
        m_retyped.push_back(std::move(retyped));
    }
    m_applied = true;
    Table().FollowRegistryKey();
    const bool rowHeaders = Table().HasRowHeaders();
    const bool columnHeaders = Table().HasColumnHeaders();
    if (remembered) {
        remembered->SetRowHeaders(rowHeaders);
        remembered->SetColumnHeaders(columnHeaders);
    }
    // Headers of one kind only leave the check's other half for later.
    SetStatus(rowHeaders && columnHeaders ? pagestatus::kRepaired : pagestatus::kPartlyRepaired);
    RefreshTablePreview();
    return true;
}

// Every cell as the page had it, the registry's flags as they were.
void CPageTableHeader::TakeBack()
{
    if (!m_applied)
        return;
    for (auto retyped = m_retyped.rbegin(); retyped != m_retyped.rend(); ++retyped) {
        CElement& start = retyped->cell->StartElement();
        start.RenameTag(retyped->startName, retyped->startKind);
        start.SetText(retyped->startText);
        start.SetKind(retyped->startKind);
        if (CElement* end = retyped->cell->EndElement(); end && !retyped->endName.empty()) {
            end->RenameTag(retyped->endName, retyped->endKind);
            end->SetText(retyped->endText);
            end->SetKind(retyped->endKind);
        }
        if (retyped->scope)
            retyped->scope->Revert();
        retyped->cell->SetType(retyped->type);
    }
    m_retyped.clear();
    m_applied = false;
    Table().FollowRegistryKey();
    if (CSrcTable* remembered = Table().RegistryRecord()) {
        remembered->SetRowHeaders(m_savedRowHeaders);
        remembered->SetColumnHeaders(m_savedColumnHeaders);
    }
}

// The page as it was; the marks go back to what the page proposed.
void CPageTableHeader::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    TakeBack();
    m_marks.clear();
    m_proposed = false;
    if (Window()) {
        ReadGrid();
        ShowGrid();
        RefreshTablePreview();
    }
}

} // namespace orvane
