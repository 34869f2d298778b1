#include "library/ui/pages/tables/page_table_structual_markup.h"

#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "library/tables/table_record.h"
#include "library/tables/table_tags.h"
#include "platform/services.h"

#include <algorithm>
#include <cctype>
#include <memory>

namespace orvane {

namespace {
constexpr int kCaption = 111;
constexpr int kInstruction = 1080;
constexpr int kGroupNames[] = {1081, 1082, 1083};
constexpr int kRowEntry = 1084;
constexpr int kAlreadyGrouped = 1085;
constexpr int kHeadNotFirst = 1086;
constexpr int kFootNotLast = 1087;
constexpr int kNoBody = 1088;
constexpr int kColumnRow = 1089;
constexpr int kColumnGroup = 1090;
constexpr int kNoText = 1091;
constexpr int kHeadExists = 1092;
constexpr int kFootExists = 1093;
constexpr char kHelpTopic[] = "5-4-1.html";
constexpr const char* kGroupTags[] = {"thead", "tbody", "tfoot"};
// A row's cells shown in the list; longer rows are cut.
constexpr std::size_t kShownRowText = 90;

std::string String(int id) { return platform::Strings().Get(id); }

std::string Lower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool IsBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

int GroupOfTag(int kind)
{
    switch (kind) {
    case table_tag::kThead:
        return CPageTableStructualMarkup::kInHead;
    case table_tag::kTbody:
        return CPageTableStructualMarkup::kInBody;
    case table_tag::kTfoot:
        return CPageTableStructualMarkup::kInFoot;
    default:
        return -1;
    }
}

bool AllHeaderCells(const CTableRow& row)
{
    bool any = false;
    for (const CTableCell* cell : row.Cells()) {
        if (cell->IsIgnored())
            continue;
        if (cell->Type() != cell_type::kTh)
            return false;
        any = true;
    }
    return any;
}

// A row that adds up the ones above it starts with a word saying so, or is
// made of header cells only, as a table's closing line often is.
bool SumsUp(const CTableRow& row)
{
    if (AllHeaderCells(row))
        return true;
    const CTableCell* first = row.FirstCountedCell();
    if (!first)
        return false;
    const std::string text = Lower(Trim(first->Text()));
    for (std::string_view word : {"total", "totals", "grand total", "sum", "summe", "insgesamt", "zusammen"}) {
        if (text.starts_with(word) &&
            (text.size() == word.size() || !std::isalpha(static_cast<unsigned char>(text[word.size()]))))
            return true;
    }
    return text.starts_with("gesamt");
}

std::string RowText(const CTableRow& row)
{
    std::string text;
    for (const CTableCell* cell : row.Cells()) {
        if (cell->IsIgnored())
            continue;
        if (!text.empty())
            text.append(" | ");
        text.append(Trim(cell->Text()));
    }
    if (Trim(text).empty() || text.find_first_not_of(" |") == std::string::npos)
        return String(kNoText);
    if (text.size() > kShownRowText) {
        std::size_t cut = kShownRowText;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut;  // not inside a character of several bytes
        text.resize(cut);
        text.append("...");
    }
    return text;
}

// HTML5 lets a table's foot follow its body; the older document types want
// it before the body, and a page without a document type is read by their rules.
bool IsHtml5(const CHtmlDocument& document, const CElement& table)
{
    const std::size_t end = document.IndexOf(table);
    for (std::size_t i = 0; i < end; ++i) {
        const CElement* e = document.At(i);
        if (e->IsDeleted() || e->Kind() != tag::kDoctype)
            continue;
        std::string words;
        for (char c : Lower(e->Text())) {
            const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
            if (blank && (words.empty() || words.back() == ' '))
                continue;
            words.push_back(blank ? ' ' : c);
        }
        while (!words.empty() && words.back() == ' ')
            words.pop_back();
        return words == "<!doctype html>" || words == "<!doctype html >" ||
               words == "<!doctype html system \"about:legacy-compat\">" ||
               words == "<!doctype html system 'about:legacy-compat'>";
    }
    return false;
}
} // namespace

CPageTableStructualMarkup::CPageTableStructualMarkup(CTableRecord& table, std::string_view lineEnd)
    : CPageTableBase(kTemplate, table, kPreview), m_lineEnd(lineEnd)
{
}

// The rows as the page groups them now: a row inside a thead, tbody or
// tfoot stays there; the others get the groups the user gives them.
void CPageTableStructualMarkup::FindRows()
{
    m_rows.clear();
    CHtmlDocument* document = Table().Document();
    CElement* table = Table().TableElement();
    if (!document || !table)
        return;
    const std::vector<CTableRow*>& rows = Table().Rows();
    const std::vector<CElement*>& elements = document->Elements();
    std::size_t next = 0;
    int group = -1;
    CElement* groupStart = nullptr;
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t current = kNone;
    std::size_t i = document->IndexOf(*table) + 1;
    while (i < elements.size()) {
        CElement* e = elements[i++];
        if (e->IsDeleted())
            continue;
        const int k = e->Kind();
        if (k == tag::kTable) {
            // A table inside a cell belongs to that cell's row.
            CElement* nestedEnd = e->Partner();
            if (!nestedEnd || document->IndexOf(*nestedEnd) < i)
                break;
            i = document->IndexOf(*nestedEnd) + 1;
            if (current != kNone)
                m_rows[current].last = nestedEnd;
            continue;
        }
        if (k == tag::kTable + kind::kEndOffset)
            break;
        if (GroupOfTag(k) >= 0) {
            group = GroupOfTag(k);
            groupStart = e;
            current = kNone;
            continue;
        }
        if (k >= kind::kEndOffset && GroupOfTag(k - kind::kEndOffset) >= 0) {
            group = -1;
            groupStart = nullptr;
            current = kNone;
            continue;
        }
        if (k == table_tag::kTr) {
            current = kNone;
            while (next < rows.size() && &rows[next]->StartElement() != e)
                ++next;
            if (next == rows.size())
                continue;
            CTableRow* row = rows[next++];
            if (row->IsExcluded())
                continue;
            m_rows.push_back({row, group < 0 ? kInBody : group, group >= 0, groupStart, e});
            current = m_rows.size() - 1;
            continue;
        }
        if (current == kNone)
            continue;
        if (!(k == kind::kText && IsBlank(e->Text())))
            m_rows[current].last = e;
        if (k == table_tag::kTr + kind::kEndOffset)
            current = kNone;
    }
}

// The leading rows of header cells make the head, a closing row that sums
// up makes the foot, as long as a row stays for the body.
void CPageTableStructualMarkup::ProposeGroups()
{
    const auto has = [&](int group) {
        return std::any_of(m_rows.begin(), m_rows.end(), [&](const Row& r) { return r.grouped && r.group == group; });
    };
    const bool hasHead = has(kInHead);
    const bool hasFoot = has(kInFoot);
    for (Row& r : m_rows) {
        if (!r.grouped)
            r.group = kInBody;
    }
    if (!hasHead) {
        for (std::size_t i = 0; i + 1 < m_rows.size() && !m_rows[i].grouped && AllHeaderCells(*m_rows[i].row); ++i)
            m_rows[i].group = kInHead;
    }
    if (!hasFoot && m_rows.size() >= 2) {
        Row& last = m_rows.back();
        const bool otherBody = std::any_of(m_rows.begin(), m_rows.end() - 1,
                                           [](const Row& r) { return r.group == kInBody; });
        if (!last.grouped && last.group == kInBody && otherBody && SumsUp(*last.row))
            last.group = kInFoot;
    }
    m_holdsData = !m_rows.empty() && m_rows.front().group == kInHead;
}

void CPageTableStructualMarkup::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    if (!m_found) {
        FindRows();
        ProposeGroups();
        m_found = true;
    }
    window.SetColumns(kRows, {{String(kColumnRow), 400}, {String(kColumnGroup), 180}});
    FillRows(window);
    if (window.ItemCount(kRows) > 0) {
        window.SetItemSelected(kRows, 0, true);
        window.SetCurrentItem(kRows, 0);
    }
    ShowMode(window);
}

