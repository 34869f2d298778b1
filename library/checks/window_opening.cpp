#include "window_opening.h"

#include "library/html/text_util.h"

#include <algorithm>

namespace orvane::windowopening {

namespace {

struct Token {
    std::string_view text;
    bool name = false;
};

bool StartsName(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$'; }
bool InName(char c) { return StartsName(c) || (c >= '0' && c <= '9'); }

// The names and signs of the code in order. Comments, quoted strings and
// blanks are no tokens: a call written in a comment or a string is not made.
std::vector<Token> Tokens(std::string_view code)
{
    std::vector<Token> tokens;
    std::size_t i = 0;
    const std::size_t n = code.size();
    while (i < n) {
        const char c = code[i];
        if (StartsName(c)) {
            const std::size_t start = i;
            while (i < n && InName(code[i]))
                ++i;
            tokens.push_back({code.substr(start, i - start), true});
        } else if (c == '/' && i + 1 < n && code[i + 1] == '/') {
            while (i < n && code[i] != '\n' && code[i] != '\r')
                ++i;
        } else if (c == '/' && i + 1 < n && code[i + 1] == '*') {
            const std::size_t end = code.find("*/", i + 2);
            i = end == std::string_view::npos ? n : end + 2;
        } else if (c == '"' || c == '\'' || c == '`') {
            ++i;
            while (i < n && code[i] != c && code[i] != '\n') {
                if (code[i] == '\\')
                    ++i;
                ++i;
            }
            ++i;
            // A string stands for a value: what follows it reads on from a value.
            tokens.push_back({"\"", false});
        } else if (IsSpace(c) || static_cast<unsigned char>(c) < 0x20) {
            ++i;
        } else {
            tokens.push_back({code.substr(i, 1), false});
            ++i;
        }
    }
    return tokens;
}

bool Is(const std::vector<Token>& tokens, std::size_t at, std::string_view text)
{
    return at < tokens.size() && tokens[at].text == text;
}

bool IsWindowObject(std::string_view name) { return name == "window" || name == "self" || name == "top"; }

// Whether the name at the position is called as a member of a window
// object, or (bare) as itself.
bool CalledOnWindow(const std::vector<Token>& tokens, std::size_t at, bool bareToo)
{
    if (!Is(tokens, at + 1, "("))
        return false;
    if (at >= 2 && tokens[at - 1].text == "." && tokens[at - 2].name)
        return IsWindowObject(tokens[at - 2].text);
    if (at >= 1 && tokens[at - 1].text == ".")
        return false;
    return bareToo;
}

bool OpensAt(const std::vector<Token>& tokens, std::size_t at)
{
    const Token& token = tokens[at];
    if (!token.name)
        return false;
    if (token.text == "open")
        return CalledOnWindow(tokens, at, false);
    if (token.text == "showModalDialog" || token.text == "showModelessDialog")
        return Is(tokens, at + 1, "(");
    return false;
}

} // namespace

bool OpensWindow(std::string_view code)
{
    const std::vector<Token> tokens = Tokens(code);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (OpensAt(tokens, i))
            return true;
    }
    return false;
}

// One pass: a function header names the body that its next brace opens; an
// opening call marks the innermost function open at that point.
std::vector<std::string> OpeningFunctions(std::string_view code)
{
    struct Open {
        std::string_view name;
        int depth = 0;
        bool opens = false;
    };
    const std::vector<Token> tokens = Tokens(code);
    std::vector<Open> open;
    std::vector<std::string> opening;
    std::string_view pendingName;
    bool pending = false;
    int depth = 0;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        if (token.name && token.text == "function") {
            pending = true;
            if (Is(tokens, i + 1, "(") && i >= 2 && tokens[i - 1].text == "=" && tokens[i - 2].name)
                pendingName = tokens[i - 2].text;  // name = function () { ... }
            else if (i + 1 < tokens.size() && tokens[i + 1].name)
                pendingName = tokens[i + 1].text;
            else
                pendingName = {};
        } else if (token.text == "{") {
            ++depth;
            if (pending)
                open.push_back({pendingName, depth, false});
            pending = false;
        } else if (token.text == "}") {
            if (!open.empty() && open.back().depth == depth) {
                if (open.back().opens && !open.back().name.empty())
                    opening.emplace_back(open.back().name);
                open.pop_back();
            }
            depth = std::max(0, depth - 1);
        } else if (!open.empty() && OpensAt(tokens, i)) {
            open.back().opens = true;
        }
    }
    // A body the script never closes still opens its window when called.
    for (const Open& unclosed : open) {
        if (unclosed.opens && !unclosed.name.empty())
            opening.emplace_back(unclosed.name);
    }
    return opening;
}

bool CallsAny(std::string_view code, const std::vector<std::string>& functions)
{
    if (functions.empty())
        return false;
    const std::vector<Token> tokens = Tokens(code);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (!tokens[i].name || !CalledOnWindow(tokens, i, true))
            continue;
        if (std::find(functions.begin(), functions.end(), tokens[i].text) != functions.end())
            return true;
    }
    return false;
}

std::string_view ScriptOfAddress(std::string_view href)
{
    const std::string_view address = Trim(href);
    constexpr std::string_view kScheme = "javascript:";
    if (address.size() < kScheme.size() || !EqualsIgnoreCase(address.substr(0, kScheme.size()), kScheme))
        return {};
    return address.substr(kScheme.size());
}

} // namespace orvane::windowopening
