#pragma once
// Shared rig of the recorder dialog tests: one QApplication, the simulated KM-41 on an
// in-memory line with its own clock, a document on an in-memory store, and the message boxes
// replaced by a log that answers in place of the user.
#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>

#include <functional>
#include <vector>

#include "app/MessageSink.h"
#include "support/QtApp.h"
#include "support/SimRig.h"

namespace saroko::test {

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
