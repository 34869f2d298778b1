#include "image_map.h"

#include "attribute_table.h"
#include "element.h"
#include "html_document.h"
#include "tag_table.h"

namespace orvane {

bool CImageMap::ReadFromDocument(CHtmlDocument& document)
{
    CElement* map = document.AtReadingPosition();
    if (!map || map->Kind() != tag::kMap)
        return false;
    const CAttribute* name = map->FindAttribute(attr::kName);
    if (!name || name->IsEmpty())
        return false;
    auto areas = std::make_shared<std::vector<CElement*>>();
    for (CElement* e = document.ElementAfter(map); e; e = document.ElementAfter(e)) {
        if (e->IsDeleted())
            continue;
        if (e->Kind() == tag::kMap + kind::kEndOffset)
            break;
        if (e->Kind() == tag::kArea)
            areas->push_back(e);
    }
    std::size_t count = areas->size();
    SetAreas(name->GetValue(), std::move(areas), 0, count);
    return count > 0;
}

void CImageMap::SetAreas(std::string name, std::shared_ptr<const std::vector<CElement*>> areas,
                         std::size_t first, std::size_t last)
{
    m_name = std::move(name);
    m_areaIndex = std::move(areas);
    m_first = first;
    m_last = last;
    m_records.clear();
    m_recordsBuilt = false;
}

std::span<CElement* const> CImageMap::Areas() const
{
    if (!m_areaIndex)
        return {};
    return std::span<CElement* const>(*m_areaIndex).subspan(m_first, m_last - m_first);
}

const std::vector<CAreaRecord>& CImageMap::AreaRecords() const
{
    if (!m_recordsBuilt) {
        int index = 0;
        for (CElement* area : Areas())
            m_records.push_back({area, index++});
        m_recordsBuilt = true;
    }
    return m_records;
}

void CImageMap::LinkImage(CElement& image, CHtmlDocument& document)
{
    m_checked.clear();
    m_image = &image;
    m_document = &document;
}

} // namespace orvane
