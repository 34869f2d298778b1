#include "deprecated_markup.h"

#include "library/html/attribute.h"
#include "library/html/attribute_table.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"

#include <algorithm>

namespace orvane::deprecatedmarkup {

namespace {

// The presentational attributes HTML 4.01 deprecated, where a style says the
// same thing. Sizes of tables and cells are left to the table units check,
// the body's colours to the colour check, and list and rule styles out, as
// HTML kept some of them.
enum class Css { TextAlign, ImageAlign, TableAlign, BackgroundColour, ImageBorder, SideSpace, EndSpace, Clear, NoWrap };

struct AttributeRule {
    int firstTag;
    int lastTag;
    int attribute;          // attr::kOther: matched by name
    std::string_view name;
    Css css;
};

constexpr int kBr = 13, kP = 64, kTr = 88;

constexpr AttributeRule kAttributeRules[] = {
    {kP, kP, attr::kAlign, "align", Css::TextAlign},
    {kDiv, kDiv, attr::kAlign, "align", Css::TextAlign},
    {tag::kH1, tag::kH6, attr::kAlign, "align", Css::TextAlign},
    {tag::kImg, tag::kImg, attr::kAlign, "align", Css::ImageAlign},
    {tag::kTable, tag::kTable, attr::kAlign, "align", Css::TableAlign},
    {tag::kTable, tag::kTable, attr::kBgcolor, "bgcolor", Css::BackgroundColour},
    {kTr, kTr, attr::kBgcolor, "bgcolor", Css::BackgroundColour},
    {tag::kTd, tag::kTd, attr::kBgcolor, "bgcolor", Css::BackgroundColour},
    {tag::kTh, tag::kTh, attr::kBgcolor, "bgcolor", Css::BackgroundColour},
    {tag::kImg, tag::kImg, attr::kBorder, "border", Css::ImageBorder},
    {tag::kImg, tag::kImg, attr::kHspace, "hspace", Css::SideSpace},
    {tag::kImg, tag::kImg, attr::kVspace, "vspace", Css::EndSpace},
    {kBr, kBr, attr::kOther, "clear", Css::Clear},
    {tag::kTd, tag::kTd, attr::kOther, "nowrap", Css::NoWrap},
    {tag::kTh, tag::kTh, attr::kOther, "nowrap", Css::NoWrap},
};

// The font sizes 1 to 7 as the keywords browsers map them to.
constexpr std::string_view kFontSizes[] = {"x-small", "small", "medium", "large", "x-large", "xx-large", "xxx-large"};

const AttributeRule* RuleOf(int kind, const CAttribute& attribute)
{
    for (const AttributeRule& rule : kAttributeRules) {
        if (kind < rule.firstTag || kind > rule.lastTag)
            continue;
        if (rule.attribute != attr::kOther ? attribute.Id() == rule.attribute
                                           : EqualsIgnoreCase(attribute.Name(), rule.name))
            return &rule;
    }
    return nullptr;
}

std::string Lower(std::string_view text) { return ToLower(Trim(text)); }

// A colour as a style takes it: #rgb or #rrggbb (the # added where the page
// left it out, as browsers do) or a colour name; empty for anything else.
std::string Colour(std::string_view value)
{
    std::string_view v = Trim(value);
    const bool hash = v.starts_with('#');
    const std::string_view digits = hash ? v.substr(1) : v;
    bool hex = digits.size() == 3 || digits.size() == 6;
    for (char c : digits)
        hex = hex && IsHexDigit(c);
    if (hex)
        return "#" + std::string(digits);
    if (hash || v.empty())
        return {};
    // rgb(0, 51, 102) and the like, as long as nothing in it can end the declaration.
    if (const std::size_t open = v.find('('); open != std::string_view::npos && v.ends_with(')')) {
        for (char c : v.substr(open + 1, v.size() - open - 2)) {
            if (!((c >= '0' && c <= '9') || c == '.' || c == ',' || c == '%' || c == ' '))
                return {};
        }
        v = v.substr(0, open);
        for (char c : v) {
            if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
                return {};
        }
        return ToLower(Trim(value));
    }
    for (char c : v) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            return {};
    }
    return Lower(v);
}

// A count of pixels as written ("5", "5px"); -1 for anything else.
long long Pixels(std::string_view value)
{
    std::string_view v = Trim(value);
    if (v.size() > 2 && EqualsIgnoreCase(v.substr(v.size() - 2), "px"))
        v = v.substr(0, v.size() - 2);
    if (v.empty() || v.size() > 5)
        return -1;
    for (char c : v) {
        if (c < '0' || c > '9')
            return -1;
    }
    return LeadingDecimal(v);
}

bool IsIdentifierWord(std::string_view word)
{
    if (word.empty() || (word[0] >= '0' && word[0] <= '9') || word.starts_with("--"))
        return false;
    for (char c : word) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                            c == '-' || c == '_' || static_cast<unsigned char>(c) >= 0x80;
        if (!letter)
            return false;
    }
    return true;
}

