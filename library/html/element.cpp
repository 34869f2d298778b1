#include "element.h"

#include "attribute_parser.h"
#include "element_factory.h"
#include "page_text.h"
#include "tag_table.h"
#include "one_line.h"
#include "text_util.h"

#include <bit>
#include <cctype>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_map>
#include <utility>

namespace orvane {
namespace {

// Only repairs mark elements repaired, so the marks live here, by element,
// instead of costing every element of every page a field. Pages are checked
// on several threads at once, hence the lock; the table is never destroyed,
// so elements of static lifetime may still leave it.
class CRepairedMarks {
public:
    static CRepairedMarks& Instance()
    {
        static auto* marks = new CRepairedMarks();
        return *marks;
    }

    std::uint64_t Get(const CElement* element)
    {
        std::lock_guard lock(m_mutex);
        auto it = m_masks.find(element);
        return it == m_masks.end() ? 0 : it->second;
    }
    // A mask of 0 drops the element's entry.
    void Set(const CElement* element, std::uint64_t mask)
    {
        std::lock_guard lock(m_mutex);
        if (mask == 0)
            m_masks.erase(element);
        else
            m_masks[element] = mask;
    }

private:
    std::mutex m_mutex;
    // The repaired bits in the low half, those repaired in part in the high half.
    std::unordered_map<const CElement*, std::uint64_t> m_masks;
};

} // namespace

CElement::~CElement()
{
    // Most elements of a dropped page own nothing: nothing is called for them.
    if (m_firstAttribute)
        DestroyAttributes();
    if (m_textOwned)
        ReleaseText();
    if (m_repaired)
        CRepairedMarks::Instance().Set(this, 0);
}

void CElement::ReleaseText()
{
    if (m_textOwned)
        delete[] m_textData;
    m_textData = "";
    m_textSize = 0;
    m_textOwned = false;
}

bool CElement::BorrowText(std::string_view text)
{
    if (text.size() > kMaxTextSize)
        return false;
    ReleaseText();
    m_textData = text.empty() ? "" : text.data();
    m_textSize = static_cast<std::uint32_t>(text.size());
    return true;
}

std::uint32_t CElement::KeptRepairedMask() const
{
    return static_cast<std::uint32_t>(CRepairedMarks::Instance().Get(this));
}

std::uint32_t CElement::PartlyRepairedMask() const
{
    return m_repaired ? static_cast<std::uint32_t>(CRepairedMarks::Instance().Get(this) >> 32) : 0;
}

void CElement::Destroy(CElement* element)
{
    if (!element)
        return;
    if (!element->m_inArena) {
        delete element;
    } else if (!element->m_plain || element->m_firstAttribute || element->m_textOwned || element->m_repaired) {
        element->~CElement();
    }
    // else: most elements of a page are plain and own nothing, and their
    // memory goes with the arena, so there is nothing to run.
}

void CElement::Destroy(CAttribute* attribute)
{
    if (!attribute)
        return;
    if (attribute->m_inArena)
        attribute->~CAttribute();
    else
        delete attribute;
}

int CElement::Check(COrvaneSettings&, CHtmlDocument&, int) { return 0; }
int CElement::AddRepairPages(CValidatorSheet&, CHtmlDocument&, std::uint32_t) { return 0; }
std::uint32_t CElement::GetCheckMask() const { return 0; }
std::string CElement::GetCheckName(std::uint32_t) const { return {}; }
std::string CElement::GetCheckTitle(std::uint32_t) const { return {}; }
namespace {

constexpr std::size_t kShownTagLength = 72;

// A start tag as the user reads the source: in the page's encoding, its line
// breaks and runs of blanks one blank, cut after a few attributes.
std::string ShownStartTag(std::string_view markup, const PageEncoding& encoding)
{
    std::string shown = CollapseSpaces(PageBytesToUtf8(markup, encoding));
    if (shown.size() > kShownTagLength) {
        std::size_t cut = kShownTagLength;
        while (cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80)
            --cut;
        shown.resize(cut);
        shown += "...";
    }
    return shown;
}

} // namespace

std::string CElement::GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const
{
    // A general warning stands in the overview under the warnings' common
    // name, so its own title is what tells it apart.
    if (!IsGrouped(bit)) {
        if (std::string title = GetCheckTitle(bit); !title.empty())
            return title;
    }
    // A problem of the element as a whole, under its check's title: the
    // element is told apart by its start tag.
    if (Kind() > 0 && Kind() < kind::kCommentEnd) {
        if (std::string tag = ShownStartTag(MarkupText(), encoding); !tag.empty())
            return tag;
    }
    return GetCheckTitle(bit);
}
std::string CElement::GetWarningHelpTopic(std::uint32_t) const { return {}; }
int CElement::GetWarningTextId(std::uint32_t) const { return 0; }
int CElement::GetPriority(std::uint32_t) const { return 3; }
bool CElement::IsSection508(std::uint32_t) const { return false; }
bool CElement::IsGrouped(std::uint32_t) const { return true; }
bool CElement::HasAutoRepair(std::uint32_t) const { return false; }
int CElement::GetRememberedDefault(std::uint32_t) const { return 0; }
void CElement::PrepareRepair() {}

void CElement::AttachInner(CElement&) {}
void CElement::CollectText(std::string_view) {}
void CElement::SetOrdinal(int) {}
void CElement::SetEnclosingAnchor(CElement&) {}

bool CElement::UsesColour() const
{
    if (const CAttribute* style = FindAttribute(attr::kStyle)) {
        std::string lowered = ToLower(style->Value());
        if (lowered.find("color") != std::string::npos ||
            lowered.find("background") != std::string::npos)
            return true;
    }
    const CAttribute* colour = FindAttribute(attr::kColor);
    return colour && !colour->IsEmpty();
}

int CElement::ProblemCount() const { return std::popcount(m_problemMask); }

void CElement::SetRepaired(std::uint32_t bit, bool on)
{
    const std::uint32_t old = RepairedMask();
    const std::uint32_t mask = on ? old | bit : old & ~bit;
    if (mask == old)
        return;
    const std::uint64_t partly = std::uint64_t{PartlyRepairedMask()} << 32;
    CRepairedMarks::Instance().Set(this, partly | mask);
    m_repaired = (partly | mask) != 0;
}

void CElement::SetPartlyRepaired(std::uint32_t bit, bool on)
{
    const std::uint32_t old = PartlyRepairedMask();
    const std::uint32_t mask = on ? old | bit : old & ~bit;
    if (mask == old)
        return;
    const std::uint64_t marks = (std::uint64_t{mask} << 32) | RepairedMask();
    CRepairedMarks::Instance().Set(this, marks);
    m_repaired = marks != 0;
}

bool CElement::IsRepaired(std::uint32_t bit, int mode) const
{
    if (mode == 1 && m_problemMask == 0)
        return true;
    const std::uint32_t repaired = RepairedMask();
    if (bit == 0)
        return repaired != 0;
    return (repaired & bit) != 0;
}

bool CElement::SetText(std::string_view text)
{
    if (text.size() > kMaxTextSize)
        return false;
    char* copy = nullptr;
    if (!text.empty()) {
        copy = new (std::nothrow) char[text.size()];
        if (!copy)
            return false;
        std::memcpy(copy, text.data(), text.size());
    }
    // The name read from the text must keep the name the text has now.
    if (!MakeNameRecord()) {
        delete[] copy;
        return false;
    }
    if (m_textOwned) {
        // Attributes may borrow from the text that goes away.
        for (CAttribute* a = m_firstAttribute; a; a = a->m_next) {
            if (!a->Materialize()) {
                delete[] copy;
                return false;
            }
        }
    }
    ReleaseText();
    if (copy) {
        m_textData = copy;
        m_textSize = static_cast<std::uint32_t>(text.size());
        m_textOwned = true;
    }
    return true;
}

namespace {
// Where the name stands in a tag's text: after "<" or "</", and the blanks
// the tag table reads past there ("< ol>" is an ol).
std::pair<std::size_t, std::size_t> NameSpan(std::string_view text)
{
    if (text.empty() || text[0] != '<')
        return {0, 0};
    auto blanks = [&](std::size_t at) {
        while (at < text.size() && IsSpace(text[at]))
            ++at;
        return at;
    };
    std::size_t start = blanks(1);
    if (start < text.size() && text[start] == '/')
        start = blanks(start + 1);
    std::size_t end = start;
    while (end < text.size() && std::isalnum(static_cast<unsigned char>(text[end])))
        ++end;
    return {start, end};
}
} // namespace

std::string_view CElement::WrittenTagName() const
{
    const auto [start, end] = NameSpan(Text());
    return Text().substr(start, end - start);
}

bool CElement::RenameTag(std::string_view name, int kind)
{
    const std::string_view text = Text();
    const auto [start, end] = NameSpan(text);
    if (end == start || name.empty())
        return false;
    const std::string_view old = text.substr(start, end - start);
    const bool upper = std::isupper(static_cast<unsigned char>(old[0])) != 0;
    std::string written(name);
    for (char& c : written)
        c = static_cast<char>(upper ? std::toupper(static_cast<unsigned char>(c))
                                    : std::tolower(static_cast<unsigned char>(c)));
    std::string renamed;
    renamed.reserve(text.size() - old.size() + written.size());
    renamed.append(text.substr(0, start)).append(written).append(text.substr(end));
    const std::string oldName(old);
    if (!SetText(renamed))
        return false;
    // A tag rebuilt from its attributes writes the name's record first.
    if (CAttribute* record = m_firstAttribute; record && record->Id() == attr::kOther) {
        std::string recorded(record->Name());
        if (const std::size_t at = recorded.find(oldName); at != std::string::npos) {
            recorded.replace(at, oldName.size(), written);
            record->NameByText(recorded, true);
        }
    }
    SetKind(kind);
    return true;
}

CAttribute* CElement::FirstAttribute() const
{
    if (!MakeNameRecord())
        throw std::bad_alloc();
    return m_firstAttribute;
}

bool CElement::MakeNameRecord() const noexcept
{
    if (!m_implicitName)
        return true;
    auto* name = new (std::nothrow) CAttribute();
    if (!name)
        return false;
    // Borrowed like a parsed name: SetText gives it a copy before the text goes.
    const std::string_view text = CAttributeParser::LeadingName(Text());
    name->m_text = text.data();
    name->m_nameSize = static_cast<std::uint32_t>(text.size());
    name->m_id = attr::kOther;
    name->m_next = m_firstAttribute;
    m_firstAttribute = name;
    m_implicitName = false;
    return true;
}

CAttribute* CElement::FindAttribute(int id) const
{
    if (id == attr::kOther && m_implicitName)
        return FirstAttribute();
    for (CAttribute* a = m_firstAttribute; a; a = a->m_next) {
        if (a->m_id == id)
            return a;
    }
    return nullptr;
}

int CElement::AttributeCount() const
{
    int count = m_implicitName ? 1 : 0;
    for (CAttribute* a = m_firstAttribute; a; a = a->m_next)
        ++count;
    return count;
}

int CElement::InsertAttribute(std::unique_ptr<CAttribute> owned)
{
    // The rules place by the records in the list, the element name among them.
    if (!MakeNameRecord())
        throw std::bad_alloc();
    CAttribute* attribute = owned.release();
    CAttribute** link = &m_firstAttribute;
    bool placed = false;
    if ((m_kind == tag::kImg || m_kind == tag::kInput) && attribute->m_id == attr::kAlt) {
        // An image's (or image button's) alt goes right after its src, so rebuilt tags read naturally.
        for (CAttribute** at = &m_firstAttribute; *at; at = &(*at)->m_next) {
            if ((*at)->m_id == attr::kUnnamed) {
                link = at;
                placed = true;
                break;
            }
            if ((*at)->m_id == attr::kSrc) {
                link = &(*at)->m_next;
                placed = true;
                break;
            }
        }
    }
    if (!placed) {
        for (CAttribute** at = &m_firstAttribute; *at; at = &(*at)->m_next) {
            if ((*at)->m_id == attr::kSlash) {
                link = at;
                placed = true;
                break;
            }
        }
    }
    if (!placed) {
        while (*link)
            link = &(*link)->m_next;
        SplitClosingSlash();
        for (CAttribute** at = &m_firstAttribute; *at; at = &(*at)->m_next) {
            if ((*at)->m_id == attr::kSlash) {
                link = at;
                break;
            }
        }
    }
    attribute->m_next = *link;
    *link = attribute;
    return 1;
}

void CElement::SplitClosingSlash()
{
    // A slash written right after the last name (<br/>, <input checked/>)
    // belongs to that name as parsed; for a new attribute to go before it,
    // it becomes the "/" attribute of its own.
    CAttribute* last = m_firstAttribute;
    while (last && last->m_next)
        last = last->m_next;
    if (!last || last->HasValue() || last->Name().size() < 2 || last->Name().back() != '/')
        return;
    auto slash = std::make_unique<CAttribute>();
    slash->NameByText("/", false);
    std::string name(last->Name().substr(0, last->Name().size() - 1));
    last->NameByText(name, last == m_firstAttribute);
    last->m_next = slash.release();
}

void CElement::DestroyAttributes()
{
    CAttribute* a = m_firstAttribute;
    m_firstAttribute = nullptr;
    m_implicitName = false;
    while (a) {
        CAttribute* next = a->m_next;
        Destroy(a);
        a = next;
    }
}

bool CElement::NeedsRebuild() const
{
    if (!m_firstAttribute && !m_implicitName)
        return false;
    if (m_modified)
        return true;
    for (CAttribute* a = m_firstAttribute; a; a = a->m_next) {
        if (!a->m_hidden && a->m_changed)
            return true;
    }
    return false;
}

void CElement::AppendMarkupText(std::string& out) const
{
    if (!NeedsRebuild()) {
        out.append(Text());
        return;
    }
    out.push_back('<');
    bool first = true;
    if (m_implicitName) {
        out.append(CAttributeParser::LeadingName(Text()));
        first = false;
    }
    std::string piece;
    for (CAttribute* a = m_firstAttribute; a; a = a->m_next) {
        if (a->m_hidden)
            continue;
        piece.clear();
        a->AppendAttributeText(piece);
        if (piece.empty())
            continue;
        if (!first)
            out.push_back(' ');
        out.append(piece);
        first = false;
    }
    out.push_back('>');
}

std::string CElement::MarkupText() const
{
    std::string text;
    AppendMarkupText(text);
    return text;
}

const CPlainElementFactory& CPlainElementFactory::Instance()
{
    static const CPlainElementFactory factory;
    return factory;
}

CElement* CPlainElementFactory::Create(int, CElementArena* arena) const
{
    return MakeElement<CElement>(arena);
}

} // namespace orvane
