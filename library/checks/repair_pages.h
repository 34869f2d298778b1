#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

class CAttribute;
class CElement;
class CHtmlDocument;
class CImageMap;
class CValidatorSheet;

// What a family hands over to have a repair page made: the problem, and what
// the family readied in the page for the repair to fill in.
struct RepairPageRequest {
    std::string_view pageClass;
    CElement& element;
    std::uint32_t bit;
    CHtmlDocument& document;
    // An attribute of the element the page fills in (made hidden when missing).
    CAttribute* attribute = nullptr;
    // An element the family inserted, deleted until the page repairs.
    CElement* insertedElement = nullptr;
    // A second one, where the repair writes markup in two places (a link
    // that skips over a block before it, and its target after it).
    CElement* secondInsertedElement = nullptr;
    // A second attribute the repair changes (a meta element's content beside
    // its http-equiv).
    CAttribute* secondAttribute = nullptr;
    // An element the repair takes out while it holds (a document type
    // declaration that stands too late in the page to count).
    CElement* replacedElement = nullptr;
    // How the page ends its lines, for markup the repair writes: "\n" or "\r\n".
    std::string_view lineEnd = "\n";
    // Where a link the repair writes leads (a refresh's target).
    std::string linkTarget = {};
    // An image's page: its source, by which the pages of one image file
    // merge; its size (-1 where not given); and the problem's variant.
    std::string_view imageSource = {};
    int imageWidth = -1;
    int imageHeight = -1;
    bool longText = false;
    bool suspiciousText = false;
    // An image whose text must not be blanks only: it is a link's content,
    // and a blank text would leave the link without a name.
    bool blankTextForbidden = false;
    // An image map area's page: where the area leads and the part of the
    // image it covers, in words, so the user knows which area is asked about.
    std::string areaLinkTarget = {};
    std::string areaShapeText = {};
    // A map's page: the map, whose areas were readied for their texts.
    CImageMap* imageMap = nullptr;
    // The body's colour page: its bgcolor, text, link, alink and vlink
    // attributes, in that order (made hidden when missing), and whether
    // colours are missing or not colour values (else they do not contrast).
    std::array<CAttribute*, 5> colourAttributes = {};
    bool coloursMissing = false;
    // An embedded object's page: the object as the page writes it, from its
    // start tag to its end tag, so the user sees what the title is to name.
    std::string objectMarkup = {};
    // A page added right after this one, for the same element and problem,
    // and passed over until this page's repair gives it something to do.
    std::string_view followUpPage = {};
    // A second page of the same problem that repairs it another way, added
    // right after this one and shown when its maker finds work for it.
    std::string_view secondPage = {};
    // A form control's label page: the text next to the control that could
    // become its label, and the element after that text that writes it
    // wrapped in a label (deleted until then); null when there is no such text.
    CElement* labelText = nullptr;
    CElement* wrappedLabelText = nullptr;
};

// Makes the repair pages of a run. The user interface installs one; the
// checks know only this face of it, so they never depend on the windows.
class IRepairPageFactory {
public:
    virtual ~IRepairPageFactory() = default;
    // The auto-repair mode the run's settings give the element's check.
    virtual int AutoRepairMode(const CValidatorSheet& sheet, const CElement& element, std::uint32_t bit) const = 0;
    // Adds the page the request names, unless the element has it in the sheet
    // already. The number of pages added: 0 also when no such page is built
    // (the problem is then recorded as one without a page).
    virtual int AddPage(CValidatorSheet& sheet, const RepairPageRequest& request) = 0;
    // Puts the problem on the sheet's general warnings page, making that page
    // when the sheet has none yet; the number of pages added.
    virtual int AddWarning(CValidatorSheet& sheet, CHtmlDocument& document, CElement& element,
                           std::uint32_t bit) = 0;
    // Records a problem of the run that gets no page (none is built for its
    // check yet, or readying the repair failed), so the user is told of it.
    virtual void AddWithoutPage(CValidatorSheet& sheet, CElement& element, std::uint32_t bit) = 0;
    // Applies the page's remembered or default repair without showing it;
    // false when the page has no automatic repair.
    virtual bool RepairAutomatically(CValidatorSheet& sheet, const RepairPageRequest& request) = 0;
};

// The factory of the running program; null until the user interface installs one.
IRepairPageFactory* RepairPageFactory();
void SetRepairPageFactory(IRepairPageFactory* factory);

} // namespace orvane
