#include "checks.h"
#include "rule_engine.h"

#include "library/a11y/language_tag.h"
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
    // The rules judge the primary language alone: a tag of known language
    // with a region out of place ("en-US-GB") is one the page's readers
    // still understand. The rest of the tag is BCP 47's to judge.
    const a11y::LanguageTagCheck check = a11y::CheckLanguageTag(Trim(tag));
    return check.subtagsWellFormed && check.primaryKnown ? check.primary : std::string();
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

const Reach* FindReach(std::string_view name)
{
    static const auto index = [] {
        std::unordered_map<std::string_view, const Reach*> reaches;
        for (const auto* list : {&PageMatchers(), &AriaMatchers(), &NameMatchers(), &StyleMatchers()})
            for (const NamedMatcher& entry : *list)
                reaches.emplace(entry.name, &entry.reach);
        return reaches;
    }();
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
