#include "src_link.h"

#include "registry_changed.h"

namespace orvane {

void CSrcLink::SetAddress(std::string address)
{
    m_address = std::move(address);
    MarkRegistryChanged();
}

void CSrcLink::SetHasWarning(bool hasWarning)
{
    m_hasWarning = hasWarning;
    MarkRegistryChanged();
}

} // namespace orvane
