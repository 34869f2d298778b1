#include "element_anchor.h"

#include "check_run.h"
#include "repair_pages.h"
#include "text_search.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/registry/object_database.h"
#include "library/html/text_util.h"
#include "platform/services.h"

namespace orvane {

namespace {

constexpr std::uint32_t kTranscriptBit = 0x1;
constexpr int kImageInLinkText = 441;

constexpr CheckInfo kAnchorChecks[] = {
    {.bit = 0x1, .name = "AnchorTranscript", .titleId = 218, .priority = 1, .section508 = true,
     .repairPage = "CPageAnchorTranscript", .helpTopic = "1-1-6.html"},
    {.bit = 0x2, .name = "AnchorNewWindow", .titleId = 437, .titleSuffix = " - ANCHOR", .priority = 2,
     .repairPage = "CPageAnchorNewWindow", .helpTopic = "10-1-1.html"},
};

// Searched case-sensitively, anywhere in the address.
constexpr CDottedEndings<13> kSoundExtensions({".wav", ".au", ".snd", ".dwd", ".iff", ".svx", ".sam", ".smp", ".vce",
                                               ".voc", ".vox", ".pcm", ".aif"},
                                              false);

bool LinksToSound(std::string_view href) { return kSoundExtensions.FoundIn(href); }

// Words a link names a transcript by: the link text the transcript page
// writes in either language of the program, or the file name it proposes.
bool NamesTranscript(std::string_view text)
{
    return ContainsIgnoreCase(text, "transcript") || ContainsIgnoreCase(text, "transkript");
}

// A link to a recording is followed by its transcript's link as the
// transcript page writes it: after the end tag, with nothing but blank text
// between, a link that is no recording itself and says it is a transcript.
bool TranscriptLinkBeside(const CElement& link, const CHtmlDocument& document)
{
    const CElement* end = link.Partner();
    if (!end || end == &link || !document.Find(end) || document.IndexOf(*end) < document.IndexOf(link))
        return false;
    const CElement* next = document.ElementAfter(end);
    while (next && (next->IsDeleted() || (next->Kind() == kind::kText && Trim(next->Text()).empty())))
        next = document.ElementAfter(next);
    const auto* transcript = next && next->Kind() == tag::kA ? dynamic_cast<const CElementAnchor*>(next) : nullptr;
    const CAttribute* href = transcript ? transcript->FindAttribute(attr::kHref) : nullptr;
    return href && !Trim(href->Value()).empty() && !LinksToSound(href->Value()) &&
           (NamesTranscript(transcript->LinkText()) || NamesTranscript(href->Value()));
}

bool OpensNewWindow(const CAttribute* target)
{
    // A target a repair took out is not in the page.
    return target && !target->IsHidden() && (EqualsIgnoreCase(target->Value(), "_new") || EqualsIgnoreCase(target->Value(), "_blank"));
}

// A new window the user accepted for this link of this page stays unreported.
bool NewWindowAccepted(const CHtmlDocument& document, std::string_view href)
{
    const CSrcObjectDatabase* registry = document.ObjectRegistry();
    if (!registry)
        return false;
    const CSrcLink* link = registry->FindLink(document.Name(), document.ComparedText(href));
    return link && link->HasWarning();
}

} // namespace

int CElementAnchor::Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel)
{
    const auto [href, target] = FindAttributes<2>(*this, {attr::kHref, attr::kTarget});
    if (!href)
        return 0;  // a named anchor: nothing to check, the last result stands
    CCheckRun run{settings, document, applyLevel};
    std::uint32_t mask = 0;
    if (run.Runs(*this, kTranscriptBit) && LinksToSound(href->Value()) && !TranscriptLinkBeside(*this, document))
        mask |= kTranscriptBit;
    if (run.Runs(*this, kNewWindowBit) && OpensNewWindow(target) && !NewWindowAccepted(document, href->Value()))
        mask |= kNewWindowBit;
    return StoreProblems(*this, mask);
}

