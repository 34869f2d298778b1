#pragma once

#include "library/registry/judgement_key.h"
#include "platform/hash128.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

class CElement;
class CHtmlDocument;

// The key a judgement of the element's problem is kept under: the general
// warnings hold for the whole page; flicker is judged on what may flicker;
// anything else on the element's markup and its text, so that a changed
// element is asked about again. Keys are written in the fast form, over the
// text as the user reads it, so that a page saved in another encoding or
// with its characters written as references keeps its judgements.
std::string JudgementKeyOf(const CHtmlDocument& document, const CElement& element, std::uint32_t bit);
// The key of a judgement of a WCAG 2.2 rule's finding: the element's markup
// and text as above; a finding of no element holds for the whole page.
std::string RuleJudgementKeyOf(const CHtmlDocument& document, const CElement* element);
// The key the same judgement had in the registries of earlier releases: the
// MD5 digest of the page's bytes.
std::string Md5JudgementKeyOf(const CHtmlDocument& document, const CElement& element, std::uint32_t bit);

// Whether every problem of the check shares one key for the page: what may
// flicker is judged for the page at once.
bool JudgedForThePageAtOnce(std::string_view check);

// The digests behind the keys of many problems of one page: what holds for
// the page as a whole (what may flicker) is read once, and so is an
// element's text for the problems of several checks it has, which follow
// one another in page order. The page is not to change while the keys are
// asked for.
class CJudgementKeys {
public:
    explicit CJudgementKeys(const CHtmlDocument& document);
    std::string Of(const CElement& element, std::uint32_t bit);

    // The digest of the judged text of a problem of the check on the
    // element, in the form asked for (JudgementKeyForm::Fast or Md5); for
    // the problems judged per element or, for flicker, per page.
    platform::Hash128 DigestOf(std::string_view check, const CElement& element, JudgementKeyForm form);
    platform::Hash128 FlickerDigest(JudgementKeyForm form);
    // The same for a rule's finding on an element.
    platform::Hash128 ElementDigestOf(const CElement& element, JudgementKeyForm form);

private:
    struct Digests {
        std::optional<platform::Hash128> fast;
        std::optional<platform::Hash128> md5;
        std::optional<platform::Hash128>& In(JudgementKeyForm form) { return form == JudgementKeyForm::Md5 ? md5 : fast; }
    };

    const CHtmlDocument& m_document;
    Digests m_flicker;
    const CElement* m_lastElement = nullptr;
    Digests m_lastElementDigests;
};

} // namespace orvane
