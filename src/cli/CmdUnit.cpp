// saroko-cli unit: the storage units of the archive, their calibrations, and which unit a
// recording belongs to. Every change is an event in the archive's chain.
#include <cmath>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/CliArchive.h"
#include "cli/CliCommon.h"
#include "cli/CliOptions.h"
#include "core/archive/Units.h"
#include "core/text/ParseDecimal.h"

namespace saroko::cli {

extern const char kUnitUsage[] =
    "usage: saroko-cli unit SUBCOMMAND ...\n"
    "  create NAME [FIELDS]          a new storage unit\n"
    "  change NAME [--name NEW] [FIELDS] [--no-limits]\n"
    "                                change a unit; fields not given stay as they are\n"
    "  calibrate NAME --channel 1|2 [--certificate NO] [--calibrated YYYY-MM-DD]\n"
    "            [--due YYYY-MM-DD] [--offset X | --points RAW1:TRUE1,RAW2:TRUE2 |\n"
    "            --no-correction]\n"
    "                                set a channel's calibration (what is not given is kept\n"
    "                                from its current one); X, RAW and TRUE in degC\n"
    "  list [--json]                 every unit\n"
    "  show NAME [--json]            a unit with its limits and calibrations\n"
    "  assign FILE NAME              the recording in FILE belongs to the unit NAME\n"
    "FIELDS: --location TEXT --recorder TEXT --note TEXT --activation-energy KJ\n"
    "        --low X --high Y (both channels) --limits CH:LOW:HIGH (channel 1 or 2), degC\n"
    "Every subcommand that changes something takes --reason TEXT for the audit trail.\n";

namespace {

using archive::UnitFields;
using archive::UnitResult;
using archive::UnitsState;

int Refused(UnitResult r) {
    std::cerr << "saroko-cli unit: " << archive::UnitResultMessage(r) << "\n";
    SayArchiveMessage();
    return kExitFailed;
}

std::optional<double> Number(const std::string& text) {
    double v = 0;
    int digits = 0;
    if (ParseDecimal(text, v, digits) != 1 || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// The archive's units, refusing to go on without an archive.
bool Load(UnitsState& out) {
    archive::CArchiveSession& a = CliArchive();
    if (!a.Enabled()) {
        std::cerr << "saroko-cli unit: --no-archive leaves no units\n";
        return false;
    }
    out = archive::LoadUnits(a);
    return true;
}

// The fields the options give, over `f`; false (usage error printed) when one is bad.
bool ApplyFields(const CVerbOptions& o, UnitFields& f, int& status) {
    for (const auto& [name, field] : {std::pair{"location", &f.location},
                                      {"recorder", &f.recorder},
                                      {"note", &f.note},
                                      {"name", &f.name}})
        if (const auto v = o.Value(name))
            *field = *v;
    if (const auto t = o.Value("activation-energy")) {
        const auto v = Number(*t);
        if (!v || *v <= 0) {
            status = o.Fail("--activation-energy wants a positive number (kJ/mol)");
            return false;
        }
        f.activationEnergy = v;
    }
    if (o.Has("no-limits"))
        f.limits = {};
    const ReportOptions& l = o.Limits();
    for (archive::UnitLimits& u : f.limits) {
        if (l.low)
            u.low = l.low;
        if (l.high)
            u.high = l.high;
    }
    for (const ChannelLimits& c : l.channelLimits) {
        if (c.channel > archive::kUnitChannels) {
            status = o.Fail("--limits: a unit's channel is 1 or 2");
            return false;
        }
        f.limits[static_cast<std::size_t>(c.channel - 1)] = {c.low ? c.low : l.low,
                                                             c.high ? c.high : l.high};
    }
    return true;
}

void DeclareFields(CVerbOptions& o) {
    for (const char* name : {"location", "recorder", "note", "activation-energy", "reason"})
        o.AddValue(name);
    o.AddLimits();
}

// The archive's units into `st` and the one of them named `name`; null, and said why, when there
// is no archive or no such unit.
const archive::Unit* LoadNamed(UnitsState& st, const std::string& name) {
    if (!Load(st))
        return nullptr;
    const archive::Unit* u = st.FindByName(name);
    if (!u)
        std::cerr << "saroko-cli unit: " << archive::UnitResultMessage(UnitResult::kNoSuchUnit)
                  << " (" << name << ")\n";
    return u;
}

std::string Limit(const std::optional<double>& v) {
    if (!v)
        return "-";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", *v);
    return buf;
}

nlohmann::ordered_json OrNull(const std::optional<double>& v) {
    return v ? nlohmann::ordered_json(*v) : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json CalibrationJson(const archive::CalibrationEntry& e) {
    const Calibration& c = e.calibration;
    nlohmann::ordered_json j = {{"certificate", c.certificate},
                                {"calibrated", c.calibrated},
                                {"due", c.due},
                                {"set_at", e.setAt}};
    const Correction& k = c.correction;
    if (k.kind == Correction::kOffset)
        j["correction"] = {{"offset", k.offset}};
    else if (k.kind == Correction::kLine)
        j["correction"] = {
            {"raw1", k.raw1}, {"true1", k.true1}, {"raw2", k.raw2}, {"true2", k.true2}};
    else
        j["correction"] = nullptr;
    return j;
}

nlohmann::ordered_json UnitJson(const archive::Unit& u, bool full) {
    const UnitFields& f = u.fields;
    nlohmann::ordered_json j = {
        {"id", u.id}, {"name", f.name}, {"location", f.location}, {"recorder", f.recorder}};
    if (!full)
        return j;
    nlohmann::ordered_json channels = nlohmann::ordered_json::array();
    for (int c = 0; c < archive::kUnitChannels; ++c) {
        nlohmann::ordered_json history = nlohmann::ordered_json::array();
        for (const archive::CalibrationEntry& e : u.calibrations[static_cast<std::size_t>(c)])
            history.push_back(CalibrationJson(e));
        channels.push_back({{"channel", c + 1},
                            {"low", OrNull(f.limits[static_cast<std::size_t>(c)].low)},
                            {"high", OrNull(f.limits[static_cast<std::size_t>(c)].high)},
                            {"calibrations", history}});
    }
    j["activation_energy"] = OrNull(f.activationEnergy);
    j["note"] = f.note;
    j["channels"] = channels;
    return j;
}

bool ParsePoints(const std::string& text, Correction& out) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos)
        return false;
    double v[4];
    const std::string halves[2] = {text.substr(0, comma), text.substr(comma + 1)};
    for (int h = 0; h < 2; ++h) {
        const std::size_t colon = halves[h].find(':');
        if (colon == std::string::npos)
            return false;
        const auto a = Number(halves[h].substr(0, colon));
        const auto b = Number(halves[h].substr(colon + 1));
        if (!a || !b)
            return false;
        v[2 * h] = *a;
        v[2 * h + 1] = *b;
    }
    out = {Correction::kLine, 0, v[0], v[1], v[2], v[3]};
    return true;
}

std::string Reason(const CVerbOptions& o) {
    return o.Value("reason").value_or(std::string());
}

} // namespace

void DeclareUnitCreate(CVerbOptions& o) {
    DeclareFields(o);
}

int RunUnitCreate(const CVerbOptions& o) {
    if (o.Files().size() != 1)
        return o.Fail("create takes one NAME");
    UnitFields f;
    f.name = o.Files().front();
    int status = kExitOk;
    if (!ApplyFields(o, f, status))
        return status;
    UnitsState st;
    if (!Load(st))
        return kExitFailed;
    if (const UnitResult r = archive::CreateUnit(CliArchive(), st, f, Reason(o));
        r != UnitResult::kOk)
        return Refused(r);
    std::cout << "unit " << st.units.size() + 1 << ": " << f.name << "\n";
    SayArchiveMessage();
    return kExitOk;
}

void DeclareUnitChange(CVerbOptions& o) {
    DeclareFields(o);
    o.AddValue("name");
    o.AddFlag("no-limits");
}

int RunUnitChange(const CVerbOptions& o) {
    if (o.Files().size() != 1)
        return o.Fail("change takes one NAME");
    UnitsState st;
    const archive::Unit* u = LoadNamed(st, o.Files().front());
    if (!u)
        return kExitFailed;
    UnitFields f = u->fields;
    int status = kExitOk;
    if (!ApplyFields(o, f, status))
        return status;
    if (const UnitResult r = archive::ChangeUnit(CliArchive(), st, u->id, f, Reason(o));
        r != UnitResult::kOk)
        return Refused(r);
    SayArchiveMessage();
    return kExitOk;
}

void DeclareUnitCalibrate(CVerbOptions& o) {
    for (const char* name :
         {"channel", "certificate", "calibrated", "due", "offset", "points", "reason"})
        o.AddValue(name);
    o.AddFlag("no-correction");
}

int RunUnitCalibrate(const CVerbOptions& o) {
    if (o.Files().size() != 1)
        return o.Fail("calibrate takes one NAME");
    const auto ch = o.Value("channel");
    if (!ch || (*ch != "1" && *ch != "2"))
        return o.Fail("--channel 1 or 2");
    const int channel = *ch == "1" ? 1 : 2;
    if (int(o.Value("offset").has_value()) + int(o.Value("points").has_value()) +
            int(o.Has("no-correction")) >
        1)
        return o.Fail("give one of --offset, --points and --no-correction");
    UnitsState st;
    const archive::Unit* u = LoadNamed(st, o.Files().front());
    if (!u)
        return kExitFailed;
    const auto& list = u->calibrations[static_cast<std::size_t>(channel - 1)];
    Calibration c = list.empty() ? Calibration{} : list.back().calibration;
    if (const auto v = o.Value("certificate"))
        c.certificate = *v;
    if (const auto v = o.Value("calibrated"))
        c.calibrated = *v;
    if (const auto v = o.Value("due"))
        c.due = *v;
    if (const auto v = o.Value("offset")) {
        const auto n = Number(*v);
        if (!n)
            return o.Fail("--offset wants a number (degC)");
        c.correction = {Correction::kOffset, *n};
    }
    if (const auto v = o.Value("points"))
        if (!ParsePoints(*v, c.correction))
            return o.Fail("--points wants RAW1:TRUE1,RAW2:TRUE2, for example -10:-9.8,40:40.3");
    if (o.Has("no-correction"))
        c.correction = {};
    if (const UnitResult r =
            archive::SetCalibration(CliArchive(), st, u->id, channel, c, Reason(o));
        r != UnitResult::kOk)
        return Refused(r);
    SayArchiveMessage();
    return kExitOk;
}

void DeclareUnitList(CVerbOptions& o) {
    o.TakeNoFiles();
    o.AddFlag("json");
}

int RunUnitList(const CVerbOptions& o) {
    UnitsState st;
    if (!Load(st))
        return kExitFailed;
    if (o.Has("json")) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const archive::Unit& u : st.units)
            list.push_back(UnitJson(u, false));
        std::cout << list.dump(2) << "\n";
        return kExitOk;
    }
    for (const archive::Unit& u : st.units)
        std::cout << u.id << "  " << u.fields.name << "  " << u.fields.location << "  "
                  << u.fields.recorder << "\n";
    return kExitOk;
}

