#include "element_img.h"

namespace orvane {

namespace {

constexpr CheckInfo kImgChecks[] = {
    {.bit = 0x1, .name = "ImgAltText", .titleId = 129, .priority = 1, .section508 = true,
     .repairPage = "CPageImgAltText", .helpTopic = "1-1-1.html"},
    {.bit = 0x2, .name = "ImgAltTextLong", .titleId = 316, .priority = 3, .section508 = true,
     .repairPage = "CPageImgAltText", .helpTopic = "1-1-1.html"},
    {.bit = 0x4, .name = "ImgAltTextSuspicious", .titleId = 319, .priority = 1, .section508 = true,
     .repairPage = "CPageImgAltText", .helpTopic = "1-1-1.html"},
    {.bit = 0x8, .name = "ImgLongdesc", .titleId = 132, .priority = 1, .section508 = true,
     .repairPage = "CPageImgLongDesc", .helpTopic = "1-1-2.html"},
    {.bit = 0x10, .name = "ImageMapTextLinks", .titleId = 216, .priority = 3,
     .repairPage = "CPageImgUsemapTextlinks", .helpTopic = "1-5-1.html"},
    {.bit = 0x20, .name = "ImageMapIsmapTextLinks", .titleId = 469, .priority = 1, .section508 = true,
     .repairPage = "CPageIsmapTextlinks", .helpTopic = "1-2-1.html"},
    {.bit = 0x40, .name = "ImageMap", .titleId = 140, .priority = 1, .section508 = true,
     .repairPage = "CPageImgIsmap", .helpTopic = "9-1-1.html"},
    {.bit = 0x80, .name = "ImageDLink", .titleId = 411, .priority = 1, .autoRepair = true,
     .repairPage = "CPageImgDLink", .helpTopic = "ImageMissingDLink.html"},
};

} // namespace

void CElementImg::SetEnclosingAnchor(CElement& anchor)
{
    m_insideAnchor = true;
    m_anchor = &anchor;
}

std::span<const CheckInfo> CElementImg::CheckTable() const { return kImgChecks; }

std::string CElementImg::GetProblemText(std::uint32_t) const
{
    const CAttribute* src = FindAttribute(attr::kSrc);
    return src ? src->GetValue() : std::string("image");
}

} // namespace orvane
