// Arbitrary bytes as a native or older-series file, loaded as new or appended, then written
// back and exported: nothing may crash, read or write out of bounds, or loop without end.
#include <cstddef>
#include <cstdint>
#include <span>

#include "document/ZorvicDoc.h"
#include "files/KlgFormat.h"

namespace {

class FuzzPrompts : public saroko::IDocumentPrompts {
public:
    int AskReadMode() override { return kReadNew; }
    int ShowMessage(int, std::string_view) override { return answer; }
    int answer = saroko::kIdOk;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace saroko;
    if (size < 1)
        return 0;
    static CMemorySettingsStore store;
    static FixedClock clock(1'200'000'000);
    static FuzzPrompts prompts;
    static CZorvicDoc doc(store, clock);
    static bool init = false;
    if (!init) {
        doc.SetPrompts(&prompts);
        doc.OnNewDocument();
        init = true;
    }
    // The first byte picks the reader, the mode, the answer and the unit.
    const uint8_t control = data[0];
    const std::span<const uint8_t> bytes(data + 1, size - 1);
    prompts.answer = (control & 4) ? kIdCancel : kIdOk;
    doc.m_nUnitCF = (control >> 3) & 1;
    if (!(control & 2))
        doc.ClearAllChannels();
    const int mode = (control & 2) ? IDocumentPrompts::kReadAppend : IDocumentPrompts::kReadNew;
    KlgImage image;
    ParseKlgImage(bytes, image);
    if (doc.LoadContainerImage(bytes, "fuzz.klg", (control & 1) != 0, mode) == kFileOk) {
        const std::string klg = BuildKlgImage(doc, (control >> 4) & 1);
        KlgImage again;
        if (!ParseKlgImage(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(klg.data()),
                                                    klg.size()),
                           again))
            __builtin_trap(); // what we write we must be able to read
        doc.m_nDivideCode = static_cast<uint32_t>(control >> 5);
        (void)doc.BuildTextExport((control >> 4) & 1);
    }
    return 0;
}
