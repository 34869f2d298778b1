#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

namespace orvane {

class CElement;
class CHtmlDocument;
class CSrcObjectDatabase;
class CValidatorSheet;

// The key a judgement of the element's problem is kept under: the general
// warnings hold for the whole page; flicker is judged on what may flicker;
// anything else on the element's markup and its text, so that a changed
// element is asked about again.
std::string JudgementKeyOf(const CHtmlDocument& document, const CElement& element, std::uint32_t bit);
// The key of a judgement of a WCAG 2.2 rule's finding: the element's markup
// and text as above; a finding of no element holds for the whole page.
std::string RuleJudgementKeyOf(const CHtmlDocument& document, const CElement* element);

// The same keys for many problems of one page: what holds for the page as a
// whole (what may flicker) is gathered once, and so is an element's key for
// the problems of several checks it has. The page is not to change
// while the keys are asked for.
class CJudgementKeys {
public:
    explicit CJudgementKeys(const CHtmlDocument& document);
    std::string Of(const CElement& element, std::uint32_t bit);

private:
    const CHtmlDocument& m_document;
    std::optional<std::string> m_flickerKey;
    std::unordered_map<const CElement*, std::string> m_elementKeys;
};

// The user's login name, and today's date as YYYY-MM-DD: who judged, and when.
std::string JudgeName();
std::string JudgementDate();

// Remembers the verdicts the sheet's pages gave in the page's document entry,
// and forgets those of pages whose verdict was taken back (undone, or
// answered with a change instead).
void RememberVerdicts(const CValidatorSheet& sheet, const CHtmlDocument& document, CSrcObjectDatabase& registry);

} // namespace orvane
