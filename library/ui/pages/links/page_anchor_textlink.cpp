#include "library/ui/pages/links/page_anchor_textlink.h"

#include "library/html/attribute.h"
#include "library/html/attribute_table.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "platform/services.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <unordered_set>

namespace orvane {

namespace {
constexpr int kInstruction = 402;
constexpr char kHelpTopic[] = "13-1-1.html";
constexpr int kColumnTitle = 404;
constexpr int kFirstExplanation = 405;  // one a class, in the order of the classes
constexpr int kCaption = 111;
constexpr int kFineState = 910;
constexpr int kReviewState = 911;
constexpr int kTextNeeded = 912;
constexpr int kNoTextLinks = 913;
constexpr int kStateIcons = 222;
constexpr int kColumnWidth = 500;
// Elements on either side of a link that a preview of a long block shows.
constexpr std::size_t kPreviewNeighbours = 60;

constexpr std::array<std::string_view, 10> kMeaninglessPhrases = {
    "click here", "more", "follow this", "mehr", "weiter", "hier", ">>", "klicken", "hier klicken", "klick mich"};

// The elements a link can stand in, whose markup shows it in its setting.
constexpr std::array<int, 17> kBlockKinds = {64, tag::kList, tag::kList, tag::kTd, tag::kTh, tag::kBody,
                                             tag::kLabel, 20, 25, tag::kFrame, 33, 34, 35, 36, 37, 38, tag::kPre};

bool IsBlock(int kind) { return std::find(kBlockKinds.begin(), kBlockKinds.end(), kind) != kBlockKinds.end(); }

std::string String(int id) { return platform::Strings().Get(id); }

std::string_view HrefOf(const CElement& link)
{
    const CAttribute* href = link.FindAttribute(attr::kHref);
    return href && !href->IsHidden() ? std::string_view(href->Value()) : std::string_view();
}

// The texts joined as one line: a line break reads as a blank.
std::string JoinedText(const std::vector<CElement*>& texts)
{
    std::string joined;
    for (const CElement* text : texts) {
        if (!text->IsDeleted())
            AppendWithoutBreakReturns(joined, text->Text());
    }
    std::replace(joined.begin(), joined.end(), '\n', ' ');
    return std::string(Trim(joined));
}

int ClassOfText(std::string_view text)
{
    if (text.empty())
        return CPageAnchorTextlink::kNoText;
    if (TextLength(text) >= CPageAnchorTextlink::kLongText)
        return CPageAnchorTextlink::kTooLong;
    for (std::string_view phrase : kMeaninglessPhrases) {
        if (EqualsIgnoreCase(text, phrase))
            return CPageAnchorTextlink::kMeaningless;
    }
    if (text == "d" || text == "D" || text == "[d]" || text == "[D]")
        return CPageAnchorTextlink::kDLinkMark;
    return CPageAnchorTextlink::kFine;
}
} // namespace


CPageAnchorTextlink::CPageAnchorTextlink(CHtmlDocument& document)
    : CPageValidatorBase(kTemplate), m_document(document)
{
}

CPageAnchorTextlink::~CPageAnchorTextlink() = default;

std::string CPageAnchorTextlink::LinkText(const CAnchorTextHolder& holder)
{
    std::string text = JoinedText(holder.texts);
    // Once taken back, the replacement is no part of the page's text.
    if (holder.replacement && !holder.replacement->IsDeleted())
        text += holder.replacement->Text();
    return text;
}

std::string CPageAnchorTextlink::ShownText(const CAnchorTextHolder& holder) const
{
    return UserText(LinkText(holder), TextPlace::ElementText);
}

void CPageAnchorTextlink::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    window.SetColumns(kLinks, {{String(kColumnTitle), kColumnWidth, platform::Align::Left, true}});
    window.SetImageStrip(kLinks, kStateIcons);
    std::vector<std::string> states(std::max(kIconFine, kIconReview) + 1);
    states[kIconFine] = String(kFineState);
    states[kIconReview] = String(kReviewState);
    window.SetImageTexts(kLinks, states);
    window.SetColumnEditable(kLinks, 0);
    if (!m_collected) {
        m_collected = true;
        m_holders = CollectLinks(m_document);
    }
    FillRows();
}

