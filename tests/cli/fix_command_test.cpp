#include "command_fixture.h"

#include "cli/commands.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/family_factory.h"
#include "library/html/html_document.h"
#include "library/html/page_language.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "platform/bundle_strings.h"
#include "platform/file_system.h"
#include "platform/registry.h"
#include "tests/support/test_support.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

namespace orvane::cli {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// The example page for a booking form has no document type and no language;
// without choices remembered, the repairs put in the declaration that keeps it
// in quirks mode, and no language: its two sentences are too little text to
// tell a language by with confidence.
const char* const kBookingRepaired = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n<html>\n";

class FixCommand : public test::CommandFixture {
protected:
    void SetUp() override
    {
        CommandFixture::SetUp();
        UseRegistryInHome();
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ignored);
        CommandFixture::TearDown();
    }

    std::string Example(const std::string& name)
    {
        const fs::path copy = folder / name;
        fs::copy_file(fs::path(ORVANE_EXAMPLES_DIR) / name, copy, fs::copy_options::overwrite_existing);
        return copy.string();
    }
    int Run(const std::string& command, Arguments args)
    {
        args.insert(args.begin(), command);
        return CommandFixture::Run(args);
    }
    static std::string Bytes(const std::string& path) { return test::ReadFileBytes(path); }
    static std::string Original(const std::string& name) { return Bytes(std::string(ORVANE_EXAMPLES_DIR) + "/" + name); }
};

// What a user of the booking page expects: the two repairs at the top, the
// rest of the page as it was; what needs a person stays and is listed.
TEST_F(FixCommand, RepairsThePageInPlaceAndListsWhatStillCounts)
{
    const std::string page = Example("booking.html");
    const std::string original = Original("booking.html");
    EXPECT_EQ(Run("fix", {"--save", "replace", page}), kExitFindings) << err.str();
    EXPECT_EQ(err.str(), "");
    const std::string expected = kBookingRepaired + original.substr(original.find('\n') + 1);
    EXPECT_EQ(Bytes(page), expected);
    const std::string report = out.str();
    EXPECT_NE(report.find(page + ":1:1: MissingLanguage not repaired: "), std::string::npos) << report;
    EXPECT_NE(report.find(page + ":2:1: still counts MissingLanguage"), std::string::npos) << report;
    EXPECT_NE(report.find(page + ": repaired DoctypeMissing: "), std::string::npos) << report;
    EXPECT_NE(report.find(": still counts Script"), std::string::npos) << report;
    EXPECT_NE(report.find(page + ": written to " + page + "; "), std::string::npos) << report;
    EXPECT_EQ(fs::directory_iterator(folder) != fs::directory_iterator() &&
                  std::distance(fs::directory_iterator(folder), fs::directory_iterator()) == 1,
              true)
        << "nothing else is left in the folder";

    // A second run finds nothing of its own left to do, and check agrees with it.
    EXPECT_EQ(Run("fix", {"--save", "replace", page}), kExitFindings);
    EXPECT_NE(out.str().find(page + ": nothing repaired; "), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("repaired Doctype"), std::string::npos) << out.str();
    EXPECT_EQ(Bytes(page), expected);
    EXPECT_EQ(Run("check", {page}), kExitFindings);
}

TEST_F(FixCommand, SharesOfAFolderRepairEachPageOnceAndBadOptionsAreNamed)
{
    const std::string original = Original("booking.html");
    std::vector<std::string> pages;
    for (const char* name : {"a.html", "b.html", "c.html", "d.html"}) {
        fs::copy_file(fs::path(ORVANE_EXAMPLES_DIR) / "booking.html", folder / name);
        pages.push_back((folder / name).string());
    }
    auto repaired = [&] {
        return std::count_if(pages.begin(), pages.end(), [&](const std::string& page) { return Bytes(page) != original; });
    };
    EXPECT_EQ(Run("fix", {"--save", "replace", "--shard", "1/2", folder.string()}), kExitFindings) << err.str();
    const auto first = repaired();
    EXPECT_EQ(Run("fix", {"--save", "replace", "--shard", "2/2", folder.string()}), kExitFindings) << err.str();
    EXPECT_EQ(repaired(), 4) << "the two shares together repair every page";
    EXPECT_NE(out.str().find("repaired DoctypeMissing"), std::string::npos);
    EXPECT_GT(first, 0) << "the first share repaired some page";
    EXPECT_LT(first, 4) << "the first share left some page to the second";

    EXPECT_EQ(Run("fix", {"--shard", "3/2", folder.string()}), kExitError);
    EXPECT_EQ(err.str().rfind("orvane fix: --shard takes K/N", 0), 0u) << err.str();
    EXPECT_EQ(Run("fix", {"--tables", "maybe", folder.string()}), kExitError);
    EXPECT_NE(err.str().find("--tables takes skip, data, layout or guess"), std::string::npos) << err.str();
    EXPECT_EQ(Run("fix", {"--help"}), kExitOk);
    EXPECT_EQ(out.str().rfind("usage: orvane fix ", 0), 0u) << out.str();
    for (const char* option : {"--shard", "--tables", "--aria", "--only", "--dry-run", "--diff", "--save"})
        EXPECT_NE(out.str().find(option), std::string::npos) << option;
}

