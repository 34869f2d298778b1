#include "library/ui/pages/text_alternatives/image_map_converter.h"

#include "library/ui/pages/text_alternatives/map_coordinates.h"
#include "library/ui/quoted_value.h"
#include "library/ui/validator_sheet.h"

#include "library/html/text_util.h"
#include "platform/file_system.h"
#include "platform/services.h"
#include "platform/window.h"

#include <array>
#include <cstring>

namespace orvane {
namespace {

constexpr int kLoadTitle = 700;
constexpr int kMapFilesFilter = 701;
constexpr int kSaveTitle = 702;
constexpr int kHtmlFilesFilter = 703;
constexpr int kCannotRead = 704;
constexpr int kTooLarge = 705;
constexpr int kNotText = 706;
constexpr int kTooManyAreas = 707;
constexpr int kNoAreas = 708;
constexpr int kNothingRead = 709;
constexpr int kCannotWrite = 710;
constexpr int kNameTooLong = 711;
constexpr int kImageNotInPage = 712;
constexpr int kCannotInsert = 713;

constexpr std::size_t kLongestSuggestion = 500;
// A line is taken in pieces of this many bytes at most, as a reader with a
// buffer of 500 takes it.
constexpr std::size_t kPieceLength = 499;
constexpr std::size_t kLongestToken = 200;

bool IsCoordinateToken(std::string_view token)
{
    for (char c : token) {
        if (!((c >= '0' && c <= '9') || c == '(' || c == ')' || c == ','))
            return false;
    }
    return true;
}

void Classify(MapLine& line, std::string_view token)
{
    if (token.empty())
        return;
    if (EqualsIgnoreCase(token, "rect") || EqualsIgnoreCase(token, "rectangle") || EqualsIgnoreCase(token, "point")) {
        line.shape = kShapeRect;
    } else if (EqualsIgnoreCase(token, "circle")) {
        line.shape = kShapeCircle;
    } else if (EqualsIgnoreCase(token, "poly") || EqualsIgnoreCase(token, "polygon")) {
        line.shape = kShapePoly;
    } else if (EqualsIgnoreCase(token, "default")) {
        line.shape = kShapeDefault;
    } else if (IsCoordinateToken(token)) {
        line.coordinates.append(token);
        line.coordinates.push_back(' ');
        line.hasCoordinates = true;
    } else {
        line.url = token;
        line.hasUrl = true;
    }
}

// A quote opens or closes a quoted run but never belongs to a token; only
// closing one ends the token. Blanks and tabs end a token, quoted or not.
void Tokenise(MapLine& line)
{
    line.shape = kShapeNone;
    line.url.clear();
    line.coordinates.clear();
    line.hasCoordinates = line.hasUrl = false;
    const std::string_view text = line.text;
    if (!text.empty() && text.front() == '#')
        return;
    std::string token;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') {
            if (quoted) {
                Classify(line, token);
                token.clear();
            }
            quoted = !quoted;
        } else if (c == ' ' || c == '\t') {
            Classify(line, token);
            token.clear();
        } else if (token.size() == kLongestToken) {
            break;
        } else {
            token.push_back(c);
        }
    }
    Classify(line, token);
}

const char* OpeningOf(int shape)
{
    switch (shape) {
    case kShapeRect: return "<area shape=\"rect\"";
    case kShapeCircle: return "<area shape=\"circle\"";
    case kShapePoly: return "<area shape=\"poly\"";
    case kShapeDefault: return "<area shape=\"default\"";
    default: return nullptr;
    }
}

void AppendAttribute(std::string& out, std::string_view name, std::string_view value)
{
    if (value.empty())
        return;
    out.push_back(' ');
    out.append(name);
    out.append("=\"");
    out.append(QuotedValue(value));
    out.push_back('"');
}

void AppendArea(std::string& out, MapArea& area)
{
    const char* opening = OpeningOf(area.shape);
    if (!opening)
        return;
    if (!area.normalised) {
        area.coordinates = ClientSideCoordinates(area.shape, area.coordinates);
        area.normalised = true;
    }
    out.append(opening);
    AppendAttribute(out, "coords", area.coordinates);
    AppendAttribute(out, "href", area.href);
    AppendAttribute(out, "alt", area.alt);
    out.append(" />");
}

