#include "page_loading.h"

#include "library/ui/problem_list.h"
#include "platform/console_prompt.h"
#include "platform/file_system.h"
#include "platform/services.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <ostream>

namespace orvane::cli {

bool LoadPage(CHtmlDocument& document, const std::string& path, std::ostream& err)
{
    std::string reason;
    std::unique_ptr<std::istream> in = platform::OpenForReading(path, &reason);
    if (!in) {
        err << "orvane: cannot read " << path << ": " << reason << '\n';
        return false;
    }
    return LoadPageFrom(document, path, *in, err);
}

bool LoadPageFrom(CHtmlDocument& document, const std::string& path, std::istream& in, std::ostream& err)
{
    // What the loader would show in a message box goes to err, after the file's name.
    platform::CConsolePrompt console(err);
    platform::ScopedPrompt prompt(console);
    document.Start(1, false);
    document.SetName(path);
    document.SetOriginFlag(1);
    if (!document.Load(in)) {
        err << "orvane: " << path << " was not taken in\n";
        return false;
    }
    if (in.bad()) {
        err << "orvane: reading " << path << " failed\n";
        return false;
    }
    return true;
}

namespace {

namespace fs = std::filesystem;

bool IsPageName(const fs::path& path)
{
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".htm" || extension == ".html" || extension == ".shtml" || extension == ".shtm";
}

} // namespace

std::vector<std::string> CollectPages(const std::vector<std::string>& paths)
{
    std::vector<std::string> pages;
    for (const std::string& path : paths) {
        std::error_code error;
        if (!fs::is_directory(path, error)) {
            pages.push_back(path);
            continue;
        }
        std::vector<std::string> found;
        for (fs::recursive_directory_iterator it(path, fs::directory_options::skip_permission_denied, error), end;
             !error && it != end; it.increment(error)) {
            if (it->is_regular_file(error) && IsPageName(it->path()))
                found.push_back(it->path().string());
        }
        std::sort(found.begin(), found.end());
        pages.insert(pages.end(), found.begin(), found.end());
    }
    return pages;
}

std::optional<int> ParseLevel(std::string_view text)
{
    // Either case will do: "aa" and "Aa" mean AA.
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (upper == "A")
        return kLevelA;
    if (upper == "AA")
        return kLevelAA;
    if (upper == "AAA")
        return kLevelAAA;
    if (upper == "508")
        return kLevelSection508;
    return std::nullopt;
}

std::string EscapeControls(std::string_view text)
{
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\\': out += "\\\\"; break;
        default:
            if (byte < 0x20 || byte == 0x7f) {
                out += "\\x";
                out.push_back(kHex[byte >> 4]);
                out.push_back(kHex[byte & 15]);
            } else {
                out.push_back(c);
            }
        }
    }
    return out;
}

} // namespace orvane::cli
