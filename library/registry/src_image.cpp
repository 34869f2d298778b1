#include "src_image.h"

#include "registry_changed.h"

#include "library/html/text_util.h"

namespace orvane {

CSrcImage::CSrcImage(std::string_view fileName) : m_fileName(ReducedFileName(fileName)) {}

std::string_view CSrcImage::ReducedFileName(std::string_view fileName)
{
    std::size_t slash = fileName.rfind('/');
    return slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
}

void CSrcImage::SetFileName(std::string_view fileName)
{
    m_fileName = std::string(ReducedFileName(fileName));
    MarkRegistryChanged();
}

bool CSrcImage::HasAltText(std::string_view text) const
{
    for (const std::string& known : m_altTexts) {
        if (EqualsIgnoreCase(known, text))
            return true;
    }
    return false;
}

bool CSrcImage::AddAltText(std::string_view text)
{
    if (HasAltText(text))
        return false;
    m_altTexts.emplace_back(text);
    MarkRegistryChanged();
    return true;
}

CSrcLongDesc* CSrcImage::FindLongDesc(std::string_view value) const { return orvane::FindLongDesc(m_longDescs, value); }

CSrcLongDesc* CSrcImage::AddLongDesc(std::unique_ptr<CSrcLongDesc> longDesc)
{
    m_longDescs.push_back(std::move(longDesc));
    MarkRegistryChanged();
    return m_longDescs.back().get();
}

bool CSrcImage::RemoveLongDesc(std::string_view value)
{
    for (auto it = m_longDescs.begin(); it != m_longDescs.end(); ++it) {
        if (*it && (*it)->HasValue(value)) {
            m_longDescs.erase(it);
            MarkRegistryChanged();
            return true;
        }
    }
    return false;
}

void CSrcImage::SetNeedsLongDesc(bool needs)
{
    m_needsLongDesc = needs;
    MarkRegistryChanged();
}

bool CSrcImage::MergeFrom(CSrcImage& other)
{
    bool merged = false;
    for (const std::string& text : other.m_altTexts)
        merged |= AddAltText(text);
    for (auto& longDesc : other.m_longDescs) {
        if (longDesc && !FindLongDesc(longDesc->Value())) {
            m_longDescs.push_back(std::move(longDesc));
            merged = true;
        }
    }
    std::erase(other.m_longDescs, nullptr);
    if (merged)
        MarkRegistryChanged();
    return merged;
}

} // namespace orvane
