#pragma once

#include "library/registry/src_judgement.h"
#include "library/ui/judgement_keys.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>

namespace orvane {

class CElement;
class CHtmlDocument;
class CSrcDocument;

// The remembered verdicts of one page's problems. The page's judgements are
// indexed once, by check and by the digest their key spells, so that a
// problem costs one look-up and, when its check was judged on the page, the
// fast digest of its element; the MD5 digest of the keys of earlier releases
// only for the checks that still have such records. Where one element has
// records of both forms, the later verdict holds (the fast one on the same
// day). The page and the registry entry are not to change while it is used.
class CSettledLookup {
public:
    // What is remembered of one check (or rule) on the page.
    struct CheckRecords {
        using ByDigest = std::unordered_map<platform::Hash128, const CSrcJudgement*, platform::Hash128Hasher>;
        bool perPage = false;  // flicker: one key for the page
        const CSrcJudgement* wholePage = nullptr;
        ByDigest fast;
        ByDigest md5;
    };

    // No entry: nothing is settled.
    CSettledLookup(const CHtmlDocument& document, const CSrcDocument* entry);

    bool Empty() const { return m_checks.empty(); }
    // What is remembered of the check on the page; null when nothing is.
    const CheckRecords* Of(std::string_view check) const;
    bool Judged(std::string_view check) const { return Of(check) != nullptr; }

    // The verdict of the check's problem on the element (bit: which of the
    // element's problems, judged per element or for the page as a whole).
    const CSrcJudgement* Find(const CheckRecords& records, const CElement& element, std::uint32_t bit);
    // A WCAG 2.2 rule's finding; a finding of no element holds for the page.
    const CSrcJudgement* FindRule(std::string_view rule, const CElement* element);

private:
    const CSrcJudgement* Find(const CheckRecords& records, const CElement* element);

    CJudgementKeys m_keys;
    std::map<std::string, CheckRecords, std::less<>> m_checks;
};

} // namespace orvane
