#pragma once

#include "library/ui/page_validator_base.h"

#include <string>
#include <vector>

namespace orvane {

class COrvaneSettings;

// Blinking or scrolling text (blink, marquee): the effect is removed and the
// text kept plain, or the element is replaced by a tag of the user's choice,
// which the blink family readied (deleted) inside it. The choice is
// remembered and proposed in later sessions; the pages of one run merge, so
// one choice can serve every blinking text of the page.
class CPageBlink final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 158;
    static constexpr int kBlinkingText = 1010;
    static constexpr int kTag = 1011;
    static constexpr int kAttributes = 1012;
    static constexpr int kAttributesLabel = 1013;
    static constexpr int kRemove = 1117;
    static constexpr int kReplace = 1118;
    static constexpr int kProposeRemoving = 1119;
    static constexpr int kProposeReplacing = 1120;

    static constexpr int kFamily = 11;
    static constexpr std::uint32_t kBit = 0x1;

    enum Choice { kChoiceRemove = 1, kChoiceReplace = 2 };
    struct Repair {
        int choice = kChoiceRemove;
        std::string tag;
        std::string attributes;
    };
    // What the page proposes when it first opens, from what the settings remember.
    static Repair Proposal(const COrvaneSettings* settings);
    // The tags offered, as the drop-down shows them.
    static const std::vector<std::string>& TagNames();
    // The tag a drop-down text names: "em (emphasis)" names em.
    static std::string TagOf(std::string_view shown);
    // Attributes go into a span and into tags not offered; the offered
    // others are emphasis that needs none.
    static bool TakesAttributes(std::string_view tag);

    // blink: the start tag; replacement: the tag readied in its place.
    CPageBlink(CElement& blink, CElement& replacement, std::string_view text);
    std::string_view ClassName() const override { return "CPageBlink"; }
    bool IsSameKind(const CPageValidatorBase& other) const override { return IsOfClass<CPageBlink>(other); }

    void Undo() override;
    bool Apply() override;
    bool RepairAutomatically() override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;

protected:
    void Initialise() override;
    void Destroyed() override;

private:
    void CarryOut(const Repair& repair);
    void Revert();
    void EnableAttributes();
    std::vector<CPageBlink*> MergedPages() const;

    CElement& m_blink;
    CElement& m_replacement;
    std::string m_text;
    bool m_blinkWasDeleted;
    bool m_blinkEndWasDeleted;
    bool m_opened = false;
    Repair m_repair;
    bool m_proposeReplacing = false;
    bool m_applied = false;
};

} // namespace orvane
