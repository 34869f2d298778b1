#include "library/ui/pages/forms/page_label_far_away.h"

#include "library/checks/label_finder.h"
#include "library/checks/label_repair.h"
#include "library/html/attribute.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "platform/services.h"

namespace orvane {

namespace {
constexpr int kInstruction = 921;
constexpr int kMoveAfter = 924;
constexpr int kFollowsControl = 925;
constexpr int kPrecedesControl = 926;
constexpr int kPartedBy = 927;
constexpr int kNoEndTag = 929;
constexpr char kHelpTopic[] = "10-2-1.html";
// Enough of what stands between to show how far apart they are.
constexpr std::size_t kSeparatorsShown = 4;
} // namespace

CPageLabelFarAway::CPageLabelFarAway(CElement& beside, CHtmlDocument& document)
    : CPageValidatorBase(kTemplate), m_beside(beside), m_document(document)
{
}

void CPageLabelFarAway::FindTheLabel()
{
    if (m_labelStart || !Element())
        return;
    const CLabelRecord record = FindLabel(*Element(), m_document);
    if (!record.hasLabel)
        return;
    // The first label naming the control's id, as the finder takes it.
    const CAttribute* id = Element()->FindAttribute(attr::kId);
    for (CElement* e : m_document.Elements()) {
        const CAttribute* target = e->Kind() == tag::kLabel && !e->IsDeleted() ? e->FindAttribute(attr::kFor)
                                                                              : nullptr;
        if (id && target && EqualsIgnoreCase(target->Value(), id->Value())) {
            m_labelStart = e;
            break;
        }
    }
    if (m_labelStart && record.labelEnd)
        m_labelEnd = m_document.At(m_document.IndexOf(*record.labelEnd));
}

std::string CPageLabelFarAway::DistanceText() const
{
    if (!m_labelStart || !Element())
        return {};
    const platform::IStringTable& strings = platform::Strings();
    std::string text;
    auto line = [&](const std::string& said) {
        if (!text.empty())
            text += "\n";
        text += said;
    };
    std::vector<std::string> parts = LabelSeparators(m_document, *m_labelStart, *Element(), kSeparatorsShown + 1);
    if (!parts.empty()) {
        std::string listed;
        for (std::size_t i = 0; i < parts.size() && i < kSeparatorsShown; ++i)
            listed += (i ? ", " : "") + parts[i];
        if (parts.size() > kSeparatorsShown)
            listed += ", ...";
        line(strings.Format(kPartedBy, {listed}));
    }
    const bool labelFirst = m_document.IndexOf(*m_labelStart) < m_document.IndexOf(*Element());
    const bool readAfter = LabelReadAfter(*Element());
    if (labelFirst && readAfter)
        line(strings.Get(kPrecedesControl));
    else if (!labelFirst && !readAfter)
        line(strings.Get(kFollowsControl));
    if (!m_labelEnd)
        line(strings.Get(kNoEndTag));
    return text;
}

void CPageLabelFarAway::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    FindTheLabel();
    const CLabelRecord record = FindLabel(*Element(), m_document);
    window.SetText(kLabel, UserText(record.labelTextOrTextAfter, TextPlace::ElementText));
    window.SetText(kControl, PageBytesToUtf8(Element()->MarkupText(), Encoding()));
    window.SetText(kDistance, DistanceText());
    if (LabelReadAfter(*Element()))
        window.SetText(kMove, platform::Strings().Get(kMoveAfter));
    // A label without an end tag has no known extent to move.
    const bool movable = m_labelStart && m_labelEnd;
    window.SetChecked(movable ? kMove : kKeep, true);
    EnableControls(movable, {kMove}, false);
    PreviewFormControl(*Element(), m_document, kPreview);
}

void CPageLabelFarAway::TakeBack()
{
    for (CElement* piece : m_moved)
        piece->SetDeleted(false);
    m_moved.clear();
    m_beside.SetDeleted(true);
}

bool CPageLabelFarAway::Apply()
{
    platform::IWindow* window = Window();
    if (!window)
        return true;
    TakeBack();
    SetVerdict("label close enough");
    if (window->IsChecked(kMove) && m_labelStart && m_labelEnd) {
        SetVerdict({});
        std::string markup;
        for (std::size_t i = m_document.IndexOf(*m_labelStart); i <= m_document.IndexOf(*m_labelEnd); ++i) {
            CElement* piece = m_document.At(i);
            if (piece->IsDeleted())
                continue;
            piece->AppendMarkupText(markup);
            piece->SetDeleted(true);
            m_moved.push_back(piece);
        }
        m_beside.SetText(LabelReadAfter(*Element()) ? " " + markup : markup + " ");
        m_beside.SetDeleted(false);
    }
    // Keeping the label where it stands is the user's judgement that it is close enough.
    SetStatus(pagestatus::kRepaired);
    return true;
}

void CPageLabelFarAway::Undo()
{
    TakeBack();
    SetVerdict({});
    SetStatus(pagestatus::kNotRepaired);
    if (Window())
        PreviewFormControl(*Element(), m_document, kPreview);
}

} // namespace orvane
