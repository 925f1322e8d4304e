// saroko-cli info: what a set of files holds, as the program would show it.
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/CliCommon.h"
#include "cli/CliOptions.h"
#include "core/archive/Units.h"

namespace saroko::cli {

extern const char kInfoUsage[] =
    "usage: saroko-cli info [--json] [--corrected] FILE...\n"
    "  Loads the files as the Open command would (the first as new, the others appended)\n"
    "  and prints each channel with data and the document's graph range.\n"
    "  --json       one JSON object with every range field and all eight channels\n"
    "  --corrected  the values corrected by the calibration of each recording's storage\n"
    "               unit; \"corrected\" names those channels. Without it the raw values\n";

namespace {

std::string TypeName(int type) {
    switch (type) {
    case kTypeTemp13:
    case kTypeTemp14:
        return "temperature";
    case kTypeHumidity:
        return "humidity";
    case kTypeVoltage:
        return "voltage";
    default:
        return "unknown";
    }
}

nlohmann::json RangeJson(const GraphRange& r) {
    return {{"dataStart", r.dataStart}, {"dataEnd", r.dataEnd},         {"viewStart", r.viewStart},
            {"viewEnd", r.viewEnd},     {"minInterval", r.minInterval}, {"cursorA", r.cursorA},
            {"cursorB", r.cursorB},     {"fullUpper", r.fullUpper},     {"fullLower", r.fullLower},
            {"viewUpper", r.viewUpper}, {"viewLower", r.viewLower},     {"calcStart", r.calcStart},
            {"calcEnd", r.calcEnd}};
}

} // namespace

void DeclareInfo(CVerbOptions& o) {
    o.AddFlag("json");
    o.AddFlag("corrected");
}

int RunInfo(const CVerbOptions& o) {
    if (o.Files().empty())
        return o.Fail("no file given");
    auto session = OpenSession();
    if (!LoadFiles(*session, o.Files()))
        return kExitFailed;
    const auto corrected = o.Has("corrected") ? CorrectValues(*session) : nullptr;
    if (corrected && !corrected->Corrected().empty())
        session->doc->RecalcRanges(RecalcMode::UnitsOrScale);
    const CZorvicDoc& doc = *session->doc;
    const GraphRange& r = *doc.GetRange();
    const auto isCorrected = [&](int n) { return corrected && corrected->Corrected().count(n); };

    if (o.Has("json")) {
        nlohmann::json channels = nlohmann::json::array();
        for (int n = 1; n <= kChannelCount; ++n) {
            const ChannelRecord& ch = *doc.GetChannel(n);
            channels.push_back({{"number", ch.number},
                                {"present", ch.present},
                                {"name", ChannelNameUtf8(*session, ch)},
                                {"startTime", ch.startTime},
                                {"measureType", ch.measureType},
                                {"modelCode", ch.modelCode},
                                {"startKnown", ch.startKnown},
                                {"recModeCode", ch.recModeCode},
                                {"startModeCode", ch.startModeCode},
                                {"unitFlag", ch.unitFlag},
                                {"sensorCode", ch.sensorCode},
                                {"interval", ch.interval},
                                {"sampleCount", ch.sampleCount},
                                {"statMax", ch.statMax},
                                {"statMin", ch.statMin},
                                {"statAvg", ch.statAvg}});
        }
        nlohmann::json out{{"range", RangeJson(r)}, {"channels", channels}};
        if (corrected) {
            out["corrected"] = nlohmann::json::array();
            for (const auto& entry : corrected->Corrected())
                out["corrected"].push_back(entry.first);
        }
        std::cout << out.dump(2) << "\n";
        return kExitOk;
    }

    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelRecord& ch = *doc.GetChannel(n);
        if (ch.present == 0)
            continue;
        const char* label = IntervalLabel(ch.interval);
        const std::string unit = session->codec.Cp932ToUtf8(doc.FormatUnit(ch.measureType, 0));
        std::cout << "Ch." << n << "  \"" << ChannelNameUtf8(*session, ch) << "\"\n"
                  << "  start      " << FormatLocalDateTime(ch.startTime) << "\n"
                  << "  interval   " << ch.interval << " s"
                  << (label ? std::string(" (") + label + ")" : std::string()) << "\n"
                  << "  type       " << static_cast<int>(ch.measureType) << " "
                  << TypeName(ch.measureType) << "\n"
                  << "  samples    " << ch.sampleCount << "\n"
                  << (isCorrected(n) ? "  values     corrected by the unit's calibration\n" : "")
                  << "  max        " << doc.CellValueText(ch, ch.statMax, false) << " " << unit
                  << "\n"
                  << "  min        " << doc.CellValueText(ch, ch.statMin, false) << " " << unit
                  << "\n"
                  << "  avg        " << doc.CellValueText(ch, ch.statAvg, true) << " " << unit
                  << "\n";
    }
    std::cout << "Range\n"
              << "  data       " << FormatLocalDateTime(r.dataStart) << " - "
              << FormatLocalDateTime(r.dataEnd) << "\n"
              << "  view       " << FormatLocalDateTime(r.viewStart) << " - "
              << FormatLocalDateTime(r.viewEnd) << "\n"
              << "  cursors    A " << FormatLocalDateTime(r.cursorA) << "  B "
              << FormatLocalDateTime(r.cursorB) << "\n"
              << "  calc       " << FormatLocalDateTime(r.calcStart) << " - "
              << FormatLocalDateTime(r.calcEnd) << "\n"
              << "  interval   " << r.minInterval << " s (shortest)\n"
              << "  values     full " << r.fullLower << " .. " << r.fullUpper << ", view "
              << r.viewLower << " .. " << r.viewUpper << "\n";
    return kExitOk;
}

} // namespace saroko::cli
