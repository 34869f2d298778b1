#include "element_style.h"

#include "library/html/text_util.h"

namespace orvane {

void CElementStyle::AttachInner(CElement& inner) { m_inner.push_back(&inner); }

// The family has no checks of its own.
std::span<const CheckInfo> CElementStyle::CheckTable() const { return {}; }

bool CElementStyle::UsesColour() const
{
    for (const CElement* piece : m_inner) {
        if (ToLower(piece->Text()).find("color") != std::string::npos)
            return true;
    }
    return CCatalogueElement::UsesColour();
}

} // namespace orvane
