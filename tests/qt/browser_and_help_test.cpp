#include "accessibility_tree.h"
#include "library/dialogs/about_dialog.h"
#include "library/dialogs/help_topic.h"
#include "platform/help.h"
#include "platform/paths.h"
#include "platform/qt/qt_browser.h"
#include "platform/qt/qt_help_viewer.h"
#include "platform/qt/qt_session.h"
#include "platform/qt/qt_window_system.h"

#include <QApplication>
#include <QDir>
#include <QHelpIndexWidget>
#include <QLineEdit>
#include <QTabWidget>
#include <QFile>
#include <QHelpSearchEngine>
#include <QImage>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace orvane::platform::qt {
namespace {

int CountPixels(const QImage& image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour;
    }
    return count;
}

TEST(QtBrowser, ShowsALocalPageWithItsImageAndOnlyLinksToTheNetwork)
{
    QTemporaryDir folder;
    QImage red(40, 30, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    ASSERT_TRUE(QDir(folder.path()).mkpath("pictures"));
    ASSERT_TRUE(red.save(folder.filePath("pictures/red.png"), "PNG"));
    QFile page(folder.filePath("page.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body><p>A preview</p><img src=\"pictures/red.png\" alt=\"Red\"></body></html>");
    page.close();

    QTextBrowser view;
    view.resize(300, 200);
    view.show();
    CQtBrowser browser(&view);
    browser.Navigate(folder.filePath("page.html").toStdString());
    EXPECT_TRUE(view.toPlainText().contains("A preview"));
    EXPECT_EQ(CountPixels(view.grab().toImage(), qRgb(255, 0, 0)), 40 * 30);
    EXPECT_GT(browser.Width(), 0);

    // A form shows its fields, with what they hold, where the page has them.
    QFile form(folder.filePath("form.html"));
    ASSERT_TRUE(form.open(QIODevice::WriteOnly));
    form.write("<html><body><form><p>Name: <h2>To repair</h2><input type=\"text\" name=\"who\" value=\"Ann\"> "
               "<input type=hidden name=k value=secret> <input type=checkbox checked> Walks "
               "<select><option>Ten<option selected>Two</select></p>"
               "<textarea name=notes>Bring tea</textarea><input type=submit value=\"Book\"></form>"
               "<p><a name=\"end\">End</a></p></body></html>");
    form.close();
    browser.Navigate(folder.filePath("form.html#end").toStdString());
    const QString shown = view.toPlainText();
    for (const char* text : {"Name:", "To repair\n", "Ann", "\u2612 Walks", "Two", "Bring tea", "Book"})
        EXPECT_TRUE(shown.contains(QString::fromUtf8(text))) << text << " in " << shown.toStdString();
    EXPECT_FALSE(shown.contains("secret"));
    EXPECT_FALSE(shown.contains("Ten"));

    browser.Navigate("https://www.example.org/page.html");
    EXPECT_EQ(browser.Address(), "https://www.example.org/page.html");
    EXPECT_TRUE(view.toHtml().contains("href=\"https://www.example.org/page.html\""));
    EXPECT_NE(view.source().scheme(), "https") << "nothing is fetched from the network";
}

// A preview is written to the user's folder, apart from the page it shows:
// the images the page names are found in the page's own folder.
TEST(QtBrowser, APreviewFindsThePagesImagesInThePagesFolder)
{
    QTemporaryDir site;
    QTemporaryDir previews;
    QImage red(20, 10, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    ASSERT_TRUE(QDir(site.path()).mkpath("img"));
    ASSERT_TRUE(red.save(site.filePath("img/a.png"), "PNG"));
    ASSERT_TRUE(red.save(site.filePath("b.png"), "PNG"));
    QFile preview(previews.filePath("TempPage-1.html"));
    ASSERT_TRUE(preview.open(QIODevice::WriteOnly));
    preview.write("<html><body><form><p><img src=\"img/a.png\" alt=\"A\">"
                  "<input type=\"image\" src=\"b.png\" alt=\"B\"></p></form></body></html>");
    preview.close();

    QTextBrowser view;
    view.resize(300, 200);
    view.show();
    CQtBrowser browser(&view);
    browser.SetResourceFolder((site.path() + "/").toStdString());
    browser.Navigate(previews.filePath("TempPage-1.html").toStdString());
    EXPECT_EQ(CountPixels(view.grab().toImage(), qRgb(255, 0, 0)), 2 * 20 * 10);
    // Navigating again keeps the page's folder.
    browser.Refresh();
    EXPECT_EQ(CountPixels(view.grab().toImage(), qRgb(255, 0, 0)), 2 * 20 * 10);
}

TEST(QtHelpWindow, OpensTheHelpFileAndShowsATopicWithContentsIndexAndSearch)
{
    CQtHelpViewer viewer;
    EXPECT_FALSE(viewer.Open("no-such-help.qhc"));
    const std::string helpFile = FindDataFile("Orvane.qhc");
    ASSERT_FALSE(helpFile.empty());
    ASSERT_TRUE(viewer.Open(helpFile));
    EXPECT_FALSE(viewer.ShowTopic(nullptr, "NoSuchTopic.html"));
    ASSERT_TRUE(viewer.ShowTopic(nullptr, "1-1-1.html"));
    QWidget* window = viewer.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    auto* page = window->findChild<QTextBrowser*>();
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->toPlainText().contains("Text alternatives for images")) << page->toPlainText().toStdString();
    EXPECT_GE(window->findChildren<QWidget*>().size(), 6);
}

// The help speaks the language of the windows, and a user of the keyboard or
// of a screen reader finds a topic by its index word and closes the window
// again with Escape.
TEST(QtHelpWindow, FollowsTheLanguageOfTheWindowsAndIsUsedByKeysAlone)
{
    CQtHelpViewer viewer;
    SetHelpViewer(&viewer);
    UseLanguage("de");
    ASSERT_EQ(ShowHelpTopic(nullptr, "OverviewDialog.html"), 1);
    QWidget* window = viewer.Window();
    ASSERT_NE(window, nullptr);
    auto* search = window->findChild<QHelpSearchEngine*>();
    ASSERT_NE(search, nullptr);
    QSignalSpy indexed(search, &QHelpSearchEngine::indexingFinished);
    auto* page = window->findChild<QTextBrowser*>();
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->toPlainText().contains(QString::fromUtf8("Das Übersichtsfenster")));
    EXPECT_EQ(window->windowTitle(), "Orvane-Hilfe");
    // A checkpoint's topic comes from the same German help (in English where a topic is not translated).
    EXPECT_EQ(ShowHelpTopic(nullptr, "1-1-1.html"), 1);
    EXPECT_FALSE(page->toPlainText().isEmpty());

    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == window; }));
    for (const QString& fault : test::AccessibilityFaults(*window))
        ADD_FAILURE() << fault.toStdString();
    auto* tabs = window->findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    // "In&dex" in German: the mnemonic opens the index with the keyboard in its filter.
    QTest::keyClick(window, Qt::Key_D, Qt::AltModifier);
    QTest::qWait(50);
    EXPECT_EQ(tabs->currentIndex(), 1);
    auto* filter = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(filter, nullptr) << "the index's filter has the focus";
    auto* index = window->findChild<QHelpIndexWidget*>();
    ASSERT_NE(index, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return index->model() && index->model()->rowCount() > 0; }, 20000));
    QTest::keyClicks(filter, "Original-Endung");
    QTest::keyClick(filter, Qt::Key_Return);
    EXPECT_EQ(page->source().fileName(), "SavingFiles.html");
    EXPECT_TRUE(page->toPlainText().contains("Dateien speichern"));
    // The full text of the German topics is searched.
    ASSERT_TRUE(!indexed.isEmpty() || indexed.wait(60000));
    QSignalSpy searched(search, &QHelpSearchEngine::searchingFinished);
    search->search(QString::fromUtf8("Sicherungskopie"));
    ASSERT_TRUE(!searched.isEmpty() || searched.wait(60000));
    EXPECT_GT(search->searchResultCount(), 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());

    // Back in English, the help is English again.
    UseLanguage("en");
    ASSERT_EQ(ShowHelpTopic(nullptr, "OverviewDialog.html"), 1);
    page = viewer.Window()->findChild<QTextBrowser*>();
    EXPECT_TRUE(page->toPlainText().contains("The overview window"));
    EXPECT_EQ(viewer.Window()->windowTitle(), "Orvane Help");
    SetHelpViewer(nullptr);
}

