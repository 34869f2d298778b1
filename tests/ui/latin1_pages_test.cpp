#include "ui_fixture.h"

#include "library/checks/check_catalogue.h"
#include "library/checks/check_pass.h"
#include "library/ui/pages/text_alternatives/page_description_base.h"
#include "library/ui/pages/forms/page_label_missing.h"
#include "library/ui/pages/links/page_ascii_art_skip.h"
#include "library/ui/pages/scripts/page_script_noscript.h"
#include "library/ui/pages/structure/page_meta_refresh.h"
#include "library/ui/pages/text_alternatives/page_img_alt_text.h"

#include <fstream>
#include <sstream>
#include <string>

namespace orvane::test {
namespace {

using platform::kIdFinish;

constexpr char kTyped[] = "Karte der Stra\xC3\x9F" "en \xC3\xA4\xC3\xB6\xC3\xBC \xE2\x82\xAC \xC5\x81 & <Hafen>";

std::string Page(std::string_view charset, std::string_view alt)
{
    return "<html lang=\"de\"><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=" +
           std::string(charset) + "\"><title>Hafen</title></head><body>\n<p><img src=\"karte.gif\"" +
           std::string(alt) + " width=\"300\" height=\"200\"></p>\n</body></html>\n";
}

// The same German text typed on pages of three encodings: each page gets it
// in its own encoding, with references for what the encoding cannot hold, and
// nothing else of the page changes; undo gives the bytes back.
TEST_F(RepairRunTest, TypedTextIsWrittenInThePagesOwnEncoding)
{
    struct Case {
        const char* charset;
        const char* written;
    };
    for (const Case& c : {Case{"iso-8859-1", "Karte der Stra\xDF" "en \xE4\xF6\xFC &#8364; &#321; &amp; <Hafen>"},
                          Case{"windows-1252", "Karte der Stra\xDF" "en \xE4\xF6\xFC \x80 &#321; &amp; <Hafen>"},
                          Case{"utf-8", "Karte der Stra\xC3\x9F" "en \xC3\xA4\xC3\xB6\xC3\xBC \xE2\x82\xAC \xC5\x81 &amp; <Hafen>"}}) {
        SCOPED_TRACE(c.charset);
        const std::string original = Page(c.charset, "");
        Load(original);
        CValidatorSheet run;
        StartSheet(run, "/site/forms/page.html");
        ASSERT_EQ(AddPages(run, [](std::string_view check) { return check == "ImgAltText"; }), 1);
        windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
            w.PageWindow(0).Type(CPageImgAltText::kText, kTyped);
            w.Click(kIdFinish);
        });
        EXPECT_EQ(run.DoModal(nullptr), kIdFinish);
        EXPECT_EQ(document.Text(), Page(c.charset, std::string(" alt=\"") + c.written + "\""));
        // Read in the encoding it declares, the page has nothing a reader would see as a replacement.
        EXPECT_EQ(PageBytesToUtf8(document.Text(), document.Encoding()).find("\xEF\xBF\xBD"), std::string::npos);
        run.Page(0).Undo();
        EXPECT_EQ(document.Text(), original);
    }
}

// Page text reaches the control decoded, references resolved; a proposal
// taken unchanged writes the bytes that were there.
TEST_F(RepairRunTest, PageTextIsShownDecodedAndAProposalTakenAsItIsKeepsItsBytes)
{
    const std::string alt = " alt=\"Gr\xF6\xDF" "e &amp; Gr&ouml;&szlig;e der Stra\xDF" "en, karte.gif &#8364;\"";
    const std::string original = Page("iso-8859-1", alt);
    Load(original);
    StartSheet();
    ASSERT_EQ(AddPages("ImgAltTextSuspicious"), 1);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        const std::string shown = w.PageWindow(0).Text(CPageImgAltText::kText);
        EXPECT_EQ(shown.substr(0, 30), "Gr\xC3\xB6\xC3\x9F" "e & Gr\xC3\xB6\xC3\x9F" "e der Stra\xC3\x9F" "en");
        EXPECT_EQ(shown.substr(shown.size() - 3), "\xE2\x82\xAC");
        w.PageWindow(0).Type(CPageImgAltText::kText, shown);
        w.Click(kIdFinish);
    });
    EXPECT_EQ(sheet.DoModal(nullptr), kIdFinish);
    EXPECT_EQ(document.Text(), original);
}

