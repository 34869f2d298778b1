#pragma once

#include "library/ui/page_validator_base.h"

namespace orvane {

// Gives a text area without a default text one: the text goes into a text run
// right after its start tag, which the textarea family inserted (deleted).
class CPageTextAreaDefaultText final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 152;
    static constexpr int kDefaultText = 1010;
    static constexpr int kMarkup = 1011;
    static constexpr int kContent = 1012;
    static constexpr int kPreview = 1020;

    CPageTextAreaDefaultText(CElement& preparedText, CHtmlDocument& document);
    std::string_view ClassName() const override { return "CPageTextAreaDefaultText"; }

    void Undo() override;
    bool Apply() override;

protected:
    void Initialise() override;

private:
    CElement& m_prepared;
    CHtmlDocument& m_document;
};

} // namespace orvane
