#include "tag_table.h"

#include "name_index.h"

#include "text_util.h"

#include <array>
#include <cstdint>

namespace orvane {
namespace {

struct TagEntry {
    std::string_view name;
    int id;
};

// Searched in this order; some ids are shared (marquee/blink, ol/ul/dl, head/label).
constexpr std::array<TagEntry, kTagTableSize> kTags{{
    {"abbr", 0},      {"acronym", 1},   {"address", 2},  {"applet", 3},   {"area", 4},
    {"a", 5},         {"basefont", 6},  {"body", 7},     {"b", 8},        {"bdo", 9},
    {"big", 10},      {"blink", 11},    {"blockquote", 12}, {"br", 13},   {"button", 14},
    {"caption", 15},  {"cite", 16},     {"code", 17},    {"colgroup", 18}, {"dir", 19},
    {"div", 20},      {"dd", 21},       {"del", 22},     {"dfn", 23},     {"dl", 24},
    {"dt", 25},       {"em", 26},       {"embed", 27},   {"fieldset", 28}, {"font", 29},
    {"form", 30},     {"frame", 31},    {"frameset", 32}, {"h1", 33},     {"h2", 34},
    {"h3", 35},       {"h4", 36},       {"h5", 37},      {"h6", 38},      {"head", 49},
    {"hr", 40},       {"html", 41},     {"i", 42},       {"iframe", 43},  {"img", 44},
    {"input", 45},    {"ins", 46},      {"isindex", 47}, {"kbd", 48},     {"label", 49},
    {"legend", 50},   {"li", 51},       {"listing", 52}, {"link", 53},    {"map", 54},
    {"menu", 55},     {"marquee", 11},  {"meta", 57},    {"noframes", 58}, {"noscript", 59},
    {"object", 60},   {"ol", 24},       {"optgroup", 62}, {"option", 63}, {"p", 64},
    {"param", 65},    {"plaintext", 66}, {"pre", 67},    {"q", 68},       {"s", 69},
    {"samp", 70},     {"script", 71},   {"select", 72},  {"small", 73},   {"span", 74},
    {"strike", 75},   {"strong", 76},   {"style", 77},   {"sub", 78},     {"sup", 79},
    {"table", 80},    {"tbody", 81},    {"td", 82},      {"textarea", 83}, {"tfoot", 84},
    {"th", 86},       {"thead", 85},    {"title", 87},   {"tr", 88},      {"tt", 89},
    {"ul", 24},       {"u", 91},        {"var", 92},     {"xmp", 93},     {"center", 94},
    {"!doctype", 95},
}};

static_assert(CNameIndex<TagEntry, kTags.size()>::NamesAreUnique(kTags),
              "a name found by its hash must be the only one of its spelling");

constexpr CNameIndex kTagIndex(kTags);

int LookUp(std::string_view name)
{
    const TagEntry* entry = kTagIndex.Find(name);
    return entry ? entry->id : kind::kUnknown;
}

bool EndsTagName(std::string_view text, std::size_t i)
{
    char c = text[i];
    return c == ' ' || c == '>' || c == '/' || IsLineBreakAt(text, i);
}

std::size_t SkipSpaces(std::string_view text, std::size_t i)
{
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    return i;
}

} // namespace

int TagIdOfToken(std::string_view token)
{
    if (token.empty())
        return kind::kUnknown;
    if (token == "<!--")
        return kind::kComment;
    const std::size_t n = token.size();
    std::size_t i = SkipSpaces(token, token.front() == '<' ? 1 : 0);
    if (i == n)
        return kind::kUnknown;
    bool endTag = false;
    if (token[i] == '/') {
        endTag = true;
        i = SkipSpaces(token, i + 1);
    }
    const std::size_t nameStart = i;
    while (i < n && !EndsTagName(token, i))
        ++i;
    if (i == nameStart)
        return kind::kUnknown;
    int id = LookUp(token.substr(nameStart, i - nameStart));
    if (id == kind::kUnknown)
        return id;
    return endTag ? id + kind::kEndOffset : id;
}

std::string_view TagName(int index)
{
    if (index < 0 || index >= kTagTableSize)
        return {};
    return kTags[static_cast<std::size_t>(index)].name;
}

} // namespace orvane
