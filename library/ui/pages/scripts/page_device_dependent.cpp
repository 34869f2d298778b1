#include "library/ui/pages/scripts/page_device_dependent.h"

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
constexpr char kHelpTopic[] = "9-3-1.html";
constexpr std::string_view kDoubleClick = "ondblclick";
constexpr std::string_view kTabindex = "tabindex";
constexpr std::size_t kShownLength = 60;
constexpr std::size_t kWordsShown = 24;

struct EventPair {
    int mouse;
    int keyboard;
};
constexpr EventPair kPairs[] = {{attr::kOnmousedown, attr::kOnkeydown},
                                {attr::kOnmouseup, attr::kOnkeyup},
                                {attr::kOnclick, attr::kOnkeypress},
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

// The element by its tag and what tells it apart: <div id="menu">.
std::string ElementName(const CElement& element)
{
    const std::string_view text = element.Text();
    std::size_t end = 1;
    while (end < text.size() && !IsSpace(text[end]) && text[end] != '>' && text[end] != '/')
        ++end;
    std::string name = "<" + ToLower(text.substr(1, end - 1));
    for (int id : {attr::kId, attr::kName}) {
        if (const CAttribute* a = Present(element, id)) {
            name += " " + a->AttributeText();
            return Shortened(name) + ">";
        }
    }
    for (const CAttribute* a = element.AttributesAfterName(); a; a = a->Next()) {
        if (!a->IsHidden() && EqualsIgnoreCase(a->Name(), "class")) {
            name += " " + a->AttributeText();
            break;
        }
    }
    return Shortened(name) + ">";
}

// The element by its name and the words it starts with, so that two alike are told apart.
std::string RowName(const CHtmlDocument& document, const CElement& element)
{
    std::string name = ElementName(element);
    constexpr std::size_t kLookAhead = 8;
    const std::size_t at = document.IndexOf(element);
    for (std::size_t i = at + 1; i < document.Size() && i <= at + kLookAhead; ++i) {
        const CElement* e = document.At(i);
        if (e->IsDeleted() || e->Kind() != kind::kText || Trim(e->Text()).empty())
            continue;
        return name + " " + Shortened(Trim(e->Text()), kWordsShown);
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
        for (const EventPair& pair : kPairs) {
            const CAttribute* mouse = Present(*e, pair.mouse);
            if (mouse && !Present(*e, pair.keyboard))
                m_rows.push_back({e, mouse, pair.keyboard, true});
        }
        const bool hasCounterparts = m_rows.size() > before;
        if (const CAttribute* twice = Present(*e, 0, kDoubleClick))
            m_rows.push_back({e, twice, 0, false});
        if (m_rows.size() == before)
            continue;
        const bool needsTabindex =
            hasCounterparts && !TakesFocus(*e) && !IsPageWide(*e) && !Present(*e, 0, kTabindex);
        m_reach.push_back({e, needsTabindex, nullptr, e->MarkupText(), before, m_rows.size()});
        m_reachOf.resize(m_rows.size(), m_reach.size() - 1);
    }
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
    const bool noted = std::any_of(m_reach.begin(), m_reach.end(), [](const Reach& r) { return r.needsTabindex; }) ||
                       std::any_of(m_rows.begin(), m_rows.end(), [](const Row& r) { return r.keyboard == 0; });
    window.SetText(kTabindexNote, noted ? platform::Strings().Get(kTabindexNeeded) : std::string());
    window.Show(kTabindexNote, noted);
    ChooseFirstRow(window, kEvents, !m_rows.empty());
}

void CPageDeviceDependent::FillRows(platform::IWindow& window)
{
    window.ClearItems(kEvents);
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const int row = window.AddItem(kEvents, RowName(m_document, *m_rows[i].element), static_cast<platform::ItemData>(i));
        window.SetItemText(kEvents, row, 1, Shortened(m_rows[i].mouse->AttributeText()));
        ShowRow(window, row);
    }
}

void CPageDeviceDependent::ShowRow(platform::IWindow& window, int row)
{
    const Row& r = m_rows[static_cast<std::size_t>(row)];
    window.SetItemIcon(kEvents, row, r.ticked ? kIconAdded : kIconNotAdded);
    if (r.keyboard == 0) {
        window.SetItemText(kEvents, row, 2, platform::Strings().Get(kNoCounterpart));
        return;
    }
    std::string added(AttributeNameOfId(r.keyboard));
    if (m_reach[m_reachOf[static_cast<std::size_t>(row)]].needsTabindex)
        added = platform::Strings().Format(kWithTabindex, {added});
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
    window.SetText(kBefore, m_reach[reach].markup);
    if (m_written) {
        window.SetText(kAfter, m_reach[reach].element->MarkupText());
        return;
    }
    WriteElement(reach);
    window.SetText(kAfter, m_reach[reach].element->MarkupText());
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
    for (std::size_t i = m_reach[reach].firstRow; i < m_reach[reach].endRow; ++i) {
        Row& r = m_rows[i];
        if (!r.ticked || r.keyboard == 0)
            continue;
        if (CAttribute* added = Prepared(*r.element, r.added, r.keyboard, {})) {
            // The same script as the mouse event's, as the page wrote it.
            added->SetValue(r.mouse->Value());
            added->Hide(false);
            added->SetChanged(true);
            any = true;
        }
    }
    Reach& e = m_reach[reach];
    if (any && e.needsTabindex) {
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
}

void CPageDeviceDependent::WriteTicked()
{
    bool all = true;
    bool any = false;
    for (const Row& r : m_rows) {
        if (r.keyboard == 0)
            continue;
        any = any || r.ticked;
        all = all && r.ticked;
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
    const bool any = std::any_of(m_rows.begin(), m_rows.end(), [](const Row& r) { return r.ticked && r.keyboard != 0; });
    if (!any) {
        Undo();
        Say(kNothingTicked);
        return false;
    }
    return WriteAndShow();
}

bool CPageDeviceDependent::RepairAutomatically()
{
    for (Row& r : m_rows)
        r.ticked = r.keyboard != 0;
    if (std::none_of(m_rows.begin(), m_rows.end(), [](const Row& r) { return r.ticked; }))
        return false;
    WriteTicked();
    return true;
}

} // namespace orvane
