#pragma once
// Shared rig of the recorder dialog tests: one QApplication, the simulated KM-41 on an
// in-memory line with its own clock, a document on an in-memory store, the message boxes
// replaced by a log that answers in place of the user, and the dialogs' controls by id.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>

#include <functional>
#include <vector>

#include "app/MessageSink.h"
#include "recorder/RecorderDialog.h"
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

template <class W> W* Item(const ui::CRecorderDialog& dlg, int id) {
    return static_cast<W*>(dlg.GetDlgItem(id));
}
inline void Press(const ui::CRecorderDialog& dlg, int id) {
    Item<QAbstractButton>(dlg, id)->click();
}
inline QString Label(const ui::CRecorderDialog& dlg, int id) {
    return Item<QLabel>(dlg, id)->text();
}
inline QLineEdit* Edit(const ui::CRecorderDialog& dlg, int id) {
    return Item<QLineEdit>(dlg, id);
}

} // namespace saroko::test
