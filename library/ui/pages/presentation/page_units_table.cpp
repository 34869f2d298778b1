#include "library/ui/pages/presentation/page_units_table.h"

#include "library/html/attribute.h"
#include "library/html/attribute_table.h"
#include "library/html/element.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "library/tables/table_record.h"
#include "platform/services.h"

#include <algorithm>
#include <unordered_map>

namespace orvane {

namespace {
constexpr int kCaption = 111;
constexpr int kInstruction = 428;
constexpr char kHelpTopic[] = "UnitsTableHelp.html";
constexpr int kStringOff = 274;
constexpr int kColumnElement = 1065;
constexpr int kColumnAttribute = 1066;
constexpr int kColumnValue = 1067;
constexpr int kColumnRelative = 1068;
constexpr int kRemoved = 1069;
constexpr int kNothingTicked = 1070;
constexpr int kNotRelative = 1071;
constexpr int kNotFrameList = 1072;
constexpr int kCellLabel = 1073;

void Say(int id, std::initializer_list<std::string_view> args = {})
{
    platform::Prompt().Show(platform::Strings().Get(kCaption), platform::Strings().Format(id, args),
                            platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
}

std::string TagName(const CElement& element)
{
    const std::string_view text = element.Text();
    std::size_t end = 1;
    while (end < text.size() && !IsSpace(text[end]) && text[end] != '>' && text[end] != '/')
        ++end;
    return ToLower(text.substr(1, end - 1));
}

// The pixels of the table's own width, which its cells' widths are shares of.
int TableWidth(const CElement& table)
{
    if (const CAttribute* style = table.FindAttribute(attr::kStyle); style && !style->IsHidden()) {
        const StyleValue at = FindStyleValue(style->Value(), "width");
        if (at.declarationStart != std::string_view::npos) {
            const long long pixels = StylePixels(style->Value().substr(at.valueStart, at.valueEnd - at.valueStart));
            if (pixels > 0)
                return static_cast<int>(pixels);
        }
    }
    const CAttribute* width = table.FindAttribute(attr::kWidth);
    if (!width || width->IsHidden() || !IsAbsoluteLength(width->Value()))
        return 0;
    return static_cast<int>(LeadingDecimal(width->Value()));
}
} // namespace

CPageUnitsTable::CPageUnitsTable(std::vector<AbsoluteSize> sizes, const CTableRecord* table)
    : CTickedListPage(kTemplate)
{
    std::unordered_map<const CElement*, std::pair<int, int>> places;
    if (table) {
        int rowNumber = 0;
        for (const CTableRow* row : table->Rows()) {
            if (row->IsExcluded())
                continue;
            ++rowNumber;
            int cellNumber = 0;
            for (const CTableCell* cell : row->Cells()) {
                if (!cell->IsIgnored())
                    places[&cell->StartElement()] = {rowNumber, ++cellNumber};
            }
        }
    }
    const int tableWidth = table && table->TableElement() ? TableWidth(*table->TableElement()) : 0;
    for (const AbsoluteSize& size : sizes) {
        Row row{size, size.attribute->GetValue(), {}, TagName(*size.element), {}};
        const int id = size.attribute->Id();
        if (!size.property.empty()) {
            row.style = row.found;
            const StyleValue at = FindStyleValue(row.style, size.property);
            row.found = row.style.substr(at.valueStart, at.valueEnd - at.valueStart);
            const auto place = places.find(size.element);
            const bool cell = place != places.end();
            if (size.property == "width") {
                const long long pixels = StylePixels(row.found);
                row.proposal = RelativeLength(std::to_string(pixels),
                                              cell && tableWidth > 0 ? tableWidth : kAssumedPageWidth);
            }
            if (cell)
                row.label = platform::Strings().Format(kCellLabel, {row.label, std::to_string(place->second.first),
                                                                    std::to_string(place->second.second)});
        } else if (id == attr::kRows || id == attr::kCols) {
            row.frameList = true;
            row.proposal = RelativeFrameList(row.found, id == attr::kRows ? kAssumedPageHeight : kAssumedPageWidth);
        } else if (id == attr::kWidth) {
            const auto place = places.find(size.element);
            const bool cell = place != places.end();
            row.proposal = RelativeLength(row.found, cell && tableWidth > 0 ? tableWidth : kAssumedPageWidth);
            if (cell)
                row.label = platform::Strings().Format(kCellLabel, {row.label, std::to_string(place->second.first),
                                                                    std::to_string(place->second.second)});
        }
        // A height is taken out: the content decides how tall the table is.
        m_rows.push_back(std::move(row));
    }
}

void CPageUnitsTable::DecodeFoundTexts()
{
    // The page's encoding is known once the page stands in a sheet; the
    // values are read then, before anything is written.
    if (m_decoded || m_written)
        return;
    m_decoded = true;
    for (Row& row : m_rows) {
        const std::string value = UserText(row.size.attribute->Value());
        if (row.size.property.empty()) {
            row.found = value;
            continue;
        }
        row.style = value;
        const StyleValue at = FindStyleValue(row.style, row.size.property);
        row.found = row.style.substr(at.valueStart, at.valueEnd - at.valueStart);
    }
}

std::string CPageUnitsTable::ShownMarkup(const CElement& element) const
{
    return PageBytesToUtf8(element.MarkupText(), Encoding());
}

void CPageUnitsTable::Initialise()
{
    DecodeFoundTexts();
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    ShowTickIcons(window, kSizes);
    window.SetColumns(kSizes, {{platform::Strings().Get(kColumnElement), 170},
                               {platform::Strings().Get(kColumnAttribute), 90},
                               {platform::Strings().Get(kColumnValue), 100},
                               {platform::Strings().Get(kColumnRelative), 120, platform::Align::Left, true}});
    window.WatchKey(kSizes, platform::Key::Space);
    window.ClearItems(kSizes);
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const int row = window.AddItem(kSizes, m_rows[i].label, static_cast<platform::ItemData>(i));
        std::string attribute(m_rows[i].size.attribute->Name());
        if (!m_rows[i].size.property.empty())
            attribute += ": " + std::string(m_rows[i].size.property);
        window.SetItemText(kSizes, row, 1, attribute);
        window.SetItemText(kSizes, row, 2, m_rows[i].found);
        ShowRow(window, row);
    }
    ChooseFirstRow(window, kSizes, !m_rows.empty());
}

void CPageUnitsTable::ShowRow(platform::IWindow& window, int row)
{
    const Row& r = m_rows[static_cast<std::size_t>(row)];
    window.SetItemIcon(kSizes, row, r.ticked ? kIconTicked : kIconUnticked);
    const std::string relative = r.proposal.empty() ? platform::Strings().Get(kRemoved) : r.proposal;
    window.SetItemText(kSizes, row, 3, r.ticked ? relative : platform::Strings().Get(kStringOff) + ": " + relative);
}

// The chosen size's element as the page has it and as its ticked sizes write it.
void CPageUnitsTable::ShowMarkup(platform::IWindow& window)
{
    const int row = window.CurrentItem(kSizes);
    m_filling = true;
    if (row < 0 || row >= static_cast<int>(m_rows.size())) {
        window.SetText(kBefore, {});
        window.SetText(kAfter, {});
        window.SetText(kProposal, {});
        m_filling = false;
        return;
    }
    Row& chosen = m_rows[static_cast<std::size_t>(row)];
    window.SetText(kProposal, chosen.proposal);
    m_filling = false;
    CElement& element = *chosen.size.element;
    if (m_written) {
        window.SetText(kAfter, ShownMarkup(element));
        TakeBack();
        window.SetText(kBefore, ShownMarkup(element));
        WriteTicked();
        return;
    }
    window.SetText(kBefore, ShownMarkup(element));
    for (Row& r : m_rows) {
        if (r.size.element == &element && r.ticked)
            Write(r);
    }
    window.SetText(kAfter, ShownMarkup(element));
    TakeBack();
}

void CPageUnitsTable::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    using platform::NotifyCode;
    const int current = window.CurrentItem(kSizes);
    if (notification.control == kProposal && notification.code == NotifyCode::TextChanged) {
        if (m_filling || current < 0 || current >= static_cast<int>(m_rows.size()))
            return;
        m_rows[static_cast<std::size_t>(current)].proposal = std::string(Trim(window.Text(kProposal)));
        ShowRow(window, current);
        ShowMarkup(window);
        return;
    }
    if (notification.control != kSizes)
        return;
    if (notification.code == NotifyCode::SelectionChanged || notification.code == NotifyCode::ItemChanged) {
        ShowMarkup(window);
        return;
    }
    if (!TogglesTicks(notification))
        return;
    const bool written = m_written;
    if (written)
        TakeBack();
    for (int row = 0; row < window.ItemCount(kSizes); ++row) {
        const bool chosen = notification.code == NotifyCode::DoubleClicked ? row == notification.item
                                                                            : window.IsItemSelected(kSizes, row);
        if (!chosen)
            continue;
        Row& r = m_rows[static_cast<std::size_t>(row)];
        r.ticked = !r.ticked;
        ShowRow(window, row);
    }
    if (written)
        WriteTicked();
    ShowMarkup(window);
}

