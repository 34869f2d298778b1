#include "address_path.h"

#include "text_util.h"

#include "platform/services.h"

#include <algorithm>
#include <vector>

namespace orvane {
namespace {

char Separator(PathStyle style) { return style == PathStyle::Windows ? '\\' : '/'; }

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

// Splits the name after the directory into file name and extension.
void SplitName(std::string_view name, SplitPath& parts)
{
    std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        parts.fileName = name;
    } else {
        parts.fileName = name.substr(0, dot);
        parts.extension = name.substr(dot);
    }
}

void SplitDirectoryAndName(std::string_view rest, char separator, SplitPath& parts)
{
    std::size_t last = rest.rfind(separator);
    if (last == std::string_view::npos) {
        parts.directory = rest;
        return;
    }
    parts.directory = rest.substr(0, last + 1);
    SplitName(rest.substr(last + 1), parts);
}

bool IsRoot(std::string_view base, PathStyle style)
{
    if (style == PathStyle::Posix)
        return base == "/";
    return base == "\\" || (base.size() == 3 && base[1] == ':' && base[2] == '\\');
}

// Drops the last folder of a base ending with a separator: "/a/b/" becomes "/a/".
// A base never climbs above its root ("/", "C:\\"): a path cut below it would
// name another file.
void DropLastFolder(std::string& base, PathStyle style)
{
    const char separator = Separator(style);
    if (base.empty() || IsRoot(base, style))
        return;
    base.pop_back();
    std::size_t last = base.rfind(separator);
    if (last != std::string::npos)
        base.resize(last + 1);
}

// Resolves a relative address against the base: each ".." climbs out of the
// base, or cancels the folder written before it; "." segments are dropped.
std::string ResolveRelative(std::string base, std::string_view address, PathStyle style)
{
    const char separator = Separator(style);
    std::vector<std::string_view> kept;
    for (std::size_t start = 0;;) {
        std::size_t end = address.find(separator, start);
        std::string_view segment = address.substr(start, end == std::string_view::npos ? end : end - start);
        if (segment == "..") {
            if (kept.empty())
                DropLastFolder(base, style);
            else
                kept.pop_back();
        } else if (segment != ".") {
            kept.push_back(segment);
        }
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    std::string result = std::move(base);
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (i > 0)
            result.push_back(separator);
        result.append(kept[i]);
    }
    return result;
}

} // namespace

bool SplitFileAddress(std::string_view address, SplitPath& parts, PathStyle style)
{
    parts = SplitPath{};
    const char separator = Separator(style);
    const std::string prefix = std::string("file:") + separator + separator;
    if (!StartsWithIgnoringCase(address, prefix))
        return false;
    std::string_view rest = address.substr(prefix.size());
    const std::string localhost = std::string("localhost") + separator;
    if (!rest.empty() && rest.front() == separator) {
        // "file:///": on Windows the drive follows; on POSIX the slash is the root.
        if (style == PathStyle::Windows)
            rest.remove_prefix(1);
    } else if (StartsWithIgnoringCase(rest, localhost)) {
        rest.remove_prefix(style == PathStyle::Windows ? localhost.size() : localhost.size() - 1);
    } else {
        return false;
    }
    if (style == PathStyle::Windows && rest.size() >= 2 && rest[1] == '|') {
        parts.drive = std::string(1, rest[0]) + ":";
        rest.remove_prefix(2);
    }
    SplitDirectoryAndName(rest, separator, parts);
    return true;
}

SplitPath SplitLocalPath(std::string_view path, PathStyle style)
{
    SplitPath parts;
    const char separator = Separator(style);
    if (style == PathStyle::Windows && path.size() >= 2 && path[1] == ':') {
        parts.drive = path.substr(0, 2);
        path.remove_prefix(2);
    }
    std::size_t last = path.rfind(separator);
    if (last == std::string_view::npos) {
        SplitName(path, parts);
    } else {
        parts.directory = path.substr(0, last + 1);
        SplitName(path.substr(last + 1), parts);
    }
    return parts;
}

bool IsAbsoluteAddress(std::string_view address)
{
    if (!address.empty() && address.front() == '/')
        return true;  // site-absolute, or a network path with "//"
    auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (address.empty() || !isLetter(address.front()))
        return false;
    std::size_t i = 1;
    while (i < address.size() && (isLetter(address[i]) || (address[i] >= '0' && address[i] <= '9') ||
                                  address[i] == '+' || address[i] == '-' || address[i] == '.'))
        ++i;
    return i >= 2 && i < address.size() && address[i] == ':';
}

std::string AddressToPath(std::string_view baseDirectory, std::string_view address, PathStyle style)
{
    if (IsAbsoluteAddress(address) && !StartsWithIgnoringCase(address, "file:")) {
        auto& strings = platform::Strings();
        platform::Prompt().Show(strings.Get(111), strings.Get(219) + std::string(address),
                                platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
        return {};
    }
    const char separator = Separator(style);
    std::string converted(address);
    std::replace(converted.begin(), converted.end(), '/', separator);
    if (StartsWithIgnoringCase(converted, "file:")) {
        SplitPath parts;
        SplitFileAddress(converted, parts, style);
        return parts.drive + parts.directory + parts.fileName + parts.extension;
    }
    return ResolveRelative(std::string(baseDirectory), converted, style);
}

std::string PathToAddress(std::string_view baseDirectory, std::string_view filePath, PathStyle style)
{
    const char separator = Separator(style);
    SplitPath file = SplitLocalPath(filePath, style);
    SplitPath base = SplitLocalPath(baseDirectory, style);
    std::string address;
    if (file.drive != base.drive) {
        std::string letter = file.drive.substr(0, 1);
        address = "file:///" + letter + "|" + file.directory;
    } else if (file.directory != base.directory) {
        // The longest leading part of both directories that ends with a separator.
        std::size_t common = 0;
        std::size_t limit = std::min(file.directory.size(), base.directory.size());
        for (std::size_t i = 0; i < limit && file.directory[i] == base.directory[i]; ++i) {
            if (file.directory[i] == separator)
                common = i + 1;
        }
        std::string_view baseRest = std::string_view(base.directory).substr(common);
        for (char c : baseRest) {
            if (c == separator)
                address += std::string("..") + separator;
        }
        address += file.directory.substr(common);
    }
    address += file.fileName + file.extension;
    std::replace(address.begin(), address.end(), separator, '/');
    return address;
}

} // namespace orvane
