#include "library/ui/pages/links/page_anchor_new_window.h"

#include "library/ui/default_text_pages.h"
#include "library/ui/validator_sheet.h"

#include "common/orvane_settings.h"
#include "library/checks/element_anchor.h"
#include "library/html/attribute.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "library/registry/object_database.h"
#include "library/registry/src_link.h"
#include "platform/services.h"

#include <algorithm>
#include <memory>

namespace orvane {

namespace {
constexpr int kCaption = 111;
constexpr int kDefaultWarning = 935;
constexpr int kInstruction = 936;
constexpr int kWarningNeeded = 937;
constexpr char kHelpTopic[] = "10-1-1.html";
constexpr int kFamilyAnchor = tag::kA;
constexpr std::uint32_t kBit = CElementAnchor::kNewWindowBit;
// The remembered warning lives in a settings text of this size.
constexpr std::size_t kRememberableLength = 98;
// A link sits in its paragraph, item or cell; this far back is looked for it.
constexpr std::size_t kBlockSearchLimit = 400;

bool IsChoice(int id)
{
    return id == CPageAnchorNewWindow::kRemoveTarget || id == CPageAnchorNewWindow::kSayInText ||
           id == CPageAnchorNewWindow::kSayInTitle;
}

bool IsBlock(int kind)
{
    switch (kind) {
    case 7: case 12: case 20: case 21: case 25: case 51: case 64: case tag::kTd: case tag::kTh: return true;
    default: return kind >= tag::kH1 && kind <= tag::kH6;
    }
}

std::size_t IndexAfterEnd(const CHtmlDocument& document, const CElement& start)
{
    const CElement* end = start.Partner();
    if (end && document.Find(end) && document.IndexOf(*end) > document.IndexOf(start))
        return document.IndexOf(*end);
    return document.IndexOf(start);
}

// The markup of the block that holds the link (its paragraph, list item,
// cell ...), as the page writes it now; the link alone when none is found.
std::string BlockMarkup(const CHtmlDocument& document, const CElement& link)
{
    const std::size_t at = document.IndexOf(link);
    const std::size_t linkEnd = IndexAfterEnd(document, link);
    std::size_t first = at;
    std::size_t last = linkEnd;
    const std::size_t stop = at > kBlockSearchLimit ? at - kBlockSearchLimit : 0;
    for (std::size_t i = at; i-- > stop;) {
        const CElement* e = document.At(i);
        if (e->IsDeleted() || !IsBlock(e->Kind()))
            continue;
        const std::size_t end = IndexAfterEnd(document, *e);
        if (end > linkEnd) {
            first = i + 1;
            last = end - 1;
            break;
        }
    }
    std::string markup;
    for (std::size_t i = first; i <= last && i < document.Size(); ++i) {
        if (!document.At(i)->IsDeleted())
            document.At(i)->AppendMarkupText(markup);
    }
    return markup;
}

void Say(int id)
{
    platform::Prompt().Show(platform::Strings().Get(kCaption), platform::Strings().Get(id),
                            platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
}
} // namespace

CPageAnchorNewWindow::CPageAnchorNewWindow(CAttribute& target, CAttribute& title, CElement* preparedText,
                                           CHtmlDocument& document)
    : CPageValidatorBase(kTemplate), m_target(target), m_title(title), m_prepared(preparedText), m_document(document)
{
    // One decision serves every such link of the page.
    SetKey("new window");
    SetMergeable(true);
}

void CPageAnchorNewWindow::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    if (!m_opened) {
        m_opened = true;
        const COrvaneSettings* settings = Sheet() ? Sheet()->Settings() : nullptr;
        const int remembered = settings ? settings->GetRememberedNumber(kFamilyAnchor, kBit) : 0;
        m_choice = IsChoice(remembered) ? remembered : kSayInText;
        if (m_choice == kSayInText && !m_prepared)
            m_choice = kSayInTitle;
        m_warning = settings ? settings->GetText1(kFamilyAnchor, kBit) : std::string();
        if (Trim(m_warning).empty())
            m_warning = platform::Strings().Get(kDefaultWarning);
    }
    const CAttribute* href = Element()->FindAttribute(attr::kHref);
    window.SetText(kAddress, href ? UserText(href->Value()) : std::string());
    window.SetText(kTarget, UserText(m_target.Value()));
    window.Enable(kSayInText, m_prepared != nullptr);
    window.SetChecked(m_choice, true);
    window.SetText(kWarning, m_warning);
    ShowChoice(window);
    ShowPreview();
}

void CPageAnchorNewWindow::ShowChoice(platform::IWindow& window)
{
    window.Enable(kWarning, !window.IsChecked(kRemoveTarget));
}

void CPageAnchorNewWindow::ShowPreview() { PreviewParagraph(BlockMarkup(m_document, *Element()), kPreview); }

void CPageAnchorNewWindow::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    if (notification.code == platform::NotifyCode::Clicked && IsChoice(notification.control))
        ShowChoice(window);
}

