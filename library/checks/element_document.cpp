#include "element_document.h"

#include "check_index.h"
#include "check_run.h"
#include "element_anchor.h"
#include "element_style.h"
#include "kind_positions.h"
#include "page_indexes.h"
#include "text_search.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"

#include <algorithm>

namespace orvane {

namespace {

constexpr CheckInfo kDocumentChecks[] = {
    {.bit = 0x1, .name = "DoctypeMissing", .titleId = 396, .priority = 2, .autoRepair = true,
     .repairPage = "CPageDoctypeBad", .helpTopic = "3-2-1.html", .problemTextId = 601},
    {.bit = 0x2, .name = "NoStylesheets", .titleId = 398, .priority = 2, .grouped = false,
     .repairPage = "CPageWarnings", .warningHelpTopic = "3-3-1.html", .warningTextId = 399,
     .problemTextId = 602},
    {.bit = 0x4, .name = "UsingStyle", .titleId = 385, .priority = 1, .section508 = true, .grouped = false,
     .repairPage = "CPageWarnings", .warningHelpTopic = "6-1-1.html", .warningTextId = 387,
     .problemTextId = 603},
    {.bit = 0x8, .name = "TextLinks", .titleId = 402, .priority = 2, .repairPage = "CPageAnchorTextlink",
     .helpTopic = "13-1-1.html", .problemTextId = 604},
    {.bit = 0x10, .name = "DynamicEquivalents", .titleId = 414, .priority = 1, .section508 = true,
     .grouped = false, .repairPage = "CPageWarnings", .warningHelpTopic = "6-2-2.html", .warningTextId = 415,
     .problemTextId = 605},
    {.bit = 0x20, .name = "UsableWithoutProgram", .titleId = 416, .priority = 1, .grouped = false,
     .repairPage = "CPageWarnings", .warningHelpTopic = "6-3-1.html", .warningTextId = 417,
     .problemTextId = 606},
    {.bit = 0x40, .name = "ProgramAccessible", .titleId = 418, .priority = 1, .grouped = false,
     .repairPage = "CPageWarnings", .warningHelpTopic = "8-1-1.html", .warningTextId = 419,
     .problemTextId = 607},
    {.bit = 0x80, .name = "DeviceDependent", .titleId = 423, .priority = 2, .autoRepair = true,
     .repairPage = "CPageDeviceDependent", .helpTopic = "9-3-1.html", .problemTextId = 608},
    {.bit = 0x100, .name = "MultiMedia", .titleId = 470, .priority = 1, .section508 = true, .grouped = false,
     .repairPage = "CPageWarnings", .warningHelpTopic = "1-4-1.html", .warningTextId = 471,
     .problemTextId = 609},
    {.bit = 0x200, .name = "Metadata", .titleId = 420, .priority = 1, .repairPage = "CPageMetadata",
     .helpTopic = "13-2-1.html", .problemTextId = 610},
};

} // namespace

std::span<const CheckInfo> CElementDocument::CheckTable() const { return kDocumentChecks; }

namespace {

constexpr std::uint32_t kNoStylesheetsBit = 0x2;
constexpr std::uint32_t kUsingStyleBit = 0x4;
constexpr std::uint32_t kTextLinksBit = 0x8;
constexpr std::uint32_t kDynamicBits = 0x10 | 0x20 | 0x40;
constexpr std::uint32_t kDeviceDependentBit = 0x80;
constexpr std::uint32_t kMultimediaBit = 0x100;

constexpr int kHeadEnd = tag::kLabel + kind::kEndOffset;  // head shares the label's id
constexpr int kLinkTag = 53;
constexpr int kTitleEnd = 87 + kind::kEndOffset;
constexpr int kAddressEnd = 2 + kind::kEndOffset;

// "mpg" stands twice, as in the list pages were judged by.
constexpr std::string_view kMultimediaExtensions[] = {"mpg", "mov", "asx",  "avi", "ivf", "m1v", "mmm",
                                                      "mp2v", "mpa", "mpe", "mpeg", "ram", "mpg", "smi",
                                                      "smil", "swf", "wm",  "wma", "wmv"};

struct EventPair {
    int mouse;
    int keyboard;
};
// Every id of the pairs is below 64, so a page-wide walk can keep an
// element's attributes as one mask of bits. A click is answered by any key
// handler: the one a repair writes listens for Enter and Space on keydown.
constexpr EventPair kEventPairs[] = {{attr::kOnmousedown, attr::kOnkeydown},
                                     {attr::kOnmouseup, attr::kOnkeyup},
                                     {attr::kOnmouseover, attr::kOnfocus},
                                     {attr::kOnmouseout, attr::kOnblur}};
static_assert(std::all_of(std::begin(kEventPairs), std::end(kEventPairs),
                          [](const EventPair& pair) { return pair.mouse < 64 && pair.keyboard < 64; }));
static_assert(attr::kOnclick < 64 && attr::kOnkeydown < 64 && attr::kOnkeypress < 64 && attr::kOnkeyup < 64);
constexpr int kButtonTag = 14;

bool HasNonEmpty(const CElement& element, int id)
{
    const CAttribute* a = element.FindAttribute(id);
    return a && !a->IsEmpty();
}

std::string_view ExtensionOf(std::string_view address)
{
    std::size_t dot = address.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : address.substr(dot + 1);
}

// The texts and comment pieces of a style block, in which its rules are written.
bool StyleBlockHasRules(const CHtmlDocument& document, const CElement& style)
{
    auto longEnough = [](const CElement& piece) { return Trim(piece.Text()).size() > 5; };
    if (const CElement* end = style.Partner(); end && document.Find(end) && document.IndexOf(*end) > document.IndexOf(style)) {
        for (std::size_t i = document.IndexOf(style) + 1; i < document.IndexOf(*end); ++i) {
            const CElement* e = document.At(i);
            bool piece = e->Kind() == kind::kText || (e->Kind() == kind::kComment && e->Text() != "<!--");
            if (!e->IsDeleted() && piece && longEnough(*e))
                return true;
        }
        return false;
    }
    if (const auto* block = dynamic_cast<const CElementStyle*>(&style)) {
        return std::any_of(block->Inner().begin(), block->Inner().end(),
                           [&](const CElement* piece) { return longEnough(*piece); });
    }
    return false;
}

// The rel value is a list of link types: "stylesheet", "alternate stylesheet".
bool IsStyleSheetLink(const CElement& link)
{
    const CAttribute* rel = link.FindAttribute(attr::kRel);
    if (!rel)
        return false;
    std::string_view types = rel->Value();
    while (!types.empty()) {
        std::size_t start = 0;
        while (start < types.size() && IsSpace(types[start]))
            ++start;
        std::size_t end = start;
        while (end < types.size() && !IsSpace(types[end]))
            ++end;
        if (end > start && EqualsIgnoreCase(types.substr(start, end - start), "stylesheet"))
            return true;
        types.remove_prefix(end);
    }
    return false;
}

} // namespace

bool CElementDocument::HasNoDoctype(const CHtmlDocument& document) const
{
    for (const CElement* e : document.Elements()) {
        if (e->IsDeleted() || e->Kind() < 0 || e->Kind() == kind::kCommentEnd)
            continue;
        return e->Kind() != tag::kDoctype;
    }
    return true;
}

std::uint32_t CElementDocument::CheckStyle(const CHtmlDocument& document) const
{
    bool styleSheet = false;
    bool inlineStyle = false;
    bool headPassed = false;
    for (const CElement* e : document.Elements()) {
        if (e->IsDeleted())
            continue;
        if (!headPassed) {
            if (e->Kind() == tag::kStyle) {
                styleSheet = StyleBlockHasRules(document, *e);
                break;
            }
            // A link to anything else (an icon, a feed, the next page) leaves
            // the search going.
            if (e->Kind() == kLinkTag && IsStyleSheetLink(*e)) {
                styleSheet = true;
                break;
            }
            if (e->Kind() == kHeadEnd)
                headPassed = true;
        } else if (HasNonEmpty(*e, attr::kStyle)) {
            inlineStyle = true;
            break;
        }
    }
    std::uint32_t mask = 0;
    if (!styleSheet)
        mask |= kNoStylesheetsBit;
    if (styleSheet || inlineStyle)
        mask |= kUsingStyleBit;
    return mask;
}

bool CElementDocument::HasDynamicContent(const CHtmlDocument& document) const
{
    const auto kinds = PageIndex<CKindPositions>(document);
    if (kinds->FirstUndeletedFrom(tag::kApplet, 0) || kinds->FirstUndeletedFrom(tag::kScript, 0))
        return true;
    return kinds->AnyUndeleted(tag::kObject, [](const CElement& object) {
        return HasNonEmpty(object, attr::kClassid) || HasNonEmpty(object, attr::kCodebase);
    });
}

bool CElementDocument::HasMultimedia(const CHtmlDocument& document) const
{
    const auto links = PageIndex<CLinkAddressIndex>(document);
    const bool mediaLink = std::any_of(links->addresses.begin(), links->addresses.end(), [](std::string_view href) {
        const std::string_view extension = ExtensionOf(href);
        return !href.empty() && std::any_of(std::begin(kMultimediaExtensions), std::end(kMultimediaExtensions),
                                            [&](std::string_view media) { return EqualsIgnoreCase(extension, media); });
    });
    const auto kinds = PageIndex<CKindPositions>(document);
    return mediaLink || kinds->AnyUndeleted(tag::kObject, [](const CElement& object) {
               const CAttribute* type = object.FindAttribute(attr::kType);
               return type && ContainsIgnoreCase(type->Value(), "video");
           });
}

bool CElementDocument::HasTextLinks(const CHtmlDocument& document) const
{
    return PageIndex<CKindPositions>(document)->AnyUndeleted(tag::kA, [](const CElement& e) {
        const auto* anchor = dynamic_cast<const CElementAnchor*>(&e);
        return anchor && !anchor->LinkText().empty();
    });
}

bool KeyboardActivates(const CElement& element)
{
    auto hasAddress = [&element] {
        for (const CAttribute* a = element.AttributesAfterName(); a; a = a->Next()) {
            if (!a->IsHidden() && a->Id() == attr::kHref)
                return true;
        }
        return false;
    };
    switch (element.Kind()) {
    case tag::kA: case tag::kArea: return hasAddress();
    case kButtonTag: case tag::kInput: case tag::kSelect: case tag::kTextarea: return true;
    default: return false;
    }
}

bool CElementDocument::HasDeviceDependentEvents(const CHtmlDocument& document) const
{
    return std::any_of(document.Elements().begin(), document.Elements().end(), [](const CElement* e) {
        if (e->IsDeleted() || e->Kind() == kind::kText || !e->AttributesAfterName())
            return false;
        // One walk over the attributes answers every pair.
        std::uint64_t present = 0;
        for (const CAttribute* a = e->AttributesAfterName(); a; a = a->Next()) {
            // A keyboard event a repair took back again is not in the page.
            if (!a->IsHidden() && a->Id() >= 0 && a->Id() < 64)
                present |= std::uint64_t{1} << a->Id();
        }
        auto has = [present](int id) { return ((present >> id) & 1) != 0; };
        if (has(attr::kOnclick) && !has(attr::kOnkeydown) && !has(attr::kOnkeypress) && !has(attr::kOnkeyup) &&
            !KeyboardActivates(*e))
            return true;
        return std::any_of(std::begin(kEventPairs), std::end(kEventPairs),
                           [&has](const EventPair& pair) { return has(pair.mouse) && !has(pair.keyboard); });
    });
}

bool CElementDocument::HasMetadata(const CHtmlDocument& document)
{
    std::string text;
    for (CElement* e : document.Elements()) {
        if (e->IsDeleted())
            continue;
        if (!m_head) {
            if (e->Kind() == tag::kLabel)
                m_head = e;
            continue;
        }
        int k = e->Kind();
        if (k == kHeadEnd || k == tag::kBody)
            return false;
        if (k == kind::kText) {
            text.append(e->Text());
            continue;
        }
        if (k == kTitleEnd && !Trim(text).empty()) {
            m_title = e->Partner();
            return true;
        }
        if (k == kAddressEnd && !Trim(text).empty())
            return true;
        if (k == tag::kMeta) {
            const CAttribute* equiv = e->FindAttribute(attr::kHttpEquiv);
            if (HasNonEmpty(*e, attr::kName) || HasNonEmpty(*e, attr::kScheme) ||
                (equiv && !EqualsIgnoreCase(equiv->Value(), "refresh")))
                return true;
        }
        if (k == kLinkTag) {
            const CAttribute* type = e->FindAttribute(attr::kType);
            if (!type || !EqualsIgnoreCase(type->Value(), "text/css"))
                return true;
        }
        text.clear();
    }
    return false;
}

int CElementDocument::Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel)
{
    CCheckRun run{settings, document, applyLevel};
    m_fileName = document.FileName();
    m_html = m_head = m_title = nullptr;
    // The last html element counts.
    const auto kinds = PageIndex<CKindPositions>(document);
    const std::span<const std::uint32_t> htmls = kinds->Of(tag::kHtml);
    for (auto it = htmls.rbegin(); it != htmls.rend() && !m_html; ++it) {
        if (!document.At(*it)->IsDeleted())
            m_html = document.At(*it);
    }
    const bool hasHtml = m_html != nullptr;
    std::uint32_t mask = 0;
    if (hasHtml && run.Runs(*this, kDoctypeBit) && HasNoDoctype(document))
        mask |= kDoctypeBit;
    if (hasHtml && run.Runs(*this, kNoStylesheetsBit))
        mask |= CheckStyle(document);
    if (run.Runs(*this, 0x10) && HasDynamicContent(document))
        mask |= kDynamicBits;
    if (run.Runs(*this, kMultimediaBit) && HasMultimedia(document))
        mask |= kMultimediaBit;
    if (run.Runs(*this, kTextLinksBit) && HasTextLinks(document))
        mask |= kTextLinksBit;
    if (run.Runs(*this, kDeviceDependentBit) && HasDeviceDependentEvents(document))
        mask |= kDeviceDependentBit;
    if (hasHtml && run.Runs(*this, kMetadataBit) && !HasMetadata(document))
        mask |= kMetadataBit;
    return StoreProblems(*this, mask);
}

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlankAfterMark(std::string_view text)
{
    if (!text.starts_with(kByteOrderMark))
        return false;
    return Trim(text.substr(kByteOrderMark.size())).empty();
}

