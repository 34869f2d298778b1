// The library's own windows: the About box and the help window.
#include "scene.h"

#include "library/dialogs/about_dialog.h"
#include "library/dialogs/help_topic.h"
#include "platform/bundle_strings.h"
#include "platform/qt/qt_help_viewer.h"
#include "platform/qt/qt_session.h"

#include <QHelpContentWidget>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QLineEdit>
#include <QEventLoop>
#include <QTimer>
#include <QTabWidget>
#include <QWidget>

ORVANE_SCENE(about) { orvane::ShowAboutDialog(nullptr); }

ORVANE_SCENE(help)
{
    using namespace orvane::screenshots;
    if (orvane::ShowHelpTopic(nullptr, "1-1-1.html") == 0)
        return;
    QWidget* window = orvane::platform::qt::QtHelpViewer()->Window();
    Shots().Settle(300);
    if (auto* contents = window->findChild<QHelpContentWidget*>())
        contents->expandToDepth(0);
    Shots().Settle(100);
    Shots().Grab(*window);
}

// A window's topic, translated, with the contents open at its group.
ORVANE_SCENE(help_window_topic)
{
    using namespace orvane::screenshots;
    if (orvane::ShowHelpTopic(nullptr, "Conformance.html") == 0)
        return;
    QWidget* window = orvane::platform::qt::QtHelpViewer()->Window();
    Shots().Settle(300);
    if (auto* contents = window->findChild<QHelpContentWidget*>())
        contents->expandToDepth(1);
    Shots().Settle(100);
    Shots().Grab(*window);
}

// The search page with the hits for a word of the window topics.
ORVANE_SCENE(help_search)
{
    using namespace orvane::screenshots;
    if (orvane::ShowHelpTopic(nullptr, "SavingFiles.html") == 0)
        return;
    QWidget* window = orvane::platform::qt::QtHelpViewer()->Window();
    auto* tabs = window->findChild<QTabWidget*>();
    auto* search = window->findChild<QHelpSearchEngine*>();
    if (!tabs || !search)
        return;
    tabs->setCurrentIndex(2);
    // The new window indexes its help first (briefly, when the index is there).
    QEventLoop indexing;
    QTimer::singleShot(15000, &indexing, &QEventLoop::quit);
    QObject::connect(search, &QHelpSearchEngine::indexingFinished, &indexing, &QEventLoop::quit);
    indexing.exec();
    const QString word = orvane::platform::BundleLanguage() == "de" ? "Sicherungskopie" : "backup";
    if (auto* words = search->queryWidget()->findChild<QLineEdit*>())
        words->setText(word);
    QEventLoop searching;
    QTimer::singleShot(60000, &searching, &QEventLoop::quit);
    QObject::connect(search, &QHelpSearchEngine::searchingFinished, &searching, &QEventLoop::quit);
    search->search(word);
    searching.exec();
    Shots().Settle(300);
    Shots().Grab(*window);
}
