#pragma once
// A document that lives for the whole fuzzing run, with prompts that answer as told.
#include "core/document/ZorvicDoc.h"

namespace saroko::fuzz {

class CFuzzPrompts final : public IDocumentPrompts {
public:
    int AskReadMode() override { return kReadNew; }
    int ShowMessage(int, std::string_view) override { return answer; }
    int answer = kIdOk;
};

struct FuzzDoc {
    CMemorySettingsStore store;
    FixedClock clock{1'200'000'000};
    CFuzzPrompts prompts;
    CZorvicDoc doc{store, clock};

    FuzzDoc() {
        doc.SetPrompts(&prompts);
        doc.OnNewDocument();
    }
    static FuzzDoc& Get() {
        static FuzzDoc d;
        return d;
    }
};

// Loads `bytes` as a native (or, with bit 0 of `control`, older) file, new or appended (bit 1),
// answering the overflow question with OK or Cancel (bit 2), in °C or °F (bit 3).
inline int LoadFuzzImage(FuzzDoc& f, uint8_t control, std::span<const uint8_t> bytes) {
    f.prompts.answer = (control & 4) ? kIdCancel : kIdOk;
    f.doc.m_nUnitCF = (control >> 3) & 1;
    if (!(control & 2)) f.doc.ClearAllChannels();
    const int mode = (control & 2) ? IDocumentPrompts::kReadAppend : IDocumentPrompts::kReadNew;
    return f.doc.LoadContainerImage(bytes, "fuzz.klg", (control & 1) != 0, mode);
}

} // namespace saroko::fuzz
