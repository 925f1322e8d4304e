#include "platform/UserFolders.h"

#include <QStandardPaths>

namespace saroko {

std::string KeptDownloadsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString() +
           "/downloads";
}

std::string TranscriptFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation).toStdString();
}

} // namespace saroko
