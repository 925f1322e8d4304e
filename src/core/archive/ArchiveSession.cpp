#include "core/archive/ArchiveSession.h"
#include "core/archive/ArchiveFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>

#include "core/document/ChannelRecord.h"
#include "core/document/ZorvicDoc.h"
#include "core/files/KlgFormat.h"
#include "core/messages/Translate.h"
#include "core/report/ReportProvenance.h"
#include "core/text/TimeUtil.h"

namespace saroko::archive {
namespace {

uint32_t U32At(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// A fixed field without its trailing NULs and spaces.
std::string_view Trimmed(const uint8_t* p, std::size_t n) {
    std::size_t len = strnlen(reinterpret_cast<const char*>(p), n);
    while (len > 0 && p[len - 1] == ' ')
        --len;
    return {reinterpret_cast<const char*>(p), len};
}

// The offset from UTC that the header's local start text implies, in whole minutes.
std::optional<int> ImpliedOffset(const KlgStartFields& f) {
    const long y = f.year, mo = f.month, d = f.day, hh = f.hour, mi = f.minute, s = f.second;
    if (y < 1900 || mo < 1 || mo > 12 || d < 1 || d > 31 || hh > 23 || mi > 59 || s > 60)
        return std::nullopt;
    const int64_t local =
        DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) * 86400 + hh * 3600 +
        mi * 60 + s;
    const int64_t diff = local - static_cast<int64_t>(f.utc);
    if (diff < -18 * 3600 || diff > 18 * 3600)
        return std::nullopt;
    return static_cast<int>((diff >= 0 ? diff + 30 : diff - 30) / 60);
}

} // namespace

std::optional<Recording> DescribeDataFile(std::string_view bytes, const std::string& path,
                                          const ITextCodec& codec, const Sha256Fn& hash) {
    KlgImage image;
    const std::span<const uint8_t> data(reinterpret_cast<const uint8_t*>(bytes.data()),
                                        bytes.size());
    if (!ParseKlgImage(data, image))
        return std::nullopt;
    Recording r;
    r.sha256 = Sha256Hex(hash, bytes);
    r.size = bytes.size();
    r.path = path;
    r.source = kSourceFile;
    for (const KlgBlock& b : image.blocks) {
        const uint8_t* h = b.header;
        ChannelInfo c;
        c.number = b.number;
        c.name = codec.Cp932ToUtf8(Trimmed(h + klg::kOffName, 8));
        // The start as the document reads it.
        const KlgStartFields start = StartFieldsOf(h);
        c.startUtc = StartTimeOf(start);
        c.startLocal = codec.Cp932ToUtf8(Trimmed(h + klg::kOffDateText, 23));
        c.interval = b.interval;
        c.samples = b.count;
        if (r.recorder.empty())
            r.recorder = RecorderModelName(U32At(h + klg::kOffModel));
        if (!r.utcOffsetMinutes)
            r.utcOffsetMinutes = ImpliedOffset(start);
        r.channels.push_back(std::move(c));
    }
    return r;
}

std::string StoreMessage(StoreStatus status, const std::string& detail) {
    const char* head = nullptr;
    switch (status) {
    case StoreStatus::kOk:
        return {};
    case StoreStatus::kBusy:
        head = SAROKO_TRANSLATE_NOOP("Archive", "記録保管庫が他のプログラムに使われています。");
        break;
    case StoreStatus::kReadOnly:
        head = SAROKO_TRANSLATE_NOOP("Archive", "記録保管庫に書き込めません（読み取り専用）。");
        break;
    case StoreStatus::kFull:
        head = SAROKO_TRANSLATE_NOOP("Archive", "ディスクがいっぱいで記録保管庫に書き込めません。");
        break;
    case StoreStatus::kCorrupt:
        head = SAROKO_TRANSLATE_NOOP("Archive", "記録保管庫が壊れています。");
        break;
    case StoreStatus::kNewerSchema:
        head =
            SAROKO_TRANSLATE_NOOP("Archive", "記録保管庫はこのプログラムより新しい版のものです。");
        break;
    case StoreStatus::kFailed:
        head = SAROKO_TRANSLATE_NOOP("Archive", "記録保管庫に書き込めません。");
        break;
    }
    std::string text = TranslateText("Archive", head);
    text += ' ';
    text += TranslateText(
        "Archive", "作業はそのまま続けられます。記録は書き込めるようになった時に書き込みます。");
    if (!detail.empty())
        text += "\n" + detail;
    return text;
}

CArchiveSession::CArchiveSession(IArchiveStore* store, Sha256Fn hash, SessionContext context)
    : m_pStore(store), m_hash(std::move(hash)), m_context(std::move(context)) {}

Event CArchiveSession::NewEvent(EventKind kind, const std::string& detail,
                                const std::string& oldValue, const std::string& newValue,
                                const std::string& reason) const {
    Event e;
    const int64_t now = m_context.nowUtc ? m_context.nowUtc() : 0;
    e.timeUtc = UtcText(now);
    e.offsetMinutes = m_context.offsetMinutes ? m_context.offsetMinutes(now) : 0;
    e.user = m_context.user;
    e.host = m_context.host;
    e.version = m_context.version;
    e.kind = kind;
    e.detail = detail;
    e.oldValue = oldValue;
    e.newValue = newValue;
    e.reason = reason;
    return e;
}

Recording CArchiveSession::Record(EventKind kind, const Recording& recording,
                                  const std::string& detail, const std::string& oldValue,
                                  const std::string& newValue, const std::string& reason) {
    return Append(kind, recording, detail, oldValue, newValue, reason, std::nullopt);
}

Recording CArchiveSession::Keep(const Recording& recording, const std::string& detail,
                                KeptFile kept) {
    const std::string named = FileText(kept.path, recording.sha256);
    return Append(EventKind::Created, recording, detail, {}, named, {}, std::move(kept));
}

bool CArchiveSession::Pending(const std::string& sha256) const {
    return std::any_of(m_pending.begin(), m_pending.end(), [&](const PendingEntry& p) {
        return p.recording && p.recording->sha256 == sha256;
    });
}

std::optional<Recording> CArchiveSession::ChangedAt(const std::string& path,
                                                    const std::string& sha256) {
    std::optional<Recording> at;
    bool kept = false;
    // A kept file holds its recording's bytes or is that recording changed, whatever else it
    // may hold now; a file merely first seen there may since hold another recording.
    if (!m_pStore || path.empty() || m_pStore->FindByPath(path, at, kept) != StoreStatus::kOk ||
        !at || at->sha256 == sha256 || (!kept && (Pending(sha256) || Find(sha256))))
        return std::nullopt;
    return at;
}

std::optional<Opening> CArchiveSession::Identify(const std::string& path,
                                                 const std::string& sha256) {
    if (std::optional<Recording> at = ChangedAt(path, sha256))
        return Opening{std::move(*at), sha256};
    if (std::optional<Recording> r = Find(sha256))
        return Opening{std::move(*r), {}};
    return std::nullopt;
}

Opening CArchiveSession::Open(const Recording& described) {
    if (std::optional<Recording> at = ChangedAt(described.path, described.sha256)) {
        RecordAbout(EventKind::Opened, at->sha256, "changed", {},
                    FileText(described.path, described.sha256));
        return Opening{std::move(*at), described.sha256};
    }
    return Opening{Record(EventKind::Opened, described), {}};
}

Recording CArchiveSession::Append(EventKind kind, const Recording& recording,
                                  const std::string& detail, const std::string& oldValue,
                                  const std::string& newValue, const std::string& reason,
                                  std::optional<KeptFile> kept) {
    if (!m_pStore)
        return recording;
    PendingEntry entry;
    entry.event = NewEvent(kind, detail, oldValue, newValue, reason);
    entry.event.recordingSha256 = recording.sha256;
    Recording r = recording;
    r.firstSeen = entry.event.timeUtc;
    if (kept) {
        kept->keptAt = entry.event.timeUtc;
        entry.kept = std::move(kept);
    }
    bool known = Pending(r.sha256);
    if (!known) {
        std::optional<Recording> found;
        if (m_pStore->FindRecording(r.sha256, found) == StoreStatus::kOk && found) {
            r = *found;
            known = true;
        }
    }
    // A file seen the first time is created by that event, whatever it was.
    if (!known) {
        entry.recording = r;
        if (kind != EventKind::Created) {
            PendingEntry created;
            created.recording = r;
            created.event = NewEvent(EventKind::Created, kCreatedImported, {}, {}, {});
            created.event.recordingSha256 = r.sha256;
            m_pending.push_back(std::move(created));
            entry.recording.reset();
        }
    }
    m_pending.push_back(std::move(entry));
    if (m_bHeld)
        return r;
    Flush();
    if (r.id == 0)
        if (std::optional<Recording> f = Find(r.sha256))
            r = *f;
    return r;
}

void CArchiveSession::RecordAbout(EventKind kind, const std::string& sha256,
                                  const std::string& detail, const std::string& oldValue,
                                  const std::string& newValue, const std::string& reason) {
    if (!m_pStore)
        return;
    PendingEntry entry;
    entry.event = NewEvent(kind, detail, oldValue, newValue, reason);
    entry.event.recordingSha256 = sha256;
    m_pending.push_back(std::move(entry));
    if (!m_bHeld)
        Flush();
}

void CArchiveSession::NoteFailure(StoreStatus status) {
    m_status = status;
    if (!m_bReported) {
        m_bReported = true;
        m_szMessage = StoreMessage(status, m_pStore->LastError());
    }
}

bool CArchiveSession::Flush() {
    if (!m_pStore || m_pending.empty())
        return true;
    std::vector<PendingEntry> batch = m_pending;
    const StoreStatus s =
        m_pStore->Write(batch, [this](const Event* last, Event& e) { SealEvent(m_hash, last, e); });
    if (s != StoreStatus::kOk) {
        NoteFailure(s);
        return false;
    }
    m_status = StoreStatus::kOk;
    m_pending.clear();
    return true;
}

std::string CArchiveSession::TakeMessage() {
    return std::exchange(m_szMessage, std::string());
}

std::string CArchiveSession::ChainHead() {
    if (!m_pStore)
        return {};
    std::vector<Event> events;
    if (m_pStore->Events(events) != StoreStatus::kOk || events.empty())
        return {};
    return events.back().hash;
}

std::optional<Recording> CArchiveSession::Find(const std::string& sha256) {
    std::optional<Recording> found;
    if (!m_pStore || m_pStore->FindRecording(sha256, found) != StoreStatus::kOk)
        return std::nullopt;
    return found;
}

VerifyReport CArchiveSession::Verify(const FileHasher& hashFile) {
    VerifyReport report;
    if (!m_pStore)
        return report;
    std::vector<Event> events;
    std::vector<Recording> recordings;
    m_pStore->Events(events);
    m_pStore->Recordings(recordings);
    report.events = events.size();
    report.recordings = recordings.size();
    report.chainBreak = CheckChain(m_hash, events);
    // A recording's hash is the one its creation event carries: the table alone is not
    // trusted, since the chain does not cover it.
    std::map<int64_t, std::string> createdHash;
    for (const Event& e : events)
        if (e.kind == EventKind::Created && !createdHash.count(e.recordingId))
            createdHash[e.recordingId] = e.recordingSha256;
    for (Recording& r : recordings) {
        auto it = createdHash.find(r.id);
        if (it != createdHash.end() && it->second != r.sha256) {
            report.files.push_back({r.id, r.path, it->second, r.sha256});
            r.sha256 = it->second;
        }
    }
    std::vector<KeptFile> kept;
    m_pStore->KeptFiles(kept);
    report.keptFiles = kept.size();
    std::vector<FileCheck> checks;
    const int64_t now = m_context.nowUtc ? m_context.nowUtc() : 0;
    for (FileProblem& p : CheckKeptFiles(recordings, kept, hashFile, &checks, UtcText(now)))
        report.files.push_back(std::move(p));
    // What was found is shown until the next check; a store that cannot keep it loses
    // nothing of the archive's promise.
    m_pStore->SaveChecks(checks);
    return report;
}

std::string ChangedFileMessage(const std::string& path, const Opening& o) {
    if (!o.Changed())
        return {};
    const std::string format = TranslateFormat(
        "Archive", "%s は記録保管庫の記録 %lld のファイルですが、内容が保管した時と違います。");
    const long long id = o.recording.id;
    std::string text(
        static_cast<std::size_t>(std::snprintf(nullptr, 0, format.c_str(), path.c_str(), id)),
        '\0');
    std::snprintf(text.data(), text.size() + 1, format.c_str(), path.c_str(), id);
    text += "\n" + TranslateText("Archive", "保管時の SHA-256:") + " " + o.recording.sha256;
    text += "\n" + TranslateText("Archive", "現在の SHA-256:") + " " + o.foundSha256;
    text += "\n" + TranslateText("Archive", "記録保管庫は元の記録についての出来事として残します。");
    return text;
}

} // namespace saroko::archive
