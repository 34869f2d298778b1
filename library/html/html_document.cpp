#include "html_document.h"

#include "tag_table.h"
#include "text_util.h"

#include "platform/services.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <new>

namespace orvane {
namespace {

constexpr std::size_t kPieceLength = 499;

void ReportLoadFailure(int reasonId)
{
    auto& strings = platform::Strings();
    platform::Prompt().Show(strings.Get(111), strings.Format(150, {strings.Get(reasonId)}),
                            platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
}

// The bytes the stream says it still holds; 0 when it cannot tell.
std::size_t BytesAhead(std::istream& in)
{
    if (in.rdbuf()) {
        const std::streamsize available = in.rdbuf()->in_avail();
        if (available > 0)
            return static_cast<std::size_t>(available);
    }
    const std::istream::pos_type here = in.tellg();
    if (here == std::istream::pos_type(-1))
        return 0;
    in.seekg(0, std::ios::end);
    const std::istream::pos_type end = in.tellg();
    in.clear();
    in.seekg(here);
    return end != std::istream::pos_type(-1) && end > here ? static_cast<std::size_t>(end - here) : 0;
}

// The rest of the stream, kept in the arena. Read straight into its place
// when the stream tells its length, so the page costs no more than its bytes;
// otherwise gathered in parts and put together once.
std::string_view ReadAll(std::istream& in, CElementArena& arena)
{
    const std::size_t told = BytesAhead(in);
    char* place = static_cast<char*>(arena.Allocate(told, 1));
    in.read(place, static_cast<std::streamsize>(told));
    const std::size_t got = static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0));
    if (got < told || !in)
        return {place, got};

    constexpr std::size_t kPart = 1024 * 1024;
    std::vector<std::unique_ptr<char[]>> parts;
    std::size_t total = got;
    std::size_t lastPart = kPart;
    while (in && lastPart == kPart) {
        parts.push_back(std::make_unique_for_overwrite<char[]>(kPart));
        in.read(parts.back().get(), static_cast<std::streamsize>(kPart));
        lastPart = static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0));
        total += lastPart;
    }
    if (total == got)
        return {place, got};
    auto* whole = static_cast<char*>(arena.Allocate(total, 1));
    std::memcpy(whole, place, got);
    std::size_t at = got;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t size = i + 1 < parts.size() ? kPart : lastPart;
        std::memcpy(whole + at, parts[i].get(), size);
        at += size;
    }
    return {whole, total};
}

} // namespace

CHtmlDocument::CHtmlDocument(const IElementFactory& factory)
    : m_factory(factory), m_arena(std::make_unique<CElementArena>())
{
}

CHtmlDocument::~CHtmlDocument()
{
    m_checkIndex.reset();
    List();
    for (CElement* e : m_elements)
        CElement::Destroy(e);
    m_imageMapsByName.clear();
    m_imageMaps.clear();
    for (CElement* e : m_keptAreas)
        CElement::Destroy(e);
    for (CElement* e : m_detached)
        CElement::Destroy(e);
}

// --- Starting and resetting --------------------------------------------------

void CHtmlDocument::ClearTokenizerState()
{
    m_token.Clear();
    m_firstCharacter = true;
    m_inTag = m_inComment = m_dashPair = m_rawMode = false;
    m_insideAnchor = false;
    m_currentAnchor = m_currentStyle = m_currentScript = m_currentBlink = m_currentTextarea = nullptr;
    m_consumed = 0;
    m_tokenStart = 0;
    m_lineStarts.assign(1, 0);
    m_carriageReturnPending = false;
}

int CHtmlDocument::Start(int createMode, bool detach)
{
    m_encoding.reset();
    List();
    if (detach) {
        for (CElement* e : m_elements) {
            e->SetDeleted(true);
            m_detached.push_back(e);
        }
        m_elements.clear();
        m_detachedArenas.push_back(std::move(m_arena));
        for (auto& arena : m_takenArenas)
            m_detachedArenas.push_back(std::move(arena));
        m_takenArenas.clear();
        m_arena = std::make_unique<CElementArena>();
        m_keptPage = {};
    }
    Reset(createMode);
    m_createMode = createMode;
    ClearTokenizerState();
    return 1;
}