void CPageTableStructualMarkup::FillRows(platform::IWindow& window)
{
    const int current = window.CurrentItem(kRows);
    window.ClearItems(kRows);
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const Row& r = m_rows[i];
        const int item = window.AddItem(kRows, platform::Strings().Format(kRowEntry, {std::to_string(i + 1), RowText(*r.row)}),
                                        static_cast<platform::ItemData>(i));
        const std::string group = String(kGroupNames[r.group]);
        window.SetItemText(kRows, item, 1, r.grouped ? platform::Strings().Format(kAlreadyGrouped, {group}) : group);
    }
    if (current >= 0 && current < window.ItemCount(kRows)) {
        window.SetItemSelected(kRows, current, true);
        window.SetCurrentItem(kRows, current);
    }
}

void CPageTableStructualMarkup::ShowMode(platform::IWindow& window)
{
    window.SetChecked(kHoldsData, m_holdsData);
    window.SetChecked(kPlainCells, !m_holdsData);
    window.Enable(kRows, m_holdsData);
    ShowCurrentRow(window);
}

void CPageTableStructualMarkup::OnActivate(platform::IWindow& window)
{
    CPageTableBase::OnActivate(window);
    ShowPreview();
}

// Plain cells are shown before they are written: the cells are read as data
// cells while the preview is written, and as header cells again after it.
void CPageTableStructualMarkup::ShowPreview()
{
    if (m_holdsData || m_written) {
        RefreshTablePreview();
        return;
    }
    std::vector<CTableCell*> headers;
    for (CTableRow* row : Table().Rows()) {
        for (CTableCell* cell : row->Cells()) {
            if (cell->Type() == cell_type::kTh)
                headers.push_back(cell);
        }
    }
    for (CTableCell* cell : headers)
        cell->SetType(cell_type::kTd);
    RefreshTablePreview();
    for (CTableCell* cell : headers)
        cell->SetType(cell_type::kTh);
}

