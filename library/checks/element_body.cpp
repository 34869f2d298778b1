#include "element_body.h"

#include "body_colours.h"

#include "check_index.h"
#include "check_run.h"
#include "deprecated_markup.h"
#include "element_anchor.h"
#include "page_indexes.h"
#include "repair_pages.h"

#include "library/html/attribute.h"


namespace orvane {

namespace {

constexpr CheckInfo kBodyChecks[] = {
    {.bit = 0x1, .name = "BodyLanguageChange", .titleId = 283, .priority = 1, .section508 = true,
     .grouped = false, .repairPage = "CPageWarnings", .warningHelpTopic = "4-1-1.html", .warningTextId = 285},
    {.bit = 0x2, .name = "BodyColorContrst", .titleId = 443, .priority = 3, .repairPage = "CPageBodyColor",
     .helpTopic = "2-2-1.html"},
    {.bit = 0x4, .name = "AbbrevAcronym", .titleId = 458, .priority = 3, .reported = false},
    {.bit = 0x8, .name = "DeprecatedHtml", .titleId = 1110, .priority = 2, .repairPage = "CPageDeprecatedHtml",
     .helpTopic = "11-2-1.html", .problemTextId = 1111},
    {.bit = 0x10, .name = "LinksSkipover", .titleId = 472, .priority = 3, .section508 = true,
     .repairPage = "CPageBodySkipLinks", .helpTopic = "13-6-2.html"},
};

} // namespace

std::span<const CheckInfo> CElementBody::CheckTable() const { return kBodyChecks; }

namespace {

constexpr std::uint32_t kLanguageChangeBit = 0x1;
constexpr std::uint32_t kContrastBit = 0x2;
constexpr std::uint32_t kDeprecatedBit = 0x8;
constexpr std::uint32_t kSkipOverBit = 0x10;

} // namespace

bool CElementBody::UsesColour() const
{
    for (int id : {attr::kBgcolor, attr::kBackground, attr::kText, attr::kLink, attr::kVlink, attr::kAlink}) {
        const CAttribute* a = FindAttribute(id);
        if (a && !a->IsEmpty())
            return true;
    }
    return CCatalogueElement::UsesColour();
}

std::uint32_t CElementBody::CheckColours()
{
    const int ids[] = {attr::kBgcolor, attr::kText, attr::kLink, attr::kAlink, attr::kVlink};
    bool anyPresent = false;
    for (int id : ids)
        anyPresent = anyPresent || FindAttribute(id) != nullptr;
    if (!anyPresent)
        return 0;
    Rgb colours[5];
    bool* missing[5] = {&m_colours.backgroundMissing, &m_colours.textMissing, &m_colours.linkMissing,
                        &m_colours.activeLinkMissing, &m_colours.visitedLinkMissing};
    std::uint32_t mask = 0;
    for (int i = 0; i < 5; ++i) {
        const CAttribute* a = FindAttribute(ids[i]);
        if (!a || !a->ColourValue(colours[i])) {
            *missing[i] = true;
            mask = kContrastBit;
        }
    }
    if (mask)
        return mask;
    // Text, link, visited link, active link, each against the background.
    const Rgb& background = colours[0];
    struct Pair {
        const Rgb& colour;
        bool& fails;
    } pairs[] = {{colours[1], m_colours.textContrastFails},
                 {colours[2], m_colours.linkContrastFails},
                 {colours[4], m_colours.visitedLinkContrastFails},
                 {colours[3], m_colours.activeLinkContrastFails}};
    for (Pair& pair : pairs) {
        if (!ContrastsEnough(background, pair.colour)) {
            pair.fails = true;
            mask = kContrastBit;
        }
    }
    return mask;
}

bool CElementBody::PrepareRepairPage(RepairPageRequest& request)
{
    if (request.bit == kSkipOverBit)
        request.lineEnd = PageLineEnd(request.document);
    // A basefont's font goes to the body's own style.
    if (request.bit == kDeprecatedBit) {
        request.attribute = AttributeToRepair(attr::kStyle);
        return request.attribute != nullptr;
    }
    if (request.bit != kContrastBit)
        return true;
    const int ids[] = {attr::kBgcolor, attr::kText, attr::kLink, attr::kAlink, attr::kVlink};
    for (std::size_t i = 0; i < request.colourAttributes.size(); ++i) {
        request.colourAttributes[i] = AttributeToRepair(ids[i]);
        if (!request.colourAttributes[i])
            return false;
    }
    const ColourFlags& f = m_colours;
    request.coloursMissing =
        f.backgroundMissing || f.textMissing || f.linkMissing || f.activeLinkMissing || f.visitedLinkMissing;
    return true;
}

int CElementBody::Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel)
{
    CCheckRun run{settings, document, applyLevel};
    m_colours = ColourFlags{};
    // The body adds to what it found before; it is checked once per page.
    std::uint32_t mask = ProblemMask();
    if (run.Runs(*this, kLanguageChangeBit) && PageIndex<CBodyTextIndex>(document)->hasBodyText)
        mask |= kLanguageChangeBit;
    if (run.Runs(*this, kContrastBit))
        mask |= CheckColours();
    if (run.Runs(*this, kDeprecatedBit) && !deprecatedmarkup::FindInBody(document, *this, 1).empty())
        mask |= kDeprecatedBit;
    if (run.Runs(*this, kSkipOverBit)) {
        auto links = PageIndex<CLinkRunIndex>(document);
        for (const CLinkRunIndex::Run& linkRun : links->runs) {
            mask |= kSkipOverBit;
            if (auto* first = dynamic_cast<CElementAnchor*>(linkRun.first))
                first->SetSkipOverMark(1);
            if (auto* last = dynamic_cast<CElementAnchor*>(linkRun.last))
                last->SetSkipOverMark(2);
        }
    }
    return StoreProblems(*this, mask);
}

} // namespace orvane