void DeclareUnitShow(CVerbOptions& o) {
    o.AddFlag("json");
}

int RunUnitShow(const CVerbOptions& o) {
    if (o.Files().size() != 1)
        return o.Fail("show takes one NAME");
    UnitsState st;
    const archive::Unit* u = LoadNamed(st, o.Files().front());
    if (!u)
        return kExitFailed;
    if (o.Has("json")) {
        std::cout << UnitJson(*u, true).dump(2) << "\n";
        return kExitOk;
    }
    const UnitFields& f = u->fields;
    std::cout << "unit " << u->id << "  " << f.name << "\n"
              << "  location   " << f.location << "\n"
              << "  recorder   " << f.recorder << "\n"
              << "  energy     "
              << (f.activationEnergy ? std::to_string(*f.activationEnergy) + " kJ/mol" : "-")
              << "\n"
              << "  note       " << f.note << "\n";
    for (int c = 0; c < archive::kUnitChannels; ++c) {
        const auto i = static_cast<std::size_t>(c);
        std::cout << "  Ch." << c + 1 << "       limits " << Limit(f.limits[i].low) << " .. "
                  << Limit(f.limits[i].high) << " degC\n";
        for (const archive::CalibrationEntry& e : u->calibrations[i])
            std::cout << "    " << e.setAt << "  certificate " << e.calibration.certificate
                      << "  calibrated " << e.calibration.calibrated << "  due "
                      << e.calibration.due << "  correction "
                      << CorrectionText(e.calibration.correction) << "\n";
    }
    return kExitOk;
}

