#include "library/ui/settled_lookup.h"

#include "library/html/element.h"
#include "library/registry/judgement_key.h"
#include "library/registry/src_document.h"

namespace orvane {

CSettledLookup::CSettledLookup(const CHtmlDocument& document, const CSrcDocument* entry) : m_keys(document)
{
    if (!entry)
        return;
    entry->ForEachJudgement([&](const CSrcJudgement& judgement) {
        auto [known, added] = m_checks.try_emplace(judgement.check);
        CheckRecords& records = known->second;
        if (added)
            records.perPage = JudgedForThePageAtOnce(judgement.check);
        platform::Hash128 digest;
        switch (FormOfJudgementKey(judgement.key, &digest)) {
        case JudgementKeyForm::WholePage: records.wholePage = &judgement; break;
        case JudgementKeyForm::Fast: records.fast.emplace(digest, &judgement); break;
        case JudgementKeyForm::Md5: records.md5.emplace(digest, &judgement); break;
        // A key no element of a page has: a record edited by hand.
        case JudgementKeyForm::Other: break;
        }
    });
}

const CSettledLookup::CheckRecords* CSettledLookup::Of(std::string_view check) const
{
    const auto known = m_checks.find(check);
    return known == m_checks.end() ? nullptr : &known->second;
}

const CSrcJudgement* CSettledLookup::Find(const CheckRecords& records, const CElement& element, std::uint32_t bit)
{
    return Find(records, element.IsGrouped(bit) ? &element : nullptr);
}

const CSrcJudgement* CSettledLookup::FindRule(std::string_view rule, const CElement* element)
{
    const CheckRecords* records = Of(rule);
    return records ? Find(*records, element) : nullptr;
}

const CSrcJudgement* CSettledLookup::Find(const CheckRecords& records, const CElement* element)
{
    if (!element)
        return records.wholePage;
    auto digestOf = [&](JudgementKeyForm form) {
        return records.perPage ? m_keys.FlickerDigest(form) : m_keys.ElementDigestOf(*element, form);
    };
    const CSrcJudgement* fast = nullptr;
    if (!records.fast.empty()) {
        const auto found = records.fast.find(digestOf(JudgementKeyForm::Fast));
        fast = found == records.fast.end() ? nullptr : found->second;
    }
    if (records.md5.empty())
        return fast;
    const auto found = records.md5.find(digestOf(JudgementKeyForm::Md5));
    const CSrcJudgement* md5 = found == records.md5.end() ? nullptr : found->second;
    if (!fast || !md5)
        return fast ? fast : md5;
    return md5->date > fast->date ? md5 : fast;
}

} // namespace orvane
