// The windows of a checking session on the bundled sample page: the question
// about its table, then the overview listing the checks; and the overview
// after part of the problems were repaired, listing the problems of a check.
#include "scene.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/family_factory.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/ui/overview_dialog.h"
#include "platform/column_menu.h"

#include <QTreeWidget>

#include <fstream>

namespace {

using namespace orvane;

constexpr int kTree = 1107;

struct CSamplePage {
    CSamplePage()
    {
        COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
        settings.SetConformanceLevel(2);
        const std::string path = screenshots::Shots().ExamplesFolder() + "/sample.html";
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
