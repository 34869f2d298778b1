#include "library/ui/pages/presentation/page_blink.h"

#include "library/ui/pages/presentation/presentation_texts.h"
#include "library/ui/validator_sheet.h"

#include "common/orvane_settings.h"
#include "library/html/element.h"
#include "library/html/text_util.h"

namespace orvane {

namespace {
constexpr int kInstruction = 179;
constexpr char kHelpTopic[] = "7-2-1.html";
constexpr std::string_view kDefaultTag = "STRONG";
// Declarations as a style attribute takes them: in braces a browser drops them all.
constexpr std::string_view kDefaultAttributes = "style=\"font-family: arial; font-size: larger;\"";

// The row of the drop-down that offers the tag (compared without case); -1 for none.
int RowOfTag(std::string_view tag)
{
    const std::vector<std::string>& names = CPageBlink::TagNames();
    const std::string wanted = ToLower(tag);
    for (std::size_t row = 0; row < names.size(); ++row) {
        if (ToLower(CPageBlink::TagOf(names[row])) == wanted)
            return static_cast<int>(row);
    }
    return -1;
}

void SetDeleted(CElement* element, bool deleted)
{
    if (element)
        element->SetDeleted(deleted);
}
} // namespace


const std::vector<std::string>& CPageBlink::TagNames()
{
    static const std::vector<std::string> kNames = {"em (emphasis)", "span", "strong", "h1", "h2",
                                                    "h3",            "h4",   "h5",     "h6"};
    return kNames;
}

std::string CPageBlink::TagOf(std::string_view shown)
{
    const std::size_t bracket = shown.find('(');
    if (bracket != std::string_view::npos)
        shown = shown.substr(0, bracket == 0 ? 0 : bracket - 1);
    return std::string(Trim(shown));
}

bool CPageBlink::TakesAttributes(std::string_view tag) { return ToLower(tag) == "span" || RowOfTag(tag) < 0; }

CPageBlink::Repair CPageBlink::Proposal(const COrvaneSettings* settings)
{
    Repair repair;
    std::string tag = settings ? std::string(Trim(settings->GetText1(kFamily, kBit))) : std::string();
    if (tag.empty())
        tag = kDefaultTag;
    const int row = RowOfTag(tag);
    repair.tag = row < 0 ? tag : TagOf(TagNames()[static_cast<std::size_t>(row)]);
    repair.choice = settings && settings->GetRememberedNumber(kFamily, kBit) != 0 ? kChoiceReplace : kChoiceRemove;
    repair.attributes = settings ? settings->GetText2(kFamily, kBit) : std::string();
    if (repair.attributes.empty())
        repair.attributes = kDefaultAttributes;
    return repair;
}

CPageBlink::CPageBlink(CElement& blink, CElement& replacement, std::string_view text)
    : CPageValidatorBase(kTemplate), m_blink(blink), m_replacement(replacement), m_text(text),
      m_blinkWasDeleted(blink.IsDeleted()), m_blinkEndWasDeleted(blink.Partner() && blink.Partner()->IsDeleted())
{
    // Blinking is one problem wherever it stands: every page of a run shares
    // the key, so one choice can serve them all.
    SetKey("blink");
    SetMergeable(true);
}

void CPageBlink::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    window.SetText(kBlinkingText, UserText(m_text, TextPlace::ElementText));
    window.ClearItems(kTag);
    for (const std::string& name : TagNames())
        window.AddItem(kTag, name);
    if (!m_opened) {
        m_opened = true;
        m_repair = Proposal(Sheet() ? Sheet()->Settings() : nullptr);
        m_proposeReplacing = m_repair.choice == kChoiceReplace;
    }
    const int row = RowOfTag(m_repair.tag);
    if (row >= 0)
        window.SetCurrentItem(kTag, row);
    else
        window.SetText(kTag, m_repair.tag);
    window.SetText(kAttributes, m_repair.attributes);
    window.SetChecked(m_repair.choice == kChoiceReplace ? kReplace : kRemove, true);
    window.SetChecked(m_proposeReplacing ? kProposeReplacing : kProposeRemoving, true);
    EnableAttributes();
}

void CPageBlink::EnableAttributes()
{
    if (platform::IWindow* window = Window())
        EnableControls(TakesAttributes(TagOf(window->Text(kTag))), {kAttributes, kAttributesLabel}, false);
}

