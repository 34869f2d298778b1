// Renders every scene in English and German to PNG files:
//   orvane_screenshots [--out FOLDER] [--lang en,de] [SCENE...]
#include "scene.h"

#include "platform/bundle_strings.h"
#include "platform/qt/qt_session.h"
#include "platform/qt/qt_window_system.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include <iostream>
#include <memory>
#include <set>
#include <vector>

namespace orvane::screenshots {
namespace {

std::vector<Scene>& Registry()
{
    static std::vector<Scene> scenes;
    return scenes;
}

class CFileShots final : public CShots {
public:
    CFileShots(QString folder, std::string language) : m_folder(std::move(folder)), m_language(std::move(language)) {}

    void Start(const std::string& scene)
    {
        m_scene = scene;
        m_count = 0;
    }

    void Grab(QWidget& widget) override
    {
        ++m_count;
        std::string name = m_scene;
        if (m_count > 1)
            name += "-" + std::to_string(m_count);
        const QString path = QDir(m_folder).filePath(QString::fromStdString(name + "-" + m_language + ".png"));
        if (widget.grab().save(path, "PNG")) {
            std::cout << path.toStdString() << "\n";
            ++written;
        } else {
            std::cerr << "orvane_screenshots: could not write " << path.toStdString() << "\n";
            ++failures;
        }
    }

    void Settle(int milliseconds) override
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < milliseconds)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    std::string ExamplesFolder() const override { return ORVANE_EXAMPLES_FOLDER; }

    int written = 0;
    int failures = 0;

private:
    QString m_folder;
    std::string m_language;
    std::string m_scene;
    int m_count = 0;
};

CFileShots* g_shots = nullptr;

} // namespace

int RegisterScene(Scene scene)
{
    Registry().push_back(std::move(scene));
    return static_cast<int>(Registry().size());
}

CShots& Shots() { return *g_shots; }

} // namespace orvane::screenshots

int main(int argc, char** argv)
{
    using namespace orvane;
    using namespace orvane::screenshots;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The windows are drawn offscreen for the pictures: shown all the same.
    qputenv("ORVANE_SESSION", "windows");
    QApplication application(argc, argv);
    QString folder = "screenshots";
    std::vector<std::string> languages = {"en", "de"};
    std::set<std::string> only;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--out" && i + 1 < argc) {
            folder = argv[++i];
        } else if (argument == "--lang" && i + 1 < argc) {
            languages.clear();
            for (const QString& language : QString(argv[++i]).split(',', Qt::SkipEmptyParts))
                languages.push_back(language.toStdString());
        } else {
            only.insert(argument);
        }
    }
    QDir().mkpath(folder);
    if (!platform::InstallBundleStrings("OrvaneResources.rcc") || !platform::qt::StartWindows()) {
        std::cerr << "orvane_screenshots: the resource bundle or the window system is not available\n";
        return 1;
    }
    platform::qt::CQtWindowSystem& windows = *platform::qt::QtWindows();
    int written = 0;
    int failures = 0;
    for (const std::string& language : languages) {
        platform::qt::UseLanguage(language);
        CFileShots shots(folder, language);
        g_shots = &shots;
        for (const Scene& scene : Registry()) {
            if (!only.empty() && !only.count(scene.name))
                continue;
            shots.Start(scene.name);
            windows.SetShowHook([&](QWidget& widget, platform::IWindow& window) {
                if (scene.prepare)
                    scene.prepare(window, widget);
                shots.Settle(50);
                shots.Grab(widget);
                if (!window.HasEnded())
                    window.End(platform::kIdCancel);
            });
            scene.run();
            windows.SetShowHook(nullptr);
            for (QWidget* top : QApplication::topLevelWidgets())
                top->close();
        }
        written += shots.written;
        failures += shots.failures;
        g_shots = nullptr;
    }
    std::cout << written << " screenshots in " << QDir(folder).absolutePath().toStdString() << "\n";
    return failures == 0 && written > 0 ? 0 : 1;
}
