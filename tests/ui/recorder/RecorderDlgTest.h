#pragma once
// Shared rig of the recorder dialog tests: one QApplication, the simulated KM-41 on an
// in-memory line with its own clock, a document on an in-memory store, and the message boxes
// replaced by a log that answers in place of the user.
#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>

#include <functional>
#include <vector>

#include "Km41Simulator.h"
#include "app/MessageSink.h"
#include "document/ZorvicDoc.h"
#include "recorder/MemoryLine.h"
#include "recorder/RecorderComm.h"
#include "settings/SettingsStore.h"
#include "support/QtApp.h"

namespace saroko::test {

inline constexpr uint32_t kSimEpoch = 1209600000; // 2008-05-01 00:00 UTC

struct SimRig {
    explicit SimRig(sim::SimOptions o = {})
        : options(WithEpoch(o)), sim(options), line(sim), clock(line, kSimEpoch) {
        doc.OnNewDocument();
    }
    static sim::SimOptions WithEpoch(sim::SimOptions o) {
        o.epoch = kSimEpoch;
        return o;
    }
    CommServices Services() {
        CommServices s;
        s.line = &line;
        s.clock = &clock;
        s.store = &store;
        return s;
    }

    sim::SimOptions options;
    sim::CKm41Simulator sim;
    CMemoryLine line;
    CMemoryLineClock clock;
    CMemorySettingsStore store;
    CZorvicDoc doc{store, clock};
};

// Records every message box and answers it; `onShow` runs while the box would be open.
class MessageLog {
public:
    MessageLog() {
        App();
        ui::SetMessageHandler([this](int id, const QString&) {
            ids.push_back(id);
            if (onShow)
                onShow(id);
            return answer;
        });
    }
    ~MessageLog() { ui::SetMessageHandler({}); }
    std::vector<int> ids;
    int answer = kIdOk;
    std::function<void(int)> onShow;
};

} // namespace saroko::test
