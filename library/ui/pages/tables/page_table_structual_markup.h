#pragma once

#include "library/ui/pages/tables/page_table_base.h"

#include <string>
#include <vector>

namespace orvane {

class CElement;
class CTableCell;
class CTableRow;

// A table the user called a layout table uses header cells. Either it holds
// data after all: then its rows are grouped into head, body and foot (thead,
// tbody, tfoot) and it is a data table from now on, which the registry keeps;
// or it only arranges the page: then its header cells become plain cells, so
// no screen reader announces parts of the page as column headers.
class CPageTableStructualMarkup final : public CPageTableBase {
public:
    static constexpr int kTemplate = 220;
    static constexpr int kHoldsData = 1400;
    static constexpr int kPlainCells = 1401;
    static constexpr int kRows = 1402;
    static constexpr int kHead = 1403;
    static constexpr int kBody = 1404;
    static constexpr int kFoot = 1405;
    static constexpr int kPreview = 1406;

    // The groups a row can be in, in the order they stand in the table.
    enum Group { kInHead, kInBody, kInFoot };

    explicit CPageTableStructualMarkup(CTableRecord& table, std::string_view lineEnd);
    std::string_view ClassName() const override { return "CPageTableStructualMarkup"; }

    void Undo() override;
    bool Apply() override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;
    void OnActivate(platform::IWindow& window) override;

protected:
    void Initialise() override;

private:
    struct Row {
        CTableRow* row;
        int group = kInBody;
        bool grouped = false;          // inside a group the page has already
        CElement* groupStart = nullptr; // that group's start tag
        CElement* last = nullptr;       // the row's last element of its own
    };

    void FindRows();
    void ProposeGroups();
    void FillRows(platform::IWindow& window);
    void ShowMode(platform::IWindow& window);
    // The table as the chosen repair leaves it.
    void ShowPreview();
    void ShowCurrentRow(platform::IWindow& window);
    void SetCurrentGroup(platform::IWindow& window, int group);
    // The message that keeps the user on the page; 0 when the groups can be written.
    int GroupsProblem() const;
    bool WriteGroups();
    void WritePlainCells();
    void TakeBack();
    CElement* Insert(CElement& at, bool after, std::string text);
    std::string TagName(std::string_view name) const;

    std::string m_lineEnd;
    std::vector<Row> m_rows;
    bool m_found = false;
    bool m_holdsData = true;
    bool m_html5 = false;
    // What the repair did, so undo can take it back.
    bool m_written = false;
    int m_typeBefore = 0;
    std::vector<CElement*> m_inserted;
    std::vector<CElement*> m_moved;
    // A header cell written as a plain one, with its tags as they were.
    struct Renamed {
        CTableCell* cell;
        std::string startText;
        bool startModified;
        std::string endText;
        bool endModified;
    };
    std::vector<Renamed> m_renamed;
};

} // namespace orvane