void CHtmlDocument::DestroyImageMapsAndKeptAreas()
{
    m_imageMapsByName.clear();
    m_imageMaps.clear();
    for (CElement* e : m_keptAreas)
        CElement::Destroy(e);
    m_keptAreas.clear();
    m_keptAreaArenas.clear();
}

void CHtmlDocument::Reset(int createMode)
{
    m_encoding.reset();
    if (createMode == 1)
        DestroyImageMapsAndKeptAreas();
    bool keptFromArena = false;
    List();
    for (CElement* e : m_elements) {
        if (createMode == 0 && e->Kind() == tag::kArea) {
            m_keptAreas.push_back(e);
            keptFromArena = keptFromArena || e->InArena();
        } else {
            CElement::Destroy(e);
        }
    }
    m_elements.clear();
    m_offsetsApart.clear();
    m_offsetsApartSorted = true;
    m_reading = nullptr;
    m_pendingOutput.clear();
    m_pendingStart = 0;
    m_frameCounter = m_framesetCounter = m_listCounter = 0;
    m_framesLongDescReported = m_htmlChecked = false;
    m_checkIndex.reset();
    if (keptFromArena) {
        m_keptAreaArenas.push_back(std::move(m_arena));
        for (auto& arena : m_takenArenas)
            m_keptAreaArenas.push_back(std::move(arena));
    }
    m_takenArenas.clear();
    m_arena = std::make_unique<CElementArena>();
    m_keptPage = {};
}

// --- Loading from a stream ---------------------------------------------------

int CHtmlDocument::Load(std::istream& in)
{
    Reset(1);
    ClearTokenizerState();

    // The document element stands first. Placed before the page is taken in,
    // it spares renumbering every element of the page, as inserting it in
    // front afterwards would; a page refused drops it again.
    try {
        ElementPtr document(m_factory.Create(kind::kDocument, nullptr));
        document->SetKind(kind::kDocument);
        AppendElement(document.release());
    } catch (const std::bad_alloc&) {
        return 0;
    }
    auto refuse = [this](int reasonId) {
        CElement::Destroy(m_elements.front());
        m_elements.erase(m_elements.begin());
        Renumber(0);
        ReportLoadFailure(reasonId);
        return 0;
    };

    // The page is read whole and kept: its elements point into it instead of
    // holding copies. Pieces end after a line feed or after 499 characters; a
    // carriage return before a line feed is read as part of the break and not
    // counted.
    std::string_view page;
    try {
        page = ReadAll(in, *m_arena);
    } catch (const std::bad_alloc&) {
        return refuse(480);
    }
    m_keptPage = page;
    // Room for the elements of a page of the usual density at once: growing
    // the list step by step would write it anew several times over. Room not
    // used is never touched, so it costs address space, not memory; without
    // it the list grows as it goes.
    try {
        m_elements.reserve(m_elements.size() + page.size() / 8);
    } catch (const std::bad_alloc&) {
    }
    for (std::size_t pos = 0; pos < page.size();) {
        const char* start = page.data() + pos;
        std::size_t available = page.size() - pos;
        std::size_t limit = std::min(available, kPieceLength);
        std::size_t length = limit;
        if (const void* lineFeed = std::memchr(start, '\n', limit))
            length = static_cast<std::size_t>(static_cast<const char*>(lineFeed) - start) + 1;
        else if (limit == kPieceLength && available > limit && start[limit - 1] == '\r' &&
                 start[limit] == '\n')
            length = limit + 1;
        if (!AddLine(std::string_view(start, length)))
            return refuse(480);
        pos += length;
    }

    Finish();

    bool hasTag = std::any_of(m_elements.begin(), m_elements.end(),
                              [](const CElement* e) { return e->Kind() >= 0; });
    if (!hasTag)
        return refuse(479);
    m_reading = m_elements.front();
    return 1;
}

// --- Writing and reading back ------------------------------------------------

