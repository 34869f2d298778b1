#pragma once

#include "library/ui/heading_outline.h"
#include "library/ui/page_validator_base.h"

#include <string>
#include <vector>

namespace orvane {

// Headings that skip a level: the page's outline, with the first heading
// that skips one selected and given the level one below the heading before
// it; the user may choose another level, for another heading too, and move
// the headings below it along. Only the names of the changed headings' tags
// change, so the rest of the page is written back as it was.
class CPageHeadings final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 210;
    static constexpr int kProblem = 1010;
    static constexpr int kOutline = 1011;
    static constexpr int kLevel = 1012;
    static constexpr int kMoveBelow = 1013;
    static constexpr int kOutlineAfter = 1014;
    static constexpr int kAfter = 1015;

    explicit CPageHeadings(const CHtmlDocument& document);
    std::string_view ClassName() const override { return "CPageHeadings"; }

    void Undo() override;
    bool Apply() override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;
    void OnActivate(platform::IWindow& window) override;

protected:
    void Initialise() override;

private:
    // A tag this page renamed: its name and kind before, and the kind it gave it.
    struct Renamed {
        CElement* element;
        std::string name;
        int kind;
        int given;
    };

    // The outline as it stands, with the levels the headings had before this page changed them.
    void ReadHeadings();
    std::vector<int> Levels() const;
    std::vector<int> LevelsAfter() const;
    // The level that fits the heading where it stands, or the one it has when it skips none.
    int ProposedLevel(std::size_t index) const;
    void FillOutline(int control, const std::vector<int>& levels, bool selectTarget);
    void ShowProblem();
    void ShowAfter();
    void ReadControls();
    void WriteBack();

    const CHtmlDocument& m_document;
    std::vector<OutlineHeading> m_headings;
    std::size_t m_firstSkip = outline::kNone;
    std::size_t m_target = 0;
    // The heading chosen to change, kept over openings of the page; null until chosen.
    const CElement* m_chosen = nullptr;
    int m_level = 1;
    bool m_moveBelow = false;
    std::vector<Renamed> m_renamed;
};

} // namespace orvane
