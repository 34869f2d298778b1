#pragma once

#include "library/ui/page_validator_base.h"

#include <string>
#include <vector>

namespace orvane {

// Gives a form control without a label one: the text next to it wrapped in a
// label, a new label beside it, or, where a visible label is not wanted, a
// title. The label names the control by its id, which the control is given
// (unique on the page) when it has none.
class CPageLabelMissing final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 1320;
    static constexpr int kLabelText = 1011;
    static constexpr int kNearText = 1015;
    static constexpr int kControl = 1016;
    static constexpr int kWrap = 1117;
    static constexpr int kInsert = 1118;
    static constexpr int kTitle = 1119;
    static constexpr int kPreview = 1020;

    // What the control's family readied: its id and title attributes (hidden
    // when missing), a deleted element beside it for a new label, and the
    // text next to it with the deleted element after that text that writes
    // it wrapped (both null when no text stands next to it).
    struct Prepared {
        CAttribute& id;
        CAttribute& title;
        CElement& beside;
        CElement* nearText = nullptr;
        CElement* wrapped = nullptr;
    };

    CPageLabelMissing(const Prepared& prepared, CHtmlDocument& document);
    std::string_view ClassName() const override { return "CPageLabelMissing"; }

    void Undo() override;
    bool Apply() override;
    // A title in place of a label is the user's judgement that no visible
    // label fits; the check asks for a label element still.
    bool AnswerIsJudgement() const override { return Status() == pagestatus::kRepaired && m_asTitle; }
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;

    // The texts offered for the label, the likeliest first: the text next to
    // the control, its title, its name made readable.
    std::vector<std::string> Proposals() const;
    // The text next to the control that the page may wrap in the label; null for none.
    const CElement* NearText() const { return m_prepared.nearText; }

protected:
    void Initialise() override;

private:
    // The page as found: no label, no id or title added.
    void TakeBack();
    void EnableLabelText();

    Prepared m_prepared;
    CHtmlDocument& m_document;
    // The text next to the control is taken out while this page writes it wrapped.
    bool m_wrappedHere = false;
    // The control was named by a title instead of a label.
    bool m_asTitle = false;
};

} // namespace orvane
