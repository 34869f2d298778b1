#include "page_loading.h"

#include "platform/console_prompt.h"
#include "platform/file_system.h"
#include "platform/services.h"

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
    // What the loader would show in a message box goes to err, after the file's name.
    platform::CConsolePrompt console(err);
    platform::ScopedPrompt prompt(console);
    document.Start(1, false);
    document.SetName(path);
    document.SetOriginFlag(1);
    if (!document.Load(*in)) {
        err << "orvane: " << path << " was not taken in\n";
        return false;
    }
    if (in->bad()) {
        err << "orvane: reading " << path << " failed\n";
        return false;
    }
    return true;
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
