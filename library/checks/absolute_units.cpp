#include "absolute_units.h"

#include "library/html/attribute.h"
#include "library/html/attribute_table.h"
#include "library/html/element.h"
#include "library/html/text_util.h"
#include "library/tables/table_record.h"

#include <algorithm>

namespace orvane {

namespace {

bool AllDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The number of a pixel length ("760", "760px"); -1 for anything else.
long long PixelCount(std::string_view value)
{
    value = Trim(value);
    if (value.size() > 2 && EqualsIgnoreCase(value.substr(value.size() - 2), "px"))
        value = TrimRight(value.substr(0, value.size() - 2));
    if (!AllDigits(value) || value.size() > 9)
        return -1;
    return LeadingDecimal(value);
}

std::vector<std::string_view> Entries(std::string_view list)
{
    std::vector<std::string_view> entries;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = list.find(',', start);
        entries.push_back(Trim(list.substr(start, comma == std::string_view::npos ? std::string_view::npos
                                                                                   : comma - start)));
        if (comma == std::string_view::npos)
            return entries;
        start = comma + 1;
    }
}

std::string Percent(long long pixels, int extent)
{
    const long long percent = std::clamp<long long>((pixels * 100 + extent / 2) / extent, 1, 100);
    return std::to_string(percent) + "%";
}

CAttribute* Shown(const CElement& element, int id)
{
    CAttribute* attribute = element.FindAttribute(id);
    return attribute && !attribute->IsHidden() ? attribute : nullptr;
}

void AddIfAbsolute(std::vector<AbsoluteSize>& sizes, CElement& element, int id)
{
    if (CAttribute* attribute = Shown(element, id); attribute && IsAbsoluteLength(attribute->Value()))
        sizes.push_back({&element, attribute});
}

void AddIfAbsoluteStyle(std::vector<AbsoluteSize>& sizes, CElement& element, std::string_view property)
{
    CAttribute* style = Shown(element, attr::kStyle);
    if (!style)
        return;
    const StyleValue at = FindStyleValue(style->Value(), property);
    if (at.declarationStart != std::string_view::npos &&
        StylePixels(style->Value().substr(at.valueStart, at.valueEnd - at.valueStart)) > 0)
        sizes.push_back({&element, style, property});
}

} // namespace

StyleValue FindStyleValue(std::string_view style, std::string_view property)
{
    std::size_t start = 0;
    while (start < style.size()) {
        std::size_t end = style.find(';', start);
        const std::size_t stop = end == std::string_view::npos ? style.size() : end;
        const std::string_view declaration = style.substr(start, stop - start);
        const std::size_t colon = declaration.find(':');
        if (colon != std::string_view::npos && EqualsIgnoreCase(Trim(declaration.substr(0, colon)), property)) {
            StyleValue at;
            at.declarationStart = start;
            const std::string_view raw = declaration.substr(colon + 1);
            const std::string_view value = Trim(raw);
            at.valueStart = start + colon + 1 + static_cast<std::size_t>(value.data() - raw.data());
            at.valueEnd = at.valueStart + value.size();
            at.declarationEnd = end == std::string_view::npos ? style.size() : end + 1;
            while (at.declarationEnd < style.size() && IsSpace(style[at.declarationEnd]))
                ++at.declarationEnd;
            return at;
        }
        if (end == std::string_view::npos)
            break;
        start = end + 1;
        while (start < style.size() && IsSpace(style[start]))
            ++start;
    }
    return {};
}

