#include "table_record.h"

#include "table_tags.h"

#include "library/html/attribute.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "library/registry/object_database.h"
#include "library/registry/src_table.h"

#include <algorithm>
#include <cctype>
#include <new>

namespace orvane {

// --- Cells and rows ------------------------------------------------------------------

CTableCell::CTableCell(CElement& start)
    : m_start(&start), m_type(start.Kind() == tag::kTh ? cell_type::kTh : cell_type::kTd), m_originalType(m_type)
{
    // The first attribute of each id counts, as FindAttribute gives it; a
    // table has many cells, so their attributes are walked once.
    for (CAttribute* a = start.AttributesAfterName(); a; a = a->Next()) {
        switch (a->Id()) {
        case attr::kAbbr:
            m_abbr = m_abbr ? m_abbr : a;
            break;
        case attr::kId:
            m_id = m_id ? m_id : a;
            break;
        case attr::kHeaders:
            m_headers = m_headers ? m_headers : a;
            break;
        default:
            break;
        }
    }
    if (m_abbr && !m_abbr->IsEmpty())
        m_abbreviations = std::make_unique<Abbreviations>(Abbreviations{m_abbr->GetValue(), m_abbr->GetValue()});
}

namespace {

const std::string& NoAbbreviation()
{
    static const std::string none;
    return none;
}

} // namespace

const std::string& CTableCell::Abbreviation() const
{
    return m_abbreviations ? m_abbreviations->current : NoAbbreviation();
}

const std::string& CTableCell::OriginalAbbreviation() const
{
    return m_abbreviations ? m_abbreviations->original : NoAbbreviation();
}

bool CTableCell::IsIgnored() const { return m_start->IsDeleted(); }

std::string CTableCell::Text() const
{
    std::string text;
    for (const CElement* e : m_content) {
        if (e->Kind() == kind::kText && !e->IsDeleted())
            text.append(e->Text());
    }
    return text;
}

bool CTableCell::HasText() const
{
    for (const CElement* e : m_content) {
        if (e->Kind() == kind::kText && !e->IsDeleted() && !Trim(e->Text()).empty())
            return true;
    }
    return false;
}

bool CTableCell::HasHeaderAssociation() const
{
    for (int id : {attr::kScope, attr::kAxis, attr::kHeaders}) {
        const CAttribute* a = m_start->FindAttribute(id);
        if (a && !a->IsHidden())
            return true;
    }
    return false;
}

void CTableCell::SetAbbreviation(std::string_view text)
{
    if (!m_abbr) {
        auto made = std::make_unique<CAttribute>();
        made->NameById(attr::kAbbr);
        made->SetHideable(true);
        m_abbr = made.get();
        m_start->InsertAttribute(std::move(made));
    }
    if (!m_abbr->SetValue(text))
        return;
    if (!m_abbreviations)
        m_abbreviations = std::make_unique<Abbreviations>();
    m_abbreviations->current.assign(text);
    m_abbr->Hide(text.empty());
    m_abbr->SetChanged(true);
    m_start->SetModified(true);
}

const CTableCell* CTableRow::FirstCountedCell() const
{
    for (const CTableCell* cell : m_cells) {
        if (!cell->IsIgnored())
            return cell;
    }
    return nullptr;
}

int CTableRow::CountedCellCount() const
{
    int count = 0;
    for (const auto& cell : m_cells) {
        if (!cell->IsIgnored())
            ++count;
    }
    return count;
}

// --- Building ----------------------------------------------------------------------

int CTableRecord::Build(CHtmlDocument& document, CElement& table)
{
    if (m_built) {
        if (document.ObjectRegistry() != m_registry) {
            if (document.ObjectRegistry())
                m_type = table_type::kUnknown;
            Recognise();
        }
        return 1;
    }
    m_built = true;
    m_document = &document;
    m_table = &table;
    m_end = table.Partner();
    m_summary = table.FindAttribute(attr::kSummary);

    Walk();
    Link();

    m_rowAbbreviationsFlag = HasRowHeaderAbbreviations();
    m_columnAbbreviationsFlag = HasColumnHeaderAbbreviations();

    if (m_firstRowFlag && !m_rows.empty())
        ExcludeRow(*m_rows.front(), true);
    if (m_firstColumnFlag) {
        for (const auto& row : m_rows) {
            if (!row->m_cells.empty())
                ExcludeCell(*row->m_cells.front(), true);
        }
    }

    Number();
    Recognise();
    return 1;
}

namespace {

// Calls visit with every element of the table starting at `table` that is not
// deleted, up to and including its end tag; nested tables are passed over.
template <class Visit>
void ForEachOwnElement(const CHtmlDocument& document, const CElement& table, Visit visit)
{
    const std::vector<CElement*>& elements = document.Elements();
    std::size_t i = document.IndexOf(table) + 1;
    while (i < elements.size()) {
        CElement* e = elements[i++];
        if (e->IsDeleted())
            continue;
        if (e->Kind() == tag::kTable) {
            // A nested table is its own record's business: jump over it. One
            // without an end tag reaches to the end of the page (its partner
            // would otherwise have closed it), so nothing after it is ours.
            const CElement* nestedEnd = e->Partner();
            if (!nestedEnd || document.IndexOf(*nestedEnd) < i)
                return;
            i = document.IndexOf(*nestedEnd) + 1;
            continue;
        }
        visit(*e);
        if (e->Kind() == tag::kTable + kind::kEndOffset)
            return;
    }
}

} // namespace

void CTableRecord::Walk()
{
    // Counted first, so the lists are sized once; without the memory for
    // that, they grow as the walk goes.
    std::size_t rowCount = 0;
    std::size_t cellCount = 0;
    std::size_t otherCount = 0;
    ForEachOwnElement(*m_document, *m_table, [&](const CElement& e) {
        const int k = e.Kind();
        rowCount += k == table_tag::kTr;
        cellCount += k == tag::kTd || k == tag::kTh;
        otherCount += k != table_tag::kTr && k != tag::kTd && k != tag::kTh;
    });
    try {
        m_rowStore.reserve(rowCount);
        m_cellStore.reserve(cellCount);
        m_cellContents.reserve(otherCount);
    } catch (const std::bad_alloc&) {
    }

    // Rows and cells are taken by their place in the lists.
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t row = kNone;
    std::size_t cell = kNone;
    bool captionMode = false;
    ForEachOwnElement(*m_document, *m_table, [&](CElement& e) {
        const int k = e.Kind();
        switch (k) {
        case table_tag::kTr:
            try {
                m_rowStore.emplace_back(e).m_firstCell = static_cast<std::uint32_t>(m_cellStore.size());
                row = m_rowStore.size() - 1;
            } catch (const std::bad_alloc&) {
                row = kNone;  // the row is dropped with its cells
            }
            cell = kNone;
            break;
        case tag::kTd:
        case tag::kTh:
            if (row != kNone)
                AddCell(row, e, cell);
            break;
        case tag::kTd + kind::kEndOffset:
        case tag::kTh + kind::kEndOffset:
            if (cell != kNone) {
                m_cellStore[cell].m_end = &e;
                cell = kNone;
            }
            break;
        case table_tag::kTr + kind::kEndOffset:
            if (row != kNone)
                m_rowStore[row].m_end = &e;
            cell = kNone;
            break;
        case table_tag::kCaption:
            captionMode = true;
            m_caption.push_back(&e);
            break;
        case table_tag::kCaption + kind::kEndOffset:
            captionMode = false;
            m_caption.push_back(&e);
            break;
        case kind::kText:
            if (captionMode)
                m_caption.push_back(&e);
            else if (cell != kNone)
                m_cellContents.push_back(&e);
            break;
        case tag::kTable + kind::kEndOffset:
            m_end = &e;
            break;
        default:
            if (cell != kNone)
                m_cellContents.push_back(&e);
            break;
        }
        if (captionMode && (k == table_tag::kTr || k == tag::kTh || k == tag::kTd))
            captionMode = false;
    });
}

void CTableRecord::AddCell(std::size_t row, CElement& start, std::size_t& current)
{
    try {
        m_cellStore.emplace_back(start).m_contentStart = static_cast<std::uint32_t>(m_cellContents.size());
        current = m_cellStore.size() - 1;
        ++m_rowStore[row].m_cellCount;
    } catch (const std::bad_alloc&) {
        current = static_cast<std::size_t>(-1);  // the cell is dropped, its content with it
    }
}

void CTableRecord::Link()
{
    // The rows' cells follow each other in the list of cells, and each cell's
    // content, listed right after the cell was made, runs to where the next
    // cell's starts.
    m_cells.reserve(m_cellStore.size());
    for (CTableCell& cell : m_cellStore)
        m_cells.push_back(&cell);
    m_rows.reserve(m_rowStore.size());
    for (CTableRow& row : m_rowStore) {
        row.m_cells = CTableCellList(m_cells.data() + row.m_firstCell, row.m_cellCount);
        m_rows.push_back(&row);
    }
    const std::span<CElement* const> contents(m_cellContents);
    for (std::size_t i = 0; i < m_cellStore.size(); ++i) {
        CTableCell& cell = m_cellStore[i];
        const std::size_t end = i + 1 < m_cellStore.size() ? m_cellStore[i + 1].m_contentStart : contents.size();
        cell.m_content = contents.subspan(cell.m_contentStart, end - cell.m_contentStart);
    }
}

void CTableRecord::Number()
{
    int next = 0;
    for (const auto& row : m_rows) {
        for (const auto& cell : row->m_cells)
            cell->m_sequenceNumber = next++;
    }
}

void CTableRecord::Recognise()
{
    m_registry = m_document->ObjectRegistry();
    m_registryRecord = nullptr;
    m_id.clear();
    if (!m_registry)
        return;
    const std::string& documentName = m_document->Name();
    try {
        bool bytesDiffer = false;
        m_id = RegistryKey(&bytesDiffer);
        CSrcTable* known = m_registry->FindTable(documentName, m_id);
        if (!known && bytesDiffer) {
            // Decided before texts were compared as read: the table keeps
            // the key its record was found by.
            std::string bytesKey = BytesRegistryKey();
            if ((known = m_registry->FindTable(documentName, bytesKey)))
                m_id = std::move(bytesKey);
        }
        if (known) {
            m_registryRecord = known;
            // Another table of the page with the same key, still waiting for its answer.
            if (known->IsJudged())
                m_type = known->IsLayout() ? table_type::kLayout : table_type::kData;
            return;
        }
        m_registryRecord = m_registry->AddTable(CSrcTable::Unjudged(m_id), documentName);
    } catch (const std::bad_alloc&) {
        m_registryRecord = nullptr;
    }
}

// --- Type and registry ------------------------------------------------------------------

void CTableRecord::SetType(int type)
{
    m_type = type;
    if (m_registryRecord && (type == table_type::kLayout || type == table_type::kData))
        m_registryRecord->SetLayout(type == table_type::kLayout);
}

bool CTableRecord::LinearizationConfirmed() const
{
    return m_registryRecord ? m_registryRecord->Linearize() : m_linearizationConfirmed;
}

void CTableRecord::SetLinearizationConfirmed(bool confirmed)
{
    m_linearizationConfirmed = confirmed;
    if (m_registryRecord)
        m_registryRecord->SetLinearize(confirmed);
}

// --- Queries ---------------------------------------------------------------------------

CTableRow* CTableRecord::FirstCountedRow() const
{
    for (CTableRow* row : m_rows) {
        if (!row->m_excluded)
            return row;
    }
    return nullptr;
}

int CTableRecord::RowCount() const
{
    int count = 0;
    for (const auto& row : m_rows) {
        if (!row->m_excluded)
            ++count;
    }
    return count;
}

int CTableRecord::ColumnCount() const
{
    int columns = 0;
    for (const auto& row : m_rows) {
        if (!row->m_excluded)
            columns = std::max(columns, row->CountedCellCount());
    }
    return columns;
}

namespace {

// The cell where the first row meets the first column heads neither when
// it is empty, as it mostly is; left a data cell it is no missing header.
bool IsEmptyCorner(const CTableCell& cell, const CTableRow* firstRow)
{
    return firstRow && firstRow->FirstCountedCell() == &cell && cell.Type() != cell_type::kTh && !cell.HasText();
}

} // namespace

bool CTableRecord::HasRowHeaders() const
{
    const CTableRow* firstRow = FirstCountedRow();
    for (const auto& row : m_rows) {
        if (row->m_excluded)
            continue;
        const CTableCell* first = row->FirstCountedCell();
        if (first && (first->Type() != cell_type::kTh || !first->HasText()) && !IsEmptyCorner(*first, firstRow))
            return false;
    }
    return true;
}

bool CTableRecord::HasColumnHeaders() const
{
    const CTableRow* first = FirstCountedRow();
    if (!first)
        return true;
    for (const auto& cell : first->m_cells) {
        if (!cell->IsIgnored() && (cell->Type() != cell_type::kTh || !cell->HasText()) && !IsEmptyCorner(*cell, first))
            return false;
    }
    return true;
}

bool CTableRecord::HasHeaderCells() const
{
    return std::any_of(m_rows.begin(), m_rows.end(), [](const auto& row) {
        return !row->m_excluded && std::any_of(row->m_cells.begin(), row->m_cells.end(), [](const CTableCell* cell) {
                   return !cell->IsIgnored() && cell->Type() == cell_type::kTh;
               });
    });
}

namespace {

bool HasWordOrFigure(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return std::isalnum(byte) || byte >= 0x80;
    });
}

