// The settings file as a user may have edited it: every entry the program reads, with any text.
// Each input line is one entry: its first byte picks the entry, the rest is the stored text.
// The document must load them, work with them (ranges, statistics, export), and what it writes
// back must read back to the same values.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FuzzDoc.h"
#include "core/channels/ChannelPalette.h"
#include "core/document/ZorvicDoc.h"
#include "core/recorder/SerialLine.h"
#include "core/settings/WindowPlacement.h"

namespace {

using Entry = std::pair<std::string, std::string>;

const std::vector<Entry>& Entries() {
    static const std::vector<Entry> entries = [] {
        std::vector<Entry> e = {
            {"Text File Section", "DivideCode"},
            {"Print Graph Section", "PrintMethod"},
            {"Print Graph Section", "HorizontalScale"},
            {"Print Graph Section", "VerticalScale"},
            {"KM4x Communication Section", "PortNo"},
            {"KM4x Communication Section", "TempUnit"},
            {"KM4x Communication Section", "RecMode"},
            {"KM4x Communication Section", "SensorType"},
            {"KM4x Communication Section", "Interval"},
            {"KM4x Communication Section", "ChanName1"},
            {"KM4x Communication Section", "ChanName2"},
            {"KM4x Communication Section", "StartMode"},
            {"KM4x Communication Section", "DateTime"},
            {"KM4x Communication Section", "COM1"},
            {"Unit Display Section", "UnitCF"},
            {"Unit Display Section", "UnitV"},
            {"CursorAB Section", "CursorStyle"},
            {"CursorAB Section", "CursorASelect"},
            {"CursorAB Section", "CursorBSelect"},
            {"Graph Scale Section", "ScaleMode"},
            {"Graph Scale Section", "ScaleUpper"},
            {"Graph Scale Section", "ScaleLower"},
            {"WindowPosition", "frameX"},
            {"WindowPosition", "frameY"},
            {"WindowPosition", "Width"},
            {"WindowPosition", "Height"},
            {"Recent File List", "File1"},
            {"Recent File List", "File2"},
        };
        for (const char* c : {"Red", "Green", "Blue", "Flags"})
            e.push_back({saroko::kChannelColorSection, std::string("Ch.1") + c});
        return e;
    }();
    return entries;
}

void SaveAll(saroko::CZorvicDoc& doc) {
    doc.SaveTextFileSettings();
    doc.SavePrintGraphSettings();
    doc.SaveCommSettings();
    doc.SaveUnitSettings();
    doc.SaveCursorSettings();
    doc.SaveScaleSettings();
    doc.SaveRecentFiles();
}

// One channel of an hour's samples, with an Over, an Under and a missing sample in it: few
// enough that the export after each input stays a small part of the run.
void FillChannel(saroko::ChannelRecord& ch, uint32_t start) {
    using namespace saroko;
    ch.present = 1;
    ch.startTime = start;
    ch.interval = 300;
    ch.sampleCount = 12;
    for (int i = 0; i < 12; ++i)
        ch.samples[i] = static_cast<uint16_t>(32768 + 200 + i * 15);
    ch.samples[3] = kCodeOver;
    ch.samples[6] = kCodeUnder;
    ch.samples[9] = kCodeMissing;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace saroko;
    CMemorySettingsStore store;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > pos) {
            const Entry& e = Entries()[static_cast<uint8_t>(text[pos]) % Entries().size()];
            store.WriteString(e.first, e.second, text.substr(pos + 1, end - pos - 1));
        }
        pos = end + 1;
    }

    // Both documents live for the run and see this input's store: `doc` starts anew from it,
    // `reread` holds no data and only reads the settings again.
    static fuzz::CForwardStore forward;
    static const FixedClock clock(1'200'000'000);
    static CZorvicDoc doc(forward, clock), reread(forward, clock);
    forward.target = &store;
    doc.OnNewDocument();
    (void)CChannelPalette(store);
    (void)LoadWindowPlacement(store, 1280, 800);
    (void)PortDeviceName(1, &store);

    FillChannel(*doc.GetChannel(1), clock.Now());
    doc.RecalcRanges(RecalcMode::NewData);
    doc.RecalcRanges(RecalcMode::UnitsOrScale);
    (void)doc.BuildTextExport(0);

    // Written once, read and written again: the same texts, or a setting drifts at every start.
    SaveAll(doc);
    std::vector<std::string> written;
    written.reserve(Entries().size());
    for (const Entry& e : Entries())
        written.push_back(store.GetString(e.first, e.second, "?"));
    reread.LoadSettings();
    SaveAll(reread);
    for (std::size_t i = 0; i < Entries().size(); ++i)
        if (store.GetString(Entries()[i].first, Entries()[i].second, "?") != written[i])
            __builtin_trap();
    return 0;
}
