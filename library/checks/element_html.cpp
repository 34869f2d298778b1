#include "element_html.h"

#include "check_index.h"
#include "check_run.h"
#include "element_paragraph.h"
#include "kind_positions.h"
#include "library/html/html_document.h"
#include "library/html/lang_codes.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "page_indexes.h"
#include "quotation_marks.h"
#include "repair_pages.h"
#include "text_search.h"

#include <algorithm>
#include <memory>

namespace orvane {

namespace {

constexpr CheckInfo kHtmlChecks[] = {
    {.bit = 0x1, .name = "UsingColor", .titleId = 382, .priority = 1, .section508 = true, .grouped = false,
     .repairPage = "CPageWarnings", .warningHelpTopic = "2-1-1.html", .warningTextId = 381,
     .problemTextId = 611},
    {.bit = 0x2, .name = "MissingLanguage", .titleId = 271, .priority = 3, .autoRepair = true,
     .repairPage = "CPageLangMissing", .helpTopic = "4-3-1.html", .problemTextId = 278},
    {.bit = 0x4, .name = "NestedHeaders", .titleId = 226, .priority = 2, .repairPage = "CPageHeadings",
     .helpTopic = "3-5-1.html", .problemTextId = 612},
    {.bit = 0x8, .name = "PotentialHeaders", .titleId = 231, .priority = 2,
     .repairPage = "CPageHeadingsMaybe", .helpTopic = "3-5-2.html", .problemTextId = 613},
    {.bit = 0x10, .name = "PotentialQuote", .inMask = false, .reported = false},
    {.bit = 0x20, .name = "QuoteFormat", .titleId = 1100, .priority = 2, .repairPage = "CPageQuoteMaybe",
     .helpTopic = "PotentialQuote.html", .problemTextId = 1101},
    {.bit = 0x80, .name = "CheckFlicker", .titleId = 388, .priority = 1, .repairPage = "CPageFlicker",
     .helpTopic = "7-1-1.html", .warningHelpTopic = "7-1-1.html", .warningTextId = 392, .problemTextId = 614},
};

} // namespace

std::span<const CheckInfo> CElementHtml::CheckTable() const { return kHtmlChecks; }

namespace {

constexpr std::uint32_t kUsingColorBit = 0x1;
constexpr std::uint32_t kMissingLanguageBit = 0x2;
constexpr std::uint32_t kNestedHeadersBit = 0x4;
constexpr std::uint32_t kPotentialHeadersBit = 0x8;
constexpr std::uint32_t kPotentialQuoteBit = 0x10;
constexpr std::uint32_t kQuoteFormatBit = 0x20;
constexpr std::uint32_t kFlickerBit = 0x80;

constexpr int kParagraph = 64;
constexpr int kEmbed = 27;
// b, i, strong, font, em, u
constexpr int kEmphasisTags[] = {8, 42, 76, 29, 26, 91};

bool IsEmphasis(int kind) { return std::find(std::begin(kEmphasisTags), std::end(kEmphasisTags), kind) != std::end(kEmphasisTags); }

bool LacksLanguage(const CElement& html)
{
    const CAttribute* lang = html.FindAttribute(attr::kLang);
    if (!lang)
        return true;
    std::string code = ToLower(lang->Value());
    if (code.size() != 2 && code.size() != 3)
        return true;
    return !CLanguageCodeList::Library().IsValidCode(code);
}

bool Always(const CElement&) { return true; }

constexpr int kColourfulKinds[] = {tag::kImg, tag::kApplet, tag::kScript, tag::kInput, tag::kObject};
constexpr int kMovingKinds[] = {tag::kScript, tag::kApplet, tag::kObject, kEmbed};

// The kinds that always use colour are looked up first: only a page without
// them has every element asked.
bool UsesColourAnywhere(const CHtmlDocument& document)
{
    if (PageIndex<CKindPositions>(document)->AnyUndeleted(kColourfulKinds, Always))
        return true;
    return std::any_of(document.Elements().begin(), document.Elements().end(),
                       [](const CElement* e) { return !e->IsDeleted() && e->UsesColour(); });
}

bool MayFlicker(const CHtmlDocument& document)
{
    const auto kinds = PageIndex<CKindPositions>(document);
    return kinds->AnyUndeleted(kMovingKinds, Always) || kinds->AnyUndeleted(tag::kImg, [](const CElement& image) {
               const CAttribute* src = image.FindAttribute(attr::kSrc);
               return src && ContainsIgnoreCase(src->Value(), ".gif");
           });
}

constexpr int kHeadingKinds[] = {tag::kH1, tag::kH1 + 1, tag::kH1 + 2, tag::kH1 + 3, tag::kH1 + 4, tag::kH1 + 5};

bool SkipsHeadingLevels(const CHtmlDocument& document)
{
    int previous = 0;
    for (std::uint32_t position : PageIndex<CKindPositions>(document)->OfAny(kHeadingKinds)) {
        const CElement* e = document.At(position);
        if (e->IsDeleted())
            continue;
        int level = e->Kind() - tag::kH1 + 1;
        if (previous != 0 && level > previous + 1)
            return true;
        previous = level;
    }
    return false;
}

// Paragraphs whose only text is short emphasised text look like headings.
// Text after the emphasis has closed is plain text and leaves the paragraph,
// so "<b>Note:</b> the rest" is no heading. A text the intake cut into pieces
// (at line ends, or every few hundred bytes of a long line) is judged whole:
// a long bold sentence is no heading because its last piece is short.
bool ReadsAsHeading(const CHtmlDocument& document, std::size_t paragraph)
{
    int openEmphasis = 0;
    bool candidate = false;
    const auto& elements = document.Elements();
    for (std::size_t i = paragraph + 1; i < elements.size(); ++i) {
        const CElement* e = elements[i];
        if (e->IsDeleted())
            continue;
        int k = e->Kind();
        if (IsEmphasis(k)) {
            ++openEmphasis;
        } else if (k >= kind::kEndOffset && IsEmphasis(k - kind::kEndOffset)) {
            openEmphasis = std::max(0, openEmphasis - 1);
        } else if (k == kind::kText) {
            // The run of text elements from here, deleted ones passed over.
            // Plain text outside emphasis leaves the paragraph at once.
            std::size_t length = 0;
            bool blank = true;
            std::size_t last = i;
            for (std::size_t j = i; j < elements.size(); ++j) {
                const CElement* piece = elements[j];
                if (piece->IsDeleted())
                    continue;
                if (piece->Kind() != kind::kText)
                    break;
                blank = blank && Trim(piece->Text()).empty();
                if (!blank && openEmphasis == 0)
                    return false;
                length += TextLength(piece->Text());
                last = j;
            }
            i = last;
            if (!blank && length > 2 && length < 60)
                candidate = true;
        } else {
            // Its end tag closes the paragraph; anything else, another
            // paragraph too, leaves it.
            return k == kParagraph + kind::kEndOffset && candidate;
        }
    }
    return false;
}

// Each paragraph is read from its start tag until it is closed or left, which
// happens at the latest where the next paragraph starts.
bool MarkPotentialHeadings(const CHtmlDocument& document)
{
    bool found = false;
    const auto kinds = PageIndex<CKindPositions>(document);
    for (std::uint32_t position : kinds->Of(kParagraph)) {
        CElement* paragraph = document.At(position);
        if (paragraph->IsDeleted() || !ReadsAsHeading(document, position))
            continue;
        found = true;
        if (auto* p = dynamic_cast<CElementParagraph*>(paragraph))
            p->SetPotentialHeading(true);
    }
    return found;
}

// A quotation needs more than a few words: a quoted name or title is no
// quotation to mark up.
constexpr int kQuotationWords = 4;

int WordCount(std::string_view text)
{
    int words = 0;
    bool inWord = false;
    for (char c : text) {
        const bool space = IsSpace(c);
        if (!space && !inWord)
            ++words;
        inWord = !space;
    }
    return words;
}

// A paragraph made only of text that stands whole in one pair of quotation
// marks, none inside, is a quotation that its markup does not say. Pieces the
// intake cut the text into are read together.
bool ReadsAsQuotation(const CHtmlDocument& document, std::size_t paragraph)
{
    const auto& elements = document.Elements();
    std::string text;
    for (std::size_t i = paragraph + 1; i < elements.size(); ++i) {
        const CElement* e = elements[i];
        if (e->IsDeleted())
            continue;
        if (e->Kind() == kind::kText) {
            text.append(e->Text());
            continue;
        }
        if (e->Kind() != kParagraph + kind::kEndOffset)
            return false;
        const std::string_view whole = Trim(text);
        const std::size_t open = quotemarks::OpeningLength(whole);
        if (open == 0 || whole.size() <= open)
            return false;
        const std::size_t close = quotemarks::ClosingLength(whole.substr(open));
        if (close == 0)
            return false;
        const std::string_view inner = whole.substr(open, whole.size() - open - close);
        return !quotemarks::HasMark(inner) && WordCount(inner) >= kQuotationWords;
    }
    return false;
}

// A paragraph that opens a blockquote is marked up as the quotation it is,
// its quotation marks kept or not.
bool OpensBlockquote(const CHtmlDocument& document, std::size_t paragraph)
{
    static const int blockquote = TagIdOfToken("<blockquote>");
    for (std::size_t i = paragraph; i-- > 0;) {
        const CElement* e = document.At(i);
        if (e->IsDeleted() || e->Kind() == kind::kComment || e->Kind() == kind::kCommentEnd ||
            (e->Kind() == kind::kText && Trim(e->Text()).empty()))
            continue;
        return e->Kind() == blockquote;
    }
    return false;
}

bool MarkQuotations(const CHtmlDocument& document)
{
    bool found = false;
    for (std::uint32_t position : PageIndex<CKindPositions>(document)->Of(kParagraph)) {
        CElement* paragraph = document.At(position);
        auto* p = dynamic_cast<CElementParagraph*>(paragraph);
        if (!p || paragraph->IsDeleted())
            continue;
        const bool quotation = ReadsAsQuotation(document, position) && !OpensBlockquote(document, position);
        p->SetPotentialQuote(quotation);
        found = found || quotation;
    }
    return found;
}

} // namespace

int CElementHtml::Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel)
{
    // Only the first html element checked carries the page-wide checks.
    if (document.HtmlChecked())
        return 0;
    document.SetHtmlChecked(true);
    CCheckRun run{settings, document, applyLevel};
    std::uint32_t mask = 0;
    if (run.Runs(*this, kMissingLanguageBit) && LacksLanguage(*this))
        mask |= kMissingLanguageBit;
    if (run.Runs(*this, kUsingColorBit) && UsesColourAnywhere(document))
        mask |= kUsingColorBit;
    if (run.Runs(*this, kFlickerBit) && MayFlicker(document))
        mask |= kFlickerBit;
    if (run.Runs(*this, kNestedHeadersBit) && SkipsHeadingLevels(document))
        mask |= kNestedHeadersBit;
    if (run.Runs(*this, kPotentialHeadersBit) && MarkPotentialHeadings(document))
        mask |= kPotentialHeadersBit;
    if (run.Runs(*this, kQuoteFormatBit) && MarkQuotations(document))
        mask |= kQuoteFormatBit;
    // The other quotation check is asked about and finds nothing.
    if (applyLevel != 0)
        (void)run.Applies(*this, kPotentialQuoteBit);
    return StoreProblems(*this, mask);
}

