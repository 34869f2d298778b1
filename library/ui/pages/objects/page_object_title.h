#pragma once

#include "library/ui/page_validator_base.h"

#include <string>

namespace orvane {

class CAttribute;

// Gives an embedded object a title: the text goes into the object's title
// attribute, which the object family made (hidden) when it was missing. The
// object is shown as the page writes it, as markup and rendered.
class CPageObjectTitle final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 137;
    static constexpr int kTitle = 1010;
    static constexpr int kMarkup = 1011;
    static constexpr int kPreview = 1020;

    CPageObjectTitle(CAttribute& title, std::string objectMarkup);
    std::string_view ClassName() const override { return "CPageObjectTitle"; }

    void Undo() override;
    bool Apply() override;

protected:
    void Initialise() override;

private:

    CAttribute& m_title;
    std::string m_objectMarkup;
};

} // namespace orvane
