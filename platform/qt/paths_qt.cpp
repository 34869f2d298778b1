#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdlib>
#include <dlfcn.h>

namespace orvane::platform {

std::string ModuleDirectory()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ModuleDirectory), &info) && info.dli_fname) {
        QFileInfo file(QString::fromLocal8Bit(info.dli_fname));
        return file.absoluteDir().absolutePath().toStdString();
    }
    return QDir::currentPath().toStdString();
}

std::string FindDataFile(const std::string& name)
{
    QDir module(QString::fromStdString(ModuleDirectory()));
    const QString fileName = QString::fromStdString(name);
    // Beside the module (a build folder, a portable copy), in the library folder
    // beside a program's folder, or in the installation's share folder.
    for (const QString& candidate : {module.filePath(fileName), module.filePath("../lib/" + fileName),
                                     module.filePath("../share/orvane/" + fileName),
                                     module.filePath("../../share/orvane/" + fileName)}) {
        if (QFileInfo::exists(candidate))
            return QDir::cleanPath(candidate).toStdString();
    }
    return {};
}

namespace {

// $ORVANE_HOME, where tests and portable setups keep all per-user state;
// empty when it is not set.
QString OrvaneHome()
{
    const char* home = std::getenv("ORVANE_HOME");
    return home && *home ? QString::fromLocal8Bit(home) : QString();
}

std::string MadeFolder(const QString& folder)
{
    QDir().mkpath(folder);
    return QDir(folder).absolutePath().toStdString();
}

} // namespace

std::string UserDataDirectory()
{
    if (const QString home = OrvaneHome(); !home.isEmpty())
        return MadeFolder(home);
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (folder.isEmpty())
        folder = QDir::homePath() + "/.local/share";
    return MadeFolder(folder + "/Orvane");
}

std::string UserCacheDirectory()
{
    if (const QString home = OrvaneHome(); !home.isEmpty())
        return MadeFolder(home + "/cache");
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return MadeFolder(folder.isEmpty() ? QDir::homePath() + "/.cache/Orvane" : folder);
}

} // namespace orvane::platform
