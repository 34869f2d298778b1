#include "element_img.h"

#include "accessible_name.h"
#include "check_run.h"
#include "image_checks.h"
#include "page_indexes.h"
#include "repair_pages.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/registry/object_database.h"

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

std::string CElementImg::GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const
{
    const CAttribute* src = FindAttribute(attr::kSrc);
    std::string text = src ? PageTextToUser(src->Value(), encoding) : std::string("image");
    if (bit == 0x1)
        AppendMissingReference(text, m_missingReference, encoding);
    return text;
}

namespace {

constexpr std::uint32_t kAltTextBit = 0x1;
constexpr std::uint32_t kAltTextLongBit = 0x2;
constexpr std::uint32_t kAltTextSuspiciousBit = 0x4;
constexpr std::uint32_t kLongdescBit = 0x8;
constexpr std::uint32_t kMapTextLinksBit = 0x10;
constexpr std::uint32_t kIsmapTextLinksBit = 0x20;
constexpr std::uint32_t kIsmapBit = 0x40;
constexpr std::uint32_t kDLinkBit = 0x80;

// A missing or bare alt says nothing; a blank one hides a decorative image,
// except in a link, which it would leave without a name.
bool LacksAltText(const CAttribute* alt, bool insideAnchor)
{
    return !alt || !alt->HasValue() || (insideAnchor && alt->IsBlank());
}

} // namespace

int CElementImg::Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel)
{
    CCheckRun run{settings, document, applyLevel};
    std::uint32_t mask = 0;
    const auto [width, height, alt, src, longdesc, usemap, ismap] = FindAttributes<7>(
        *this, {attr::kWidth, attr::kHeight, attr::kAlt, attr::kSrc, attr::kLongdesc, attr::kUsemap, attr::kIsmap});
    if (width)
        m_width = DimensionValue(*width);
    if (height)
        m_height = DimensionValue(*height);

    m_missingReference.clear();
    if (run.Runs(*this, kAltTextBit)) {
        if (!run.settings.GetAriaNames()) {
            if (LacksAltText(alt, m_insideAnchor))
                mask |= kAltTextBit;
        } else if (const AccessibleName name = ComputeAccessibleName(document, *this); name.text.empty()) {
            // Hidden and presentational images are decorative; a reference
            // to nothing leaves the image unnamed whatever its alt says.
            const bool decorative = name.hidden || (name.presentational && !m_insideAnchor);
            if (!name.missingId.empty() || (!decorative && LacksAltText(alt, m_insideAnchor)))
                mask |= kAltTextBit;
            m_missingReference = name.missingId;
        }
    }
    if (run.Runs(*this, kAltTextLongBit) && alt && TextLength(alt->Value()) > kLongAltText)
        mask |= kAltTextLongBit;
    if (run.Runs(*this, kAltTextSuspiciousBit) && alt && IsSuspiciousText(alt->Value()))
        mask |= kAltTextSuspiciousBit;

    if (const CSrcObjectDatabase* registry = document.ObjectRegistry()) {
        if (const CSrcImage* known = registry->FindImage(src ? document.UserText(src->Value()) : std::string()))
            m_needsLongDesc = known->NeedsLongDesc();
    }
    if (m_needsLongDesc) {
        if (run.Runs(*this, kLongdescBit) && (!longdesc || longdesc->IsEmpty()))
            mask |= kLongdescBit;
        // Asked at every level filter: only the conformance target decides.
        if (!(mask & kLongdescBit) && run.Applies(*this, kDLinkBit) && !PassesDLinkTest(document, *this))
            mask |= kDLinkBit;
    }

    const bool serverSideMap = ismap && !usemap;
    if (run.Runs(*this, kIsmapBit) && serverSideMap)
        mask |= kIsmapBit;
    if (run.Runs(*this, kIsmapTextLinksBit) && serverSideMap)
        mask |= kIsmapTextLinksBit;
    if (run.Runs(*this, kMapTextLinksBit) && usemap) {
        const CImageMap* map = FindMap(document, usemap->Value());
        if (map && !PassesMapTextLinksTest(*map, document))
            mask |= kMapTextLinksBit;
    }
    return StoreProblems(*this, mask);
}

