#include "tamsel_app.h"

#include "dynamic_checker_library.h"
#include "selector/selector_dlg.h"
#include "selector/selector_ids.h"

#include "platform/bundle_strings.h"
#include "platform/language.h"
#include "platform/paths.h"
#include "platform/qt/qt_session.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "platform/string_table.h"
#include "platform/window.h"

#include <QFile>
#include <QMimeDatabase>

#include <filesystem>
#include <iostream>

namespace orvane::selector::qt {
namespace {

// The desktop's own name of a file's type, in the user's language.
std::string DesktopTypeName(const std::string& path, bool folder)
{
    static QMimeDatabase types;
    const QMimeType type =
        folder ? types.mimeTypeForName("inode/directory")
               : types.mimeTypeForFile(QFile::decodeName(QByteArray::fromStdString(path)), QMimeDatabase::MatchExtension);
    return type.isValid() && !type.isDefault() ? type.comment().toStdString() : std::string();
}

// The program's own copy of a string table of its bundle.
platform::CStringTable OwnStrings(const std::string& language)
{
    platform::CStringTable strings;
    QFile file(QString(":/tamsel-own/strings/%1.txt").arg(QString::fromStdString(language)));
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray text = file.readAll();
        strings.Parse(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    }
    return strings;
}

// Without its bundle the program has no window to show, and none of its
// texts but its own copy: it says so in a message box, and on standard
// error for those who started it from a terminal.
void TellBundleMissing(const std::string& bundle)
{
    platform::qt::StartProgramWindows();
    const platform::CStringTable english = OwnStrings("en");
    const platform::CStringTable translated = OwnStrings(platform::UiLanguage());
    auto textOf = [&](int id) {
        const std::string own = translated.Get(id);
        return own.empty() ? english.Get(id) : own;
    };
    const std::string message = platform::FormatMessage(textOf(text::kNoBundle), {bundle});
    std::cerr << textOf(text::kCaption) << ": " << message << '\n';
    platform::Prompt().Show(textOf(text::kCaption), message, platform::PromptIcon::Exclamation,
                            platform::PromptButtons::Ok);
}

// A folder named on the command line, written as the window writes the
// folders it lists: whole from the root, without a separator at its end.
std::string WholeFolderPath(const std::string& folder)
{
    std::error_code error;
    const std::filesystem::path whole = std::filesystem::absolute(folder, error);
    if (error)
        return folder;
    std::string text = whole.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

} // namespace

int RunTamsel(const std::string& bundle, const std::string& startFolder)
{
    if (!platform::InstallBundleStrings(bundle)) {
        TellBundleMissing(bundle);
        return 1;
    }
    platform::qt::StartProgramWindows();
    platform::SetRegistry(&platform::UserRegistry());
    CDynamicCheckerLibrary library;
    CDiskFiles files;
    files.SetTypeNamer(DesktopTypeName);
    CSelectorDlg selector(library, files, JoinPath(platform::UserDataDirectory(), "OrvaneFileDatabase.txt"));
    if (!startFolder.empty())
        selector.OpenAt(WholeFolderPath(startFolder));
    return platform::Windows().RunModal(kTemplateSelector, selector, nullptr) < 0 ? 1 : 0;
}

} // namespace orvane::selector::qt
