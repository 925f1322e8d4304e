// saroko-cli archive list|log|verify|repair, and verify FILE...: the recordings archive read
// back, checked and, when it is damaged, set aside for a new one.
#include <QDateTime>
#include <QSaveFile>
#ifdef SAROKO_CLI_HAS_GUI
#include <QGuiApplication>

#include "ui/printing/ReportPdf.h"
#endif

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <unistd.h>

#include "cli/CliArchive.h"
#include "cli/CliCommon.h"
#include "cli/CliOptions.h"
#include "core/archive/ArchiveFiles.h"
#include "core/archive/ArchiveSpool.h"
#include "core/archive/AuditTrail.h"
#include "core/archive/Units.h"
#include "core/document/LocalDateTime.h"
#include "core/files/Utf8Path.h"
#include "core/report/ReportProvenance.h"
#include "core/text/TimeUtil.h"
#include "platform/ArchiveSetup.h"
#include "platform/QtSettingsStore.h"
#include "platform/SqliteArchiveStore.h"
#include "platform/UserFolders.h"

namespace saroko::cli {

// CmdArchivePush.cpp: the pushed chains of a site archive checked, said, true when all hold.
bool VerifyPushedChains(archive::IArchiveStore& store, const archive::Sha256Fn& hash,
                        const std::vector<archive::Event>& events, nlohmann::json* json);

// CmdArchiveSite.cpp: the events waiting for a site archive's server, shown or counted.
void SayWaiting(archive::IArchiveStore& store, bool log, const std::string& sha256,
                nlohmann::json* json);

using archive::Event;
using archive::Recording;

extern const char kArchiveUsage[] =
    "usage: saroko-cli archive SUBCOMMAND [--json] ...\n"
    "  list [--from T --to T] [--name TEXT] [--headings] [--json]\n"
    "                 the recordings: when first seen (UTC), recorder, channels, first and\n"
    "                 last sample (local time with its UTC offset), samples and status\n"
    "                 (verified, changed, missing, unverified), and each file kept of them;\n"
    "                 --from/--to keep those whose samples reach into the window, --name\n"
    "                 those with a channel name containing TEXT; column headings on a\n"
    "                 terminal, and with --headings\n"
    "  log [ID | --unit NAME] [--from T --to T] [--json | --pdf OUT | --csv OUT]\n"
    "                 the audit trail, or the events of recording ID; --from/--to keep\n"
    "                 the events from T (included) to T (left out), local times as\n"
    "                 \"YYYY/MM/DD HH:MM:SS\"; --pdf writes them as the report's pages with\n"
    "                 the check of the whole chain, --csv one row per event with every\n"
    "                 field (RFC 4180, UTF-8)\n"
    "  verify [--json]\n"
    "                 walks the hash chain and hashes every kept file again; exit status 0\n"
    "                 only when everything holds, 1 when something does not\n"
    "  repair         sets a damaged archive aside under a new name and starts a new one\n"
    "  status [--json]\n"
    "                 where the archive is, whether it answers, and how many events wait\n"
    "                 on this computer for a site archive's server; exit status 1 when it\n"
    "                 does not answer\n"
    "  push [FILE] [--json]\n"
    "                 sends a local archive (this user's, or FILE) to the site archive\n"
    "                 that --archive names: the events the site does not hold yet, each\n"
    "                 with its place in the local chain, which verify on the site checks;\n"
    "                 --json: what was sent and already there, and the site's chain head\n"
    "  import         takes in the downloads kept on this computer that the archive does\n"
    "                 not hold (\"created (imported)\" events), as the window offers on a\n"
    "                 site archive's first use\n"
    "  setting [reason-required (on|off) [--reason TEXT]]\n"
    "                 the archive's own settings, or sets whether every change needs a\n"
    "                 reason for all users (turning it off needs --reason)\n"
    "The archive is archive.sqlite in the program's data folder; before the verb,\n"
    "--archive FILE uses another one, --archive postgresql://... (or key=value pairs\n"
    "as libpq takes them) a site archive on a PostgreSQL server, and --no-archive\n"
    "leaves it alone for one run.\n";

extern const char kVerifyUsage[] =
    "usage: saroko-cli verify [--json] FILE...\n"
    "  Says for each file whether its bytes are those of an archived recording: which one,\n"
    "  when and how it came, from which recorder, and its later events. A file where the\n"
    "  archive keeps a recording that no longer holds its bytes is \"changed\". Exit status 0\n"
    "  when every file is found unchanged, 1 otherwise.\n";

// An event as the --json verbs give it. One that waits on this computer for a site archive's
// server has no place in the chain yet: no number, recording id or hashes, and "waiting".
nlohmann::json EventJson(const Event& e, bool waiting) {
    nlohmann::json j{{"time_utc", e.timeUtc}, {"utc_offset_minutes", e.offsetMinutes},
                     {"user", e.user},        {"host", e.host},
                     {"version", e.version},  {"event", archive::EventKindName(e.kind)},
                     {"detail", e.detail},    {"sha256", e.recordingSha256},
                     {"old", e.oldValue},     {"new", e.newValue},
                     {"reason", e.reason}};
    if (waiting) {
        j["waiting"] = true;
        return j;
    }
    j["seq"] = e.seq;
    j["recording"] = e.recordingId;
    j["prev_hash"] = e.prevHash;
    j["hash"] = e.hash;
    return j;
}

namespace {

// A local time with its offset: "2026/12/07 17:29:38+09:00".
std::string LocalText(int64_t t) {
    if (t < 0 || t > UINT32_MAX)
        return "----/--/-- --:--:--";
    const int offset = LocalUtcOffset(static_cast<uint32_t>(t));
    const int a = offset < 0 ? -offset : offset;
    char zone[16];
    std::snprintf(zone, sizeof zone, "%c%02d:%02d", offset < 0 ? '-' : '+', a / 3600, a / 60 % 60);
    return FormatLocalDateTime(static_cast<uint32_t>(t)) + zone;
}

constexpr char kListHeadings[] =
    "ID  FIRST SEEN (UTC)  SOURCE  RECORDER  CHANNELS  FIRST SAMPLE - LAST SAMPLE  SAMPLES"
    "  STATUS  PATH\n";

// A JSON string as nlohmann's dump writes it: UTF-8 as it is, the quote, the backslash and
// control characters escaped.
void AppendJsonString(std::string& out, std::string_view s) {
    out += '"';
    for (std::size_t i = 0; i < s.size(); ++i) {
        // The characters that stay as they are go in runs.
        std::size_t run = i;
        while (run < s.size() && static_cast<unsigned char>(s[run]) >= 0x20 && s[run] != '"' &&
               s[run] != '\\')
            ++run;
        out.append(s.data() + i, run - i);
        if ((i = run) == s.size())
            break;
        const unsigned char c = static_cast<unsigned char>(s[i]);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
}

// Writes one JSON object member by member, indented as dump(2) indents, keys in the order
// given (alphabetical, as the other JSON of saroko-cli).
class JsonObject {
public:
    JsonObject(std::string& out, int depth) : m_out(out), m_depth(depth) { m_out += '{'; }
    ~JsonObject() {
        m_out += '\n';
        m_out.append(static_cast<std::size_t>(m_depth) * 2, ' ');
        m_out += '}';
    }
    std::string& Key(const char* key) {
        m_out += m_first ? "\n" : ",\n";
        m_first = false;
        m_out.append(static_cast<std::size_t>(m_depth + 1) * 2, ' ');
        m_out += '"';
        m_out += key;
        m_out += "\": ";
        return m_out;
    }
    void Text(const char* key, std::string_view v) { AppendJsonString(Key(key), v); }
    void Number(const char* key, int64_t v) { Key(key) += std::to_string(v); }
    int Depth() const { return m_depth + 1; }

private:
    std::string& m_out;
    int m_depth;
    bool m_first = true;
};

// A recording as the list and verify show it, streamed: ten thousand of them are listed in a
// fraction of the time a document tree would take.
struct KeptStatus {
    archive::KeptFile file;
    std::string status;
};

void AppendRecordingJson(std::string& out, const Recording& r, const std::string& status, int depth,
                         const std::vector<KeptStatus>* kept = nullptr) {
    JsonObject o(out, depth);
    std::string& ch = o.Key("channels");
    if (r.channels.empty()) {
        ch += "[]";
    } else {
        ch += '[';
        for (std::size_t i = 0; i < r.channels.size(); ++i) {
            const archive::ChannelInfo& c = r.channels[i];
            ch += i ? ",\n" : "\n";
            ch.append(static_cast<std::size_t>(o.Depth() + 1) * 2, ' ');
            JsonObject j(ch, o.Depth() + 1);
            j.Number("interval", c.interval);
            j.Text("name", c.name);
            j.Number("number", c.number);
            j.Number("samples", c.samples);
            j.Text("start_local", c.startLocal);
            j.Text("start_utc", UtcText(c.startUtc));
        }
        ch += '\n';
        ch.append(static_cast<std::size_t>(o.Depth()) * 2, ' ');
        ch += ']';
    }
    const auto [first, last] = archive::SampleSpan(r);
    o.Text("first_sample", UtcText(first));
    o.Text("first_seen", r.firstSeen);
    o.Number("id", r.id);
    o.Text("identity", r.identity);
    if (kept) {
        std::string& k = o.Key("kept_files");
        k += '[';
        for (std::size_t i = 0; i < kept->size(); ++i) {
            const KeptStatus& f = (*kept)[i];
            k += i ? ",\n" : "\n";
            k.append(static_cast<std::size_t>(o.Depth() + 1) * 2, ' ');
            JsonObject j(k, o.Depth() + 1);
            j.Text("kept_at", f.file.keptAt);
            j.Text("path", f.file.path);
            j.Text("status", f.status);
            j.Text("transcript_path", f.file.transcriptPath);
            j.Text("transcript_sha256", f.file.transcriptSha256);
        }
        if (!kept->empty()) {
            k += '\n';
            k.append(static_cast<std::size_t>(o.Depth()) * 2, ' ');
        }
        k += ']';
    }
    o.Text("last_sample", UtcText(last));
    o.Text("path", r.path);
    o.Text("recorder", r.recorder);
    o.Number("samples", archive::SampleTotal(r));
    o.Text("sha256", r.sha256);
    o.Number("size", static_cast<int64_t>(r.size));
    o.Text("source", r.source);
    o.Text("status", status);
    if (!r.transcriptPath.empty()) {
        JsonObject t(o.Key("transcript"), o.Depth());
        t.Text("path", r.transcriptPath);
        t.Text("sha256", r.transcriptSha256);
    }
    if (r.utcOffsetMinutes)
        o.Number("utc_offset_minutes", *r.utcOffsetMinutes);
    else
        o.Key("utc_offset_minutes") += "null";
}

nlohmann::json RecordingJson(const Recording& r, const std::string& status) {
    std::string text;
    AppendRecordingJson(text, r, status, 0);
    return nlohmann::json::parse(text);
}

std::string EventLine(const Event& e) {
    std::string line = std::to_string(e.seq) + "  " + e.timeUtc + "  " + e.user + "@" + e.host +
                       "  " + archive::EventKindName(e.kind);
    if (!e.detail.empty())
        line += " (" + e.detail + ")";
    line += "  #" + std::to_string(e.recordingId);
    // A unit's, a calibration's, a key's, a signature's or a setting's text is lines: one line
    // here, "; " between.
    const auto oneLine = [](std::string v) {
        for (std::size_t at = v.find('\n'); at != std::string::npos; at = v.find('\n', at))
            v.replace(at, 1, "; ");
        return v;
    };
    if (!e.oldValue.empty() || !e.newValue.empty())
        line += "  " + oneLine(e.oldValue) + " -> " + oneLine(e.newValue);
    if (!e.reason.empty())
        line += "  reason: " + e.reason;
    return line;
}

// The whole file written, or false; the name as UTF-8, on Windows too.
bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    QSaveFile file(QString::fromStdString(path));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
               static_cast<qint64>(bytes.size()) &&
           file.commit();
}

// The session's store, refusing to go on when it cannot be read.
archive::IArchiveStore* StoreOrFail(archive::CArchiveSession& a) {
    if (!a.Enabled()) {
        std::cerr << "saroko-cli archive: --no-archive leaves nothing to read\n";
        return nullptr;
    }
    return &a.Store();
}

} // namespace

void DeclareArchiveList(CVerbOptions& o) {
    o.TakeNoFiles();
    o.AddWindow();
    o.AddValue("name");
    o.AddFlag("headings");
    o.AddFlag("json");
}

int RunArchiveList(const CVerbOptions& o) {
    archive::CArchiveSession& a = CliArchive();
    archive::IArchiveStore* store = StoreOrFail(a);
    if (!store)
        return kExitFailed;
    std::vector<Recording> all;
    if (store->Recordings(all) != archive::StoreStatus::kOk) {
        SayArchiveMessage();
        std::cerr << "saroko-cli archive: " << store->LastError() << "\n";
        SayWaiting(*store, false, {}, nullptr);
        return kExitFailed;
    }
    std::vector<archive::KeptFile> keptFiles;
    if (store->KeptFiles(keptFiles) != archive::StoreStatus::kOk) {
        std::cerr << "saroko-cli archive: " << store->LastError() << "\n";
        return kExitFailed;
    }
    std::map<int64_t, std::vector<KeptStatus>> kept;
    for (archive::KeptFile& k : keptFiles)
        kept[k.recordingId].push_back({std::move(k), {}});
    const archive::RecordingFilter filter{o.From(), o.To(), o.Value("name").value_or("")};
    // Written in pieces of about a megabyte: the buffer is reused instead of growing to the
    // whole list.
    constexpr std::size_t kPiece = 1 << 20;
    std::string out;
    out.reserve(kPiece + 64 * 1024);
    const bool json = o.Has("json");
    if (!json && (o.Has("headings") || ::isatty(STDOUT_FILENO) == 1))
        out += kListHeadings;
    bool any = false;
    static const std::vector<KeptStatus> kNone;
    for (const Recording& r : all) {
        if (!archive::Matches(r, filter))
            continue;
        if (out.size() >= kPiece) {
            std::cout << out;
            out.clear();
        }
        auto found = kept.find(r.id);
        std::vector<KeptStatus>* files = found == kept.end() ? nullptr : &found->second;
        if (files)
            for (KeptStatus& k : *files)
                k.status = QuickStatusOf(r, k.file.path);
        const std::string status = files ? files->front().status : QuickStatusOf(r);
        if (json) {
            out += any ? ",\n  " : "[\n  ";
            any = true;
            AppendRecordingJson(out, r, status, 1, files ? files : &kNone);
            continue;
        }
        const auto [first, last] = archive::SampleSpan(r);
        std::string names;
        for (const archive::ChannelInfo& c : r.channels)
            names.append(names.empty() ? "" : ",").append(c.name);
        out.append(std::to_string(r.id)).append("  ").append(r.firstSeen).append("  ");
        out.append(r.source).append("  ").append(r.recorder.empty() ? "-" : r.recorder);
        out.append("  ").append(names).append("  ").append(LocalText(first)).append(" - ");
        out.append(LocalText(last)).append("  ").append(std::to_string(archive::SampleTotal(r)));
        out.append("  ")
            .append(status)
            .append("  ")
            .append(files ? files->front().file.path : r.path)
            .append("\n");
        // The same bytes kept again: each further kept file on a line of its own.
        for (std::size_t i = 1; files && i < files->size(); ++i)
            out.append("    kept again: ")
                .append((*files)[i].status)
                .append("  ")
                .append((*files)[i].file.path)
                .append("\n");
    }
    if (json)
        out += any ? "\n]\n" : "[]\n";
    std::cout << out;
    SayWaiting(*store, false, {}, nullptr);
    return kExitOk;
}

void DeclareArchiveLog(CVerbOptions& o) {
    o.AddFlag("json");
    o.AddWindow();
    o.AddValue("unit");
    o.AddValue("pdf");
    o.AddValue("csv");
}

int RunArchiveLog(const CVerbOptions& o) {
    if (o.Files().size() > 1)
        return o.Fail("log takes one recording id at most");
    const std::optional<std::string> pdf = o.Value("pdf"), csv = o.Value("csv");
    if ((pdf ? 1 : 0) + (csv ? 1 : 0) + (o.Has("json") ? 1 : 0) > 1)
        return o.Fail("give one of --json, --pdf OUT and --csv OUT");
    if (pdf && !HasExtension(*pdf, "pdf"))
        return o.Fail("--pdf wants a .pdf file");
    if (o.Has("unit") && !o.Files().empty())
        return o.Fail("give a recording id or --unit, not both");
    archive::AuditScope scope;
    if (!o.Files().empty()) {
        const std::string& text = o.Files().front();
        if (text.empty() || text.size() > 18 ||
            !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
            (scope.recordingId = std::stoll(text)) <= 0)
            return o.Fail("log: '" + text + "' is not a recording id");
    }
    if (o.From())
        scope.from = *o.From();
    if (o.To())
        scope.to = *o.To();
    archive::CArchiveSession& a = CliArchive();
    archive::IArchiveStore* store = StoreOrFail(a);
    if (!store)
        return kExitFailed;
    if (const std::optional<std::string> unit = o.Value("unit")) {
        const archive::UnitsState units = archive::LoadUnits(a);
        const archive::Unit* u = units.FindByName(*unit);
        if (!u) {
            std::cerr << "saroko-cli archive: no storage unit '" << *unit << "' is known\n";
            return kExitFailed;
        }
        scope.unitId = u->id;
    }
    archive::AuditTrail trail;
    std::string problem;
    if (!archive::MakeAuditTrail(a, scope, trail, problem)) {
        std::cerr << "saroko-cli archive: " << problem << "\n";
        // The server away: what this computer made meanwhile is shown all the same.
        if (scope.recordingId == 0)
            SayWaiting(*store, true, {}, nullptr);
        return kExitFailed;
    }
    std::string sha256;
    if (scope.recordingId > 0 && !trail.events.empty())
        sha256 = trail.events.front().recordingSha256;
    if (csv) {
        if (!WriteWholeFile(*csv, archive::AuditCsv(trail.events))) {
            std::cerr << "saroko-cli archive: cannot write " << *csv << "\n";
            return kExitFailed;
        }
        return kExitOk;
    }
    if (pdf) {
#ifdef SAROKO_CLI_HAS_GUI
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) &&
            ui::WriteAuditTrailPdf(QString::fromStdString(*pdf), trail))
            return kExitOk;
        std::cerr << "saroko-cli archive: cannot write " << *pdf << "\n";
#else
        std::cerr << "saroko-cli archive: no graphics support in this build\n";
#endif
        return kExitFailed;
    }
    if (o.Has("json")) {
        nlohmann::json list = nlohmann::json::array();
        for (const Event& e : trail.events)
            list.push_back(EventJson(e, false));
        SayWaiting(*store, true, sha256, &list);
        std::cout << list.dump(2) << "\n";
        return kExitOk;
    }
    for (const Event& e : trail.events)
        std::cout << EventLine(e) << "\n";
    SayWaiting(*store, true, sha256, nullptr);
    return kExitOk;
}

