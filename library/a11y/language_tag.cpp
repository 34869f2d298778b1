#include "language_tag.h"

#include "library/html/text_util.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

namespace orvane::a11y {

namespace {

#include "language_subtags.inc"

// Whether the code stands in a list of sorted codes of its width.
bool Listed(std::string_view list, std::string_view code)
{
    const std::size_t width = code.size();
    if (width == 0 || list.size() % width != 0)
        return false;
    std::size_t low = 0, high = list.size() / width;
    while (low < high) {
        const std::size_t mid = (low + high) / 2;
        const int order = list.substr(mid * width, width).compare(code);
        if (order == 0)
            return true;
        if (order < 0)
            low = mid + 1;
        else
            high = mid;
    }
    return false;
}

bool AllOf(std::string_view text, int (*test)(int))
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [&](char c) { return test(static_cast<unsigned char>(c)) != 0; });
}
bool Alpha(std::string_view s) { return AllOf(s, std::isalpha); }
bool Digits(std::string_view s) { return AllOf(s, std::isdigit); }
bool Alnum(std::string_view s) { return AllOf(s, std::isalnum); }

bool KnownLanguage(std::string_view code)
{
    if (code.size() == 2)
        return Listed(kTwoLetterLanguages, code);
    if (code.size() != 3)
        return false;
    // qaa to qtz are left to local use and are valid tags.
    if (code[0] == 'q' && code[1] >= 'a' && code[1] <= 't')
        return true;
    return Listed(kThreeLetterLanguages, code);
}

// Tags from before RFC 4646 that do not follow its grammar, with whether
// their first subtag is a language of ISO 639.
struct Grandfathered {
    std::string_view tag;
    bool language;
};
constexpr std::array<Grandfathered, 17> kIrregular = {{
    {"en-gb-oed", true}, {"i-ami", false}, {"i-bnn", false}, {"i-default", false}, {"i-enochian", false},
    {"i-hak", false}, {"i-klingon", false}, {"i-lux", false}, {"i-mingo", false}, {"i-navajo", false},
    {"i-pwn", false}, {"i-tao", false}, {"i-tay", false}, {"i-tsu", false}, {"sgn-be-fr", true},
    {"sgn-be-nl", true}, {"sgn-ch-de", true},
}};

} // namespace

LanguageTagCheck CheckLanguageTag(std::string_view tag)
{
    LanguageTagCheck check;
    const std::string lower = ToLower(tag);
    std::vector<std::string_view> subtags;
    std::vector<std::string_view> written;  // the same, letter case as written
    for (std::size_t start = 0;;) {
        const std::size_t hyphen = std::min(lower.find('-', start), lower.size());
        subtags.push_back(std::string_view(lower).substr(start, hyphen - start));
        written.push_back(tag.substr(start, hyphen - start));
        if (hyphen == lower.size())
            break;
        start = hyphen + 1;
    }
    check.subtagsWellFormed = std::all_of(subtags.begin(), subtags.end(),
                                          [](std::string_view s) { return s.size() <= 8 && Alnum(s); });
    if (!check.subtagsWellFormed) {
        const auto bad = std::find_if(subtags.begin(), subtags.end(),
                                      [](std::string_view s) { return s.size() > 8 || !Alnum(s); });
        check.fault = std::string(written[static_cast<std::size_t>(bad - subtags.begin())]);
        if (check.fault.empty())
            check.fault = std::string(tag);
        return check;
    }
    for (const Grandfathered& g : kIrregular) {
        if (lower == g.tag) {
            check.wellFormed = true;
            check.primary = g.language ? std::string(subtags[0]) : std::string();
            check.primaryKnown = g.language && KnownLanguage(subtags[0]);
            if (!check.primaryKnown)
                check.fault = std::string(tag);
            return check;
        }
    }
    std::size_t at = 0;
    auto fail = [&](std::size_t i) {
        if (check.fault.empty())
            check.fault = std::string(written[i]);
    };
    // Private use alone: no language at all.
    if (subtags[0] == "x") {
        check.wellFormed = subtags.size() > 1;
        check.fault = std::string(tag);
        return check;
    }
    const std::string_view language = subtags[at];
    if (!Alpha(language) || language.size() < 2) {
        fail(at);
        return check;
    }
    check.primary = std::string(language);
    check.primaryKnown = KnownLanguage(language);
    if (!check.primaryKnown)
        fail(at);
    ++at;
    // Extended languages: up to three of three letters, after a short language.
    for (int n = 0; language.size() <= 3 && n < 3 && at < subtags.size() && subtags[at].size() == 3 &&
                    Alpha(subtags[at]);
         ++n, ++at)
        if (!Listed(kThreeLetterLanguages, subtags[at]))
            fail(at);
    if (at < subtags.size() && subtags[at].size() == 4 && Alpha(subtags[at])) {
        if (!Listed(kScripts, subtags[at]))
            fail(at);
        ++at;
    }
    if (at < subtags.size() && ((subtags[at].size() == 2 && Alpha(subtags[at])) ||
                                (subtags[at].size() == 3 && Digits(subtags[at])))) {
        if (!Listed(subtags[at].size() == 2 ? kRegions : kAreas, subtags[at]))
            fail(at);
        ++at;
    }
    std::vector<std::string_view> variants;
    while (at < subtags.size() &&
           (subtags[at].size() >= 5 || (subtags[at].size() == 4 && std::isdigit(static_cast<unsigned char>(subtags[at][0]))))) {
        if (std::find(variants.begin(), variants.end(), subtags[at]) != variants.end())
            fail(at);  // a variant written twice
        variants.push_back(subtags[at]);
        ++at;
    }
    std::string singletons;
    while (at < subtags.size() && subtags[at].size() == 1 && subtags[at] != "x") {
        const char singleton = subtags[at][0];
        if (singletons.find(singleton) != std::string::npos)
            fail(at);  // an extension written twice
        singletons.push_back(singleton);
        const std::size_t first = ++at;
        while (at < subtags.size() && subtags[at].size() >= 2)
            ++at;
        if (at == first) {
            fail(first - 1);  // an extension needs a subtag
            return check;
        }
    }
    if (at < subtags.size() && subtags[at] == "x") {
        if (at + 1 == subtags.size()) {
            fail(at);
            return check;
        }
        at = subtags.size();  // private use: any subtags of one to eight
    }
    if (at < subtags.size()) {
        fail(at);  // out of place
        return check;
    }
    check.wellFormed = true;
    return check;
}

} // namespace orvane::a11y
