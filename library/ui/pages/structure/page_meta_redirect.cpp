#include "library/ui/pages/structure/page_meta_redirect.h"

#include "library/checks/element_meta.h"
#include "library/html/attribute.h"

namespace orvane {

namespace {
constexpr CPageMetaRefreshBase::Texts kTexts{.instruction = 223, .helpTopic = "7-5-1.html", .linkText = 224};
} // namespace

CPageMetaRedirect::CPageMetaRedirect(CAttribute& httpEquiv, CAttribute& content, CElement* link,
                                     std::string_view lineEnd)
    : CPageMetaRefreshBase(kTemplate, kTexts, httpEquiv, content, link, RefreshTarget(content.Value()), lineEnd)
{
}

} // namespace orvane
