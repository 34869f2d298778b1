#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class CAttribute;
class CElement;
class CHtmlDocument;
class CSrcObjectDatabase;
class CSrcTable;

// What kind of table the user says a table is.
namespace table_type {
constexpr int kUnknown = 0, kLayout = 1, kData = 2;
}

// What a cell is read as: a td or a th cell.
namespace cell_type {
constexpr int kTd = 1, kTh = 2;
}

// One td or th cell of a table, with the elements between its tags.
class CTableCell {
public:
    explicit CTableCell(CElement& start);
    CTableCell(const CTableCell&) = delete;
    CTableCell& operator=(const CTableCell&) = delete;
    // Only while its record is being built, before anything points at it.
    CTableCell(CTableCell&&) noexcept = default;

    int Type() const { return m_type; }
    // The repair pages retype cells; the type as read stays for comparing.
    void SetType(int type) { m_type = type; }
    int OriginalType() const { return m_originalType; }

    // Position among all cells of the table, from 0 in row order; -1 until numbered.
    int SequenceNumber() const { return m_sequenceNumber; }

    CElement& StartElement() const { return *m_start; }
    // Null when the cell is not closed.
    CElement* EndElement() const { return m_end; }
    std::span<CElement* const> Content() const { return m_content; }

    CAttribute* AbbrAttribute() const { return m_abbr; }
    CAttribute* IdAttribute() const { return m_id; }
    CAttribute* HeadersAttribute() const { return m_headers; }

    const std::string& Abbreviation() const;
    const std::string& OriginalAbbreviation() const;
    // Gives the cell this abbreviation and writes it into the cell's abbr
    // attribute (made when missing, hidden again when the text is empty).
    void SetAbbreviation(std::string_view text);

    // A cell whose start tag was deleted no longer counts.
    bool IsIgnored() const;
    // The texts of the content, one after the other.
    std::string Text() const;
    // Whether Text(), trimmed, would not be empty.
    bool HasText() const;
    // A scope, axis or headers attribute ties the cell to its header cells.
    bool HasHeaderAssociation() const;

private:
    friend class CTableRecord;

    CElement* m_start;
    CElement* m_end = nullptr;
    std::span<CElement* const> m_content;  // in the record's list of cell contents
    std::uint32_t m_contentStart = 0;     // where the content starts in that list
    CAttribute* m_abbr = nullptr;
    CAttribute* m_id = nullptr;
    CAttribute* m_headers = nullptr;
    // Few cells have an abbreviation, and a table has many cells: the texts
    // are kept apart, only for a cell that has or is given one.
    struct Abbreviations {
        std::string current;
        std::string original;
    };
    std::unique_ptr<Abbreviations> m_abbreviations;
    int m_type;
    int m_originalType;
    int m_sequenceNumber = -1;
};

// The cells of a row: a view of its record's list of cells.
class CTableCellList : public std::span<CTableCell* const> {
public:
    using std::span<CTableCell* const>::span;
    CTableCell* at(std::size_t index) const
    {
        if (index >= size())
            throw std::out_of_range("no such cell in the row");
        return (*this)[index];
    }
};

// One tr row of a table.
class CTableRow {
public:
    explicit CTableRow(CElement& start) : m_start(&start) {}
    CTableRow(const CTableRow&) = delete;
    CTableRow& operator=(const CTableRow&) = delete;
    // Only while its record is being built, before anything points at it.
    CTableRow(CTableRow&&) noexcept = default;

    CElement& StartElement() const { return *m_start; }
    // Null when the row is not closed.
    CElement* EndElement() const { return m_end; }
    CTableCellList Cells() const { return m_cells; }
    // Every query of the checks passes an excluded row over.
    bool IsExcluded() const { return m_excluded; }

    // The first cell that is not ignored; null when there is none.
    const CTableCell* FirstCountedCell() const;
    int CountedCellCount() const;

private:
    friend class CTableRecord;

