#pragma once

#include "library/ui/pages/text_alternatives/page_description_base.h"

#include <string>

namespace orvane {

class CAttribute;
class CHtmlDocument;
class CSrcApplet;

// Gives an applet a text alternative for those whose browser runs no applets
// and those who cannot see it: the text typed goes into its alt attribute
// and, as a paragraph, right before its end tag, where every browser shows
// it; or a description file (linked, or written here) is linked from there.
// That the applet is described is remembered in the object registry, by its
// code and the page, so the next check of the page knows it; an applet the
// text of the page describes already is only remembered.
class CPageAppletAltText final : public CPageDescriptionBase {
public:
    static constexpr int kTemplate = 136;
    static constexpr int kApplet = 1013;
    static constexpr int kMarkup = 1011;

    // content: the text run the applet family put before the applet's end
    // tag (deleted until used).
    CPageAppletAltText(CAttribute& alt, CElement& content, CHtmlDocument& document, std::string appletKey,
                       std::string appletMarkup, std::string_view lineEnd);
    std::string_view ClassName() const override { return "CPageAppletAltText"; }

    void Undo() override;

protected:
    void Initialise() override;
    std::string DescriptionTitle(std::string_view language) const override;
    bool ApplyDescription(const std::string& address, int answer) override;
    bool ApplyNotNeeded() override;

private:
    // The applet recorded as described; what it was before is kept for undo.
    void RememberDescribed();
    void ForgetDescribed();

    CAttribute& m_alt;
    CElement& m_content;
    CHtmlDocument& m_document;
    std::string m_key;
    std::string m_markup;
    std::string m_lineEnd;
    bool m_opened = false;
    CSrcApplet* m_remembered = nullptr;
    bool m_describedBefore = false;
};

} // namespace orvane
