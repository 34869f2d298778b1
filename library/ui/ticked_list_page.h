#pragma once

#include "library/ui/page_validator_base.h"

namespace orvane {

// A page that lists the changes it proposes, each row ticked (to be written)
// or not, and shows the markup of the row chosen before and after. The ticked
// rows are written when the user moves on; undo takes them back.
class CTickedListPage : public CPageValidatorBase {
public:
    // The state icons of the rows.
    static constexpr int kIconTicked = 1;
    static constexpr int kIconUnticked = 3;

    void Undo() override;

protected:
    explicit CTickedListPage(int templateId);

    // Takes back everything the page wrote.
    virtual void TakeBack() = 0;
    // Writes the ticked rows and sets the page's status by them.
    virtual void WriteTicked() = 0;
    // The chosen row's markup, before and after.
    virtual void ShowMarkup(platform::IWindow& window) = 0;

    // Gives the list its state icons, each named for a screen reader.
    void ShowTickIcons(platform::IWindow& window, int list);
    // Chooses the first row, when there is any, and shows its markup.
    void ChooseFirstRow(platform::IWindow& window, int list, bool any);
    // Whether the notification flips the ticks: a double click on a row, or
    // the space bar on the rows selected.
    static bool TogglesTicks(const platform::Notification& notification);
    // Writes the ticked rows afresh and shows what became of the chosen one.
    bool WriteAndShow();
};

} // namespace orvane