void CPageBlink::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    using platform::NotifyCode;
    if (notification.control == kTag &&
        (notification.code == NotifyCode::SelectionChanged || notification.code == NotifyCode::TextChanged)) {
        EnableAttributes();
    } else if (notification.code == NotifyCode::Clicked && notification.control == kRemove) {
        window.SetChecked(kProposeRemoving, true);
    } else if (notification.code == NotifyCode::Clicked && notification.control == kReplace) {
        window.SetChecked(kProposeReplacing, true);
    }
}

void CPageBlink::CarryOut(const Repair& repair)
{
    CElement* replacementEnd = m_replacement.Partner();
    m_blink.SetDeleted(true);
    SetDeleted(m_blink.Partner(), true);
    if (repair.choice == kChoiceReplace) {
        const std::string_view attributes = TakesAttributes(repair.tag) ? std::string_view(repair.attributes)
                                                                        : std::string_view();
        // The attributes as the user typed them, in the page's encoding.
        m_replacement.SetText(MarkupToPage(presentation::StartTag(repair.tag, attributes), Encoding()));
        m_replacement.SetDeleted(false);
        if (replacementEnd) {
            replacementEnd->SetText("</" + repair.tag + ">");
            replacementEnd->SetDeleted(false);
        }
    } else {
        m_replacement.SetDeleted(true);
        SetDeleted(replacementEnd, true);
    }
    m_repair = repair;
    SetStatus(pagestatus::kRepaired);
}

void CPageBlink::Revert()
{
    m_blink.SetDeleted(m_blinkWasDeleted);
    SetDeleted(m_blink.Partner(), m_blinkEndWasDeleted);
    m_replacement.SetDeleted(true);
    SetDeleted(m_replacement.Partner(), true);
    SetStatus(pagestatus::kNotRepaired);
}

std::vector<CPageBlink*> CPageBlink::MergedPages() const
{
    std::vector<CPageBlink*> merged;
    const int index = Sheet() ? Sheet()->IndexOf(*this) : -1;
    if (!OptionState() || index < 0)
        return merged;
    for (CPageValidatorBase* other : Sheet()->PagesWithKey(Key())) {
        if (Sheet()->IndexOf(*other) > index && IsSameKind(*other))
            merged.push_back(static_cast<CPageBlink*>(other));
    }
    return merged;
}

bool CPageBlink::Apply()
{
    platform::IWindow* window = Window();
    if (!window)
        return true;
    Repair repair;
    repair.choice = window->IsChecked(kRemove) ? kChoiceRemove : kChoiceReplace;
    repair.tag = TagOf(window->Text(kTag));
    repair.attributes = window->Text(kAttributes);
    const bool tagUsable = presentation::IsTagName(repair.tag);
    const bool attributesUsable = presentation::IsTagText(repair.attributes);
    if (repair.choice == kChoiceReplace) {
        if (!tagUsable) {
            presentation::SayTagNeeded();
            return false;
        }
        if (TakesAttributes(repair.tag) && !attributesUsable) {
            presentation::SayNoAngleBrackets();
            return false;
        }
    } else if (!tagUsable || !attributesUsable) {
        // Nothing is written with them now, and they must not be proposed later.
        repair.tag = m_repair.tag;
        repair.attributes = m_repair.attributes;
    }
    m_proposeReplacing = window->IsChecked(kProposeReplacing);
    CarryOut(repair);
    for (CPageBlink* same : MergedPages()) {
        same->CarryOut(repair);
        same->SetSkip(true);
    }
    m_applied = true;
    return true;
}

// The blinking texts this page's apply reached go back with it: they are out
// of the user's reach while merged.
void CPageBlink::Undo()
{
    Revert();
    for (CPageBlink* same : MergedPages())
        same->Revert();
    m_applied = false;
}

bool CPageBlink::RepairAutomatically()
{
    const Repair repair = Proposal(Sheet() ? Sheet()->Settings() : nullptr);
    if (repair.choice == kChoiceReplace &&
        (!presentation::IsTagName(repair.tag) ||
         (TakesAttributes(repair.tag) && !presentation::IsTagText(repair.attributes))))
        return false;
    CarryOut(repair);
    return true;
}

// What the user chose is proposed for blinking text in later sessions.
void CPageBlink::Destroyed()
{
    COrvaneSettings* settings = Sheet() ? Sheet()->Settings() : nullptr;
    if (IsCancelled() || !m_applied || !settings)
        return;
    settings->SetRememberedNumber(kFamily, kBit, m_proposeReplacing ? 1 : 0);
    settings->SetText1(kFamily, kBit, m_repair.tag);
    settings->SetText2(kFamily, kBit, m_repair.attributes);
    settings->Save();
}

} // namespace orvane
