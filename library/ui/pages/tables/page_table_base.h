#pragma once

#include "library/ui/page_validator_base.h"

namespace orvane {

class CTableRecord;

// A repair page for one table. The page works on the table's record, which
// the table tools keep and which rebuilds the table's markup; several pages
// of one table share the record, so what one of them changed shows in the
// preview of the next as soon as that page comes up again.
class CPageTableBase : public CPageValidatorBase {
public:
    CPageTableBase(int templateId, CTableRecord& table, int previewId);

    CTableRecord& Table() const { return m_table; }
    int PreviewId() const { return m_previewId; }

    // Each time the page comes up: the table is previewed as its record now
    // writes it, since another page of the same table may have changed it.
    void OnActivate(platform::IWindow& window) override;

protected:
    // The table's preview as the record writes it now; flags of the record's
    // markup writer, as a page wants the table drawn.
    bool RefreshTablePreview(unsigned flags = 0);
    // What the page's edit holds (empty before the page has a window).
    std::string EditText(int id) const;

private:
    CTableRecord& m_table;
    int m_previewId;
};

} // namespace orvane