// One family of a face list: written as it stands when it is plain words,
// else quoted, so no character of it can end the declaration.
void AppendFamily(std::string& out, std::string_view family)
{
    std::string words;
    bool plain = true;
    std::size_t at = 0;
    while (at < family.size()) {
        while (at < family.size() && IsSpace(family[at]))
            ++at;
        std::size_t end = at;
        while (end < family.size() && !IsSpace(family[end]))
            ++end;
        if (end > at) {
            plain = plain && IsIdentifierWord(family.substr(at, end - at));
            if (!words.empty())
                words.push_back(' ');
            words.append(family.substr(at, end - at));
        }
        at = end;
    }
    if (words.empty())
        return;
    if (!out.empty())
        out.append(", ");
    if (plain) {
        out.append(words);
        return;
    }
    out.push_back('\'');
    for (char c : words) {
        if (c == '\'' || c == '\\')
            out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('\'');
}

std::string FontFamilies(std::string_view face)
{
    std::string families;
    std::size_t start = 0;
    while (start <= face.size()) {
        std::size_t comma = face.find(',', start);
        if (comma == std::string_view::npos)
            comma = face.size();
        AppendFamily(families, face.substr(start, comma - start));
        start = comma + 1;
    }
    return families;
}

void Add(std::string& declarations, std::string_view declaration)
{
    if (declaration.empty())
        return;
    if (!declarations.empty())
        declarations.append("; ");
    declarations.append(declaration);
}

std::string AttributeDeclarations(Css css, std::string_view value)
{
    const std::string v = Lower(value);
    switch (css) {
    case Css::TextAlign:
        if (v == "left" || v == "center" || v == "right" || v == "justify")
            return "text-align: " + v;
        return {};
    case Css::ImageAlign:
        if (v == "left" || v == "right")
            return "float: " + v;
        if (v == "top")
            return "vertical-align: top";
        if (v == "middle" || v == "absmiddle" || v == "center")
            return "vertical-align: middle";
        if (v == "bottom" || v == "baseline")
            return "vertical-align: baseline";
        if (v == "texttop")
            return "vertical-align: text-top";
        if (v == "absbottom")
            return "vertical-align: bottom";
        return {};
    case Css::TableAlign:
        if (v == "left" || v == "right")
            return "float: " + v;
        if (v == "center")
            return "margin-left: auto; margin-right: auto";
        return {};
    case Css::BackgroundColour: {
        const std::string colour = Colour(value);
        return colour.empty() ? std::string() : "background-color: " + colour;
    }
    case Css::ImageBorder: {
        const long long width = Pixels(value);
        if (width < 0)
            return {};
        return width == 0 ? std::string("border: 0") : "border: " + std::to_string(width) + "px solid";
    }
    case Css::SideSpace:
    case Css::EndSpace: {
        const long long space = Pixels(value);
        if (space < 0)
            return {};
        const std::string px = space == 0 ? std::string("0") : std::to_string(space) + "px";
        return css == Css::SideSpace ? "margin-left: " + px + "; margin-right: " + px
                                     : "margin-top: " + px + "; margin-bottom: " + px;
    }
    case Css::Clear:
        if (v == "left" || v == "right" || v == "both")
            return "clear: " + v;
        if (v == "all")
            return "clear: both";
        return {};
    case Css::NoWrap:
        return "white-space: nowrap";
    }
    return {};
}

std::string PropertyName(std::string_view declaration)
{
    const std::size_t colon = declaration.find(':');
    return Lower(declaration.substr(0, colon == std::string_view::npos ? declaration.size() : colon));
}

} // namespace

bool IsDeprecatedElement(int kind)
{
    return kind == kFont || kind == kBasefont || kind == kCenter || kind == kU || kind == kS || kind == kStrike;
}

Becomes ReplacementOf(int kind)
{
    switch (kind) {
    case kCenter:
        return Becomes::Div;
    case kS:
    case kStrike:
        return Becomes::StruckOut;
    case kBasefont:
        return Becomes::BodyStyle;
    default:
        return Becomes::Span;
    }
}

