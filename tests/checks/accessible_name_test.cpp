#include "family_check_fixture.h"

#include "library/checks/accessible_name.h"
#include "library/html/tag_table.h"
#include "library/rules/rule_findings.h"
#include "platform/services.h"
#include "platform/string_table.h"

#include <algorithm>
#include <string>

namespace orvane::test {
namespace {

constexpr std::uint32_t kAltText = 0x1;
constexpr std::uint32_t kMissingLabel = 0x20000000;
constexpr std::uint32_t kMapAltText = 0x1;
constexpr std::uint32_t kFrameTitle = 0x1;

using NameSource = AccessibleName::Source;

class AccessibleNames : public FamilyCheckTest {
protected:
    // The name of the first element of the kind on the page.
    AccessibleName NameOf(std::string_view page, int kind)
    {
        Parse(page);
        return ComputeAccessibleName(document, *Nth(kind));
    }

    // The first element of the kind on the page is named that text, taken from that source.
    void ExpectNamed(std::string_view page, int kind, std::string_view text, NameSource source)
    {
        SCOPED_TRACE(page);
        const AccessibleName name = NameOf(page, kind);
        EXPECT_EQ(name.text, text);
        EXPECT_EQ(name.source, source);
    }
};

// Each check is asked twice of one page: as it always was, and with the
// names ARIA gives taken into account.
class AriaChecks : public FamilyCheckTest {
protected:
    struct Outcome {
        bool plain;
        bool aria;
    };
    Outcome Reported(std::string_view page, int kind, std::uint32_t bit)
    {
        settings.SetAriaNames(false);
        const bool plain = Has(page, kind, bit);
        settings.SetAriaNames(true);
        const bool aria = Has(page, kind, bit);
        settings.SetAriaNames(false);
        return {plain, aria};
    }

