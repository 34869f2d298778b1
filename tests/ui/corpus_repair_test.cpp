#include "ui_fixture.h"

#include "library/html/element.h"
#include "library/html/tag_table.h"
#include "library/ui/pages/text_alternatives/page_img_alt_text.h"
#include "library/ui/pages/text_alternatives/page_input_alt_text.h"
#include "library/ui/pages/forms/page_input_default_text.h"
#include "library/ui/pages/forms/page_textarea_default_text.h"

#include <algorithm>
#include <map>

namespace orvane::test {
namespace {

// The page with each change made: at its offset, that many bytes replaced
// by its text. The last first, so that the offsets before it still hold.
std::string WithChanges(std::string page, const std::map<std::uint64_t, std::pair<std::uint64_t, std::string>>& changes)
{
    for (auto it = changes.rbegin(); it != changes.rend(); ++it)
        page.replace(it->first, it->second.first, it->second.second);
    return page;
}

// Every text field and text area of the real pages is given a default text
// through its page; the page written back differs from the file only inside
// the controls repaired, line ends and all.
TEST_F(RepairRunTest, RepairingTheCorpusFormControlsKeepsEveryOtherByte)
{
    int repairedPages = 0;
    for (const std::string& path : CorpusPages()) {
        SCOPED_TRACE(path);
        const std::string original = ReadFileBytes(path);
        Load(original);
        CValidatorSheet run;
        StartSheet(run, path);
        const int added = AddPages(run, [](std::string_view check) {
            return check == "InputMissingDefault" || check == "TextareaText";
        });
        if (added == 0)
            continue;
        repairedPages += 1;
        windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
            for (int i = 0; i < run.PageCount(); ++i) {
                const bool area = run.Page(i).TemplateId() == CPageTextAreaDefaultText::kTemplate;
                w.PageWindow(i).Type(area ? CPageTextAreaDefaultText::kDefaultText : CPageInputDefaultText::kDefaultText,
                                     "Default \"" + std::to_string(i) + "\"");
                w.Click(i + 1 < run.PageCount() ? platform::kIdNext : platform::kIdFinish);
            }
        });
        EXPECT_EQ(run.DoModal(nullptr), platform::kIdFinish);

        // What the file should read: each repaired control's source replaced by
        // its rebuilt tag, each text area's default text after its start tag.
        std::map<std::uint64_t, std::pair<std::uint64_t, std::string>> changes;  // offset: (length, text)
        for (int i = 0; i < run.PageCount(); ++i) {
            const CElement& control = *run.Page(i).Element();
            const std::uint64_t offset = document.SourceOffsetOf(control);
            ASSERT_NE(offset, CElement::kNoSource);
            const std::uint64_t end = offset + control.Text().size();
            ASSERT_EQ(original.substr(offset, control.Text().size()), control.Text());
            if (control.Kind() == tag::kTextarea) {
                const CElement* text = document.ElementAfter(&control);
                ASSERT_FALSE(text->IsDeleted());
                changes[end] = {0, text->GetText()};
            } else {
                EXPECT_NE(control.MarkupText(), control.GetText());
                changes[offset] = {control.Text().size(), control.MarkupText()};
            }
        }
        const std::string expected = WithChanges(original, changes);
        EXPECT_TRUE(document.Text() == expected) << "the written page differs outside the repaired controls";
    }
    if (CorpusDirectory().empty())
        GTEST_SKIP() << "no corpus beside the project";
    EXPECT_GT(repairedPages, 0);
}

// Every image and image button of the real pages without a usable text gets
// one through its page, the places of one picture file from its first page;
// the page written back differs from the file only inside the tags repaired.
TEST_F(RepairRunTest, GivingTheCorpusImagesTheirTextsKeepsEveryOtherByte)
{
    int repairedPages = 0;
    for (const std::string& path : CorpusPages()) {
        SCOPED_TRACE(path);
        const std::string original = ReadFileBytes(path);
        Load(original);
        CValidatorSheet run;
        StartSheet(run, path);
        run.SetSkipAdvances(true);
        const int added = AddPages(run, [](std::string_view check) {
            return check.starts_with("ImgAltText") || check.starts_with("InputAltText");
        });
        if (added == 0)
            continue;
        repairedPages += 1;
        windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
            for (int shown = 0; shown < run.PageCount(); ++shown) {
                w.PageWindow(shown).Type(CPageImgAltText::kText, "Picture <" + std::to_string(shown) + "> &copy; & \"more\"");
                if (!w.IsVisible(platform::kIdNext) || !w.IsEnabled(platform::kIdNext))
                    break;
                w.Click(platform::kIdNext);
            }
            w.Click(platform::kIdFinish);
        });
        EXPECT_EQ(run.DoModal(nullptr), platform::kIdFinish);
        EXPECT_TRUE(windows.prompt.messages.empty()) << windows.prompt.messages.front().text;

        std::map<std::uint64_t, std::pair<std::uint64_t, std::string>> changes;  // offset: (length, text)
        for (int i = 0; i < run.PageCount(); ++i) {
            const CElement& picture = *run.Page(i).Element();
            EXPECT_EQ(run.Page(i).Status(), pagestatus::kRepaired);
            // A bare ampersand is written as a reference, one typed as a reference stays.
            EXPECT_NE(picture.MarkupText().find("> &copy; &amp; \"more\"'"), std::string::npos) << picture.MarkupText();
            const std::uint64_t offset = document.SourceOffsetOf(picture);
            ASSERT_NE(offset, CElement::kNoSource);
            ASSERT_EQ(original.substr(offset, picture.Text().size()), picture.Text());
            changes[offset] = {picture.Text().size(), picture.MarkupText()};
        }
        const std::string expected = WithChanges(original, changes);
        EXPECT_TRUE(document.Text() == expected) << "the written page differs outside the repaired pictures";
    }
    if (CorpusDirectory().empty())
        GTEST_SKIP() << "no corpus beside the project";
    EXPECT_GT(repairedPages, 0);
}

} // namespace
} // namespace orvane::test