TEST_F(FixCommand, OnlyTheChecksNamedAreRepairedWithTheRememberedChoices)
{
    // The choices remembered, here set from the command line, are what the repairs put in.
    ASSERT_EQ(Run("settings", {"--set", "language=EN", "--set", "doctype=transitional"}), kExitOk) << err.str();
    const std::string page = Example("booking.html");
    const std::string original = Original("booking.html");
    EXPECT_EQ(Run("fix", {"--save", "replace", "--only", "MissingLanguage", page}), kExitFindings) << err.str();
    EXPECT_EQ(Bytes(page), "<html lang=\"en\">" + original.substr(original.find('\n')));

    EXPECT_EQ(Run("fix", {"--only", "MissingLanguage,ImgAltText", page}), kExitError);
    EXPECT_NE(err.str().find("ImgAltText is no check with an automatic repair; those are: "), std::string::npos)
        << err.str();
    EXPECT_NE(err.str().find("DoctypeMissing"), std::string::npos) << err.str();
    EXPECT_EQ(Bytes(page), "<html lang=\"en\">" + original.substr(original.find('\n')));
    EXPECT_EQ(Run("fix", {"--save", "replace", page}), kExitFindings) << err.str();
    EXPECT_EQ(Bytes(page), "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
                           "\"http://www.w3.org/TR/html4/loose.dtd\">\n<html lang=\"en\">" +
                               original.substr(original.find('\n')));

    // A language the page gives with its region is kept, not replaced by the remembered one.
    const fs::path french = folder / "french.html";
    std::ofstream(french, std::ios::binary) << "<html lang=\"fr-CA\">\n<head><title>Horaire</title></head>\n</html>\n";
    EXPECT_NE(Run("fix", {"--save", "replace", "--only", "MissingLanguage", french.string()}), kExitError);
    EXPECT_EQ(Bytes(french.string()), "<html lang=\"fr\">\n<head><title>Horaire</title></head>\n</html>\n") << out.str();
}

// At a WCAG 2.2 target the rules judge the page: the language repair mends
// what html-page-lang finds, and the document type, which no rule asks for,
// is left as it is; what still counts are the rules' findings.
TEST_F(FixCommand, AtAWcag22TargetOnlyTheRepairsOfFailedRulesAreMade)
{
    ASSERT_EQ(Run("settings", {"--set", "language=en", "--set", "doctype=transitional"}), kExitOk) << err.str();
    const std::string page = Example("booking.html");
    const std::string original = Original("booking.html");
    ASSERT_EQ(Run("check", {"--level", "2.2-AA", "--format", "json", page}), kExitFindings) << err.str();
    ASSERT_NE(out.str().find("\"act\": \"b5c3f8\""), std::string::npos) << out.str();

    Run("fix", {"--level", "2.2-AA", "--save", "replace", page});
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(Bytes(page), "<html lang=\"en\">" + original.substr(original.find('\n'))) << out.str();
    const std::string report = out.str();
    EXPECT_NE(report.find(": repaired MissingLanguage: "), std::string::npos) << report;
    EXPECT_EQ(report.find("DoctypeMissing"), std::string::npos) << report;
    EXPECT_EQ(report.find("still counts html-page-lang"), std::string::npos) << report;
    EXPECT_NE(report.find("at level WCAG 2.2 AA"), std::string::npos) << report;

    // Nothing left that a repair of the run mends: a second run writes nothing.
    Run("fix", {"--level", "2.2-AA", "--save", "replace", page});
    EXPECT_NE(out.str().find(page + ": nothing repaired; "), std::string::npos) << out.str();
    EXPECT_EQ(Bytes(page), "<html lang=\"en\">" + original.substr(original.find('\n')));
}

