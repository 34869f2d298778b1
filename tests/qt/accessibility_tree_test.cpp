// Every window and every page of both programs' bundles, as a screen reader
// reads them in English and in German: each is loaded as the program loads
// it, a page inside the sheet that shows it, and its accessibility tree is
// walked. A template added later is walked without being named here.
#include "accessibility_tree.h"

#include "platform/qt/qt_resources.h"
#include "platform/qt/qt_window.h"
#include "platform/template_info.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace orvane::platform::qt {
namespace {

const QString kLibraryTemplates = QString(ORVANE_RESOURCES_DIR) + "/templates";
const QString kSelectorTemplates = QString(ORVANE_SELECTOR_RESOURCES_DIR) + "/templates";
constexpr int kWizardFrame = 9000;
constexpr int kSettingsFrame = 9001;

// A window as it stands before its logic fills it.
class CInertLogic final : public IDialogLogic {
public:
    void OnInit(IWindow&) override {}
    void OnOk(IWindow&) override {}
    void OnCancel(IWindow&) override {}
};

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Template {
    QString folder;
    int id = 0;
    QByteArray text;
    TemplateInfo info;
};

std::vector<Template> AllTemplates()
{
    std::vector<Template> templates;
    for (const QString& folder : {kLibraryTemplates, kSelectorTemplates}) {
        for (const QString& name : QDir(folder).entryList({"*.ui"}, QDir::Files, QDir::Name)) {
            Template entry{folder, QFileInfo(name).baseName().toInt(), ReadAll(folder + "/" + name), {}};
            std::optional<TemplateInfo> info =
                ParseTemplate(std::string_view(entry.text.constData(), static_cast<std::size_t>(entry.text.size())));
            EXPECT_TRUE(info) << name.toStdString();
            if (info)
                entry.info = std::move(*info);
            templates.push_back(std::move(entry));
        }
    }
    return templates;
}

bool IsPage(const Template& entry)
{
    std::unique_ptr<QWidget> form(LoadTemplateWidget(entry.text, nullptr, nullptr));
    return form && !qobject_cast<QDialog*>(form.get());
}

// The settings sheet's pages are numbered from 9100; every other page is a
// repair page of the wizard.
int FrameOf(int pageId) { return pageId >= 9100 && pageId < 9200 ? kSettingsFrame : kWizardFrame; }

// The templates' texts in the language, from the table beside them.
class CLanguage {
public:
    CLanguage(const QString& folder, const QString& language)
    {
        if (language == "en")
            return;
        m_translator = std::make_unique<CTemplateTranslator>(ReadTemplateTexts(ReadAll(folder + "/de.txt")));
        QCoreApplication::installTranslator(m_translator.get());
    }
    ~CLanguage()
    {
        if (m_translator)
            QCoreApplication::removeTranslator(m_translator.get());
    }

private:
    std::unique_ptr<CTemplateTranslator> m_translator;
};

void ExpectReadable(QWidget& window, const std::string& what)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << what;
    for (const QString& fault : test::AccessibilityFaults(window))
        ADD_FAILURE() << what << ": " << fault.toStdString();
    window.hide();
}

TEST(AccessibilityTree, EveryWindowAndEveryPageInItsSheetCanBeReadAndReachedByKeysInBothLanguages)
{
    const std::vector<Template> templates = AllTemplates();
    const Template* frames[2] = {nullptr, nullptr};
    int pages = 0, dialogs = 0;
    for (const Template& entry : templates) {
        if (entry.folder == kLibraryTemplates && (entry.id == kWizardFrame || entry.id == kSettingsFrame))
            frames[entry.id == kSettingsFrame] = &entry;
    }
    ASSERT_TRUE(frames[0] && frames[1]);

    for (const QString language : {"en", "de"}) {
        for (const Template& entry : templates) {
            const std::string what = language.toStdString() + " template " + std::to_string(entry.id);
            CInertLogic logic;
            if (IsPage(entry)) {
                ++pages;
                const Template& frame = *frames[FrameOf(entry.id) == kSettingsFrame];
                CLanguage texts(entry.folder, language);
                auto* widget = LoadTemplateWidget(frame.text, nullptr, nullptr);
                ASSERT_TRUE(widget) << what;
                CQtWindow sheet(frame.id, frame.info, widget, logic, nullptr);
                CInertLogic pageLogic;
                sheet.AddPage(entry.id, pageLogic);
                sheet.ShowPage(0);
                ExpectReadable(*widget, what + " in its sheet");
                continue;
            }
            // A sheet is read around each of its pages; it is never shown without them.
            if (&entry == frames[0] || &entry == frames[1])
                continue;
            ++dialogs;
            CLanguage texts(entry.folder, language);
            std::string error;
            QWidget* widget = LoadTemplateWidget(entry.text, nullptr, &error);
            ASSERT_TRUE(widget) << what << ": " << error;
            CQtWindow window(entry.id, entry.info, widget, logic, nullptr);
            ExpectReadable(*widget, what);
        }
    }
    // Both programs' windows, the sheets and their pages were all read.
    EXPECT_GE(dialogs, 2 * 5);
    EXPECT_GE(pages, 2 * 10);
}

} // namespace
} // namespace orvane::platform::qt
