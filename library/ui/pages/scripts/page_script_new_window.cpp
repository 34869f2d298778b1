#include "library/ui/pages/scripts/page_script_new_window.h"

#include "library/ui/link_markup.h"
#include "library/ui/paragraph_context.h"

#include "library/checks/element_anchor.h"
#include "library/html/attribute.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "platform/services.h"

#include <algorithm>

namespace orvane {

namespace {
constexpr int kCaption = 111;
constexpr int kInstruction = 1132;
constexpr int kTriggerColumn = 1133;
constexpr int kWordsColumnTitle = 1134;
constexpr int kDefaultWords = 935;
constexpr int kWordsNeeded = 1135;
constexpr int kLinkRow = 1136;
constexpr int kButtonRow = 1137;
constexpr int kOtherRow = 1138;
constexpr int kNoTextOfItsOwn = 1139;
constexpr int kNoTriggers = 1140;
constexpr int kTextExplanation = 1141;
constexpr int kNoTextExplanation = 1142;
constexpr char kHelpTopic[] = "ScriptSpawnNewWindow.html";
constexpr int kButton = 14;

// The words as the page's readers read them, whatever the program's language.
constexpr std::string_view kEnglishWords = "(opens in a new window)";
constexpr std::string_view kGermanWords = "(\xc3\xb6" "ffnet ein neues Fenster)";

std::string String(int id) { return platform::Strings().Get(id); }

// The language the html element gives, lower case; empty when none.
std::string PageLanguage(const CHtmlDocument& document)
{
    for (const CElement* e : document.Elements()) {
        if (e->IsDeleted())
            continue;
        if (e->Kind() == tag::kBody)
            break;
        if (e->Kind() == tag::kHtml) {
            const CAttribute* lang = e->FindAttribute(attr::kLang);
            return lang && !lang->IsHidden() ? ToLower(Trim(lang->Value())) : std::string();
        }
    }
    return {};
}

bool IsLanguage(std::string_view lang, std::string_view code)
{
    return lang == code || (lang.size() > code.size() && lang.starts_with(code) && lang[code.size()] == '-');
}

// The text a button shows between its tags, on one line.
std::string ShownText(const CHtmlDocument& document, const CElement& start)
{
    const CElement* end = start.Partner();
    std::string text;
    if (!end || !document.Find(end))
        return text;
    for (std::size_t i = document.IndexOf(start) + 1; i < document.IndexOf(*end) && i < document.Size(); ++i) {
        const CElement* e = document.At(i);
        if (!e->IsDeleted() && e->Kind() == kind::kText && !e->IsModified())
            AppendWithoutBreakReturns(text, e->Text());
    }
    std::replace(text.begin(), text.end(), '\n', ' ');
    return std::string(Trim(text));
}

std::string WithoutCarriageReturns(std::string_view code)
{
    std::string text;
    AppendWithoutBreakReturns(text, code);
    return text;
}
// The element marked out in its paragraph, so the user sees which of the
// paragraph's links is meant; an element that holds the page is not.
std::string Marked(std::string context, const CElement& element, const CElement* end, bool takesText)
{
    if (!takesText)
        return context;
    std::string startTag;
    element.AppendMarkupText(startTag);
    const std::size_t at = context.find(startTag);
    if (startTag.empty() || at == std::string::npos)
        return context;
    std::size_t after = at + startTag.size();
    if (end) {
        std::string endTag;
        end->AppendMarkupText(endTag);
        const std::size_t close = endTag.empty() ? std::string::npos : context.find(endTag, after);
        if (close == std::string::npos)
            return context;
        after = close + endTag.size();
    }
    context.insert(after, "</strong>");
    context.insert(at, "<strong style=\"background-color: #ffff99\">");
    return context;
}
} // namespace

CPageScriptNewWindow::CPageScriptNewWindow(std::vector<WindowTrigger> triggers, CHtmlDocument& document,
                                           std::string code)
    : CPageValidatorBase(kTemplate), m_document(document), m_code(std::move(code))
{
    m_rows.reserve(triggers.size());
    for (const WindowTrigger& trigger : triggers)
        m_rows.push_back({trigger, {}});
}

std::string CPageScriptNewWindow::ProposedWords(const CHtmlDocument& document)
{
    const std::string lang = PageLanguage(document);
    if (IsLanguage(lang, "en"))
        return std::string(kEnglishWords);
    if (IsLanguage(lang, "de"))
        return std::string(kGermanWords);
    return std::string(Trim(String(kDefaultWords)));
}

bool CPageScriptNewWindow::NeedsJudgement() const
{
    return m_rows.empty() || std::any_of(m_rows.begin(), m_rows.end(), [](const Row& row) { return !row.trigger.TakesText(); });
}

void CPageScriptNewWindow::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    if (!m_opened) {
        m_opened = true;
        const std::string proposed = ProposedWords(m_document);
        for (Row& row : m_rows) {
            if (row.trigger.TakesText())
                row.words = proposed;
        }
    }
    window.SetText(kCode, Trim(WithoutCarriageReturns(m_code)));
    window.SetColumns(kTriggers, {{String(kTriggerColumn), 260, platform::Align::Left, true},
                                  {String(kWordsColumnTitle), 200, platform::Align::Left, false}});
    // Only an element without text of its own leaves the judgement to the user.
    window.Show(kElsewhere, NeedsJudgement());
    window.SetChecked(kElsewhere, m_announcedElsewhere);
    FillRows();
}

