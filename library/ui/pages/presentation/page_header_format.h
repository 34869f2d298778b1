#pragma once

#include "library/ui/page_validator_base.h"

#include <string>

namespace orvane {

// A heading used only to make text big or bold: kept when it really heads a
// section, or its tags turned into a paragraph, a quotation, emphasis or a
// styled span. Only the texts of the heading's two tags change.
class CPageHeaderFormat final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 1312;
    static constexpr int kHeadingText = 1010;
    static constexpr int kReplacement = 1011;
    static constexpr int kStyle = 1012;
    static constexpr int kStyleLabel = 1013;
    static constexpr int kKeep = 1117;
    static constexpr int kReplace = 1118;
    static constexpr int kSpanIndex = 4;

    // heading: the start tag, whose partner is its end tag.
    CPageHeaderFormat(CElement& heading, std::string_view headingText);
    std::string_view ClassName() const override { return "CPageHeaderFormat"; }

    void Undo() override;
    bool Apply() override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;

protected:
    void Initialise() override;

private:
    void EnableStyle();
    void WriteBack();

    CElement& m_start;
    CElement* m_end;
    std::string m_headingText;
    bool m_keep = false;
    // Declarations as a style attribute takes them: in braces a browser drops them all.
    std::string m_style = "style=\"font-family: arial; font-size: 20pt;\"";
    int m_index = 0;
    std::string m_savedStart;
    std::string m_savedEnd;
    bool m_savedStartModified;
    bool m_savedEndModified;
};

} // namespace orvane
