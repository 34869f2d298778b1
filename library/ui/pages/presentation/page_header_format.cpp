#include "library/ui/pages/presentation/page_header_format.h"

#include "library/ui/pages/presentation/presentation_texts.h"

#include "library/html/element.h"
#include "platform/services.h"

#include <array>

namespace orvane {

namespace {
constexpr int kInstruction = 400;
constexpr char kHelpTopic[] = "3-5-3.html";

struct Replacement {
    int name; // resource string: the choice as the list shows it
    std::string_view start;
    std::string_view end;
};
constexpr std::array<Replacement, 5> kReplacements = {{
    {1094, "<p>", "</p>"},
    {1095, "<blockquote>", "</blockquote>"},
    {1096, "<strong>", "</strong>"},
    {1097, "<em>", "</em>"},
    {1098, "", "</span>"},
}};
} // namespace


CPageHeaderFormat::CPageHeaderFormat(CElement& heading, std::string_view headingText)
    : CPageValidatorBase(kTemplate), m_start(heading), m_end(heading.Partner()), m_headingText(headingText),
      m_savedStart(heading.Text()), m_savedEnd(m_end ? m_end->Text() : std::string_view()),
      m_savedStartModified(heading.IsModified()), m_savedEndModified(m_end && m_end->IsModified())
{
}

void CPageHeaderFormat::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    window.SetText(kHeadingText, m_headingText);
    window.SetChecked(kKeep, m_keep);
    window.SetChecked(kReplace, !m_keep);
    window.ClearItems(kReplacement);
    for (const Replacement& replacement : kReplacements)
        window.AddItem(kReplacement, platform::Strings().Get(replacement.name));
    window.SetCurrentItem(kReplacement, m_index);
    window.SetText(kStyle, m_style);
    EnableStyle();
}

void CPageHeaderFormat::EnableStyle()
{
    platform::IWindow* window = Window();
    const bool span = window && window->CurrentItem(kReplacement) == kSpanIndex;
    EnableControls(span, {kStyle, kStyleLabel}, false);
}

void CPageHeaderFormat::OnNotify(platform::IWindow&, const platform::Notification& notification)
{
    if (notification.control == kReplacement && notification.code == platform::NotifyCode::SelectionChanged)
        EnableStyle();
}

void CPageHeaderFormat::WriteBack()
{
    m_start.SetText(m_savedStart);
    m_start.SetModified(m_savedStartModified);
    if (m_end) {
        m_end->SetText(m_savedEnd);
        m_end->SetModified(m_savedEndModified);
    }
}

bool CPageHeaderFormat::Apply()
{
    platform::IWindow* window = Window();
    if (!window)
        return true;
    const bool keep = window->IsChecked(kKeep);
    const int index = window->CurrentItem(kReplacement);
    const std::string style = window->Text(kStyle);
    if (!keep && index == kSpanIndex && !presentation::IsTagText(style)) {
        presentation::SayNoAngleBrackets();
        return false;
    }
    m_keep = keep;
    m_index = index;
    m_style = style;
    SetStatus(pagestatus::kRepaired);
    WriteBack();
    if (keep || index < 0 || index >= static_cast<int>(kReplacements.size()))
        return true;
    const Replacement& replacement = kReplacements[static_cast<std::size_t>(index)];
    std::string start(replacement.start);
    if (index == kSpanIndex)
        start = presentation::StartTag("span", style);
    // The texts are written as they stand: a tag rebuilt from the heading's
    // attributes would be a heading again.
    m_start.SetText(start);
    m_start.SetModified(false);
    if (m_end) {
        m_end->SetText(replacement.end);
        m_end->SetModified(false);
    }
    return true;
}

void CPageHeaderFormat::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    WriteBack();
}

} // namespace orvane
