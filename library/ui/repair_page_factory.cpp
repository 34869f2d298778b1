#include "repair_page_factory.h"

#include "page_img_alt_text.h"
#include "page_img_ismap.h"
#include "page_input_default_text.h"
#include "page_lang_missing.h"
#include "page_map_area_alt.h"
#include "page_textarea_default_text.h"
#include "page_warnings.h"
#include "validator_sheet.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/html/element.h"

#include <memory>

namespace orvane {

namespace {

// The page the request names, made and not yet attached; null when that page
// is not built. A follow-up page may have nothing to work on yet.
std::unique_ptr<CPageValidatorBase> MakePage(const RepairPageRequest& request, bool followUp = false)
{
    if (request.pageClass == "CPageImgAltText" && request.attribute) {
        auto page = std::make_unique<CPageImgAltText>(
            *request.attribute, request.imageSource,
            CPageImgAltText::Variant{.longText = request.longText, .suspicious = request.suspiciousText});
        page->SetImageSize(request.imageWidth, request.imageHeight);
        return page;
    }
    if (request.pageClass == "CPageImgIsmap") {
        auto page = std::make_unique<CPageImgIsmap>(request.document, request.imageSource);
        page->SetImageSize(request.imageWidth, request.imageHeight);
        return page;
    }
    if (request.pageClass == "CPageMapAreaAlt" && (request.imageMap || followUp))
        return std::make_unique<CPageMapAreaAlt>(request.imageMap, request.imageSource);
    if (request.pageClass == "CPageInputDefaultText" && request.attribute)
        return std::make_unique<CPageInputDefaultText>(*request.attribute, request.document);
    if (request.pageClass == "CPageLangMissing" && request.attribute)
        return std::make_unique<CPageLangMissing>(*request.attribute);
    if (request.pageClass == "CPageTextAreaDefaultText" && request.insertedElement)
        return std::make_unique<CPageTextAreaDefaultText>(*request.insertedElement, request.document);
    return nullptr;
}

} // namespace

void CRepairPageFactory::Install()
{
    static CRepairPageFactory factory;
    if (!RepairPageFactory())
        SetRepairPageFactory(&factory);
}

int CRepairPageFactory::AutoRepairMode(const CValidatorSheet& sheet, const CElement& element, std::uint32_t bit) const
{
    const COrvaneSettings* settings = sheet.Settings();
    return settings ? AutoRepairSetting(element, *settings, bit) : autorepair::kNotOffered;
}

int CRepairPageFactory::AddPage(CValidatorSheet& sheet, const RepairPageRequest& request)
{
    // One page per element and page class: its other problems share it, and its repair mends them all.
    if (CPageValidatorBase* page = sheet.FindPage(request.element, request.pageClass)) {
        page->AlsoMends(request.bit);
        return 0;
    }
    std::unique_ptr<CPageValidatorBase> page = MakePage(request);
    if (!page) {
        AddWithoutPage(sheet, request.element, request.bit);
        return 0;
    }
    page->Attach(request.element, request.bit);
    sheet.AddPage(std::move(page));
    if (request.followUpPage.empty() || sheet.FindPage(request.element, request.followUpPage))
        return 1;
    RepairPageRequest next = request;
    next.pageClass = request.followUpPage;
    next.followUpPage = {};
    std::unique_ptr<CPageValidatorBase> followUp = MakePage(next, true);
    if (!followUp)
        return 1;
    followUp->Attach(request.element, request.bit);
    // Passed over until the page before it readies its work.
    followUp->SetSkip(true);
    sheet.AddPage(std::move(followUp));
    return 2;
}

void CRepairPageFactory::AddWithoutPage(CValidatorSheet& sheet, CElement& element, std::uint32_t bit)
{
    sheet.AddProblemWithoutPage(element, bit);
}

int CRepairPageFactory::AddWarning(CValidatorSheet& sheet, CHtmlDocument&, CElement& element, std::uint32_t bit)
{
    int added = 0;
    CPageWarnings* warnings = sheet.FindWarningsPage();
    if (!warnings) {
        warnings = static_cast<CPageWarnings*>(&sheet.AddPage(std::make_unique<CPageWarnings>()));
        added = 1;
    }
    warnings->AddWarning(element, bit);
    return added;
}

bool CRepairPageFactory::RepairAutomatically(CValidatorSheet& sheet, const RepairPageRequest& request)
{
    std::unique_ptr<CPageValidatorBase> page = MakePage(request);
    if (!page)
        return false;
    page->SetSheet(&sheet);
    page->Attach(request.element, request.bit);
    return page->RepairAutomatically();
}

} // namespace orvane
