#include "language_names.h"

#include <algorithm>
#include <map>
#include <utility>

namespace orvane {
namespace {

struct NamedCode {
    std::string_view code;
    std::string_view name;
};

constexpr NamedCode kGermanNames[] = {
#include "language_names_de.inc"
};

} // namespace

std::vector<LanguageChoice> LanguageChoices(const CLanguageCodeList& list, std::string_view userLanguage)
{
    std::vector<LanguageChoice> choices;
    for (const CLanguageRecord& record : list.Codes())
        choices.push_back({&record, record.DisplayName()});
    if (userLanguage != "de")
        return choices;

    // The table is in German order; a code it lacks keeps its place after the others.
    std::map<std::string_view, std::pair<std::size_t, std::string_view>> german;
    for (std::size_t i = 0; i < std::size(kGermanNames); ++i)
        german.emplace(kGermanNames[i].code, std::pair{i, kGermanNames[i].name});
    std::vector<std::pair<std::size_t, LanguageChoice>> ranked;
    for (LanguageChoice& choice : choices) {
        std::size_t rank = std::size(kGermanNames);
        if (auto it = german.find(choice.record->FirstCode()); it != german.end()) {
            rank = it->second.first;
            choice.name = it->second.second;
        }
        ranked.emplace_back(rank, std::move(choice));
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    choices.clear();
    for (auto& entry : ranked)
        choices.push_back(std::move(entry.second));
    return choices;
}

} // namespace orvane
