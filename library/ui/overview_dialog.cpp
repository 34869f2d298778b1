#include "library/ui/overview_dialog.h"

#include "common/orvane_settings.h"
#include "library/dialogs/about_dialog.h"
#include "library/checks/wcag2_criteria.h"
#include "library/dialogs/help_topic.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/rules/rule_findings.h"
#include "library/ui/checking_session.h"
#include "library/ui/problem_list.h"
#include "library/ui/repair_run.h"
#include "library/ui/site_registry_offer.h"
#include "library/ui/unknown_table_dialog.h"
#include "library/ui/validator_sheet.h"
#include "platform/column_menu.h"
#include "platform/registry.h"
#include "platform/services.h"

#include <algorithm>
#include <numeric>
#include <strings.h>

namespace orvane {

using platform::IWindow;
using platform::Notification;
using platform::NotifyCode;
using platform::TreeItem;

namespace {

enum Control : int {
    kTree = 1107,
    kList = 1267,
    kRepair = 1043,
    kSettingsButton = 1060,
    kSiteRegistryButton = 1289,
    kHelpButton = 1046,
    kIgnoreRepaired = 1285,
    kProgress = 1269,
    kSummary = 1273,
    kSelectionCount = 1272,
    kListCaption = 1282,
    kTargetLine = 1280,
    kAchievedLine = 1274,
    kPicture508 = 1281,
    kPictureNone = 1278,
    kPictureA = 1276,
    kPictureAA = 1275,
    kPictureAAA = 1277,
};

enum String : int {
    kAbout = 101,
    kCaption = 111,
    kAutomatic = 273,
    kNotAutomatic = 274,
    kPriorityHeader = 280,
    kAutoRepairHeader = 282,
    kAtLevelGroup = 326,
    kOtherGroup = 327,
    kSelectedSuffix = 328,
    kSummaryOpen = 329,
    kSummaryAllRepaired = 330,
    kNoConformance = 331,
    kConformance = 332,
    kTargetLineText = 335,
    kNothingAtLevel = 337,
    kOthersExist = 338,
    kRepairedText = 339,
    kNotRepairedText = 340,
    kListCaptionText = 341,
    kProblemHeader = 342,
    kRepairedHeader = 343,
    kOpenAutomatic = 860,
    kRepairedAutomatic = 861,
    kPartlyRepairedText = 862,
    kSettledText = 1261,
    kSettledDetails = 1262,
    kSummaryOpenSettled = 1268,
    kSummaryAllClosed = 1269,
    kWcag2Header = 1220,
    kByHand = 1383,
    kNoWcag2 = 1221,
};

constexpr int kColumnCount = 5;
constexpr int kWcag2Column = 4;

constexpr int kIcon = 128;
constexpr int kStateImages = 256;
constexpr int kAtLevelIcon = 0;
constexpr int kOtherIcon = 1;
// The head's and the entry's icon of a problem settled by a verdict, after
// those of the group, open and repaired states.
constexpr int kSettledIcons = 8;

// Icons of the achieved level, by picture.
constexpr int kLevelIconBase = 300;

const std::pair<int, int> kDefaultRatio{2, 5};

// Values of the window's place, read and written in this order.
constexpr const char* kPlacementValues[] = {"LocationLeft",     "LocationRight",    "LocationTop",
                                            "LocationBottom",   "LocationDividerX", "LocationDividerY",
                                            "LocationMaxamized"};

std::string S(int id) { return platform::Strings().Get(id); }

// What a check-mode row shows as its priority: an ungrouped head stands for
// the warnings of several checks, so it shows the most urgent of them.
int ShownPriority(const CProblemEntry& head, bool checkMode)
{
    int priority = head.Priority();
    if (checkMode && !head.IsGrouped()) {
        for (const CProblemEntry* entry : head.Grouped())
            priority = std::min(priority, entry->Priority());
    }
    return priority;
}

// The WCAG 2 criteria a row stands for, in the criteria's order: a problem's
// are its check's; a check-mode head of general warnings stands for the
// warnings of several checks, so it gathers theirs.
std::vector<const SuccessCriterion*> RowCriteria(const CProblemEntry& head, bool checkMode)
{
    auto of = [](const CProblemEntry& entry) {
        if (const rules::RuleDefinition* rule = entry.Rule()) {
            std::vector<const SuccessCriterion*> criteria;
            for (std::string_view number : rules::SplitCriteria(rule->criteria))
                if (const SuccessCriterion* criterion = FindSuccessCriterion(number))
                    criteria.push_back(criterion);
            return criteria;
        }
        return Wcag2CriteriaOf(entry.Element().GetCheckName(entry.Bit()));
    };
    std::vector<const SuccessCriterion*> criteria = of(head);
    if (checkMode && !head.IsGrouped()) {
        for (const CProblemEntry* entry : head.Grouped()) {
            for (const SuccessCriterion* criterion : of(*entry)) {
                if (std::find(criteria.begin(), criteria.end(), criterion) == criteria.end())
                    criteria.push_back(criterion);
            }
        }
        // Pointers into one table: their order is the criteria's.
        std::sort(criteria.begin(), criteria.end());
    }
    return criteria;
}

// Whether choosing the row opens a page of the wizard: a WCAG 2.2 rule's
// finding no page repairs yet is shown, with its reason, but never chosen.
bool RowOpensPage(const CProblemEntry& entry, bool checkMode)
{
    if (entry.OpensPage())
        return true;
    return checkMode && std::any_of(entry.Grouped().begin(), entry.Grouped().end(),
                                    [](const CProblemEntry* member) { return member->OpensPage(); });
}

// "1.1.1 A, 2.1.1 A": short enough for a column; the names are in the help.
std::string CriteriaCell(const std::vector<const SuccessCriterion*>& criteria)
{
    if (criteria.empty())
        return S(kNoWcag2);
    std::string text;
    for (const SuccessCriterion* criterion : criteria) {
        if (!text.empty())
            text += ", ";
        text += std::string(criterion->number) + " " + std::string(Wcag2LevelText(criterion->level));
    }
    return text;
}

} // namespace

bool COverviewDialog::s_checkMode = true;
bool COverviewDialog::s_sortAscending[5] = {true, true, true, true, true};
// Most users judge by WCAG 1.0 priorities: the WCAG 2 column is there for
// those who ask for it.
bool COverviewDialog::s_columnHidden[5] = {false, false, false, false, true};

void COverviewDialog::Prepare(CHtmlDocument& document, COrvaneSettings& settings, const std::string& fileName)
{
    m_document = &document;
    m_settings = &settings;
    m_fileName = fileName;
    platform::WaitCursor wait;
    if (!m_registryLoaded) {
        m_registryLoaded = true;
        // A site that keeps its own registry shares its decisions with everyone who checks it.
        m_registry.UseSiteOf(document.Name().empty() ? fileName : document.Name());
        // Loaded even when there is no file yet: the session writes it, and
        // what it decides is settled again when the page is checked again.
        m_registry.LoadForSession();
    }
    // Tables nobody judged yet are asked about before any check runs.
    CUnknownTableDialog question;
    ScopedTableTypeQuestion asking(question);
    m_problems.Prepare(document, settings, &m_registry);
}

int COverviewDialog::RunModal() { return platform::Windows().RunModal(kTemplate, *this, nullptr); }

// --- Opening

void COverviewDialog::OnInit(IWindow& window)
{
    window.SetIcon(kIcon);
    std::string title = S(kCaption);
    if (m_document && m_document->OriginFlag() == 1)
        title += " - " + CDocumentFolder::FileName(m_fileName);
    window.SetTitle(title);
    // The problem text takes what the other columns leave, so a column shown
    // from the header's menu fits without scrolling the list sideways.
    window.SetColumns(kList, {{S(kProblemHeader), 225, platform::Align::Left, true},
                              {S(kRepairedHeader), 75, platform::Align::Centre, false,
                               {S(kRepairedText), S(kSettledText), S(kPartlyRepairedText), S(kNotRepairedText)}},
                              {S(kPriorityHeader), 75, platform::Align::Centre},
                              {S(kAutoRepairHeader), 80, platform::Align::Left},
                              {S(kWcag2Header), 90, platform::Align::Left}});
    if (platform::IColumnMenus* menus = platform::ColumnMenus(&window)) {
        menus->SetColumnMenu(kList, {1, 2, 3, kWcag2Column},
                             [this, &window](int column) { ToggleColumn(window, column); });
        for (int column = 1; column < kColumnCount; ++column)
            menus->SetColumnHidden(kList, column, s_columnHidden[column]);
    }
    window.SetImageStrip(kTree, kStateImages);
    window.SetImageStrip(kList, kStateImages);
    // The icons by RowIcon's numbers: the two groups, then a head and an
    // entry each of open, open but set to be repaired automatically,
    // repaired, repaired automatically, and settled by a verdict.
    std::vector<std::string> states{S(kAtLevelGroup), S(kOtherGroup)};
    for (int state : {kNotRepairedText, kOpenAutomatic, kRepairedText, kRepairedAutomatic, kSettledText})
        states.insert(states.end(), 2, S(state));
    window.SetImageTexts(kTree, states);
    window.SetImageTexts(kList, states);
    window.SetChecked(kIgnoreRepaired, m_settings->GetIgnoreRepaired());
    // A page given without a file has no site to keep a registry for.
    window.Enable(kSiteRegistryButton, !(m_document && !m_document->Name().empty() ? m_document->Name() : m_fileName).empty());
    GroupAndFillTree(window);
    RefreshSummary(window);
    RefreshTargetLine(window);
    const std::string about = S(kAbout);
    if (!about.empty())
        window.AddSystemCommand(platform::kCommandAbout, about);
    window.SetSplitterRatio(kDefaultRatio.first, kDefaultRatio.second);
    RestorePlacement(window);
}

void COverviewDialog::GroupAndFillTree(IWindow& window)
{
    m_problems.Group(*m_settings);
    window.ClearTree(kTree);
    auto addGroup = [&](const std::vector<CProblemEntry*>& heads, int textId, int icon, bool expand) {
        if (heads.empty())
            return TreeItem{0};
        const TreeItem root = window.AddTreeItem(kTree, 0, S(textId), icon, 0);
        for (CProblemEntry* head : heads)
            window.AddTreeItem(kTree, root, head->Name(), RowIcon(*head, true), reinterpret_cast<platform::ItemData>(head));
        window.SortTreeChildren(kTree, root);
        window.ExpandTreeItem(kTree, root, expand);
        return root;
    };
    const TreeItem atLevel = addGroup(m_problems.AtLevelGroup(), kAtLevelGroup, kAtLevelIcon, true);
    const TreeItem other = addGroup(m_problems.OtherGroup(), kOtherGroup, kOtherIcon, false);
    window.ClearItems(kList);
    // The list shows the first group straight away, so the user starts with what counts.
    const TreeItem first = atLevel ? atLevel : other;
    if (first)
        window.SelectTreeItem(kTree, first);
    SelectNode(window, first);
}

// --- The tree and the list

void COverviewDialog::SelectNode(IWindow& window, TreeItem item)
{
    window.ClearItems(kList);
    if (!item) {
        RefreshSelectionCount(window);
        return;
    }
    window.SetText(kListCaption, platform::Strings().Format(kListCaptionText, {window.TreeItemText(kTree, item)}));
    const bool ignoreRepaired = window.IsChecked(kIgnoreRepaired);
    bool checkMode = true;
    auto addRow = [&](const std::string& text, CProblemEntry& entry, bool repaired) {
        const int row = window.AddItem(kList, text, reinterpret_cast<platform::ItemData>(&entry));
        window.SetItemSelected(kList, row, !(repaired && ignoreRepaired) && RowOpensPage(entry, checkMode));
    };
    if (auto* head = reinterpret_cast<CProblemEntry*>(window.TreeItemData(kTree, item))) {
        s_checkMode = checkMode = false;
        const PageEncoding& encoding = m_document->Encoding();
        addRow(head->Description(encoding), *head, head->IsClosed());
        for (CProblemEntry* entry : head->Grouped())
            addRow(entry->Description(encoding), *entry, entry->IsClosed());
    } else {
        s_checkMode = true;
        for (TreeItem child : window.TreeChildren(kTree, item)) {
            auto* entry = reinterpret_cast<CProblemEntry*>(window.TreeItemData(kTree, child));
            addRow(window.TreeItemText(kTree, child), *entry, entry->IsFullyClosed());
        }
    }
    if (window.ItemCount(kList) > 0)
        window.SetCurrentItem(kList, 0);
    RefreshRows(window);
    std::fill(std::begin(s_sortAscending), std::end(s_sortAscending), true);
    SortRows(window, 0);
    RefreshSelectionCount(window);
}

CProblemEntry* COverviewDialog::RowEntry(const IWindow& window, int row) const
{
    return reinterpret_cast<CProblemEntry*>(window.GetItemData(kList, row));
}

bool COverviewDialog::IsRowRepaired(const IWindow& window, int row) const
{
    const CProblemEntry* entry = RowEntry(window, row);
    return s_checkMode ? entry->IsFullyRepaired() : entry->IsRepaired();
}

// Settled rows are closed without a repair: a verdict someone gave decides them.
bool COverviewDialog::IsRowSettled(const IWindow& window, int row) const
{
    const CProblemEntry* entry = RowEntry(window, row);
    return s_checkMode ? entry->IsFullyClosed() && !entry->IsFullyRepaired() : entry->IsSettled();
}

bool COverviewDialog::IsAutomatic(const CProblemEntry& entry) const
{
    return entry.HasAutoRepair() && entry.AutoRepairSetting(*m_settings) == 1;
}

int COverviewDialog::RowIcon(const CProblemEntry& entry, bool head) const
{
    const int base = head ? 2 : 3;
    // A head is settled as its row is: closed, and not all of it by repairs.
    const bool settled = head ? entry.IsFullyClosed() && !entry.IsFullyRepaired() : entry.IsSettled();
    if (settled)
        return base + kSettledIcons;
    const bool repaired = head ? entry.IsFullyClosed() : entry.IsClosed();
    return base + (IsAutomatic(entry) ? 2 : 0) + (repaired ? 4 : 0);
}

void COverviewDialog::RefreshRows(IWindow& window)
{
    for (int row = 0; row < window.ItemCount(kList); ++row) {
        CProblemEntry& entry = *RowEntry(window, row);
        entry.SetAutoRepairMode(entry.AutoRepairSetting(*m_settings));
        window.SetItemIcon(kList, row, RowIcon(entry, s_checkMode));
        window.SetItemText(kList, row, 1,
                           S(IsRowRepaired(window, row)              ? kRepairedText
                             : IsRowSettled(window, row)             ? kSettledText
                             : entry.IsPartlyRepaired(s_checkMode) ? kPartlyRepairedText
                                                                   : kNotRepairedText));
        if (!s_checkMode && entry.IsSettled()) {
            const CSrcJudgement& judgement = *entry.Settlement();
            window.SetItemText(kList, row, 0,
                               entry.Description(m_document->Encoding()) + " - " +
                                   platform::Strings().Format(kSettledDetails,
                                                              {judgement.verdict, judgement.by, judgement.date}));
        }
        window.SetItemText(kList, row, 2, PriorityName(ShownPriority(entry, s_checkMode)));
        const int mode = entry.AutoRepairMode();
        // A row no page repairs says so where the way it is repaired is shown.
        window.SetItemText(kList, row, 3, !RowOpensPage(entry, s_checkMode) ? S(kByHand)
                                          : mode == 1                       ? S(kAutomatic)
                                          : mode == 0                       ? S(kNotAutomatic)
                                                                            : std::string{});
        window.SetItemText(kList, row, kWcag2Column, CriteriaCell(RowCriteria(entry, s_checkMode)));
    }
}

void COverviewDialog::RefreshNodeIcons(IWindow& window)
{
    for (TreeItem root : window.TreeChildren(kTree, 0)) {
        for (TreeItem node : window.TreeChildren(kTree, root)) {
            auto* head = reinterpret_cast<CProblemEntry*>(window.TreeItemData(kTree, node));
            window.SetTreeItemImage(kTree, node, RowIcon(*head, true));
        }
    }
}

void COverviewDialog::RefreshSelectionCount(IWindow& window)
{
    const bool ignoreRepaired = window.IsChecked(kIgnoreRepaired);
    auto counts = [&](const CProblemEntry& entry) { return !(ignoreRepaired && entry.IsClosed()); };
    int count = 0;
    for (int row = 0; row < window.ItemCount(kList); ++row) {
        if (!window.IsItemSelected(kList, row))
            continue;
        const CProblemEntry& entry = *RowEntry(window, row);
        if (!s_checkMode) {
            ++count;
            continue;
        }
        count += counts(entry) ? 1 : 0;
        count += static_cast<int>(std::count_if(entry.Grouped().begin(), entry.Grouped().end(),
                                                [&](const CProblemEntry* member) { return counts(*member); }));
    }
    window.SetText(kSelectionCount, std::to_string(count) + " " + S(kSelectedSuffix));
    window.Enable(kRepair, count > 0);
}

void COverviewDialog::DeselectRepairedRows(IWindow& window)
{
    for (int row = 0; row < window.ItemCount(kList); ++row) {
        if (window.IsItemSelected(kList, row) && IsRowRepaired(window, row))
            window.SetItemSelected(kList, row, false);
    }
}

void COverviewDialog::SortRows(IWindow& window, int column)
{
    if (column < 0 || column >= kColumnCount)
        return;
    const bool ascending = s_sortAscending[column];
    const int rows = window.ItemCount(kList);
    std::vector<int> order(rows);
    std::iota(order.begin(), order.end(), 0);
    auto key = [&](int row) -> long {
        const CProblemEntry& entry = *RowEntry(window, row);
        switch (column) {
        case 1: return IsRowRepaired(window, row) ? 1 : 0;
        case 2: return entry.Priority();
        case kWcag2Column: {
            // By the first criterion in the criteria's order; rows without one last.
            const auto criteria = RowCriteria(entry, s_checkMode);
            const auto all = Wcag2SuccessCriteria();
            return criteria.empty() ? static_cast<long>(all.size()) : static_cast<long>(criteria.front() - all.data());
        }
        default: return entry.AutoRepairMode();
        }
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        int compared = 0;
        if (column == 0) {
            compared = strcasecmp(window.ItemText(kList, a).c_str(), window.ItemText(kList, b).c_str());
        } else {
            const long ka = key(a), kb = key(b);
            compared = ka < kb ? -1 : ka > kb ? 1 : 0;
        }
        return ascending ? compared < 0 : compared > 0;
    });
    window.ReorderItems(kList, order);
    s_sortAscending[column] = !ascending;
}

