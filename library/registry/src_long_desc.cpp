#include "src_long_desc.h"

#include "registry_changed.h"

#include "library/html/text_util.h"

namespace orvane {

CSrcLongDesc::CSrcLongDesc(std::string value, std::string text) : m_value(std::move(value)), m_text(std::move(text)) {}

void CSrcLongDesc::SetValue(std::string value)
{
    m_value = std::move(value);
    MarkRegistryChanged();
}

void CSrcLongDesc::SetText(std::string text)
{
    m_text = std::move(text);
    MarkRegistryChanged();
}

bool CSrcLongDesc::HasValue(std::string_view value) const { return EqualsIgnoreCase(m_value, value); }

CSrcLongDesc* FindLongDesc(const SrcLongDescList& list, std::string_view value)
{
    for (const auto& longDesc : list) {
        if (longDesc->HasValue(value))
            return longDesc.get();
    }
    return nullptr;
}

} // namespace orvane
