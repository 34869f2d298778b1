#pragma once

#include "library/ui/pages/text_alternatives/page_img_usemap_textlinks.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class CElement;
class CHtmlDocument;

// Gives a server-side image map a row of text links right after it. Which
// regions the server's map file knows is not in the page, so the user adds
// the links one by one, a text and the address it leads to; texts are edited
// in place, links removed again. (Converting the map into one in the page
// is the image's other page.)
class CPageIsmapTextlinks final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 1327;
    static constexpr int kLinks = 1157;
    static constexpr int kText = 1010;
    static constexpr int kAddress = 1011;
    static constexpr int kAdd = 1012;
    static constexpr int kRemove = 1013;
    static constexpr int kServerMap = 1015;
    static constexpr int kImagePreview = 1233;
    static constexpr int kRowPreview = 1234;
    static constexpr int kTextColumn = 0;
    static constexpr int kTargetColumn = 1;

    CPageIsmapTextlinks(CHtmlDocument& document, std::string_view imageSource, std::string_view lineEnd);
    std::string_view ClassName() const override { return "CPageIsmapTextlinks"; }

    void Undo() override;
    bool Apply() override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;

protected:
    void Initialise() override;

private:
    using TextLink = CPageImgUsemapTextlinks::TextLink;
    void AddLink();
    void RemoveLink();
    void ReadRows();
    void ShowRows();
    static void Say(int messageId);

    CHtmlDocument& m_document;
    std::string m_imageSource;
    std::string m_lineEnd;
    std::vector<TextLink> m_links;
    CElement* m_row = nullptr;
    CSrcImageMap* m_mapRecord = nullptr;
};

} // namespace orvane
