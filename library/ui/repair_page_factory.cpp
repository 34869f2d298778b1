#include "library/ui/repair_page_factory.h"

#include "library/ui/pages/links/page_anchor_new_window.h"
#include "library/ui/pages/links/page_anchor_textlink.h"
#include "library/ui/pages/links/page_anchor_title.h"
#include "library/ui/pages/objects/page_anchor_transcript.h"
#include "library/ui/pages/objects/page_applet_alt_text.h"
#include "library/ui/pages/text_alternatives/page_area_alt_text.h"
#include "library/ui/pages/text_alternatives/page_ascii_art_description.h"
#include "library/ui/pages/links/page_ascii_art_skip.h"
#include "library/ui/pages/presentation/page_blink.h"
#include "library/ui/pages/presentation/page_deprecated_html.h"
#include "library/ui/pages/presentation/page_body_color.h"
#include "library/ui/pages/links/page_body_skip_links.h"
#include "library/ui/pages/scripts/page_device_dependent.h"
#include "library/ui/pages/structure/page_doctype_bad.h"
#include "library/ui/pages/judgements/page_flicker.h"
#include "library/ui/pages/frames/page_frame_long_desc.h"
#include "library/ui/pages/frames/page_frame_source.h"
#include "library/ui/pages/frames/page_frame_title.h"
#include "library/ui/pages/frames/page_frameset_noframes.h"
#include "library/ui/pages/presentation/page_header_format.h"
#include "library/ui/pages/structure/page_headings.h"
#include "library/ui/pages/judgements/page_headings_maybe.h"
#include "library/ui/pages/judgements/page_quote_maybe.h"
#include "library/ui/pages/text_alternatives/page_img_alt_text.h"
#include "library/ui/pages/text_alternatives/page_img_dlink.h"
#include "library/ui/pages/text_alternatives/page_img_ismap.h"
#include "library/ui/pages/text_alternatives/page_img_long_desc.h"
#include "library/ui/pages/text_alternatives/page_img_usemap_textlinks.h"
#include "library/ui/pages/text_alternatives/page_input_alt_text.h"
#include "library/ui/pages/forms/page_input_default_text.h"
#include "library/ui/pages/text_alternatives/page_ismap_textlinks.h"
#include "library/ui/pages/forms/page_label_far_away.h"
#include "library/ui/pages/forms/page_label_missing.h"
#include "library/ui/pages/structure/page_lang_missing.h"
#include "library/ui/pages/presentation/page_list_format.h"
#include "library/ui/pages/text_alternatives/page_map_area_alt.h"
#include "library/ui/pages/structure/page_meta_redirect.h"
#include "library/ui/pages/structure/page_meta_refresh.h"
#include "library/ui/pages/structure/page_metadata.h"
#include "library/ui/pages/objects/page_object_alt_rep.h"
#include "library/ui/pages/objects/page_object_title.h"
#include "library/ui/pages/scripts/page_script_new_window.h"
#include "library/ui/pages/scripts/page_script_noscript.h"
#include "library/ui/pages/tables/page_table_caption.h"
#include "library/ui/pages/tables/page_table_header.h"
#include "library/ui/pages/tables/page_table_header_abbrev.h"
#include "library/ui/pages/tables/page_table_linearize.h"
#include "library/ui/pages/tables/page_table_multilevel.h"
#include "library/ui/pages/tables/page_table_structual_markup.h"
#include "library/ui/pages/presentation/page_units_table.h"
#include "library/ui/pages/tables/page_table_summary.h"
#include "library/ui/pages/forms/page_textarea_default_text.h"
#include "library/ui/pages/judgements/page_warnings.h"
#include "library/ui/validator_sheet.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/check_info.h"
#include "library/checks/element_anchor.h"
#include "library/checks/element_applet.h"
#include "library/checks/element_blink.h"
#include "library/checks/element_document.h"
#include "library/checks/element_header.h"
#include "library/checks/element_list.h"
#include "library/checks/element_pre.h"
#include "library/checks/element_script.h"
#include "library/checks/element_table.h"
#include "library/html/attribute.h"
#include "library/html/attribute_table.h"
#include "library/html/element.h"
#include "library/html/html_document.h"

#include <memory>

