#pragma once

#include "library/ui/pages/tables/page_table_base.h"
#include "library/ui/pages/tables/table_grid.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace orvane {

class CAttribute;
class CTableCell;

// Ties the data cells of a large table to their header cells, for tables
// whose headers stand at more than one level ("Adults" over "Single" and
// "Return", a route over its seasons). The page works out each data cell's
// headers as a browser does: the header cells above it in its columns and
// left of it in its rows, up to the next block of data, each header only in
// the direction it heads. The user checks them cell by cell and adds or
// removes headers. Applied, each header cell gets an id (its own when it has
// one) and each data cell a headers attribute naming its headers; nothing
// else of the page changes.
class CPageTableMultilevel final : public CPageTableBase {
public:
    static constexpr int kTemplate = 221;
    static constexpr int kPreview = 1020;
    static constexpr int kGrid = 1030;
    static constexpr int kCurrentCell = 1033;
    static constexpr int kHeaders = 1034;

    explicit CPageTableMultilevel(CTableRecord& table);
    ~CPageTableMultilevel() override;
    std::string_view ClassName() const override { return "CPageTableMultilevel"; }

    void OnActivate(platform::IWindow& window) override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;
    void Left() override;
    void Undo() override;
    bool Apply() override;

    const CTableGrid& Grid() const { return m_grid; }
    // The header cells a browser gives the grid cell, by grid index, in the
    // order the table reads (top to bottom, then left to right).
    std::vector<int> ImpliedHeaders(int cell) const;
    // The header cells the page writes for the grid cell: the user's choice,
    // else those implied and those its headers attribute already names.
    std::vector<int> HeadersOf(int cell) const;
    // The id each header cell is known by once applied, by grid index
    // (empty for a data cell).
    const std::vector<std::string>& HeaderIds() const { return m_ids; }

    // An id made from a header's text: "h-" and its words in lower case, joined by hyphens.
    static std::string IdFromText(std::string_view text);

protected:
    void Initialise() override;

private:
    struct Written;

    void ReadTable();
    void PlanIds();
    bool IsHeaderCell(int cell) const;
    void Scan(int cell, int x, int y, int dx, int dy, std::vector<int>& found) const;
    std::vector<int> NamedByAttribute(int cell) const;
    std::string HeaderNames(const std::vector<int>& headers) const;
    // What a screen reader hears of the cell's headers in the grid.
    std::string SpokenHeaders(int cell) const;
    void ShowGrid();
    void FillHeaders();
    void ShowCurrent();
    void Toggle(int listRow);
    void Write(CElement& element, int attributeId, const std::string& value);
    void TakeBack();

    CTableGrid m_grid;
    std::vector<int> m_headerCells;   // grid indices of the header cells, in table order
    std::vector<bool> m_columnHeader;  // by grid cell: heads the cells below it
    std::vector<bool> m_rowHeader;     // by grid cell: heads the cells beside it
    std::vector<std::string> m_ids;    // by grid cell
    // The user's choice of headers, by data cell; a cell not in here gets what the page works out.
    std::unordered_map<const CTableCell*, std::vector<const CTableCell*>> m_chosen;
    int m_current = 0;
    std::vector<Written> m_written;
    bool m_applied = false;
};

} // namespace orvane
