#include "ui/base/MessageSink.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>

namespace saroko::ui {
namespace {

MessageHandler& Handler() {
    static MessageHandler handler;
    return handler;
}

std::function<void(const QString&)>& FrameworkHandler() {
    static std::function<void(const QString&)> handler;
    return handler;
}

std::function<bool(const QString&)>& QuestionHandler() {
    static std::function<bool(const QString&)> handler;
    return handler;
}

} // namespace

void SetMessageHandler(MessageHandler handler) {
    Handler() = std::move(handler);
}

int ShowMessage(int id, const QString& extra, QWidget* parent) {
    if (Handler())
        return Handler()(id, extra);
    const MessageDef* def = FindMessage(id);
    if (!def)
        return kIdOk;
    QMessageBox box(parent);
    box.setWindowTitle(QString::fromUtf8(kAppTitle));
    box.setText(QCoreApplication::translate("Message", def->text) + extra);
    switch (def->icon) {
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    }
    switch (def->buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(DefaultAnswerIsNo(id) ? QMessageBox::No : QMessageBox::Yes);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return kIdOk;
    case QMessageBox::Yes:
        return kIdYes;
    case QMessageBox::No:
        return kIdNo;
    default:
        return kIdCancel;
    }
}

void ShowFrameworkMessage(const QString& text, QWidget* parent) {
    if (FrameworkHandler()) {
        FrameworkHandler()(text);
        return;
    }
    QMessageBox::warning(parent, QString::fromUtf8(kAppTitle), text);
}

void SetFrameworkMessageHandler(std::function<void(const QString&)> handler) {
    FrameworkHandler() = std::move(handler);
}

bool AskFrameworkQuestion(const QString& text, QWidget* parent) {
    if (QuestionHandler())
        return QuestionHandler()(text);
    return QMessageBox::question(parent, QString::fromUtf8(kAppTitle), text,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void SetFrameworkQuestionHandler(std::function<bool(const QString&)> handler) {
    QuestionHandler() = std::move(handler);
}

int CWindowSink::ShowMessage(int id, std::string_view extra) {
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = ui::ShowMessage(
        id, QString::fromUtf8(extra.data(), static_cast<qsizetype>(extra.size())), m_pParent);
    if (waiting)
        QApplication::restoreOverrideCursor();
    return answer;
}

} // namespace saroko::ui
