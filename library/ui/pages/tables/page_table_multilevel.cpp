#include "library/ui/pages/tables/page_table_multilevel.h"

#include "library/html/attribute.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "library/tables/table_record.h"
#include "platform/services.h"
#include "platform/table_grid_control.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

namespace orvane {

namespace {
constexpr int kMessageCaption = 111;
constexpr int kPlaceFormat = 1032;
constexpr int kHeaderWord = 1033;
constexpr int kNoCell = 1040;
constexpr int kInstruction = 1160;
constexpr int kNoHeaders = 1161;
constexpr int kCurrentWithHeaders = 1162;
constexpr int kCurrentWithoutHeaders = 1163;
constexpr int kCurrentHeader = 1164;
constexpr int kHeaderColumnTitle = 1165;
constexpr int kPlaceColumnTitle = 1166;
constexpr int kHeadsColumnTitle = 1167;
constexpr int kHeadsYes = 1168;
constexpr int kHeadsNo = 1169;
constexpr int kHeadsNotData = 1170;
constexpr int kSpokenHeaders = 1171;
constexpr char kHelpTopic[] = "5-2-1.html";
constexpr int kPlaceColumn = 1, kHeadsColumn = 2;  // the first shows the header's text
constexpr std::size_t kMaxIdWords = 32;

bool IsIdCharacter(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

// A value a headers attribute can name: one token, no blanks in it.
bool IsUsableId(std::string_view id)
{
    return !id.empty() && std::none_of(id.begin(), id.end(), [](char c) { return IsSpace(c); });
}

std::vector<std::string_view> Tokens(std::string_view text)
{
    std::vector<std::string_view> tokens;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && IsSpace(text[at]))
            ++at;
        const std::size_t start = at;
        while (at < text.size() && !IsSpace(text[at]))
            ++at;
        if (at > start)
            tokens.push_back(text.substr(start, at - start));
    }
    return tokens;
}

const CAttribute* Shown(const CElement& element, int id)
{
    const CAttribute* a = element.FindAttribute(id);
    return a && !a->IsHidden() ? a : nullptr;
}

std::string Number(int n) { return std::to_string(n); }
} // namespace

// An attribute the repair wrote; taken back, it is as it was.
struct CPageTableMultilevel::Written {
    CAttribute* attribute = nullptr;
};

CPageTableMultilevel::CPageTableMultilevel(CTableRecord& table) : CPageTableBase(kTemplate, table, kPreview) {}

CPageTableMultilevel::~CPageTableMultilevel() = default;

std::string CPageTableMultilevel::IdFromText(std::string_view text)
{
    std::string id = "h";
    bool gap = true;
    std::size_t words = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = AsciiLower(text[i]);
        if (c == '&') {
            // An entity stands for a sign, not for letters of a word.
            std::size_t end = i + 1;
            while (end < text.size() && end - i < 10 && (IsIdCharacter(AsciiLower(text[end])) || text[end] == '#'))
                ++end;
            if (end < text.size() && text[end] == ';') {
                i = end;
                gap = true;
                continue;
            }
        }
        if (!IsIdCharacter(c)) {
            gap = true;
            continue;
        }
        if (gap) {
            if (words == kMaxIdWords)
                break;
            ++words;
            id += '-';
        }
        gap = false;
        id += c;
    }
    return words == 0 ? std::string("h-header") : id;
}

void CPageTableMultilevel::Initialise()
{
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    const platform::IStringTable& strings = platform::Strings();
    Window()->SetColumns(kHeaders, {{strings.Get(kHeaderColumnTitle), 200},
                                    {strings.Get(kPlaceColumnTitle), 130},
                                    {strings.Get(kHeadsColumnTitle), 150, platform::Align::Left, true}});
    Window()->WatchKey(kHeaders, platform::Key::Space);
    ReadTable();
}

bool CPageTableMultilevel::IsHeaderCell(int cell) const
{
    return m_grid.Cells()[static_cast<std::size_t>(cell)].cell->Type() == cell_type::kTh;
}