// The "d" link goes right after the image, or after the end of the link it
// stands in, and of every link that end still stands in (pages nest links
// and close them out of order): a link inside a link is no link to a browser.
const CElement* CElementImg::AfterEveryLinkAround(const CHtmlDocument& document) const
{
    const std::vector<CElement*>& elements = document.Elements();
    const CElement* after = this;
    std::size_t at = document.IndexOf(*this);
    for (std::size_t n = 0; n < at; ++n) {
        const CElement* start = elements[n];
        const CElement* end = start->Kind() == tag::kA && !start->IsDeleted() ? start->Partner() : nullptr;
        if (!end || end == start)
            continue;
        if (const std::size_t closes = document.IndexOf(*end); closes > at) {
            after = end;
            at = closes;
        }
    }
    return after;
}

CElement* CElementImg::DLinkToRepair(CHtmlDocument& document, bool unlessPresent)
{
    if (m_dLink)
        return m_dLink;
    // An image without a longdesc that a "d" link follows has its link: the
    // long description needs only the attribute.
    if (unlessPresent && m_dLinkLookedFor)
        return nullptr;
    m_dLinkLookedFor = true;
    if (unlessPresent && PassesDLinkTest(document, *this))
        return nullptr;
    const CElement* after = AfterEveryLinkAround(document);
    ElementPtr link(new CElement);
    link->SetKind(kind::kText);
    link->SetDeleted(true);
    link->SetModified(true);
    CElement* made = link.get();
    if (!document.InsertAfter(after, std::move(link)))
        return nullptr;
    m_dLink = made;
    return m_dLink;
}

// The text alternative goes into the alt attribute, the long description's
// address into longdesc and the "d" link; the pages of one image file are
// known by its source.
bool CElementImg::PrepareRepairPage(RepairPageRequest& request)
{
    const CAttribute* src = FindAttribute(attr::kSrc);
    if (request.bit == kLongdescBit) {
        CAttribute* longdesc = AttributeToRepair(attr::kLongdesc);
        if (!longdesc)
            return false;
        request.attribute = longdesc;
        request.insertedElement = DLinkToRepair(request.document, true);
        request.imageSource = src ? src->Value() : std::string_view();
        request.imageWidth = m_width;
        request.imageHeight = m_height;
        return true;
    }
    if (request.bit == kDLinkBit) {
        CAttribute* longdesc = FindAttribute(attr::kLongdesc);
        CElement* link = longdesc && !longdesc->IsEmpty() ? DLinkToRepair(request.document, false) : nullptr;
        if (!link)
            return false;
        request.attribute = longdesc;
        request.insertedElement = link;
        request.imageSource = src ? src->Value() : std::string_view();
        request.imageWidth = m_width;
        request.imageHeight = m_height;
        return true;
    }
    // The server-side map is converted into a map in the page, whose areas
    // the page after it gives their texts.
    if (request.bit == kIsmapBit) {
        request.imageSource = src ? src->Value() : std::string_view();
        request.imageWidth = m_width;
        request.imageHeight = m_height;
        request.followUpPage = "CPageMapAreaAlt";
        return true;
    }
    if (request.bit == kIsmapTextLinksBit) {
        request.imageSource = src ? src->Value() : std::string_view();
        request.imageWidth = m_width;
        request.imageHeight = m_height;
        request.lineEnd = PageLineEnd(request.document);
        return true;
    }
    // The map's links are repeated as text links after the image.
    if (request.bit == kMapTextLinksBit) {
        const CAttribute* usemap = FindAttribute(attr::kUsemap);
        request.imageMap = usemap ? FindMap(request.document, usemap->Value()) : nullptr;
        if (!request.imageMap)
            return false;
        request.imageSource = src ? src->Value() : std::string_view();
        request.imageWidth = m_width;
        request.imageHeight = m_height;
        request.lineEnd = PageLineEnd(request.document);
        return true;
    }
    if (request.bit != kAltTextBit && request.bit != kAltTextLongBit && request.bit != kAltTextSuspiciousBit)
        return true;
    CAttribute* alt = AttributeToRepair(attr::kAlt);
    if (!alt)
        return false;
    request.attribute = alt;
    request.imageSource = src ? src->Value() : std::string_view();
    request.imageWidth = m_width;
    request.imageHeight = m_height;
    request.longText = request.bit == kAltTextLongBit;
    request.suspiciousText = request.bit == kAltTextSuspiciousBit;
    request.blankTextForbidden = m_insideAnchor;
    return true;
}

} // namespace orvane
