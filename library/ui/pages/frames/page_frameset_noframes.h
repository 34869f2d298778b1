#pragma once

#include "library/ui/page_validator_base.h"

#include <cstdint>

namespace orvane {

// Gives a frameset a noframes section with the default text, right before its
// end tag; the frameset family inserted it, deleted until this page repairs.
// A section that holds only a placeholder sentence gets no second one: the
// page tells the user to rewrite it.
class CPageFramesetNoframes final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 154;
    static constexpr int kInsert = 480;
    static constexpr int kInsertLabel = 352;
    static constexpr int kPlaceholderMessage = 288;
    static constexpr int kProblemText = 416;

    // prepared: null when the frameset's section holds a placeholder.
    explicit CPageFramesetNoframes(CElement* prepared);
    std::string_view ClassName() const override { return "CPageFramesetNoframes"; }

    void Undo() override;
    bool Apply() override;

protected:
    void Initialise() override;

private:
    CElement* m_prepared;
    std::uint32_t m_insert = 1;
};

} // namespace orvane