void CElementAnchor::AttachInner(CElement& inner) { m_inner.push_back(&inner); }

std::span<const CheckInfo> CElementAnchor::CheckTable() const { return kAnchorChecks; }

std::string CElementAnchor::LinkText() const
{
    std::string text;
    for (const CElement* inner : m_inner) {
        if (inner->Kind() == kind::kText) {
            text.append(inner->Text());
        } else if (inner->Kind() == tag::kImg) {
            if (const CAttribute* src = inner->FindAttribute(attr::kSrc))
                text += platform::Strings().Format(kImageInLinkText, {src->Value()});
        }
    }
    return std::string(Trim(text));
}

std::string CElementAnchor::UserLinkText(const PageEncoding& encoding) const
{
    // Each piece decoded alone: the words naming an image are the program's,
    // in UTF-8 whatever the page is written in.
    std::string text;
    for (const CElement* inner : m_inner) {
        if (inner->Kind() == kind::kText) {
            text += PageTextToUser(inner->Text(), encoding, TextPlace::ElementText);
        } else if (inner->Kind() == tag::kImg) {
            if (const CAttribute* src = inner->FindAttribute(attr::kSrc))
                text += platform::Strings().Format(kImageInLinkText, {PageTextToUser(src->Value(), encoding)});
        }
    }
    return std::string(Trim(text));
}

namespace {

// A text run the page fills in, not written until a repair shows it.
ElementPtr DeletedText()
{
    ElementPtr text(new CElement);
    text->SetKind(kind::kText);
    text->SetDeleted(true);
    text->SetModified(true);
    return text;
}

} // namespace

bool CElementAnchor::PrepareRepairPage(RepairPageRequest& request)
{
    if (request.bit == kTranscriptBit)
        return PrepareTranscriptLink(request);
    if (request.bit == kNewWindowBit)
        return PrepareNewWindowText(request);
    return true;
}

// The transcript is linked right after the link to the recording, as a
// text run deleted (so not written) until a repair gives it its link. A link
// without an end tag has no place after it, and its problem is told
// without a page.
bool CElementAnchor::PrepareTranscriptLink(RepairPageRequest& request)
{
    const CElement* end = Partner();
    if (!m_transcriptLink) {
        if (!end || !request.document.Find(end) || request.document.IndexOf(*end) < request.document.IndexOf(*this))
            return false;
        ElementPtr text = DeletedText();
        CElement* made = text.get();
        if (!request.document.InsertAfter(end, std::move(text)))
            return false;
        m_transcriptLink = made;
    }
    request.insertedElement = m_transcriptLink;
    request.lineEnd = PageLineEnd(request.document);
    return true;
}

// A link told to open a new window may say so at the end of its own text:
// a text element before its end tag, written only when the page uses it.
bool CElementAnchor::PrepareNewWindowText(RepairPageRequest& request)
{
    request.attribute = AttributeToRepair(attr::kTarget);
    request.secondAttribute = AttributeToRepair(attr::kTitle);
    if (!request.attribute || !request.secondAttribute)
        return false;
    CElement* end = Partner();
    const bool closed = end && request.document.Find(end) && request.document.IndexOf(*end) > request.document.IndexOf(*this);
    if (closed && !m_preparedText) {
        ElementPtr text = DeletedText();
        CElement* made = text.get();
        if (!request.document.InsertBefore(end, std::move(text)))
            return false;
        m_preparedText = made;
    }
    request.insertedElement = m_preparedText;
    return true;
}

std::string CElementAnchor::GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const
{
    if (bit == kTranscriptBit) {
        const CAttribute* href = FindAttribute(attr::kHref);
        return href ? PageTextToUser(href->Value(), encoding) : std::string("Sound File");
    }
    if (bit == kNewWindowBit)
        return UserLinkText(encoding);
    return CCatalogueElement::GetProblemText(bit, encoding);
}

} // namespace orvane
