#include "qt_help_viewer.h"

#include "qt_window_system.h"

#include "platform/paths.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QHelpContentWidget>
#include <QHelpContentModel>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLabel>
#include <QKeySequence>
#include <QLineEdit>
#include <QShortcut>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <algorithm>

namespace orvane::platform::qt {

namespace {

QString Tr(const char* text) { return QCoreApplication::translate("help", text); }

// Shows the pages of the help file; links to the network go to the user's browser.
class CHelpBrowser final : public QTextBrowser {
public:
    CHelpBrowser(QHelpEngine& engine, QWidget* parent) : QTextBrowser(parent), m_engine(engine)
    {
        setOpenLinks(false);
        connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
            const QUrl url = source().resolved(link);
            if (url.scheme() == "qthelp")
                setSource(url);
            else
                Windows().OpenAddress(url.toString().toStdString());
        });
    }

protected:
    // The topics' style sheet, from the help file itself: QTextDocument does
    // not follow a <link> to it.
    void doSetSource(const QUrl& url, QTextDocument::ResourceType type) override
    {
        if (url.scheme() == "qthelp")
            document()->setDefaultStyleSheet(QString::fromUtf8(m_engine.fileData(url.resolved(QUrl("help.css")))));
        QTextBrowser::doSetSource(url, type);
    }

public:
    QVariant loadResource(int type, const QUrl& name) override
    {
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        if (url.scheme() == "qthelp")
            return m_engine.fileData(url);
        return type == QTextDocument::HtmlResource ? QVariant() : QTextBrowser::loadResource(type, url);
    }

private:
    QHelpEngine& m_engine;
};

} // namespace

class CHelpWindow final : public QWidget {
public:
    CHelpWindow(const QString& collection, QWidget* parent) : QWidget(parent, Qt::Window)
    {
        engine = new QHelpEngine(collection, this);
        engine->setReadOnly(true);
        engine->setupData();

        auto* splitter = new QSplitter(this);
        tabs = new QTabWidget(splitter);
        browser = new CHelpBrowser(*engine, splitter);

        QHelpContentWidget* contents = engine->contentWidget();
        // Long titles scroll rather than being cut short.
        contents->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        contents->header()->setStretchLastSection(false);
        tabs->addTab(contents, QString());
        connect(contents, &QHelpContentWidget::linkActivated, browser, [this](const QUrl& url) { browser->setSource(url); });
        connect(engine->contentModel(), &QHelpContentModel::contentsCreated, this, [this] { MarkInContents(); });

        auto* indexPage = new QWidget;
        auto* indexLayout = new QVBoxLayout(indexPage);
        lookFor = new QLabel(indexPage);
        auto* filter = new QLineEdit(indexPage);
        lookFor->setBuddy(filter);
        QHelpIndexWidget* index = engine->indexWidget();
        indexLayout->addWidget(lookFor);
        indexLayout->addWidget(filter);
        indexLayout->addWidget(index);
        tabs->addTab(indexPage, QString());
        connect(filter, &QLineEdit::textChanged, index, [index](const QString& text) { index->filterIndices(text); });
        // Typing narrows the index to the first entry that fits; Enter opens it.
        connect(filter, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
        connect(index, &QHelpIndexWidget::documentActivated, browser,
                [this](const QHelpLink& link, const QString&) { browser->setSource(link.url); });

        auto* searchPage = new QWidget;
        auto* searchLayout = new QVBoxLayout(searchPage);
        QHelpSearchEngine* search = engine->searchEngine();
        searchLayout->addWidget(search->queryWidget());
        searchLayout->addWidget(search->resultWidget());
        searchWords = search->queryWidget()->findChild<QLineEdit*>();
        searchResults = search->resultWidget()->findChild<QTextBrowser*>();
        tabs->addTab(searchPage, QString());
        connect(search->queryWidget(), &QHelpSearchQueryWidget::search, search,
                [search] { search->search(search->queryWidget()->searchInput()); });
        connect(search->resultWidget(), &QHelpSearchResultWidget::requestShowLink, browser,
                [this](const QUrl& url) { browser->setSource(url); });
        connect(engine, &QHelpEngineCore::setupFinished, search, [search] { search->scheduleIndexDocumentation(); });
        search->scheduleIndexDocumentation();

        // A mnemonic of a tab takes the keyboard to what the tab is for (its
        // tree, the index's filter, the search words); arrow keys on the tabs
        // leave it there.
        tabTargets = {contents, filter, searchWords};
        tabs->tabBar()->installEventFilter(this);
        // Escape closes the window, as it does every other window of the program.
        auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
        close->setContext(Qt::WindowShortcut);
        connect(close, &QShortcut::activated, this, &QWidget::close);

        splitter->setStretchFactor(0, 1);
        splitter->setStretchFactor(1, 2);
        splitter->setSizes({300, 600});
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(splitter);
        resize(900, 600);
        Translate();
    }

    // Shows a topic and marks it in the contents (once they are read).
    void ShowUrl(const QUrl& url)
    {
        browser->setSource(url);
        MarkInContents();
    }

    QHelpEngine* engine = nullptr;
    QTextBrowser* browser = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == tabs->tabBar() && event->type() == QEvent::Shortcut) {
            // After the tab bar has shown the tab.
            QMetaObject::invokeMethod(this, [this] {
                QWidget* target = tabTargets.value(tabs->currentIndex());
                if (target)
                    target->setFocus(Qt::ShortcutFocusReason);
            }, Qt::QueuedConnection);
        }
        return QWidget::eventFilter(watched, event);
    }

    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::LanguageChange)
            Translate();
        QWidget::changeEvent(event);
    }

