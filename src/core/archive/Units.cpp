#include "core/archive/Units.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <set>
#include <span>

#include "core/archive/ArchiveFiles.h"
#include "core/archive/DocumentArchive.h"
#include "core/document/ZorvicDoc.h"
#include "core/messages/Translate.h"
#include "core/text/ParseDecimal.h"

namespace saroko::archive {
namespace {

constexpr char kCalibratedPrefix[] = "unit ";
constexpr char kChannelWord[] = " channel ";

std::string Unescape(std::string_view v) {
    std::string out;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i] == '\\' && i + 1 < v.size()) {
            const char n = v[++i];
            out += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
        } else {
            out += v[i];
        }
    }
    return out;
}

// Shortest text that reads back to the same double; "" for none.
std::string Number(const std::optional<double>& v) {
    if (!v)
        return {};
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, *v + 0.0);
    return std::string(buf, r.ptr);
}

bool ReadNumber(const std::string& text, std::optional<double>& out) {
    if (text.empty()) {
        out.reset();
        return true;
    }
    double v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size() || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

// The lines of a key=value text in the order given; nullopt when a key is missing or out of
// place, so a text of another form is never half read.
std::optional<std::vector<std::string>> Fields(std::string_view text,
                                               std::span<const char* const> keys) {
    std::vector<std::string> values;
    std::size_t pos = 0;
    for (const char* key : keys) {
        if (pos > text.size())
            return std::nullopt;
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        const std::string_view line = text.substr(pos, end - pos);
        const std::string_view k(key);
        if (line.size() <= k.size() || line.substr(0, k.size()) != k || line[k.size()] != '=')
            return std::nullopt;
        values.push_back(Unescape(line.substr(k.size() + 1)));
        pos = end + 1;
    }
    if (pos < text.size())
        return std::nullopt;
    return values;
}

constexpr const char* kUnitKeys[] = {"name",     "location",          "recorder",
                                     "ch1.low",  "ch1.high",          "ch2.low",
                                     "ch2.high", "activation_energy", "note"};
constexpr const char* kCalibrationKeys[] = {"certificate", "calibrated", "due",  "offset",
                                            "raw1",        "true1",      "raw2", "true2"};

// "ID rest" -> ID, or 0.
int LeadingId(std::string_view text) {
    int id = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), id);
    return r.ec == std::errc() && id > 0 ? id : 0;
}

Unit* FindMutable(UnitsState& state, int id) {
    return id >= 1 && id <= static_cast<int>(state.units.size()) ? &state.units[id - 1] : nullptr;
}

bool NameTaken(const UnitsState& state, const std::string& name, int except) {
    for (const Unit& u : state.units)
        if (u.id != except && u.fields.name == name)
            return true;
    return false;
}

UnitResult CheckFields(const UnitFields& f) {
    if (f.name.find_first_not_of(" \t\u3000") == std::string::npos)
        return UnitResult::kEmptyName;
    for (const UnitLimits& l : f.limits)
        if (l.low && l.high && *l.low > *l.high)
            return UnitResult::kBadLimits;
    if (f.activationEnergy && !(*f.activationEnergy > 0))
        return UnitResult::kBadEnergy;
    return UnitResult::kOk;
}

UnitResult Written(CArchiveSession& s) {
    return s.LastStatus() == StoreStatus::kOk || s.Waiting() > 0 ? UnitResult::kOk
                                                                 : UnitResult::kNoArchive;
}

} // namespace

const Unit* UnitsState::Find(int id) const {
    return id >= 1 && id <= static_cast<int>(units.size()) ? &units[id - 1] : nullptr;
}

const Unit* UnitsState::FindByName(std::string_view name) const {
    for (const Unit& u : units)
        if (u.fields.name == name)
            return &u;
    return nullptr;
}

const Unit* UnitsState::UnitOf(const std::string& sha256) const {
    const auto it = assignments.find(sha256);
    return it == assignments.end() ? nullptr : Find(it->second);
}

std::string UnitText(const UnitFields& f) {
    std::string out;
    AppendField(out, "name", f.name);
    AppendField(out, "location", f.location);
    AppendField(out, "recorder", f.recorder);
    AppendField(out, "ch1.low", Number(f.limits[0].low));
    AppendField(out, "ch1.high", Number(f.limits[0].high));
    AppendField(out, "ch2.low", Number(f.limits[1].low));
    AppendField(out, "ch2.high", Number(f.limits[1].high));
    AppendField(out, "activation_energy", Number(f.activationEnergy));
    AppendField(out, "note", f.note);
    out.pop_back(); // no line feed after the last line, as in the event text
    return out;
}

