#pragma once

#include "library/ui/page_validator_base.h"

#include <cstddef>
#include <string>

namespace orvane {

// A page that lists the paragraphs a check marked, each with the user's
// choice for it in a column beside its text. One paragraph is shown at a
// time; before another is shown, the choice made for the one shown is read
// back, so no choice is lost by moving through the list.
class CParagraphJudgementPage : public CPageValidatorBase {
public:
    static constexpr int kParagraphs = 1010;
    static constexpr int kPreview = 1011;
    static constexpr int kTextColumn = 0, kChoiceColumn = 1;

protected:
    explicit CParagraphJudgementPage(int templateId);

    virtual std::size_t ParagraphCount() const = 0;
    virtual const std::string& ParagraphText(std::size_t row) const = 0;
    // Shows the paragraph of the row and the choice made for it.
    virtual void ShowParagraph(int row) = 0;
    // Writes the choice of the row in its column.
    virtual void ShowChoice(int row) = 0;
    // Takes the choice the page's controls show for the row.
    virtual void TakeChoice(std::size_t row) = 0;

    // Fills the list: the paragraphs' texts, each with its choice.
    void ListParagraphs(int paragraphTitle, int paragraphWidth, int choiceTitle);
    // Selects the paragraph the page is at and shows it, when there is any.
    void ShowCurrentParagraph();
    // Reads back the choice the controls show for the paragraph the page is at.
    void ReadChoice();
    // Moves to the paragraph the user selected; false when the notification
    // was no change of the list's row.
    bool FollowSelection(platform::IWindow& window, const platform::Notification& notification);

    int Row() const { return m_row; }

private:
    int m_row = 0;
};

} // namespace orvane
