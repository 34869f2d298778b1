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

std::string UserDataDirectory()
{
    QString folder;
    if (const char* home = std::getenv("ORVANE_HOME"); home && *home) {
        folder = QString::fromLocal8Bit(home);
    } else {
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        if (folder.isEmpty())
            folder = QDir::homePath() + "/.local/share";
        folder += "/Orvane";
    }
    QDir().mkpath(folder);
    return QDir(folder).absolutePath().toStdString();
}

} // namespace orvane::platform
