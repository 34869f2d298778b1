// The windows of a checking session on the bundled sample page: the question
// about its table, then the overview listing the checks; and the overview
// after part of the problems were repaired, listing the problems of a check;
// and the overview of a page whose general warnings someone has judged.
#include "scene.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/family_factory.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/registry/object_database.h"
#include "library/ui/judgement_records.h"
#include "library/ui/overview_dialog.h"
#include "platform/column_menu.h"

#include <QDir>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>

namespace {

using namespace orvane;

constexpr int kTree = 1107;

struct CSamplePage {
    explicit CSamplePage(std::string path = screenshots::Shots().ExamplesFolder() + "/sample.html")
    {
        COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
        settings.SetConformanceLevel(2);
        std::ifstream in(path, std::ios::binary);
        document.Start(1, false);
        document.SetOriginFlag(1);
        document.SetName(path);
        document.Load(in);
    }
    COrvaneSettings settings;
    CHtmlDocument document{CFamilyElementFactory::Instance()};
};

// The check with the most problems among those that count, chosen as the user
// chooses it, so the list shows its problems.
void ShowBiggestCheck(platform::IWindow& window, QWidget& widget)
{
    auto* tree = widget.findChild<QTreeWidget*>("c1107");
    if (window.TemplateId() != COverviewDialog::kTemplate || !tree || tree->topLevelItemCount() == 0)
        return;
    const auto roots = window.TreeChildren(kTree, 0);
    const auto checks = window.TreeChildren(kTree, roots.front());
    int chosen = -1;
    std::size_t most = 0;
    for (std::size_t i = 0; i < checks.size(); ++i) {
        auto* head = reinterpret_cast<CProblemEntry*>(window.TreeItemData(kTree, checks[i]));
        if (chosen < 0 || head->Grouped().size() > most) {
            chosen = static_cast<int>(i);
            most = head->Grouped().size();
        }
    }
    if (chosen >= 0 && chosen < tree->topLevelItem(0)->childCount())
        tree->setCurrentItem(tree->topLevelItem(0)->child(chosen));
}

// The first check whose problems are all settled, chosen as the user chooses it.
void ShowSettledCheck(platform::IWindow& window, QWidget& widget)
{
    auto* tree = widget.findChild<QTreeWidget*>("c1107");
    if (window.TemplateId() != COverviewDialog::kTemplate || !tree)
        return;
    const auto roots = window.TreeChildren(kTree, 0);
    for (int root = 0; root < static_cast<int>(roots.size()) && root < tree->topLevelItemCount(); ++root) {
        const auto checks = window.TreeChildren(kTree, roots[static_cast<std::size_t>(root)]);
        for (int i = 0; i < static_cast<int>(checks.size()); ++i) {
            auto* head = reinterpret_cast<CProblemEntry*>(window.TreeItemData(kTree, checks[static_cast<std::size_t>(i)]));
            if (head->IsFullyClosed() && !head->IsFullyRepaired() && i < tree->topLevelItem(root)->childCount()) {
                tree->setCurrentItem(tree->topLevelItem(root)->child(i));
                return;
            }
        }
    }
}

// The sample page in a site of its own, whose registry holds a colleague's
// verdict on the page's general warnings: the page the scene opens.
std::string SampleInJudgedSite()
{
    namespace fs = std::filesystem;
    const fs::path site = fs::path(QDir::tempPath().toStdString()) / "orvane-screenshots-site";
    fs::remove_all(site);
    fs::create_directories(site / ".orvane");
    const fs::path page = site / "sample.html";
    fs::copy_file(screenshots::Shots().ExamplesFolder() + "/sample.html", page);
    std::ofstream(site / ".orvane" / "registry.xml") << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n</root>\n";
    CSamplePage sample(page.string());
    CSrcObjectDatabase registry;
    registry.UseSiteOf(page.string());
    registry.Load();
    CProblemList problems;
    problems.Prepare(sample.document, sample.settings, &registry);
    for (const auto& entry : problems.AllEntries()) {
        if (entry->IsGrouped())
            continue;
        registry.DocumentFor(page.string())
            ->RecordJudgement({entry->Element().GetCheckName(entry->Bit()),
                               JudgementKeyOf(sample.document, entry->Element(), entry->Bit()), "warnings considered",
                               "alice", "2026-12-01"});
    }
    CSrcObjectDatabase::SetChanged(true);
    registry.Save();
    return page.string();
}

} // namespace

