#include "element_input.h"
#include "library/html/page_text.h"

#include "accessible_name.h"
#include "check_run.h"
#include "common/orvane_settings.h"
#include "image_checks.h"
#include "label_finder.h"
#include "page_indexes.h"
#include "library/html/text_util.h"

namespace orvane {

namespace {

constexpr CheckInfo kInputChecks[] = {
    {.bit = 0x1, .name = "InputAltText", .titleId = 141, .priority = 1, .repairPage = "CPageInputAltText",
     .helpTopic = "1-1-3.html"},
    {.bit = 0x2, .name = "InputAltTextLong", .titleId = 316, .priority = 1, .repairPage = "CPageInputAltText",
     .helpTopic = "1-1-3.html"},
    {.bit = 0x4, .name = "InputAltTextSuspicious", .titleId = 319, .priority = 1,
     .repairPage = "CPageInputAltText", .helpTopic = "1-1-3.html"},
    {.bit = 0x8, .name = "InputMissingDefault", .titleId = 393, .priority = 3,
     .repairPage = "CPageInputDefaultText", .helpTopic = "10-4-1.html"},
    {.bit = 0x20000000, .name = "InputMissingLabel", .titleId = 394, .titleSuffix = " - INPUT", .priority = 2,
     .repairPage = "CPageLabelMissing", .helpTopic = "12-4-1.html"},
    {.bit = 0x40000000, .name = "InputFarLabel", .titleId = 432, .priority = 2,
     .repairPage = "CPageLabelFarAway", .helpTopic = "10-2-1.html"},
};

} // namespace

std::span<const CheckInfo> CElementInput::CheckTable() const { return kInputChecks; }

std::string CElementInput::GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const
{
    std::string text;
    if (const CAttribute* src = FindAttribute(attr::kSrc))
        text = PageTextToUser(src->Value(), encoding);
    else if (std::string_view type = NonEmptyAttribute(*this, attr::kType); !type.empty())
        text = PageTextToUser(type, encoding) + " control";
    else
        text = "input control";
    if (std::string_view name = NonEmptyAttribute(*this, attr::kName); !name.empty())
        text += " - " + PageTextToUser(name, encoding);
    if (bit == 0x1 || bit == 0x20000000)
        AppendMissingReference(text, m_missingReference, encoding);
    return text;
}

namespace {

constexpr std::uint32_t kAltTextBit = 0x1;
constexpr std::uint32_t kAltTextLongBit = 0x2;
constexpr std::uint32_t kAltTextSuspiciousBit = 0x4;
constexpr std::uint32_t kMissingDefaultBit = 0x8;
constexpr std::uint32_t kMissingLabelBit = 0x20000000;
constexpr std::uint32_t kFarLabelBit = 0x40000000;

// The label checks ask whether they apply even with the level filter off.
std::uint32_t LabelProblems(const CCheckRun& run, const CElement& input, std::string& missingReference)
{
    const bool missingApplies = run.Applies(input, kMissingLabelBit);
    const bool farApplies = run.Applies(input, kFarLabelBit);
    if (run.applyLevel != 0 && !missingApplies && !farApplies)
        return 0;
    const CLabelRecord label = FindLabel(input, run.document);
    std::uint32_t mask = 0;
    if (missingApplies &&
        LacksLabel(run.document, input, label.hasLabel, run.settings.GetAriaNames(), missingReference))
        mask |= kMissingLabelBit;
    // A label on the wrong side of its control is as far as one set apart.
    const bool wrongSide = label.labelPrecedesControl != label.labelExpectedBefore;
    if (farApplies && label.hasLabel && (label.far || wrongSide))
        mask |= kFarLabelBit;
    return mask;
}

std::uint32_t ImageProblems(const CCheckRun& run, const CElement& input, std::string& missingReference)
{
    std::uint32_t mask = 0;
    const CAttribute* alt = input.FindAttribute(attr::kAlt);
    // Unlike an image's, an image button's empty alt is no answer: a button
    // needs a name, which with ARIA names may come from elsewhere.
    if (run.Runs(input, kAltTextBit) && (!alt || alt->IsEmpty() || alt->IsBlank())) {
        if (!run.settings.GetAriaNames()) {
            mask |= kAltTextBit;
        } else if (const AccessibleName name = ComputeAccessibleName(run.document, input);
                   !name.hidden && name.text.empty()) {
            mask |= kAltTextBit;
            missingReference = name.missingId;
        }
    }
    if (run.Runs(input, kAltTextLongBit) && alt && TextLength(alt->Value()) > kLongAltText)
        mask |= kAltTextLongBit;
    if (run.Runs(input, kAltTextSuspiciousBit) && alt && IsSuspiciousText(alt->Value()))
        mask |= kAltTextSuspiciousBit;
    return mask;
}

} // namespace

int CElementInput::Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel)
{
    CCheckRun run{settings, document, applyLevel};
    std::uint32_t mask = 0;
    m_missingReference.clear();
    const CAttribute* type = FindAttribute(attr::kType);
    if (!type)
        return StoreProblems(*this, mask);
    if (IsLabelledInputType(type->Value()))
        mask |= LabelProblems(run, *this, m_missingReference);
    // Never filtered by level, not even with the filter on.
    if (EqualsIgnoreCase(type->Value(), "text")) {
        const CAttribute* value = FindAttribute(attr::kValue);
        if (!value || Trim(value->Value()).empty())
            mask |= kMissingDefaultBit;
    }
    if (EqualsIgnoreCase(type->Value(), "image")) {
        if (const CAttribute* width = FindAttribute(attr::kWidth))
            m_width = DimensionValue(*width);
        if (const CAttribute* height = FindAttribute(attr::kHeight))
            m_height = DimensionValue(*height);
        mask |= ImageProblems(run, *this, m_missingReference);
    }
    return StoreProblems(*this, mask);
}

// The default text goes into the value attribute; an image button's text
// alternative into its alt attribute, the page of one button image known by
// its source.
bool CElementInput::PrepareRepairPage(RepairPageRequest& request)
{
    // A missing label may become a title instead; a far label only moves.
    if (request.bit == kMissingLabelBit)
        return PrepareLabelRepair(*this, request, m_labelRepair, AttributeToRepair(attr::kId),
                                  AttributeToRepair(attr::kTitle));
    if (request.bit == kFarLabelBit)
        return PrepareLabelRepair(*this, request, m_labelRepair, AttributeToRepair(attr::kId), nullptr);
    if (request.bit == kMissingDefaultBit) {
        request.attribute = AttributeToRepair(attr::kValue);
        return request.attribute != nullptr;
    }
    if (request.bit != kAltTextBit && request.bit != kAltTextLongBit && request.bit != kAltTextSuspiciousBit)
        return true;
    request.attribute = AttributeToRepair(attr::kAlt);
    if (!request.attribute)
        return false;
    const CAttribute* src = FindAttribute(attr::kSrc);
    request.imageSource = src ? src->Value() : std::string_view();
    request.imageWidth = m_width;
    request.imageHeight = m_height;
    request.longText = request.bit == kAltTextLongBit;
    request.suspiciousText = request.bit == kAltTextSuspiciousBit;
    return true;
}

} // namespace orvane
