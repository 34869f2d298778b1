#include "library/ui/pages/presentation/page_deprecated_html.h"

#include "library/ui/default_text_pages.h"
#include "library/ui/paragraph_context.h"
#include "library/ui/validator_sheet.h"

#include "common/orvane_settings.h"
#include "library/checks/deprecated_markup.h"
#include "library/html/attribute.h"
#include "library/html/attribute_table.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "platform/services.h"

#include <utility>

#include <algorithm>

namespace orvane {

namespace {
namespace dm = deprecatedmarkup;

constexpr char kHelpTopic[] = "11-2-1.html";
constexpr int kFamilyBody = tag::kBody;
constexpr std::uint32_t kBit = 0x8;
constexpr int kInstruction = 1112;
constexpr int kWhatTitle = 1113, kLineTitle = 1114, kTextTitle = 1115, kChoiceTitle = 1116;
constexpr int kElementWhat = 1117, kAttributeWhat = 1118;
constexpr int kBecomesModern = 1119, kBecomesRemoved = 1120, kStays = 1121, kBasefontGoes = 1122;
// How much of an item's text the list shows, and how far it looks for it,
// so that a center around the whole page is not read whole.
constexpr std::size_t kShownText = 60;
constexpr std::size_t kTextReach = 200;

std::string TextOf(const CHtmlDocument& document, const CElement& element)
{
    const auto& elements = document.Elements();
    const CElement* partner = element.Partner();
    const std::size_t at = document.IndexOf(element);
    std::string text;
    if (partner && document.Find(partner) && document.IndexOf(*partner) > at) {
        const std::size_t end = document.IndexOf(*partner);
        for (std::size_t i = at + 1, steps = 0; i < end && steps < kTextReach && text.size() <= kShownText;
             ++i, ++steps) {
            const CElement* e = elements[i];
            if (e->IsDeleted() || e->Kind() != kind::kText)
                continue;
            const std::string_view piece = Trim(e->Text());
            if (piece.empty())
                continue;
            if (!text.empty())
                text.push_back(' ');
            AppendWithoutBreakReturns(text, document.UserText(piece, TextPlace::ElementText));
        }
    } else if (element.Kind() == tag::kImg) {
        const CAttribute* alt = element.FindAttribute(attr::kAlt);
        const CAttribute* src = element.FindAttribute(attr::kSrc);
        text = alt && !alt->IsHidden() && !alt->IsEmpty() ? document.UserText(alt->Value())
               : src                                     ? document.UserText(src->Value())
                                                         : std::string();
    }
    if (text.size() > kShownText) {
        std::size_t cut = kShownText;
        // Never inside a character of several bytes.
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xc0) == 0x80)
            --cut;
        text.resize(cut);
        text.append("...");
    }
    return text;
}

std::string NameOf(const CElement& element) { return ToLower(element.WrittenTagName()); }

} // namespace

std::vector<CPageDeprecatedHtml::Item> CPageDeprecatedHtml::FindItems(const CHtmlDocument& document,
                                                                      const CElement& body)
{
    const platform::IStringTable& strings = platform::Strings();
    std::vector<Item> items;
    for (const dm::Finding& finding : dm::FindInBody(document, body)) {
        Item item;
        item.element = finding.element;
        item.attribute = finding.attribute;
        const std::string name = NameOf(*finding.element);
        item.what = finding.attribute ? strings.Format(kAttributeWhat, {ToLower(finding.attribute->Name()), name})
                                      : strings.Format(kElementWhat, {name});
        item.kind = finding.element->Kind();
        item.name = name;
        item.original = finding.element->MarkupText();
        item.line = document.LocationOf(*finding.element).line;
        item.text = TextOf(document, *finding.element);
        item.declarations = dm::Declarations(finding);
        if (!finding.attribute && dm::ReplacementOf(finding.element->Kind()) == dm::Becomes::StruckOut)
            item.choice = kRemovedText;
        items.push_back(std::move(item));
    }
    return items;
}

CPageDeprecatedHtml::CPageDeprecatedHtml(std::vector<Item> items, CHtmlDocument& document, CElement& body,
                                         CAttribute* bodyStyle)
    : CPageValidatorBase(kTemplate), m_items(std::move(items)), m_document(document), m_body(body),
      m_bodyStyle(bodyStyle)
{
}

bool CPageDeprecatedHtml::IsStruck(const Item& item) const
{
    return !item.attribute && dm::ReplacementOf(item.kind) == dm::Becomes::StruckOut;
}