ORVANE_SCENE(session)
{
    CSamplePage page;
    COverviewDialog overview;
    overview.Prepare(page.document, page.settings, page.document.Name());
    overview.RunModal();
}

ORVANE_SCENE_PREPARED(session_problems, ShowBiggestCheck)
{
    CSamplePage page;
    COverviewDialog overview;
    overview.Prepare(page.document, page.settings, page.document.Name());
    // Every other problem repaired, as after a first repair run.
    bool repair = false;
    for (const auto& entry : overview.Problems().AllEntries()) {
        if (repair)
            entry->Element().SetRepaired(entry->Bit(), true);
        repair = !repair;
    }
    overview.RunModal();
}

// The overview with the WCAG 2 column shown, as the header's menu shows it,
// listing the problems of a check.
ORVANE_SCENE_PREPARED(session_wcag2, [](platform::IWindow& window, QWidget& widget) {
    ShowBiggestCheck(window, widget);
    if (platform::IColumnMenus* menus = platform::ColumnMenus(&window))
        menus->SetColumnHidden(1267, 4, false);
})
{
    CSamplePage page;
    COverviewDialog overview;
    overview.Prepare(page.document, page.settings, page.document.Name());
    overview.RunModal();
}

ORVANE_SCENE_PREPARED(session_settled, ShowSettledCheck)
{
    const std::string path = SampleInJudgedSite();
    CSamplePage page(path);
    COverviewDialog overview;
    overview.Prepare(page.document, page.settings, path);
    overview.RunModal();
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}

// The overview at a WCAG 2.2 target: the rules' findings grouped by rule, the
// criteria column shown, and a rule chosen whose findings no page repairs
// yet, so the list shows why they cannot be chosen.
ORVANE_SCENE_PREPARED(session_wcag22, [](platform::IWindow& window, QWidget& widget) {
    auto* tree = widget.findChild<QTreeWidget*>("c1107");
    if (window.TemplateId() != COverviewDialog::kTemplate || !tree)
        return;
    if (platform::IColumnMenus* menus = platform::ColumnMenus(&window))
        menus->SetColumnHidden(1267, 4, false);
    const auto roots = window.TreeChildren(kTree, 0);
    for (int root = 0; root < static_cast<int>(roots.size()) && root < tree->topLevelItemCount(); ++root) {
        const auto rules = window.TreeChildren(kTree, roots[static_cast<std::size_t>(root)]);
        for (int i = 0; i < static_cast<int>(rules.size()); ++i) {
            auto* head = reinterpret_cast<CProblemEntry*>(window.TreeItemData(kTree, rules[static_cast<std::size_t>(i)]));
            if (head->Rule() && !head->OpensPage() && i < tree->topLevelItem(root)->childCount()) {
                tree->setCurrentItem(tree->topLevelItem(root)->child(i));
                return;
            }
        }
    }
})
{
    // The sample page with a link only an image without words makes: a
    // finding of a rule no page repairs yet.
    namespace fs = std::filesystem;
    const fs::path path = fs::path(QDir::tempPath().toStdString()) / "orvane-screenshots-wcag22.html";
    std::ifstream in(screenshots::Shots().ExamplesFolder() + "/sample.html", std::ios::binary);
    std::string markup((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (const std::size_t end = markup.rfind("</body>"); end != std::string::npos)
        markup.insert(end, "<p><a href=\"harbour-map.html\"><img src=\"map.png\" alt=\"\"></a></p>\n");
    std::ofstream(path, std::ios::binary) << markup;
    CSamplePage page(path.string());
    // The checks a user's settings include at every target, none by default.
    page.settings.Load();
    page.settings.SetConformanceLevel(level::kWcag22AA);
    COverviewDialog overview;
    overview.Prepare(page.document, page.settings, page.document.Name());
    overview.RunModal();
    fs::remove(path);
}
