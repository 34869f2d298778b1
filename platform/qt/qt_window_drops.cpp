// What reaches the window from outside the user's keys: dropped files, a
// watched folder's changes, and the logic's timers.

#include "qt_window.h"
#include "qt_window_p.h"

#include <QAbstractItemView>
#include <QDir>
#include <QDropEvent>
#include <QFileSystemWatcher>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

namespace orvane::platform::qt {
namespace {

// How many files of a watched folder are watched besides the folder, so that
// one large folder does not use up what the system allows a user.
constexpr int kWatchedFilesMax = 500;
// Changes coming in a burst (a program saving through a temporary file) are
// taken up together, this long after the first.
constexpr int kFolderSettleMilliseconds = 250;

// The file a file: address names, as the bytes of its path: the address
// carries a name that is not UTF-8 as %-escaped bytes, which a QString
// would not give back.
std::string LocalPathOf(const QUrl& url)
{
    const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// The local files among those dropped.
std::vector<std::string> DroppedPaths(const QMimeData* data)
{
    std::vector<std::string> paths;
    if (!data)
        return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths.push_back(LocalPathOf(url));
    }
    return paths;
}

} // namespace

bool CQtWindow::CDropEvents::eventFilter(QObject*, QEvent* event)
{
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDropEvent*>(event);
        if (!DroppedPaths(drag->mimeData()).empty()) {
            drag->acceptProposedAction();
            return true;
        }
    } else if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const std::vector<std::string> paths = DroppedPaths(drop->mimeData());
        if (!paths.empty() && !m_window.HasEnded()) {
            drop->acceptProposedAction();
            // Taken up once the drop has ended: checking them may take a
            // while and ask questions, and the program the files came
            // from waits for the drop to end until then.
            QMetaObject::invokeMethod(
                this,
                [this, paths] {
                    if (!m_window.HasEnded())
                        m_window.m_logic.OnDropFiles(m_window, paths);
                },
                Qt::QueuedConnection);
            return true;
        }
    }
    return false;
}

void CQtWindow::StartTimer(int timer, int milliseconds)
{
    QTimer*& qtimer = m_timers[timer];
    if (!qtimer) {
        qtimer = new QTimer;
        QObject::connect(qtimer, &QTimer::timeout, qtimer, [this, timer] {
            if (!m_ended)
                m_logic.OnTimer(*this, timer);
        });
    }
    qtimer->start(milliseconds);
}

void CQtWindow::StopTimer(int timer)
{
    if (auto it = m_timers.find(timer); it != m_timers.end())
        it->second->stop();
}

void CQtWindow::WatchFolder(std::string_view folder)
{
    if (!m_widget)
        return;
    if (!m_folderWatcher) {
        m_folderWatcher = new QFileSystemWatcher(m_widget);
        m_folderSettle = new QTimer(m_widget);
        m_folderSettle->setSingleShot(true);
        m_folderSettle->setInterval(kFolderSettleMilliseconds);
        QObject::connect(m_folderSettle, &QTimer::timeout, m_widget, [this] {
            // Files added since are watched too, and those replaced by a
            // rename (the way many programs save) again.
            WatchFolderFiles();
            if (!m_ended)
                m_logic.OnFolderChanged(*this);
        });
        auto changed = [this] {
            if (!m_folderSettle->isActive())
                m_folderSettle->start();
        };
        QObject::connect(m_folderWatcher, &QFileSystemWatcher::directoryChanged, m_widget, changed);
        QObject::connect(m_folderWatcher, &QFileSystemWatcher::fileChanged, m_widget, changed);
    }
    m_folderSettle->stop();
    if (const QStringList watched = m_folderWatcher->files() + m_folderWatcher->directories(); !watched.isEmpty())
        m_folderWatcher->removePaths(watched);
    m_watchedFolder = QFile::decodeName(QByteArray(folder.data(), static_cast<qsizetype>(folder.size())));
    WatchFolderFiles();
}

void CQtWindow::WatchFolderFiles()
{
    if (!m_folderWatcher || m_watchedFolder.isEmpty())
        return;
    const QDir folder(m_watchedFolder);
    QStringList paths{m_watchedFolder};
    const QStringList files = folder.entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (qsizetype i = 0; i < files.size() && i < kWatchedFilesMax; ++i)
        paths << folder.filePath(files[i]);
    const QStringList watched = m_folderWatcher->files() + m_folderWatcher->directories();
    QStringList added;
    for (const QString& path : paths) {
        if (!watched.contains(path))
            added << path;
    }
    if (!added.isEmpty())
        m_folderWatcher->addPaths(added);
}

void CQtWindow::AcceptDroppedFiles()
{
    if (!m_widget || m_drops)
        return;
    m_drops = std::make_unique<CDropEvents>(*this);
    m_widget->setAcceptDrops(true);
    m_widget->installEventFilter(m_drops.get());
    for (auto& [id, control] : m_controls) {
        if (auto* view = qobject_cast<QAbstractItemView*>(control.widget.data())) {
            view->viewport()->setAcceptDrops(true);
            view->viewport()->installEventFilter(m_drops.get());
        }
    }
}

} // namespace orvane::platform::qt
