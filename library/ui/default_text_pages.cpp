#include "library/ui/default_text_pages.h"

#include "library/html/text_util.h"
#include "platform/services.h"

namespace orvane {

namespace {
constexpr int kCaption = 111;
constexpr int kTextNeeded = 156;
} // namespace

namespace defaulttext {

void SayTextNeeded()
{
    platform::Prompt().Show(platform::Strings().Get(kCaption), platform::Strings().Get(kTextNeeded),
                            platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
}

bool IsEmpty(std::string_view text) { return Trim(text).empty(); }

std::string AsMarkup(std::string_view text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out.push_back(c);
        }
    }
    return out;
}

std::string FromMarkup(std::string_view markup)
{
    std::string out;
    for (std::size_t i = 0; i < markup.size(); ++i) {
        const std::string_view rest = markup.substr(i);
        if (rest.starts_with("&amp;")) {
            out.push_back('&');
            i += 4;
        } else if (rest.starts_with("&lt;")) {
            out.push_back('<');
            i += 3;
        } else if (rest.starts_with("&gt;")) {
            out.push_back('>');
            i += 3;
        } else {
            out.push_back(markup[i]);
        }
    }
    return out;
}

} // namespace defaulttext

} // namespace orvane