int CHtmlDocument::Write(std::ostream& out) const
{
    List();
    std::string rebuilt;
    for (const CElement* e : m_elements) {
        if (e->IsDeleted())
            continue;
        if (e->NeedsRebuild()) {
            rebuilt.clear();
            e->AppendMarkupText(rebuilt);
            out.write(rebuilt.data(), static_cast<std::streamsize>(rebuilt.size()));
        } else {
            std::string_view text = e->Text();
            out.write(text.data(), static_cast<std::streamsize>(text.size()));
        }
        if (!out)
            return 0;
    }
    return 1;
}

std::string CHtmlDocument::Text() const
{
    List();
    std::string text;
    for (const CElement* e : m_elements) {
        if (!e->IsDeleted())
            e->AppendMarkupText(text);
    }
    return text;
}

void CHtmlDocument::StartReading()
{
    List();
    m_reading = m_elements.empty() ? nullptr : m_elements.front();
    m_pendingOutput.clear();
    m_pendingStart = 0;
}

std::string CHtmlDocument::NextLine(bool& more)
{
    more = false;
    if (m_pendingStart >= m_pendingOutput.size()) {
        m_pendingOutput.clear();
        m_pendingStart = 0;
        CElement* e = NextUndeleted();
        if (!e)
            return {};
        e->AppendMarkupText(m_pendingOutput);
        more = true;
    }
    std::size_t scanned = m_pendingStart;
    std::size_t lineFeed = std::string::npos;
    for (;;) {
        lineFeed = m_pendingOutput.find('\n', scanned);
        if (lineFeed != std::string::npos)
            break;
        scanned = m_pendingOutput.size();
        CElement* e = NextUndeleted();
        if (!e)
            break;
        e->AppendMarkupText(m_pendingOutput);
    }
    std::size_t end = lineFeed == std::string::npos ? m_pendingOutput.size() : lineFeed + 1;
    std::string line(m_pendingOutput, m_pendingStart, end - m_pendingStart);
    m_pendingStart = end;
    // Drop what was handed out once it is most of the buffer, so a long element
    // of many lines is not copied again for every line.
    if (m_pendingStart > 4096 && m_pendingStart * 2 > m_pendingOutput.size()) {
        m_pendingOutput.erase(0, m_pendingStart);
        m_pendingStart = 0;
    }
    more = !line.empty();
    return line;
}

// --- Walking -----------------------------------------------------------------

CHtmlDocument::Position CHtmlDocument::FirstPosition() const
{
    List();
    return m_elements.empty() ? nullptr : m_elements.front();
}

CElement* CHtmlDocument::GetNext(Position& pos) const
{
    CElement* e = pos;
    pos = e ? ElementAfter(e) : nullptr;
    return e;
}

CElement* CHtmlDocument::NextUndeleted()
{
    // The page-wide walks come through here for every element: the list is
    // read once, not again for every step.
    const std::vector<CElement*>& list = List();
    while (m_reading) {
        CElement* e = m_reading;
        m_reading = InList(e) && e->m_index + 1 < list.size() ? list[e->m_index + 1] : nullptr;
        if (!e->IsDeleted())
            return e;
    }
    return nullptr;
}

CElement* CHtmlDocument::PreviousUndeleted()
{
    List();
    std::size_t index = m_reading ? m_reading->m_index : m_elements.size();
    while (index > 0) {
        CElement* e = m_elements[--index];
        if (!e->IsDeleted()) {
            m_reading = e;
            return e;
        }
    }
    return nullptr;
}

bool CHtmlDocument::SetReadingPosition(Position pos)
{
    if (!pos || !Find(pos))
        return false;
    m_reading = pos;
    return true;
}

CHtmlDocument::Position CHtmlDocument::Find(const CElement* element) const
{
    List();
    return InList(element) ? m_elements[element->m_index] : nullptr;
}

CElement* CHtmlDocument::ElementAfter(const CElement* element) const
{
    List();
    if (!InList(element))
        return nullptr;
    std::size_t next = element->m_index + 1;
    return next < m_elements.size() ? m_elements[next] : nullptr;
}

