// The repair wizard and the settings sheet as the Qt window system shows
// them, driven with keys and clicks on the widgets their templates made.
#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/check_pass.h"
#include "library/checks/family_factory.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/settings/sheet_settings.h"
#include "library/ui/page_validator_base.h"
#include "library/ui/validator_sheet.h"
#include "platform/paths.h"
#include "platform/qt/qt_window_system.h"
#include "platform/registry.h"
#include "tests/support/memory_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>

namespace orvane::platform::qt {
namespace {

using test::CScriptedPrompt;

template <class W = QWidget>
W* Control(QWidget& parent, int id)
{
    return parent.findChild<W*>(QString::fromStdString(ControlName(id)));
}

// The frame's button as the user sees it: "shown" is visible and clickable.
bool Shown(QDialog& sheet, int id)
{
    QPushButton* button = Control<QPushButton>(sheet, id);
    return button && button->isVisible() && button->isEnabled();
}

// The sheets of these tests see the Qt window system, a message box that
// answers from a script, and a settings store of their own.
class QtSheetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetWindows(&m_windows);
        COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
    }
    void TearDown() override
    {
        m_windows.SetShowHook(nullptr);
        SetWindows(nullptr);
        COrvaneSettings::InstallCatalogue(nullptr);
        std::error_code ignored;
        std::filesystem::remove(m_storeFile, ignored);
    }

    // The user's steps, run once the sheet is on the screen.
    void WhenShown(std::function<void(QDialog&)> steps)
    {
        m_windows.SetShowHook([steps = std::move(steps)](QWidget& widget, IWindow& window) {
            auto* dialog = qobject_cast<QDialog*>(&widget);
            dialog->activateWindow();
            if (dialog && QTest::qWaitForWindowActive(dialog))
                steps(*dialog);
            if (!window.HasEnded()) {
                ADD_FAILURE() << "the user's steps left the sheet open";
                window.End(kIdCancel);
            }
        });
    }

    CQtWindowSystem m_windows;
    CScriptedPrompt m_prompt;
    ScopedPrompt m_promptScope{m_prompt};
    std::string m_storeFile = UserDataDirectory() + "/QtSheetTest.reg";
    std::unique_ptr<IRegistry> m_store = CreateFileRegistry(m_storeFile);
    ScopedRegistry m_storeScope{*m_store};
};

constexpr char kBookingForm[] =
    "<html><body>\n<p style=\"color: red\">Book now</p>\n<form action=\"/book\">\n"
    "<input type=\"text\" name=\"who\">\n"
    "<textarea name=\"notes\"></textarea>\n</form>\n</body></html>\n";

// A repair run over the booking form: its warnings, its text field and its
// text area, one page each.
class QtWizardTest : public QtSheetTest {
protected:
    void SetUp() override
    {
        QtSheetTest::SetUp();
        document.Start(1, false);
        std::istringstream in{std::string(kBookingForm)};
        ASSERT_EQ(document.Load(in), 1);
        found = RunCheckPass(document, settings, nullptr);
        sheet.SetSettings(&settings);
        sheet.SetDocumentPath("/site/forms/page.html");
        sheet.SetTrailingPage(false);
    }

    void AddPages(const std::function<bool(const CFoundProblem&)>& wanted)
    {
        for (const CFoundProblem& problem : found) {
            if (wanted(problem))
                problem.element->AddRepairPages(sheet, document, problem.bit);
        }
    }
    static bool Warning(const CFoundProblem& p) { return !p.element->IsGrouped(p.bit); }
    static bool InputText(const CFoundProblem& p) { return p.element->GetCheckName(p.bit) == "InputMissingDefault"; }
    static bool AreaText(const CFoundProblem& p) { return p.element->GetCheckName(p.bit) == "TextareaText"; }

    static QWidget& CurrentPage(QDialog& wizard)
    {
        return *Control<QStackedWidget>(wizard, kIdPageArea)->currentWidget();
    }

    COrvaneSettings settings;
    CHtmlDocument document{CFamilyElementFactory::Instance()};
    std::vector<CFoundProblem> found;
    CValidatorSheet sheet;
};

