// Tamsel's main window on a sample site whose pages show every status mark.
#include "scene.h"

#include "platform/bundle_strings.h"
#include "platform/qt/qt_session.h"
#include "selector/selector_dlg.h"
#include "selector/selector_ids.h"

#include <QTemporaryDir>
#include <QWidget>

#include <filesystem>
#include <fstream>

namespace {

using namespace orvane::selector;

// A library whose functions do nothing: the window binds it without a message.
class CQuietLibrary final : public ICheckerLibrary {
public:
    bool Load() override { return true; }
    PathFunction ResolvePathFunction(const char*) override { return [](const char*) { return 0; }; }
    ActionFunction ResolveAction(const char*) override { return [] {}; }
    SettingsFunction ResolveSettings(const char*) override { return [] { return static_cast<void*>(nullptr); }; }
};

class CSampleFiles final : public CDiskFiles {
public:
    explicit CSampleFiles(std::string root) : m_root(std::move(root)) {}
    SpecialFolders Special() const override { return {m_root + "/Desktop", m_root + "/Documents"}; }
    std::string CurrentDirectory() const override { return m_root + "/Documents/site"; }

private:
    std::string m_root;
};

// The sample site in Tamsel's window, in the language of the run.
void RunOnSampleSite()
{
    QTemporaryDir folder;
    const std::string root = folder.path().toStdString();
    const std::string site = root + "/Documents/site";
    std::filesystem::create_directories(site + "/images");
    std::filesystem::create_directories(root + "/Desktop");
    const std::pair<const char*, int> pages[] = {{"about.html", 2},  {"contact.html", 3}, {"index.html", 4},
                                                 {"news.htm", 5},    {"products.html", 1}, {"sitemap.shtml", 0}};
    std::ofstream database(root + "/OrvaneFileDatabase.txt");
    int size = 700;
    for (const auto& [name, mark] : pages) {
        std::ofstream(site + "/" + name) << std::string(static_cast<std::size_t>(size), ' ');
        size = size * 3 + 1000;
        if (mark > 0)
            database << site << "/" << name << "\t" << mark << "\t2099\t1\t1\t0\t0\t0\n";
    }
    database.close();

    const std::string language = orvane::platform::BundleLanguage();
    if (orvane::platform::InstallBundleStrings("TamselResources.rcc")) {
        orvane::platform::qt::UseLanguage(language);
        CQuietLibrary library;
        CSampleFiles files(root);
        CSelectorDlg selector(library, files, root + "/OrvaneFileDatabase.txt");
        orvane::platform::Windows().RunModal(kTemplateSelector, selector, nullptr);
    }
    orvane::platform::InstallBundleStrings("OrvaneResources.rcc");
    orvane::platform::qt::UseLanguage(language);
}

} // namespace

ORVANE_SCENE_PREPARED(selector, [](orvane::platform::IWindow& window, QWidget& widget) {
    widget.resize(780, 470);
    for (int row = 0; row < window.ItemCount(kIdFiles); ++row)
        window.SetItemSelected(kIdFiles, row, row == 2);
    window.SetCurrentItem(kIdFiles, 2);
})
{
    RunOnSampleSite();
}

// The window at the size of a first start, where nothing was saved yet,
// with the list's first file selected as the keyboard leaves it.
ORVANE_SCENE(selector_first_start) { RunOnSampleSite(); }

// A location typed after Ctrl+L, in the look-in list made a field.
ORVANE_SCENE_PREPARED(selector_location, [](orvane::platform::IWindow& window, QWidget&) {
    window.SetComboEditable(kIdLookIn, true, "~/Documents/site/.drafts");
})
{
    RunOnSampleSite();
}
