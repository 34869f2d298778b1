#include "label_repair.h"

#include "check_info.h"
#include "label_finder.h"
#include "repair_pages.h"
#include "library/html/attribute.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"

#include <algorithm>
#include <unordered_set>

namespace orvane {

namespace {

constexpr std::size_t kShownTextLength = 30;

bool IsCellStart(int kind) { return kind == tag::kTd || kind == tag::kTh; }
bool IsCellEnd(int kind) { return kind == tag::kTd + kind::kEndOffset || kind == tag::kTh + kind::kEndOffset; }
bool IsBlankText(const CElement& e) { return e.Kind() == kind::kText && Trim(e.Text()).empty(); }

// Tags a caption in a cell does not pass: the cell's or row's bounds, a
// label (the text is someone's label already) and other controls.
bool EndsCellCaption(int kind)
{
    static const int kRow = TagIdOfToken("<tr>");
    static const int kButton = TagIdOfToken("<button>");
    const int tagId = kind >= kind::kEndOffset ? kind - kind::kEndOffset : kind;
    return IsCellStart(tagId) || tagId == kRow || tagId == tag::kTable || tagId == tag::kLabel ||
           tagId == tag::kInput || tagId == tag::kSelect || tagId == tag::kTextarea || tagId == kButton;
}

// The caption in the neighbouring table cell: the control must be alone in
// its cell (inline markup aside), and the cell beside hold a text.
CElement* NeighbourCellText(const CHtmlDocument& document, std::size_t controlIndex, bool forward)
{
    const auto& elements = document.Elements();
    auto step = [&](std::size_t& i) {
        if (forward ? i + 1 >= elements.size() : i == 0)
            return false;
        i = forward ? i + 1 : i - 1;
        return true;
    };
    std::size_t i = controlIndex;
    // Out of the control's own cell.
    if (forward && elements[i]->Partner() && document.Find(elements[i]->Partner()))
        i = document.IndexOf(*elements[i]->Partner());
    bool leftCell = false;
    while (!leftCell && step(i)) {
        CElement& e = *elements[i];
        if (e.IsDeleted() || IsBlankText(e))
            continue;
        if (forward ? IsCellEnd(e.Kind()) : IsCellStart(e.Kind()))
            leftCell = true;
        else if (e.Kind() == kind::kText || EndsCellCaption(e.Kind()))
            return nullptr;
    }
    if (!leftCell)
        return nullptr;
    // Into the neighbouring cell, whose end tag may be left out.
    bool inCell = false;
    while (!inCell && step(i)) {
        CElement& e = *elements[i];
        if (e.IsDeleted() || IsBlankText(e))
            continue;
        if (e.Kind() == kind::kText)
            return &e;
        if (forward ? IsCellStart(e.Kind()) : IsCellEnd(e.Kind()))
            inCell = true;
        else
            return nullptr;
    }
    while (inCell && step(i)) {
        CElement& e = *elements[i];
        if (e.IsDeleted() || IsBlankText(e))
            continue;
        if (e.Kind() == kind::kText)
            return &e;
        if (EndsCellCaption(e.Kind()))
            return nullptr;
    }
    return nullptr;
}

ElementPtr DeletedElement()
{
    ElementPtr made(new CElement);
    made->SetDeleted(true);
    made->SetModified(true);
    return made;
}

std::string Shortened(std::string_view text)
{
    std::string line = std::string(Trim(text));
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::replace(line.begin(), line.end(), '\r', ' ');
    if (line.size() <= kShownTextLength)
        return line;
    std::size_t cut = kShownTextLength;
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
        --cut;  // not inside a UTF-8 sequence
    return line.substr(0, cut) + "...";
}

} // namespace

bool LabelReadAfter(const CElement& control)
{
    if (control.Kind() != tag::kInput)
        return false;
    const CAttribute* type = control.FindAttribute(attr::kType);
    return type && (EqualsIgnoreCase(type->Value(), "radio") || EqualsIgnoreCase(type->Value(), "checkbox"));
}

CElement* TextNextToControl(const CElement& control, const CHtmlDocument& document)
{
    if (!document.Find(&control))
        return nullptr;
    const CLabelRecord record = FindLabel(control, document);
    if (record.hasLabel)
        return nullptr;
    const CElement* chosen = record.textBeforeChosen  ? record.textBeforeElement
                             : record.textAfterChosen ? record.textAfterElement
                                                      : nullptr;
    if (chosen)
        return document.At(document.IndexOf(*chosen));
    return NeighbourCellText(document, document.IndexOf(control), LabelReadAfter(control));
}

bool PrepareLabelRepair(CCatalogueElement& control, RepairPageRequest& request, CLabelRepairElements& kept,
                        CAttribute* id, CAttribute* title)
{
    if (!id)
        return false;
    request.attribute = id;
    request.secondAttribute = title;
    if (!kept.beside) {
        ElementPtr beside = DeletedElement();
        CElement* made = beside.get();
        const int placed = LabelReadAfter(control) ? request.document.InsertAfter(&control, std::move(beside))
                                                   : request.document.InsertBefore(&control, std::move(beside));
        if (!placed)
            return false;
        kept.beside = made;
    }
    request.insertedElement = kept.beside;
    if (title && !kept.wrapped) {
        if (CElement* text = TextNextToControl(control, request.document)) {
            ElementPtr wrapped = DeletedElement();
            CElement* made = wrapped.get();
            if (request.document.InsertAfter(text, std::move(wrapped))) {
                kept.nearText = text;
                kept.wrapped = made;
            }
        }
    }
    request.labelText = kept.nearText;
    request.wrappedLabelText = kept.wrapped;
    return true;
}

std::string UniqueControlId(const CElement& control, const CHtmlDocument& document)
{
    std::string base;
    const CAttribute* name = control.FindAttribute(attr::kName);
    for (char c : name && !name->IsHidden() ? Trim(name->Value()) : std::string_view()) {
        const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                          c == '_' || c == '.' || c == ':';
        if (kept)
            base += c;
        else if (!base.empty() && base.back() != '-')
            base += '-';
    }
    while (!base.empty() && base.back() == '-')
        base.pop_back();
    if (base.empty() || !((base[0] >= 'a' && base[0] <= 'z') || (base[0] >= 'A' && base[0] <= 'Z')))
        base = ToLower(TagName(control.Kind())) + (base.empty() ? "" : "-" + base);

    // Ids are told apart without regard to case by the label finder; anchor
    // names share the ids' space; a label naming an id that nothing has yet
    // would silently become this control's label.
    std::unordered_set<std::string> taken;
    auto take = [&](const CElement& e, int id) {
        const CAttribute* a = e.FindAttribute(id);
        if (a && !a->IsHidden() && !a->IsEmpty())
            taken.insert(ToLower(Trim(a->Value())));
    };
    for (const CElement* e : document.Elements()) {
        if (e->IsDeleted() || e->Kind() < 0 || e->Kind() >= kind::kEndOffset)
            continue;
        take(*e, attr::kId);
        if (e->Kind() == tag::kLabel)
            take(*e, attr::kFor);
        else if (e->Kind() == tag::kA)
            take(*e, attr::kName);
    }
    std::string id = base;
    for (int n = 2; taken.count(ToLower(id)); ++n)
        id = base + "-" + std::to_string(n);
    return id;
}

std::vector<std::string> LabelSeparators(const CHtmlDocument& document, const CElement& label,
                                         const CElement& control, std::size_t max)
{
    std::vector<std::string> found;
    if (!document.Find(&label) || !document.Find(&control))
        return found;
    const std::size_t labelAt = document.IndexOf(label);
    const std::size_t controlAt = document.IndexOf(control);
    const CElement* end = label.Partner();
    const bool hasEnd = end && document.Find(end) && document.IndexOf(*end) > labelAt;
    const std::size_t from = labelAt < controlAt ? (hasEnd ? document.IndexOf(*end) + 1 : labelAt + 1) : controlAt + 1;
    const std::size_t to = labelAt < controlAt ? controlAt : labelAt;
    for (std::size_t i = from; i < to && found.size() < max; ++i) {
        const CElement& e = *document.At(i);
        if (e.IsDeleted() || !PartsLabelFromControl(e))
            continue;
        if (e.Kind() == kind::kText)
            found.push_back("\"" + Shortened(e.Text()) + "\"");
        else
            found.push_back("<" + ToLower(TagName(e.Kind())) + ">");
    }
    return found;
}

} // namespace orvane