TEST_F(FixCommand, DryRunChangesNothingAndTheDiffShowsWhatWouldChange)
{
    const std::string page = Example("booking.html");
    const std::string original = Original("booking.html");
    EXPECT_EQ(Run("fix", {"--dry-run", "--diff", "--save", "replace", page}), kExitFindings) << err.str();
    EXPECT_EQ(Bytes(page), original);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    const std::string report = out.str();
    EXPECT_NE(report.find(page + ": would repair DoctypeMissing: "), std::string::npos) << report;
    EXPECT_NE(report.find(page + ": would be written to " + page + "; "), std::string::npos) << report;
    const std::string diff = "--- " + page + "\n+++ " + page + "\n@@ -1,3 +1,4 @@\n+" +
                             std::string(kBookingRepaired).replace(std::string(kBookingRepaired).find('\n'), 1, "\n ") +
                             " <head>\n <title>Book a harbour walk</title>\n";
    EXPECT_NE(report.find(diff), std::string::npos) << report;
}

TEST_F(FixCommand, BackupAndBesideKeepTheOriginal)
{
    const std::string page = Example("departures.html");
    const std::string original = Original("departures.html");
    EXPECT_EQ(Run("fix", {"--save", "backup", "--diff", page}), kExitFindings) << err.str();
    const std::string backup = (folder / "departures.htmlold").string();
    EXPECT_EQ(Bytes(backup), original);
    EXPECT_NE(Bytes(page), original);
    EXPECT_NE(out.str().find(page + ": the page as it was is kept in " + backup), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("--- " + page + "\n+++ " + page + "\n"), std::string::npos) << out.str();

    // The settings' mode and extension are used without --save; an extension
    // that does not begin with the page's follows its whole name.
    fs::copy_file(fs::path(ORVANE_EXAMPLES_DIR) / "departures.html", page, fs::copy_options::overwrite_existing);
    ASSERT_EQ(Run("settings", {"--set", "file-save=backup", "--set", "original-extension=.orig"}), kExitOk)
        << err.str();
    EXPECT_EQ(Run("fix", {page}), kExitFindings) << err.str();
    EXPECT_EQ(Bytes((folder / "departures.html.orig").string()), original);
    EXPECT_EQ(Bytes(backup), original);

    // Beside: the page stays, the repaired one is next to it.
    const std::string other = Example("timetable-2025.html");
    EXPECT_EQ(Run("fix", {"--save", "beside", other}), kExitFindings) << err.str();
    EXPECT_EQ(Bytes(other), Original("timetable-2025.html"));
    const std::string beside = (folder / "timetable-2025.htmlvalid").string();
    EXPECT_NE(Bytes(beside), Original("timetable-2025.html"));
    EXPECT_NE(out.str().find(other + ": written to " + beside), std::string::npos) << out.str();
}

// The files of a folder, by name, with their bytes.
std::map<std::string, std::string> Listing(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = test::ReadFileBytes(entry.path().string());
    return files;
}

