#pragma once

// The decisions journey, shared by the runs that drive it: a German page at
// level A in a site with its own registry; the user judges that nothing
// flickers, considers the general warnings, writes a text alternative and a
// long description; then the site's CI runs `orvane check` from the site's
// folder on the page's relative path. The steps use Qt's widgets alone, so
// they drive the library's windows whether the library is linked into the
// test or loaded at run time by a host such as Tamsel.
#include "tests/qt/widget_steps.h"
#include "tests/support/test_support.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace orvane::test::journey {

namespace fs = std::filesystem;

constexpr int kFlickerPage = 1309;
constexpr int kImageTextPage = 107;
constexpr int kLongDescriptionPage = 132;
constexpr const char* kImageText = "Die F\xc3\xa4hre Greta an der Hafenmauer";
constexpr const char* kDescription = "Die F\xc3\xa4hre Greta liegt an der Hafenmauer, dahinter steht der Leuchtturm.";

constexpr const char* kFahrplan =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">\n"
    "<html lang=\"de\"><head><title>Fahrplan der F\xc3\xa4hre</title></head>\n"
    "<body><h1>Fahrplan</h1>\n"
    "<p>Die F\xc3\xa4hre f\xc3\xa4hrt jeden Tag um neun Uhr ab, bei jedem Wetter und auch an Feiertagen.</p>\n"
    "<p><img src=\"images/ferry.png\" width=\"400\" height=\"240\"></p>\n"
    "<p><object data=\"uhr.swf\" type=\"application/x-shockwave-flash\">Die Uhr zeigt die Abfahrtszeit.</object></p>\n"
    "</body></html>\n";

// The site made anew in that folder: its page index.html, the page's picture
// and, unless the journey starts it itself, an empty site registry. The
// page's path.
inline fs::path MakeFahrplanSite(const fs::path& site, bool withSiteRegistry = true)
{
    fs::remove_all(site);
    fs::create_directories(site / "images");
    fs::copy_file(std::string(ORVANE_EXAMPLES_DIR) + "/images/ferry.png", site / "images/ferry.png");
    if (withSiteRegistry) {
        fs::create_directories(site / ".orvane");
        std::ofstream(site / ".orvane" / "registry.xml")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n</root>\n";
    }
    const fs::path page = site / "index.html";
    std::ofstream(page, std::ios::binary) << kFahrplan;
    return page;
}

// The template of the sheet's page shown, by the name its form gives the
// page ("t" and the template's number); -1 when none is shown.
inline int ShownPageTemplate(QWidget& sheet)
{
    static const QRegularExpression pageName("^t(\\d+)$");
    for (QWidget* page : sheet.findChildren<QWidget*>(pageName)) {
        if (page->isVisible())
            return pageName.match(page->objectName()).captured(1).toInt();
    }
    return -1;
}

// Every page of the sheet answered as the user of the journey answers it,
// then Next, until Finish ends the run. The templates of the pages met.
inline std::set<int> AnswerEveryPage(QWidget& widget)
{
    std::set<int> met;
    QPointer<QWidget> sheet(&widget);
    for (int step = 0; step < 30 && sheet && sheet->isVisible(); ++step) {
        const int page = ShownPageTemplate(*sheet);
        met.insert(page);
        if (page == kFlickerPage) {
            if (auto* nothing = Shown<QAbstractButton>(*sheet, "c1179"))
                nothing->click();
        } else if (page == kImageTextPage) {
            // Typed as a paste: the test's keyboard knows no umlauts.
            if (auto* text = Shown<QComboBox>(*sheet, "c1010"); text && text->lineEdit())
                text->lineEdit()->insert(QString::fromUtf8(kImageText));
        } else if (page == kLongDescriptionPage) {
            if (auto* writeNew = Shown<QAbstractButton>(*sheet, "c1181"))
                writeNew->click();
            if (auto* name = Shown<QLineEdit>(*sheet, "c1185"); name && name->text().isEmpty())
                QTest::keyClicks(name, "faehre.html");
            if (auto* text = Shown<QPlainTextEdit>(*sheet, "c1162"); text && text->toPlainText().isEmpty())
                text->insertPlainText(QString::fromUtf8(kDescription));
        }
        if (auto* confirm = Shown<QAbstractButton>(*sheet, "c1042"))
            confirm->click();
        auto* next = Shown<QAbstractButton>(*sheet, "c12324");
        if (next && next->isEnabled())
            next->click();
        else
            Press(*sheet, "c12325");
    }
    if (sheet && sheet->isVisible()) {
        ADD_FAILURE() << "the sheet did not end on page " << ShownPageTemplate(*sheet);
        Press(*sheet, "c2");
    }
    return met;
}

// In the overview: the first problem chosen (the whole list is sent with
// it) and Repair pressed, which runs the sheet; once it has ended, the
// overview's summary as it reads then, and OK.
inline std::string RepairEverythingAndClose(QWidget& overview)
{
    auto* tree = Find<QTreeWidget>(overview, "c1107");
    if (!tree || tree->topLevelItemCount() == 0) {
        ADD_FAILURE() << "the overview lists no problem";
        Press(overview, "c2");
        return {};
    }
    tree->setCurrentItem(tree->topLevelItem(0));
    Press(overview, "c1043");
    std::string summary;
    if (auto* label = Find<QLabel>(overview, "c1274"))
        summary = label->text().toStdString();
    Press(overview, "c1");
    return summary;
}

// What the journey leaves in the site: the pages judged and written met,
// the page saved with its text alternative and long description, and the
// verdicts in the site registry under the page's path relative to the site.
inline void ExpectJudgedAndSaved(const fs::path& site, const std::set<int>& met)
{
    for (int judged : {kFlickerPage, kImageTextPage, kLongDescriptionPage})
        EXPECT_TRUE(met.contains(judged)) << judged;
    const std::string saved = ReadFileBytes((site / "index.html").string());
    EXPECT_NE(saved.find(std::string("alt=\"") + kImageText + "\""), std::string::npos) << saved;
    EXPECT_NE(saved.find("longdesc=\""), std::string::npos) << saved;
    const std::string registry = ReadFileBytes((site / ".orvane" / "registry.xml").string());
    EXPECT_NE(registry.find("<document filename=\"index.html\""), std::string::npos) << registry;
    EXPECT_NE(registry.find("verdict=\"nothing flickers\""), std::string::npos) << registry;
}

// What the program orvane beside the test printed, both streams, run in
// the folder; the status is set.
inline std::string RunProgram(const fs::path& folder, const std::string& arguments, int& status)
{
    const fs::path program = fs::read_symlink("/proc/self/exe").parent_path() / "orvane";
    return test::ShellOutput("cd " + test::ShellQuoted(folder.string()) + " && " + test::ShellQuoted(program.string()) +
                                 " " + arguments + " 2>&1",
                             status);
}

// The site's CI, from the site's folder on the relative path: level A by
// the verdicts of the site registry, none without them.
inline void ExpectCiReachesLevelAByTheSiteRegistry(const fs::path& site)
{
    int status = -1;
    std::string report = RunProgram(site, "check --level A index.html", status);
    EXPECT_EQ(status, 0) << report;
    EXPECT_NE(report.find("target A, achieved A"), std::string::npos) << report;
    report = RunProgram(site, "check --level A --no-registry index.html", status);
    EXPECT_NE(status, 0) << report;
    EXPECT_NE(report.find("target A, achieved none"), std::string::npos) << report;
}

} // namespace orvane::test::journey
