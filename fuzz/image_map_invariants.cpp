#include "file_invariants.h"

#include "fuzz_services.h"

#include "library/checks/family_factory.h"
#include "library/html/attribute_table.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/ui/pages/text_alternatives/image_map_converter.h"

#include <sstream>

namespace orvane::fuzz {
namespace {

namespace fs = std::filesystem;

const std::string kPageBefore = "<html><body>\n<p><a href=\"/cgi-bin/imagemap/nav.map\">";
const std::string kImage = "<img src=\"nav.gif\" ismap>";
const std::string kImageUsingTheMap = "<img src=\"nav.gif\" usemap=\"#nav.map\">";
const std::string kPageAfter = "</a></p>\n</body></html>\n";
// Given to the first area, so every character that markup reads is written.
const std::string kAlt = "a \"b\" <c> & 'd'";

// An attribute value as a browser reads it, for the entities the writer makes.
std::string Unescaped(std::string_view value)
{
    static const std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}};
    std::string out;
    for (std::size_t i = 0; i < value.size();) {
        bool replaced = false;
        for (const auto& [entity, character] : kEntities) {
            if (value.substr(i, entity.size()) == entity) {
                out.push_back(character);
                i += entity.size();
                replaced = true;
                break;
            }
        }
        if (!replaced)
            out.push_back(value[i++]);
    }
    return out;
}

std::string_view ShapeName(int shape)
{
    switch (shape) {
    case kShapeRect: return "rect";
    case kShapeCircle: return "circle";
    case kShapePoly: return "poly";
    case kShapeDefault: return "default";
    default: return "";
    }
}

// The attribute's value as read back, or nothing when it is absent.
std::string ValueOf(const CElement& element, int id)
{
    const CAttribute* attribute = element.FindAttribute(id);
    return attribute ? Unescaped(attribute->Value()) : std::string();
}

std::string CheckLines(const ImageMapConverter& converter)
{
    for (const MapLine& line : converter.Lines()) {
        if (line.text.empty() || line.text.size() > 499)
            return "a line is empty or longer than a piece";
        if (line.text.find_first_of("\r\n") != std::string::npos)
            return "a line holds a line break";
        const char last = line.text.back();
        if (last == ' ' || last == '\t' || last == '\v' || last == '\f')
            return "a line is not right-trimmed";
    }
    return {};
}

// The markup of the spliced page, taken in afresh, against the areas built.
std::string CheckReadBack(const std::string& text, const std::vector<MapArea>& areas)
{
    CHtmlDocument page(CFamilyElementFactory::Instance());
    std::istringstream in(text);
    if (!page.Load(in))
        return "the spliced page is not taken in";
    std::vector<const CElement*> read;
    int maps = 0;
    for (const CElement* e : page.Elements()) {
        if (e->Kind() == tag::kMap) {
            ++maps;
            if (ValueOf(*e, attr::kName) != "nav.map")
                return "the map's name reads back otherwise";
        }
        if (e->Kind() == tag::kArea)
            read.push_back(e);
        if (e->Kind() == tag::kImg && ValueOf(*e, attr::kUsemap) != "#nav.map")
            return "the image's usemap reads back otherwise";
    }
    if (maps != 1 || read.size() != areas.size())
        return "the markup reads back as another number of maps or areas";
    for (std::size_t i = 0; i < areas.size(); ++i) {
        const CElement& area = *read[i];
        if (ValueOf(area, attr::kShape) != ShapeName(areas[i].shape) ||
            ValueOf(area, attr::kCoords) != areas[i].coordinates || ValueOf(area, attr::kHref) != areas[i].href ||
            ValueOf(area, attr::kAlt) != areas[i].alt)
            return "area " + std::to_string(i) + " reads back otherwise";
    }
    return {};
}

} // namespace

std::string CheckImageMapFile(std::string_view bytes, const fs::path& folder)
{
    std::error_code error;
    fs::create_directories(folder, error);
    const fs::path path = folder / "nav.map";
    if (!WriteBytes(path, bytes))
        return "the map file could not be written";

    ImageMapConverter converter;
    const bool binary = bytes.find('\0') != std::string_view::npos;
    if (!converter.ReadMapFile(path.string())) {
        if (!binary || converter.Failure() != MapFailure::NotText)
            return "a text map file is refused";
        return {};
    }
    if (binary)
        return "a file with a NUL byte is read";
    if (std::string failure = CheckLines(converter); !failure.empty())
        return failure;

    const int usable = converter.BuildAreas();
    bool linked = false;
    for (const MapArea& area : converter.Areas())
        linked = linked || !area.href.empty();
    if (usable != (linked ? 1 : 0) || (!usable && converter.Failure() != MapFailure::NoAreas))
        return "BuildAreas tells usable areas wrongly";
    if (!converter.Areas().empty())
        converter.Areas()[0].alt = kAlt;
    const std::string markup = converter.Markup();
    if (converter.Markup() != markup)
        return "the markup is not the same when written twice";

    const std::string original = kPageBefore + kImage + kPageAfter;
    CHtmlDocument page(CFamilyElementFactory::Instance());
    std::istringstream in(original);
    if (!page.Load(in))
        return "the page is not taken in";
    CElement* image = nullptr;
    for (CElement* e : page.Elements()) {
        if (e->Kind() == tag::kImg)
            image = e;
    }
    if (!image)
        return "the page has no image";

    const int spliced = converter.SpliceIntoDocument(page, *image);
    if (!usable) {
        if (spliced || page.Text() != original)
            return "a map with nothing usable changed the page";
        return {};
    }
    if (!spliced)
        return "a usable map was not spliced";
    const std::string expected = kPageBefore + kImageUsingTheMap + markup + kPageAfter;
    if (page.Text() != expected)
        return "the spliced page is not the page with the markup after the image";
    if (std::string failure = CheckReadBack(page.Text(), converter.Areas()); !failure.empty())
        return failure;
    if (!converter.SpliceIntoDocument(page, *image) || page.Text() != expected)
        return "a second splice does not replace the first";
    if (!converter.UndoSplice() || page.Text() != original)
        return "the undone page is not the page as it was";
    if (!page.ImageMaps().empty() || !image->FindAttribute(attr::kIsmap))
        return "the undone page keeps the map's model or lost the ismap";
    return {};
}

} // namespace orvane::fuzz
