#include "intake_invariants.h"

#include "fuzz_services.h"

#include "library/checks/family_factory.h"
#include "library/html/attribute_parser.h"
#include "library/html/element_arena.h"
#include "library/html/element_factory.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"

#include <sstream>
#include <vector>

namespace orvane::fuzz {
namespace {

std::string Describe(std::string_view intake, std::string_view what)
{
    return std::string(intake) + ": " + std::string(what);
}

std::string FirstDifference(std::string_view expected, std::string_view actual)
{
    std::size_t i = 0;
    while (i < expected.size() && i < actual.size() && expected[i] == actual[i])
        ++i;
    return "differs at byte " + std::to_string(i) + " (expected " + std::to_string(expected.size()) +
           " bytes, got " + std::to_string(actual.size()) + ")";
}

// End kinds are start kinds plus 1000; the comment end (998) closes a comment piece (-2).
bool IsEndKind(int kind) { return kind >= kind::kDocument + kind::kEndOffset; }

std::string CheckPartners(const CHtmlDocument& document)
{
    for (std::size_t i = 0; i < document.Size(); ++i) {
        const CElement* e = document.At(i);
        if (document.IndexOf(*e) != i)
            return "element " + std::to_string(i) + " has index " + std::to_string(document.IndexOf(*e));
        const CElement* partner = e->Partner();
        if (!partner)
            continue;
        if (partner == e || !document.Find(partner))
            return "element " + std::to_string(i) + " has a partner outside the document";
        if (partner->Partner() != e)
            return "the partner of element " + std::to_string(i) + " does not point back";
        const CElement* start = IsEndKind(e->Kind()) ? partner : e;
        const CElement* end = IsEndKind(e->Kind()) ? e : partner;
        if (end->Kind() != start->Kind() + kind::kEndOffset)
            return "element " + std::to_string(i) + " is paired with an element of another kind";
        if (document.IndexOf(*start) >= document.IndexOf(*end))
            return "element " + std::to_string(i) + " is paired with an end before its start";
    }
    return {};
}

// Every element taken from the source stands where its offset says, and the
// offsets follow each other without gaps.
std::string CheckSourcePositions(const CHtmlDocument& document, std::string_view page)
{
    std::uint64_t offset = 0;
    std::uint64_t line = 1;
    std::uint64_t lineStart = 0;
    for (std::size_t i = 0; i < document.Size(); ++i) {
        const CElement* e = document.At(i);
        std::string_view text = e->Text();
        const std::uint64_t start = document.SourceOffsetOf(*e);
        if (start == CElement::kNoSource) {
            if (!text.empty())
                return "element " + std::to_string(i) + " has text but no source position";
            continue;
        }
        if (start != offset)
            return "element " + std::to_string(i) + " starts at " + std::to_string(start) +
                   ", expected " + std::to_string(offset);
        if (page.substr(static_cast<std::size_t>(offset), text.size()) != text)
            return "element " + std::to_string(i) + " is not the source text at its offset";
        SourceLocation at = document.LocationOf(*e);
        if (at.line != line || at.column != offset - lineStart + 1)
            return "element " + std::to_string(i) + " is reported at " + std::to_string(at.line) + ":" +
                   std::to_string(at.column) + ", expected " + std::to_string(line) + ":" +
                   std::to_string(offset - lineStart + 1);
        // A line feed ends a line, and so does a carriage return not followed by one.
        for (std::size_t k = 0; k < text.size(); ++k) {
            const std::size_t at = static_cast<std::size_t>(offset) + k;
            if (text[k] == '\n' || (text[k] == '\r' && (at + 1 >= page.size() || page[at + 1] != '\n'))) {
                ++line;
                lineStart = offset + k + 1;
            }
        }
        offset += text.size();
    }
    return {};
}

std::string CheckLines(CHtmlDocument& document, std::string_view written)
{
    document.StartReading();
    std::string joined;
    // Every call hands out at least one byte until the end; the bound only
    // keeps a broken reader from looping for ever.
    const std::size_t bound = written.size() + document.Size() + 2;
    for (std::size_t calls = 0;; ++calls) {
        if (calls > bound)
            return "the line reader does not come to an end";
        bool more = false;
        std::string line = document.NextLine(more);
        if (!more) {
            if (!line.empty())
                return "the last line came with the end flag";
            break;
        }
        if (line.empty())
            return "an empty line came with the more flag";
        std::size_t lineFeed = line.find('\n');
        if (lineFeed != std::string::npos && lineFeed + 1 != line.size())
            return "a line holds a line feed before its end";
        joined += line;
    }
    if (joined != written)
        return "the lines read back " + FirstDifference(written, joined);
    return {};
}

std::string CheckImageMaps(const CHtmlDocument& document)
{
    for (const auto& map : document.ImageMaps()) {
        for (const CElement* area : map->Areas()) {
            // Reading the text of an area that is gone is what AddressSanitizer catches.
            if (!area || area->Kind() != tag::kArea || area->Text().empty())
                return "image map " + map->Name() + " refers to an element that is no area";
        }
        for (const CAreaRecord& record : map->AreaRecords()) {
            if (!record.area || record.area->Kind() != tag::kArea)
                return "image map " + map->Name() + " has an area record without an area";
        }
        if (const CElement* image = map->Image(); image && image->Kind() != tag::kImg)
            return "image map " + map->Name() + " is linked to an element that is no image";
    }
    return {};
}

std::string CheckDocument(CHtmlDocument& document, std::string_view page, std::string_view intake)
{
    std::string failure = CheckPartners(document);
    if (failure.empty())
        failure = CheckSourcePositions(document, page);
    if (failure.empty())
        failure = CheckImageMaps(document);
    if (!failure.empty())
        return Describe(intake, failure);

    std::ostringstream out;
    if (!document.Write(out))
        return Describe(intake, "writing failed");
    const std::string written = out.str();
    if (written != page)
        return Describe(intake, "the page written back " + FirstDifference(page, written));
    if (document.Text() != written)
        return Describe(intake, "the page text differs from the page written");
    failure = CheckLines(document, written);
    return failure.empty() ? failure : Describe(intake, failure);
}

struct ParsedAttribute {
    int id;
    std::string name;
    std::string value;
    bool hasValue;
    friend bool operator==(const ParsedAttribute&, const ParsedAttribute&) = default;
};

std::vector<ParsedAttribute> Attributes(const CElement& element)
{
    std::vector<ParsedAttribute> list;
    for (const CAttribute* a = element.FirstAttribute(); a; a = a->Next())
        list.push_back({a->Id(), std::string(a->Name()), std::string(a->Value()), a->HasValue()});
    return list;
}

// A kind the parser accepts (0 or more): the tag's own kind where it has one.
int KindFor(std::string_view text)
{
    int kind = TagIdOfToken(text);
    return kind >= 0 ? kind : tag::kImg;
}

bool Within(std::string_view part, std::string_view whole)
{
    if (part.empty())
        return true;
    return part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size();
}

} // namespace

std::string CheckPageIntake(std::string_view page)
{
    // One document for all intakes, so starting again after every kind of page
    // (keeping areas and image maps in create mode 0, handing elements over
    // with the detach flag) is covered as well.
    CHtmlDocument document(CFamilyElementFactory::Instance());

    document.Start(1, false);
    {
        std::istringstream in{std::string(page)};
        int loaded = document.Load(in);
        if (loaded && (document.IsEmpty() || document.At(0)->Kind() != kind::kDocument))
            return "file: a loaded page does not begin with the document element";
        if (loaded && document.AtReadingPosition() != document.At(0))
            return "file: the reading position is not at the document element";
    }
    std::string failure = CheckDocument(document, page, "file");
    if (!failure.empty())
        return failure;

    document.Start(0, false);
    document.AddLine(page);
    document.Finish();
    failure = CheckDocument(document, page, "text");
    if (!failure.empty())
        return failure;

    document.Start(1, false);
    AddLineByLine(document, page);
    document.Finish();
    failure = CheckDocument(document, page, "lines");
    if (!failure.empty())
        return failure;

    // Hand the elements over and take the page in once more as a text; the
    // handed-over elements must stay readable and be marked deleted.
    std::vector<const CElement*> handedOver(document.Elements().begin(), document.Elements().end());
    document.Start(0, true);
    for (const CElement* e : handedOver) {
        if (!e->IsDeleted())
            return "detach: an element handed over is not marked deleted";
    }
    document.AddLine(page);
    document.Finish();
    return CheckDocument(document, page, "text after detach");
}

std::string CheckAttributeParse(std::string_view text)
{
    const CAttributeParser parser;
    const int kind = KindFor(text);

    // As a page's element: text and attributes live in the arena and borrow.
    CElementArena arena;
    ElementPtr pagedElement(MakeElement<CElement>(&arena));  // destroyed before the arena
    CElement* paged = pagedElement.get();
    paged->SetKind(kind);
    paged->BorrowText(arena.CopyText(text));
    parser.Parse(*paged, &arena);

    // As an element a repair made: everything is copied.
    ElementPtr owned(new CElement());
    owned->SetKind(kind);
    if (!owned->SetText(text))
        return "setting the text failed";
    parser.Parse(*owned, nullptr);

    const std::vector<ParsedAttribute> parsed = Attributes(*paged);
    std::string failure;
    if (parsed != Attributes(*owned))
        failure = "an element in the arena and one on the heap parse differently";

    bool unrebuildable = false;
    bool first = true;
    for (const CAttribute* a = paged->FirstAttribute(); a && failure.empty(); a = a->Next()) {
        std::string_view name = a->Name();
        if (name.empty())
            failure = "an attribute without a name";
        else if (name.find_first_of(" \t=>\n") != std::string_view::npos)
            failure = "the name " + std::string(name) + " holds a character that ends names";
        else if (!Within(name, paged->Text()) || !Within(a->Value(), paged->Text()))
            failure = "a name or value does not point into the element's text";
        else if (!a->HasValue() && !a->IsEmpty())
            failure = "an attribute without a value has a value";
        else if (a->Id() != (first ? attr::kOther : AttributeIdOfName(name)))
            failure = "the attribute " + std::string(name) + " has the wrong id";
        // A rebuilt tag cannot carry an element name that begins with the
        // tag's own bracket; and a name that begins with white space other
        // than a gap (a vertical tab, a form feed, a lone carriage return)
        // loses it when it follows a value, as every name after the first
        // does in a rebuilt tag.
        if (!name.empty() && (first ? name.front() == '<' : IsSpace(name.front())))
            unrebuildable = true;
        first = false;
        // The numeric value, stored and read again, is the same number.
        long long number = a->NumericValue();
        CAttribute copy;
        copy.NameByText(name, false);
        copy.SetValue(a->Value());
        copy.SetNumericValue(number);
        if (failure.empty() && copy.NumericValue() != number)
            failure = "the numeric value " + std::to_string(number) + " does not survive storing";
        Rgb colour{};
        (void)a->ColourValue(colour);
    }
    if (!failure.empty() || unrebuildable || !paged->FirstAttribute())
        return failure;

    // The rebuilt tag reads back to the same names and values.
    paged->SetModified(true);
    const std::string rebuilt = paged->MarkupText();
    ElementPtr again(new CElement());
    again->SetKind(kind);
    again->SetText(rebuilt);
    parser.Parse(*again, nullptr);
    std::vector<ParsedAttribute> reread = Attributes(*again);
    if (reread.size() != parsed.size())
        return "the rebuilt tag " + rebuilt + " has " + std::to_string(reread.size()) + " attributes, not " +
               std::to_string(parsed.size());
    // A value holding both kinds of quotes comes back with its double quotes
    // as entities, which read as the same value.
    auto asRead = [](std::string value) {
        for (std::size_t at = 0; (at = value.find("&quot;", at)) != std::string::npos; ++at)
            value.replace(at, 6, "\"");
        return value;
    };
    for (std::size_t i = 0; i < parsed.size(); ++i) {
        if (reread[i].name != parsed[i].name || asRead(reread[i].value) != asRead(parsed[i].value))
            return "attribute " + std::to_string(i) + " of the rebuilt tag " + rebuilt + " reads back differently";
    }
    return {};
}

} // namespace orvane::fuzz
