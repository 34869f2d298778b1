#include "element_script.h"

#include "check_index.h"
#include "check_run.h"
#include "element_range.h"
#include "kind_positions.h"
#include "repair_pages.h"
#include "window_opening.h"
#include "library/html/attribute.h"
#include "library/html/attribute_table.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "platform/services.h"

#include <algorithm>
#include <iterator>

namespace orvane {

namespace {

constexpr CheckInfo kScriptChecks[] = {
    {.bit = 0x1, .name = "ScriptNoscript", .titleId = 163, .priority = 1, .section508 = true,
     .repairPage = "CPageScriptNoscript", .helpTopic = "1-1-10.html"},
    {.bit = 0x2, .name = "ScriptSpawnNewWindow", .titleId = 1130, .priority = 2,
     .repairPage = "CPageScriptNewWindow", .helpTopic = "ScriptSpawnNewWindow.html", .problemTextId = 1131},
};

} // namespace

void CElementScript::AttachInner(CElement& inner) { m_inner.push_back(&inner); }

std::span<const CheckInfo> CElementScript::CheckTable() const { return kScriptChecks; }

std::string CElementScript::GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const
{
    if (bit == kNewWindowBit)
        return CCatalogueElement::GetProblemText(bit, encoding);
    return "script";
}

std::string CElementScript::Code() const
{
    std::string code;
    for (const CElement* piece : m_inner)
        code.append(piece->Text());
    return code;
}

namespace {

constexpr int kNoscript = 59;
constexpr int kDefaultNoscriptText = 200;

// Sentences that only ask to turn scripts on, in Latin-1 and in UTF-8.
constexpr std::string_view kNoscriptPlaceholders[] = {
    "Aktivieren Sie JavaScript",
    "Ihr Browser unterst\xfctzt kein JavaScript",
    "Ihr Browser unterst\xc3\xbctzt kein JavaScript",
    "Aktivieren Sie Skripte",
    "Sie verwenden einen veralteten Browser",
};

bool IsNoscriptPlaceholder(std::string_view text, const std::string& defaultText)
{
    if (!defaultText.empty() && EqualsIgnoringLatinCase(text, defaultText))
        return true;
    for (std::string_view phrase : kNoscriptPlaceholders) {
        if (EqualsIgnoringLatinCase(text, phrase))
            return true;
    }
    return false;
}

} // namespace

// The first noscript after the script, unless another script comes first,
// must say or hold something real. The scripts of the head share the start
// of the body, where their noscript sections stand: only a script of the
// body comes between.
bool CElementScript::HasRealNoscript(const CHtmlDocument& document)
{
    const std::size_t after = RangeOf(document, *this).end + 1;
    const auto kinds = PageIndex<CKindPositions>(document);
    const CElement* body = kinds->FirstUndeletedFrom(tag::kBody, after);
    const CElement* nextScript = kinds->FirstUndeletedFrom(tag::kScript, body ? document.IndexOf(*body) : after);
    m_noscript = kinds->FirstUndeletedFrom(kNoscript, after);
    if (m_noscript && nextScript && document.IndexOf(*nextScript) < document.IndexOf(*m_noscript))
        m_noscript = nullptr;
    if (!m_noscript)
        return false;
    ElementRange section = RangeOf(document, *m_noscript);
    if (!section.valid)
        return true;
    const std::string defaultText = platform::Strings().Get(kDefaultNoscriptText);
    bool realText = false;
    bool realMarkup = false;
    for (std::size_t i = section.start + 1; i < section.end; ++i) {
        CElement* e = document.At(i);
        if (e->IsDeleted())
            continue;
        if (e->Kind() != kind::kText) {
            realMarkup = true;
            continue;
        }
        std::string_view text = Trim(e->Text());
        if (text.empty())
            continue;
        if (IsNoscriptPlaceholder(text, defaultText)) {
            m_placeholder = e;
            realText = false;
            break;
        }
        realText = true;
    }
    return realText || realMarkup;
}

int CElementScript::Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel)
{
    CCheckRun run{settings, document, applyLevel};
    std::uint32_t mask = 0;
    m_noscript = m_placeholder = nullptr;
    if (RangeOf(document, *this).valid && run.Runs(*this, 0x1) && !HasRealNoscript(document))
        mask = 0x1;
    if (run.Runs(*this, kNewWindowBit) && windowopening::OpensWindow(Code()))
        mask |= kNewWindowBit;
    return StoreProblems(*this, mask);
}

