#include "attribute_table.h"

#include "name_index.h"

#include "text_util.h"

#include <array>
#include <cstdint>

namespace orvane {
namespace {

struct AttributeEntry {
    std::string_view name;
    int id;
};

constexpr std::array<AttributeEntry, kAttributeTableSize> kAttributes{{
    {"src", 2},          {"alt", 3},          {"align", 4},       {"height", 5},
    {"width", 6},        {"border", 7},       {"hspace", 8},      {"vspace", 9},
    {"usemap", 10},      {"ismap", 11},       {"longdesc", 13},   {"shape", 14},
    {"href", 15},        {"type", 16},        {"code", 17},       {"title", 18},
    {"classid", 19},     {"data", 20},        {"name", 21},       {"background", 22},
    {"bgcolor", 23},     {"size", 24},        {"value", 25},      {"summary", 26},
    {"abbr", 27},        {"id", 28},          {"headers", 29},    {"http-equiv", 30},
    {"content", 31},     {"coords", 32},      {"rowspan", 33},    {"colspan", 34},
    {"lang", 12},        {"language", 12},    {"alink", 35},      {"vlink", 36},
    {"link", 37},        {"text", 38},        {"scope", 39},      {"axis", 40},
    {"object", 41},      {"codebase", 42},    {"archive", 43},    {"rows", 44},
    {"cols", 45},        {"/", 46},           {"bordercolor", 47}, {"style", 48},
    {"color", 49},       {"rel", 50},         {"scheme", 51},     {"onmouseover", 52},
    {"onfocus", 53},     {"onmousedown", 54}, {"onkeydown", 55},  {"onmouseup", 56},
    {"onkeyup", 57},     {"onclick", 58},     {"onkeypress", 59}, {"onmouseout", 60},
    {"onblur", 61},      {"for", 62},         {"target", 63},     {"prompt", 64},
    {"action", 65},      {"face", 66},
}};

struct ColourEntry {
    std::string_view name;
    Rgb rgb;
};

// "grey" with an e, and maroon at 192: these are the values pages were judged by.
constexpr std::array<ColourEntry, 16> kColours{{
    {"black", {0, 0, 0}},       {"silver", {192, 192, 192}}, {"grey", {128, 128, 128}},
    {"white", {255, 255, 255}}, {"maroon", {192, 0, 0}},     {"red", {255, 0, 0}},
    {"purple", {128, 0, 128}},  {"fuchsia", {255, 0, 255}},  {"green", {0, 128, 0}},
    {"lime", {0, 255, 0}},      {"olive", {128, 128, 0}},    {"yellow", {255, 255, 0}},
    {"navy", {0, 0, 128}},      {"blue", {0, 0, 255}},       {"teal", {0, 128, 128}},
    {"aqua", {0, 255, 255}},
}};

static_assert(CNameIndex<AttributeEntry, kAttributes.size()>::NamesAreUnique(kAttributes),
              "a name found by its hash must be the only one of its spelling");

constexpr CNameIndex kAttributeIndex(kAttributes);

} // namespace

int AttributeIdOfName(std::string_view name)
{
    const AttributeEntry* entry = kAttributeIndex.Find(name);
    return entry ? entry->id : attr::kOther;
}

std::string_view AttributeNameOfId(int id)
{
    for (const AttributeEntry& entry : kAttributes) {
        if (entry.id == id)
            return entry.name;
    }
    return {};
}

bool ColourOfName(std::string_view name, Rgb& colour)
{
    for (const ColourEntry& entry : kColours) {
        if (EqualsIgnoreCase(entry.name, name)) {
            colour = entry.rgb;
            return true;
        }
    }
    return false;
}

} // namespace orvane
