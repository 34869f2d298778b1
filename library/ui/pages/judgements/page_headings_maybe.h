#pragma once

#include "library/ui/pages/judgements/paragraph_judgement_page.h"

#include <string>
#include <vector>

namespace orvane {

// Paragraphs made only of short emphasised text, which readers see as
// headings but a screen reader cannot find as one: each becomes a heading of
// the level its place in the outline calls for (one below the heading before
// it), its emphasis tags dropped and their text kept; or the user judges it
// no heading and it stays as it is.
class CPageHeadingsMaybe final : public CParagraphJudgementPage {
public:
    static constexpr int kTemplate = 213;
    static constexpr int kLevel = 1012;
    static constexpr int kContext = 1013;
    static constexpr int kMakeHeading = 1117;
    static constexpr int kKeep = 1118;

    // One paragraph that looks like a heading, read from its start tag to its end tag.
    struct Candidate {
        CElement* start = nullptr;
        CElement* end = nullptr;
        std::vector<CElement*> emphasis;  // the emphasis tags between them, ends too
        std::string text;                 // its text, as a reader sees it
        std::string context;              // it with the block before it and the one after it, as written
        std::string before;               // the text of the heading before it; empty for none
        int beforeLevel = 0;              // that heading's level; 0 for none
        int level = 2;                    // the level it is to get
        bool keep = false;                // judged no heading
    };
    // The paragraphs the heading check marked, in page order.
    static std::vector<Candidate> FindCandidates(const CHtmlDocument& document);

    explicit CPageHeadingsMaybe(std::vector<Candidate> candidates);
    std::string_view ClassName() const override { return "CPageHeadingsMaybe"; }

    void Undo() override;
    bool GivesVerdicts() const override { return true; }
    bool Apply() override;
    // A paragraph judged no heading stays as it was, and the check asks about it again.
    bool AnswerIsJudgement() const override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;

protected:
    void Initialise() override;

private:
    // A tag this page renamed: its name and kind before.
    struct Renamed {
        CElement* element;
        std::string name;
        int kind;
    };

    std::size_t ParagraphCount() const override { return m_candidates.size(); }
    const std::string& ParagraphText(std::size_t row) const override { return m_candidates[row].text; }
    void ShowParagraph(int row) override;
    void ShowChoice(int row) override;
    void TakeChoice(std::size_t row) override;
    void EnableLevel();
    void WriteBack();

    std::vector<Candidate> m_candidates;
    std::vector<Renamed> m_renamed;
    std::vector<CElement*> m_deleted;
};

} // namespace orvane
