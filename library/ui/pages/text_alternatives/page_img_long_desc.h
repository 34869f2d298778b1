#pragma once

#include "library/ui/pages/text_alternatives/page_description_base.h"

#include <string>

namespace orvane {

class CAttribute;
class CSrcImage;

// Gives an image a long description: a file beside the page (written here or
// linked), named by the image's longdesc attribute and by a small "d" link
// after the image for browsers that do not offer longdesc. An image that
// needs none is remembered as such, by its file, for every later check.
// Pages of one image file merge, so one description serves every place.
class CPageImgLongDesc final : public CPageDescriptionBase {
public:
    static constexpr int kTemplate = 132;
    static constexpr int kSource = 1013;
    static constexpr int kPreview = 1234;

    // dLink: the link the image family put after the image (deleted until
    // used); null when the image has one already.
    CPageImgLongDesc(CAttribute& longdesc, CElement* dLink, std::string_view source);
    std::string_view ClassName() const override { return "CPageImgLongDesc"; }
    bool IsSameKind(const CPageValidatorBase& other) const override { return IsOfClass<CPageImgLongDesc>(other); }

    void Undo() override;

protected:
    void Initialise() override;
    std::string DescriptionTitle(std::string_view language) const override;
    bool ApplyDescription(const std::string& address, int answer) override;
    bool ApplyNotNeeded() override;

private:
    // The image points at the address: longdesc, and the "d" link.
    void LinkDescription(const std::string& address);
    // The image needs no description: no longdesc added, no "d" link, and
    // the image file remembered as one without.
    void MarkNotNeeded();
    // The image as the page found it: no longdesc given, no "d" link.
    void TakeBackFromImage();
    // The merged pages this one applied to, each as it found its image.
    void TakeBackMerged();
    // The pages of the same image file this one stands for.
    std::vector<CPageImgLongDesc*> MergedPages() const;
    CSrcImage* RegistryImage() const;
    void ForgetRegistryChanges();
    // longdesc and the "d" link with the address, or without them when empty.
    void ApplyToImages(const std::string& address, bool notNeeded);

    CAttribute& m_longdesc;
    CElement* m_dLink;
    bool m_opened = false;
    // What this page changed in the object registry, for its undo.
    CSrcImage* m_changedImage = nullptr;
    bool m_neededBefore = true;
    bool m_changedNeed = false;
    std::string m_addedLongDesc;
    // The merged pages this one last applied to: its undo is theirs too.
    std::vector<CPageImgLongDesc*> m_appliedTo;
};

// The d link's markup: a short link to the long description, titled so.
std::string DLinkMarkup(std::string_view address);

} // namespace orvane
