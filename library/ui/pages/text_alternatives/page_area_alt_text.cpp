#include "library/ui/pages/text_alternatives/page_area_alt_text.h"

#include "library/checks/element_anchor.h"
#include "library/html/attribute.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "platform/services.h"

#include <algorithm>
#include <vector>

namespace orvane {

namespace {
constexpr int kTextNeeded = 102;
constexpr int kInstruction = 136;
constexpr char kHelpTopic[] = "1-1-9.html";

// What the page's links to the address say, each text once, its blanks and
// line breaks run together; links showing only pictures say nothing here.
std::vector<std::string> LinkTextsTo(const CHtmlDocument& document, std::string_view href)
{
    std::vector<std::string> texts;
    if (href.empty())
        return texts;
    for (const CElement* element : document.Elements()) {
        const auto* link = dynamic_cast<const CElementAnchor*>(element);
        const CAttribute* linkHref = link ? link->FindAttribute(attr::kHref) : nullptr;
        if (!linkHref || linkHref->Value() != href)
            continue;
        std::string text;
        for (const CElement* inner : link->Inner()) {
            if (inner->Kind() != kind::kText)
                continue;
            for (char c : inner->Text()) {
                if (!IsSpace(c))
                    text.push_back(c);
                else if (!text.empty() && text.back() != ' ')
                    text.push_back(' ');
            }
            if (!text.empty() && text.back() != ' ')
                text.push_back(' ');
        }
        const std::string trimmed(Trim(text));
        if (!trimmed.empty() && std::find(texts.begin(), texts.end(), trimmed) == texts.end())
            texts.push_back(trimmed);
    }
    return texts;
}
} // namespace


CPageAreaAltText::CPageAreaAltText(CAttribute& alt, const CHtmlDocument& document, std::string linkTarget,
                                   std::string shapeText)
    : CPageValidatorBase(kTemplate), m_alt(alt), m_document(document), m_linkTarget(std::move(linkTarget)),
      m_shapeText(std::move(shapeText))
{
}

void CPageAreaAltText::Initialise()
{
    platform::IWindow& window = *Window();
    window.ClearItems(kText);
    if (const CAttribute* href = Element() ? Element()->FindAttribute(attr::kHref) : nullptr) {
        for (const std::string& text : LinkTextsTo(m_document, href->Value()))
            window.AddItem(kText, text);
    }
    window.SetText(kText, m_alt.IsHidden() ? std::string() : UserText(m_alt.Value()));
    window.SetText(kShape, m_shapeText);
    window.SetText(kLinkTarget, m_linkTarget);
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
}

// An area is a link: a text of blanks would leave it as nameless as none.
bool CPageAreaAltText::Apply() { return ApplyTypedText(m_alt, kText, BlankText::IsEmpty, kTextNeeded); }

void CPageAreaAltText::Undo() { UndoTypedText(m_alt, kText); }

} // namespace orvane
