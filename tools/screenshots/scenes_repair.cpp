// The repair wizard: one scene for each repair page, shown on a realistic
// example page as the user reaches it there.
#include "scene.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/check_pass.h"
#include "library/checks/element_area.h"
#include "library/checks/repair_pages.h"
#include "library/checks/family_factory.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/tables/table_record.h"
#include "library/tables/table_type_question.h"
#include "library/ui/validator_sheet.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTreeWidget>

#include <fstream>
#include <string_view>

namespace {

using orvane::screenshots::Preparation;
using orvane::screenshots::Shots;

// The wizard on the example page, with the pages addPages adds for the
// problems found there.
// level: the conformance target to check at; 0 keeps the one of the settings.
template <class AddPages>
void RepairExample(std::string_view fileName, AddPages addPages, int level = 0)
{
    const std::string path = Shots().ExamplesFolder() + "/" + std::string(fileName);
    std::ifstream in(path, std::ios::binary);
    orvane::COrvaneSettings::InstallCatalogue(&orvane::CCheckCatalogue::Instance());
    orvane::COrvaneSettings settings;
    settings.Load();
    if (level)
        settings.SetConformanceLevel(level);
    orvane::CHtmlDocument document(orvane::CFamilyElementFactory::Instance());
    document.Start(1, false);
    document.SetName(path);
    if (!in || document.Load(in) != 1)
        return;
    const std::vector<orvane::CFoundProblem> found = orvane::RunCheckPass(document, settings, nullptr);
    orvane::CValidatorSheet sheet;
    sheet.SetSettings(&settings);
    sheet.SetDocumentPath(path);
    sheet.SetTrailingPage(false);
    addPages(sheet, document, found);
    sheet.DoModal(nullptr);
}

// The wizard on the example page, with the pages of the problems each
// chooser takes, added chooser after chooser.
template <class... Choosers>
void RepairExamplePage(std::string_view fileName, Choosers... choosers)
{
    RepairExample(fileName, [&](orvane::CValidatorSheet& sheet, orvane::CHtmlDocument& document,
                                const std::vector<orvane::CFoundProblem>& found) {
        auto add = [&](auto wanted) {
            for (const orvane::CFoundProblem& problem : found) {
                if (wanted(problem))
                    problem.element->AddRepairPages(sheet, document, problem.bit);
            }
        };
        (add(choosers), ...);
    });
}

auto Named(std::string_view checkName)
{
    return [checkName](const orvane::CFoundProblem& p) { return p.element->GetCheckName(p.bit) == checkName; };
}

// A ferry company's page: its chart of passengers needs a long description,
// and the ferry's picture, which has one, needs its "d" link.
void RepairPassengersPage()
{
    RepairExamplePage("passengers.html", Named("ImgLongdesc"), Named("ImageDLink"));
}

// Pages in the order the wizard shows them: the warnings page collects every
// warning, then one page per form control.
void RepairBookingPage()
{
    RepairExamplePage("booking.html", [](const orvane::CFoundProblem& p) { return !p.element->IsGrouped(p.bit); },
                      Named("InputMissingDefault"), Named("TextareaText"), Named("MissingLanguage"));
}

// The harbour's ferry picture stands twice: one page gives both places their text.
void RepairHarbourPage() { RepairExamplePage("harbour.html", Named("ImgAltText")); }

// The tea room's grey text and pale links on light yellow: the colour check
// counts at level AAA.
void RepairTeaRoomColours()
{
    RepairExample("tea-room.html", [](orvane::CValidatorSheet& sheet, orvane::CHtmlDocument& document,
                                      const std::vector<orvane::CFoundProblem>& found) {
        for (const orvane::CFoundProblem& problem : found) {
            if (Named("BodyColorContrst")(problem))
                problem.element->AddRepairPages(sheet, document, problem.bit);
        }
    }, 3);
}

// The ferry page's search button has no text alternative.
void RepairFerriesButton() { RepairExamplePage("ferries.html", Named("InputAltText")); }

// The areas of the ferry page's harbour map, each on a page of its own, as a
// check of the map's areas would add them.
void RepairFerriesAreas()
{
    RepairExample("ferries.html", [](orvane::CValidatorSheet& sheet, orvane::CHtmlDocument& document,
                                     const std::vector<orvane::CFoundProblem>&) {
        for (orvane::CElement* element : document.Elements()) {
            auto* area = dynamic_cast<orvane::CElementArea*>(element);
            if (!area)
                continue;
            orvane::RepairPageRequest request{"CPageAreaAltText", *area, orvane::CElementArea::kAltTextBit, document};
            if (area->PrepareRepairPage(request))
                orvane::RepairPageFactory()->AddPage(sheet, request);
        }
    });
}

// The departures board names no document type and reloads every minute.
void RepairDeparturesPage() { RepairExamplePage("departures.html", Named("DoctypeMissing"), Named("MapRefresh")); }

// The lost property page has an empty title and no description.
void RepairLostPropertyPage() { RepairExamplePage("lost-property.html", Named("Metadata")); }

// The ferries' frames have nothing for a browser that shows none.
void RepairFerryFrames() { RepairExamplePage("ferry-frames.html", Named("FramesetNoframes")); }

// The harbour guide in three frames: they need one description together,
// and the third shows a bare picture instead of a page.
void RepairHarbourGuide() { RepairExamplePage("harbour-guide.html", Named("FrameLongdesc"), Named("FrameSource")); }

// The ferry club's ASCII-art logo has neither a description nor a way past it.
void RepairFerryClub() { RepairExamplePage("ferry-club.html", Named("AsciiArtDescription"), Named("AsciiArtSkipover")); }

// The ferry sale's banner is an animated picture, its slogan blinks and a script counts down.
void RepairFerrySale() { RepairExamplePage("ferry-sale.html", Named("CheckFlicker")); }

// Last year's timetable sends its readers on to this year's at once.
void RepairOldTimetable() { RepairExamplePage("timetable-2025.html", Named("MapRedirect")); }

// The wizard's page of that template, the first of its kind, reached as the
// user reaches it: Skip moves on without applying the pages passed (a page's
// window is made only when the user reaches it).
Preparation ShowPageOf(int templateId)
{
    return [templateId](orvane::platform::IWindow& window, QWidget& widget) {
        auto* skip = widget.findChild<QAbstractButton*>(QStringLiteral("c%1").arg(orvane::CValidatorSheet::kSkipUndoButton));
        for (int step = 0; skip && step < 100 && window.PageCount() > 0; ++step) {
            if (window.Page(window.CurrentPage()).TemplateId() == templateId || !skip->isEnabled())
                return;
            skip->click();
        }
    };
}

// The island tours: a menu that opens under the mouse, a forecast that opens
// in a new window, and scripts without an alternative.
void RepairIslandTours()
{
    RepairExamplePage("island-tours.html", Named("AnchorNewWindow"), Named("DeviceDependent"), Named("ScriptNoscript"));
}

// The areas of the harbour map, one of them given its text, the next one
// chosen: its outline is drawn thicker than the others.
void RepairHarbourMap() { RepairExamplePage("harbour-map.html", Named("MapAltText")); }
Preparation ShowMapAreasWithOneChosen()
{
    return [](orvane::platform::IWindow& window, QWidget& widget) {
        ShowPageOf(211)(window, widget);
        auto* list = widget.findChild<QTreeWidget*>(QStringLiteral("c1157"));
        if (!list || list->topLevelItemCount() < 3)
            return;
        list->topLevelItem(1)->setText(0, QStringLiteral("Lighthouse"));
        list->setCurrentItem(list->topLevelItem(2));
    };
}

// The same map as a server-side one, before and after its conversion (the
// map file lies in the page's maps folder).
void RepairHarbourIsmap() { RepairExamplePage("harbour-ismap.html", Named("ImageMap")); }
Preparation ShowIsmapConverted()
{
    return [](orvane::platform::IWindow& window, QWidget& widget) {
        ShowPageOf(106)(window, widget);
        if (auto* convert = widget.findChild<QAbstractButton*>(QStringLiteral("c1293")))
            convert->click();
    };
}

// After the conversion, the next page names the areas of the new map.
Preparation ShowConvertedMapAreas()
{
    return [](orvane::platform::IWindow& window, QWidget& widget) {
        ShowIsmapConverted()(window, widget);
        if (auto* next = widget.findChild<QAbstractButton*>(QStringLiteral("c%1").arg(orvane::platform::kIdNext)))
            next->click();
    };
}

// The island ferries' summer offers: a long heading that only makes its text
// stand out, a list of one item that only indents, a scrolling and a blinking text.
void RepairOffersPage()
{
    RepairExamplePage("offers.html", Named("HeaderFormatting"), Named("ListForFormat"), Named("BlinkMarquee"));
}

// The control of that number on the page shown: other pages of the sheet
// have controls of the same numbers.
template <class Control>
Control* OnShownPage(QWidget& sheet, int id)
{
    for (Control* control : sheet.findChildren<Control*>(QStringLiteral("c%1").arg(id))) {
        if (control->isVisibleTo(&sheet))
            return control;
    }
    return nullptr;
}

// An entry of a drop-down chosen as the user chooses it, so the page hears of it.
void ChooseOnShownPage(QWidget& sheet, int id, int row)
{
    if (auto* box = OnShownPage<QComboBox>(sheet, id)) {
        box->setCurrentIndex(row);
        emit box->activated(row);
    }
}

// The heading about to become a span, its style shown.
Preparation ShowHeadingAsSpan()
{
    return [](orvane::platform::IWindow& window, QWidget& widget) {
        ShowPageOf(1312)(window, widget);
        ChooseOnShownPage(widget, 1011, 4);
    };
}

// The scrolling text about to be replaced by a styled span.
Preparation ShowBlinkReplaced()
{
    return [](orvane::platform::IWindow& window, QWidget& widget) {
        ShowPageOf(158)(window, widget);
        if (auto* replace = OnShownPage<QAbstractButton>(widget, 1118))
            replace->click();
        ChooseOnShownPage(widget, 1011, 1);
    };
}

// The fares table, said to be a data table, without its caption and summary.
class CFaresAreData final : public orvane::ITableTypeQuestion {
public:
    void Ask(std::span<orvane::CTableRecord* const> tables) override
    {
        for (orvane::CTableRecord* table : tables)
            table->SetType(orvane::table_type::kData);
    }
};

void RepairFaresTable()
{
    CFaresAreData dataTables;
    orvane::ScopedTableTypeQuestion answering(dataTables);
    RepairExamplePage("fares.html", Named("TableSummary"), Named("TableCaption"));
}

// The trip's costs were called a layout table, though the table lists
// crossings under a row of header cells and adds their fares up at the end.
class CTripCostsAreLayout final : public orvane::ITableTypeQuestion {
public:
    void Ask(std::span<orvane::CTableRecord* const> tables) override
    {
        for (orvane::CTableRecord* table : tables)
            table->SetType(orvane::table_type::kLayout);
    }
};

void RepairTripCosts()
{
    CTripCostsAreLayout layoutTables;
    orvane::ScopedTableTypeQuestion answering(layoutTables);
    RepairExamplePage("ferry-trip-costs.html", Named("TableStructMarkup"));
}

// The island ferry's winter timetable: its header row is written as bold
// data cells, and its harbours as plain ones.
void RepairIslandTimetable()
{
    CFaresAreData dataTables;
    orvane::ScopedTableTypeQuestion answering(dataTables);
    RepairExamplePage("island-ferry-timetable.html", Named("TableHeaders"), Named("TableAbbreviations"));
}

// The season fares: "Adults" and "Children" over single and return fares,
// each route over its summer and winter rows.
void RepairSeasonFares()
{
    CFaresAreData dataTables;
    orvane::ScopedTableTypeQuestion answering(dataTables);
    RepairExamplePage("season-fares.html", Named("TableMultipleTH"));
}

// A winter fare for children chosen: the headers it is read with are listed.
Preparation ShowSeasonFareHeaders()
{
    return [](orvane::platform::IWindow& window, QWidget& widget) {
        ShowPageOf(221)(window, widget);
        if (auto* grid = OnShownPage<QTableWidget>(widget, 1030))
            grid->setCurrentCell(5, 4);
    };
}

// The caption as the user is about to give it.
Preparation ShowFaresCaption()
{
    return [](orvane::platform::IWindow& window, QWidget& widget) {
        ShowPageOf(160)(window, widget);
        window.Page(window.CurrentPage()).SetText(1010, "Fares for a single crossing");
    };
}

// The ferry office's page is laid out in a table, said to be a layout table:
// its menu column is read between the heading and the text of each row.
class CFerryOfficeIsLayout final : public orvane::ITableTypeQuestion {
public:
    void Ask(std::span<orvane::CTableRecord* const> tables) override
    {
        for (orvane::CTableRecord* table : tables)
            table->SetType(orvane::table_type::kLayout);
    }
};

void RepairFerryOffice(std::string_view checkName)
{
    CFerryOfficeIsLayout layout;
    orvane::ScopedTableTypeQuestion answering(layout);
    RepairExamplePage("ferry-office.html", Named(checkName));
}

// The fourth cell chosen, the opening hours, whose text follows only after the next row's menu link.
Preparation ShowFerryOfficeOrder()
{
    return [](orvane::platform::IWindow& window, QWidget& widget) {
        ShowPageOf(224)(window, widget);
        if (auto* cells = widget.findChild<QListWidget*>(QStringLiteral("c1040")))
            cells->setCurrentRow(3);
    };
}

// The timetable's two frames: the menu has no title, the timetable one of blanks.
void RepairFramesPage() { RepairExamplePage("harbour-frames.html", Named("FrameTitle")); }

// The harbour film's object has no title: the check counts from level AA.
void RepairHarbourFilm()
{
    RepairExample("harbour-film.html", [](orvane::CValidatorSheet& sheet, orvane::CHtmlDocument& document,
                                          const std::vector<orvane::CFoundProblem>& found) {
        for (const orvane::CFoundProblem& problem : found) {
            if (Named("ObjectTitle")(problem))
                problem.element->AddRepairPages(sheet, document, problem.bit);
        }
    }, 2);
}

// The harbour walk's map has no text links; its pier area has only a
// title, and the market's text is being edited (the check counts at AAA).
void RepairHarbourWalk()
{
    RepairExample("harbour-tour.html", [](orvane::CValidatorSheet& sheet, orvane::CHtmlDocument& document,
                                          const std::vector<orvane::CFoundProblem>& found) {
        for (const orvane::CFoundProblem& problem : found) {
            if (Named("ImageMapTextLinks")(problem))
                problem.element->AddRepairPages(sheet, document, problem.bit);
        }
    }, 3);
}

// The island tours' server-side map, two text links added and a third typed.
void RepairIslandTourMap() { RepairExamplePage("island-tour-map.html", Named("ImageMapIsmapTextLinks")); }
Preparation ShowIsmapLinksAdded()
{
    return [](orvane::platform::IWindow& window, QWidget& widget) {
        ShowPageOf(1327)(window, widget);
        auto* text = OnShownPage<QLineEdit>(widget, 1010);
        auto* address = OnShownPage<QLineEdit>(widget, 1011);
        auto* add = OnShownPage<QAbstractButton>(widget, 1012);
        if (!text || !address || !add)
            return;
        const std::pair<const char*, const char*> links[] = {{"Ticket office", "tickets.html"},
                                                             {"Lighthouse", "lighthouse.html"},
                                                             {"Fish market", "market.html"}};
        for (const auto& [shown, target] : links) {
            text->setText(QString::fromUtf8(shown));
            address->setText(QString::fromUtf8(target));
            if (shown != links[2].first)
                add->click();
        }
    };
}

// The ferry news page's menu of nine links stands before the article with
// no way past it: the check counts at level AAA.
void RepairFerryNews()
{
    RepairExample("ferry-news.html", [](orvane::CValidatorSheet& sheet, orvane::CHtmlDocument& document,
                                        const std::vector<orvane::CFoundProblem>& found) {
        for (const orvane::CFoundProblem& problem : found) {
            if (Named("LinksSkipover")(problem))
                problem.element->AddRepairPages(sheet, document, problem.bit);
        }
    }, 3);
}

// The ferries' summer news: a "click here", two "Details" to different
// routes, a "more" and a link that reads as a sentence; the link text check
// counts from level AA.
void RepairFerrySummer()
{
    RepairExample("ferry-summer.html", [](orvane::CValidatorSheet& sheet, orvane::CHtmlDocument& document,
                                          const std::vector<orvane::CFoundProblem>& found) {
        for (const orvane::CFoundProblem& problem : found) {
            if (Named("TextLinks")(problem))
                problem.element->AddRepairPages(sheet, document, problem.bit);
        }
    }, 2);
}

// The harbour's events: a "More" after each of three events, two of them
// to pages of the site whose titles name them; the link text check counts
// from level AA.
void RepairHarbourEvents()
{
    RepairExample("harbour-events.html", [](orvane::CValidatorSheet& sheet, orvane::CHtmlDocument& document,
                                            const std::vector<orvane::CFoundProblem>& found) {
        for (const orvane::CFoundProblem& problem : found) {
            if (Named("TextLinks")(problem))
                problem.element->AddRepairPages(sheet, document, problem.bit);
        }
    }, 2);
}

// The harbour museum's visitor page: its sections start a level too deep, and
// two paragraphs of bold text stand where headings belong. The heading checks
// count from level AA.
void RepairMuseumHeadings(std::string_view checkName)
{
    RepairExample("harbour-museum.html", [checkName](orvane::CValidatorSheet& sheet, orvane::CHtmlDocument& document,
                                                     const std::vector<orvane::CFoundProblem>& found) {
        for (const orvane::CFoundProblem& problem : found) {
            if (Named(checkName)(problem))
                problem.element->AddRepairPages(sheet, document, problem.bit);
        }
    }, 2);
}

// The second "Details" chosen: its twin leads elsewhere, and its list is shown.
Preparation ShowSharedLinkText()
{
    return [](orvane::platform::IWindow& window, QWidget& widget) {
        ShowPageOf(1313)(window, widget);
        auto* list = OnShownPage<QTreeWidget>(widget, 1157);
        if (list && list->topLevelItemCount() > 2)
            list->setCurrentItem(list->topLevelItem(2));
    };
}

} // namespace