    CElement* m_start;
    CElement* m_end = nullptr;
    CTableCellList m_cells;
    std::uint32_t m_firstCell = 0;  // in the record's cells, while it is built
    std::uint32_t m_cellCount = 0;
    bool m_excluded = false;
};

// A table of a page read as rows of cells, with its caption, its summary, its
// type and the registry record that remembers the user's judgement of it. The
// record is built once from the page; later changes of the page do not change
// its rows and cells, but deleted elements make cells count no longer.
class CTableRecord {
public:
    // Flags of WriteMarkup.
    static constexpr unsigned kMarkupShowGrid = 0x1;  // draw the cells' borders, as previews do
    // leave out the widths and heights of the table and its cells, so that
    // a table made for a wide window fits a narrow preview
    static constexpr unsigned kMarkupFitWidth = 0x2;

    CTableRecord();
    ~CTableRecord();
    CTableRecord(const CTableRecord&) = delete;
    CTableRecord& operator=(const CTableRecord&) = delete;

    // Reads the table that starts at `table` from the document and recognises
    // it in the document's object registry. A built record is not read again;
    // only when the document has another registry attached since (a new
    // session), the table is recognised anew in it, so the record never keeps
    // a record of a registry that is gone. Always 1: what cannot be read is
    // left out.
    int Build(CHtmlDocument& document, CElement& table);
    bool IsBuilt() const { return m_built; }

    CElement* TableElement() const { return m_table; }
    // The table end tag that closed the walk; null when the table is not closed.
    CElement* EndElement() const { return m_end; }
    CHtmlDocument* Document() const { return m_document; }
    const std::vector<CTableRow*>& Rows() const { return m_rows; }
    const std::vector<CElement*>& CaptionElements() const { return m_caption; }

    // --- Type and registry ----------------------------------------------------------
    int Type() const { return m_type; }
    // The user's answer; a layout or data answer also reaches the registry record.
    void SetType(int type);
    // A type taken for one run only, as a batch run without anyone to ask
    // takes it: the registry record stays unjudged, so no later session
    // mistakes it for the user's decision.
    void AssumeType(int type) { m_type = type; }
    // The id the registry knows the table by: the digest of its summary, or,
    // for a table without one, of its rows and cells (their texts and whether
    // each is a header or a data cell). Every look-up of a table in the
    // registry goes by this id. The texts are compared as the user reads
    // them, so a table decided on a page in one encoding is known on a page
    // in another; *bytesDiffer (when given) is set when that made a
    // difference to the bytes as they stand.
    std::string RegistryKey(bool* bytesDiffer = nullptr) const;
    // The id an older registry knew the table by: made of the bytes as they
    // stand, character references and all.
    std::string BytesRegistryKey() const;
    // The id the table was recognised by; empty while no registry is attached.
    const std::string& Id() const { return m_id; }
    CSrcTable* RegistryRecord() const { return m_registryRecord; }
    // Whether the user confirmed that the layout table reads well linearised.
    bool LinearizationConfirmed() const;
    void SetLinearizationConfirmed(bool confirmed);

    // --- Queries of the checks (excluded rows and ignored cells pass over) ----------
    int RowCount() const;
    int ColumnCount() const;
    bool HasRowHeaders() const;
    bool HasColumnHeaders() const;
    // Each row's first cell and every cell of the first row have an
    // abbreviation where they are taken as headers (TakenAsHeader): a
    // figure ("12.5") needs none.
    bool HeaderCellsHaveAbbreviations() const;
    bool HasRowHeaderAbbreviations() const;
    bool HasColumnHeaderAbbreviations() const;
    bool HasHeaderAssociations() const;
    // Whether any counted cell is a th cell.
    bool HasHeaderCells() const;
    // A cell where a header is looked for (a row's first, the first row's)
    // is taken as one to shorten when it is a th cell with text (not
    // pictures alone, nor the label of a form field the cell holds); in a table without any, when its text has a letter,
    // as a heading's has and a figure's ("12.5") has not.
    static bool TakenAsHeader(const CTableCell& cell, bool tableHasHeaderCells);
    // A th cell in any row, excluded rows included: header markup used for layout.
    bool HasStructuralMarkup() const;
    // The abbreviation flags as the table was when it was read.
    bool RowHeaderAbbreviationsFlag() const { return m_rowAbbreviationsFlag; }
    bool ColumnHeaderAbbreviationsFlag() const { return m_columnAbbreviationsFlag; }

