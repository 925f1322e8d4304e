// The menu's entry point: each command opens its dialog; a download runs end to end through
// a real serial device (the simulated recorder on a pseudo-terminal, bound to COM1).
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <thread>

#include "RecorderDlgTest.h"
#include "channels/ChannelPalette.h"
#include "document/CommandState.h"
#include "platform/PtyHost.h"
#include "platform/UserFolders.h"
#include "recorder/CommandTestDlg.h"
#include "recorder/DownloadDlg.h"
#include "recorder/PortSelectDlg.h"
#include "recorder/RecordStartDlg.h"
#include "recorder/RecorderCommands.h"
#include "recorder/SerialLine.h"

namespace saroko::test {
namespace {

// Runs `step` on the dialog once it is up; the entry point runs it modally.
template <class Dlg> void WhenOpen(std::function<void(Dlg&)> step) {
    QTimer::singleShot(0, [step] {
        auto* dlg = dynamic_cast<Dlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        step(*dlg);
    });
}

TEST(RecorderCommands, DownloadThroughARealSerialDevice) {
    sim::SimOptions o;
    o.preload = 12;
    o.epoch = static_cast<uint32_t>(std::time(nullptr));
    sim::CKm41Simulator recorder(o);
    CPtyHost host;
    std::string error;
    ASSERT_TRUE(host.Open(error)) << error;
    std::atomic<bool> stop{false};
    std::thread serve([&] { host.Serve(recorder, stop); });

    // The program keeps the download and the exchange's transcript in the user's folders.
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
    qputenv("XDG_CACHE_HOME", home.filePath("cache").toUtf8());

    MessageLog log;
    CMemorySettingsStore store;
    SystemClock clock;
    CZorvicDoc doc(store, clock);
    doc.OnNewDocument();
    doc.m_nPortNo = 1;
    store.WriteString(kRecorderCommSection, "COM1", host.DevicePath());
    CChannelPalette palette;

    log.onShow = [&](int id) {
        if (id != msg::kCommOk)
            return;
        // Close once the download is over and the dialog idle again.
        QTimer::singleShot(0, [&] {
            auto* dlg = dynamic_cast<ui::CDownloadDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dlg, nullptr);
            Press(*dlg, ui::CDownloadDlg::kIdcEnd);
        });
    };
    WhenOpen<ui::CDownloadDlg>(
        [](ui::CDownloadDlg& dlg) { Press(dlg, ui::CDownloadDlg::kIdcDownload); });
    EXPECT_TRUE(ui::RunRecorderCommand(cmd::kDownload, doc, palette, nullptr));
    stop = true;
    serve.join();

    // What arrives and what the kept file holds are the core's and the end-to-end tests';
    // here that it came through the port, and that the kept file and transcript are made.
    EXPECT_EQ(log.ids, std::vector<int>{msg::kCommOk});
    EXPECT_EQ(doc.GetChannel(2)->sampleCount, 12);
    EXPECT_EQ(QDir(QString::fromStdString(KeptDownloadsFolder()))
                  .entryList({"*.klg"}, QDir::Files)
                  .size(),
              1);
    QFile transcript(QString::fromStdString(TranscriptFolder()) + "/last-exchange.txt");
    ASSERT_TRUE(transcript.open(QIODevice::ReadOnly));
    EXPECT_TRUE(transcript.readAll().contains("> 11 00 00 00 00 29"));
}

TEST(RecorderCommands, EachCommandOpensItsDialog) {
    MessageLog log;
    SimRig rig;
    CChannelPalette palette;
    const uint32_t now = rig.clock.Now();

    WhenOpen<ui::CRecordStartDlg>(
        [](ui::CRecordStartDlg& dlg) { Press(dlg, ui::CRecordStartDlg::kIdcEnd); });
    EXPECT_TRUE(
        ui::RunRecorderCommand(cmd::kRecordStart, rig.doc, palette, rig.Services(), nullptr));
    // The proposed scheduled start: now + 15 minutes, down to a multiple of 10 minutes.
    EXPECT_EQ(rig.doc.m_recSettings.startTime, (now + 900) / 600 * 600);

    WhenOpen<ui::CCommandTestDlg>(
        [](ui::CCommandTestDlg& dlg) { Press(dlg, ui::CCommandTestDlg::kIdcEnd); });
    EXPECT_TRUE(
        ui::RunRecorderCommand(cmd::kCommandTest, rig.doc, palette, rig.Services(), nullptr));

    WhenOpen<ui::CPortSelectDlg>([](ui::CPortSelectDlg& dlg) {
        Press(dlg, ui::CPortSelectDlg::kIdcCom1 + 1);
        Press(dlg, ui::CPortSelectDlg::kIdcOk);
    });
    EXPECT_TRUE(
        ui::RunRecorderCommand(cmd::kSelectPort, rig.doc, palette, rig.Services(), nullptr));
    EXPECT_EQ(rig.doc.m_nPortNo, 2u);

    EXPECT_FALSE(ui::RunRecorderCommand(cmd::kZoomIn, rig.doc, palette, rig.Services(), nullptr));
    EXPECT_TRUE(log.ids.empty());
}

} // namespace
} // namespace saroko::test