void CPageTableStructualMarkup::ShowCurrentRow(platform::IWindow& window)
{
    const int item = window.CurrentItem(kRows);
    const bool known = item >= 0 && static_cast<std::size_t>(item) < m_rows.size();
    const int group = known ? m_rows[static_cast<std::size_t>(item)].group : -1;
    const bool changeable = known && m_holdsData && !m_rows[static_cast<std::size_t>(item)].grouped;
    for (int g : {kInHead, kInBody, kInFoot}) {
        const int control = kHead + g;
        window.SetChecked(control, g == group);
        window.Enable(control, changeable);
    }
}

void CPageTableStructualMarkup::SetCurrentGroup(platform::IWindow& window, int group)
{
    const int item = window.CurrentItem(kRows);
    if (item < 0 || static_cast<std::size_t>(item) >= m_rows.size() || m_rows[static_cast<std::size_t>(item)].grouped)
        return;
    m_rows[static_cast<std::size_t>(item)].group = group;
    window.SetItemText(kRows, item, 1, String(kGroupNames[group]));
    ShowCurrentRow(window);
}

void CPageTableStructualMarkup::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    using platform::NotifyCode;
    switch (notification.control) {
    case kHoldsData:
    case kPlainCells:
        if (notification.code == NotifyCode::Clicked) {
            m_holdsData = notification.control == kHoldsData;
            ShowMode(window);
            ShowPreview();
        }
        break;
    case kRows:
        if (notification.code == NotifyCode::SelectionChanged || notification.code == NotifyCode::ItemChanged)
            ShowCurrentRow(window);
        break;
    case kHead:
    case kBody:
    case kFoot:
        if (notification.code == NotifyCode::Clicked)
            SetCurrentGroup(window, notification.control - kHead);
        break;
    default:
        break;
    }
}