// Pages of one base name ("index.html", "index.htm") each get a backup and a
// repaired copy of their own, and no save takes a name another file has.
TEST_F(FixCommand, PagesOfOneBaseNameNeverShareABackupOrARepairedCopy)
{
    const fs::path site = folder / "site";
    fs::create_directories(site);
    fs::copy_file(fs::path(ORVANE_EXAMPLES_DIR) / "booking.html", site / "index.html");
    fs::copy_file(fs::path(ORVANE_EXAMPLES_DIR) / "departures.html", site / "index.htm");
    const std::string html = Bytes((site / "index.html").string());
    const std::string htm = Bytes((site / "index.htm").string());

    // Beside, the mode the default "ask" means here.
    EXPECT_EQ(Run("fix", {site.string()}), kExitFindings) << err.str();
    std::map<std::string, std::string> files = Listing(site);
    ASSERT_EQ(files.size(), 4u) << out.str();
    EXPECT_EQ(files["index.html"], html);
    EXPECT_EQ(files["index.htm"], htm);
    EXPECT_NE(files["index.htmlvalid"], html);
    EXPECT_NE(files["index.htm.htmlvalid"], htm);
    EXPECT_NE(files["index.htmlvalid"], files["index.htm.htmlvalid"]);
    EXPECT_NE(out.str().find(": written to " + (site / "index.htm.htmlvalid").string()), std::string::npos);
    // Again: the copies hold what would be written, so nothing new is made.
    EXPECT_EQ(Run("fix", {site.string()}), kExitFindings) << err.str();
    EXPECT_EQ(Listing(site), files);
    // A file of the user's under the name stays; the copy takes the next number.
    std::ofstream(site / "index.htmlvalid", std::ios::binary | std::ios::trunc) << "the user's own";
    EXPECT_EQ(Run("fix", {(site / "index.html").string()}), kExitFindings) << err.str();
    EXPECT_EQ(Bytes((site / "index.htmlvalid").string()), "the user's own");
    EXPECT_EQ(Bytes((site / "index.htmlvalid.1").string()), files["index.htmlvalid"]);
    fs::remove(site / "index.htmlvalid.1");
    fs::remove(site / "index.htmlvalid");
    fs::remove(site / "index.htm.htmlvalid");

    // Backups: an older one of another page's stays as it was.
    std::ofstream(site / "index.htmlold", std::ios::binary) << "an older backup";
    EXPECT_EQ(Run("fix", {"--save", "backup", site.string()}), kExitFindings) << err.str();
    EXPECT_EQ(Bytes((site / "index.htmlold").string()), "an older backup");
    EXPECT_EQ(Bytes((site / "index.htmlold.1").string()), html);
    EXPECT_EQ(Bytes((site / "index.htm.htmlold").string()), htm);
    EXPECT_NE(Bytes((site / "index.html").string()), html);
    EXPECT_NE(Bytes((site / "index.htm").string()), htm);
}

// Extensions under which a save would take a page's name are refused, and
// the settings stay as they were.
TEST_F(FixCommand, SaveExtensionsThatArePageExtensionsAreRefused)
{
    for (const char* setting : {"validated-extension=.htm", "validated-extension=.html", "original-extension=.SHTML",
                                "original-extension=.xhtml", "original-extension=.htmlvalid", "validated-extension=.fixed.HTM"}) {
        EXPECT_EQ(Run("settings", {"--set", setting}), kExitError) << setting;
        EXPECT_NE(err.str().find("nothing was changed"), std::string::npos) << err.str();
    }
    EXPECT_EQ(Run("settings", {"--set", "original-extension=.bak", "--set", "validated-extension=.bak"}), kExitError);
    EXPECT_EQ(Run("settings", {}), kExitOk);
    EXPECT_NE(out.str().find("original-extension: .htmlold\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("validated-extension: .htmlvalid\n"), std::string::npos) << out.str();
    EXPECT_EQ(Run("settings", {"--set", "validated-extension=.fixed"}), kExitOk) << err.str();

    const std::string page = Example("booking.html");
    EXPECT_EQ(Run("fix", {page}), kExitFindings) << err.str();
    EXPECT_EQ(Bytes(page), Original("booking.html"));
    EXPECT_NE(Bytes(page + ".fixed"), Original("booking.html"));
}

// A page only its owner may read gets copies only its owner may read.
TEST_F(FixCommand, APrivatePageGetsPrivateCopies)
{
    const std::string page = Example("booking.html");
    fs::permissions(page, fs::perms(0600));
    EXPECT_EQ(Run("fix", {"--save", "beside", page}), kExitFindings) << err.str();
    EXPECT_EQ(fs::status(folder / "booking.htmlvalid").permissions(), fs::perms(0600));
    EXPECT_EQ(Run("fix", {"--save", "backup", page}), kExitFindings) << err.str();
    EXPECT_EQ(fs::status(folder / "booking.htmlold").permissions(), fs::perms(0600));
    EXPECT_EQ(fs::status(page).permissions(), fs::perms(0600));
}

// Two shares of one site run at once, as two runners would: every page is
// repaired once and every page's original is in its own backup.
TEST_F(FixCommand, TwoSharesRunAtOnceKeepEveryPagesOriginal)
{
    const fs::path site = folder / "site";
    fs::create_directories(site);
    std::map<std::string, std::string> originals;
    for (const char* base : {"a", "b", "c", "d", "index"}) {
        fs::copy_file(fs::path(ORVANE_EXAMPLES_DIR) / "booking.html", site / (std::string(base) + ".html"));
        std::ofstream(site / (std::string(base) + ".htm"), std::ios::binary)
            << "<html><body><p>" << base << "</p></body></html>\n";
        for (const char* extension : {".html", ".htm"})
            originals[base + std::string(extension)] = Bytes((site / (base + std::string(extension))).string());
    }
    std::vector<pid_t> children;
    for (const char* share : {"1/2", "2/2"}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::ostringstream quiet;
            ::_exit(RunMain({"fix", "--save", "backup", "--shard", share, site.string()}, quiet, quiet));
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), kExitFindings);
    }
    const std::map<std::string, std::string> files = Listing(site);
    EXPECT_EQ(files.size(), 2 * originals.size());
    for (const auto& [name, bytes] : originals) {
        const std::string backup = name.size() > 5 && name.substr(name.size() - 5) == ".html"
                                       ? name.substr(0, name.size() - 5) + ".htmlold"
                                       : name + ".htmlold";
        ASSERT_EQ(files.count(backup), 1u) << backup;
        EXPECT_EQ(files.at(backup), bytes) << backup;
        EXPECT_NE(files.at(name), bytes) << name;
    }
}

