// saroko-cli report: what a product saw over a time window (extremes, average, mean kinetic
// temperature, the runs outside the limits), as JSON or as the program's PDF report.
#include <cmath>
#include <iostream>
#include <nlohmann/json.hpp>
#ifdef SAROKO_CLI_HAS_GUI
#include <QGuiApplication>
#include <QString>

#include "core/channels/ChannelPalette.h"
#include "ui/printing/ReportPdf.h"
#endif

#include "SarokoVersion.h"
#include "cli/CliArchive.h"
#include "cli/CliCommon.h"
#include "cli/CliOptions.h"
#include "core/archive/ArchiveFiles.h"
#include "core/archive/ExcursionComments.h"
#include "core/archive/ReportProof.h"
#include "core/archive/Units.h"
#include "core/report/ReportFigures.h"
#include "core/text/ParseDecimal.h"
#include "platform/ArchiveSetup.h"

namespace saroko::cli {

extern const char kReportUsage[] =
    "usage: saroko-cli report [--from T --to T] [--low X] [--high Y] [--limits CH:LOW:HIGH]...\n"
    "                         [--activation-energy KJ] [--fahrenheit|--celsius] [--corrected]\n"
    "                         [--comment N:TEXT]... (-o OUT.pdf | --json) FILE...\n"
    "  Loads the files as 'info' does and reports, for each shown channel with data, the\n"
    "  samples inside the time window: counts, maximum and minimum with their times, average,\n"
    "  mean kinetic temperature and the runs above the high or below the low limit.\n"
    "  --from T, --to T        the window, T as \"YYYY/MM/DD HH:MM:SS\" (local time); default\n"
    "                          the whole data\n"
    "  --low X, --high Y       alarm limits in the shown unit, for every channel\n"
    "  --limits CH:LOW:HIGH    channel CH's own limits (either side may stay empty for the\n"
    "                          common one); repeat for further channels\n"
    "  --activation-energy KJ  for the mean kinetic temperature, kJ/mol (default 83.144)\n"
    "  --fahrenheit, --celsius the unit; default the program's setting\n"
    "  --comment N:TEXT        records TEXT as a comment on excursion N (numbered as the\n"
    "                          report lists them, from 1 across all channels) in the\n"
    "                          archive, then reports; the report lists every comment the\n"
    "                          archive holds for its excursions beside them\n"
    "  A recording assigned to a storage unit takes the unit's limits and activation energy\n"
    "  when none are given, and the report states the unit and each channel's calibration.\n"
    "  --corrected             the figures from values corrected by that calibration\n"
    "  -o OUT.pdf              the report as PDF: the graph, the figures, the excursions\n"
    "  --json                  the figures as one JSON object on standard output; with\n"
    "                          --limits each channel carries its low and high; each\n"
    "                          channel's \"missingTimes\" lists its first 12 missing\n"
    "                          samples, \"firstMissing\"/\"lastMissing\" bound them all;\n"
    "                          \"sources\" lists the recordings behind the channels shown\n"
    "                          (path, sha256 of the bytes read, archive_id,\n"
    "                          archived_sha256 when the archive holds other bytes for the\n"
    "                          file, verified: read again now and unchanged), \"chain_head\"\n"
    "                          is the archive's newest event, \"made_by\" the account and\n"
    "                          host the archive records; \"made_at\" (UTC seconds),\n"
    "                          \"made_at_local\", \"made_offset\", \"program_version\",\n"
    "                          \"recorder_models\" (code, name) and \"utc_offsets\" (of the\n"
    "                          data) are what the PDF states beside; \"units\" the storage\n"
    "                          units with each channel's calibration, \"calibration_warning\"\n"
    "                          the header's warning of a calibration past due (or null)\n";

namespace {

bool ParseNumber(const std::string& text, double& out) {
    int digits = 0;
    return ParseDecimal(text, out, digits) == 1 && std::isfinite(out);
}

// A shown value with one decimal; no negative zero.
nlohmann::ordered_json Value(const std::optional<double>& v) {
    if (!v)
        return nullptr;
    return std::round(*v * 10.0) / 10.0 + 0.0;
}

nlohmann::ordered_json Limit(const std::optional<double>& v) {
    return v ? nlohmann::ordered_json(*v) : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json HashOrNull(const std::string& sha256) {
    return sha256.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(sha256);
}

// Each source file with its hash, archive id, the archive's other hash when its bytes differ
// from the archived recording, and whether it was verified (read again unchanged) now; the
// chain head and who made the report. Null where unknown.
void AddProof(nlohmann::ordered_json& out, const ReportProvenance& proof) {
    nlohmann::ordered_json sources = nlohmann::ordered_json::array();
    for (const ReportSource& s : proof.sources)
        sources.push_back(
            {{"path", s.path},
             {"sha256", HashOrNull(s.sha256)},
             {"archive_id",
              s.archiveId ? nlohmann::ordered_json(*s.archiveId) : nlohmann::ordered_json(nullptr)},
             {"archived_sha256", DiffersFromArchive(s) ? HashOrNull(s.archivedSha256)
                                                       : nlohmann::ordered_json(nullptr)},
             {"verified", SourceVerified(s)}});
    out["sources"] = sources;
    out["chain_head"] = proof.chainHead ? nlohmann::ordered_json(*proof.chainHead)
                                        : nlohmann::ordered_json(nullptr);
    out["made_by"] = {{"user", proof.user}, {"host", proof.host}};
    // What the PDF states beside: when, with the offset then, by which version, the
    // recorders (null name for a model the program does not know) and the data's offsets.
    out["made_at"] = proof.madeAt;
    out["made_at_local"] = FormatStampWithOffset(proof.madeAt);
    out["made_offset"] = FormatUtcOffset(proof.madeOffset);
    out["program_version"] = proof.programVersion;
    nlohmann::ordered_json models = nlohmann::ordered_json::array();
    for (const uint32_t m : proof.recorderModels) {
        const std::string name = RecorderModelName(m);
        models.push_back({{"code", m},
                          {"name", name.empty() ? nlohmann::ordered_json(nullptr)
                                                : nlohmann::ordered_json(name)}});
    }
    out["recorder_models"] = models;
    nlohmann::ordered_json offsets = nlohmann::ordered_json::array();
    for (const int o : proof.timeOffsets)
        offsets.push_back(FormatUtcOffset(o));
    out["utc_offsets"] = offsets;
}

// `ownLimits` adds each channel's low and high, which then may differ from the common ones.
nlohmann::ordered_json FiguresJson(const CliSession& session, const ReportFigures& r,
                                   bool ownLimits, const ReportProvenance& proof) {
    nlohmann::ordered_json channels = nlohmann::ordered_json::array();
    int number = 0; // excursions are numbered across the channels, as --comment takes them
    for (const ChannelFigures& f : r.channels) {
        nlohmann::ordered_json runs = nlohmann::ordered_json::array();
        for (const Excursion& e : f.excursions) {
            nlohmann::ordered_json comments = nlohmann::ordered_json::array();
            for (const ExcursionComment& c : proof.comments)
                if (c.excursion == number + 1)
                    comments.push_back({{"text", c.text},
                                        {"user", c.user},
                                        {"host", c.host},
                                        {"time_utc", c.timeUtc}});
            runs.push_back({{"number", ++number},
                            {"kind", e.kind == Excursion::kHigh ? "high" : "low"},
                            {"start", e.start},
                            {"end", e.end},
                            {"seconds", e.seconds},
                            {"comments", comments}});
        }
        const auto time = [](const std::optional<double>& v, uint32_t t) {
            return v ? nlohmann::ordered_json(t) : nlohmann::ordered_json(nullptr);
        };
        channels.push_back({{"number", f.number},
                            {"name", session.codec.Cp932ToUtf8(f.name)},
                            {"interval", f.interval},
                            {"samples", f.samples},
                            {"missing", f.missing},
                            {"over", f.over},
                            {"under", f.under},
                            {"max", Value(f.max)},
                            {"maxTime", time(f.max, f.maxTime)},
                            {"min", Value(f.min)},
                            {"minTime", time(f.min, f.minTime)},
                            {"average", Value(f.average)},
                            {"mkt", Value(f.mkt)},
                            {"secondsAboveHigh", f.secondsAboveHigh},
                            {"secondsBelowLow", f.secondsBelowLow},
                            {"missingTimes", f.missingTimes},
                            {"firstMissing", f.missing ? nlohmann::ordered_json(f.firstMissing)
                                                       : nlohmann::ordered_json(nullptr)},
                            {"lastMissing", f.missing ? nlohmann::ordered_json(f.lastMissing)
                                                      : nlohmann::ordered_json(nullptr)},
                            {"excursions", runs}});
        if (ownLimits) {
            channels.back()["low"] = Limit(f.low);
            channels.back()["high"] = Limit(f.high);
        }
    }
    nlohmann::ordered_json out = {{"from", r.from},
                                  {"to", r.to},
                                  {"unit", r.fahrenheit ? "F" : "C"},
                                  {"low", Limit(r.low)},
                                  {"high", Limit(r.high)},
                                  {"activationEnergy", r.activationEnergy},
                                  {"channels", channels}};
    AddProof(out, proof);
    return out;
}

nlohmann::ordered_json OrNull(const std::string& s) {
    return s.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(s);
}

// The storage units the report states, each channel with its calibration and what was done.
void AddUnits(nlohmann::ordered_json& out, const ReportProvenance& proof) {
    nlohmann::ordered_json units = nlohmann::ordered_json::array();
    for (const ReportUnit& u : proof.units) {
        nlohmann::ordered_json channels = nlohmann::ordered_json::array();
        for (const ReportUnitChannel& c : u.channels) {
            nlohmann::ordered_json ch = {{"number", c.number}, {"unit_channel", c.unitChannel}};
            if (c.calibration) {
                ch["certificate"] = c.calibration->certificate;
                ch["calibrated"] = OrNull(c.calibration->calibrated);
                ch["due"] = OrNull(c.calibration->due);
                ch["correction"] = CorrectionText(c.calibration->correction);
            } else {
                ch["certificate"] = nullptr;
            }
            ch["corrected"] = c.corrected;
            ch["past_due"] = c.pastDue;
            ch["outside_range"] = c.outsideRange;
            channels.push_back(ch);
        }
        units.push_back({{"id", u.id},
                         {"name", u.name},
                         {"location", u.location},
                         {"recorder", u.recorder},
                         {"channels", channels}});
    }
    out["units"] = units;
    out["calibration_warning"] = OrNull(PastDueWarning(proof.units));
}

} // namespace

void DeclareReport(CVerbOptions& o) {
    o.AddWindow();
    o.AddLimits();
    o.AddValue("activation-energy");
    o.AddUnits();
    o.AddOutput();
    o.AddFlag("json");
    o.AddValue("comment");
    o.AddFlag("corrected");
}

namespace {

// Records each --comment on its excursion; false (message printed) when one cannot be: then
// none is, and no report is made.
bool RecordComments(CliSession& session, const std::vector<std::string>& given,
                    const std::vector<archive::NumberedExcursion>& excursions) {
    std::vector<std::pair<const archive::NumberedExcursion*, std::string>> comments;
    for (const std::string& g : given) {
        int n = 0;
        std::string text;
        if (!archive::ParseCommentArgument(g, n, text)) {
            std::cerr << "saroko-cli report: --comment wants N:TEXT, not '" << g << "'\n";
            return false;
        }
        if (const std::string problem = archive::CommentProblem(n, excursions.size(), text);
            !problem.empty()) {
            std::cerr << "saroko-cli report: " << problem << "\n";
            return false;
        }
        const archive::NumberedExcursion& x = excursions[static_cast<std::size_t>(n - 1)];
        if (!session.archive || !session.archive->Session().Enabled() ||
            x.recordingSha256.empty()) {
            std::cerr << "saroko-cli report: a comment is kept in the archive, and excursion " << n
                      << " comes from no archived recording\n";
            return false;
        }
        comments.emplace_back(&x, std::move(text));
    }
    if (comments.empty())
        return true;
    archive::CArchiveSession& a = session.archive->Session();
    for (const auto& [x, text] : comments)
        archive::RecordComment(a, *x, text);
    if (!a.Flush()) {
        SayArchiveMessage();
        std::cerr << "saroko-cli report: the comments could not be written to the archive\n";
        return false;
    }
    return true;
}

} // namespace

int RunReport(const CVerbOptions& o) {
    if (o.Files().empty())
        return o.Fail("no file given");
    const std::string& out = o.Output();
    const bool json = o.Has("json");
    if (out.empty() == !json)
        return o.Fail("give either -o OUT.pdf or --json");
    if (!json && !HasExtension(out, "pdf"))
        return o.Fail("-o wants a .pdf file");

    ReportOptions options = o.Limits();
    options.from = o.From();
    options.to = o.To();
    if (const auto t = o.Value("activation-energy")) {
        if (!ParseNumber(*t, options.activationEnergy) || options.activationEnergy <= 0)
            return o.Fail("--activation-energy wants a positive number (kJ/mol)");
    }

    auto session = OpenSession();
    if (!LoadFiles(*session, o.Files()))
        return kExitFailed;
    CZorvicDoc& doc = *session->doc;
    ApplyUnit(doc, o.Fahrenheit());
    // The storage units of the recordings shown: their limits unless others were given,
    // their calibrations stated and, when asked, applied.
    const archive::UnitsState units =
        CliArchive().Enabled() ? archive::LoadUnits(CliArchive()) : archive::UnitsState{};
    const std::vector<archive::UnitChannelSource> unitSources =
        archive::UnitSources(*session->archive, doc, units, true);
    archive::ApplyUnitDefaults(units, unitSources, doc.m_nUnitCF == 1,
                               o.Value("activation-energy").has_value(), options);
    std::unique_ptr<archive::CCorrectedValues> corrected;
    if (o.Has("corrected"))
        corrected = std::make_unique<archive::CCorrectedValues>(doc, units, unitSources);
    // One proof, built before anything is printed, for the JSON and the PDF alike.
    const ReportFigures figures = ComputeReportFigures(doc, options);
    const std::vector<archive::NumberedExcursion> excursions =
        archive::NumberExcursions(figures, [&](int channel) {
            return session->archive ? session->archive->RecordingOf(channel) : std::string();
        });
    if (!RecordComments(*session, o.Values("comment"), excursions))
        return kExitFailed;
    ReportProvenance proof =
        archive::MakeReportProof(ReportSources(*session), figures, session->clock.Now(),
                                 SAROKO_VERSION, &CliArchive(), &Sha256OfFile);
    proof.comments = archive::StoredComments(CliArchive(), excursions);
    proof.units =
        archive::ReportUnits(units, unitSources, corrected ? &corrected->Corrected() : nullptr);
    if (json) {
        nlohmann::ordered_json json =
            FiguresJson(*session, figures, !options.channelLimits.empty(), proof);
        AddUnits(json, proof);
        const std::string text = json.dump(2) + "\n";
        std::cout << text;
        RecordMade(*session, archive::EventKind::Reported, archive::kStandardOutput, proof.sources,
                   text);
        return kExitOk;
    }
#ifdef SAROKO_CLI_HAS_GUI
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        std::cerr << "saroko-cli report: no graphics support in this build\n";
        return kExitFailed;
    }
    CChannelPalette palette(session->store);
    if (!ui::WriteReportPdf(QString::fromStdString(out), doc, palette, figures, proof)) {
        std::cerr << "saroko-cli report: cannot write " << out << "\n";
        return kExitFailed;
    }
    RecordMade(*session, archive::EventKind::Reported, out, proof.sources);
    return kExitOk;
#else
    std::cerr << "saroko-cli report: no graphics support in this build\n";
    return kExitFailed;
#endif
}

} // namespace saroko::cli