std::string Latin1Page(std::string_view head, std::string_view body)
{
    return "<html lang=\"de\"><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">"
           "<title>Hafen</title>" + std::string(head) + "</head><body>\n" + std::string(body) + "\n</body></html>\n";
}

// A label's proposals come from the page decoded; the one taken as it is
// goes back as the bytes the page had.
TEST_F(RepairRunTest, ALabelProposalOfALatin1PageIsShownDecodedAndWrittenAsItWas)
{
    const std::string original =
        Latin1Page("", "<form action=\"/a\"><p>Stra\xDF" "e &amp; Nr. <input type=\"text\" name=\"adresse\"></p></form>");
    ASSERT_EQ(OpenSheet(original, "InputMissingLabel"), 1);
    FinishOnFirstPage([&](CMemoryWindow&, CMemoryWindow& page) {
        EXPECT_EQ(page.Text(CPageLabelMissing::kNearText), "Stra\xC3\x9F" "e & Nr.");
        EXPECT_EQ(page.ItemTexts(CPageLabelMissing::kLabelText).front(), "Stra\xC3\x9F" "e & Nr.");
        EXPECT_NE(page.Text(CPageLabelMissing::kControl).find("adresse"), std::string::npos);
        page.Click(CPageLabelMissing::kInsert);
    });
    EXPECT_NE(document.Text().find(">Stra\xDF" "e &amp; Nr.</label>"), std::string::npos) << document.Text();
    UndoOnSheet();
    EXPECT_EQ(document.Text(), original);
}

// The target a refresh names is shown decoded; taken as it is, the link
// written for it has the page's bytes.
TEST_F(RepairRunTest, ARefreshTargetOfALatin1PageIsShownDecodedAndLinkedWithItsBytes)
{
    const std::string refresh = "<meta http-equiv=\"refresh\" content=\"60; URL=abfahrten.html?stra\xDF" "e=1&amp;b=2\">";
    const std::string original = Latin1Page(refresh, "<p>Abfahrten</p>");
    ASSERT_EQ(OpenSheet(original, "MapRefresh"), 1);
    FinishOnFirstPage([&](CMemoryWindow&, CMemoryWindow& page) {
        EXPECT_EQ(page.Text(CPageMetaRefresh::kAddress), "abfahrten.html?stra\xC3\x9F" "e=1&b=2");
        EXPECT_NE(page.Text(CPageMetaRefresh::kMarkup).find("stra\xC3\x9F" "e=1&amp;b=2"), std::string::npos);
        page.Type(CPageMetaRefresh::kLinkText, "Zu den Abfahrten \xE2\x82\xAC");
    });
    EXPECT_NE(document.Text().find("<a href=\"abfahrten.html?stra\xDF" "e=1&amp;b=2\">Zu den Abfahrten &#8364;</a>"),
              std::string::npos)
        << document.Text();
    UndoOnSheet();
    EXPECT_EQ(document.Text(), original);
}

// What the user types for a script goes in in Latin-1, with references for
// what Latin-1 cannot hold.
TEST_F(RepairRunTest, TextTypedForAScriptIsWrittenInLatin1)
{
    const std::string script = Latin1Page("", "<script type=\"text/javascript\" src=\"men\xFC.js\"></script>");
    ASSERT_EQ(OpenSheet(script, "ScriptNoscript"), 1);
    FinishOnFirstPage([&](CMemoryWindow&, CMemoryWindow& page) {
        EXPECT_NE(page.Text(CPageScriptNoscript::kScript).find("men\xC3\xBC.js"), std::string::npos);
        page.Type(CPageScriptNoscript::kText, "Das Men\xC3\xBC: Stra\xC3\x9F" "e \xE2\x82\xAC \xC5\x81 & <mehr>");
    });
    EXPECT_NE(document.Text().find("<noscript><p>Das Men\xFC: Stra\xDF" "e &#8364; &#321; &amp; &lt;mehr&gt;</p></noscript>"),
              std::string::npos)
        << document.Text();
    UndoOnSheet();
    EXPECT_EQ(document.Text(), script);
}

