#include "library/ui/pages/judgements/page_headings_maybe.h"

#include "library/ui/heading_outline.h"
#include "library/ui/paragraph_context.h"

#include "library/checks/element_paragraph.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "platform/services.h"

#include <algorithm>
#include <unordered_set>

namespace orvane {

namespace {
constexpr char kHelpTopic[] = "3-5-2.html";
constexpr int kLevelEntry = 1019;
constexpr int kInstruction = 1021;
constexpr int kFollowsHeading = 1022;
constexpr int kNoHeadingBefore = 1023;
constexpr int kBecomesHeading = 1025;
constexpr int kStaysParagraph = 1026;
constexpr int kParagraphColumn = 1027;
constexpr int kChoiceColumnTitle = 1028;
constexpr int kParagraph = 64;
// When no heading comes before it, the paragraph heads a section below the page's title.
constexpr int kLevelWithoutHeadingBefore = 2;
// b, i, strong, font, em, u
constexpr int kEmphasisTags[] = {8, 42, 76, 29, 26, 91};

bool IsEmphasisTag(int kind)
{
    const int tag = kind >= kind::kEndOffset ? kind - kind::kEndOffset : kind;
    return std::find(std::begin(kEmphasisTags), std::end(kEmphasisTags), tag) != std::end(kEmphasisTags);
}

std::string Number(int n) { return std::to_string(n); }


// Reads the paragraph from its start tag at index to its end tag; false when
// something else than emphasis and text stands in it (it was changed since
// the check marked it), so no markup of another kind is ever dropped.
bool ReadParagraph(const CHtmlDocument& document, std::size_t index, CPageHeadingsMaybe::Candidate& candidate)
{
    const auto& elements = document.Elements();
    candidate.start = elements[index];
    for (std::size_t i = index + 1; i < elements.size(); ++i) {
        CElement* e = elements[i];
        if (e->IsDeleted())
            continue;
        const int kind = e->Kind();
        if (kind == kParagraph + kind::kEndOffset) {
            candidate.end = e;
            candidate.context = ParagraphInContext(document, index, i);
            // An emphasis tag whose partner stands outside the paragraph
            // (pages close them out of order) stays: taken out, it would
            // leave its partner without it.
            const std::unordered_set<const CElement*> inside(candidate.emphasis.begin(), candidate.emphasis.end());
            std::erase_if(candidate.emphasis, [&](const CElement* emphasis) {
                const CElement* partner = emphasis->Partner();
                return partner && partner != emphasis && !inside.contains(partner);
            });
            return !Trim(candidate.text).empty();
        }
        if (kind == kind::kText) {
            const std::string_view piece = Trim(e->Text());
            if (!piece.empty()) {
                if (!candidate.text.empty())
                    candidate.text.push_back(' ');
                candidate.text.append(piece);
            }
        } else if (IsEmphasisTag(kind)) {
            candidate.emphasis.push_back(e);
        } else {
            return false;
        }
    }
    return false;
}
} // namespace

std::vector<CPageHeadingsMaybe::Candidate> CPageHeadingsMaybe::FindCandidates(const CHtmlDocument& document)
{
    std::vector<Candidate> candidates;
    const std::vector<OutlineHeading> headings = ReadOutline(document);
    auto before = headings.begin();
    const OutlineHeading* last = nullptr;
    const auto& elements = document.Elements();
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const auto* paragraph = dynamic_cast<const CElementParagraph*>(elements[i]);
        if (!paragraph || paragraph->IsDeleted() || paragraph->Kind() != kParagraph || !paragraph->IsPotentialHeading())
            continue;
        for (; before != headings.end() && before->position < i; ++before)
            last = &*before;
        Candidate candidate;
        if (!ReadParagraph(document, i, candidate))
            continue;
        if (last) {
            candidate.before = last->text;
            candidate.beforeLevel = last->level;
            candidate.level = outline::FittingLevel(last->level);
        } else {
            candidate.level = kLevelWithoutHeadingBefore;
        }
        candidates.push_back(std::move(candidate));
    }
    return candidates;
}

CPageHeadingsMaybe::CPageHeadingsMaybe(std::vector<Candidate> candidates)
    : CParagraphJudgementPage(kTemplate), m_candidates(std::move(candidates))
{
}

