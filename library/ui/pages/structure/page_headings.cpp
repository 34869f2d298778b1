#include "library/ui/pages/structure/page_headings.h"

#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "platform/services.h"

#include <algorithm>
#include <string>
#include <unordered_map>

namespace orvane {

namespace {
constexpr char kHelpTopic[] = "3-5-1.html";
constexpr int kMessageCaption = 111;
constexpr int kItemText = 1010;
constexpr int kLevelMissing = 1011;
constexpr int kLevelsMissing = 1012;
constexpr int kSkipsNone = 1013;
constexpr int kFirstHeading = 1014;
constexpr int kNoSkipAfter = 1015;
constexpr int kSkipFurtherDown = 1016;
constexpr int kStillSkips = 1017;
constexpr int kNoText = 1018;
constexpr int kLevelEntry = 1019;
constexpr int kInstruction = 1020;
constexpr int kNothingSkipped = 1024;

std::string Number(int n) { return std::to_string(n); }

std::string HeadingName(int level) { return "h" + Number(level); }
} // namespace

CPageHeadings::CPageHeadings(const CHtmlDocument& document) : CPageValidatorBase(kTemplate), m_document(document) {}

void CPageHeadings::ReadHeadings()
{
    m_headings = ReadOutline(m_document);
    std::unordered_map<const CElement*, int> before;
    for (const Renamed& renamed : m_renamed) {
        if (renamed.kind >= tag::kH1 && renamed.kind <= tag::kH6)
            before[renamed.element] = renamed.kind - tag::kH1 + 1;
    }
    if (!before.empty()) {
        for (OutlineHeading& heading : m_headings) {
            if (auto found = before.find(heading.start); found != before.end())
                heading.level = found->second;
        }
    }
    m_firstSkip = outline::FirstSkip(Levels());
    auto chosen = std::find_if(m_headings.begin(), m_headings.end(),
                               [&](const OutlineHeading& heading) { return heading.start == m_chosen; });
    if (m_chosen && chosen != m_headings.end()) {
        m_target = static_cast<std::size_t>(chosen - m_headings.begin());
    } else {
        m_chosen = nullptr;
        m_target = m_firstSkip != outline::kNone ? m_firstSkip : 0;
    }
}

std::vector<int> CPageHeadings::Levels() const
{
    std::vector<int> levels;
    levels.reserve(m_headings.size());
    for (const OutlineHeading& heading : m_headings)
        levels.push_back(heading.level);
    return levels;
}

std::vector<int> CPageHeadings::LevelsAfter() const
{
    return outline::Relevelled(Levels(), m_target, m_level, m_moveBelow);
}

int CPageHeadings::ProposedLevel(std::size_t index) const
{
    if (index >= m_headings.size())
        return outline::kTopLevel;
    const int level = m_headings[index].level;
    if (index == 0)
        return level;
    const int previous = m_headings[index - 1].level;
    return level > previous + 1 ? outline::FittingLevel(previous) : level;
}

void CPageHeadings::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    ReadHeadings();
    if (!m_chosen)
        m_level = ProposedLevel(m_target);
    window.ClearItems(kLevel);
    for (int level = outline::kTopLevel; level <= outline::kBottomLevel; ++level)
        window.AddItem(kLevel, platform::Strings().Format(kLevelEntry, {Number(level)}));
    window.SetCurrentItem(kLevel, m_level - 1);
    window.SetChecked(kMoveBelow, m_moveBelow);
    FillOutline(kOutline, Levels(), true);
    ShowProblem();
    ShowAfter();
}

// Each heading hangs below the nearest heading before it of a higher level.
void CPageHeadings::FillOutline(int control, const std::vector<int>& levels, bool selectTarget)
{
    platform::IWindow& window = *Window();
    const platform::IStringTable& strings = platform::Strings();
    window.ClearTree(control);
    std::vector<std::pair<int, platform::TreeItem>> open;
    std::vector<platform::TreeItem> items;
    items.reserve(levels.size());
    for (std::size_t i = 0; i < levels.size(); ++i) {
        while (!open.empty() && open.back().first >= levels[i])
            open.pop_back();
        const platform::TreeItem parent = open.empty() ? platform::TreeItem{} : open.back().second;
        const std::string& text = m_headings[i].text;
        const platform::TreeItem item = window.AddTreeItem(
            control, parent, strings.Format(kItemText, {Number(levels[i]), text.empty() ? strings.Get(kNoText) : text}),
            -1, static_cast<platform::ItemData>(i));
        items.push_back(item);
        open.emplace_back(levels[i], item);
    }
    for (platform::TreeItem item : items)
        window.ExpandTreeItem(control, item, true);
    if (selectTarget && m_target < items.size())
        window.SelectTreeItem(control, items[m_target]);
}

