// The decisions journey as a new user makes it, through Tamsel: the site's
// folder opened in Tamsel's window, the German page chosen and checked by the
// checker library Tamsel loads, judged and repaired in the library's overview
// and sheet, saved by Tamsel where its save dialog says, and its file status
// shown and kept; then the site's CI agrees from the site's folder.
#include "selector/qt/tamsel_app.h"
#include "selector/selector_ids.h"

#include "library/settings/sheet_settings.h"
#include "library/ui/overview_dialog.h"
#include "library/ui/validator_sheet.h"
#include "platform/qt/qt_session.h"
#include "platform/qt/qt_window_system.h"
#include "platform/registry.h"
#include "tests/qt/accessibility_tree.h"
#include "tests/qt/decisions_journey_steps.h"
#include "tests/support/test_support.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>

namespace orvane::selector {
namespace {

namespace fs = std::filesystem;
using namespace test::journey;

// The dialogs that come while a click in Tamsel's window waits for them:
// the checker library's, and the file dialog Tamsel saves with. The library
// was loaded at run time with a window system of its own, so its windows are
// met as any Qt window is: when shown, and handled once the window runs its
// own event loop, as a user answers it. Messages are noted and answered Yes,
// or OK; a window the journey does not expect is noted and closed, so that
// the test cannot hang on it.
class CDialogsAnswered final : public QObject {
public:
    using Handler = std::function<void(QWidget&)>;
    // The handlers by the dialog they answer: the name of the form of a
    // template ("t" and its number, as Form gives it) or the dialog's class.
    explicit CDialogsAnswered(std::map<QString, Handler> handlers) : m_handlers(std::move(handlers))
    {
        qApp->installEventFilter(this);
    }
    ~CDialogsAnswered() override { qApp->removeEventFilter(this); }
    CDialogsAnswered(const CDialogsAnswered&) = delete;
    CDialogsAnswered& operator=(const CDialogsAnswered&) = delete;

    static QString Form(int templateId) { return QString("t%1").arg(templateId); }

    QStringList messages;
    QStringList unexpected;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (event->type() != QEvent::Show || !dialog || !dialog->isWindow() || dialog->property(kMet).toBool())
            return false;
        dialog->setProperty(kMet, true);
        QTimer::singleShot(0, dialog, [this, dialog] { Handle(*dialog); });
        return false;
    }

private:
    static constexpr const char* kMet = "journeyMet";

    void Handle(QDialog& dialog)
    {
        if (!dialog.isVisible())
            return;
        const QString name = dialog.objectName();
        for (const auto& [form, handler] : m_handlers) {
            if (name == form || dialog.inherits(form.toLatin1().constData())) {
                handler(dialog);
                return;
            }
        }
        if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
            messages << box->text();
            QAbstractButton* answer = box->button(QMessageBox::Yes);
            if (!answer)
                answer = box->button(QMessageBox::Ok);
            if (answer)
                answer->click();
            else
                box->reject();
        } else {
            unexpected << name + ": " + dialog.windowTitle();
            dialog.reject();
        }
    }

    std::map<QString, Handler> m_handlers;
};

// Tamsel's Settings, as a new user fills them in: level A, and OK. The
// file-save mode stays as it comes, each time asked.
void ChooseLevelA(QWidget& sheet)
{
    test::Press(sheet, "c1264");
    test::Press(sheet, "c1");
}

// Tamsel's save dialog, opened on the page checked: the name it proposes
// noted, and taken.
void TakeTheProposedName(QWidget& widget, QString& proposed)
{
    auto& dialog = static_cast<QFileDialog&>(widget);
    const QStringList chosen = dialog.selectedFiles();
    proposed = chosen.size() == 1 ? chosen[0] : chosen.join(", ");
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    if (QPushButton* save = buttons ? buttons->button(QDialogButtonBox::Save) : nullptr) {
        save->click();
    } else {
        ADD_FAILURE() << "the save dialog has no Save button";
        dialog.reject();
    }
}

// The row of the file list that shows the file of that name; -1 when none does.
int RowOf(QTreeWidget& files, const char* name)
{
    const QList<QTreeWidgetItem*> found = files.findItems(name, Qt::MatchExactly);
    return found.size() == 1 ? files.indexOfTopLevelItem(found[0]) : -1;
}

