#include "ui_fixture.h"

#include "library/html/element.h"
#include "library/ui/page_validator_base.h"

#include <filesystem>

namespace orvane::test {
namespace {

using platform::kIdBack;
constexpr int kSkip = CValidatorSheet::kSkipUndoButton;
constexpr std::uint32_t kBit = 0x1;

// A page whose repair marks its element; image pages of one source merge,
// also with the pages of a class derived from it.
class CTestPage : public CPageValidatorBase {
public:
    explicit CTestPage(std::string_view source = {}, bool stays = false) : CPageValidatorBase(1310), m_stays(stays)
    {
        SetKey(source);
        SetMergeable(!source.empty());
        SetHelpTopic("1-1-1.html");
    }
    bool Apply() override
    {
        ++applied;
        if (m_stays)
            return false;
        SetStatus(pagestatus::kRepaired);
        return true;
    }
    void Undo() override
    {
        ++undone;
        SetStatus(pagestatus::kNotRepaired);
    }
    bool IsSameKind(const CPageValidatorBase& other) const override { return IsOfClass<CTestPage>(other); }
    int applied = 0;
    int undone = 0;

private:
    bool m_stays;
};

class CDerivedTestPage final : public CTestPage {
public:
    using CTestPage::CTestPage;
    bool IsSameKind(const CPageValidatorBase& other) const override { return IsOfClass<CDerivedTestPage>(other); }
};

class ValidatorSheetTest : public RepairRunTest {
protected:
    // n pages, each for an element of its own with a problem; the sources key the merges.
    std::vector<CTestPage*> AddTestPages(std::vector<std::string> sources)
    {
        std::vector<CTestPage*> pages;
        for (const std::string& source : sources) {
            elements.push_back(std::make_unique<CElement>());
            elements.back()->SetProblemMask(kBit);
            auto page = std::make_unique<CTestPage>(source);
            page->Attach(*elements.back(), kBit);
            pages.push_back(static_cast<CTestPage*>(&sheet.AddPage(std::move(page))));
        }
        return pages;
    }

    static bool Shows(CMemoryWindow& w, int button) { return w.IsVisible(button) && w.IsEnabled(button); }