void CPageDeprecatedHtml::Initialise()
{
    platform::IWindow& window = *Window();
    const platform::IStringTable& strings = platform::Strings();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    // Struck-out text is proposed as the user chose it last time.
    const COrvaneSettings* settings = Sheet() ? Sheet()->Settings() : nullptr;
    if (!m_rememberedRead && settings) {
        m_rememberedRead = true;
        const int remembered = settings->GetRememberedNumber(kFamilyBody, kBit);
        if (remembered == kRememberedStruck || remembered == kRememberedRemoved) {
            for (Item& item : m_items) {
                if (IsStruck(item))
                    item.choice = remembered == kRememberedStruck ? kReplace : kRemovedText;
            }
        }
    }
    window.SetColumns(kItems, {{strings.Get(kWhatTitle), 150, platform::Align::Left, true},
                               {strings.Get(kLineTitle), 50, platform::Align::Right, false},
                               {strings.Get(kTextTitle), 220, platform::Align::Left, false},
                               {strings.Get(kChoiceTitle), 130, platform::Align::Left, false}});
    window.ClearItems(kItems);
    for (std::size_t row = 0; row < m_items.size(); ++row) {
        const Item& item = m_items[row];
        window.AddItem(kItems, item.what);
        const int r = static_cast<int>(row);
        window.SetItemText(kItems, r, kLineColumn, item.line ? std::to_string(item.line) : std::string());
        window.SetItemText(kItems, r, kTextColumn, item.text);
        ShowChoice(r);
    }
    window.Enable(kChoiceForAll, m_items.size() > 1);
    if (!m_items.empty()) {
        window.SetCurrentItem(kItems, m_row);
        window.SetItemSelected(kItems, m_row, true);
        ShowItem(m_row);
    }
}

std::string CPageDeprecatedHtml::ProposedTag(const Item& item) const
{
    const CElement& element = *item.element;
    // Markup is shown as the page has it, decoded from its encoding.
    if (item.choice == kLeave)
        return PageBytesToUtf8(item.original, Encoding());
    if (!item.attribute && dm::ReplacementOf(item.kind) == dm::Becomes::BodyStyle) {
        const CAttribute* style = m_bodyStyle && !m_bodyStyle->IsHidden() ? m_bodyStyle : nullptr;
        const std::string merged = dm::MergeStyle(style ? style->Value() : "", item.declarations);
        return platform::Strings().Format(kBasefontGoes,
                                          {"<body style=\"" + PageBytesToUtf8(merged, Encoding()) + "\">"});
    }
    std::string name = item.name;
    std::string declarations = item.declarations;
    if (!item.attribute) {
        switch (dm::ReplacementOf(item.kind)) {
        case dm::Becomes::Div:
            name = "div";
            break;
        case dm::Becomes::StruckOut:
            name = item.choice == kRemovedText ? "del" : "span";
            if (item.choice == kRemovedText)
                declarations.clear();
            break;
        default:
            name = "span";
        }
    }
    std::string tag = "<" + name;
    for (const CAttribute* a = element.AttributesAfterName(); a; a = a->Next()) {
        if (a->IsHidden() || a == item.attribute || a->Id() == attr::kStyle ||
            (!item.attribute && item.kind == dm::kFont && !dm::FontDeclaration(*a).empty()))
            continue;
        tag += " " + a->AttributeText();
    }
    const CAttribute* style = element.FindAttribute(attr::kStyle);
    const std::string merged = dm::MergeStyle(style && !style->IsHidden() ? style->Value() : "", declarations);
    if (!merged.empty())
        tag += " style=\"" + merged + "\"";
    return PageBytesToUtf8(tag + ">", Encoding());
}

void CPageDeprecatedHtml::ShowItem(int row)
{
    platform::IWindow& window = *Window();
    const Item& item = m_items[static_cast<std::size_t>(row)];
    window.Enable(kRemovedText, IsStruck(item));
    for (int id : {kReplace, kRemovedText, kLeave})
        window.SetChecked(id, id == item.choice);
    window.SetText(kModernMarkup, ProposedTag(item));
    const std::size_t start = m_document.IndexOf(*item.element);
    std::size_t end = start;
    if (const CElement* partner = item.element->Partner();
        partner && m_document.Find(partner) && m_document.IndexOf(*partner) > start)
        end = m_document.IndexOf(*partner);
    PreviewParagraph(ParagraphInContext(m_document, start, end), kPreview);
}

void CPageDeprecatedHtml::ShowChoice(int row)
{
    const Item& item = m_items[static_cast<std::size_t>(row)];
    const int text = item.choice == kReplace ? kBecomesModern : item.choice == kRemovedText ? kBecomesRemoved : kStays;
    Window()->SetItemText(kItems, row, kChoiceColumn, platform::Strings().Get(text));
}

