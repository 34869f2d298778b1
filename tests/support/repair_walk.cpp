#include "tests/support/repair_walk.h"

#include "common/orvane_settings.h"
#include "library/checks/check_pass.h"
#include "library/checks/element_table.h"
#include "library/checks/family_factory.h"
#include "library/html/attribute.h"
#include "library/html/attribute_table.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/page_encoding.h"
#include "library/html/tag_table.h"
#include "library/registry/object_database.h"
#include "library/rules/rule_findings.h"
#include "library/tables/table_record.h"
#include "library/ui/page_validator_base.h"
#include "library/ui/pages/forms/page_label_far_away.h"
#include "library/ui/pages/forms/page_label_missing.h"
#include "library/ui/pages/structure/page_doctype_bad.h"
#include "library/ui/problem_list.h"
#include "library/ui/repair_run.h"
#include "library/ui/validator_sheet.h"
#include "tests/support/memory_window.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <set>
#include <sstream>
#include <unordered_map>

namespace orvane::test {
namespace {

constexpr std::string_view kTypedText = "Harbour ferry timetable";

bool TakeIn(CHtmlDocument& document, const std::string& path, std::string_view page)
{
    document.Start(1, false);
    document.SetName(path);
    std::istringstream in{std::string(page)};
    return document.Load(in) == 1;
}

std::string Lower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool IsTag(const CElement& element)
{
    const int kind = element.Kind();
    return (kind >= 0 && kind < kTagTableSize) ||
           (kind >= kind::kEndOffset && kind < kind::kEndOffset + kTagTableSize);
}

bool IsEndTag(const CElement& element) { return element.Kind() >= kind::kEndOffset && IsTag(element); }

std::string NameOf(const CElement& element) { return IsTag(element) ? Lower(element.WrittenTagName()) : std::string(); }

// Tags whose end HTML leaves out or never has: their start alone is no fault.
bool EndIsOptional(const std::string& name)
{
    static const std::set<std::string> names = {
        "area", "base", "basefont", "body", "br", "col", "colgroup", "dd", "dt", "embed", "frame", "head",
        "hr", "html", "img", "input", "isindex", "keygen", "li", "link", "meta", "nextid", "option", "p",
        "param", "source", "spacer", "tbody", "td", "tfoot", "th", "thead", "tr", "track", "wbr", "!doctype"};
    return names.contains(name);
}

// Elements a paragraph cannot hold: the browser closes the paragraph before them.
bool IsBlock(const std::string& name)
{
    static const std::set<std::string> names = {
        "address", "article", "aside", "blockquote", "center", "dir", "div", "dl", "fieldset", "figure",
        "footer", "form", "h1", "h2", "h3", "h4", "h5", "h6", "header", "hr", "main", "menu", "nav",
        "noframes", "noscript", "ol", "p", "pre", "section", "table", "ul"};
    return names.contains(name);
}

bool IsBlankText(const CElement& element)
{
    if (element.Kind() == kind::kComment || element.Kind() == kind::kCommentEnd)
        return true;
    if (element.Kind() != kind::kText)
        return false;
    const std::string_view text = element.Text();
    return std::all_of(text.begin(), text.end(), [](char c) { return std::isspace(static_cast<unsigned char>(c)); });
}

// The faults of form a page has, counted; a repair may leave a page with as
// many as it had, never with more.
struct MarkupFaults {
    int unpaired = 0;
    int blockInParagraph = 0;
    int linkInLink = 0;
    int bodyMarkupInHead = 0;
    int repeatedIds = 0;
    std::map<std::string, int> unpairedNames;

