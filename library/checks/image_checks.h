#pragma once

#include "library/html/html_document.h"

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace orvane {

class CImageMap;
struct CLinkAddressIndex;

// The longest alternative text that still passes: one character more is too long.
inline constexpr std::size_t kLongAltText = 170;

// An alternative text that looks like a file name, a file size or a mere
// placeholder word ("image", "logo", ...) rather than a description.
bool IsSuspiciousText(std::string_view text);

// Whether an image with a long description is followed closely by a link to
// it, or by a link whose text is a short "d".
bool PassesDLinkTest(const CHtmlDocument& document, const CElement& image);

// The client-side map a usemap value names: one leading '#' is dropped, and
// the name must match exactly, letter case included. Null when none does.
CImageMap* FindMap(const CHtmlDocument& document, std::string_view usemap);

// An address as a browser reads it from an attribute: the character
// references of the markup characters (&amp; &#38; ...) resolved, so that
// "a?x=1&y=2" and "a?x=1&amp;y=2" are the same address.
std::string AddressAsRead(std::string_view address);

// How many links (a start tags not deleted) of the page go to each address
// an area of the page's image maps links to, compared as read (AddressAsRead):
// only those addresses are asked about, so only they are counted in advance.
class CLinkTargetIndex {
public:
    explicit CLinkTargetIndex(const CHtmlDocument& document);
    ~CLinkTargetIndex();
    std::size_t CountOf(std::string_view href) const;

private:
    std::shared_ptr<const CLinkAddressIndex> m_links;
    // The addresses lie in the areas' attributes, which stay while the index
    // does, or, when they had references to resolve, in m_read.
    std::unordered_map<std::string_view, std::size_t> m_counts;
    std::deque<std::string> m_read;
};

// Whether every link of the map's areas is repeated by a text link on the
// page: each area address needs as many links to it as areas carry it. A map
// whose areas have no address fails.
bool PassesMapTextLinksTest(const CImageMap& map, const CHtmlDocument& document);

// Whether every area of the map has a non-empty alternative text.
bool PassesAreasAlternativesTest(const CImageMap& map);

// The number an image's width or height attribute holds, within the range of
// the field that keeps it.
int DimensionValue(const CAttribute& attribute);

} // namespace orvane
