#include "library/ui/pages/links/page_anchor_title.h"

#include "library/ui/default_text_pages.h"
#include "library/ui/pages/links/page_anchor_textlink.h"
#include "library/ui/paragraph_context.h"
#include "library/ui/validator_sheet.h"

#include "library/checks/element_anchor.h"
#include "library/checks/family_factory.h"
#include "library/html/address_path.h"
#include "library/html/attribute.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/one_line.h"
#include "library/html/text_util.h"
#include "platform/services.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace orvane {

namespace {
constexpr int kCaption = 111;
constexpr int kInstruction = 1145;
constexpr int kMeaninglessExplanation = 1146;
constexpr int kSharedExplanation = 1147;
constexpr int kTitleSaysNoMore = 1148;
constexpr int kLinkTextColumn = 404;
constexpr int kTargetColumn = 1149;
constexpr int kTitleColumn = 1150;
constexpr int kNoLinksLeft = 1151;
constexpr char kHelpTopic[] = "a1hlp.html";
constexpr int kTitleStart = 87;
// A page names its title in its head: this much of it is read for it.
constexpr std::size_t kTitleReach = 64 * 1024;

std::string String(int id) { return platform::Strings().Get(id); }

bool NeedsTitle(int linkClass)
{
    return linkClass == CPageAnchorTextlink::kMeaningless || linkClass == CPageAnchorTextlink::kSameTextOtherTarget;
}

// The address without its query and fragment.
std::string_view WithoutQuery(std::string_view href)
{
    return href.substr(0, std::min(href.find('?'), href.find('#')));
}

// The title of the local page, as its own title element gives it; empty
// when the file cannot be read or has none.
std::string TitleOfPage(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {};
    std::string head(kTitleReach, '\0');
    file.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(file.gcount()));
    CHtmlDocument page{CFamilyElementFactory::Instance()};
    page.Start(1, false);
    std::istringstream in(head);
    if (page.Load(in) != 1)
        return {};
    std::string title;
    bool inTitle = false;
    for (const CElement* e : page.Elements()) {
        if (e->Kind() == kTitleStart) {
            inTitle = true;
        } else if (inTitle && e->Kind() == kind::kText) {
            title.append(e->Text());
        } else if (inTitle) {
            break;
        }
    }
    return defaulttext::FromMarkup(CollapseSpaces(title));
}

// The last part of the address's path, else its host, else the address:
// "summer.html" of "http://ferry.example/tours/summer.html?x=1".
std::string LastPartOfAddress(std::string_view href)
{
    const std::string_view address = Trim(href);
    if (address.starts_with("#"))
        return std::string(address.substr(1));
    std::string_view path = WithoutQuery(address);
    std::string_view host;
    const std::size_t colon = path.find(':');
    if (colon != std::string_view::npos && colon > 1 && IsAbsoluteAddress(path)) {
        path = path.substr(colon + 1);
        if (!path.starts_with("//"))
            return std::string(path);  // mailto:, tel: ... name their target whole
    }
    if (path.starts_with("//")) {
        path = path.substr(2);
        const std::size_t slash = path.find('/');
        host = path.substr(0, slash);
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash);
    }
    while (path.ends_with("/"))
        path.remove_suffix(1);
    const std::size_t slash = path.rfind('/');
    const std::string_view last = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (!last.empty())
        return std::string(last);
    return std::string(host.empty() ? address : host);
}
} // namespace

CPageAnchorTitle::CPageAnchorTitle(CHtmlDocument& document) : CPageValidatorBase(kTemplate), m_document(document) {}

CPageAnchorTitle::~CPageAnchorTitle() = default;

bool CPageAnchorTitle::HasLinksToTell(const CHtmlDocument& document)
{
    const auto holders = CPageAnchorTextlink::CollectLinks(document);
    CPageAnchorTextlink::ClassifyLinks(holders);
    return std::any_of(holders.begin(), holders.end(), [](const auto& holder) { return NeedsTitle(holder->linkClass); });
}

std::string CPageAnchorTitle::ProposedTitle(std::string_view href, const CDocumentFolder& folder)
{
    const std::string_view address = WithoutQuery(Trim(href));
    if (!address.empty() && !IsAbsoluteAddress(address)) {
        const std::string path = folder.AbsolutePath(address);
        if (!path.empty()) {
            std::string title = TitleOfPage(path);
            if (!title.empty())
                return title;
        }
    }
    return LastPartOfAddress(href);
}

std::string CPageAnchorTitle::ProposedFor(std::string_view href)
{
    auto known = m_proposals.find(href);
    if (known != m_proposals.end())
        return known->second;
    CDocumentFolder own;
    own.SetPath(m_document.Name());
    std::string proposed = ProposedTitle(href, Sheet() ? Sheet()->DocumentFolder() : own);
    m_proposals.emplace(std::string(href), proposed);
    return proposed;
}

void CPageAnchorTitle::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    window.SetColumns(kLinks, {{String(kLinkTextColumn), 140, platform::Align::Left, false},
                               {String(kTargetColumn), 160, platform::Align::Left, false},
                               {String(kTitleColumn), 200, platform::Align::Left, true}});
    if (!m_collected) {
        m_collected = true;
        CollectRows();
    }
    FillRows();
}

