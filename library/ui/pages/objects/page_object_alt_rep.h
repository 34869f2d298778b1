#pragma once

#include "library/ui/pages/text_alternatives/page_description_base.h"

#include <string>

namespace orvane {

class CHtmlDocument;

// Gives an embedded object (a film, a sound, a plug-in's content) an
// alternative representation: what a browser shows when it cannot show the
// object, written right before the object's end tag. Either the text typed
// here, as a paragraph, or a link to a description file (linked, or written
// here). The file proposed for a new description is named after the object's
// data file; once written it is offered again by every later check of a page
// that shows the same file.
class CPageObjectAltRep final : public CPageDescriptionBase {
public:
    static constexpr int kTemplate = 149;
    static constexpr int kObject = 1013;
    static constexpr int kMarkup = 1011;

    // content: the text run the object family put before the object's end
    // tag (deleted until used); dataFile: the object's data (or classid).
    CPageObjectAltRep(CElement& content, CHtmlDocument& document, std::string dataFile, std::string objectMarkup,
                      std::string_view lineEnd);
    std::string_view ClassName() const override { return "CPageObjectAltRep"; }

    void Undo() override;
    // The description file proposed for the data file: its name without
    // folder and extension, followed by "-description.html".
    static std::string ProposedFileName(std::string_view dataFile);

protected:
    void Initialise() override;
    std::string DescriptionTitle(std::string_view language) const override;
    bool ApplyDescription(const std::string& address, int answer) override;
    bool ApplyNotNeeded() override { return false; }

private:
    CElement& m_content;
    CHtmlDocument& m_document;
    std::string m_dataFile;
    std::string m_markup;
    std::string m_lineEnd;
    bool m_opened = false;
};

// The name of a file named after another one: the other's name without its
// folder, query and extension, followed by the ending ("-transcript.html").
std::string NamedAfter(std::string_view file, std::string_view ending);

} // namespace orvane
