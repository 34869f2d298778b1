#include "library/ui/pages/scripts/page_device_dependent.h"

#include "library/checks/element_document.h"
#include "library/html/attribute.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "platform/services.h"

#include <algorithm>
#include <memory>

namespace orvane {

namespace {
constexpr int kCaption = 111;
constexpr int kInstruction = 938;
constexpr int kColumnElement = 939;
constexpr int kColumnMouse = 940;
constexpr int kColumnKeyboard = 941;
constexpr int kNoCounterpart = 942;
constexpr int kWithTabindex = 943;
constexpr int kNothingTicked = 944;
constexpr int kTabindexNeeded = 947;
constexpr int kStringOff = 274;
constexpr int kActivation = 953;
constexpr int kJudgePressAndRelease = 954;
constexpr int kJudgeCancels = 955;
constexpr int kJudgeNoFocus = 956;
constexpr int kJudgeOutOfTabOrder = 957;
constexpr int kJudgeWholePage = 958;
constexpr char kHelpTopic[] = "9-3-1.html";
constexpr std::string_view kDoubleClick = "ondblclick";
constexpr std::string_view kTabindex = "tabindex";
constexpr std::string_view kRole = "role";
constexpr std::size_t kShownLength = 60;
constexpr std::size_t kWordsShown = 24;

struct EventPair {
    int mouse;
    int keyboard;
};
constexpr EventPair kPairs[] = {{attr::kOnmousedown, attr::kOnkeydown},
                                {attr::kOnmouseup, attr::kOnkeyup},
                                {attr::kOnclick, attr::kOnkeydown},
                                {attr::kOnmouseover, attr::kOnfocus},
                                {attr::kOnmouseout, attr::kOnblur}};

// An attribute as the page writes it: one that a repair made and then took back is not there.
const CAttribute* Present(const CElement& element, int id, std::string_view name = {})
{
    for (const CAttribute* a = element.AttributesAfterName(); a; a = a->Next()) {
        if (a->IsHidden())
            continue;
        if (name.empty() ? a->Id() == id : EqualsIgnoreCase(a->Name(), name))
            return a;
    }
    return nullptr;
}

// Links with an address, buttons and form controls take the keyboard's focus by themselves.
bool TakesFocus(const CElement& element)
{
    switch (element.Kind()) {
    case tag::kA: return Present(element, attr::kHref) != nullptr;
    case tag::kArea: case 14 /* button */: case tag::kInput: case tag::kSelect: case tag::kTextarea:
    case tag::kObject: case tag::kApplet: case tag::kFrame:
        return true;
    default: return false;
    }
}

// The whole page hears the keyboard: its body and html need no tab stop.
bool IsPageWide(const CElement& element)
{
    return element.Kind() == tag::kBody || element.Kind() == tag::kHtml || element.Kind() == kind::kDocument;
}

// The tab order the page gives the element: negative keeps it out, none leaves it to the element's kind.
enum class TabOrder { Unset, In, Out };
TabOrder TabOrderOf(const CElement& element)
{
    const CAttribute* tabindex = Present(element, 0, kTabindex);
    if (!tabindex)
        return TabOrder::Unset;
    const std::string_view value = Trim(tabindex->Value());
    return !value.empty() && value.front() == '-' ? TabOrder::Out : TabOrder::In;
}

// A handler that cancels what its event does: on a key it would keep the key
// from typing, or Tab from moving on.
bool CancelsTheEvent(std::string_view script)
{
    std::string text = ToLower(script);
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return IsSpace(c); }), text.end());
    for (std::string_view sign : {"returnfalse", "preventdefault", "returnvalue=false"}) {
        if (text.find(sign) != std::string::npos)
            return true;
    }
    return false;
}

// What a button does on the keyboard: Enter and Space run the click's script;
// Space would scroll the page as well, so that is stopped. Other keys are left
// alone, so Tab still moves on. The script is the page's as written in the
// attribute (its entities and all); the page's writer quotes the whole value.
std::string ActivationScript(std::string_view clickScript)
{
    std::string script = "if(event.key==='Enter'||event.key===' '){event.preventDefault();";
    std::string_view body = Trim(clickScript);
    // A handler is script already: "javascript:" before it is a leftover of addresses.
    constexpr std::string_view kScheme = "javascript:";
    if (body.size() >= kScheme.size() && EqualsIgnoreCase(body.substr(0, kScheme.size()), kScheme))
        body = Trim(body.substr(kScheme.size()));
    script.append(body);
    if (!script.empty() && script.back() != ';' && script.back() != '}')
        script.push_back(';');
    script.push_back('}');
    return script;
}

