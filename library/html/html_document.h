#pragma once

#include "attribute_parser.h"
#include "element.h"
#include "element_arena.h"
#include "element_factory.h"
#include "image_map.h"
#include "page_encoding.h"
#include "page_text.h"
#include "pending_token.h"

#include <cstdint>
#include <istream>
#include <list>
#include <memory>
#include <optional>
#include <span>
#include <ostream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace orvane {

class CSrcObjectDatabase;

// Something the checks compute once for a whole page (link targets, labels by
// their for value, ...) and keep with the document while they run over it.
class CDocumentIndex {
public:
    virtual ~CDocumentIndex() = default;
};

struct SourceLocation {
    std::uint64_t line = 0;    // 1-based; 0 when the element has no source
    std::uint64_t column = 0;  // 1-based, in bytes
};

// One page as a flat, ordered list of elements in source order. There is no
// tree: a start tag and its end tag point at each other, and a few elements
// (a, script, style, blink, textarea) collect what was parsed inside them.
class CHtmlDocument {
public:
    explicit CHtmlDocument(const IElementFactory& factory = CPlainElementFactory::Instance());
    ~CHtmlDocument();
    CHtmlDocument(const CHtmlDocument&) = delete;
    CHtmlDocument& operator=(const CHtmlDocument&) = delete;

    // --- Taking a page in ---------------------------------------------------
    // Starts a page. createMode 1: a file or lines; 0: a whole text, whose
    // image maps and their areas survive the restart. detach: the old elements
    // are marked deleted and handed over instead of destroyed.
    int Start(int createMode, bool detach);
    void Reset(int createMode);
    // Reads the page from a stream in pieces of at most 499 characters.
    // Refuses (0) a page without a recognised tag.
    int Load(std::istream& in);
    // Takes in one piece of the page (a line, or any run of bytes).
    int AddLine(std::string_view piece);
    // Pairs start and end tags, parses attributes and builds the image maps.
    int Finish();

    // --- Writing back ---------------------------------------------------------
    // Writes the markup text of every element not deleted; 0 on a write error.
    int Write(std::ostream& out) const;
    std::string Text() const;
    void StartReading();
    // The next line of the page up to and including its line feed; more is
    // false once the page is exhausted.
    std::string NextLine(bool& more);

    // --- Walking --------------------------------------------------------------
    // A position is the element standing there; null is past the end.
    using Position = CElement*;
    Position FirstPosition() const;
    // The element at pos (deleted ones too); pos moves on.
    CElement* GetNext(Position& pos) const;
    // From the reading position: the next element not deleted; the position moves past it.
    CElement* NextUndeleted();
    // Steps back from the reading position to the previous element not deleted.
    CElement* PreviousUndeleted();
    CElement* AtReadingPosition() const { return m_reading; }
    bool SetReadingPosition(Position pos);
    Position ReadingPosition() const { return m_reading; }
    // Places the reading position at the element at the index, or past the end.
    void SetReadingIndex(std::size_t index)
    {
        const std::vector<CElement*>& list = List();
        m_reading = index < list.size() ? list[index] : nullptr;
    }
    CElement* ElementAfter(const CElement* element) const;
    CElement* ElementBefore(const CElement* element) const;
    bool IsEmpty() const { return List().empty(); }
    Position Find(const CElement* element) const;
    std::size_t Size() const { return List().size(); }
    CElement* At(std::size_t index) const { return List()[index]; }
    // Position of the element in the list; only for elements of this document.
    std::size_t IndexOf(const CElement& element) const
    {
        List();
        return element.m_index;
    }
    const std::vector<CElement*>& Elements() const { return List(); }

    // An insert costs the same whatever the size of the page: the new element
    // waits beside the list, and the list takes in everything inserted at once
    // when it is next read.
    int InsertAfter(const CElement* existing, ElementPtr element);
    int InsertBefore(const CElement* existing, ElementPtr element);
    // Moves every element of the fragment, in its order, right after an
    // element of this page, which from then on keeps the fragment's storage
    // too; the fragment is left empty. 0 when the element is not here: then
    // nothing moves. Should the list run out of memory on the way, what was
    // moved stays in the page deleted, so the page writes as it did.
    int TakeInAfter(const CElement* existing, CHtmlDocument& fragment);
    // Elements placed or renumbered in the list so far: the work edits cost.
    std::uint64_t PlacementCount() const { return m_placements; }