bool IsXmlDeclaration(const CElement& e)
{
    return e.Kind() == kind::kUnknown && e.Text().starts_with("<?xml");
}

// What the declaration follows: the document element, then a byte order mark
// (which must stay the first bytes of the file) and an XML declaration (which
// must stay first in an XHTML page), each with the blanks after it.
const CElement* DeclarationPlace(const CHtmlDocument& document, const CElement& documentElement)
{
    const std::vector<CElement*>& elements = document.Elements();
    const CElement* place = &documentElement;
    std::size_t i = document.IndexOf(documentElement) + 1;
    auto skipDeleted = [&] {
        while (i < elements.size() && elements[i]->IsDeleted())
            ++i;
    };
    skipDeleted();
    if (i < elements.size() && elements[i]->Kind() == kind::kText && IsBlankAfterMark(elements[i]->Text())) {
        place = elements[i++];
        skipDeleted();
    }
    if (i < elements.size() && IsXmlDeclaration(*elements[i])) {
        place = elements[i++];
        skipDeleted();
        if (i < elements.size() && elements[i]->Kind() == kind::kText && Trim(elements[i]->Text()).empty())
            place = elements[i];
    }
    return place;
}

} // namespace

// The new declaration stands at the top; a declaration further down, which
// does not count there, is taken out while the repair holds, so the page does
// not end up with two.
bool CElementDocument::PrepareRepairPage(RepairPageRequest& request)
{
    if (request.bit == kMetadataBit)
        return PrepareMetadata(request);
    // Links whose text stays may still be told apart by their titles.
    if (request.bit == kTextLinksBit) {
        request.secondPage = "CPageAnchorTitle";
        return true;
    }
    if (request.bit != kDoctypeBit)
        return true;
    if (!m_preparedDoctype) {
        ElementPtr declaration(new CElement);
        declaration->SetKind(tag::kDoctype);
        declaration->SetDeleted(true);
        declaration->SetModified(true);
        CElement* made = declaration.get();
        if (!request.document.InsertAfter(DeclarationPlace(request.document, *this), std::move(declaration)))
            return false;
        m_preparedDoctype = made;
        // Found once: a later run, after the repair took it out, still undoes to it.
        for (CElement* e : request.document.Elements()) {
            if (e != made && e->Kind() == tag::kDoctype && !e->IsDeleted()) {
                m_misplacedDoctype = e;
                break;
            }
        }
    }
    request.insertedElement = m_preparedDoctype;
    request.replacedElement = m_misplacedDoctype;
    request.lineEnd = PageLineEnd(request.document);
    return true;
}

