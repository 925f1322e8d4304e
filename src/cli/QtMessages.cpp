#include "cli/QtMessages.h"

#include <QString>
#include <QtGlobal>
#include <atomic>
#include <cstdio>

namespace saroko::cli {

namespace {

std::atomic<bool> g_bShow{false};

void Filter(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg && !g_bShow.load())
        return;
    std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, text).toLocal8Bit().constData());
    std::fflush(stderr);
}

} // namespace

void InstallQtMessageFilter() {
    g_bShow.store(qEnvironmentVariable("SAROKO_QT_WARNINGS") == QLatin1String("1"));
    qInstallMessageHandler(&Filter);
}

void ShowQtMessages(bool show) {
    g_bShow.store(show);
}

} // namespace saroko::cli
