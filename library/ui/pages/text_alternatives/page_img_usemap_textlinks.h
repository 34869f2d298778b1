#pragma once

#include "library/ui/page_validator_base.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class CElement;
class CHtmlDocument;
class CImageMap;
class CSrcImageMap;

// Repeats the links of a client-side image map as a row of text links right
// after its image ("[ Tickets | Lighthouse ]"), for readers who cannot see
// or point at the image. One row per area with a link, its text proposed from
// the area's alt text, edited in place; the row is previewed as written. A
// map that several images use gets its row once, after the first of them.
class CPageImgUsemapTextlinks final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 205;
    static constexpr int kLinks = 1157;
    static constexpr int kImagePreview = 1233;
    static constexpr int kRowPreview = 1234;
    static constexpr int kTextColumn = 0;
    static constexpr int kTargetColumn = 1;

    struct TextLink {
        std::string text;
        std::string target;
    };

    CPageImgUsemapTextlinks(CHtmlDocument& document, CImageMap& map, std::string_view imageSource,
                            std::string_view lineEnd);
    std::string_view ClassName() const override { return "CPageImgUsemapTextlinks"; }

    CImageMap& Map() const { return m_map; }
    // Whether the map has a link to repeat: areas without one need no text link.
    bool HasLinks() const { return !m_links.empty(); }
    // Another image that uses the same map: the row written for the first
    // image serves it too, and its problem is marked with this page's.
    void AlsoServes(CElement& image);

    void Undo() override;
    bool Apply() override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;

    // The row as written into the page.
    // The row in the encoding given (a preview is shown in UTF-8, the page written in its own).
    static std::string RowMarkup(const std::vector<TextLink>& links, std::string_view lineEnd,
                                 const PageEncoding& encoding);
    // What the image maps' pages share: the row shown as the page will show
    // it; the element the row is written as, made (deleted) on first use
    // right after the image, or after the link around it, as a link may not
    // hold another, and after the image's "d" link where it has one; and the
    // registry's record that the map has text links.
    static void PreviewRow(CPageValidatorBase& page, const std::vector<TextLink>& links, int browserId);
    static CElement* InsertRowAfter(CHtmlDocument& document, const CElement& image);
    // Writes the links into the row, made first when there is none yet (and
    // the page has an image); false when the row could not take them.
    static bool WriteRow(CHtmlDocument& document, const CElement* image, CElement*& row,
                         const std::vector<TextLink>& links, std::string_view lineEnd, const PageEncoding& encoding);
    // Chooses the first link of the list that has no text, for the user to
    // give it one: a link without a text is announced by its address, or not
    // at all. False when every link has a text.
    static bool ChooseLinkWithoutText(platform::IWindow& window, int list, const std::vector<TextLink>& links);
    // record: the registry's record of the map, found or made on first use.
    static void RememberTextLinks(const CPageValidatorBase& page, const CHtmlDocument& document,
                                  std::string_view mapTitle, bool written, CSrcImageMap*& record);

protected:
    void Initialise() override;

private:
    void ReadRows();
    void MarkServed(bool repaired);

    CHtmlDocument& m_document;
    CImageMap& m_map;
    std::string m_imageSource;
    std::string m_lineEnd;
    std::vector<TextLink> m_links;
    std::vector<CElement*> m_alsoServed;
    CElement* m_row = nullptr;
    CSrcImageMap* m_mapRecord = nullptr;
};

} // namespace orvane
