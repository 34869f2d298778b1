#include "library/ui/pages/tables/page_table_linearize.h"

#include "library/html/text_util.h"
#include "library/tables/table_record.h"
#include "platform/services.h"

#include <algorithm>
#include <sstream>

namespace orvane {

namespace {
constexpr int kInstruction = 291;
constexpr char kHelpTopic[] = "5-3-1.html";
constexpr int kCaption = 111;
constexpr int kLineFormat = 1060;
constexpr int kEmptyCell = 1061;
constexpr int kAnswerNeeded = 1062;
constexpr int kAuthorMustReorder = 1063;
constexpr int kOrderConfirmed = 1064;
constexpr std::size_t kShownLength = 80;

// A cell's text as it is heard: blanks and line breaks run together, the
// commonest entities read as their characters, and a long text cut short.
std::string HeardText(std::string_view text)
{
    std::string heard;
    bool blank = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '&') {
            const std::string_view rest = text.substr(i);
            if (rest.starts_with("&nbsp;")) {
                c = ' ';
                i += 5;
            } else if (rest.starts_with("&amp;")) {
                i += 4;
            }
        }
        if (IsSpace(c)) {
            blank = !heard.empty();
            continue;
        }
        if (blank)
            heard.push_back(' ');
        blank = false;
        heard.push_back(c);
    }
    if (heard.size() > kShownLength) {
        heard.resize(kShownLength);
        while (!heard.empty() && (static_cast<unsigned char>(heard.back()) & 0xC0) == 0x80)
            heard.pop_back();  // not in the middle of a character
        if (!heard.empty() && static_cast<unsigned char>(heard.back()) >= 0xC0)
            heard.pop_back();
        heard += "...";
    }
    return heard;
}
} // namespace

CPageTableLinearize::CPageTableLinearize(CTableRecord& table) : CPageTableBase(kTemplate, table, kPreview) {}

std::string CPageTableLinearize::ReadingOrderLine(int number, int row, int cell, std::string_view text)
{
    std::string heard = HeardText(text);
    if (heard.empty())
        heard = platform::Strings().Get(kEmptyCell);
    return platform::Strings().Format(kLineFormat, {std::to_string(number), std::to_string(row),
                                                    std::to_string(cell), heard});
}

void CPageTableLinearize::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    m_order.clear();
    window.ClearItems(kCells);
    int rowNumber = 0;
    for (const CTableRow* row : Table().Rows()) {
        if (row->IsExcluded())
            continue;
        ++rowNumber;
        int cellNumber = 0;
        for (const CTableCell* cell : row->Cells()) {
            if (cell->IsIgnored())
                continue;
            m_order.push_back(cell);
            window.AddItem(kCells, ReadingOrderLine(static_cast<int>(m_order.size()), rowNumber, ++cellNumber,
                                                    cell->Text()),
                           static_cast<platform::ItemData>(m_order.size() - 1));
        }
    }
    if (!m_order.empty()) {
        m_current = std::min(m_current, static_cast<int>(m_order.size()) - 1);
        window.SetCurrentItem(kCells, m_current);
    }
    Choose(m_answer);
}

void CPageTableLinearize::OnActivate(platform::IWindow& window)
{
    CPageTableBase::OnActivate(window);
    ShowCell(m_current);
}

// The table as the record writes it, the cell chosen in the list marked.
void CPageTableLinearize::ShowCell(int index)
{
    if (!Window() || !Table().IsBuilt())
        return;
    const CTableCell* marked = nullptr;
    if (index >= 0 && index < static_cast<int>(m_order.size())) {
        m_current = index;
        marked = m_order[static_cast<std::size_t>(index)];
    }
    std::ostringstream markup;
    markup << "<p align=\"center\">";
    Table().WriteMarkup(markup, CTableRecord::kMarkupShowGrid | CTableRecord::kMarkupFitWidth, marked);
    markup << "</p>";
    PreviewText(markup.str(), kPreview);
}

void CPageTableLinearize::Choose(int answer)
{
    m_answer = answer;
    platform::IWindow* window = Window();
    if (!window)
        return;
    window->SetChecked(kMakesSense, answer == kMakesSense);
    window->SetChecked(kDoesNot, answer == kDoesNot);
    window->SetText(kVerdict, answer == kMakesSense ? platform::Strings().Get(kOrderConfirmed)
                              : answer == kDoesNot  ? platform::Strings().Get(kAuthorMustReorder)
                                                    : std::string());
}

void CPageTableLinearize::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    using platform::NotifyCode;
    if ((notification.control == kMakesSense || notification.control == kDoesNot) &&
        notification.code == NotifyCode::Clicked) {
        Choose(notification.control);
    } else if (notification.control == kCells && notification.code == NotifyCode::SelectionChanged) {
        ShowCell(window.CurrentItem(kCells));
    }
}

bool CPageTableLinearize::Apply()
{
    if (m_answer == 0) {
        if (!Window())
            return true;
        platform::Prompt().Show(platform::Strings().Get(kCaption), platform::Strings().Get(kAnswerNeeded),
                                platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
        return false;
    }
    // A table that reads wrongly is the author's to reorder: the problem stays open.
    const bool confirmed = m_answer == kMakesSense;
    Table().SetLinearizationConfirmed(confirmed);
    SetStatus(confirmed ? pagestatus::kRepaired : pagestatus::kNotRepaired);
    return true;
}

void CPageTableLinearize::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    Table().SetLinearizationConfirmed(false);
    Choose(0);
}

} // namespace orvane