    std::string FirstWorseThan(const MarkupFaults& before) const
    {
        if (unpaired > before.unpaired) {
            std::string names;
            for (const auto& [name, count] : unpairedNames) {
                auto was = before.unpairedNames.find(name);
                if (count > (was == before.unpairedNames.end() ? 0 : was->second))
                    names += " " + name;
            }
            return "tags without their partner: " + std::to_string(unpaired) + ", the page had " +
                   std::to_string(before.unpaired) + " (" + names.substr(names.empty() ? 0 : 1) + ")";
        }
        const std::pair<const char*, std::pair<int, int>> counts[] = {
            {"tags without their partner", {unpaired, before.unpaired}},
            {"blocks inside a paragraph", {blockInParagraph, before.blockInParagraph}},
            {"links inside a link", {linkInLink, before.linkInLink}},
            {"paragraphs or noscript content in the head", {bodyMarkupInHead, before.bodyMarkupInHead}},
            {"ids used more than once", {repeatedIds, before.repeatedIds}}};
        for (const auto& [what, count] : counts) {
            if (count.first > count.second)
                return std::string(what) + ": " + std::to_string(count.first) + ", the page had " +
                       std::to_string(count.second);
        }
        return {};
    }
};

// What a browser keeps in the head.
bool IsHeadContent(const std::string& name)
{
    static const std::set<std::string> names = {"html", "head", "title", "meta", "link", "style", "script",
                                                "noscript", "base", "basefont", "bgsound", "template", "noframes"};
    return names.contains(name);
}

MarkupFaults FaultsOf(const CHtmlDocument& document)
{
    MarkupFaults faults;
    const std::vector<CElement*>& list = document.Elements();
    std::map<std::string, int> ids;
    bool inHead = true;
    // Outside a head the page opens and closes with its tags, a browser ends
    // the head at the first content the head cannot hold.
    bool headOpen = false;
    const bool headClosed = std::any_of(list.begin(), list.end(), [](const CElement* e) {
        return !e->IsDeleted() && IsEndTag(*e) && NameOf(*e) == "head";
    });
    for (std::size_t i = 0; i < list.size(); ++i) {
        const CElement& element = *list[i];
        if (!headOpen && inHead && !element.IsDeleted() && element.Kind() == kind::kText && !IsBlankText(element))
            inHead = false;
        if (element.IsDeleted() || !IsTag(element))
            continue;
        const std::string name = NameOf(element);
        if (!name.empty() && name == "head")
            headOpen = inHead && !IsEndTag(element) && headClosed;
        if (!headOpen && !IsEndTag(element) && !name.empty() && name.front() != '!' && !IsHeadContent(name))
            inHead = false;
        // A declaration (<!DOCTYPE ...>) is no tag with a partner.
        if (name.empty() || name.front() == '!')
            continue;
        if (IsEndTag(element)) {
            if (!element.Partner()) {
                faults.unpaired += 1;
                ++faults.unpairedNames["/" + name];
            }
            inHead = inHead && name != "head";
            continue;
        }
        if (!element.Partner() && !EndIsOptional(name)) {
            faults.unpaired += 1;
            ++faults.unpairedNames[name];
        }
        if (name == "body" || name == "frameset")
            inHead = false;
        if (const CAttribute* id = element.FindAttribute(attr::kId); id && !id->Value().empty())
            faults.repeatedIds += ids[std::string(id->Value())]++ > 0;
        const CElement* partner = element.Partner();
        if (!partner || partner == &element)
            continue;
        const std::size_t end = document.IndexOf(*partner);
        if (end <= i)
            continue;
        if (name == "p" || name == "a" || (inHead && name == "noscript")) {
            for (std::size_t j = i + 1; j < end; ++j) {
                const CElement& inner = *list[j];
                if (inner.IsDeleted())
                    continue;
                const std::string innerName = NameOf(inner);
                // The first block closes the paragraph in a browser: what
                // follows it is no longer in the paragraph.
                if (name == "p" && !IsEndTag(inner) && IsBlock(innerName)) {
                    faults.blockInParagraph += 1;
                    break;
                }
                if (name == "p")
                    continue;
                if (name == "a")
                    faults.linkInLink += !IsEndTag(inner) && innerName == "a";
                else if (!IsBlankText(inner) && innerName != "link" && innerName != "style" && innerName != "meta") {
                    faults.bodyMarkupInHead += 1;
                    break;
                }
            }
        }
        if (inHead && name == "p")
            faults.bodyMarkupInHead += 1;
    }
    return faults;
}

std::vector<CElementTable*> TablesOf(const CHtmlDocument& document)
{
    std::vector<CElementTable*> tables;
    for (CElement* e : document.Elements()) {
        if (auto* table = e->Kind() == tag::kTable && !e->IsDeleted() ? dynamic_cast<CElementTable*>(e) : nullptr)
            tables.push_back(table);
    }
    return tables;
}

// Tables nobody classified taken as the type, as the command line's --tables
// takes them; or, in page order, as the types a run left them (a layout
// table found to hold data is one from then on, which the registry keeps of
// a table it knows, and nothing keeps of one only taken as a type).
void AssumeTables(CHtmlDocument& document, CSrcObjectDatabase& registry, int type,
                  const std::vector<int>& typesLeft = {})
{
    if (type == table_type::kUnknown)
        return;
    document.SetObjectRegistry(&registry);
    std::size_t n = 0;
    for (CElementTable* table : TablesOf(document)) {
        CTableRecord& record = table->TableRecord();
        record.Build(document, *table);
        const int left = n < typesLeft.size() ? typesLeft[n] : table_type::kUnknown;
        ++n;
        if (record.Type() == table_type::kUnknown)
            record.AssumeType(left != table_type::kUnknown ? left : type);
    }
}

// Checks that ask a person to judge what the page says (general warnings,
// the texts of its links): content a repair adds, a link or a style, asks
// for the judgement again, and a judgement made is settled, not markup
// repaired. What the harness holds them to is the markup, not these.
bool AsksForJudgement(const CElement& element, std::uint32_t bit)
{
    return element.GetWarningTextId(bit) > 0 || element.GetCheckName(bit) == "TextLinks";
}

std::map<std::string, int> ProblemsByCheck(const std::vector<CFoundProblem>& problems)
{
    std::map<std::string, int> counts;
    for (const CFoundProblem& problem : problems) {
        if (!AsksForJudgement(*problem.element, problem.bit))
            ++counts[problem.element->GetCheckName(problem.bit)];
    }
    return counts;
}

// An element of the page as it was taken in: where it stood and what it read.
struct Original {
    std::uint64_t offset;
    std::string text;
};

// Pages of problems of the whole page (their element is html or body) that
// name elements all through it: the paragraphs, headings and outdated
// markup they list.
bool NamesElementsThroughout(const CPageValidatorBase& page)
{
    static const std::set<std::string_view> classes = {"CPageQuoteMaybe", "CPageHeadingsMaybe", "CPageHeadings",
                                                       "CPageDeprecatedHtml"};
    return classes.contains(page.ClassName());
}

// Where in the original the repairs may change bytes: each page's element,
// from its start tag to its end tag; of the html and body elements, which
// carry the problems of the whole page, only their own tags.
std::vector<std::pair<std::uint64_t, std::uint64_t>>
NamedRegions(const CValidatorSheet& sheet, const std::unordered_map<const CElement*, Original>& originals)
{
    std::vector<std::pair<std::uint64_t, std::uint64_t>> regions;
    auto tag = [&](const CElement* element) {
        if (auto found = originals.find(element); found != originals.end())
            regions.emplace_back(found->second.offset, found->second.offset + found->second.text.size());
    };
    for (int i = 0; i < sheet.PageCount(); ++i) {
        const CPageValidatorBase& page = sheet.Page(i);
        const CElement* element = page.Element();
        auto found = element ? originals.find(element) : originals.end();
        // The link texts page lists every link of the page, the device
        // page every tag with a mouse handler, the headings page every
        // heading, whose levels it sets: they name those tags.
        const bool links = page.ClassName() == "CPageAnchorTextlink";
        const bool handlers = page.ClassName() == "CPageDeviceDependent";
        const bool headings = page.ClassName() == "CPageHeadings";
        if (links || handlers || headings) {
            for (const auto& [named, was] : originals) {
                const std::string text = Lower(was.text);
                if ((links && named->Kind() == tag::kA) ||
                    (headings && (named->IsHeadingStart() || named->IsHeadingEnd())) ||
                    (handlers && IsTag(*named) && (text.find("onmouse") != std::string::npos ||
                                                   text.find("onclick") != std::string::npos)))
                    regions.emplace_back(was.offset, was.offset + was.text.size());
            }
        }
        // The document type page names the declaration too late to count, which it takes out.
        if (const auto* doctype = dynamic_cast<const CPageDoctypeBad*>(&page))
            tag(doctype->Misplaced());
        // The label pages name the text they wrap or the label they move too.
        if (const auto* missing = dynamic_cast<const CPageLabelMissing*>(&page))
            tag(missing->NearText());
        if (const auto* far = dynamic_cast<const CPageLabelFarAway*>(&page);
            far && far->LabelStart() && far->LabelEnd()) {
            auto start = originals.find(far->LabelStart());
            auto end = originals.find(far->LabelEnd());
            if (start != originals.end() && end != originals.end())
                regions.emplace_back(start->second.offset, end->second.offset + end->second.text.size());
        }
        if (found == originals.end())
            continue;
        auto partner = originals.find(element->Partner());
        const bool wide = element->Kind() == tag::kHtml || element->Kind() == tag::kBody;
        if (wide && !NamesElementsThroughout(page)) {
            tag(element);
            tag(element->Partner());
            continue;
        }
        // They list what they name wherever it stands, before the html
        // element's start tag too.
        if (wide) {
            regions.emplace_back(0, std::numeric_limits<std::uint64_t>::max());
            continue;
        }
        std::uint64_t end = found->second.offset + found->second.text.size();
        if (partner != originals.end() && partner->second.offset > found->second.offset)
            end = partner->second.offset + partner->second.text.size();
        // A table without its end tag has its cells up to the end of the page.
        else if (element->Kind() == tag::kTable)
            end = std::numeric_limits<std::uint64_t>::max();
        regions.emplace_back(found->second.offset, end);
    }
    return regions;
}

std::string Excerpt(std::string_view text)
{
    return std::string(text.substr(0, 120)) + (text.size() > 120 ? "..." : "");
}

// Assertion 1: the elements the page took in stand in their order, back to
// back as they were read, and each outside the named regions writes what it read.
std::string CheckNothingElseChanged(const CHtmlDocument& document, const CValidatorSheet& sheet,
                                    const std::unordered_map<const CElement*, Original>& originals,
                                    std::size_t originalSize)
{
    const auto regions = NamedRegions(sheet, originals);
    std::uint64_t cursor = 0;
    std::size_t seen = 0;
    for (const CElement* element : document.Elements()) {
        auto found = originals.find(element);
        if (found == originals.end())
            continue;
        const Original& was = found->second;
        if (was.offset != cursor)
            return "the element read at byte " + std::to_string(was.offset) + " now follows the one ending at " +
                   std::to_string(cursor);
        cursor += was.text.size();
        ++seen;
        const bool changed = element->IsDeleted() || element->MarkupText() != was.text;
        if (!changed)
            continue;
        const bool named = std::any_of(regions.begin(), regions.end(), [&](const auto& region) {
            return was.offset >= region.first && was.offset + was.text.size() <= region.second;
        });
        if (!named)
            return "the element at byte " + std::to_string(was.offset) + " changed outside every repaired element: \"" +
                   Excerpt(was.text) + "\" became \"" + (element->IsDeleted() ? "" : Excerpt(element->MarkupText())) +
                   "\"";
    }
    if (seen != originals.size() || cursor != originalSize)
        return "elements of the page were lost: " + std::to_string(originals.size() - seen) + " of " +
               std::to_string(originals.size());
    return {};
}

// The sheet's Skip button reads Undo on a page whose element is repaired,
// in whole or in part.
bool UndoOffered(const CPageValidatorBase& page)
{
    const CElement* element = page.Element();
    return element && (element->IsRepaired(page.CheckBit(), 1) || element->IsPartlyRepaired(page.CheckBit()));
}

// The controls of the template of a kind the user can reach now, in the template's order.
std::vector<int> Reachable(CMemoryWindow& page, std::initializer_list<platform::ControlKind> kinds)
{
    std::vector<int> ids;
    for (const auto& [id, info] : page.Template().controls) {
        if (std::find(kinds.begin(), kinds.end(), info.kind) != kinds.end() && page.IsVisible(id) &&
            page.IsEnabled(id))
            ids.push_back(id);
    }
    return ids;
}

// The first field of the page a user can write words into now and that is
// still empty (a page's proposal is the user's to keep): a line or a text
// box, or a combo box that takes typing. 0 for none.
int FirstEmptyFieldForWords(CMemoryWindow& page)
{
    for (int id : Reachable(page, {platform::ControlKind::Edit, platform::ControlKind::TextBox,
                                   platform::ControlKind::Combo})) {
        const bool takesWords = page.KindOf(id) != platform::ControlKind::Combo || page.IsComboEditable(id);
        if (takesWords && page.Text(id).empty())
            return id;
    }
    return 0;
}

std::size_t Occurrences(std::string_view text, std::string_view part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

// A page not written in UTF-8 takes the words typed in its own encoding, or
// as character references: none of their characters beyond ASCII may stand
// in it as UTF-8 bytes more often than the page had them.
std::string TypedAsUtf8(std::string_view typed, std::string_view original, std::string_view written,
                        const PageEncoding& encoding)
{
    if (encoding.WritesAsUtf8())
        return {};
    for (std::size_t i = 0; i < typed.size();) {
        const auto lead = static_cast<unsigned char>(typed[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        const std::string_view character = typed.substr(i, length);
        if (length > 1 && Occurrences(written, character) > Occurrences(original, character))
            return "\"" + std::string(character) + "\" of the words typed is written as UTF-8 into a page written as " +
                   encoding.writeName;
        i += length;
    }
    return {};
}

} // namespace

RepairWalk WalkRepairs(std::string_view page, const std::string& path, COrvaneSettings& settings,
                       const WalkAnswers& answers)
{
    RepairWalk walk;
    const std::string folder = std::filesystem::path(path).parent_path().string();
    // Loaded from a file that knows nothing, as a session's registry is once
    // it has been written (a registry never loaded finds nothing): it learns
    // only what this walk decides, and finds it when the page is checked again.
    const std::string registryFile = (std::filesystem::path(folder) / "WalkRegistry.xml").string();
    std::ofstream(registryFile, std::ios::binary) << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<root>\n</root>";
    CSrcObjectDatabase registry(registryFile);
    registry.Load();
    CHtmlDocument document(CFamilyElementFactory::Instance());
    // A page refused as it is taken in (an empty one) has nothing to repair.
    if (!TakeIn(document, path, page))
        return walk;
    std::unordered_map<const CElement*, Original> originals;
    for (const CElement* element : document.Elements()) {
        // The document's own element stands for the page as a whole, at no place of it.
        if (const std::uint64_t offset = document.SourceOffsetOf(*element); offset != CElement::kNoSource)
            originals.emplace(element, Original{offset, element->GetText()});
    }
    MarkupFaults faultsBefore;
    {
        CHtmlDocument fresh(CFamilyElementFactory::Instance());
        TakeIn(fresh, path, page);
        faultsBefore = FaultsOf(fresh);
    }

    AssumeTables(document, registry, answers.tables);
    CProblemList list;
    list.Prepare(document, settings, &registry);
    list.Group(settings);
    std::map<std::string, int> before;
    std::vector<CProblemEntry*> work;
    for (const auto& entry : list.AllEntries()) {
        if (!entry->Rule() && !AsksForJudgement(entry->Element(), entry->Bit()))
            ++before[entry->Element().GetCheckName(entry->Bit())];
    }
    // At a WCAG 2.2 target: the rules' findings.
    std::map<std::string, int> findingsBefore;
    for (const auto& entry : list.AllEntries()) {
        if (entry->Rule() && !entry->IsJudgement())
            ++findingsBefore[std::string(entry->Rule()->id)];
    }
    for (CProblemEntry* head : list.AtLevelGroup()) {
        work.push_back(head);
        for (CProblemEntry* member : head->Grouped()) {
            if (!member->IsRepaired())
                work.push_back(member);
        }
    }
    OrderRepairWork(work);

    CMemoryWindows windows;
    CValidatorSheet sheet;
    sheet.SetObjectRegistry(&registry);
    sheet.SetSettings(&settings);
    sheet.SetDocumentPath(path);
    sheet.SetSkipAdvances(true);
    sheet.SetTrailingPage(false);
    for (CProblemEntry* entry : work)
        AddRepairPagesOf(sheet, document, *entry);
    walk.pages = sheet.PageCount();

    // The page as it was when each page of the wizard was first shown, before
    // it was answered: undoing the pages last first must give each back.
    std::map<int, std::string> beforeAnswer;
    if (sheet.PageCount() > 0) {
        windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
            std::set<int> answered, typed;
            const int limit = 4 * sheet.PageCount() + 8;
            for (int step = 0; step < limit && !w.HasEnded(); ++step) {
                const int active = sheet.ActiveIndex();
                CMemoryWindow& shown = w.PageWindow(w.CurrentPage());
                if (answered.insert(active).second) {
                    if (answers.assertions & 8u)
                        beforeAnswer.emplace(active, document.Text());
                    const std::vector<int> radios = Reachable(shown, {platform::ControlKind::Radio});
                    walk.mostRadios = std::max(walk.mostRadios, static_cast<int>(radios.size()));
                    if (answers.radio > 0 && answers.radio <= static_cast<int>(radios.size()))
                        shown.Click(radios[answers.radio - 1]);
                    if (w.IsVisible(CValidatorSheet::kOptionBox) && w.IsEnabled(CValidatorSheet::kOptionBox)) {
                        walk.offeredMerge = true;
                        if (answers.unmerge && w.IsChecked(CValidatorSheet::kOptionBox))
                            w.Click(CValidatorSheet::kOptionBox);
                    }
                    // After the radio button: it decides which fields are open.
                    if (const int field = answers.typed.empty() ? 0 : FirstEmptyFieldForWords(shown))
                        shown.Type(field, answers.typed);
                }
                const bool last = w.IsVisible(platform::kIdFinish) && w.IsEnabled(platform::kIdFinish);
                w.Click(last ? platform::kIdFinish : platform::kIdNext);
                if (w.HasEnded() || sheet.ActiveIndex() != active)
                    continue;
                // The page wants something typed first: a user types a text
                // into its first empty text box (else its first empty
                // field), and skips the page if that will not do.
                if (typed.insert(active).second) {
                    for (platform::ControlKind kind : {platform::ControlKind::TextBox, platform::ControlKind::Edit}) {
                        const std::vector<int> empty = Reachable(shown, {kind});
                        auto first = std::find_if(empty.begin(), empty.end(),
                                                  [&](int id) { return shown.Text(id).empty(); });
                        if (first != empty.end()) {
                            shown.Type(*first, answers.typed.empty() ? kTypedText : answers.typed);
                            break;
                        }
                    }
                    continue;
                }
                walk.refused += 1;
                if (!w.IsEnabled(CValidatorSheet::kSkipUndoButton))
                    break;
                if (UndoOffered(*sheet.ActivePage()))
                    w.Click(CValidatorSheet::kSkipUndoButton);
                w.Click(CValidatorSheet::kSkipUndoButton);
            }
            if (!w.HasEnded()) {
                walk.failure = "the wizard could not be walked to its end (page " +
                               std::to_string(sheet.ActiveIndex()) + ", " +
                               std::string(sheet.ActivePage() ? sheet.ActivePage()->ClassName() : "") + ")";
                w.PressEscape();
            }
        });
        sheet.DoModal(nullptr);
        if (!walk.failure.empty())
            return walk;
    }
    // A problem the user settled by a judgement that leaves the markup as it
    // was is no repaired markup: the check of the page written asks again.
    std::set<std::pair<const CElement*, std::uint32_t>> judged;
    for (int i = 0; i < sheet.PageCount(); ++i) {
        const CPageValidatorBase& shown = sheet.Page(i);
        if (shown.Element() && !shown.IsSkipped() && shown.WasActivated() && shown.AnswerIsJudgement())
            judged.emplace(shown.Element(), shown.CheckBit());
    }
    for (const auto& entry : list.AllEntries()) {
        if (entry->Rule())
            continue;
        if (entry->Element().IsRepaired(entry->Bit(), 0) && !AsksForJudgement(entry->Element(), entry->Bit()) &&
            !judged.contains({&entry->Element(), entry->Bit()}))
            walk.repaired.push_back(entry->Element().GetCheckName(entry->Bit()));
    }

    // The rules' findings whose page repaired the check's problem it opened for.
    std::map<std::string, int> findingsMended;
    for (const auto& entry : list.AllEntries()) {
        const CElement* repaired = entry->Rule() && !entry->IsJudgement() ? entry->RepairElement() : nullptr;
        if (repaired && repaired->IsRepaired(entry->RepairBit(), 0) && !judged.contains({repaired, entry->RepairBit()}))
            ++findingsMended[std::string(entry->Rule()->id)];
    }

    walk.written = document.Text();
    const std::string& written = walk.written;
    if (answers.assertions & 1u) {
        if (std::string failure = CheckNothingElseChanged(document, sheet, originals, page.size()); !failure.empty()) {
            walk.failure = "1. nothing else changes: " + failure;
            return walk;
        }
        if (std::string failure = TypedAsUtf8(answers.typed, page, written, document.Encoding()); !failure.empty()) {
            walk.failure = "1. nothing else changes: " + failure;
            return walk;
        }
    }
    if (answers.assertions & 6u) {
        CHtmlDocument again(CFamilyElementFactory::Instance());
        const bool takenIn = TakeIn(again, path, written);
        // Removing the only tags a page had (it was one blinking text, say)
        // leaves a text no checker takes for a page: nothing is left to
        // judge again, and assertion 1 held that nothing else changed.
        const bool noTagLeft = !takenIn && std::none_of(again.Elements().begin(), again.Elements().end(),
                                                        [](const CElement* e) { return e->Kind() >= 0; });
        if (!takenIn && !noTagLeft) {
            walk.failure = "the written page could not be taken in";
            return walk;
        }
        if (takenIn && (answers.assertions & 2u)) {
            if (std::string failure = FaultsOf(again).FirstWorseThan(faultsBefore); !failure.empty()) {
                walk.failure = "2. markup stays well-formed: " + failure;
                return walk;
            }
        }
        if (takenIn && (answers.assertions & 4u)) {
            // What a later session knows: the decisions the run wrote into the registry.
            registry.UpdateFromDocument(document);
            std::vector<int> typesLeft;
            for (CElementTable* table : TablesOf(document))
                typesLeft.push_back(table->TableRecord().Type());
            AssumeTables(again, registry, answers.tables, typesLeft);
            std::map<std::string, int> expected = before;
            // A table the run made a data table gets the checks of data
            // tables, which the original asked of it as one too.
            if (std::any_of(typesLeft.begin(), typesLeft.end(), [&](int t) { return t != answers.tables; })) {
                CHtmlDocument asLeft(CFamilyElementFactory::Instance());
                TakeIn(asLeft, path, page);
                CSrcObjectDatabase none((std::filesystem::path(folder) / "WalkTypesLeft.xml").string());
                AssumeTables(asLeft, none, answers.tables, typesLeft);
                for (const auto& [check, count] : ProblemsByCheck(RunCheckPass(asLeft, settings, &none)))
                    expected[check] = std::max(expected[check], count);
            }
            for (const std::string& check : walk.repaired)
                expected[check] -= 1;
            // The rules judge the page written: a finding whose page repaired
            // it is gone, and no rule finds more than it did.
            const int target = settings.GetConformanceLevel();
            if (level::IsWcag22(target)) {
                const rules::Wcag22Target rulesTarget = target == level::kWcag22A    ? rules::Wcag22Target::kA
                                                        : target == level::kWcag22AA ? rules::Wcag22Target::kAA
                                                                                     : rules::Wcag22Target::kAAA;
                std::map<std::string, int> findingsAfter;
                for (const rules::RuleFinding& finding : rules::CheckWcag22(again, rulesTarget))
                    findingsAfter[std::string(finding.rule->id)] += finding.cannotTell ? 0 : 1;
                for (const auto& [rule, count] : findingsAfter) {
                    const int mended = findingsMended[rule];
                    if (count > findingsBefore[rule] - mended && walk.stillReported.empty()) {
                        walk.stillReportedCheck = rule;
                        walk.stillReported = "3. the problem is gone: rule " + rule + " finds " +
                                             std::to_string(count) + " times, the page had " +
                                             std::to_string(findingsBefore[rule]) + " of which " +
                                             std::to_string(mended) + " were repaired";
                    }
                }
            }
            for (const auto& [check, count] : ProblemsByCheck(RunCheckPass(again, settings, &registry))) {
                if (count > std::max(expected[check], 0) && walk.stillReported.empty()) {
                    walk.stillReportedCheck = check;
                    walk.stillReported = "3. the problem is gone: " + check + " is reported " +
                                         std::to_string(count) + " times, the page had " +
                                         std::to_string(before[check]) + " of which " +
                                         std::to_string(before[check] - expected[check]) + " were marked repaired";
                }
            }
        }
    }
    if ((answers.assertions & 8u) && sheet.PageCount() > 0) {
        windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
            for (int i = sheet.PageCount() - 1; i >= 0; --i) {
                if (sheet.Page(i).IsSkipped() || !sheet.Page(i).WasActivated())
                    continue;
                sheet.SetActivePage(i);
                if (!UndoOffered(sheet.Page(i)))
                    continue;
                w.Click(CValidatorSheet::kSkipUndoButton);
                // Each undo gives back the page as it was before its page was
                // answered, not only all of them together: an attribute given
                // back while another page's change still rebuilds its tag
                // must read as it did.
                auto before = beforeAnswer.find(i);
                if (before == beforeAnswer.end() || !walk.failure.empty())
                    continue;
                if (const std::string now = document.Text(); now != before->second) {
                    std::size_t at = 0;
                    while (at < now.size() && at < before->second.size() && now[at] == before->second[at])
                        ++at;
                    walk.failure = "4. undo is exact: undoing page " + std::to_string(i) + " (" +
                                   std::string(sheet.Page(i).ClassName()) +
                                   ") does not give back the page as it was before it, at byte " +
                                   std::to_string(at) + ": \"" + Excerpt(std::string_view(now).substr(at)) +
                                   "\" for \"" + Excerpt(std::string_view(before->second).substr(at)) + "\"";
                }
            }
            w.PressEscape();
        });
        sheet.DoModal(nullptr);
        if (walk.failure.empty() && document.Text() != page) {
            const std::string undone = document.Text();
            std::size_t at = 0;
            while (at < undone.size() && at < page.size() && undone[at] == page[at])
                ++at;
            walk.failure = "4. undo is exact: the page undone differs from the original at byte " + std::to_string(at) +
                           ": \"" + Excerpt(std::string_view(undone).substr(at)) + "\" for \"" +
                           Excerpt(page.substr(at)) + "\"";
        }
    }
    return walk;
}

} // namespace orvane::test