void CPageHeadings::ShowProblem()
{
    platform::IWindow& window = *Window();
    const platform::IStringTable& strings = platform::Strings();
    if (m_target >= m_headings.size()) {
        window.SetText(kProblem, {});
        return;
    }
    // The paragraphs made headings before this page may have mended the outline.
    if (m_firstSkip == outline::kNone && !m_chosen) {
        window.SetText(kProblem, strings.Get(kNothingSkipped));
        return;
    }
    if (m_target == 0) {
        window.SetText(kProblem, strings.Get(kFirstHeading));
        return;
    }
    const int previous = m_headings[m_target - 1].level;
    const int level = m_headings[m_target].level;
    if (level <= previous + 1)
        window.SetText(kProblem, strings.Format(kSkipsNone, {Number(level), Number(previous)}));
    else if (level == previous + 2)
        window.SetText(kProblem,
                       strings.Format(kLevelMissing, {Number(previous), Number(level), Number(previous + 1)}));
    else
        window.SetText(kProblem, strings.Format(kLevelsMissing, {Number(previous), Number(level), Number(previous + 1),
                                                                 Number(level - 1)}));
}

void CPageHeadings::ShowAfter()
{
    platform::IWindow& window = *Window();
    const std::vector<int> after = LevelsAfter();
    FillOutline(kOutlineAfter, after, false);
    const std::size_t skip = outline::FirstSkip(after);
    if (skip == outline::kNone)
        window.SetText(kAfter, platform::Strings().Get(kNoSkipAfter));
    else
        window.SetText(kAfter, platform::Strings().Format(kSkipFurtherDown, {Number(after[skip - 1]),
                                                                             Number(after[skip])}));
}

void CPageHeadings::ReadControls()
{
    platform::IWindow& window = *Window();
    const int entry = window.CurrentItem(kLevel);
    if (entry >= 0)
        m_level = entry + 1;
    m_moveBelow = window.IsChecked(kMoveBelow);
}

void CPageHeadings::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    if (notification.control == kOutline && notification.code == platform::NotifyCode::SelectionChanged) {
        const platform::TreeItem item = window.SelectedTreeItem(kOutline);
        if (!item)
            return;
        const auto index = static_cast<std::size_t>(window.TreeItemData(kOutline, item));
        if (index >= m_headings.size() || index == m_target)
            return;
        m_target = index;
        m_chosen = m_headings[index].start;
        m_level = ProposedLevel(index);
        window.SetCurrentItem(kLevel, m_level - 1);
        ShowProblem();
        ShowAfter();
    } else if ((notification.control == kLevel && notification.code == platform::NotifyCode::SelectionChanged) ||
               (notification.control == kMoveBelow && notification.code == platform::NotifyCode::Clicked)) {
        ReadControls();
        ShowAfter();
    }
}

void CPageHeadings::WriteBack()
{
    // A paragraph the other heading page made a heading, and has made a
    // paragraph again since, stays one.
    for (auto renamed = m_renamed.rbegin(); renamed != m_renamed.rend(); ++renamed) {
        if (renamed->element->Kind() == renamed->given)
            renamed->element->RenameTag(renamed->name, renamed->kind);
    }
    m_renamed.clear();
}

bool CPageHeadings::Apply()
{
    platform::IWindow* window = Window();
    if (!window)
        return true;
    ReadControls();
    const std::vector<int> levels = Levels();
    const std::vector<int> after = LevelsAfter();
    // The skip this page is about must be gone, and the change must not
    // make one above the heading it changes.
    const std::size_t skip = outline::FirstSkip(after);
    const std::size_t mended = m_firstSkip == outline::kNone ? m_target : std::max(m_target, m_firstSkip);
    if (skip != outline::kNone && skip <= mended) {
        const platform::IStringTable& strings = platform::Strings();
        platform::Prompt().Show(strings.Get(kMessageCaption),
                                strings.Format(kStillSkips, {Number(after[skip - 1]), Number(after[skip])}),
                                platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
        return false;
    }
    WriteBack();
    for (std::size_t i = 0; i < m_headings.size(); ++i) {
        if (after[i] == levels[i])
            continue;
        const int kind = tag::kH1 + after[i] - 1;
        for (CElement* tagOf : {m_headings[i].start, m_headings[i].start->Partner()}) {
            if (!tagOf || (!tagOf->IsHeadingStart() && !tagOf->IsHeadingEnd()))
                continue;
            const int given = tagOf->IsHeadingEnd() ? kind + kind::kEndOffset : kind;
            Renamed renamed{tagOf, std::string(tagOf->WrittenTagName()), tagOf->Kind(), given};
            if (tagOf->RenameTag(HeadingName(after[i]), given))
                m_renamed.push_back(std::move(renamed));
        }
    }
    // The skip of this page is mended; one further down the page tells of,
    // and the next check finds it: the page's problem, a skip in its
    // outline, is then mended only in part.
    SetStatus(outline::FirstSkip(after) == outline::kNone ? pagestatus::kRepaired : pagestatus::kPartlyRepaired);
    return true;
}

// The paragraphs page before this one may have made headings since the page was filled.
void CPageHeadings::OnActivate(platform::IWindow& window)
{
    if (WasActivated()) {
        ReadHeadings();
        FillOutline(kOutline, Levels(), true);
        ShowProblem();
        ShowAfter();
    }
    CPageValidatorBase::OnActivate(window);
}

void CPageHeadings::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    WriteBack();
    if (Window()) {
        ReadHeadings();
        FillOutline(kOutline, Levels(), true);
        ShowProblem();
        ShowAfter();
    }
}

} // namespace orvane