    // --- Encoding ---------------------------------------------------------------
    // How the page's bytes are read, as a browser finds it. Found when first
    // asked, so checks that never show a text never pay for it; a page taken
    // in anew is looked at anew.
    const PageEncoding& Encoding() const;
    // The user's text of page bytes, and the page's bytes of the user's text (see page_text.h).
    std::string UserText(std::string_view bytes, TextPlace place = TextPlace::AttributeValue) const;
    std::string PageBytes(std::string_view text, TextPlace place = TextPlace::AttributeValue) const;
    // The user's text of page bytes that key a remembered decision, so that a
    // text decided on a page in one encoding is found on a page in another.
    // Checks key every table and link this way: bytes of plain ASCII without
    // a reference are their own text and do not make the page's encoding be
    // looked for.
    std::string ComparedText(std::string_view bytes, TextPlace place = TextPlace::AttributeValue) const;
    // Whether bytes are their own compared text: plain ASCII without a reference.
    static bool ReadsAsItsBytes(std::string_view bytes);

    // --- Image maps -----------------------------------------------------------
    int AddImageMap(std::unique_ptr<CImageMap> map);
    int RemoveImageMap(const CImageMap* map);
    void RemoveImageMapByName(std::string_view name);
    CImageMap* FindImageMap(std::string_view name) const;
    const std::list<std::unique_ptr<CImageMap>>& ImageMaps() const { return m_imageMaps; }
    const std::vector<CElement*>& KeptAreas() const { return m_keptAreas; }

    // --- Queries ----------------------------------------------------------------
    // Texts strictly between an element and its partner, each addition trimmed;
    // cut with "..." past maxLength (when not negative); line feeds become blanks.
    std::string InnerText(const CElement& element, int maxLength) const;
    // The elements strictly between an element and its partner, in page
    // order, deleted ones too; none when no partner follows it in the page.
    std::span<CElement* const> ElementsInside(const CElement& element) const;
    // The name without its folder.
    std::string FileName() const;
    const std::string& Name() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    // A text run of more than 15 characters between <body> and the next </body>.
    bool HasBodyText() const;
    SourceLocation LocationOf(const CElement& element) const;
    // Where the element's text starts in the page taken in; CElement::kNoSource
    // for elements made by repairs, elements whose text a repair replaced and
    // elements of a page taken in before.
    std::uint64_t SourceOffsetOf(const CElement& element) const;

    int OriginFlag() const { return m_origin; }
    void SetOriginFlag(int origin) { m_origin = origin; }
    int CreateMode() const { return m_createMode; }

    // The object registry of the session, when one is attached (not owned).
    CSrcObjectDatabase* ObjectRegistry() const { return m_objectRegistry; }
    void SetObjectRegistry(CSrcObjectDatabase* registry) { m_objectRegistry = registry; }

    // Page-wide checks run once per page: these flags say that they ran.
    bool FramesLongDescReported() const { return m_framesLongDescReported; }
    void SetFramesLongDescReported(bool reported) { m_framesLongDescReported = reported; }
    bool HtmlChecked() const { return m_htmlChecked; }
    void SetHtmlChecked(bool checked) { m_htmlChecked = checked; }

    // What the checks keep for this page while they run; dropped with the page.
    CDocumentIndex* CheckIndex() const { return m_checkIndex.get(); }
    void SetCheckIndex(std::unique_ptr<CDocumentIndex> index) { m_checkIndex = std::move(index); }

    int FrameCount() const { return m_frameCounter; }
    int FramesetCount() const { return m_framesetCounter; }
    int ListCount() const { return m_listCounter; }

