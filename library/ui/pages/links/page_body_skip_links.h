#pragma once

#include "library/ui/page_validator_base.h"

#include <string>
#include <string_view>

namespace orvane {

class CElement;
class CHtmlDocument;

// Lets a keyboard or screen reader user jump over a long run of links (a
// navigation bar): a link in front of the run leads to a named anchor right
// after the run's last link. Only the page's first run gets one; the user
// may also say that no such link is needed. The proposed text, or one of the
// user's own, is the link's; the option buttons follow which one it is.
class CPageBodySkipLinks final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 1328;
    static constexpr int kLinks = 1040;
    static constexpr int kNotNeeded = 1414;
    static constexpr int kInsertOwnText = 1415;
    static constexpr int kInsert = 1416;
    static constexpr int kLinkText = 1010;

    // The first and last link of the page's first run that needs a skip-over
    // link; none when the page has no such run, or its last link is not closed
    // or stands in another link (the anchor would land inside it).
    struct Run {
        CElement* first = nullptr;
        CElement* last = nullptr;
    };
    static Run FindFirstRun(const CHtmlDocument& document);

    CPageBodySkipLinks(CHtmlDocument& document, Run run, std::string_view lineEnd);
    std::string_view ClassName() const override { return "CPageBodySkipLinks"; }

    void Undo() override;
    bool Apply() override;
    // "Not needed" is the user's judgement that the links before the content are few enough.
    bool AnswerIsJudgement() const override { return Status() == pagestatus::kRepaired && m_option == kNotNeeded; }
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;

    const std::string& AnchorName() const { return m_anchorName; }

protected:
    void Initialise() override;

private:
    void MakeInsertedElements();
    void ShowInserted(bool shown);
    std::string LinkMarkup(std::string_view text) const;
    std::string UniqueAnchorName() const;

    CHtmlDocument& m_document;
    Run m_run;
    bool m_laterRun = false;  // the page has another run of links after this one
    std::string m_lineEnd;
    CElement* m_link = nullptr;
    CElement* m_target = nullptr;
    std::string m_anchorName;
    int m_option = kInsert;
    std::string m_linkText;
};

} // namespace orvane
