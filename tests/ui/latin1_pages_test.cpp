#include "ui_fixture.h"

#include "library/checks/check_catalogue.h"
#include "library/checks/check_pass.h"
#include "library/ui/pages/text_alternatives/page_description_base.h"
#include "library/ui/pages/forms/page_label_missing.h"
#include "library/ui/pages/frames/page_frame_long_desc.h"
#include "library/ui/pages/forms/page_textarea_default_text.h"
#include "library/ui/pages/presentation/page_deprecated_html.h"
#include "library/ui/pages/presentation/page_list_format.h"
#include "library/ui/pages/presentation/page_units_table.h"
#include "library/ui/pages/scripts/page_device_dependent.h"
#include "library/ui/pages/links/page_ascii_art_skip.h"
#include "library/ui/pages/scripts/page_script_noscript.h"
#include "library/ui/pages/structure/page_meta_refresh.h"
#include "library/ui/pages/text_alternatives/page_img_alt_text.h"

#include <fstream>
#include <functional>
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

// A text typed on a UTF-8 page is remembered for its image as the user
// typed it; a Latin-1 page showing the same image proposes it again and,
// taken, writes it in Latin-1.
TEST_F(RepairRunTest, ATextTypedOnAUtf8PageIsProposedOnALatin1PageShowingTheSameImage)
{
    LoadEmptyRegistryInFolder();
    const std::string utf8Page = "<html lang=\"de\"><head><meta charset=\"utf-8\"><title>Hafen</title></head><body>\n"
                                 "<p><img src=\"bilder/gr\xC3\xB6\xC3\x9F" "e.gif\" width=\"300\" height=\"200\"></p>\n</body></html>\n";
    ASSERT_EQ(OpenSheet(utf8Page, "ImgAltText"), 1);
    sheet.SetObjectRegistry(&registry);
    FinishOnFirstPage([&](CMemoryWindow&, CMemoryWindow& page) {
        page.Type(CPageImgAltText::kText, "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC & mehr");
    });
    ASSERT_NE(document.Text().find("alt=\"Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC &amp; mehr\""), std::string::npos);
    // As the session does when it checks the saved page again.
    registry.UpdateFromDocument(document);
    ASSERT_EQ(registry.Save(), 1);
    const std::string file = ReadFileBytes(RegistryFile());
    EXPECT_TRUE(file.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")) << file;
    EXPECT_NE(file.find("<alt value=\"Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC &amp; mehr\" />"), std::string::npos) << file;

    CSrcObjectDatabase next(RegistryFile());
    ASSERT_EQ(next.Load(), 1);
    const std::string latin1Page =
        Latin1Page("", "<p><img src=\"gr\xF6\xDF" "e.gif\" width=\"300\" height=\"200\"></p>");
    Load(latin1Page, &next);
    CValidatorSheet run;
    StartOverviewSheet(run, "/site/forms/page.html");
    run.SetObjectRegistry(&next);
    ASSERT_EQ(AddPages(run, [](std::string_view check) { return check == "ImgAltText"; }), 1);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        EXPECT_EQ(page.Text(CPageImgAltText::kSource), "gr\xC3\xB6\xC3\x9F" "e.gif");
        ASSERT_EQ(page.ItemTexts(CPageImgAltText::kText),
                  std::vector<std::string>{"Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC & mehr"});
        page.Choose(CPageImgAltText::kText, 0);
        w.Click(kIdFinish);
    });
    EXPECT_EQ(run.DoModal(nullptr), kIdFinish);
    EXPECT_NE(document.Text().find("<img src=\"gr\xF6\xDF" "e.gif\" alt=\"Gr\xF6\xDF" "e &#8364; &amp; mehr\""),
              std::string::npos)
        << document.Text();
    run.Page(0).Undo();
    EXPECT_EQ(document.Text(), latin1Page);
}

using Latin1PagesTest = RepairRunAtLevelTest<3>;