// A table has one head and one foot at most, the head before every other
// row and the foot after them, and a body between.
int CPageTableStructualMarkup::GroupsProblem() const
{
    if (m_rows.empty())
        return 0;
    const auto has = [&](int group) {
        return std::any_of(m_rows.begin(), m_rows.end(), [&](const Row& r) { return r.grouped && r.group == group; });
    };
    const bool hasHead = has(kInHead);
    const bool hasFoot = has(kInFoot);
    bool beforeWasOther = false;
    for (const Row& r : m_rows) {
        if (r.group == kInHead && !r.grouped) {
            if (hasHead)
                return kHeadExists;
            if (beforeWasOther)
                return kHeadNotFirst;
        }
        beforeWasOther = beforeWasOther || r.group != kInHead;
    }
    bool afterWasOther = false;
    for (auto r = m_rows.rbegin(); r != m_rows.rend(); ++r) {
        if (r->group == kInFoot && !r->grouped) {
            if (hasFoot)
                return kFootExists;
            if (afterWasOther)
                return kFootNotLast;
        }
        afterWasOther = afterWasOther || r->group != kInFoot;
    }
    if (std::none_of(m_rows.begin(), m_rows.end(), [](const Row& r) { return r.group == kInBody; }))
        return kNoBody;
    return 0;
}

std::string CPageTableStructualMarkup::TagName(std::string_view name) const
{
    const std::string_view table = Table().TableElement()->WrittenTagName();
    std::string written(name);
    if (!table.empty() && std::isupper(static_cast<unsigned char>(table[0]))) {
        for (char& c : written)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return written;
}

CElement* CPageTableStructualMarkup::Insert(CElement& at, bool after, std::string text)
{
    ElementPtr element(new CElement);
    element->SetKind(kind::kUnknown);
    if (!element->SetText(text))
        return nullptr;
    element->SetModified(true);
    CElement* made = element.get();
    CHtmlDocument& document = *Table().Document();
    if (!(after ? document.InsertAfter(&at, std::move(element)) : document.InsertBefore(&at, std::move(element))))
        return nullptr;
    m_inserted.push_back(made);
    return made;
}

// Group tags stand on lines of their own, indented as the rows are, where
// the rows stand on lines of their own; inside a line they follow it.
bool CPageTableStructualMarkup::WriteGroups()
{
    CHtmlDocument& document = *Table().Document();
    // The blanks before an element, which the page may keep in several text runs.
    const auto blanksBefore = [&](const CElement& start) {
        std::vector<CElement*> blanks;
        for (std::size_t i = document.IndexOf(start); i > 0; --i) {
            CElement* e = document.At(i - 1);
            if (e->IsDeleted())
                continue;
            if (e->Kind() != kind::kText || !IsBlank(e->Text()))
                break;
            blanks.push_back(e);
        }
        return blanks;
    };
    const auto separatorBefore = [&](const CElement& start) {
        std::string text;
        for (const CElement* e : blanksBefore(start))
            text.insert(0, e->Text());
        const std::size_t lineEnd = text.find_last_of('\n');
        if (lineEnd == std::string::npos)
            return std::string();
        const std::string indent = text.substr(lineEnd + 1);
        if (indent.find_first_not_of(" \t") != std::string::npos)
            return std::string();
        return m_lineEnd + indent;
    };

    struct Segment {
        std::size_t first, last;
        int group;
    };
    std::vector<Segment> segments;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].grouped)
            continue;
        if (!segments.empty() && segments.back().last + 1 == i && segments.back().group == m_rows[i].group)
            segments.back().last = i;
        else
            segments.push_back({i, i, m_rows[i].group});
    }

    const auto firstBody = std::find_if(m_rows.begin(), m_rows.end(), [](const Row& r) { return r.group == kInBody; });
    CElement* bodyStart = firstBody != m_rows.end() && firstBody->grouped ? firstBody->groupStart : nullptr;
    const std::size_t firstBodyIndex = static_cast<std::size_t>(firstBody - m_rows.begin());
    const bool moveFoot = !m_html5;
    for (const Segment& s : segments) {
        if (s.group == kInFoot && moveFoot && s.first > firstBodyIndex)
            continue;
        const std::string name = TagName(kGroupTags[s.group]);
        const std::string separator = separatorBefore(m_rows[s.first].row->StartElement());
        CElement* open = Insert(m_rows[s.first].row->StartElement(), false, "<" + name + ">" + separator);
        if (!open || !Insert(*m_rows[s.last].last, true, separator + "</" + name + ">"))
            return false;
        if (s.group == kInBody && s.first == firstBodyIndex)
            bodyStart = open;
    }

    // The foot goes before the body: its rows' bytes are written there, and
    // the rows (with the line they stood on) are taken out where they were.
    for (const Segment& s : segments) {
        if (s.group != kInFoot || !moveFoot || s.first < firstBodyIndex || !bodyStart)
            continue;
        CElement& start = m_rows[s.first].row->StartElement();
        const std::string separator = separatorBefore(start);
        const std::string bodySeparator = separatorBefore(*bodyStart);
        const std::string name = TagName("tfoot");
        std::string text = "<" + name + ">" + separator;
        const std::size_t from = document.IndexOf(start);
        const std::size_t to = document.IndexOf(*m_rows[s.last].last);
        std::vector<CElement*> moved;
        if (!separator.empty())
            moved = blanksBefore(start);
        for (std::size_t i = from; i <= to; ++i) {
            CElement* e = document.At(i);
            if (e->IsDeleted())
                continue;
            e->AppendMarkupText(text);
            moved.push_back(e);
        }
        text.append(separator + "</" + name + ">" + bodySeparator);
        if (!Insert(*bodyStart, false, text))
            return false;
        for (CElement* e : moved)
            e->SetDeleted(true);
        m_moved.insert(m_moved.end(), moved.begin(), moved.end());
    }
    return true;
}

