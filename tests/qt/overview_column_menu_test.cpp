// The column menu of the overview's problem list in a real window, reached
// from the keyboard as from the mouse.
#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/family_factory.h"
#include "library/html/html_document.h"
#include "library/ui/overview_dialog.h"
#include "platform/paths.h"
#include "platform/qt/qt_window_system.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "tests/qt/window_steps.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace orvane {
namespace {

using platform::IWindow;
using test::Find;

// Opens the list's menu as Shift+F10 or the Menu key does and picks the
// entry of that title; gives the menu's entries and their checked states.
QStringList ChooseFromKeyboardMenu(QTreeWidget& list, const QString& title)
{
    QStringList entries;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions()) {
            entries << action->text() + (action->isChecked() ? " [x]" : " [ ]");
            if (action->text() == title)
                menu->setActiveAction(action);
        }
        QTest::keyClick(menu, Qt::Key_Return);
    });
    const QPoint at = list.visualRect(list.currentIndex()).center();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, at, list.viewport()->mapToGlobal(at));
    QApplication::sendEvent(&list, &event);
    return entries;
}

TEST(OverviewColumnMenu, TheWcag2ColumnIsShownAndHiddenFromTheKeyboard)
{
    const std::string home = platform::UserDataDirectory();
    auto store = platform::CreateFileRegistry(home + "/column-menu-test.reg");
    platform::ScopedRegistry registryScope(*store);
    COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
    COrvaneSettings settings;
    settings.Load();
    settings.SetConformanceLevel(2);
    CHtmlDocument document(CFamilyElementFactory::Instance());
    document.Start(1, false);
    document.SetOriginFlag(1);
    document.SetName("/site/page.html");
    document.AddLine("<html lang=\"en\"><head><title>t</title></head><body><p><img src=\"a.png\"></p></body></html>\n");
    document.Finish();

    platform::qt::CQtWindowSystem windows;
    platform::SetWindows(&windows);
    const QString column = QString::fromStdString(platform::Strings().Get(1220));
    bool checked = false;
    windows.SetShowHook([&](QWidget& widget, IWindow& window) {
        if (window.TemplateId() != COverviewDialog::kTemplate)
            return;
        auto* list = Find<QTreeWidget>(widget, "c1267");
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->columnCount(), 5);
        EXPECT_EQ(list->headerItem()->text(4), column);
        EXPECT_TRUE(list->isColumnHidden(4));
        list->setFocus();

        const QStringList entries = ChooseFromKeyboardMenu(*list, column);
        ASSERT_EQ(entries.size(), 4) << entries.join(", ").toStdString();
        EXPECT_EQ(entries.back(), column + " [ ]");
        EXPECT_FALSE(list->isColumnHidden(4));
        EXPECT_EQ(list->header()->contextMenuPolicy(), Qt::CustomContextMenu);  // the mouse's way in

        EXPECT_EQ(ChooseFromKeyboardMenu(*list, column).back(), column + " [x]");
        EXPECT_TRUE(list->isColumnHidden(4));
        checked = true;
        test::Press(widget, "c1");
    });
    COverviewDialog overview;
    overview.Prepare(document, settings, "/site/page.html");
    overview.RunModal();
    windows.SetShowHook(nullptr);
    platform::SetWindows(nullptr);
    EXPECT_TRUE(checked);
}

} // namespace
} // namespace orvane
