#pragma once
// The graph view over a test document on the offscreen platform: the document with an
// in-memory store and a pinned clock, the view at 640 x 480 once the test has filled its
// channels, the program's messages logged instead of shown, and a way to drive the modal
// dialog a command opens.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "core/TestSupport.h"
#include "support/QtApp.h"
#include "ui/base/MessageSink.h"
#include "ui/graph/ZorvicView.h"

namespace saroko::test {

class ViewRig : public DocTest {
protected:
    void SetUp() override {
        App();
        DocTest::SetUp();
        ui::SetMessageHandler([this](int id, const QString&) {
            messages.push_back(id);
            return kIdOk;
        });
    }
    void TearDown() override {
        view.reset();
        ui::SetMessageHandler({});
        DocTest::TearDown();
    }
    // The view over the channels filled so far; `show` paints it and gives it the keyboard.
    void OpenView(bool show) {
        doc.RecalcRanges(RecalcMode::NewData);
        view = std::make_unique<CZorvicView>(doc);
        view->setGeometry(0, 0, 640, 480);
        if (!show)
            return;
        Show(*view);
        QApplication::processEvents();
        view->setFocus();
    }
    QRgb Entry(int index) const {
        const PaletteEntry& e = view->Palette().Entry(index);
        return qRgb(e.red, e.green, e.blue);
    }
    static void Show(QWidget& w) {
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    // Runs `drive` on the modal dialog once it is open and active (the command's exec runs);
    // `drive` closes it, or the dialog is closed as a failure.
    static void WhenModal(std::function<void(QDialog*)> drive) {
        auto* timer = new QTimer;
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, drive] {
            auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dlg && dlg->isActiveWindow()) {
                timer->stop();
                timer->deleteLater();
                drive(dlg);
                if (dlg->isVisible()) {
                    ADD_FAILURE() << "the dialog is still open";
                    dlg->done(QDialog::Rejected);
                }
            }
        });
        timer->start();
    }

    std::unique_ptr<CZorvicView> view;
    std::vector<int> messages;
};

} // namespace saroko::test