namespace {

// Elements that hold text and inline markup only: the paragraph of a
// noscript section cannot stand inside them.
bool HoldsInlineContentOnly(const CElement& element)
{
    static constexpr std::string_view kNames[] = {
        "a",    "abbr", "acronym", "address", "b",     "bdo",  "big",  "blink",  "button", "caption", "cite",
        "code", "dfn",  "dt",      "em",      "font",  "h1",   "h2",   "h3",     "h4",     "h5",      "h6",
        "i",    "kbd",  "label",   "legend",  "mark",  "nobr", "p",    "pre",    "q",      "s",       "samp",
        "small", "span", "strike", "strong",  "sub",   "summary", "sup", "tt",   "u",      "var"};
    const std::string_view name = element.WrittenTagName();
    return std::any_of(std::begin(kNames), std::end(kNames),
                       [&](std::string_view known) { return EqualsIgnoreCase(name, known); });
}

// What a browser keeps in the head: until the first other tag or text, a
// page without a body tag is still in its head, a noscript section there too.
bool IsHeadContent(const CElement& element)
{
    static constexpr std::string_view kNames[] = {"html",  "head",   "title",    "meta",     "link",
                                                  "style", "script", "noscript", "base",     "basefont",
                                                  "bgsound", "template", "noframes", "!doctype"};
    const std::string_view name = element.WrittenTagName();
    return std::any_of(std::begin(kNames), std::end(kNames),
                       [&](std::string_view known) { return EqualsIgnoreCase(name, known); });
}

// The first element from position on that a browser puts into the body:
// text that is not blank or a tag the head does not hold. The contents of
// the head's elements (a title's text, a script's code) are passed over.
std::size_t FirstBodyContent(const CHtmlDocument& document, std::size_t position)
{
    const auto& elements = document.Elements();
    for (std::size_t i = position; i < elements.size(); ++i) {
        const CElement& e = *elements[i];
        if (e.IsDeleted())
            continue;
        const int kind = e.Kind();
        if (kind == kind::kText) {
            if (!Trim(e.Text()).empty())
                return i;
            continue;
        }
        if (kind < 0 || kind >= kind::kEndOffset)
            continue;
        if (!IsHeadContent(e))
            return i;
        // The html and head elements hold the page; the others hold their own text.
        const std::string_view name = e.WrittenTagName();
        if (EqualsIgnoreCase(name, "html") || EqualsIgnoreCase(name, "head"))
            continue;
        if (const CElement* partner = e.Partner(); partner && partner != &e) {
            const std::size_t end = document.IndexOf(*partner);
            if (end > i && end < elements.size())
                i = end;
        }
    }
    return elements.size();
}

} // namespace

const CElement* CElementScript::PlaceForNoscript(const CHtmlDocument& document) const
{
    const CElement* end = RangeOf(document, *this).valid ? Partner() : this;
    const auto kinds = PageIndex<CKindPositions>(document);
    const std::size_t after = document.IndexOf(*end) + 1;
    // A script before the body's start tag stands in the head, where a
    // noscript section may hold no paragraph: its section opens the body.
    if (const CElement* body = kinds->FirstUndeletedFrom(tag::kBody, after))
        return body;
    if (const CElement* headEnd = kinds->FirstUndeletedFrom(TagIdOfToken("</head>"), after))
        return headEnd;
    // Without either tag, a script before the body's first content stands in
    // the head all the same: the section follows that first content, where
    // the body has begun; a page of head content only has no place for it.
    const std::size_t at = document.IndexOf(*this);
    if (FirstBodyContent(document, 0) > at) {
        const std::size_t first = FirstBodyContent(document, after);
        if (first >= document.Elements().size())
            return nullptr;
        const CElement* content = document.At(first);
        const CElement* partner = content->Partner();
        return partner && partner != content && document.IndexOf(*partner) > first ? partner : content;
    }
    // In the body, after the outermost element around the script that holds
    // inline content only (a paragraph, a span in it), inside the nearest
    // one that may hold blocks.
    const CElement* place = end;
    for (std::size_t i = at; i-- > 0;) {
        const CElement* e = document.At(i);
        if (e->IsDeleted() || e->Kind() < 0 || e->Kind() >= kind::kEndOffset)
            continue;
        if (e->Kind() == tag::kBody)
            break;
        const CElement* partner = e->Partner();
        if (!partner || partner == e || document.IndexOf(*partner) < after)
            continue;
        if (!HoldsInlineContentOnly(*e))
            break;
        place = partner;
    }
    // Pages close elements out of order (<a><script></script><p></a></p>):
    // nor may the place stand in one that opens after the script.
    std::size_t placeAt = document.IndexOf(*place);
    for (std::size_t i = at + 1; i < placeAt; ++i) {
        const CElement* e = document.At(i);
        if (e->IsDeleted() || e->Kind() < 0 || e->Kind() >= kind::kEndOffset || !HoldsInlineContentOnly(*e))
            continue;
        const CElement* partner = e->Partner();
        if (const std::size_t closes = partner && partner != e ? document.IndexOf(*partner) : 0; closes > placeAt) {
            place = partner;
            placeAt = closes;
        }
    }
    return place;
}