CElement* CHtmlDocument::ElementBefore(const CElement* element) const
{
    List();
    if (!InList(element) || element->m_index == 0)
        return nullptr;
    return m_elements[element->m_index - 1];
}

void CHtmlDocument::Renumber(std::size_t from) const
{
    for (std::size_t i = from; i < m_elements.size(); ++i)
        m_elements[i]->m_index = static_cast<std::uint32_t>(i);
    m_placements += m_elements.size() - std::min(from, m_elements.size());
}

bool CHtmlDocument::Holds(const CElement* element) const
{
    // Pending inserts are rare; the page-wide walks ask here for every element.
    return InList(element) || (element && !m_inserted.empty() && m_inserted.count(element));
}

void CHtmlDocument::PlaceInserted() const
{
    std::vector<CElement*> placed;
    placed.reserve(m_elements.size() + m_inserted.size());
    // Walked with a stack, not by recursion: a chain of inserts, each next to
    // the one before, may be as long as the page.
    struct Step {
        CElement* element;
        bool neighboursPlaced;
    };
    std::vector<Step> steps;
    for (CElement* top : m_elements) {
        steps.push_back({top, false});
        while (!steps.empty()) {
            Step step = steps.back();
            steps.pop_back();
            auto found = step.neighboursPlaced ? m_neighbours.end() : m_neighbours.find(step.element);
            if (found == m_neighbours.end()) {
                placed.push_back(step.element);
                continue;
            }
            const Neighbours& around = found->second;
            for (CElement* e : around.after)
                steps.push_back({e, false});
            steps.push_back({step.element, true});
            for (auto it = around.before.rbegin(); it != around.before.rend(); ++it)
                steps.push_back({*it, false});
        }
    }
    m_elements.swap(placed);
    m_inserted.clear();
    m_neighbours.clear();
    Renumber(0);
}