// An installation's help lies where the user may not write (and root, who
// may, should not): the window searches it with its index in the user's
// cache, and writes nothing beside the help files.
TEST(QtHelpWindow, TheHelpOfAnInstallationIsSearchedWithNothingWrittenBesideIt)
{
    QTemporaryDir installation;
    for (const char* name : {"Orvane.qhc", "Orvane.qch"}) {
        const std::string built = FindDataFile(name);
        ASSERT_FALSE(built.empty()) << name;
        ASSERT_TRUE(QFile::copy(QString::fromStdString(built), installation.filePath(name)));
    }
    CQtHelpViewer viewer;
    ASSERT_TRUE(viewer.Open(installation.filePath("Orvane.qhc").toStdString()));
    ASSERT_TRUE(viewer.ShowTopic(nullptr, "1-1-1.html"));
    auto* search = viewer.Window()->findChild<QHelpSearchEngine*>();
    ASSERT_NE(search, nullptr);
    QSignalSpy indexed(search, &QHelpSearchEngine::indexingFinished);
    ASSERT_TRUE(indexed.wait(60000));
    QSignalSpy searched(search, &QHelpSearchEngine::searchingFinished);
    search->search("alternatives");
    ASSERT_TRUE(!searched.isEmpty() || searched.wait(60000));
    EXPECT_GT(search->searchResultCount(), 0);
    EXPECT_EQ(QDir(installation.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{"Orvane.qch", "Orvane.qhc"}));
    EXPECT_FALSE(QDir(QString::fromStdString(UserCacheDirectory()) + "/help").isEmpty());
}

// The whole road of a modal window: the template from the bundle, the logic's
// OnInit, the window on the screen (the show hook), the user's Escape.
TEST(QtWindowSystem, RunsTheAboutBoxFromTheBundleUntilTheUserPressesEscape)
{
    CQtWindowSystem windows;
    SetWindows(&windows);
    int shown = 0;
    windows.SetShowHook([&](QWidget& widget, IWindow& window) {
        ++shown;
        EXPECT_TRUE(widget.isVisible());
        EXPECT_EQ(window.TemplateId(), 100);
        EXPECT_EQ(window.ItemCount(1252), 13);
        EXPECT_FALSE(window.Text(1072).empty());
        auto* list = widget.findChild<QListWidget*>("c1252");
        ASSERT_NE(list, nullptr);
        QTest::keyClick(list, Qt::Key_Escape);
    });
    ShowAboutDialog(nullptr);
    SetWindows(nullptr);
    EXPECT_EQ(shown, 1);
}

} // namespace
} // namespace orvane::platform::qt
