#include "qt_resources.h"

#include "platform/bundle_strings.h"
#include "platform/resource_bundle.h"

#include <QCoreApplication>
#include <QImage>
#include <QLibraryInfo>

#include <memory>

namespace orvane::platform::qt {
namespace {

std::optional<QByteArray> BundleFile(const std::string& name)
{
    const CResourceBundle* bundle = InstalledBundle();
    if (!bundle)
        return std::nullopt;
    std::optional<std::string> bytes = bundle->ReadFile(name);
    if (!bytes)
        return std::nullopt;
    return QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size()));
}

std::optional<QImage> BundleImage(const std::string& folder, int id)
{
    for (const char* extension : {".png", ".xpm", ".svg"}) {
        if (std::optional<QByteArray> bytes = BundleFile(folder + "/" + std::to_string(id) + extension)) {
            QImage image;
            if (image.loadFromData(*bytes))
                return image;
        }
    }
    return std::nullopt;
}

std::unique_ptr<CTemplateTranslator> g_templateTranslator;
std::unique_ptr<QTranslator> g_qtTranslator;
std::unique_ptr<QTranslator> g_qtHelpTranslator;

} // namespace

std::optional<QByteArray> TemplateText(int templateId)
{
    return BundleFile("templates/" + std::to_string(templateId) + ".ui");
}

QIcon IconResource(int iconId)
{
    std::optional<QImage> image = BundleImage("icons", iconId);
    return image ? QIcon(QPixmap::fromImage(*image)) : QIcon();
}

QList<QPixmap> ImageStrip(int bitmapId)
{
    QList<QPixmap> images;
    std::optional<QImage> strip = BundleImage("bitmaps", bitmapId);
    if (!strip || strip->height() == 0)
        return images;
    const int side = strip->height();
    for (int x = 0; x + side <= strip->width(); x += side)
        images.append(QPixmap::fromImage(strip->copy(x, 0, side, side)));
    return images;
}

std::map<QString, QString> ReadTemplateTexts(const QByteArray& table)
{
    std::map<QString, QString> texts;
    for (QByteArray line : table.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype tab = line.indexOf('\t');
        if (tab <= 0)
            continue;
        QString english = QString::fromUtf8(line.left(tab)).replace("\\n", "\n");
        QString translated = QString::fromUtf8(line.mid(tab + 1)).replace("\\n", "\n");
        texts[english] = translated;
    }
    return texts;
}

QString CTemplateTranslator::translate(const char*, const char* sourceText, const char*, int) const
{
    if (!sourceText)
        return {};
    auto it = m_texts.find(QString::fromUtf8(sourceText));
    return it == m_texts.end() ? QString() : it->second;
}

void InstallTemplateLanguage(const std::string& language)
{
    if (g_templateTranslator)
        QCoreApplication::removeTranslator(g_templateTranslator.get());
    if (g_qtTranslator)
        QCoreApplication::removeTranslator(g_qtTranslator.get());
    if (g_qtHelpTranslator)
        QCoreApplication::removeTranslator(g_qtHelpTranslator.get());
    g_templateTranslator.reset();
    g_qtTranslator.reset();
    g_qtHelpTranslator.reset();
    if (language == "en")
        return;
    if (std::optional<QByteArray> table = BundleFile("templates/" + language + ".txt")) {
        g_templateTranslator = std::make_unique<CTemplateTranslator>(ReadTemplateTexts(*table));
        QCoreApplication::installTranslator(g_templateTranslator.get());
    }
    auto qtTexts = std::make_unique<QTranslator>();
    if (qtTexts->load(QLocale(QString::fromStdString(language)), "qtbase", "_",
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        g_qtTranslator = std::move(qtTexts);
        QCoreApplication::installTranslator(g_qtTranslator.get());
    }
    // The help window's search controls are Qt Help's own.
    auto helpTexts = std::make_unique<QTranslator>();
    if (helpTexts->load(QLocale(QString::fromStdString(language)), "qt_help", "_",
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        g_qtHelpTranslator = std::move(helpTexts);
        QCoreApplication::installTranslator(g_qtHelpTranslator.get());
    }
}

} // namespace orvane::platform::qt