std::string CPageScriptNewWindow::RowText(const Row& row) const
{
    const CElement& e = *row.trigger.element;
    if (e.Kind() == tag::kA) {
        const auto* link = dynamic_cast<const CElementAnchor*>(&e);
        return platform::Strings().Format(kLinkRow, {link ? link->LinkText() : ShownText(m_document, e)});
    }
    if (row.trigger.caption)
        return platform::Strings().Format(kButtonRow, {row.trigger.caption->SavedValue()});
    if (e.Kind() == kButton)
        return platform::Strings().Format(kButtonRow, {ShownText(m_document, e)});
    return platform::Strings().Format(kOtherRow, {ToLower(e.WrittenTagName()), ToLower(row.trigger.handler->Name())});
}

std::string CPageScriptNewWindow::WordsColumn(const Row& row) const
{
    return row.trigger.TakesText() ? row.words : String(kNoTextOfItsOwn);
}

void CPageScriptNewWindow::FillRows()
{
    platform::IWindow& window = *Window();
    window.ClearItems(kTriggers);
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const int row = window.AddItem(kTriggers, RowText(m_rows[i]), static_cast<platform::ItemData>(i));
        window.SetItemText(kTriggers, row, 1, WordsColumn(m_rows[i]));
    }
    m_shownRow = -1;
    if (m_rows.empty()) {
        window.Enable(kTriggers, false);
        window.Enable(kWords, false);
        window.SetText(kWords, {});
        window.SetText(kExplanation, String(kNoTriggers));
        PreviewParagraph({}, kPreview);
        return;
    }
    window.SetCurrentItem(kTriggers, 0);
    window.SetItemSelected(kTriggers, 0, true);
    ShowRow(0);
}

void CPageScriptNewWindow::ShowRow(int row)
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return;
    platform::IWindow& window = *Window();
    m_shownRow = row;
    const Row& shown = m_rows[static_cast<std::size_t>(row)];
    const bool takesText = shown.trigger.TakesText();
    window.Enable(kWords, takesText);
    window.SetText(kWords, takesText ? shown.words : std::string());
    window.SetText(kExplanation, String(takesText ? kTextExplanation : kNoTextExplanation));
    // A link or button is shown with its block; an element that holds the
    // whole page (the body) with the block it starts.
    const CElement& element = *shown.trigger.element;
    const std::size_t start = m_document.IndexOf(element);
    const CElement* partner = shown.trigger.preparedText ? element.Partner() : nullptr;
    const std::size_t end = partner ? m_document.IndexOf(*partner) : start;
    PreviewParagraph(Marked(ParagraphInContext(m_document, start, end), element, partner, takesText), kPreview);
}

