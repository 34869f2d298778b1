#pragma once

#include "library/ui/pages/tables/page_table_base.h"
#include "library/ui/pages/tables/table_grid.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace orvane {

class CAttribute;
class CElement;
class CTableCell;

// Gives a data table its header cells. The table is shown as a grid; the page
// proposes the first row, and the first column when it names what the
// numbers beside it are, and the user marks or unmarks cells, rows and
// columns. Applied, each marked cell is written as a th cell with the scope
// it heads (a column or a row), an unmarked th becomes a td, and nothing else
// of the page changes.
class CPageTableHeader final : public CPageTableBase {
public:
    static constexpr int kTemplate = 163;
    static constexpr int kPreview = 1020;
    static constexpr int kGrid = 1030;
    static constexpr int kMarkRow = 1031;
    static constexpr int kMarkColumn = 1032;
    static constexpr int kCurrentCell = 1033;

    explicit CPageTableHeader(CTableRecord& table);
    ~CPageTableHeader() override;
    std::string_view ClassName() const override { return "CPageTableHeader"; }

    void OnActivate(platform::IWindow& window) override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;
    void Left() override;
    void Undo() override;
    bool Apply() override;

    // What the page proposes for the table as the record has it: a header mark by grid cell.
    std::vector<bool> Proposal() const;
    const CTableGrid& Grid() const { return m_grid; }
    // The marks the user has set so far, by grid cell.
    std::vector<bool> Marks() const;

protected:
    void Initialise() override;

private:
    struct Retyped;

    void ReadGrid();
    void ShowGrid();
    void ShowCurrent();
    void Toggle(platform::GridScope scope);
    void SetMark(int cell, bool header);
    bool IsMarked(int cell) const;
    void TakeBack();

    CTableGrid m_grid;
    // The user's marks, by cell; a cell not in here shows what the record says.
    std::unordered_map<const CTableCell*, bool> m_marks;
    bool m_proposed = false;
    int m_current = 0;
    std::vector<Retyped> m_retyped;
    bool m_applied = false;
    bool m_savedRowHeaders = false;
    bool m_savedColumnHeaders = false;
};

} // namespace orvane
