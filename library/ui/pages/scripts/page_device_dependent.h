#pragma once

#include "library/ui/ticked_list_page.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class CAttribute;
class CHtmlDocument;

// Mouse events without their keyboard counterparts: a keyboard user never
// sets them off. Each is listed with what the page adds for the keyboard, or
// why a person must judge it. A click on an element the keyboard does not
// activate gets what a button has: role="button", a tab stop, and a keydown
// handler that runs the click's script for Enter and Space only (any other
// key, Tab among them, goes on as before). Hover gets onfocus and onblur where
// the element can take the focus. What a key cannot stand in for is never
// copied: mouse down and up (a key goes down on leaving by Tab), handlers that
// cancel the event (on a key they would swallow typing and Tab), elements kept
// out of the tab order (tabindex="-1"), hover on elements nobody tabs to, and
// double clicks.
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
        int keyboard;             // the counterpart's attribute id; 0 when a person must judge
        bool ticked;
        int judgement = 0;        // why a person must judge it: the text's id
        bool counts = true;       // the check reports it (a double click it does not)
        bool activates = false;   // the click, written as keyboard activation
        CAttribute* added = nullptr;
    };
    struct Reach {
        CElement* element;
        bool needsTabindex;
        bool needsRole = false;
        CAttribute* tabindex = nullptr;
        CAttribute* role = nullptr;
        std::string markup = {};  // the start tag as the page had it
        std::size_t firstRow = 0; // the element's rows, one after the other
        std::size_t endRow = 0;
        // The row of the click that makes the element focusable; none when it takes the focus by itself.
        std::size_t clickRow = static_cast<std::size_t>(-1);
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
    // Whether the row is written as things stand: ticked, and its element reachable by Tab.
    bool Writes(const Row& row) const;

    CHtmlDocument& m_document;
    std::vector<Row> m_rows;
    std::vector<Reach> m_reach;
    // For each row, its element's entry of m_reach.
    std::vector<std::size_t> m_reachOf;
    bool m_written = false;
};

} // namespace orvane
