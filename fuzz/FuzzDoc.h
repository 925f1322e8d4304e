#pragma once
// A document that lives for the whole fuzzing run, with prompts that answer as told.
#include "core/document/ZorvicDoc.h"

namespace saroko::fuzz {

// A settings store and a clock that stand for the current input's own: the documents live
// for the whole run (building one allocates and clears 256 KB) while each input still gets
// a fresh store and its own clock.
class CForwardStore final : public ISettingsStore {
public:
    int GetInt(std::string_view s, std::string_view e, int def) const override {
        return target->GetInt(s, e, def);
    }
    std::string GetString(std::string_view s, std::string_view e,
                          std::string_view def) const override {
        return target->GetString(s, e, def);
    }
    void WriteInt(std::string_view s, std::string_view e, int v) override {
        target->WriteInt(s, e, v);
    }
    void WriteString(std::string_view s, std::string_view e, std::string_view v) override {
        target->WriteString(s, e, v);
    }
    ISettingsStore* target = nullptr;
};

class CForwardClock final : public IClock {
public:
    uint32_t Now() const override { return target->Now(); }
    const IClock* target = nullptr;
};

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
// An appended load finds the first (bits 5-7) channels holding one sample each and the
// others free, whatever the input before it left.
inline int LoadFuzzImage(FuzzDoc& f, uint8_t control, std::span<const uint8_t> bytes) {
    f.prompts.answer = (control & 4) ? kIdCancel : kIdOk;
    f.doc.m_nUnitCF = (control >> 3) & 1;
    if (control & 2) {
        f.doc.ClearAllChannels();
        for (int n = 1; n <= control >> 5; ++n) {
            ChannelRecord& ch = *f.doc.GetChannel(n);
            ch.present = ch.number;
            ch.samples[0] = kCodeZero;
            ch.sampleCount = 1;
        }
    }
    const int mode = (control & 2) ? IDocumentPrompts::kReadAppend : IDocumentPrompts::kReadNew;
    return f.doc.LoadContainerImage(bytes, "fuzz.klg", (control & 1) != 0, mode);
}

} // namespace saroko::fuzz
