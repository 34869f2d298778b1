#include "library/ui/pages/tables/page_table_header_abbrev.h"

#include "library/html/attribute.h"
#include "library/html/element.h"
#include "library/html/text_util.h"
#include "library/registry/src_table.h"
#include "library/tables/table_record.h"
#include "platform/services.h"

#include <algorithm>
#include <cctype>
#include <unordered_set>

namespace orvane {

namespace {
constexpr int kMessageCaption = 111;
constexpr int kPlaceFormat = 1032;
constexpr int kInstruction = 1043;
constexpr int kNoneGiven = 1044;
constexpr int kCellColumn = 1045;
constexpr int kTextColumn = 1046;
constexpr int kAbbreviationColumn = 1047;
constexpr char kHelpTopic[] = "5-6-1.html";
constexpr int kCellPlace = 0, kCellText = 1, kCellAbbreviation = 2;

bool IsWordCharacter(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x80 || std::isalnum(byte) != 0;
}
} // namespace

// An abbreviation written, and the cell as it was before.
struct CPageTableHeaderAbbrev::Given {
    CTableCell* cell = nullptr;
    std::string abbreviation;
    bool attributeChanged = false;
    bool elementModified = false;
};

CPageTableHeaderAbbrev::CPageTableHeaderAbbrev(CTableRecord& table) : CPageTableBase(kTemplate, table, kPreview) {}

CPageTableHeaderAbbrev::~CPageTableHeaderAbbrev() = default;

std::string CPageTableHeaderAbbrev::ProposedAbbreviation(std::string_view text)
{
    std::size_t start = 0;
    while (start < text.size() && !IsWordCharacter(text[start]))
        ++start;
    std::size_t end = start;
    while (end < text.size() && IsWordCharacter(text[end]))
        ++end;
    return std::string(text.substr(start, end - start));
}

void CPageTableHeaderAbbrev::Initialise()
{
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    const platform::IStringTable& strings = platform::Strings();
    Window()->SetColumns(kCells, {{strings.Get(kCellColumn), 130},
                                  {strings.Get(kTextColumn), 220},
                                  {strings.Get(kAbbreviationColumn), 140, platform::Align::Left, true}});
    Window()->SetColumnEditable(kCells, kCellAbbreviation);
}

// The cells a reader takes as headers: each row's first, and the first row's,
// where they are taken as headers (CTableRecord::TakenAsHeader).
void CPageTableHeaderAbbrev::ReadCells()
{
    m_cells.clear();
    m_places.clear();
    std::unordered_set<const CTableCell*> listed;
    const platform::IStringTable& strings = platform::Strings();
    int rowNumber = 0;
    bool first = true;
    const bool headers = Table().HasHeaderCells();
    for (const CTableRow* row : Table().Rows()) {
        if (row->IsExcluded())
            continue;
        ++rowNumber;
        int columnNumber = 0;
        for (CTableCell* cell : row->Cells()) {
            if (cell->IsIgnored())
                continue;
            ++columnNumber;
            // Only headers are read out before the cells they head: a figure gets no abbreviation.
            const bool header = CTableRecord::TakenAsHeader(*cell, headers);
            if ((first || columnNumber == 1) && header && listed.insert(cell).second) {
                m_cells.push_back(cell);
                m_places.push_back(strings.Format(kPlaceFormat, {std::to_string(rowNumber), std::to_string(columnNumber)}));
            }
            if (!first)
                break;
        }
        first = false;
    }
    for (const CTableCell* cell : m_cells) {
        if (!m_typed.count(cell))
            m_typed[cell] = cell->Abbreviation().empty() ? ProposedAbbreviation(UserText(cell->Text(), TextPlace::ElementText))
                                                         : UserText(cell->Abbreviation());
    }
    m_selected = std::clamp(m_selected, 0, std::max(0, static_cast<int>(m_cells.size()) - 1));
}

void CPageTableHeaderAbbrev::FillList()
{
    platform::IWindow* window = Window();
    if (!window)
        return;
    m_filling = true;
    window->ClearItems(kCells);
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        const int row = window->AddItem(kCells, m_places[i], static_cast<platform::ItemData>(i));
        window->SetItemText(kCells, row, kCellText, UserText(Trim(m_cells[i]->Text()), TextPlace::ElementText));
        window->SetItemText(kCells, row, kCellAbbreviation, m_typed[m_cells[i]]);
    }
    if (!m_cells.empty()) {
        window->SetCurrentItem(kCells, m_selected);
        window->SetItemSelected(kCells, m_selected, true);
    }
    m_filling = false;
    ShowSelected();
}