void CPageDeprecatedHtml::ReadChoice()
{
    platform::IWindow& window = *Window();
    if (m_row < 0 || static_cast<std::size_t>(m_row) >= m_items.size())
        return;
    Item& item = m_items[static_cast<std::size_t>(m_row)];
    for (int id : {kReplace, kRemovedText, kLeave}) {
        if (window.IsChecked(id))
            item.choice = id;
    }
    if (item.choice == kRemovedText && !IsStruck(item))
        item.choice = kReplace;
    ShowChoice(m_row);
    window.SetText(kModernMarkup, ProposedTag(item));
}

void CPageDeprecatedHtml::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    if (m_items.empty())
        return;
    if (notification.control == kItems && notification.code == platform::NotifyCode::ItemChanged) {
        const int row = notification.item;
        if (row < 0 || row >= static_cast<int>(m_items.size()) || row == m_row || !window.IsItemSelected(kItems, row))
            return;
        ReadChoice();
        m_row = row;
        ShowItem(row);
    } else if ((notification.control == kReplace || notification.control == kRemovedText ||
                notification.control == kLeave) &&
               notification.code == platform::NotifyCode::Clicked) {
        ReadChoice();
    } else if (notification.control == kChoiceForAll && notification.code == platform::NotifyCode::Clicked) {
        ReadChoice();
        const int choice = m_items[static_cast<std::size_t>(m_row)].choice;
        for (std::size_t row = 0; row < m_items.size(); ++row) {
            Item& item = m_items[row];
            // Only struck-out text can be removed text; the rest is replaced.
            item.choice = choice == kRemovedText && !IsStruck(item) ? kReplace : choice;
            ShowChoice(static_cast<int>(row));
        }
    }
}

CPageDeprecatedHtml::Rewrite CPageDeprecatedHtml::RewriteOf(std::size_t first, std::size_t end) const
{
    Rewrite rewrite;
    auto add = [&](std::string_view declarations) {
        if (declarations.empty())
            return;
        if (!rewrite.declarations.empty())
            rewrite.declarations.append("; ");
        rewrite.declarations.append(declarations);
    };
    for (std::size_t i = first; i < end; ++i) {
        const Item& item = m_items[i];
        if (item.choice == kLeave)
            continue;
        CElement& element = *item.element;
        if (item.attribute) {
            add(item.declarations);
            rewrite.dropped.push_back(item.attribute);
            continue;
        }
        switch (dm::ReplacementOf(item.kind)) {
        case dm::Becomes::BodyStyle:
            rewrite.remove = true;
            break;
        case dm::Becomes::Div:
            rewrite.name = "div";
            rewrite.kind = dm::kDiv;
            add(item.declarations);
            break;
        case dm::Becomes::StruckOut:
            rewrite.name = item.choice == kRemovedText ? "del" : "span";
            rewrite.kind = item.choice == kRemovedText ? dm::kDel : dm::kSpan;
            if (item.choice != kRemovedText)
                add(item.declarations);
            break;
        case dm::Becomes::Span:
            rewrite.name = "span";
            rewrite.kind = dm::kSpan;
            add(item.declarations);
            if (item.kind == dm::kFont) {
                for (CAttribute* a = element.AttributesAfterName(); a; a = a->Next()) {
                    // What no style says stays, so nothing of the page is lost.
                    if (!dm::FontDeclaration(*a).empty())
                        rewrite.dropped.push_back(a);
                }
            }
            break;
        }
    }
    return rewrite;
}

void CPageDeprecatedHtml::Keep(CElement& element)
{
    if (!m_kept.insert(&element).second)
        return;
    m_elements.push_back({&element, element.GetText(), std::string(element.WrittenTagName()), element.Kind(),
                          element.IsModified(), element.IsDeleted()});
}

void CPageDeprecatedHtml::Keep(CAttribute& attribute)
{
    if (!m_kept.insert(&attribute).second)
        return;
    m_attributes.push_back(
        {&attribute, attribute.GetValue(), attribute.IsHidden(), attribute.IsHideable(), attribute.IsChanged()});
}

CAttribute* CPageDeprecatedHtml::StyleOf(CElement& element)
{
    if (CAttribute* style = element.FindAttribute(attr::kStyle))
        return style;
    auto made = std::make_unique<CAttribute>();
    made->NameById(attr::kStyle);
    made->SetHideable(true);
    made->Hide(true);
    CAttribute* style = made.get();
    if (element.InsertAttribute(std::move(made)) != 1)
        return nullptr;
    return style;
}