std::vector<Finding> FindInBody(const CHtmlDocument& document, const CElement& body, std::size_t limit)
{
    std::vector<Finding> findings;
    const auto& elements = document.Elements();
    if (!document.Find(&body))
        return findings;
    const std::size_t start = document.IndexOf(body);
    std::size_t end = elements.size();
    if (const CElement* close = body.Partner(); close && document.Find(close) && document.IndexOf(*close) > start)
        end = document.IndexOf(*close);
    for (std::size_t i = start + 1; i < end && findings.size() < limit; ++i) {
        CElement* e = elements[i];
        const int kind = e->Kind();
        if (e->IsDeleted() || kind < 0 || kind >= kTagTableSize || kind == tag::kBody)
            continue;
        if (IsDeprecatedElement(kind))
            findings.push_back({e, nullptr});
        for (CAttribute* a = e->AttributesAfterName(); a && findings.size() < limit; a = a->Next()) {
            if (a->IsHidden())
                continue;
            const AttributeRule* rule = RuleOf(kind, *a);
            if (rule && !AttributeDeclarations(rule->css, a->Value()).empty())
                findings.push_back({e, a});
        }
    }
    return findings;
}

std::string_view FontSizeKeyword(std::string_view size)
{
    std::string_view v = Trim(size);
    int sign = 0;
    if (v.starts_with('+') || v.starts_with('-')) {
        sign = v[0] == '+' ? 1 : -1;
        v.remove_prefix(1);
    }
    if (v.empty() || v[0] < '0' || v[0] > '9')
        return {};
    long long n = LeadingDecimal(v.substr(0, std::min<std::size_t>(v.size(), 3)));
    // Relative sizes count from the size 3 that text has by default.
    if (sign != 0)
        n = 3 + sign * n;
    n = std::clamp<long long>(n, 1, 7);
    return kFontSizes[n - 1];
}

std::string FontDeclaration(const CAttribute& attribute)
{
    if (attribute.IsHidden())
        return {};
    switch (attribute.Id()) {
    case attr::kFace: {
        const std::string families = FontFamilies(attribute.Value());
        return families.empty() ? std::string() : "font-family: " + families;
    }
    case attr::kSize: {
        const std::string_view keyword = FontSizeKeyword(attribute.Value());
        return keyword.empty() ? std::string() : "font-size: " + std::string(keyword);
    }
    case attr::kColor: {
        const std::string colour = Colour(attribute.Value());
        return colour.empty() ? std::string() : "color: " + colour;
    }
    default:
        return {};
    }
}

std::string FontDeclarations(const CElement& element)
{
    std::string declarations;
    for (int id : {attr::kFace, attr::kSize, attr::kColor}) {
        if (const CAttribute* a = element.FindAttribute(id))
            Add(declarations, FontDeclaration(*a));
    }
    return declarations;
}

std::string Declarations(const Finding& finding)
{
    if (!finding.element)
        return {};
    const int kind = finding.element->Kind();
    if (finding.attribute) {
        const AttributeRule* rule = RuleOf(kind, *finding.attribute);
        return rule ? AttributeDeclarations(rule->css, finding.attribute->Value()) : std::string();
    }
    switch (kind) {
    case kFont:
    case kBasefont:
        return FontDeclarations(*finding.element);
    case kCenter:
        return "text-align: center";
    case kU:
        return "text-decoration: underline";
    case kS:
    case kStrike:
        return "text-decoration: line-through";
    default:
        return {};
    }
}

std::string MergeStyle(std::string_view style, std::string_view declarations)
{
    std::string merged(TrimRight(Trim(style)));
    while (!merged.empty() && (merged.back() == ';' || IsSpace(merged.back())))
        merged.pop_back();
    std::vector<std::string> set;
    for (std::size_t at = 0; at < merged.size();) {
        std::size_t semicolon = merged.find(';', at);
        if (semicolon == std::string::npos)
            semicolon = merged.size();
        set.push_back(PropertyName(std::string_view(merged).substr(at, semicolon - at)));
        at = semicolon + 1;
    }
    for (std::size_t at = 0; at < declarations.size();) {
        std::size_t semicolon = declarations.find(';', at);
        if (semicolon == std::string_view::npos)
            semicolon = declarations.size();
        const std::string_view declaration = Trim(declarations.substr(at, semicolon - at));
        at = semicolon + 1;
        if (declaration.empty())
            continue;
        const std::string property = PropertyName(declaration);
        bool already = false;
        for (const std::string& name : set)
            already = already || name == property;
        if (already)
            continue;
        set.push_back(property);
        Add(merged, declaration);
    }
    return merged;
}

} // namespace deprecatedmarkup
