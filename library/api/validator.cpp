#include "validator.h"

#include "library/checks/family_factory.h"
#include "library/dialogs/about_dialog.h"
#include "library/html/lang_codes.h"
#include "library/settings/sheet_settings.h"
#include "library/ui/checking_session.h"
#include "platform/file_system.h"
#include "platform/services.h"
#include "platform/window.h"

#include <algorithm>
#include <cstring>

namespace orvane {
namespace {

constexpr int kCaption = 111;
constexpr int kCannotRead = 168;
constexpr int kCannotWrite = 173;
// Below this a buffer cannot hold a useful page.
constexpr int kMinimumBufferSize = 10;

void ShowFileMessage(int textId, const char* path)
{
    const platform::IStringTable& strings = platform::Strings();
    std::string text = strings.Get(textId) + (path ? path : "");
    platform::Prompt().Show(strings.Get(kCaption), text, platform::PromptIcon::Exclamation,
                            platform::PromptButtons::Ok);
}

} // namespace

CValidator::CValidator() : m_document(CFamilyElementFactory::Instance()) {}

void CValidator::LoadSettings()
{
    m_settings.Load();
    ++m_settingsLoads;
}

int CValidator::RunSession()
{
    if (!m_settingsLoaded) {
        m_settingsLoaded = true;
        LoadSettings();
    }
    CLanguageCodeList& languages = CLanguageCodeList::Library();
    if (!languages.IsLoaded())
        languages.Load();
    const int result = RunCheckingSession(m_document, m_settings, m_sessionFileName);
    languages.Free();
    return result;
}

int CValidator::Validate(const char* text, char* buffer, int size, std::uint32_t, const char* name,
                         std::uint32_t* resultWord)
{
    m_document.SetOriginFlag(0);
    m_document.SetName(name ? name : "");
    if (!resultWord)
        return -1;
    if (!buffer)
        return -2;
    if (size < kMinimumBufferSize)
        return -3;
    m_outputBuffer = buffer;
    m_outputSize = size;
    *resultWord = 0;
    buffer[0] = '\0';
    if (!m_document.Start(0, false))
        return -6;
    // The whole text is one piece: text runs are not cut at its line ends.
    if (!m_document.AddLine(text ? std::string_view(text) : std::string_view()))
        return -6;
    if (!m_document.Finish())
        return -6;
    const int result = RunSession();
    const std::string output = m_document.Text();
    if (output.size() < static_cast<std::size_t>(m_outputSize))
        std::memcpy(m_outputBuffer, output.c_str(), output.size() + 1);
    return result;
}

int CValidator::ValidateDoc(const char* path)
{
    std::unique_ptr<std::istream> in = path ? platform::OpenForReading(path) : nullptr;
    if (!in) {
        ShowFileMessage(kCannotRead, path);
        return -4;
    }
    m_document.SetName(path);
    m_document.SetOriginFlag(1);
    m_document.Start(1, false);
    if (!m_document.Load(*in))
        return -4;
    m_sessionFileName = path;
    return RunSession();
}

int CValidator::ValidateDocCreate(const char* sessionFileName)
{
    m_sessionFileName = sessionFileName ? sessionFileName : "";
    // The page's remembered decisions are filed under its name: a page given
    // line by line is named by its session, never by the page before it, and
    // without a name it has no records at all.
    m_document.SetName(m_sessionFileName);
    m_document.SetOriginFlag(1);
    m_document.Start(1, false);
    return 1;
}

int CValidator::ValidateDocAddLine(const char* line)
{
    if (!line)
        return 0;
    return m_document.AddLine(line);
}

int CValidator::ValidateDocEndCreate()
{
    if (!m_document.Finish())
        return -4;
    return RunSession();
}

int CValidator::StartGetDocumentLine()
{
    m_document.StartReading();
    return 1;
}

int CValidator::GetNextDocumentLine(char* buffer, int length)
{
    bool more = false;
    const std::string line = m_document.NextLine(more);
    if (line.empty())
        return 1;
    // A line that does not fit is lost, as a host reading on would expect.
    if (!buffer || length <= 0 || line.size() >= static_cast<std::size_t>(length))
        return -1;
    std::memcpy(buffer, line.c_str(), line.size() + 1);
    return 0;
}

int CValidator::SaveDoc(const char* path)
{
    if (!path || !*path) {
        ShowFileMessage(kCannotWrite, path);
        return 0;
    }
    // Through a temporary file: a failed write leaves the old page as it was.
    const bool written = platform::WriteFileAtomically(
        path, [&](std::ostream& out) { return m_document.Write(out) != 0; });
    if (!written) {
        ShowFileMessage(kCannotWrite, path);
        return 0;
    }
    return 1;
}

void CValidator::DisplaySettings()
{
    if (!platform::Windows().CanShowWindows())
        return;
    CLanguageCodeList& languages = CLanguageCodeList::Library();
    const bool loadedHere = !languages.IsLoaded();
    if (loadedHere)
        languages.Load();
    // The sheet saved what the user chose; sessions from now on use it.
    if (RunSettingsSheet(nullptr) == 1) {
        m_settingsLoaded = true;
        LoadSettings();
    }
    if (loadedHere)
        languages.Free();
}

void CValidator::DisplayAbout()
{
    if (platform::Windows().CanShowWindows())
        ShowAboutDialog(nullptr);
}

CValidator& TheValidator()
{
    static CValidator validator;
    return validator;
}

} // namespace orvane
