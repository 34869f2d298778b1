#include "library/ui/pages/text_alternatives/page_img_long_desc.h"

#include "library/ui/link_markup.h"
#include "library/ui/quoted_value.h"
#include "library/ui/validator_sheet.h"

#include "library/checks/element_img.h"
#include "library/html/attribute.h"
#include "library/html/attribute_table.h"
#include "library/registry/object_database.h"
#include "platform/services.h"

#include <memory>

namespace orvane {

namespace {
constexpr int kInstruction = 132;
constexpr int kDLinkTitle = 307;
constexpr int kFileTitle = 775;
constexpr char kHelpTopic[] = "1-1-2.html";

void SetImageNeedsLongDesc(CElement* element, bool needs)
{
    if (auto* image = dynamic_cast<CElementImg*>(element))
        image->SetNeedsLongDesc(needs);
}
} // namespace

std::string DLinkMarkup(std::string_view address)
{
    return "<a href=\"" + linkmarkup::HrefValue(address) + "\" title=\"" + QuotedValue(platform::Strings().Get(kDLinkTitle)) + "\">d</a>";
}


CPageImgLongDesc::CPageImgLongDesc(CAttribute& longdesc, CElement* dLink, std::string_view source)
    : CPageDescriptionBase(kTemplate), m_longdesc(longdesc), m_dLink(dLink)
{
    SetKey(source);
    SetMergeable(true);
    OfferAlternativeAnswer(false);
}

void CPageImgLongDesc::Initialise()
{
    // An icon or a banner rarely says more than its text alternative can.
    if (!m_opened && (IsSmallImage() || IsBannerImage()))
        SetNotNeededAtOpening(true);
    m_opened = true;
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    std::vector<std::string> known;
    if (const CSrcObjectDatabase* registry = Sheet() ? Sheet()->ObjectRegistry() : nullptr) {
        if (const CSrcImage* image = registry->FindImage(Key())) {
            for (const auto& longDesc : image->LongDescs())
                known.push_back(longDesc->Value());
        }
    }
    SetKnownFiles(std::move(known));
    InitialiseDescription();
    Window()->SetText(kSource, Key());
    PreviewImage(Key(), kPreview);
}

std::string CPageImgLongDesc::DescriptionTitle(std::string_view language) const
{
    const CAttribute* alt = Element() ? Element()->FindAttribute(attr::kAlt) : nullptr;
    const std::string named = alt && !alt->IsHidden() && !alt->IsBlank() && !alt->IsEmpty()
                                  ? UserText(alt->Value())
                                  : UserText(CSrcImage::ReducedFileName(Key()));
    return FileTitle(language, kFileTitle, {named});
}

std::vector<CPageImgLongDesc*> CPageImgLongDesc::MergedPages() const
{
    std::vector<CPageImgLongDesc*> merged;
    const int index = Sheet() ? Sheet()->IndexOf(*this) : -1;
    if (!OptionState() || index < 0)
        return merged;
    for (CPageValidatorBase* other : Sheet()->PagesWithKey(Key())) {
        if (Sheet()->IndexOf(*other) > index && IsSameKind(*other))
            merged.push_back(static_cast<CPageImgLongDesc*>(other));
    }
    return merged;
}

CSrcImage* CPageImgLongDesc::RegistryImage() const
{
    CSrcObjectDatabase* registry = Sheet() ? Sheet()->ObjectRegistry() : nullptr;
    return registry ? registry->AddImage(std::make_unique<CSrcImage>(Key())) : nullptr;
}

void CPageImgLongDesc::ForgetRegistryChanges()
{
    if (!m_changedImage)
        return;
    if (m_changedNeed)
        m_changedImage->SetNeedsLongDesc(m_neededBefore);
    if (!m_addedLongDesc.empty())
        m_changedImage->RemoveLongDesc(m_addedLongDesc);
    m_changedImage = nullptr;
    m_changedNeed = false;
    m_addedLongDesc.clear();
}

void CPageImgLongDesc::LinkDescription(const std::string& address)
{
    // The address as the user gave it, escaped and in the page's encoding.
    m_longdesc.SetFromText(address, Encoding());
    m_longdesc.Hide(false);
    m_longdesc.SetChanged(true);
    if (m_dLink) {
        m_dLink->SetText(MarkupToPage(DLinkMarkup(address), Encoding()));
        m_dLink->SetDeleted(false);
    }
    SetImageNeedsLongDesc(Element(), true);
}

void CPageImgLongDesc::MarkNotNeeded()
{
    m_longdesc.Revert();
    if (m_dLink)
        m_dLink->SetDeleted(true);
    SetImageNeedsLongDesc(Element(), false);
}

bool CPageImgLongDesc::ApplyDescription(const std::string& address, int)
{
    ApplyToImages(address, false);
    return true;
}

bool CPageImgLongDesc::ApplyNotNeeded()
{
    ApplyToImages({}, true);
    return true;
}

void CPageImgLongDesc::ApplyToImages(const std::string& address, bool notNeeded)
{
    // What an earlier apply of this page remembered gives way to this one.
    ForgetRegistryChanges();
    TakeBackMerged();
    for (CPageImgLongDesc* page : MergedPages()) {
        if (notNeeded)
            page->MarkNotNeeded();
        else
            page->LinkDescription(address);
        page->SetStatus(pagestatus::kRepaired);
        page->SetSkip(true);
        m_appliedTo.push_back(page);
    }
    if (notNeeded)
        MarkNotNeeded();
    else
        LinkDescription(address);

    // Remembered by the image file: the next check of any page showing it
    // knows that it needs no description, or is offered this one.
    CSrcImage* image = RegistryImage();
    if (!image)
        return;
    m_changedImage = image;
    if (notNeeded) {
        m_neededBefore = image->NeedsLongDesc();
        m_changedNeed = true;
        image->SetNeedsLongDesc(false);
    } else if (!address.empty() && !image->FindLongDesc(address)) {
        image->AddLongDesc(std::make_unique<CSrcLongDesc>(address));
        m_addedLongDesc = address;
    }
}

void CPageImgLongDesc::TakeBackFromImage()
{
    m_longdesc.Revert();
    if (m_dLink)
        m_dLink->SetDeleted(true);
    SetImageNeedsLongDesc(Element(), true);
}

void CPageImgLongDesc::TakeBackMerged()
{
    for (auto page = m_appliedTo.rbegin(); page != m_appliedTo.rend(); ++page) {
        (*page)->SetStatus(pagestatus::kNotRepaired);
        (*page)->TakeBackFromImage();
    }
    m_appliedTo.clear();
}

// The images of the pages merged into this one went with it, and come back with it.
void CPageImgLongDesc::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    TakeBackMerged();
    TakeBackFromImage();
    ForgetRegistryChanges();
}

} // namespace orvane
