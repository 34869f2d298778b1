#include "registry_writer.h"

#include "object_database.h"

namespace orvane {
namespace {

// XML 1.0 has no room for the C0 controls other than tab, line feed and
// carriage return, not even as references.
constexpr bool IsForbiddenControl(char c)
{
    auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 && c != '\t' && c != '\n' && c != '\r';
}

const char* Boolean(bool value) { return value ? "true" : "false"; }

// name="value" with a leading blank.
void AppendAttribute(std::string& out, std::string_view name, std::string_view value)
{
    out += ' ';
    out += name;
    out += "=\"";
    AppendAttributeValue(out, value);
    out += '"';
}

void AppendLongDesc(std::string& out, const CSrcLongDesc& longDesc)
{
    out += "<longdesc";
    AppendAttribute(out, "value", longDesc.Value());
    out += '>';
    if (!longDesc.Text().empty()) {
        out += '\n';
        AppendCData(out, longDesc.Text());
        out += '\n';
    }
    out += "</longdesc>\n";
}

void AppendImage(std::string& out, const CSrcImage& image)
{
    out += "<image";
    AppendAttribute(out, "filename", image.FileName());
    AppendAttribute(out, "needlongdesc", Boolean(image.NeedsLongDesc()));
    out += '>';
    if (!image.AltTexts().empty()) {
        out += '\n';
        for (const std::string& text : image.AltTexts()) {
            out += "<alt";
            AppendAttribute(out, "value", text);
            out += " />\n";
        }
    }
    if (!image.LongDescs().empty()) {
        if (image.AltTexts().empty())
            out += '\n';
        for (const auto& longDesc : image.LongDescs())
            AppendLongDesc(out, *longDesc);
    }
    out += "</image>\n";
}

void AppendAsciiArt(std::string& out, const CSrcAsciiArt& art)
{
    out += "<ascii_art";
    AppendAttribute(out, "id", art.Id());
    AppendAttribute(out, "described", Boolean(art.IsDescribed()));
    AppendAttribute(out, "skipover_link", Boolean(art.HasSkipOverLink()));
    out += '>';
    if (!art.LongDescs().empty()) {
        out += '\n';
        for (const auto& longDesc : art.LongDescs())
            AppendLongDesc(out, *longDesc);
    }
    out += "</ascii_art>\n";
}

void AppendTable(std::string& out, const CSrcTable& table)
{
    // A table without an id cannot be known again, and one nobody judged has
    // nothing to remember, so neither is kept.
    if (table.Id().empty() || !table.IsJudged())
        return;
    out += "<table";
    AppendAttribute(out, "id", table.Id());
    AppendAttribute(out, "type", table.IsLayout() ? "layout" : "data");
    AppendAttribute(out, "rowheaders", Boolean(table.RowHeaders()));
    AppendAttribute(out, "colheaders", Boolean(table.ColumnHeaders()));
    AppendAttribute(out, "rowheaders_abbrev", Boolean(table.RowHeaderAbbreviations()));
    AppendAttribute(out, "colheaders_abbrev", Boolean(table.ColumnHeaderAbbreviations()));
    AppendAttribute(out, "linearize", Boolean(table.Linearize()));
    out += " />\n";
}

void AppendDocument(std::string& out, const CSrcDocument& document)
{
    out += "<document";
    AppendAttribute(out, "filename", document.Name());
    AppendAttribute(out, "framesneeddescription", Boolean(document.FramesNeedDescription()));
    if (!document.Title().empty())
        AppendAttribute(out, "title", document.Title());
    out += ">\n";
    for (const auto& art : document.AsciiArts())
        AppendAsciiArt(out, *art);
    for (const auto& table : document.Tables())
        AppendTable(out, *table);
    for (const auto& image : document.Images())
        AppendImage(out, *image);
    for (const auto& map : document.ImageMaps()) {
        out += "<imagemap";
        AppendAttribute(out, "title", map->Title());
        AppendAttribute(out, "textlinks", Boolean(map->HasTextLinks()));
        out += " />\n";
    }
    for (const auto& applet : document.Applets()) {
        out += "<applet";
        AppendAttribute(out, "id", applet->Id());
        AppendAttribute(out, "described", Boolean(applet->IsDescribed()));
        out += "></applet>\n";
    }
    for (const auto& link : document.Links()) {
        out += "<link";
        AppendAttribute(out, "href", link->Address());
        AppendAttribute(out, "haswarning", Boolean(link->HasWarning()));
        out += " />\n";
    }
    for (const CSrcJudgement* judgement : document.Judgements()) {
        out += "<judgement";
        AppendAttribute(out, "check", judgement->check);
        AppendAttribute(out, "key", judgement->key);
        AppendAttribute(out, "verdict", judgement->verdict);
        if (!judgement->by.empty())
            AppendAttribute(out, "by", judgement->by);
        if (!judgement->date.empty())
            AppendAttribute(out, "date", judgement->date);
        out += " />\n";
    }
    out += "</document>\n";
}

} // namespace

void AppendAttributeValue(std::string& out, std::string_view value)
{
    for (char c : value) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\t': out += "&#9;"; break;
        case '\n': out += "&#10;"; break;
        case '\r': out += "&#13;"; break;
        default:
            if (!IsForbiddenControl(c))
                out += c;
            break;
        }
    }
}

void AppendCData(std::string& out, std::string_view text)
{
    // Dropped controls first, so that no "]]>" forms where one stood between.
    std::string kept;
    kept.reserve(text.size());
    for (char c : text) {
        if (!IsForbiddenControl(c))
            kept += c;
    }
    out += "<![CDATA[";
    for (std::size_t i = 0; i < kept.size(); ++i) {
        char c = kept[i];
        if (c == ']' && std::string_view(kept).substr(i, 3) == "]]>") {
            out += "]]]]><![CDATA[>";
            i += 2;
        } else if (c == '\r') {
            out += "]]>&#13;<![CDATA[";
        } else {
            out += c;
        }
    }
    out += "]]>";
}

std::string RegistryText(const CSrcObjectDatabase& database)
{
    std::string out = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<root>\n";
    for (const auto& image : database.Images())
        AppendImage(out, *image);
    for (const auto& document : database.Documents())
        AppendDocument(out, *document);
    out += "</root>";
    return out;
}

bool WriteRegistry(std::ostream& out, const CSrcObjectDatabase& database)
{
    std::string text = RegistryText(database);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return static_cast<bool>(out);
}

} // namespace orvane