void DeclareArchiveVerify(CVerbOptions& o) {
    o.TakeNoFiles();
    o.AddFlag("json");
}

int RunArchiveVerify(const CVerbOptions& o) {
    archive::CArchiveSession& a = CliArchive();
    archive::IArchiveStore* store = StoreOrFail(a);
    if (!store)
        return kExitFailed;
    std::vector<Event> probe;
    if (store->Events(probe) != archive::StoreStatus::kOk) {
        std::cerr << "saroko-cli archive: " << store->LastError() << "\n";
        return kExitFailed;
    }
    const archive::VerifyReport rep = a.Verify(&Sha256OfFile);
    bool pushedHold = true;
    if (o.Has("json")) {
        nlohmann::json files = nlohmann::json::array();
        for (const archive::FileProblem& p : rep.files)
            files.push_back(
                {{"recording", p.recordingId},
                 {"path", p.path},
                 {"expected", p.expected},
                 {"found", p.found.empty() ? nlohmann::json() : nlohmann::json(p.found)},
                 {"problem", p.found.empty() ? "missing" : "changed"}});
        nlohmann::json out{{"holds", rep.Holds()},         {"events", rep.events},
                           {"recordings", rep.recordings}, {"kept_files", rep.keptFiles},
                           {"chain_head", a.ChainHead()},  {"files", files}};
        out["chain_break"] = rep.chainBreak ? nlohmann::json{{"seq", rep.chainBreak->seq},
                                                             {"what", rep.chainBreak->what}}
                                            : nlohmann::json();
        pushedHold = VerifyPushedChains(*store, a.Hash(), probe, &out);
        out["holds"] = rep.Holds() && pushedHold;
        std::cout << out.dump(2) << "\n";
    } else {
        if (rep.chainBreak)
            std::cout << "chain broken at event " << rep.chainBreak->seq << ": "
                      << rep.chainBreak->what << "\n";
        else
            std::cout << "chain holds: " << rep.events << " events\n";
        for (const archive::FileProblem& p : rep.files)
            std::cout << "recording " << p.recordingId << ": " << p.path << ": "
                      << (p.found.empty() ? "missing" : "changed") << " (expected " << p.expected
                      << (p.found.empty() ? "" : ", found " + p.found) << ")\n";
        if (rep.files.empty())
            std::cout << "kept files hold: " << rep.keptFiles << " kept files, " << rep.recordings
                      << " recordings\n";
        pushedHold = VerifyPushedChains(*store, a.Hash(), probe, nullptr);
    }
    return rep.Holds() && pushedHold ? kExitOk : kExitFailed;
}

