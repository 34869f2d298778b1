// The user who has only the keyboard and a screen reader: the overview, the
// repair wizard and the settings sheet in real windows, driven with keys
// alone, each window read through its accessibility tree as it is shown.
#include "accessibility_tree.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/family_factory.h"
#include "library/html/html_document.h"
#include "library/settings/sheet_settings.h"
#include "library/ui/overview_dialog.h"
#include "platform/paths.h"
#include "platform/qt/qt_window_system.h"
#include "platform/registry.h"
#include "platform/services.h"

#include <QAccessible>
#include <QApplication>
#include <QAbstractButton>
#include <QDialog>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace orvane::platform::qt {
namespace {

constexpr const char* kOrderForm =
    "<html lang=\"en\"><head><title>Order</title></head>\n"
    "<body><p style=\"color: red\">Order now</p><form action=\"order\">"
    "<p><label for=\"n\">Name</label> <input type=\"text\" id=\"n\" name=\"n\"></p>"
    "</form></body></html>\n";

void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
    ASSERT_TRUE(target);
    QTest::keyClick(target, key, modifiers);
    // A button's key presses it as a click the user sees, a moment later.
    if (modifiers & Qt::AltModifier)
        QTest::qWait(150);
}

void Type(const char* text)
{
    ASSERT_TRUE(QApplication::focusWidget());
    QTest::keyClicks(QApplication::focusWidget(), text);
}

// The window in front, with the keys: a window opened from another takes a
// moment to become the active one.
bool Activate(QWidget& window)
{
    window.activateWindow();
    return QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; });
}

QString NameOf(QWidget* widget)
{
    QAccessibleInterface* iface = widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
    return iface ? iface->text(QAccessible::Name) : QString();
}

void ExpectReadableWithFocusInSight(QWidget& window)
{
    for (const QString& fault : test::AccessibilityFaults(window))
        ADD_FAILURE() << window.objectName().toStdString() << ": " << fault.toStdString();
    EXPECT_EQ(test::LostFocus().toStdString(), "");
}

class KeyboardJourney : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::remove(UserDataDirectory() + "/ObjectRegistry.xml");
        COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
        SetWindows(&m_windows);
    }
    void TearDown() override
    {
        m_windows.SetShowHook(nullptr);
        SetWindows(nullptr);
        COrvaneSettings::InstallCatalogue(nullptr);
    }

    CQtWindowSystem m_windows;
    std::string m_storeFile = UserDataDirectory() + "/keyboard-journey.reg";
    std::unique_ptr<IRegistry> m_store = [this] {
        std::filesystem::remove(m_storeFile);
        return CreateFileRegistry(m_storeFile);
    }();
    ScopedRegistry m_storeScope{*m_store};
};

TEST_F(KeyboardJourney, TheUserChoosesTheProblemsThatCountRepairsThemInTheWizardAndClosesTheOverview)
{
    COrvaneSettings settings;
    settings.Load();
    settings.SetConformanceLevel(3);
    CHtmlDocument document(CFamilyElementFactory::Instance());
    document.Start(1, false);
    document.SetOriginFlag(1);
    document.SetName("/site/order.html");
    document.AddLine(kOrderForm);
    document.Finish();

    std::vector<int> shown;
    QStringList beforeRepair, afterRepair;
    QString levelPicture, levelLine;
    m_windows.SetShowHook([&](QWidget& widget, IWindow& window) {
        shown.push_back(window.TemplateId());
        ASSERT_TRUE(Activate(widget));
        if (window.TemplateId() == COverviewDialog::kTemplate) {
            ExpectReadableWithFocusInSight(widget);
            EXPECT_EQ(NameOf(widget.findChild<QWidget*>("c1107")), "Checks");
            for (QLabel* picture : widget.findChildren<QLabel*>()) {
                if (picture->isVisible() && !picture->pixmap().isNull())
                    levelPicture = NameOf(picture);
            }
            levelLine = widget.findChild<QLabel*>("c1274")->text();
            beforeRepair = test::RowsWithStatesAsRead(widget);
            // The tree, its first group (the problems that count), and into the repair.
            Press(Qt::Key_C, Qt::AltModifier);
            EXPECT_EQ(widget.focusWidget(), widget.findChild<QWidget*>("c1107"));
            Press(Qt::Key_Home);
            Press(Qt::Key_R, Qt::AltModifier);
            // Back from the wizard, the focus is where the user left it.
            ASSERT_TRUE(Activate(widget));
            ExpectReadableWithFocusInSight(widget);
            afterRepair = test::RowsWithStatesAsRead(widget);
            Press(Qt::Key_Return);
            return;
        }
        ASSERT_EQ(window.TemplateId(), 9000);
        // The general warnings: the list is read by its label, the box confirms them.
        ExpectReadableWithFocusInSight(widget);
        EXPECT_EQ(NameOf(widget.findChild<QWidget*>("c1040")), "Warnings");
        Press(Qt::Key_I, Qt::AltModifier);
        Press(Qt::Key_N, Qt::AltModifier);
        // The text field's default text, typed where its label's key leads.
        ExpectReadableWithFocusInSight(widget);
        Press(Qt::Key_D, Qt::AltModifier);
        Type("Your name");
        Press(Qt::Key_F, Qt::AltModifier);
        if (!window.HasEnded()) {
            ADD_FAILURE() << "the wizard stayed open";
            window.End(2);
        }
    });

    COverviewDialog overview;
    overview.Prepare(document, settings, "/site/order.html");
    overview.RunModal();

    EXPECT_EQ(shown, (std::vector<int>{COverviewDialog::kTemplate, 9000}));
    EXPECT_EQ(overview.ResultCode(), 1);
    EXPECT_NE(document.Text().find("value=\"Your name\""), std::string::npos) << document.Text();
    // What the level picture shows and each problem's state are read, not only seen.
    EXPECT_FALSE(levelPicture.isEmpty());
    EXPECT_EQ(levelPicture, levelLine);
    EXPECT_FALSE(beforeRepair.filter(QString::fromStdString(Strings().Get(340))).isEmpty())
        << beforeRepair.join('\n').toStdString();
    EXPECT_FALSE(afterRepair.filter(QString::fromStdString(Strings().Get(339))).isEmpty())
        << afterRepair.join('\n').toStdString();
}

TEST_F(KeyboardJourney, TheUserChangesTheTargetInTheSettingsSheetAndPressesOk)
{
    m_windows.SetShowHook([&](QWidget& widget, IWindow& window) {
        ASSERT_TRUE(Activate(widget));
        ExpectReadableWithFocusInSight(widget);
        // Level AA, by its key, on the first tab; Enter is OK.
        Press(Qt::Key_2, Qt::AltModifier);
        EXPECT_EQ(test::LostFocus().toStdString(), "");
        Press(Qt::Key_Return);
        if (!window.HasEnded()) {
            ADD_FAILURE() << "the settings stayed open";
            window.End(2);
        }
    });
    EXPECT_EQ(RunSettingsSheet(nullptr), kIdOk);
    COrvaneSettings stored;
    ASSERT_EQ(stored.Load(), 1);
    EXPECT_EQ(stored.GetConformanceLevel(), 2);
}

} // namespace
} // namespace orvane::platform::qt
