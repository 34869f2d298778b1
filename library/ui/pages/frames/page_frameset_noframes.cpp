#include "library/ui/pages/frames/page_frameset_noframes.h"

#include "library/html/attribute.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/ui/link_markup.h"
#include "platform/services.h"

namespace orvane {

namespace {
constexpr int kInstruction = 161;
constexpr char kHelpTopic[] = "6-5-1.html";
constexpr std::uint32_t kNoframesBit = 0x1;
constexpr int kFramesLead = 1241;
} // namespace


CPageFramesetNoframes::CPageFramesetNoframes(CElement* prepared, const CHtmlDocument& document)
    : CPageValidatorBase(kTemplate), m_prepared(prepared), m_document(document)
{
    if (m_prepared)
        m_placeholder = m_prepared->Text();
}

// Each frame's page linked by the frame's title (else its name, else its
// address), the titles decoded from the page and written escaped in it.
std::string CPageFramesetNoframes::FrameLinks() const
{
    const CElement* frameset = Element();
    const CElement* end = frameset ? frameset->Partner() : nullptr;
    if (!end || !m_document.Find(frameset) || !m_document.Find(end))
        return {};
    std::string items;
    for (std::size_t i = m_document.IndexOf(*frameset) + 1; i < m_document.IndexOf(*end); ++i) {
        const CElement& frame = *m_document.At(i);
        if (frame.IsDeleted() || frame.Kind() != tag::kFrame)
            continue;
        const CAttribute* source = frame.FindAttribute(attr::kSrc);
        if (!source || source->Value().empty())
            continue;
        std::string_view name = source->Value();
        for (int id : {attr::kTitle, attr::kName}) {
            if (const CAttribute* a = frame.FindAttribute(id); a && !a->Value().empty()) {
                name = a->Value();
                break;
            }
        }
        items += "<li><a href=\"" + linkmarkup::HrefValue(source->Value()) + "\">" +
                 linkmarkup::Escaped(UserText(name), Encoding()) + "</a></li>\n";
    }
    if (items.empty())
        return {};
    // The line end the family wrote the section with.
    const std::string lineEnd = m_placeholder.substr(0, m_placeholder.find('<'));
    return linkmarkup::WithLineEnds("\n<noframes>\n<p>" +
                                        linkmarkup::Escaped(platform::Strings().Get(kFramesLead), Encoding()) +
                                        "</p>\n<ul>\n" + items + "</ul>\n</noframes>\n",
                                    lineEnd.empty() ? "\n" : lineEnd);
}

void CPageFramesetNoframes::Initialise()
{
    platform::IWindow& window = *Window();
    const bool prepared = m_prepared != nullptr;
    window.Show(kInsert, prepared);
    window.Show(kInsertLabel, prepared);
    window.Show(kPlaceholderMessage, !prepared);
    if (prepared)
        window.SetChecked(kInsert, m_insert != 0);
    window.SetText(kProblemText, Element()->GetProblemText(kNoframesBit, Encoding()));
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
}

// The problem counts as repaired only when a section is written: a section
// left out, or a placeholder left for the author, still lacks real content.
bool CPageFramesetNoframes::Apply()
{
    if (!m_prepared || !Window()) {
        SetStatus(pagestatus::kNotRepaired);
        return true;
    }
    m_insert = Window()->IsChecked(kInsert) ? 1 : 0;
    const std::string links = FrameLinks();
    m_prepared->SetText(links.empty() ? m_placeholder : links);
    m_prepared->SetDeleted(m_insert == 0);
    SetStatus(!m_insert ? pagestatus::kNotRepaired : links.empty() ? pagestatus::kPartlyRepaired : pagestatus::kRepaired);
    return true;
}

void CPageFramesetNoframes::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    if (m_prepared) {
        m_prepared->SetDeleted(true);
        m_prepared->SetText(m_placeholder);
    }
}

} // namespace orvane
