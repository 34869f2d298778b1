#include "src_ascii_art.h"

#include "registry_changed.h"

namespace orvane {

void CSrcAsciiArt::SetId(std::string id)
{
    m_id = std::move(id);
    MarkRegistryChanged();
}

void CSrcAsciiArt::SetDescribed(bool described)
{
    m_described = described;
    MarkRegistryChanged();
}

void CSrcAsciiArt::SetSkipOverLink(bool skipOverLink)
{
    m_skipOverLink = skipOverLink;
    MarkRegistryChanged();
}

CSrcLongDesc* CSrcAsciiArt::AddLongDesc(std::unique_ptr<CSrcLongDesc> longDesc)
{
    m_longDescs.push_back(std::move(longDesc));
    MarkRegistryChanged();
    return m_longDescs.back().get();
}

bool CSrcAsciiArt::RemoveLongDesc(const CSrcLongDesc* longDesc)
{
    for (auto it = m_longDescs.begin(); it != m_longDescs.end(); ++it) {
        if (it->get() == longDesc) {
            m_longDescs.erase(it);
            MarkRegistryChanged();
            return true;
        }
    }
    return false;
}

} // namespace orvane
