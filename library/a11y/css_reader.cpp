#include "css_reader.h"

#include "library/html/text_util.h"

#include <algorithm>

namespace orvane::a11y::css {

namespace {

bool IsNameStart(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80; }
bool IsName(unsigned char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-'; }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsWhite(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
bool IsHex(unsigned char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

class Tokenizer {
public:
    explicit Tokenizer(std::string_view text) : m_text(text) {}

    std::vector<Token> Run()
    {
        std::vector<Token> tokens;
        for (;;) {
            Token token = Next();
            const bool end = token.type == TokenType::End;
            tokens.push_back(std::move(token));
            if (end)
                return tokens;
        }
    }

private:
    unsigned char At(std::size_t offset = 0) const
    {
        return m_at + offset < m_text.size() ? static_cast<unsigned char>(m_text[m_at + offset]) : 0;
    }
    bool ValidEscape(std::size_t offset = 0) const { return At(offset) == '\\' && At(offset + 1) != '\n' && m_at + offset + 1 < m_text.size(); }
    bool StartsIdent(std::size_t offset = 0) const
    {
        if (At(offset) == '-')
            return IsNameStart(At(offset + 1)) || At(offset + 1) == '-' || ValidEscape(offset + 1);
        return IsNameStart(At(offset)) || ValidEscape(offset);
    }
    bool StartsNumber() const
    {
        std::size_t i = (At() == '+' || At() == '-') ? 1 : 0;
        if (IsDigit(At(i)))
            return true;
        return At(i) == '.' && IsDigit(At(i + 1));
    }

    // One code point of an escape after the backslash; kept as UTF-8 only
    // for ASCII, which is all the properties and selectors we read use.
    void ConsumeEscape(std::string& out)
    {
        ++m_at;  // the backslash
        if (IsHex(At())) {
            unsigned long code = 0;
            for (int n = 0; n < 6 && IsHex(At()); ++n, ++m_at)
                code = code * 16 + static_cast<unsigned long>(IsDigit(At()) ? At() - '0' : (At() | 0x20) - 'a' + 10);
            if (IsWhite(At()))
                ++m_at;
            out.push_back(code < 0x80 && code != 0 ? static_cast<char>(code) : '?');
        } else if (m_at < m_text.size()) {
            out.push_back(m_text[m_at++]);
        }
    }

    std::string ConsumeName()
    {
        std::string name;
        while (m_at < m_text.size()) {
            if (IsName(At()))
                name.push_back(m_text[m_at++]);
            else if (ValidEscape())
                ConsumeEscape(name);
            else
                break;
        }
        return name;
    }

    void ConsumeNumber()
    {
        if (At() == '+' || At() == '-')
            ++m_at;
        while (IsDigit(At()))
            ++m_at;
        if (At() == '.' && IsDigit(At(1))) {
            ++m_at;
            while (IsDigit(At()))
                ++m_at;
        }
        if ((At() == 'e' || At() == 'E') &&
            (IsDigit(At(1)) || ((At(1) == '+' || At(1) == '-') && IsDigit(At(2))))) {
            m_at += 2;
            while (IsDigit(At()))
                ++m_at;
        }
    }

    Token Make(TokenType type, std::size_t begin, std::string value = {})
    {
        return Token{type, std::move(value), begin, m_at};
    }

    Token Next()
    {
        // Comments are not tokens.
        while (At() == '/' && At(1) == '*') {
            const std::size_t close = m_text.find("*/", m_at + 2);
            m_at = close == std::string_view::npos ? m_text.size() : close + 2;
        }
        const std::size_t begin = m_at;
        if (m_at >= m_text.size())
            return Make(TokenType::End, begin);
        const unsigned char c = At();
        if (IsWhite(c)) {
            while (IsWhite(At()))
                ++m_at;
            return Make(TokenType::Whitespace, begin);
        }
        if (c == '"' || c == '\'')
            return ConsumeString(begin, static_cast<char>(c));
        if (c == '#') {
            if (IsName(At(1)) || ValidEscape(1)) {
                ++m_at;
                return Make(TokenType::Hash, begin, ConsumeName());
            }
        }
        if (StartsNumber())
            return ConsumeNumeric(begin);
        if (c == '-' && At(1) == '-' && At(2) == '>') {
            m_at += 3;
            return Make(TokenType::Cdc, begin);
        }
        if (StartsIdent())
            return ConsumeIdentLike(begin);
        if (c == '<' && At(1) == '!' && At(2) == '-' && At(3) == '-') {
            m_at += 4;
            return Make(TokenType::Cdo, begin);
        }
        if (c == '@' && StartsIdent(1)) {
            ++m_at;
            return Make(TokenType::AtKeyword, begin, ConsumeName());
        }
        ++m_at;
        switch (c) {
        case ':': return Make(TokenType::Colon, begin);
        case ';': return Make(TokenType::Semicolon, begin);
        case ',': return Make(TokenType::Comma, begin);
        case '[': return Make(TokenType::OpenSquare, begin);
        case ']': return Make(TokenType::CloseSquare, begin);
        case '(': return Make(TokenType::OpenParen, begin);
        case ')': return Make(TokenType::CloseParen, begin);
        case '{': return Make(TokenType::OpenCurly, begin);
        case '}': return Make(TokenType::CloseCurly, begin);
        default: return Make(TokenType::Delim, begin, std::string(1, static_cast<char>(c)));
        }
    }

    Token ConsumeString(std::size_t begin, char quote)
    {
        ++m_at;
        std::string value;
        while (m_at < m_text.size()) {
            const char c = m_text[m_at];
            if (c == quote) {
                ++m_at;
                return Make(TokenType::String, begin, std::move(value));
            }
            if (c == '\n')
                return Make(TokenType::BadString, begin);  // the newline starts the next token
            if (c == '\\') {
                if (m_at + 1 >= m_text.size()) {
                    ++m_at;
                } else if (m_text[m_at + 1] == '\n') {
                    m_at += 2;
                } else {
                    ConsumeEscape(value);
                }
                continue;
            }
            value.push_back(c);
            ++m_at;
        }
        return Make(TokenType::String, begin, std::move(value));
    }

    Token ConsumeNumeric(std::size_t begin)
    {
        ConsumeNumber();
        std::string number(m_text.substr(begin, m_at - begin));
        if (StartsIdent()) {
            std::string unit = ConsumeName();
            Token token = Make(TokenType::Dimension, begin, number + ToLower(unit));
            return token;
        }
        if (At() == '%') {
            ++m_at;
            return Make(TokenType::Percentage, begin, number + "%");
        }
        return Make(TokenType::Number, begin, number);
    }

    Token ConsumeIdentLike(std::size_t begin)
    {
        std::string name = ConsumeName();
        if (At() == '(') {
            ++m_at;
            if (EqualsIgnoreCase(name, "url")) {
                while (IsWhite(At()))
                    ++m_at;
                if (At() != '"' && At() != '\'')
                    return ConsumeUrl(begin);
            }
            return Make(TokenType::Function, begin, ToLower(name));
        }
        return Make(TokenType::Ident, begin, std::move(name));
    }

    Token ConsumeUrl(std::size_t begin)
    {
        std::string value;
        while (m_at < m_text.size()) {
            const char c = m_text[m_at];
            if (c == ')') {
                ++m_at;
                return Make(TokenType::Url, begin, std::move(value));
            }
            if (c == '\\' && ValidEscape()) {
                ConsumeEscape(value);
                continue;
            }
            if (c == '"' || c == '\'' || c == '(') {
                // The rest of a bad url up to its closing parenthesis.
                while (m_at < m_text.size() && m_text[m_at] != ')')
                    m_at += (m_text[m_at] == '\\' && m_at + 1 < m_text.size()) ? 2 : 1;
                if (m_at < m_text.size())
                    ++m_at;
                return Make(TokenType::BadUrl, begin);
            }
            if (!IsWhite(static_cast<unsigned char>(c)))
                value.push_back(c);
            ++m_at;
        }
        return Make(TokenType::Url, begin, std::move(value));
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

bool IsOpen(TokenType type)
{
    return type == TokenType::OpenCurly || type == TokenType::OpenParen || type == TokenType::OpenSquare ||
           type == TokenType::Function;
}
bool IsClose(TokenType type)
{
    return type == TokenType::CloseCurly || type == TokenType::CloseParen || type == TokenType::CloseSquare;
}

// Past the block or function that opens at i (i at its opening token).
std::size_t SkipBlock(const std::vector<Token>& tokens, std::size_t i)
{
    int depth = 0;
    for (; i < tokens.size() && tokens[i].type != TokenType::End; ++i) {
        if (IsOpen(tokens[i].type))
            ++depth;
        else if (IsClose(tokens[i].type) && --depth == 0)
            return i + 1;
    }
    return i;
}

std::vector<Declaration> DeclarationsOf(std::string_view text, const std::vector<Token>& tokens, std::size_t from,
                                        std::size_t to)
{
    std::vector<Declaration> declarations;
    std::size_t i = from;
    while (i < to) {
        while (i < to && (tokens[i].type == TokenType::Whitespace || tokens[i].type == TokenType::Semicolon))
            ++i;
        if (i >= to)
            break;
        // One declaration runs to the next semicolon outside any block.
        std::size_t end = i;
        while (end < to && tokens[end].type != TokenType::Semicolon)
            end = IsOpen(tokens[end].type) ? std::min(SkipBlock(tokens, end), to) : end + 1;
        std::size_t colon = i + 1;
        while (colon < end && tokens[colon].type == TokenType::Whitespace)
            ++colon;
        if (tokens[i].type == TokenType::Ident && colon < end && tokens[colon].type == TokenType::Colon) {
            // The value without a trailing "!important".
            std::size_t last = end;
            auto skipBackBlanks = [&] {
                while (last > colon + 1 && tokens[last - 1].type == TokenType::Whitespace)
                    --last;
            };
            skipBackBlanks();
            bool important = false;
            if (last > colon + 2 && tokens[last - 1].type == TokenType::Ident &&
                EqualsIgnoreCase(tokens[last - 1].value, "important")) {
                std::size_t bang = last - 1;
                while (bang > colon + 1 && tokens[bang - 1].type == TokenType::Whitespace)
                    --bang;
                if (bang > colon + 1 && tokens[bang - 1].type == TokenType::Delim && tokens[bang - 1].value == "!") {
                    important = true;
                    last = bang - 1;
                    skipBackBlanks();
                }
            }
            const std::size_t valueBegin = tokens[colon].end;
            const std::size_t valueEnd = last > colon + 1 ? tokens[last - 1].end : valueBegin;
            declarations.push_back({ToLower(tokens[i].value),
                                    std::string(Trim(text.substr(valueBegin, valueEnd - valueBegin))), important});
        }
        i = end;
    }
    return declarations;
}

// Selectors of a rule's prelude; one we cannot read is left out.
std::vector<Selector> SelectorsOf(const std::vector<Token>& tokens, std::size_t from, std::size_t to)
{
    std::vector<Selector> selectors;
    Selector current;
    Compound compound;
    bool haveCompound = false;
    bool pendingChild = false;
    bool pendingDescendant = false;
    bool bad = false;
    int ids = 0, classes = 0, types = 0;

    auto closeCompound = [&] {
        if (!haveCompound)
            return;
        current.compounds.push_back(std::move(compound));
        current.childOf.push_back(pendingChild);
        compound = Compound{};
        haveCompound = false;
        pendingChild = false;
        pendingDescendant = false;
    };
    auto finishSelector = [&] {
        closeCompound();
        if (!bad && !current.compounds.empty()) {
            // Read left to right; kept right to left with each link on the inner compound.
            Selector reversed;
            const std::size_t n = current.compounds.size();
            for (std::size_t k = n; k-- > 0;) {
                reversed.compounds.push_back(std::move(current.compounds[k]));
                reversed.childOf.push_back(k > 0 && current.childOf[k]);
            }
            reversed.specificity = ids * 10000 + classes * 100 + types;
            selectors.push_back(std::move(reversed));
        }
        current = Selector{};
        bad = false;
        ids = classes = types = 0;
        pendingChild = pendingDescendant = false;
    };
    auto startPart = [&] {
        // A combinator seen before this compound links it to the one before.
        if (!haveCompound && !current.compounds.empty() && !pendingChild && !pendingDescendant)
            bad = true;
        haveCompound = true;
    };

    for (std::size_t i = from; i < to; ++i) {
        const Token& t = tokens[i];
        switch (t.type) {
        case TokenType::Whitespace:
            if (haveCompound) {
                closeCompound();
                pendingDescendant = true;
            }
            break;
        case TokenType::Comma:
            finishSelector();
            break;
        case TokenType::Ident:
            if (haveCompound)
                bad = true;  // a type after other parts of a compound
            startPart();
            compound.tag = ToLower(t.value);
            ++types;
            break;
        case TokenType::Hash:
            startPart();
            compound.id = t.value;
            ++ids;
            break;
        case TokenType::Delim:
            if (t.value == ".") {
                if (i + 1 < to && tokens[i + 1].type == TokenType::Ident) {
                    startPart();
                    compound.classes.push_back(tokens[++i].value);
                    ++classes;
                } else {
                    bad = true;
                }
            } else if (t.value == "*") {
                startPart();
            } else if (t.value == ">") {
                closeCompound();
                pendingChild = true;
                pendingDescendant = false;
                if (current.compounds.empty())
                    bad = true;
            } else {
                bad = true;  // sibling combinators, namespaces
            }
            break;
        case TokenType::OpenSquare: {
            startPart();
            const std::size_t close = SkipBlock(tokens, i);
            AttributeTest test;
            std::size_t k = i + 1;
            auto skipBlanks = [&] {
                while (k < close - 1 && tokens[k].type == TokenType::Whitespace)
                    ++k;
            };
            skipBlanks();
            if (k < close - 1 && tokens[k].type == TokenType::Ident) {
                test.name = ToLower(tokens[k++].value);
                skipBlanks();
                if (k < close - 1 && tokens[k].type == TokenType::Delim) {
                    const char op = tokens[k].value[0];
                    if (op == '=') {
                        test.match = '=';
                        ++k;
                    } else if (k + 1 < close - 1 && tokens[k + 1].type == TokenType::Delim &&
                               tokens[k + 1].value == "=" && std::string_view("~|^$*").find(op) != std::string_view::npos) {
                        test.match = op;
                        k += 2;
                    } else {
                        bad = true;
                    }
                    skipBlanks();
                    if (k < close - 1 && (tokens[k].type == TokenType::Ident || tokens[k].type == TokenType::String))
                        test.value = tokens[k++].value;
                    else
                        bad = true;
                    skipBlanks();
                }
                if (k != close - 1)
                    bad = true;  // flags (i, s) and anything else
            } else {
                bad = true;
            }
            compound.attributes.push_back(std::move(test));
            ++classes;
            i = close - 1;
            break;
        }
        default:
            bad = true;  // pseudo-classes and elements, functions, anything else
            if (IsOpen(t.type))
                i = SkipBlock(tokens, i) - 1;
            break;
        }
    }
    if (pendingChild && !haveCompound)
        bad = true;
    finishSelector();
    return selectors;
}

void ReadRules(std::string_view text, const std::vector<Token>& tokens, std::size_t from, std::size_t to,
               const std::string& media, std::vector<StyleRule>& rules, int depth)
{
    std::size_t i = from;
    while (i < to) {
        const Token& t = tokens[i];
        if (t.type == TokenType::Whitespace || t.type == TokenType::Cdo || t.type == TokenType::Cdc) {
            ++i;
            continue;
        }
        if (t.type == TokenType::AtKeyword) {
            std::size_t k = i + 1;
            while (k < to && tokens[k].type != TokenType::OpenCurly && tokens[k].type != TokenType::Semicolon)
                k = IsOpen(tokens[k].type) ? std::min(SkipBlock(tokens, k), to) : k + 1;
            if (k >= to || tokens[k].type == TokenType::Semicolon) {
                i = k + 1;
                continue;
            }
            const std::size_t close = std::min(SkipBlock(tokens, k), to);
            if (EqualsIgnoreCase(t.value, "media") && depth < 32) {
                std::string condition(Trim(text.substr(t.end, tokens[k].begin - t.end)));
                if (!media.empty())
                    condition = media + " and " + condition;
                const bool closed = close > k + 1 && tokens[close - 1].type == TokenType::CloseCurly;
                ReadRules(text, tokens, k + 1, closed ? close - 1 : close, condition, rules, depth + 1);
            }
            i = close;
            continue;
        }
        // A qualified rule: its prelude up to the block.
        std::size_t k = i;
        while (k < to && tokens[k].type != TokenType::OpenCurly)
            k = IsOpen(tokens[k].type) ? std::min(SkipBlock(tokens, k), to) : k + 1;
        if (k >= to)
            break;
        const std::size_t close = std::min(SkipBlock(tokens, k), to);
        StyleRule rule;
        rule.selectors = SelectorsOf(tokens, i, k);
        const std::size_t blockEnd = (close > k + 1 && tokens[close - 1].type == TokenType::CloseCurly) ? close - 1 : close;
        rule.declarations = DeclarationsOf(text, tokens, k + 1, blockEnd);
        rule.media = media;
        if (!rule.selectors.empty() && !rule.declarations.empty())
            rules.push_back(std::move(rule));
        i = close;
    }
}

} // namespace

std::vector<Token> Tokenize(std::string_view text) { return Tokenizer(text).Run(); }

std::vector<Declaration> ReadDeclarations(std::string_view text)
{
    const std::vector<Token> tokens = Tokenize(text);
    return DeclarationsOf(text, tokens, 0, tokens.size() - 1);
}

std::vector<StyleRule> ReadStyleSheet(std::string_view text)
{
    const std::vector<Token> tokens = Tokenize(text);
    std::vector<StyleRule> rules;
    ReadRules(text, tokens, 0, tokens.size() - 1, std::string(), rules, 0);
    return rules;
}

std::optional<std::string> LocalSheetPath(std::string_view href)
{
    while (!href.empty() && (href.front() == ' ' || href.front() == '\t' || href.front() == '\n' ||
                             href.front() == '\r' || href.front() == '\f'))
        href.remove_prefix(1);
    while (!href.empty() && (href.back() == ' ' || href.back() == '\t' || href.back() == '\n' ||
                             href.back() == '\r' || href.back() == '\f'))
        href.remove_suffix(1);
    href = href.substr(0, href.find_first_of("?#"));
    if (href.empty() || href.front() == '/' || href.front() == '\\')
        return std::nullopt;
    // A scheme: letters, digits, "+", "-" or "." before the first ":".
    const std::size_t colon = href.find(':');
    if (colon != std::string_view::npos && href.find('/') > colon)
        return std::nullopt;
    std::string path;
    for (std::size_t i = 0; i < href.size(); ++i) {
        auto hex = [](char c) {
            return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        };
        if (href[i] == '%' && i + 2 < href.size() && hex(href[i + 1]) >= 0 && hex(href[i + 2]) >= 0) {
            path.push_back(static_cast<char>(hex(href[i + 1]) * 16 + hex(href[i + 2])));
            i += 2;
        } else {
            path.push_back(href[i]);
        }
    }
    if (path.find('\0') != std::string::npos)
        return std::nullopt;
    return path;
}

} // namespace orvane::a11y::css
