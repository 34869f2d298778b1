#pragma once

#include "library/ui/pages/text_alternatives/page_description_base.h"

#include <string>
#include <string_view>

namespace orvane {

// Gives a script the alternative a browser without scripts shows: a noscript
// section that says what the script does or shows. The text is written into
// the page, or the section links to a page that describes the script (one
// that exists, or one written here). The element the script family readied
// holds the section (or only its content, inside a noscript that had nothing
// real, in place of a mere "turn on JavaScript"); it is deleted until this
// page repairs.
class CPageScriptNoscript final : public CPageDescriptionBase {
public:
    static constexpr int kTemplate = 155;
    static constexpr int kScript = 1370;

    // placeholder: the text that only asked to turn scripts on, taken out
    // while the repair holds; may be null. insideNoscript: the prepared
    // element stands inside a noscript section already.
    CPageScriptNoscript(CElement& prepared, CElement* placeholder, bool insideNoscript, CHtmlDocument& document,
                        std::string_view lineEnd);
    std::string_view ClassName() const override { return "CPageScriptNoscript"; }

    void Undo() override;

    // The content written for the answer: a paragraph of the text, or of a link.
    static std::string ContentMarkup(std::string_view text, std::string_view address);

protected:
    void Initialise() override;
    std::string DescriptionTitle(std::string_view language) const override;
    bool ApplyDescription(const std::string& address, int answer) override;
    bool ApplyNotNeeded() override { return true; }

private:
    // The script as the page writes it, shortened for the page.
    std::string ScriptMarkup() const;

    CElement& m_prepared;
    CElement* m_placeholder;
    bool m_insideNoscript;
    CHtmlDocument& m_document;
    std::string m_lineEnd;
};

} // namespace orvane
