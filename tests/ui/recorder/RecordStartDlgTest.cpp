// The record-start dialog: a check's message and the field that gets the focus, the clocks,
// the start on the simulated recorder, "停止" and "設定値受信".
#include <QButtonGroup>
#include <QComboBox>
#include <QRadioButton>

#include <cstring>

#include "RecorderDlgTest.h"
#include "core/TestSupport.h"
#include "recorder/RecordStartDlg.h"

namespace saroko::test {
namespace {

using ui::CRecordStartDlg;

class RecordStartDlgTest : public ::testing::Test {
protected:
    RecordStartDlgTest() {
        // The dialog opens on a scheduled start one day ahead, one-time, 10 s.
        RecorderSettings& s = rig.doc.m_recSettings;
        s.startMode = 0x31;
        s.startTime = rig.clock.Now() + 86400;
        s.intervalSec = 10;
        s.flags = 0;
        std::memcpy(s.chanName1, "OVEN\0\0\0\0", 8);
        std::memcpy(s.chanName2, "DUCT\0\0\0\0", 8);
        dlg = std::make_unique<CRecordStartDlg>(rig.doc, rig.Services());
        dlg->show();
        dlg->activateWindow();
    }
    QLineEdit* Edit(int id) { return test::Edit(*dlg, id); }
    QString Label(int id) { return test::Label(*dlg, id); }
    void Click(int id) { Press(*dlg, id); }
    void Date(int y, int mo, int d, int h, int mi, int s) {
        const int ids[6] = {CRecordStartDlg::kIdcYear,   CRecordStartDlg::kIdcMonth,
                            CRecordStartDlg::kIdcDay,    CRecordStartDlg::kIdcHour,
                            CRecordStartDlg::kIdcMinute, CRecordStartDlg::kIdcSecond};
        const int v[6] = {y, mo, d, h, mi, s};
        for (int i = 0; i < 6; ++i)
            Edit(ids[i])->setText(QString::number(v[i]));
    }

    static sim::SimOptions HandStarted() {
        sim::SimOptions o; // the recorder holds a recording started by hand, every minute
        o.preload = 10;
        o.preloadStartMode = 0;
        o.settings.intervalSec = 60;
        return o;
    }

