#include "element_textarea.h"

namespace orvane {

void CElementTextarea::CollectText(std::string_view trimmed)
{
    if (trimmed.empty())
        return;
    if (!m_collectedText.empty())
        m_collectedText.push_back(' ');
    m_collectedText.append(trimmed);
}

} // namespace orvane