// The pages that list or show a page's markup and write around what it
// holds: on a Latin-1 page each shows the page's text decoded, writes what it
// proposes in Latin-1 with the rest of the element's bytes as they were, and
// undo gives back the page.
TEST_F(Latin1PagesTest, ListsAndMarkupOfALatin1PageAreShownDecodedAndWrittenInLatin1)
{
    struct Case {
        const char* check;
        std::string body;
        std::function<void(CMemoryWindow& page)> shown;
        std::vector<std::string> written;  // each found in the repaired page
    };
    const Case cases[] = {
        {"DeviceDependent",
         "<div class=\"men\xFC\" onclick=\"go('f\xE4hre.html')\">F\xE4hre &amp; Hafen</div>",
         [](CMemoryWindow& page) {
             using Page = CPageDeviceDependent;
             EXPECT_EQ(page.ItemTexts(Page::kEvents, 0).at(0), "<div class=\"men\xC3\xBC\"> F\xC3\xA4hre & Hafen");
             EXPECT_EQ(page.ItemTexts(Page::kEvents, 1).at(0), "onclick=\"go('f\xC3\xA4hre.html')\"");
             EXPECT_EQ(page.Text(Page::kBefore), "<div class=\"men\xC3\xBC\" onclick=\"go('f\xC3\xA4hre.html')\">");
             EXPECT_NE(page.Text(Page::kAfter).find("onkeydown="), std::string::npos);
             EXPECT_TRUE(IsValidUtf8(page.Text(Page::kAfter)));
         },
         {"<div class=\"men\xFC\" onclick=\"go('f\xE4hre.html')\"", "go('f\xE4hre.html');}", ">F\xE4hre &amp; Hafen</div>"}},
        {"DeprecatedHtml",
         "<p align=\"center\" title=\"Gr\xFC\xDF" "e\" style=\"font-family: Sch\xF6ne\">Gr\xFC\xDF" "e &amp; mehr</p>",
         [](CMemoryWindow& page) {
             using Page = CPageDeprecatedHtml;
             EXPECT_EQ(page.ItemText(Page::kItems, 0, Page::kTextColumn), "Gr\xC3\xBC\xC3\x9F" "e & mehr");
             const std::string markup = page.Text(Page::kModernMarkup);
             EXPECT_NE(markup.find("title=\"Gr\xC3\xBC\xC3\x9F" "e\""), std::string::npos) << markup;
             EXPECT_NE(markup.find("Sch\xC3\xB6ne"), std::string::npos) << markup;
         },
         {"title=\"Gr\xFC\xDF" "e\"", "style=\"font-family: Sch\xF6ne; text-align: center\">Gr\xFC\xDF" "e &amp; mehr</p>"}},
        {"ListForFormat",
         "<ul style=\"font-family: Sch\xF6ne\">\n<li>Gr\xFC\xDF" "e vom Hafen, jeden Tag von neun Uhr an.\n</ul>",
         [](CMemoryWindow& page) { EXPECT_TRUE(page.IsChecked(CPageListFormat::kReplace)); },
         {"<span style=\"margin-left: 2em; font-family: Sch\xF6ne\">\nGr\xFC\xDF" "e vom Hafen"}},
        // A reference the page wrote stays the reference it was, beside what the page adds.
        {"ListForFormat",
         "<ul style=\"font-family: Sch&#246;ne, &quot;Gr&ouml;&szlig;e&quot;\">\n<li>Gr\xFC\xDF" "e vom Hafen, jeden Tag von neun Uhr an.\n</ul>",
         [](CMemoryWindow& page) { EXPECT_TRUE(page.IsChecked(CPageListFormat::kReplace)); },
         {"<span style=\"margin-left: 2em; font-family: Sch&#246;ne, &quot;Gr&ouml;&szlig;e&quot;\">"}},
        {"TableAbsoluteUnits",
         "<table summary=\"Abfahrten\" style=\"font-family: Sch&#246;ne; width: 600px\"><tr><th>Gr\xFC\xDF" "e</th></tr>"
         "<tr><td>1</td></tr></table>",
         [](CMemoryWindow& page) {
             using Page = CPageUnitsTable;
             EXPECT_EQ(page.ItemText(Page::kSizes, 0, 2), "600px");
             EXPECT_NE(page.Text(Page::kBefore).find("style=\"font-family: Sch&#246;ne; width: 600px\""),
                       std::string::npos) << page.Text(Page::kBefore);
         },
         {"style=\"font-family: Sch&#246;ne; width: ", "%\"><tr><th>Gr\xFC\xDF" "e</th>"}},
        {"FramesetAbsoluteUnits",
         "",
         [](CMemoryWindow& page) {
             using Page = CPageUnitsTable;
             EXPECT_EQ(page.ItemText(Page::kSizes, 0, 2), "180,*");
             EXPECT_EQ(page.Text(Page::kBefore), "<frameset cols=\"180,*\" title=\"Men\xC3\xBC und Kamera\">");
             EXPECT_EQ(page.Text(Page::kAfter), "<frameset cols=\"23%,*\" title=\"Men\xC3\xBC und Kamera\">");
         },
         {"<frameset cols=\"23%,*\" title=\"Men\xFC und Kamera\">"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.check);
        const std::string original =
            c.body.empty()
                ? "<html lang=\"de\"><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">"
                  "<title>Hafen</title></head>\n<frameset cols=\"180,*\" title=\"Men\xFC und Kamera\">\n"
                  "<frame src=\"men\xFC.html\" title=\"Men\xFC\"><frame src=\"cam.html\" title=\"Kamera\">\n</frameset></html>\n"
                : Latin1Page("", c.body);
        CValidatorSheet run;
        Load(original);
        StartOverviewSheet(run, "/site/forms/page.html");
        ASSERT_EQ(AddPages(run, [&](std::string_view check) { return check == c.check; }), 1);
        windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
            c.shown(w.PageWindow(0));
            w.Click(kIdFinish);
        });
        EXPECT_EQ(run.DoModal(nullptr), kIdFinish);
        for (const std::string& part : c.written)
            EXPECT_NE(document.Text().find(part), std::string::npos) << part << "\n" << document.Text();
        EXPECT_EQ(PageBytesToUtf8(document.Text(), document.Encoding()).find("\xEF\xBF\xBD"), std::string::npos);
        run.Page(0).Undo();
        EXPECT_EQ(document.Text(), original);
    }
}