private:
    void MarkInContents()
    {
        QHelpContentWidget* contents = engine->contentWidget();
        const QModelIndex index = contents->indexOf(browser->source());
        if (index.isValid()) {
            contents->setCurrentIndex(index);
            contents->scrollTo(index);
        }
    }

    void Translate()
    {
        setWindowTitle(Tr("Orvane Help"));
        tabs->setAccessibleName(Tr("Navigation"));
        browser->setAccessibleName(Tr("Help topic"));
        engine->contentWidget()->setAccessibleName(Tr("Contents"));
        engine->indexWidget()->setAccessibleName(Tr("Index"));
        tabs->setTabText(0, Tr("&Contents"));
        tabs->setTabText(1, Tr("&Index"));
        tabs->setTabText(2, Tr("&Search"));
        lookFor->setText(Tr("&Look for:"));
        if (searchWords)
            searchWords->setAccessibleName(Tr("Search words"));
        if (searchResults)
            searchResults->setAccessibleName(Tr("Search results"));
    }

    QTabWidget* tabs = nullptr;
    QLabel* lookFor = nullptr;
    QLineEdit* searchWords = nullptr;
    QTextBrowser* searchResults = nullptr;
    QList<QWidget*> tabTargets;
};

CQtHelpViewer::~CQtHelpViewer()
{
    // At the process's exit the application may be gone already, and the
    // help engine with it: then the window is left to the exit.
    if (QCoreApplication::instance())
        delete m_window.data();
}

namespace {

QDateTime NewestOf(QHelpEngineCore& help, const QString& collection)
{
    QDateTime newest = QFileInfo(collection).lastModified();
    for (const QString& name : help.registeredDocumentations())
        newest = std::max(newest, QFileInfo(help.documentationFileName(name)).lastModified());
    return newest;
}

// A help engine writes its search index, and what else it keeps, beside its
// collection file, and the folder of an installation is not the user's to
// write: the window works on a collection of the user's own in the cache
// folder, which holds the installed help files and is made again when they
// are newer. Where none can be made, the installed collection itself (its
// topics show; search may not).
QString UsersCollectionFor(QHelpEngineCore& help, const QString& collection)
{
    const QFileInfo installed(collection);
    // Named after where it comes from, so that a build and an installation keep apart.
    const QString origin =
        QCryptographicHash::hash(installed.absoluteFilePath().toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    const QString folder = QFile::decodeName(QByteArray::fromStdString(UserCacheDirectory())) + "/help";
    const QString name = installed.completeBaseName() + "-" + origin;
    const QString own = folder + "/" + name + ".qhc";
    const QFileInfo made(own);
    if (made.isFile() && made.lastModified() >= NewestOf(help, collection))
        return own;
    // The index of the old one goes with it.
    QDir(folder + "/." + name).removeRecursively();
    QFile::remove(own);
    if (!QDir().mkpath(folder))
        return collection;
    // The installed help files registered anew: QHelpEngineCore's copy of
    // a collection leaves out the tables that list their files.
    bool registered = false;
    {
        QHelpEngineCore ownHelp(own);
        ownHelp.setReadOnly(false);
        registered = ownHelp.setupData();
        for (const QString& documentation : help.registeredDocumentations())
            registered = registered && ownHelp.registerDocumentation(help.documentationFileName(documentation));
    }
    if (!registered) {
        QFile::remove(own);
        return collection;
    }
    return own;
}

} // namespace

bool CQtHelpViewer::Open(const std::string& helpFile)
{
    const QString collection = QFile::decodeName(QByteArray::fromStdString(helpFile));
    if (!QFileInfo(collection).isFile())
        return false;
    QHelpEngineCore probe(collection);
    probe.setReadOnly(true);
    if (!probe.setupData() || probe.registeredDocumentations().isEmpty())
        return false;
    // Another help file (the other language's) gets a window of its own.
    const QString own = UsersCollectionFor(probe, collection);
    if (own != m_collection && QCoreApplication::instance())
        delete m_window.data();
    m_collection = own;
    m_namespace = probe.registeredDocumentations().first();
    m_openFile = helpFile;
    return true;
}

bool CQtHelpViewer::ShowTopic(IWindow* owner, std::string_view topic)
{
    if (m_collection.isEmpty() || topic.empty())
        return false;
    const QUrl url(QString("qthelp://%1/doc/%2").arg(m_namespace, QString::fromUtf8(topic.data(), static_cast<qsizetype>(topic.size()))));
    // A child of a modal owner, so that it can be used while the owner is open.
    QWidget* ownerWidget = WidgetOf(owner);
    if (m_window && m_window->parentWidget() != ownerWidget) {
        const QRect geometry = m_window->geometry();
        m_window->setParent(ownerWidget, Qt::Window);
        m_window->setGeometry(geometry);
    }
    if (!m_window)
        m_window = new CHelpWindow(m_collection, ownerWidget);
    if (m_window->engine->fileData(url).isEmpty())
        return false;
    m_window->ShowUrl(url);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    return true;
}

QWidget* CQtHelpViewer::Window() const { return m_window.data(); }

} // namespace orvane::platform::qt