void CPageHeadingsMaybe::Initialise()
{
    platform::IWindow& window = *Window();
    const platform::IStringTable& strings = platform::Strings();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    ListParagraphs(kParagraphColumn, 220, kChoiceColumnTitle);
    window.ClearItems(kLevel);
    for (int level = outline::kTopLevel; level <= outline::kBottomLevel; ++level)
        window.AddItem(kLevel, strings.Format(kLevelEntry, {Number(level)}));
    ShowCurrentParagraph();
}

void CPageHeadingsMaybe::ShowParagraph(int row)
{
    platform::IWindow& window = *Window();
    const Candidate& candidate = m_candidates[static_cast<std::size_t>(row)];
    window.SetChecked(kMakeHeading, !candidate.keep);
    window.SetChecked(kKeep, candidate.keep);
    window.SetCurrentItem(kLevel, candidate.level - 1);
    EnableLevel();
    const platform::IStringTable& strings = platform::Strings();
    if (candidate.beforeLevel > 0)
        window.SetText(kContext, strings.Format(kFollowsHeading, {candidate.before, Number(candidate.beforeLevel),
                                                                  Number(candidate.level)}));
    else
        window.SetText(kContext, strings.Get(kNoHeadingBefore));
    PreviewParagraph(candidate.context, kPreview);
}

void CPageHeadingsMaybe::ShowChoice(int row)
{
    const Candidate& candidate = m_candidates[static_cast<std::size_t>(row)];
    const platform::IStringTable& strings = platform::Strings();
    Window()->SetItemText(kParagraphs, row, kChoiceColumn,
                          candidate.keep ? strings.Get(kStaysParagraph)
                                         : strings.Format(kBecomesHeading, {Number(candidate.level)}));
}

void CPageHeadingsMaybe::EnableLevel() { EnableControls(Window()->IsChecked(kMakeHeading), {kLevel}, false); }

void CPageHeadingsMaybe::TakeChoice(std::size_t row)
{
    platform::IWindow& window = *Window();
    Candidate& candidate = m_candidates[row];
    candidate.keep = window.IsChecked(kKeep);
    if (const int entry = window.CurrentItem(kLevel); entry >= 0)
        candidate.level = entry + 1;
}

void CPageHeadingsMaybe::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    if (m_candidates.empty() || FollowSelection(window, notification))
        return;
    if ((notification.control == kMakeHeading || notification.control == kKeep) &&
        notification.code == platform::NotifyCode::Clicked) {
        ReadChoice();
        EnableLevel();
    } else if (notification.control == kLevel && notification.code == platform::NotifyCode::SelectionChanged) {
        ReadChoice();
    }
}

void CPageHeadingsMaybe::WriteBack()
{
    // The paragraph's own tags come back whatever level the outline page gave them since.
    for (auto renamed = m_renamed.rbegin(); renamed != m_renamed.rend(); ++renamed)
        renamed->element->RenameTag(renamed->name, renamed->kind);
    m_renamed.clear();
    for (CElement* element : m_deleted)
        element->SetDeleted(false);
    m_deleted.clear();
}

bool CPageHeadingsMaybe::Apply()
{
    if (Window())
        ReadChoice();
    WriteBack();
    for (const Candidate& candidate : m_candidates) {
        if (candidate.keep)
            continue;
        const int kind = tag::kH1 + candidate.level - 1;
        const std::string name = "h" + Number(candidate.level);
        for (CElement* tagOf : {candidate.start, candidate.end}) {
            const int given = tagOf == candidate.end ? kind + kind::kEndOffset : kind;
            Renamed renamed{tagOf, std::string(tagOf->WrittenTagName()), tagOf->Kind()};
            if (tagOf->RenameTag(name, given))
                m_renamed.push_back(std::move(renamed));
        }
        // The heading's own look replaces the emphasis; the text stays.
        for (CElement* emphasis : candidate.emphasis) {
            if (!emphasis->IsDeleted()) {
                emphasis->SetDeleted(true);
                m_deleted.push_back(emphasis);
            }
        }
    }
    SetStatus(pagestatus::kRepaired);
    // Only paragraphs all kept as they are leave the page as it was: a verdict.
    const bool allKept = std::all_of(m_candidates.begin(), m_candidates.end(),
                                     [](const Candidate& candidate) { return candidate.keep; });
    SetVerdict(allKept ? "not a heading" : "");
    return true;
}

bool CPageHeadingsMaybe::AnswerIsJudgement() const
{
    return std::any_of(m_candidates.begin(), m_candidates.end(), [](const Candidate& c) { return c.keep; });
}

void CPageHeadingsMaybe::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    SetVerdict({});
    WriteBack();
}

} // namespace orvane