bool CPageUnitsTable::Acceptable(const Row& row) const
{
    return row.frameList ? IsRelativeFrameList(row.proposal) : IsRelativeLength(row.proposal);
}

std::string CPageUnitsTable::WrittenStyle(const Row& row) const
{
    struct Edit {
        StyleValue at;
        const std::string* proposal;
    };
    std::vector<Edit> edits;
    for (const Row& r : m_rows) {
        if (r.size.attribute == row.size.attribute && r.ticked && !r.size.property.empty())
            edits.push_back({FindStyleValue(row.style, r.size.property), &r.proposal});
    }
    std::sort(edits.begin(), edits.end(),
              [](const Edit& a, const Edit& b) { return a.at.declarationStart > b.at.declarationStart; });
    std::string style = row.style;
    for (const Edit& edit : edits) {
        if (edit.at.declarationStart == std::string_view::npos)
            continue;
        if (edit.proposal->empty())
            style.erase(edit.at.declarationStart, edit.at.declarationEnd - edit.at.declarationStart);
        else
            style.replace(edit.at.valueStart, edit.at.valueEnd - edit.at.valueStart, *edit.proposal);
    }
    return std::string(TrimRight(style));
}

void CPageUnitsTable::Write(Row& row)
{
    CAttribute& attribute = *row.size.attribute;
    if (!row.saved) {
        // Sizes of one style share its attribute: its value as the page had it is kept once.
        const bool kept = std::any_of(m_rows.begin(), m_rows.end(), [&](const Row& r) {
            return r.saved && r.size.attribute == row.size.attribute;
        });
        if (!kept) {
            attribute.Save();
            row.wasHideable = attribute.IsHideable();
        } else {
            for (const Row& r : m_rows) {
                if (r.saved && r.size.attribute == row.size.attribute)
                    row.wasHideable = r.wasHideable;
            }
        }
        row.saved = true;
    }
    if (!row.size.property.empty()) {
        const std::string style = WrittenStyle(row);
        if (style.empty()) {
            attribute.SetHideable(true);
            attribute.Hide(true);
            attribute.SetChanged(true);
        } else {
            attribute.SetFromText(style, Encoding());
        }
        return;
    }
    if (row.proposal.empty()) {
        attribute.SetHideable(true);
        attribute.Hide(true);
        attribute.SetChanged(true);
    } else {
        attribute.SetFromText(row.proposal, Encoding());
    }
}

void CPageUnitsTable::TakeBack()
{
    for (Row& r : m_rows) {
        if (!r.saved)
            continue;
        r.size.attribute->Revert();
        r.size.attribute->SetHideable(r.wasHideable);
    }
    m_written = false;
}

void CPageUnitsTable::WriteTicked()
{
    bool all = true;
    for (Row& r : m_rows) {
        all = all && r.ticked;
        if (r.ticked)
            Write(r);
    }
    m_written = true;
    SetStatus(all ? pagestatus::kRepaired : pagestatus::kPartlyRepaired);
}

bool CPageUnitsTable::Apply()
{
    DecodeFoundTexts();
    if (std::none_of(m_rows.begin(), m_rows.end(), [](const Row& r) { return r.ticked; })) {
        Undo();
        Say(kNothingTicked);
        return false;
    }
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const Row& r = m_rows[i];
        if (!r.ticked || Acceptable(r))
            continue;
        Undo();
        if (platform::IWindow* window = Window()) {
            window->SetCurrentItem(kSizes, static_cast<int>(i));
            ShowMarkup(*window);
        }
        Say(r.frameList ? kNotFrameList : kNotRelative, {r.proposal});
        return false;
    }
    return WriteAndShow();
}

} // namespace orvane
