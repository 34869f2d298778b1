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

} // namespace

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
    for (const CTableRow* row : record.Rows()) {
        if (row->IsExcluded())
            continue;
        for (const CTableCell* cell : row->Cells()) {
            if (!cell->IsIgnored())
                AddIfAbsolute(sizes, cell->StartElement(), attr::kWidth);
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