namespace orvane {

namespace {

using PagePointer = std::unique_ptr<CPageValidatorBase>;

// The pages built so far, by the class names the check catalogue gives them.
// Each maker returns null when the family could not ready what its page fills in.
struct PageMaker {
    std::string_view pageClass;
    PagePointer (*make)(const RepairPageRequest& request);
};

CPageAltTextBase::Variant TextVariant(const RepairPageRequest& request)
{
    return {.longText = request.longText, .suspicious = request.suspiciousText};
}

constexpr PageMaker kPageMakers[] = {
    {"CPageImgAltText",
     [](const RepairPageRequest& request) -> PagePointer {
         if (!request.attribute)
             return nullptr;
         auto page = std::make_unique<CPageImgAltText>(*request.attribute, request.imageSource,
                                                       TextVariant(request), request.blankTextForbidden);
         page->SetImageSize(request.imageWidth, request.imageHeight);
         return page;
     }},
    {"CPageInputAltText",
     [](const RepairPageRequest& request) -> PagePointer {
         if (!request.attribute)
             return nullptr;
         auto page = std::make_unique<CPageInputAltText>(*request.attribute, request.imageSource, TextVariant(request));
         page->SetImageSize(request.imageWidth, request.imageHeight);
         return page;
     }},
    {"CPageAreaAltText",
     [](const RepairPageRequest& request) -> PagePointer {
         if (!request.attribute)
             return nullptr;
         return std::make_unique<CPageAreaAltText>(*request.attribute, request.document, request.areaLinkTarget,
                                                   request.areaShapeText);
     }},
    {"CPageImgLongDesc",
     [](const RepairPageRequest& request) -> PagePointer {
         if (!request.attribute)
             return nullptr;
         auto page = std::make_unique<CPageImgLongDesc>(*request.attribute, request.insertedElement, request.imageSource);
         page->SetImageSize(request.imageWidth, request.imageHeight);
         return page;
     }},
    {"CPageImgDLink",
     [](const RepairPageRequest& request) -> PagePointer {
         if (!request.attribute || !request.insertedElement)
             return nullptr;
         auto page = std::make_unique<CPageImgDLink>(*request.insertedElement, *request.attribute, request.imageSource);
         page->SetImageSize(request.imageWidth, request.imageHeight);
         return page;
     }},
    {"CPageImgIsmap",
     [](const RepairPageRequest& request) -> PagePointer {
         auto page = std::make_unique<CPageImgIsmap>(request.document, request.imageSource);
         page->SetImageSize(request.imageWidth, request.imageHeight);
         return page;
     }},
    {"CPageImgUsemapTextlinks",
     [](const RepairPageRequest& request) -> PagePointer {
         if (!request.imageMap)
             return nullptr;
         auto page = std::make_unique<CPageImgUsemapTextlinks>(request.document, *request.imageMap,
                                                               request.imageSource, request.lineEnd);
         if (!page->HasLinks())
             return nullptr;
         page->SetImageSize(request.imageWidth, request.imageHeight);
         return page;
     }},
    {"CPageIsmapTextlinks",
     [](const RepairPageRequest& request) -> PagePointer {
         auto page = std::make_unique<CPageIsmapTextlinks>(request.document, request.imageSource, request.lineEnd);
         page->SetImageSize(request.imageWidth, request.imageHeight);
         return page;
     }},
    {"CPageMapAreaAlt",
     [](const RepairPageRequest& request) -> PagePointer {
         if (!request.imageMap)
             return nullptr;
         return std::make_unique<CPageMapAreaAlt>(request.imageMap, request.imageSource);
     }},
    {"CPageInputDefaultText",
     [](const RepairPageRequest& request) -> PagePointer {
         if (!request.attribute)
             return nullptr;
         return std::make_unique<CPageInputDefaultText>(*request.attribute, request.document);
     }},
    {"CPageLabelMissing",
     [](const RepairPageRequest& request) -> PagePointer {
         if (!request.attribute || !request.secondAttribute || !request.insertedElement)
             return nullptr;
         return std::make_unique<CPageLabelMissing>(CPageLabelMissing::Prepared{.id = *request.attribute,
                                                                                .title = *request.secondAttribute,
                                                                                .beside = *request.insertedElement,
                                                                                .nearText = request.labelText,
                                                                                .wrapped = request.wrappedLabelText},
                                                    request.document);
     }},
    {"CPageLabelFarAway",
     [](const RepairPageRequest& request) -> PagePointer {
         if (!request.insertedElement)
             return nullptr;
         return std::make_unique<CPageLabelFarAway>(*request.insertedElement, request.document);
     }},
    {"CPageFrameTitle",
     [](const RepairPageRequest& request) -> PagePointer {
         if (!request.attribute)
             return nullptr;
         return std::make_unique<CPageFrameTitle>(*request.attribute);
     }},
    {"CPageFrameLongDesc",
     [](const RepairPageRequest& request) -> PagePointer {
         if (!request.attribute)
             return nullptr;
         return std::make_unique<CPageFrameLongDesc>(*request.attribute, request.document);
     }},
    {"CPageFrameSource",
     [](const RepairPageRequest& request) -> PagePointer {
         if (!request.attribute)
             return nullptr;
         return std::make_unique<CPageFrameSource>(*request.attribute);
     }},
    {"CPageObjectTitle",
     [](const RepairPageRequest& request) -> PagePointer {
         if (!request.attribute)
             return nullptr;
         return std::make_unique<CPageObjectTitle>(*request.attribute, request.objectMarkup);
     }},
    {"CPageAnchorTranscript",
     [](const RepairPageRequest& request) -> PagePointer {
         const auto* anchor = dynamic_cast<const CElementAnchor*>(&request.element);
         if (!anchor || !request.insertedElement)
             return nullptr;
         return std::make_unique<CPageAnchorTranscript>(*request.insertedElement, request.document,
                                                        std::string(NonEmptyAttribute(request.element, attr::kHref)),
                                                        anchor->UserLinkText(request.document.Encoding()),
                                                        request.lineEnd);
     }},
    {"CPageAppletAltText",
     [](const RepairPageRequest& request) -> PagePointer {
         const auto* applet = dynamic_cast<const CElementApplet*>(&request.element);
         if (!applet || !request.attribute || !request.insertedElement)
             return nullptr;
         return std::make_unique<CPageAppletAltText>(*request.attribute, *request.insertedElement, request.document,
                                                     applet->AppletKey(), request.objectMarkup, request.lineEnd);
     }},
    {"CPageObjectAltRep",
     [](const RepairPageRequest& request) -> PagePointer {
         if (!request.insertedElement)
             return nullptr;
         std::string dataFile(NonEmptyAttribute(request.element, attr::kData));
         if (dataFile.empty())
             dataFile = NonEmptyAttribute(request.element, attr::kClassid);
         return std::make_unique<CPageObjectAltRep>(*request.insertedElement, request.document, std::move(dataFile),
                                                    request.objectMarkup, request.lineEnd);
     }},
    {"CPageLangMissing",
     [](const RepairPageRequest& request) -> PagePointer {
         if (!request.attribute)
             return nullptr;
         return std::make_unique<CPageLangMissing>(*request.attribute, request.document);
     }},
    {"CPageBodyColor",
     [](const RepairPageRequest& request) -> PagePointer {
         for (CAttribute* attribute : request.colourAttributes) {
             if (!attribute)
                 return nullptr;
         }
         return std::make_unique<CPageBodyColor>(request.colourAttributes, request.coloursMissing);
     }},
    {"CPageBodySkipLinks",
     [](const RepairPageRequest& request) -> PagePointer {
         const CPageBodySkipLinks::Run run = CPageBodySkipLinks::FindFirstRun(request.document);
         if (!run.first)
             return nullptr;
         return std::make_unique<CPageBodySkipLinks>(request.document, run, request.lineEnd);
     }},
    {"CPageDoctypeBad",
     [](const RepairPageRequest& request) -> PagePointer {
         if (!request.insertedElement)
             return nullptr;
         return std::make_unique<CPageDoctypeBad>(*request.insertedElement, request.replacedElement, request.lineEnd,
                                                  request.document.FramesetCount() > 0);
     }},
    {"CPageFramesetNoframes",
     [](const RepairPageRequest& request) -> PagePointer {
         return std::make_unique<CPageFramesetNoframes>(request.insertedElement, request.document);
     }},
    {"CPageMetadata",
     [](const RepairPageRequest& request) -> PagePointer {
         const auto* family = dynamic_cast<const CElementDocument*>(&request.element);
         if (!family || !family->Metadata().title)
             return nullptr;
         const CElementDocument::PreparedMetadata& made = family->Metadata();
         return std::make_unique<CPageMetadata>(
             CPageMetadata::Prepared{.title = *made.title,
                                     .description = *made.description,
                                     .keywords = *made.keywords,
                                     .headStart = made.headStart,
                                     .headEnd = made.headEnd,
                                     .titleIsNew = made.titleIsNew},
             request.document.FileName(), request.lineEnd);
     }},
    {"CPageMetaRefresh",
     [](const RepairPageRequest& request) -> PagePointer {
         if (!request.attribute || !request.secondAttribute)
             return nullptr;
         return std::make_unique<CPageMetaRefresh>(*request.attribute, *request.secondAttribute,
                                                   request.insertedElement, request.linkTarget, request.lineEnd);
     }},
    {"CPageMetaRedirect",
     [](const RepairPageRequest& request) -> PagePointer {
         if (!request.attribute || !request.secondAttribute)
             return nullptr;
         return std::make_unique<CPageMetaRedirect>(*request.attribute, *request.secondAttribute,
                                                    request.insertedElement, request.lineEnd);
     }},
    {"CPageTextAreaDefaultText",
     [](const RepairPageRequest& request) -> PagePointer {
         if (!request.insertedElement)
             return nullptr;
         return std::make_unique<CPageTextAreaDefaultText>(*request.insertedElement, request.document);
     }},
    {"CPageHeaderFormat",
     [](const RepairPageRequest& request) -> PagePointer {
         const auto* heading = dynamic_cast<const CElementHeader*>(&request.element);
         if (!heading || !request.element.Partner())
             return nullptr;
         return std::make_unique<CPageHeaderFormat>(request.element, heading->HeadingText(), request.document);
     }},
    {"CPageHeadings",
     [](const RepairPageRequest& request) -> PagePointer { return std::make_unique<CPageHeadings>(request.document); }},
    {"CPageHeadingsMaybe",
     [](const RepairPageRequest& request) -> PagePointer {
         std::vector<CPageHeadingsMaybe::Candidate> candidates = CPageHeadingsMaybe::FindCandidates(request.document);
         if (candidates.empty())
             return nullptr;
         return std::make_unique<CPageHeadingsMaybe>(std::move(candidates));
     }},
    {"CPageQuoteMaybe",
     [](const RepairPageRequest& request) -> PagePointer {
         std::vector<CPageQuoteMaybe::Candidate> candidates = CPageQuoteMaybe::FindCandidates(request.document);
         if (candidates.empty())
             return nullptr;
         return std::make_unique<CPageQuoteMaybe>(std::move(candidates), request.document);
     }},
    {"CPageListFormat",
     [](const RepairPageRequest& request) -> PagePointer {
         const auto* list = dynamic_cast<const CElementList*>(&request.element);
         if (!list || !request.element.Partner())
             return nullptr;
         return std::make_unique<CPageListFormat>(request.element, CPageListFormat::ItemTags(request.document,
                                                                                       request.element),
                                                  list->ListMarkup());
     }},
    {"CPageDeprecatedHtml",
     [](const RepairPageRequest& request) -> PagePointer {
         std::vector<CPageDeprecatedHtml::Item> items = CPageDeprecatedHtml::FindItems(request.document, request.element);
         if (items.empty())
             return nullptr;
         return std::make_unique<CPageDeprecatedHtml>(std::move(items), request.document, request.element,
                                                      request.attribute);
     }},
    {"CPageBlink",
     [](const RepairPageRequest& request) -> PagePointer {
         const auto* blink = dynamic_cast<const CElementBlink*>(&request.element);
         if (!blink || !request.insertedElement)
             return nullptr;
         return std::make_unique<CPageBlink>(request.element, *request.insertedElement, blink->CollectedText());
     }},
    {"CPageAsciiArtDescription",
     [](const RepairPageRequest& request) -> PagePointer {
         const auto* pre = dynamic_cast<const CElementPre*>(&request.element);
         if (!pre || !request.insertedElement)
             return nullptr;
         return std::make_unique<CPageAsciiArtDescription>(*request.insertedElement, request.document,
                                                           request.objectMarkup, pre->ArtId(),
                                                           std::string(request.lineEnd));
     }},
    {"CPageAsciiArtSkip",
     [](const RepairPageRequest& request) -> PagePointer {
         const auto* pre = dynamic_cast<const CElementPre*>(&request.element);
         if (!pre || !request.insertedElement || !request.secondInsertedElement)
             return nullptr;
         return std::make_unique<CPageAsciiArtSkip>(*request.insertedElement, *request.secondInsertedElement,
                                                    request.document, request.objectMarkup, pre->ArtId(),
                                                    std::string(request.lineEnd));
     }},
    {"CPageFlicker",
     [](const RepairPageRequest& request) -> PagePointer { return std::make_unique<CPageFlicker>(request.document); }},
    {"CPageTableCaption",
     [](const RepairPageRequest& request) -> PagePointer {
         auto* table = dynamic_cast<CElementTable*>(&request.element);
         if (!table || !table->TableRecord().IsBuilt())
             return nullptr;
         return std::make_unique<CPageTableCaption>(table->TableRecord());
     }},
    {"CPageAnchorNewWindow",
     [](const RepairPageRequest& request) -> PagePointer {
         if (!request.attribute || !request.secondAttribute)
             return nullptr;
         return std::make_unique<CPageAnchorNewWindow>(*request.attribute, *request.secondAttribute,
                                                       request.insertedElement, request.document);
     }},
    {"CPageDeviceDependent",
     [](const RepairPageRequest& request) -> PagePointer {
         return std::make_unique<CPageDeviceDependent>(request.document);
     }},
    {"CPageScriptNoscript",
     [](const RepairPageRequest& request) -> PagePointer {
         const auto* script = dynamic_cast<const CElementScript*>(&request.element);
         if (!script || !request.insertedElement)
             return nullptr;
         return std::make_unique<CPageScriptNoscript>(*request.insertedElement, request.replacedElement,
                                                      script->PreparedInsideNoscript(), request.document,
                                                      request.lineEnd);
     }},
    {"CPageScriptNewWindow",
     [](const RepairPageRequest& request) -> PagePointer {
         const auto* script = dynamic_cast<const CElementScript*>(&request.element);
         if (!script)
             return nullptr;
         return std::make_unique<CPageScriptNewWindow>(script->WindowTriggers(), request.document, script->Code());
     }},
    {"CPageAnchorTextlink",
     [](const RepairPageRequest& request) -> PagePointer {
         return std::make_unique<CPageAnchorTextlink>(request.document);
     }},
    {"CPageAnchorTitle",
     [](const RepairPageRequest& request) -> PagePointer {
         if (!CPageAnchorTitle::HasLinksToTell(request.document))
             return nullptr;
         return std::make_unique<CPageAnchorTitle>(request.document);
     }},
    {"CPageTableHeader",
     [](const RepairPageRequest& request) -> PagePointer {
         auto* table = dynamic_cast<CElementTable*>(&request.element);
         if (!table || !table->TableRecord().IsBuilt())
             return nullptr;
         return std::make_unique<CPageTableHeader>(table->TableRecord());
     }},
    {"CPageTableHeaderAbbrev",
     [](const RepairPageRequest& request) -> PagePointer {
         auto* table = dynamic_cast<CElementTable*>(&request.element);
         if (!table || !table->TableRecord().IsBuilt())
             return nullptr;
         return std::make_unique<CPageTableHeaderAbbrev>(table->TableRecord());
     }},
    {"CPageTableMultilevel",
     [](const RepairPageRequest& request) -> PagePointer {
         auto* table = dynamic_cast<CElementTable*>(&request.element);
         if (!table || !table->TableRecord().IsBuilt())
             return nullptr;
         return std::make_unique<CPageTableMultilevel>(table->TableRecord());
     }},
    {"CPageTableSummary",
     [](const RepairPageRequest& request) -> PagePointer {
         auto* table = dynamic_cast<CElementTable*>(&request.element);
         if (!table || !table->TableRecord().IsBuilt())
             return nullptr;
         return std::make_unique<CPageTableSummary>(table->TableRecord());
     }},
    {"CPageTableStructualMarkup",
     [](const RepairPageRequest& request) -> PagePointer {
         auto* table = dynamic_cast<CElementTable*>(&request.element);
         if (!table || !table->TableRecord().IsBuilt())
             return nullptr;
         return std::make_unique<CPageTableStructualMarkup>(table->TableRecord(), request.lineEnd);
     }},
    {"CPageTableLinearize",
     [](const RepairPageRequest& request) -> PagePointer {
         auto* table = dynamic_cast<CElementTable*>(&request.element);
         if (!table || !table->TableRecord().IsBuilt())
             return nullptr;
         return std::make_unique<CPageTableLinearize>(table->TableRecord());
     }},
    {"CPageUnitsTable",
     [](const RepairPageRequest& request) -> PagePointer {
         auto* table = dynamic_cast<CElementTable*>(&request.element);
         if (table && !table->TableRecord().IsBuilt())
             return nullptr;
         std::vector<AbsoluteSize> sizes = table ? TableAbsoluteSizes(*table, table->TableRecord())
                                                 : FramesetAbsoluteSizes(request.element);
         if (sizes.empty())
             return nullptr;
         return std::make_unique<CPageUnitsTable>(std::move(sizes), table ? &table->TableRecord() : nullptr);
     }},
};

const PageMaker* FindMaker(std::string_view pageClass)
{
    for (const PageMaker& maker : kPageMakers) {
        if (maker.pageClass == pageClass)
            return &maker;
    }
    return nullptr;
}

// The page the request names, made and not yet attached; null when that page
// is not built. A follow-up page may have nothing to work on yet: the map
// page after a server-side map's page waits for the map it converts.
PagePointer MakePage(const RepairPageRequest& request, bool followUp = false)
{
    if (followUp && request.pageClass == "CPageMapAreaAlt")
        return std::make_unique<CPageMapAreaAlt>(nullptr, request.imageSource);
    const PageMaker* maker = FindMaker(request.pageClass);
    return maker ? maker->make(request) : nullptr;
}

} // namespace

bool CRepairPageFactory::Builds(std::string_view pageClass)
{
    return pageClass == "CPageWarnings" || FindMaker(pageClass) != nullptr;
}

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
    sheet.SetPageEncoding(request.document.Encoding());
    sheet.SetRepairedPage(request.document);
    // One page per element and page class: its other problems share it, and its repair mends them all.
    if (CPageValidatorBase* page = sheet.FindPage(request.element, request.pageClass)) {
        page->AlsoMends(request.bit);
        return 0;
    }
    // A map that several images use gets its text links once: the page of the
    // first image serves the others.
    if (request.pageClass == "CPageImgUsemapTextlinks" && request.imageMap) {
        for (int i = 0; i < sheet.PageCount(); ++i) {
            auto* links = dynamic_cast<CPageImgUsemapTextlinks*>(&sheet.Page(i));
            if (links && &links->Map() == request.imageMap) {
                links->AlsoServes(request.element);
                return 0;
            }
        }
    }
    std::unique_ptr<CPageValidatorBase> page = MakePage(request);
    if (!page) {
        AddWithoutPage(sheet, request.element, request.bit);
        return 0;
    }
    page->Attach(request.element, request.bit);
    sheet.AddPage(std::move(page));
    if (!request.secondPage.empty() && !sheet.FindPage(request.element, request.secondPage)) {
        RepairPageRequest second = request;
        second.pageClass = request.secondPage;
        second.secondPage = {};
        if (std::unique_ptr<CPageValidatorBase> other = MakePage(second)) {
            other->Attach(request.element, request.bit);
            sheet.AddPage(std::move(other));
            return 2;
        }
        return 1;
    }
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

int CRepairPageFactory::AddWarning(CValidatorSheet& sheet, CHtmlDocument& document, CElement& element, std::uint32_t bit)
{
    sheet.SetPageEncoding(document.Encoding());
    sheet.SetRepairedPage(document);
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
    sheet.SetPageEncoding(request.document.Encoding());
    sheet.SetRepairedPage(request.document);
    page->SetSheet(&sheet);
    page->Attach(request.element, request.bit);
    return page->RepairAutomatically();
}

} // namespace orvane
