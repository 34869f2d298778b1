#include "library/ui/pages/tables/page_table_caption.h"

#include "library/html/text_util.h"
#include "library/tables/table_record.h"
#include "platform/services.h"

namespace orvane {

namespace {
constexpr int kCaption = 111;
constexpr int kCaptionNeeded = 192;
constexpr int kInstruction = 191;
constexpr char kHelpTopic[] = "5-5-2.html";
} // namespace

CPageTableCaption::CPageTableCaption(CTableRecord& table) : CPageTableBase(kTemplate, table, kPreview) {}

void CPageTableCaption::Initialise()
{
    Window()->SetText(kText, UserText(Table().CaptionText(), TextPlace::ElementText));
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
}

// A caption of blanks would be read as no caption at all.
bool CPageTableCaption::Apply()
{
    const std::string text = EditText(kText);
    if (TrimLeft(text).empty()) {
        SetStatus(pagestatus::kNotRepaired);
        platform::Prompt().Show(platform::Strings().Get(kCaption), platform::Strings().Get(kCaptionNeeded),
                                platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
        return false;
    }
    if (UserText(Table().CaptionText(), TextPlace::ElementText) != text && !Table().SetCaption(text)) {
        SetStatus(pagestatus::kNotRepaired);
        return false;
    }
    SetStatus(pagestatus::kRepaired);
    return true;
}

void CPageTableCaption::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    Table().UndoCaption();
    if (Window()) {
        Window()->SetText(kText, UserText(Table().CaptionText(), TextPlace::ElementText));
        RefreshTablePreview();
    }
}

} // namespace orvane
