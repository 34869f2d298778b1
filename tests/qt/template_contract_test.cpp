// Every template of the resource bundle, loaded as the windows load it: its
// controls are of the kinds the logic expects, mnemonics do not clash in
// either language, and every text has its German line. What a screen reader
// reads of them is walked in accessibility_tree_test.cpp.
#include "platform/qt/qt_resources.h"
#include "platform/qt/qt_window.h"
#include "platform/template_info.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace orvane::platform::qt {
namespace {

const QString kTemplates = QString(ORVANE_RESOURCES_DIR) + "/templates";
// The selector program's own bundle has its own templates and German table.
const QString kSelectorTemplates = QString(ORVANE_SELECTOR_RESOURCES_DIR) + "/templates";

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The texts a template shows and Qt translates: every <string> not marked notr.
QStringList TranslatableTexts(const QByteArray& uiText)
{
    QStringList texts;
    QXmlStreamReader reader(uiText);
    while (reader.readNextStartElement() || !reader.atEnd()) {
        if (reader.isStartElement() && reader.name() == u"string" &&
            reader.attributes().value("notr") != u"true") {
            const QString text = reader.readElementText();
            if (!text.trimmed().isEmpty())
                texts << text;
        } else if (!reader.isStartElement()) {
            reader.readNext();
        }
    }
    return texts;
}

QChar Mnemonic(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '&') {
            if (text[i + 1] == '&') {
                ++i;
                continue;
            }
            return text[i + 1].toLower();
        }
    }
    return {};
}

QStringList TemplateFiles()
{
    QStringList files;
    for (const QString& folder : {kTemplates, kSelectorTemplates}) {
        for (const QString& name : QDir(folder).entryList({"*.ui"}, QDir::Files, QDir::Name))
            files << folder + "/" + name;
    }
    return files;
}

// The texts of a loaded template whose mnemonics share its window's keys.
QStringList MnemonicTexts(QWidget& form)
{
    QStringList texts;
    for (QLabel* label : form.findChildren<QLabel*>())
        texts << label->text();
    for (QAbstractButton* button : form.findChildren<QAbstractButton*>())
        texts << button->text();
    for (QGroupBox* group : form.findChildren<QGroupBox*>())
        texts << group->title();
    for (QTabWidget* tabs : form.findChildren<QTabWidget*>()) {
        for (int i = 0; i < tabs->count(); ++i)
            texts << tabs->tabText(i);
    }
    return texts;
}

// No two texts of one window claim the same key, in English or (through the
// table) in German.
void ExpectUniqueMnemonics(const QStringList& texts, const std::map<QString, QString>* german)
{
    std::map<QChar, QString> claimed;
    for (const QString& english : texts) {
        auto translated = german ? german->find(english) : std::map<QString, QString>::const_iterator();
        const QString text = german && translated != german->end() ? translated->second : english;
        const QChar key = Mnemonic(text);
        if (key.isNull())
            continue;
        auto [it, fresh] = claimed.emplace(key, text);
        EXPECT_TRUE(fresh) << "mnemonic " << QString(key).toStdString() << " of \"" << text.toStdString()
                           << "\" is also that of \"" << it->second.toStdString() << "\"";
    }
}

std::unique_ptr<QWidget> LoadTemplate(int id)
{
    std::string error;
    std::unique_ptr<QWidget> form(LoadTemplateWidget(ReadAll(kTemplates + QString("/%1.ui").arg(id)), nullptr, &error));
    EXPECT_TRUE(form) << "template " << id << ": " << error;
    return form;
}

// A text of the resource strings, as "number<TAB>text" lines give it.
QString StringOf(const QString& language, int id)
{
    const QString prefix = QString::number(id) + "\t";
    for (const QByteArray& line : ReadAll(QString(ORVANE_RESOURCES_DIR) + "/strings/" + language + ".txt").split('\n')) {
        const QString text = QString::fromUtf8(line);
        if (text.startsWith(prefix))
            return text.mid(prefix.size());
    }
    ADD_FAILURE() << "no string " << id << " in " << language.toStdString();
    return {};
}