    const IElementFactory& Factory() const { return m_factory; }
    // Splits an element's text into attributes.
    void ParseAttributes(CElement& element);

private:
    using ImageMapList = std::list<std::unique_ptr<CImageMap>>;
    void ClearTokenizerState();
    void EraseImageMap(ImageMapList::iterator it);
    void DestroyImageMapsAndKeptAreas();
    void RetireArena();
    bool AppendElement(CElement* element);
    void Flush();
    bool FinishTag(std::string_view token);
    bool StartComment();
    void EndComment(std::uint64_t endOffset);
    void AppendCommentPiece(std::string_view text);
    CElement* AppendText(std::string_view text);
    CElement* CreateElement(int kind);
    void SetPageText(CElement& element, std::string_view text, std::uint64_t offset);
    // A text that is not the kept page's own at its offset: copied unless it
    // lies in the kept page, and its offset noted apart.
    std::string_view KeepTextApart(const CElement& element, std::string_view text, std::uint64_t offset);
    // Whether the text lies in the page Load keeps, and so lives as long as the elements.
    bool InKeptPage(std::string_view text) const
    {
        const auto begin = reinterpret_cast<std::uintptr_t>(m_keptPage.data());
        const auto at = reinterpret_cast<std::uintptr_t>(text.data());
        return at >= begin && at + text.size() <= begin + m_keptPage.size();
    }
    void NoteTokenStart(std::size_t indexInPiece);
    void NoteLineStarts(std::string_view piece);
    void PairTagsParseAndBuildImageMaps();
    // images: the page's images with a usemap attribute, in source order.
    void LinkImages(const std::vector<CElement*>& images);
    int Insert(const CElement* existing, bool after, ElementPtr element);
    // Puts the element beside the existing one; on false nothing changed and
    // the caller still owns the element.
    bool Place(const CElement* existing, bool after, CElement* element);
    void Renumber(std::size_t from) const;
    bool Holds(const CElement* element) const;
    // In the list itself; pending inserts are not.
    bool InList(const CElement* element) const
    {
        return element && element->m_index < m_elements.size() && m_elements[element->m_index] == element;
    }
    // The list with every pending insert in its place.
    const std::vector<CElement*>& List() const
    {
        if (!m_inserted.empty())
            PlaceInserted();
        return m_elements;
    }
    void PlaceInserted() const;

    const IElementFactory& m_factory;
    std::string m_name;
    int m_origin = 0;
    CAttributeParser m_parser;
    mutable std::vector<CElement*> m_elements;  // owned
    // Inserted elements not yet in the list (owned), and what stands right
    // before and right after each element, nearest last.
    struct Neighbours {
        std::vector<CElement*> before;
        std::vector<CElement*> after;
    };
    mutable std::unordered_set<const CElement*> m_inserted;
    mutable std::unordered_map<const CElement*, Neighbours> m_neighbours;
    mutable std::uint64_t m_placements = 0;
    CElement* m_reading = nullptr;
    std::string m_pendingOutput;
    std::size_t m_pendingStart = 0;  // what of it was handed out already
    int m_createMode = 1;
    ImageMapList m_imageMaps;
    // The models of each name in list order, so pages of many maps stay linear.
    std::unordered_map<std::string, std::vector<ImageMapList::iterator>> m_imageMapsByName;
    std::vector<CElement*> m_keptAreas;  // owned

    // Tokenizer state.
    CPendingToken m_token;
    bool m_firstCharacter = true;
    bool m_rawMode = false;
    bool m_inTag = false;
    bool m_inComment = false;
    bool m_dashPair = false;
    int m_frameCounter = 0;
    int m_framesetCounter = 0;
    int m_listCounter = 0;
    bool m_framesLongDescReported = false;
    bool m_htmlChecked = false;
    CSrcObjectDatabase* m_objectRegistry = nullptr;
    std::unique_ptr<CDocumentIndex> m_checkIndex;
    bool m_insideAnchor = false;
    CElement* m_currentAnchor = nullptr;
    CElement* m_currentStyle = nullptr;
    CElement* m_currentScript = nullptr;
    CElement* m_currentBlink = nullptr;
    CElement* m_currentTextarea = nullptr;

    // Source positions: bytes taken in so far, where the token began, and
    // where each line begins.
    std::uint64_t m_consumed = 0;
    std::uint64_t m_tokenStart = 0;
    std::vector<std::uint64_t> m_lineStarts{0};
    bool m_carriageReturnPending = false;
    // Offsets the text of their element does not tell (pages taken in line by
    // line, where texts are copies), by element; sorted once the page is in.
    std::vector<std::pair<const CElement*, std::uint64_t>> m_offsetsApart;
    bool m_offsetsApartSorted = true;

    // Storage of the parsed page. Arenas still referred to (by areas kept for
    // the image maps, or by elements handed over by Start) are retired rather
    // than freed.
    std::unique_ptr<CElementArena> m_arena;
    std::vector<std::unique_ptr<CElementArena>> m_keptAreaArenas;
    std::vector<std::unique_ptr<CElementArena>> m_detachedArenas;
    std::vector<CElement*> m_detached;  // owned: elements handed over by Start
    // Storage of fragments whose elements TakeInAfter moved into the list.
    std::vector<std::unique_ptr<CElementArena>> m_takenArenas;
    mutable std::optional<PageEncoding> m_encoding;

    // The page text Load read, kept in the arena: elements taken from it point
    // into it.
    std::string_view m_keptPage;
};

} // namespace orvane
