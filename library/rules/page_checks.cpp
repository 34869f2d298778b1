// Checks on the page as a whole and on its head: language, title, refresh,
// viewport, ids, duplicated attributes, bypass blocks.
#include "checks.h"

#include "library/a11y/accessibility_tree.h"
#include "library/a11y/language_tag.h"
#include "library/html/text_util.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace orvane::rules {

namespace {

using a11y::Node;

[[gnu::always_inline]] inline Node N(const PageContext& page, int node) { return page.tree.At(node); }
const std::string_view* A(const PageContext& page, int node, std::string_view name) { return page.tree.Attribute(node, name); }
CheckResult Pass() { return {Outcome::Passed, {}}; }
CheckResult Fail(std::string detail = {}) { return {Outcome::Failed, std::move(detail)}; }

bool IsDocumentElement(const PageContext& page, int node, std::string_view)
{
    return page.html && node == page.tree.DocumentElement() && N(page, node).tag == "html" &&
           !N(page, node).foreign && N(page, node).parent == page.tree.Root();
}

bool HtmlContentType(const PageContext& page, int, std::string_view) { return page.html; }

bool LangNotBlank(const PageContext& page, int node, std::string_view)
{
    const std::string_view* lang = A(page, node, "lang");
    return lang && !Trim(*lang).empty();
}

bool LangKnownAndXmlLang(const PageContext& page, int node, std::string_view)
{
    const std::string_view* lang = A(page, node, "lang");
    const std::string_view* xmlLang = A(page, node, "xml:lang");
    return lang && xmlLang && !Trim(*xmlLang).empty() && !KnownPrimaryLanguage(*lang).empty();
}

// Text whose language the element's lang gives: its text and the text
// alternatives of its content, down to elements with a lang of their own.
bool HasTextInheritingLanguage(const PageContext& page, int node)
{
    std::vector<int> stack = page.tree.ChildList(node);
    std::reverse(stack.begin(), stack.end());
    if (N(page, node).included)
        for (std::string_view name : {"alt", "title", "aria-label"})
            if (const std::string_view* value = A(page, node, name); value && !Trim(*value).empty())
                return true;
    while (!stack.empty()) {
        const int at = stack.back();
        stack.pop_back();
        const Node& n = N(page, at);
        if (n.IsText()) {
            if ((n.visible || n.included) && !Trim(n.text).empty())
                return true;
            continue;
        }
        if (!n.IsElement() || A(page, at, "lang"))
            continue;
        if (n.tag == "script" || n.tag == "style" || n.tag == "template")
            continue;
        if (n.included)
            for (std::string_view name : {"alt", "title", "aria-label"})
                if (const std::string_view* value = A(page, at, name); value && !Trim(*value).empty())
                    return true;
        if (n.tag == "title" && !Trim(n.text).empty())
            return true;
        const std::size_t from = stack.size();
        for (int child : page.tree.Children(at))
            stack.push_back(child);
        std::reverse(stack.begin() + static_cast<std::ptrdiff_t>(from), stack.end());
    }
    return false;
}

bool LangApplicableInBody(const PageContext& page, int node, std::string_view)
{
    const std::string_view* lang = A(page, node, "lang");
    if (!lang || lang->empty() || N(page, node).foreign)
        return false;
    return FactsOf(page).InBody(node) && HasTextInheritingLanguage(page, node);
}

bool HasNonEmptyAttribute(const PageContext& page, int node, std::string_view name)
{
    const std::string_view* value = A(page, node, name);
    return value && !value->empty();
}

bool HasNonBlankAttribute(const PageContext& page, int node, std::string_view name)
{
    const std::string_view* value = A(page, node, name);
    return value && !Trim(*value).empty();
}

bool HasAttribute(const PageContext& page, int node, std::string_view name) { return A(page, node, name) != nullptr; }

bool AttributeValue(const PageContext& page, int node, std::string_view arg)
{
    const std::size_t colon = arg.find(':');
    const std::string_view* value = A(page, node, arg.substr(0, colon));
    return value && EqualsIgnoreCase(Trim(*value), arg.substr(colon + 1));
}

bool Tag(const PageContext& page, int node, std::string_view tag)
{
    return N(page, node).tag == tag && !N(page, node).foreign;
}

bool FirstValidMetaRefresh(const PageContext& page, int node, std::string_view)
{
    return node == FactsOf(page).firstValidRefresh;
}

CheckResult RefreshDelayAllowed(const PageContext& page, int node, std::string_view arg)
{
    double time = 0;
    IsValidRefresh(page, node, &time);
    const double longest = std::atof(std::string(arg).c_str());
    if (time == 0 || (longest > 0 && time > longest))
        return Pass();
    return Fail(std::to_string(static_cast<long long>(time)) + " s");
}

// The key/value pairs of a viewport's content value, keys lower-cased.
std::vector<std::pair<std::string, std::string>> ViewportPairs(std::string_view content)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    std::string current;
    auto flush = [&] {
        const std::size_t equals = current.find('=');
        const std::string key = ToLower(Trim(current.substr(0, equals)));
        const std::string value = equals == std::string::npos ? std::string() : std::string(Trim(current.substr(equals + 1)));
        if (!key.empty())
            pairs.emplace_back(key, ToLower(value));
        current.clear();
    };
    for (char c : content) {
        if (c == ',' || c == ';')
            flush();
        else
            current.push_back(c);
    }
    flush();
    return pairs;
}