std::string Shortened(std::string_view text, std::size_t limit = kShownLength)
{
    if (text.size() <= limit)
        return std::string(text);
    std::string cut(text.substr(0, limit));
    while (!cut.empty() && (static_cast<unsigned char>(cut.back()) & 0xC0) == 0x80)
        cut.pop_back();  // not in the middle of a character
    if (!cut.empty() && static_cast<unsigned char>(cut.back()) >= 0xC0)
        cut.pop_back();
    return cut + "...";
}

// The element by its tag and what tells it apart: <div id="menu">, as the
// page's markup reads decoded from its encoding.
std::string ElementName(const CElement& element, const PageEncoding& encoding)
{
    const std::string_view text = element.Text();
    std::size_t end = 1;
    while (end < text.size() && !IsSpace(text[end]) && text[end] != '>' && text[end] != '/')
        ++end;
    std::string name = "<" + ToLower(text.substr(1, end - 1));
    for (int id : {attr::kId, attr::kName}) {
        if (const CAttribute* a = Present(element, id)) {
            name += " " + PageBytesToUtf8(a->AttributeText(), encoding);
            return Shortened(name) + ">";
        }
    }
    for (const CAttribute* a = element.AttributesAfterName(); a; a = a->Next()) {
        if (!a->IsHidden() && EqualsIgnoreCase(a->Name(), "class")) {
            name += " " + PageBytesToUtf8(a->AttributeText(), encoding);
            break;
        }
    }
    return Shortened(name) + ">";
}

// The element by its name and the words it starts with, so that two alike are told apart.
std::string RowName(const CHtmlDocument& document, const CElement& element)
{
    std::string name = ElementName(element, document.Encoding());
    constexpr std::size_t kLookAhead = 8;
    const std::size_t at = document.IndexOf(element);
    for (std::size_t i = at + 1; i < document.Size() && i <= at + kLookAhead; ++i) {
        const CElement* e = document.At(i);
        if (e->IsDeleted() || e->Kind() != kind::kText || Trim(e->Text()).empty())
            continue;
        return name + " " + Shortened(document.UserText(Trim(e->Text()), TextPlace::ElementText), kWordsShown);
    }
    return name;
}

void Say(int id)
{
    platform::Prompt().Show(platform::Strings().Get(kCaption), platform::Strings().Get(id),
                            platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
}
} // namespace

CPageDeviceDependent::CPageDeviceDependent(CHtmlDocument& document) : CTickedListPage(kTemplate), m_document(document)
{
    FindRows();
}

void CPageDeviceDependent::FindRows()
{
    for (CElement* e : m_document.Elements()) {
        if (e->IsDeleted() || e->Kind() == kind::kText || !e->AttributesAfterName())
            continue;
        const std::size_t before = m_rows.size();
        const TabOrder order = TabOrderOf(*e);
        const bool focusable = order == TabOrder::In || (order == TabOrder::Unset && TakesFocus(*e));
        const bool clickAnswered = Present(*e, attr::kOnkeydown) || Present(*e, attr::kOnkeypress) ||
                                   Present(*e, attr::kOnkeyup) || KeyboardActivates(*e);
        std::size_t clickRow = static_cast<std::size_t>(-1);
        for (const EventPair& pair : kPairs) {
            const CAttribute* mouse = Present(*e, pair.mouse);
            const bool click = pair.mouse == attr::kOnclick;
            if (!mouse || (click ? clickAnswered : Present(*e, pair.keyboard) != nullptr))
                continue;
            Row row{e, mouse, pair.keyboard, true};
            row.activates = click;
            if (pair.mouse == attr::kOnmousedown || pair.mouse == attr::kOnmouseup)
                row.judgement = kJudgePressAndRelease;
            else if (CancelsTheEvent(mouse->Value()))
                row.judgement = kJudgeCancels;
            else if (order == TabOrder::Out)
                row.judgement = kJudgeOutOfTabOrder;
            else if (IsPageWide(*e))
                row.judgement = click ? kJudgeWholePage : kJudgeNoFocus;
            if (row.judgement != 0) {
                row.keyboard = 0;
                row.ticked = false;
            } else if (click) {
                clickRow = m_rows.size();
            }
            m_rows.push_back(row);
        }
        // Hover moves the focus only on an element Tab reaches: by itself, or by the click's repair.
        for (std::size_t i = before; i < m_rows.size(); ++i) {
            Row& row = m_rows[i];
            if (row.keyboard != 0 && !row.activates && !focusable && clickRow == static_cast<std::size_t>(-1)) {
                row.keyboard = 0;
                row.ticked = false;
                row.judgement = kJudgeNoFocus;
            }
        }
        if (const CAttribute* twice = Present(*e, 0, kDoubleClick)) {
            Row row{e, twice, 0, false};
            row.judgement = kNoCounterpart;
            row.counts = false;
            m_rows.push_back(row);
        }
        if (m_rows.size() == before)
            continue;
        Reach reach{e, false};
        if (clickRow != static_cast<std::size_t>(-1)) {
            reach.needsTabindex = !focusable;
            reach.needsRole = !TakesFocus(*e) && !Present(*e, 0, kRole);
            reach.clickRow = clickRow;
        }
        reach.markup = e->MarkupText();
        reach.firstRow = before;
        reach.endRow = m_rows.size();
        m_reach.push_back(std::move(reach));
        m_reachOf.resize(m_rows.size(), m_reach.size() - 1);
    }
}

