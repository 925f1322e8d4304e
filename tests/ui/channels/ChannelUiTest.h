#pragma once
// Shared rig of the channel dialog tests: one QApplication, a document with a few channels on
// an in-memory store and a pinned clock, the graph view that owns the palette, and the message
// boxes replaced by a log.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <functional>
#include <vector>

#include "app/MessageSink.h"
#include "core/TestSupport.h"
#include "graph/ZorvicView.h"
#include "support/QtApp.h"

namespace saroko::test {

class ChannelUiTest : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        ui::SetMessageHandler([this](int id, const QString&) {
            shown.push_back(id);
            return kIdOk;
        });
        clock.Set(Local(2008, 3, 5, 12, 0, 0));
        doc.OnNewDocument();
        Fill(*doc.GetChannel(1), Local(2008, 3, 5, 10, 0, 0), 60, {C(20), C(21), C(22), C(23)},
             "OVEN");
        Fill(*doc.GetChannel(2), Local(2008, 3, 5, 10, 1, 0), 60, {C(-5), C(-6), C(-7)}, "DUCT");
        Fill(*doc.GetChannel(4), Local(2008, 3, 5, 10, 2, 0), 60, {C(50), C(51)}, "ROOF");
        doc.RecalcRanges(1);
        view = std::make_unique<CZorvicView>(doc);
        view->resize(640, 480);
    }
    void TearDown() override { ui::SetMessageHandler({}); }

    // Runs `drive` on the modal dialog once it is open (the command's exec is running).
    static void WhenModal(std::function<void(QDialog*)> drive) {
        auto* timer = new QTimer;
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, drive] {
            if (auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                timer->stop();
                timer->deleteLater();
                drive(dlg);
            }
        });
        timer->start();
    }
    static void Show(QWidget& w) {
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }

    CMemorySettingsStore store;
    FixedClock clock{0};
    CZorvicDoc doc{store, clock};
    std::unique_ptr<CZorvicView> view;
    std::vector<int> shown;
};

} // namespace saroko::test