bool ViewportWithZoomKeys(const PageContext& page, int node, std::string_view)
{
    const std::string_view* name = A(page, node, "name");
    const std::string_view* content = A(page, node, "content");
    if (N(page, node).tag != "meta" || !name || !EqualsIgnoreCase(Trim(*name), "viewport") || !content)
        return false;
    for (const auto& [key, value] : ViewportPairs(*content))
        if (key == "maximum-scale" || key == "user-scalable")
            return true;
    return false;
}

bool ParseNumber(const std::string& text, double& number)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    number = std::strtod(text.c_str(), &end);
    return end != text.c_str();
}

CheckResult ViewportAllowsZoom(const PageContext& page, int node, std::string_view)
{
    for (const auto& [key, value] : ViewportPairs(*A(page, node, "content"))) {
        double number = 0;
        if (key == "user-scalable") {
            if (value == "yes" || value == "device-width" || value == "device-height")
                continue;
            if (ParseNumber(value, number) && (number <= -1 || number >= 1))
                continue;
            return Fail("user-scalable=" + value);
        }
        if (key == "maximum-scale") {
            if (value == "device-width" || value == "device-height")
                continue;
            if (ParseNumber(value, number) && (number < 0 || number >= 2))
                continue;
            return Fail("maximum-scale=" + value);
        }
    }
    return Pass();
}

CheckResult HasLang(const PageContext& page, int node, std::string_view)
{
    return LangNotBlank(page, node, {}) ? Pass() : Fail();
}

CheckResult LangKnown(const PageContext& page, int node, std::string_view attribute)
{
    const std::string_view* lang = A(page, node, attribute);
    if (lang && !KnownPrimaryLanguage(*lang).empty())
        return Pass();
    if (!lang)
        return Fail(std::string());
    // The subtag at fault, when the tag has more than one.
    const std::string fault = a11y::CheckLanguageTag(Trim(*lang)).fault;
    return Fail(fault.empty() || fault == Trim(*lang) ? std::string(*lang) : std::string(*lang) + " (" + fault + ")");
}

CheckResult LangMatchesXmlLang(const PageContext& page, int node, std::string_view)
{
    const std::string lang = ToLower(Trim(*A(page, node, "lang")));
    const std::string xmlLang = ToLower(Trim(*A(page, node, "xml:lang")));
    const std::string a = lang.substr(0, lang.find('-'));
    const std::string b = xmlLang.substr(0, xmlLang.find('-'));
    return a == b ? Pass() : Fail(lang + " / " + xmlLang);
}

