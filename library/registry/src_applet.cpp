#include "src_applet.h"

#include "registry_changed.h"

namespace orvane {

void CSrcApplet::SetId(std::string id)
{
    m_id = std::move(id);
    MarkRegistryChanged();
}

void CSrcApplet::SetDescribed(bool described)
{
    m_described = described;
    MarkRegistryChanged();
}

} // namespace orvane