// The map's own name with the extension of a page: the map file itself is
// not offered to be written over.
std::string MarkupFileName(std::string_view mapName)
{
    const std::size_t dot = mapName.find_last_of('.');
    return std::string(dot == std::string_view::npos || dot == 0 ? mapName : mapName.substr(0, dot)) + ".html";
}

// Right-trimmed lines of at most kPieceLength bytes, as ReadMapFile and
// AddLine take them in.
bool AppendLine(std::vector<MapLine>& lines, std::size_t& bytes, std::string_view text)
{
    const std::string_view trimmed = TrimRight(text);
    if (trimmed.empty())
        return true;
    if (bytes + trimmed.size() > ImageMapConverter::kMaxFileBytes)
        return false;
    bytes += trimmed.size();
    lines.push_back({});
    lines.back().text = trimmed;
    return true;
}

} // namespace

ImageMapConverter::~ImageMapConverter() = default;

bool ImageMapConverter::Fail(MapFailure failure, std::string detail)
{
    m_failure = failure;
    m_failureDetail = std::move(detail);
    return false;
}

std::string ImageMapConverter::FailureText() const
{
    const platform::IStringTable& strings = platform::Strings();
    switch (m_failure) {
    case MapFailure::None:
    case MapFailure::Cancelled: return {};
    case MapFailure::NameTooLong: return strings.Get(kNameTooLong);
    case MapFailure::CannotRead: return strings.Format(kCannotRead, {m_failureDetail});
    case MapFailure::TooLarge: return strings.Get(kTooLarge);
    case MapFailure::NotText: return strings.Get(kNotText);
    case MapFailure::TooManyAreas: return strings.Get(kTooManyAreas);
    case MapFailure::NoAreas: return strings.Get(kNoAreas);
    case MapFailure::NotBuilt: return strings.Get(kNothingRead);
    case MapFailure::CannotWrite: return strings.Format(kCannotWrite, {m_failureDetail});
    case MapFailure::ImageNotInPage: return strings.Get(kImageNotInPage);
    case MapFailure::CannotInsert: return strings.Get(kCannotInsert);
    }
    return {};
}

int ImageMapConverter::LoadMapFile(std::string_view suggestion, platform::IWindow* owner)
{
    if (suggestion.size() > kLongestSuggestion)
        return Fail(MapFailure::NameTooLong);
    platform::FileDialogRequest request;
    request.title = platform::Strings().Get(kLoadTitle);
    request.initialPath = suggestion;
    request.filters = {{platform::Strings().Get(kMapFilesFilter), "*.map"}};
    request.defaultExtension = "map";
    std::optional<std::string> chosen = platform::Windows().ChooseFileToOpen(owner, request);
    if (!chosen || chosen->empty())
        return Fail(MapFailure::Cancelled);
    return ReadMapFile(*chosen);
}

int ImageMapConverter::ReadMapFile(const std::string& path)
{
    std::string error;
    std::unique_ptr<std::istream> in = platform::OpenForReading(path, &error);
    if (!in)
        return Fail(MapFailure::CannotRead, error);

    // Lines end at a line feed, a carriage return or both; reading stops as
    // soon as the file shows it is none a person wrote, so a huge or binary
    // file costs no more than the bound.
    std::vector<MapLine> lines;
    std::size_t lineBytes = 0;
    std::size_t total = 0;
    std::string piece;
    bool afterCarriageReturn = false;
    std::array<char, 64 * 1024> buffer;
    while (*in) {
        in->read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const auto got = static_cast<std::size_t>(in->gcount());
        total += got;
        if (total > kMaxFileBytes)
            return Fail(MapFailure::TooLarge);
        if (std::memchr(buffer.data(), '\0', got))
            return Fail(MapFailure::NotText);
        for (std::size_t i = 0; i < got; ++i) {
            const char c = buffer[i];
            if (afterCarriageReturn) {
                afterCarriageReturn = false;
                if (c == '\n')
                    continue;
            }
            if (c == '\n' || c == '\r') {
                AppendLine(lines, lineBytes, piece);
                piece.clear();
                afterCarriageReturn = c == '\r';
                continue;
            }
            piece.push_back(c);
            if (piece.size() == kPieceLength) {
                AppendLine(lines, lineBytes, piece);
                piece.clear();
            }
        }
    }
    if (in->bad())
        return Fail(MapFailure::CannotRead, "the file could not be read to its end");
    AppendLine(lines, lineBytes, piece);

    m_lines.swap(lines);
    m_lineBytes = lineBytes;
    m_areas.clear();
    m_built = false;
    m_mapName = CDocumentFolder::FileName(path);
    ResetWriter();
    m_failure = MapFailure::None;
    return 1;
}

