#pragma once

#include "library/ui/ticked_list_page.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class CAttribute;
class CHtmlDocument;

// Mouse events without their keyboard counterparts: a keyboard user never
// sets them off. Each element's mouse event is listed with the keyboard event
// that runs the same script (onkeypress for onclick, onfocus for onmouseover,
// onblur for onmouseout, onkeydown and onkeyup for onmousedown and onmouseup);
// the ticked ones are added. An element the keyboard cannot reach (a div or a
// span) also gets tabindex="0", or its keyboard events would never fire. A
// double click has no keyboard counterpart: its row only says so.
class CPageDeviceDependent final : public CTickedListPage {
public:
    static constexpr int kTemplate = 1317;
    static constexpr int kEvents = 1360;
    static constexpr int kBefore = 1361;
    static constexpr int kAfter = 1362;
    static constexpr int kTabindexNote = 1363;
    // The state icons of the rows.
    static constexpr int kIconAdded = kIconTicked;
    static constexpr int kIconNotAdded = kIconUnticked;

    explicit CPageDeviceDependent(CHtmlDocument& document);
    std::string_view ClassName() const override { return "CPageDeviceDependent"; }

    bool Apply() override;
    bool RepairAutomatically() override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;

protected:
    void Initialise() override;

private:
    struct Row {
        CElement* element;
        const CAttribute* mouse;
        int keyboard;             // the counterpart's attribute id; 0 for none
        bool ticked;
        CAttribute* added = nullptr;
    };
    struct Reach {
        CElement* element;
        bool needsTabindex;
        CAttribute* tabindex = nullptr;
        std::string markup;       // the start tag as the page had it
        std::size_t firstRow = 0; // the element's rows, one after the other
        std::size_t endRow = 0;
    };

    void FindRows();
    void FillRows(platform::IWindow& window);
    void ShowRow(platform::IWindow& window, int row);
    void ShowMarkup(platform::IWindow& window) override;
    // Writes the ticked counterparts of one element (and its tabindex); false when none was ticked.
    bool WriteElement(std::size_t reach);
    void TakeBackElement(std::size_t reach);
    void WriteTicked() override;
    void TakeBack() override;
    CAttribute* Prepared(CElement& element, CAttribute*& slot, int id, std::string_view name);

    CHtmlDocument& m_document;
    std::vector<Row> m_rows;
    std::vector<Reach> m_reach;
    // For each row, its element's entry of m_reach.
    std::vector<std::size_t> m_reachOf;
    bool m_written = false;
};

} // namespace orvane
