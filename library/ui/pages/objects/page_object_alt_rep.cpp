#include "library/ui/pages/objects/page_object_alt_rep.h"

#include "library/ui/pages/objects/alternative_content.h"

#include "library/html/element.h"
#include "platform/services.h"

namespace orvane {

namespace {
constexpr int kCaption = 111;
constexpr int kInstruction = 255;
constexpr int kFileTitle = 968;
constexpr int kDescriptionLink = 969;
constexpr int kTextTooShort = 971;
// What stands in for an object is a text longer than this (or an image or a link).
constexpr std::size_t kShortestAlternative = 11;
constexpr char kHelpTopic[] = "1-1-5.html";
} // namespace

std::string NamedAfter(std::string_view file, std::string_view ending)
{
    const std::size_t query = file.find_first_of("?#");
    if (query != std::string_view::npos)
        file = file.substr(0, query);
    const std::size_t slash = file.find_last_of("/\\");
    if (slash != std::string_view::npos)
        file = file.substr(slash + 1);
    const std::size_t dot = file.rfind('.');
    if (dot != std::string_view::npos && dot > 0)
        file = file.substr(0, dot);
    if (file.empty())
        return {};
    return std::string(file) + std::string(ending);
}

std::string CPageObjectAltRep::ProposedFileName(std::string_view dataFile)
{
    return NamedAfter(dataFile, "-description.html");
}

CPageObjectAltRep::CPageObjectAltRep(CElement& content, CHtmlDocument& document, std::string dataFile,
                                     std::string objectMarkup, std::string_view lineEnd)
    : CPageDescriptionBase(kTemplate), m_content(content), m_document(document), m_dataFile(std::move(dataFile)),
      m_markup(std::move(objectMarkup)), m_lineEnd(lineEnd)
{
}

void CPageObjectAltRep::Initialise()
{
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    // A description written for the same file before is offered to link.
    if (!m_opened)
        OfferFileNamed(ProposedFileName(UserText(m_dataFile)));
    InitialiseDescription();
    platform::IWindow& window = *Window();
    // Every object has something a browser can show instead.
    window.Show(kNotNeeded, false);
    m_opened = true;
    window.SetText(kObject, UserText(m_dataFile));
    window.SetText(kMarkup, m_markup);
}

std::string CPageObjectAltRep::DescriptionTitle(std::string_view language) const
{
    return FileTitle(language, kFileTitle, {UserText(m_dataFile)});
}

bool CPageObjectAltRep::ApplyDescription(const std::string& address, int answer)
{
    // A few words do not stand for an object: the next check would ask again.
    if (answer == kAlternative && alternative::OneLine(DescriptionText()).size() < kShortestAlternative) {
        platform::Prompt().Show(platform::Strings().Get(kCaption), platform::Strings().Get(kTextTooShort),
                                platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
        return false;
    }
    if (answer == kAlternative)
        alternative::Fill(m_content, m_document, alternative::AsParagraph(DescriptionText(), m_lineEnd), m_lineEnd);
    else
        alternative::Fill(m_content, m_document,
                          "<p>" + alternative::Link(address, platform::Strings().Get(kDescriptionLink)) + "</p>",
                          m_lineEnd);
    return true;
}

void CPageObjectAltRep::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    m_content.SetDeleted(true);
}

} // namespace orvane
