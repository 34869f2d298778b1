// The colour page of the repair wizard in real Qt windows, used by keyboard
// alone: a mnemonic to the text colour, its numbers typed, Tab between them,
// Enter to finish. The colours reach the page, and a screen reader is told
// each colour in words.
#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/check_pass.h"
#include "library/checks/family_factory.h"
#include "library/html/html_document.h"
#include "library/ui/pages/presentation/page_body_color.h"
#include "library/ui/validator_sheet.h"
#include "platform/paths.h"
#include "platform/qt/qt_window_system.h"
#include "platform/registry.h"
#include "tests/support/memory_window.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace orvane::platform::qt {
namespace {

using Page = CPageBodyColor;

constexpr char kPage[] =
    "<html lang=\"en\"><head><title>Tea</title></head>\n"
    "<body bgcolor=\"#FFFFFF\" text=\"#999999\" link=\"#0000ff\" vlink=\"#551a8b\" alink=\"#cc0000\">\n"
    "<p>Green tea and <a href=\"cakes.html\">cakes</a></p>\n</body></html>\n";

template <class W = QWidget>
W* Control(QWidget& parent, int id)
{
    return parent.findChild<W*>(QString::fromStdString(ControlName(id)));
}

QString AccessibleText(QWidget* widget, QAccessible::Text kind)
{
    QAccessibleInterface* accessible = widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
    return accessible ? accessible->text(kind) : QString();
}

TEST(BodyColorSession, TheTextColourIsTypedByKeyboardAloneAndWrittenIntoThePage)
{
    const std::string storeFile = UserDataDirectory() + "/BodyColorSession.reg";
    auto store = CreateFileRegistry(storeFile);
    ScopedRegistry storeScope(*store);
    test::CScriptedPrompt prompt;
    ScopedPrompt promptScope(prompt);
    CQtWindowSystem windows;
    SetWindows(&windows);
    COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
    COrvaneSettings settings;
    settings.SetConformanceLevel(3);

    CHtmlDocument document(CFamilyElementFactory::Instance());
    document.Start(1, false);
    std::istringstream in{std::string(kPage)};
    ASSERT_EQ(document.Load(in), 1);
    CValidatorSheet sheet;
    sheet.SetSettings(&settings);
    sheet.SetDocumentPath("/site/tea.html");
    sheet.SetTrailingPage(false);
    for (const CFoundProblem& problem : RunCheckPass(document, settings, nullptr)) {
        if (problem.element->GetCheckName(problem.bit) == "BodyColorContrst")
            problem.element->AddRepairPages(sheet, document, problem.bit);
    }
    ASSERT_EQ(sheet.PageCount(), 1);

    bool finished = false;
    windows.SetShowHook([&](QWidget& widget, IWindow& window) {
        auto* wizard = qobject_cast<QDialog*>(&widget);
        ASSERT_NE(wizard, nullptr);
        wizard->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(wizard));
        auto* verdict = Control<QLabel>(*wizard, Page::kContrast[Page::kText]);
        ASSERT_NE(verdict, nullptr);
        EXPECT_EQ(verdict->text(), "too little contrast");

        // Alt+T goes to the text colour's red; Tab on to its green and blue.
        QTest::keyClick(wizard, Qt::Key_T, Qt::AltModifier);
        QWidget* red = Control(*wizard, Page::kFields[Page::kText][0]);
        ASSERT_EQ(QApplication::focusWidget(), red);
        for (int component = 0; component < 3; ++component) {
            QWidget* field = QApplication::focusWidget();
            ASSERT_EQ(field, Control(*wizard, Page::kFields[Page::kText][component]));
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(field, "51");
            if (component < 2)
                QTest::keyClick(field, Qt::Key_Tab);
        }
        EXPECT_EQ(verdict->text(), "enough contrast");
        EXPECT_EQ(Control<QLabel>(*wizard, Page::kRatio[Page::kText])->text(), "12.63:1 - passes 4.5:1");
        QWidget* swatch = Control(*wizard, Page::kSwatches[Page::kText]);
        EXPECT_EQ(AccessibleText(swatch, QAccessible::Name), "Text colour");
        EXPECT_EQ(AccessibleText(swatch, QAccessible::Description), "Text colour: #333333, dark grey");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        finished = window.HasEnded();
        if (!finished)
            window.End(kIdCancel);
    });
    EXPECT_EQ(sheet.DoModal(nullptr), kIdFinish);
    windows.SetShowHook(nullptr);
    SetWindows(nullptr);
    COrvaneSettings::InstallCatalogue(nullptr);
    std::error_code ignored;
    std::filesystem::remove(storeFile, ignored);

    EXPECT_TRUE(finished) << "Enter finishes the sheet";
    EXPECT_TRUE(prompt.messages.empty());
    std::string repaired = kPage;
    repaired.replace(repaired.find("#999999"), 7, "#333333");
    EXPECT_EQ(document.Text(), repaired);
}

} // namespace
} // namespace orvane::platform::qt
