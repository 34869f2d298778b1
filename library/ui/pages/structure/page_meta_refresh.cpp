#include "library/ui/pages/structure/page_meta_refresh.h"

namespace orvane {

namespace {
constexpr CPageMetaRefreshBase::Texts kTexts{.instruction = 222, .helpTopic = "7-4-1.html", .linkText = 391};
} // namespace

CPageMetaRefresh::CPageMetaRefresh(CAttribute& httpEquiv, CAttribute& content, CElement* link, std::string target,
                                   std::string_view lineEnd)
    : CPageMetaRefreshBase(kTemplate, kTexts, httpEquiv, content, link, std::move(target), lineEnd)
{
}

} // namespace orvane