// The default text of a text area goes in in Latin-1 and escaped; the
// control's markup is shown decoded.
TEST_F(RepairRunTest, ADefaultTextTypedForATextAreaOfALatin1PageIsWrittenInLatin1)
{
    const std::string original = Latin1Page("", "<form action=\"/a\"><p><textarea name=\"gr\xFC\xDF" "e\" title=\"Ihre Gr\xFC\xDF" "e\">\n"
                                                "</textarea></p></form>");
    Load(original);
    StartSheet();
    ASSERT_EQ(AddPages("TextareaText"), 1);
    FinishOnFirstPage([&](CMemoryWindow&, CMemoryWindow& page) {
        EXPECT_EQ(page.Text(CPageTextAreaDefaultText::kMarkup),
                  "<textarea name=\"gr\xC3\xBC\xC3\x9F" "e\" title=\"Ihre Gr\xC3\xBC\xC3\x9F" "e\">");
        page.Type(CPageTextAreaDefaultText::kDefaultText, "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xC5\x81 & <mehr>");
    });
    EXPECT_NE(document.Text().find("title=\"Ihre Gr\xFC\xDF" "e\">Gr\xFC\xDF" "e &#8364; &#321; &amp; &lt;mehr&gt;\n</textarea>"),
              std::string::npos)
        << document.Text();
    UndoOnSheet();
    EXPECT_EQ(document.Text(), original);
}

// The frames a description lists, and the description proposed from them,
// name them as the user reads them; taken as proposed, the file holds them
// in UTF-8.
TEST_F(RememberingRunTest, TheFramesOfALatin1PageAreListedAndProposedDecoded)
{
    const std::string frames =
        "<html lang=\"de\"><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">"
        "<title>Hafen</title></head>\n<frameset cols=\"20%,50%,30%\">\n<frame name=\"men\xFC\" src=\"men\xFC.html\">\n"
        "<frame src=\"karte.html\" title=\"Stra\xDF" "en &amp; Pl\xE4tze\">\n<frame src=\"kamera.html\" title=\"Kamera\">\n"
        "</frameset></html>\n";
    Load(frames);
    StartSheetInFolder("hafen.html");
    ASSERT_EQ(AddPages("FrameLongdesc"), 1);
    FinishOnFirstPage([&](CMemoryWindow&, CMemoryWindow& page) {
        const std::string listed = page.Text(CPageFrameLongDesc::kFrames);
        EXPECT_NE(listed.find("\"men\xC3\xBC\": men\xC3\xBC.html"), std::string::npos) << listed;
        EXPECT_NE(listed.find("\"Stra\xC3\x9F" "en & Pl\xC3\xA4tze\": karte.html"), std::string::npos) << listed;
        EXPECT_NE(page.Text(CPageDescriptionBase::kText).find("\"Stra\xC3\x9F" "en & Pl\xC3\xA4tze\" (karte.html)"),
                  std::string::npos);
    });
    const std::string written = ReadFileBytes(InFolder("page-frames.html"));
    EXPECT_TRUE(IsValidUtf8(written));
    EXPECT_NE(written.find("men\xC3\xBC.html"), std::string::npos) << written;
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
        if (std::string_view(c.check) == "ImgLongdesc") {
            EXPECT_NE(written.find("Fahrg\xC3\xA4ste je Monat</title>"), std::string::npos) << written;
        }
        if (std::string_view(c.check) == "AnchorTranscript") {
            EXPECT_NE(written.find("Die Ansage des Hafenmeisters</title>"), std::string::npos) << written;
        }

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
