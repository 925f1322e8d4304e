// saroko-cli archive status: where the archive of this run is, whether it answers, and how
// many events wait on this computer for a site archive's server.
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/CliArchive.h"
#include "cli/CliCommon.h"
#include "cli/CliOptions.h"
#include "core/archive/ArchiveSpool.h"

namespace saroko::cli {

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
    const std::size_t waiting = site ? site->Waiting() : a.Waiting();
    const std::string error = answers ? std::string() : a.Store().LastError();
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
        std::cout << j.dump(2) << "\n";
    } else {
        std::cout << "archive: " << location
                  << (site ? " (site archive, PostgreSQL)" : " (local file)") << "\n"
                  << "answers: " << (answers ? "yes" : "no: " + error) << "\n"
                  << "waiting: " << waiting << (waiting == 1 ? " event" : " events") << "\n";
    }
    return answers ? kExitOk : kExitFailed;
}

// What waits on this computer for a site archive's server is in no list the server gives:
// the log shows those events marked "waiting" (of one recording when `sha256` is given), the
// list counts them and the recordings they bring.
void SayWaiting(archive::IArchiveStore& store, bool log, const std::string& sha256,
                nlohmann::json* json) {
    auto* site = dynamic_cast<archive::CSpooledArchiveStore*>(&store);
    if (!site)
        return;
    const std::vector<archive::SpooledEntry> waiting = site->WaitingEntries();
    std::size_t events = 0, recordings = 0;
    for (const archive::SpooledEntry& s : waiting) {
        const archive::Event& e = s.entry.event;
        if (!sha256.empty() && e.recordingSha256 != sha256)
            continue;
        ++events;
        recordings += s.entry.recording ? 1 : 0;
        if (!log)
            continue;
        if (json) {
            json->push_back({{"waiting", true},
                             {"time_utc", e.timeUtc},
                             {"utc_offset_minutes", e.offsetMinutes},
                             {"user", e.user},
                             {"host", e.host},
                             {"version", e.version},
                             {"event", archive::EventKindName(e.kind)},
                             {"detail", e.detail},
                             {"sha256", e.recordingSha256},
                             {"old", e.oldValue},
                             {"new", e.newValue},
                             {"reason", e.reason}});
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