bool CHtmlDocument::Place(const CElement* existing, bool after, CElement* element)
{
    if (!element || !Holds(existing) || Holds(element))
        return false;
    try {
        m_inserted.insert(element);
        try {
            Neighbours& around = m_neighbours[existing];
            (after ? around.after : around.before).push_back(element);
        } catch (const std::bad_alloc&) {
            m_inserted.erase(element);
            throw;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    element->m_index = std::numeric_limits<std::uint32_t>::max();
    return true;
}

int CHtmlDocument::Insert(const CElement* existing, bool after, ElementPtr element)
{
    if (!Place(existing, after, element.get()))
        return 0;
    element.release();
    return 1;
}

int CHtmlDocument::InsertAfter(const CElement* existing, ElementPtr element)
{
    return Insert(existing, true, std::move(element));
}

int CHtmlDocument::InsertBefore(const CElement* existing, ElementPtr element)
{
    return Insert(existing, false, std::move(element));
}

int CHtmlDocument::TakeInAfter(const CElement* existing, CHtmlDocument& fragment)
{
    if (&fragment == this || !Holds(existing))
        return 0;
    fragment.List();
    std::vector<CElement*> taken;
    try {
        auto freshArena = std::make_unique<CElementArena>();
        m_takenArenas.reserve(m_takenArenas.size() + 1);
        // Room for the failure below, which must not fail itself.
        m_detached.reserve(m_detached.size() + fragment.Size());
        m_detachedArenas.reserve(m_detachedArenas.size() + 1);
        taken.swap(fragment.m_elements);
        m_takenArenas.push_back(std::move(fragment.m_arena));
        fragment.m_arena = std::move(freshArena);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    // The fragment's image maps name elements that are no longer its own.
    fragment.DestroyImageMapsAndKeptAreas();
    fragment.m_checkIndex.reset();
    fragment.m_keptPage = {};
    fragment.m_offsetsApart.clear();
    fragment.m_reading = nullptr;
    fragment.m_pendingOutput.clear();
    fragment.m_pendingStart = 0;

    const CElement* previous = existing;
    for (std::size_t i = 0; i < taken.size(); ++i) {
        CElement* element = taken[i];
        if (!Place(previous, true, element)) {
            for (std::size_t j = 0; j < i; ++j)
                taken[j]->SetDeleted(true);
            for (std::size_t j = i; j < taken.size(); ++j) {
                taken[j]->SetDeleted(true);
                m_detached.push_back(taken[j]);
            }
            // The elements left over live in it until the page goes.
            m_detachedArenas.push_back(std::move(m_takenArenas.back()));
            m_takenArenas.pop_back();
            return 0;
        }
        previous = element;
    }
    return 1;
}

// --- Image maps ----------------------------------------------------------------

int CHtmlDocument::AddImageMap(std::unique_ptr<CImageMap> map)
{
    if (!map)
        return 0;
    std::string name = map->Name();
    m_imageMaps.push_back(std::move(map));
    m_imageMapsByName[name].push_back(std::prev(m_imageMaps.end()));
    return 1;
}

void CHtmlDocument::EraseImageMap(ImageMapList::iterator it)
{
    auto named = m_imageMapsByName.find((*it)->Name());
    if (named != m_imageMapsByName.end()) {
        auto& same = named->second;
        same.erase(std::find(same.begin(), same.end(), it));
        if (same.empty())
            m_imageMapsByName.erase(named);
    }
    m_imageMaps.erase(it);
}

int CHtmlDocument::RemoveImageMap(const CImageMap* map)
{
    // Compared by address only: the caller may hold a model that is gone already.
    auto it = std::find_if(m_imageMaps.begin(), m_imageMaps.end(),
                           [map](const auto& owned) { return owned.get() == map; });
    if (!map || it == m_imageMaps.end())
        return 0;
    EraseImageMap(it);
    return 1;
}

void CHtmlDocument::RemoveImageMapByName(std::string_view name)
{
    if (!name.empty() && name.front() == '#')
        name.remove_prefix(1);
    auto named = m_imageMapsByName.find(std::string(name));
    if (named != m_imageMapsByName.end())
        EraseImageMap(named->second.front());
}

CImageMap* CHtmlDocument::FindImageMap(std::string_view name) const
{
    auto named = m_imageMapsByName.find(std::string(name));
    return named == m_imageMapsByName.end() ? nullptr : named->second.front()->get();
}

// --- Queries -------------------------------------------------------------------

std::string CHtmlDocument::InnerText(const CElement& element, int maxLength) const
{
    std::string text;
    for (const CElement* e : ElementsInside(element)) {
        if (e->Kind() != kind::kText || e->IsDeleted())
            continue;
        bool wasEmpty = text.empty();
        AppendWithoutBreakReturns(text, e->Text());
        // Only the ends can carry white space: what was kept before is trimmed already.
        std::size_t end = text.size();
        while (end > 0 && IsSpace(text[end - 1]))
            --end;
        text.resize(end);
        if (wasEmpty) {
            std::size_t begin = 0;
            while (begin < text.size() && IsSpace(text[begin]))
                ++begin;
            text.erase(0, begin);
        }
        if (maxLength >= 0 && text.size() > static_cast<std::size_t>(maxLength)) {
            text.resize(static_cast<std::size_t>(maxLength));
            text += "...";
            break;
        }
    }
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

std::span<CElement* const> CHtmlDocument::ElementsInside(const CElement& element) const
{
    const CElement* partner = element.Partner();
    List();
    if (!partner || !Find(&element) || !Find(partner) || partner->m_index <= element.m_index)
        return {};
    return std::span<CElement* const>(m_elements).subspan(element.m_index + 1,
                                                          partner->m_index - element.m_index - 1);
}

std::string CHtmlDocument::FileName() const
{
    std::size_t slash = m_name.find_last_of('/');
    return slash == std::string::npos ? m_name : m_name.substr(slash + 1);
}

bool CHtmlDocument::HasBodyText() const
{
    List();
    bool inBody = false;
    for (const CElement* e : m_elements) {
        if (e->Kind() == tag::kBody)
            inBody = true;
        else if (e->Kind() == tag::kBody + kind::kEndOffset)
            inBody = false;
        else if (inBody && e->Kind() == kind::kText && TextLength(e->Text()) > 15)
            return true;
    }
    return false;
}

std::uint64_t CHtmlDocument::SourceOffsetOf(const CElement& element) const
{
    if (!m_offsetsApart.empty()) {
        const auto byElement = [](const std::pair<const CElement*, std::uint64_t>& entry, const CElement* e) {
            return std::less<const CElement*>()(entry.first, e);
        };
        auto it = m_offsetsApartSorted
                      ? std::lower_bound(m_offsetsApart.begin(), m_offsetsApart.end(), &element, byElement)
                      : std::find_if(m_offsetsApart.begin(), m_offsetsApart.end(),
                                     [&element](const auto& entry) { return entry.first == &element; });
        if (it != m_offsetsApart.end() && it->first == &element)
            return it->second;
    }
    const std::string_view text = element.Text();
    if (!text.empty() && InKeptPage(text))
        return static_cast<std::uint64_t>(text.data() - m_keptPage.data());
    return CElement::kNoSource;
}

SourceLocation CHtmlDocument::LocationOf(const CElement& element) const
{
    std::uint64_t offset = SourceOffsetOf(element);
    if (offset == CElement::kNoSource)
        return {};
    auto after = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), offset);
    std::uint64_t line = static_cast<std::uint64_t>(after - m_lineStarts.begin());
    return {line, offset - *(after - 1) + 1};
}

void CHtmlDocument::ParseAttributes(CElement& element) { m_parser.Parse(element, m_arena.get()); }

} // namespace orvane

namespace orvane {

const PageEncoding& CHtmlDocument::Encoding() const
{
    if (m_encoding)
        return *m_encoding;
    const std::vector<CElement*>& list = List();
    std::string head;
    for (const CElement* e : list) {
        if (head.size() >= 1024)
            break;
        head.append(e->Text().substr(0, 1024 - head.size()));
    }
    PageEncoding found;
    if (!FindDeclaredEncoding(head, found)) {
        // A multi-byte character never spans elements: they part at < and >.
        bool valid = true;
        bool nonAscii = false;
        for (const CElement* e : list) {
            bool beyond = false;
            if (!IsValidUtf8(e->Text(), &beyond)) {
                valid = false;
                break;
            }
            nonAscii = nonAscii || beyond;
        }
        found.source = valid ? PageEncoding::Source::Utf8Content : PageEncoding::Source::Fallback;
        found.name = valid ? "UTF-8" : "windows-1252";
        found.writeName = !valid ? "windows-1252" : nonAscii ? "UTF-8" : "US-ASCII";
    }
    m_encoding = found;
    return *m_encoding;
}

std::string CHtmlDocument::UserText(std::string_view bytes, TextPlace place) const
{
    return PageTextToUser(bytes, Encoding(), place);
}

bool CHtmlDocument::ReadsAsItsBytes(std::string_view bytes)
{
    // A NUL stands in the text of a UTF-16 page, whose ASCII is not one byte.
    auto plain = [](char c) { return c != '&' && c != '\0' && static_cast<unsigned char>(c) < 0x80; };
    // Eight bytes at a time: every text of a page is asked about.
    constexpr std::uint64_t kOnes = 0x0101010101010101u, kHighs = 0x8080808080808080u, kAmpersands = 0x2626262626262626u;
    auto hasZeroByte = [&](std::uint64_t word) { return ((word - kOnes) & ~word & kHighs) != 0; };
    std::size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + at, 8);
        if ((word & kHighs) || hasZeroByte(word) || hasZeroByte(word ^ kAmpersands))
            return false;
    }
    return std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end(), plain);
}

std::string CHtmlDocument::ComparedText(std::string_view bytes, TextPlace place) const
{
    return ReadsAsItsBytes(bytes) ? std::string(bytes) : UserText(bytes, place);
}

std::string CHtmlDocument::PageBytes(std::string_view text, TextPlace place) const
{
    return UserTextToPage(text, Encoding(), place);
}

} // namespace orvane
