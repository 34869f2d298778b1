#include "qt_browser.h"

#include "platform/window.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QLayout>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrl>

#include <algorithm>
#include <vector>

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
    if (url.scheme().size() > 1)
        return url;
    // "page.html#part": a place in the file, unless a file of that whole name exists.
    const qsizetype hash = text.lastIndexOf('#');
    if (hash < 0 || QFileInfo::exists(text))
        return QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
    QUrl file = QUrl::fromLocalFile(QFileInfo(text.left(hash)).absoluteFilePath());
    file.setFragment(text.mid(hash + 1));
    return file;
}

QString AttributeValue(const QString& attributes, const QString& name)
{
    static const QRegularExpression attribute(
        R"(([A-Za-z][\w:-]*)\s*(?:=\s*("[^"]*"|'[^']*'|[^\s"'>]+))?)");
    for (auto it = attribute.globalMatch(attributes); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.captured(1).compare(name, Qt::CaseInsensitive) != 0)
            continue;
        QString value = match.captured(2);
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\''))
            value = value.mid(1, value.size() - 2);
        return match.capturedLength(2) ? value : name;
    }
    return {};
}

QString Boxed(const QString& html) { return "<span style=\"background-color:#e4e4e4; color:#000000\">&nbsp;" + html + "&nbsp;</span>"; }

QString StandInForInput(const QString& attributes)
{
    const QString type = AttributeValue(attributes, "type").toLower();
    const QString value = AttributeValue(attributes, "value");
    const bool checked = !AttributeValue(attributes, "checked").isEmpty();
    if (type == "hidden")
        return {};
    if (type == "checkbox")
        return checked ? QString::fromUtf8("\u2612") : QString::fromUtf8("\u2610");
    if (type == "radio")
        return checked ? QString::fromUtf8("\u25c9") : QString::fromUtf8("\u25cb");
    if (type == "image")
        return QString("<img src=\"%1\" alt=\"%2\">").arg(AttributeValue(attributes, "src"), AttributeValue(attributes, "alt"));
    if (type == "submit" || type == "reset" || type == "button")
        return Boxed(value.isEmpty() ? (type == "reset" ? "Reset" : "Submit") : value);
    // A field: as wide as a short entry, showing what it holds.
    QString shown = type == "password" ? QString(value.size(), QChar(0x2022)) : value;
    return Boxed(shown + QString("&nbsp;").repeated(std::max<qsizetype>(2, 20 - shown.size())));
}

// Qt's rich text has no form controls: a preview of a form would show its
// labels and not the fields under repair. Each control becomes text that
// looks like it: a field its value in a box, a button its label, a check box
// or radio button its mark, a text area its text in a framed cell.
QString WithVisibleFormControls(QString html)
{
    static const QRegularExpression input(R"(<input\b([^>]*)>)", QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression area(R"(<textarea\b[^>]*>(.*?)</textarea\s*>)",
                                         QRegularExpression::CaseInsensitiveOption |
                                             QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression select(R"(<select\b[^>]*>(.*?)</select\s*>)",
                                           QRegularExpression::CaseInsensitiveOption |
                                               QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression option(R"(<option\b([^>]*)>([^<]*))", QRegularExpression::CaseInsensitiveOption);
    auto replaceAll = [&html](const QRegularExpression& pattern, auto standIn) {
        QString result;
        qsizetype done = 0;
        for (auto it = pattern.globalMatch(html); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            result += html.mid(done, match.capturedStart() - done) + standIn(match);
            done = match.capturedEnd();
        }
        html = result + html.mid(done);
    };
    replaceAll(input, [](const QRegularExpressionMatch& match) { return StandInForInput(match.captured(1)); });
    replaceAll(area, [](const QRegularExpressionMatch& match) {
        const QString text = match.captured(1).trimmed().isEmpty() ? "&nbsp;<br>&nbsp;" : match.captured(1);
        return "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"60%\"><tr><td>"
               "<pre style=\"margin:0\">" + text + "</pre></td></tr></table>";
    });
    replaceAll(select, [](const QRegularExpressionMatch& match) {
        QString shown;
        for (auto it = option.globalMatch(match.captured(1)); it.hasNext();) {
            const QRegularExpressionMatch choice = it.next();
            if (shown.isEmpty() || !AttributeValue(choice.captured(1), "selected").isEmpty())
                shown = choice.captured(2).trimmed();
        }
        return Boxed(shown + QString::fromUtf8(" \u25be"));
    });
    // What follows a heading without a block of its own starts a new line, as
    // in a web browser (Qt would run it on in the heading).
    static const QRegularExpression headingEnd(
        R"((</h[1-6]\s*>)(?=\s*(?:[^<\s]|<(?!/|p\b|div\b|h[1-6]\b|hr\b|table\b|ul\b|ol\b|dl\b|pre\b|blockquote\b|form\b|center\b|address\b))))",
        QRegularExpression::CaseInsensitiveOption);
    html.replace(headingEnd, "\\1<div>");
    return html;
}

} // namespace

CQtBrowser::CQtBrowser(QTextBrowser* view) : m_view(view)
{
    view->setOpenLinks(false);
    view->setOpenExternalLinks(false);
    QObject::connect(view, &QTextBrowser::anchorClicked, view, [this](const QUrl& url) {
        if (url.isLocalFile() || url.isRelative())
            Navigate(UrlOf(m_address).resolved(url).toLocalFile().toStdString());
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
    m_shownFolder = QFileInfo(url.toLocalFile()).absolutePath();
    UseSearchPaths();
    QFile file(url.toLocalFile());
    if (!file.open(QIODevice::ReadOnly)) {
        m_view->clear();
        return;
    }
    // Decoded as a web browser decodes it: by its byte order mark or its
    // declared character set, else as UTF-8.
    const QByteArray bytes = file.readAll();
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Utf8);
    m_view->setHtml(WithVisibleFormControls(decoder(bytes)));
    if (!url.fragment().isEmpty())
        m_view->scrollToAnchor(url.fragment());
}

void CQtBrowser::Refresh()
{
    if (m_view && !m_address.empty())
        Navigate(std::string(m_address));
}

int CQtBrowser::Width() const
{
    if (!m_view)
        return 0;
    // A page asks while its window is being made, before it is shown: the
    // viewport would still have a new widget's size, far narrower than shown,
    // so the view is laid out and its inner width taken.
    if (!m_view->isVisible()) {
        std::vector<QWidget*> outer;
        for (QWidget* widget = m_view->parentWidget(); widget; widget = widget->parentWidget())
            outer.push_back(widget);
        for (auto widget = outer.rbegin(); widget != outer.rend(); ++widget) {
            if (QLayout* layout = (*widget)->layout())
                layout->activate();
        }
        return m_view->contentsRect().width();
    }
    return m_view->viewport()->width();
}

} // namespace orvane::platform::qt

namespace orvane::platform::qt {

void CQtBrowser::SetResourceFolder(std::string_view folder)
{
    m_resourceFolder = QFile::decodeName(QByteArray(folder.data(), static_cast<qsizetype>(folder.size())));
    UseSearchPaths();
}

// Names are looked up beside the page shown first, then in the resource
// folder: a preview written apart from its page finds that page's images.
void CQtBrowser::UseSearchPaths()
{
    if (!m_view)
        return;
    QStringList paths;
    if (!m_shownFolder.isEmpty())
        paths << m_shownFolder;
    if (!m_resourceFolder.isEmpty() && !paths.contains(m_resourceFolder))
        paths << m_resourceFolder;
    m_view->setSearchPaths(paths);
}

} // namespace orvane::platform::qt
