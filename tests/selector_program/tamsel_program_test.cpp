// Tamsel as the user starts it: its window from its own bundle, a page of a
// temporary site checked through the real checker library (unattended, with
// the automatic repair of a missing page language switched on), and what that
// leaves: the repaired copy beside the page, the page's mark in the window and
// in the status database.
#include "selector/qt/tamsel_app.h"
#include "selector/selector_ids.h"

#include "platform/qt/qt_session.h"
#include "platform/qt/qt_window_system.h"
#include "platform/registry.h"
#include "tests/qt/accessibility_tree.h"
#include "tests/support/test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace orvane::selector {
namespace {

namespace fs = std::filesystem;

TEST(TamselProgram, ChecksAPageOfTheSiteAndShowsAndRemembersItsMark)
{
    const fs::path root = fs::path(::testing::TempDir()) / "tamsel-program";
    fs::remove_all(root);
    fs::create_directories(root / "home");
    fs::create_directories(root / "site");
    setenv("ORVANE_HOME", (root / "home").c_str(), 1);
    setenv("ORVANE_SESSION", "unattended", 1);
    // Its one problem that counts: no language given.
    const std::string page = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\n<html>\n"
                             "<head><title>Tea</title></head>\n<body><p>Green tea</p></body></html>\n";
    std::ofstream(root / "site/index.html", std::ios::binary) << page;
    {
        auto registry = platform::CreateFileRegistry((root / "home/UserRegistry.reg").string());
        auto key = registry->CreateKey(platform::kOrvaneRegistryKey);
        ASSERT_TRUE(key);
        key->SetDword("FileSaves", 2);
        key->SetString("WaiConformance", "A");
        // The language check counts at A and repairs itself (always included, automatic).
        key->SetDword("MissingLanguage", 0x101);
        // The language the user chose once, which the repair puts in.
        key->SetString("MissingLanguage-1", "de");
        key->SetString("SelectorLastDirectory", (root / "site").string());
        ASSERT_TRUE(key->Flush());
    }

    int markShown = -1;
    std::string title;
    platform::qt::StartProgramWindows();
    platform::qt::QtWindows()->SetShowHook([&](QWidget& widget, platform::IWindow& window) {
        title = widget.windowTitle().toStdString();
        auto* files = widget.findChild<QTreeWidget*>("c1005");
        ASSERT_TRUE(files);
        const QList<QTreeWidgetItem*> found = files->findItems("index.html", Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        files->setCurrentItem(found[0]);
        widget.findChild<QPushButton*>("c1000")->click();
        const int row = files->indexOfTopLevelItem(files->findItems("index.html", Qt::MatchExactly).value(0));
        markShown = window.ItemIcon(kIdFiles, row);
        // Made as small as it goes, the window still shows its check boxes
        // and buttons whole, in any language.
        widget.resize(1, 1);
        for (const char* name : {"c1012", "c1013", "c1014", "c1015", "c1002", "c1001", "c1000", "c1016"}) {
            const QWidget* control = widget.findChild<QWidget*>(name);
            ASSERT_TRUE(control) << name;
            EXPECT_GE(control->width(), control->sizeHint().width()) << name;
            EXPECT_GE(control->height(), control->sizeHint().height()) << name;
        }
        widget.findChild<QPushButton*>("c1016")->click();
    });
    EXPECT_EQ(qt::RunTamsel(), 0);
    platform::qt::QtWindows()->SetShowHook(nullptr);

    EXPECT_EQ(title, "Tamsel");
    // The page itself keeps its problem; its repaired copy lies beside it.
    EXPECT_EQ(markShown, 4);
    EXPECT_EQ(test::ReadFileBytes((root / "site/index.html").string()), page);
    std::string repaired = page;
    repaired.replace(repaired.find("<html>"), 6, "<html lang=\"de\">");
    EXPECT_EQ(test::ReadFileBytes((root / "site/index.htmlvalid").string()), repaired);
    const std::string database = test::ReadFileBytes((root / "home/OrvaneFileDatabase.txt").string());
    EXPECT_NE(database.find((root / "site/index.html").string() + "\t4\t"), std::string::npos) << database;
    EXPECT_NE(database.find((root / "site/index.htmlvalid").string() + "\t2\t"), std::string::npos) << database;
    // The window's place and folder are kept for the next start.
    auto registry = platform::CreateFileRegistry((root / "home/UserRegistry.reg").string());
    auto key = registry->OpenKey(platform::kOrvaneRegistryKey, platform::RegistryAccess::Read);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->QueryString("SelectorLastDirectory", 500), (root / "site").string());
    EXPECT_TRUE(key->QueryDword("SelectorCol0").has_value());
    fs::remove_all(root);
}

// Started with a folder named, as make tamsel starts it on the example
// pages, the window opens there rather than where it was left; a name
// relative to the working folder is taken from there.
TEST(TamselProgram, OpensAtTheFolderNamedWhenStarted)
{
    const fs::path root = fs::path(::testing::TempDir()) / "tamsel-program-start";
    fs::remove_all(root);
    fs::create_directories(root / "home");
    fs::create_directories(root / "site");
    fs::create_directories(root / "left");
    setenv("ORVANE_HOME", (root / "home").c_str(), 1);
    setenv("ORVANE_SESSION", "unattended", 1);
    std::ofstream(root / "site/index.html", std::ios::binary) << "<html><head><title>Tea</title></head></html>\n";
    {
        auto registry = platform::CreateFileRegistry((root / "home/UserRegistry.reg").string());
        auto key = registry->CreateKey(platform::kOrvaneRegistryKey);
        ASSERT_TRUE(key);
        key->SetString("SelectorLastDirectory", (root / "left").string());
        ASSERT_TRUE(key->Flush());
    }

    QStringList listed;
    platform::qt::StartProgramWindows();
    platform::qt::QtWindows()->SetShowHook([&](QWidget& widget, platform::IWindow&) {
        auto* files = widget.findChild<QTreeWidget*>("c1005");
        ASSERT_TRUE(files);
        for (int row = 0; row < files->topLevelItemCount(); ++row)
            listed << files->topLevelItem(row)->text(0);
        widget.findChild<QPushButton*>("c1016")->click();
    });
    EXPECT_EQ(qt::RunTamsel("TamselResources.rcc", fs::relative(root / "site").string() + "/"), 0);
    platform::qt::QtWindows()->SetShowHook(nullptr);

    EXPECT_EQ(listed, QStringList{"index.html"});
    // Left there, the window opens there the next time.
    auto registry = platform::CreateFileRegistry((root / "home/UserRegistry.reg").string());
    auto key = registry->OpenKey(platform::kOrvaneRegistryKey, platform::RegistryAccess::Read);
    ASSERT_TRUE(key);
    const std::optional<std::string> last = key->QueryString("SelectorLastDirectory", 500);
    ASSERT_TRUE(last);
    EXPECT_TRUE(fs::equivalent(*last, root / "site")) << *last;
    EXPECT_NE(last->back(), '/') << *last;
    fs::remove_all(root);
}

// The selected rows' names, in list order.
QStringList SelectedNames(const QTreeWidget& files)
{
    QStringList names;
    for (int row = 0; row < files.topLevelItemCount(); ++row) {
        if (files.topLevelItem(row)->isSelected())
            names << files.topLevelItem(row)->text(0);
    }
    return names;
}

QString FocusName()
{
    const QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QString();
}

// Tamsel worked with the keyboard alone: Backspace to the folder above,
// Ctrl+L and a typed path into a hidden folder, Tab out of the list and
// back into it after its selection was cleared, and Check by its
// mnemonic, which checks the file the list's focus stands on.
TEST(TamselProgram, TheKeyboardAloneReachesAHiddenFolderAndChecksItsPage)
{
    const fs::path root = fs::path(::testing::TempDir()) / "tamsel-program-keys";
    fs::remove_all(root);
    fs::create_directories(root / "home");
    fs::create_directories(root / "site/sub");
    fs::create_directories(root / "site/.drafts");
    setenv("ORVANE_HOME", (root / "home").c_str(), 1);
    setenv("ORVANE_SESSION", "unattended", 1);
    const std::string page = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\n<html lang=\"en\">\n"
                             "<head><title>Draft</title></head>\n<body><p>Draft</p></body></html>\n";
    std::ofstream(root / "site/index.html", std::ios::binary) << page;
    std::ofstream(root / "site/.drafts/draft.html", std::ios::binary) << page;
    {
        // The registry the program uses, wherever an earlier test bound it.
        auto key = platform::UserRegistry().CreateKey(platform::kOrvaneRegistryKey);
        ASSERT_TRUE(key);
        key->SetDword("FileSaves", 2);
        // At A the page has no problem that counts.
        key->SetString("WaiConformance", "A");
        key->SetString("SelectorLastDirectory", (root / "site/sub").string());
        ASSERT_TRUE(key->Flush());
    }

    QStringList afterBackspace, inDrafts, afterTabBack, lookInAfterTyping;
    bool editable = false, editableAfter = true;
    QString focusAfterTyping;
    int markShown = -1;
    platform::qt::StartProgramWindows();
    platform::qt::QtWindows()->SetShowHook([&](QWidget& widget, platform::IWindow& window) {
        widget.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&widget));
        auto* files = widget.findChild<QTreeWidget*>("c1005");
        auto* lookIn = widget.findChild<QComboBox*>("c1004");
        ASSERT_TRUE(files && lookIn);
        ASSERT_EQ(FocusName(), "c1005");

        QTest::keyClick(files, Qt::Key_Backspace);
        afterBackspace = SelectedNames(*files);

        QTest::keyClick(files, Qt::Key_L, Qt::ControlModifier);
        editable = lookIn->isEditable();
        QTest::keyClicks(QApplication::focusWidget(), (root / "site/.drafts").c_str());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        editableAfter = lookIn->isEditable();
        lookInAfterTyping << lookIn->currentText();
        focusAfterTyping = FocusName();
        inDrafts = SelectedNames(*files);

        // Nothing selected, the focus rectangle on the file: out and back in.
        QTest::keyClick(files, Qt::Key_Space, Qt::ControlModifier);
        ASSERT_TRUE(SelectedNames(*files).isEmpty());
        QTest::keyClick(files, Qt::Key_Tab);
        ASSERT_EQ(FocusName(), "c1012");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        ASSERT_EQ(FocusName(), "c1005");
        afterTabBack = SelectedNames(*files);

        auto* check = widget.findChild<QPushButton*>("c1000");
        const QString text = check->text();
        const qsizetype mnemonic = text.indexOf('&');
        ASSERT_GE(mnemonic, 0);
        QTest::keyClick(files, static_cast<Qt::Key>(text.at(mnemonic + 1).toUpper().unicode()), Qt::AltModifier);
        // A button pressed by its key shows itself pressed a moment first.
        auto markOfDraft = [&] {
            const QList<QTreeWidgetItem*> found = files->findItems("draft.html", Qt::MatchExactly);
            return found.size() == 1 ? window.ItemIcon(kIdFiles, files->indexOfTopLevelItem(found[0])) : -1;
        };
        EXPECT_TRUE(QTest::qWaitFor([&] { return markOfDraft() != 1; }));
        markShown = markOfDraft();
        widget.findChild<QPushButton*>("c1016")->click();
    });
    EXPECT_EQ(qt::RunTamsel(), 0);
    platform::qt::QtWindows()->SetShowHook(nullptr);

    EXPECT_EQ(afterBackspace, QStringList{"sub"});
    EXPECT_TRUE(editable);
    EXPECT_FALSE(editableAfter);
    EXPECT_EQ(lookInAfterTyping, QStringList{".drafts"});
    EXPECT_EQ(focusAfterTyping, "c1005");
    EXPECT_EQ(inDrafts, QStringList{"draft.html"});
    EXPECT_EQ(afterTabBack, QStringList{"draft.html"});
    // Checked: a page without problems.
    EXPECT_EQ(markShown, 2);
    const std::string database = test::ReadFileBytes((root / "home/OrvaneFileDatabase.txt").string());
    EXPECT_NE(database.find((root / "site/.drafts/draft.html").string() + "\t2\t"), std::string::npos) << database;
    fs::remove_all(root);
}

