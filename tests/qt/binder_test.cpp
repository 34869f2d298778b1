#include "platform/qt/message_box_prompt.h"
#include "platform/qt/qt_window.h"

#include <QApplication>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDropEvent>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace orvane::platform::qt {
namespace {

constexpr const char* kForm = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <widget class="QDialog" name="t9990">
  <property name="windowTitle"><string>Binder</string></property>
  <layout class="QVBoxLayout">
   <item><widget class="QPushButton" name="c1001"><property name="text"><string>&amp;Repair</string></property></widget></item>
   <item><widget class="QCheckBox" name="c1002"><property name="text"><string>&amp;Always</string></property></widget></item>
   <item><widget class="QListWidget" name="c1004"/></item>
   <item><widget class="QTreeWidget" name="c1005"><property name="controlKind" stdset="0"><string notr="true">report</string></property></widget></item>
   <item><widget class="QComboBox" name="c1006"/></item>
   <item><widget class="QPushButton" name="c2"><property name="text"><string>Cancel</string></property></widget></item>
  </layout>
 </widget>
</ui>
)";

class CRecordingLogic final : public IDialogLogic {
public:
    void OnInit(IWindow&) override {}
    void OnNotify(IWindow&, const Notification& notification) override { heard.push_back(notification); }
    void OnCancel(IWindow& window) override
    {
        ++cancels;
        window.End(kIdCancel);
    }
    void OnDropFiles(IWindow&, const std::vector<std::string>& paths) override { drops.push_back(paths); }
    void OnFolderChanged(IWindow&) override { ++folderChanges; }
    std::vector<Notification> heard;
    int folderChanges = 0;
    std::vector<std::vector<std::string>> drops;
    int cancels = 0;
};

std::vector<NotifyCode> CodesHeard(const CRecordingLogic& logic)
{
    std::vector<NotifyCode> codes;
    for (const Notification& notification : logic.heard)
        codes.push_back(notification.code);
    return codes;
}

struct CBoundWindow {
    CBoundWindow()
    {
        info = *ParseTemplate(kForm);
        widget = LoadTemplateWidget(kForm, nullptr);
        window = std::make_unique<CQtWindow>(9990, info, widget, logic, nullptr);
        widget->show();
    }
    template <class W> W* Get(int id) { return widget->findChild<W*>(QString::fromStdString(ControlName(id))); }

    TemplateInfo info;
    CRecordingLogic logic;
    QWidget* widget = nullptr;
    std::unique_ptr<CQtWindow> window;
};

TEST(QtBinder, AClickReachesTheLogicAndCancelEndsTheDialog)
{
    CBoundWindow bound;
    ASSERT_TRUE(bound.window->HasControl(1001));
    EXPECT_EQ(bound.window->KindOf(1005), ControlKind::ReportList);
    QTest::mouseClick(bound.Get<QPushButton>(1001), Qt::LeftButton);
    ASSERT_EQ(bound.logic.heard.size(), 1u);
    EXPECT_EQ(bound.logic.heard[0].control, 1001);
    EXPECT_EQ(bound.logic.heard[0].code, NotifyCode::Clicked);

    QTest::mouseClick(bound.Get<QPushButton>(2), Qt::LeftButton);
    EXPECT_EQ(bound.logic.cancels, 1);
    EXPECT_TRUE(bound.window->HasEnded());
    EXPECT_EQ(bound.window->Result(), kIdCancel);
}

TEST(QtBinder, TheUsersChoiceInAListIsHeardButTheLogicsOwnChangesAreNot)
{
    CBoundWindow bound;
    IWindow& window = *bound.window;
    for (const char* text : {"one", "two", "three"})
        window.AddItem(1004, text, 7);
    window.SetCurrentItem(1004, 0);
    window.AddItem(1006, "first");
    window.AddItem(1006, "second");
    EXPECT_TRUE(bound.logic.heard.empty());

    auto* list = bound.Get<QListWidget>(1004);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    ASSERT_EQ(bound.logic.heard.size(), 1u);
    EXPECT_EQ(bound.logic.heard[0].code, NotifyCode::SelectionChanged);
    EXPECT_EQ(bound.logic.heard[0].item, 1);
    EXPECT_EQ(window.CurrentItem(1004), 1);
    EXPECT_EQ(window.GetItemData(1004, 1), 7);
    EXPECT_EQ(window.ItemText(1004, 2), "three");

    window.WatchKey(1004, Key::Space);
    QTest::keyClick(list, Qt::Key_Space);
    ASSERT_EQ(bound.logic.heard.size(), 2u);
    EXPECT_EQ(bound.logic.heard[1].code, NotifyCode::KeyPressed);
    EXPECT_EQ(bound.logic.heard[1].key, Key::Space);
}

