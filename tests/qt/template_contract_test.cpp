// Every template of the resource bundle, loaded as the windows load it: its
// controls are of the kinds the logic expects, every control can be named by
// a screen reader, mnemonics do not clash, and every text has its German line.
#include "platform/qt/qt_resources.h"
#include "platform/qt/qt_window.h"
#include "platform/template_info.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextEdit>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

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

bool TakesFocus(const QWidget* widget)
{
    if (widget->focusPolicy() == Qt::NoFocus)
        return false;
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QLineEdit*>(widget) ||
           qobject_cast<const QComboBox*>(widget) || qobject_cast<const QAbstractItemView*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QPlainTextEdit*>(widget) ||
           qobject_cast<const QTextEdit*>(widget);
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

TEST(TemplateContract, ThereAreTemplatesAndAGermanTable)
{
    EXPECT_FALSE(TemplateFiles().isEmpty());
    EXPECT_FALSE(ReadTemplateTexts(ReadAll(kTemplates + "/de.txt")).empty());
}

TEST(TemplateContract, EveryTemplateLoadsWithControlsOfTheirKindsNamedMnemonicsUniqueAndGerman)
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

        std::set<const QWidget*> labelled;
        std::map<QChar, QString> mnemonics;
        auto claim = [&](const QString& text) {
            const QChar key = Mnemonic(text);
            if (key.isNull())
                return;
            auto [it, fresh] = mnemonics.emplace(key, text);
            EXPECT_TRUE(fresh) << "mnemonic " << QString(key).toStdString() << " of \"" << text.toStdString()
                               << "\" is also that of \"" << it->second.toStdString() << "\"";
        };
        for (QLabel* label : form->findChildren<QLabel*>()) {
            if (label->buddy())
                labelled.insert(label->buddy());
            claim(label->text());
        }
        for (QAbstractButton* button : form->findChildren<QAbstractButton*>())
            claim(button->text());
        for (QGroupBox* group : form->findChildren<QGroupBox*>())
            claim(group->title());
        for (QTabWidget* tabs : form->findChildren<QTabWidget*>()) {
            for (int i = 0; i < tabs->count(); ++i)
                claim(tabs->tabText(i));
        }

        // Only the widgets the template names: Qt's inner parts (a combo's
        // list, a tab bar) are named by their owners.
        std::set<std::string> named;
        for (const auto& [id, control] : info->controls)
            named.insert(ControlName(id));
        for (const auto& [name, control] : info->otherWidgets)
            named.insert(name);
        for (QWidget* widget : form->findChildren<QWidget*>()) {
            if (!named.count(widget->objectName().toStdString()) || !TakesFocus(widget))
                continue;
            const auto* button = qobject_cast<const QAbstractButton*>(widget);
            const bool hasName = !widget->accessibleName().trimmed().isEmpty() || labelled.count(widget) ||
                                 (button && !QString(button->text()).remove('&').trimmed().isEmpty());
            EXPECT_TRUE(hasName) << widget->objectName().toStdString()
                                 << " takes the focus but has no accessible name (text, buddy label or accessibleName)";
        }

        for (const QString& text : TranslatableTexts(uiText))
            EXPECT_TRUE(german.count(text)) << "no German line for \"" << text.toStdString() << "\"";
    }
}

} // namespace
} // namespace orvane::platform::qt
