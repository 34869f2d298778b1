#include "library/ui/pages/text_alternatives/page_img_ismap.h"

#include "library/ui/pages/text_alternatives/page_map_area_alt.h"
#include "library/ui/validator_sheet.h"

#include "library/checks/element_img.h"
#include "library/checks/image_checks.h"
#include "library/html/address_path.h"
#include "library/html/attribute.h"
#include "library/html/attribute_table.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "platform/services.h"

#include <filesystem>

namespace orvane {

namespace {
constexpr int kCaption = 111;
constexpr int kInstruction = 140;
constexpr int kConverted = 352;
constexpr int kNotConverted = 720;
constexpr int kInNoLink = 721;
constexpr std::uint32_t kMapAltTextBit = 0x1;
constexpr char kHelpTopic[] = "9-1-1.html";

std::string String(int id) { return platform::Strings().Get(id); }

bool HasMapExtension(std::string_view name)
{
    return name.size() >= 4 && EqualsIgnoreCase(name.substr(name.size() - 4), ".map");
}

bool IsRegularFile(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}
} // namespace


CPageImgIsmap::CPageImgIsmap(CHtmlDocument& document, std::string_view imageSource)
    : CPageValidatorBase(kTemplate), m_document(document), m_imageSource(imageSource)
{
}

std::string CPageImgIsmap::MapAddress() const
{
    const auto* image = dynamic_cast<const CElementImg*>(Element());
    const CElement* link = image ? image->Anchor() : nullptr;
    const CAttribute* href = link ? link->FindAttribute(attr::kHref) : nullptr;
    return href ? std::string(Trim(href->Value())) : std::string();
}

std::vector<std::string> CPageImgIsmap::MapFileCandidates() const
{
    std::vector<std::string> candidates;
    const std::string whole = MapAddress();
    std::string_view address = whole;
    if (address.empty() || !Sheet())
        return candidates;
    // The part of the address the server reads as the map's path: without
    // query, fragment, scheme and host.
    address = address.substr(0, address.find_first_of("?#"));
    if (IsAbsoluteAddress(address) && address.front() != '/') {
        if (address.size() >= 5 && EqualsIgnoreCase(address.substr(0, 5), "file:")) {
            candidates.push_back(Sheet()->AbsolutePath(address));
            return candidates;
        }
        address.remove_prefix(address.find(':') + 1);
        if (address.substr(0, 2) == "//") {
            const std::size_t path = address.find('/', 2);
            address = path == std::string_view::npos ? std::string_view() : address.substr(path);
        }
    }
    while (!address.empty() && address.front() == '/')
        address.remove_prefix(1);
    auto add = [&](std::string_view relative) {
        if (relative.empty())
            return;
        std::string name(relative);
        if (std::string path = Sheet()->AbsolutePath(name); !path.empty())
            candidates.push_back(std::move(path));
        // A map program's address often names the map without its extension.
        if (!HasMapExtension(name)) {
            if (std::string path = Sheet()->AbsolutePath(name + ".map"); !path.empty())
                candidates.push_back(std::move(path));
        }
    };
    // A path with more folders than a site has is not walked to its end:
    // its file name alone is tried last.
    constexpr int kMostFoldersDropped = 8;
    const std::size_t lastSlash = address.rfind('/');
    const std::string_view fileName = lastSlash == std::string_view::npos ? address : address.substr(lastSlash + 1);
    for (int dropped = 0; dropped <= kMostFoldersDropped; ++dropped) {
        const std::size_t slash = address.find('/');
        if (slash == std::string_view::npos)
            break;
        add(address);
        address.remove_prefix(slash + 1);
    }
    add(fileName);
    return candidates;
}

CPageMapAreaAlt* CPageImgIsmap::FollowUp() const
{
    if (!Sheet() || !Element())
        return nullptr;
    return dynamic_cast<CPageMapAreaAlt*>(Sheet()->FindPage(*Element(), "CPageMapAreaAlt"));
}

void CPageImgIsmap::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    PreviewImage(m_imageSource, kPreview);
    window.SetText(kSource, UserText(m_imageSource));
    const std::string address = MapAddress();
    window.SetText(kMapAddress, address.empty() ? String(kInNoLink) : address);
    ShowState();
}

void CPageImgIsmap::ShowState()
{
    platform::IWindow& window = *Window();
    window.SetText(kState, String(m_converted ? kConverted : kNotConverted));
    // The line break that puts the map on a line of its own in the page is not shown.
    const std::string markup = m_converted ? m_converter.Markup() : std::string();
    window.SetText(kMarkup, TrimLeft(markup));
    window.Enable(kConvert, !m_converted);
}

void CPageImgIsmap::OnNotify(platform::IWindow&, const platform::Notification& notification)
{
    if (notification.control == kConvert && notification.code == platform::NotifyCode::Clicked)
        Convert();
}

bool CPageImgIsmap::ReadMapFile()
{
    const std::vector<std::string> candidates = MapFileCandidates();
    for (const std::string& path : candidates) {
        if (IsRegularFile(path))
            return m_converter.ReadMapFile(path) == 1;
    }
    // Not beside the page: the user shows where it is.
    std::string suggestion = candidates.empty() ? std::string() : candidates.front();
    if (suggestion.empty() && Sheet())
        suggestion = Sheet()->DocumentFolder().Folder();
    return m_converter.LoadMapFile(suggestion, Window()) == 1;
}

void CPageImgIsmap::SayFailure() const
{
    const std::string text = m_converter.FailureText();
    if (!text.empty())
        platform::Prompt().Show(String(kCaption), text, platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
}

void CPageImgIsmap::Convert()
{
    if (m_converted || !Element())
        return;
    if (!ReadMapFile() || !m_converter.BuildAreas() || !m_converter.SpliceIntoDocument(m_document, *Element())) {
        SayFailure();
        return;
    }
    m_converted = true;
    SetStatus(pagestatus::kRepaired);
    if (CPageMapAreaAlt* next = FollowUp()) {
        CElement* map = nullptr;
        for (CElement* e = m_document.ElementAfter(Element()); e && !map; e = m_document.ElementAfter(e)) {
            if (e->Kind() == tag::kMap && !e->IsDeleted())
                map = e;
        }
        // The new map has the problem of a map whose areas lack their texts,
        // which the page after this one repairs; attaching it there also
        // brings that page back into the run.
        if (map && m_converter.SplicedMap() && !PassesAreasAlternativesTest(*m_converter.SplicedMap())) {
            map->SetProblemMask(map->ProblemMask() | kMapAltTextBit);
            map->SetProblemFlag(1);
        }
        next->Attach(map ? *map : *Element(), map ? kMapAltTextBit : CheckBit());
        next->SetMap(m_converter.SplicedMap(), m_imageSource);
    }
    if (Window())
        ShowState();
    if (Sheet() && Sheet()->ActivePage() == this)
        Sheet()->PageActivated(*this);
}

void CPageImgIsmap::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    if (!m_converted)
        return;
    if (CPageMapAreaAlt* next = FollowUp()) {
        next->Undo();
        next->SetMap(nullptr, m_imageSource);
        next->SetSkip(true);
    }
    m_converter.UndoSplice();
    m_converted = false;
    if (Window())
        ShowState();
    if (Sheet() && Sheet()->ActivePage() == this)
        Sheet()->PageActivated(*this);
}

} // namespace orvane
