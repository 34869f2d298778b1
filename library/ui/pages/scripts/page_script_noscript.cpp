#include "library/ui/pages/scripts/page_script_noscript.h"

#include "library/ui/default_text_pages.h"
#include "library/ui/link_markup.h"

#include "library/html/attribute.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "platform/services.h"

namespace orvane {

namespace {
constexpr int kInstruction = 945;
constexpr int kInlineScript = 946;
constexpr int kLinkText = 948;
constexpr int kFileTitle = 949;
constexpr char kHelpTopic[] = "1-1-10.html";
// A long script is shown by its beginning.
constexpr std::size_t kShownLength = 600;

// The text as character data, its line breaks kept.
std::string Paragraph(std::string_view text)
{
    std::string out;
    const std::string markup = defaulttext::AsMarkup(Trim(text));
    for (std::size_t i = 0; i < markup.size(); ++i) {
        if (markup[i] == '\r')
            continue;
        if (markup[i] == '\n')
            out += "<br>";
        else
            out.push_back(markup[i]);
    }
    return out;
}
} // namespace

CPageScriptNoscript::CPageScriptNoscript(CElement& prepared, CElement* placeholder, bool insideNoscript,
                                         CHtmlDocument& document, std::string_view lineEnd)
    : CPageDescriptionBase(kTemplate),
      m_prepared(prepared),
      m_placeholder(placeholder),
      m_insideNoscript(insideNoscript),
      m_document(document),
      m_lineEnd(lineEnd)
{
    // The third answer: the text itself, in the page.
    OfferAlternativeAnswer(true);
}

std::string CPageScriptNoscript::ScriptMarkup() const
{
    std::string markup;
    const CElement* end = Element()->Partner();
    const std::size_t first = m_document.IndexOf(*Element());
    const std::size_t last = end && m_document.Find(end) ? m_document.IndexOf(*end) : first;
    for (std::size_t i = first; i <= last && i < m_document.Size() && markup.size() <= kShownLength; ++i) {
        if (!m_document.At(i)->IsDeleted())
            m_document.At(i)->AppendMarkupText(markup);
    }
    if (markup.size() > kShownLength) {
        markup.resize(kShownLength);
        while (!markup.empty() && (static_cast<unsigned char>(markup.back()) & 0xC0) == 0x80)
            markup.pop_back();
        if (!markup.empty() && static_cast<unsigned char>(markup.back()) >= 0xC0)
            markup.pop_back();
        markup += "...";
    }
    return markup;
}

void CPageScriptNoscript::Initialise()
{
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    InitialiseDescription();
    // No script is without its effect for those who cannot run it.
    Window()->Show(kNotNeeded, false);
    Window()->SetText(kScript, PageBytesToUtf8(ScriptMarkup(), Encoding()));
}

std::string CPageScriptNoscript::DescriptionTitle(std::string_view language) const
{
    const CAttribute* src = Element()->FindAttribute(attr::kSrc);
    std::string named = src && !Trim(src->Value()).empty() ? UserText(Trim(src->Value()))
                                                           : FileTitle(language, kInlineScript, {});
    if (named.empty())
        named = platform::Strings().Get(kInlineScript);
    return FileTitle(language, kFileTitle, {named});
}

std::string CPageScriptNoscript::ContentMarkup(std::string_view text, std::string_view address)
{
    if (address.empty())
        return "<p>" + Paragraph(text) + "</p>";
    const std::string words = Trim(text).empty() ? defaulttext::AsMarkup(address) : Paragraph(text);
    return "<p><a href=\"" + linkmarkup::HrefValue(EscapeBareAmpersands(address)) + "\">" + words + "</a></p>";
}

bool CPageScriptNoscript::ApplyDescription(const std::string& address, int answer)
{
    // The description is in the file, a new one or one that exists: the
    // link says what it leads to, and only the text given in place is shown.
    std::string text;
    if (answer == kAlternative)
        text = DescriptionText();
    else
        text = platform::Strings().Get(kLinkText);
    // Made in UTF-8, escaped already: only encoded for the page.
    const std::string content =
        MarkupToPage(ContentMarkup(text, answer == kAlternative ? std::string() : address), Encoding());
    m_prepared.SetText(m_insideNoscript ? content : m_lineEnd + "<noscript>" + content + "</noscript>");
    m_prepared.SetDeleted(false);
    if (m_placeholder)
        m_placeholder->SetDeleted(true);
    return true;
}

void CPageScriptNoscript::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    m_prepared.SetDeleted(true);
    if (m_placeholder)
        m_placeholder->SetDeleted(false);
}

} // namespace orvane
