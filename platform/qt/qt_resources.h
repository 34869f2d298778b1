#pragma once

// What the Qt windows take from the resource bundle: templates, their German
// texts, icons and image strips, all by number.

#include <QByteArray>
#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QTranslator>

#include <map>
#include <optional>
#include <string>

namespace orvane::platform::qt {

// The text of template N ("templates/N.ui"); nothing when the bundle lacks it.
std::optional<QByteArray> TemplateText(int templateId);

// An icon resource ("icons/N.png", or .xpm, .svg); null when there is none.
QIcon IconResource(int iconId);

// A bitmap resource cut into square images as high as the bitmap
// ("bitmaps/N.png"); empty when there is none.
QList<QPixmap> ImageStrip(int bitmapId);

// The template texts of a language: "English<TAB>translation" lines.
std::map<QString, QString> ReadTemplateTexts(const QByteArray& table);

// Translates the texts of loaded templates through such a table; every other
// text keeps its English wording.
class CTemplateTranslator final : public QTranslator {
public:
    explicit CTemplateTranslator(std::map<QString, QString> texts) : m_texts(std::move(texts)) {}
    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return m_texts.empty(); }

private:
    std::map<QString, QString> m_texts;
};

// Puts the template texts and Qt's own texts (standard buttons, file and
// colour dialogs) of the language in place, replacing those of an earlier call.
void InstallTemplateLanguage(const std::string& language);

} // namespace orvane::platform::qt