long long StylePixels(std::string_view value)
{
    value = Trim(value);
    struct Unit {
        std::string_view name;
        double pixels;
    };
    constexpr Unit kUnits[] = {{"px", 1.0}, {"pt", 96.0 / 72.0}, {"pc", 16.0}, {"cm", 96.0 / 2.54},
                               {"mm", 96.0 / 25.4}, {"in", 96.0}};
    for (const Unit& unit : kUnits) {
        if (value.size() <= unit.name.size() || !EqualsIgnoreCase(value.substr(value.size() - 2), unit.name))
            continue;
        const std::string_view number = TrimRight(value.substr(0, value.size() - 2));
        const std::size_t point = number.find('.');
        const std::string_view whole = number.substr(0, point);
        const std::string_view fraction = point == std::string_view::npos ? std::string_view() : number.substr(point + 1);
        if ((!AllDigits(whole) && !(whole.empty() && AllDigits(fraction))) || whole.size() > 7 ||
            (!fraction.empty() && !AllDigits(fraction)))
            return -1;
        double amount = static_cast<double>(whole.empty() ? 0 : LeadingDecimal(whole));
        double scale = 0.1;
        for (char c : fraction.substr(0, std::min<std::size_t>(fraction.size(), 6))) {
            amount += (c - '0') * scale;
            scale /= 10;
        }
        return static_cast<long long>(amount * unit.pixels + 0.5);
    }
    return -1;
}

// A width of 0 sets no size: it is left alone.
bool IsAbsoluteLength(std::string_view value) { return PixelCount(value) > 0; }

bool HasAbsoluteEntry(std::string_view list)
{
    const auto entries = Entries(list);
    return std::any_of(entries.begin(), entries.end(), [](std::string_view e) { return IsAbsoluteLength(e); });
}

std::vector<AbsoluteSize> TableAbsoluteSizes(CElement& table, const CTableRecord& record)
{
    std::vector<AbsoluteSize> sizes;
    AddIfAbsolute(sizes, table, attr::kWidth);
    AddIfAbsolute(sizes, table, attr::kHeight);
    AddIfAbsoluteStyle(sizes, table, "width");
    AddIfAbsoluteStyle(sizes, table, "height");
    for (const CTableRow* row : record.Rows()) {
        if (row->IsExcluded())
            continue;
        for (const CTableCell* cell : row->Cells()) {
            if (cell->IsIgnored())
                continue;
            AddIfAbsolute(sizes, cell->StartElement(), attr::kWidth);
            AddIfAbsoluteStyle(sizes, cell->StartElement(), "width");
        }
    }
    return sizes;
}

std::vector<AbsoluteSize> FramesetAbsoluteSizes(CElement& frameset)
{
    std::vector<AbsoluteSize> sizes;
    for (int id : {attr::kRows, attr::kCols}) {
        if (CAttribute* attribute = Shown(frameset, id); attribute && HasAbsoluteEntry(attribute->Value()))
            sizes.push_back({&frameset, attribute});
    }
    return sizes;
}

std::string RelativeLength(std::string_view value, int extent)
{
    const long long pixels = PixelCount(value);
    return pixels > 0 ? Percent(pixels, extent) : std::string(Trim(value));
}

std::string RelativeFrameList(std::string_view list, int extent)
{
    const auto entries = Entries(list);
    const bool takesRest = std::any_of(entries.begin(), entries.end(),
                                       [](std::string_view e) { return !e.empty() && e.back() == '*'; });
    std::size_t rest = entries.size();
    if (!takesRest) {
        long long largest = 0;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (const long long pixels = PixelCount(entries[i]); pixels > largest) {
                largest = pixels;
                rest = i;
            }
        }
    }
    std::string relative;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0)
            relative.push_back(',');
        if (i == rest)
            relative.push_back('*');
        else if (IsAbsoluteLength(entries[i]))
            relative += Percent(PixelCount(entries[i]), extent);
        else
            relative.append(entries[i]);
    }
    return relative;
}

bool IsRelativeLength(std::string_view value)
{
    value = Trim(value);
    if (value.empty())
        return true;
    if (value.back() != '%')
        return false;
    const std::string_view number = value.substr(0, value.size() - 1);
    return AllDigits(number) && number.size() <= 3 && LeadingDecimal(number) >= 1 && LeadingDecimal(number) <= 100;
}

bool IsRelativeFrameList(std::string_view list)
{
    if (Trim(list).empty())
        return false;
    for (std::string_view entry : Entries(list)) {
        if (entry == "*")
            continue;
        if (!entry.empty() && entry.back() == '*' && AllDigits(entry.substr(0, entry.size() - 1)))
            continue;
        if (entry.empty() || !IsRelativeLength(entry))
            return false;
    }
    return true;
}

} // namespace orvane
