// The map preview painted over the example harbour map, and the in-place
// editing of a report list's texts, on the offscreen platform.
#include "platform/qt/qt_resources.h"
#include "platform/qt/qt_window.h"
#include "platform/qt/widgets/map_area_view.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

namespace orvane::platform::qt {
namespace {

using Shape = MapOutline::Shape;

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class CRecordingLogic final : public IDialogLogic {
public:
    void OnInit(IWindow&) override {}
    void OnNotify(IWindow&, const Notification& notification) override { heard.push_back(notification); }
    void OnOk(IWindow&) override { ++oks; }
    std::vector<Notification> heard;
    int oks = 0;
};

// The map page's template in a dialog of its own.
struct CMapPageWindow {
    CMapPageWindow()
    {
        QByteArray text = ReadAll(QString(ORVANE_RESOURCES_DIR) + "/templates/211.ui");
        text.replace("<widget class=\"QWidget\" name=\"t211\">", "<widget class=\"QDialog\" name=\"t211\">");
        // A button of the window around the page (a wizard's Next).
        text.replace("<item><widget class=\"QLabel\" name=\"labelAreas\">",
                     "<item><widget class=\"QPushButton\" name=\"c12324\"><property name=\"text\"><string>Next</string></property></widget></item>"
                     "<item><widget class=\"QLabel\" name=\"labelAreas\">");
        info = *ParseTemplate(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
        widget = LoadTemplateWidget(text, nullptr);
        window = std::make_unique<CQtWindow>(211, info, widget, logic, nullptr);
        widget->resize(700, 420);
        widget->show();
    }
    ~CMapPageWindow() { window.reset(); }

    TemplateInfo info;
    CRecordingLogic logic;
    QWidget* widget = nullptr;
    std::unique_ptr<CQtWindow> window;
};

TEST(MapAreaView, PaintsTheAreasOverTheImageAndTellsAScreenReaderHowManyThereAre)
{
    CMapPageWindow page;
    auto* view = page.widget->findChild<CMapAreaView*>("c1235");
    ASSERT_NE(view, nullptr) << "the template names the preview by its class";
    const std::string image = std::string(ORVANE_EXAMPLES_DIR) + "/images/harbour-map.png";
    page.window->SetMapAreas(1235, image,
                             {{Shape::Rect, {60, 40, 150, 100}},
                              {Shape::Circle, {300, 60, 28}},
                              {Shape::Poly, {200, 90, 280, 90, 300, 140, 220, 150}},
                              {Shape::None, {}},
                              {Shape::Rect, {-2000000000, 5, 2000000000, 7}}});
    page.window->SetCurrentMapArea(1235, 1);
    EXPECT_TRUE(view->HasImage());
    EXPECT_EQ(view->Current(), 1);

    const QImage shot = view->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    // The image is drawn: its dark water shows, and the outlines' light halo.
    bool water = false, halo = false;
    for (int y = 0; y < shot.height(); y += 2) {
        for (int x = 0; x < shot.width(); x += 2) {
            const QColor colour = shot.pixelColor(x, y);
            water = water || (colour.blue() > 100 && colour.red() < 40);
            halo = halo || (colour.red() > 245 && colour.green() > 245 && colour.blue() > 245);
        }
    }
    EXPECT_TRUE(water);
    EXPECT_TRUE(halo);

    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(view);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Image map areas: 5 areas");
    EXPECT_TRUE(accessible->text(QAccessible::Description).contains("Area 2 of 5"));

    // Without its image the areas are still outlined, and the user is told why the image is missing.
    page.window->SetMapAreas(1235, "/nowhere/harbour-map.png", {{Shape::Rect, {1, 1, 20, 20}}});
    EXPECT_FALSE(view->HasImage());
    EXPECT_FALSE(view->grab().isNull());
    EXPECT_EQ(accessible->text(QAccessible::Name), "Image map areas: 1 area");
    EXPECT_TRUE(accessible->text(QAccessible::Description).contains("could not be loaded"));
}

TEST(MapAreaView, F2OrEnterEditsTheRowsTextInPlaceAndEnterEndsTheEditWithoutPressingTheDefaultButton)
{
    CMapPageWindow page;
    CQtWindow& window = *page.window;
    window.SetColumns(1157, {{"Text", 200}, {"Link", 100}});
    window.SetColumnEditable(1157, 0);
    window.AddItem(1157, "Ticket office");
    window.AddItem(1157, "");
    window.SetItemText(1157, 1, 1, "lighthouse.html");
    window.SetItemText(1157, 1, 0, "");
    EXPECT_TRUE(page.logic.heard.empty()) << "the logic's own changes are not heard";

    auto* list = page.widget->findChild<QTreeWidget*>("c1157");
    ASSERT_NE(list, nullptr);
    page.widget->activateWindow();
    (void)QTest::qWaitForWindowActive(page.widget);
    list->setFocus();
    list->setCurrentItem(list->topLevelItem(1));
    page.logic.heard.clear();
    for (int key : {Qt::Key_F2, Qt::Key_Return}) {
        SCOPED_TRACE(key);
        QTest::keyClick(list, static_cast<Qt::Key>(key));
        auto* editor = qobject_cast<QLineEdit*>(page.widget->focusWidget());
        ASSERT_NE(editor, nullptr) << "the row's text opens for editing";
        editor->selectAll();
        QTest::keyClicks(editor, key == Qt::Key_F2 ? "Lighthouse" : "Old lighthouse");
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_EQ(window.ItemText(1157, 1, 0), key == Qt::Key_F2 ? "Lighthouse" : "Old lighthouse");
        std::vector<Notification> edits;
        for (const Notification& heard : page.logic.heard) {
            if (heard.code == NotifyCode::ItemEdited)
                edits.push_back(heard);
        }
        page.logic.heard.clear();
        ASSERT_EQ(edits.size(), 1u);
        EXPECT_EQ(edits[0].control, 1157);
        EXPECT_EQ(edits[0].item, 1);
        EXPECT_EQ(edits[0].column, 0);
        EXPECT_EQ(page.logic.oks, 0) << "Enter ended the edit only";
        list->setFocus();
    }

    // A button pressed by its key while the text is still open takes the text first.
    page.logic.heard.clear();
    QTest::keyClick(list, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(page.widget->focusWidget());
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "Beacon");
    page.widget->findChild<QPushButton*>("c12324")->click();
    std::vector<NotifyCode> codes;
    for (const Notification& heard : page.logic.heard) {
        if (heard.code != NotifyCode::FocusGained)
            codes.push_back(heard.code);
    }
    EXPECT_EQ(codes, (std::vector<NotifyCode>{NotifyCode::ItemEdited, NotifyCode::Clicked}));
    EXPECT_EQ(window.ItemText(1157, 1, 0), "Beacon");
}

} // namespace
} // namespace orvane::platform::qt
