#include "qt_browser.h"

#include "platform/window.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace orvane::platform::qt {
namespace {

bool IsNetworkAddress(const QUrl& url)
{
    return !url.isLocalFile() && !url.scheme().isEmpty() && url.scheme() != "qrc" && url.scheme().size() > 1;
}

QUrl UrlOf(std::string_view address)
{
    const QString text = QString::fromUtf8(address.data(), static_cast<qsizetype>(address.size()));
    QUrl url(text);
    // A path (also "C:/x" style) is a file; "file:", "http:" ... are addresses.
    if (url.scheme().size() <= 1)
        return QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
    return url;
}

} // namespace

CQtBrowser::CQtBrowser(QTextBrowser* view) : m_view(view)
{
    view->setOpenLinks(false);
    view->setOpenExternalLinks(false);
    QObject::connect(view, &QTextBrowser::anchorClicked, view, [this](const QUrl& url) {
        if (url.isLocalFile() || url.isRelative())
            Navigate(m_view->source().resolved(url).toString().toStdString());
        else
            Windows().OpenAddress(url.toString().toStdString());
    });
}

void CQtBrowser::Navigate(std::string_view address)
{
    if (!m_view)
        return;
    m_address = std::string(address);
    const QUrl url = UrlOf(address);
    if (IsNetworkAddress(url)) {
        const QString link = url.toString().toHtmlEscaped();
        m_view->setHtml(QString("<p>%1</p><p><a href=\"%2\">%2</a></p>")
                            .arg(QCoreApplication::translate("browser", "This page is on the network and is not loaded here. Open it in your web browser:").toHtmlEscaped(), link));
        return;
    }
    m_view->setSearchPaths({QFileInfo(url.toLocalFile()).absolutePath()});
    m_view->setSource(url, QTextDocument::HtmlResource);
}

void CQtBrowser::Refresh()
{
    if (m_view && m_view->source().isValid())
        m_view->reload();
}

int CQtBrowser::Width() const { return m_view ? m_view->viewport()->width() : 0; }

} // namespace orvane::platform::qt

namespace orvane::platform::qt {

void CQtBrowser::SetResourceFolder(std::string_view folder)
{
    if (m_view)
        m_view->setSearchPaths({QString::fromUtf8(folder.data(), static_cast<qsizetype>(folder.size()))});
}

} // namespace orvane::platform::qt
