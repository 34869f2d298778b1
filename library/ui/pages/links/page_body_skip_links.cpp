#include "library/ui/pages/links/page_body_skip_links.h"

#include "library/ui/link_markup.h"

#include "library/checks/element_anchor.h"
#include "library/html/attribute.h"
#include "library/html/attribute_table.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "platform/prompt.h"
#include "platform/services.h"

#include <ctime>
#include <memory>
#include <unordered_set>

namespace orvane {

namespace {
constexpr int kCaption = 111;
constexpr int kInstruction = 472;
constexpr int kDefaultLinkText = 473;
constexpr int kLinkTextNeeded = 474;
constexpr int kLinkTitle = 475;
constexpr char kHelpTopic[] = "13-6-2.html";

std::string String(int id) { return platform::Strings().Get(id); }

int SkipOverMark(const CElement& element)
{
    const auto* link = dynamic_cast<const CElementAnchor*>(&element);
    return link ? link->SkipOverMark() : 0;
}

// How the list names a link: its title when it has one, else what it shows.
std::string LinkName(const CElement& element)
{
    const CAttribute* title = element.FindAttribute(attr::kTitle);
    if (title && !title->IsHidden() && !Trim(title->Value()).empty())
        return title->GetValue();
    const auto* link = dynamic_cast<const CElementAnchor*>(&element);
    return link ? link->LinkText() : std::string();
}

ElementPtr InsertedMarkup(std::string_view markup)
{
    ElementPtr element(new CElement);
    element->SetKind(kind::kUnknown);
    element->SetText(markup);
    element->SetDeleted(true);
    element->SetModified(true);
    return element;
}
} // namespace

CPageBodySkipLinks::Run CPageBodySkipLinks::FindFirstRun(const CHtmlDocument& document)
{
    Run run;
    for (CElement* e : document.Elements()) {
        if (e->IsDeleted() || e->Kind() != tag::kA)
            continue;
        const int mark = SkipOverMark(*e);
        if (!run.first && mark == 1)
            run.first = e;
        if (run.first && mark == 2) {
            run.last = e;
            break;
        }
    }
    if (!run.last || !run.last->Partner())
        return {};
    // Nor when a link left open around the run's last one would hold the
    // anchor: a link in a link.
    const std::size_t last = document.IndexOf(*run.last);
    for (std::size_t i = 0; i < last; ++i) {
        const CElement* e = document.At(i);
        const CElement* end = e->Kind() == tag::kA && !e->IsDeleted() ? e->Partner() : nullptr;
        if (end && end != e && document.IndexOf(*end) > last)
            return {};
    }
    return run;
}

CPageBodySkipLinks::CPageBodySkipLinks(CHtmlDocument& document, Run run, std::string_view lineEnd)
    : CPageValidatorBase(kTemplate), m_document(document), m_run(run), m_lineEnd(lineEnd)
{
    // Another run after this one keeps the problem open: this page mends it in part.
    bool after = false;
    for (const CElement* e : document.Elements()) {
        if (after && !e->IsDeleted() && e->Kind() == tag::kA && SkipOverMark(*e) == 1) {
            m_laterRun = true;
            break;
        }
        after = after || e == m_run.last;
    }
}

// The time of day makes a name no other page of the site is likely to use;
// one the page already has for an anchor or an id would make the link lead
// there instead, so the next free number is taken.
std::string CPageBodySkipLinks::UniqueAnchorName() const
{
    std::unordered_set<std::string_view> taken;
    for (const CElement* e : m_document.Elements()) {
        for (int id : {attr::kName, attr::kId}) {
            const CAttribute* a = e->FindAttribute(id);
            if (a && !a->IsHidden())
                taken.insert(a->Value());
        }
    }
    long long number = static_cast<long long>(std::time(nullptr));
    while (taken.contains(std::to_string(number)))
        ++number;
    return std::to_string(number);
}

std::string CPageBodySkipLinks::LinkMarkup(std::string_view text) const
{
    const std::string markup = "\n<br /><a href=\"#" + m_anchorName + "\" title=\"" +
                               linkmarkup::Escaped(String(kLinkTitle), Encoding()) + "\">" + linkmarkup::Escaped(text, Encoding()) +
                               "</a><br />\n";
    return linkmarkup::WithLineEnds(markup, m_lineEnd);
}

void CPageBodySkipLinks::MakeInsertedElements()
{
    if (m_link || !m_run.first || !m_run.last || !m_run.last->Partner())
        return;
    m_anchorName = UniqueAnchorName();
    m_linkText = String(kDefaultLinkText);
    ElementPtr link = InsertedMarkup(LinkMarkup(m_linkText));
    ElementPtr target = InsertedMarkup(linkmarkup::WithLineEnds("\n<a name=\"" + m_anchorName + "\"></a>\n", m_lineEnd));
    CElement* madeLink = link.get();
    CElement* madeTarget = target.get();
    if (!m_document.InsertBefore(m_run.first, std::move(link)))
        return;
    // A link left without its target stays deleted, and the page has nothing to insert.
    if (!m_document.InsertAfter(m_run.last->Partner(), std::move(target)))
        return;
    m_link = madeLink;
    m_target = madeTarget;
}

void CPageBodySkipLinks::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    window.ClearItems(kLinks);
    bool inRun = false;
    for (CElement* e : m_document.Elements()) {
        if (e->IsDeleted() || e->Kind() != tag::kA)
            continue;
        inRun = inRun || e == m_run.first;
        if (!inRun)
            continue;
        if (e->FindAttribute(attr::kHref))
            window.AddItem(kLinks, LinkName(*e));
        if (e == m_run.last)
            break;
    }
    MakeInsertedElements();
    if (Status() != pagestatus::kRepaired && Status() != pagestatus::kPartlyRepaired) {
        m_option = kInsert;
        m_linkText = String(kDefaultLinkText);
    }
    window.SetChecked(m_option, true);
    window.SetText(kLinkText, m_linkText);
    window.Enable(kLinkText, m_option != kNotNeeded);
}