std::optional<UnitFields> ParseUnitText(std::string_view text) {
    const auto v = Fields(text, kUnitKeys);
    if (!v)
        return std::nullopt;
    UnitFields f;
    f.name = (*v)[0];
    f.location = (*v)[1];
    f.recorder = (*v)[2];
    if (!ReadNumber((*v)[3], f.limits[0].low) || !ReadNumber((*v)[4], f.limits[0].high) ||
        !ReadNumber((*v)[5], f.limits[1].low) || !ReadNumber((*v)[6], f.limits[1].high) ||
        !ReadNumber((*v)[7], f.activationEnergy))
        return std::nullopt;
    f.note = (*v)[8];
    return f;
}

std::string CalibrationText(const Calibration& c) {
    const Correction& k = c.correction;
    const bool line = k.kind == Correction::kLine;
    std::string out;
    AppendField(out, "certificate", c.certificate);
    AppendField(out, "calibrated", c.calibrated);
    AppendField(out, "due", c.due);
    AppendField(out, "offset", k.kind == Correction::kOffset ? Number(k.offset) : std::string());
    AppendField(out, "raw1", line ? Number(k.raw1) : std::string());
    AppendField(out, "true1", line ? Number(k.true1) : std::string());
    AppendField(out, "raw2", line ? Number(k.raw2) : std::string());
    AppendField(out, "true2", line ? Number(k.true2) : std::string());
    out.pop_back();
    return out;
}

std::optional<Calibration> ParseCalibrationText(std::string_view text) {
    const auto v = Fields(text, kCalibrationKeys);
    if (!v)
        return std::nullopt;
    Calibration c;
    c.certificate = (*v)[0];
    c.calibrated = (*v)[1];
    c.due = (*v)[2];
    std::optional<double> n[5];
    for (int i = 0; i < 5; ++i)
        if (!ReadNumber((*v)[3 + i], n[i]))
            return std::nullopt;
    const bool anyPoint = n[1] || n[2] || n[3] || n[4];
    if (n[0] && anyPoint)
        return std::nullopt;
    if (n[0]) {
        c.correction.kind = Correction::kOffset;
        c.correction.offset = *n[0];
    } else if (anyPoint) {
        if (!(n[1] && n[2] && n[3] && n[4]))
            return std::nullopt;
        c.correction = {Correction::kLine, 0, *n[1], *n[2], *n[3], *n[4]};
    }
    if (CheckCalibration(c) != CalibrationCheck::kOk)
        return std::nullopt;
    return c;
}

std::string AssignedText(const Unit& u) {
    return std::to_string(u.id) + " " + u.fields.name;
}

UnitsState FoldUnits(const std::vector<Event>& events) {
    UnitsState state;
    for (const Event& e : events) {
        if (e.kind == EventKind::Unit) {
            const std::optional<UnitFields> f = ParseUnitText(e.newValue);
            if (!f)
                continue;
            if (e.detail.rfind(kUnitCreated, 0) == 0) {
                Unit u;
                u.id = static_cast<int>(state.units.size()) + 1;
                u.fields = *f;
                state.units.push_back(std::move(u));
            } else if (e.detail.rfind(kUnitChanged, 0) == 0) {
                const std::string_view d(e.detail);
                if (Unit* u = FindMutable(state, LeadingId(d.substr(std::size(kUnitChanged)))))
                    u->fields = *f;
            }
        } else if (e.kind == EventKind::Calibrated) {
            // "unit ID channel C"
            const std::string_view d(e.detail);
            const std::size_t at = d.find(kChannelWord);
            if (d.rfind(kCalibratedPrefix, 0) != 0 || at == std::string_view::npos)
                continue;
            Unit* u = FindMutable(state, LeadingId(d.substr(std::size(kCalibratedPrefix) - 1)));
            const int ch = LeadingId(d.substr(at + std::size(kChannelWord) - 1));
            const std::optional<Calibration> c = ParseCalibrationText(e.newValue);
            if (u && ch >= 1 && ch <= kUnitChannels && c)
                u->calibrations[ch - 1].push_back({*c, e.timeUtc});
        } else if (e.kind == EventKind::Assigned && !e.recordingSha256.empty()) {
            if (const int id = LeadingId(e.newValue); state.Find(id))
                state.assignments[e.recordingSha256] = id;
        }
    }
    return state;
}

