#pragma once

#include "library/ui/pages/tables/page_table_base.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace orvane {

class CTableCell;

// Gives a data table's header cells their abbreviations: the short names a
// screen reader repeats with every data cell, instead of the whole header.
// The cells listed are those a reader takes as headers: the first cell of
// each row and every cell of the first row. Each is proposed the first word
// of its text; applied, each abbreviation typed is written as the cell's
// abbr attribute.
class CPageTableHeaderAbbrev final : public CPageTableBase {
public:
    static constexpr int kTemplate = 230;
    static constexpr int kPreview = 1020;
    static constexpr int kCells = 1041;
    static constexpr int kAbbreviation = 1042;

    explicit CPageTableHeaderAbbrev(CTableRecord& table);
    ~CPageTableHeaderAbbrev() override;
    std::string_view ClassName() const override { return "CPageTableHeaderAbbrev"; }

    void OnActivate(platform::IWindow& window) override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;
    void Undo() override;
    bool Apply() override;

    // The first word of the text, without the punctuation around it.
    static std::string ProposedAbbreviation(std::string_view cellText);

protected:
    void Initialise() override;

private:
    struct Given;

    void ReadCells();
    void FillList();
    void ShowSelected();
    void TakeBack();

    std::vector<CTableCell*> m_cells;
    std::vector<std::string> m_places;  // "Row 1, column 2", by cell
    std::unordered_map<const CTableCell*, std::string> m_typed;
    int m_selected = 0;
    bool m_filling = false;
    std::vector<Given> m_given;
    bool m_applied = false;
    bool m_savedRowFlag = false;
    bool m_savedColumnFlag = false;
};

} // namespace orvane
