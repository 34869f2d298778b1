#include "element_meta.h"

#include "check_run.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"

namespace orvane {

namespace {

constexpr CheckInfo kMetaChecks[] = {
    {.bit = 0x1, .name = "MapRefresh", .titleId = 222, .priority = 2, .autoRepair = true,
     .repairPage = "CPageMetaRefresh", .helpTopic = "7-4-1.html"},
    {.bit = 0x2, .name = "MapRedirect", .titleId = 223, .priority = 2, .autoRepair = true,
     .repairPage = "CPageMetaRedirect", .helpTopic = "7-5-1.html"},
};

} // namespace

std::string RefreshTarget(std::string_view content)
{
    std::string upper(content);
    for (char& c : upper)
        c = AsciiUpper(c);
    const std::size_t at = upper.find("URL=");
    if (at == std::string::npos)
        return {};
    std::string_view target = TrimLeft(content.substr(at + 4));
    if (!target.empty() && (target.front() == '\'' || target.front() == '"')) {
        const char quote = target.front();
        target.remove_prefix(1);
        target = target.substr(0, target.find(quote));
    }
    std::size_t end = 0;
    while (end < target.size() && !IsSpace(target[end]))
        ++end;
    return std::string(target.substr(0, end));
}

std::span<const CheckInfo> CElementMeta::CheckTable() const { return kMetaChecks; }

int CElementMeta::Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel)
{
    const CAttribute* equiv = FindAttribute(attr::kHttpEquiv);
    if (!equiv)
        return StoreProblems(*this, 0);
    CCheckRun run{settings, document, applyLevel};
    const bool refresh = EqualsIgnoreCase(equiv->Value(), "refresh");
    const CAttribute* content = FindAttribute(attr::kContent);
    const long long seconds = content ? LeadingDecimal(content->Value()) : 0;
    std::uint32_t mask = 0;
    if (run.Runs(*this, 0x2) && refresh && content && seconds == 0 && !content->IsEmpty())
        mask |= 0x2;  // an immediate redirect
    if (run.Runs(*this, 0x1) && refresh && seconds > 0)
        mask |= 0x1;  // a timed refresh
    return StoreProblems(*this, mask);
}

// The link to the target goes first into the body, where readers see it (a
// paragraph in the head would end the head early); a page without a body
// start tag gets it right after the meta element. A refresh that names no
// target gets no link: it reloads the page itself.
bool CElementMeta::PrepareRepairPage(RepairPageRequest& request)
{
    request.attribute = FindAttribute(attr::kHttpEquiv);
    request.secondAttribute = FindAttribute(attr::kContent);
    if (!request.attribute || !request.secondAttribute)
        return false;
    request.linkTarget = RefreshTarget(request.secondAttribute->Value());
    request.lineEnd = PageLineEnd(request.document);
    if (request.linkTarget.empty())
        return true;
    if (!m_preparedLink) {
        const CElement* place = this;
        const std::vector<CElement*>& elements = request.document.Elements();
        for (std::size_t i = request.document.IndexOf(*this) + 1; i < elements.size(); ++i) {
            if (elements[i]->Kind() == tag::kBody && !elements[i]->IsDeleted()) {
                place = elements[i];
                break;
            }
        }
        ElementPtr link(new CElement);
        link->SetKind(kind::kUnknown);
        link->SetDeleted(true);
        link->SetModified(true);
        CElement* made = link.get();
        if (!request.document.InsertAfter(place, std::move(link)))
            return false;
        m_preparedLink = made;
    }
    request.insertedElement = m_preparedLink;
    return true;
}

} // namespace orvane