std::vector<bool> EventsOfUnit(const std::vector<Event>& events, int unitId) {
    std::set<std::string> recordings;
    for (const Event& e : events)
        if (e.kind == EventKind::Assigned && !e.recordingSha256.empty() &&
            LeadingId(e.newValue) == unitId)
            recordings.insert(e.recordingSha256);
    std::vector<bool> out(events.size(), false);
    int created = 0; // units are numbered by their creations, as the fold counts them
    for (std::size_t i = 0; i < events.size(); ++i) {
        const Event& e = events[i];
        const std::string_view d(e.detail);
        if (e.kind == EventKind::Unit) {
            if (!ParseUnitText(e.newValue))
                continue;
            if (d.rfind(kUnitCreated, 0) == 0)
                out[i] = ++created == unitId;
            else if (d.rfind(kUnitChanged, 0) == 0)
                out[i] = LeadingId(d.substr(std::size(kUnitChanged))) == unitId;
        } else if (e.kind == EventKind::Calibrated) {
            out[i] = d.rfind(kCalibratedPrefix, 0) == 0 &&
                     LeadingId(d.substr(std::size(kCalibratedPrefix) - 1)) == unitId;
        } else {
            out[i] = recordings.count(e.recordingSha256) > 0; // never an empty one
        }
    }
    return out;
}

int OfferedUnit(const std::vector<Event>& events, const std::vector<Recording>& recordings,
                const std::string& host, const std::string& identity) {
    if (identity.empty())
        return 0;
    std::set<std::string> fromRecorder;
    for (const Recording& r : recordings)
        if (r.identity == identity)
            fromRecorder.insert(r.sha256);
    const UnitsState state = FoldUnits(events);
    for (auto it = events.rbegin(); it != events.rend(); ++it)
        if (it->kind == EventKind::Created && it->detail == kCreatedDownloaded &&
            it->host == host && fromRecorder.count(it->recordingSha256))
            if (const Unit* u = state.UnitOf(it->recordingSha256))
                return u->id;
    return 0;
}

int OfferedUnit(CArchiveSession& s, const std::string& identity) {
    std::vector<Event> events;
    std::vector<Recording> recordings;
    if (!s.Enabled() || s.Store().Events(events) != StoreStatus::kOk ||
        s.Store().Recordings(recordings) != StoreStatus::kOk)
        return 0;
    return OfferedUnit(events, recordings, s.Context().host, identity);
}

std::optional<Calibration> CalibrationOn(const Unit& u, int channel, const std::string& day) {
    if (channel < 1 || channel > kUnitChannels)
        return std::nullopt;
    const std::vector<CalibrationEntry>& list = u.calibrations[channel - 1];
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if (it->calibration.calibrated.empty() || it->calibration.calibrated <= day)
            return it->calibration;
    return std::nullopt;
}

std::string UnitResultMessage(UnitResult r) {
    const char* text = nullptr;
    switch (r) {
    case UnitResult::kOk:
        return {};
    case UnitResult::kEmptyName:
        text = SAROKO_TRANSLATE_NOOP("Units", "保管場所の名前を入力してください。");
        break;
    case UnitResult::kNameTaken:
        text = SAROKO_TRANSLATE_NOOP("Units", "同じ名前の保管場所がすでにあります。");
        break;
    case UnitResult::kNoSuchUnit:
        text = SAROKO_TRANSLATE_NOOP("Units", "その保管場所はありません。");
        break;
    case UnitResult::kNoChange:
        text = SAROKO_TRANSLATE_NOOP("Units", "変更はありません。");
        break;
    case UnitResult::kBadLimits:
        text = SAROKO_TRANSLATE_NOOP("Units", "下限が上限より大きくなっています。");
        break;
    case UnitResult::kBadEnergy:
        text = SAROKO_TRANSLATE_NOOP("Units", "活性化エネルギーは 0 より大きい値にしてください。");
        break;
    case UnitResult::kBadChannel:
        text = SAROKO_TRANSLATE_NOOP("Units", "チャンネルは 1 か 2 です。");
        break;
    case UnitResult::kBadCalibration:
        text = SAROKO_TRANSLATE_NOOP(
            "Units", "校正の内容が正しくありません（日付は YYYY-MM-DD、有効期限は校正日以降、"
                     "2 点補正は 1 点目の測定値 < 2 点目の測定値）。");
        break;
    case UnitResult::kNotArchived:
        text = SAROKO_TRANSLATE_NOOP("Units", "このファイルは記録保管庫にありません。");
        break;
    case UnitResult::kBadNumber:
        text = SAROKO_TRANSLATE_NOOP("Units", "数値を入力してください。");
        break;
    case UnitResult::kNoArchive:
        text = SAROKO_TRANSLATE_NOOP("Units", "記録保管庫が使えないため保管場所を変更できません。");
        break;
    }
    return TranslateText("Units", text);
}