// The pages' status as a screen reader reads their rows, before and after a
// check, all with keys: Tab to the list, Down to the second page, Alt+C, Alt+O.
TEST(TamselProgram, AKeyboardUserChecksAPageAndHearsItsStatus)
{
    const fs::path root = fs::path(::testing::TempDir()) / "tamsel-status-heard";
    fs::remove_all(root);
    fs::create_directories(root / "home");
    fs::create_directories(root / "site");
    setenv("ORVANE_HOME", (root / "home").c_str(), 1);
    setenv("ORVANE_SESSION", "unattended", 1);
    for (const char* name : {"about.html", "booking.html"}) {
        std::ofstream(root / "site" / name, std::ios::binary)
            << "<html><head><title>Booking</title></head><body><p>Rooms</p></body></html>\n";
    }
    {
        auto registry = platform::CreateFileRegistry((root / "home/UserRegistry.reg").string());
        auto key = registry->CreateKey(platform::kOrvaneRegistryKey);
        ASSERT_TRUE(key);
        // The repaired copy is saved beside the page, without asking for a name.
        key->SetDword("FileSaves", 2);
        key->SetString("SelectorLastDirectory", (root / "site").string());
        ASSERT_TRUE(key->Flush());
    }

    QStringList before, after, faults;
    QString lost;
    platform::qt::StartProgramWindows();
    platform::qt::QtWindows()->SetShowHook([&](QWidget& widget, platform::IWindow&) {
        [&] {
            widget.activateWindow();
            ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &widget; }));
            auto* files = widget.findChild<QTreeWidget*>("c1005");
            ASSERT_TRUE(files);
            before = platform::qt::test::RowsWithStatesAsRead(widget);
            for (int tab = 0; tab < 20 && QApplication::focusWidget() && QApplication::focusWidget() != files; ++tab)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            ASSERT_EQ(QApplication::focusWidget(), files);
            QTest::keyClick(files, Qt::Key_Home);
            QTest::keyClick(files, Qt::Key_Down);
            QTest::keyClick(files, Qt::Key_C, Qt::AltModifier);
            QTest::qWait(150);  // a button's key presses it a moment later, as the user sees it
            after = platform::qt::test::RowsWithStatesAsRead(widget);
            faults = platform::qt::test::AccessibilityFaults(widget);
            lost = platform::qt::test::LostFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::AltModifier);
            QTest::qWait(150);
        }();
        if (widget.isVisible())
            widget.findChild<QPushButton*>("c1016")->click();
    });
    EXPECT_EQ(qt::RunTamsel(), 0);
    platform::qt::QtWindows()->SetShowHook(nullptr);

    ASSERT_EQ(before.size(), 2);
    EXPECT_TRUE(before[0].startsWith("about.html, Not checked | ")) << before[0].toStdString();
    EXPECT_TRUE(before[1].startsWith("booking.html, Not checked | ")) << before[1].toStdString();
    ASSERT_EQ(after.size(), 2) << after.join('\n').toStdString();
    EXPECT_TRUE(after[0].startsWith("about.html, Not checked | ")) << after[0].toStdString();
    EXPECT_TRUE(after[1].startsWith("booking.html, Problems remain | ")) << after[1].toStdString();
    EXPECT_EQ(faults, QStringList{}) << faults.join('\n').toStdString();
    EXPECT_EQ(lost.toStdString(), "");
    fs::remove_all(root);
}

// Without its resource bundle the program has no window to show: it says
// so in a message box with its name as the caption, and what to do.
TEST(TamselProgram, WithoutItsResourceBundleItSaysSoAndEnds)
{
    platform::qt::StartProgramWindows();
    test::CPromptCapture capture;
    EXPECT_EQ(qt::RunTamsel("NoSuchBundle.rcc"), 1);
    ASSERT_EQ(capture.prompt.messages.size(), 1u);
    EXPECT_EQ(capture.prompt.messages[0].caption, "Tamsel");
    EXPECT_NE(capture.prompt.messages[0].text.find("NoSuchBundle.rcc"), std::string::npos);
    EXPECT_NE(capture.prompt.messages[0].text.find("Install Tamsel again"), std::string::npos);
}

} // namespace
} // namespace orvane::selector

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
