#pragma once

#include "library/html/attribute.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class CElement;
class CHtmlDocument;
class CImageMap;

namespace platform {
class IWindow;
}

// Shapes of the regions of an image map, server-side and client-side alike.
enum MapShape : int { kShapeNone = 0, kShapeRect = 1, kShapeCircle = 2, kShapePoly = 3, kShapeDefault = 4 };

// One non-empty line of a server-side map file, with what its tokens say.
struct MapLine {
    std::string text;         // right-trimmed
    int shape = kShapeNone;
    std::string url;          // the last URL token of the line
    std::string coordinates;  // every coordinate token, each followed by one blank
    bool hasCoordinates = false;
    bool hasUrl = false;
};

// One region of the client-side map.
struct MapArea {
    int shape = kShapeNone;
    std::string alt;  // empty unless a caller sets it
    std::string href;
    std::string coordinates;
    bool normalised = true;  // the coordinates are in client-side form
};

// Why the last operation failed, or why nothing usable came out of a file.
enum class MapFailure {
    None,
    Cancelled,       // the user closed a file dialog: nothing to tell
    NameTooLong,     // the suggested map file name is over 500 characters
    CannotRead,      // with the platform's reason
    TooLarge,        // more than kMaxFileBytes
    NotText,         // a NUL byte: an image or another binary file
    TooManyAreas,    // more than kMaxAreas
    NoAreas,         // no area that links anywhere
    NotBuilt,        // no areas built yet
    CannotWrite,     // with the platform's reason
    ImageNotInPage,
    CannotInsert,    // memory ran out while the map went into the page
};

// Turns a server-side image map file (NCSA or CERN style: every token is told
// by its own form, not by its place) into a client-side map element, writes
// that markup, and splices it into the page after the image that used the
// server-side map, pointing the image at it. One per image-map repair page.
class ImageMapConverter {
public:
    // A server-side map is a few kilobytes; these bound what a file that is
    // none (or a hostile one) may cost.
    static constexpr std::size_t kMaxFileBytes = 4 * 1024 * 1024;
    static constexpr std::size_t kMaxAreas = 10000;

    ImageMapConverter() = default;
    ~ImageMapConverter();
    ImageMapConverter(const ImageMapConverter&) = delete;
    ImageMapConverter& operator=(const ImageMapConverter&) = delete;

    // Asks the user for a map file, starting from the suggestion, and reads it.
    int LoadMapFile(std::string_view suggestion, platform::IWindow* owner = nullptr);
    // Reads the file's lines in place of the ones held; a file that cannot be
    // read (or is too large, or binary) leaves the converter as it was.
    int ReadMapFile(const std::string& path);
    // One line of a map file; refused (0) once the areas are built, or when
    // the lines held would grow beyond kMaxFileBytes.
    int AddLine(std::string_view text);
    // 1 when the map has an area that links anywhere; the areas are built
    // either way and AddLine refuses from now on.
    int BuildAreas();

    // The markup of the map, one piece per call: the map's start tag, each
    // area, the end tag. 0 before BuildAreas and once everything was given.
    int NextMarkupLine(std::string& piece);
    void ResetWriter();
    // Every piece at once.
    std::string Markup();

    // Asks for a file and writes the markup there, whole or not at all.
    int SaveMarkup(platform::IWindow* owner = nullptr);

    // Puts the map into the page right after the image and turns the image's
    // ismap attribute (or its usemap) into usemap="#name". A second splice
    // withdraws the first. Refused, with the page untouched, when nothing
    // usable was built or the image is not in the page. The converter keeps
    // pointers into the page: it must not outlive it or its restart.
    int SpliceIntoDocument(CHtmlDocument& document, CElement& image);
    // Takes the last splice back: its elements stay in the page, deleted, and
    // the image is as it was before. 0 when there is none.
    int UndoSplice();

    // Why the last operation failed; MapFailure::None after a success.
    MapFailure Failure() const { return m_failure; }
    // The user's text for it; empty for None and Cancelled.
    std::string FailureText() const;

    bool IsBuilt() const { return m_built; }
    const std::vector<MapLine>& Lines() const { return m_lines; }
    // The areas built; a caller may give them their alt texts before writing.
    std::vector<MapArea>& Areas() { return m_areas; }
    const std::string& MapName() const { return m_mapName; }
    // The model of the spliced map in the page; null when nothing is spliced.
    CImageMap* SplicedMap() const { return m_splicedMap; }

private:
    bool Fail(MapFailure failure, std::string detail = {});
    bool HasUsableArea() const;
    void WithdrawSplice();

    bool m_built = false;
    std::vector<MapArea> m_areas;
    std::vector<MapLine> m_lines;
    std::size_t m_lineBytes = 0;
    std::string m_mapName;

    std::size_t m_writeCursor = 0;
    bool m_headerWritten = false;
    bool m_footerWritten = false;

    MapFailure m_failure = MapFailure::None;
    std::string m_failureDetail;

    // The last splice: the page, the elements it took in, the image and the
    // attribute turned into usemap, with what they were before.
    CHtmlDocument* m_splicedInto = nullptr;
    std::vector<CElement*> m_splicedElements;
    CImageMap* m_splicedMap = nullptr;
    CElement* m_image = nullptr;
    bool m_imageWasModified = false;
    CAttribute* m_renamed = nullptr;
    CAttribute m_renamedBefore;
    bool m_renamedWasChanged = false;
    // The ismap of an image that also had a usemap, left out while spliced.
    CAttribute* m_hiddenIsmap = nullptr;
    bool m_ismapWasHideable = false;
};

} // namespace orvane
