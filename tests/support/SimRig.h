#pragma once
// The simulated KM-41 on an in-memory line with its own clock, and a document on an in-memory
// store: the recorder's far end for the simulator's and the recorder dialogs' tests.
#include "core/document/ZorvicDoc.h"
#include "core/recorder/CommRig.h"
#include "core/settings/SettingsStore.h"
#include "sim/Km41Simulator.h"

namespace saroko::test {

inline constexpr uint32_t kSimEpoch = 1209600000; // 2008-05-01 00:00 UTC

struct SimRig {
    explicit SimRig(sim::SimOptions o = {}, uint32_t epoch = kSimEpoch)
        : options(WithEpoch(o, epoch)), sim(options), line(sim), clock(line, epoch) {
        doc.OnNewDocument();
    }
    static sim::SimOptions WithEpoch(sim::SimOptions o, uint32_t epoch) {
        o.epoch = epoch;
        return o;
    }
    // The dialogs put their own sink in place of this one.
    CommServices Services() {
        CommServices s;
        s.line = &line;
        s.sink = &sink;
        s.clock = &clock;
        s.port = ResolvePort(1, &store);
        return s;
    }

    sim::SimOptions options;
    sim::CKm41Simulator sim;
    CMemoryLine line;
    CMemoryLineClock clock;
    CRecordingSink sink;
    CMemorySettingsStore store;
    CZorvicDoc doc{store, clock};
};

} // namespace saroko::test