void COverviewDialog::ToggleColumn(IWindow& window, int column)
{
    // The problem text is what a row is: it always shows.
    platform::IColumnMenus* menus = platform::ColumnMenus(&window);
    if (!menus || column < 1 || column >= kColumnCount)
        return;
    s_columnHidden[column] = !menus->IsColumnHidden(kList, column);
    menus->SetColumnHidden(kList, column, s_columnHidden[column]);
}

void COverviewDialog::OnRowChanged(IWindow& window, int row)
{
    if (row >= 0 && row < window.ItemCount(kList) && window.IsItemSelected(kList, row) &&
        ((window.IsChecked(kIgnoreRepaired) && IsRowRepaired(window, row)) ||
         !RowOpensPage(*RowEntry(window, row), s_checkMode)))
        window.SetItemSelected(kList, row, false);
    RefreshSelectionCount(window);
}

// --- Summary and conformance

void COverviewDialog::RefreshSummary(IWindow& window)
{
    const int target = m_settings->GetConformanceLevel();
    const CProblemSummary summary = m_problems.Summarize(target);
    // Settled problems are closed as repaired ones are.
    const int closed = summary.repaired + summary.settled;
    if (summary.open == 0 && closed == 0) {
        const bool others = !m_problems.OtherGroup().empty();
        window.SetText(kSummary, S(kNothingAtLevel) + (others ? S(kOthersExist) : std::string(".")));
        if (!others)
            window.Enable(kRepair, false);
    } else if (summary.open > 0 && summary.settled > 0) {
        window.SetText(kSummary, platform::Strings().Format(kSummaryOpenSettled, {std::to_string(summary.open),
                                                                                  std::to_string(summary.repaired),
                                                                                  std::to_string(summary.settled)}));
    } else if (summary.open > 0) {
        window.SetText(kSummary, platform::Strings().Format(kSummaryOpen, {std::to_string(summary.open),
                                                                           std::to_string(closed)}));
    } else {
        window.SetText(kSummary, S(summary.settled > 0 ? kSummaryAllClosed : kSummaryAllRepaired));
    }
    const int total = summary.open + closed;
    window.SetRange(kProgress, 0, total == 0 ? 1 : total);
    window.SetPosition(kProgress, total == 0 ? 1 : closed);

    m_achievedLevel = summary.achievedLevel;
    int picture = kPictureNone;
    std::string levelName;
    switch (m_achievedLevel) {
    case kLevelSection508: picture = kPicture508; levelName = "508"; break;
    case kLevelA: picture = kPictureA; levelName = "A"; break;
    case kLevelAA: picture = kPictureAA; levelName = "AA"; break;
    case kLevelAAA: picture = kPictureAAA; levelName = "AAA"; break;
    // The pictures are WCAG 1.0's marks: a WCAG 2.2 level is named in words alone.
    case level::kWcag22A:
    case level::kWcag22AA:
    case level::kWcag22AAA: picture = -1; levelName = LevelName(m_achievedLevel); break;
    default: break;
    }
    const std::string achieved =
        levelName.empty() ? S(kNoConformance) : platform::Strings().Format(kConformance, {levelName});
    window.SetText(kAchievedLine, achieved);
    const int pictures[] = {kPictureNone, kPictureA, kPictureAA, kPictureAAA, kPicture508};
    for (int level = 0; level < 5; ++level) {
        window.SetPicture(pictures[level], kLevelIconBase + level);
        window.SetPictureText(pictures[level], pictures[level] == picture ? achieved : std::string());
        window.Show(pictures[level], pictures[level] == picture);
    }
}

