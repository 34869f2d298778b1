#pragma once

#include "library/ui/page_validator_base.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class CElement;
class CHtmlDocument;

// One text link of the page, as the link text page lists it: its start tag,
// the block it stands in, its own text elements and the text element the
// page writes in their place once the user rewrote the text.
struct CAnchorTextHolder {
    CElement* link = nullptr;
    CElement* context = nullptr;
    CElement* replacement = nullptr;
    std::vector<CElement*> texts;
    int linkClass = 0;
};

// The texts of a page's links read out of context, as a screen reader's list
// of links gives them: every text link is listed and marked when its text is
// empty, too long, says nothing by itself or is shared with a link to
// another target. The user rewrites a text in place in the list (or in the
// field below it); the new text replaces the link's own text in the page,
// every other byte of the page stays as it was.
class CPageAnchorTextlink final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 1313;
    static constexpr int kLinks = 1157;
    static constexpr int kLinkText = 1010;
    static constexpr int kChange = 1011;
    static constexpr int kTarget = 1015;
    static constexpr int kExplanation = 1016;
    static constexpr int kPreview = 1020;

    // Classes of a link's text.
    static constexpr int kFine = 0, kTooLong = 1, kMeaningless = 2, kSameTextOtherTarget = 3, kNoText = 4,
                         kDLinkMark = 5;
    // State icons of the rows, in the check state strip.
    static constexpr int kIconReview = 2, kIconFine = 3;
    // Texts this long or longer are too long to be read as a link's name.
    static constexpr std::size_t kLongText = 61;

    explicit CPageAnchorTextlink(CHtmlDocument& document);
    ~CPageAnchorTextlink() override;
    std::string_view ClassName() const override { return "CPageAnchorTextlink"; }

    void Undo() override;
    bool GivesVerdicts() const override { return true; }
    bool Apply() override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;

    // What the page lists: filled when its window is first made.
    const std::vector<std::unique_ptr<CAnchorTextHolder>>& Holders() const { return m_holders; }
    // The text of the link as the page now writes it, on one line.
    static std::string LinkText(const CAnchorTextHolder& holder);
    // The same as the user reads it.
    std::string ShownText(const CAnchorTextHolder& holder) const;
    // The page's text links, in page order, as the page lists them.
    static std::vector<std::unique_ptr<CAnchorTextHolder>> CollectLinks(const CHtmlDocument& document);
    // Gives each link the class of its text, among the page's links.
    static void ClassifyLinks(const std::vector<std::unique_ptr<CAnchorTextHolder>>& holders);
    // Where the link leads, as the page now writes it; empty for none.
    static std::string_view Target(const CElement& link);

protected:
    void Initialise() override;

private:
    void FillRows();
    void ClassifyRows();
    void ShowRow(int row);
    void Preview(const CAnchorTextHolder& holder);
    // The user's text for the row, as the page writes it; false when it was refused.
    bool Rewrite(int row, std::string_view typed);
    CAnchorTextHolder* HolderOfRow(int row) const;

    CHtmlDocument& m_document;
    std::vector<std::unique_ptr<CAnchorTextHolder>> m_holders;
    bool m_collected = false;
    // The row whose class, target and block the page shows; -1 for none.
    int m_shownRow = -1;
};

} // namespace orvane
