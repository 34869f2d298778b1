// Taking the characters of a page in: the tokenizer state machine, the
// element factory's effects on the document, and finishing the page.
#include "html_document.h"

#include "attribute_table.h"
#include "tag_table.h"
#include "text_util.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <new>

namespace orvane {
namespace {

std::size_t FindByte(std::string_view text, std::size_t from, char c)
{
    if (from >= text.size())
        return text.size();
    const void* hit = std::memchr(text.data() + from, c, text.size() - from);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) : text.size();
}

// The first '<' or '>' from there on: the '>' is searched for first, as a tag
// most often ends before anything else opens.
std::size_t FindTagBracket(std::string_view text, std::size_t from)
{
    const std::size_t greater = FindByte(text, from, '>');
    const std::size_t less = FindByte(text.substr(0, greater), from, '<');
    return std::min(less, greater);
}

} // namespace

// Text of the page Load keeps is pointed at, and then tells where the element
// stood; any other is copied to the page's arena and its offset noted apart.
// A text too long to be held fails like memory running out.
void CHtmlDocument::SetPageText(CElement& element, std::string_view text, std::uint64_t offset)
{
    if (text.size() > CElement::kMaxTextSize)
        throw std::bad_alloc();
    const bool atItsPlace = offset < m_keptPage.size() && text.data() == m_keptPage.data() + offset &&
                            text.size() <= m_keptPage.size() - offset && !text.empty();
    if (!atItsPlace) [[unlikely]]
        text = KeepTextApart(element, text, offset);
    // A new element: it owns no text that would have to go first.
    element.m_textData = text.empty() ? "" : text.data();
    element.m_textSize = static_cast<std::uint32_t>(text.size());
}

std::string_view CHtmlDocument::KeepTextApart(const CElement& element, std::string_view text, std::uint64_t offset)
{
    if (!InKeptPage(text))
        text = m_arena->CopyText(text);
    m_offsetsApart.emplace_back(&element, offset);
    m_offsetsApartSorted = false;
    return text;
}

void CHtmlDocument::NoteTokenStart(std::size_t indexInPiece)
{
    if (m_token.Empty())
        m_tokenStart = m_consumed + indexInPiece;
}

bool CHtmlDocument::AppendElement(CElement* element)
{
    List();
    element->m_index = static_cast<std::uint32_t>(m_elements.size());
    // Grown by half, not doubled: the list is the one piece of a page's memory
    // outside the arena, and doubling leaves up to half of it unused (and
    // needs three times the old list while it moves).
    if (m_elements.size() == m_elements.capacity())
        m_elements.reserve(m_elements.size() + m_elements.size() / 2 + 16);
    m_elements.push_back(element);
    return true;
}

CElement* CHtmlDocument::CreateElement(int kind)
{
    // Only tags of the table have classes of their own; texts, comments, end
    // and unknown tags are plain elements whatever the factory, and most of a
    // page's elements are such.
    const bool plain = kind < 0 || kind >= kTagTableSize;
    CElement* element = plain ? MakeElement<CElement>(m_arena.get()) : m_factory.Create(kind, m_arena.get());
    element->SetKind(kind);
    return element;
}

CElement* CHtmlDocument::AppendText(std::string_view text)
{
    CElement* element = CreateElement(kind::kText);
    SetPageText(*element, text, m_tokenStart);
    AppendElement(element);
    // Only the innermost collecting element takes the text.
    if (m_currentStyle) {
        m_currentStyle->AttachInner(*element);
    } else if (m_currentScript) {
        m_currentScript->AttachInner(*element);
    } else if (m_currentBlink || m_currentTextarea) {
        std::string_view trimmed = Trim(text);
        if (!trimmed.empty())
            (m_currentBlink ? m_currentBlink : m_currentTextarea)->CollectText(trimmed);
    } else if (m_currentAnchor) {
        m_currentAnchor->AttachInner(*element);
    }
    return element;
}

void CHtmlDocument::AppendCommentPiece(std::string_view text)
{
    CElement* element = CreateElement(kind::kComment);
    SetPageText(*element, text, m_tokenStart);
    AppendElement(element);
    if (m_currentScript)
        m_currentScript->AttachInner(*element);
}

