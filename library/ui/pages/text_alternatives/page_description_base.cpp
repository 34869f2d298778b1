#include "library/ui/pages/text_alternatives/page_description_base.h"

#include "library/ui/validator_sheet.h"

#include "library/html/address_path.h"
#include "library/html/text_util.h"
#include "platform/file_system.h"
#include "platform/language.h"
#include "platform/services.h"

#include <algorithm>

namespace orvane {

namespace {
constexpr int kCaption = 111;
constexpr int kTextNeeded = 300;
constexpr int kLinkNeeded = 303;
constexpr int kFileNameNeeded = 304;
constexpr int kImportTitle = 344;
constexpr int kSaveTitle = 363;
constexpr int kHtmlFiles = 703;
constexpr int kCannotWrite = 770;
constexpr int kReplaceQuestion = 771;
constexpr int kCannotRead = 772;
constexpr int kTextFiles = 773;
constexpr int kAllFiles = 774;
constexpr char kNewFileExtension[] = ".html";

std::string String(int id) { return platform::Strings().Get(id); }

// The name after the last folder separator.
std::string_view LastPart(std::string_view path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool IsWebAddress(std::string_view address)
{
    return IsAbsoluteAddress(address) && !EqualsIgnoreCase(address.substr(0, std::min<std::size_t>(5, address.size())), "file:");
}
} // namespace


CPageDescriptionBase::CPageDescriptionBase(int templateId) : CPageValidatorBase(templateId) {}

void CPageDescriptionBase::Tell(int stringId, std::initializer_list<std::string_view> args) const
{
    platform::Prompt().Show(String(kCaption), platform::Strings().Format(stringId, args),
                            platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
}

void CPageDescriptionBase::OfferFileNamed(const std::string& name)
{
    if (name.empty())
        return;
    if (platform::FileExists(LocalPath(name)))
        SetKnownFiles({name});
    if (m_state.fileName.empty())
        m_state.fileName = name;
}

void CPageDescriptionBase::InitialiseDescription()
{
    platform::IWindow& window = *Window();
    m_filling = true;
    m_dropDownMode = !m_knownFiles.empty();
    window.ClearItems(kKnownFiles);
    for (const std::string& file : m_knownFiles)
        window.AddItem(kKnownFiles, file);
    window.Show(kKnownFiles, m_dropDownMode);
    window.Show(kAddress, !m_dropDownMode);
    if (window.HasControl(kAlternative))
        window.Show(kAlternative, m_offerAlternative);
    // A window made again shows what the user left in it.
    SetLinkText(m_state.link);
    window.SetText(kFileName, m_state.fileName);
    window.SetText(kText, m_state.text);
    window.SetChecked(kNotNeeded, m_state.notNeeded);
    m_filling = false;

    int answer = m_state.answer;
    if (answer == 0)
        answer = m_offerAlternative ? kAlternative : kWriteNew;
    if (answer == kAlternative && !m_offerAlternative)
        answer = kWriteNew;
    Choose(answer);
    EnableDescription(m_state.notNeeded);
    Remember();
}

int CPageDescriptionBase::ChosenAnswer() const
{
    return m_state.answer == 0 ? (m_offerAlternative ? kAlternative : kWriteNew) : m_state.answer;
}

bool CPageDescriptionBase::IsNotNeededTicked() const { return m_state.notNeeded; }

std::string CPageDescriptionBase::LinkText() const
{
    platform::IWindow* window = Window();
    return window ? window->Text(LinkControl()) : m_state.link;
}

void CPageDescriptionBase::SetLinkText(std::string_view text)
{
    if (platform::IWindow* window = Window())
        window->SetText(LinkControl(), text);
}

void CPageDescriptionBase::Choose(int answer)
{
    platform::IWindow& window = *Window();
    for (int radio : {kLinkExisting, kAlternative, kWriteNew}) {
        if (window.HasControl(radio))
            window.SetChecked(radio, radio == answer);
    }
    m_state.answer = answer;
    // The new file's name counts only for a new file.
    EnableControls(answer == kWriteNew, {kFileNameLabel, kFileName, kChooseName}, false);
    if (m_state.notNeeded)
        EnableControls(false, {kFileNameLabel, kFileName, kChooseName}, true);
}

// Without a description there is nothing to choose: the description, the
// answers and the new file's name are switched off together, and on again as
// they were.
void CPageDescriptionBase::EnableDescription(bool ticked)
{
    EnableControls(!ticked, {kTextLabel, kText, kAddressLabel, kAddress, kKnownFiles, kImport}, true);
    EnableControls(!ticked, {kLinkExisting, kWriteNew}, true);
    if (Window()->HasControl(kAlternative))
        EnableControls(!ticked, {kAlternative}, true);
    EnableControls(!ticked, {kFileNameLabel, kFileName, kChooseName}, true);
}

void CPageDescriptionBase::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    using platform::NotifyCode;
    if (m_filling || !Window())
        return;
    const int id = notification.control;
    if (notification.code == NotifyCode::FocusGained) {
        if (id != LinkControl() && m_linkHasFocus)
            LinkLeft();
        m_linkHasFocus = id == LinkControl();
        Remember();
        return;
    }
    switch (id) {
    case kNotNeeded:
        if (notification.code == NotifyCode::Clicked) {
            m_state.notNeeded = window.IsChecked(kNotNeeded);
            EnableDescription(m_state.notNeeded);
            NotNeededToggled(m_state.notNeeded);
        }
        break;
    case kLinkExisting:
    case kAlternative:
    case kWriteNew:
        if (notification.code == NotifyCode::Clicked)
            Choose(id);
        break;
    case kAddress:
        if (notification.code == NotifyCode::TextChanged) {
            m_linkHasFocus = true;
            Choose(kLinkExisting);
        }
        break;
    case kKnownFiles:
        if (notification.code == NotifyCode::TextChanged) {
            m_linkHasFocus = true;
            m_dirty = true;
            Choose(kLinkExisting);
        } else if (notification.code == NotifyCode::SelectionChanged || notification.code == NotifyCode::Chosen) {
            LinkLeft();
        }
        break;
    case kText:
        if (notification.code == NotifyCode::TextChanged)
            m_dirty = true;
        break;
    case kImport:
        if (notification.code == NotifyCode::Clicked)
            ImportFile();
        break;
    case kChooseName:
        if (notification.code == NotifyCode::Clicked)
            ChooseFileName();
        break;
    default: break;
    }
    Remember();
}

void CPageDescriptionBase::LinkLeft()
{
    platform::IWindow& window = *Window();
    const std::string link = LinkText();
    if (link.empty()) {
        if (m_dropDownMode)
            Choose(kWriteNew);
        return;
    }
    if (link == m_lastLoadedName)
        return;
    m_lastLoadedName = link;
    Choose(kLinkExisting);
    // A file on the web, or one not there yet, is linked all the same; the
    // text typed so far stays for the user to keep or write elsewhere.
    if (IsWebAddress(link))
        return;
    if (std::optional<std::string> text = CValidatorSheet::LoadDescriptionFile(LocalPath(link))) {
        m_filling = true;
        window.SetText(kText, *text);
        m_filling = false;
        m_dirty = true;
    }
}

void CPageDescriptionBase::ImportFile()
{
    platform::IWindow& window = *Window();
    platform::FileDialogRequest request;
    request.title = String(kImportTitle);
    request.initialPath = Sheet() ? Sheet()->DocumentFolder().Folder() : std::string();
    request.defaultExtension = "html";
    request.filters = {{String(kHtmlFiles), "*.html *.htm"}, {String(kTextFiles), "*.txt"}, {String(kAllFiles), "*"}};
    const std::optional<std::string> path = platform::Windows().ChooseFileToOpen(&window, request);
    if (!path)
        return;
    std::string reason;
    const std::optional<std::string> text = CValidatorSheet::LoadDescriptionFile(*path, &reason);
    if (!text) {
        Tell(kCannotRead, {*path, reason});
        return;
    }
    m_filling = true;
    window.SetText(kText, *text);
    m_filling = false;
    m_dirty = true;
    const std::string address = Sheet() ? Sheet()->RelativeAddress(*path) : *path;
    SetLinkText(address);
    m_lastLoadedName = address;
    Choose(kLinkExisting);
}

void CPageDescriptionBase::ChooseFileName()
{
    platform::IWindow& window = *Window();
    platform::FileDialogRequest request;
    request.title = String(kSaveTitle);
    const std::string typed = window.Text(kFileName);
    request.initialPath = typed.empty() ? (Sheet() ? Sheet()->DocumentFolder().Folder() : std::string()) : LocalPath(typed);
    request.defaultExtension = "html";
    request.filters = {{String(kHtmlFiles), "*.html"}};
    const std::optional<std::string> path = platform::Windows().ChooseFileToSave(&window, request);
    if (!path)
        return;
    // The dialog asked before choosing a file that is there.
    m_confirmedPath = *path;
    window.SetText(kFileName, Sheet() ? Sheet()->RelativeAddress(*path) : *path);
}

std::string CPageDescriptionBase::LocalPath(std::string_view name) const
{
    if (!name.empty() && name.front() == '/')
        return std::string(name);
    return Sheet() ? Sheet()->AbsolutePath(name) : std::string(name);
}

std::string CPageDescriptionBase::NewFileName() const
{
    std::string name = Window() ? Window()->Text(kFileName) : m_state.fileName;
    name = std::string(Trim(name));
    const std::string_view last = LastPart(name);
    const std::size_t dot = last.rfind('.');
    if (!name.empty() && (dot == std::string_view::npos || dot == 0))
        name += kNewFileExtension;
    return name;
}

std::string CPageDescriptionBase::ChosenAddress() const
{
    switch (ChosenAnswer()) {
    case kLinkExisting: return std::string(Trim(LinkText()));
    case kAlternative: return {};
    default: {
        const std::string name = NewFileName();
        if (name.empty() || name.front() != '/' || !Sheet())
            return name;
        return Sheet()->RelativeAddress(name);
    }
    }
}

bool CPageDescriptionBase::CheckBeforeApply()
{
    platform::IWindow* window = Window();
    if (!window)
        return true;
    const int answer = ChosenAnswer();
    if ((answer == kAlternative || answer == kWriteNew) && Trim(window->Text(kText)).empty()) {
        Tell(kTextNeeded);
        return false;
    }
    if (answer == kWriteNew && Trim(window->Text(kFileName)).empty()) {
        Tell(kFileNameNeeded);
        return false;
    }
    if (answer == kLinkExisting && Trim(LinkText()).empty()) {
        Tell(kLinkNeeded);
        return false;
    }
    return true;
}

std::string CPageDescriptionBase::DescriptionText() const
{
    return Window() ? Window()->Text(kText) : m_state.text;
}

// A repair applied before stays as it was while the user is kept on the page.
bool CPageDescriptionBase::Apply()
{
    if (!Window())
        return true;
    if (IsNotNeededTicked()) {
        if (!ApplyNotNeeded())
            return false;
    } else if (!CheckBeforeApply() || !WriteDescription() || !ApplyDescription(ChosenAddress(), ChosenAnswer())) {
        return false;
    }
    SetStatus(pagestatus::kRepaired);
    return true;
}

std::string CPageDescriptionBase::FileTitle(std::string_view language, int id,
                                            std::initializer_list<std::string_view> args)
{
    if (language.empty())
        return platform::Strings().Format(id, args);
    const std::string text = platform::Strings().GetIn(id, language);
    return text.empty() ? std::string() : platform::FormatMessage(text, args);
}

bool CPageDescriptionBase::WriteDescription()
{
    platform::IWindow* window = Window();
    if (!window || ChosenAnswer() != kWriteNew)
        return true;
    const std::string name = NewFileName();
    if (!m_dirty && name == m_lastWrittenName)
        return true;
    const std::string path = LocalPath(name);
    // A name typed by hand may name a file that is there: it is not replaced
    // unasked (the save dialog asked about the file it gave).
    if (name != m_lastWrittenName && path != m_confirmedPath && platform::FileExists(path) &&
        platform::Prompt().Show(String(kCaption), platform::Strings().Format(kReplaceQuestion, {name}),
                                platform::PromptIcon::Exclamation,
                                platform::PromptButtons::YesNo) != platform::kAnswerYes)
        return false;
    // The file is in the page's language; its title is too where the tables
    // have one in it, else in the interface's, which it then names.
    const std::string pageLanguage = Sheet() ? Sheet()->RepairedPageLanguage() : std::string();
    std::string interfaceLanguage = platform::Strings().Language();
    if (interfaceLanguage.empty())
        interfaceLanguage = platform::UiLanguage();
    std::string title = pageLanguage.empty() ? std::string() : DescriptionTitle(pageLanguage);
    std::string titleLanguage = pageLanguage;
    if (title.empty()) {
        title = DescriptionTitle({});
        titleLanguage = interfaceLanguage;
    }
    std::string reason;
    if (!CValidatorSheet::WriteDescriptionFile(path, window->Text(kText), title,
                                               pageLanguage.empty() ? interfaceLanguage : pageLanguage,
                                               titleLanguage, &reason)) {
        Tell(kCannotWrite, {name, reason});
        return false;
    }
    m_lastWrittenName = name;
    m_dirty = false;
    return true;
}

void CPageDescriptionBase::Remember()
{
    platform::IWindow* window = Window();
    if (!window)
        return;
    m_state.notNeeded = window->IsChecked(kNotNeeded);
    m_state.link = window->Text(LinkControl());
    m_state.fileName = window->Text(kFileName);
    m_state.text = window->Text(kText);
}

} // namespace orvane
