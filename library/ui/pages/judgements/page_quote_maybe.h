#pragma once

#include "library/ui/pages/judgements/paragraph_judgement_page.h"

#include <string>
#include <vector>

namespace orvane {

// Paragraphs that stand whole in quotation marks: a screen reader reads them
// as the page's own words. A long quotation becomes a blockquote around its
// paragraph; a short one is marked up with q inside it, which adds its own
// marks, so the typed ones go; or the user judges it no quotation.
class CPageQuoteMaybe final : public CParagraphJudgementPage {
public:
    static constexpr int kTemplate = 214;
    static constexpr int kBlockQuote = 1140;
    static constexpr int kShortQuote = 1141;
    static constexpr int kNoQuote = 1142;

    // One quoted paragraph, read from its start tag to its end tag.
    struct Candidate {
        CElement* start = nullptr;
        CElement* end = nullptr;
        CElement* open = nullptr;   // made before the paragraph, deleted until it takes <blockquote>
        CElement* close = nullptr;  // made after its end tag, for </blockquote>
        CElement* first = nullptr;  // the text that holds the opening mark
        CElement* last = nullptr;   // the text that holds the closing mark
        std::string text;           // its text, as a reader sees it
        int choice = kBlockQuote;
    };
    // The paragraphs the quotation check marked, in page order.
    static std::vector<Candidate> FindCandidates(const CHtmlDocument& document);

    CPageQuoteMaybe(std::vector<Candidate> candidates, const CHtmlDocument& document);
    std::string_view ClassName() const override { return "CPageQuoteMaybe"; }

    void Undo() override;
    bool GivesVerdicts() const override { return true; }
    bool Apply() override;
    // A paragraph judged no quotation stays as it was, and the check asks about it again.
    bool AnswerIsJudgement() const override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;

protected:
    void Initialise() override;

private:
    // A text this page changed, and its text before.
    struct Changed {
        CElement* element;
        std::string text;
        bool modified;
        int kind;
    };

    std::size_t ParagraphCount() const override { return m_candidates.size(); }
    const std::string& ParagraphText(std::size_t row) const override { return m_candidates[row].text; }
    void ShowParagraph(int row) override;
    void ShowChoice(int row) override;
    void TakeChoice(std::size_t row) override;
    void WriteBack();
    bool ChangeText(CElement& element, std::string_view text);
    bool Write(const Candidate& candidate);

    std::vector<Candidate> m_candidates;
    const CHtmlDocument& m_document;
    std::vector<Changed> m_changed;
    std::vector<CElement*> m_shown;
};

} // namespace orvane
