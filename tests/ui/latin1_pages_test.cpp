#include "ui_fixture.h"

#include "library/ui/pages/text_alternatives/page_img_alt_text.h"

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

} // namespace
} // namespace orvane
