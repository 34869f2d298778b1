#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class CElement;
class CHtmlDocument;

struct CAreaRecord {
    CElement* area = nullptr;
    int index = 0;  // 0, 1, 2, ... in document order
};

// A client-side image map: the areas of one named map element, and the image
// that uses it.
class CImageMap {
public:
    // Reads the areas of the map element at the document's reading position, up
    // to the map's end tag; false when that is no named map or it has no area.
    bool ReadFromDocument(CHtmlDocument& document);

    // The same result from an index of the page's areas that the document
    // builds once: areas[first, last) are this map's areas.
    void SetAreas(std::string name, std::shared_ptr<const std::vector<CElement*>> areas,
                  std::size_t first, std::size_t last);

    const std::string& Name() const { return m_name; }
    std::span<CElement* const> Areas() const;
    const std::vector<CAreaRecord>& AreaRecords() const;

    // The second element list, kept for the image checks.
    std::vector<CElement*>& CheckedElements() { return m_checked; }

    void LinkImage(CElement& image, CHtmlDocument& document);
    CElement* Image() const { return m_image; }
    CHtmlDocument* Document() const { return m_document; }

private:
    std::shared_ptr<const std::vector<CElement*>> m_areaIndex;
    std::size_t m_first = 0;
    std::size_t m_last = 0;
    std::vector<CElement*> m_checked;
    std::string m_name;
    CElement* m_image = nullptr;
    CHtmlDocument* m_document = nullptr;
    mutable std::vector<CAreaRecord> m_records;
    mutable bool m_recordsBuilt = false;
};

} // namespace orvane