void DeclareArchiveRepair(CVerbOptions& o) {
    o.TakeNoFiles();
}

int RunArchiveRepair(const CVerbOptions&) {
    const std::string path = CliArchivePath();
    if (archive::IsSiteLocation(path)) {
        std::cout << archive::ShownLocation(path) << ": a site archive is kept by its server\n";
        return kExitOk;
    }
    {
        CSqliteArchiveStore probe(path);
        archive::StoreStatus s = probe.OpenStatus();
        std::vector<Event> events;
        std::vector<Recording> recordings;
        if (s == archive::StoreStatus::kOk)
            s = probe.Events(events);
        if (s == archive::StoreStatus::kOk)
            s = probe.Recordings(recordings);
        if (s == archive::StoreStatus::kOk) {
            std::cout << path << ": nothing to repair\n";
            return kExitOk;
        }
        if (s != archive::StoreStatus::kCorrupt) {
            std::cerr << "saroko-cli archive: " << probe.LastError() << "\n";
            return kExitFailed;
        }
    }
    const std::string stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString();
    const std::string aside = SetArchiveAside(path, stamp);
    if (aside.empty()) {
        std::cerr << "saroko-cli archive: " << path << ": cannot be set aside\n";
        return kExitFailed;
    }
    std::cout << path << ": damaged; set aside as " << aside << "\n";
    archive::CArchiveSession& a = CliArchive(); // a new archive, with the kept downloads
    a.Flush();
    SayArchiveMessage();
    return kExitOk;
}

