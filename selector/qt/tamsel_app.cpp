#include "tamsel_app.h"

#include "dynamic_checker_library.h"
#include "selector/selector_dlg.h"
#include "selector/selector_ids.h"

#include "platform/bundle_strings.h"
#include "platform/paths.h"
#include "platform/qt/qt_session.h"
#include "platform/registry.h"
#include "platform/window.h"

#include <QFile>
#include <QMimeDatabase>

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

} // namespace

int RunTamsel()
{
    if (!platform::InstallBundleStrings("TamselResources.rcc")) {
        std::cerr << "Tamsel: its resource bundle TamselResources.rcc is not beside the program\n";
        return 1;
    }
    platform::qt::StartProgramWindows();
    platform::SetRegistry(&platform::UserRegistry());
    CDynamicCheckerLibrary library;
    CDiskFiles files;
    files.SetTypeNamer(DesktopTypeName);
    CSelectorDlg selector(library, files, JoinPath(platform::UserDataDirectory(), "OrvaneFileDatabase.txt"));
    return platform::Windows().RunModal(kTemplateSelector, selector, nullptr) < 0 ? 1 : 0;
}

} // namespace orvane::selector::qt