void COverviewDialog::RefreshTargetLine(IWindow& window)
{
    const int target = m_settings->GetConformanceLevel();
    const char* names[] = {"A", "AA", "AAA"};
    const std::string name = target >= 1 && target <= 3 ? names[target - 1]
                             : level::IsWcag22(target)  ? LevelName(target)
                                                        : "Section 508";
    window.SetText(kTargetLine, platform::Strings().Format(kTargetLineText, {name}));
}

// --- What the user does

void COverviewDialog::OnNotify(IWindow& window, const Notification& notification)
{
    // Buttons and the box act when pressed; their other notices (focus) do nothing.
    const bool pressed = notification.code == NotifyCode::Clicked;
    switch (notification.control) {
    case kTree:
        if (notification.code == NotifyCode::SelectionChanged)
            SelectNode(window, window.SelectedTreeItem(kTree));
        break;
    case kList:
        if (notification.code == NotifyCode::ItemChanged)
            OnRowChanged(window, notification.item);
        else if (notification.code == NotifyCode::FocusGained)
            RefreshSelectionCount(window);
        else if (notification.code == NotifyCode::ColumnClicked)
            SortRows(window, notification.column);

        else if (notification.code == NotifyCode::DoubleClicked && window.IsEnabled(kRepair))
            RepairSelected(window);
        break;
    case kRepair:
        if (pressed)
            RepairSelected(window);
        break;
    case kSettingsButton:
        if (pressed)
            ShowSettings(window);
        break;
    case kHelpButton:
        if (pressed)
            OnHelp(window);
        break;
    case kSiteRegistryButton:
        if (pressed)
            OfferSiteRegistry(m_document && !m_document->Name().empty() ? m_document->Name() : m_fileName,
                              &m_registry);
        break;
    case kIgnoreRepaired:
        if (!pressed)
            break;
        if (window.IsChecked(kIgnoreRepaired))
            DeselectRepairedRows(window);
        RefreshSelectionCount(window);
        break;
    case platform::kIdOk:
        if (pressed)
            CloseWithClosingSteps(window);
        break;
    default:
        break;
    }
}

