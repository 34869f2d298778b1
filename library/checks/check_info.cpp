#include "check_info.h"

#include "common/orvane_settings.h"
#include "library/html/attribute.h"
#include "library/html/html_document.h"
#include "platform/services.h"

#include <memory>

namespace orvane {

const CheckInfo* FindCheckInfo(std::span<const CheckInfo> checks, std::uint32_t bit)
{
    for (const CheckInfo& info : checks) {
        if (info.bit == bit)
            return &info;
    }
    return nullptr;
}

std::uint32_t CheckMaskOf(std::span<const CheckInfo> checks)
{
    std::uint32_t mask = 0;
    for (const CheckInfo& info : checks) {
        if (info.inMask)
            mask |= info.bit;
    }
    return mask;
}

std::string PriorityDisplayText(int priority)
{
    switch (priority) {
    case 2: return "BITV I-2";
    case 3: return "BITV II-3";
    default: return std::to_string(priority);
    }
}

std::string_view PageLineEnd(const CHtmlDocument& document)
{
    char before = 0;
    for (const CElement* e : document.Elements()) {
        const std::string_view text = e->Text();
        const std::size_t at = text.find('\n');
        if (at != std::string_view::npos)
            return (at > 0 ? text[at - 1] : before) == '\r' ? "\r\n" : "\n";
        if (!text.empty())
            before = text.back();
    }
    return "\n";
}

std::string_view NonEmptyAttribute(const CElement& element, int id)
{
    const CAttribute* attribute = element.FindAttribute(id);
    return attribute ? attribute->Value() : std::string_view();
}

std::uint32_t CCatalogueElement::GetCheckMask() const { return CheckMaskOf(CheckTable()); }

std::string CCatalogueElement::GetCheckName(std::uint32_t bit) const
{
    const CheckInfo* info = FindCheck(bit);
    return info ? std::string(info->name) : CElement::GetCheckName(bit);
}

std::string CCatalogueElement::GetCheckTitle(std::uint32_t bit) const
{
    const CheckInfo* info = FindCheck(bit);
    if (!info || info->titleId == 0)
        return CElement::GetCheckTitle(bit);
    return platform::Strings().Get(info->titleId) + std::string(info->titleSuffix);
}

std::string CCatalogueElement::GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const
{
    const CheckInfo* info = FindCheck(bit);
    if (info && info->problemTextId != 0)
        return platform::Strings().Get(info->problemTextId);
    return CElement::GetProblemText(bit, encoding);
}

std::string CCatalogueElement::GetWarningHelpTopic(std::uint32_t bit) const
{
    const CheckInfo* info = FindCheck(bit);
    return info ? std::string(info->warningHelpTopic) : CElement::GetWarningHelpTopic(bit);
}

int CCatalogueElement::GetWarningTextId(std::uint32_t bit) const
{
    const CheckInfo* info = FindCheck(bit);
    return info ? info->warningTextId : CElement::GetWarningTextId(bit);
}

int CCatalogueElement::GetPriority(std::uint32_t bit) const
{
    const CheckInfo* info = FindCheck(bit);
    return info ? info->priority : CElement::GetPriority(bit);
}

bool CCatalogueElement::IsSection508(std::uint32_t bit) const
{
    const CheckInfo* info = FindCheck(bit);
    return info ? info->section508 : CElement::IsSection508(bit);
}

bool CCatalogueElement::IsGrouped(std::uint32_t bit) const
{
    const CheckInfo* info = FindCheck(bit);
    return info ? info->grouped : CElement::IsGrouped(bit);
}

bool CCatalogueElement::HasAutoRepair(std::uint32_t bit) const
{
    const CheckInfo* info = FindCheck(bit);
    return info ? info->autoRepair : CElement::HasAutoRepair(bit);
}

int CCatalogueElement::GetRememberedDefault(std::uint32_t bit) const
{
    return FindCheck(bit) ? kRememberedDefault : CElement::GetRememberedDefault(bit);
}

std::string CCatalogueElement::RepairPageClass(std::uint32_t bit) const
{
    const CheckInfo* info = FindCheck(bit);
    return info ? std::string(info->repairPage) : std::string();
}

std::string CCatalogueElement::RepairHelpTopic(std::uint32_t bit) const
{
    const CheckInfo* info = FindCheck(bit);
    return info ? std::string(info->helpTopic) : std::string();
}

int CCatalogueElement::AddRepairPages(CValidatorSheet& sheet, CHtmlDocument& document, std::uint32_t bits)
{
    IRepairPageFactory* factory = RepairPageFactory();
    if (!factory || ProblemFlag() == 0)
        return 0;
    if (bits == 0)
        bits = ProblemMask();
    int added = 0;
    for (std::uint32_t bit = 1; bit != 0; bit <<= 1) {
        const CheckInfo* info = (bits & bit) ? FindCheck(bit) : nullptr;
        if (!info)
            continue;
        if (!info->grouped) {
            added += factory->AddWarning(sheet, document, *this, bit);
            continue;
        }
        RepairPageRequest request{info->repairPage, *this, bit, document};
        if (info->repairPage.empty() || !PrepareRepairPage(request)) {
            factory->AddWithoutPage(sheet, *this, bit);
            continue;
        }
        // A page without an automatic repair of its own is shown instead, so
        // the problem can still be repaired by hand.
        if (info->autoRepair && factory->AutoRepairMode(sheet, *this, bit) == autorepair::kOn &&
            factory->RepairAutomatically(sheet, request))
            continue;
        added += factory->AddPage(sheet, request);
    }
    return added;
}

bool CCatalogueElement::PrepareRepairPage(RepairPageRequest&) { return true; }

CAttribute* CCatalogueElement::AttributeToRepair(int attributeId)
{
    CAttribute* attribute = FindAttribute(attributeId);
    if (!attribute) {
        auto made = std::make_unique<CAttribute>();
        made->NameById(attributeId);
        made->SetHideable(true);
        made->Hide(true);
        attribute = made.get();
        if (InsertAttribute(std::move(made)) != 1)
            return nullptr;
        attribute->Save();
    } else if (!attribute->IsChanged()) {
        attribute->Save();
    }
    return attribute;
}

} // namespace orvane
