// Checks of accessible names and of the elements that need them: images,
// buttons, frames, objects, summaries, table headers, autocomplete.
#include "checks.h"

#include "library/a11y/accessibility_tree.h"
#include "library/html/html_document.h"
#include "library/html/text_util.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>
#include <unordered_map>
#include <sstream>

namespace orvane::rules {

namespace {

using a11y::Node;

[[gnu::always_inline]] inline Node N(const PageContext& page, int node) { return page.tree.At(node); }
const std::string_view* A(const PageContext& page, int node, std::string_view name) { return page.tree.Attribute(node, name); }
CheckResult Pass() { return {Outcome::Passed, {}}; }
CheckResult Fail(std::string detail = {}) { return {Outcome::Failed, std::move(detail)}; }

// Whether the word is one of the blank-separated list; no allocation, as
// applicability asks it of every node.
bool In(std::string_view word, std::string_view list)
{
    if (word.empty())
        return false;
    for (std::size_t at = list.find(word); at != std::string_view::npos; at = list.find(word, at + 1)) {
        const bool startsWord = at == 0 || list[at - 1] == ' ';
        const std::size_t end = at + word.size();
        if (startsWord && (end == list.size() || list[end] == ' '))
            return true;
    }
    return false;
}

std::string InputType(const PageContext& page, int node)
{
    const std::string_view* type = A(page, node, "type");
    return type ? ToLower(Trim(*type)) : std::string();
}

bool ImageInput(const PageContext& page, int node, std::string_view)
{
    return N(page, node).tag == "input" && !N(page, node).foreign && InputType(page, node) == "image";
}
bool NotImageInput(const PageContext& page, int node, std::string_view) { return !ImageInput(page, node, {}); }

bool ImgOrRoleImg(const PageContext& page, int node, std::string_view)
{
    const Node& n = N(page, node);
    return !n.foreign && (n.tag == "img" || n.role == "img");
}

bool NegativeTabindex(const PageContext& page, int node)
{
    const std::string_view* tabindex = A(page, node, "tabindex");
    if (!tabindex)
        return false;
    const std::string_view value = Trim(*tabindex);
    return value.size() > 1 && value[0] == '-' && std::isdigit(static_cast<unsigned char>(value[1]));
}
bool NotNegativeTabindex(const PageContext& page, int node, std::string_view) { return !NegativeTabindex(page, node); }
bool NotMarkedDecorative(const PageContext& page, int node, std::string_view) { return !N(page, node).markedDecorative; }
bool MarkedDecorative(const PageContext& page, int node, std::string_view) { return N(page, node).markedDecorative; }

bool SummaryButton(const PageContext& page, int node, std::string_view)
{
    const Node& n = N(page, node);
    if (n.tag != "summary" || n.foreign || n.explicitRole || n.parent <= 0 || N(page, n.parent).tag != "details")
        return false;
    for (int sibling : page.tree.Children(n.parent))
        if (N(page, sibling).tag == "summary")
            return sibling == node;
    return false;
}

// A frame's own document (srcdoc) with something visible in its focus order.
bool IframeHasFocusableContent(const PageContext& page, int node, std::string_view)
{
    const Node& n = N(page, node);
    const std::string_view* srcdoc = A(page, node, "srcdoc");
    if (!srcdoc || !n.visible || A(page, node, "inert"))
        return false;
    // A frame a pixel wide shows nothing of what it holds.
    for (std::string_view side : {"width", "height"})
        if (const std::string_view* size = A(page, node, side); size && std::atof(std::string(*size).c_str()) <= 1 && !Trim(*size).empty())
            return false;
    CHtmlDocument inner;
    inner.Start(1, false);
    std::istringstream in(page.tree.Attribute(node, "srcdoc") ? std::string(*srcdoc) : std::string());
    if (inner.Load(in) != 1)
        return false;
    const a11y::AccessibilityTree tree(inner);
    for (const Node& child : tree.Nodes())
        if (child.IsElement() && child.inTabOrder && child.visible)
            return true;
    return false;
}

bool ObjectEmbedsMedia(const PageContext& page, int node, std::string_view)
{
    if (const std::string_view* type = A(page, node, "type")) {
        const std::string lower = ToLower(Trim(*type));
        if (lower.rfind("image/", 0) == 0 || lower.rfind("audio/", 0) == 0 || lower.rfind("video/", 0) == 0)
            return true;
    }
    const std::string_view* data = A(page, node, "data");
    if (!data)
        return false;
    std::string lower = ToLower(Trim(*data));
    lower = lower.substr(0, lower.find_first_of("?#"));
    const std::size_t dot = lower.rfind('.');
    if (dot == std::string::npos)
        return false;
    static const char* const kMedia[] = {"png", "jpg", "jpeg", "gif", "svg", "webp", "bmp", "avif", "ico",
                                         "mp3", "wav", "ogg", "oga", "m4a", "aac", "flac", "mp4", "webm",
                                         "ogv", "mov", "m4v", "avi", "mkv"};
    const std::string extension = lower.substr(dot + 1);
    return std::any_of(std::begin(kMedia), std::end(kMedia), [&](const char* e) { return extension == e; });
}

CheckResult NonEmptyName(const PageContext& page, int node, std::string_view)
{
    return page.tree.Name(node).empty() ? Fail() : Pass();
}

CheckResult RoleInCheck(const PageContext& page, int node, std::string_view roles)
{
    const Node& n = N(page, node);
    const std::string_view role = n.presentational ? std::string_view("presentation") : n.role;
    return !role.empty() && In(role, roles) ? Pass() : Fail();
}

CheckResult NotIncluded(const PageContext& page, int node, std::string_view)
{
    return N(page, node).included ? Fail() : Pass();
}

CheckResult NotNegativeTabindexCheck(const PageContext& page, int node, std::string_view)
{
    return NegativeTabindex(page, node) ? Fail(std::string(*A(page, node, "tabindex"))) : Pass();
}

// ----- Tables ---------------------------------------------------------------

// The table a cell or header belongs to: its nearest table ancestor.
int TableOf(const PageContext& page, int node)
{
    for (int p = N(page, node).parent; p > 0; p = N(page, p).parent)
        if (N(page, p).tag == "table" || N(page, p).role == "table" || N(page, p).role == "grid" ||
            N(page, p).role == "treegrid")
            return p;
    return Node::kNone;
}

bool TableExposed(const PageContext& page, int table)
{
    const Node& t = N(page, table);
    return t.visible && t.included && (t.role == "table" || t.role == "grid" || t.role == "treegrid");
}

bool CellInExposedTable(const PageContext& page, int node, std::string_view)
{
    const Node& n = N(page, node);
    if (n.tag != "td" && n.tag != "th")
        return false;
    const int table = TableOf(page, node);
    return table != Node::kNone && N(page, table).tag == "table" && TableExposed(page, table);
}

bool HeaderInExposedTable(const PageContext& page, int node, std::string_view)
{
    if (!N(page, node).visible || N(page, node).foreign)
        return false;
    const int table = TableOf(page, node);
    return table != Node::kNone && N(page, table).included;
}

bool IsCellRole(std::string_view role) { return role == "cell" || role == "gridcell"; }

// The table's cells by position, spans laid out, as the HTML table model does.
struct Grid {
    std::vector<std::vector<int>> at;  // [row][column] -> node; kNone where no cell stands
    std::vector<std::pair<int, std::pair<int, int>>> where;  // node -> (row, column), in page order
    // The cells a header can be assigned, by the row and the column of each
    // slot they take; and the cells naming their headers themselves.
    std::vector<std::vector<int>> byRow, byColumn;
    std::vector<int> naming;