bool CPageDeviceDependent::Writes(const Row& row) const
{
    if (!row.ticked || row.keyboard == 0)
        return false;
    const Reach& reach = m_reach[m_reachOf[static_cast<std::size_t>(&row - m_rows.data())]];
    return row.activates || reach.clickRow == static_cast<std::size_t>(-1) || m_rows[reach.clickRow].ticked;
}

void CPageDeviceDependent::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    ShowTickIcons(window, kEvents);
    window.SetColumns(kEvents, {{platform::Strings().Get(kColumnElement), 190},
                                {platform::Strings().Get(kColumnMouse), 190},
                                {platform::Strings().Get(kColumnKeyboard), 200, platform::Align::Left, true}});
    window.WatchKey(kEvents, platform::Key::Space);
    FillRows(window);
    const bool noted = std::any_of(m_rows.begin(), m_rows.end(), [](const Row& r) { return r.keyboard == 0; }) ||
                       std::any_of(m_reach.begin(), m_reach.end(), [](const Reach& r) { return r.needsTabindex; });
    window.SetText(kTabindexNote, noted ? platform::Strings().Get(kTabindexNeeded) : std::string());
    window.Show(kTabindexNote, noted);
    ChooseFirstRow(window, kEvents, !m_rows.empty());
}

void CPageDeviceDependent::FillRows(platform::IWindow& window)
{
    window.ClearItems(kEvents);
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const int row = window.AddItem(kEvents, RowName(m_document, *m_rows[i].element), static_cast<platform::ItemData>(i));
        window.SetItemText(kEvents, row, 1, Shortened(PageBytesToUtf8(m_rows[i].mouse->AttributeText(), Encoding())));
        ShowRow(window, row);
    }
}

void CPageDeviceDependent::ShowRow(platform::IWindow& window, int row)
{
    const Row& r = m_rows[static_cast<std::size_t>(row)];
    window.SetItemIcon(kEvents, row, r.ticked ? kIconAdded : kIconNotAdded);
    if (r.keyboard == 0) {
        window.SetItemText(kEvents, row, 2, platform::Strings().Get(r.judgement));
        return;
    }
    const Reach& reach = m_reach[m_reachOf[static_cast<std::size_t>(row)]];
    std::string added(AttributeNameOfId(r.keyboard));
    if (r.activates) {
        added = platform::Strings().Format(kActivation, {added});
        if (reach.needsRole)
            added += " + role=\"button\"";
        if (reach.needsTabindex)
            added = platform::Strings().Format(kWithTabindex, {added});
    }
    window.SetItemText(kEvents, row, 2, r.ticked ? added : platform::Strings().Get(kStringOff) + ": " + added);
}

// The selected row's element as the page has it and as the ticked events write it.
void CPageDeviceDependent::ShowMarkup(platform::IWindow& window)
{
    const int row = window.CurrentItem(kEvents);
    if (row < 0 || row >= static_cast<int>(m_rows.size())) {
        window.SetText(kBefore, {});
        window.SetText(kAfter, {});
        return;
    }
    const std::size_t reach = m_reachOf[static_cast<std::size_t>(row)];
    window.SetText(kBefore, PageBytesToUtf8(m_reach[reach].markup, Encoding()));
    if (m_written) {
        window.SetText(kAfter, PageBytesToUtf8(m_reach[reach].element->MarkupText(), Encoding()));
        return;
    }
    WriteElement(reach);
    window.SetText(kAfter, PageBytesToUtf8(m_reach[reach].element->MarkupText(), Encoding()));
    TakeBackElement(reach);
}