std::string_view CPageAnchorTextlink::Target(const CElement& link) { return HrefOf(link); }

std::vector<std::unique_ptr<CAnchorTextHolder>> CPageAnchorTextlink::CollectLinks(const CHtmlDocument& document)
{
    std::vector<std::unique_ptr<CAnchorTextHolder>> holders;
    CElement* context = nullptr;
    CElement* link = nullptr;
    bool hasPicture = false;
    std::vector<CElement*> texts;
    for (CElement* element : document.Elements()) {
        if (element->IsDeleted())
            continue;
        const int kind = element->Kind();
        if (IsBlock(kind))
            context = element;
        if (!link) {
            if (kind == tag::kA) {
                link = element;
                texts.clear();
            }
            continue;
        }
        if (kind == kind::kText) {
            texts.push_back(element);
        } else if (kind == tag::kImg || kind == tag::kObject) {
            hasPicture = true;
        } else if (kind == tag::kA + kind::kEndOffset) {
            // Named anchors lead nowhere, and a picture's link is named by
            // the picture's text alternative, which the image pages review.
            const bool listed = !HrefOf(*link).empty() && !(hasPicture && JoinedText(texts).empty());
            if (listed) {
                auto holder = std::make_unique<CAnchorTextHolder>();
                holder->link = link;
                holder->context = context;
                holder->texts = texts;
                holders.push_back(std::move(holder));
            }
            link = nullptr;
            hasPicture = false;
        }
    }
    return holders;
}

void CPageAnchorTextlink::FillRows()
{
    platform::IWindow& window = *Window();
    window.ClearItems(kLinks);
    for (const auto& holder : m_holders)
        window.AddItem(kLinks, ShownText(*holder), reinterpret_cast<platform::ItemData>(holder.get()));
    ClassifyRows();
    m_shownRow = -1;
    const bool any = !m_holders.empty();
    EnableControls(any, {kLinks, kLinkText, kChange}, false);
    if (!any) {
        window.SetText(kExplanation, String(kNoTextLinks));
        window.SetText(kTarget, {});
        window.SetText(kLinkText, {});
        PreviewParagraph({}, kPreview);
        return;
    }
    window.SetCurrentItem(kLinks, 0);
    window.SetItemSelected(kLinks, 0, true);
    window.Focus(kLinks);
    ShowRow(0);
}

// A text shared by links to other places leaves the listener guessing which
// is which; targets that differ in letter case only are taken for one. Each
// text's targets are gathered first, so a page of many links costs a pass.
void CPageAnchorTextlink::ClassifyLinks(const std::vector<std::unique_ptr<CAnchorTextHolder>>& holders)
{
    std::vector<std::string> texts;
    texts.reserve(holders.size());
    std::unordered_map<std::string, std::unordered_set<std::string>> targetsOfText;
    for (const auto& holder : holders) {
        texts.push_back(LinkText(*holder));
        if (!texts.back().empty())
            targetsOfText[ToLower(texts.back())].insert(ToLower(HrefOf(*holder->link)));
    }
    for (std::size_t row = 0; row < holders.size(); ++row) {
        CAnchorTextHolder& holder = *holders[row];
        holder.linkClass = ClassOfText(texts[row]);
        if (holder.linkClass == kFine && targetsOfText[ToLower(texts[row])].size() > 1)
            holder.linkClass = kSameTextOtherTarget;
    }
}

void CPageAnchorTextlink::ClassifyRows()
{
    ClassifyLinks(m_holders);
    platform::IWindow* window = Window();
    if (!window)
        return;
    for (std::size_t row = 0; row < m_holders.size(); ++row) {
        const int linkClass = m_holders[row]->linkClass;
        const bool fine = linkClass == kFine || linkClass == kDLinkMark;
        window->SetItemIcon(kLinks, static_cast<int>(row), fine ? kIconFine : kIconReview);
    }
}

