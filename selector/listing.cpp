#include "listing.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace orvane::selector {
namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

int CompareNames(const std::string& a, const std::string& b)
{
    const std::string lowerA = Lower(a), lowerB = Lower(b);
    return lowerA < lowerB ? -1 : lowerA > lowerB ? 1 : 0;
}

} // namespace

int ClassifyFileName(const std::string& name, bool link)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return itemkind::kOther;
    const std::string extension = Lower(name.substr(dot + 1));
    int kind = itemkind::kOther;
    if (extension == "txt")
        kind = itemkind::kText;
    else if (extension == "htm" || extension == "html" || extension == "shtml" || extension == "shtm")
        kind = itemkind::kHtml;
    if (link && kind == itemkind::kHtml)
        return itemkind::kHtmlLink;
    if (link && kind == itemkind::kText)
        return itemkind::kTextLink;
    return kind;
}

std::string SizeText(std::int64_t bytes)
{
    const std::int64_t kilobytes = std::max<std::int64_t>(1, (bytes + 512) / 1024);
    return std::to_string(kilobytes) + "KB";
}

std::string DateText(std::int64_t time)
{
    const std::time_t seconds = static_cast<std::time_t>(time);
    const std::tm* local = std::localtime(&seconds);
    char text[32];
    return local && std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", local) ? std::string(text) : std::string();
}

int CompareItems(const CListingItem& a, const CListingItem& b, int column, bool ascending, bool nameAscending)
{
    const bool folderA = a.kind == itemkind::kFolder, folderB = b.kind == itemkind::kFolder;
    if (folderA != folderB)
        return (folderA == nameAscending) ? -1 : 1;
    int order = 0;
    if (folderA || column == 0)
        order = CompareNames(a.name, b.name);
    else if (column == 3)
        order = CompareNames(a.type, b.type);
    else if (column == 1)
        order = a.size < b.size ? -1 : a.size > b.size ? 1 : 0;
    else if (column == 2)
        order = a.time == b.time ? 0 : a.time > b.time ? -1 : 1;
    if (order != 0 || column == 0)
        return ascending ? order : -order;
    // Files of one type (or size, or time) in the order of their names.
    return CompareNames(a.name, b.name);
}

} // namespace orvane::selector