void CHtmlDocument::Flush()
{
    if (m_token.Empty())
        return;
    if (m_inComment)
        AppendCommentPiece(m_token.View());
    else
        AppendText(m_token.View());
    m_token.Clear();
}

bool CHtmlDocument::FinishTag(std::string_view token)
{
    int kind = TagIdOfToken(token);
    if (kind == tag::kXmp + kind::kEndOffset)
        m_rawMode = false;
    else if (m_rawMode)
        kind = kind::kText;

    CElement* element = CreateElement(kind);
    switch (kind) {
    case tag::kA:
        m_insideAnchor = true;
        m_currentAnchor = element;
        break;
    case tag::kA + kind::kEndOffset:
        m_insideAnchor = false;
        m_currentAnchor = nullptr;
        break;
    case tag::kBlink:
        m_currentBlink = element;
        break;
    case tag::kBlink + kind::kEndOffset:
        m_currentBlink = nullptr;
        break;
    case tag::kList:
        element->SetOrdinal(++m_listCounter);
        break;
    case tag::kFrame:
        element->SetOrdinal(++m_frameCounter);
        break;
    case tag::kFrameset:
        element->SetOrdinal(++m_framesetCounter);
        break;
    case tag::kImg:
        if (m_insideAnchor && m_currentAnchor) {
            element->SetEnclosingAnchor(*m_currentAnchor);
            m_currentAnchor->AttachInner(*element);
        }
        break;
    case tag::kScript:
        m_currentScript = element;
        break;
    case tag::kScript + kind::kEndOffset:
        m_currentScript = nullptr;
        break;
    case tag::kStyle:
        m_currentStyle = element;
        break;
    case tag::kStyle + kind::kEndOffset:
        m_currentStyle = nullptr;
        break;
    case tag::kTextarea:
        m_currentTextarea = element;
        break;
    case tag::kTextarea + kind::kEndOffset:
        m_currentTextarea = nullptr;
        break;
    case tag::kXmp:
        m_rawMode = true;
        break;
    default:
        break;
    }
    SetPageText(*element, token, m_tokenStart);
    AppendElement(element);
    m_token.Clear();
    return true;
}

// The token holds "<!--".
bool CHtmlDocument::StartComment()
{
    m_inComment = true;
    m_dashPair = false;
    m_inTag = false;
    return FinishTag(m_token.View());
}

void CHtmlDocument::EndComment(std::uint64_t endOffset)
{
    m_dashPair = false;
    m_inComment = false;
    m_token.DropLast();  // the '>' is the comment end's, not the comment's
    if (!m_token.Empty())
        AppendCommentPiece(m_token.View());
    m_token.Clear();
    CElement* end = CreateElement(kind::kCommentEnd);
    // The page's own '>' when Load keeps the page, so its place needs no note.
    const bool kept = endOffset < m_keptPage.size() && m_keptPage[static_cast<std::size_t>(endOffset)] == '>';
    SetPageText(*end, kept ? m_keptPage.substr(static_cast<std::size_t>(endOffset), 1) : std::string_view(">"),
                endOffset);
    AppendElement(end);
}

void CHtmlDocument::NoteLineStarts(std::string_view piece)
{
    // A line ends with a line feed, a carriage return and line feed, or a
    // carriage return alone (old Mac pages); a return at the end of a piece
    // waits for the next piece to tell which.
    if (m_carriageReturnPending && !piece.empty()) {
        m_carriageReturnPending = false;
        if (piece.front() != '\n')
            m_lineStarts.push_back(m_consumed);
    }
    const std::size_t n = piece.size();
    if (n == 0)
        return;
    // Most pieces hold no carriage return but one before a line feed: their
    // line feeds are found by searching, not by looking at every byte.
    auto loneReturn = [&] {
        for (std::size_t at = 0; (at = FindByte(piece, at, '\r')) < n; ++at) {
            if (at + 1 == n || piece[at + 1] != '\n')
                return true;
        }
        return false;
    };
    if (!loneReturn()) {
        for (std::size_t at = 0; at < n;) {
            const void* lineFeed = std::memchr(piece.data() + at, '\n', n - at);
            if (!lineFeed)
                break;
            at = static_cast<std::size_t>(static_cast<const char*>(lineFeed) - piece.data()) + 1;
            m_lineStarts.push_back(m_consumed + at);
        }
        return;
    }
    for (std::size_t at = 0; at < n; ++at) {
        const char c = piece[at];
        if (c == '\n') {
            m_lineStarts.push_back(m_consumed + at + 1);
        } else if (c == '\r') {
            if (at + 1 == n)
                m_carriageReturnPending = true;
            else if (piece[at + 1] != '\n')
                m_lineStarts.push_back(m_consumed + at + 1);
        }
    }
}

