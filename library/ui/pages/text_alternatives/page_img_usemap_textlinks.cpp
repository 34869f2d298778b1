#include "library/ui/pages/text_alternatives/page_img_usemap_textlinks.h"

#include "library/ui/link_markup.h"
#include "library/ui/validator_sheet.h"

#include "library/checks/element_img.h"
#include "library/html/attribute.h"
#include "library/html/attribute_table.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/image_map.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "library/registry/object_database.h"
#include "library/registry/src_document.h"
#include "library/registry/src_image_map.h"
#include "platform/prompt.h"
#include "platform/services.h"

#include <memory>

namespace orvane {

namespace {
constexpr int kCaption = 111;
constexpr int kInstruction = 900;
constexpr int kTextTitle = 901;
constexpr int kTargetTitle = 723;
constexpr int kEveryLinkNeedsText = 902;
constexpr char kHelpTopic[] = "1-5-1.html";

std::string String(int id) { return platform::Strings().Get(id); }

std::string_view ShownValue(const CElement& element, int id)
{
    const CAttribute* a = element.FindAttribute(id);
    return a && !a->IsHidden() ? std::string_view(a->Value()) : std::string_view();
}

// What the area says of its link: its text alternative, else its title,
// else the address itself, so no proposed link is without a text.
std::string ProposedText(const CHtmlDocument& document, const CElement& area, std::string_view target)
{
    for (int id : {attr::kAlt, attr::kTitle}) {
        const std::string text = document.UserText(ShownValue(area, id));
        if (!Trim(text).empty())
            return std::string(Trim(text));
    }
    return document.UserText(target);
}
} // namespace

CPageImgUsemapTextlinks::CPageImgUsemapTextlinks(CHtmlDocument& document, CImageMap& map,
                                                 std::string_view imageSource, std::string_view lineEnd)
    : CPageValidatorBase(kTemplate), m_document(document), m_map(map), m_imageSource(imageSource),
      m_lineEnd(lineEnd)
{
    for (const CElement* area : m_map.Areas()) {
        const CAttribute* href = area->FindAttribute(attr::kHref);
        if (!href || href->IsHidden() || href->Value().empty())
            continue;
        m_links.push_back({ProposedText(document, *area, href->Value()), document.UserText(href->Value())});
    }
}

void CPageImgUsemapTextlinks::AlsoServes(CElement& image) { m_alsoServed.push_back(&image); }

std::string CPageImgUsemapTextlinks::RowMarkup(const std::vector<TextLink>& links, std::string_view lineEnd,
                                                   const PageEncoding& encoding)
{
    std::string row = "\n<br />[ ";
    for (std::size_t i = 0; i < links.size(); ++i) {
        if (i > 0)
            row += " | ";
        row += "<a href=\"" + linkmarkup::Escaped(links[i].target, encoding) + "\">" +
               linkmarkup::Escaped(links[i].text, encoding) +
               "</a>";
    }
    row += " ]\n";
    return linkmarkup::WithLineEnds(row, lineEnd);
}

void CPageImgUsemapTextlinks::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    window.SetColumns(kLinks, {{String(kTextTitle), 220, platform::Align::Left, true}, {String(kTargetTitle), 130}});
    window.SetColumnEditable(kLinks, kTextColumn);
    window.ClearItems(kLinks);
    for (const TextLink& link : m_links) {
        const int row = window.AddItem(kLinks, link.text);
        window.SetItemText(kLinks, row, kTargetColumn, link.target);
    }
    if (!m_links.empty()) {
        window.SetCurrentItem(kLinks, 0);
        window.SetItemSelected(kLinks, 0, true);
    }
    PreviewImage(m_imageSource, kImagePreview);
    PreviewRow(*this, m_links, kRowPreview);
}

void CPageImgUsemapTextlinks::ReadRows()
{
    platform::IWindow* window = Window();
    if (!window)
        return;
    const int rows = window->ItemCount(kLinks);
    for (int row = 0; row < rows && row < static_cast<int>(m_links.size()); ++row)
        m_links[row].text = window->ItemText(kLinks, row, kTextColumn);
}

void CPageImgUsemapTextlinks::PreviewRow(CPageValidatorBase& page, const std::vector<TextLink>& links,
                                         int browserId)
{
    std::string markup = RowMarkup(links, "\n", PageEncoding());
    // The row stands below the image in the page; alone it needs no line break first.
    markup.erase(0, std::string_view("\n<br />").size());
    page.PreviewText(markup, browserId);
}