// Another page of the table may have retyped cells or left rows out: the
// grid and the directions its headers head are read anew each time.
void CPageTableMultilevel::ReadTable()
{
    m_grid.Build(Table());
    const std::vector<CTableGrid::Cell>& cells = m_grid.Cells();
    const auto rows = static_cast<std::size_t>(m_grid.Rows());
    const auto columns = static_cast<std::size_t>(m_grid.Columns());
    std::vector<bool> rowHasData(rows, false);
    std::vector<bool> columnHasData(columns, false);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (IsHeaderCell(static_cast<int>(i)))
            continue;
        for (int r = cells[i].row; r < cells[i].row + cells[i].rowSpan; ++r)
            rowHasData[static_cast<std::size_t>(r)] = true;
        for (int c = cells[i].column; c < cells[i].column + cells[i].columnSpan && static_cast<std::size_t>(c) < columns; ++c)
            columnHasData[static_cast<std::size_t>(c)] = true;
    }
    m_headerCells.clear();
    m_columnHeader.assign(cells.size(), false);
    m_rowHeader.assign(cells.size(), false);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (!IsHeaderCell(static_cast<int>(i)))
            continue;
        m_headerCells.push_back(static_cast<int>(i));
        const CAttribute* scope = Shown(cells[i].cell->StartElement(), attr::kScope);
        const std::string said = scope ? ToLower(Trim(scope->Value())) : std::string();
        if (said == "col" || said == "colgroup") {
            m_columnHeader[i] = true;
        } else if (said == "row" || said == "rowgroup") {
            m_rowHeader[i] = true;
        } else {
            // Without a scope, a header heads its columns when its rows hold
            // no data, else its rows when its columns hold none.
            bool dataBeside = false;
            for (int r = cells[i].row; r < cells[i].row + cells[i].rowSpan; ++r)
                dataBeside = dataBeside || rowHasData[static_cast<std::size_t>(r)];
            bool dataBelow = false;
            for (int c = cells[i].column; c < cells[i].column + cells[i].columnSpan && static_cast<std::size_t>(c) < columns; ++c)
                dataBelow = dataBelow || columnHasData[static_cast<std::size_t>(c)];
            m_columnHeader[i] = !dataBeside;
            m_rowHeader[i] = dataBeside && !dataBelow;
        }
    }
    PlanIds();
    m_current = std::clamp(m_current, 0, std::max(0, static_cast<int>(cells.size()) - 1));
}

// Each header keeps the id it has; the others get one made from their text,
// numbered on when the page already uses it.
void CPageTableMultilevel::PlanIds()
{
    const std::vector<CTableGrid::Cell>& cells = m_grid.Cells();
    m_ids.assign(cells.size(), std::string());
    // The ids as the page had them before this page wrote any.
    std::unordered_set<const CAttribute*> ours;
    for (const Written& written : m_written)
        ours.insert(written.attribute);
    auto idOf = [&](const CElement& element) -> std::optional<std::string_view> {
        const CAttribute* id = element.FindAttribute(attr::kId);
        if (!id)
            return std::nullopt;
        if (ours.count(id)) {
            if (id->SavedHidden())
                return std::nullopt;
            return Trim(id->SavedValue());
        }
        if (id->IsHidden())
            return std::nullopt;
        return Trim(id->Value());
    };
    std::unordered_set<std::string> taken;
    if (CHtmlDocument* document = Table().Document()) {
        for (const CElement* e : document->Elements()) {
            if (e->IsDeleted() || e->Kind() == kind::kText || e->Kind() == kind::kComment)
                continue;
            if (const auto id = idOf(*e))
                taken.insert(std::string(*id));
        }
    }
    std::vector<int> unnamed;
    for (int cell : m_headerCells) {
        const std::string_view value = idOf(cells[static_cast<std::size_t>(cell)].cell->StartElement()).value_or("");
        if (IsUsableId(value))
            m_ids[static_cast<std::size_t>(cell)] = std::string(value);
        else
            unnamed.push_back(cell);
    }
    for (int cell : unnamed) {
        const std::string base = IdFromText(cells[static_cast<std::size_t>(cell)].cell->Text());
        std::string id = base;
        for (int n = 2; taken.count(id); ++n)
            id = base + "-" + Number(n);
        taken.insert(id);
        m_ids[static_cast<std::size_t>(cell)] = id;
    }
}

