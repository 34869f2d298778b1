#include "checks.h"
#include "rule_engine.h"

#include "library/html/lang_codes.h"
#include "library/html/text_util.h"

#include <unordered_map>

namespace orvane::rules {

std::vector<std::string_view> Tokens(std::string_view text)
{
    std::vector<std::string_view> tokens;
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; };
    while (!text.empty()) {
        while (!text.empty() && blank(text.front()))
            text.remove_prefix(1);
        std::size_t end = 0;
        while (end < text.size() && !blank(text[end]))
            ++end;
        if (end)
            tokens.push_back(text.substr(0, end));
        text.remove_prefix(end);
    }
    return tokens;
}

std::string KnownPrimaryLanguage(std::string_view tag)
{
    tag = Trim(tag);
    // Subtags of letters and digits, one to eight each, parted by hyphens.
    std::size_t start = 0;
    while (start <= tag.size()) {
        const std::size_t hyphen = std::min(tag.find('-', start), tag.size());
        const std::size_t length = hyphen - start;
        if (length == 0 || length > 8)
            return {};
        for (std::size_t i = start; i < hyphen; ++i)
            if (!std::isalnum(static_cast<unsigned char>(tag[i])))
                return {};
        start = hyphen + 1;
    }
    const std::string primary = ToLower(tag.substr(0, tag.find('-')));
    if (primary.size() < 2 || primary.size() > 3)
        return {};
    CLanguageCodeList& codes = CLanguageCodeList::Library();
    codes.Load();
    // A language with a two-letter code is written with it: "eng" is no tag for English.
    for (const CLanguageRecord& record : codes.Codes()) {
        if (record.FirstCode() == primary)
            return primary;
        if (record.SecondCode() == primary)
            return record.FirstCode().empty() ? primary : std::string();
    }
    return {};
}

namespace {

template <class Entry, class Function>
std::unordered_map<std::string_view, Function> Index(std::initializer_list<const std::vector<Entry>*> lists)
{
    std::unordered_map<std::string_view, Function> index;
    for (const auto* list : lists)
        for (const Entry& entry : *list)
            index.emplace(entry.name, entry.function);
    return index;
}

} // namespace

MatcherFunction FindMatcher(std::string_view name)
{
    static const auto index = Index<NamedMatcher, MatcherFunction>(
        {&PageMatchers(), &AriaMatchers(), &NameMatchers(), &StyleMatchers()});
    const auto it = index.find(name);
    return it == index.end() ? nullptr : it->second;
}

CheckFunction FindCheck(std::string_view name)
{
    static const auto index =
        Index<NamedCheck, CheckFunction>({&PageChecks(), &AriaChecks(), &NameChecks(), &StyleChecks()});
    const auto it = index.find(name);
    return it == index.end() ? nullptr : it->second;
}

} // namespace orvane::rules
