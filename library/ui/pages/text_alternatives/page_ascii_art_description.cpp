#include "library/ui/pages/text_alternatives/page_ascii_art_description.h"

#include "library/ui/pages/links/page_ascii_art_skip.h"
#include "library/ui/link_markup.h"
#include "library/ui/quoted_value.h"
#include "library/ui/validator_sheet.h"

#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/text_util.h"
#include "library/registry/object_database.h"
#include "library/registry/src_ascii_art.h"
#include "library/registry/src_document.h"
#include "platform/services.h"

#include <memory>

namespace orvane {

namespace {
constexpr int kInstruction = 296;
constexpr char kHelpTopic[] = "1-1-12.html";
constexpr int kDescriptionTitle = 307;
constexpr int kLinkText = 991;
constexpr int kFileTitle = 992;

// The text as a paragraph of the page: its lines kept as line breaks.
std::string Paragraph(std::string_view text, std::string_view lineEnd)
{
    std::string out = "<p>";
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (start > 0)
            out += "<br>" + std::string(lineEnd);
        out += QuotedValue(line);
        start = end + 1;
    }
    return out + "</p>" + std::string(lineEnd);
}
} // namespace

CPageAsciiArtDescription::CPageAsciiArtDescription(CElement& link, const CHtmlDocument& document, std::string artMarkup,
                                                   std::string artId, std::string lineEnd)
    : CPageDescriptionBase(kTemplate), m_link(link), m_document(document), m_artMarkup(std::move(artMarkup)),
      m_artId(std::move(artId)), m_lineEnd(std::move(lineEnd))
{
    OfferAlternativeAnswer(true);
}

void CPageAsciiArtDescription::ProposeKnown()
{
    const CSrcObjectDatabase* registry = Sheet() ? Sheet()->ObjectRegistry() : nullptr;
    if (!registry)
        return;
    // This page's own record first; also those of this session, before the
    // registry was first saved.
    std::vector<const CSrcAsciiArt*> records;
    for (int own = 1; own >= 0; --own) {
        for (const auto& known : registry->Documents()) {
            if ((known->Name() == m_document.Name()) != (own == 1))
                continue;
            if (const CSrcAsciiArt* art = known->FindAsciiArt(m_artId))
                records.push_back(art);
        }
    }
    std::vector<std::string> files;
    const CSrcLongDesc* first = nullptr;
    for (const CSrcAsciiArt* record : records) {
        for (const auto& longDesc : record->LongDescs()) {
            if (!first)
                first = longDesc.get();
            if (!longDesc->Value().empty())
                files.push_back(longDesc->Value());
        }
    }
    SetKnownFiles(files);
    if (!first)
        return;
    // The description last given for the art, answered as it was then.
    ProposeNewFile({}, first->Text());
    if (first->Value().empty())
        ProposeAnswer(kAlternative);
    else
        ProposeAnswer(kLinkExisting, first->Value());
}

void CPageAsciiArtDescription::Initialise()
{
    if (!m_opened)
        ProposeKnown();
    m_opened = true;
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    InitialiseDescription();
    PreviewText(m_artMarkup, kPreview);
}

std::string CPageAsciiArtDescription::DescriptionTitle(std::string_view language) const
{
    return FileTitle(language, kFileTitle, {m_document.FileName()});
}

bool CPageAsciiArtDescription::ApplyDescription(const std::string& address, int answer)
{
    const std::string text = DescriptionText();
    if (answer == kAlternative) {
        m_link.SetText(MarkupToPage(Paragraph(text, m_lineEnd), Encoding()));
    } else {
        m_link.SetText(MarkupToPage("<p><a href=\"" + linkmarkup::HrefValue(EscapeBareAmpersands(address)) +
                                        "\" title=\"" + QuotedValue(platform::Strings().Get(kDescriptionTitle)) + "\">" +
                                        QuotedValue(platform::Strings().Get(kLinkText)) + "</a></p>" + m_lineEnd,
                                    Encoding()));
    }
    m_link.SetDeleted(false);
    Remember(answer == kAlternative ? std::string() : address, text);
    return true;
}

bool CPageAsciiArtDescription::ApplyNotNeeded()
{
    m_link.SetDeleted(true);
    Remember({}, {});
    return true;
}

void CPageAsciiArtDescription::Remember(const std::string& address, const std::string& text)
{
    ForgetRegistryChange();
    CSrcAsciiArt* art = AsciiArtRecord(Sheet(), m_document.Name(), m_artId);
    if (!art)
        return;
    m_changedArt = art;
    m_describedBefore = art->IsDescribed();
    art->SetDescribed(true);
    if (address.empty() && text.empty())
        return;
    // One record per address; the text in the page is the one without.
    if (CSrcLongDesc* known = art->FindLongDesc(address)) {
        m_changedLongDesc = known;
        m_textBefore = known->Text();
        known->SetText(text);
    } else {
        m_addedLongDesc = art->AddLongDesc(std::make_unique<CSrcLongDesc>(address, text));
    }
}

void CPageAsciiArtDescription::ForgetRegistryChange()
{
    if (!m_changedArt)
        return;
    m_changedArt->SetDescribed(m_describedBefore);
    if (m_addedLongDesc)
        m_changedArt->RemoveLongDesc(m_addedLongDesc);
    if (m_changedLongDesc)
        m_changedLongDesc->SetText(m_textBefore);
    m_changedArt = nullptr;
    m_addedLongDesc = nullptr;
    m_changedLongDesc = nullptr;
}

void CPageAsciiArtDescription::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    m_link.SetDeleted(true);
    ForgetRegistryChange();
}

} // namespace orvane