// One line of places from the cell outwards: header cells met are taken
// while no block of data lies between them and the cell, and only those
// that head in this direction.
void CPageTableMultilevel::Scan(int principal, int x, int y, int dx, int dy, std::vector<int>& found) const
{
    const std::vector<CTableGrid::Cell>& cells = m_grid.Cells();
    std::vector<int> opaque;
    std::vector<int> block;
    bool inHeaderBlock = false;
    for (;;) {
        x += dx;
        y += dy;
        if (x < 0 || y < 0)
            return;
        const int current = m_grid.CellAt(y, x);
        if (current < 0 || current == principal)
            continue;
        const CTableGrid::Cell& here = cells[static_cast<std::size_t>(current)];
        if (IsHeaderCell(current)) {
            inHeaderBlock = true;
            block.push_back(current);
            bool blocked = false;
            for (int o : opaque) {
                const CTableGrid::Cell& seen = cells[static_cast<std::size_t>(o)];
                if (dx == 0 && seen.column == here.column && seen.columnSpan == here.columnSpan)
                    blocked = true;
                if (dy == 0 && seen.row == here.row && seen.rowSpan == here.rowSpan)
                    blocked = true;
            }
            if (dx == 0 && !m_columnHeader[static_cast<std::size_t>(current)])
                blocked = true;
            if (dy == 0 && !m_rowHeader[static_cast<std::size_t>(current)])
                blocked = true;
            if (!blocked && std::find(found.begin(), found.end(), current) == found.end())
                found.push_back(current);
        } else if (inHeaderBlock) {
            inHeaderBlock = false;
            opaque.insert(opaque.end(), block.begin(), block.end());
            block.clear();
        }
    }
}

std::vector<int> CPageTableMultilevel::ImpliedHeaders(int cell) const
{
    std::vector<int> found;
    if (cell < 0 || cell >= static_cast<int>(m_grid.Cells().size()) || IsHeaderCell(cell))
        return found;
    const CTableGrid::Cell& principal = m_grid.Cells()[static_cast<std::size_t>(cell)];
    for (int r = principal.row; r < principal.row + principal.rowSpan; ++r)
        Scan(cell, principal.column, r, -1, 0, found);
    for (int c = principal.column; c < principal.column + principal.columnSpan && c < m_grid.Columns(); ++c)
        Scan(cell, c, principal.row, 0, -1, found);
    std::sort(found.begin(), found.end());
    return found;
}

// The header cells of this table that the cell's own headers attribute names.
std::vector<int> CPageTableMultilevel::NamedByAttribute(int cell) const
{
    std::vector<int> named;
    const CAttribute* headers = Shown(m_grid.Cells()[static_cast<std::size_t>(cell)].cell->StartElement(), attr::kHeaders);
    if (!headers)
        return named;
    for (std::string_view token : Tokens(headers->Value())) {
        for (int header : m_headerCells) {
            if (m_ids[static_cast<std::size_t>(header)] == token)
                named.push_back(header);
        }
    }
    return named;
}

std::vector<int> CPageTableMultilevel::HeadersOf(int cell) const
{
    if (cell < 0 || cell >= static_cast<int>(m_grid.Cells().size()) || IsHeaderCell(cell))
        return {};
    const auto chosen = m_chosen.find(m_grid.Cells()[static_cast<std::size_t>(cell)].cell);
    std::vector<int> headers;
    if (chosen != m_chosen.end()) {
        for (int header : m_headerCells) {
            const CTableCell* of = m_grid.Cells()[static_cast<std::size_t>(header)].cell;
            if (std::find(chosen->second.begin(), chosen->second.end(), of) != chosen->second.end())
                headers.push_back(header);
        }
        return headers;
    }
    headers = ImpliedHeaders(cell);
    for (int named : NamedByAttribute(cell)) {
        if (std::find(headers.begin(), headers.end(), named) == headers.end())
            headers.push_back(named);
    }
    std::sort(headers.begin(), headers.end());
    return headers;
}

void CPageTableMultilevel::ShowGrid()
{
    platform::IGridControls* grids = platform::GridControls(Window());
    if (!grids)
        return;
    std::vector<bool> marks(m_grid.Cells().size(), false);
    for (int header : m_headerCells)
        marks[static_cast<std::size_t>(header)] = true;
    const platform::IStringTable& strings = platform::Strings();
    platform::GridContent content = m_grid.Content(marks, strings.Get(kPlaceFormat), strings.Get(kHeaderWord));
    // Moving through the grid, a screen reader hears each value with its headers.
    for (std::size_t i = 0; i < content.cells.size(); ++i)
        content.cells[i].description = SpokenHeaders(static_cast<int>(i));
    grids->SetGridContent(kGrid, content);
    grids->SetCurrentGridCell(kGrid, m_grid.Cells().empty() ? -1 : m_current);
}

