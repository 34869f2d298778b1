#include "ui_fixture.h"

#include "library/ui/pages/forms/page_label_far_away.h"
#include "library/ui/pages/forms/page_label_missing.h"

namespace orvane::test {
namespace {


// A contact form laid out in a table, its captions in the cells left of the
// fields; a paragraph above it already has the id "email"; the search form
// has only its button beside the field, so a title is proposed for it.
constexpr char kContactForm[] =
    "<html lang=\"en\"><head><title>Contact</title></head><body>\n"
    "<form action=\"/search\"><p><input type=\"text\" name=\"q\" value=\"tea\"> <input type=\"submit\" "
    "value=\"Search\"></p></form>\n"
    "<p id=\"email\">Write to office@harbour.example, or use the form.</p>\n"
    "<form action=\"/contact\" method=\"post\">\n"
    "<table>\n"
    "<tr><td>Your name:</td><td><input type=\"text\" name=\"name\" value=\"First and last name\"></td></tr>\n"
    "<tr><td>E-mail:</td><td><input type=\"text\" name=\"email\" value=\"you@example.org\"></td></tr>\n"
    "<tr><td>\n  Subject &amp; topic: </td><td><select name=\"subject\"><option>Tickets</option></select></td></tr>\n"
    "</table>\n"
    "<p>Your message<br><textarea name=\"message\">Your question</textarea></p>\n"
    "</form></body></html>\n";

bool LabelCheck(std::string_view check)
{
    return check == "InputMissingLabel" || check == "SelectNoLabel" || check == "TextareaLabel";
}

TEST_F(RepairRunTest, AControlGetsTheTextBesideItAsLabelANewLabelOrATitleAndUndoWritesThePageAsItWas)
{
    Load(kContactForm);
    StartSheet();
    ASSERT_EQ(AddPages(sheet, LabelCheck), 5);
    RunSheetToFinish([&](CMemoryWindow& w) {
        using Page = CPageLabelMissing;
        // The search field: nothing stands beside it to wrap; its name is all there is to offer.
        CMemoryWindow& search = w.PageWindow(0);
        EXPECT_EQ(search.Text(1001), Strings(920));
        EXPECT_EQ(search.Text(Page::kControl), "<input type=\"text\" name=\"q\" value=\"tea\">");
        EXPECT_FALSE(search.IsEnabled(Page::kWrap));
        EXPECT_TRUE(search.IsChecked(Page::kTitle));
        EXPECT_EQ(search.Text(Page::kNearText), Strings(928));
        EXPECT_EQ(search.ItemTexts(Page::kLabelText), (std::vector<std::string>{"Search", "Q"}));
        EXPECT_EQ(search.Text(Page::kLabelText), "Search");
        EXPECT_FALSE(search.Browser(Page::kPreview)->Address().empty());
        w.PressHelp();
        // Nothing typed is no label: the user is told and stays.
        search.Type(Page::kLabelText, "  ");
        w.Click(kIdNext);
        EXPECT_EQ(w.CurrentPage(), 0);
        ASSERT_TRUE(ToldLast(1, Strings(922)));
        EXPECT_EQ(document.Text(), kContactForm);
        search.Type(Page::kLabelText, "Search the site");
        w.Click(kIdNext);

        // The caption in the cell on the left is proposed and wrapped as it stands.
        CMemoryWindow& name = w.PageWindow(1);
        EXPECT_TRUE(name.IsChecked(Page::kWrap));
        EXPECT_EQ(name.Text(Page::kNearText), "Your name:");
        EXPECT_EQ(name.ItemTexts(Page::kLabelText), (std::vector<std::string>{"Your name:", "Name"}));
        EXPECT_FALSE(name.IsEnabled(Page::kLabelText));
        w.Click(kIdNext);

        // A label of the user's own words; the id "email" is the paragraph's already.
        CMemoryWindow& email = w.PageWindow(2);
        email.Click(Page::kInsert);
        EXPECT_TRUE(email.IsEnabled(Page::kLabelText));
        email.Type(Page::kLabelText, "E-mail <work> & home");
        w.Click(kIdNext);

        CMemoryWindow& subject = w.PageWindow(3);
        EXPECT_EQ(subject.Text(Page::kNearText), "Subject & topic:");
        w.Click(kIdNext);

        // Past a line break, the text before the text area.
        CMemoryWindow& message = w.PageWindow(4);
        EXPECT_EQ(message.Text(Page::kNearText), "Your message");
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"12-4-1.html"});
    EXPECT_EQ(document.Text(),
              "<html lang=\"en\"><head><title>Contact</title></head><body>\n"
              "<form action=\"/search\"><p><input type=\"text\" name=\"q\" value=\"tea\" title=\"Search the site\"> "
              "<input type=\"submit\" value=\"Search\"></p></form>\n"
              "<p id=\"email\">Write to office@harbour.example, or use the form.</p>\n"
              "<form action=\"/contact\" method=\"post\">\n"
              "<table>\n"
              "<tr><td><label for=\"name\">Your name:</label></td><td><input type=\"text\" name=\"name\" "
              "value=\"First and last name\" id=\"name\"></td></tr>\n"
              "<tr><td>E-mail:</td><td><label for=\"email-2\">E-mail &lt;work&gt; &amp; home</label> "
              "<input type=\"text\" name=\"email\" value=\"you@example.org\" id=\"email-2\"></td></tr>\n"
              "<tr><td>\n  <label for=\"subject\">Subject &amp; topic:</label> </td><td><select name=\"subject\" "
              "id=\"subject\"><option>Tickets</option></select></td></tr>\n"
              "</table>\n"
              "<p><label for=\"message\">Your message</label><br><textarea name=\"message\" id=\"message\">Your "
              "question</textarea></p>\n"
              "</form></body></html>\n");
    for (int page = 0; page < sheet.PageCount(); ++page)
        EXPECT_TRUE(sheet.Page(page).Element()->IsRepaired(0x20000000, 1)) << page;

    // Each page taken back in turn.
    ShowSheet([&](CMemoryWindow& w) {
        for (int page = 0; page < 5; ++page) {
            EXPECT_EQ(w.Text(kSkipUndo), "&Undo") << page;
            w.Click(kSkipUndo);
            if (page < 4)
                w.Click(kSkipUndo);
        }
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), kContactForm);
    for (int page = 0; page < sheet.PageCount(); ++page)
        EXPECT_FALSE(sheet.Page(page).Element()->IsRepaired(0x20000000, 1)) << page;
}

// One text between two controls: the check box's label after it, and the text
// before the field. Once it is the check box's label it is not the field's too.
constexpr char kTeaOrder[] =
    "<html lang=\"en\"><body><form action=\"/order\">\n"
    "<p><input type=\"checkbox\" name=\"tea\" value=\"yes\"> Tea <input type=\"text\" name=\"tea kind\" "
    "value=\"Green\"></p>\n"
    "</form></body></html>\n";

TEST_F(RepairRunTest, ATextBesideTwoControlsBecomesTheLabelOfOneOnly)
{
    ASSERT_EQ(OpenSheet(kTeaOrder, "InputMissingLabel"), 2);
    RunSheetToFinish([&](CMemoryWindow& w) {
        using Page = CPageLabelMissing;
        EXPECT_EQ(w.PageWindow(0).Text(Page::kInsert), Strings(923));
        w.Click(kIdNext);
        CMemoryWindow& kind = w.PageWindow(1);
        EXPECT_EQ(kind.Text(Page::kNearText), "Tea");
        EXPECT_EQ(kind.ItemTexts(Page::kLabelText), (std::vector<std::string>{"Tea", "Tea kind"}));
        w.Click(kIdFinish);
        EXPECT_EQ(w.CurrentPage(), 1);
        ASSERT_TRUE(ToldLast(1, Strings(930)));
        kind.Click(Page::kInsert);
        kind.Type(Page::kLabelText, "Kind of tea");
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(),
              "<html lang=\"en\"><body><form action=\"/order\">\n"
              "<p><input type=\"checkbox\" name=\"tea\" value=\"yes\" id=\"tea\"> <label for=\"tea\">Tea</label> "
              "<label for=\"tea-kind\">Kind of tea</label> <input type=\"text\" name=\"tea kind\" value=\"Green\" "
              "id=\"tea-kind\"></p>\n"
              "</form></body></html>\n");
}

// The phone number's label stands two rows above its field, with a note
// between; the check box's label stands before it, where it is not read; the fax
// number's label has no end tag.
constexpr char kCallBackForm[] =
    "<form action=\"/contact\" method=\"post\">\r\n"
    "<table>\r\n"
    "<tr><td colspan=\"2\"><label for=\"phone\">Phone <b>number</b>:</label></td></tr>\r\n"
    "<tr><td>We call between nine and five.</td><td><input type=\"text\" id=\"phone\" name=\"phone\" "
    "value=\"+44\"></td></tr>\r\n"
    "<tr><td></td><td><label for=\"copy\">Send me a copy</label> <input type=\"checkbox\" id=\"copy\" "
    "name=\"copy\"></td></tr>\r\n"
    "<tr><td><label for=\"fax\">Fax</td><td><p>For orders only</p><input type=\"text\" id=\"fax\" name=\"fax\" "
    "value=\"+44\"></td></tr>\r\n"
    "</table></form>\r\n";

TEST_F(RepairRunTest, AFarLabelIsMovedBesideItsFieldOrKeptAndUndoPutsItBack)
{
    Load(std::string("<html lang=\"en\"><head><title>Call back</title></head><body>\r\n") + kCallBackForm +
         "</body></html>\r\n");
    const std::string original = document.Text();
    StartSheet();
    ASSERT_EQ(AddPages("InputFarLabel"), 3);
    RunSheetToFinish([&](CMemoryWindow& w) {
        using Page = CPageLabelFarAway;
        CMemoryWindow& phone = w.PageWindow(0);
        EXPECT_EQ(phone.Text(1001), Strings(921));
        EXPECT_EQ(phone.Text(Page::kLabel), "Phone number:");
        EXPECT_EQ(phone.Text(Page::kDistance),
                  platform::FormatMessage(Strings(927), {"\"We call between nine and five.\""}));
        EXPECT_TRUE(phone.IsChecked(Page::kMove));
        w.PressHelp();
        w.Click(kIdNext);

        // Before a check box is the wrong side: the user judges it close enough.
        CMemoryWindow& copy = w.PageWindow(1);
        EXPECT_EQ(copy.Text(Page::kDistance), Strings(926));
        EXPECT_EQ(copy.Text(Page::kMove), Strings(924));
        copy.Click(Page::kKeep);
        w.Click(kIdNext);

        // How far a label without an end tag reaches is unknown: it can only be kept.
        CMemoryWindow& fax = w.PageWindow(2);
        EXPECT_FALSE(fax.IsEnabled(Page::kMove));
        EXPECT_TRUE(fax.IsChecked(Page::kKeep));
        EXPECT_NE(fax.Text(Page::kDistance).find(Strings(929)), std::string::npos);
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"10-2-1.html"});
    EXPECT_EQ(document.Text(),
              "<html lang=\"en\"><head><title>Call back</title></head><body>\r\n"
              "<form action=\"/contact\" method=\"post\">\r\n"
              "<table>\r\n"
              "<tr><td colspan=\"2\"></td></tr>\r\n"
              "<tr><td>We call between nine and five.</td><td><label for=\"phone\">Phone <b>number</b>:</label> "
              "<input type=\"text\" id=\"phone\" name=\"phone\" value=\"+44\"></td></tr>\r\n"
              "<tr><td></td><td><label for=\"copy\">Send me a copy</label> <input type=\"checkbox\" id=\"copy\" "
              "name=\"copy\"></td></tr>\r\n"
              "<tr><td><label for=\"fax\">Fax</td><td><p>For orders only</p><input type=\"text\" id=\"fax\" "
              "name=\"fax\" value=\"+44\"></td></tr>\r\n"
              "</table></form>\r\n"
              "</body></html>\r\n");
    for (int page = 0; page < 3; ++page)
        EXPECT_TRUE(sheet.Page(page).Element()->IsRepaired(0x40000000, 1)) << page;

    ShowSheet([&](CMemoryWindow& w) {
        for (int page = 0; page < 3; ++page) {
            EXPECT_EQ(w.Text(kSkipUndo), "&Undo") << page;
            w.Click(kSkipUndo);
            if (page < 2)
                w.Click(kSkipUndo);
        }
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), original);
    for (int page = 0; page < 3; ++page)
        EXPECT_FALSE(sheet.Page(page).Element()->IsRepaired(0x40000000, 1)) << page;
}

} // namespace
} // namespace orvane::test
