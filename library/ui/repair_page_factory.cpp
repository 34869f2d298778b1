#include "repair_page_factory.h"

#include "page_img_alt_text.h"
#include "page_img_dlink.h"
#include "page_img_long_desc.h"
#include "page_input_default_text.h"
#include "page_lang_missing.h"
#include "page_textarea_default_text.h"
#include "page_warnings.h"
#include "validator_sheet.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/html/element.h"

#include <memory>

namespace orvane {

namespace {

// The page the request names, made and not yet attached; null when that page is not built.
std::unique_ptr<CPageValidatorBase> MakePage(const RepairPageRequest& request)
{
    if (request.pageClass == "CPageImgAltText" && request.attribute) {
        auto page = std::make_unique<CPageImgAltText>(
            *request.attribute, request.imageSource,
            CPageImgAltText::Variant{.longText = request.longText, .suspicious = request.suspiciousText});
        page->SetImageSize(request.imageWidth, request.imageHeight);
        return page;
    }
    if (request.pageClass == "CPageImgLongDesc" && request.attribute) {
        auto page = std::make_unique<CPageImgLongDesc>(*request.attribute, request.insertedElement, request.imageSource);
        page->SetImageSize(request.imageWidth, request.imageHeight);
        return page;
    }
    if (request.pageClass == "CPageImgDLink" && request.attribute && request.insertedElement) {
        auto page = std::make_unique<CPageImgDLink>(*request.insertedElement, *request.attribute, request.imageSource);
        page->SetImageSize(request.imageWidth, request.imageHeight);
        return page;
    }
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
    return 1;
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