void CPageScriptNewWindow::KeepTypedWords()
{
    platform::IWindow* window = Window();
    if (!window || m_shownRow < 0)
        return;
    Row& row = m_rows[static_cast<std::size_t>(m_shownRow)];
    if (!row.trigger.TakesText())
        return;
    row.words = window->Text(kWords);
    window->SetItemText(kTriggers, m_shownRow, 1, row.words);
}

void CPageScriptNewWindow::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    using platform::NotifyCode;
    if (notification.control == kTriggers && notification.code == NotifyCode::ItemChanged) {
        if (notification.item >= 0 && notification.item < window.ItemCount(kTriggers) &&
            window.IsItemSelected(kTriggers, notification.item) && notification.item != m_shownRow)
            ShowRow(notification.item);
    } else if (notification.control == kWords && notification.code == NotifyCode::TextChanged) {
        KeepTypedWords();
    }
}

void CPageScriptNewWindow::Write()
{
    TakeBack();
    m_written = true;
    for (Row& row : m_rows) {
        // The words stand apart from the element's own, however they were typed.
        const std::string words = " " + std::string(Trim(row.words));
        if (row.trigger.preparedText) {
            row.trigger.preparedText->SetText(linkmarkup::Escaped(words, Encoding()));
            row.trigger.preparedText->SetDeleted(false);
        } else if (row.trigger.caption) {
            row.trigger.caption->SetFromText(UserText(row.trigger.caption->SavedValue()) + words, Encoding());
        }
    }
}

void CPageScriptNewWindow::TakeBack()
{
    if (!m_written)
        return;
    m_written = false;
    for (Row& row : m_rows) {
        if (row.trigger.preparedText)
            row.trigger.preparedText->SetDeleted(true);
        else if (row.trigger.caption)
            row.trigger.caption->Revert();
    }
}

// Every link and button that opens the window needs its words; a page
// that also opens it without one is repaired once the user confirms it
// says so elsewhere.
bool CPageScriptNewWindow::Apply()
{
    platform::IWindow* window = Window();
    if (!window)
        return true;
    KeepTypedWords();
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (!m_rows[i].trigger.TakesText() || !Trim(m_rows[i].words).empty())
            continue;
        Undo();
        const int row = static_cast<int>(i);
        for (int other = 0; other < window->ItemCount(kTriggers); ++other)
            window->SetItemSelected(kTriggers, other, other == row);
        window->SetCurrentItem(kTriggers, row);
        ShowRow(row);
        platform::Prompt().Show(String(kCaption), String(kWordsNeeded), platform::PromptIcon::Exclamation,
                                platform::PromptButtons::Ok);
        window->Focus(kWords);
        return false;
    }
    m_announcedElsewhere = NeedsJudgement() && window->IsChecked(kElsewhere);
    const bool anyText = std::any_of(m_rows.begin(), m_rows.end(), [](const Row& row) { return row.trigger.TakesText(); });
    if (anyText)
        Write();
    if (!NeedsJudgement() || m_announcedElsewhere)
        SetStatus(pagestatus::kRepaired);
    else
        SetStatus(anyText ? pagestatus::kPartlyRepaired : pagestatus::kNotRepaired);
    SetVerdict(m_announcedElsewhere ? "new window announced elsewhere" : "");
    ShowRow(m_shownRow);
    return true;
}

void CPageScriptNewWindow::Undo()
{
    TakeBack();
    m_announcedElsewhere = false;
    SetStatus(pagestatus::kNotRepaired);
    SetVerdict({});
    if (platform::IWindow* window = Window()) {
        window->SetChecked(kElsewhere, false);
        ShowRow(m_shownRow);
    }
}

} // namespace orvane