int CHtmlDocument::AddLine(std::string_view piece)
{
    try {
        if (!m_inTag && !m_token.Empty())
            Flush();  // a text run or comment piece never spans two pieces

        const std::size_t n = piece.size();
        const bool kept = InKeptPage(piece);
        NoteLineStarts(piece);

        std::size_t i = 0;
        while (i < n) {
            const char c = piece[i];
            if (m_inComment) {
                if (!m_dashPair) {
                    // Only a "--" can start the end of a comment.
                    std::size_t dash = FindByte(piece, i, '-');
                    NoteTokenStart(i);
                    if (dash == n) {
                        m_token.Append(piece.substr(i), kept);
                        i = n;
                    } else {
                        m_token.Append(piece.substr(i, dash - i + 1), kept);
                        if (dash > 0 && piece[dash - 1] == '-')
                            m_dashPair = true;
                        i = dash + 1;
                    }
                } else {
                    NoteTokenStart(i);
                    m_token.Append(piece.substr(i, 1), kept);
                    if (c == '-' && i > 0 && piece[i - 1] == '-') {
                        m_dashPair = true;
                    } else if (c == '>') {
                        EndComment(m_consumed + i);
                    } else if (!IsSpace(c)) {
                        m_dashPair = false;
                    }
                    ++i;
                }
            } else if (c == '<') {
                m_inTag = true;
                if (!m_firstCharacter)
                    Flush();  // an unfinished tag before this '<' becomes text
                NoteTokenStart(i);
                // A whole tag within the piece, not opening a comment, is
                // taken from the piece without being gathered first.
                std::size_t stop = m_token.Empty() ? FindTagBracket(piece, i + 1) : n;
                if (stop < n && piece[stop] == '>' &&
                    !(stop - i > 3 && piece[i + 1] == '!' && piece[i + 2] == '-' && piece[i + 3] == '-')) {
                    m_inTag = false;
                    FinishTag(piece.substr(i, stop - i + 1));
                    i = stop + 1;
                } else {
                    m_token.Append(piece.substr(i, 1), kept);
                    ++i;
                }
            } else if (m_inTag) {
                if (c == '>') {
                    m_inTag = false;
                    m_token.Append(piece.substr(i, 1), kept);
                    FinishTag(m_token.View());
                    ++i;
                } else if (c == '-' && m_token.View() == "<!-") {
                    m_token.Append(piece.substr(i, 1), kept);
                    StartComment();
                    ++i;
                    // The character after "<!--" opens the comment untested.
                    if (i < n) {
                        NoteTokenStart(i);
                        m_token.Append(piece.substr(i, 1), kept);
                        ++i;
                    }
                } else if (m_token.Size() < 3) {
                    m_token.Append(piece.substr(i, 1), kept);
                    ++i;
                } else {
                    std::size_t stop = FindTagBracket(piece, i);
                    m_token.Append(piece.substr(i, stop - i), kept);
                    i = stop;
                }
            } else {
                std::size_t stop = FindByte(piece, i, '<');
                NoteTokenStart(i);
                if (stop < n && m_token.Empty()) {
                    // The '<' ends the run within the piece: the run is its
                    // own text, as the '<' would flush it.
                    AppendText(piece.substr(i, stop - i));
                } else {
                    m_token.Append(piece.substr(i, stop - i), kept);
                }
                i = stop;
            }
            m_firstCharacter = false;
        }
        m_consumed += n;
        return 1;
    } catch (const std::bad_alloc&) {
        m_consumed += piece.size();
        return 0;
    }
}

// --- Finishing the page --------------------------------------------------------