UnitResult CreateUnit(CArchiveSession& s, const UnitsState& state, const UnitFields& f,
                      const std::string& reason) {
    if (!s.Enabled())
        return UnitResult::kNoArchive;
    if (const UnitResult r = CheckFields(f); r != UnitResult::kOk)
        return r;
    if (NameTaken(state, f.name, 0))
        return UnitResult::kNameTaken;
    s.RecordAbout(EventKind::Unit, "", std::string(kUnitCreated) + " " + f.name, {}, UnitText(f),
                  reason);
    return Written(s);
}

UnitResult ChangeUnit(CArchiveSession& s, const UnitsState& state, int id, const UnitFields& f,
                      const std::string& reason) {
    if (!s.Enabled())
        return UnitResult::kNoArchive;
    const Unit* u = state.Find(id);
    if (!u)
        return UnitResult::kNoSuchUnit;
    if (const UnitResult r = CheckFields(f); r != UnitResult::kOk)
        return r;
    if (NameTaken(state, f.name, id))
        return UnitResult::kNameTaken;
    if (u->fields == f)
        return UnitResult::kNoChange;
    s.RecordAbout(EventKind::Unit, "", std::string(kUnitChanged) + " " + std::to_string(id),
                  UnitText(u->fields), UnitText(f), reason);
    return Written(s);
}

UnitResult SetCalibration(CArchiveSession& s, const UnitsState& state, int id, int channel,
                          const Calibration& c, const std::string& reason) {
    if (!s.Enabled())
        return UnitResult::kNoArchive;
    const Unit* u = state.Find(id);
    if (!u)
        return UnitResult::kNoSuchUnit;
    if (channel < 1 || channel > kUnitChannels)
        return UnitResult::kBadChannel;
    if (CheckCalibration(c) != CalibrationCheck::kOk)
        return UnitResult::kBadCalibration;
    const std::vector<CalibrationEntry>& list = u->calibrations[channel - 1];
    if (!list.empty() && list.back().calibration == c)
        return UnitResult::kNoChange;
    s.RecordAbout(EventKind::Calibrated, "",
                  kCalibratedPrefix + std::to_string(id) + kChannelWord + std::to_string(channel),
                  list.empty() ? std::string() : CalibrationText(list.back().calibration),
                  CalibrationText(c), reason);
    return Written(s);
}

UnitResult AssignRecording(CArchiveSession& s, const UnitsState& state, const std::string& sha256,
                           int id, const char* how, const std::string& reason) {
    if (!s.Enabled())
        return UnitResult::kNoArchive;
    const Unit* u = state.Find(id);
    if (!u)
        return UnitResult::kNoSuchUnit;
    if (sha256.empty())
        return UnitResult::kNotArchived;
    const Unit* before = state.UnitOf(sha256);
    if (before == u)
        return UnitResult::kNoChange;
    s.RecordAbout(EventKind::Assigned, sha256, how, before ? AssignedText(*before) : std::string(),
                  AssignedText(*u), reason);
    return Written(s);
}