void COverviewDialog::RepairSelected(IWindow& window)
{
    std::vector<CProblemEntry*> work;
    for (int row = 0; row < window.ItemCount(kList); ++row) {
        if (!window.IsItemSelected(kList, row))
            continue;
        CProblemEntry* entry = RowEntry(window, row);
        // Settled problems are asked about again only when the user wants them.
        const bool showSettled = m_settings->GetShowSettled();
        if ((showSettled || !entry->IsSettled()) && entry->OpensPage())
            work.push_back(entry);
        if (s_checkMode) {
            for (CProblemEntry* member : entry->Grouped()) {
                if (!member->IsRepaired() && (showSettled || !member->IsSettled()) && member->OpensPage())
                    work.push_back(member);
            }
        }
    }
    OrderRepairWork(work);
    RunRepairRun(window, work, *m_document, *m_settings, m_registry, m_fileName);
    m_problems.RecheckRules(*m_document, *m_settings);
    m_problems.FindSettled(*m_document, &m_registry);

    RefreshSummary(window);
    DeselectRepairedRows(window);
    RefreshRows(window);
    RefreshNodeIcons(window);
    RefreshSelectionCount(window);
}

void COverviewDialog::ShowSettings(IWindow& window)
{
    if (!RunSettingsFromOverview(window))
        return;
    m_settings->Load();
    GroupAndFillTree(window);
    RefreshSummary(window);
    RefreshTargetLine(window);
}

