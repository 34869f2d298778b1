#include "library/ui/pages/text_alternatives/page_img_dlink.h"

#include "library/ui/pages/text_alternatives/page_img_long_desc.h"

#include "library/html/attribute.h"
#include "library/html/element.h"

namespace orvane {

namespace {
constexpr int kInstruction = 411;
constexpr char kHelpTopic[] = "ImageMissingDLink.html";
} // namespace


CPageImgDLink::CPageImgDLink(CElement& dLink, const CAttribute& longdesc, std::string_view source)
    : CPageValidatorBase(kTemplate), m_dLink(dLink), m_longdesc(longdesc), m_source(source)
{
}

void CPageImgDLink::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    window.SetChecked(kAddLink, m_addLink);
    window.SetText(kLongDesc, UserText(m_longdesc.Value()));
    PreviewImage(m_source, kPreview);
}

void CPageImgDLink::AddLink()
{
    m_dLink.SetText(DLinkMarkup(m_longdesc.Value()));
    m_dLink.SetDeleted(false);
}

bool CPageImgDLink::Apply()
{
    if (Window())
        m_addLink = Window()->IsChecked(kAddLink);
    SetStatus(pagestatus::kRepaired);
    if (m_addLink && !m_longdesc.IsEmpty())
        AddLink();
    else
        m_dLink.SetDeleted(true);
    return true;
}

// The link goes with the repair it made: undone, the page is written as it was.
void CPageImgDLink::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    m_dLink.SetDeleted(true);
}

bool CPageImgDLink::RepairAutomatically()
{
    if (m_longdesc.IsEmpty())
        return false;
    AddLink();
    SetStatus(pagestatus::kRepaired);
    return true;
}

} // namespace orvane