namespace {

constexpr int kButton = 14;

bool IsHandlerName(std::string_view name)
{
    return name.size() > 2 && (name[0] == 'o' || name[0] == 'O') && (name[1] == 'n' || name[1] == 'N');
}

// Buttons an input element draws with its value as the caption.
bool IsCaptionedButton(const CElement& input)
{
    const CAttribute* type = input.FindAttribute(attr::kType);
    if (!type)
        return false;
    const std::string_view value = Trim(type->Value());
    return EqualsIgnoreCase(value, "button") || EqualsIgnoreCase(value, "submit") || EqualsIgnoreCase(value, "reset");
}

} // namespace

// Each element is read once: its handlers, and a link's address, are
// matched against the functions of this script that open a window. A handler
// that opens a window itself belongs to the page's first such script, so
// that it is listed once.
bool CElementScript::PrepareWindowTriggers(CHtmlDocument& document)
{
    const std::vector<std::string> functions = windowopening::OpeningFunctions(Code());
    const auto kinds = PageIndex<CKindPositions>(document);
    bool first = true;
    for (std::uint32_t position : kinds->Of(tag::kScript)) {
        const CElement* script = document.At(position);
        if (!script->IsDeleted() && (script->ProblemMask() & kNewWindowBit)) {
            first = script == this;
            break;
        }
    }
    std::vector<WindowTrigger> found;
    for (CElement* e : document.Elements()) {
        const int kind = e->Kind();
        if (e->IsDeleted() || kind < 0 || kind >= kind::kEndOffset || kind == tag::kScript)
            continue;
        for (CAttribute* a = e->AttributesAfterName(); a; a = a->Next()) {
            std::string_view code;
            if (IsHandlerName(a->Name()))
                code = a->Value();
            else if (a->Id() == attr::kHref && (kind == tag::kA || kind == tag::kArea))
                code = windowopening::ScriptOfAddress(a->Value());
            if (code.empty())
                continue;
            if ((first && windowopening::OpensWindow(code)) || windowopening::CallsAny(code, functions)) {
                found.push_back({.element = e, .handler = a});
                break;
            }
        }
    }
    // Texts go in once every element is found: inserting moves the positions.
    for (WindowTrigger& trigger : found) {
        CElement& e = *trigger.element;
        if (e.Kind() == tag::kA || e.Kind() == kButton) {
            const CElement* end = e.Partner();
            if (end && document.Find(end) && document.IndexOf(*end) > document.IndexOf(e)) {
                ElementPtr text(new CElement);
                text->SetKind(kind::kText);
                text->SetDeleted(true);
                text->SetModified(true);
                CElement* made = text.get();
                if (!document.InsertBefore(end, std::move(text)))
                    return false;
                trigger.preparedText = made;
            }
        } else if (e.Kind() == tag::kInput && IsCaptionedButton(e)) {
            CAttribute* value = e.FindAttribute(attr::kValue);
            if (value && !value->IsHidden() && !Trim(value->Value()).empty()) {
                if (!value->IsChanged())
                    value->Save();
                trigger.caption = value;
            }
        }
    }
    m_triggers = std::move(found);
    return true;
}

bool CElementScript::PrepareRepairPage(RepairPageRequest& request)
{
    if (request.bit == kNewWindowBit) {
        if (!m_triggersPrepared) {
            if (!PrepareWindowTriggers(request.document))
                return false;
            m_triggersPrepared = true;
        }
        request.lineEnd = PageLineEnd(request.document);
        return true;
    }
    if (request.bit != 0x1)
        return true;
    if (!m_prepared) {
        ElementPtr made(new CElement);
        made->SetKind(kind::kUnknown);
        made->SetDeleted(true);
        made->SetModified(true);
        CElement* prepared = made.get();
        // A placeholder gives way to the real text; an empty section takes it in.
        const CElement* place = m_placeholder ? m_placeholder : m_noscript ? m_noscript : PlaceForNoscript(request.document);
        if (!request.document.InsertAfter(place, std::move(made)))
            return false;
        m_prepared = prepared;
        m_preparedPlaceholder = m_placeholder;
        m_preparedInside = m_noscript != nullptr;
    }
    request.insertedElement = m_prepared;
    request.replacedElement = m_preparedPlaceholder;
    request.lineEnd = PageLineEnd(request.document);
    return true;
}

} // namespace orvane
