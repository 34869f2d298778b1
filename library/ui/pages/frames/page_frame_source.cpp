#include "library/ui/pages/frames/page_frame_source.h"

#include "library/ui/validator_sheet.h"

#include "library/checks/element_frame.h"
#include "library/html/address_path.h"
#include "library/html/attribute.h"
#include "library/html/attribute_table.h"
#include "library/html/text_util.h"
#include "platform/file_system.h"
#include "platform/services.h"

namespace orvane {

namespace {
constexpr int kInstruction = 195;
constexpr char kHelpTopic[] = "6-2-1.html";
constexpr int kCaption = 111;
constexpr int kHtmlFiles = 703;
constexpr int kShowsFile = 985;
constexpr int kNoSource = 986;
constexpr int kAddressNeeded = 987;
constexpr int kNotAPageQuestion = 988;
constexpr int kChooseTitle = 989;

constexpr std::string_view kPictureExtensions[] = {"gif", "png", "jpg", "jpeg", "bmp", "svg", "webp"};

std::string String(int id) { return platform::Strings().Get(id); }

std::string_view Extension(std::string_view address)
{
    const std::size_t slash = address.find_last_of('/');
    const std::string_view last = slash == std::string_view::npos ? address : address.substr(slash + 1);
    const std::size_t dot = last.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : last.substr(dot + 1);
}

bool IsPicture(std::string_view address)
{
    const std::string_view extension = Extension(address);
    for (std::string_view picture : kPictureExtensions) {
        if (EqualsIgnoreCase(extension, picture))
            return true;
    }
    return false;
}
} // namespace

CPageFrameSource::CPageFrameSource(CAttribute& src) : CPageValidatorBase(kTemplate), m_src(src) {}

std::string CPageFrameSource::ProposedPage() const
{
    if (m_original.empty() || IsAbsoluteAddress(m_original) || !Sheet())
        return {};
    // The address without a query or fragment, then without its extension.
    std::string_view path = m_original;
    path = path.substr(0, path.find_first_of("?#"));
    const std::size_t slash = path.find_last_of('/');
    const std::string_view folder = slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
    std::string_view stem = slash == std::string_view::npos ? path : path.substr(slash + 1);
    stem = stem.substr(0, stem.rfind('.'));
    if (stem.empty())
        return {};
    for (std::string_view place : {folder, std::string_view()}) {
        for (std::string_view extension : {".html", ".htm"}) {
            std::string candidate = std::string(place) + std::string(stem) + std::string(extension);
            if (platform::FileExists(Sheet()->AbsolutePath(candidate)))
                return candidate;
        }
    }
    return {};
}

void CPageFrameSource::Initialise()
{
    platform::IWindow& window = *Window();
    if (!m_opened) {
        m_original = m_src.IsHidden() ? std::string() : std::string(Trim(m_src.Value()));
        m_address = ProposedPage();
        m_opened = true;
    }
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    const CAttribute* name = Element() ? Element()->FindAttribute(attr::kName) : nullptr;
    window.SetText(kName, name && !name->IsHidden() ? name->Value() : std::string_view());
    window.SetText(kSource, m_original);
    window.SetText(kFound, m_original.empty() ? String(kNoSource) : platform::Strings().Format(kShowsFile, {m_original}));
    if (!m_original.empty()) {
        if (IsPicture(m_original))
            PreviewImage(m_original, kPreview);
        else
            PreviewAddress(m_original, kPreview);
    }
    window.SetText(kAddress, m_address);
    Choose(m_answer);
}

void CPageFrameSource::Choose(int answer)
{
    platform::IWindow& window = *Window();
    m_answer = answer;
    window.SetChecked(kPointAtPage, answer == kPointAtPage);
    window.SetChecked(kKeep, answer == kKeep);
    EnableControls(answer == kPointAtPage, {kAddress, kChoose}, false);
}

void CPageFrameSource::ChoosePage()
{
    platform::IWindow& window = *Window();
    platform::FileDialogRequest request;
    request.title = String(kChooseTitle);
    request.initialPath = Sheet() ? Sheet()->DocumentFolder().Folder() : std::string();
    request.defaultExtension = "html";
    request.filters = {{String(kHtmlFiles), "*.html *.htm"}};
    const std::optional<std::string> path = platform::Windows().ChooseFileToOpen(&window, request);
    if (!path)
        return;
    m_address = Sheet() ? Sheet()->RelativeAddress(*path) : *path;
    window.SetText(kAddress, m_address);
}

void CPageFrameSource::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    using platform::NotifyCode;
    switch (notification.control) {
    case kPointAtPage:
    case kKeep:
        if (notification.code == NotifyCode::Clicked)
            Choose(notification.control);
        break;
    case kAddress:
        if (notification.code == NotifyCode::TextChanged)
            m_address = window.Text(kAddress);
        break;
    case kChoose:
        if (notification.code == NotifyCode::Clicked)
            ChoosePage();
        break;
    default: break;
    }
}

bool CPageFrameSource::Apply()
{
    if (!Window())
        return true;
    if (m_answer == kKeep) {
        // The file stays in the frame as the author made it: declined, so the
        // problem stays open and the page claims no level it does not reach.
        m_src.Revert();
        SetStatus(pagestatus::kNotRepaired);
        SetVerdict("keep the frame's file");
        return true;
    }
    SetVerdict({});
    const std::string address(Trim(m_address));
    auto ask = [](std::string_view text, platform::PromptButtons buttons) {
        return platform::Prompt().Show(String(kCaption), text, platform::PromptIcon::Exclamation, buttons);
    };
    if (address.empty()) {
        ask(String(kAddressNeeded), platform::PromptButtons::Ok);
        return false;
    }
    if (!CElementFrame::IsPageSource(address) &&
        ask(platform::Strings().Format(kNotAPageQuestion, {address}), platform::PromptButtons::YesNo) !=
            platform::kAnswerYes)
        return false;
    m_src.SetFromText(address, Encoding());
    SetStatus(pagestatus::kRepaired);
    return true;
}

void CPageFrameSource::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    SetVerdict({});
    m_src.Revert();
}

} // namespace orvane