bool CPageDeprecatedHtml::Write(CElement& element, const Rewrite& rewrite, CAttribute* style)
{
    CElement* partner = element.Partner();
    if (partner && (!m_document.Find(partner) || m_document.IndexOf(*partner) < m_document.IndexOf(element)))
        partner = nullptr;
    Keep(element);
    if (partner)
        Keep(*partner);
    if (rewrite.remove) {
        element.SetDeleted(true);
        if (partner)
            partner->SetDeleted(true);
        return true;
    }
    if (!rewrite.name.empty()) {
        if (!element.RenameTag(rewrite.name, rewrite.kind))
            return false;
        if (partner && !partner->RenameTag(rewrite.name, rewrite.kind + kind::kEndOffset))
            return false;
    }
    if (!rewrite.declarations.empty()) {
        if (!style)
            style = StyleOf(element);
        if (!style)
            return false;
        Keep(*style);
        const std::string current = style->IsHidden() ? std::string() : UserText(style->Value());
        const std::string merged = dm::MergeStyle(current, rewrite.declarations);
        if (style->IsHidden() || merged != Trim(current))
            style->SetFromText(merged, Encoding());
    }
    for (CAttribute* dropped : rewrite.dropped) {
        Keep(*dropped);
        dropped->SetHideable(true);
        dropped->Hide(true);
        dropped->SetChanged(true);
        element.SetModified(true);
    }
    return true;
}

void CPageDeprecatedHtml::WriteBack()
{
    for (auto kept = m_attributes.rbegin(); kept != m_attributes.rend(); ++kept) {
        CAttribute& a = *kept->attribute;
        if (a.Value() != kept->value)
            a.SetValue(kept->value);
        a.SetHideable(true);
        a.Hide(kept->hidden);
        a.SetHideable(kept->hideable);
        a.SetChanged(kept->changed);
    }
    m_attributes.clear();
    for (auto kept = m_elements.rbegin(); kept != m_elements.rend(); ++kept) {
        CElement& e = *kept->element;
        if (e.Text() != kept->text) {
            e.RenameTag(kept->name, kept->kind);
            if (e.Text() != kept->text)
                e.SetText(kept->text);
        }
        e.SetKind(kept->kind);
        e.SetModified(kept->modified);
        e.SetDeleted(kept->deleted);
    }
    m_elements.clear();
    m_kept.clear();
}

void CPageDeprecatedHtml::RememberChoice() const
{
    COrvaneSettings* settings = Sheet() ? Sheet()->Settings() : nullptr;
    if (!settings)
        return;
    for (auto item = m_items.rbegin(); item != m_items.rend(); ++item) {
        if (!IsStruck(*item) || item->choice == kLeave)
            continue;
        settings->SetRememberedNumber(kFamilyBody, kBit,
                                      item->choice == kRemovedText ? kRememberedRemoved : kRememberedStruck);
        return;
    }
}

bool CPageDeprecatedHtml::Apply()
{
    if (Window())
        ReadChoice();
    WriteBack();
    std::string bodyDeclarations;
    bool written = true;
    for (std::size_t first = 0; first < m_items.size() && written;) {
        std::size_t end = first + 1;
        while (end < m_items.size() && m_items[end].element == m_items[first].element)
            ++end;
        const Item& item = m_items[first];
        if (!item.attribute && item.choice != kLeave &&
            dm::ReplacementOf(item.kind) == dm::Becomes::BodyStyle && !item.declarations.empty()) {
            if (!bodyDeclarations.empty())
                bodyDeclarations.append("; ");
            bodyDeclarations.append(item.declarations);
        }
        written = Write(*item.element, RewriteOf(first, end), nullptr);
        first = end;
    }
    if (written && !bodyDeclarations.empty()) {
        Rewrite rewrite;
        rewrite.declarations = bodyDeclarations;
        written = m_bodyStyle && Write(m_body, rewrite, m_bodyStyle);
    }
    if (!written) {
        // Out of memory: nothing half written stays.
        WriteBack();
        return false;
    }
    RememberChoice();
    // Markup left as it is was declined, not repaired.
    const auto left = std::count_if(m_items.begin(), m_items.end(), [](const Item& item) { return item.choice == kLeave; });
    SetStatus(left == 0 ? pagestatus::kRepaired
              : left == static_cast<std::ptrdiff_t>(m_items.size()) ? pagestatus::kNotRepaired
                                                                  : pagestatus::kPartlyRepaired);
    if (Window() && !m_items.empty())
        ShowItem(m_row);
    return true;
}

void CPageDeprecatedHtml::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    WriteBack();
    if (Window() && !m_items.empty())
        ShowItem(m_row);
}

} // namespace orvane
