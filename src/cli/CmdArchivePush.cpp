// saroko-cli archive push: a local archive's recordings and events sent to the site archive of
// this run, each local chain kept checkable there; and the check of those chains that
// archive verify makes on a site archive.
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/CliArchive.h"
#include "cli/CliOptions.h"
#include "core/archive/ArchivePush.h"
#include "core/files/Utf8Path.h"
#include "platform/ArchiveSetup.h"
#include "platform/SqliteArchiveStore.h"

namespace saroko::cli {

bool VerifyPushedChains(archive::IArchiveStore& store, const archive::Sha256Fn& hash,
                        const std::vector<archive::Event>& events, nlohmann::json* json);

void DeclareArchivePush(CVerbOptions& o) {
    o.AddFlag("json");
}

namespace {

// The push's result for --json: what went, what the site held already, the site's chain head
// after it; a failure is named in "error" (and said on stderr as without --json).
int SayPushJson(const std::string& from, const std::string& site, const archive::PushResult& r,
                const std::string& chainHead) {
    const auto orNull = [](const std::string& s) {
        return s.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(s);
    };
    nlohmann::ordered_json j;
    j["archive"] = from;
    j["site"] = archive::ShownLocation(site);
    j["chain"] = orNull(r.chain);
    j["sent"] = r.sent;
    j["already"] = r.already;
    // The local chain's numbers of the events sent: the site held the first `already` of them.
    j["first_sent"] = r.sent ? nlohmann::ordered_json(r.already + 1) : nlohmann::ordered_json();
    j["last_sent"] = r.sent ? nlohmann::ordered_json(r.already + r.sent) : nlohmann::ordered_json();
    j["recordings"] = r.recordings;
    j["chain_head"] = orNull(chainHead);
    j["error"] = r.status == archive::StoreStatus::kOk ? nlohmann::ordered_json()
                                                       : nlohmann::ordered_json(r.problem);
    std::cout << j.dump(2) << "\n";
    if (r.status != archive::StoreStatus::kOk)
        std::cerr << "saroko-cli archive: push: " << r.problem << "\n";
    return r.status == archive::StoreStatus::kOk ? kExitOk : kExitFailed;
}

} // namespace

int RunArchivePush(const CVerbOptions& o) {
    if (o.Files().size() > 1)
        return o.Fail("push takes one local archive at most");
    const std::string site = CliArchivePath();
    if (!archive::IsSiteLocation(site))
        return o.Fail("push sends a local archive to a site archive: name the site with"
                      " --archive postgresql://... before the verb");
    const std::string from = o.Files().empty() ? ArchiveFilePath() : o.Files().front();
    const bool json = o.Has("json");
    const auto refuse = [&](const std::string& problem) -> int {
        archive::PushResult failed;
        failed.status = archive::StoreStatus::kFailed;
        failed.problem = problem;
        if (json)
            return SayPushJson(from, site, failed, {});
        std::cerr << "saroko-cli archive: " << problem << "\n";
        return kExitFailed;
    };
    std::error_code ec;
    if (!std::filesystem::is_regular_file(PathOfUtf8(from), ec))
        return refuse(from + ": no such archive");
    CSqliteArchiveStore local(from);
    if (local.OpenStatus() != archive::StoreStatus::kOk)
        return refuse(local.LastError());
    archive::CArchiveSession& a = CliArchive();
    auto* spooled = dynamic_cast<archive::CSpooledArchiveStore*>(&a.Store());
    if (!spooled)
        return kExitFailed;
    a.TakeMessage(); // a server that is away is said once, below
    const archive::PushResult r = archive::Push(local, spooled->Site(), a.Hash(), a.Context().host);
    if (json)
        return SayPushJson(from, site, r, a.ChainHead());
    const std::string chain = r.chain.substr(0, 16);
    if (r.status != archive::StoreStatus::kOk) {
        if (r.sent > 0)
            std::cout << "pushed " << r.sent << " events of chain " << chain << " before:\n";
        std::cerr << "saroko-cli archive: push: " << r.problem << "\n";
        return kExitFailed;
    }
    if (r.chain.empty()) {
        std::cout << from << ": no events to push\n";
        return kExitOk;
    }
    std::cout << "pushed " << r.sent << (r.sent == 1 ? " event" : " events") << " of " << from
              << " (chain " << chain << ") to " << archive::ShownLocation(site) << "; " << r.already
              << " were there already\n";
    return kExitOk;
}

// Each pushed chain at the site: one line (or one JSON entry) each; true when all hold.
bool VerifyPushedChains(archive::IArchiveStore& store, const archive::Sha256Fn& hash,
                        const std::vector<archive::Event>& events, nlohmann::json* json) {
    auto* spooled = dynamic_cast<archive::CSpooledArchiveStore*>(&store);
    std::vector<archive::EventOrigin> origins;
    // A local archive, or a site of the schema before pushes: no pushed chains.
    if (!spooled || spooled->Site().Origins(origins) != archive::StoreStatus::kOk)
        return true;
    bool all = true;
    for (const archive::OriginCheck& c : archive::CheckOrigins(hash, events, origins)) {
        all = all && !c.broken;
        if (json) {
            (*json)["pushed"].push_back(
                {{"chain", c.chain},
                 {"host", c.host},
                 {"events", c.events},
                 {"chain_break",
                  c.broken ? nlohmann::json{{"seq", c.broken->seq}, {"what", c.broken->what}}
                           : nlohmann::json()}});
            continue;
        }
        std::cout << "pushed chain " << c.chain.substr(0, 16) << " from " << c.host << ": ";
        if (c.broken)
            std::cout << "broken at its event " << c.broken->seq << ": " << c.broken->what << "\n";
        else
            std::cout << "holds: " << c.events << " events\n";
    }
    return all;
}

} // namespace saroko::cli
