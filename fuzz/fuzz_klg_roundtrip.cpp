// Arbitrary bytes as a native or older-series file, loaded as new or appended, then written
// back, read again and exported: nothing may crash, read or write out of bounds, or loop
// without end, and what we write we must be able to read.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "FuzzDoc.h"
#include "core/files/KlgFormat.h"

namespace {

using namespace saroko;

// Exports the document, a short one whole. Of a long one, whose export is the same few lines
// once per row, only the rows where something changes: the first, the last and those around
// where the shortest channel ends, each as the view's range. Exporting every row of every
// input held the run to a few thousand inputs a second without reaching any more code.
void ExportAtTheEdges(CZorvicDoc& doc, int range) {
    constexpr uint64_t kRows = 64;
    GraphRange& r = *doc.GetRange();
    const uint64_t width = kRows * std::max(r.minInterval, 1u);
    if (r.dataEnd < r.dataStart || r.dataEnd - r.dataStart <= width) {
        (void)doc.BuildTextExport(range);
        return;
    }
    uint64_t shortest = r.dataEnd;
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelRecord& ch = *doc.GetChannel(n);
        if (ch.present && ch.sampleCount > 0)
            shortest = std::min<uint64_t>(shortest, ch.startTime +
                                                        uint64_t(ch.sampleCount - 1) * ch.interval);
    }
    const GraphRange kept = r;
    for (const uint64_t start : {uint64_t(r.dataStart), shortest - std::min(shortest, width / 2),
                                 uint64_t(r.dataEnd) - width}) {
        r.viewStart = static_cast<uint32_t>(std::clamp<uint64_t>(start, r.dataStart, r.dataEnd));
        r.viewEnd = static_cast<uint32_t>(std::min<uint64_t>(r.viewStart + width, r.dataEnd));
        (void)doc.BuildTextExport(1);
    }
    r = kept;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    fuzz::FuzzDoc& f = fuzz::FuzzDoc::Get();
    const uint8_t control = data[0];
    const std::span<const uint8_t> bytes(data + 1, size - 1);
    if (fuzz::LoadFuzzImage(f, control, bytes) != kFileOk)
        return 0;
    const int range = (control >> 4) & 1;
    const std::string klg = BuildKlgImage(f.doc, range);
    KlgImage again;
    if (!ParseKlgImage(
            std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(klg.data()), klg.size()),
            again))
        __builtin_trap();
    f.doc.m_nDivideCode = static_cast<uint32_t>(control >> 5);
    ExportAtTheEdges(f.doc, range);
    return 0;
}
