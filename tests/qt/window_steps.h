#pragma once

// The user's steps through the library's windows of this process.
#include "common/orvane_settings.h"
#include "library/html/html_document.h"
#include "library/ui/overview_dialog.h"
#include "platform/qt/qt_window_system.h"
#include "platform/window.h"
#include "tests/qt/widget_steps.h"

#include <QAbstractButton>
#include <QTreeWidget>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace orvane::test {

// Next through the sheet's pages up to the first of the template, the general
// warnings confirmed on their way; false, with the sheet cancelled, when the
// sheet has no such page.
inline bool ReachPage(QWidget& sheet, platform::IWindow& window, int templateId)
{
    for (int step = 0; step < 10; ++step) {
        if (window.Page(window.CurrentPage()).TemplateId() == templateId)
            return true;
        if (!window.IsVisible(platform::kIdNext) || !window.IsEnabled(platform::kIdNext))
            break;
        if (auto* confirm = Shown<QAbstractButton>(sheet, "c1042"))
            confirm->click();
        Press(sheet, "c12324");
    }
    ADD_FAILURE() << "no page " << templateId << " in the sheet " << window.Title();
    Press(sheet, "c2");
    return false;
}

// The overview of the page with every problem that counts sent to the
// repair; the sheet is given to the test's hands, and the overview closed.
inline void RepairEverything(platform::qt::CQtWindowSystem& windows, CHtmlDocument& document,
                             COrvaneSettings& settings, const std::string& path,
                             const std::function<void(QWidget&, platform::IWindow&)>& onSheet)
{
    windows.SetShowHook([&](QWidget& widget, platform::IWindow& window) {
        if (window.TemplateId() == COverviewDialog::kTemplate) {
            auto* tree = Find<QTreeWidget>(widget, "c1107");
            ASSERT_NE(tree, nullptr);
            tree->setCurrentItem(tree->topLevelItem(0));
            Press(widget, "c1043");
            Press(widget, "c1");
            return;
        }
        onSheet(widget, window);
    });
    COverviewDialog overview;
    overview.Prepare(document, settings, path);
    overview.RunModal();
    windows.SetShowHook(nullptr);
}

} // namespace orvane::test
