#include "library/ui/pages/forms/page_input_default_text.h"

#include "library/ui/default_text_pages.h"

#include "library/html/attribute.h"
#include "library/html/element.h"

namespace orvane {

namespace {
constexpr int kInstruction = 393;
constexpr char kHelpTopic[] = "10-4-1.html";
} // namespace


CPageInputDefaultText::CPageInputDefaultText(CAttribute& value, CHtmlDocument& document)
    : CPageValidatorBase(kTemplate), m_value(value), m_document(document)
{
}

void CPageInputDefaultText::Initialise()
{
    platform::IWindow& window = *Window();
    window.SetText(kDefaultText, m_value.IsHidden() ? std::string() : UserText(m_value.Value()));
    window.SetText(kMarkup, PageBytesToUtf8(Element()->Text(), Encoding()));
    PreviewFormControl(*Element(), m_document, kPreview);
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
}

void CPageInputDefaultText::RevertValue()
{
    m_value.Revert();
}

bool CPageInputDefaultText::Apply()
{
    const std::string text = Window() ? Window()->Text(kDefaultText) : std::string();
    if (defaulttext::IsEmpty(text)) {
        SetStatus(pagestatus::kNotRepaired);
        RevertValue();
        defaulttext::SayTextNeeded();
        return false;
    }
    m_value.SetFromText(text, Encoding());
    SetStatus(pagestatus::kRepaired);
    return true;
}

void CPageInputDefaultText::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    RevertValue();
    if (Window()) {
        Window()->SetText(kDefaultText, m_value.IsHidden() ? std::string() : UserText(m_value.Value()));
        PreviewFormControl(*Element(), m_document, kPreview);
    }
}

} // namespace orvane
