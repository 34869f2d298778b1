#pragma once

#include "library/ui/page_validator_base.h"

#include <string>

namespace orvane {

class CHtmlDocument;
class CSrcAsciiArt;

// A screen reader spells ASCII art out character by character: a link right
// before the art lets its readers jump to what follows it. The page writes
// that link (its text editable) and its target after the art, under a name
// no other anchor of the page has; or the user judges that the art is short
// enough to pass, which the object registry remembers for the art.
class CPageAsciiArtSkip final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 237;
    static constexpr int kNote = 1055;
    static constexpr int kPreview = 1234;
    static constexpr int kInsertLink = 1179;
    static constexpr int kShortEnough = 1180;
    static constexpr int kLinkText = 1010;
    static constexpr int kLinkTextLabel = 1188;

    // link, target: the family's deleted markup before and after the art.
    CPageAsciiArtSkip(CElement& link, CElement& target, const CHtmlDocument& document, std::string artMarkup,
                      std::string artId, std::string lineEnd);
    std::string_view ClassName() const override { return "CPageAsciiArtSkip"; }

    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;
    bool Apply() override;
    void Undo() override;

    // An anchor name that no element of the document uses yet, made from base.
    static std::string UnusedAnchorName(const CHtmlDocument& document, std::string_view base);

protected:
    void Initialise() override;

private:
    void Choose(int answer);
    void TakeOut();
    void ForgetRegistryChange();

    CElement& m_link;
    CElement& m_target;
    const CHtmlDocument& m_document;
    std::string m_artMarkup;
    std::string m_artId;
    std::string m_lineEnd;
    int m_answer = kInsertLink;
    std::string m_linkText;
    bool m_opened = false;
    CSrcAsciiArt* m_changedArt = nullptr;
    bool m_skipBefore = false;
};

// The ASCII-art record of the document in the object registry, made when
// missing; null without a registry.
CSrcAsciiArt* AsciiArtRecord(const CValidatorSheet* sheet, const std::string& documentName, const std::string& artId);

} // namespace orvane
