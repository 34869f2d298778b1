#include "library/ui/pages/tables/page_table_base.h"

#include "library/tables/table_record.h"
#include "platform/services.h"

namespace orvane {

CPageTableBase::CPageTableBase(int templateId, CTableRecord& table, int previewId)
    : CPageValidatorBase(templateId), m_table(table), m_previewId(previewId)
{
}

void CPageTableBase::OnActivate(platform::IWindow& window)
{
    RefreshTablePreview();
    CPageValidatorBase::OnActivate(window);
}

bool CPageTableBase::RefreshTablePreview(unsigned flags)
{
    if (!Window() || !m_table.IsBuilt())
        return false;
    return PreviewTable(m_table, m_previewId, flags);
}

std::string CPageTableBase::EditText(int id) const
{
    return Window() ? Window()->Text(id) : std::string();
}

} // namespace orvane
