#pragma once

#include "library/ui/page_validator_base.h"

#include <string>
#include <string_view>

namespace orvane {

// Writes a title, a description and keywords into the page's head. The
// document family readied the three elements (and the head itself when the
// page had none), all deleted until this page repairs.
class CPageMetadata final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 1315;
    static constexpr int kTitle = 1340;
    static constexpr int kDescription = 1341;
    static constexpr int kKeywords = 1342;
    static constexpr int kPreview = 1343;

    struct Prepared {
        CElement& title;
        CElement& description;
        CElement& keywords;
        // Both null when the page had a head.
        CElement* headStart = nullptr;
        CElement* headEnd = nullptr;
        // The title is a whole new element, not the content of an empty one.
        bool titleIsNew = true;
    };

    CPageMetadata(const Prepared& prepared, std::string_view documentName, std::string_view lineEnd);
    std::string_view ClassName() const override { return "CPageMetadata"; }

    void Undo() override;
    bool Apply() override;

protected:
    void Initialise() override;

private:
    void ShowHead(bool shown);

    Prepared m_prepared;
    std::string m_documentName;
    std::string m_lineEnd;
    std::string m_title;
    std::string m_description;
    std::string m_keywords;
};

} // namespace orvane