    std::vector<std::unique_ptr<CElement>> elements;
};

TEST_F(ValidatorSheetTest, NextBackAndFinishFollowThePagesAndTheTitleCountsThem)
{
    StartSheet();
    auto pages = AddTestPages({"", "", ""});
    RunSheetToFinish([&](CMemoryWindow& w) {
        EXPECT_EQ(w.Title(), "Repair page.html - problem 1 of 3");
        EXPECT_TRUE(Shows(w, kIdNext));
        EXPECT_FALSE(w.IsEnabled(kIdBack));
        EXPECT_FALSE(w.IsVisible(kIdFinish));
        EXPECT_EQ(w.Text(kSkip), "&Skip");
        EXPECT_FALSE(w.IsVisible(kOption));
        EXPECT_EQ(w.SystemCommands(), std::vector<std::string>{"&About Orvane..."});

        w.Click(kIdNext);
        EXPECT_EQ(w.CurrentPage(), 1);
        EXPECT_EQ(w.Title(), "Repair page.html - problem 2 of 3");
        EXPECT_TRUE(Shows(w, kIdBack) && Shows(w, kIdNext));
        w.Click(kIdBack);  // Back does not apply
        EXPECT_EQ(w.CurrentPage(), 0);
        w.PressEnter();    // Enter is Next
        w.Click(kIdNext);
        EXPECT_EQ(w.CurrentPage(), 2);
        EXPECT_TRUE(Shows(w, kIdBack) && Shows(w, kIdFinish));
        EXPECT_FALSE(w.IsVisible(kIdNext));

        // Back on a repaired page offers Undo, which reverts it.
        w.Click(kIdBack);
        EXPECT_EQ(w.Text(kSkip), "&Undo");
        w.Click(kSkip);
        EXPECT_EQ(pages[1]->undone, 1);
        EXPECT_FALSE(elements[1]->IsRepaired(kBit, 1));
        EXPECT_EQ(w.Text(kSkip), "&Skip");

        w.PressHelp();
        w.ChooseSystemCommand(platform::kCommandAbout);
        w.Click(kIdNext);
        w.Click(kIdFinish);
    });
    EXPECT_EQ(pages[0]->applied, 2);
    EXPECT_EQ(pages[2]->applied, 1);
    EXPECT_TRUE(elements[2]->IsRepaired(kBit, 1));
    ExpectHelpShown({"1-1-1.html"});
    EXPECT_EQ(DialogRecord().aboutBoxes, 1);
}

// A page's window, and what its Initialise reads from the page, comes when
// the user first reaches it: a run over thousands of problems holds windows
// only for the pages shown, and a page reads what the pages before it changed.
TEST_F(ValidatorSheetTest, APagesWindowIsMadeWhenTheUserFirstReachesIt)
{
    StartSheet();
    auto pages = AddTestPages({"", "", "", ""});
    ShowSheet([&](CMemoryWindow& w) {
        EXPECT_EQ(w.PageCount(), 1);
        EXPECT_NE(pages[0]->Window(), nullptr);
        EXPECT_EQ(pages[1]->Window(), nullptr);
        pages[1]->SetSkip(true);
        w.Click(kIdNext);
        EXPECT_EQ(sheet.ActiveIndex(), 2);
        EXPECT_EQ(pages[1]->Window(), nullptr) << "passed over, never shown";
        pages[1]->SetSkip(false);
        w.Click(kIdBack);
        EXPECT_EQ(sheet.ActiveIndex(), 1);
        w.Click(kIdBack);
        EXPECT_EQ(sheet.ActiveIndex(), 0);
        EXPECT_EQ(w.PageCount(), 3) << "pages shown again keep their windows";
        EXPECT_EQ(pages[3]->Window(), nullptr);
        w.PressEscape();
    });
}

TEST_F(ValidatorSheetTest, OnePageShowsOnlyFinishAndAPageThatRefusesKeepsTheUser)
{
    StartSheet();
    elements.push_back(std::make_unique<CElement>());
    elements.back()->SetProblemMask(kBit);
    auto refusing = std::make_unique<CTestPage>("", true);
    refusing->Attach(*elements.back(), kBit);
    CTestPage& page = static_cast<CTestPage&>(sheet.AddPage(std::move(refusing)));
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        EXPECT_TRUE(Shows(w, kIdFinish));
        EXPECT_FALSE(w.IsVisible(kIdNext));
        EXPECT_FALSE(w.IsEnabled(kIdBack));
        w.Click(kIdFinish);
        EXPECT_FALSE(w.HasEnded());
        w.PressEscape();  // nothing was repaired: closes without asking
    });
    EXPECT_EQ(sheet.DoModal(nullptr), platform::kIdCancel);
    EXPECT_EQ(page.applied, 1);
    EXPECT_TRUE(windows.prompt.messages.empty());
    EXPECT_TRUE(page.IsCancelled());
}

