#include "image_checks.h"

#include "check_index.h"
#include "page_indexes.h"
#include "text_search.h"
#include "library/html/image_map.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"

#include <algorithm>
#include <limits>

namespace orvane {

namespace {

constexpr std::string_view kSizeWord = "bytes";

// Searched anywhere in the text, letter case aside.
constexpr CDottedEndings<13> kImageExtensions({".bmp", ".jpg", ".jpeg", ".gif", ".png", ".tif", ".pct", ".pic",
                                               ".iff", ".tiff", ".dib", ".tga", ".pcx"},
                                              true);

constexpr std::string_view kPlaceholderWords[] = {"image",   "photo",     "bild",   "bilder",   "bild1",
                                                  "bild2",   "foto",      "fotos",  "logo",     "logos",
                                                  "graphik", "graphiken", "grafik", "grafiken", "clip"};

// A text between an image and its long-description link may be a bracket or
// a separator, not words.
constexpr std::size_t kLongestTextBeforeLink = 4;
// A "d" link's text is the letter with at most a few decorations: "[d]", "(D)".
constexpr std::size_t kShortDLinkText = 6;

const CElement* NextUndeletedAfter(const CHtmlDocument& document, std::size_t index)
{
    const auto& elements = document.Elements();
    for (std::size_t i = index + 1; i < elements.size(); ++i) {
        if (!elements[i]->IsDeleted())
            return elements[i];
    }
    return nullptr;
}

// The text of a "d" link: a short text holding the letter d in either case.
bool IsDLinkText(const CElement* element)
{
    if (!element || element->Kind() != kind::kText)
        return false;
    std::string text = ToLower(Trim(element->Text()));
    return TextLength(text) < kShortDLinkText && text.find('d') != std::string::npos;
}

} // namespace

bool IsSuspiciousText(std::string_view text)
{
    if (ContainsIgnoreCase(text, kSizeWord) || kImageExtensions.FoundIn(text))
        return true;
    return std::any_of(std::begin(kPlaceholderWords), std::end(kPlaceholderWords),
                       [&](std::string_view word) { return EqualsIgnoreCase(text, word); });
}

bool PassesDLinkTest(const CHtmlDocument& document, const CElement& image)
{
    // Nothing that precedes the image matters, so the walk starts at it.
    if (!document.Find(&image))
        return false;
    const CAttribute* longdesc = image.FindAttribute(attr::kLongdesc);
    const bool hasLongdesc = longdesc && !longdesc->IsEmpty();
    const auto& elements = document.Elements();
    for (std::size_t i = document.IndexOf(image) + 1; i < elements.size(); ++i) {
        const CElement* e = elements[i];
        if (e->IsDeleted())
            continue;
        const int kind = e->Kind();
        if (kind == kind::kText) {
            if (TextLength(Trim(e->Text())) > kLongestTextBeforeLink)
                return false;
            continue;
        }
        if (kind == tag::kA) {
            if (!hasLongdesc)
                return IsDLinkText(NextUndeletedAfter(document, i));
            const CAttribute* href = e->FindAttribute(attr::kHref);
            return href && EqualsIgnoreCase(href->Value(), longdesc->Value());
        }
        // Any other content ends the neighbourhood; end tags (the end of a link
        // the image stands in, say) do not.
        if (kind < kind::kEndOffset)
            return false;
    }
    return false;
}

CImageMap* FindMap(const CHtmlDocument& document, std::string_view usemap)
{
    if (!usemap.empty() && usemap.front() == '#')
        usemap.remove_prefix(1);
    return document.FindImageMap(usemap);
}

std::string AddressAsRead(std::string_view address)
{
    static constexpr std::pair<std::string_view, char> kNamed[] = {
        {"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"quot;", '"'}, {"apos;", '\''}};
    std::string read;
    read.reserve(address.size());
    for (std::size_t i = 0; i < address.size(); ++i) {
        if (address[i] != '&') {
            read.push_back(address[i]);
            continue;
        }
        const std::string_view rest = address.substr(i + 1);
        bool resolved = false;
        for (const auto& [name, character] : kNamed) {
            if (rest.size() >= name.size() && EqualsIgnoreCase(rest.substr(0, name.size()), name)) {
                read.push_back(character);
                i += name.size();
                resolved = true;
                break;
            }
        }
        if (!resolved && rest.size() > 2 && rest[0] == '#') {
            const bool hex = rest[1] == 'x' || rest[1] == 'X';
            std::size_t at = hex ? 2 : 1;
            unsigned value = 0;
            const std::size_t digits = at;
            while (at < rest.size() && at < digits + 6 &&
                   (hex ? IsHexDigit(rest[at]) : (rest[at] >= '0' && rest[at] <= '9'))) {
                const char c = rest[at];
                const unsigned digit = c <= '9' ? unsigned(c - '0') : unsigned((c | 0x20) - 'a' + 10);
                value = value * (hex ? 16 : 10) + digit;
                ++at;
            }
            // Only characters of one byte: an address is compared as bytes.
            if (at > digits && at < rest.size() && rest[at] == ';' && value > 0 && value < 0x80) {
                read.push_back(static_cast<char>(value));
                i += at + 1;
                resolved = true;
            }
        }
        if (!resolved)
            read.push_back('&');
    }
    return read;
}

CLinkTargetIndex::CLinkTargetIndex(const CHtmlDocument& document)
    : m_links(PageIndex<CLinkAddressIndex>(document))
{
    for (const auto& map : document.ImageMaps()) {
        for (const CElement* area : map->Areas()) {
            const CAttribute* href = area->FindAttribute(attr::kHref);
            if (!href)
                continue;
            if (href->Value().find('&') == std::string_view::npos)
                m_counts.try_emplace(href->Value(), 0);
            else if (std::string read = AddressAsRead(href->Value()); !m_counts.contains(read))
                m_counts.try_emplace(m_read.emplace_back(std::move(read)), 0);
        }
    }
    if (m_counts.empty())
        return;
    for (std::string_view address : m_links->addresses) {
        auto it = address.find('&') == std::string_view::npos ? m_counts.find(address)
                                                               : m_counts.find(AddressAsRead(address));
        if (it != m_counts.end())
            ++it->second;
    }
}

CLinkTargetIndex::~CLinkTargetIndex() = default;

std::size_t CLinkTargetIndex::CountOf(std::string_view href) const
{
    const std::string read = AddressAsRead(href);
    if (auto it = m_counts.find(read); it != m_counts.end())
        return it->second;
    // An address no area of the page has, asked about for a map of its own.
    return static_cast<std::size_t>(std::count_if(m_links->addresses.begin(), m_links->addresses.end(),
                                                  [&](std::string_view address) { return AddressAsRead(address) == read; }));
}

bool PassesMapTextLinksTest(const CImageMap& map, const CHtmlDocument& document)
{
    // Each link of the page strikes out one area of its address; the test
    // passes once all are struck out, so what counts is, for every address,
    // that the page has at least as many links to it as the map has areas.
    std::unordered_map<std::string, std::size_t> areasByAddress;
    for (const CElement* area : map.Areas()) {
        if (const CAttribute* href = area->FindAttribute(attr::kHref))
            ++areasByAddress[AddressAsRead(href->Value())];
    }
    if (areasByAddress.empty())
        return false;
    auto links = PageIndex<CLinkTargetIndex>(document);
    return std::all_of(areasByAddress.begin(), areasByAddress.end(),
                       [&](const auto& entry) { return links->CountOf(entry.first) >= entry.second; });
}

bool PassesAreasAlternativesTest(const CImageMap& map)
{
    return std::all_of(map.Areas().begin(), map.Areas().end(), [](const CElement* area) {
        const CAttribute* alt = area->FindAttribute(attr::kAlt);
        return alt && !alt->IsEmpty();
    });
}

int DimensionValue(const CAttribute& attribute)
{
    long long value = attribute.NumericValue();
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

} // namespace orvane