namespace {

constexpr int kTitleStart = 87;

ElementPtr DeletedMarkup(int kind, std::string text)
{
    ElementPtr e(new CElement);
    e->SetKind(kind);
    e->SetText(std::move(text));
    e->SetDeleted(true);
    e->SetModified(true);
    return e;
}

// The head shares its id with label: only a tag that reads "<head" is the head.
bool IsHeadStart(const CElement& e)
{
    return e.Kind() == tag::kLabel && e.Text().size() >= 5 && EqualsIgnoreCase(e.Text().substr(0, 5), "<head");
}

} // namespace

// The head begins with the keywords, the description and a new title; a title
// element already there, empty, gets the text instead.
bool CElementDocument::PrepareMetadata(RepairPageRequest& request)
{
    CHtmlDocument& document = request.document;
    const std::string lineEnd(PageLineEnd(document));
    if (!m_metadata.title) {
        if (!m_html)
            return false;
        CElement* head = nullptr;
        CElement* title = nullptr;
        for (CElement* e : document.Elements()) {
            if (e->IsDeleted())
                continue;
            if (!head) {
                if (IsHeadStart(*e))
                    head = e;
                else if (e->Kind() == tag::kBody)
                    break;
                continue;
            }
            if (e->Kind() == kHeadEnd || e->Kind() == tag::kBody)
                break;
            if (e->Kind() == kTitleStart) {
                title = e;
                break;
            }
        }
        PreparedMetadata made;
        if (!head) {
            ElementPtr start = DeletedMarkup(tag::kLabel, lineEnd + "<head>");
            ElementPtr end = DeletedMarkup(kHeadEnd, "</head>" + lineEnd);
            start->SetPartner(end.get());
            end->SetPartner(start.get());
            made.headStart = start.get();
            made.headEnd = end.get();
            if (!document.InsertAfter(m_html, std::move(start)) ||
                !document.InsertAfter(made.headStart, std::move(end)))
                return false;
            head = made.headStart;
            m_head = head;
        }
        ElementPtr titleText = DeletedMarkup(kind::kText, {});
        made.title = titleText.get();
        made.titleIsNew = title == nullptr;
        if (!document.InsertAfter(title ? title : head, std::move(titleText)))
            return false;
        ElementPtr description = DeletedMarkup(kind::kText, {});
        made.description = description.get();
        if (!document.InsertAfter(head, std::move(description)))
            return false;
        ElementPtr keywords = DeletedMarkup(kind::kText, {});
        made.keywords = keywords.get();
        if (!document.InsertAfter(head, std::move(keywords)))
            return false;
        m_metadata = made;
    }
    request.insertedElement = m_metadata.title;
    request.lineEnd = PageLineEnd(document);
    return true;
}

} // namespace orvane
