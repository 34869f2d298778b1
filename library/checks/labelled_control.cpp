#include "labelled_control.h"
#include "library/html/page_text.h"

#include "accessible_name.h"
#include "check_run.h"
#include "common/orvane_settings.h"
#include "label_finder.h"
#include "library/html/attribute_table.h"

namespace orvane {

std::string CLabelledControl::ControlProblemText(std::string_view kind, std::uint32_t bit,
                                                const PageEncoding& encoding) const
{
    std::string text = std::string(kind) + " control";
    if (std::string_view name = NonEmptyAttribute(*this, attr::kName); !name.empty())
        text += " - " + PageTextToUser(name, encoding);
    if (bit == kNoLabelBit)
        AppendMissingReference(text, m_missingReference, encoding);
    return text;
}

std::uint32_t CLabelledControl::NoLabelProblem(const CCheckRun& run)
{
    m_missingReference.clear();
    if (run.Applies(*this, kNoLabelBit) && LacksLabel(run.document, *this, FindLabel(*this, run.document).hasLabel,
                                                      run.settings.GetAriaNames(), m_missingReference))
        return kNoLabelBit;
    return 0;
}

bool CLabelledControl::PrepareNoLabelRepair(RepairPageRequest& request)
{
    return PrepareLabelRepair(*this, request, m_labelRepair, AttributeToRepair(attr::kId),
                              AttributeToRepair(attr::kTitle));
}

} // namespace orvane
