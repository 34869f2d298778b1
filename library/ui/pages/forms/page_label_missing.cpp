#include "library/ui/pages/forms/page_label_missing.h"

#include "library/checks/label_repair.h"
#include "library/html/attribute.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "platform/services.h"

#include <algorithm>

namespace orvane {

namespace {
constexpr int kMessageCaption = 111;
constexpr int kInstruction = 920;
constexpr int kTextNeeded = 922;
constexpr int kInsertAfter = 923;
constexpr int kNoTextNear = 928;
constexpr int kTextTaken = 930;
constexpr char kHelpTopic[] = "12-4-1.html";

std::string OneLine(std::string_view text)
{
    std::string line(Trim(text));
    std::replace(line.begin(), line.end(), '\r', ' ');
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line;
}

// "first_name" as a person would write it: "First name".
std::string Readable(std::string_view name)
{
    std::string text(Trim(name));
    std::replace(text.begin(), text.end(), '_', ' ');
    std::replace(text.begin(), text.end(), '-', ' ');
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

std::string_view Shown(const CAttribute* attribute)
{
    return attribute && !attribute->IsHidden() ? Trim(attribute->Value()) : std::string_view();
}

// The button right after the control, a search field's for instance, whose
// text says what the field is for; null when another thing comes first.
const CElement* ButtonAfter(const CElement& control, const CHtmlDocument& document)
{
    static const int kButton = TagIdOfToken("<button>");
    for (std::size_t i = document.IndexOf(control) + 1; i < document.Size(); ++i) {
        const CElement* e = document.At(i);
        if (e->IsDeleted() || (e->Kind() == kind::kText && Trim(e->Text()).empty()))
            continue;
        if (e->Kind() == kButton)
            return e;
        const CAttribute* type = e->Kind() == tag::kInput ? e->FindAttribute(attr::kType) : nullptr;
        const bool button = type && (EqualsIgnoreCase(type->Value(), "submit") ||
                                     EqualsIgnoreCase(type->Value(), "image") ||
                                     EqualsIgnoreCase(type->Value(), "button"));
        return button ? e : nullptr;
    }
    return nullptr;
}

std::string QuotedValue(std::string_view value)
{
    std::string quoted;
    for (char c : value)
        quoted += c == '"' ? std::string("&quot;") : std::string(1, c);
    return quoted;
}
} // namespace

CPageLabelMissing::CPageLabelMissing(const Prepared& prepared, CHtmlDocument& document)
    : CPageValidatorBase(kTemplate), m_prepared(prepared), m_document(document)
{
}

std::vector<std::string> CPageLabelMissing::Proposals() const
{
    std::vector<std::string> proposals;
    auto offer = [&](std::string text) {
        if (!text.empty() && std::find(proposals.begin(), proposals.end(), text) == proposals.end())
            proposals.push_back(std::move(text));
    };
    // Each as the user reads it: a proposal taken as it is writes the text
    // the page has.
    if (m_prepared.nearText)
        offer(UserText(OneLine(m_prepared.nearText->Text()), TextPlace::ElementText));
    offer(UserText(Shown(&m_prepared.title)));
    const CElement* button = Element() && m_document.Find(Element()) ? ButtonAfter(*Element(), m_document) : nullptr;
    if (button)
        offer(UserText(Shown(button->FindAttribute(button->Kind() == tag::kInput ? attr::kValue : attr::kTitle))));
    if (Element())
        offer(Readable(UserText(Shown(Element()->FindAttribute(attr::kName)))));
    return proposals;
}

void CPageLabelMissing::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    window.SetText(kControl, PageBytesToUtf8(Element()->MarkupText(), Encoding()));
    window.ClearItems(kLabelText);
    const std::vector<std::string> proposals = Proposals();
    for (const std::string& text : proposals)
        window.AddItem(kLabelText, text);
    window.SetText(kLabelText, proposals.empty() ? std::string() : proposals.front());
    const bool nearText = m_prepared.nearText && m_prepared.wrapped;
    window.SetText(kNearText, nearText ? UserText(OneLine(m_prepared.nearText->Text()), TextPlace::ElementText)
                                       : platform::Strings().Get(kNoTextNear));
    if (LabelReadAfter(*Element()))
        window.SetText(kInsert, platform::Strings().Get(kInsertAfter));
    // A field with only its button beside it, as a search field has, is
    // named well enough for sighted users by the button: a title suffices.
    const bool besideButton = !nearText && m_document.Find(Element()) && ButtonAfter(*Element(), m_document);
    window.SetChecked(nearText ? kWrap : besideButton ? kTitle : kInsert, true);
    EnableControls(nearText, {kWrap}, false);
    EnableLabelText();
    PreviewFormControl(*Element(), m_document, kPreview);
}

// The text next to the control is wrapped as it stands: nothing is typed for it.
void CPageLabelMissing::EnableLabelText()
{
    if (platform::IWindow* window = Window())
        EnableControls(!window->IsChecked(kWrap), {kLabelText}, false);
}

void CPageLabelMissing::OnNotify(platform::IWindow&, const platform::Notification& notification)
{
    if (notification.code == platform::NotifyCode::Clicked &&
        (notification.control == kWrap || notification.control == kInsert || notification.control == kTitle))
        EnableLabelText();
}

void CPageLabelMissing::TakeBack()
{
    m_prepared.id.Revert();
    m_prepared.title.Revert();
    m_prepared.beside.SetDeleted(true);
    if (m_prepared.wrapped)
        m_prepared.wrapped->SetDeleted(true);
    if (m_wrappedHere)
        m_prepared.nearText->SetDeleted(false);
    m_wrappedHere = false;
}

namespace {
void Say(int messageId)
{
    platform::Prompt().Show(platform::Strings().Get(kMessageCaption), platform::Strings().Get(messageId),
                            platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
}
} // namespace

bool CPageLabelMissing::Apply()
{
    platform::IWindow* window = Window();
    if (!window)
        return true;
    const bool wrap = window->IsChecked(kWrap) && m_prepared.nearText && m_prepared.wrapped;
    const bool asTitle = !wrap && window->IsChecked(kTitle);
    const std::string text(wrap ? std::string_view() : Trim(window->Text(kLabelText)));
    // Back and Next again: the page starts over from what it found.
    TakeBack();
    if (!wrap && text.empty()) {
        SetStatus(pagestatus::kNotRepaired);
        Say(kTextNeeded);
        return false;
    }
    // A text between two controls may have become the other one's label on its page.
    if (wrap && m_prepared.nearText->IsDeleted()) {
        SetStatus(pagestatus::kNotRepaired);
        Say(kTextTaken);
        return false;
    }
    m_asTitle = asTitle;
    if (asTitle) {
        m_prepared.title.SetFromText(text, Encoding());
        SetStatus(pagestatus::kRepaired);
        return true;
    }
    std::string id(Shown(&m_prepared.id));
    if (id.empty()) {
        id = UniqueControlId(*Element(), m_document);
        m_prepared.id.SetFromText(id, Encoding());
    }
    const std::string start = "<label for=\"" + QuotedValue(id) + "\">";
    if (wrap) {
        // Only the words become the label; the blanks and line breaks around them stay where they were.
        const std::string_view whole = m_prepared.nearText->Text();
        const std::string_view words = Trim(whole);
        const std::size_t lead = static_cast<std::size_t>(words.data() - whole.data());
        m_prepared.wrapped->SetText(std::string(whole.substr(0, lead)) + start + std::string(words) + "</label>" +
                                    std::string(whole.substr(lead + words.size())));
        m_prepared.wrapped->SetDeleted(false);
        m_prepared.nearText->SetDeleted(true);
        m_wrappedHere = true;
    } else {
        const std::string label = start + PageBytes(text, TextPlace::ElementText) + "</label>";
        m_prepared.beside.SetText(LabelReadAfter(*Element()) ? " " + label : label + " ");
        m_prepared.beside.SetDeleted(false);
    }
    SetStatus(pagestatus::kRepaired);
    return true;
}

void CPageLabelMissing::Undo()
{
    TakeBack();
    SetStatus(pagestatus::kNotRepaired);
    if (Window())
        PreviewFormControl(*Element(), m_document, kPreview);
}

} // namespace orvane
