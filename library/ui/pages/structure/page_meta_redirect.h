#pragma once

#include "library/ui/pages/structure/page_meta_refresh_base.h"

namespace orvane {

// Takes an immediate redirect out of a page, with a link to its new address.
class CPageMetaRedirect final : public CPageMetaRefreshBase {
public:
    static constexpr int kTemplate = 207;

    // The new address is read from the content's "URL=" part.
    CPageMetaRedirect(CAttribute& httpEquiv, CAttribute& content, CElement* link, std::string_view lineEnd);
    std::string_view ClassName() const override { return "CPageMetaRedirect"; }
};

} // namespace orvane
