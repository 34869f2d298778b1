#pragma once

#include "library/ui/page_validator_base.h"

#include <cstdint>
#include <string>

namespace orvane {

class CHtmlDocument;

// Gives a frameset a noframes section right before its end tag, which the
// frameset family inserted, deleted until this page repairs: it links the
// pages of the frames by their titles, so a reader without frames reaches
// them. A frameset whose frames name no page gets the default sentence, a
// placeholder for the author, and is mended in part only.
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
    CPageFramesetNoframes(CElement* prepared, const CHtmlDocument& document);
    std::string_view ClassName() const override { return "CPageFramesetNoframes"; }

    void Undo() override;
    bool Apply() override;

protected:
    void Initialise() override;

private:
    // The section's markup: the pages of the frames linked; empty when no frame names one.
    std::string FrameLinks() const;

    CElement* m_prepared;
    const CHtmlDocument& m_document;
    std::string m_placeholder;  // the section as the family readied it
    std::uint32_t m_insert = 1;
};

} // namespace orvane