TEST_F(FixCommand, AWriteThatFailsLeavesTheOriginalWholeAndExitsWithAnError)
{
    const std::string page = Example("booking.html");
    const std::string original = Original("booking.html");
    if (::geteuid() != 0) {
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    } else {
        // Root writes into any folder: folders where the temporary files go stop the writes instead.
        fs::create_directories(platform::TemporaryPathFor(page));
        fs::create_directories(platform::TemporaryPathFor((folder / "booking.htmlvalid").string()));
    }
    auto listing = [&] {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.insert(entry.path().filename().string());
        return names;
    };
    const std::set<std::string> before = listing();
    for (const char* mode : {"replace", "backup", "beside"}) {
        EXPECT_EQ(Run("fix", {"--save", mode, page}), kExitError) << mode;
        EXPECT_NE(err.str().find("cannot write the repaired " + page), std::string::npos) << err.str();
        EXPECT_NE(err.str().find("the page is as it was"), std::string::npos) << err.str();
        EXPECT_EQ(Bytes(page), original) << mode;
        EXPECT_EQ(listing(), before) << mode;
    }
    EXPECT_EQ(Run("fix", {(folder / "missing.html").string()}), kExitError);
    EXPECT_NE(err.str().find("cannot read"), std::string::npos) << err.str();
}

TEST_F(FixCommand, APageWithNothingCountingExitsZero)
{
    const fs::path page = folder / "fine.html";
    const std::string good =
        "<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<head><title>Fine</title></head>\r\n<body>\r\n<p>Short.</p>\r\n"
        "</body>\r\n</html>\r\n";
    std::ofstream(page, std::ios::binary) << good;
    EXPECT_EQ(Run("fix", {"--level", "A", "--diff", page.string()}), kExitOk) << out.str() << err.str();
    EXPECT_EQ(out.str(), page.string() + ": nothing repaired; 0 problems still count at level A\n");
    EXPECT_EQ(Bytes(page.string()), good);
}

// The fixer makes only the part of the mouse-handler repair no person need
// judge: a click gets Enter and Space; a page that cancels mouse presses, a
// drag and a row lit under the mouse are left as they are, and still count.
TEST_F(FixCommand, MouseHandlersGetOnlyTheKeysThatCannotTrapTheKeyboard)
{
    const fs::path page = folder / "fares.html";
    const std::string original =
        "<!DOCTYPE html>\n<html lang=\"en\"><head><title>Fares</title></head>\n"
        "<body onmousedown=\"return false\">\n"
        "<p onclick=\"more()\">More fares</p>\n"
        "<table><tr onmouseover=\"light(this)\"><td>Adult</td></tr></table>\n"
        "<span onmouseup=\"drop()\" tabindex=\"-1\" onclick=\"pick()\">Drag</span>\n"
        "</body></html>\n";
    std::ofstream(page, std::ios::binary) << original;
    EXPECT_EQ(Run("fix", {"--save", "replace", "--only", "DeviceDependent", page.string()}), kExitFindings)
        << err.str();
    std::string expected = original;
    expected.replace(expected.find("<p onclick=\"more()\">"), std::string_view("<p onclick=\"more()\">").size(),
                     "<p onclick=\"more()\" "
                     "onkeydown=\"if(event.key==='Enter'||event.key===' '){event.preventDefault();more();}\" "
                     "role=\"button\" tabindex=\"0\">");
    EXPECT_EQ(Bytes(page.string()), expected);
    EXPECT_EQ(out.str().find("repaired DeviceDependent"), std::string::npos)
        << "what is left for a person is not repaired\n" << out.str();
    EXPECT_NE(out.str().find(": still counts DeviceDependent"), std::string::npos) << out.str();
}

