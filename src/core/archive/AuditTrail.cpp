#include "core/archive/AuditTrail.h"

#include <algorithm>

#include "core/archive/Units.h"
#include "core/text/TimeUtil.h"

namespace saroko::archive {
namespace {

bool Digits(std::string_view s, std::size_t at, std::size_t n, int& out) {
    out = 0;
    for (std::size_t i = at; i < at + n; ++i) {
        if (s[i] < '0' || s[i] > '9')
            return false;
        out = out * 10 + (s[i] - '0');
    }
    return true;
}

void AppendCsvField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == field.npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

} // namespace

std::optional<int64_t> ParseUtcText(std::string_view text) {
    // 2026-12-07T08:30:00Z
    if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':' || text[19] != 'Z')
        return std::nullopt;
    int y, mo, d, h, mi, s;
    if (!Digits(text, 0, 4, y) || !Digits(text, 5, 2, mo) || !Digits(text, 8, 2, d) ||
        !Digits(text, 11, 2, h) || !Digits(text, 14, 2, mi) || !Digits(text, 17, 2, s))
        return std::nullopt;
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 59)
        return std::nullopt;
    const int64_t t =
        DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) * 86400 + h * 3600 +
        mi * 60 + s;
    // A day the month does not have ("02-30") comes back as another text.
    if (UtcText(t) != text)
        return std::nullopt;
    return t;
}

bool InScope(const Event& e, const AuditScope& scope) {
    if (scope.recordingId > 0 && e.recordingId != scope.recordingId)
        return false;
    if (!scope.from && !scope.to)
        return true;
    const std::optional<int64_t> t = ParseUtcText(e.timeUtc);
    return t && (!scope.from || *t >= *scope.from) && (!scope.to || *t < *scope.to);
}

bool MakeAuditTrail(CArchiveSession& session, const AuditScope& scope, AuditTrail& out,
                    std::string& problem) {
    if (!session.Enabled()) {
        problem = "no archive";
        return false;
    }
    IArchiveStore& store = session.Store();
    out = {};
    out.scope = scope;
    if (scope.recordingId > 0) {
        std::vector<Recording> all;
        if (store.Recordings(all) != StoreStatus::kOk) {
            problem = store.LastError();
            return false;
        }
        const auto it = std::find_if(all.begin(), all.end(),
                                     [&](const Recording& r) { return r.id == scope.recordingId; });
        if (it == all.end()) {
            problem = "no recording " + std::to_string(scope.recordingId);
            return false;
        }
        out.recordingPath = it->path;
    }
    std::vector<Event> chain;
    if (store.Events(chain) != StoreStatus::kOk) {
        problem = store.LastError();
        return false;
    }
    out.chainEvents = chain.size();
    out.chainBreak = CheckChain(session.Hash(), chain);
    out.chainHead = chain.empty() ? std::string() : chain.back().hash;
    std::vector<bool> ofUnit;
    if (scope.unitId > 0) {
        const UnitsState units = FoldUnits(chain);
        const Unit* u = units.Find(scope.unitId);
        if (!u) {
            problem = "no storage unit " + std::to_string(scope.unitId);
            return false;
        }
        out.unitName = u->fields.name;
        ofUnit = EventsOfUnit(chain, scope.unitId);
    }
    for (std::size_t i = 0; i < chain.size(); ++i)
        if (InScope(chain[i], scope) && (ofUnit.empty() || ofUnit[i]))
            out.events.push_back(std::move(chain[i]));
    const SessionContext& c = session.Context();
    out.madeAt = c.nowUtc ? c.nowUtc() : 0;
    out.madeOffsetMinutes = c.offsetMinutes ? c.offsetMinutes(out.madeAt) : 0;
    out.user = c.user;
    out.host = c.host;
    out.version = c.version;
    return true;
}

std::string AuditCsv(const std::vector<Event>& events) {
    std::string out = "seq,time_utc,utc_offset_minutes,user,host,version,event,detail,"
                      "recording_id,sha256,old_value,new_value,reason,prev_hash,hash\r\n";
    for (const Event& e : events) {
        const std::string fields[] = {std::to_string(e.seq),
                                      e.timeUtc,
                                      std::to_string(e.offsetMinutes),
                                      e.user,
                                      e.host,
                                      e.version,
                                      EventKindName(e.kind),
                                      e.detail,
                                      std::to_string(e.recordingId),
                                      e.recordingSha256,
                                      e.oldValue,
                                      e.newValue,
                                      e.reason,
                                      e.prevHash,
                                      e.hash};
        for (std::size_t i = 0; i < std::size(fields); ++i) {
            if (i)
                out += ',';
            AppendCsvField(out, fields[i]);
        }
        out += "\r\n";
    }
    return out;
}

} // namespace saroko::archive
