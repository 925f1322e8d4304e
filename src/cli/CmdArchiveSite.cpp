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

} // namespace saroko::cli
