#pragma once

#include "library/ui/pages/structure/page_meta_refresh_base.h"

namespace orvane {

// Takes a timed refresh out of a page, with a link to where it led.
class CPageMetaRefresh final : public CPageMetaRefreshBase {
public:
    static constexpr int kTemplate = 208;

    // target: where the refresh leads, as the meta family read it; empty when
    // it reloads the page itself.
    CPageMetaRefresh(CAttribute& httpEquiv, CAttribute& content, CElement* link, std::string target,
                     std::string_view lineEnd);
    std::string_view ClassName() const override { return "CPageMetaRefresh"; }
};

} // namespace orvane
