#include "check_info.h"

#include "platform/services.h"

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

std::string CCatalogueElement::GetProblemText(std::uint32_t bit) const
{
    const CheckInfo* info = FindCheck(bit);
    if (info && info->problemTextId != 0)
        return platform::Strings().Get(info->problemTextId);
    return CElement::GetProblemText(bit);
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

} // namespace orvane
