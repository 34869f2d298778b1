#include "library/ui/pages/structure/page_metadata.h"

#include "library/ui/quoted_value.h"

#include "library/html/element.h"
#include "library/html/page_text.h"
#include "library/html/text_util.h"
#include "platform/prompt.h"
#include "platform/services.h"

namespace orvane {

namespace {
constexpr int kInstruction = 420;
constexpr int kNothingEntered = 421;
constexpr int kCaption = 111;
constexpr char kHelpTopic[] = "13-2-1.html";

// The markup is made in UTF-8, as the user typed the texts; the page holds
// it in its own encoding.
void Show(CElement& e, const std::string& markup, const PageEncoding& encoding)
{
    e.SetText(MarkupToPage(markup, encoding));
    e.SetDeleted(false);
}
} // namespace


CPageMetadata::CPageMetadata(const Prepared& prepared, std::string_view documentName, std::string_view lineEnd)
    : CPageValidatorBase(kTemplate), m_prepared(prepared), m_documentName(documentName), m_lineEnd(lineEnd)
{
}

void CPageMetadata::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    PreviewAddress(m_documentName, kPreview);
    window.SetText(kTitle, m_title);
    window.SetText(kDescription, m_description);
    window.SetText(kKeywords, m_keywords);
}

void CPageMetadata::ShowHead(bool shown)
{
    if (m_prepared.headStart)
        m_prepared.headStart->SetDeleted(!shown);
    if (m_prepared.headEnd)
        m_prepared.headEnd->SetDeleted(!shown);
}

// The texts go into markup: QuotedValue keeps a quote or a bracket the user
// typed from ending the attribute or the title early.
bool CPageMetadata::Apply()
{
    platform::IWindow* window = Window();
    if (!window)
        return true;
    m_title = Trim(window->Text(kTitle));
    m_description = Trim(window->Text(kDescription));
    m_keywords = Trim(window->Text(kKeywords));
    if (m_title.empty() && m_description.empty() && m_keywords.empty()) {
        Undo();
        platform::Prompt().Show(platform::Strings().Get(kCaption), platform::Strings().Get(kNothingEntered),
                                platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
        return false;
    }
    // A field emptied since the last repair takes its markup out again.
    m_prepared.title.SetDeleted(true);
    m_prepared.description.SetDeleted(true);
    m_prepared.keywords.SetDeleted(true);
    if (!m_title.empty()) {
        const std::string title = QuotedValue(m_title);
        Show(m_prepared.title, m_prepared.titleIsNew ? m_lineEnd + "<title>" + title + "</title>" + m_lineEnd : title,
             Encoding());
    }
    if (!m_description.empty())
        Show(m_prepared.description,
             m_lineEnd + "<meta name=\"description\" content=\"" + QuotedValue(m_description) + "\" />", Encoding());
    if (!m_keywords.empty())
        Show(m_prepared.keywords, m_lineEnd + "<meta name=\"keywords\" content=\"" + QuotedValue(m_keywords) + "\" />",
             Encoding());
    ShowHead(true);
    SetStatus(pagestatus::kRepaired);
    return true;
}

void CPageMetadata::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    m_prepared.title.SetDeleted(true);
    m_prepared.description.SetDeleted(true);
    m_prepared.keywords.SetDeleted(true);
    ShowHead(false);
}

} // namespace orvane
