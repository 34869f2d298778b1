#include "library/ui/pages/forms/page_textarea_default_text.h"

#include "library/ui/default_text_pages.h"

#include "library/checks/element_textarea.h"
#include "library/html/element.h"

namespace orvane {

namespace {
constexpr int kInstruction = 155;
constexpr char kHelpTopic[] = "TextareaMissingDefault.html";
} // namespace


CPageTextAreaDefaultText::CPageTextAreaDefaultText(CElement& preparedText, CHtmlDocument& document)
    : CPageValidatorBase(kTemplate), m_prepared(preparedText), m_document(document)
{
}

void CPageTextAreaDefaultText::Initialise()
{
    platform::IWindow& window = *Window();
    window.SetText(kDefaultText, UserText(m_prepared.Text(), TextPlace::ElementText));
    window.SetText(kMarkup, PageBytesToUtf8(Element()->Text(), Encoding()));
    const auto* textarea = dynamic_cast<const CElementTextarea*>(Element());
    window.SetText(kContent, textarea ? UserText(textarea->CollectedText(), TextPlace::ElementText) : std::string());
    PreviewFormControl(*Element(), m_document, kPreview);
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
}

bool CPageTextAreaDefaultText::Apply()
{
    const std::string text = Window() ? Window()->Text(kDefaultText) : std::string();
    if (defaulttext::IsEmpty(text)) {
        SetStatus(pagestatus::kNotRepaired);
        m_prepared.SetDeleted(true);
        defaulttext::SayTextNeeded();
        return false;
    }
    m_prepared.SetText(PageBytes(text, TextPlace::ElementText));
    m_prepared.SetDeleted(false);
    SetStatus(pagestatus::kRepaired);
    return true;
}

void CPageTextAreaDefaultText::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    m_prepared.SetDeleted(true);
    if (Window())
        PreviewFormControl(*Element(), m_document, kPreview);
}

} // namespace orvane
