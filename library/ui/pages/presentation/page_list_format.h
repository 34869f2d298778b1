#pragma once

#include "library/ui/page_validator_base.h"

#include <string>
#include <vector>

namespace orvane {

class CAttribute;

// A list used only to indent its text: kept when it really lists items, or
// turned into a span indented by the chosen width, the tags of its items
// dropped. Only the texts and deleted flags of those tags change.
class CPageListFormat final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 1316;
    static constexpr int kIndentation = 1011;
    static constexpr int kPreview = 1020;
    static constexpr int kKeep = 1346;
    static constexpr int kReplace = 1347;
    static constexpr int kIndentations = 8;

    // list: the start tag, whose partner is its end tag; items: the tags of
    // its items, dropped with the list.
    CPageListFormat(CElement& list, const std::vector<CElement*>& items, std::string_view content);
    // The start and end tags of the list's own items (li, dt, dd), not those
    // of lists inside it: an indenting list has at most one li or dt, but a
    // definition list may indent any number of dd.
    static std::vector<CElement*> ItemTags(const CHtmlDocument& document, const CElement& list);
    std::string_view ClassName() const override { return "CPageListFormat"; }

    void Undo() override;
    bool Apply() override;
    // A list judged a real list stays as it was.
    bool AnswerIsJudgement() const override { return Status() == pagestatus::kRepaired && m_choice == kKeep; }

protected:
    void Initialise() override;

private:
    // A tag as the page found it, to be written back.
    struct Saved {
        CElement* element = nullptr;
        std::string text;
        bool modified = false;
        bool deleted = false;
        int kind = 0;
        std::string name;  // as the tag writes it
    };
    static Saved Save(CElement* element);
    static void WriteBack(const Saved& saved);
    void WriteAllBack();

    std::string m_content;
    Saved m_start;
    Saved m_end;
    std::vector<Saved> m_items;
    // The style attribute the span was given, and whether the list had it already.
    CAttribute* m_style = nullptr;
    bool m_styleExisted = false;
    bool m_styleChanged = false;
    // The list's own attributes (type, start, compact) the span does not take, as they were.
    struct Dropped {
        CAttribute* attribute;
        bool hidden;
        bool hideable;
        bool changed;
    };
    std::vector<Dropped> m_dropped;
    int m_indentation = 1;
    int m_choice = kReplace;
};

} // namespace orvane