    // --- Leaving rows and cells out of the page ----------------------------------------
    // Marks the row's elements and those of its cells deleted (or restores them).
    void ExcludeRow(CTableRow& row, bool exclude);
    void ExcludeCell(CTableCell& cell, bool exclude);
    // When set before the record is built, the build leaves out the first row
    // or the first cell of every row (header rows and columns made by a repair).
    void SetFirstRowFlag(bool on) { m_firstRowFlag = on; }
    void SetFirstColumnFlag(bool on) { m_firstColumnFlag = on; }

    // --- Caption and summary, as the repair pages change them ------------------------
    // The caption's text and the summary's value as the page has them (bytes).
    std::string CaptionText() const;
    // Writes the user's text (escaped and in the page's encoding) into the page's caption, making the caption when the
    // table has none. 0 when memory ran out (the page is then unchanged).
    int SetCaption(std::string_view text);
    // Puts the caption back as it was before the first SetCaption.
    void UndoCaption();

    // The value of the summary attribute; empty when there is none.
    std::string SummaryValue() const;
    // Sets the summary attribute to the user's text, adding it when missing;
    // escaped for an attribute and in the page's encoding.
    int SetSummary(std::string_view text);
    void UndoSummary();

    // A table without a summary is known to the registry by its cells: after
    // a page retyped them, the table's entry takes the key they give now.
    void FollowRegistryKey();

    // --- Markup ------------------------------------------------------------------------
    // Writes the table as markup: its start tag, caption, the rows and cells
    // that count and their content. 1 when everything was written. A marked
    // cell stands out by its background and a sign before its content.
    int WriteMarkup(std::ostream& out, unsigned flags, const CTableCell* marked = nullptr) const;

private:
    struct CaptionChange;
    struct SummaryChange;

    void Walk();
    void AddCell(std::size_t row, CElement& start, std::size_t& current);
    void Link();
    void Number();
    void Recognise();
    CTableRow* FirstCountedRow() const;
    void AppendMarkup(std::string& text, unsigned flags, const CTableCell* marked) const;
    CElement* InsertMade(const CElement& after, int kind, std::string_view text);

    CHtmlDocument* m_document = nullptr;
    CElement* m_table = nullptr;
    CElement* m_end = nullptr;
    CAttribute* m_summary = nullptr;
    // A table has many small rows and cells: they are kept in lists of the
    // record, not each on its own, and the rows and cells view parts of them.
    std::vector<CTableRow> m_rowStore;
    std::vector<CTableCell> m_cellStore;
    std::vector<CTableCell*> m_cells;       // in row order
    std::vector<CElement*> m_cellContents;  // in cell order
    std::vector<CTableRow*> m_rows;
    std::vector<CElement*> m_caption;  // not owned
    int m_type = table_type::kUnknown;
    bool m_built = false;
    bool m_rowAbbreviationsFlag = false;
    bool m_columnAbbreviationsFlag = false;
    bool m_firstRowFlag = false;
    bool m_firstColumnFlag = false;
    bool m_linearizationConfirmed = false;  // kept here when there is no registry record
    std::string m_id;
    CSrcObjectDatabase* m_registry = nullptr;  // the one recognised in
    CSrcTable* m_registryRecord = nullptr;     // owned by m_registry
    std::unique_ptr<CaptionChange> m_captionChange;
    std::unique_ptr<SummaryChange> m_summaryChange;
};

} // namespace orvane
