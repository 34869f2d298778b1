#pragma once

#include "library/ui/pages/text_alternatives/page_description_base.h"

#include <string>

namespace orvane {

class CHtmlDocument;
class CSrcAsciiArt;
class CSrcLongDesc;

// Describes a piece of ASCII art for those who cannot see the picture its
// characters draw: in a file beside the page (written here or linked) that a
// link right before the art leads to, or as a paragraph right before it. The
// object registry remembers the description for the art, and offers it again
// wherever the same art stands (a logo repeated on the pages of a site).
class CPageAsciiArtDescription final : public CPageDescriptionBase {
public:
    static constexpr int kTemplate = 238;
    static constexpr int kPreview = 1234;

    // link: the family's deleted markup right before the art.
    CPageAsciiArtDescription(CElement& link, const CHtmlDocument& document, std::string artMarkup, std::string artId,
                             std::string lineEnd);
    std::string_view ClassName() const override { return "CPageAsciiArtDescription"; }

    void Undo() override;

protected:
    void Initialise() override;
    std::string DescriptionTitle(std::string_view language) const override;
    bool ApplyDescription(const std::string& address, int answer) override;
    bool ApplyNotNeeded() override;

private:
    // What the registry knows for the same art, on this page or another.
    void ProposeKnown();
    // The art described, with the address and text when there is one.
    void Remember(const std::string& address, const std::string& text);
    void ForgetRegistryChange();

    CElement& m_link;
    const CHtmlDocument& m_document;
    std::string m_artMarkup;
    std::string m_artId;
    std::string m_lineEnd;
    bool m_opened = false;
    CSrcAsciiArt* m_changedArt = nullptr;
    bool m_describedBefore = false;
    const CSrcLongDesc* m_addedLongDesc = nullptr;
    CSrcLongDesc* m_changedLongDesc = nullptr;
    std::string m_textBefore;
};

} // namespace orvane