CAnchorTextHolder* CPageAnchorTextlink::HolderOfRow(int row) const
{
    platform::IWindow* window = Window();
    if (!window || row < 0 || row >= window->ItemCount(kLinks))
        return nullptr;
    return reinterpret_cast<CAnchorTextHolder*>(window->GetItemData(kLinks, row));
}

void CPageAnchorTextlink::ShowRow(int row)
{
    const CAnchorTextHolder* holder = HolderOfRow(row);
    if (!holder)
        return;
    platform::IWindow& window = *Window();
    m_shownRow = row;
    window.SetText(kExplanation, String(kFirstExplanation + holder->linkClass));
    window.SetText(kTarget, HrefOf(*holder->link));
    window.SetText(kLinkText, window.ItemText(kLinks, row));
    Preview(*holder);
}

// The block the link stands in, up to its end, with the link marked out so
// the user sees which of the block's links is meant.
void CPageAnchorTextlink::Preview(const CAnchorTextHolder& holder)
{
    if (!holder.context) {
        PreviewParagraph({}, kPreview);
        return;
    }
    const CElement* linkEnd = holder.link->Partner();
    const CElement* last = holder.context->Partner();
    // A block closed before the link (a paragraph ended before a link that
    // follows it loose) would not show the link at all.
    if (!last || (linkEnd && m_document.IndexOf(*last) < m_document.IndexOf(*linkEnd)))
        last = linkEnd ? linkEnd : holder.link;
    const std::vector<CElement*>& elements = m_document.Elements();
    const std::size_t blockStart = m_document.IndexOf(*holder.context);
    const std::size_t blockEnd = m_document.IndexOf(*last);
    // A block of hundreds of links (a site's index in one list) says no more
    // around the link than its neighbours do, and takes the preview long to
    // lay out: the block's start tag and the link's neighbours stand for it.
    std::size_t from = blockStart;
    std::size_t to = blockEnd;
    if (blockEnd - blockStart > 2 * kPreviewNeighbours) {
        const std::size_t linkStart = m_document.IndexOf(*holder.link);
        const std::size_t linkStop = linkEnd ? m_document.IndexOf(*linkEnd) : linkStart;
        from = std::max(blockStart, linkStart - std::min(linkStart, kPreviewNeighbours));
        to = std::min(blockEnd, linkStop + kPreviewNeighbours);
        // Cut between the block's items (the list items of a list, the rows
        // of a table), as the block's first item shows them, not inside one.
        int itemKind = kind::kText;
        for (std::size_t i = blockStart + 1; i < blockEnd; ++i) {
            const int kind = elements[i]->Kind();
            if (!elements[i]->IsDeleted() && kind >= 0 && kind < kind::kEndOffset) {
                itemKind = kind;
                break;
            }
        }
        if (itemKind != kind::kText) {
            const std::size_t earliest = from - std::min(from - blockStart, kPreviewNeighbours);
            std::size_t start = from;
            while (start > earliest && elements[start]->Kind() != itemKind)
                --start;
            if (elements[start]->Kind() == itemKind)
                from = start;
            const std::size_t latest = std::min(blockEnd, to + kPreviewNeighbours);
            while (to < latest && elements[to]->Kind() != itemKind + kind::kEndOffset &&
                   elements[to + 1]->Kind() != itemKind)
                ++to;
        }
    }
    std::string markup;
    if (from != blockStart)
        holder.context->AppendMarkupText(markup);
    for (std::size_t i = from; i <= to && i < elements.size(); ++i) {
        const CElement* element = elements[i];
        if (element->IsDeleted())
            continue;
        if (element == holder.link)
            markup += "<strong style=\"background-color: #ffff99\">";
        element->AppendMarkupText(markup);
        if (element == linkEnd)
            markup += "</strong>";
    }
    if (to != blockEnd && !last->IsDeleted())
        last->AppendMarkupText(markup);
    PreviewParagraph(markup, kPreview);
}