TEST_F(ValidatorSheetTest, PagesOfOneSourceMergeAndUntickingBringsThemBack)
{
    StartSheet();
    auto pages = AddTestPages({"logo.gif", "other.gif", "logo.gif", "logo.gif"});
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        EXPECT_TRUE(pages[2]->IsSkipped() && pages[3]->IsSkipped());
        EXPECT_EQ(w.Title(), "Repair page.html - problem 1 of 2");
        EXPECT_TRUE(w.IsVisible(kOption));
        EXPECT_TRUE(w.IsChecked(kOption));
        // Next passes over the merged pages: the second page is the last one shown.
        w.Click(kIdNext);
        EXPECT_EQ(w.CurrentPage(), 1);
        EXPECT_TRUE(Shows(w, kIdFinish));
        EXPECT_FALSE(w.IsVisible(kOption));
        w.Click(kIdBack);
        EXPECT_TRUE(w.IsChecked(kOption));

        w.Click(kOption);
        EXPECT_FALSE(pages[2]->IsSkipped() || pages[3]->IsSkipped());
        EXPECT_EQ(w.Title(), "Repair page.html - problem 1 of 4");
        w.Click(kIdNext);
        w.Click(kIdNext);
        EXPECT_EQ(w.CurrentPage(), 2);
        // Skip moves on without applying; on the last counted page it closes the sheet.
        w.Click(kSkip);
        EXPECT_EQ(w.CurrentPage(), 3);
        w.Click(kSkip);
    });
    EXPECT_EQ(sheet.DoModal(nullptr), 0);
    EXPECT_EQ(pages[2]->applied + pages[3]->applied, 0);
}

TEST_F(ValidatorSheetTest, AMergeReachesThePagesOfADerivedClassButNotTheOtherWayRound)
{
    StartSheet();
    auto addDerived = [&] {
        elements.push_back(std::make_unique<CElement>());
        elements.back()->SetProblemMask(kBit);
        auto page = std::make_unique<CDerivedTestPage>("logo.gif");
        page->Attach(*elements.back(), kBit);
        return static_cast<CTestPage*>(&sheet.AddPage(std::move(page)));
    };
    CTestPage* derivedFirst = addDerived();
    CTestPage* base = AddTestPages({"logo.gif"}).front();
    CTestPage* derivedLast = addDerived();
    ShowSheet([&](CMemoryWindow& w) {
        // The derived page reaches only its own class; the base page reaches the derived one.
        EXPECT_FALSE(base->IsSkipped());
        EXPECT_TRUE(derivedLast->IsSkipped());
        EXPECT_EQ(w.Title(), "Repair page.html - problem 1 of 2");
        EXPECT_FALSE(derivedFirst->IsSkipped());
        w.Click(kIdNext);
        w.Click(kIdFinish);
    });
}

TEST_F(ValidatorSheetTest, CancelAfterARepairAsksOnceAndNoUndoesWhatThisRunRepaired)
{
    StartSheet();
    auto pages = AddTestPages({"", "", ""});
    elements[2]->SetRepaired(kBit, true);  // repaired in an earlier run
    pages[2]->Attach(*elements[2], kBit);
    pages[2]->SetStatus(pagestatus::kRepaired);
    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        w.PressEscape();  // only an earlier repair: no question
    });
    EXPECT_EQ(sheet.DoModal(nullptr), platform::kIdCancel);
    EXPECT_TRUE(windows.prompt.messages.empty());

    windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
        w.Click(kIdNext);
        windows.AnswerNextMessage(platform::kAnswerCancel);
        w.Click(platform::kIdCancel);
        EXPECT_FALSE(w.HasEnded());
        windows.AnswerNextMessage(platform::kAnswerNo);
        w.PressCloseBox();
    });
    EXPECT_EQ(sheet.DoModal(nullptr), platform::kIdCancel);
    ASSERT_TRUE(ToldLast(2, Strings(167)));
    EXPECT_EQ(windows.prompt.messages[1].buttons, platform::PromptButtons::YesNoCancel);
    EXPECT_EQ(pages[0]->undone, 1);
    EXPECT_FALSE(elements[0]->IsRepaired(kBit, 1));
    EXPECT_EQ(pages[2]->undone, 0);
    EXPECT_TRUE(elements[2]->IsRepaired(kBit, 1));
}