void CPageBodySkipLinks::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    if (notification.code == platform::NotifyCode::Clicked) {
        if (notification.control != kInsert && notification.control != kInsertOwnText &&
            notification.control != kNotNeeded)
            return;
        window.Enable(kLinkText, !window.IsChecked(kNotNeeded));
        if (notification.control == kInsert && window.IsChecked(kInsert))
            window.SetText(kLinkText, String(kDefaultLinkText));
        else if (notification.control == kInsertOwnText && window.IsChecked(kInsertOwnText))
            window.Focus(kLinkText);
        return;
    }
    // A text typed in place of the proposed one is the user's own.
    if (notification.code == platform::NotifyCode::TextChanged && notification.control == kLinkText &&
        window.IsChecked(kInsert) && window.Text(kLinkText) != String(kDefaultLinkText)) {
        window.SetChecked(kInsert, false);
        window.SetChecked(kInsertOwnText, true);
    }
}

void CPageBodySkipLinks::ShowInserted(bool shown)
{
    if (m_link)
        m_link->SetDeleted(!shown);
    if (m_target)
        m_target->SetDeleted(!shown);
}

bool CPageBodySkipLinks::Apply()
{
    platform::IWindow* window = Window();
    if (!window || !m_link)
        return true;
    m_option = window->IsChecked(kNotNeeded) ? kNotNeeded : window->IsChecked(kInsertOwnText) ? kInsertOwnText : kInsert;
    m_linkText = window->Text(kLinkText);
    if (m_option == kNotNeeded) {
        ShowInserted(false);
        SetStatus(pagestatus::kRepaired);
        return true;
    }
    // A link of blanks would be announced as a link without a name.
    if (Trim(m_linkText).empty()) {
        ShowInserted(false);
        SetStatus(pagestatus::kNotRepaired);
        window->Focus(kLinkText);
        platform::Prompt().Show(String(kCaption), String(kLinkTextNeeded), platform::PromptIcon::Exclamation,
                                platform::PromptButtons::Ok);
        return false;
    }
    m_link->SetText(LinkMarkup(m_linkText));
    ShowInserted(true);
    SetStatus(m_laterRun ? pagestatus::kPartlyRepaired : pagestatus::kRepaired);
    return true;
}

void CPageBodySkipLinks::Undo()
{
    ShowInserted(false);
    SetStatus(pagestatus::kNotRepaired);
}

} // namespace orvane
