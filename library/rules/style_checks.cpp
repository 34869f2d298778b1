// Checks of the page's CSS: text spacing set !important in style
// attributes, and content locked to one orientation.
#include "checks.h"

#include "library/a11y/accessibility_tree.h"
#include "library/html/text_util.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

namespace orvane::rules {

namespace {

using a11y::Node;

[[gnu::always_inline]] inline Node N(const PageContext& page, int node) { return page.tree.At(node); }
CheckResult Pass() { return {Outcome::Passed, {}}; }
CheckResult Fail(std::string detail = {}) { return {Outcome::Failed, std::move(detail)}; }

bool HasVisibleText(const PageContext& page, int node)
{
    for (int child : page.tree.Children(node))
        if (N(page, child).IsText() && N(page, child).visible && !Trim(N(page, child).text).empty())
            return true;
    return false;
}

bool ImportantInlineSpacing(const PageContext& page, int node, std::string_view property)
{
    const a11y::NodeStyle& s = N(page, node).Style();
    const bool important = property == "letter-spacing" ? s.letterSpacingImportant
                           : property == "word-spacing" ? s.wordSpacingImportant
                                                        : s.lineHeightImportant;
    if (!important || N(page, node).foreign || !HasVisibleText(page, node))
        return false;
    // The value taken from the parent is the parent's, not this important one.
    if (const std::string_view* style = page.tree.Attribute(node, "style")) {
        std::string written;
        for (const a11y::css::Declaration& d : a11y::css::ReadDeclarations(*style))
            if (d.property == property && d.important)
                written = ToLower(d.value);
        if (written == "inherit" || written == "unset")
            return false;
    }
    if (property == "line-height") {
        // A soft wrap needs words to wrap between.
        std::string text;
        for (int child : page.tree.Children(node))
            if (N(page, child).IsText())
                text += N(page, child).text;
        const std::string words = a11y::CollapseBlanks(text);
        if (words.find(' ') == std::string::npos)
            return false;
        // A width written in pixels that holds the whole text on one line leaves nothing to wrap.
        if (const std::string_view* style = page.tree.Attribute(node, "style"))
            for (const a11y::css::Declaration& d : a11y::css::ReadDeclarations(*style))
                if ((d.property == "width" || d.property == "min-width") && d.value.find("px") != std::string::npos &&
                    std::atof(d.value.c_str()) > static_cast<double>(words.size()) * 16 * 0.6)
                    return false;
        return true;
    }
    return true;
}

// A length in pixels; em and % against the font size. False when unknown.
bool Pixels(std::string_view value, double fontSize, double& pixels, bool plainNumberIsFactor)
{
    value = Trim(value);
    if (value == "normal" || value == "initial" || value == "unset" || value == "revert") {
        pixels = plainNumberIsFactor ? 1.2 * fontSize : 0;
        return true;
    }
    const std::string text(value);
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    if (end == text.c_str())
        return false;
    const std::string unit = ToLower(end);
    if (unit.empty())
        pixels = plainNumberIsFactor ? number * fontSize : (number == 0 ? 0 : number);
    else if (unit == "px")
        pixels = number;
    else if (unit == "em")
        pixels = number * fontSize;
    else if (unit == "rem")
        pixels = number * 16;
    else if (unit == "%")
        pixels = number / 100 * fontSize;
    else if (unit == "pt")
        pixels = number * 4 / 3;
    else if (unit == "ex" || unit == "ch")
        pixels = number * fontSize / 2;
    else
        return false;
    return true;
}

// The element's font size in pixels given its parent's.
double FontSizeFrom(const PageContext& page, int node, double parentSize)
{
    const Node& n = N(page, node);
    double pixels = parentSize;
    const std::string& own = n.Style().fontSize;
    const std::string& inherited = n.parent > 0 ? N(page, n.parent).Style().fontSize : std::string();
    if (!own.empty() && own != inherited && Pixels(own, parentSize, pixels, false))
        return pixels;
    return parentSize;
}

// Each size found is kept for the page: the elements of a deep chain
// would otherwise each climb it again.
double FontSize(const PageContext& page, int node)
{
    thread_local KeptForPage<std::vector<double>> kept;  // per node; NaN while unknown
    thread_local std::vector<int> climbed;
    const std::size_t count = page.tree.Nodes().size();
    std::vector<double>& found = kept.value;
    if (kept.Renew(page) || found.size() != count)
        found.assign(count, std::numeric_limits<double>::quiet_NaN());
    climbed.clear();
    int p = node;
    while (p > 0 && std::isnan(found[p])) {
        climbed.push_back(p);
        p = N(page, p).parent;
    }
    double size = p > 0 ? found[p] : 16.0;
    for (auto at = climbed.rbegin(); at != climbed.rend(); ++at)
        size = found[*at] = FontSizeFrom(page, *at, size);
    return size;
}

CheckResult SpacingWideEnough(const PageContext& page, int node, std::string_view property)
{
    const a11y::NodeStyle& s = N(page, node).Style();
    const std::string& value = property == "letter-spacing" ? s.letterSpacing
                               : property == "word-spacing" ? s.wordSpacing
                                                            : s.lineHeight;
    const double factor = property == "letter-spacing" ? 0.12 : property == "word-spacing" ? 0.16 : 1.5;
    const double fontSize = FontSize(page, node);
    double pixels = 0;
    if (!Pixels(value, fontSize, pixels, property == "line-height"))
        return {Outcome::CannotTell, value};
    return pixels + 1e-9 >= factor * fontSize ? Pass() : Fail(std::string(property) + ": " + value);
}

// The angle in degrees a transform or rotate value turns by around the
// z axis; NaN when it cannot be read.
double Angle(std::string_view declaration)
{
    if (declaration.empty())
        return 0;
    const std::size_t colon = declaration.find(':');
    const std::string property(declaration.substr(0, colon));
    std::string value(declaration.substr(colon + 1));
    auto number = [](const std::string& text, std::size_t& at) {
        while (at < text.size() && (text[at] == ' ' || text[at] == ','))
            ++at;
        char* end = nullptr;
        const double n = std::strtod(text.c_str() + at, &end);
        std::size_t used = static_cast<std::size_t>(end - (text.c_str() + at));
        std::string unit;
        at += used;
        while (at < text.size() && std::isalpha(static_cast<unsigned char>(text[at])))
            unit.push_back(text[at++]);
        double degrees = n;
        if (unit == "rad")
            degrees = n * 180 / M_PI;
        else if (unit == "turn")
            degrees = n * 360;
        else if (unit == "grad")
            degrees = n * 0.9;
        return used ? degrees : std::nan("");
    };
    if (property == "rotate") {
        std::size_t at = 0;
        // "rotate: z 90deg" or "rotate: 90deg" or "rotate: 0 0 1 90deg".
        if (value.rfind("z ", 0) == 0)
            at = 2;
        double last = number(value, at);
        while (at < value.size()) {
            const double next = number(value, at);
            if (std::isnan(next))
                break;
            last = next;
        }
        return last;
    }
    double total = 0;
    for (std::size_t at = 0; (at = value.find('(', at)) != std::string::npos;) {
        std::size_t nameStart = at;
        while (nameStart > 0 && (std::isalnum(static_cast<unsigned char>(value[nameStart - 1]))))
            --nameStart;
        const std::string name = value.substr(nameStart, at - nameStart);
        const std::size_t close = value.find(')', at);
        const std::string args = value.substr(at + 1, close == std::string::npos ? std::string::npos : close - at - 1);
        std::vector<double> numbers;
        for (std::size_t k = 0; k < args.size();) {
            const std::size_t before = k;
            const double n = number(args, k);
            if (std::isnan(n) || k == before)
                break;
            numbers.push_back(n);
        }
        if ((name == "rotate" || name == "rotatez") && numbers.size() == 1)
            total += numbers[0];
        else if (name == "rotate3d" && numbers.size() == 4 && numbers[0] == 0 && numbers[1] == 0)
            total += numbers[2] < 0 ? -numbers[3] : numbers[3];
        else if (name == "matrix" && numbers.size() == 6)
            total += std::atan2(numbers[1], numbers[0]) * 180 / M_PI;
        else if (name == "matrix3d" && numbers.size() == 16)
            total += std::atan2(numbers[1], numbers[0]) * 180 / M_PI;
        at = close == std::string::npos ? value.size() : close;
    }
    return total;
}

// Only a rule under an orientation media query turns content by orientation.
bool OrientationMedia(const PageContext& page, int, std::string_view) { return FactsOf(page).orientationMedia; }

bool RotatedByOrientation(const PageContext& page, int node, std::string_view)
{
    const Node& n = N(page, node);
    if (n.foreign || !n.visible || !n.Style().orientationDependent)
        return false;
    const std::string& a = n.Style().landscapeRotation;
    const std::string& b = n.Style().portraitRotation;
    auto turns = [](const std::string& d) {
        return d.find("rotate") != std::string::npos || d.find("matrix") != std::string::npos;
    };
    return turns(a) || turns(b);
}

CheckResult NotLockedToOrientation(const PageContext& page, int node, std::string_view)
{
    const Node& n = N(page, node);
    const double landscape = Angle(n.Style().landscapeRotation);
    const double portrait = Angle(n.Style().portraitRotation);
    if (std::isnan(landscape) || std::isnan(portrait))
        return {Outcome::CannotTell, {}};
    double difference = std::fmod(std::fabs(landscape - portrait), 180.0);
    if (std::fabs(difference - 90) < 0.5)
        return Fail(n.Style().portraitRotation.empty() ? n.Style().landscapeRotation : n.Style().portraitRotation);
    return Pass();
}

} // namespace

const std::vector<NamedMatcher>& StyleMatchers()
{
    static const std::vector<NamedMatcher> list = {
        {"important-inline-spacing", ImportantInlineSpacing, {.attributes = "style"}},
        {"orientation-media", OrientationMedia, {.perPage = true}},
        {"rotated-by-orientation", RotatedByOrientation},
    };
    return list;
}

const std::vector<NamedCheck>& StyleChecks()
{
    static const std::vector<NamedCheck> list = {
        {"spacing-wide-enough", SpacingWideEnough},
        {"not-locked-to-orientation", NotLockedToOrientation},
    };
    return list;
}

} // namespace orvane::rules