// An image's text alternative may be missing, too long and suspicious at
// once: one page repairs all three, and its undo opens all three again.
TEST_F(ValidatorSheetTest, APageThatMendsSeveralProblemsOfItsElementMarksAndUndoesEachOfThem)
{
    constexpr std::uint32_t kTooLong = 0x4;
    constexpr std::uint32_t kSuspicious = 0x10;
    StartSheet();
    auto pages = AddTestPages({""});
    CElement& image = *elements[0];
    image.SetProblemMask(kBit | kTooLong | kSuspicious);
    pages[0]->AlsoMends(kTooLong);
    pages[0]->AlsoMends(kSuspicious);
    EXPECT_EQ(pages[0]->MendedBits(), kBit | kTooLong | kSuspicious);
    ShowSheet([&](CMemoryWindow& w) {
        w.Click(kIdFinish);
    });
    for (std::uint32_t bit : {kBit, kTooLong, kSuspicious})
        EXPECT_TRUE(image.IsRepaired(bit, 1)) << bit;

    pages[0]->Undo();
    for (std::uint32_t bit : {kBit, kTooLong, kSuspicious})
        EXPECT_FALSE(image.IsRepaired(bit, 1)) << bit;
}

TEST_F(ValidatorSheetTest, PreviewsAreWrittenToTheUserFolderAndGoWithTheSheet)
{
    StartSheet();
    auto pages = AddTestPages({""});
    pages[0]->SetImageSize(160, 20);
    EXPECT_TRUE(pages[0]->IsBannerImage());
    EXPECT_FALSE(pages[0]->IsSmallImage());
    const std::string preview = pages[0]->PreviewPagePath();
    ShowSheet([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        ASSERT_TRUE(pages[0]->PreviewImage("img/logo.gif", 1020));
        EXPECT_EQ(ReadFileBytes(preview),
                  "<HTML><HEAD></HEAD><BODY><IMG SRC=\"/site/forms/img/logo.gif\" WIDTH=\"160\"></BODY></HTML>");
        EXPECT_EQ(page.Browser(1020)->Address(), preview);
        EXPECT_TRUE(pages[0]->PreviewAddress("http://example.org/a.html", 1020));
        EXPECT_EQ(page.Browser(1020)->Address(), "http://example.org/a.html");
        // The document preview settles with one refresh shortly after.
        ASSERT_TRUE(pages[0]->PreviewDocument("#top", document, 1020, false));
        EXPECT_EQ(page.Browser(1020)->Address(), preview + "#top");
        page.FireTimer(CPageValidatorBase::kRefreshTimer);
        EXPECT_FALSE(page.IsTimerRunning(CPageValidatorBase::kRefreshTimer));
        w.Click(kIdFinish);
    });
    EXPECT_FALSE(std::filesystem::exists(preview));
}

// A page's preview is its own: another page's refresh never shows it, and
// what it names is looked up in the page's folder, not in the user's.
TEST_F(ValidatorSheetTest, EachPageShowsItsOwnPreviewWithThePagesFolderForWhatItNames)
{
    StartSheet();
    auto pages = AddTestPages({"", ""});
    ASSERT_NE(pages[0]->PreviewPagePath(), pages[1]->PreviewPagePath());
    ShowSheet([&](CMemoryWindow& w) {
        ASSERT_TRUE(pages[0]->PreviewParagraph("First <img src=\"img/a.gif\">", 1020));
        w.Click(kIdNext);
        ASSERT_TRUE(pages[1]->PreviewParagraph("Second", 1020));
        EXPECT_EQ(ReadFileBytes(pages[0]->PreviewPagePath()),
                  "<html><head><meta charset=\"UTF-8\"></head><body><p>First <img src=\"img/a.gif\"></p></body></html>");
        EXPECT_EQ(w.PageWindow(0).Browser(1020)->Address(), pages[0]->PreviewPagePath());
        EXPECT_EQ(w.PageWindow(1).Browser(1020)->Address(), pages[1]->PreviewPagePath());
        EXPECT_EQ(w.PageWindow(0).BrowserResourceFolder(1020), "/site/forms/");
        w.Click(kIdFinish);
    });
}

} // namespace
} // namespace orvane::test