// What a screen reader reads of the row of that name, up to its first column's end.
QString RowAsRead(QWidget& window, const char* name)
{
    for (const QString& row : platform::qt::test::RowsWithStatesAsRead(window)) {
        if (row.startsWith(QString(name) + ","))
            return row.section(" | ", 0, 0);
    }
    return {};
}

TEST(TamselJourney, AGermanPageJudgedThroughTamselReachesLevelAInTheOverviewTheFileStatusAndCi)
{
    // The home the tests' runner gave this test: the settings, the status
    // database and the user's own registry are written there, and the site too.
    const fs::path home = std::getenv("ORVANE_HOME");
    setenv("ORVANE_SESSION", "windows", 1);
    setenv("ORVANE_LANG", "en", 1);
    // The login name the verdicts are kept under.
    setenv("ORVANE_USER", "alice", 1);
    const fs::path site = home / "fahrplan-site";
    // The site keeps no registry yet: the user starts it from the overview.
    const fs::path page = MakeFahrplanSite(site, false);
    std::set<int> met;
    std::string summary, summaryAgain;
    QString before, after, afterListing;
    int markShown = -1, markAfterListing = -1, markAgain = -1;
    QStringList messages, unexpected;
    QString proposed, proposedAgain;
    platform::qt::StartProgramWindows();
    platform::qt::QtWindows()->SetShowHook([&](QWidget& widget, platform::IWindow& window) {
        [&] {
            auto* files = test::Find<QTreeWidget>(widget, "c1005");
            ASSERT_TRUE(files);
            ASSERT_GE(RowOf(*files, "index.html"), 0);
            files->clearSelection();
            files->setCurrentItem(files->topLevelItem(RowOf(*files, "index.html")));
            before = RowAsRead(widget, "index.html");
            {
                // The site registry started first, then every problem repaired.
                auto overviewSteps = [&](QWidget& overview) {
                    test::Press(overview, "c1289");
                    summary = RepairEverythingAndClose(overview);
                };
                auto sheetSteps = [&](QWidget& sheet) { met = AnswerEveryPage(sheet); };
                CDialogsAnswered dialogs({{CDialogsAnswered::Form(CSheetSettings::kTemplate), ChooseLevelA},
                                          {CDialogsAnswered::Form(COverviewDialog::kTemplate), overviewSteps},
                                          {CDialogsAnswered::Form(CValidatorSheet::kTemplate), sheetSteps},
                                          {"QFileDialog", [&](QWidget& files) { TakeTheProposedName(files, proposed); }}});
                // The library's windows come and go before the buttons' clicks return.
                test::Press(widget, "c1001");
                test::Press(widget, "c1000");
                messages = dialogs.messages;
                unexpected = dialogs.unexpected;
            }
            markShown = window.ItemIcon(kIdFiles, RowOf(*files, "index.html"));
            after = RowAsRead(widget, "index.html");
            // The long description's new page comes into the list once the
            // folder's changes are read; the page keeps its status there.
            EXPECT_TRUE(QTest::qWaitFor([&] { return RowOf(*files, "faehre.html") >= 0; }, 60000));
            markAfterListing = window.ItemIcon(kIdFiles, RowOf(*files, "index.html"));
            afterListing = RowAsRead(widget, "index.html");

            // Checked again, the page asks nothing: its overview says level A
            // at once, by the verdicts the site registry gave back.
            auto readAndClose = [&](QWidget& overview) {
                if (auto* label = test::Find<QLabel>(overview, "c1274"))
                    summaryAgain = label->text().toStdString();
                test::Press(overview, "c1");
            };
            CDialogsAnswered again({{CDialogsAnswered::Form(COverviewDialog::kTemplate), readAndClose},
                                    {"QFileDialog", [&](QWidget& files) { TakeTheProposedName(files, proposedAgain); }}});
            files->clearSelection();
            files->setCurrentItem(files->topLevelItem(RowOf(*files, "index.html")));
            test::Press(widget, "c1000");
            messages << again.messages;
            unexpected << again.unexpected;
            markAgain = window.ItemIcon(kIdFiles, RowOf(*files, "index.html"));
        }();
        test::Press(widget, "c1016");
    });
    EXPECT_EQ(qt::RunTamsel("TamselResources.rcc", site.string()), 0);
    platform::qt::QtWindows()->SetShowHook(nullptr);

    EXPECT_EQ(unexpected, QStringList{}) << unexpected.join('\n').toStdString();
    // Asked, and told where the site registry was made and that the session
    // keeps its decisions there; asked by the save dialog to replace the page.
    const QString siteFolder = QString::fromStdString(site.string());
    const QString registryFile = QString::fromStdString((site / ".orvane" / "registry.xml").string());
    ASSERT_EQ(messages.size(), 4) << messages.join('\n').toStdString();
    EXPECT_TRUE(messages[0].startsWith("Start a site registry in " + siteFolder + "?")) << messages[0].toStdString();
    EXPECT_TRUE(messages[1].startsWith("The site registry " + registryFile + " was created. This session"))
        << messages[1].toStdString();
    EXPECT_TRUE(messages[2].startsWith("index.html already exists.")) << messages[2].toStdString();
    EXPECT_TRUE(messages[3].startsWith("index.html already exists.")) << messages[3].toStdString();
    // The save dialog proposes the page itself, taken as it is.
    EXPECT_EQ(proposed, QString::fromStdString(page.string()));
    EXPECT_EQ(proposedAgain, QString::fromStdString(page.string()));
    EXPECT_NE(summary.find("The page reaches conformance level A."), std::string::npos) << summary;
    ExpectJudgedAndSaved(site, met);
    // Saved in its place: no temporary copy left, no copy beside it.
    EXPECT_FALSE(fs::exists(site / "index.tmp"));
    EXPECT_FALSE(fs::exists(site / "index.htmlvalid"));
    // Every problem repaired and the page saved: checked, without problems.
    EXPECT_EQ(before, "index.html, Not checked");
    EXPECT_EQ(markShown, 2);
    EXPECT_EQ(after, "index.html, Checked, no problems");
    EXPECT_EQ(markAfterListing, 2);
    EXPECT_EQ(afterListing, "index.html, Checked, no problems");
    EXPECT_NE(summaryAgain.find("The page reaches conformance level A."), std::string::npos) << summaryAgain;
    EXPECT_EQ(markAgain, 2);
    const std::string database = test::ReadFileBytes((home / "OrvaneFileDatabase.txt").string());
    EXPECT_NE(database.find(page.string() + "\t2\t"), std::string::npos) << database;
    // Started again where it was left, Tamsel shows the page's status as it was.
    QString nextStart;
    platform::qt::QtWindows()->SetShowHook([&](QWidget& widget, platform::IWindow&) {
        nextStart = RowAsRead(widget, "index.html");
        test::Press(widget, "c1016");
    });
    EXPECT_EQ(qt::RunTamsel(), 0);
    platform::qt::QtWindows()->SetShowHook(nullptr);
    EXPECT_EQ(nextStart, "index.html, Checked, no problems");
    // The settings chosen in the library's sheet outlive Tamsel's own state
    // written into the same store as it closed.
    auto registry = platform::CreateFileRegistry((home / "UserRegistry.reg").string());
    auto key = registry->OpenKey(platform::kOrvaneRegistryKey, platform::RegistryAccess::Read);
    ASSERT_TRUE(key);
    // The file-save mode left as it comes is not written at all.
    EXPECT_FALSE(key->QueryDword("FileSaves").has_value());
    EXPECT_EQ(key->QueryString("WaiConformance", 10), "A");
    EXPECT_EQ(key->QueryString("SelectorLastDirectory", 500), site.string());

    // The CI runs under a login name of its own; its report says who judged.
    unsetenv("ORVANE_USER");
    ExpectCiReachesLevelAByTheSiteRegistry(site);
    int status = -1;
    const std::string report = RunProgram(site, "check --level A index.html", status);
    EXPECT_NE(report.find("(CheckFlicker): nothing flickers by alice on "), std::string::npos) << report;
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
