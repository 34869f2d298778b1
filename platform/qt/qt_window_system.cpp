#include "qt_window_system.h"

#include "qt_resources.h"
#include "qt_session.h"
#include "qt_window.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>

namespace orvane::platform::qt {
namespace {

QString ToQt(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

void Prepare(QFileDialog& dialog, const FileDialogRequest& request)
{
    dialog.setWindowTitle(ToQt(request.title));
    QStringList filters;
    for (const FileFilter& filter : request.filters)
        filters << QString("%1 (%2)").arg(ToQt(filter.description), ToQt(filter.patterns));
    dialog.setNameFilters(filters);
    if (!request.defaultExtension.empty())
        dialog.setDefaultSuffix(ToQt(request.defaultExtension));
    if (!request.initialPath.empty()) {
        QFileInfo initial(QFile::decodeName(QByteArray::fromStdString(request.initialPath)));
        if (initial.isDir()) {
            dialog.setDirectory(initial.absoluteFilePath());
        } else {
            dialog.setDirectory(initial.absolutePath());
            dialog.selectFile(initial.fileName());
        }
    }
}

std::optional<std::string> RunFileDialog(IWindow* owner, const FileDialogRequest& request, bool save)
{
    QFileDialog dialog(WidgetOf(owner));
    Prepare(dialog, request);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QFile::encodeName(dialog.selectedFiles().first()).toStdString();
}

} // namespace

QWidget* WidgetOf(IWindow* window)
{
    auto* qtWindow = dynamic_cast<CQtWindow*>(window);
    return qtWindow ? qtWindow->Widget()->window() : nullptr;
}

bool CQtWindowSystem::CanShowWindows() const { return OnApplicationThread(); }

int CQtWindowSystem::RunModal(int templateId, IDialogLogic& logic, IWindow* owner)
{
    std::optional<QByteArray> text = TemplateText(templateId);
    if (!text) {
        qWarning("template %d is not in the resource bundle", templateId);
        return -1;
    }
    std::string error;
    std::optional<TemplateInfo> info =
        ParseTemplate(std::string_view(text->constData(), static_cast<std::size_t>(text->size())), &error);
    QWidget* widget = info ? LoadTemplateWidget(*text, WidgetOf(owner), &error) : nullptr;
    auto* dialog = qobject_cast<QDialog*>(widget);
    if (!dialog) {
        qWarning("template %d could not be made into a dialog: %s", templateId, error.c_str());
        delete widget;
        return -1;
    }
    // A dialog made while the wait cursor shows is for the user to answer.
    const bool wasWaiting = m_waitDepth > 0;
    if (wasWaiting)
        QApplication::restoreOverrideCursor();
    CQtWindow window(templateId, *info, dialog, logic, dynamic_cast<CQtWindow*>(owner));
    logic.OnInit(window);
    if (!window.HasEnded()) {
        if (m_showHook) {
            QTimer::singleShot(0, dialog, [this, dialog, &window] {
                if (!window.HasEnded() && m_showHook)
                    m_showHook(*dialog, window);
            });
        }
        dialog->exec();
        // Closed by other means than the logic (the desktop ending the session).
        if (!window.HasEnded())
            window.End(kIdCancel);
    }
    logic.OnDestroy(window);
    if (wasWaiting)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    return window.Result();
}

std::optional<std::string> CQtWindowSystem::ChooseFileToOpen(IWindow* owner, const FileDialogRequest& request)
{
    return RunFileDialog(owner, request, false);
}

std::optional<std::string> CQtWindowSystem::ChooseFileToSave(IWindow* owner, const FileDialogRequest& request)
{
    return RunFileDialog(owner, request, true);
}

std::optional<Colour> CQtWindowSystem::ChooseColour(IWindow* owner, Colour initial, std::string_view title)
{
    const QColor start(static_cast<int>(initial & 0xff), static_cast<int>((initial >> 8) & 0xff),
                       static_cast<int>((initial >> 16) & 0xff));
    QColor chosen = QColorDialog::getColor(start, WidgetOf(owner), ToQt(title));
    if (!chosen.isValid())
        return std::nullopt;
    return static_cast<Colour>(chosen.red()) | static_cast<Colour>(chosen.green()) << 8 |
           static_cast<Colour>(chosen.blue()) << 16;
}

bool CQtWindowSystem::OpenAddress(std::string_view address)
{
    QUrl url = QUrl::fromUserInput(ToQt(address));
    return url.isValid() && QDesktopServices::openUrl(url);
}

void CQtWindowSystem::BeginWaitCursor()
{
    if (m_waitDepth++ == 0)
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CQtWindowSystem::EndWaitCursor()
{
    if (m_waitDepth > 0 && --m_waitDepth == 0)
        QApplication::restoreOverrideCursor();
}

} // namespace orvane::platform::qt