int CHtmlDocument::Finish()
{
    List();
    try {
        if (!m_token.Empty()) {
            // An unfinished tag or comment at the end of the page is text of its own.
            CElement* rest = CreateElement(kind::kText);
            SetPageText(*rest, m_token.View(), m_tokenStart);
            AppendElement(rest);
            m_token.Clear();
        }
        std::sort(m_offsetsApart.begin(), m_offsetsApart.end(), [](const auto& a, const auto& b) {
            return std::less<const CElement*>()(a.first, b.first);
        });
        m_offsetsApartSorted = true;
        PairTagsParseAndBuildImageMaps();
        return 1;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

namespace {

// Each start kind is matched with the nearest balanced end of its kind, as a
// forward walk with a depth count would find it, in one pass with a stack per kind.
class CTagPairer {
public:
    void Take(CElement& e)
    {
        const int k = e.Kind();
        const int startKind = k - kind::kEndOffset;
        if (startKind >= kLowest && startKind < kTagTableSize) {
            auto& stack = m_open[static_cast<std::size_t>(startKind - kLowest)];
            if (!stack.empty()) {
                CElement* start = stack.back();
                stack.pop_back();
                start->SetPartner(&e);
                e.SetPartner(start);
            }
        } else if (k >= kLowest && k < kTagTableSize && k != kind::kText && k != kind::kUnknown) {
            m_open[static_cast<std::size_t>(k - kLowest)].push_back(&e);
        }
    }

private:
    static constexpr int kLowest = kind::kDocument;
    std::array<std::vector<CElement*>, kTagTableSize - kLowest> m_open;
};

} // namespace

void CHtmlDocument::PairTagsParseAndBuildImageMaps()
{
    // Every map's areas are a run of one list of the page's areas: from the map
    // up to the next map end tag. The walk that pairs the tags and parses the
    // attributes finds all the runs, and the images that name a map: a walk
    // over every element of a large page costs more than what is done for the
    // few that matter here.
    CTagPairer pairer;
    auto areas = std::make_shared<std::vector<CElement*>>();
    struct Run {
        CElement* map;
        std::size_t first;
        std::size_t last;
    };
    std::vector<Run> runs;
    std::size_t firstOpen = 0;
    std::vector<CElement*> imagesWithMaps;
    for (CElement* e : m_elements) {
        pairer.Take(*e);
        m_parser.Parse(*e, m_arena.get());
        if (e->Kind() == tag::kImg && e->FindAttribute(attr::kUsemap))
            imagesWithMaps.push_back(e);
        if (e->Kind() == tag::kMap)
            runs.push_back({e, areas->size(), std::string::npos});
        if (e->IsDeleted())
            continue;
        if (e->Kind() == tag::kArea) {
            areas->push_back(e);
        } else if (e->Kind() == tag::kMap + kind::kEndOffset) {
            for (; firstOpen < runs.size(); ++firstOpen)
                runs[firstOpen].last = areas->size();
        }
    }
    for (; firstOpen < runs.size(); ++firstOpen)
        runs[firstOpen].last = areas->size();

    // A whole text keeps the maps of earlier pages until it brings maps of its
    // own; those replace them all, but each other: every map of the page is
    // checked.
    bool earlierMapsDropped = m_createMode != 0;
    for (const Run& run : runs) {
        const CAttribute* name = run.map->FindAttribute(attr::kName);
        if (!name || name->IsEmpty())
            continue;
        RemoveImageMapByName(name->Value());
        if (run.last == run.first)
            continue;
        auto map = std::make_unique<CImageMap>();
        map->SetAreas(name->GetValue(), areas, run.first, run.last);
        if (!earlierMapsDropped) {
            DestroyImageMapsAndKeptAreas();
            earlierMapsDropped = true;
        }
        AddImageMap(std::move(map));
    }
    LinkImages(imagesWithMaps);
}

void CHtmlDocument::LinkImages(const std::vector<CElement*>& images)
{
    for (CElement* e : images) {
        const CAttribute* usemap = e->FindAttribute(attr::kUsemap);
        if (!usemap)
            continue;
        std::string_view name = usemap->Value();
        if (!name.empty() && name.front() == '#')
            name.remove_prefix(1);
        if (CImageMap* map = FindImageMap(name))
            map->LinkImage(*e, *this);
    }
}

} // namespace orvane