namespace {

// A decimal number as the program's fields take it; empty is none.
bool FieldNumber(const std::string& text, std::optional<double>& out) {
    const std::size_t a = text.find_first_not_of(' ');
    if (a == std::string::npos) {
        out.reset();
        return true;
    }
    const std::string t = text.substr(a, text.find_last_not_of(' ') + 1 - a);
    double v = 0;
    int digits = 0;
    if (ParseDecimal(t, v, digits) != 1 || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

std::string FieldText(const std::optional<double>& v) {
    return Number(v);
}

} // namespace

UnitResult ReadUnitForm(const UnitForm& form, UnitFields& out) {
    UnitFields f;
    f.name = form.name;
    f.location = form.location;
    f.recorder = form.recorder;
    f.note = form.note;
    if (!FieldNumber(form.energy, f.activationEnergy))
        return UnitResult::kBadNumber;
    for (std::size_t c = 0; c < f.limits.size(); ++c)
        if (!FieldNumber(form.low[c], f.limits[c].low) ||
            !FieldNumber(form.high[c], f.limits[c].high))
            return UnitResult::kBadNumber;
    if (const UnitResult r = CheckFields(f); r != UnitResult::kOk)
        return r;
    out = f;
    return UnitResult::kOk;
}

UnitResult ReadCalibrationForm(const CalibrationForm& form, Calibration& out) {
    Calibration c;
    c.certificate = form.certificate;
    c.calibrated = form.calibrated;
    c.due = form.due;
    c.correction.kind = form.kind;
    std::optional<double> v[5];
    if (form.kind == Correction::kOffset) {
        if (!FieldNumber(form.offset, v[0]) || !v[0])
            return UnitResult::kBadNumber;
        c.correction.offset = *v[0];
    } else if (form.kind == Correction::kLine) {
        const std::string* texts[4] = {&form.raw1, &form.true1, &form.raw2, &form.true2};
        for (int i = 0; i < 4; ++i)
            if (!FieldNumber(*texts[i], v[i + 1]) || !v[i + 1])
                return UnitResult::kBadNumber;
        c.correction = {Correction::kLine, 0, *v[1], *v[2], *v[3], *v[4]};
    }
    if (CheckCalibration(c) != CalibrationCheck::kOk)
        return UnitResult::kBadCalibration;
    out = c;
    return UnitResult::kOk;
}

UnitForm FormOf(const UnitFields& f) {
    UnitForm form{f.name, f.location, f.recorder, f.note, FieldText(f.activationEnergy), {}, {}};
    for (std::size_t c = 0; c < f.limits.size(); ++c) {
        form.low[c] = FieldText(f.limits[c].low);
        form.high[c] = FieldText(f.limits[c].high);
    }
    return form;
}

CalibrationForm FormOf(const Calibration& c) {
    const Correction& k = c.correction;
    CalibrationForm form{c.certificate, c.calibrated, c.due, k.kind, {}, {}, {}, {}, {}};
    if (k.kind == Correction::kOffset)
        form.offset = FieldText(k.offset);
    if (k.kind == Correction::kLine) {
        form.raw1 = FieldText(k.raw1);
        form.true1 = FieldText(k.true1);
        form.raw2 = FieldText(k.raw2);
        form.true2 = FieldText(k.true2);
    }
    return form;
}

UnitsState LoadUnits(CArchiveSession& s) {
    if (!s.Enabled())
        return {};
    std::vector<Event> events;
    s.Store().Events(events);
    return FoldUnits(events);
}

std::vector<UnitChannelSource> UnitSources(const CDocumentArchive& archive, const CZorvicDoc& doc,
                                           const UnitsState& state, bool shownOnly) {
    std::vector<UnitChannelSource> out;
    for (const CDocumentArchive::ChannelOrigin& o : archive.Origins()) {
        const ChannelRecord* ch = doc.GetChannel(o.number);
        if ((shownOnly && !o.shown) || !ch || !state.UnitOf(o.sha256))
            continue;
        const int count = ch->CountSamples();
        const uint32_t last =
            ch->startTime + (count > 0 ? static_cast<uint32_t>(count - 1) * ch->interval : 0);
        out.push_back({o.number, o.sha256, o.position, ch->startTime, last});
    }
    return out;
}

CCorrectedValues::CCorrectedValues(CZorvicDoc& doc, const UnitsState& state,
                                   const std::vector<UnitChannelSource>& channels)
    : m_doc(doc) {
    for (const UnitChannelSource& c : channels) {
        const Unit* u = state.UnitOf(c.sha256);
        ChannelRecord* ch = doc.GetChannel(c.number);
        if (!u || !ch)
            continue;
        const std::optional<Calibration> k = CalibrationOn(*u, c.unitChannel, LocalDay(c.first));
        if (!k || k->correction.kind == Correction::kNone ||
            (ch->measureType != kTypeTemp13 && ch->measureType != kTypeTemp14))
            continue;
        m_saved.emplace_back(c.number, std::make_unique<ChannelRecord>(*ch));
        m_corrected[c.number] = CorrectChannel(*ch, k->correction);
    }
    if (!m_saved.empty())
        doc.CalcStatistics();
}

CCorrectedValues::~CCorrectedValues() {
    for (auto& [number, saved] : m_saved)
        if (ChannelRecord* ch = m_doc.GetChannel(number))
            *ch = *saved;
}

std::vector<ReportUnit> ReportUnits(const UnitsState& state,
                                    const std::vector<UnitChannelSource>& channels,
                                    const std::map<int, int>* corrected) {
    std::vector<ReportUnit> out;
    for (const UnitChannelSource& c : channels) {
        const Unit* u = state.UnitOf(c.sha256);
        if (!u)
            continue;
        auto it = std::find_if(out.begin(), out.end(),
                               [&](const ReportUnit& r) { return r.id == u->id; });
        if (it == out.end()) {
            out.push_back({u->id, u->fields.name, u->fields.location, u->fields.recorder, {}});
            it = out.end() - 1;
        }
        ReportUnitChannel rc;
        rc.number = c.number;
        rc.unitChannel = c.unitChannel;
        rc.calibration = CalibrationOn(*u, c.unitChannel, LocalDay(c.first));
        if (corrected)
            if (const auto k = corrected->find(c.number); k != corrected->end()) {
                rc.corrected = true;
                rc.outsideRange = k->second;
            }
        rc.pastDue = rc.calibration && PastDue(*rc.calibration, c.last);
        it->channels.push_back(rc);
    }
    return out;
}

void ApplyUnitDefaults(const UnitsState& state, const std::vector<UnitChannelSource>& channels,
                       bool fahrenheit, bool energyGiven, ReportOptions& options) {
    const auto shown = [&](const std::optional<double>& c) -> std::optional<double> {
        if (!c || !fahrenheit)
            return c;
        return *c * 9.0 / 5.0 + 32.0;
    };
    for (const UnitChannelSource& c : channels) {
        const Unit* u = state.UnitOf(c.sha256);
        if (!u)
            continue;
        if (!energyGiven && u->fields.activationEnergy)
            options.activationEnergy = *u->fields.activationEnergy;
        const bool own = std::any_of(options.channelLimits.begin(), options.channelLimits.end(),
                                     [&](const ChannelLimits& l) { return l.channel == c.number; });
        if (own || options.low || options.high || c.unitChannel < 1 ||
            c.unitChannel > kUnitChannels)
            continue;
        const UnitLimits& l = u->fields.limits[c.unitChannel - 1];
        if (l.low || l.high)
            options.channelLimits.push_back({c.number, shown(l.low), shown(l.high)});
    }
}

ReportDialogSettings UnitReportSettings(const ReportDialogSettings& remembered,
                                        const UnitsState& state,
                                        const std::vector<UnitChannelSource>& channels,
                                        bool fahrenheit) {
    ReportOptions given;
    given.activationEnergy = remembered.activationEnergy;
    ApplyUnitDefaults(state, channels, fahrenheit, false, given);
    ReportDialogSettings s = remembered;
    for (const ChannelLimits& l : given.channelLimits) {
        std::erase_if(s.channelLimits,
                      [&](const ChannelLimits& r) { return r.channel == l.channel; });
        s.channelLimits.push_back(l);
    }
    s.activationEnergy = given.activationEnergy;
    return s;
}

ReportDialogSettings RememberedAfterUnitReport(const ReportDialogSettings& remembered,
                                               const ReportDialogSettings& offered,
                                               const ReportDialogSettings& result) {
    ReportDialogSettings out = result;
    const auto has = [](const std::vector<ChannelLimits>& rows, const ChannelLimits& l) {
        return std::find(rows.begin(), rows.end(), l) != rows.end();
    };
    for (const ChannelLimits& l : offered.channelLimits) {
        if (has(remembered.channelLimits, l) || !has(out.channelLimits, l))
            continue;
        std::erase(out.channelLimits, l);
        for (const ChannelLimits& r : remembered.channelLimits)
            if (r.channel == l.channel)
                out.channelLimits.push_back(r);
    }
    if (result.activationEnergy == offered.activationEnergy)
        out.activationEnergy = remembered.activationEnergy;
    return out;
}

} // namespace saroko::archive
