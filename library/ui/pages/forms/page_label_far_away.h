#pragma once

#include "library/ui/page_validator_base.h"

#include <vector>

namespace orvane {

// A form control whose label stands apart from it, or on the side it is not
// read from: the label is moved right beside the control (its markup taken
// out where it stood and written there, whatever lies between untouched), or
// kept where it is when the layout already shows them together.
class CPageLabelFarAway final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 1321;
    static constexpr int kLabel = 1015;
    static constexpr int kControl = 1016;
    static constexpr int kDistance = 1017;
    static constexpr int kMove = 1117;
    static constexpr int kKeep = 1118;
    static constexpr int kPreview = 1020;

    // beside: the deleted element the family placed on the side of the
    // control its label is read from.
    CPageLabelFarAway(CElement& beside, CHtmlDocument& document);
    std::string_view ClassName() const override { return "CPageLabelFarAway"; }

    void Undo() override;
    bool GivesVerdicts() const override { return true; }
    bool Apply() override;
    // A label kept where it stands is judged close enough.
    bool AnswerIsJudgement() const override { return Status() == pagestatus::kRepaired && m_moved.empty(); }

    // What the page tells of the distance: what parts label and control, and
    // on which side the label stands when that is the wrong one.
    std::string DistanceText() const;
    // The label the page may move, from its start tag to its end tag; null when none was found.
    const CElement* LabelStart() const { return m_labelStart; }
    const CElement* LabelEnd() const { return m_labelEnd; }

protected:
    void Initialise() override;

private:
    void FindTheLabel();
    void TakeBack();

    CElement& m_beside;
    CHtmlDocument& m_document;
    CElement* m_labelStart = nullptr;
    CElement* m_labelEnd = nullptr;
    std::vector<CElement*> m_moved;  // the label's pieces this page took out
};

} // namespace orvane