ORVANE_SCENE_PREPARED(repair_link_texts, ShowSharedLinkText()) { RepairFerrySummer(); }
ORVANE_SCENE_PREPARED(repair_anchor_title, ShowPageOf(140)) { RepairHarbourEvents(); }
ORVANE_SCENE_PREPARED(repair_headings, ShowPageOf(210)) { RepairMuseumHeadings("NestedHeaders"); }
ORVANE_SCENE_PREPARED(repair_headings_maybe, ShowPageOf(213)) { RepairMuseumHeadings("PotentialHeaders"); }
// The lighthouse keeper's page: old presentation markup, a saying in
// quotation marks, and a link whose script opens a window.
void RepairKeeperPage(std::string_view checkName)
{
    RepairExample("lighthouse-keeper.html", [checkName](orvane::CValidatorSheet& sheet, orvane::CHtmlDocument& document,
                                                        const std::vector<orvane::CFoundProblem>& found) {
        for (const orvane::CFoundProblem& problem : found) {
            if (Named(checkName)(problem))
                problem.element->AddRepairPages(sheet, document, problem.bit);
        }
    }, 2);
}
ORVANE_SCENE_PREPARED(repair_quote_maybe, ShowPageOf(214)) { RepairKeeperPage("QuoteFormat"); }
ORVANE_SCENE_PREPARED(repair_deprecated_html, ShowPageOf(1326)) { RepairKeeperPage("DeprecatedHtml"); }
ORVANE_SCENE_PREPARED(repair_script_new_window, ShowPageOf(1323)) { RepairKeeperPage("ScriptSpawnNewWindow"); }
ORVANE_SCENE_PREPARED(repair_table_summary, ShowPageOf(199)) { RepairFaresTable(); }
ORVANE_SCENE_PREPARED(repair_table_caption, ShowFaresCaption()) { RepairFaresTable(); }
ORVANE_SCENE_PREPARED(repair_table_structure, ShowPageOf(220)) { RepairTripCosts(); }
ORVANE_SCENE_PREPARED(repair_frame_title, ShowPageOf(138)) { RepairFramesPage(); }
ORVANE_SCENE_PREPARED(repair_table_header, ShowPageOf(163)) { RepairIslandTimetable(); }
ORVANE_SCENE_PREPARED(repair_table_multilevel, ShowSeasonFareHeaders()) { RepairSeasonFares(); }
ORVANE_SCENE_PREPARED(repair_table_header_abbrev, ShowPageOf(230)) { RepairIslandTimetable(); }
ORVANE_SCENE_PREPARED(repair_table_linearize, ShowFerryOfficeOrder()) { RepairFerryOffice("TableLinearize"); }
ORVANE_SCENE_PREPARED(repair_units_table, ShowPageOf(1318)) { RepairFerryOffice("TableAbsoluteUnits"); }
// The webcam page's menu column is 180 pixels wide.
ORVANE_SCENE_PREPARED(repair_units_frameset, ShowPageOf(1318))
{
    RepairExamplePage("harbour-webcam.html", Named("FramesetAbsoluteUnits"));
}
// The harbour office's contact form: its captions stand in the table cells
// left of the fields, and the phone number's label two rows above its field.
void RepairContactForm()
{
    RepairExamplePage("harbour-contact.html", Named("InputMissingLabel"), Named("InputFarLabel"));
}
// Past the search field at the top of the page, which has no text beside it: the name field.
ORVANE_SCENE_PREPARED(repair_label_missing, [](orvane::platform::IWindow& window, QWidget& widget) {
    ShowPageOf(1320)(window, widget);
    const QString skipName = QStringLiteral("c%1").arg(orvane::CValidatorSheet::kSkipUndoButton);
    if (auto* skip = widget.findChild<QAbstractButton*>(skipName))
        skip->click();
}) { RepairContactForm(); }
ORVANE_SCENE_PREPARED(repair_label_far_away, ShowPageOf(1321)) { RepairContactForm(); }
ORVANE_SCENE_PREPARED(repair_object_title, ShowPageOf(137)) { RepairHarbourFilm(); }
ORVANE_SCENE_PREPARED(repair_skip_links, ShowPageOf(1328)) { RepairFerryNews(); }
ORVANE_SCENE_PREPARED(repair_usemap_textlinks, ShowPageOf(205)) { RepairHarbourWalk(); }
ORVANE_SCENE_PREPARED(repair_ismap_textlinks, ShowIsmapLinksAdded()) { RepairIslandTourMap(); }
ORVANE_SCENE_PREPARED(repair_header_format, ShowHeadingAsSpan()) { RepairOffersPage(); }
ORVANE_SCENE_PREPARED(repair_list_format, ShowPageOf(1316)) { RepairOffersPage(); }
ORVANE_SCENE_PREPARED(repair_blink, ShowBlinkReplaced()) { RepairOffersPage(); }
ORVANE_SCENE_PREPARED(repair_warnings, ShowPageOf(218)) { RepairBookingPage(); }
ORVANE_SCENE_PREPARED(repair_input_default_text, ShowPageOf(1310)) { RepairBookingPage(); }
ORVANE_SCENE_PREPARED(repair_textarea_default_text, ShowPageOf(152)) { RepairBookingPage(); }
ORVANE_SCENE_PREPARED(repair_language, ShowPageOf(216)) { RepairBookingPage(); }
ORVANE_SCENE_PREPARED(repair_img_alt_text, ShowPageOf(107)) { RepairHarbourPage(); }
ORVANE_SCENE_PREPARED(repair_input_alt_text, ShowPageOf(135)) { RepairFerriesButton(); }
ORVANE_SCENE_PREPARED(repair_area_alt_text, ShowPageOf(134)) { RepairFerriesAreas(); }
// The chart's description as the user is about to write it beside the page.
ORVANE_SCENE_PREPARED(repair_img_long_desc, [](orvane::platform::IWindow& window, QWidget& widget) {
    ShowPageOf(132)(window, widget);
    orvane::platform::IWindow& page = window.Page(window.CurrentPage());
    page.SetText(1185, "passengers-2026.html");
    page.SetText(1162, "Ferry passengers per month in 2026, in thousands:\n"
                       "January 1.2, February 1.4, March 2.3, April 3.9, May 6.1, June 8.4,\n"
                       "July 9.8, August 9.5, September 6.6, October 3.8, November 1.9, December 1.5.\n\n"
                       "Most passengers travel in July and August.");
}) { RepairPassengersPage(); }
ORVANE_SCENE_PREPARED(repair_img_dlink, ShowPageOf(1314)) { RepairPassengersPage(); }
ORVANE_SCENE_PREPARED(repair_map_area_alt, ShowMapAreasWithOneChosen()) { RepairHarbourMap(); }
ORVANE_SCENE_PREPARED(repair_body_color, ShowPageOf(1324)) { RepairTeaRoomColours(); }
ORVANE_SCENE_PREPARED(repair_img_ismap, ShowPageOf(106)) { RepairHarbourIsmap(); }
ORVANE_SCENE_PREPARED(repair_img_ismap_converted, ShowIsmapConverted()) { RepairHarbourIsmap(); }
ORVANE_SCENE_PREPARED(repair_img_ismap_areas, ShowConvertedMapAreas()) { RepairHarbourIsmap(); }
ORVANE_SCENE_PREPARED(repair_doctype, ShowPageOf(1311)) { RepairDeparturesPage(); }
ORVANE_SCENE_PREPARED(repair_meta_refresh, ShowPageOf(208)) { RepairDeparturesPage(); }
ORVANE_SCENE_PREPARED(repair_frameset_noframes, ShowPageOf(154)) { RepairFerryFrames(); }
ORVANE_SCENE_PREPARED(repair_frame_long_desc, ShowPageOf(139)) { RepairHarbourGuide(); }
ORVANE_SCENE_PREPARED(repair_frame_source, ShowPageOf(165)) { RepairHarbourGuide(); }
ORVANE_SCENE_PREPARED(repair_ascii_art_description, ShowPageOf(238)) { RepairFerryClub(); }
ORVANE_SCENE_PREPARED(repair_ascii_art_skip, ShowPageOf(237)) { RepairFerryClub(); }
// The sale's banner chosen: the picture that may be animated is shown.
ORVANE_SCENE_PREPARED(repair_flicker, [](orvane::platform::IWindow& window, QWidget& widget) {
    ShowPageOf(1309)(window, widget);
    if (auto* list = widget.findChild<QListWidget*>(QStringLiteral("c1040")); list && list->count() > 1)
        list->setCurrentRow(1);
}) { RepairFerrySale(); }
// The metadata as the user is about to write it into the head.
ORVANE_SCENE_PREPARED(repair_metadata, [](orvane::platform::IWindow& window, QWidget& widget) {
    ShowPageOf(1315)(window, widget);
    orvane::platform::IWindow& page = window.Page(window.CurrentPage());
    page.SetText(1340, "Lost property");
    page.SetText(1341, "Where to ask for things left on board the ferries");
    page.SetText(1342, "lost property, ferries, ticket office");
}) { RepairLostPropertyPage(); }
ORVANE_SCENE_PREPARED(repair_meta_redirect, ShowPageOf(207)) { RepairOldTimetable(); }
ORVANE_SCENE_PREPARED(repair_anchor_new_window, ShowPageOf(1322)) { RepairIslandTours(); }
ORVANE_SCENE_PREPARED(repair_device_dependent, ShowPageOf(1317)) { RepairIslandTours(); }
// The countdown's alternative as the user is about to write it into the page.
ORVANE_SCENE_PREPARED(repair_script_noscript, [](orvane::platform::IWindow& window, QWidget& widget) {
    ShowPageOf(155)(window, widget);
    orvane::platform::IWindow& page = window.Page(window.CurrentPage());
    page.SetText(1162, "The menu opens the pages of the tours, the fares and the contact address; "
                       "all of them are listed on the site map.");
}) { RepairIslandTours(); }
