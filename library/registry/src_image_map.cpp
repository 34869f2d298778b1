#include "src_image_map.h"

#include "registry_changed.h"

namespace orvane {

void CSrcImageMap::SetTitle(std::string title)
{
    m_title = std::move(title);
    MarkRegistryChanged();
}

void CSrcImageMap::SetTextLinks(bool textLinks)
{
    m_textLinks = textLinks;
    MarkRegistryChanged();
}

} // namespace orvane
