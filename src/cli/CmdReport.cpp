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

#include "cli/CliCommon.h"
#include "cli/CliVerb.h"
#include "core/text/ParseDecimal.h"
#include "core/report/ReportFigures.h"

namespace saroko::cli {
namespace {

const char kUsage[] =
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

int RunReport(const std::vector<std::string>& args);
const Verb kVerb{"report", "report extremes, MKT and limit excursions (JSON or PDF)", kUsage,
                 &RunReport};
const VerbRegistrar reg{kVerb};

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

int RunReport(const std::vector<std::string>& args) {
    const Options o =
        ParseOptions(args, {"--from", "--to", "--low", "--high", "--activation-energy", "-o"},
                     {"--json", "--fahrenheit", "--celsius"});
    if (!o.error.empty())
        return UsageError(kVerb, o.error);
    if (o.positional.empty())
        return UsageError(kVerb, "no file given");
    const std::string* out = o.Value("-o");
    const bool json = o.Has("--json");
    if ((out != nullptr) == json)
        return UsageError(kVerb, "give either -o OUT.pdf or --json");
    if (out && (out->size() < 4 ||
                (out->substr(out->size() - 4) != ".pdf" && out->substr(out->size() - 4) != ".PDF")))
        return UsageError(kVerb, "-o wants a .pdf file");
    if (o.Has("--fahrenheit") && o.Has("--celsius"))
        return UsageError(kVerb, "--fahrenheit and --celsius exclude each other");

    ReportOptions options;
    for (const auto& [name, slot] : {std::pair{"--from", &options.from}, {"--to", &options.to}}) {
        if (const std::string* t = o.Value(name)) {
            uint32_t v = 0;
            if (!ParseLocalDateTime(*t, v))
                return UsageError(kVerb, std::string(name) + " wants a local time as "
                                                             "\"YYYY/MM/DD HH:MM:SS\"");
            *slot = v;
        }
    }
    if (options.from && options.to && *options.to < *options.from)
        return UsageError(kVerb, "--to lies before --from");
    for (const auto& [name, slot] : {std::pair{"--low", &options.low}, {"--high", &options.high}}) {
        if (const std::string* t = o.Value(name)) {
            double v = 0;
            if (!ParseNumber(*t, v))
                return UsageError(kVerb, std::string(name) + " wants a number");
            *slot = v;
        }
    }
    if (const std::string* t = o.Value("--activation-energy")) {
        if (!ParseNumber(*t, options.activationEnergy) || options.activationEnergy <= 0)
            return UsageError(kVerb, "--activation-energy wants a positive number (kJ/mol)");
    }

    auto session = OpenSession();
    if (!LoadFiles(*session, o.positional))
        return kExitFailed;
    CZorvicDoc& doc = *session->doc;
    if (o.Has("--fahrenheit") || o.Has("--celsius")) {
        doc.m_nUnitCF = o.Has("--fahrenheit") ? 1 : 0;
        doc.RecalcRanges(RecalcMode::UnitsOrScale);
    }
    if (json) {
        std::cout << FiguresJson(*session, ComputeReportFigures(doc, options)).dump(2) << "\n";
        return kExitOk;
    }
#ifdef SAROKO_CLI_HAS_GUI
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        std::cerr << "saroko-cli report: no graphics support in this build\n";
        return kExitFailed;
    }
    CChannelPalette palette(session->store);
    if (!ui::WriteReportPdf(QString::fromStdString(*out), doc, palette, options)) {
        std::cerr << "saroko-cli report: cannot write " << *out << "\n";
        return kExitFailed;
    }
    return kExitOk;
#else
    std::cerr << "saroko-cli report: no graphics support in this build\n";
    return kExitFailed;
#endif
}

} // namespace
} // namespace saroko::cli