    // Whether the check reports the first element of the kind, as it always
    // did (plain) and with the names ARIA gives.
    void ExpectReported(std::string_view page, int kind, std::uint32_t bit, bool plain, bool aria)
    {
        SCOPED_TRACE(page);
        const Outcome outcome = Reported(page, kind, bit);
        EXPECT_EQ(outcome.plain, plain);
        EXPECT_EQ(outcome.aria, aria);
    }
};

TEST_F(AccessibleNames, LabelledByComesFirstThenAriaLabelThenTheMarkupThenTitle)
{
    ExpectNamed("<span id=a>Harbour</span><span id=b>shop</span>"
                "<img src=logo.png alt=Logo aria-label=Label title=Tip aria-labelledby=\"b  a\">",
                tag::kImg, "shop Harbour", NameSource::LabelledBy);
    ExpectNamed("<img src=logo.png alt=Logo aria-label=\" Harbour\n shop \" title=Tip>", tag::kImg, "Harbour shop",
                NameSource::AriaLabel);
    ExpectNamed("<img src=logo.png alt=Logo aria-label=\"  \" title=Tip>", tag::kImg, "Logo", NameSource::Native);
    ExpectNamed("<img src=logo.png title=\"Harbour shop\">", tag::kImg, "Harbour shop", NameSource::Title);
    ExpectNamed("<img src=logo.png>", tag::kImg, "", NameSource::None);
}

TEST_F(AccessibleNames, ReferencedContentIsReadAsAScreenReaderHearsIt)
{
    // Text, the alternatives of images inside, an aria-label in place of
    // what it covers; hidden parts and scripts are left out.
    AccessibleName name =
        NameOf("<div id=q>Search <img src=glass.gif alt=the> <b aria-label=harbour>xx</b>"
               "<span hidden>secret</span><span aria-hidden=\"true\">icon</span><script>var s;</script> shop</div>"
               "<input type=text aria-labelledby=q>",
               tag::kInput);
    EXPECT_EQ(name.text, "Search the harbour shop");

    // A node referenced itself while hidden still gives its text.
    name = NameOf("<span id=h hidden>Quantity <b aria-hidden=true>in kg</b></span><input type=text aria-labelledby=h>",
                  tag::kInput);
    EXPECT_EQ(name.text, "Quantity in kg");

    // A referenced node's own aria-labelledby is not followed, its aria-label is.
    name = NameOf("<span id=x>far</span><span id=r aria-labelledby=x>near</span><input type=text aria-labelledby=r>",
                  tag::kInput);
    EXPECT_EQ(name.text, "near");
    name = NameOf("<span id=r aria-label=Given>Content</span><input type=text aria-labelledby=r>", tag::kInput);
    EXPECT_EQ(name.text, "Given");
}

TEST_F(AccessibleNames, IdsAreLookedUpExactlyAndTheFirstMissingOneIsKept)
{
    AccessibleName name = NameOf("<p id=Q>Question</p><input type=text aria-labelledby=\"q gone Q\">", tag::kInput);
    EXPECT_EQ(name.text, "Question");
    EXPECT_EQ(name.missingId, "q");

    // Only ids that name nothing: the name falls through to what comes next.
    name = NameOf("<input type=text aria-labelledby=gone aria-label=Search>", tag::kInput);
    EXPECT_EQ(name.text, "Search");
    EXPECT_EQ(name.missingId, "gone");

    // Elements of tags the page model does not know are found by their ids.
    name = NameOf("<section id=s>Harbour</section><img src=a.gif aria-labelledby=s>", tag::kImg);
    EXPECT_TRUE(name.missingId.empty());

    // References to empty elements give no name either.
    name = NameOf("<span id=e></span><img src=a.gif alt=Anchor aria-labelledby=e>", tag::kImg);
    EXPECT_EQ(name.text, "Anchor");
    EXPECT_TRUE(name.missingId.empty());
}

TEST_F(AccessibleNames, FormControlsAreNamedByTheirLabelsWrappingOrPointing)
{
    EXPECT_EQ(NameOf("<label for=n>Your name</label><input type=text id=n>", tag::kInput).text, "Your name");
    EXPECT_EQ(NameOf("<label>Your <i>name</i> <input type=text value=x></label>", tag::kInput).text, "Your name");
    EXPECT_EQ(NameOf("<label>Country <select><option>NZ</select></label>", tag::kSelect).text, "Country");
    EXPECT_EQ(NameOf("<label>Notes</label><textarea title=Remarks></textarea>", tag::kTextarea).text, "Remarks");
    EXPECT_EQ(NameOf("<input type=image src=go.gif alt=Go>", tag::kInput).text, "Go");
}

TEST_F(AccessibleNames, HiddenAndPresentationalImagesNeedNoName)
{
    EXPECT_TRUE(NameOf("<img src=a.gif aria-hidden=TRUE>", tag::kImg).hidden);
    EXPECT_TRUE(NameOf("<img src=a.gif hidden>", tag::kImg).hidden);
    EXPECT_FALSE(NameOf("<img src=a.gif aria-hidden=false>", tag::kImg).hidden);
    EXPECT_TRUE(NameOf("<img src=line.gif role=presentation>", tag::kImg).presentational);
    EXPECT_TRUE(NameOf("<img src=line.gif role=\"none presentation\" alt=\"\">", tag::kImg).presentational);
    // A name of its own overrides the role, as browsers do.
    AccessibleName named = NameOf("<img src=line.gif role=presentation aria-label=Divider>", tag::kImg);
    EXPECT_FALSE(named.presentational);
    EXPECT_EQ(named.text, "Divider");
    EXPECT_FALSE(NameOf("<img src=line.gif role=img>", tag::kImg).presentational);
}

TEST_F(AriaChecks, ImagesNamedByAriaOrMarkedDecorativeAreNotReportedWithTheSetting)
{
    ExpectReported("<img src=logo.png aria-label=\"Harbour shop\">", tag::kImg, kAltText, true, false);
    ExpectReported("<img role=presentation src=line.gif>", tag::kImg, kAltText, true, false);
    ExpectReported("<p id=cap>Our harbour</p><img src=h.jpg aria-labelledby=cap>", tag::kImg, kAltText, true, false);
    // An image alone in a link still leaves the link without a name.
    ExpectReported("<a href=/><img role=presentation src=home.gif alt=\" \"></a>", tag::kImg, kAltText, true, true);
    // Nothing is reported that was not before, but for a reference to nothing.
    ExpectReported("<img src=a.gif alt=\"\" aria-labelledby=nothing>", tag::kImg, kAltText, false, true);
}

TEST_F(AriaChecks, AReferenceToNothingIsSaidInTheProblemText)
{
    platform::CStringTable strings;
    strings.Parse("1240\taria-labelledby names the id \"%1\", which no element of this page has\n");
    const platform::ScopedStrings useStrings{strings};
    settings.SetAriaNames(true);
    ASSERT_TRUE(Has("<input type=text name=q aria-labelledby=q-label>", tag::kInput, kMissingLabel));
    EXPECT_EQ(Nth(tag::kInput)->GetProblemText(kMissingLabel, PageEncoding{}),
              "text control - q - aria-labelledby names the id \"q-label\", which no element of this page has");
    ASSERT_TRUE(Has("<img src=a.gif aria-labelledby=cap>", tag::kImg, kAltText));
    EXPECT_EQ(Nth(tag::kImg)->GetProblemText(kAltText, PageEncoding{}),
              "a.gif - aria-labelledby names the id \"cap\", which no element of this page has");
    // Once the id is there, the image is named and the text is as before.
    ASSERT_FALSE(Has("<img src=a.gif aria-labelledby=cap><p id=cap>Map</p>", tag::kImg, kAltText));
    EXPECT_EQ(Nth(tag::kImg)->GetProblemText(kAltText, PageEncoding{}), "a.gif");
}

TEST_F(AriaChecks, FormControlsNamedByAriaHaveTheirLabel)
{
    ExpectReported("<span id=q-label>Search</span><input type=text aria-labelledby=q-label>", tag::kInput,
                            kMissingLabel, true, false);
    ExpectReported("<label>Password <input type=password></label>", tag::kInput, kMissingLabel, true, false);
    ExpectReported("<select aria-label=Country><option>NZ</select>", tag::kSelect, kMissingLabel, true, false);
    ExpectReported("<textarea title=Remarks></textarea>", tag::kTextarea, kMissingLabel, true, false);
    ExpectReported("<input type=text aria-label=\" \">", tag::kInput, kMissingLabel, true, true);
    // A label element is a label, whatever a broken reference beside it says.
    ExpectReported("<label for=n>Name</label><input type=text id=n aria-labelledby=gone>", tag::kInput,
                       kMissingLabel, false, false);
}

TEST_F(AriaChecks, ImageButtonsMapAreasAndFramesTakeTheirNamesFromAria)
{
    ExpectReported("<input type=image src=go.gif aria-label=Search>", tag::kInput, kAltText, true, false);
    ExpectReported("<input type=image src=go.gif aria-labelledby=none>", tag::kInput, kAltText, true, true);
    ExpectReported("<frameset cols=\"20%,80%\"><frame src=menu.html aria-label=Menu></frameset>", tag::kFrame,
                       kFrameTitle, true, false);
    ExpectReported("<img src=m.gif usemap=#m alt=Map><map name=m><area href=a.html aria-label=North>"
                       "<area href=b.html alt=South></map>",
                       tag::kMap, kMapAltText, true, false);
}

// With the setting, a check and the WCAG 2.2 rule about the same thing read
// one name, the accessibility tree's: over a table of elements they agree,
// the conflicts of a presentational role with focus or a global ARIA
// attribute among them.
TEST_F(AriaChecks, TheChecksAndTheRulesAgreeOnEveryName)
{
    const struct {
        std::string_view markup;
        int kind;
        std::uint32_t bit;
        std::string_view rule;
        bool fails;
    } kElements[] = {
        {"<img src=a.png>", tag::kImg, kAltText, "image-non-empty-accessible-name", true},
        {"<img src=a.png alt=Harbour>", tag::kImg, kAltText, "image-non-empty-accessible-name", false},
        {"<img src=a.png aria-label=Harbour>", tag::kImg, kAltText, "image-non-empty-accessible-name", false},
        {"<img src=a.png aria-labelledby=cap><p id=cap>Harbour at dawn</p>", tag::kImg, kAltText,
         "image-non-empty-accessible-name", false},
        {"<img src=a.png aria-labelledby=nothing>", tag::kImg, kAltText, "image-non-empty-accessible-name", true},
        {"<img src=a.png alt=\"\" aria-labelledby=nothing>", tag::kImg, kAltText, "image-non-empty-accessible-name",
         true},
        {"<img src=a.png title=Harbour>", tag::kImg, kAltText, "image-non-empty-accessible-name", false},
        {"<img src=a.png role=presentation>", tag::kImg, kAltText, "image-non-empty-accessible-name", false},
        {"<img src=a.png role=none>", tag::kImg, kAltText, "image-non-empty-accessible-name", false},
        // Focusable, or with a global ARIA attribute: the role is not in force.
        {"<img src=a.png role=presentation tabindex=0>", tag::kImg, kAltText, "image-non-empty-accessible-name",
         true},
        {"<img src=a.png role=none aria-describedby=d><p id=d>Dawn</p>", tag::kImg, kAltText,
         "image-non-empty-accessible-name", true},
        {"<img src=a.png aria-hidden=true>", tag::kImg, kAltText, "image-non-empty-accessible-name", false},
        {"<img src=a.png style=\"display: none\">", tag::kImg, kAltText, "image-non-empty-accessible-name", false},
        {"<input type=text name=q>", tag::kInput, kMissingLabel, "form-field-non-empty-accessible-name", true},
        {"<label for=q>Find</label><input type=text id=q name=q>", tag::kInput, kMissingLabel,
         "form-field-non-empty-accessible-name", false},
        {"<label>Find <input type=text name=q></label>", tag::kInput, kMissingLabel,
         "form-field-non-empty-accessible-name", false},
        {"<input type=text name=q aria-label=Find>", tag::kInput, kMissingLabel,
         "form-field-non-empty-accessible-name", false},
        {"<input type=text name=q title=Find>", tag::kInput, kMissingLabel, "form-field-non-empty-accessible-name",
         false},
        {"<input type=text name=q aria-label=\" \">", tag::kInput, kMissingLabel,
         "form-field-non-empty-accessible-name", true},
        {"<input type=text name=q aria-labelledby=gone>", tag::kInput, kMissingLabel,
         "form-field-non-empty-accessible-name", true},
        {"<input type=image src=go.png>", tag::kInput, kAltText, "image-button-non-empty-accessible-name", true},
        {"<input type=image src=go.png alt=Go>", tag::kInput, kAltText, "image-button-non-empty-accessible-name",
         false},
        {"<input type=image src=go.png aria-label=Go>", tag::kInput, kAltText,
         "image-button-non-empty-accessible-name", false},
        {"<input type=image src=go.png aria-labelledby=none>", tag::kInput, kAltText,
         "image-button-non-empty-accessible-name", true},
    };
    settings.SetAriaNames(true);
    for (const auto& row : kElements) {
        SCOPED_TRACE(row.markup);
        const std::string page = "<html lang=en><head><title>Harbour</title></head><body><form action=x>" +
                                 std::string(row.markup) + "</form></body></html>";
        const bool checkFails = Has(page, row.kind, row.bit);
        const CElement* element = Nth(row.kind);
        const std::vector<rules::RuleFinding> findings = rules::CheckWcag22(document, rules::Wcag22Target::kAAA);
        const bool ruleFails = std::any_of(findings.begin(), findings.end(), [&](const rules::RuleFinding& f) {
            return f.rule->id == row.rule && f.element == element && !f.cannotTell;
        });
        EXPECT_EQ(checkFails, row.fails);
        EXPECT_EQ(ruleFails, row.fails);
    }
    settings.SetAriaNames(false);
}

} // namespace
} // namespace orvane::test
