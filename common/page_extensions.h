#pragma once

// The extensions that make a file a page: folders are searched for these,
// and the names a save makes for backups and repaired copies must never be one.

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

namespace orvane {

inline constexpr std::string_view kPageExtensions[] = {".html", ".htm", ".shtml", ".shtm", ".xhtml"};

// Whether an extension (dot included) is a page's, whatever its case.
inline bool IsPageExtension(std::string_view extension)
{
    std::string lower(extension);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::find(std::begin(kPageExtensions), std::end(kPageExtensions), lower) != std::end(kPageExtensions);
}

// Why the extensions of backups (original) and of repaired copies (validated)
// cannot be used together; empty when they can. Either being a page's
// extension would let a save take a page's name, and the two being one would
// let a repaired copy take a backup's.
inline std::string SaveExtensionsProblem(std::string_view original, std::string_view validated)
{
    for (std::string_view extension : {original, validated}) {
        // ".old.html" would make "a.html.old.html", a page again.
        const std::size_t last = extension.rfind('.');
        if (IsPageExtension(extension) || (last != std::string_view::npos && IsPageExtension(extension.substr(last))))
            return std::string(extension) + " ends in the extension of pages; a backup or a repaired copy would take a page's name";
    }
    std::string one(original), other(validated);
    for (std::string* text : {&one, &other})
        std::transform(text->begin(), text->end(), text->begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (one == other)
        return "the backups and the repaired copies cannot both end in " + std::string(original);
    return {};
}

} // namespace orvane
