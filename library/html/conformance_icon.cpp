#include "conformance_icon.h"

#include "attribute_table.h"
#include "html_document.h"
#include "tag_table.h"
#include "text_util.h"

#include "platform/services.h"

#include <array>
#include <memory>
#include <string>

namespace orvane {
namespace {

struct IconLevel {
    std::string_view file;
    std::string_view word;
};

constexpr std::array<IconLevel, 3> kIconLevels{{
    {"IconA.png", "A"},
    {"IconAA.png", "double A"},
    {"IconAAA.png", "triple A"},
}};

constexpr std::string_view kLinkTitle = "Link to Orvane site";

std::string LongDescriptionAddress() { return std::string(kProductSiteAddress) + "/Icon-LONGDESC.html"; }

std::string_view FileNameOf(std::string_view src)
{
    std::size_t slash = src.rfind('/');
    return slash == std::string_view::npos ? src : src.substr(slash + 1);
}

// 1 to 3 for an icon file name of any letter case, else 0.
int IconLevelOf(std::string_view fileName)
{
    for (std::size_t i = 0; i < kIconLevels.size(); ++i) {
        if (EqualsIgnoreCase(fileName, kIconLevels[i].file))
            return static_cast<int>(i) + 1;
    }
    return 0;
}

std::string IconMarkup(std::string_view iconsLocation, const IconLevel& level, const std::string& alt)
{
    const std::string site(kProductSiteAddress);
    return "<a href=\"" + site + "\" title=\"" + std::string(kLinkTitle) + "\"><img src=\"" +
           std::string(iconsLocation) + "/" + std::string(level.file) + "\" alt=\"" + alt + "\" longdesc=\"" +
           site + "/Icon-LONGDESC.html\" width=\"102\" height=\"32\" border=\"2\" /></a><a href=\"" + site +
           "/Icon-LONGDESC.html\">d</a>";
}

CAttribute& EnsureAttribute(CElement& element, int id)
{
    if (CAttribute* existing = element.FindAttribute(id))
        return *existing;
    auto created = std::make_unique<CAttribute>();
    created->NameById(id);
    created->SetHideable(true);
    CAttribute& attribute = *created;
    element.InsertAttribute(std::move(created));
    return attribute;
}

bool HasAttributeValue(const CElement* element, int id, std::string_view value)
{
    const CAttribute* attribute = element ? element->FindAttribute(id) : nullptr;
    return attribute && attribute->Value() == value;
}

bool IsKind(const CElement* element, int kind) { return element && element->Kind() == kind; }

// Removes the link around the icon and its "d" link too, but only when they
// are exactly what the icon markup inserts: a page's own links stay.
void RemoveIconLinks(CHtmlDocument& document, CElement& icon)
{
    CElement* linkStart = document.ElementBefore(&icon);
    CElement* linkEnd = document.ElementAfter(&icon);
    CElement* dStart = linkEnd ? document.ElementAfter(linkEnd) : nullptr;
    CElement* dText = dStart ? document.ElementAfter(dStart) : nullptr;
    CElement* dEnd = dText ? document.ElementAfter(dText) : nullptr;
    const std::string site(kProductSiteAddress);
    bool ownLink = IsKind(linkStart, tag::kA) && HasAttributeValue(linkStart, attr::kHref, site) &&
                   HasAttributeValue(linkStart, attr::kTitle, kLinkTitle) && linkStart->AttributeCount() == 3 &&
                   IsKind(linkEnd, tag::kA + kind::kEndOffset) && linkStart->Partner() == linkEnd;
    if (!ownLink)
        return;
    linkStart->SetDeleted(true);
    linkEnd->SetDeleted(true);
    bool ownDLink = IsKind(dStart, tag::kA) && HasAttributeValue(dStart, attr::kHref, LongDescriptionAddress()) &&
                    dStart->AttributeCount() == 2 && IsKind(dText, kind::kText) && dText->Text() == "d" &&
                    IsKind(dEnd, tag::kA + kind::kEndOffset) && dStart->Partner() == dEnd;
    if (ownDLink) {
        dStart->SetDeleted(true);
        dText->SetDeleted(true);
        dEnd->SetDeleted(true);
    }
}

void UpdateIcon(CElement& icon, CAttribute& src, int level, const std::string& alt)
{
    std::string value = src.GetValue();
    std::size_t slash = value.rfind('/');
    std::string kept = (slash == std::string::npos || slash == 0) ? std::string() : value.substr(0, slash + 1);
    src.SetValue(kept + std::string(kIconLevels[static_cast<std::size_t>(level - 1)].file));
    src.SetChanged(true);
    CAttribute& altAttribute = EnsureAttribute(icon, attr::kAlt);
    altAttribute.SetValue(alt);
    altAttribute.SetChanged(true);
    CAttribute& longdesc = EnsureAttribute(icon, attr::kLongdesc);
    longdesc.SetValue(LongDescriptionAddress());
    longdesc.SetChanged(true);
}

} // namespace

void InsertConformanceIcon(CHtmlDocument& document, int achievedLevel, std::string_view iconsLocation)
{
    if (document.OriginFlag() == 0 || iconsLocation.empty())
        return;
    // A level with no icon (the Section 508 target) leaves the page as it is.
    if (achievedLevel < 0 || achievedLevel > 3)
        return;
    std::string alt;
    if (achievedLevel > 0) {
        auto& strings = platform::Strings();
        alt = strings.Format(360, {strings.Get(110), kIconLevels[static_cast<std::size_t>(achievedLevel - 1)].word});
    }

    CElement* icon = nullptr;
    CAttribute* iconSrc = nullptr;
    for (CElement* e : document.Elements()) {
        if (e->Kind() != tag::kImg)
            continue;
        CAttribute* src = e->FindAttribute(attr::kSrc);
        if (src && IconLevelOf(FileNameOf(src->Value())) != 0) {
            icon = e;
            iconSrc = src;
            break;
        }
    }

    if (icon) {
        if (achievedLevel == 0) {
            icon->SetDeleted(true);
            icon->SetModified(true);
            RemoveIconLinks(document, *icon);
        } else if (IconLevelOf(FileNameOf(iconSrc->Value())) != achievedLevel) {
            UpdateIcon(*icon, *iconSrc, achievedLevel, alt);
        }
        return;
    }
    if (achievedLevel == 0)
        return;

    const std::string markup =
        IconMarkup(iconsLocation, kIconLevels[static_cast<std::size_t>(achievedLevel - 1)], alt);
    std::vector<CElement*> bodyEnds;
    for (CElement* e : document.Elements()) {
        if (e->Kind() == tag::kBody + kind::kEndOffset)
            bodyEnds.push_back(e);
    }
    for (CElement* bodyEnd : bodyEnds) {
        ElementPtr text(new CElement());
        text->SetKind(kind::kText);
        text->SetModified(true);
        if (!text->SetText(markup))
            return;
        document.InsertBefore(bodyEnd, std::move(text));
    }
}

} // namespace orvane