// Qt reports every step through a closed combo (arrow keys, letters, the
// wheel) as if the entry had been picked; the logic hears such steps as
// changes, and only a pick in the open list as a choice.
TEST(QtBinder, AComboSteppedThroughIsChosenFromOnlyWhenTheUserPicksAnEntry)
{
    CBoundWindow bound;
    IWindow& window = *bound.window;
    for (const char* text : {"first", "second", "third"})
        window.AddItem(1006, text);
    window.SetCurrentItem(1006, 0);
    auto* combo = bound.Get<QComboBox>(1006);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QTest::keyClick(combo, Qt::Key_T);
    EXPECT_EQ(CodesHeard(bound.logic), (std::vector<NotifyCode>{NotifyCode::SelectionChanged, NotifyCode::SelectionChanged}));
    EXPECT_EQ(window.CurrentItem(1006), 2);

    bound.logic.heard.clear();
    combo->showPopup();
    QTest::keyClick(combo->view(), Qt::Key_Up);
    QTest::keyClick(combo->view(), Qt::Key_Return);
    EXPECT_EQ(CodesHeard(bound.logic), (std::vector<NotifyCode>{NotifyCode::SelectionChanged, NotifyCode::Chosen}));
    ASSERT_EQ(bound.logic.heard.size(), 2u);
    EXPECT_EQ(bound.logic.heard[1].item, 1);
    EXPECT_EQ(window.CurrentItem(1006), 1);
}

// The program the files came from waits until the drop has ended: the logic
// takes them up only after that, with the names' own bytes.
TEST(QtBinder, FilesDroppedOnTheWindowReachTheLogicOnceTheDropHasEnded)
{
    CBoundWindow bound;
    bound.window->AcceptDroppedFiles();
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile("/site/page.htm"), QUrl("file:///site/caf%E9.htm")});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bound.widget, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bound.widget, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_TRUE(bound.logic.drops.empty());
    QCoreApplication::processEvents();
    ASSERT_EQ(bound.logic.drops.size(), 1u);
    EXPECT_EQ(bound.logic.drops[0], (std::vector<std::string>{"/site/page.htm", "/site/caf\xe9.htm"}));
}

// An address typed or picked from the known ones: the label's key leads to
// whichever of the two the logic shows.
// A burst of changes to the watched folder (a file made, written, renamed)
// is heard once it has settled; a file written in place is heard too; the
// folder watched before is not heard any more.
TEST(QtBinder, ChangesToTheWatchedFolderAreHeardOnceABurstHasSettled)
{
    namespace fs = std::filesystem;
    const fs::path root = fs::path(::testing::TempDir()) / "binder-watch";
    fs::remove_all(root);
    fs::create_directories(root / "site");
    fs::create_directories(root / "other");
    std::ofstream(root / "site/page.htm") << "<p>page</p>";
    CBoundWindow bound;
    bound.window->WatchFolder((root / "other").string());
    bound.window->WatchFolder((root / "site").string());

    std::ofstream(root / "site/new.tmp") << "<p>new</p>";
    fs::rename(root / "site/new.tmp", root / "site/new.htm");
    std::ofstream(root / "other/unheard.htm") << "x";
    EXPECT_TRUE(QTest::qWaitFor([&] { return bound.logic.folderChanges > 0; }, 3000));
    QTest::qWait(400);
    EXPECT_EQ(bound.logic.folderChanges, 1);

    std::ofstream(root / "site/page.htm", std::ios::app) << "<p>more</p>";
    EXPECT_TRUE(QTest::qWaitFor([&] { return bound.logic.folderChanges > 1; }, 3000));
    bound.window->End(kIdCancel);
    fs::remove_all(root);
}

