#include "app/Help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "settings/WindowPlacement.h"

namespace saroko::ui {

void OpenHelpFile() {
    const QString path = QString::fromStdString(
        HelpFilePath(QCoreApplication::applicationFilePath().toStdString()));
    if (QFileInfo::exists(path))
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace saroko::ui
