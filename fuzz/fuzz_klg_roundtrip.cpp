// Arbitrary bytes as a native or older-series file, loaded as new or appended, then written
// back, read again and exported: nothing may crash, read or write out of bounds, or loop
// without end, and what we write we must be able to read.
#include <cstddef>
#include <cstdint>
#include <span>

#include "FuzzDoc.h"
#include "core/files/KlgFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace saroko;
    if (size < 1) return 0;
    fuzz::FuzzDoc& f = fuzz::FuzzDoc::Get();
    const uint8_t control = data[0];
    const std::span<const uint8_t> bytes(data + 1, size - 1);
    if (fuzz::LoadFuzzImage(f, control, bytes) != kFileOk) return 0;
    const int range = (control >> 4) & 1;
    const std::string klg = BuildKlgImage(f.doc, range);
    KlgImage again;
    if (!ParseKlgImage(
            std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(klg.data()), klg.size()),
            again))
        __builtin_trap();
    f.doc.m_nDivideCode = static_cast<uint32_t>(control >> 5);
    (void)f.doc.BuildTextExport(range);
    return 0;
}