// The language written is the page's: what it declares elsewhere, else what
// its text is; a page whose language nobody can tell is left open, with the
// reason. The declaration keeps each page as browsers show it.
TEST_F(FixCommand, TheLanguageAndDocumentTypeWrittenAreThePagesOwn)
{
    auto fixed = [&](const std::string& name, const std::string& page) {
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary) << page;
        EXPECT_NE(Run("fix", {"--save", "replace", "--only", "MissingLanguage,DoctypeMissing", path.string()}),
                  kExitError)
            << err.str();
        return Bytes(path.string());
    };
    const std::string english =
        "<p>Walks leave from the ferry pier at ten in the morning and at two in the afternoon. Tell us who is "
        "coming and we will keep places for you until the day before. Children under twelve walk free, and "
        "dogs are welcome on a lead. If the weather turns, we will call you in good time and offer another day.</p>";
    const std::string german =
        "<p>Die Rundgänge beginnen am Fähranleger um zehn Uhr morgens und um zwei Uhr nachmittags. Sagen Sie uns, "
        "wer mitkommt, dann halten wir Ihnen die Plätze bis zum Vortag frei. Kinder unter zwölf Jahren gehen "
        "umsonst mit, Hunde sind an der Leine willkommen. Schlägt das Wetter um, rufen wir Sie rechtzeitig an.</p>";
    const std::string quirks = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n";

    EXPECT_EQ(fixed("walks.html", "<html>\n<head><title>Walks</title></head>\n<body>" + english + "</body></html>\n"),
              quirks + "<html lang=\"en\">\n<head><title>Walks</title></head>\n<body>" + english + "</body></html>\n");
    EXPECT_EQ(fixed("rundgang.html", "<html>\n<body>" + german + "</body></html>\n"),
              quirks + "<html lang=\"de\">\n<body>" + german + "</body></html>\n");
    // Latin-1 bytes and character references are read as the reader sees them.
    std::string latin1 = german;
    for (std::size_t at; (at = latin1.find("\xC3\xBC")) != std::string::npos;)
        latin1.replace(at, 2, "&uuml;");
    for (std::size_t at; (at = latin1.find("\xC3\xA4")) != std::string::npos;)
        latin1.replace(at, 2, "\xE4");
    EXPECT_NE(fixed("latin1.html", "<html>\n<body>" + latin1 + "</body></html>\n").find("<html lang=\"de\">"),
              std::string::npos);
    // What the page declares wins over what its text is.
    EXPECT_EQ(fixed("xml.html", "<html xml:lang=\"fr-CA\">\n<body>" + english + "</body></html>\n"),
              quirks + "<html xml:lang=\"fr-CA\" lang=\"fr\">\n<body>" + english + "</body></html>\n");
    EXPECT_NE(fixed("meta.html", "<html><head><meta http-equiv=\"Content-Language\" content=\"nl, en\"></head>\n<body>" +
                                     english + "</body></html>\n")
                  .find("<html lang=\"nl\">"),
              std::string::npos);
    // Too little text: no language is guessed, and the report says why.
    EXPECT_EQ(fixed("menu.html", "<html>\n<body><p>Tours Fares Contact</p></body></html>\n"),
              quirks + "<html>\n<body><p>Tours Fares Contact</p></body></html>\n");
    EXPECT_NE(out.str().find(":1:1: MissingLanguage not repaired: the page has too little text to tell its language"),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find(":2:1: still counts MissingLanguage"), std::string::npos) << out.str();
    // Frameset only for a frameset, kept in quirks mode as well.
    EXPECT_EQ(fixed("frames.html", "<html lang=\"en\">\n<frameset cols=\"50%,50%\"><frame src=\"a.html\" title=\"A\">"
                                   "<frame src=\"b.html\" title=\"B\"></frameset></html>\n")
                  .rfind("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Frameset//EN\">\n<html lang=\"en\">", 0),
              0u);
}

// --- The corpus of real pages.

// The problems of the page's check report, by check name.
std::map<std::string, int> CountsByCheck(const json& report)
{
    std::map<std::string, int> counts;
    for (const json& problem : report["files"][0]["problems"])
        ++counts[problem["check"].get<std::string>()];
    return counts;
}