void CPageTableStructualMarkup::WritePlainCells()
{
    for (CTableRow* row : Table().Rows()) {
        for (CTableCell* cell : row->Cells()) {
            if (cell->Type() != cell_type::kTh)
                continue;
            // Renamed in their text: every other byte of the tags stays as written.
            CElement& start = cell->StartElement();
            CElement* end = cell->EndElement();
            m_renamed.push_back({cell, start.GetText(), start.IsModified(), end ? end->GetText() : std::string(),
                                 end && end->IsModified()});
            start.RenameTag("td", tag::kTd);
            if (end)
                end->RenameTag("td", tag::kTd + kind::kEndOffset);
            cell->SetType(cell_type::kTd);
        }
    }
}

void CPageTableStructualMarkup::TakeBack()
{
    for (CElement* e : m_inserted)
        e->SetDeleted(true);
    for (CElement* e : m_moved)
        e->SetDeleted(false);
    for (auto renamed = m_renamed.rbegin(); renamed != m_renamed.rend(); ++renamed) {
        CElement& start = renamed->cell->StartElement();
        start.RenameTag("th", tag::kTh);
        if (start.Text() != renamed->startText)
            start.SetText(renamed->startText);
        start.SetModified(renamed->startModified);
        if (CElement* end = renamed->cell->EndElement()) {
            end->RenameTag("th", tag::kTh + kind::kEndOffset);
            if (end->Text() != renamed->endText)
                end->SetText(renamed->endText);
            end->SetModified(renamed->endModified);
        }
        renamed->cell->SetType(cell_type::kTh);
    }
    if (m_written && Table().Type() != m_typeBefore)
        Table().SetType(m_typeBefore);
    m_inserted.clear();
    m_moved.clear();
    m_renamed.clear();
    m_written = false;
}

bool CPageTableStructualMarkup::Apply()
{
    TakeBack();
    if (m_holdsData) {
        if (const int problem = GroupsProblem()) {
            SetStatus(pagestatus::kNotRepaired);
            platform::Prompt().Show(String(kCaption), String(problem), platform::PromptIcon::Exclamation,
                                    platform::PromptButtons::Ok);
            return false;
        }
    }
    m_typeBefore = Table().Type();
    m_written = true;
    if (m_holdsData) {
        m_html5 = IsHtml5(*Table().Document(), *Table().TableElement());
        if (!WriteGroups()) {
            TakeBack();
            SetStatus(pagestatus::kNotRepaired);
            return false;
        }
        Table().SetType(table_type::kData);
    } else {
        WritePlainCells();
    }
    SetStatus(pagestatus::kRepaired);
    if (Window())
        ShowPreview();
    return true;
}

void CPageTableStructualMarkup::Undo()
{
    TakeBack();
    SetStatus(pagestatus::kNotRepaired);
    if (Window())
        ShowPreview();
}

} // namespace orvane