bool IsFormField(const CElement& e)
{
    return e.Kind() == tag::kInput || e.Kind() == tag::kSelect || e.Kind() == tag::kTextarea;
}

// The words a th cell heads its row or column with. A cell that holds a form
// field and its label gives the label's words to the field, which a reader
// hears with the field: they are no header to shorten (the label page writes
// such a label into a header cell that held its field alone).
bool HasWordsToShorten(const CTableCell& cell)
{
    const std::span<CElement* const> content = cell.Content();
    const bool holdsField = std::any_of(content.begin(), content.end(),
                                        [](const CElement* e) { return !e->IsDeleted() && IsFormField(*e); });
    int inLabel = 0;
    for (const CElement* e : content) {
        if (e->IsDeleted())
            continue;
        if (holdsField && e->Kind() == tag::kLabel)
            ++inLabel;
        else if (holdsField && e->Kind() == tag::kLabel + kind::kEndOffset)
            inLabel = std::max(0, inLabel - 1);
        else if (e->Kind() == kind::kText && inLabel == 0 && HasWordOrFigure(e->Text()))
            return true;
    }
    return false;
}

} // namespace

bool CTableRecord::TakenAsHeader(const CTableCell& cell, bool tableHasHeaderCells)
{
    // A th cell of pictures (or marks) alone has no word to shorten.
    if (cell.Type() == cell_type::kTh)
        return HasWordsToShorten(cell);
    const std::string text = cell.Text();
    if (tableHasHeaderCells)
        return false;
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return std::isalpha(byte) || byte >= 0x80;
    });
}

