#include "label_finder.h"

#include "check_index.h"
#include "kind_positions.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"

#include <algorithm>

namespace orvane {

namespace {

// Tags that part a label from its control.
constexpr int kSeparatorTags[] = {64 /* p */, 30 /* form */, 40 /* hr */, tag::kInput, tag::kSelect, tag::kTextarea,
                                  14 /* button */};
// Inline markup that does not end the text next to a control, start or end tag.
constexpr int kTransparentTags[] = {76 /* strong */, 26 /* em */, tag::kList, 42 /* i */, tag::kBlink,
                                    74 /* span */, 13 /* br */};

constexpr std::string_view kLabelledInputTypes[] = {"text", "password", "checkbox", "file", "radio"};

bool IsTransparent(int kind)
{
    int tagId = kind >= kind::kEndOffset ? kind - kind::kEndOffset : kind;
    return tagId >= 0 && std::find(std::begin(kTransparentTags), std::end(kTransparentTags), tagId) !=
                             std::end(kTransparentTags);
}

bool LabelExpectedAfter(const CElement& control)
{
    if (control.Kind() != tag::kInput)
        return false;
    const CAttribute* type = control.FindAttribute(attr::kType);
    return type && (EqualsIgnoreCase(type->Value(), "radio") || EqualsIgnoreCase(type->Value(), "checkbox"));
}

// A text as a label shows it: trimmed, on one line. A carriage return that
// belongs to a line break goes with it.
std::string OneLine(std::string_view text)
{
    std::string line;
    AppendWithoutBreakReturns(line, Trim(text));
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line;
}

// The nearest text beside the control that is not blank, looking past inline
// markup only; null when another tag comes first.
const CElement* AdjacentText(const CHtmlDocument& document, std::size_t controlIndex, bool forward)
{
    const auto& elements = document.Elements();
    std::size_t i = controlIndex;
    while (forward ? i + 1 < elements.size() : i > 0) {
        i = forward ? i + 1 : i - 1;
        const CElement* e = elements[i];
        if (e->IsDeleted())
            continue;
        if (e->Kind() == kind::kText) {
            if (!TrimRight(e->Text()).empty())
                return e;
            continue;
        }
        if (!IsTransparent(e->Kind()))
            return nullptr;
    }
    return nullptr;
}

void ChooseAdjacentText(CLabelRecord& record)
{
    record.textBefore = OneLine(record.textBefore);
    record.labelTextOrTextAfter = OneLine(record.labelTextOrTextAfter);
    const bool before = !record.textBefore.empty();
    const bool after = !record.labelTextOrTextAfter.empty();
    if (before && after) {
        record.textBeforeChosen = record.labelExpectedBefore;
        record.textAfterChosen = !record.labelExpectedBefore;
    } else {
        record.textBeforeChosen = before;
        record.textAfterChosen = after;
    }
}

} // namespace

CLabelIndex::CLabelIndex(const CHtmlDocument& document)
    : m_document(document), m_kinds(PageIndex<CKindPositions>(document))
{
    for (std::uint32_t position : m_kinds->Of(tag::kLabel)) {
        const CElement* e = document.At(position);
        if (e->IsDeleted())
            continue;
        const CAttribute* target = e->FindAttribute(attr::kFor);
        if (target && !target->IsEmpty())
            m_labels.try_emplace(ToLower(target->Value()), e);
    }
}

CLabelIndex::~CLabelIndex() = default;

const CElement* CLabelIndex::LabelFor(std::string_view id) const
{
    if (id.empty())
        return nullptr;
    auto it = m_labels.find(ToLower(id));
    return it == m_labels.end() ? nullptr : it->second;
}

bool CLabelIndex::SeparatorBetween(std::size_t from, std::size_t to) const
{
    // Every control that is asked about is itself a separator tag, so the
    // stretches asked about hold no other control and barely overlap: looking
    // through their texts keeps the label checks linear in the page.
    auto any = [&](int kind, auto isSeparator) {
        const std::span<const std::uint32_t> positions = m_kinds->Of(kind);
        for (auto it = std::lower_bound(positions.begin(), positions.end(), from); it != positions.end() && *it < to;
             ++it) {
            const CElement* e = m_document.At(*it);
            if (!e->IsDeleted() && isSeparator(*e))
                return true;
        }
        return false;
    };
    if (from >= to)
        return false;
    const bool tag = std::any_of(std::begin(kSeparatorTags), std::end(kSeparatorTags),
                                 [&](int kind) { return any(kind, [](const CElement&) { return true; }); });
    return tag || any(kind::kText, [](const CElement& text) { return !Trim(text.Text()).empty(); });
}

const std::string& CLabelIndex::LabelText(const CHtmlDocument& document, const CElement& label) const
{
    // Controls that share an id share their label: its text is gathered once.
    auto [it, added] = m_labelTexts.try_emplace(&label);
    if (!added)
        return it->second;
    const CElement* end = label.Partner();
    if (!end || !document.Find(&label) || !document.Find(end))
        return it->second;
    std::string text;
    for (std::size_t i = document.IndexOf(label) + 1; i < document.IndexOf(*end); ++i) {
        const CElement* e = document.At(i);
        if (e->Kind() == kind::kText && !e->IsDeleted())
            text.append(e->Text());
    }
    it->second = OneLine(text);
    return it->second;
}

bool PartsLabelFromControl(const CElement& element)
{
    if (element.Kind() == kind::kText)
        return !Trim(element.Text()).empty();
    return std::find(std::begin(kSeparatorTags), std::end(kSeparatorTags), element.Kind()) != std::end(kSeparatorTags);
}

bool IsLabelledInputType(std::string_view type)
{
    return std::any_of(std::begin(kLabelledInputTypes), std::end(kLabelledInputTypes),
                       [&](std::string_view labelled) { return EqualsIgnoreCase(type, labelled); });
}

CLabelRecord FindLabel(const CElement& control, const CHtmlDocument& document)
{
    CLabelRecord record;
    record.control = &control;
    record.labelExpectedBefore = !LabelExpectedAfter(control);
    const CAttribute* idAttribute = control.FindAttribute(attr::kId);
    const std::string_view id = idAttribute ? idAttribute->Value() : std::string_view();

    // The page is read in document order: the first label naming the control
    // is its label, wherever it stands; only a label after the control lets
    // the page around the control be read first.
    const bool inDocument = document.Find(&control) != nullptr;
    const std::size_t controlIndex = inDocument ? document.IndexOf(control) : document.Size();
    std::shared_ptr<const CLabelIndex> index;
    if (!id.empty())
        index = PageIndex<CLabelIndex>(document);
    const CElement* label = index ? index->LabelFor(id) : nullptr;
    const std::size_t labelIndex = label ? document.IndexOf(*label) : document.Size();
    const bool labelBefore = label && labelIndex < controlIndex;

    if (inDocument && !labelBefore) {
        if (const CElement* before = AdjacentText(document, controlIndex, false)) {
            record.textBeforeElement = before;
            record.textBefore = before->GetText();
        }
        if (const CElement* after = AdjacentText(document, controlIndex, true)) {
            record.textAfterElement = after;
            record.labelTextOrTextAfter = after->GetText();
        }
    }
    if (!label) {
        ChooseAdjacentText(record);
        return record;
    }

    record.hasLabel = true;
    const CElement* end = label->Partner();
    const bool hasEnd = end && document.Find(end) && document.IndexOf(*end) > labelIndex;
    record.labelTextOrTextAfter.clear();
    if (hasEnd) {
        record.textBeforeElement = label;
        record.labelEnd = end;
        record.labelTextOrTextAfter = index->LabelText(document, *label);
    }
    if (labelBefore) {
        record.labelPrecedesControl = true;
        // The label's own text does not part it from the control, and a label
        // around its control is as close as a label can be.
        const bool aroundControl = hasEnd && document.IndexOf(*end) > controlIndex;
        const std::size_t from = hasEnd ? document.IndexOf(*end) + 1 : labelIndex + 1;
        record.far = !aroundControl && index->SeparatorBetween(from, controlIndex);
    } else {
        record.far = index->SeparatorBetween(controlIndex + 1, labelIndex);
    }
    return record;
}

} // namespace orvane
