#include "library/ui/pages/judgements/page_quote_maybe.h"

#include "library/ui/default_text_pages.h"
#include "library/ui/paragraph_context.h"

#include "library/checks/element_paragraph.h"
#include "library/checks/quotation_marks.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "platform/services.h"

#include <algorithm>
#include <utility>

namespace orvane {

namespace {
constexpr char kHelpTopic[] = "PotentialQuote.html";
constexpr int kInstruction = 1102;
constexpr int kParagraphColumn = 1103;
constexpr int kChoiceColumnTitle = 1104;
constexpr int kBecomesBlockQuote = 1105;
constexpr int kBecomesShortQuote = 1106;
constexpr int kStaysParagraph = 1107;
constexpr int kParagraph = 64;

// The text as a reader sees its marks: the references pages write them with
// are shown as the characters.
std::string Readable(std::string_view markup)
{
    constexpr std::pair<std::string_view, std::string_view> kMarks[] = {
        {"&quot;", "\""},          {"&ldquo;", "\xe2\x80\x9c"}, {"&rdquo;", "\xe2\x80\x9d"},
        {"&bdquo;", "\xe2\x80\x9e"}, {"&#8220;", "\xe2\x80\x9c"}, {"&#8221;", "\xe2\x80\x9d"},
        {"&#8222;", "\xe2\x80\x9e"}};
    std::string out;
    out.reserve(markup.size());
    for (std::size_t i = 0; i < markup.size(); ++i) {
        bool replaced = false;
        if (markup[i] == '&') {
            for (const auto& [reference, mark] : kMarks) {
                if (markup.substr(i).starts_with(reference)) {
                    out.append(mark);
                    i += reference.size() - 1;
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced)
            out.push_back(markup[i]);
    }
    return defaulttext::FromMarkup(out);
}

// Reads the paragraph from its start tag at index to its end tag; false when
// it no longer holds text alone in one pair of marks (it changed since the
// check marked it), so no markup is ever lost.
bool ReadParagraph(const CHtmlDocument& document, std::size_t index, CPageQuoteMaybe::Candidate& candidate)
{
    const auto& elements = document.Elements();
    candidate.start = elements[index];
    for (std::size_t i = index + 1; i < elements.size(); ++i) {
        CElement* e = elements[i];
        if (e->IsDeleted())
            continue;
        if (e->Kind() == kParagraph + kind::kEndOffset) {
            candidate.end = e;
            break;
        }
        if (e->Kind() != kind::kText)
            return false;
        const std::string_view piece = Trim(e->Text());
        if (piece.empty())
            continue;
        if (!candidate.first)
            candidate.first = e;
        candidate.last = e;
        if (!candidate.text.empty())
            candidate.text.push_back(' ');
        candidate.text.append(piece);
    }
    candidate.text = Readable(candidate.text);
    return candidate.end && candidate.first && quotemarks::OpeningLength(Trim(candidate.first->Text())) > 0 &&
           quotemarks::ClosingLength(Trim(candidate.last->Text())) > 0;
}
} // namespace

std::vector<CPageQuoteMaybe::Candidate> CPageQuoteMaybe::FindCandidates(const CHtmlDocument& document)
{
    std::vector<Candidate> candidates;
    const auto& elements = document.Elements();
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const auto* paragraph = dynamic_cast<const CElementParagraph*>(elements[i]);
        if (!paragraph || paragraph->IsDeleted() || paragraph->Kind() != kParagraph || !paragraph->IsPotentialQuote())
            continue;
        Candidate candidate;
        if (!ReadParagraph(document, i, candidate))
            continue;
        candidate.open = paragraph->QuoteOpen();
        candidate.close = paragraph->QuoteClose();
        // Without the made elements it can still be a short quotation.
        if (!candidate.open || !candidate.close)
            candidate.choice = kShortQuote;
        candidates.push_back(std::move(candidate));
    }
    return candidates;
}

CPageQuoteMaybe::CPageQuoteMaybe(std::vector<Candidate> candidates, const CHtmlDocument& document)
    : CParagraphJudgementPage(kTemplate), m_candidates(std::move(candidates)), m_document(document)
{
}

void CPageQuoteMaybe::Initialise()
{
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    ListParagraphs(kParagraphColumn, 260, kChoiceColumnTitle);
    ShowCurrentParagraph();
}

void CPageQuoteMaybe::ShowParagraph(int row)
{
    platform::IWindow& window = *Window();
    const Candidate& candidate = m_candidates[static_cast<std::size_t>(row)];
    window.Enable(kBlockQuote, candidate.open && candidate.close);
    for (int id : {kBlockQuote, kShortQuote, kNoQuote})
        window.SetChecked(id, id == candidate.choice);
    PreviewParagraph(ParagraphInContext(m_document, m_document.IndexOf(*candidate.start), m_document.IndexOf(*candidate.end)), kPreview);
}

void CPageQuoteMaybe::ShowChoice(int row)
{
    const Candidate& candidate = m_candidates[static_cast<std::size_t>(row)];
    const int text = candidate.choice == kBlockQuote   ? kBecomesBlockQuote
                     : candidate.choice == kShortQuote ? kBecomesShortQuote
                                                       : kStaysParagraph;
    Window()->SetItemText(kParagraphs, row, kChoiceColumn, platform::Strings().Get(text));
}

void CPageQuoteMaybe::TakeChoice(std::size_t row)
{
    platform::IWindow& window = *Window();
    Candidate& candidate = m_candidates[row];
    for (int id : {kBlockQuote, kShortQuote, kNoQuote}) {
        if (window.IsChecked(id))
            candidate.choice = id;
    }
    if (candidate.choice == kBlockQuote && (!candidate.open || !candidate.close))
        candidate.choice = kShortQuote;
}

void CPageQuoteMaybe::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    if (m_candidates.empty() || FollowSelection(window, notification))
        return;
    if ((notification.control == kBlockQuote || notification.control == kShortQuote ||
         notification.control == kNoQuote) &&
        notification.code == platform::NotifyCode::Clicked) {
        ReadChoice();
    }
}

bool CPageQuoteMaybe::ChangeText(CElement& element, std::string_view text)
{
    Changed changed{&element, element.GetText(), element.IsModified(), element.Kind()};
    if (!element.SetText(text))
        return false;
    element.SetModified(true);
    m_changed.push_back(std::move(changed));
    return true;
}

bool CPageQuoteMaybe::Write(const Candidate& candidate)
{
    if (candidate.choice == kBlockQuote) {
        if (!candidate.open || !candidate.close || !ChangeText(*candidate.open, "<blockquote>") ||
            !ChangeText(*candidate.close, "</blockquote>"))
            return false;
        // The tags written in are the blockquote for the checks of this session too.
        const int blockquote = TagIdOfToken("<blockquote>");
        candidate.open->SetKind(blockquote);
        candidate.close->SetKind(blockquote + kind::kEndOffset);
        for (CElement* made : {candidate.open, candidate.close}) {
            made->SetDeleted(false);
            m_shown.push_back(made);
        }
        return true;
    }
    if (candidate.choice != kShortQuote)
        return true;
    // q gives the quotation its marks, so the typed ones make way for its tags;
    // the spaces around them stay where they were.
    std::string first = candidate.first->GetText();
    const std::size_t lead = first.size() - TrimLeft(first).size();
    const std::size_t open = quotemarks::OpeningLength(std::string_view(first).substr(lead));
    first.replace(lead, open, "<q>");
    std::string last = candidate.first == candidate.last ? first : candidate.last->GetText();
    const std::size_t kept = TrimRight(last).size();
    const std::size_t close = quotemarks::ClosingLength(std::string_view(last).substr(0, kept));
    last.replace(kept - close, close, "</q>");
    if (candidate.first == candidate.last)
        return ChangeText(*candidate.first, last);
    return ChangeText(*candidate.first, first) && ChangeText(*candidate.last, last);
}

void CPageQuoteMaybe::WriteBack()
{
    for (CElement* made : m_shown)
        made->SetDeleted(true);
    m_shown.clear();
    for (auto changed = m_changed.rbegin(); changed != m_changed.rend(); ++changed) {
        changed->element->SetText(changed->text);
        changed->element->SetModified(changed->modified);
        changed->element->SetKind(changed->kind);
    }
    m_changed.clear();
}

bool CPageQuoteMaybe::Apply()
{
    if (Window())
        ReadChoice();
    WriteBack();
    for (const Candidate& candidate : m_candidates) {
        if (!Write(candidate)) {
            // Out of memory: nothing half written stays.
            WriteBack();
            return false;
        }
    }
    SetStatus(pagestatus::kRepaired);
    const bool noneQuoted = std::all_of(m_candidates.begin(), m_candidates.end(),
                                        [](const Candidate& candidate) { return candidate.choice == kNoQuote; });
    SetVerdict(noneQuoted ? "not a quotation" : "");
    if (Window() && !m_candidates.empty())
        ShowParagraph(Row());
    return true;
}

bool CPageQuoteMaybe::AnswerIsJudgement() const
{
    return std::any_of(m_candidates.begin(), m_candidates.end(),
                       [](const Candidate& c) { return c.choice == kNoQuote; });
}

void CPageQuoteMaybe::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    SetVerdict({});
    WriteBack();
    if (Window() && !m_candidates.empty())
        ShowParagraph(Row());
}

} // namespace orvane