void CPageDeviceDependent::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    if (notification.control != kEvents)
        return;
    if (notification.code == platform::NotifyCode::SelectionChanged ||
        notification.code == platform::NotifyCode::ItemChanged) {
        ShowMarkup(window);
        return;
    }
    if (!TogglesTicks(notification))
        return;
    for (int row = 0; row < window.ItemCount(kEvents); ++row) {
        Row& r = m_rows[static_cast<std::size_t>(row)];
        const bool chosen = notification.code == platform::NotifyCode::DoubleClicked ? row == notification.item
                                                                                      : window.IsItemSelected(kEvents, row);
        if (!chosen || r.keyboard == 0)
            continue;
        r.ticked = !r.ticked;
        ShowRow(window, row);
    }
    if (m_written) {
        // What the page holds follows the ticks only when the user moves on.
        TakeBack();
        WriteTicked();
    }
    ShowMarkup(window);
}

CAttribute* CPageDeviceDependent::Prepared(CElement& element, CAttribute*& slot, int id, std::string_view name)
{
    if (slot)
        return slot;
    // One that an earlier run made and took back serves again.
    for (CAttribute* a = element.AttributesAfterName(); a; a = a->Next()) {
        if (a->IsHidden() && (id != 0 ? a->Id() == id : EqualsIgnoreCase(a->Name(), name))) {
            a->Save();
            return slot = a;
        }
    }
    auto made = std::make_unique<CAttribute>();
    if (id != 0)
        made->NameById(id);
    else
        made->NameByText(name, false);
    made->SetHideable(true);
    made->Hide(true);
    CAttribute* attribute = made.get();
    if (element.InsertAttribute(std::move(made)) != 1)
        return nullptr;
    attribute->Save();
    slot = attribute;
    return attribute;
}

bool CPageDeviceDependent::WriteElement(std::size_t reach)
{
    bool any = false;
    bool activates = false;
    for (std::size_t i = m_reach[reach].firstRow; i < m_reach[reach].endRow; ++i) {
        Row& r = m_rows[i];
        if (!Writes(r))
            continue;
        if (CAttribute* added = Prepared(*r.element, r.added, r.keyboard, {})) {
            added->SetValue(r.activates ? ActivationScript(r.mouse->Value()) : std::string(r.mouse->Value()));
            added->Hide(false);
            added->SetChanged(true);
            any = true;
            activates = activates || r.activates;
        }
    }
    Reach& e = m_reach[reach];
    if (activates && e.needsRole) {
        if (CAttribute* role = Prepared(*e.element, e.role, 0, kRole)) {
            role->SetValue("button");
            role->Hide(false);
            role->SetChanged(true);
        }
    }
    if (activates && e.needsTabindex) {
        if (CAttribute* tabindex = Prepared(*e.element, e.tabindex, 0, kTabindex)) {
            tabindex->SetValue("0");
            tabindex->Hide(false);
            tabindex->SetChanged(true);
        }
    }
    return any;
}

void CPageDeviceDependent::TakeBackElement(std::size_t reach)
{
    for (std::size_t i = m_reach[reach].firstRow; i < m_reach[reach].endRow; ++i) {
        if (m_rows[i].added)
            m_rows[i].added->Revert();
    }
    if (m_reach[reach].tabindex)
        m_reach[reach].tabindex->Revert();
    if (m_reach[reach].role)
        m_reach[reach].role->Revert();
}

// Repaired only when every event the check reports has its keyboard
// counterpart written; what is left for a person keeps it repaired in part.
void CPageDeviceDependent::WriteTicked()
{
    bool all = true;
    bool any = false;
    for (const Row& r : m_rows) {
        if (!r.counts)
            continue;
        const bool written = Writes(r);
        any = any || written;
        all = all && written;
    }
    for (std::size_t reach = 0; reach < m_reach.size(); ++reach)
        WriteElement(reach);
    m_written = true;
    SetStatus(!any ? pagestatus::kNotRepaired : all ? pagestatus::kRepaired : pagestatus::kPartlyRepaired);
}

void CPageDeviceDependent::TakeBack()
{
    for (std::size_t reach = 0; reach < m_reach.size(); ++reach)
        TakeBackElement(reach);
    m_written = false;
}

bool CPageDeviceDependent::Apply()
{
    const bool any = std::any_of(m_rows.begin(), m_rows.end(), [this](const Row& r) { return Writes(r); });
    if (!any) {
        Undo();
        Say(kNothingTicked);
        return false;
    }
    return WriteAndShow();
}

// Only what is safe without a person: the rows a person must judge stay as they are.
bool CPageDeviceDependent::RepairAutomatically()
{
    for (Row& r : m_rows)
        r.ticked = r.keyboard != 0;
    if (std::none_of(m_rows.begin(), m_rows.end(), [this](const Row& r) { return Writes(r); }))
        return false;
    WriteTicked();
    return true;
}

} // namespace orvane
