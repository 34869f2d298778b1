#pragma once

#include "library/ui/page_validator_base.h"

namespace orvane {

class CAttribute;

// Puts a small "d" link to an image's long description right after the
// image, for browsers that do not offer the longdesc attribute. The image
// family prepared the link (deleted until used).
class CPageImgDLink final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 1314;
    static constexpr int kAddLink = 1307;
    static constexpr int kLongDesc = 1013;
    static constexpr int kPreview = 1234;

    CPageImgDLink(CElement& dLink, const CAttribute& longdesc, std::string_view source);
    std::string_view ClassName() const override { return "CPageImgDLink"; }

    void Undo() override;
    bool Apply() override;
    // The link is added as the settings ask, without showing the page.
    bool RepairAutomatically() override;

protected:
    void Initialise() override;

private:
    void AddLink();

    CElement& m_dLink;
    const CAttribute& m_longdesc;
    std::string m_source;
    bool m_addLink = true;
};

} // namespace orvane
