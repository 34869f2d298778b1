#include "library/ui/pages/objects/page_applet_alt_text.h"

#include "library/ui/pages/objects/alternative_content.h"
#include "library/ui/pages/objects/page_object_alt_rep.h"
#include "library/ui/validator_sheet.h"

#include "library/html/attribute.h"
#include "library/html/html_document.h"
#include "library/registry/object_database.h"
#include "platform/services.h"

#include <memory>

namespace orvane {

namespace {
constexpr int kInstruction = 135;
constexpr int kFileTitle = 966;
constexpr int kDescriptionLink = 967;
constexpr char kHelpTopic[] = "1-1-4.html";
} // namespace

CPageAppletAltText::CPageAppletAltText(CAttribute& alt, CElement& content, CHtmlDocument& document,
                                       std::string appletKey, std::string appletMarkup, std::string_view lineEnd)
    : CPageDescriptionBase(kTemplate), m_alt(alt), m_content(content), m_document(document),
      m_key(std::move(appletKey)), m_markup(std::move(appletMarkup)), m_lineEnd(lineEnd)
{
}

void CPageAppletAltText::Initialise()
{
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    // A description written for the same applet code before is offered to link.
    if (!m_opened)
        OfferFileNamed(NamedAfter(UserText(m_key), "-description.html"));
    InitialiseDescription();
    platform::IWindow& window = *Window();
    // An alt text the applet has already is the first proposal for the
    // text that every browser shows.
    if (!m_opened && !m_alt.IsHidden() && !m_alt.IsBlank() && !m_alt.IsEmpty() && window.Text(kText).empty())
        window.SetText(kText, UserText(m_alt.Value()));
    m_opened = true;
    window.SetText(kApplet, UserText(m_key));
    window.SetText(kMarkup, m_markup);
}

std::string CPageAppletAltText::DescriptionTitle(std::string_view language) const
{
    return FileTitle(language, kFileTitle, {UserText(m_key)});
}

bool CPageAppletAltText::ApplyDescription(const std::string& address, int answer)
{
    if (answer == kAlternative) {
        const std::string text = DescriptionText();
        m_alt.SetFromText(alternative::OneLine(text), Encoding());
        alternative::Fill(m_content, m_document, alternative::AsParagraph(text, m_lineEnd), m_lineEnd);
    } else {
        // The description file says it all; an alt text typed before goes.
        m_alt.Revert();
        alternative::Fill(m_content, m_document, "<p>" + alternative::Link(address, platform::Strings().Get(kDescriptionLink)) + "</p>",
                          m_lineEnd);
    }
    RememberDescribed();
    return true;
}

bool CPageAppletAltText::ApplyNotNeeded()
{
    m_alt.Revert();
    m_content.SetDeleted(true);
    RememberDescribed();
    return true;
}

void CPageAppletAltText::RememberDescribed()
{
    CSrcObjectDatabase* registry = Sheet() ? Sheet()->ObjectRegistry() : nullptr;
    if (!registry || m_key.empty() || m_remembered)
        return;
    CSrcApplet* applet = registry->AddApplet(std::make_unique<CSrcApplet>(m_document.ComparedText(m_key)), m_document.Name());
    if (!applet)
        return;
    m_remembered = applet;
    m_describedBefore = applet->IsDescribed();
    applet->SetDescribed(true);
}

void CPageAppletAltText::ForgetDescribed()
{
    if (!m_remembered)
        return;
    m_remembered->SetDescribed(m_describedBefore);
    m_remembered = nullptr;
}

void CPageAppletAltText::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    m_alt.Revert();
    m_content.SetDeleted(true);
    ForgetDescribed();
}

} // namespace orvane