std::string CPageTableMultilevel::HeaderNames(const std::vector<int>& headers) const
{
    std::string names;
    for (int h : headers) {
        if (!names.empty())
            names += ", ";
        names += CTableGrid::ShortText(*m_grid.Cells()[static_cast<std::size_t>(h)].cell);
    }
    return names;
}

std::string CPageTableMultilevel::SpokenHeaders(int cell) const
{
    const std::vector<int> headers = HeadersOf(cell);
    return headers.empty() ? std::string() : platform::Strings().Format(kSpokenHeaders, {HeaderNames(headers)});
}

// Every header cell of the table, and whether it heads the current cell.
void CPageTableMultilevel::FillHeaders()
{
    platform::IWindow* window = Window();
    if (!window)
        return;
    const platform::IStringTable& strings = platform::Strings();
    const int keep = window->CurrentItem(kHeaders);
    window->ClearItems(kHeaders);
    for (std::size_t i = 0; i < m_headerCells.size(); ++i) {
        const CTableGrid::Cell& header = m_grid.Cells()[static_cast<std::size_t>(m_headerCells[i])];
        const int row = window->AddItem(kHeaders, CTableGrid::ShortText(*header.cell), static_cast<platform::ItemData>(i));
        window->SetItemText(kHeaders, row, kPlaceColumn,
                            strings.Format(kPlaceFormat, {Number(header.row + 1), Number(header.column + 1)}));
    }
    ShowCurrent();
    if (window->ItemCount(kHeaders) > 0) {
        const int row = std::clamp(keep, 0, window->ItemCount(kHeaders) - 1);
        window->SetCurrentItem(kHeaders, row);
        window->SetItemSelected(kHeaders, row, true);
    }
}

void CPageTableMultilevel::ShowCurrent()
{
    platform::IWindow* window = Window();
    if (!window)
        return;
    const platform::IStringTable& strings = platform::Strings();
    if (m_grid.Cells().empty()) {
        window->SetText(kCurrentCell, strings.Get(kNoCell));
        window->Enable(kHeaders, false);
        return;
    }
    const CTableGrid::Cell& cell = m_grid.Cells()[static_cast<std::size_t>(m_current)];
    const std::string place = strings.Format(kPlaceFormat, {Number(cell.row + 1), Number(cell.column + 1)});
    const std::string text = CTableGrid::ShortText(*cell.cell);
    const bool header = IsHeaderCell(m_current);
    const std::vector<int> headers = HeadersOf(m_current);
    for (int row = 0; row < window->ItemCount(kHeaders); ++row) {
        const int of = m_headerCells[static_cast<std::size_t>(row)];
        const bool heads = std::find(headers.begin(), headers.end(), of) != headers.end();
        window->SetItemText(kHeaders, row, kHeadsColumn,
                            strings.Get(header ? kHeadsNotData : heads ? kHeadsYes : kHeadsNo));
    }
    window->Enable(kHeaders, !header && !m_headerCells.empty());
    if (header) {
        window->SetText(kCurrentCell, strings.Format(kCurrentHeader, {place, text, m_ids[static_cast<std::size_t>(m_current)]}));
        return;
    }
    const std::string names = HeaderNames(headers);
    window->SetText(kCurrentCell, headers.empty() ? strings.Format(kCurrentWithoutHeaders, {place, text})
                                                  : strings.Format(kCurrentWithHeaders, {place, text, names}));
}

// The header in that row of the list heads the current cell, or no longer does.
void CPageTableMultilevel::Toggle(int listRow)
{
    if (listRow < 0 || listRow >= static_cast<int>(m_headerCells.size()) || m_grid.Cells().empty() ||
        IsHeaderCell(m_current))
        return;
    const int header = m_headerCells[static_cast<std::size_t>(listRow)];
    std::vector<int> headers = HeadersOf(m_current);
    const auto at = std::find(headers.begin(), headers.end(), header);
    if (at != headers.end())
        headers.erase(at);
    else
        headers.push_back(header);
    std::vector<const CTableCell*>& chosen = m_chosen[m_grid.Cells()[static_cast<std::size_t>(m_current)].cell];
    chosen.clear();
    for (int h : headers)
        chosen.push_back(m_grid.Cells()[static_cast<std::size_t>(h)].cell);
    if (platform::IGridControls* grids = platform::GridControls(Window()))
        grids->SetGridCellDescription(kGrid, m_current, SpokenHeaders(m_current));
    ShowCurrent();
}

