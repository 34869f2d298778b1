#pragma once

#include "library/ui/pages/text_alternatives/page_description_base.h"

#include <string>
#include <vector>

namespace orvane {

class CAttribute;
class CHtmlDocument;
class CSrcDocument;

// Gives a page of several frames the one description of what each frame
// shows and how they work together, for readers who cannot take in the
// frames side by side: a file beside the page (written here or linked),
// named by the longdesc attribute of the frame that reported it. A frame
// page that needs none is remembered as such, by its document, so that
// later checks do not ask again.
class CPageFrameLongDesc final : public CPageDescriptionBase {
public:
    static constexpr int kTemplate = 139;
    static constexpr int kFrames = 1015;

    CPageFrameLongDesc(CAttribute& longdesc, const CHtmlDocument& document);
    std::string_view ClassName() const override { return "CPageFrameLongDesc"; }

    void Undo() override;

    struct Frame {
        std::string number;
        std::string named;   // its title, else its name; may be empty
        std::string source;
    };
    // The document's frames, in page order.
    static std::vector<Frame> FramesOf(const CHtmlDocument& document);

protected:
    void Initialise() override;
    std::string DescriptionTitle(std::string_view language) const override;
    bool ApplyDescription(const std::string& address, int answer) override;
    bool ApplyNotNeeded() override;

private:
    void ForgetRegistryChange();

    CAttribute& m_longdesc;
    const CHtmlDocument& m_document;
    bool m_opened = false;
    // What this page changed in the object registry, for its undo.
    CSrcDocument* m_changedDocument = nullptr;
    bool m_neededBefore = true;
};

} // namespace orvane
