#pragma once

// Scenes of `make screenshots`. A scene runs a dialog's real logic through the
// Qt window system; every modal window it opens is grabbed once it is on the
// screen and then closed (as by Escape), so a scene is usually one call:
//
//   #include "tools/screenshots/scene.h"
//   ORVANE_SCENE(settings) { orvane::ShowSettingsSheet(nullptr); }
//
// The files are <scene>-<language>.png, and <scene>-<n>-<language>.png for the
// second and later windows of a scene. To put a window in a state before it is
// grabbed (a row selected, a page shown), give the scene a preparation:
//
//   ORVANE_SCENE_PREPARED(overview, [](platform::IWindow& window, QWidget&) {
//       window.SetItemSelected(1267, 0, true);
//   }) { RunOverviewOnSamplePage(); }
//
// Windows that are not modal (the help window) are grabbed by the scene itself
// with Shots().Grab(widget).

#include "platform/window.h"

#include <functional>
#include <string>

class QWidget;

namespace orvane::screenshots {

using Preparation = std::function<void(platform::IWindow& window, QWidget& widget)>;

struct Scene {
    std::string name;
    std::function<void()> run;
    Preparation prepare;
};

// Adds a scene to the registry (at static initialisation); returns its number.
int RegisterScene(Scene scene);

class CShots {
public:
    virtual ~CShots() = default;
    // Saves the widget as a screenshot of the running scene.
    virtual void Grab(QWidget& widget) = 0;
    // Lets the window system work for a while (text laid out, models filled).
    virtual void Settle(int milliseconds) = 0;
    // The folder of sample pages shipped with the sources.
    virtual std::string ExamplesFolder() const = 0;
};

// The screenshots of the running scene.
CShots& Shots();

} // namespace orvane::screenshots

#define ORVANE_SCENE_CONCAT2(a, b) a##b
#define ORVANE_SCENE_CONCAT(a, b) ORVANE_SCENE_CONCAT2(a, b)
#define ORVANE_SCENE_PREPARED(name, preparation)                                                            \
    static void ORVANE_SCENE_CONCAT(Scene_, name)();                                                        \
    [[maybe_unused]] static const int ORVANE_SCENE_CONCAT(kScene_, name) =                                  \
        ::orvane::screenshots::RegisterScene({#name, &ORVANE_SCENE_CONCAT(Scene_, name), preparation});     \
    static void ORVANE_SCENE_CONCAT(Scene_, name)()
#define ORVANE_SCENE(name) ORVANE_SCENE_PREPARED(name, nullptr)
