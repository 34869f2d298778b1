#include "library/ui/pages/presentation/page_body_color.h"

#include "library/checks/body_colours.h"
#include "library/html/attribute.h"
#include "platform/services.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace orvane {

namespace {
constexpr int kCaption = 111;
constexpr int kInstruction = 443;
constexpr char kHelpTopic[] = "2-2-1.html";
constexpr int kSampleTextIds[] = {445, 446, 447, 448};
constexpr int kNoContrastStart = 451;
constexpr int kNotSetStart = 452;
constexpr int kChangeThem = 478;
constexpr int kLinkName = 355;
// The names of the colours, in the page's order of them.
constexpr int kNameIds[CPageBodyColor::kColourCount] = {453, 454, kLinkName, 455, 456};
constexpr int kWebSafeText = 801;
constexpr int kNotWebSafeText = 802;
constexpr int kContrastsText = 803;
constexpr int kNoContrastText = 804;
constexpr int kRatioPasses = 805;
constexpr int kRatioLargeOnly = 806;
constexpr int kRatioFails = 807;
constexpr int kSwatchText = 808;
constexpr int kSwatchNotSet = 809;
constexpr int kDarkColour = 810;
constexpr int kLightColour = 811;
constexpr int kColourWords = 812;
constexpr int kDecimalSeparator = 813;
constexpr char kUnknown[] = "?";
constexpr int kMaxComponent = 255;

using C = CPageBodyColor::Colour;
// The text colours in the order the questions and the sample name them.
constexpr C kTextColours[] = {C::kText, C::kLink, C::kVisitedLink, C::kActiveLink};

std::string String(int id) { return platform::Strings().Get(id); }

platform::Colour ToPlatform(const Rgb& c)
{
    return static_cast<platform::Colour>(c.red) | static_cast<platform::Colour>(c.green) << 8 |
           static_cast<platform::Colour>(c.blue) << 16;
}

Rgb FromPlatform(platform::Colour c)
{
    return {static_cast<int>(c & 0xff), static_cast<int>((c >> 8) & 0xff), static_cast<int>((c >> 16) & 0xff)};
}

// A word for the colour, for those who do not see it: its hue, or its shade of grey.
std::string ColourWord(const Rgb& c)
{
    enum Word { kBlack, kGrey, kWhite, kRed, kOrange, kYellow, kGreen, kCyan, kBlue, kPurple, kPink };
    std::vector<std::string> words;
    const std::string all = String(kColourWords);
    for (std::size_t start = 0;;) {
        const std::size_t bar = all.find('|', start);
        words.push_back(all.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    auto word = [&](Word w) { return static_cast<std::size_t>(w) < words.size() ? words[w] : std::string(); };
    const int high = std::max({c.red, c.green, c.blue});
    const int low = std::min({c.red, c.green, c.blue});
    const double lightness = (high + low) / 510.0;
    const int chroma = high - low;
    auto shaded = [&](Word w, double dark, double light) {
        if (lightness < dark)
            return platform::Strings().Format(kDarkColour, {word(w)});
        if (lightness > light)
            return platform::Strings().Format(kLightColour, {word(w)});
        return word(w);
    };
    if (chroma < 24) {
        if (lightness < 0.1)
            return word(kBlack);
        if (lightness > 0.94)
            return word(kWhite);
        return shaded(kGrey, 0.35, 0.65);
    }
    double hue = 0;
    if (high == c.red)
        hue = std::fmod((c.green - c.blue) / static_cast<double>(chroma) + 6.0, 6.0);
    else if (high == c.green)
        hue = (c.blue - c.red) / static_cast<double>(chroma) + 2.0;
    else
        hue = (c.red - c.green) / static_cast<double>(chroma) + 4.0;
    hue *= 60.0;
    Word w = kRed;
    if (hue >= 15 && hue < 45)
        w = kOrange;
    else if (hue >= 45 && hue < 70)
        w = kYellow;
    else if (hue >= 70 && hue < 165)
        w = kGreen;
    else if (hue >= 165 && hue < 200)
        w = kCyan;
    else if (hue >= 200 && hue < 260)
        w = kBlue;
    else if (hue >= 260 && hue < 300)
        w = kPurple;
    else if (hue >= 300 && hue < 345)
        w = kPink;
    return shaded(w, 0.3, 0.75);
}

// "4.48:1 - fails 4.5:1, passes 3:1". Shown to two places, but never rounded
// up to a mark the pair does not reach.
std::string RatioText(double ratio)
{
    double shown = std::round(ratio * 100.0) / 100.0;
    for (double mark : {4.5, 3.0}) {
        if (ratio < mark && shown >= mark)
            shown = mark - 0.01;
    }
    char number[16];
    std::snprintf(number, sizeof number, "%.2f", shown);
    std::string text = number;
    const std::string separator = String(kDecimalSeparator);
    if (const std::size_t dot = text.find('.'); dot != std::string::npos && !separator.empty())
        text.replace(dot, 1, separator);
    const int id = ratio >= 4.5 ? kRatioPasses : ratio >= 3.0 ? kRatioLargeOnly : kRatioFails;
    return platform::Strings().Format(id, {text});
}
} // namespace


CPageBodyColor::CPageBodyColor(const std::array<CAttribute*, kColourCount>& attributes, bool coloursMissing)
    : CPageValidatorBase(kTemplate), m_coloursMissing(coloursMissing)
{
    for (int i = 0; i < kColourCount; ++i)
        m_slots[i].attribute = attributes[i];
    ReadColours();
}

void CPageBodyColor::ReadColours()
{
    for (Slot& slot : m_slots) {
        slot.colour = {};
        slot.validInSource = slot.attribute && !slot.attribute->IsHidden() && slot.attribute->ColourValue(slot.colour);
        if (!slot.validInSource)
            slot.colour = {};
        slot.set = slot.validInSource;
        slot.original = slot.colour;
    }
}

void CPageBodyColor::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    for (int i = 0; i < 4; ++i)
        m_sampleTexts[i] = String(kSampleTextIds[i]);
    window.Show(kMissingExplanation, m_coloursMissing);
    window.Show(kContrastExplanation, !m_coloursMissing);
    for (int colour = 0; colour < kColourCount; ++colour) {
        for (int field : kFields[colour])
            window.SetRange(field, 0, kMaxComponent);
        ShowComponents(static_cast<Colour>(colour));
    }
    Refresh();
}

void CPageBodyColor::ShowComponents(Colour colour)
{
    platform::IWindow& window = *Window();
    const Rgb& c = m_slots[colour].colour;
    window.SetPosition(kFields[colour][0], c.red);
    window.SetPosition(kFields[colour][1], c.green);
    window.SetPosition(kFields[colour][2], c.blue);
}

void CPageBodyColor::Refresh()
{
    platform::IWindow* window = Window();
    if (!window)
        return;
    const Slot& background = m_slots[kBackground];
    std::string sampleDescription;
    for (int colour = 0; colour < kColourCount; ++colour) {
        const Slot& slot = m_slots[colour];
        window->SetText(kWebSafe[colour],
                        !slot.set ? kUnknown : String(IsWebSafe(slot.colour) ? kWebSafeText : kNotWebSafeText));
        if (kContrast[colour]) {
            const bool known = slot.set && background.set;
            window->SetText(kContrast[colour],
                            !known ? kUnknown
                                   : String(ContrastsEnough(background.colour, slot.colour) ? kContrastsText
                                                                                            : kNoContrastText));
            window->SetText(kRatio[colour], known ? RatioText(ContrastRatio(background.colour, slot.colour)) : kUnknown);
        }
        platform::ColourSample swatch;
        if (slot.set)
            swatch.ground = ToPlatform(slot.colour);
        const std::string name = String(kNameIds[colour]);
        swatch.description = slot.set ? platform::Strings().Format(kSwatchText, {name, HexColour(slot.colour),
                                                                                 ColourWord(slot.colour)})
                                      : platform::Strings().Format(kSwatchNotSet, {name});
        if (!sampleDescription.empty())
            sampleDescription += "; ";
        sampleDescription += swatch.description;
        window->SetColourSample(kSwatches[colour], swatch);
    }
    platform::ColourSample sample;
    if (background.set)
        sample.ground = ToPlatform(background.colour);
    for (int i = 0; i < 4; ++i) {
        const Slot& slot = m_slots[kTextColours[i]];
        sample.lines.push_back({.text = m_sampleTexts[i],
                                .colour = slot.set ? std::optional(ToPlatform(slot.colour)) : std::nullopt,
                                .underlined = kTextColours[i] != kText});
    }
    sample.description = sampleDescription;
    window->SetColourSample(kSample, sample);
}

void CPageBodyColor::ComponentChanged(Colour colour, int component)
{
    platform::IWindow& window = *Window();
    const int field = kFields[colour][component];
    int value = window.Position(field);
    if (value > kMaxComponent || value < 0) {
        value = std::clamp(value, 0, kMaxComponent);
        window.SetPosition(field, value);
    }
    Slot& slot = m_slots[colour];
    int* parts[] = {&slot.colour.red, &slot.colour.green, &slot.colour.blue};
    *parts[component] = value;
    slot.set = true;
    Refresh();
}

void CPageBodyColor::Choose(Colour colour)
{
    Slot& slot = m_slots[colour];
    const std::optional<platform::Colour> chosen =
        platform::Windows().ChooseColour(Window(), ToPlatform(slot.colour), String(kNameIds[colour]));
    if (!chosen)
        return;
    slot.colour = FromPlatform(*chosen);
    slot.set = true;
    ShowComponents(colour);
    Refresh();
}

void CPageBodyColor::OnNotify(platform::IWindow&, const platform::Notification& notification)
{
    for (int colour = 0; colour < kColourCount; ++colour) {
        if (notification.code == platform::NotifyCode::Clicked && notification.control == kChoose[colour]) {
            Choose(static_cast<Colour>(colour));
            return;
        }
        for (int component = 0; component < 3; ++component) {
            if (notification.code == platform::NotifyCode::TextChanged &&
                notification.control == kFields[colour][component]) {
                ComponentChanged(static_cast<Colour>(colour), component);
                return;
            }
        }
    }
}

void CPageBodyColor::WriteColours()
{
    RevertAttributes();
    for (Slot& slot : m_slots) {
        if (!slot.attribute || !slot.set)
            continue;
        if (!slot.validInSource || !(slot.colour == slot.original))
            slot.attribute->SetFromText(HexColour(slot.colour), Encoding());
    }
}

void CPageBodyColor::RevertAttributes()
{
    for (Slot& slot : m_slots) {
        if (!slot.attribute)
            continue;
        slot.attribute->Revert();
    }
}

bool CPageBodyColor::WriteAnyway(int startId, const std::string& names) const
{
    const std::string text = String(startId) + names + "." + String(kChangeThem);
    const int answer = platform::Prompt().Show(String(kCaption), text, platform::PromptIcon::Exclamation,
                                               platform::PromptButtons::YesNoCancel);
    return answer == platform::kAnswerNo;
}

bool CPageBodyColor::Apply()
{
    if (!Window())
        return true;
    auto joined = [](std::string& list, int nameId) {
        if (!list.empty())
            list += ", ";
        list += String(nameId);
    };
    std::string missing;
    for (int colour = 0; colour < kColourCount; ++colour) {
        if (!m_slots[colour].set)
            joined(missing, kNameIds[colour]);
    }
    if (!missing.empty()) {
        if (!WriteAnyway(kNotSetStart, missing))
            return false;
        WriteColours();
        SetStatus(pagestatus::kPartlyRepaired);
        return true;
    }
    std::string failing;
    for (C colour : kTextColours) {
        if (!ContrastsEnough(m_slots[kBackground].colour, m_slots[colour].colour))
            joined(failing, kNameIds[colour]);
    }
    if (!failing.empty()) {
        if (!WriteAnyway(kNoContrastStart, failing))
            return false;
        WriteColours();
        SetStatus(pagestatus::kPartlyRepaired);
        return true;
    }
    WriteColours();
    SetStatus(pagestatus::kRepaired);
    return true;
}

void CPageBodyColor::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    RevertAttributes();
    ReadColours();
    if (!Window())
        return;
    for (int colour = 0; colour < kColourCount; ++colour)
        ShowComponents(static_cast<Colour>(colour));
    Refresh();
}

} // namespace orvane
