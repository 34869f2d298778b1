#include "library/ui/pages/presentation/page_list_format.h"

#include "library/html/attribute.h"
#include "library/html/attribute_table.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"

#include <memory>
#include <unordered_set>

namespace orvane {

namespace {
constexpr int kInstruction = 422;
constexpr char kHelpTopic[] = "3-6-1.html";
constexpr int kList = 24;  // dl, ol and ul alike
constexpr int kEndTag = 1000;
constexpr int kDefinition = 21, kTerm = 25, kItem = 51;

bool IsItemTag(int kind)
{
    const int tag = kind >= kEndTag ? kind - kEndTag : kind;
    return tag == kDefinition || tag == kTerm || tag == kItem;
}
} // namespace

std::vector<CElement*> CPageListFormat::ItemTags(const CHtmlDocument& document, const CElement& list)
{
    std::vector<CElement*> items;
    const CElement* end = list.Partner();
    if (!end)
        return items;
    const std::size_t first = document.IndexOf(list);
    const std::size_t last = document.IndexOf(*end);
    int depth = 0;
    for (std::size_t i = first + 1; i < last; ++i) {
        CElement* e = document.At(i);
        if (e->IsDeleted())
            continue;
        if (e->Kind() == kList)
            ++depth;
        else if (e->Kind() == kList + kEndTag && depth > 0)
            --depth;
        else if (depth == 0 && IsItemTag(e->Kind()))
            items.push_back(e);
    }
    // An item tag whose partner is not among them (pages close items out of
    // order, after the list or in a list nested in it) is left as it is:
    // taking out one of the two would leave the other without its partner.
    const std::unordered_set<const CElement*> taken(items.begin(), items.end());
    std::erase_if(items, [&](const CElement* e) {
        const CElement* partner = e->Partner();
        return partner && partner != e && !taken.contains(partner);
    });
    return items;
}


CPageListFormat::CPageListFormat(CElement& list, const std::vector<CElement*>& items, std::string_view content)
    : CPageValidatorBase(kTemplate), m_content(content), m_start(Save(&list)), m_end(Save(list.Partner()))
{
    m_items.reserve(items.size());
    for (CElement* item : items)
        m_items.push_back(Save(item));
}

CPageListFormat::Saved CPageListFormat::Save(CElement* element)
{
    if (!element)
        return {};
    return {element, std::string(element->Text()), element->IsModified(), element->IsDeleted(), element->Kind(),
            std::string(element->WrittenTagName())};
}

void CPageListFormat::WriteBack(const Saved& saved)
{
    if (!saved.element)
        return;
    // Renamed back first: a tag rebuilt from its attributes writes the name of its record.
    if (saved.element->Kind() != saved.kind && !saved.name.empty())
        saved.element->RenameTag(saved.name, saved.kind);
    saved.element->SetKind(saved.kind);
    if (saved.element->Text() != saved.text)
        saved.element->SetText(saved.text);
    saved.element->SetModified(saved.modified);
    saved.element->SetDeleted(saved.deleted);
}

void CPageListFormat::WriteAllBack()
{
    for (auto dropped = m_dropped.rbegin(); dropped != m_dropped.rend(); ++dropped) {
        dropped->attribute->SetHideable(true);
        dropped->attribute->Hide(dropped->hidden);
        dropped->attribute->SetHideable(dropped->hideable);
        dropped->attribute->SetChanged(dropped->changed);
    }
    m_dropped.clear();
    if (m_style) {
        if (m_styleExisted) {
            m_style->Restore();
            m_style->SetChanged(m_styleChanged);
        } else {
            m_style->Hide(true);
        }
        m_style = nullptr;
    }
    WriteBack(m_start);
    WriteBack(m_end);
    for (const Saved& item : m_items)
        WriteBack(item);
}

void CPageListFormat::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    PreviewParagraph(m_content, kPreview);
    window.ClearItems(kIndentation);
    for (int em = 1; em <= kIndentations; ++em)
        window.AddItem(kIndentation, std::to_string(em) + " em");
    window.SetCurrentItem(kIndentation, m_indentation);
    window.SetChecked(kKeep, m_choice == kKeep);
    window.SetChecked(kReplace, m_choice == kReplace);
}

bool CPageListFormat::Apply()
{
    platform::IWindow* window = Window();
    if (!window)
        return true;
    SetStatus(pagestatus::kRepaired);
    m_choice = window->IsChecked(kKeep) ? kKeep : kReplace;
    const int selected = window->CurrentItem(kIndentation);
    m_indentation = selected < 0 ? m_indentation : selected;
    // Kept, the list is written exactly as it stood, not rebuilt from its attributes.
    WriteAllBack();
    if (m_choice == kKeep)
        return true;
    // Renamed, never written over: a tag rebuilt from its attributes (another
    // page may change one) must still be the span its end tag closes.
    const int span = TagIdOfToken("<span>");
    m_start.element->RenameTag("span", span);
    for (CAttribute* a = m_start.element->AttributesAfterName(); a; a = a->Next()) {
        const std::string_view name = a->Name();
        if (!EqualsIgnoreCase(name, "type") && !EqualsIgnoreCase(name, "start") && !EqualsIgnoreCase(name, "compact"))
            continue;
        m_dropped.push_back({a, a->IsHidden(), a->IsHideable(), a->IsChanged()});
        a->SetHideable(true);
        a->Hide(true);
        a->SetChanged(true);
    }
    if (m_end.element)
        m_end.element->RenameTag("span", span + kind::kEndOffset);
    const std::string margin = "margin-left: " + std::to_string(m_indentation + 1) + "em;";
    CAttribute* style = m_start.element->FindAttribute(attr::kStyle);
    m_styleExisted = style != nullptr;
    if (style) {
        m_styleChanged = style->IsChanged();
        style->Save();
        const std::string own = style->IsHidden() ? std::string() : UserText(style->Value());
        style->SetFromText(own.empty() ? margin : margin + " " + own, Encoding());
    } else {
        auto made = std::make_unique<CAttribute>();
        made->NameById(attr::kStyle);
        made->SetHideable(true);
        made->SetFromText(margin, Encoding());
        style = made.get();
        if (m_start.element->InsertAttribute(std::move(made)) != 1)
            style = nullptr;
    }
    m_style = style;
    for (const Saved& item : m_items)
        item.element->SetDeleted(true);
    return true;
}

void CPageListFormat::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    WriteAllBack();
}

} // namespace orvane
