#include "library/ui/pages/judgements/paragraph_judgement_page.h"

#include "platform/services.h"

namespace orvane {

CParagraphJudgementPage::CParagraphJudgementPage(int templateId) : CPageValidatorBase(templateId) {}

void CParagraphJudgementPage::ListParagraphs(int paragraphTitle, int paragraphWidth, int choiceTitle)
{
    platform::IWindow& window = *Window();
    const platform::IStringTable& strings = platform::Strings();
    window.SetColumns(kParagraphs, {{strings.Get(paragraphTitle), paragraphWidth, platform::Align::Left, true},
                                    {strings.Get(choiceTitle), 150, platform::Align::Left, false}});
    window.ClearItems(kParagraphs);
    for (std::size_t row = 0; row < ParagraphCount(); ++row) {
        window.AddItem(kParagraphs, ParagraphText(row));
        ShowChoice(static_cast<int>(row));
    }
}

void CParagraphJudgementPage::ShowCurrentParagraph()
{
    if (ParagraphCount() == 0)
        return;
    platform::IWindow& window = *Window();
    window.SetCurrentItem(kParagraphs, m_row);
    window.SetItemSelected(kParagraphs, m_row, true);
    ShowParagraph(m_row);
}

void CParagraphJudgementPage::ReadChoice()
{
    if (m_row < 0 || static_cast<std::size_t>(m_row) >= ParagraphCount())
        return;
    TakeChoice(static_cast<std::size_t>(m_row));
    ShowChoice(m_row);
}

bool CParagraphJudgementPage::FollowSelection(platform::IWindow& window, const platform::Notification& notification)
{
    if (notification.control != kParagraphs || notification.code != platform::NotifyCode::ItemChanged)
        return false;
    const int row = notification.item;
    if (row < 0 || row >= static_cast<int>(ParagraphCount()) || row == m_row ||
        !window.IsItemSelected(kParagraphs, row))
        return true;
    ReadChoice();
    m_row = row;
    ShowParagraph(row);
    return true;
}

} // namespace orvane