void CPageTableHeaderAbbrev::ShowSelected()
{
    platform::IWindow* window = Window();
    if (!window)
        return;
    m_filling = true;
    window->Enable(kAbbreviation, !m_cells.empty());
    window->SetText(kAbbreviation, m_cells.empty() ? std::string() : m_typed[m_cells[static_cast<std::size_t>(m_selected)]]);
    m_filling = false;
}

void CPageTableHeaderAbbrev::OnActivate(platform::IWindow& window)
{
    ReadCells();
    FillList();
    CPageTableBase::OnActivate(window);
}

void CPageTableHeaderAbbrev::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    if (m_filling)
        return;
    using platform::NotifyCode;
    const int rows = static_cast<int>(m_cells.size());
    if (notification.control == kCells && notification.code == NotifyCode::ItemChanged) {
        if (notification.item >= 0 && notification.item < rows && window.IsItemSelected(kCells, notification.item)) {
            m_selected = notification.item;
            ShowSelected();
        }
    } else if (notification.control == kCells && notification.code == NotifyCode::ItemEdited) {
        if (notification.item >= 0 && notification.item < rows) {
            m_typed[m_cells[static_cast<std::size_t>(notification.item)]] =
                window.ItemText(kCells, notification.item, kCellAbbreviation);
            if (notification.item == m_selected)
                ShowSelected();
        }
    } else if (notification.control == kAbbreviation && notification.code == NotifyCode::TextChanged &&
               !m_cells.empty()) {
        const std::string text = window.Text(kAbbreviation);
        m_typed[m_cells[static_cast<std::size_t>(m_selected)]] = text;
        window.SetItemText(kCells, m_selected, kCellAbbreviation, text);
    }
}

bool CPageTableHeaderAbbrev::Apply()
{
    if (!Window())
        return true;
    TakeBack();
    bool any = false;
    for (const CTableCell* cell : m_cells)
        any = any || !Trim(m_typed[cell]).empty();
    if (!any) {
        SetStatus(pagestatus::kNotRepaired);
        platform::Prompt().Show(platform::Strings().Get(kMessageCaption), platform::Strings().Get(kNoneGiven),
                                platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
        return false;
    }
    CSrcTable* remembered = Table().RegistryRecord();
    m_savedRowFlag = remembered && remembered->RowHeaderAbbreviations();
    m_savedColumnFlag = remembered && remembered->ColumnHeaderAbbreviations();
    for (CTableCell* cell : m_cells) {
        // An abbreviation the page has, taken as it is shown, keeps its bytes;
        // one typed goes in escaped and in the page's encoding, its quotes as
        // references for the attribute's quotes.
        const std::string_view typed = Trim(m_typed[cell]);
        if (typed == Trim(UserText(cell->Abbreviation())))
            continue;
        std::string value;
        for (char c : PageBytes(typed, TextPlace::AttributeValue)) {
            if (c == '"')
                value += "&quot;";
            else
                value += c;
        }
        Given given{.cell = cell,
                    .abbreviation = cell->Abbreviation(),
                    .attributeChanged = cell->AbbrAttribute() && cell->AbbrAttribute()->IsChanged(),
                    .elementModified = cell->StartElement().IsModified()};
        cell->SetAbbreviation(value);
        m_given.push_back(std::move(given));
    }
    m_applied = true;
    const bool rowFlag = Table().HasRowHeaderAbbreviations();
    const bool columnFlag = Table().HasColumnHeaderAbbreviations();
    if (remembered) {
        remembered->SetRowHeaderAbbreviations(rowFlag);
        remembered->SetColumnHeaderAbbreviations(columnFlag);
    }
    // Headers left without one keep the check's problem in part.
    SetStatus(rowFlag && columnFlag ? pagestatus::kRepaired : pagestatus::kPartlyRepaired);
    RefreshTablePreview();
    return true;
}

void CPageTableHeaderAbbrev::TakeBack()
{
    if (!m_applied)
        return;
    for (auto given = m_given.rbegin(); given != m_given.rend(); ++given) {
        given->cell->SetAbbreviation(given->abbreviation);
        if (CAttribute* abbr = given->cell->AbbrAttribute())
            abbr->SetChanged(given->attributeChanged);
        given->cell->StartElement().SetModified(given->elementModified);
    }
    m_given.clear();
    m_applied = false;
    if (CSrcTable* remembered = Table().RegistryRecord()) {
        remembered->SetRowHeaderAbbreviations(m_savedRowFlag);
        remembered->SetColumnHeaderAbbreviations(m_savedColumnFlag);
    }
}

void CPageTableHeaderAbbrev::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    TakeBack();
    m_typed.clear();
    if (Window()) {
        ReadCells();
        FillList();
        RefreshTablePreview();
    }
}

} // namespace orvane