void DeclareVerifyFiles(CVerbOptions& o) {
    o.AddFlag("json");
}

int RunVerifyFiles(const CVerbOptions& o) {
    if (o.Files().empty())
        return o.Fail("no file given");
    archive::CArchiveSession& a = CliArchive();
    archive::IArchiveStore* store = StoreOrFail(a);
    if (!store)
        return kExitFailed;
    bool all = true;
    nlohmann::json list = nlohmann::json::array();
    const auto eventsJson = [store](int64_t id) {
        std::vector<Event> events;
        store->Events(events, id);
        nlohmann::json ev = nlohmann::json::array();
        for (const Event& e : events)
            ev.push_back(EventJson(e, false));
        return ev;
    };
    for (const std::string& path : o.Files()) {
        const std::optional<std::string> hash = Sha256OfFile(path);
        if (!hash) {
            all = false;
            std::cerr << path << ": cannot be read\n";
            list.push_back({{"path", path}, {"found", false}, {"error", "unreadable"}});
            continue;
        }
        std::error_code ec;
        const std::optional<archive::Opening> id = a.Identify(archive::PlaceOf(path), *hash);
        if (id && id->Changed()) {
            // Where the archive keeps a recording lie other bytes: the recording changed.
            all = false;
            const Recording& c = id->recording;
            if (o.Has("json")) {
                list.push_back({{"path", path},
                                {"sha256", *hash},
                                {"found", false},
                                {"changed", true},
                                {"expected", c.sha256},
                                {"recording", RecordingJson(c, archive::kStatusChanged)},
                                {"events", eventsJson(c.id)}});
            } else {
                std::cout << path << ": changed: recording " << c.id << " (expected " << c.sha256
                          << ", found " << *hash << ")\n";
            }
            continue;
        }
        if (!id) {
            all = false;
            if (o.Has("json"))
                list.push_back({{"path", path}, {"sha256", *hash}, {"found", false}});
            else
                std::cout << path << ": not an archived recording (sha256 " << *hash << ")\n";
            continue;
        }
        const Recording& r = id->recording;
        if (o.Has("json")) {
            // The recording's own file is hashed too, unless it is the file just hashed.
            const std::string status = archive::RecordingStatus(r, [&](const std::string& p) {
                return std::filesystem::equivalent(PathOfUtf8(p), PathOfUtf8(path), ec)
                           ? hash
                           : Sha256OfFile(p);
            });
            list.push_back({{"path", path},
                            {"sha256", *hash},
                            {"found", true},
                            {"recording", RecordingJson(r, status)},
                            {"events", eventsJson(r.id)}});
            continue;
        }
        std::cout << path << ": recording " << r.id << ", first seen " << r.firstSeen << " ("
                  << (r.source == "download" ? "downloaded" : "file") << ")"
                  << (r.recorder.empty() ? "" : ", recorder " + r.recorder) << "\n";
        std::vector<Event> events;
        store->Events(events, r.id);
        for (const Event& e : events)
            std::cout << "  " << EventLine(e) << "\n";
    }
    if (o.Has("json"))
        std::cout << list.dump(2) << "\n";
    return all ? kExitOk : kExitFailed;
}

} // namespace saroko::cli
