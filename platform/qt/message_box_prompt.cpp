#include "message_box_prompt.h"

#include "platform/console_prompt.h"
#include "platform/qt/qt_session.h"

#include <QApplication>
#include <QMessageBox>

#include <iostream>

namespace orvane::platform {
namespace {

QString FromPage(std::string_view text) { return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())); }

} // namespace

int CMessageBoxPrompt::Show(std::string_view caption, std::string_view text, PromptIcon icon, PromptButtons buttons,
                            int defaultAnswer)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()) || !qt::OnApplicationThread()) {
        CConsolePrompt console(std::cerr);
        return console.Show(caption, text, icon, buttons, defaultAnswer);
    }
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    switch (icon) {
    case PromptIcon::Exclamation: boxIcon = QMessageBox::Warning; break;
    case PromptIcon::Information: boxIcon = QMessageBox::Information; break;
    case PromptIcon::Question: boxIcon = QMessageBox::Question; break;
    case PromptIcon::Stop: boxIcon = QMessageBox::Critical; break;
    case PromptIcon::None: break;
    }
    QMessageBox::StandardButtons boxButtons = QMessageBox::Ok;
    switch (buttons) {
    case PromptButtons::Ok: boxButtons = QMessageBox::Ok; break;
    case PromptButtons::OkCancel: boxButtons = QMessageBox::Ok | QMessageBox::Cancel; break;
    case PromptButtons::YesNo: boxButtons = QMessageBox::Yes | QMessageBox::No; break;
    case PromptButtons::YesNoCancel: boxButtons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    }
    QMessageBox box(boxIcon, FromPage(caption), FromPage(text), boxButtons);
    // Messages may quote markup ("<!DOCTYPE html>"): shown as written, never rendered.
    box.setTextFormat(Qt::PlainText);
    switch (defaultAnswer) {
    case kAnswerOk: box.setDefaultButton(QMessageBox::Ok); break;
    case kAnswerCancel: box.setDefaultButton(QMessageBox::Cancel); break;
    case kAnswerYes: box.setDefaultButton(QMessageBox::Yes); break;
    case kAnswerNo: box.setDefaultButton(QMessageBox::No); break;
    default: break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel: return kAnswerCancel;
    case QMessageBox::Yes: return kAnswerYes;
    case QMessageBox::No: return kAnswerNo;
    default: return kAnswerOk;
    }
}

} // namespace orvane::platform