// The words typed for a skip link over ASCII art go in in Latin-1 too.
TEST_F(RepairRunTest, TextTypedForASkipLinkIsWrittenInLatin1)
{
    const std::string art = Latin1Page("", "<pre>\n  N        +-------+\n  |        | Nord  |\n  *        +---+---+\n"
                                           "               |\n  +------+-----+------+\n  | Pier | Teestube   |\n"
                                           "  +------+------------+\n</pre>");
    ASSERT_EQ(OpenSheet(art, "AsciiArtSkipover"), 1);
    FinishOnFirstPage([&](CMemoryWindow&, CMemoryWindow& page) {
        page.Type(CPageAsciiArtSkip::kLinkText, "Karte \xC3\xBC" "berspringen \xE2\x82\xAC");
    });
    EXPECT_NE(document.Text().find("\">Karte \xFC" "berspringen &#8364;</a>"), std::string::npos) << document.Text();
    EXPECT_TRUE(IsValidUtf8(PageBytesToUtf8(document.Text(), document.Encoding())));
    UndoOnSheet();
    EXPECT_EQ(document.Text(), art);
}

// The interface in English with the German table beside it, as the bundle
// gives them.
class CEnglishWithGermanStrings final : public platform::IStringTable {
public:
    CEnglishWithGermanStrings()
    {
        english.Parse(ReadFileBytes(ORVANE_STRINGS_FILE));
        std::string path = ORVANE_STRINGS_FILE;
        german.Parse(ReadFileBytes(path.replace(path.size() - 6, 6, "de.txt")));
    }
    std::string Get(int id) const override { return english.Get(id); }
    std::string Language() const override { return "en"; }
    std::string GetIn(int id, std::string_view language) const override
    {
        return language == "en" ? english.Get(id) : language == "de" ? german.Get(id) : std::string();
    }
    platform::CStringTable english;
    platform::CStringTable german;
};

using WrittenFilesTest = RepairRunAtLevelTest<3>;

