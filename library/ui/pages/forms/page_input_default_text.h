#pragma once

#include "library/ui/page_validator_base.h"

namespace orvane {

class CAttribute;

// Gives a text field without a default text one: the text goes into its value
// attribute, which the input family made (hidden) when it was missing.
class CPageInputDefaultText final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 1310;
    static constexpr int kDefaultText = 1010;
    static constexpr int kMarkup = 1011;
    static constexpr int kPreview = 1020;

    CPageInputDefaultText(CAttribute& value, CHtmlDocument& document);
    std::string_view ClassName() const override { return "CPageInputDefaultText"; }

    void Undo() override;
    bool Apply() override;

protected:
    void Initialise() override;

private:
    // Back to the value the page had before any repair.
    void RevertValue();

    CAttribute& m_value;
    CHtmlDocument& m_document;
};

} // namespace orvane