bool CTableRecord::HasRowHeaderAbbreviations() const
{
    const bool headers = HasHeaderCells();
    for (const auto& row : m_rows) {
        if (row->m_excluded)
            continue;
        const CTableCell* first = row->FirstCountedCell();
        if (first && TakenAsHeader(*first, headers) && first->Abbreviation().empty())
            return false;
    }
    return true;
}

bool CTableRecord::HasColumnHeaderAbbreviations() const
{
    const CTableRow* first = FirstCountedRow();
    if (!first)
        return false;
    const bool headers = HasHeaderCells();
    for (const auto& cell : first->m_cells) {
        if (!cell->IsIgnored() && TakenAsHeader(*cell, headers) && cell->Abbreviation().empty())
            return false;
    }
    return true;
}

bool CTableRecord::HeaderCellsHaveAbbreviations() const
{
    return HasRowHeaderAbbreviations() && HasColumnHeaderAbbreviations();
}

bool CTableRecord::HasHeaderAssociations() const
{
    for (const auto& row : m_rows) {
        if (row->m_excluded)
            continue;
        for (const auto& cell : row->m_cells) {
            if (!cell->IsIgnored() && cell->HasHeaderAssociation())
                return true;
        }
    }
    return false;
}

bool CTableRecord::HasStructuralMarkup() const
{
    for (const auto& row : m_rows) {
        for (const auto& cell : row->m_cells) {
            if (!cell->IsIgnored() && cell->Type() == cell_type::kTh)
                return true;
        }
    }
    return false;
}

// --- Excluding -------------------------------------------------------------------------

void CTableRecord::ExcludeCell(CTableCell& cell, bool exclude)
{
    cell.m_start->SetDeleted(exclude);
    if (cell.m_end)
        cell.m_end->SetDeleted(exclude);
    for (CElement* e : cell.m_content)
        e->SetDeleted(exclude);
}

void CTableRecord::ExcludeRow(CTableRow& row, bool exclude)
{
    row.m_excluded = exclude;
    row.m_start->SetDeleted(exclude);
    if (row.m_end)
        row.m_end->SetDeleted(exclude);
    for (const auto& cell : row.m_cells)
        ExcludeCell(*cell, exclude);
}

} // namespace orvane