TEST_F(QtWizardTest, ThreePagesWalkedWithNextBackAndFinishEachApplyTheirRepair)
{
    AddPages(Warning);
    AddPages(InputText);
    AddPages(AreaText);
    ASSERT_EQ(sheet.PageCount(), 3);

    WhenShown([&](QDialog& wizard) {
        EXPECT_EQ(wizard.objectName(), "t9000");
        EXPECT_EQ(wizard.windowTitle(), "Repair page.html - problem 1 of 3");
        EXPECT_TRUE(Control(wizard, kIdBack)->isVisible());
        EXPECT_FALSE(Control(wizard, kIdBack)->isEnabled());
        EXPECT_TRUE(Shown(wizard, kIdNext));
        EXPECT_FALSE(Control(wizard, kIdFinish)->isVisible());
        EXPECT_EQ(Control<QPushButton>(wizard, CValidatorSheet::kSkipUndoButton)->text(), "&Skip");

        // The warnings page by keyboard: its list has the focus, Tab reaches
        // the box, Space ticks it, Tab goes on to the sheet's buttons.
        QWidget& warnings = CurrentPage(wizard);
        EXPECT_EQ(warnings.objectName(), "t218");
        auto* list = Control<QListWidget>(warnings, 1040);
        EXPECT_EQ(QApplication::focusWidget(), list) << "the page's first control has the focus, not "
                                                     << QApplication::focusWidget()->objectName().toStdString();
        QTest::keyClick(list, Qt::Key_Tab);
        auto* confirm = Control<QCheckBox>(warnings, 1042);
        ASSERT_EQ(QApplication::focusWidget(), confirm);
        QTest::keyClick(confirm, Qt::Key_Space);
        EXPECT_TRUE(confirm->isChecked());
        QTest::keyClick(confirm, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), Control(wizard, kIdHelp)) << "the page comes before the buttons";
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        EXPECT_EQ(QApplication::focusWidget(), confirm);
        // Enter on the page is the sheet's Next.
        QTest::keyClick(confirm, Qt::Key_Return);

        QWidget& input = CurrentPage(wizard);
        ASSERT_EQ(input.objectName(), "t1310");
        EXPECT_EQ(wizard.windowTitle(), "Repair page.html - problem 2 of 3");
        EXPECT_TRUE(Shown(wizard, kIdBack));
        EXPECT_TRUE(Shown(wizard, kIdNext));
        EXPECT_FALSE(Control(wizard, kIdFinish)->isVisible());
        auto* inputText = Control<QLineEdit>(input, 1010);
        EXPECT_EQ(QApplication::focusWidget(), inputText);
        // Tab leaves the markup and the preview as it enters them: no key is caught there.
        for (int id : {1011, 1020}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), Control(input, id));
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), Control(wizard, kIdHelp));
        inputText->setFocus();
        QTest::keyClicks(inputText, "Your name");
        QTest::keyClick(inputText, Qt::Key_Return);

        QWidget& area = CurrentPage(wizard);
        ASSERT_EQ(area.objectName(), "t152");
        EXPECT_EQ(wizard.windowTitle(), "Repair page.html - problem 3 of 3");
        EXPECT_TRUE(Shown(wizard, kIdBack));
        EXPECT_FALSE(Control(wizard, kIdNext)->isVisible());
        EXPECT_TRUE(Shown(wizard, kIdFinish));

        // Back (by its mnemonic) does not apply the page it leaves.
        QTest::keyClick(&wizard, Qt::Key_B, Qt::AltModifier);
        ASSERT_TRUE(QTest::qWaitFor([&] { return &CurrentPage(wizard) == &input; }));
        EXPECT_EQ(wizard.windowTitle(), "Repair page.html - problem 2 of 3");
        EXPECT_TRUE(Shown(wizard, kIdNext));
        EXPECT_FALSE(Control(wizard, kIdFinish)->isVisible());
        EXPECT_EQ(inputText->text(), "Your name");
        EXPECT_EQ(Control<QPushButton>(wizard, CValidatorSheet::kSkipUndoButton)->text(), "&Undo");

        QTest::mouseClick(Control(wizard, kIdNext), Qt::LeftButton);
        ASSERT_EQ(&CurrentPage(wizard), &area);
        auto* areaText = Control<QPlainTextEdit>(area, 1010);
        QTest::keyClicks(areaText, "Walking sticks");
        QTest::mouseClick(Control(wizard, kIdFinish), Qt::LeftButton);
    });
    EXPECT_EQ(sheet.DoModal(nullptr), kIdFinish);
    EXPECT_TRUE(m_prompt.messages.empty());
    EXPECT_EQ(document.Text(),
              "<html><body>\n<p style=\"color: red\">Book now</p>\n<form action=\"/book\">\n"
              "<input type=\"text\" name=\"who\" value=\"Your name\">\n"
              "<textarea name=\"notes\">Walking sticks</textarea>\n</form>\n</body></html>\n");
    for (const CFoundProblem& problem : found) {
        if (Warning(problem)) {
            EXPECT_TRUE(problem.element->IsRepaired(problem.bit, 0)) << problem.element->GetCheckName(problem.bit);
        }
    }
    // Every page heard that its window went, and took its preview with it.
    for (int index = 0; index < sheet.PageCount(); ++index) {
        EXPECT_EQ(sheet.Page(index).Window(), nullptr) << "page " << index;
        EXPECT_FALSE(std::filesystem::exists(sheet.Page(index).PreviewPagePath())) << "page " << index;
    }
}

