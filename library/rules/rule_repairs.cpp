#include "rule_repairs.h"

#include <array>

namespace orvane::rules {

namespace {

using namespace std::string_view_literals;

struct RuleRepair {
    std::string_view rule;
    std::span<const std::string_view> checks;
};

constexpr std::array kImage{"ImgAltText"sv};
constexpr std::array kImageButton{"InputAltText"sv};
constexpr std::array kFormField{"InputMissingLabel"sv, "SelectNoLabel"sv, "TextareaLabel"sv};
constexpr std::array kLanguage{"MissingLanguage"sv};
constexpr std::array kTitle{"Metadata"sv};
constexpr std::array kRefresh{"MapRefresh"sv, "MapRedirect"sv};

constexpr std::array kRepairs{
    RuleRepair{"image-non-empty-accessible-name", kImage},
    RuleRepair{"image-button-non-empty-accessible-name", kImageButton},
    RuleRepair{"form-field-non-empty-accessible-name", kFormField},
    RuleRepair{"html-page-lang", kLanguage},
    RuleRepair{"html-page-non-empty-title", kTitle},
    RuleRepair{"meta-refresh-no-delay", kRefresh},
    RuleRepair{"meta-refresh-no-delay-no-exception", kRefresh},
};

} // namespace

std::span<const std::string_view> RepairingChecks(const RuleDefinition& rule)
{
    for (const RuleRepair& repair : kRepairs) {
        if (repair.rule == rule.id)
            return repair.checks;
    }
    return {};
}

} // namespace orvane::rules