    MessageLog log;
    SimRig rig{HandStarted()};
    std::unique_ptr<CRecordStartDlg> dlg;
};

TEST_F(RecordStartDlgTest, OpensOnTheDocumentsBlock) {
    EXPECT_EQ(Edit(CRecordStartDlg::kIdcName1)->text(), "OVEN");
    EXPECT_EQ(Edit(CRecordStartDlg::kIdcName2)->text(), "DUCT");
    auto* list = static_cast<QComboBox*>(dlg->GetDlgItem(CRecordStartDlg::kIdcInterval));
    ASSERT_EQ(list->count(), 15);
    EXPECT_EQ(list->itemText(0), "   1 sec.");
    EXPECT_EQ(list->currentText(), "  10 sec.");
    EXPECT_TRUE(
        static_cast<QRadioButton*>(dlg->GetDlgItem(CRecordStartDlg::kIdcScheduled))->isChecked());
    EXPECT_TRUE(Edit(CRecordStartDlg::kIdcYear)->isEnabled());
    const DateFields f = DateFieldsFromTime(rig.clock.Now() + 86400);
    EXPECT_EQ(Edit(CRecordStartDlg::kIdcYear)->text().toStdString(), f.year);
    EXPECT_EQ(Edit(CRecordStartDlg::kIdcSecond)->text().toStdString(), f.second);
    EXPECT_FALSE(dlg->GetDlgItem(CRecordStartDlg::kIdcCelsius)->isVisibleTo(dlg.get()));
    EXPECT_EQ(Label(CRecordStartDlg::kIdcNowDate).toStdString(), FormatClockDate(rig.clock.Now()));
}

TEST_F(RecordStartDlgTest, ChecksShowTheirMessageAndFocusTheField) {
    // clang-format off
    struct Case { const char* what; int field; const char* text; int message, focus; } cases[] = {
        // Which text fails which rule is the core's table; here that the message shows and the
        // focus lands on the control the core names: a date field, a name field.
        {"full-width year", CRecordStartDlg::kIdcYear, "２００８", 57713, 101},
        {"second letters", CRecordStartDlg::kIdcSecond, "5s", 57718, 104},
        {"Ch.2 name of five double-byte characters", CRecordStartDlg::kIdcName2, "温度温度温", 57712, 108},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Date(2009, 3, 1, 12, 0, 0);
        Edit(CRecordStartDlg::kIdcName1)->setText("OVEN");
        Edit(CRecordStartDlg::kIdcName2)->setText("DUCT");
        Edit(c.field)->setText(QString::fromUtf8(c.text));
        dlg->GetDlgItem(CRecordStartDlg::kIdcSet)->setFocus();
        log.ids.clear();
        Click(CRecordStartDlg::kIdcSet);
        EXPECT_EQ(log.ids, std::vector<int>{c.message});
        EXPECT_EQ(dlg->focusWidget(), dlg->GetDlgItem(c.focus));
        EXPECT_TRUE(dlg->isVisible());
    }
    // Without a start method nothing else is looked at: not the name left too long.
    auto* scheduled = static_cast<QRadioButton*>(dlg->GetDlgItem(CRecordStartDlg::kIdcScheduled));
    scheduled->setAutoExclusive(false);
    scheduled->group()->setExclusive(false);
    scheduled->setChecked(false);
    log.ids.clear();
    Click(CRecordStartDlg::kIdcSet);
    EXPECT_EQ(log.ids, std::vector<int>{msg::kNoStartMethod});
    EXPECT_EQ(rig.line.OpenCount(), 0);
}

TEST_F(RecordStartDlgTest, ClocksAndTheEnabledDate) {
    // The end as the core reckons it from the fields; a new interval counts as soon as chosen.
    Date(2008, 5, 1, 12, 0, 0);
    auto* list = static_cast<QComboBox*>(dlg->GetDlgItem(CRecordStartDlg::kIdcInterval));
    list->setCurrentIndex(7); // 1 min.
    emit list->activated(7);
    EXPECT_EQ(Label(CRecordStartDlg::kIdcEndDate).toStdString(),
              FormatClockDate(Local(2008, 5, 1, 12, 0, 0) + 60u * 7999u));

    Click(CRecordStartDlg::kIdcImmediate);
    dlg->OnTimer();
    EXPECT_FALSE(Edit(CRecordStartDlg::kIdcYear)->isEnabled());
    EXPECT_FALSE(Edit(CRecordStartDlg::kIdcSecond)->isEnabled());
    EXPECT_EQ(Label(CRecordStartDlg::kIdcEndDate).toStdString(),
              FormatClockDate(rig.clock.Now() + 60u * 7999u));

    Click(CRecordStartDlg::kIdcScheduled);
    EXPECT_TRUE(Edit(CRecordStartDlg::kIdcYear)->isEnabled());

    // The clock follows time.
    rig.line.Advance(3'000'000);
    dlg->OnTimer();
    EXPECT_EQ(Label(CRecordStartDlg::kIdcNowTime).toStdString(), FormatClockTime(rig.clock.Now()));
}

TEST_F(RecordStartDlgTest, StartsStopAndReadBack) {
    // Scheduled an hour ahead: the fixture's block with that date.
    const uint32_t start = rig.clock.Now() + 3600;
    std::tm tm{};
    ASSERT_TRUE(ToLocalTime(start, tm));
    Date(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    Click(CRecordStartDlg::kIdcSet);
    EXPECT_EQ(rig.sim.Settings().startMode, 0x31);
    EXPECT_EQ(rig.sim.Settings().startTime, start);

    // At once, with the fields changed; the wire and the save that follow are the core's.
    Edit(CRecordStartDlg::kIdcName1)->setText("温度温度"); // four double-byte characters: 8 bytes
    Edit(CRecordStartDlg::kIdcName2)->setText("B");
    auto* list = static_cast<QComboBox*>(dlg->GetDlgItem(CRecordStartDlg::kIdcInterval));
    list->setCurrentIndex(6); // 30 sec.
    Click(CRecordStartDlg::kIdcImmediate);
    Click(CRecordStartDlg::kIdcEndless);
    Click(CRecordStartDlg::kIdcJPt100);
    Click(CRecordStartDlg::kIdcSet);
    EXPECT_EQ(log.ids, (std::vector<int>{msg::kCommOk, msg::kCommOk}));
    const RecorderSettings& s = rig.sim.Settings();
    EXPECT_EQ(s.flags, RecorderSettings::kFlagEndless | RecorderSettings::kFlagJPt100);
    EXPECT_EQ(s.intervalSec, 30);
    EXPECT_EQ(s.startMode, 0x30);
    EXPECT_EQ(std::string(s.chanName1, 8), "\x89\xb7\x93\x78\x89\xb7\x93\x78");
    EXPECT_EQ(std::string(s.chanName2, 2), std::string("B\0", 2));
    rig.line.Advance(31'000'000);
    ASSERT_TRUE(rig.sim.IsRecording(rig.line.NowUs()));

    log.ids.clear();
    Click(CRecordStartDlg::kIdcStop);
    EXPECT_EQ(log.ids, std::vector<int>{msg::kCommOk});
    EXPECT_FALSE(rig.sim.IsRecording(rig.line.NowUs()));

    // What the recorder holds comes back into the fields before the box shows.
    Edit(CRecordStartDlg::kIdcName1)->setText("X");
    Click(CRecordStartDlg::kIdcScheduled);
    QString nameWhenShown;
    log.onShow = [&](int) { nameWhenShown = Edit(CRecordStartDlg::kIdcName1)->text(); };
    log.ids.clear();
    Click(CRecordStartDlg::kIdcReceive);
    EXPECT_EQ(log.ids, std::vector<int>{msg::kCommOk});
    EXPECT_EQ(nameWhenShown, "温度温度");
    EXPECT_TRUE(
        static_cast<QRadioButton*>(dlg->GetDlgItem(CRecordStartDlg::kIdcImmediate))->isChecked());
    EXPECT_FALSE(Edit(CRecordStartDlg::kIdcYear)->isEnabled());
    // The document's block changes only through "設定".
    rig.doc.m_recSettings.chanName1[0] = 'Z';
    Click(CRecordStartDlg::kIdcReceive);
    EXPECT_EQ(rig.doc.m_recSettings.chanName1[0], 'Z');
}

TEST_F(RecordStartDlgTest, ReadBackOfAManualStartEmptiesTheDate) {
    Click(CRecordStartDlg::kIdcReceive);
    EXPECT_EQ(log.ids, (std::vector<int>{msg::kCommOk, msg::kManualStartUnknown}));
    auto checked = [&](int id) { return Item<QRadioButton>(*dlg, id)->isChecked(); };
    EXPECT_EQ(Edit(CRecordStartDlg::kIdcYear)->text(), "");
    EXPECT_FALSE(checked(CRecordStartDlg::kIdcScheduled) ||
                 checked(CRecordStartDlg::kIdcImmediate));
    EXPECT_EQ(Item<QComboBox>(*dlg, CRecordStartDlg::kIdcInterval)->currentText(), "   1 min.");
}

} // namespace
} // namespace saroko::test
