// saroko-cli archive status: where the archive of this run is, whether it answers, and how
// many events wait on this computer for a site archive's server; archive import.
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/CliArchive.h"
#include "cli/CliCommon.h"
#include "cli/CliOptions.h"
#include "core/archive/ArchiveFiles.h"
#include "core/archive/ArchiveSpool.h"
#include "platform/ArchiveSetup.h"
#include "platform/QtSettingsStore.h"
#include "platform/UserFolders.h"

namespace saroko::cli {

// CmdArchive.cpp: an event as the --json verbs give it.
nlohmann::json EventJson(const archive::Event& e, bool waiting);

void DeclareArchiveStatus(CVerbOptions& o) {
    o.TakeNoFiles();
    o.AddFlag("json");
}

int RunArchiveStatus(const CVerbOptions& o) {
    archive::CArchiveSession& a = CliArchive();
    if (!a.Enabled()) {
        std::cerr << "saroko-cli archive: --no-archive leaves nothing to read\n";
        return kExitFailed;
    }
    const std::string location = archive::ShownLocation(CliArchivePath());
    auto* site = dynamic_cast<archive::CSpooledArchiveStore*>(&a.Store());
    const bool answers =
        site ? site->Site().Answers() : a.LastStatus() == archive::StoreStatus::kOk;
    // The events as they will go: a file opened twice while the server was away goes once.
    const std::size_t waiting = site ? archive::WhatWaits(*site).events.size() : a.Waiting();
    const std::string error = answers ? std::string() : a.Store().LastError();
    // The downloads kept here that a site archive lacks: its first use took none of them in.
    std::optional<std::vector<std::string>> lacking;
    if (site && answers)
        lacking = archive::DownloadsNotIn(a, KeptDownloadsFolder());
    // What the open itself had to say is in these lines; it is not said twice.
    a.TakeMessage();
    if (o.Has("json")) {
        nlohmann::ordered_json j;
        j["location"] = location;
        j["kind"] = site ? "site" : "file";
        j["answers"] = answers;
        j["waiting"] = waiting;
        if (!answers)
            j["error"] = error;
        if (lacking)
            j["kept_not_in_archive"] = lacking->size();
        std::cout << j.dump(2) << "\n";
    } else {
        std::cout << "archive: " << location
                  << (site ? " (site archive, PostgreSQL)" : " (local file)") << "\n"
                  << "answers: " << (answers ? "yes" : "no: " + error) << "\n"
                  << "waiting: " << waiting << (waiting == 1 ? " event" : " events") << "\n";
        if (lacking && !lacking->empty())
            std::cout << "not taken in: " << lacking->size()
                      << (lacking->size() == 1 ? " download" : " downloads")
                      << " kept on this computer (archive import)\n";
    }
    return answers ? kExitOk : kExitFailed;
}

void DeclareArchiveImport(CVerbOptions& o) {
    o.TakeNoFiles();
}

// The downloads kept on this computer that the archive lacks, taken in: what the window
// offers on a site archive's first use, asked for.
int RunArchiveImport(const CVerbOptions&) {
    archive::CArchiveSession& a = CliArchive();
    if (!a.Enabled()) {
        std::cerr << "saroko-cli archive: --no-archive leaves nothing to take in\n";
        return kExitFailed;
    }
    const std::string folder = KeptDownloadsFolder();
    const std::optional<std::vector<std::string>> lacking = archive::DownloadsNotIn(a, folder);
    if (!lacking) {
        a.TakeMessage(); // said once, here
        std::cerr << "saroko-cli archive: " << a.Store().LastError() << "\n";
        return kExitFailed;
    }
    const CQtCp932Codec codec;
    const std::size_t taken = archive::TakeInDownloads(a, *lacking, &ReadWholeFile, codec);
    SayArchiveMessage();
    if (a.LastStatus() != archive::StoreStatus::kOk)
        return kExitFailed;
    std::cout << "taken in: " << taken << (taken == 1 ? " download" : " downloads") << " kept in "
              << folder << "\n";
    return kExitOk;
}

// What waits on this computer for a site archive's server is in no list the server gives:
// the log shows those events marked "waiting" (of one recording when `sha256` is given), the
// list counts them and the recordings they bring.
void SayWaiting(archive::IArchiveStore& store, bool log, const std::string& sha256,
                nlohmann::json* json) {
    const archive::WaitingWork waiting = archive::WhatWaits(store, sha256);
    const std::size_t events = waiting.events.size(), recordings = waiting.recordings.size();
    for (const archive::Event& e : log ? waiting.events : std::vector<archive::Event>()) {
        if (json) {
            json->push_back(EventJson(e, true));
            continue;
        }
        std::cout << "waiting  " << e.timeUtc << "  " << e.user << "@" << e.host << "  "
                  << archive::EventKindName(e.kind)
                  << (e.detail.empty() ? "" : " (" + e.detail + ")")
                  << "  sha256:" << e.recordingSha256.substr(0, 16) << "\n";
    }
    if (events > 0 && !log)
        std::cerr << "saroko-cli archive: " << events
                  << (events == 1 ? " event waits" : " events wait")
                  << " on this computer for the site archive's server, " << recordings
                  << (recordings == 1 ? " new recording" : " new recordings")
                  << " among them (archive status)\n";
}

} // namespace saroko::cli
