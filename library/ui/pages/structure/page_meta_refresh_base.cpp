#include "library/ui/pages/structure/page_meta_refresh_base.h"

#include "library/ui/link_markup.h"

#include "library/html/attribute.h"
#include "library/html/element.h"
#include "library/html/text_util.h"
#include "platform/prompt.h"
#include "platform/services.h"

namespace orvane {

namespace {
constexpr int kCaption = 111;
constexpr int kAddressNeeded = 840;
} // namespace

CPageMetaRefreshBase::CPageMetaRefreshBase(int templateId, const Texts& texts, CAttribute& httpEquiv,
                                           CAttribute& content, CElement* link, std::string target,
                                           std::string_view lineEnd)
    : CPageValidatorBase(templateId), m_texts(texts), m_httpEquiv(httpEquiv), m_content(content), m_link(link),
      m_lineEnd(lineEnd), m_address(std::move(target))
{
}

std::string CPageMetaRefreshBase::LinkMarkup(std::string_view address, std::string_view text,
                                             std::string_view lineEnd, const PageEncoding& encoding)
{
    return std::string(lineEnd) + "<p><a href=\"" + linkmarkup::Escaped(Trim(address), encoding) + "\">" +
           linkmarkup::Escaped(text, encoding) + "</a></p>" +
           std::string(lineEnd);
}

void CPageMetaRefreshBase::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(m_texts.helpTopic);
    SetInstruction(m_texts.instruction);
    if (!m_opened) {
        m_opened = true;
        m_linkText = platform::Strings().Get(m_texts.linkText);
    }
    window.SetText(kMarkup, PageBytesToUtf8(Element()->Text(), Encoding()));
    window.SetChecked(kRemove, m_remove);
    if (!m_link) {
        for (int id : {kAddLink, kAddressLabel, kAddress, kLinkTextLabel, kLinkText})
            window.Show(id, false);
        return;
    }
    window.SetChecked(kAddLink, m_addLink);
    window.SetText(kAddress, Address());
    window.SetText(kLinkText, m_linkText);
    EnableLinkControls(window);
}

void CPageMetaRefreshBase::EnableLinkControls(platform::IWindow& window)
{
    EnableControls(window.IsChecked(kAddLink), {kAddressLabel, kAddress, kLinkTextLabel, kLinkText}, true);
}

void CPageMetaRefreshBase::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    if (notification.control == kAddLink && notification.code == platform::NotifyCode::Clicked)
        EnableLinkControls(window);
}

// A meta element that holds nothing but the refresh goes as a whole: a bare
// <meta> would be left otherwise.
void CPageMetaRefreshBase::TakeRefreshOut()
{
    bool holdsMore = false;
    for (const CAttribute* a = Element()->AttributesAfterName(); a; a = a->Next()) {
        if (a != &m_httpEquiv && a != &m_content && !a->IsHidden())
            holdsMore = true;
    }
    for (CAttribute* attribute : {&m_httpEquiv, &m_content}) {
        attribute->SetHideable(true);
        attribute->Hide(true);
    }
    Element()->SetModified(true);
    Element()->SetDeleted(!holdsMore);
}

void CPageMetaRefreshBase::PutRefreshBack()
{
    for (CAttribute* attribute : {&m_httpEquiv, &m_content})
        attribute->Hide(false);
    Element()->SetModified(false);
    Element()->SetDeleted(false);
}

void CPageMetaRefreshBase::WriteLink(std::string_view address, std::string_view text)
{
    // A link needs a name: without a text of its own it is named by its address.
    m_link->SetText(LinkMarkup(address, Trim(text).empty() ? Trim(address) : text, m_lineEnd, Encoding()));
    m_link->SetDeleted(false);
}

bool CPageMetaRefreshBase::Apply()
{
    platform::IWindow* window = Window();
    if (!window)
        return true;
    const bool remove = window->IsChecked(kRemove);
    const bool addLink = m_link && window->IsChecked(kAddLink);
    const std::string address = m_link ? window->Text(kAddress) : Address();
    if (addLink && Trim(address).empty()) {
        platform::Prompt().Show(platform::Strings().Get(kCaption), platform::Strings().Get(kAddressNeeded),
                                platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
        window->Focus(kAddress);
        return false;
    }
    m_remove = remove;
    m_address = address;
    m_addressTyped = true;
    if (m_link) {
        m_addLink = addLink;
        m_linkText = window->Text(kLinkText);
    }
    if (remove) {
        TakeRefreshOut();
        SetStatus(pagestatus::kRepaired);
    } else {
        PutRefreshBack();
        SetStatus(pagestatus::kNotRepaired);
    }
    if (addLink)
        WriteLink(m_address, m_linkText);
    else if (m_link)
        m_link->SetDeleted(true);
    return true;
}

void CPageMetaRefreshBase::Undo()
{
    PutRefreshBack();
    if (m_link)
        m_link->SetDeleted(true);
    SetStatus(pagestatus::kNotRepaired);
}

// As the page repairs with what it proposes: the refresh taken out, and a
// link with the proposed text where the refresh names a target.
bool CPageMetaRefreshBase::RepairAutomatically()
{
    TakeRefreshOut();
    if (m_link)
        WriteLink(Address(), platform::Strings().Get(m_texts.linkText));
    SetStatus(pagestatus::kRepaired);
    return true;
}

} // namespace orvane
