#include "library/ui/pages/presentation/page_header_format.h"

#include "library/ui/pages/presentation/presentation_texts.h"

#include "library/html/attribute.h"
#include "library/html/attribute_parser.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/text_util.h"
#include "library/html/tag_table.h"
#include "platform/services.h"

#include <algorithm>
#include <array>

namespace orvane {

namespace {
constexpr int kInstruction = 400;
constexpr char kHelpTopic[] = "3-5-3.html";

struct Replacement {
    int name; // resource string: the choice as the list shows it
    std::string_view tag;
};
constexpr std::array<Replacement, 5> kReplacements = {{
    {1094, "p"},
    {1095, "blockquote"},
    {1096, "strong"},
    {1097, "em"},
    {1098, "span"},
}};
} // namespace


CPageHeaderFormat::CPageHeaderFormat(CElement& heading, std::string_view headingText, const CHtmlDocument& document)
    : CPageValidatorBase(kTemplate), m_start(heading), m_end(heading.Partner()), m_document(document),
      m_headingText(headingText),
      m_savedStart(heading.Text()), m_savedEnd(m_end ? m_end->Text() : std::string_view()),
      m_savedName(heading.WrittenTagName()), m_savedKind(heading.Kind()),
      m_savedStartModified(heading.IsModified()), m_savedEndModified(m_end && m_end->IsModified())
{
}

void CPageHeaderFormat::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    window.SetText(kHeadingText, UserText(m_headingText, TextPlace::ElementText));
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
    for (auto given = m_given.rbegin(); given != m_given.rend(); ++given) {
        if (given->existed) {
            given->attribute->Restore();
            given->attribute->SetChanged(given->changed);
        } else {
            given->attribute->Hide(true);
        }
    }
    m_given.clear();
    // Only what this page renamed is named back: a heading it keeps stays as
    // the other pages (a level changed, say) left it.
    if (!m_renamed)
        return;
    m_renamed = false;
    // Renamed back first, so that the name a rebuilt tag writes is the heading's again.
    if (m_start.Kind() != m_savedKind)
        m_start.RenameTag(m_savedName, m_savedKind);
    if (m_start.Text() != m_savedStart)
        m_start.SetText(m_savedStart);
    m_start.SetModified(m_savedStartModified);
    if (m_end) {
        if (m_end->Kind() != m_savedKind + kind::kEndOffset)
            m_end->RenameTag(m_savedName, m_savedKind + kind::kEndOffset);
        if (m_end->Text() != m_savedEnd)
            m_end->SetText(m_savedEnd);
        m_end->SetModified(m_savedEndModified);
    }
}

// The attributes typed for the span, given to its start tag: a value the tag
// has already is replaced (and kept to be given back), the others are added.
void CPageHeaderFormat::GiveAttributes(std::string_view typed)
{
    CElement parsed;
    if (!parsed.SetText("<span " + std::string(typed) + ">"))
        return;
    parsed.SetKind(TagIdOfToken(parsed.Text()));
    CAttributeParser().Parse(parsed, nullptr);
    for (CAttribute* a = parsed.AttributesAfterName(); a; a = a->Next()) {
        if (a->Name().empty())
            continue;
        CAttribute* existing = a->Id() != attr::kOther ? m_start.FindAttribute(a->Id()) : nullptr;
        if (existing) {
            m_given.push_back({existing, true, existing->IsChanged()});
            existing->Save();
            existing->SetFromText(a->Value(), Encoding());
            continue;
        }
        auto made = std::make_unique<CAttribute>();
        made->CopyFrom(*a);
        if (a->HasValue())
            made->SetFromText(a->GetValue(), Encoding());
        made->SetHideable(true);
        made->SetChanged(true);
        CAttribute* given = made.get();
        if (m_start.InsertAttribute(std::move(made)) == 1)
            m_given.push_back({given, false, false});
    }
}

bool CPageHeaderFormat::HoldsBlock() const
{
    static constexpr std::string_view kBlocks[] = {"address", "blockquote", "center", "dir", "div", "dl", "fieldset",
                                                   "form", "h1", "h2", "h3", "h4", "h5", "h6", "hr", "menu",
                                                   "noscript", "ol", "p", "pre", "table", "ul"};
    if (!m_end || !m_document.Find(&m_start) || !m_document.Find(m_end))
        return false;
    for (std::size_t i = m_document.IndexOf(m_start) + 1; i < m_document.IndexOf(*m_end); ++i) {
        const CElement* e = m_document.At(i);
        if (e->IsDeleted() || e->Kind() < 0 || e->Kind() >= kind::kEndOffset)
            continue;
        const std::string_view name = e->WrittenTagName();
        if (std::any_of(std::begin(kBlocks), std::end(kBlocks),
                        [&](std::string_view block) { return EqualsIgnoreCase(name, block); }))
            return true;
    }
    return false;
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
    const std::string_view tag = replacement.tag == std::string_view("p") && HoldsBlock() ? "div" : replacement.tag;
    // The heading as the pages before this one left it, given back by an undo.
    m_savedStart = m_start.Text();
    m_savedEnd = m_end ? std::string(m_end->Text()) : std::string();
    m_savedName = m_start.WrittenTagName();
    m_savedKind = m_start.Kind();
    m_savedStartModified = m_start.IsModified();
    m_savedEndModified = m_end && m_end->IsModified();
    m_renamed = true;
    // Renamed, never written over: another page may change the heading's
    // attributes, and a tag rebuilt from them must still be the new element
    // closed by its own end tag.
    const int kind = TagIdOfToken("<" + std::string(tag) + ">");
    m_start.RenameTag(tag, kind);
    if (m_end)
        m_end->RenameTag(tag, kind + kind::kEndOffset);
    if (index == kSpanIndex)
        GiveAttributes(style);
    return true;
}

void CPageHeaderFormat::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    WriteBack();
}

} // namespace orvane