void CPageImgUsemapTextlinks::OnNotify(platform::IWindow&, const platform::Notification& notification)
{
    if (notification.control != kLinks || notification.code != platform::NotifyCode::ItemEdited)
        return;
    ReadRows();
    PreviewRow(*this, m_links, kRowPreview);
}

CElement* CPageImgUsemapTextlinks::InsertRowAfter(CHtmlDocument& document, const CElement& image)
{
    const auto* img = dynamic_cast<const CElementImg*>(&image);
    const CElement* after = img && img->Anchor() && img->Anchor()->Partner() ? img->Anchor()->Partner() : &image;
    // The image's "d" link, written or still to be, stays next to it: the
    // first link after an image is the one read as its long description's.
    if (img && img->PreparedDLink())
        after = img->PreparedDLink();
    ElementPtr row(new CElement);
    row->SetKind(kind::kUnknown);
    row->SetDeleted(true);
    row->SetModified(true);
    CElement* made = row.get();
    if (!document.InsertAfter(after, std::move(row)))
        return nullptr;
    return made;
}

void CPageImgUsemapTextlinks::MarkServed(bool repaired)
{
    for (CElement* image : m_alsoServed) {
        for (std::uint32_t bits = MendedBits(); bits != 0; bits &= bits - 1)
            image->SetRepaired(bits & (~bits + 1), repaired);
    }
}

void CPageImgUsemapTextlinks::RememberTextLinks(const CPageValidatorBase& page, const CHtmlDocument& document,
                                                std::string_view mapTitle, bool written, CSrcImageMap*& record)
{
    CSrcObjectDatabase* registry = page.Sheet() ? page.Sheet()->ObjectRegistry() : nullptr;
    if (!registry || document.Name().empty())
        return;
    const std::string title = document.ComparedText(mapTitle);
    if (!record) {
        if (const CSrcDocument* known = registry->FindDocument(document.Name())) {
            for (const auto& map : known->ImageMaps()) {
                if (map->Title() == title) {
                    record = map.get();
                    break;
                }
            }
        }
    }
    // Records of maps are not keyed: one made here is kept, so a repair
    // applied again does not record the map twice.
    if (!record) {
        if (!written)
            return;
        record = registry->AddImageMap(std::make_unique<CSrcImageMap>(title), document.Name());
        if (!record)
            return;
    }
    record->SetTextLinks(written);
}

bool CPageImgUsemapTextlinks::WriteRow(CHtmlDocument& document, const CElement* image, CElement*& row,
                                       const std::vector<TextLink>& links, std::string_view lineEnd,
                                       const PageEncoding& encoding)
{
    if (!row && image)
        row = InsertRowAfter(document, *image);
    if (!row || !row->SetText(RowMarkup(links, lineEnd, encoding)))
        return false;
    row->SetDeleted(false);
    return true;
}

bool CPageImgUsemapTextlinks::ChooseLinkWithoutText(platform::IWindow& window, int list,
                                                    const std::vector<TextLink>& links)
{
    for (std::size_t i = 0; i < links.size(); ++i) {
        if (!Trim(links[i].text).empty())
            continue;
        const int row = static_cast<int>(i);
        for (int other = 0; other < window.ItemCount(list); ++other)
            window.SetItemSelected(list, other, other == row);
        window.SetCurrentItem(list, row);
        window.Focus(list);
        return true;
    }
    return false;
}

bool CPageImgUsemapTextlinks::Apply()
{
    platform::IWindow* window = Window();
    if (!window || m_links.empty())
        return true;
    ReadRows();
    if (ChooseLinkWithoutText(*window, kLinks, m_links)) {
        Undo();
        platform::Prompt().Show(String(kCaption), String(kEveryLinkNeedsText), platform::PromptIcon::Exclamation,
                                platform::PromptButtons::Ok);
        return false;
    }
    if (!WriteRow(m_document, Element(), m_row, m_links, m_lineEnd, m_document.Encoding()))
        return true;
    SetStatus(pagestatus::kRepaired);
    MarkServed(true);
    RememberTextLinks(*this, m_document, m_map.Name(), true, m_mapRecord);
    return true;
}

void CPageImgUsemapTextlinks::Undo()
{
    if (m_row)
        m_row->SetDeleted(true);
    SetStatus(pagestatus::kNotRepaired);
    MarkServed(false);
    RememberTextLinks(*this, m_document, m_map.Name(), false, m_mapRecord);
}

} // namespace orvane