    bool Taken(int row, int column) const
    {
        const auto r = static_cast<std::size_t>(row), c = static_cast<std::size_t>(column);
        return r < at.size() && c < at[r].size() && at[r][c] != Node::kNone;
    }
    void Put(int row, int column, int node)
    {
        if (at.size() <= static_cast<std::size_t>(row))
            at.resize(static_cast<std::size_t>(row) + 1);
        std::vector<int>& line = at[static_cast<std::size_t>(row)];
        if (line.size() <= static_cast<std::size_t>(column))
            line.resize(static_cast<std::size_t>(column) + 1, Node::kNone);
        line[static_cast<std::size_t>(column)] = node;
    }
};

// What TableOf stops at: the content of a table nested in another is its own.
bool IsTableLike(const Node& n)
{
    return n.tag == "table" || n.role == "table" || n.role == "grid" || n.role == "treegrid";
}

Grid LayOut(const PageContext& page, int table)
{
    Grid grid;
    int row = -1;
    const int end = page.tree.SubtreeEnd(table);
    for (int i = table + 1, next = 0; i < end; i = next) {
        const Node& n = N(page, i);
        // A nested table's content belongs to it: stepped over, not asked of each of its nodes.
        next = n.IsElement() && IsTableLike(n) ? page.tree.SubtreeEnd(i) : i + 1;
        if (!n.IsElement())
            continue;
        if (n.tag == "tr" || n.role == "row") {
            ++row;
            continue;
        }
        const bool cell = n.tag == "td" || n.tag == "th" || IsCellRole(n.role) || n.role == "columnheader" ||
                          n.role == "rowheader";
        if (!cell || row < 0)
            continue;
        int column = 0;
        while (grid.Taken(row, column))
            ++column;
        auto span = [&](std::string_view name) {
            const std::string_view* value = A(page, i, name);
            const int number = value ? std::atoi(std::string(*value).c_str()) : 1;
            return std::clamp(number, 1, 1000);
        };
        const int columns = span("colspan");
        const int rows = span("rowspan");
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c)
                grid.Put(row + r, column + c, i);
        grid.where.push_back({i, {row, column}});
    }
    return grid;
}

// Cell roles and those inheriting from cell (the header roles).
bool InheritsCell(std::string_view role)
{
    return role == "cell" || role == "gridcell" || role == "columnheader" || role == "rowheader";
}

// The layout of a table, made once per page and table: a page's headers
// would each lay the whole table out again otherwise.
const Grid& LayoutOf(const PageContext& page, int table)
{
    thread_local KeptForPage<std::unordered_map<int, Grid>> kept;
    kept.Renew(page);
    std::unordered_map<int, Grid>& grids = kept.value;
    auto found = grids.find(table);
    if (found == grids.end()) {
        Grid grid = LayOut(page, table);
        for (std::size_t row = 0; row < grid.at.size(); ++row) {
            for (std::size_t column = 0; column < grid.at[row].size(); ++column) {
                const int cell = grid.at[row][column];
                if (cell == Node::kNone || !InheritsCell(N(page, cell).role) || !N(page, cell).included)
                    continue;
                if (A(page, cell, "headers")) {
                    if (grid.naming.empty() || grid.naming.back() != cell)
                        grid.naming.push_back(cell);
                    continue;
                }
                if (grid.byRow.size() <= row)
                    grid.byRow.resize(row + 1);
                if (grid.byColumn.size() <= column)
                    grid.byColumn.resize(column + 1);
                grid.byRow[row].push_back(cell);
                grid.byColumn[column].push_back(cell);
            }
        }
        found = grids.emplace(table, std::move(grid)).first;
    }
    return found->second;
}

// A header is assigned the cells of its column (or row) that do not name
// their headers themselves, and the cells that name it.
CheckResult HeaderHasCells(const PageContext& page, int node, std::string_view)
{
    const int table = TableOf(page, node);
    const std::string_view* id = A(page, node, "id");
    const Grid& grid = LayoutOf(page, table);
    const auto found = std::lower_bound(grid.where.begin(), grid.where.end(), node,
                                        [](const auto& entry, int wanted) { return entry.first < wanted; });
    if (found == grid.where.end() || found->first != node)
        return Fail();
    const auto [row, column] = found->second;
    const bool rowHeader = N(page, node).role == "rowheader";
    const auto& lines = rowHeader ? grid.byRow : grid.byColumn;
    if (const std::size_t line = static_cast<std::size_t>(rowHeader ? row : column); line < lines.size())
        for (int cell : lines[line])
            if (cell != node)
                return Pass();
    if (id)
        for (int cell : grid.naming)
            if (cell != node && In(*id, *A(page, cell, "headers")))
                return Pass();
    return Fail();
}

CheckResult HeadersReferToCells(const PageContext& page, int node, std::string_view)
{
    const int table = TableOf(page, node);
    const std::string_view* headers = A(page, node, "headers");
    const std::vector<std::string_view> tokens = Tokens(*headers);
    if (tokens.empty())
        return Fail(std::string(*headers));
    for (std::string_view token : tokens) {
        const int target = page.tree.ElementWithId(token);
        if (target == node)
            return Fail(std::string(token));
        if (target == Node::kNone || TableOf(page, target) != table)
            return Fail(std::string(token));
        const Node& t = N(page, target);
        if (t.tag != "td" && t.tag != "th" && !IsCellRole(t.role) && t.role != "columnheader" && t.role != "rowheader")
            return Fail(std::string(token));
    }
    return Pass();
}

// ----- Visible label in name ------------------------------------------------

// The page's visible text in page order, each element that breaks a word
// standing as a blank; a subtree's share is one run of it, so that nested
// widgets do not each walk the subtrees of the ones inside them.
struct VisibleTextRuns {
    std::string text;
    std::vector<std::uint32_t> at;  // per node and one past the last: where its share begins
    std::vector<std::uint32_t> marks;  // the same, counting only what is not a blank
    std::vector<std::uint32_t> letters;  // the same, counting only what Comparable keeps
};

bool IsLetterOrDigit(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return std::isalnum(u) || u >= 0x80;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

const VisibleTextRuns& VisibleTextsOf(const PageContext& page)
{
    thread_local KeptForPage<VisibleTextRuns> kept;
    if (!kept.Renew(page))
        return kept.value;
    VisibleTextRuns runs;
    const int count = static_cast<int>(page.tree.Nodes().size());
    runs.at.reserve(count + 1);
    runs.marks.reserve(count + 1);
    runs.letters.reserve(count + 1);
    std::uint32_t marks = 0;
    std::uint32_t letters = 0;
    for (int i = 0; i < count; ++i) {
        runs.at.push_back(static_cast<std::uint32_t>(runs.text.size()));
        runs.marks.push_back(marks);
        runs.letters.push_back(letters);
        const Node& n = N(page, i);
        if (n.IsText() && n.visible) {
            runs.text += n.text;
            marks += static_cast<std::uint32_t>(std::count_if(n.text.begin(), n.text.end(), [](char c) { return !IsBlank(c); }));
            letters += static_cast<std::uint32_t>(std::count_if(n.text.begin(), n.text.end(), IsLetterOrDigit));
        } else if (n.IsElement() && n.tag != "span" && n.tag != "b" && n.tag != "i" && n.tag != "em" && n.tag != "strong") {
            runs.text += ' ';
        }
    }
    runs.at.push_back(static_cast<std::uint32_t>(runs.text.size()));
    runs.marks.push_back(marks);
    runs.letters.push_back(letters);
    kept.value = std::move(runs);
    return kept.value;
}

// The text of the visible text nodes below the node, blanks collapsed.
std::string VisibleText(const PageContext& page, int node)
{
    const VisibleTextRuns& runs = VisibleTextsOf(page);
    const std::uint32_t from = runs.at[node + 1];
    const std::uint32_t to = runs.at[page.tree.SubtreeEnd(node)];
    return a11y::CollapseBlanks(std::string_view(runs.text).substr(from, to - from));
}

// Whether VisibleText would give something, without building it.
bool HasVisibleText(const PageContext& page, int node)
{
    const VisibleTextRuns& runs = VisibleTextsOf(page);
    return runs.marks[page.tree.SubtreeEnd(node)] > runs.marks[node + 1];
}

bool WidgetFromContentWithAriaName(const PageContext& page, int node, std::string_view)
{
    const a11y::AriaRole* role = page.tree.RoleOf(node);
    if (!role || !role->nameFromContents || !role->IsA("widget"))
        return false;
    if (!A(page, node, "aria-label") && !A(page, node, "aria-labelledby"))
        return false;
    return HasVisibleText(page, node) && N(page, node).visible;
}

// Letters and digits only, lower-cased, words parted by one blank.
std::string Comparable(std::string_view text)
{
    std::string out;
    bool gap = false;
    for (char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (std::isalnum(u) || u >= 0x80) {
            if (gap && !out.empty())
                out.push_back(' ');
            gap = false;
            out.push_back(static_cast<char>(std::tolower(u)));
        } else {
            gap = true;
        }
    }
    return out;
}

CheckResult VisibleTextInName(const PageContext& page, int node, std::string_view)
{
    // A label with more letters than the name cannot stand in it: told
    // without building the text, which for nested widgets would copy the
    // inner ones' texts again for each outer one.
    const VisibleTextRuns& runs = VisibleTextsOf(page);
    const int end = page.tree.SubtreeEnd(node);
    const std::string& accessibleName = page.tree.Name(node);
    if (runs.letters[end] - runs.letters[node + 1] >
        static_cast<std::uint32_t>(std::count_if(accessibleName.begin(), accessibleName.end(), IsLetterOrDigit))) {
        const std::string& font = N(page, node).Style().fontFamily;
        if (runs.marks[end] - runs.marks[node + 1] == 1 || font.find("icon") != std::string::npos)
            return {Outcome::CannotTell, accessibleName};
        return Fail(accessibleName);
    }
    const std::string visible = VisibleText(page, node);
    const std::string label = Comparable(visible);
    const std::string name = Comparable(page.tree.Name(node));
    // Whole words of the label, in order, within the name.
    const std::string paddedName = " " + name + " ";
    if (label.empty() || paddedName.find(" " + label + " ") != std::string::npos)
        return Pass();
    // A single character or a word in an icon font may stand for a symbol,
    // which needs no place in the name: a person tells.
    const std::string& font = N(page, node).Style().fontFamily;
    if (visible.size() == 1 || font.find("icon") != std::string::npos)
        return {Outcome::CannotTell, page.tree.Name(node)};
    return Fail(page.tree.Name(node));
}

// ----- Autocomplete -----------------------------------------------------------

bool AutocompleteApplicable(const PageContext& page, int node, std::string_view)
{
    const Node& n = N(page, node);
    if (n.foreign || (n.tag != "input" && n.tag != "select" && n.tag != "textarea"))
        return false;
    const std::string_view* value = A(page, node, "autocomplete");
    if (!value || Trim(*value).empty())
        return false;
    const std::vector<std::string_view> tokens = Tokens(*value);
    if (tokens.size() == 1 && (EqualsIgnoreCase(tokens[0], "on") || EqualsIgnoreCase(tokens[0], "off")))
        return false;
    const std::string_view* ariaDisabled = A(page, node, "aria-disabled");
    if (n.disabled || (ariaDisabled && EqualsIgnoreCase(Trim(*ariaDisabled), "true")))
        return false;
    if (n.tag == "input" && In(InputType(page, node), "button checkbox file image radio reset submit"))
        return false;
    if (!n.visible && !n.included)
        return false;
    const a11y::AriaRole* role = page.tree.RoleOf(node);
    if (!n.inTabOrder && !(role && role->IsA("widget")))
        return false;
    return true;
}

CheckResult AutocompleteTokensValid(const PageContext& page, int node, std::string_view)
{
    static const char* const kFields =
        " name honorific-prefix given-name additional-name family-name honorific-suffix nickname username "
        "new-password current-password one-time-code organization-title organization street-address "
        "address-line1 address-line2 address-line3 address-level4 address-level3 address-level2 address-level1 "
        "country country-name postal-code cc-name cc-given-name cc-additional-name cc-family-name cc-number "
        "cc-exp cc-exp-month cc-exp-year cc-csc cc-type transaction-currency transaction-amount language bday "
        "bday-day bday-month bday-year sex url photo ";
    static const char* const kContactFields =
        " tel tel-country-code tel-national tel-area-code tel-local tel-local-prefix tel-local-suffix "
        "tel-extension email impp ";
    const std::string value = ToLower(*A(page, node, "autocomplete"));
    std::vector<std::string_view> tokens = Tokens(value);
    std::size_t i = 0;
    auto is = [](const char* list, std::string_view token) {
        return std::string_view(list).find(" " + std::string(token) + " ") != std::string_view::npos;
    };
    if (i < tokens.size() && tokens[i].rfind("section-", 0) == 0)
        ++i;
    if (i < tokens.size() && (tokens[i] == "shipping" || tokens[i] == "billing"))
        ++i;
    bool contactKind = false;
    if (i < tokens.size() && In(tokens[i], "home work mobile fax pager")) {
        ++i;
        contactKind = true;
    }
    if (i >= tokens.size())
        return Fail(value);
    const std::string_view field = tokens[i++];
    if (!(is(kContactFields, field) || (!contactKind && is(kFields, field))))
        return Fail(value);
    if (i < tokens.size() && tokens[i] == "webauthn")
        ++i;
    return i == tokens.size() ? Pass() : Fail(value);
}

} // namespace

const std::vector<NamedMatcher>& NameMatchers()
{
    static const std::vector<NamedMatcher> list = {
        {"image-input", ImageInput, {.tags = "input"}},
        {"not-image-input", NotImageInput},
        {"img-or-role-img", ImgOrRoleImg, {.tags = "img", .roles = "img"}},
        {"not-negative-tabindex", NotNegativeTabindex},
        {"not-marked-decorative", NotMarkedDecorative},
        {"marked-decorative", MarkedDecorative, {.tags = "img", .attributes = "role"}},
        {"summary-button", SummaryButton, {.tags = "summary"}},
        {"iframe-has-focusable-content", IframeHasFocusableContent, {.attributes = "srcdoc"}},
        {"object-embeds-media", ObjectEmbedsMedia, {.attributes = "type data"}},
        {"cell-in-exposed-table", CellInExposedTable, {.tags = "td th"}},
        {"header-in-exposed-table", HeaderInExposedTable},
        {"widget-from-content-with-aria-name", WidgetFromContentWithAriaName,
         {.attributes = "aria-label aria-labelledby"}},
        {"autocomplete-applicable", AutocompleteApplicable, {.attributes = "autocomplete"}},
    };
    return list;
}

const std::vector<NamedCheck>& NameChecks()
{
    static const std::vector<NamedCheck> list = {
        {"non-empty-name", NonEmptyName},
        {"role-in", RoleInCheck},
        {"not-included", NotIncluded},
        {"not-negative-tabindex-check", NotNegativeTabindexCheck},
        {"header-has-cells", HeaderHasCells},
        {"headers-refer-to-cells", HeadersReferToCells},
        {"visible-text-in-name", VisibleTextInName},
        {"autocomplete-tokens-valid", AutocompleteTokensValid},
    };
    return list;
}

} // namespace orvane::rules