// The language goes into the lang attribute; an empty one the page already
// has is filled in rather than given a second.
bool CElementHtml::PrepareRepairPage(RepairPageRequest& request)
{
    if (request.bit == kQuoteFormatBit)
        return PrepareQuoteTags(request.document);
    if (request.bit != kMissingLanguageBit)
        return true;
    request.attribute = AttributeToRepair(attr::kLang);
    return request.attribute != nullptr;
}

// Each quoted paragraph gets, before it and after its end tag, an element
// that is deleted until it takes a blockquote's tags, so the quotation page
// never moves the page's elements.
bool CElementHtml::PrepareQuoteTags(CHtmlDocument& document)
{
    std::vector<CElementParagraph*> quoted;
    for (CElement* e : document.Elements()) {
        auto* p = dynamic_cast<CElementParagraph*>(e);
        if (p && !p->IsDeleted() && p->Kind() == kParagraph && p->IsPotentialQuote() && !p->QuoteOpen())
            quoted.push_back(p);
    }
    auto made = [] {
        ElementPtr element(new CElement);
        element->SetKind(kind::kUnknown);
        element->SetDeleted(true);
        element->SetModified(true);
        return element;
    };
    for (CElementParagraph* p : quoted) {
        const CElement* end = p->Partner();
        if (!end || !document.Find(end))
            continue;
        ElementPtr open = made();
        ElementPtr close = made();
        CElement* openAt = open.get();
        CElement* closeAt = close.get();
        if (!document.InsertBefore(p, std::move(open)))
            return false;
        if (!document.InsertAfter(end, std::move(close)))
            return false;
        p->SetQuoteTags(openAt, closeAt);
    }
    return true;
}

} // namespace orvane