// The lines of a unified diff's hunks that the old text loses, by line number.
std::vector<std::size_t> RemovedLines(const std::string& diff)
{
    std::vector<std::size_t> removed;
    std::istringstream in(diff);
    std::size_t line = 0;
    const std::regex header(R"(^@@ -(\d+)(,(\d+))? \+\d+(,\d+)? @@)");
    for (std::string text; std::getline(in, text);) {
        std::smatch match;
        if (std::regex_search(text, match, header)) {
            line = std::stoul(match[1]);
            if (match[3].matched && std::stoul(match[3]) == 0)
                ++line;
        } else if (!text.empty() && text[0] == ' ') {
            ++line;
        } else if (!text.empty() && text[0] == '-' && text.rfind("--- ", 0) != 0) {
            removed.push_back(line++);
        }
    }
    return removed;
}

// Every corpus page repaired differs from the original only in the lines of
// the elements repaired, and checking it afterwards finds those problems gone.
TEST_F(FixCommand, CorpusPagesChangeOnlyInTheRepairedElements)
{
    const std::vector<std::string> pages = test::CorpusPages();
    if (pages.empty())
        GTEST_SKIP() << "no corpus beside the project";
    int repairedPages = 0;
    for (const std::string& source : pages) {
        const fs::path page = folder / fs::path(source).filename();
        fs::copy_file(source, page, fs::copy_options::overwrite_existing);
        const std::string original = Bytes(page.string());
        ASSERT_NE(Run("check", {"--format", "json", page.string()}), kExitError) << err.str();
        const std::map<std::string, int> before = CountsByCheck(json::parse(out.str()));

        const int fixed = Run("fix", {"--save", "replace", "--diff", page.string()});
        ASSERT_NE(fixed, kExitError) << page << err.str();
        const std::string report = out.str();
        const std::string repaired = Bytes(page.string());

        // Where the repaired elements stand in the original, in lines.
        CHtmlDocument document(CFamilyElementFactory::Instance());
        std::istringstream in(original);
        document.Start(1, false);
        ASSERT_TRUE(document.Load(in));
        std::vector<std::pair<std::size_t, std::size_t>> repairedLines;
        std::map<std::string, int> repairedByCheck;
        std::set<std::string> repairedInPart;
        const std::regex line(R"(^.*?:(\d+):(\d+): repaired (\w+):|^.*?: repaired (\w+):)");
        const std::regex inPart(R"(: repaired in part (\w+):)");
        std::istringstream lines(report);
        for (std::string text; std::getline(lines, text);) {
            std::smatch match;
            if (std::regex_search(text, match, inPart))
                repairedInPart.insert(match[1].str());
            if (!std::regex_search(text, match, line))
                continue;
            ++repairedByCheck[match[3].matched ? match[3].str() : match[4].str()];
            if (!match[1].matched)
                continue;
            const std::uint64_t at = std::stoull(match[1]), column = std::stoull(match[2]);
            for (const CElement* element : document.Elements()) {
                const SourceLocation where = document.LocationOf(*element);
                if (where.line != at || where.column != column)
                    continue;
                const std::string_view text = element->Text();
                repairedLines.emplace_back(at, at + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
            }
        }
        // The page-wide check of mouse handlers repairs every element that has one.
        const std::regex mouse(R"(\son(mouse|click|dblclick))");
        if (repairedByCheck.count("DeviceDependent") || repairedInPart.count("DeviceDependent")) {
            for (const CElement* element : document.Elements()) {
                std::string text(element->Text());
                std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
                const std::uint64_t at = document.LocationOf(*element).line;
                if (at != 0 && std::regex_search(text, mouse))
                    repairedLines.emplace_back(at, at + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
            }
        }
        if (repaired != original)
            ++repairedPages;
        for (std::size_t removed : RemovedLines(report)) {
            const bool inRepaired = std::any_of(repairedLines.begin(), repairedLines.end(), [&](const auto& range) {
                return removed >= range.first && removed <= range.second;
            });
            EXPECT_TRUE(inRepaired) << page << ": line " << removed << " changed outside the repaired elements";
        }

        EXPECT_EQ(Run("check", {"--format", "json", page.string()}), fixed) << page;
        std::map<std::string, int> after = CountsByCheck(json::parse(out.str()));
        for (const auto& [check, count] : repairedByCheck)
            EXPECT_EQ(after[check], before.at(check) - count) << page << ": " << check;
    }
    EXPECT_GT(repairedPages, 0);
}

// The pairing of a page's tags: per tag (the declaration a repair puts at
// the top aside), its kind and how many tags further its partner stands.
std::vector<std::pair<int, long>> Pairing(const std::string& page)
{
    CHtmlDocument document(CFamilyElementFactory::Instance());
    std::istringstream in(page);
    document.Start(1, false);
    EXPECT_TRUE(document.Load(in));
    std::map<const CElement*, long> ordinal;
    std::vector<const CElement*> tags;
    for (const CElement* e : document.Elements()) {
        if (e->IsDeleted() || e->Kind() == kind::kText || e->Kind() == tag::kDoctype)
            continue;
        ordinal[e] = static_cast<long>(tags.size());
        tags.push_back(e);
    }
    std::vector<std::pair<int, long>> pairing;
    for (const CElement* e : tags) {
        const auto partner = e->Partner() ? ordinal.find(e->Partner()) : ordinal.end();
        pairing.emplace_back(e->Kind(), partner == ordinal.end() ? 0 : partner->second - ordinal[e]);
    }
    return pairing;
}

// The errors tidy finds in a page file.
int TidyErrors(const fs::path& page)
{
    const std::string command = "tidy -e -q '" + page.string() + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    int errors = 0;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe)) {
        if (std::strstr(line, " - Error: "))
            ++errors;
    }
    ::pclose(pipe);
    return errors;
}

