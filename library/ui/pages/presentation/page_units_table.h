#pragma once

#include "library/ui/ticked_list_page.h"

#include "library/checks/absolute_units.h"

#include <string>
#include <vector>

namespace orvane {

// Sizes in pixels keep a table or a frameset from following the reader's
// window and text size. The page lists each absolute size (element,
// attribute, value) with its relative counterpart: a width as its share of
// the page (or of the table, for a cell of a table that has a width in
// pixels), a frameset's rows or cols as percentages with the largest frame
// taking the rest, and a table's height taken out. The user edits or unticks
// each proposal; only the ticked attributes are written.
class CPageUnitsTable final : public CTickedListPage {
public:
    static constexpr int kTemplate = 1318;
    static constexpr int kSizes = 1360;
    static constexpr int kBefore = 1361;
    static constexpr int kAfter = 1362;
    static constexpr int kProposal = 1370;

    CPageUnitsTable(std::vector<AbsoluteSize> sizes, const CTableRecord* table);
    std::string_view ClassName() const override { return "CPageUnitsTable"; }

    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;
    bool Apply() override;

protected:
    void Initialise() override;

private:
    struct Row {
        AbsoluteSize size;
        std::string found;     // the value as the page had it, decoded
        std::string proposal;  // what is written; empty takes the attribute out
        std::string label;     // the element as the list names it
        std::string style;     // a style size's whole style text, as the page had it, decoded
        bool frameList = false;
        bool ticked = true;
        bool saved = false;
        bool wasHideable = false;
    };

    void ShowRow(platform::IWindow& window, int row);
    void ShowMarkup(platform::IWindow& window) override;
    void Write(Row& row);
    // A style attribute with its ticked sizes written relative, from the style the page had.
    std::string WrittenStyle(const Row& row) const;
    void TakeBack() override;
    void WriteTicked() override;
    bool Acceptable(const Row& row) const;
    // The values as the user reads them, in the page's encoding.
    void DecodeFoundTexts();
    std::string ShownMarkup(const CElement& element) const;

    std::vector<Row> m_rows;
    bool m_written = false;
    bool m_filling = false;
    bool m_decoded = false;
};

} // namespace orvane