void DeclareUnitAssign(CVerbOptions& o) {
    o.AddValue("reason");
}

int RunUnitAssign(const CVerbOptions& o) {
    if (o.Files().size() != 2)
        return o.Fail("assign takes FILE and NAME");
    UnitsState st;
    const archive::Unit* named = LoadNamed(st, o.Files()[1]);
    if (!named)
        return kExitFailed;
    const int id = named->id;
    // Read as 'info' reads it: a file the archive has not seen becomes a recording first.
    auto session = OpenSession();
    if (!LoadFiles(*session, {o.Files()[0]}))
        return kExitFailed;
    const std::vector<ReportSource> sources = session->archive->Shown();
    if (sources.empty())
        return Refused(UnitResult::kNotArchived);
    st = archive::LoadUnits(CliArchive());
    if (const UnitResult r = archive::AssignRecording(CliArchive(), st, sources.front().sha256, id,
                                                      archive::kAssignedFile, Reason(o));
        r != UnitResult::kOk)
        return Refused(r);
    SayArchiveMessage();
    return kExitOk;
}

// The channels of the loaded files corrected by their units' calibrations, for as long as the
// session lives; null when nothing is to be corrected.
std::unique_ptr<archive::CCorrectedValues> CorrectValues(CliSession& session) {
    archive::CArchiveSession& a = CliArchive();
    if (!a.Enabled() || !session.archive)
        return nullptr;
    const UnitsState st = archive::LoadUnits(a);
    return std::make_unique<archive::CCorrectedValues>(
        *session.doc, st, archive::UnitSources(*session.archive, *session.doc, st, false));
}

} // namespace saroko::cli
