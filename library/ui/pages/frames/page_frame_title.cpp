#include "library/ui/pages/frames/page_frame_title.h"

#include "library/html/attribute.h"
#include "library/html/element.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "platform/services.h"

namespace orvane {

namespace {
constexpr int kTitleNeeded = 114;
constexpr int kInstruction = 139;
constexpr char kHelpTopic[] = "12-1-1.html";

std::string_view ValueOf(const CElement* element, int id)
{
    const CAttribute* attribute = element ? element->FindAttribute(id) : nullptr;
    return attribute && !attribute->IsHidden() ? std::string_view(attribute->Value()) : std::string_view();
}
} // namespace

CPageFrameTitle::CPageFrameTitle(CAttribute& title) : CPageValidatorBase(kTemplate), m_title(title) {}

void CPageFrameTitle::Initialise()
{
    platform::IWindow& window = *Window();
    window.SetText(kTitle, m_title.IsHidden() ? std::string() : UserText(m_title.Value()));
    window.SetText(kName, UserText(ValueOf(Element(), attr::kName)));
    const std::string_view source = ValueOf(Element(), attr::kSrc);
    window.SetText(kSource, UserText(source));
    if (!source.empty())
        PreviewAddress(source, kPreview);
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
}

// A title of blanks is announced as no title at all, so it is refused like none.
bool CPageFrameTitle::Apply() { return ApplyTypedText(m_title, kTitle, BlankText::IsEmpty, kTitleNeeded); }

void CPageFrameTitle::Undo() { UndoTypedText(m_title, kTitle); }

} // namespace orvane