// Keys of file browsers: Backspace on a control; F5, Alt+Up and Ctrl+L
// wherever the focus is, as control 0.
TEST(QtBinder, WatchedKeysOfTheWindowAreHeardWhereverTheFocusIs)
{
    CBoundWindow bound;
    bound.widget->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(bound.widget));
    bound.window->WatchKey(1005, Key::Backspace);
    bound.window->WatchWindowKey(Key::F5);
    bound.window->WatchWindowKey(Key::AltUp);
    bound.window->WatchWindowKey(Key::CtrlL);
    auto* list = bound.Get<QTreeWidget>(1005);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Backspace);
    QTest::keyClick(list, Qt::Key_F5);
    QTest::keyClick(list, Qt::Key_Up, Qt::AltModifier);
    QTest::keyClick(bound.Get<QPushButton>(1001), Qt::Key_L, Qt::ControlModifier);
    std::vector<std::pair<int, Key>> keys;
    for (const Notification& notification : bound.logic.heard) {
        if (notification.code == NotifyCode::KeyPressed)
            keys.emplace_back(notification.control, notification.key);
    }
    EXPECT_EQ(keys, (std::vector<std::pair<int, Key>>{{1005, Key::Backspace}, {0, Key::F5}, {0, Key::AltUp}, {0, Key::CtrlL}}));
    bound.window->End(kIdCancel);
}

TEST(QtBinder, ALabelOfTwoControlsShownInTurnLeadsToTheShownOne)
{
    constexpr const char* kShared = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <widget class="QDialog" name="t9991">
  <layout class="QVBoxLayout">
   <item><widget class="QLabel" name="c1188"><property name="text"><string>Add&amp;ress:</string></property>
         <property name="buddy"><cstring>c1183</cstring></property>
         <property name="buddies" stdset="0"><string notr="true">c1183 c1200</string></property></widget></item>
   <item><widget class="QLineEdit" name="c1183"/></item>
   <item><widget class="QComboBox" name="c1200"><property name="editable"><bool>true</bool></property></widget></item>
  </layout>
 </widget>
</ui>
)";
    CRecordingLogic logic;
    const TemplateInfo info = *ParseTemplate(kShared);
    QWidget* widget = LoadTemplateWidget(kShared, nullptr);
    CQtWindow window(9991, info, widget, logic, nullptr);
    auto* label = widget->findChild<QLabel*>("c1188");
    ASSERT_NE(label, nullptr);
    window.Show(1183, false);
    window.Show(1200, true);
    EXPECT_EQ(label->buddy(), widget->findChild<QWidget*>("c1200"));
    window.Show(1200, false);
    window.Show(1183, true);
    EXPECT_EQ(label->buddy(), widget->findChild<QWidget*>("c1183"));
}

// Enter gives the answer asked for as the default: No, where Yes must be meant.
TEST(QtMessageBox, EnterGivesTheDefaultAnswer)
{
    CMessageBoxPrompt prompt;
    auto pressEnterInTheBox = [] {
        auto* timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, timer, [timer] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                timer->stop();
                timer->deleteLater();
                QTest::keyClick(box, Qt::Key_Return);
            }
        });
        timer->start(10);
    };
    pressEnterInTheBox();
    EXPECT_EQ(prompt.Show("Tamsel", "Check it all the same?", PromptIcon::Exclamation, PromptButtons::YesNo, kAnswerNo),
              kAnswerNo);
    pressEnterInTheBox();
    EXPECT_EQ(prompt.Show("Tamsel", "Try another name?", PromptIcon::Exclamation, PromptButtons::YesNo), kAnswerYes);
}

TEST(QtBinder, ReportListRowsAreSelectedSeveralAtATimeAndEachChangeIsHeard)
{
    CBoundWindow bound;
    IWindow& window = *bound.window;
    window.SetColumns(1005, {{"Check", 200}, {"Count", 60, Align::Right}});
    for (int row = 0; row < 4; ++row) {
        window.AddItem(1005, "check " + std::to_string(row), 100 + row);
        window.SetItemText(1005, row, 1, std::to_string(row * 2));
    }
    window.SetItemSelected(1005, 3, true);
    EXPECT_TRUE(bound.logic.heard.empty());

    auto* tree = bound.Get<QTreeWidget>(1005);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      tree->visualItemRect(tree->topLevelItem(1)).center());
    ASSERT_EQ(bound.logic.heard.size(), 1u);
    EXPECT_EQ(bound.logic.heard[0].code, NotifyCode::ItemChanged);
    EXPECT_EQ(bound.logic.heard[0].item, 1);
    EXPECT_TRUE(window.IsItemSelected(1005, 1));
    EXPECT_TRUE(window.IsItemSelected(1005, 3));

    window.ReorderItems(1005, {3, 2, 1, 0});
    EXPECT_EQ(window.ItemText(1005, 0), "check 3");
    EXPECT_EQ(window.ItemText(1005, 0, 1), "6");
    EXPECT_EQ(window.GetItemData(1005, 2), 101);
    EXPECT_TRUE(window.IsItemSelected(1005, 0));
    EXPECT_TRUE(window.IsItemSelected(1005, 2));
    EXPECT_FALSE(window.IsItemSelected(1005, 1));

    bound.logic.heard.clear();
    QTest::mouseClick(tree->header()->viewport(), Qt::LeftButton, {},
                      QPoint(tree->header()->sectionViewportPosition(1) + 5, tree->header()->height() / 2));
    ASSERT_EQ(bound.logic.heard.size(), 1u);
    EXPECT_EQ(bound.logic.heard[0].code, NotifyCode::ColumnClicked);
    EXPECT_EQ(bound.logic.heard[0].column, 1);
}

