#include "library/ui/pages/tables/page_table_summary.h"

#include "library/tables/table_record.h"
#include "platform/services.h"

namespace orvane {

namespace {
constexpr int kCaption = 111;
constexpr int kSummaryNeeded = 358;
constexpr int kInstruction = 190;
constexpr char kHelpTopic[] = "5-5-1.html";
} // namespace

CPageTableSummary::CPageTableSummary(CTableRecord& table) : CPageTableBase(kTemplate, table, kPreview) {}

void CPageTableSummary::Initialise()
{
    Window()->SetText(kText, UserText(Table().SummaryValue()));
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
}

// Only an empty summary is refused: a summary of blanks is the author's way
// of saying a layout table has nothing to sum up.
bool CPageTableSummary::Apply()
{
    const std::string text = EditText(kText);
    if (text.empty()) {
        SetStatus(pagestatus::kNotRepaired);
        platform::Prompt().Show(platform::Strings().Get(kCaption), platform::Strings().Get(kSummaryNeeded),
                                platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
        return false;
    }
    if (!Table().SetSummary(text)) {
        SetStatus(pagestatus::kNotRepaired);
        return false;
    }
    SetStatus(pagestatus::kRepaired);
    return true;
}

void CPageTableSummary::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    Table().UndoSummary();
    if (Window()) {
        Window()->SetText(kText, UserText(Table().SummaryValue()));
        RefreshTablePreview();
    }
}

} // namespace orvane