int ImageMapConverter::AddLine(std::string_view text)
{
    if (m_built)
        return 0;
    if (!AppendLine(m_lines, m_lineBytes, text))
        return Fail(MapFailure::TooLarge);
    return 1;
}

int ImageMapConverter::BuildAreas()
{
    // The area of a shape keyword takes the URL and coordinates of the lines
    // after it that name no shape of their own; the first URL stays.
    m_areas.clear();
    MapArea* current = nullptr;
    bool tooMany = false;
    for (MapLine& line : m_lines) {
        Tokenise(line);
        if (line.shape != kShapeNone) {
            if (m_areas.size() == kMaxAreas) {
                tooMany = true;
                break;
            }
            m_areas.push_back({});
            current = &m_areas.back();
            current->shape = line.shape;
        }
        if (!current)
            continue;
        if (line.hasUrl && current->href.empty())
            current->href = line.url;
        if (line.hasCoordinates) {
            if (!current->coordinates.empty())
                current->coordinates.push_back(' ');
            current->coordinates += line.coordinates;
            current->normalised = false;
        }
    }
    m_built = true;
    ResetWriter();
    if (tooMany) {
        m_areas.clear();
        return Fail(MapFailure::TooManyAreas);
    }
    if (!HasUsableArea())
        return Fail(MapFailure::NoAreas);
    m_failure = MapFailure::None;
    return 1;
}

bool ImageMapConverter::HasUsableArea() const
{
    for (const MapArea& area : m_areas) {
        if (!area.href.empty())
            return true;
    }
    return false;
}

void ImageMapConverter::ResetWriter()
{
    m_writeCursor = 0;
    m_headerWritten = m_footerWritten = false;
}

int ImageMapConverter::NextMarkupLine(std::string& piece)
{
    piece.clear();
    if (!m_built)
        return 0;
    if (!m_headerWritten) {
        piece = "\n<map";
        AppendAttribute(piece, "name", m_mapName);
        piece += ">\n";
        m_headerWritten = true;
        return 1;
    }
    if (m_writeCursor < m_areas.size()) {
        AppendArea(piece, m_areas[m_writeCursor++]);
        piece.push_back('\n');
        return 1;
    }
    if (!m_footerWritten) {
        piece = "</map>\n";
        m_footerWritten = true;
        return 1;
    }
    return 0;
}

std::string ImageMapConverter::Markup()
{
    ResetWriter();
    std::string markup;
    std::string piece;
    while (NextMarkupLine(piece))
        markup += piece;
    return markup;
}

int ImageMapConverter::SaveMarkup(platform::IWindow* owner)
{
    if (!m_built)
        return Fail(MapFailure::NotBuilt);
    platform::FileDialogRequest request;
    request.title = platform::Strings().Get(kSaveTitle);
    request.initialPath = MarkupFileName(m_mapName);
    request.filters = {{platform::Strings().Get(kHtmlFilesFilter), "*.html *.htm"}};
    request.defaultExtension = "html";
    std::optional<std::string> chosen = platform::Windows().ChooseFileToSave(owner, request);
    if (!chosen || chosen->empty())
        return Fail(MapFailure::Cancelled);
    const std::string markup = Markup();
    std::string error;
    const bool written = platform::WriteFileAtomically(
        *chosen,
        [&markup](std::ostream& out) {
            out.write(markup.data(), static_cast<std::streamsize>(markup.size()));
            return static_cast<bool>(out);
        },
        &error);
    if (!written)
        return Fail(MapFailure::CannotWrite, error);
    m_failure = MapFailure::None;
    return 1;
}

} // namespace orvane