// A column of state words is as wide as its longest word in any language,
// however narrow it was given: none is cut to an ellipsis.
TEST(QtBinder, AColumnIsAsWideAsTheLongestTextItMayShow)
{
    CBoundWindow bound;
    IWindow& window = *bound.window;
    const std::string longest = "entschieden, teilweise behoben";
    window.SetColumns(1005, {{"Beschreibung", 200, Align::Left, true},
                             {"Behoben", 40, Align::Centre, false, {"Offen", longest, "Behoben"}}});
    auto* tree = bound.Get<QTreeWidget>(1005);
    EXPECT_GT(tree->columnWidth(1), tree->fontMetrics().horizontalAdvance(QString::fromStdString(longest)));
}

} // namespace
} // namespace orvane::platform::qt

namespace orvane::platform::qt {
namespace {

constexpr const char* kSheetForm = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <widget class="QDialog" name="t9991">
  <layout class="QVBoxLayout">
   <item><widget class="QTabWidget" name="c12320"/></item>
  </layout>
 </widget>
</ui>
)";

class CPageLogic final : public IDialogLogic {
public:
    void OnInit(IWindow& page) override { rowsAtInit = page.ItemCount(1252); }
    void OnActivate(IWindow&) override { ++activations; }
    int rowsAtInit = -1;
    int activations = 0;
};

// A sheet's tab changes only when its logic shows the page: a page may refuse to be left.
TEST(QtBinder, ASheetsPagesAreMadeAtOnceAndATabChangesOnlyWhenTheLogicShowsIt)
{
    const TemplateInfo info = *ParseTemplate(kSheetForm);
    CRecordingLogic frameLogic;
    QWidget* widget = LoadTemplateWidget(kSheetForm, nullptr);
    CQtWindow frame(9991, info, widget, frameLogic, nullptr);
    widget->show();
    CPageLogic first, second;
    frame.AddPage(100, first, "First");
    frame.AddPage(100, second, "Second");
    EXPECT_EQ(frame.PageCount(), 2);
    EXPECT_EQ(first.rowsAtInit, 0) << "the page's controls exist when its logic starts";
    frame.ShowPage(0);
    EXPECT_EQ(first.activations, 1);

    auto* tabs = widget->findChild<QTabWidget*>("c12320");
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->tabText(1), "Second");
    tabs->setCurrentIndex(1);
    ASSERT_EQ(frameLogic.heard.size(), 1u);
    EXPECT_EQ(frameLogic.heard[0].control, kIdPageArea);
    EXPECT_EQ(frameLogic.heard[0].code, NotifyCode::SelectionChanged);
    EXPECT_EQ(frameLogic.heard[0].item, 1);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(second.activations, 0);

    frame.ShowPage(1);
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_EQ(frame.CurrentPage(), 1);
    EXPECT_EQ(second.activations, 1);
    EXPECT_EQ(frameLogic.heard.size(), 1u);

    // Escape on a page is the sheet's.
    auto* pageList = tabs->widget(1)->findChild<QListWidget*>("c1252");
    ASSERT_NE(pageList, nullptr);
    QTest::keyClick(pageList, Qt::Key_Escape);
    EXPECT_EQ(frameLogic.cancels, 1);
    EXPECT_TRUE(frame.HasEnded());
}

} // namespace
} // namespace orvane::platform::qt
