#pragma once

#include "library/ui/page_validator_base.h"

#include <cstdint>
#include <vector>

namespace orvane {

// The one page of a sheet that gathers the general warnings: things the user
// judges rather than faults (colour, scripts, style sheets ...). It lists each
// warning once, explains the selected one, and asks the user to confirm that
// all were considered; confirming marks every problem listed as repaired.
class CPageWarnings final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 218;
    static constexpr int kWarningList = 1040;
    static constexpr int kExplanation = 1041;
    static constexpr int kConfirmBox = 1042;

    CPageWarnings();
    std::string_view ClassName() const override { return "CPageWarnings"; }

    // Lists the warning unless one of the same element kind and check bit is
    // listed; either way the page is attached to it, and confirming covers it.
    void AddWarning(CElement& element, std::uint32_t bit);
    // Lists a WCAG 2.2 rule's finding a person judges, once per rule; the
    // verdict is kept under the rule's id and the finding's key.
    void AddRuleWarning(CElement& element, const std::string& rule, const std::string& title,
                        const std::string& explanation, const std::string& helpTopic, const std::string& key);
    int WarningCount() const { return static_cast<int>(m_items.size()); }

    void Undo() override;
    bool GivesVerdicts() const override { return true; }
    // Every warning listed, those of the same kind and check included.
    void ForEachJudged(const std::function<void(CElement&, std::uint32_t)>& visit) const override;
    void ForEachJudgedKey(const std::function<void(const std::string&, const std::string&)>& visit) const override;
    bool Apply() override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;

protected:
    void Initialise() override;

private:
    struct Warning {
        CElement* element;
        std::uint32_t bit;
        // Further problems of the same element kind and bit, listed under this one.
        std::vector<CElement*> alike;
        // A rule's finding: no check bit, its own words, and the keys of its findings.
        std::string rule;
        std::string title;
        std::string explanation;
        std::string helpTopic;
        std::vector<std::string> keys;
    };
    void ShowExplanation(int row);
    void MarkAll(bool repaired);

    std::vector<Warning> m_items;
    // The rules' findings hold no repaired bit of an element: confirmed here.
    bool m_rulesConfirmed = false;
};

} // namespace orvane