// The links are found when the page is first shown, after the review before
// it: a link whose text the user rewrote there may need no title any more.
void CPageAnchorTitle::CollectRows()
{
    m_holders = CPageAnchorTextlink::CollectLinks(m_document);
    CPageAnchorTextlink::ClassifyLinks(m_holders);
    for (const auto& holder : m_holders) {
        auto* link = dynamic_cast<CElementAnchor*>(holder->link);
        if (!link || !NeedsTitle(holder->linkClass))
            continue;
        CAttribute* title = link->TitleToRepair();
        if (!title)
            continue;
        const std::string own = title->IsHidden() ? std::string() : std::string(Trim(UserText(title->Value())));
        Row row{holder.get(), title, {}};
        row.typed = own.empty() ? ProposedFor(CPageAnchorTextlink::Target(*link)) : own;
        m_rows.push_back(std::move(row));
    }
}

void CPageAnchorTitle::FillRows()
{
    platform::IWindow& window = *Window();
    window.ClearItems(kLinks);
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const Row& row = m_rows[i];
        const int at = window.AddItem(kLinks, CPageAnchorTextlink::LinkText(*row.holder), static_cast<platform::ItemData>(i));
        window.SetItemText(kLinks, at, kColumnTarget, CPageAnchorTextlink::Target(*row.holder->link));
        window.SetItemText(kLinks, at, kColumnTitle, row.typed);
    }
    m_shownRow = -1;
    const bool any = !m_rows.empty();
    window.Enable(kLinks, any);
    window.Enable(kTitle, any);
    if (!any) {
        window.SetText(kExplanation, String(kNoLinksLeft));
        window.SetText(kTitle, {});
        PreviewParagraph({}, kPreview);
        return;
    }
    window.SetCurrentItem(kLinks, 0);
    window.SetItemSelected(kLinks, 0, true);
    ShowRow(0);
}

void CPageAnchorTitle::ShowRow(int row)
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return;
    platform::IWindow& window = *Window();
    m_shownRow = row;
    const Row& shown = m_rows[static_cast<std::size_t>(row)];
    const bool meaningless = shown.holder->linkClass == CPageAnchorTextlink::kMeaningless;
    window.SetText(kExplanation, String(meaningless ? kMeaninglessExplanation : kSharedExplanation));
    window.SetText(kTitle, shown.typed);
    const CElement* link = shown.holder->link;
    const CElement* end = link->Partner();
    const std::size_t start = m_document.IndexOf(*link);
    const std::size_t stop = end && m_document.Find(end) ? m_document.IndexOf(*end) : start;
    PreviewParagraph(ParagraphInContext(m_document, start, std::max(start, stop)), kPreview);
}

void CPageAnchorTitle::SelectRow(int row)
{
    platform::IWindow& window = *Window();
    for (int other = 0; other < window.ItemCount(kLinks); ++other)
        window.SetItemSelected(kLinks, other, other == row);
    window.SetCurrentItem(kLinks, row);
    ShowRow(row);
}

void CPageAnchorTitle::KeepTypedTitle()
{
    platform::IWindow* window = Window();
    if (!window || m_shownRow < 0)
        return;
    m_rows[static_cast<std::size_t>(m_shownRow)].typed = window->Text(kTitle);
    window->SetItemText(kLinks, m_shownRow, kColumnTitle, window->Text(kTitle));
}

void CPageAnchorTitle::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    using platform::NotifyCode;
    if (notification.control == kLinks && notification.code == NotifyCode::ItemChanged) {
        if (notification.item >= 0 && notification.item < window.ItemCount(kLinks) &&
            window.IsItemSelected(kLinks, notification.item) && notification.item != m_shownRow)
            ShowRow(notification.item);
    } else if (notification.control == kTitle && notification.code == NotifyCode::TextChanged) {
        KeepTypedTitle();
    }
}

// A link left without a title stays as it is. A title that only repeats the
// link's text tells its target apart no better, so the user is asked again.
bool CPageAnchorTitle::Apply()
{
    if (!Window())
        return true;
    KeepTypedTitle();
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const std::string_view typed = Trim(m_rows[i].typed);
        if (typed.empty() || !EqualsIgnoreCase(typed, CPageAnchorTextlink::LinkText(*m_rows[i].holder)))
            continue;
        TakeBack();
        SelectRow(static_cast<int>(i));
        platform::Prompt().Show(String(kCaption), String(kTitleSaysNoMore), platform::PromptIcon::Exclamation,
                                platform::PromptButtons::Ok);
        Window()->Focus(kTitle);
        return false;
    }
    TakeBack();
    int titled = 0;
    for (Row& row : m_rows) {
        const std::string_view typed = Trim(row.typed);
        if (typed.empty())
            continue;
        ++titled;
        // A title the link had already, kept as it was typed, is left untouched.
        if (!row.title->IsHidden() && Trim(UserText(row.title->Value())) == typed)
            continue;
        row.title->SetFromText(typed, Encoding());
        row.written = true;
        m_written = true;
    }
    if (titled > 0)
        SetStatus(titled == static_cast<int>(m_rows.size()) ? pagestatus::kRepaired : pagestatus::kPartlyRepaired);
    return true;
}

void CPageAnchorTitle::TakeBack()
{
    if (!m_written)
        return;
    m_written = false;
    for (Row& row : m_rows) {
        if (row.written)
            row.title->Revert();
        row.written = false;
    }
}

// The review page before this one repaired the same problem its own way;
// what it did stands when the titles go.
void CPageAnchorTitle::Undo()
{
    TakeBack();
    SetStatus(pagestatus::kNotRepaired);
    const CPageValidatorBase* review = Sheet() && Element() ? Sheet()->FindPage(*Element(), "CPageAnchorTextlink") : nullptr;
    if (review && !review->IsSkipped() && review->Status() != pagestatus::kNotRepaired)
        Element()->SetRepaired(CheckBit(), true);
}

void CPageAnchorTitle::Destroyed() { m_shownRow = -1; }

} // namespace orvane
