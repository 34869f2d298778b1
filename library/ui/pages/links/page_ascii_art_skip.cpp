#include "library/ui/pages/links/page_ascii_art_skip.h"

#include "library/ui/quoted_value.h"
#include "library/ui/validator_sheet.h"

#include "library/html/attribute.h"
#include "library/html/attribute_table.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "library/registry/object_database.h"
#include "library/registry/src_ascii_art.h"
#include "platform/services.h"

#include <memory>
#include <unordered_set>

namespace orvane {

namespace {
constexpr int kInstruction = 301;
constexpr char kHelpTopic[] = "13-10-1.html";
constexpr int kCaption = 111;
constexpr int kSkipTitle = 306;
constexpr int kLinkTextNeeded = 990;
constexpr char kAnchorBase[] = "after-ascii-art";

// The values of name="..." and id="..." written in a piece of markup the
// library made (a text run, so its attributes are not parsed).
void CollectWrittenNames(std::string_view markup, std::unordered_set<std::string>& names)
{
    for (std::string_view key : {"name=\"", "id=\""}) {
        for (std::size_t at = markup.find(key); at != std::string_view::npos; at = markup.find(key, at + 1)) {
            const std::size_t start = at + key.size();
            const std::size_t end = markup.find('"', start);
            if (end == std::string_view::npos)
                break;
            names.emplace(markup.substr(start, end - start));
        }
    }
}
} // namespace

CSrcAsciiArt* AsciiArtRecord(const CValidatorSheet* sheet, const std::string& documentName, const std::string& artId)
{
    CSrcObjectDatabase* registry = sheet ? sheet->ObjectRegistry() : nullptr;
    if (!registry || documentName.empty() || artId.empty())
        return nullptr;
    if (CSrcAsciiArt* known = registry->FindAsciiArt(documentName, artId))
        return known;
    return registry->AddAsciiArt(std::make_unique<CSrcAsciiArt>(artId), documentName);
}

CPageAsciiArtSkip::CPageAsciiArtSkip(CElement& link, CElement& target, const CHtmlDocument& document,
                                     std::string artMarkup, std::string artId, std::string lineEnd)
    : CPageValidatorBase(kTemplate), m_link(link), m_target(target), m_document(document),
      m_artMarkup(std::move(artMarkup)), m_artId(std::move(artId)), m_lineEnd(std::move(lineEnd))
{
}

std::string CPageAsciiArtSkip::UnusedAnchorName(const CHtmlDocument& document, std::string_view base)
{
    std::unordered_set<std::string> used;
    for (const CElement* element : document.Elements()) {
        if (element->IsDeleted())
            continue;
        if (element->Kind() == kind::kText) {
            CollectWrittenNames(element->Text(), used);
            continue;
        }
        for (int id : {attr::kName, attr::kId}) {
            const CAttribute* attribute = element->FindAttribute(id);
            if (attribute && !attribute->IsHidden())
                used.emplace(attribute->Value());
        }
    }
    std::string name(base);
    for (int number = 2; used.count(name); ++number)
        name = std::string(base) + "-" + std::to_string(number);
    return name;
}

void CPageAsciiArtSkip::Initialise()
{
    platform::IWindow& window = *Window();
    if (!m_opened)
        m_linkText = platform::Strings().Get(kSkipTitle);
    m_opened = true;
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    window.SetText(kLinkText, m_linkText);
    PreviewText(m_artMarkup, kPreview);
    Choose(m_answer);
}

void CPageAsciiArtSkip::Choose(int answer)
{
    platform::IWindow& window = *Window();
    m_answer = answer;
    window.SetChecked(kInsertLink, answer == kInsertLink);
    window.SetChecked(kShortEnough, answer == kShortEnough);
    EnableControls(answer == kInsertLink, {kLinkTextLabel, kLinkText}, false);
}

void CPageAsciiArtSkip::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    using platform::NotifyCode;
    if ((notification.control == kInsertLink || notification.control == kShortEnough) &&
        notification.code == NotifyCode::Clicked)
        Choose(notification.control);
    else if (notification.control == kLinkText && notification.code == NotifyCode::TextChanged)
        m_linkText = window.Text(kLinkText);
}

void CPageAsciiArtSkip::TakeOut()
{
    m_link.SetDeleted(true);
    m_target.SetDeleted(true);
}

void CPageAsciiArtSkip::ForgetRegistryChange()
{
    if (m_changedArt)
        m_changedArt->SetSkipOverLink(m_skipBefore);
    m_changedArt = nullptr;
}

bool CPageAsciiArtSkip::Apply()
{
    if (!Window())
        return true;
    ForgetRegistryChange();
    if (m_answer == kShortEnough) {
        TakeOut();
        // Remembered for the art, so that its next check does not ask again.
        if (CSrcAsciiArt* art = AsciiArtRecord(Sheet(), m_document.Name(), m_artId)) {
            m_changedArt = art;
            m_skipBefore = art->HasSkipOverLink();
            art->SetSkipOverLink(true);
        }
        SetStatus(pagestatus::kRepaired);
        return true;
    }
    const std::string text(Trim(m_linkText));
    if (text.empty()) {
        platform::Prompt().Show(platform::Strings().Get(kCaption), platform::Strings().Get(kLinkTextNeeded),
                                platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
        return false;
    }
    // A name taken by this page's own anchor counts as free for it again.
    TakeOut();
    const std::string name = UnusedAnchorName(m_document, kAnchorBase);
    // The typed words and the program's title, escaped in UTF-8, go in in the page's encoding.
    m_link.SetText(MarkupToPage("<p><a href=\"#" + name + "\" title=\"" + QuotedValue(platform::Strings().Get(kSkipTitle)) +
                                    "\">" + QuotedValue(text) + "</a></p>" + m_lineEnd,
                                Encoding()));
    m_target.SetText(m_lineEnd + "<a name=\"" + name + "\"></a>");
    m_link.SetDeleted(false);
    m_target.SetDeleted(false);
    SetStatus(pagestatus::kRepaired);
    return true;
}

void CPageAsciiArtSkip::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    TakeOut();
    ForgetRegistryChange();
}

} // namespace orvane