bool CPageAnchorTextlink::Rewrite(int row, std::string_view typed)
{
    CAnchorTextHolder* holder = HolderOfRow(row);
    if (!holder)
        return false;
    platform::IWindow& window = *Window();
    // The row edited is the one whose class and block the page then shows.
    if (row != m_shownRow) {
        const int rows = window.ItemCount(kLinks);
        for (int other = 0; other < rows; ++other)
            window.SetItemSelected(kLinks, other, other == row);
        window.SetCurrentItem(kLinks, row);
        m_shownRow = row;
    }
    const std::string before = ShownText(*holder);
    // A link without a text has no name a screen reader could read.
    if (Trim(typed).empty()) {
        window.SetItemText(kLinks, row, 0, before);
        ShowRow(row);
        platform::Prompt().Show(String(kCaption), String(kTextNeeded), platform::PromptIcon::Exclamation,
                                platform::PromptButtons::Ok);
        return false;
    }
    if (typed == before) {
        window.SetItemText(kLinks, row, 0, before);
        ShowRow(row);
        return true;
    }
    if (!holder->replacement) {
        ElementPtr made(new CElement);
        made->SetKind(kind::kText);
        made->SetModified(true);
        CElement* place = holder->texts.empty() ? holder->link : holder->texts.back();
        CElement* replacement = made.get();
        if (!m_document.InsertAfter(place, std::move(made))) {
            window.SetItemText(kLinks, row, 0, before);
            ShowRow(row);
            return false;
        }
        holder->replacement = replacement;
    }
    for (CElement* own : holder->texts)
        own->SetDeleted(true);
    holder->replacement->SetDeleted(false);
    // Escaped to stand between tags (a < would open one), in the page's
    // encoding; a reference the user wrote on purpose stays one.
    holder->replacement->SetText(PageBytes(typed, TextPlace::ElementText));
    window.SetItemText(kLinks, row, 0, ShownText(*holder));
    ClassifyRows();
    ShowRow(row);
    return true;
}

void CPageAnchorTextlink::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    using platform::NotifyCode;
    if (notification.control == kLinks && notification.code == NotifyCode::ItemChanged) {
        if (notification.item >= 0 && notification.item < window.ItemCount(kLinks) &&
            window.IsItemSelected(kLinks, notification.item))
            ShowRow(notification.item);
    } else if (notification.control == kLinks && notification.code == NotifyCode::ItemEdited) {
        if (notification.column == 0)
            Rewrite(notification.item, window.ItemText(kLinks, notification.item));
    } else if (notification.control == kChange && notification.code == NotifyCode::Clicked) {
        if (Rewrite(m_shownRow, window.Text(kLinkText)))
            window.Focus(kLinks);
        else
            window.Focus(kLinkText);
    }
}

// A text typed in the field and left without Change is what the user meant
// for the link: moving on with Enter or Next must not drop it.
bool CPageAnchorTextlink::Apply()
{
    if (platform::IWindow* window = Window()) {
        const int row = m_shownRow;
        if (row >= 0 && window->Text(kLinkText) != window->ItemText(kLinks, row) && !Rewrite(row, window->Text(kLinkText)))
            return false;
    }
    SetStatus(pagestatus::kRepaired);
    const bool rewritten = std::any_of(m_holders.begin(), m_holders.end(), [](const auto& holder) {
        return holder->replacement && !holder->replacement->IsDeleted();
    });
    SetVerdict(rewritten ? "" : "link texts reviewed");
    return true;
}

void CPageAnchorTextlink::Undo()
{
    SetVerdict({});
    for (const auto& holder : m_holders) {
        for (CElement* own : holder->texts)
            own->SetDeleted(false);
        if (holder->replacement)
            holder->replacement->SetDeleted(true);
    }
    SetStatus(pagestatus::kNotRepaired);
    if (Window()) {
        const int shown = m_shownRow;
        FillRows();
        if (shown > 0 && HolderOfRow(shown)) {
            Window()->SetItemSelected(kLinks, 0, false);
            Window()->SetItemSelected(kLinks, shown, true);
            Window()->SetCurrentItem(kLinks, shown);
            ShowRow(shown);
        }
    }
}

} // namespace orvane
