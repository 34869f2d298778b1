#include "library/ui/pages/text_alternatives/page_ismap_textlinks.h"

#include "library/checks/element_img.h"
#include "library/html/attribute.h"
#include "library/html/attribute_table.h"
#include "library/html/element.h"
#include "library/html/text_util.h"
#include "platform/prompt.h"
#include "platform/services.h"

namespace orvane {

namespace {
constexpr int kCaption = 111;
constexpr int kEveryLinkNeedsText = 902;
constexpr int kInstruction = 903;
constexpr int kAtLeastOneLink = 904;
constexpr int kTextAndAddressNeeded = 905;
constexpr int kNoServerMap = 906;
constexpr int kTextTitle = 901;
constexpr int kTargetTitle = 723;
constexpr char kHelpTopic[] = "1-2-1.html";

std::string String(int id) { return platform::Strings().Get(id); }
} // namespace

CPageIsmapTextlinks::CPageIsmapTextlinks(CHtmlDocument& document, std::string_view imageSource,
                                         std::string_view lineEnd)
    : CPageValidatorBase(kTemplate), m_document(document), m_imageSource(imageSource), m_lineEnd(lineEnd)
{
}

void CPageIsmapTextlinks::Say(int messageId)
{
    platform::Prompt().Show(String(kCaption), String(messageId), platform::PromptIcon::Exclamation,
                            platform::PromptButtons::Ok);
}

void CPageIsmapTextlinks::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    // The link around the image is where the server answers the clicks.
    const auto* img = dynamic_cast<const CElementImg*>(Element());
    const CAttribute* href = img && img->Anchor() ? img->Anchor()->FindAttribute(attr::kHref) : nullptr;
    window.SetText(kServerMap, href && !href->IsHidden() ? href->GetValue() : String(kNoServerMap));
    window.SetColumns(kLinks, {{String(kTextTitle), 220, platform::Align::Left, true}, {String(kTargetTitle), 130}});
    window.SetColumnEditable(kLinks, kTextColumn);
    ShowRows();
    PreviewImage(m_imageSource, kImagePreview);
}

void CPageIsmapTextlinks::ShowRows()
{
    platform::IWindow& window = *Window();
    window.ClearItems(kLinks);
    for (const TextLink& link : m_links) {
        const int row = window.AddItem(kLinks, link.text);
        window.SetItemText(kLinks, row, kTargetColumn, link.target);
    }
    window.Enable(kRemove, !m_links.empty());
    CPageImgUsemapTextlinks::PreviewRow(*this, m_links, kRowPreview);
}

void CPageIsmapTextlinks::ReadRows()
{
    platform::IWindow* window = Window();
    if (!window)
        return;
    for (int row = 0; row < window->ItemCount(kLinks) && row < static_cast<int>(m_links.size()); ++row)
        m_links[row].text = window->ItemText(kLinks, row, kTextColumn);
}

void CPageIsmapTextlinks::AddLink()
{
    platform::IWindow& window = *Window();
    const std::string text(Trim(window.Text(kText)));
    const std::string address(Trim(window.Text(kAddress)));
    if (text.empty() || address.empty()) {
        window.Focus(text.empty() ? kText : kAddress);
        Say(kTextAndAddressNeeded);
        return;
    }
    ReadRows();
    m_links.push_back({text, address});
    ShowRows();
    const int row = static_cast<int>(m_links.size()) - 1;
    window.SetCurrentItem(kLinks, row);
    window.SetItemSelected(kLinks, row, true);
    window.SetText(kText, "");
    window.SetText(kAddress, "");
    window.Focus(kText);
}

void CPageIsmapTextlinks::RemoveLink()
{
    platform::IWindow& window = *Window();
    ReadRows();
    const int row = window.CurrentItem(kLinks);
    if (row < 0 || row >= static_cast<int>(m_links.size()))
        return;
    m_links.erase(m_links.begin() + row);
    ShowRows();
    if (!m_links.empty()) {
        const int next = row < static_cast<int>(m_links.size()) ? row : row - 1;
        window.SetCurrentItem(kLinks, next);
        window.SetItemSelected(kLinks, next, true);
        window.Focus(kLinks);
    } else {
        window.Focus(kText);
    }
}

void CPageIsmapTextlinks::OnNotify(platform::IWindow&, const platform::Notification& notification)
{
    if (notification.code == platform::NotifyCode::Clicked) {
        if (notification.control == kAdd)
            AddLink();
        else if (notification.control == kRemove)
            RemoveLink();
        return;
    }
    if (notification.control == kLinks && notification.code == platform::NotifyCode::ItemEdited) {
        ReadRows();
        CPageImgUsemapTextlinks::PreviewRow(*this, m_links, kRowPreview);
    }
}

bool CPageIsmapTextlinks::Apply()
{
    platform::IWindow* window = Window();
    if (!window)
        return true;
    ReadRows();
    if (m_links.empty()) {
        Undo();
        window->Focus(kText);
        Say(kAtLeastOneLink);
        return false;
    }
    if (CPageImgUsemapTextlinks::ChooseLinkWithoutText(*window, kLinks, m_links)) {
        Undo();
        Say(kEveryLinkNeedsText);
        return false;
    }
    if (!CPageImgUsemapTextlinks::WriteRow(m_document, Element(), m_row, m_links, m_lineEnd, Encoding()))
        return true;
    SetStatus(pagestatus::kRepaired);
    CPageImgUsemapTextlinks::RememberTextLinks(*this, m_document, m_imageSource, true, m_mapRecord);
    return true;
}

void CPageIsmapTextlinks::Undo()
{
    if (m_row)
        m_row->SetDeleted(true);
    SetStatus(pagestatus::kNotRepaired);
    CPageImgUsemapTextlinks::RememberTextLinks(*this, m_document, m_imageSource, false, m_mapRecord);
}

} // namespace orvane
