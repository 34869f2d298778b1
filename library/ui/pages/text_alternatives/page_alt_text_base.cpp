#include "library/ui/pages/text_alternatives/page_alt_text_base.h"

#include "library/ui/validator_sheet.h"

#include "library/checks/image_checks.h"
#include "library/html/attribute.h"
#include "library/html/text_util.h"
#include "library/registry/object_database.h"
#include "platform/services.h"

#include <array>
#include <vector>

namespace orvane {

namespace {
constexpr int kCaption = 111;
constexpr int kTextNeeded = 102;
constexpr int kAltPresentNote = 128;
constexpr int kSmallImageText = 308;
constexpr int kBannerText = 309;
constexpr int kLongTextQuestion = 318;
constexpr int kSuspiciousStart = 321;
constexpr int kFileNamePart = 322;
constexpr int kPlaceholderWord = 323;
constexpr int kUseAnyway = 324;
constexpr int kBlankTextRefused = 378;

// Parts of a file name or size: found anywhere in the text.
constexpr std::array<std::string_view, 14> kFileNameParts = {
    "bytes", ".bmp", ".jpg", ".jpeg", ".gif", ".png", ".tif", ".pct", ".pic", ".iff", ".tiff", ".dib", ".tga", ".pcx"};
// Words that name the kind of object and nothing more: found as the whole text.
constexpr std::array<std::string_view, 15> kPlaceholderWords = {
    "image", "photo", "bild", "bilder", "bild1", "bild2", "foto", "fotos",
    "logo", "logos", "graphik", "graphiken", "grafik", "grafiken", "clip"};

std::string String(int id) { return platform::Strings().Get(id); }

void Say(int id)
{
    platform::Prompt().Show(String(kCaption), String(id), platform::PromptIcon::Exclamation,
                            platform::PromptButtons::Ok);
}

bool Ask(const std::string& text)
{
    return platform::Prompt().Show(String(kCaption), text, platform::PromptIcon::Exclamation,
                                   platform::PromptButtons::YesNo) == platform::kAnswerYes;
}
} // namespace


CPageAltTextBase::CPageAltTextBase(int templateId, CAttribute& alt, std::string_view source, Variant variant,
                                   const Look& look)
    : CPageValidatorBase(templateId), m_alt(alt), m_variant(variant), m_look(look)
{
    SetKey(source);
    // Pictures without a file are not known to be one and the same.
    SetMergeable(!source.empty());
}

void CPageAltTextBase::Initialise()
{
    platform::IWindow& window = *Window();
    PreviewImage(Key(), kPreview);
    window.ClearItems(kText);
    if (const CSrcObjectDatabase* registry = Sheet() ? Sheet()->ObjectRegistry() : nullptr) {
        if (const CSrcImage* known = registry->FindImage(UserText(Key()))) {
            for (const std::string& text : known->AltTexts())
                window.AddItem(kText, text);
        }
    }
    const std::string current = m_alt.IsHidden() ? std::string() : UserText(m_alt.Value());
    std::string proposal(current);
    if (current.empty() && IsSmallImage())
        proposal = String(kSmallImageText);
    else if (current.empty() && IsBannerImage())
        proposal = String(kBannerText);
    window.SetText(kText, proposal);
    window.SetText(kNote, current.empty() ? std::string() : String(kAltPresentNote));
    window.Show(kNote, !current.empty());
    window.SetText(kSource, UserText(Key()));

    window.Show(m_look.longExplanation, false);
    window.Show(m_look.longSubExplanation, false);
    window.Show(kSuspiciousExplanation, false);
    if (m_variant.suspicious) {
        SetHelpTopic(m_look.helpSuspicious);
        SetInstruction(m_look.instructionSuspicious);
        window.Show(kSuspiciousExplanation, true);
    } else if (!m_variant.longText) {
        SetHelpTopic(m_look.helpMissing);
        SetInstruction(m_look.instructionMissing);
    } else {
        SetHelpTopic(m_look.helpLong);
        SetInstruction(m_look.instructionLong);
        window.Show(m_variant.subVariant ? m_look.longSubExplanation : m_look.longExplanation, true);
    }
}

void CPageAltTextBase::SetAlt(std::string_view text)
{
    m_alt.SetFromText(text, Encoding());
}

void CPageAltTextBase::RevertAlt()
{
    m_alt.Revert();
}

bool CPageAltTextBase::AcceptsSuspiciousText(std::string_view text) const
{
    const std::string lower = ToLower(text);
    for (std::string_view part : kFileNameParts) {
        if (lower.find(part) != std::string::npos)
            return Ask(String(kSuspiciousStart) + std::string(part) + String(kFileNamePart) + String(kUseAnyway));
    }
    for (std::string_view word : kPlaceholderWords) {
        if (lower == word)
            return Ask(String(kSuspiciousStart) + std::string(word) + String(kPlaceholderWord) + String(kUseAnyway));
    }
    return true;
}

bool CPageAltTextBase::Apply()
{
    SetStatus(pagestatus::kNotRepaired);
    platform::IWindow* window = Window();
    if (!window)
        return true;
    const std::string text = window->Text(kText);
    if (text.empty()) {
        Say(kTextNeeded);
        return false;
    }
    if (!m_variant.longText && TextLength(text) > kLongAltText && !Ask(String(kLongTextQuestion) + text))
        return false;
    if (m_forbidsBlankText && TrimLeft(text).empty()) {
        Say(kBlankTextRefused);
        return false;
    }
    if (!m_variant.suspicious && !AcceptsSuspiciousText(text))
        return false;

    for (CPageAltTextBase* same : MergedPages()) {
        same->SetAlt(text);
        same->SetStatus(pagestatus::kRepaired);
        same->SetSkip(true);
    }
    SetAlt(text);
    SetStatus(pagestatus::kRepaired);
    return true;
}

std::vector<CPageAltTextBase*> CPageAltTextBase::MergedPages() const
{
    std::vector<CPageAltTextBase*> merged;
    const int index = Sheet() ? Sheet()->IndexOf(*this) : -1;
    if (!OptionState() || index < 0)
        return merged;
    for (CPageValidatorBase* other : Sheet()->PagesWithKey(Key())) {
        if (Sheet()->IndexOf(*other) > index && IsSameKind(*other))
            merged.push_back(static_cast<CPageAltTextBase*>(other));
    }
    return merged;
}

// The places the text went to with this page's apply go back with it: they
// are out of the user's reach while merged.
void CPageAltTextBase::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    RevertAlt();
    for (CPageAltTextBase* same : MergedPages()) {
        same->SetStatus(pagestatus::kNotRepaired);
        same->RevertAlt();
    }
    if (Window())
        Window()->SetText(kText, m_alt.IsHidden() ? std::string() : UserText(m_alt.Value()));
}

} // namespace orvane