void CPageTableMultilevel::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    using platform::NotifyCode;
    if (notification.control == kGrid && notification.code == NotifyCode::SelectionChanged) {
        if (notification.item >= 0 && notification.item < static_cast<int>(m_grid.Cells().size()))
            m_current = notification.item;
        ShowCurrent();
    } else if (notification.control == kHeaders && notification.code == NotifyCode::DoubleClicked) {
        Toggle(notification.item);
    } else if (notification.control == kHeaders && notification.code == NotifyCode::KeyPressed &&
               notification.key == platform::Key::Space) {
        Toggle(window.CurrentItem(kHeaders));
    }
}

void CPageTableMultilevel::OnActivate(platform::IWindow& window)
{
    ReadTable();
    ShowGrid();
    FillHeaders();
    CPageTableBase::OnActivate(window);
}

void CPageTableMultilevel::Left()
{
    if (platform::IGridControls* grids = platform::GridControls(Window()))
        m_current = std::max(0, grids->CurrentGridCell(kGrid));
}

// The attribute the tag has, or one made for it, holds the value.
void CPageTableMultilevel::Write(CElement& element, int attributeId, const std::string& value)
{
    CAttribute* attribute = element.FindAttribute(attributeId);
    if (!attribute) {
        auto made = std::make_unique<CAttribute>();
        made->NameById(attributeId);
        made->SetHideable(true);
        made->Hide(true);
        attribute = made.get();
        element.InsertAttribute(std::move(made));
    }
    attribute->Save();
    attribute->SetFromText(value, Encoding());
    m_written.push_back({attribute});
}

bool CPageTableMultilevel::Apply()
{
    if (!Window())
        return true;
    TakeBack();
    ReadTable();
    const std::vector<CTableGrid::Cell>& cells = m_grid.Cells();
    std::vector<std::vector<int>> headersOf(cells.size());
    bool any = false;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        headersOf[i] = HeadersOf(static_cast<int>(i));
        any = any || !headersOf[i].empty();
    }
    if (!any) {
        SetStatus(pagestatus::kNotRepaired);
        platform::Prompt().Show(platform::Strings().Get(kMessageCaption), platform::Strings().Get(kNoHeaders),
                                platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
        return false;
    }

    for (int header : m_headerCells) {
        CElement& start = cells[static_cast<std::size_t>(header)].cell->StartElement();
        const CAttribute* id = Shown(start, attr::kId);
        const std::string& planned = m_ids[static_cast<std::size_t>(header)];
        if (!id || Trim(id->Value()) != planned)
            Write(start, attr::kId, planned);
    }
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (headersOf[i].empty())
            continue;
        CElement& start = cells[i].cell->StartElement();
        const CAttribute* existing = Shown(start, attr::kHeaders);
        std::vector<std::string> tokens;
        std::vector<std::string> had;
        if (existing) {
            for (std::string_view token : Tokens(existing->Value()))
                had.emplace_back(token);
        }
        // What the cell named already stays, unless the user chose its headers anew.
        if (!m_chosen.count(cells[i].cell))
            tokens = had;
        for (int header : headersOf[i]) {
            const std::string& id = m_ids[static_cast<std::size_t>(header)];
            if (std::find(tokens.begin(), tokens.end(), id) == tokens.end())
                tokens.push_back(id);
        }
        std::string value;
        for (const std::string& token : tokens) {
            if (!value.empty())
                value += ' ';
            value += token;
        }
        if (!existing || tokens != had)
            Write(start, attr::kHeaders, value);
    }
    m_applied = true;
    SetStatus(pagestatus::kRepaired);
    RefreshTablePreview();
    return true;
}

void CPageTableMultilevel::TakeBack()
{
    for (auto written = m_written.rbegin(); written != m_written.rend(); ++written)
        written->attribute->Revert();
    m_written.clear();
    m_applied = false;
}

// The page as it was; the headers go back to what the page works out.
void CPageTableMultilevel::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    TakeBack();
    m_chosen.clear();
    if (Window()) {
        ReadTable();
        ShowGrid();
        FillHeaders();
        RefreshTablePreview();
    }
}

} // namespace orvane
