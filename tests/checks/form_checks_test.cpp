#include "family_check_fixture.h"

#include "library/checks/check_index.h"
#include "library/checks/label_finder.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"

#include <random>
#include <string>
#include <vector>

namespace orvane::test {
namespace {

constexpr std::uint32_t kMissingDefault = 0x8;
constexpr std::uint32_t kMissingLabel = 0x20000000;
constexpr std::uint32_t kFarLabel = 0x40000000;
constexpr std::uint32_t kTextareaText = 0x1;

using LabelFinder = FamilyCheckTest;
using InputLabelChecks = FamilyCheckTest;
using SelectChecks = FamilyCheckTest;
using TextareaChecks = FamilyCheckTest;

// --- The label finder ----------------------------------------------------------

TEST_F(LabelFinder, ALabelRightBeforeItsControlIsNear)
{
    Parse("<label for=\"Name\">Your\nname </label><input type=text id=NAME>");
    CLabelRecord record = FindLabel(*Nth(tag::kInput), document);
    EXPECT_EQ(record.control, Nth(tag::kInput));
    EXPECT_TRUE(record.hasLabel);
    EXPECT_FALSE(record.far);
    EXPECT_TRUE(record.labelPrecedesControl);
    EXPECT_TRUE(record.labelExpectedBefore);
    EXPECT_EQ(record.labelTextOrTextAfter, "Your name");
    EXPECT_EQ(record.textBeforeElement, Nth(tag::kLabel));
    EXPECT_EQ(record.labelEnd, Nth(tag::kLabel + kind::kEndOffset));
}

TEST_F(LabelFinder, SeparatorsSetALabelApart)
{
    auto far = [&](std::string_view between) {
        Parse("<label for=n>Name</label>" + std::string(between) + "<input type=text id=n>");
        const CElement* control = nullptr;
        for (const CElement* e : document.Elements()) {
            if (e->Kind() == tag::kInput && e->FindAttribute(attr::kId))
                control = e;
        }
        return FindLabel(*control, document).far;
    };
    EXPECT_TRUE(far("<p>"));
    EXPECT_TRUE(far(" or "));
    EXPECT_TRUE(far("<hr>"));
    EXPECT_TRUE(far("<button>"));
    EXPECT_TRUE(far("<input type=hidden>"));
    EXPECT_FALSE(far("<span> <strong></strong><br></span>"));
    EXPECT_FALSE(far("<div><b>"));
    EXPECT_FALSE(far("</p>\n"));
}

TEST_F(LabelFinder, ALabelAfterItsControlIsJudgedBackwards)
{
    Parse("<input type=checkbox id=c> <label for=c>Subscribe</label>");
    CLabelRecord record = FindLabel(*Nth(tag::kInput), document);
    EXPECT_TRUE(record.hasLabel);
    EXPECT_FALSE(record.far);
    EXPECT_FALSE(record.labelPrecedesControl);
    EXPECT_FALSE(record.labelExpectedBefore);
    EXPECT_EQ(record.labelTextOrTextAfter, "Subscribe");

    Parse("<input type=checkbox id=c><p><label for=c>Subscribe</label>");
    EXPECT_TRUE(FindLabel(*Nth(tag::kInput), document).far);
}

TEST_F(LabelFinder, TheFirstLabelOfThePageNamingTheControlCounts)
{
    Parse("<label for=x>Far</label><p><input type=text id=x><label for=x>Near</label>");
    CLabelRecord record = FindLabel(*Nth(tag::kInput), document);
    EXPECT_EQ(record.labelTextOrTextAfter, "Far");
    EXPECT_TRUE(record.far);
    EXPECT_TRUE(record.labelPrecedesControl);
}

TEST_F(LabelFinder, ALabelAroundItsControlIsNear)
{
    Parse("<label for=q>Search <input type=text id=q></label><p>More text");
    CLabelRecord record = FindLabel(*Nth(tag::kInput), document);
    EXPECT_TRUE(record.hasLabel);
    EXPECT_FALSE(record.far);
    EXPECT_EQ(record.labelTextOrTextAfter, "Search");
}

TEST_F(LabelFinder, ALabelWithoutEndTagHasNoText)
{
    Parse("<label for=q><input type=text id=q>");
    CLabelRecord record = FindLabel(*Nth(tag::kInput), document);
    EXPECT_TRUE(record.hasLabel);
    EXPECT_FALSE(record.far);
    EXPECT_EQ(record.labelEnd, nullptr);
    EXPECT_EQ(record.labelTextOrTextAfter, "");
    Parse("<label for=q>Search <input type=text id=q>");
    EXPECT_TRUE(FindLabel(*Nth(tag::kInput), document).far);
}

TEST_F(LabelFinder, WithoutALabelTheTextsBesideTheControlAreOffered)
{
    Parse("<p>First\r\nname: <strong><input type=text name=first><i> (as in\npassport) </i><br>");
    CLabelRecord record = FindLabel(*Nth(tag::kInput), document);
    EXPECT_FALSE(record.hasLabel);
    EXPECT_EQ(record.textBefore, "First name:");
    EXPECT_EQ(record.labelTextOrTextAfter, "(as in passport)");
    EXPECT_EQ(record.textBeforeElement, Nth(kind::kText, 0));
    EXPECT_EQ(record.textAfterElement, Nth(kind::kText, 1));
    EXPECT_TRUE(record.textBeforeChosen);
    EXPECT_FALSE(record.textAfterChosen);

    Parse("Yes <input type=radio name=r> please");
    record = FindLabel(*Nth(tag::kInput), document);
    EXPECT_FALSE(record.textBeforeChosen);
    EXPECT_TRUE(record.textAfterChosen);
}

TEST_F(LabelFinder, OtherTagsEndTheSearchForAdjacentText)
{
    Parse("Name <div><input type=text> <!-- x --> later");
    CLabelRecord record = FindLabel(*Nth(tag::kInput), document);
    EXPECT_EQ(record.textBefore, "");
    EXPECT_EQ(record.labelTextOrTextAfter, "");
    EXPECT_FALSE(record.textBeforeChosen || record.textAfterChosen);

    Parse("Name <b><input type=text>");  // bold is not inline markup the finder looks past
    EXPECT_FALSE(FindLabel(*Nth(tag::kInput), document).textBeforeChosen);

    Parse("<td>Name</td><td><input type=text></td><td>after</td>");
    record = FindLabel(*Nth(tag::kInput), document);
    EXPECT_FALSE(record.textBeforeChosen || record.textAfterChosen);

    Parse("<input type=text></span> after");
    record = FindLabel(*Nth(tag::kInput), document);
    EXPECT_EQ(record.labelTextOrTextAfter, "after");
    EXPECT_TRUE(record.textAfterChosen);
}

TEST_F(LabelFinder, ControlsWithoutIdFindNoLabel)
{
    Parse("<label for=email>Mail</label><input type=text name=email>");
    EXPECT_FALSE(FindLabel(*Nth(tag::kInput), document).hasLabel);
    Parse("<label for=\"\">Mail</label><input type=text id=\"\">");
    EXPECT_FALSE(FindLabel(*Nth(tag::kInput), document).hasLabel);
}

TEST_F(LabelFinder, DeletedLabelsAreGone)
{
    Parse("<label for=a>A</label><input type=text id=a>");
    Nth(tag::kLabel)->SetDeleted(true);
    EXPECT_FALSE(FindLabel(*Nth(tag::kInput), document).hasLabel);
}

// The finder as walks over the page from its first element, the way a page
// is read: the index must give the same records.
struct WalkedLabel {
    bool hasLabel = false, far = false, precedes = false, beforeChosen = false, afterChosen = false;
    std::string textBefore, textAfter;
    bool operator==(const WalkedLabel&) const = default;
};

bool IsTransparentKind(int kind)
{
    int id = kind >= 1000 ? kind - 1000 : kind;
    return id == 76 || id == 26 || id == 24 || id == 42 || id == 11 || id == 74 || id == 13;
}

bool IsSeparatorElement(const CElement& e)
{
    int k = e.Kind();
    return (k == kind::kText && !Trim(e.Text()).empty()) || k == 64 || k == 30 || k == 40 || k == 45 ||
           k == 72 || k == 83 || k == 14;
}

std::string OneLine(std::string text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            out.push_back(text[i] == '\n' ? ' ' : text[i]);
    }
    return std::string(Trim(out));
}

WalkedLabel WalkForLabel(const CElement& control, const CHtmlDocument& document)
{
    const auto& all = document.Elements();
    WalkedLabel walked;
    const CAttribute* type = control.FindAttribute(attr::kType);
    bool expectedBefore = !(type && (EqualsIgnoreCase(type->Value(), "radio") || EqualsIgnoreCase(type->Value(), "checkbox")));
    const CAttribute* idAttribute = control.FindAttribute(attr::kId);
    std::string id = idAttribute ? idAttribute->GetValue() : "";
    bool reached = false;
    std::size_t controlAt = 0, labelAt = 0;
    const CElement* label = nullptr;
    for (std::size_t i = 0; i < all.size() && !label; ++i) {
        const CElement* e = all[i];
        if (e->IsDeleted())
            continue;
        if (e == &control) {
            reached = true;
            controlAt = i;
            for (std::size_t j = i; j-- > 0;) {
                if (all[j]->IsDeleted() || IsTransparentKind(all[j]->Kind()))
                    continue;
                if (all[j]->Kind() != kind::kText)
                    break;
                if (!TrimRight(all[j]->Text()).empty()) {
                    walked.textBefore = all[j]->GetText();
                    break;
                }
            }
            for (std::size_t j = i + 1; j < all.size(); ++j) {
                if (all[j]->IsDeleted() || IsTransparentKind(all[j]->Kind()))
                    continue;
                if (all[j]->Kind() != kind::kText)
                    break;
                if (!TrimRight(all[j]->Text()).empty()) {
                    walked.textAfter = all[j]->GetText();
                    break;
                }
            }
            if (id.empty())
                break;
            continue;
        }
        const CAttribute* target = e->Kind() == tag::kLabel ? e->FindAttribute(attr::kFor) : nullptr;
        if (!id.empty() && target && EqualsIgnoreCase(target->Value(), id)) {
            label = e;
            labelAt = i;
        }
    }
    if (!label) {
        walked.textBefore = OneLine(walked.textBefore);
        walked.textAfter = OneLine(walked.textAfter);
        bool before = !walked.textBefore.empty(), after = !walked.textAfter.empty();
        walked.beforeChosen = before && (!after || expectedBefore);
        walked.afterChosen = after && (!before || !expectedBefore);
        return walked;
    }
    walked.hasLabel = true;
    walked.textAfter.clear();
    std::size_t endAt = label->Partner() ? document.IndexOf(*label->Partner()) : labelAt;
    if (label->Partner()) {
        std::string text;
        for (std::size_t j = labelAt + 1; j < endAt; ++j) {
            if (all[j]->Kind() == kind::kText && !all[j]->IsDeleted())
                text += all[j]->GetText();
        }
        walked.textAfter = OneLine(text);
    }
    if (!reached) {
        walked.precedes = true;
        for (std::size_t j = labelAt + 1; j < all.size(); ++j) {
            if (all[j] == &control)
                break;
            if (all[j]->IsDeleted() || j <= endAt)
                continue;
            if (IsSeparatorElement(*all[j])) {
                walked.far = true;
                break;
            }
        }
    } else {
        for (std::size_t j = labelAt; j-- > controlAt + 1;) {
            if (!all[j]->IsDeleted() && IsSeparatorElement(*all[j])) {
                walked.far = true;
                break;
            }
        }
    }
    return walked;
}

TEST_F(LabelFinder, TheIndexGivesWhatTheWalksGive)
{
    const std::string pieces[] = {"<label for=a>", "<label for=A>", "<label for=b>", "</label>", "Name ", " \n ",
                                  "<p>", "<span>", "</span>", "<br>", "<b>", "<!--c-->", "<input type=text id=a>",
                                  "<input type=checkbox id=b>", "<select id=a>", "<textarea>", "</textarea>",
                                  "<input type=radio>"};
    std::mt19937 random(11);
    int labelled = 0, far = 0;
    for (int round = 0; round < 500; ++round) {
        std::string page;
        for (int i = 0, n = 3 + static_cast<int>(random() % 12); i < n; ++i)
            page += pieces[random() % std::size(pieces)];
        Parse(page);
        if (random() % 4 == 0 && document.Size() > 2)
            document.At(random() % document.Size())->SetDeleted(true);
        CCheckIndexScope pass(document);
        for (CElement* e : document.Elements()) {
            if (e->IsDeleted() || (e->Kind() != tag::kInput && e->Kind() != tag::kSelect && e->Kind() != tag::kTextarea))
                continue;
            CLabelRecord record = FindLabel(*e, document);
            WalkedLabel found{record.hasLabel,     record.far,         record.labelPrecedesControl,
                              record.textBeforeChosen, record.textAfterChosen, record.textBefore,
                              record.labelTextOrTextAfter};
            if (!record.hasLabel) {
                // Without a label the walk's texts are the trimmed ones.
                found.textBefore = OneLine(found.textBefore);
            }
            WalkedLabel walked = WalkForLabel(*e, document);
            if (record.hasLabel)
                walked.textBefore = found.textBefore;  // kept as it was met, not judged here
            EXPECT_EQ(found, walked) << page << " / control at " << document.IndexOf(*e);
            labelled += record.hasLabel ? 1 : 0;
            far += record.far ? 1 : 0;
        }
    }
    EXPECT_GT(labelled, 50);
    EXPECT_GT(far, 20);
}

// --- Input labels ----------------------------------------------------------------

TEST_F(InputLabelChecks, ALabelledTextFieldPasses)
{
    EXPECT_EQ(MaskOf("<label for=n>Name</label><input type=text id=N value=x>", tag::kInput), 0u);
}

TEST_F(InputLabelChecks, AFarLabelIsReported)
{
    EXPECT_EQ(MaskOf("<label for=n>Name</label><p><input type=text id=n value=x>", tag::kInput), kFarLabel);
    EXPECT_EQ(MaskOf("<label for=n>Name</label>:<input type=text id=n value=x>", tag::kInput), kFarLabel);
    EXPECT_EQ(MaskOf("<label for=n>Name</label><span><strong><br><input type=text id=n value=x>", tag::kInput), 0u);
}

TEST_F(InputLabelChecks, CheckBoxesAndRadioButtonsAreLabelledAfterThem)
{
    EXPECT_EQ(MaskOf("<input type=checkbox id=c><label for=c>Yes</label>", tag::kInput), 0u);
    EXPECT_EQ(MaskOf("<input type=Radio id=c><label for=c>Yes</label>", tag::kInput), 0u);
    EXPECT_EQ(MaskOf("<label for=c>Yes</label><input type=checkbox id=c>", tag::kInput), kFarLabel);
    EXPECT_EQ(MaskOf("<input type=password id=c><label for=c>Password</label>", tag::kInput), kFarLabel);
    EXPECT_EQ(MaskOf("<input type=text id=c value=x><label for=c>Name</label>", tag::kInput), kFarLabel);
}

TEST_F(InputLabelChecks, ACaptionIsNoLabel)
{
    EXPECT_EQ(MaskOf("Name: <input type=text id=n value=x>", tag::kInput), kMissingLabel);
    EXPECT_EQ(MaskOf("<label for=name>Name</label><input type=file name=name>", tag::kInput), kMissingLabel);
}

TEST_F(InputLabelChecks, OnlyFiveTypesNeedALabel)
{
    EXPECT_EQ(MaskOf("<input type=FILE>", tag::kInput), kMissingLabel);
    EXPECT_EQ(MaskOf("<input type=submit value=Go>", tag::kInput), 0u);
    EXPECT_EQ(MaskOf("<input type=hidden>", tag::kInput), 0u);
    EXPECT_EQ(MaskOf("<input name=q>", tag::kInput), 0u);  // no type attribute
}

TEST_F(InputLabelChecks, LabelChecksAskTheTargetEvenWithTheFilterOff)
{
    std::string page = "<input type=checkbox id=c>";
    EXPECT_EQ(MaskOf(page, tag::kInput, 0), kMissingLabel);
    settings.SetConformanceLevel(level::kA);  // a priority 2 check
    EXPECT_EQ(MaskOf(page, tag::kInput, 0), 0u);
    EXPECT_EQ(MaskOf(page, tag::kInput, 1), 0u);
    settings.SetAlwaysInclude(tag::kInput, kMissingLabel, true);
    EXPECT_EQ(MaskOf(page, tag::kInput, 1), kMissingLabel);
    EXPECT_EQ(MaskOf("<label for=c>x</label><input type=checkbox id=c>", tag::kInput, 0), 0u);
    settings.SetConformanceLevel(level::kAA);
    EXPECT_EQ(MaskOf("<label for=c>x</label><input type=checkbox id=c>", tag::kInput, 0), kFarLabel);
}

// --- Default texts -----------------------------------------------------------------

TEST_F(InputLabelChecks, TextFieldsNeedADefaultTextAtEveryLevel)
{
    const std::string label = "<label for=t>T</label>";
    EXPECT_EQ(MaskOf(label + "<input type=TEXT id=t>", tag::kInput), kMissingDefault);
    EXPECT_EQ(MaskOf(label + "<input type=text id=t value>", tag::kInput), kMissingDefault);
    settings.SetConformanceLevel(level::kA);  // a priority 3 check, never filtered
    EXPECT_EQ(MaskOf(label + "<input type=text id=t value=\"   \">", tag::kInput, 1), kMissingDefault);
    EXPECT_EQ(MaskOf(label + "<input type=text id=t value=\"Your name\">", tag::kInput, 1), 0u);
    EXPECT_EQ(MaskOf(label + "<input type=password id=t>", tag::kInput), 0u);
}

// --- Selection lists ---------------------------------------------------------------

TEST_F(SelectChecks, ASelectionListNeedsALabelFromLevelAA)
{
    const std::string page = "Colour <select id=s name=colour><option>red</select>";
    settings.SetConformanceLevel(level::kAAA);
    EXPECT_EQ(MaskOf(page, tag::kSelect), kMissingLabel);
    settings.SetConformanceLevel(level::kAA);
    EXPECT_EQ(MaskOf(page, tag::kSelect), kMissingLabel);
    settings.SetConformanceLevel(level::kA);
    EXPECT_EQ(MaskOf(page, tag::kSelect), 0u);
    settings.SetConformanceLevel(level::kSection508);
    EXPECT_EQ(MaskOf(page, tag::kSelect), 0u);
    settings.SetConformanceLevel(level::kA);
    settings.SetAlwaysInclude(tag::kSelect, kMissingLabel, true);
    EXPECT_EQ(MaskOf(page, tag::kSelect), kMissingLabel);
}

TEST_F(SelectChecks, DistanceIsNotJudged)
{
    EXPECT_EQ(MaskOf("<label for=s>Colour</label><p><hr><select id=s></select>", tag::kSelect), 0u);
    EXPECT_EQ(MaskOf("<select id=s></select><label for=s>Colour</label>", tag::kSelect), 0u);
}

// --- Text areas --------------------------------------------------------------------

TEST_F(TextareaChecks, ATextAreaNeedsALabelAndAStartingText)
{
    EXPECT_EQ(MaskOf("<textarea id=t></textarea>", tag::kTextarea), kMissingLabel | kTextareaText);
    EXPECT_EQ(MaskOf("<textarea id=t> \n </textarea>", tag::kTextarea), kMissingLabel | kTextareaText);
    EXPECT_EQ(MaskOf("<label for=T>Notes</label><textarea id=t>Write here</textarea>", tag::kTextarea), 0u);
}

TEST_F(TextareaChecks, TheStartingTextIsFilteredByLevel)
{
    settings.SetConformanceLevel(level::kAA);  // a priority 3 check
    const std::string page = "<label for=t>Notes</label><textarea id=t></textarea>";
    EXPECT_EQ(MaskOf(page, tag::kTextarea, 0), kTextareaText);
    EXPECT_EQ(MaskOf(page, tag::kTextarea, 1), 0u);
}

TEST_F(TextareaChecks, AFarLabelIsNoProblemOfTheCatalogue)
{
    EXPECT_EQ(MaskOf("<label for=t>Notes</label><p><textarea id=t>x</textarea>", tag::kTextarea), 0u);
    EXPECT_TRUE(FindLabel(*Nth(tag::kTextarea), document).far);
}

} // namespace
} // namespace orvane::test