TEST(TemplateContract, ThereAreTemplatesAndAGermanTable)
{
    EXPECT_FALSE(TemplateFiles().isEmpty());
    EXPECT_FALSE(ReadTemplateTexts(ReadAll(kTemplates + "/de.txt")).empty());
}

TEST(TemplateContract, EveryTemplateLoadsWithControlsOfTheirKindsMnemonicsUniqueAndGerman)
{
    for (const QString& path : TemplateFiles()) {
        SCOPED_TRACE(path.toStdString());
        const std::map<QString, QString> german = ReadTemplateTexts(ReadAll(QFileInfo(path).absolutePath() + "/de.txt"));
        const QByteArray uiText = ReadAll(path);
        std::string error;
        std::optional<TemplateInfo> info = ParseTemplate(std::string_view(uiText.constData(), uiText.size()), &error);
        ASSERT_TRUE(info) << error;
        EXPECT_EQ(QString::number(info->id) + ".ui", QFileInfo(path).fileName()) << "the top widget is named t and the number";

        std::unique_ptr<QWidget> form(LoadTemplateWidget(uiText, nullptr, &error));
        ASSERT_TRUE(form) << error;
        for (const auto& [id, control] : info->controls) {
            QWidget* widget = form->findChild<QWidget*>(QString::fromStdString(ControlName(id)));
            EXPECT_TRUE(WidgetServes(widget, control.kind))
                << "control " << id << " (" << control.widgetClass << ") is no " << ControlKindName(control.kind);
        }

        ExpectUniqueMnemonics(MnemonicTexts(*form), nullptr);
        ExpectUniqueMnemonics(MnemonicTexts(*form), &german);

        for (const QString& text : TranslatableTexts(uiText))
            EXPECT_TRUE(german.count(text)) << "no German line for \"" << text.toStdString() << "\"";
    }
}


// A page of a sheet shares its window with the frame's buttons, and in the
// settings sheet with every page's tab: none of their keys may clash.
TEST(TemplateContract, APagesMnemonicsDoNotClashWithThoseOfItsSheet)
{
    constexpr int kWizardFrame = 9000, kSettingsFrame = 9001;
    constexpr int kSkipText = 348, kUndoText = 349;
    const std::map<QString, QString> german = ReadTemplateTexts(ReadAll(kTemplates + "/de.txt"));
    std::map<int, std::unique_ptr<QWidget>> pages;
    for (const QString& path : TemplateFiles()) {
        if (!path.startsWith(kTemplates + "/"))
            continue;  // the library's sheets only
        std::unique_ptr<QWidget> form(LoadTemplateWidget(ReadAll(path), nullptr));
        if (form && !qobject_cast<QDialog*>(form.get()))
            pages[QFileInfo(path).baseName().toInt()] = std::move(form);
    }
    auto isSettingsPage = [](int id) { return id >= 9100 && id < 9200; };
    QStringList tabs;
    for (const auto& [id, page] : pages) {
        if (isSettingsPage(id))
            tabs << page->windowTitle();
    }
    ASSERT_EQ(tabs.size(), 4);
    std::unique_ptr<QWidget> wizard = LoadTemplate(kWizardFrame);
    std::unique_ptr<QWidget> settings = LoadTemplate(kSettingsFrame);
    ASSERT_TRUE(wizard && settings);

    for (const auto& [id, page] : pages) {
        SCOPED_TRACE("page " + std::to_string(id));
        const QStringList texts = MnemonicTexts(*page);
        if (isSettingsPage(id)) {
            ExpectUniqueMnemonics(MnemonicTexts(*settings) + tabs + texts, nullptr);
            ExpectUniqueMnemonics(MnemonicTexts(*settings) + tabs + texts, &german);
            continue;
        }
        // The Skip/Undo button takes its texts from the strings, in the user's language.
        QStringList frame = MnemonicTexts(*wizard);
        frame.removeOne(wizard->findChild<QAbstractButton*>("c1286")->text());
        for (int buttonText : {kSkipText, kUndoText}) {
            ExpectUniqueMnemonics(frame + texts + QStringList{StringOf("en", buttonText)}, nullptr);
            ExpectUniqueMnemonics(frame + texts + QStringList{StringOf("de", buttonText)}, &german);
        }
    }
}

} // namespace
} // namespace orvane::platform::qt