// Every kind of file the wizard writes, for a German page in Latin-1: in
// UTF-8 and declared so, in the page's language with a German title (the
// tables have one), and passing the page's own checks at the target but for
// general warnings.
TEST_F(WrittenFilesTest, EachKindOfDescriptionFileIsInThePagesLanguageAndPassesTheChecks)
{
    struct Case {
        const char* check;
        std::string body;  // what stands in the page's body
    };
    const std::string head = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">\n"
                             "<html lang=\"de\"><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                             "charset=iso-8859-1\"><title>Hafen</title></head>";
    const Case cases[] = {
        {"ImgLongdesc", "<body>\n<p><img src=\"karten/gr\xF6\xDF" "e.png\" alt=\"Fahrg\xE4ste je Monat\" width=\"400\" "
                        "height=\"240\"></p>\n</body>"},
        {"FrameLongdesc", "\n<frameset cols=\"20%,80%\">\n<frame name=\"men\xFC\" src=\"menu.html\" title=\"Men\xFC\">\n"
                          "<frame src=\"abfahrten.html\" title=\"Abfahrten\">\n<frame src=\"bilder/karte.gif\" title=\"Karte\">\n</frameset>"},
        {"AppletAltText", "<body>\n<applet code=\"Gezeiten.class\" width=\"400\" height=\"200\"></applet>\n</body>"},
        {"ObjectAltRep", "<body>\n<object data=\"filme/hafen.mp4\" type=\"video/mp4\" title=\"Der Hafen\"></object>\n</body>"},
        {"AnchorTranscript", "<body>\n<p><a href=\"t\xF6ne/ansage.wav\">Die Ansage des Hafenmeisters</a></p>\n</body>"},
        {"ScriptNoscript", "<body>\n<script type=\"text/javascript\" src=\"skripte/men\xFC.js\"></script>\n</body>"},
        {"AsciiArtDescription", "<body>\n<pre>\n  N        +-------+\n  |        | Nord  |\n  *        +---+---+\n"
                                "               |\n  +------+-----+------+\n  | Pier | Teestube   |\n"
                                "  +------+------------+\n</pre>\n</body>"},
    };
    CEnglishWithGermanStrings bilingual;
    platform::ScopedStrings useBilingual{bilingual};
    LoadEmptyRegistryInFolder();
    const std::string typed = "Die Karte zeigt die Stra\xC3\x9F" "e zum Hafen \xE2\x82\xAC \xC5\x81.";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.check);
        // Some checks run only with a registry, as the overview's.
        Load(head + c.body + "</html>\n", &registry);
        CValidatorSheet run;
        StartSheet(run, InFolder("hafen.html"));
        ASSERT_GE(AddPages(run, [&](std::string_view check) { return check == c.check; }), 1);
        const std::string file = std::string(c.check) + ".html";
        windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
            CMemoryWindow& page = w.PageWindow(0);
            page.Click(CPageDescriptionBase::kWriteNew);
            page.Type(CPageDescriptionBase::kText, typed);
            page.Type(CPageDescriptionBase::kFileName, file);
            w.Click(kIdFinish);
        });
        run.DoModal(nullptr);
        const std::string written = ReadFileBytes(InFolder(file));
        ASSERT_FALSE(written.empty());
        EXPECT_TRUE(IsValidUtf8(written));
        EXPECT_NE(written.find("<html lang=\"de\">"), std::string::npos) << written;
        EXPECT_NE(written.find("charset=UTF-8"), std::string::npos);
        EXPECT_NE(written.find(typed), std::string::npos);
        // The German title names what it describes as the user reads it.
        EXPECT_EQ(written.find("<title lang="), std::string::npos) << written;
        if (std::string_view(c.check) == "ImgLongdesc")
            EXPECT_NE(written.find("Fahrg\xC3\xA4ste je Monat</title>"), std::string::npos) << written;
        if (std::string_view(c.check) == "AnchorTranscript")
            EXPECT_NE(written.find("Die Ansage des Hafenmeisters</title>"), std::string::npos) << written;

        CHtmlDocument check{CFamilyElementFactory::Instance()};
        LoadAs(check, InFolder(file), written);
        for (const CFoundProblem& problem : RunCheckPass(check, settings, nullptr)) {
            if (!problem.element->IsGrouped(problem.bit))
                continue;  // a general warning
            const std::string name = problem.element->GetCheckName(problem.bit);
            if (CheckApplies(*problem.element, settings, problem.bit))
                ADD_FAILURE() << name << " in " << written;
        }
    }
}

// Without a text in the page's language the title is in the interface's, and says so.
TEST_F(WrittenFilesTest, ATitleWithoutATextInThePagesLanguageIsInTheInterfacesAndSaysSo)
{
    Load("<html lang=\"fr\"><head><title>Port</title></head><body>\n<p><img src=\"carte.png\" alt=\"Passagers\" "
         "width=\"400\" height=\"240\"></p>\n</body></html>\n");
    CValidatorSheet run;
    StartSheet(run, InFolder("port.html"));
    ASSERT_EQ(AddPages(run, [](std::string_view check) { return check == "ImgLongdesc"; }), 1);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        w.PageWindow(0).Click(CPageDescriptionBase::kWriteNew);
        w.PageWindow(0).Type(CPageDescriptionBase::kText, "La carte des passagers.");
        w.PageWindow(0).Type(CPageDescriptionBase::kFileName, "carte");
        w.Click(kIdFinish);
    });
    run.DoModal(nullptr);
    const std::string written = ReadFileBytes(InFolder("carte.html"));
    EXPECT_NE(written.find("<html lang=\"fr\">"), std::string::npos) << written;
    EXPECT_NE(written.find("<title lang=\"en\">" + platform::FormatMessage(Strings(775), {"Passagers"})),
              std::string::npos)
        << written;
}

} // namespace
} // namespace orvane