CheckResult TitleNonEmpty(const PageContext& page, int, std::string_view)
{
    const auto& title = page.tree.Title();
    if (!title)
        return Fail("no title");
    return Trim(*title).empty() ? Fail("empty title") : Pass();
}

CheckResult IdUnique(const PageContext& page, int node, std::string_view)
{
    const std::string_view* id = A(page, node, "id");
    return page.tree.IdCount(*id) > 1 ? Fail(std::string(*id)) : Pass();
}

CheckResult NoDuplicateAttributes(const PageContext& page, int node, std::string_view)
{
    const std::vector<std::string>& duplicates = page.tree.DuplicateAttributes(node);
    if (duplicates.empty())
        return Pass();
    std::string names;
    for (const std::string& name : duplicates)
        names += (names.empty() ? "" : ", ") + name;
    return Fail(names);
}

// Bypass blocks: a main landmark, a heading before the content, or a link
// to a place in the page first in the focus order.
CheckResult HasMainLandmark(const PageContext& page, int, std::string_view)
{
    return FactsOf(page).mainLandmark ? Pass() : Fail();
}

// Whether a heading starts the main content, a block of repeated content
// can be collapsed, or the content is first of all: a person tells.
CheckResult ContentReachedOtherwise(const PageContext&, int, std::string_view) { return {Outcome::CannotTell, {}}; }

CheckResult HasSkipLink(const PageContext& page, int, std::string_view)
{
    // Only the first stop of the focus order counts.
    const std::vector<int>& stops = FactsOf(page).tabStops;
    if (stops.empty())
        return Fail();
    const int first = stops.front();
    const std::string_view* href = A(page, first, "href");
    if (N(page, first).role == "link" && href && href->size() > 1 && (*href)[0] == '#' &&
        page.tree.ElementWithId(std::string_view(*href).substr(1)) != Node::kNone)
        return Pass();
    return Fail();
}

} // namespace

const std::vector<NamedMatcher>& PageMatchers()
{
    static const std::vector<NamedMatcher> list = {
        {"document-element", IsDocumentElement, {.documentElement = true}},
        {"html-content-type", HtmlContentType, {.perPage = true}},
        {"lang-not-blank", LangNotBlank, {.attributes = "lang"}},
        {"lang-known-and-xml-lang", LangKnownAndXmlLang, {.attributes = "lang"}},
        {"lang-applicable-in-body", LangApplicableInBody, {.attributes = "lang"}},
        {"has-attribute", HasAttribute, {.attributes = "="}},
        {"has-non-empty-attribute", HasNonEmptyAttribute, {.attributes = "="}},
        {"has-non-blank-attribute", HasNonBlankAttribute, {.attributes = "="}},
        {"attribute-value", AttributeValue, {.attributes = "=:"}},
        {"tag", Tag, {.tags = "="}},
        {"first-valid-meta-refresh", FirstValidMetaRefresh, {.tags = "meta"}},
        {"viewport-with-zoom-keys", ViewportWithZoomKeys, {.tags = "meta"}},
    };
    return list;
}

const std::vector<NamedCheck>& PageChecks()
{
    static const std::vector<NamedCheck> list = {
        {"has-lang", HasLang},
        {"lang-known", LangKnown},
        {"lang-matches-xml-lang", LangMatchesXmlLang},
        {"title-non-empty", TitleNonEmpty},
        {"id-unique", IdUnique},
        {"no-duplicate-attributes", NoDuplicateAttributes},
        {"refresh-delay-allowed", RefreshDelayAllowed},
        {"viewport-allows-zoom", ViewportAllowsZoom},
        {"has-main-landmark", HasMainLandmark},
        {"content-reached-otherwise", ContentReachedOtherwise},
        {"has-skip-link", HasSkipLink},
    };
    return list;
}

} // namespace orvane::rules
