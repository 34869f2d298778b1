#pragma once

#include "library/ui/pages/tables/page_table_base.h"

#include <vector>

namespace orvane {

class CTableCell;

// A layout table is read by a screen reader cell after cell, row by row, as
// the page's source has them: what looks right side by side may not make
// sense in that order. The page lists the cells in the order they are read,
// shows the table with the chosen cell marked, and takes the user's
// judgement: the order makes sense (kept in the table's record, and through
// it in the object registry, so later sessions do not ask again), or the
// author must reorder the table, which the page cannot do for them.
class CPageTableLinearize final : public CPageTableBase {
public:
    static constexpr int kTemplate = 224;
    static constexpr int kCells = 1040;
    static constexpr int kPreview = 1020;
    static constexpr int kMakesSense = 1179;
    static constexpr int kDoesNot = 1180;
    static constexpr int kVerdict = 1056;

    explicit CPageTableLinearize(CTableRecord& table);
    std::string_view ClassName() const override { return "CPageTableLinearize"; }

    void OnActivate(platform::IWindow& window) override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;
    bool Apply() override;
    // The judgement is taken back, also from the registry: the table is asked about again.
    void Undo() override;

    // The list's line for a cell: "3. Row 2, cell 1: Opening hours".
    static std::string ReadingOrderLine(int number, int row, int cell, std::string_view text);

protected:
    void Initialise() override;

private:
    void Choose(int answer);
    void ShowCell(int index);

    std::vector<const CTableCell*> m_order;
    int m_answer = 0;
    int m_current = 0;
};

} // namespace orvane
