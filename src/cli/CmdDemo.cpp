// saroko-cli demo: writes a plausible two-channel recording, for first starts and examples.
#include <cmath>
#include <cstring>
#include <iostream>
#include <numbers>

#include "cli/CliCommon.h"
#include "cli/CliOptions.h"

namespace saroko::cli {

extern const char kDemoUsage[] =
    "usage: saroko-cli demo [--start \"YYYY/MM/DD HH:MM:SS\"] -o OUT.klg\n"
    "  Writes a one-day recording of a room and a cold store, one sample a minute, with a\n"
    "  door opening and two missing samples.\n";

namespace {

// A small deterministic generator, so the demo file is the same on every build.
uint32_t Next(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

void FillChannel(CZorvicDoc& doc, ChannelRecord& ch, const std::string& name, uint32_t start,
                 int count, double base, double swing, uint32_t seed) {
    std::memset(ch.name, 0, sizeof ch.name);
    std::memcpy(ch.name, name.data(), std::min<std::size_t>(8, name.size()));
    ch.present = ch.number;
    ch.startTime = start;
    ch.interval = 60;
    ch.measureType = kTypeTemp13;
    ch.modelCode = kModelKm41;
    ch.startKnown = 1;
    ch.recModeCode = 128;
    ch.startModeCode = 1;
    ch.unitFlag = 0;
    ch.sensorCode = 0;
    uint32_t state = seed;
    double drift = 0;
    for (int i = 0; i < count; ++i) {
        const double day = 2 * std::numbers::pi * i / 1440.0;
        drift = drift * 0.9 + ((Next(state) % 1000) / 1000.0 - 0.5) * 0.08;
        double v = base + swing * std::sin(day - 2.0) + drift;
        if (swing < 1.0 && i >= 610 && i < 640)
            v += 6.5 * std::exp(-(i - 610) / 9.0); // the cold store's door stands open
        ch.samples[i] = doc.ToCode(v, kTypeTemp13);
    }
    ch.sampleCount = static_cast<uint16_t>(count);
}

} // namespace

void DeclareDemo(CVerbOptions& o) {
    o.AddOutput();
    o.AddValue("start");
    o.TakeNoFiles();
}

int RunDemo(const CVerbOptions& o) {
    const std::string& out = o.Output();
    if (out.empty())
        return o.Fail("no output file (-o)");
    uint32_t start = 0;
    if (!ParseLocalDateTime(o.Value("start").value_or("2026/11/30 09:00:00"), start))
        return o.Fail("--start wants a local time as \"YYYY/MM/DD HH:MM:SS\"");

    // The demo must not depend on the user's settings (a stored degF would change the codes).
    CMemorySettingsStore store;
    FixedClock clock(start);
    CZorvicDoc doc(store, clock);
    CQtCp932Codec codec;
    doc.OnNewDocument();
    const int count = 1440;
    ChannelRecord& room = *doc.GetChannel(1);
    ChannelRecord& cold = *doc.GetChannel(2);
    FillChannel(doc, room, codec.Utf8ToCp932("室温"), start, count, 22.0, 2.5, 7u);
    FillChannel(doc, cold, codec.Utf8ToCp932("冷蔵庫"), start, count, 4.0, 0.4, 11u);
    room.samples[300] = kCodeMissing;
    room.samples[301] = kCodeMissing;
    doc.RecalcRanges(RecalcMode::NewData);
    if (doc.SaveKlgFile(0, out) != kFileOk) {
        PrintMessage(msg::kSaveFailed, "\n" + out);
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace saroko::cli
