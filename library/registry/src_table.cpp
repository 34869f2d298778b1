#include "src_table.h"

#include "registry_changed.h"

namespace orvane {
namespace {

void Store(bool& field, bool value)
{
    field = value;
    MarkRegistryChanged();
}

} // namespace

void CSrcTable::SetId(std::string id)
{
    m_id = std::move(id);
    MarkRegistryChanged();
}

std::unique_ptr<CSrcTable> CSrcTable::Unjudged(std::string id)
{
    auto table = std::make_unique<CSrcTable>(std::move(id));
    table->m_judged = false;
    return table;
}

void CSrcTable::SetLayout(bool layout)
{
    m_judged = true;
    Store(m_layout, layout);
}
void CSrcTable::SetRowHeaders(bool on) { Store(m_rowHeaders, on); }
void CSrcTable::SetColumnHeaders(bool on) { Store(m_columnHeaders, on); }
void CSrcTable::SetRowHeaderAbbreviations(bool on) { Store(m_rowHeaderAbbreviations, on); }
void CSrcTable::SetColumnHeaderAbbreviations(bool on) { Store(m_columnHeaderAbbreviations, on); }
void CSrcTable::SetLinearize(bool on) { Store(m_linearize, on); }

} // namespace orvane
