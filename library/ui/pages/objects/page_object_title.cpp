#include "library/ui/pages/objects/page_object_title.h"

#include "library/html/attribute.h"
#include "platform/services.h"

namespace orvane {

namespace {
constexpr int kTitleNeeded = 112;
constexpr int kInstruction = 146;
constexpr char kHelpTopic[] = "ObjectMissingTitle.html";
} // namespace

CPageObjectTitle::CPageObjectTitle(CAttribute& title, std::string objectMarkup)
    : CPageValidatorBase(kTemplate), m_title(title), m_objectMarkup(std::move(objectMarkup))
{
}

void CPageObjectTitle::Initialise()
{
    platform::IWindow& window = *Window();
    window.SetText(kTitle, m_title.IsHidden() ? std::string() : UserText(m_title.Value()));
    window.SetText(kMarkup, m_objectMarkup);
    PreviewText(m_objectMarkup, kPreview);
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
}

// Only an empty title is refused: the object check asks for a title that is
// there, and blanks are one. A value applied before is taken out again, so the
// page never keeps a repair it reports as not made.
bool CPageObjectTitle::Apply() { return ApplyTypedText(m_title, kTitle, BlankText::IsText, kTitleNeeded); }

void CPageObjectTitle::Undo() { UndoTypedText(m_title, kTitle); }

} // namespace orvane
