#pragma once

#include "page_validator_base.h"

#include <string>

namespace orvane {

class CAttribute;

// Gives an image its text alternative: the text goes into its alt attribute,
// which the image family made (hidden) when it was missing. Pages of one image
// file merge, so one text can serve every place the image stands.
class CPageImgAltText final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 107;
    static constexpr int kText = 1010;
    static constexpr int kLongExplanation = 1252;
    static constexpr int kLongSubExplanation = 1253;
    static constexpr int kSuspiciousExplanation = 1254;
    static constexpr int kNote = 1055;
    static constexpr int kSource = 1013;
    static constexpr int kPreview = 1233;

    // The variant is that of the page's first problem: the text is too long
    // (subVariant: shown with the second explanation), or looks like a file
    // name or placeholder; neither: the text is missing.
    struct Variant {
        bool longText = false;
        bool subVariant = false;
        bool suspicious = false;
    };

    CPageImgAltText(CAttribute& alt, std::string_view source, Variant variant);
    std::string_view ClassName() const override { return "CPageImgAltText"; }
    bool IsSameKind(const CPageValidatorBase& other) const override { return IsOfClass<CPageImgAltText>(other); }

    void Undo() override;
    bool Apply() override;

protected:
    void Initialise() override;

private:
    // Writes the text into the alt attribute, shown and marked changed.
    void SetAlt(std::string_view text);
    // Back to the attribute the page had before any repair.
    void RevertAlt();
    // Asks about a text that looks like a file name or a placeholder; false
    // when the user wants to change it.
    bool AcceptsSuspiciousText(std::string_view text) const;

    CAttribute& m_alt;
    Variant m_variant;
};

} // namespace orvane
