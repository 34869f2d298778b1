#include "library/ui/pages/presentation/presentation_texts.h"

#include "library/html/text_util.h"
#include "platform/services.h"

namespace orvane::presentation {

namespace {
constexpr int kCaption = 111;
constexpr int kTagNeeded = 820;
constexpr int kNoAngleBrackets = 821;

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void Say(int id)
{
    platform::Prompt().Show(platform::Strings().Get(kCaption), platform::Strings().Get(id),
                            platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
}
} // namespace

std::string StartTag(std::string_view name, std::string_view attributes)
{
    std::string tag = "<";
    tag += name;
    if (!attributes.empty()) {
        tag += ' ';
        // An ampersand that starts no reference would be read as one by a browser.
        tag += EscapeBareAmpersands(attributes);
    }
    tag += '>';
    return tag;
}

bool IsTagText(std::string_view text) { return text.find_first_of("<>") == std::string_view::npos; }

bool IsTagName(std::string_view name)
{
    if (name.empty() || !IsLetter(name.front()))
        return false;
    for (char c : name) {
        if (!IsLetter(c) && !IsDigit(c) && c != '-')
            return false;
    }
    return true;
}

void SayNoAngleBrackets() { Say(kNoAngleBrackets); }
void SayTagNeeded() { Say(kTagNeeded); }

} // namespace orvane::presentation
