#include "platform/resource_bundle.h"

#include <QFile>
#include <QFileInfo>
#include <QResource>

#include <atomic>

namespace orvane::platform {

bool CResourceBundle::Load(const std::string& path)
{
    static std::atomic<int> counter{0};
    // Named after the file too: the library and a program loading it each
    // count their own bundles, in the one resource tree of the process.
    QString root = QString("/orvane-bundle-%1-%2").arg(QFileInfo(QString::fromStdString(path)).completeBaseName()).arg(counter++);
    if (!QResource::registerResource(QString::fromStdString(path), root))
        return false;
    m_path = path;
    m_root = root.toStdString();
    return true;
}

void CResourceBundle::Unload()
{
    if (IsLoaded())
        QResource::unregisterResource(QString::fromStdString(m_path), QString::fromStdString(m_root));
    m_path.clear();
    m_root.clear();
}

CResourceBundle::~CResourceBundle() { Unload(); }

std::optional<std::string> CResourceBundle::ReadFile(const std::string& name) const
{
    if (!IsLoaded())
        return std::nullopt;
    QFile file(QString::fromStdString(":" + m_root + "/" + name));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace orvane::platform