TEST_F(QtWizardTest, EscapeOnAPageAsksOnceAndNoUndoesWhatThisRunRepaired)
{
    AddPages(InputText);
    AddPages(AreaText);
    m_prompt.AnswerNext(kAnswerNo);
    WhenShown([&](QDialog& wizard) {
        EXPECT_EQ(wizard.windowTitle(), "Repair page.html - problem 1 of 2");
        auto* inputText = Control<QLineEdit>(CurrentPage(wizard), 1010);
        QTest::keyClicks(inputText, "Your name");
        QTest::keyClick(inputText, Qt::Key_Return);
        EXPECT_EQ(wizard.windowTitle(), "Repair page.html - problem 2 of 2");
        QTest::keyClick(Control(CurrentPage(wizard), 1010), Qt::Key_Escape);
    });
    EXPECT_EQ(sheet.DoModal(nullptr), kIdCancel);
    ASSERT_EQ(m_prompt.messages.size(), 1u);
    EXPECT_EQ(m_prompt.messages[0].buttons, PromptButtons::YesNoCancel);
    EXPECT_EQ(document.Text(), kBookingForm);
}

TEST_F(QtSheetTest, TheSettingsSheetKeepsWhatTheUserChoseOnAPageWhenOkIsPressed)
{
    WhenShown([&](QDialog& settings) {
        EXPECT_EQ(settings.objectName(), "t9001");
        auto* tabs = Control<QTabWidget>(settings, kIdPageArea);
        ASSERT_EQ(tabs->count(), 4);
        EXPECT_EQ(tabs->tabText(2), "Saving files");
        EXPECT_EQ(tabs->currentIndex(), 0);
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(2).center());
        ASSERT_EQ(tabs->currentIndex(), 2);

        // The page's controls come after the tabs, before the sheet's buttons.
        QWidget& page = *tabs->currentWidget();
        ASSERT_EQ(QApplication::focusWidget(), tabs->tabBar());
        QTest::keyClick(tabs->tabBar(), Qt::Key_Tab);
        EXPECT_TRUE(page.isAncestorOf(QApplication::focusWidget()));
        Control(page, 9151)->setFocus();
        QTest::keyClick(Control(page, 9151), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), Control(settings, kIdHelp));

        QTest::mouseClick(Control(page, 1005), Qt::LeftButton);  // keep the original under its extension
        auto* original = Control<QLineEdit>(page, 9150);
        EXPECT_EQ(original->text(), ".htmlold");
        original->setFocus();
        original->selectAll();
        QTest::keyClicks(original, "bak");
        QTest::keyClick(original, Qt::Key_Return);
    });
    EXPECT_EQ(RunSettingsSheet(nullptr), kIdOk);

    COrvaneSettings stored;
    ASSERT_EQ(stored.Load(), 1);
    EXPECT_EQ(stored.GetOriginalExtension(), ".bak");
    EXPECT_EQ(stored.GetFileSaves(), filesaves::kReplaceKeepOriginal);
    EXPECT_EQ(stored.GetValidateExtension(), ".htmlvalid");
}

} // namespace
} // namespace orvane::platform::qt
