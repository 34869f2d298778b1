#pragma once

#include "library/ui/page_validator_base.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class CHtmlDocument;

// A heading used only to make text big or bold: kept when it really heads a
// section, or its tags turned into a paragraph, a quotation, emphasis or a
// styled span. Only the heading's two tags change: they are renamed, and
// keep the attributes they have.
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
    CPageHeaderFormat(CElement& heading, std::string_view headingText, const CHtmlDocument& document);
    std::string_view ClassName() const override { return "CPageHeaderFormat"; }

    void Undo() override;
    bool Apply() override;
    // A heading judged to head its section stays as it was.
    bool AnswerIsJudgement() const override { return m_keep && Status() == pagestatus::kRepaired; }
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;

protected:
    void Initialise() override;

private:
    void EnableStyle();
    void WriteBack();
    void GiveAttributes(std::string_view typed);
    // Whether a block (a div, a list, a table...) stands inside the heading:
    // a paragraph cannot hold it, and a division is written instead.
    bool HoldsBlock() const;

    CElement& m_start;
    CElement* m_end;
    const CHtmlDocument& m_document;
    std::string m_headingText;
    bool m_keep = false;
    // Declarations as a style attribute takes them: in braces a browser drops them all.
    std::string m_style = "style=\"font-family: arial; font-size: 20pt;\"";
    int m_index = 0;
    std::string m_savedStart;
    std::string m_savedEnd;
    std::string m_savedName;
    int m_savedKind;
    // Attributes the span was given: made by the page, or the heading's own with a new value.
    struct Given {
        CAttribute* attribute;
        bool existed;
        bool changed;
    };
    std::vector<Given> m_given;
    bool m_savedStartModified;
    bool m_savedEndModified;
    // The tags were renamed by this page, and the saved texts are theirs before.
    bool m_renamed = false;
};

} // namespace orvane
