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

#include "cli/CliArchive.h"
#include "cli/CliCommon.h"
#include "cli/CliOptions.h"
#include "core/text/ParseDecimal.h"
#include "core/report/ReportFigures.h"

namespace saroko::cli {

extern const char kReportUsage[] =
    "usage: saroko-cli report [--from T --to T] [--low X] [--high Y] [--activation-energy KJ]\n"
    "                         [--fahrenheit|--celsius] (-o OUT.pdf | --json) FILE...\n"
    "  Loads the files as 'info' does and reports, for each shown channel with data, the\n"
    "  samples inside the time window: counts, maximum and minimum with their times, average,\n"
    "  mean kinetic temperature and the runs above the high or below the low limit.\n"
    "  --from T, --to T        the window, T as \"YYYY/MM/DD HH:MM:SS\" (local time); default\n"
    "                          the whole data\n"
    "  --low X, --high Y       alarm limits in the shown unit\n"
    "  --activation-energy KJ  for the mean kinetic temperature, kJ/mol (default 83.144)\n"
    "  --fahrenheit, --celsius the unit; default the program's setting\n"
    "  -o OUT.pdf              the report as PDF: the graph, the figures, the excursions\n"
    "  --json                  the figures as one JSON object on standard output\n";

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

nlohmann::ordered_json FiguresJson(const CliSession& session, const ReportFigures& r) {
    nlohmann::ordered_json channels = nlohmann::ordered_json::array();
    for (const ChannelFigures& f : r.channels) {
        nlohmann::ordered_json runs = nlohmann::ordered_json::array();
        for (const Excursion& e : f.excursions)
            runs.push_back({{"kind", e.kind == Excursion::kHigh ? "high" : "low"},
                            {"start", e.start},
                            {"end", e.end},
                            {"seconds", e.seconds}});
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
                            {"excursions", runs}});
    }
    return {{"from", r.from},
            {"to", r.to},
            {"unit", r.fahrenheit ? "F" : "C"},
            {"low", Limit(r.low)},
            {"high", Limit(r.high)},
            {"activationEnergy", r.activationEnergy},
            {"channels", channels}};
}

} // namespace

void DeclareReport(CVerbOptions& o) {
    o.AddWindow();
    o.AddValue("low");
    o.AddValue("high");
    o.AddValue("activation-energy");
    o.AddUnits();
    o.AddOutput();
    o.AddFlag("json");
}

int RunReport(const CVerbOptions& o) {
    if (o.Files().empty())
        return o.Fail("no file given");
    const std::string& out = o.Output();
    const bool json = o.Has("json");
    if (out.empty() == !json)
        return o.Fail("give either -o OUT.pdf or --json");
    if (!json && !HasExtension(out, "pdf"))
        return o.Fail("-o wants a .pdf file");

    ReportOptions options;
    options.from = o.From();
    options.to = o.To();
    for (const auto& [name, slot] : {std::pair{"low", &options.low}, {"high", &options.high}}) {
        if (const auto t = o.Value(name)) {
            double v = 0;
            if (!ParseNumber(*t, v))
                return o.Fail("--" + std::string(name) + " wants a number");
            *slot = v;
        }
    }
    if (options.low && options.high && *options.low > *options.high)
        return o.Fail("--low lies above --high");
    if (const auto t = o.Value("activation-energy")) {
        if (!ParseNumber(*t, options.activationEnergy) || options.activationEnergy <= 0)
            return o.Fail("--activation-energy wants a positive number (kJ/mol)");
    }

    auto session = OpenSession();
    if (!LoadFiles(*session, o.Files()))
        return kExitFailed;
    CZorvicDoc& doc = *session->doc;
    ApplyUnit(doc, o.Fahrenheit());
    if (json) {
        nlohmann::json figures = FiguresJson(*session, ComputeReportFigures(doc, options));
        // The proof: each source's bytes by hash and archive id, and the newest event of the
        // trail at the time of the report.
        nlohmann::json sources = nlohmann::json::array();
        for (const archive::Recording& r : session->sources)
            sources.push_back({{"path", r.path},
                               {"sha256", r.sha256},
                               {"archive_id", r.id > 0 ? nlohmann::json(r.id) : nlohmann::json()}});
        figures["sources"] = sources;
        const std::string head = CliArchive().ChainHead();
        figures["chain_head"] = head.empty() ? nlohmann::json() : nlohmann::json(head);
        const std::string text = figures.dump(2) + "\n";
        std::cout << text;
        RecordOutput(*session, archive::EventKind::Reported, session->sources, {}, text);
        return kExitOk;
    }
#ifdef SAROKO_CLI_HAS_GUI
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        std::cerr << "saroko-cli report: no graphics support in this build\n";
        return kExitFailed;
    }
    CChannelPalette palette(session->store);
    if (!ui::WriteReportPdf(QString::fromStdString(out), doc, palette, options)) {
        std::cerr << "saroko-cli report: cannot write " << out << "\n";
        return kExitFailed;
    }
    RecordOutput(*session, archive::EventKind::Reported, session->sources, out);
    return kExitOk;
#else
    std::cerr << "saroko-cli report: no graphics support in this build\n";
    return kExitFailed;
#endif
}

} // namespace saroko::cli
