#pragma once

#include "library/ui/page_validator_base.h"

#include "library/html/attribute_table.h"

#include <array>
#include <string>

namespace orvane {

class CAttribute;

// Gives the page body its five colours (background, text, link, active link,
// visited link) so that every text colour stands out from the background.
// Each colour is set by its red, green and blue values or with the colour
// chooser; the page tells for each whether it is web-safe and whether it
// contrasts with the background, and shows a sample of the page's texts in
// them. The colours go into the body's bgcolor, text, link, alink and vlink
// attributes, which the body family made (hidden) where they were missing.
class CPageBodyColor final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 1324;
    // The colours, in the order of the attributes.
    enum Colour { kBackground, kText, kLink, kActiveLink, kVisitedLink, kColourCount };

    static constexpr int kMissingExplanation = 288;
    static constexpr int kContrastExplanation = 352;
    static constexpr int kSample = 1382;
    // Red, green and blue of each colour.
    static constexpr std::array<std::array<int, 3>, kColourCount> kFields = {
        {{1389, 1009, 1010}, {1011, 1012, 1013}, {1014, 1015, 1016}, {1017, 1018, 1019}, {1020, 1021, 1022}}};
    static constexpr std::array<int, kColourCount> kChoose = {1395, 1025, 1026, 1027, 1028};
    static constexpr std::array<int, kColourCount> kSwatches = {1390, 1391, 1392, 1393, 1394};
    static constexpr std::array<int, kColourCount> kWebSafe = {1400, 1401, 1402, 1403, 1404};
    // Of the text colours; the background has none.
    static constexpr std::array<int, kColourCount> kContrast = {0, 1405, 1406, 1407, 1408};
    static constexpr std::array<int, kColourCount> kRatio = {0, 1409, 1410, 1411, 1412};

    // attributes: bgcolor, text, link, alink, vlink of the body.
    // coloursMissing: some are missing or no colour values (otherwise some do not contrast).
    CPageBodyColor(const std::array<CAttribute*, kColourCount>& attributes, bool coloursMissing);
    std::string_view ClassName() const override { return "CPageBodyColor"; }

    void Undo() override;
    bool Apply() override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;

    // What the page holds for a colour now; unset colours are not written.
    bool IsSet(Colour colour) const { return m_slots[colour].set; }
    const Rgb& ColourOf(Colour colour) const { return m_slots[colour].colour; }

protected:
    void Initialise() override;

private:
    struct Slot {
        CAttribute* attribute = nullptr;
        Rgb colour;
        bool set = false;
        bool validInSource = false;
        Rgb original;
    };

    // The colours as the page's attributes give them.
    void ReadColours();
    void ShowComponents(Colour colour);
    void Refresh();
    void ComponentChanged(Colour colour, int component);
    void Choose(Colour colour);
    // Writes the colours that were set or changed into their attributes.
    void WriteColours();
    void RevertAttributes();
    // Asks whether to go on with colours missing or not contrasting; true
    // when the user chose to write them as they are.
    bool WriteAnyway(int startId, const std::string& names) const;

    std::array<Slot, kColourCount> m_slots;
    bool m_coloursMissing;
    std::array<std::string, 4> m_sampleTexts;
};

} // namespace orvane