void CPageAnchorNewWindow::Write(int choice, std::string_view warning)
{
    TakeBack();
    // What this page takes back: the link as it stands now. The title
    // page of the same link may have written its title before; the title's
    // own saved value is that page's, from before either.
    m_elementWasModified = Element()->IsModified();
    m_targetWasHideable = m_target.IsHideable();
    m_titleBefore = {std::string(m_title.Value()), m_title.IsHidden(), m_title.IsChanged()};
    m_written = true;
    m_choice = choice;
    m_warning = warning;
    // The words stand apart from the link's own, however they were typed.
    const std::string words = " " + std::string(Trim(warning));
    if (choice == kRemoveTarget) {
        m_target.SetHideable(true);
        m_target.Hide(true);
        m_target.SetChanged(true);
        Element()->SetModified(true);
    } else if (choice == kSayInText && m_prepared) {
        m_prepared->SetText(PageBytes(words, TextPlace::ElementText));
        m_prepared->SetDeleted(false);
        RecordWarning(true);
    } else {
        // A title adds to what the link says; without one, the link's own words lead.
        std::string title = m_title.IsHidden() || Trim(m_title.Value()).empty()
                                ? UserText(static_cast<const CElementAnchor*>(Element())->LinkText(), TextPlace::ElementText)
                                : UserText(m_title.Value());
        title += words;
        m_title.SetFromText(Trim(title), Encoding());
        RecordWarning(true);
    }
    SetStatus(pagestatus::kRepaired);
}

void CPageAnchorNewWindow::TakeBack()
{
    if (!m_written)
        return;
    m_written = false;
    m_target.Revert();
    m_target.SetHideable(m_targetWasHideable);
    m_title.SetValue(m_titleBefore.value);
    m_title.Hide(m_titleBefore.hidden);
    m_title.SetChanged(m_titleBefore.changed);
    Element()->SetModified(m_elementWasModified);
    if (m_prepared)
        m_prepared->SetDeleted(true);
    RecordWarning(false);
}

// Next time the page is checked, a link the user warned of stays unreported.
void CPageAnchorNewWindow::RecordWarning(bool warned)
{
    if (!warned) {
        if (m_link)
            m_link->SetHasWarning(m_linkHadWarning);
        m_link = nullptr;
        return;
    }
    CSrcObjectDatabase* registry = Sheet() ? Sheet()->ObjectRegistry() : nullptr;
    const CAttribute* href = Element()->FindAttribute(attr::kHref);
    if (!registry || !href || m_link)
        return;
    // The record the registry has for the link, or a new one.
    m_link = registry->AddLink(std::make_unique<CSrcLink>(m_document.ComparedText(href->GetValue())), m_document.Name());
    if (!m_link)
        return;
    m_linkHadWarning = m_link->HasWarning();
    if (!m_linkHadWarning)
        m_link->SetHasWarning(true);
}

bool CPageAnchorNewWindow::Apply()
{
    platform::IWindow* window = Window();
    if (!window)
        return true;
    int choice = kRemoveTarget;
    for (int id : {kRemoveTarget, kSayInText, kSayInTitle}) {
        if (window->IsChecked(id))
            choice = id;
    }
    const std::string warning = window->Text(kWarning);
    if (choice != kRemoveTarget && Trim(warning).empty()) {
        m_choice = choice;
        Undo();
        Say(kWarningNeeded);
        window->Focus(kWarning);
        return false;
    }
    Write(choice, warning);
    if (COrvaneSettings* settings = Sheet() ? Sheet()->Settings() : nullptr) {
        settings->SetRememberedNumber(kFamilyAnchor, kBit, static_cast<std::int16_t>(choice));
        if (choice != kRemoveTarget && warning.size() <= kRememberableLength)
            settings->SetText1(kFamilyAnchor, kBit, warning);
    }
    if (OptionState() && Sheet()) {
        const int index = Sheet()->IndexOf(*this);
        for (CPageValidatorBase* other : Sheet()->PagesWithKey(Key())) {
            if (Sheet()->IndexOf(*other) <= index || !IsSameKind(*other))
                continue;
            auto* same = static_cast<CPageAnchorNewWindow*>(other);
            same->m_opened = true;
            // A link without an end tag takes the warning in its title.
            same->Write(choice == kSayInText && !same->m_prepared ? kSayInTitle : choice, warning);
        }
    }
    ShowPreview();
    return true;
}

// The links the decision went to with this page go back with it: they are
// out of the user's reach while merged.
void CPageAnchorNewWindow::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    TakeBack();
    if (OptionState() && Sheet()) {
        const int index = Sheet()->IndexOf(*this);
        for (CPageValidatorBase* other : Sheet()->PagesWithKey(Key())) {
            if (Sheet()->IndexOf(*other) <= index || !IsSameKind(*other))
                continue;
            auto* same = static_cast<CPageAnchorNewWindow*>(other);
            same->SetStatus(pagestatus::kNotRepaired);
            same->TakeBack();
        }
    }
    if (Window())
        ShowPreview();
}

} // namespace orvane
