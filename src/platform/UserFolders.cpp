#include "platform/UserFolders.h"

#include <QDir>
#include <QStandardPaths>

namespace saroko {
namespace {

#ifndef _WIN32
std::string Base(QStandardPaths::StandardLocation where) {
    return QStandardPaths::writableLocation(where).toStdString();
}
constexpr const char* kFolder = "/saroko";
// The folder the organisation's name gave the versions before.
constexpr const char* kOlderFolder = "/PELNOR CORPORATION";
#endif

} // namespace

#ifdef _WIN32
// The settings are in the registry; everything else of the user's in %LOCALAPPDATA%\saroko,
// which stays on this computer (no roaming profile carries an archive about).
std::string SettingsFile() {
    return {};
}

namespace {
// %LOCALAPPDATA% as Windows sets it for every program (the known folder where it is not set),
// in Windows's own spelling, so that a path the program shows or stores has one kind of
// separator: the file names joined to it come with backslashes.
std::string LocalFolder() {
    QString base = qEnvironmentVariable("LOCALAPPDATA");
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir::toNativeSeparators(base + QStringLiteral("/saroko")).toStdString();
}
} // namespace

std::string KeptDownloadsFolder() {
    return LocalFolder() + "\\downloads";
}

std::string TranscriptFolder() {
    return LocalFolder() + "\\cache";
}

std::vector<PlaceMove> OlderUserPlaces() {
    return {};
}

std::string SigningKeysFolder() {
    return LocalFolder() + "\\keys";
}
#else
std::string SettingsFile() {
    return Base(QStandardPaths::GenericConfigLocation) + kFolder + "/saroko.conf";
}

std::string KeptDownloadsFolder() {
    return Base(QStandardPaths::GenericDataLocation) + kFolder + "/downloads";
}

std::string TranscriptFolder() {
    return Base(QStandardPaths::GenericCacheLocation) + kFolder;
}

std::string SigningKeysFolder() {
    return Base(QStandardPaths::GenericConfigLocation) + kFolder + "/keys";
}

std::vector<PlaceMove> OlderUserPlaces() {
    const std::string config = Base(QStandardPaths::GenericConfigLocation);
    const std::string data = Base(QStandardPaths::GenericDataLocation);
    const std::string cache = Base(QStandardPaths::GenericCacheLocation);
    return {{config + kOlderFolder + "/Saroko.conf", SettingsFile()},
            {data + kOlderFolder + "/Saroko", data + kFolder},
            {cache + kOlderFolder + "/Saroko", TranscriptFolder()}};
}
#endif

PlaceMoveResult MoveOlderUserFolders() {
    return MovePlaces(OlderUserPlaces());
}

} // namespace saroko