void COverviewDialog::OnHelp(IWindow& window) { ShowHelpTopic(&window, kHelpTopic); }

void COverviewDialog::OnSystemCommand(IWindow& window, int command)
{
    if (command == platform::kCommandAbout)
        ShowAboutDialog(&window);
}

void COverviewDialog::OnOk(IWindow& window) { CloseWithClosingSteps(window); }

void COverviewDialog::OnClose(IWindow& window) { CloseWithClosingSteps(window); }

// Escape leaves without keeping anything of the closing steps.
void COverviewDialog::OnCancel(IWindow& window) { window.End(platform::kIdCancel); }

void COverviewDialog::CloseWithClosingSteps(IWindow& window)
{
    m_settings->SetIgnoreRepaired(window.IsChecked(kIgnoreRepaired));
    CloseSession(*m_document, *m_settings, m_registry, m_achievedLevel);
    m_registryLoaded = false;
    SavePlacement(window);
    window.End(platform::kIdOk);
}

// --- The window's place

void COverviewDialog::RestorePlacement(IWindow& window)
{
    auto key = platform::Registry().OpenKey(platform::kOrvaneRegistryKey, platform::RegistryAccess::Read);
    if (!key)
        return;
    std::int32_t values[7];
    for (int i = 0; i < 7; ++i) {
        auto value = key->QueryDword(kPlacementValues[i]);
        if (!value)
            return;
        values[i] = static_cast<std::int32_t>(*value);
    }
    const auto [screenWidth, screenHeight] = window.ScreenSize();
    platform::WindowPlacement placement;
    placement.left = std::max(0, values[0]);
    placement.top = std::max(0, values[2]);
    placement.right = placement.left + std::min(values[1] - values[0], screenWidth);
    placement.bottom = placement.top + std::min(values[3] - values[2], screenHeight);
    placement.maximized = values[6] == 1;
    window.SetPlacement(placement);
    if (values[5] > 0 && values[4] >= 0 && values[4] <= values[5]) {
        m_dividerNumerator = values[4];
        m_dividerDenominator = values[5];
        window.SetSplitterRatio(m_dividerNumerator, m_dividerDenominator);
    }
}

void COverviewDialog::SavePlacement(const IWindow& window)
{
    auto key = platform::Registry().CreateKey(platform::kOrvaneRegistryKey);
    if (!key)
        return;
    const platform::WindowPlacement placement = window.Placement();
    const auto [numerator, denominator] = window.SplitterRatio();
    const std::int32_t values[7] = {placement.left, placement.right, placement.top, placement.bottom,
                                    numerator, denominator, placement.maximized ? 1 : 0};
    for (int i = 0; i < 7; ++i)
        key->SetDword(kPlacementValues[i], static_cast<std::uint32_t>(values[i]));
    key->Flush();
}

} // namespace orvane