// What the fixer writes into the pages of the corpus leaves them as they
// parse, no less tidy, and in the language their text is in.
TEST_F(FixCommand, CorpusPagesKeepTheirPairingTheirTidinessAndTheirLanguage)
{
    const std::vector<std::string> pages = test::CorpusPages();
    if (pages.empty())
        GTEST_SKIP() << "no corpus beside the project";
    const bool tidy = std::system("tidy -v > /dev/null 2>&1") == 0;
    if (!tidy)
        std::cout << "tidy is not installed (scripts/install-deps installs it): the fixed pages' tidiness is not "
                     "compared\n";
    int languagesWritten = 0;
    for (const std::string& source : pages) {
        const fs::path page = folder / fs::path(source).filename();
        fs::copy_file(source, page, fs::copy_options::overwrite_existing);
        const std::string original = Bytes(page.string());
        ASSERT_NE(Run("fix", {"--save", "replace", page.string()}), kExitError) << page << err.str();
        const std::string repaired = Bytes(page.string());
        EXPECT_EQ(Pairing(repaired), Pairing(original)) << page;
        if (tidy) {
            const fs::path before = folder / "original.html";
            std::ofstream(before, std::ios::binary) << original;
            EXPECT_LE(TidyErrors(page), TidyErrors(before)) << page;
        }
        // A lang the page gave itself is the page's word: one the check cannot
        // take (with a region, say) is written again in the same language.
        std::smatch had;
        const bool hadLang = std::regex_search(original, had, std::regex(R"(<html[^>]*\slang\s*=\s*"?([A-Za-z]+))",
                                                                          std::regex::icase));
        if (out.str().find("repaired MissingLanguage") == std::string::npos)
            continue;
        if (hadLang) {
            std::smatch now;
            ASSERT_TRUE(std::regex_search(repaired, now, std::regex(R"(<html[^>]*\slang="([A-Za-z]+))", std::regex::icase)));
            EXPECT_EQ(ToLower(now[1].str()), ToLower(had[1].str())) << page << ": the page's own language was replaced";
            continue;
        }
        // The lang the fixer wrote is the one the page's text is identified as, when it is.
        CHtmlDocument document(CFamilyElementFactory::Instance());
        std::istringstream in(original);
        document.Start(1, false);
        ASSERT_TRUE(document.Load(in));
        const platform::LanguageGuess text = platform::GuessLanguage(ReadableText(document));
        const std::smatch written = [&] {
            std::smatch match;
            std::regex_search(repaired, match, std::regex(R"(<html[^>]*\slang="([^"]*)\")", std::regex::icase));
            return match;
        }();
        ASSERT_FALSE(written.empty()) << page;
        ++languagesWritten;
        if (text.outcome == platform::LanguageGuessOutcome::Identified) {
            EXPECT_EQ(written[1].str(), text.code) << page << ": lang differs from the language of the text";
        }
        EXPECT_EQ(written[1].str(), FindPageLanguage(document).code) << page;
    }
    EXPECT_GT(languagesWritten, 0);
}

} // namespace
} // namespace orvane::cli
