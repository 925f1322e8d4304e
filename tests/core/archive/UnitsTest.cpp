// Storage units and calibration: the correction at the edges of its range, the due day, and
// the units as a fold over the chain's events in the in-memory store.
#include <gtest/gtest.h>

#include <cstring>

#include "core/TestSupport.h"
#include "core/archive/ArchiveFiles.h"
#include "core/archive/AuditTrail.h"
#include "core/archive/DocumentArchive.h"
#include "core/archive/MemoryArchiveStore.h"
#include "core/archive/Units.h"
#include "support/FakeHash.h"

namespace saroko::test {
namespace {

using namespace saroko::archive;

const Correction kLine{Correction::kLine, 0, -10.0, -9.8, 40.0, 40.4};

TEST(Calibration, CorrectionAtTheEndsOfItsRangeAndOutside) {
    const Correction offset{Correction::kOffset, -0.3};
    const struct {
        const Correction& c;
        double raw, corrected;
        bool inRange;
    } cases[] = {
        {kLine, -10.0, -9.8, true},     // first point
        {kLine, 40.0, 40.4, true},      // second point
        {kLine, 15.0, 15.3, true},      // between: on the line
        {kLine, -10.1, -9.9, false},    // just below: the first point's correction held
        {kLine, 40.1, 40.5, false},     // just above: the second point's
        {kLine, -60.0, -59.8, false},   // far outside: held, not extrapolated
        {offset, -200.0, -200.3, true}, // an offset covers every reading
        {offset, 8.0, 7.7, true},
    };
    for (const auto& k : cases) {
        EXPECT_NEAR(CorrectedValue(k.c, k.raw), k.corrected, 1e-9) << k.raw;
        EXPECT_EQ(InCalibratedRange(k.c, k.raw), k.inRange) << k.raw;
    }
    // Codes: rounded to the tenth; the special codes untouched; held below the special codes.
    EXPECT_EQ(CorrectedCode(kLine, C(15.0)), C(15.3));
    for (uint16_t special : {kCodeMissing, kCodeOver, kCodeUnder, kCodeEnd})
        EXPECT_EQ(CorrectedCode(offset, special), special);
    const Correction huge{Correction::kOffset, 5000.0};
    EXPECT_EQ(CorrectedCode(huge, C(10.0)), kCodeOver - 1);
    EXPECT_EQ(CorrectedCode(Correction{Correction::kOffset, -5000.0}, C(-10.0)), 0);
    EXPECT_EQ(CorrectionText(kLine), "-10.0 → -9.8 °C, 40.0 → 40.4 °C");
    EXPECT_EQ(CorrectionText(offset), "-0.3 °C");
}

TEST(Calibration, DueDayAndChecks) {
    const Calibration c{"JCSS-0412", "2026-01-10", "2026-07-09", {}};
    // The due day itself still holds; the day after does not.
    EXPECT_FALSE(PastDue(c, Local(2026, 7, 8, 23, 59, 59)));
    EXPECT_FALSE(PastDue(c, Local(2026, 7, 9, 23, 59, 59)));
    EXPECT_TRUE(PastDue(c, Local(2026, 7, 10, 0, 0, 0)));
    EXPECT_FALSE(PastDue(Calibration{}, Local(2030, 1, 1, 0, 0, 0)));

    const struct {
        Calibration c;
        CalibrationCheck want;
    } checks[] = {
        {c, CalibrationCheck::kOk},
        {{"", "2026-02-29", "", {}}, CalibrationCheck::kBadCalibratedDay},
        {{"", "2024-02-29", "", {}}, CalibrationCheck::kOk},
        {{"", "", "2026-13-01", {}}, CalibrationCheck::kBadDueDay},
        {{"", "2026-01-10", "2026-01-09", {}}, CalibrationCheck::kDueBeforeCalibrated},
        {{"", "2026-01-10", "2026-01-10", {}}, CalibrationCheck::kOk},
        {{"", "", "", {Correction::kLine, 0, 5, 5, 5, 6}}, CalibrationCheck::kBadLine},
    };
    for (const auto& k : checks)
        EXPECT_EQ(CheckCalibration(k.c), k.want) << k.c.calibrated << " " << k.c.due;
}

class UnitsTest : public DocTest {
protected:
    UnitFields Fridge(const std::string& name = "薬局冷蔵庫 2") {
        UnitFields f;
        f.name = name;
        f.location = "2F\n調剤室";
        f.limits[0] = {2.0, 8.0};
        f.limits[1] = {std::nullopt, -15.0};
        f.activationEnergy = 83.144;
        return f;
    }
    CMemoryArchiveStore mem;
    SessionContext context = BenchContext([] { return int64_t{1790000000}; });
};

TEST_F(UnitsTest, UnitsAreAFoldOfTheirEvents) {
    CArchiveSession s(&mem, &FakeHash, context);
    UnitsState st = LoadUnits(s);
    ASSERT_EQ(CreateUnit(s, st, Fridge()), UnitResult::kOk);
    st = LoadUnits(s);
    EXPECT_EQ(CreateUnit(s, st, Fridge()), UnitResult::kNameTaken);
    EXPECT_EQ(CreateUnit(s, st, Fridge("\u3000 ")), UnitResult::kEmptyName);
    UnitFields crossed = Fridge("B");
    crossed.limits[1] = {3.0, 2.9};
    EXPECT_EQ(CreateUnit(s, st, crossed), UnitResult::kBadLimits);
    ASSERT_EQ(CreateUnit(s, st, Fridge("冷凍庫")), UnitResult::kOk);
    st = LoadUnits(s);
    ASSERT_EQ(st.units.size(), 2u);

    UnitFields moved = Fridge();
    moved.location = "1F";
    EXPECT_EQ(ChangeUnit(s, st, 1, Fridge()), UnitResult::kNoChange);
    EXPECT_EQ(ChangeUnit(s, st, 1, Fridge("冷凍庫")), UnitResult::kNameTaken);
    EXPECT_EQ(ChangeUnit(s, st, 3, moved), UnitResult::kNoSuchUnit);
    ASSERT_EQ(ChangeUnit(s, st, 1, moved, "moved downstairs"), UnitResult::kOk);
    const Calibration cal{"JCSS-0412", "2026-01-10", "2026-07-09", kLine};
    EXPECT_EQ(SetCalibration(s, st, 1, 3, cal), UnitResult::kBadChannel);
    EXPECT_EQ(SetCalibration(s, st, 1, 1, {"", "2026-01-10", "2025-01-01", {}}),
              UnitResult::kBadCalibration);
    ASSERT_EQ(SetCalibration(s, st, 1, 1, cal), UnitResult::kOk);
    ASSERT_EQ(AssignRecording(s, st, "ab12", 2, kAssignedFile), UnitResult::kOk);
    st = LoadUnits(s);
    EXPECT_EQ(AssignRecording(s, st, "ab12", 2, kAssignedFile), UnitResult::kNoChange);
    ASSERT_EQ(AssignRecording(s, st, "ab12", 1, kAssignedDownload), UnitResult::kOk);

    st = LoadUnits(s);
    EXPECT_EQ(st.Find(1)->fields, moved);
    EXPECT_EQ(st.Find(1)->calibrations[0].back().calibration, cal);
    EXPECT_TRUE(st.Find(1)->calibrations[1].empty());
    EXPECT_EQ(st.UnitOf("ab12"), st.Find(1));
    EXPECT_EQ(st.FindByName("冷凍庫"), st.Find(2));

    // Unit and calibration events are about no recording; the assignment is about its own.
    for (const Event& e : mem.events)
        EXPECT_EQ(e.recordingId == 0 && e.recordingSha256.empty(), e.kind != EventKind::Assigned);
    const Event& change = mem.events[2];
    EXPECT_EQ(change.detail, "changed 1");
    EXPECT_EQ(change.newValue, "name=薬局冷蔵庫 2\nlocation=1F\nrecorder=\nch1.low=2\nch1.high=8\n"
                               "ch2.low=\nch2.high=-15\nactivation_energy=83.144\nnote=");
    EXPECT_EQ(mem.events[0].detail, "created 薬局冷蔵庫 2");
    EXPECT_EQ(ParseUnitText(mem.events[0].newValue), Fridge()); // the escaped line feed back
    EXPECT_EQ(mem.events[3].detail, "unit 1 channel 1");
    EXPECT_EQ(mem.events[3].newValue, "certificate=JCSS-0412\ncalibrated=2026-01-10\n"
                                      "due=2026-07-09\noffset=\nraw1=-10\ntrue1=-9.8\nraw2=40\n"
                                      "true2=40.4");
    EXPECT_EQ(mem.events.back().oldValue, "2 冷凍庫");
    EXPECT_EQ(mem.events.back().newValue, "1 薬局冷蔵庫 2");
    EXPECT_EQ(CheckChain(&FakeHash, mem.events), std::nullopt);
    // A text of another form is never half read.
    EXPECT_EQ(ParseCalibrationText("certificate=\ncalibrated=\ndue=\noffset=1\nraw1=2\ntrue1=\n"
                                   "raw2=\ntrue2="),
              std::nullopt);
    EXPECT_EQ(ParseUnitText("name=x\nlocation="), std::nullopt);
}

// A unit's trail: its own events, its calibrations, assignments to it and every event of a
// recording it ever held; a unit text the fold cannot read numbers no unit.
TEST_F(UnitsTest, AUnitsTrailHoldsItsEventsAndItsRecordings) {
    CArchiveSession s(&mem, &FakeHash, context);
    UnitsState st = LoadUnits(s);
    ASSERT_EQ(CreateUnit(s, st, Fridge("A")), UnitResult::kOk);
    st = LoadUnits(s);
    ASSERT_EQ(CreateUnit(s, st, Fridge("B")), UnitResult::kOk);
    st = LoadUnits(s);
    ASSERT_EQ(SetCalibration(s, st, 2, 1, {"c", "2026-01-10", "2026-07-09", kLine}),
              UnitResult::kOk);
    ASSERT_EQ(ChangeUnit(s, st, 1, Fridge("A2")), UnitResult::kOk);
    ASSERT_EQ(AssignRecording(s, st, "r1", 1, kAssignedFile), UnitResult::kOk);
    st = LoadUnits(s);
    ASSERT_EQ(AssignRecording(s, st, "r1", 2, kAssignedFile), UnitResult::kOk);
    std::vector<Event> chain = mem.events;
    Event opened;
    opened.kind = EventKind::Opened;
    for (const char* sha : {"r1", "r2", ""}) {
        opened.recordingSha256 = sha;
        chain.push_back(opened);
    }
    Event bad = chain[0];
    bad.newValue = "name=x";
    chain.insert(chain.begin(), bad); // not a unit: A stays unit 1
    // bad, created A, created B, calibrated 2, changed 1, r1->1, r1->2, r1, r2, none
    EXPECT_EQ(EventsOfUnit(chain, 1), (std::vector<bool>{0, 1, 0, 0, 1, 1, 1, 1, 0, 0}));
    EXPECT_EQ(EventsOfUnit(chain, 2), (std::vector<bool>{0, 0, 1, 1, 0, 1, 1, 1, 0, 0}));
    EXPECT_EQ(EventsOfUnit(chain, 3), std::vector<bool>(chain.size(), false));

    AuditTrail trail;
    std::string problem;
    ASSERT_TRUE(MakeAuditTrail(s, {0, {}, {}, 2}, trail, problem)) << problem;
    EXPECT_EQ(std::pair(trail.unitName, trail.events.size()),
              std::pair(std::string("B"), std::size_t{4}));
    EXPECT_FALSE(MakeAuditTrail(s, {0, {}, {}, 3}, trail, problem));
    EXPECT_EQ(problem, "no storage unit 3");
}

// The unit a download is offered: where the recorder's newest download on this PC went, as
// that recording stands now; another PC's downloads, files and other recorders count not.
TEST_F(UnitsTest, ADownloadIsOfferedTheUnitOfTheRecordersLastDownloadHere) {
    CArchiveSession here(&mem, &FakeHash, context);
    SessionContext qaContext = context;
    qaContext.host = "qa";
    CArchiveSession qa(&mem, &FakeHash, qaContext);
    const std::string km41 = RecorderIdentity("KM-41");
    for (const char* name : {"A", "B"})
        ASSERT_EQ(CreateUnit(here, LoadUnits(here), Fridge(name)), UnitResult::kOk);
    const auto keep = [&](CArchiveSession& on, const char* sha, const std::string& identity,
                          const char* created, int unit) {
        if (*created) {
            Recording r;
            r.sha256 = sha;
            r.identity = identity;
            KeptFile k;
            k.path = std::string("/d/") + sha;
            on.Keep(r, created, k);
        }
        const char* how = created == kCreatedDownloaded ? kAssignedDownload : kAssignedFile;
        if (unit && AssignRecording(on, LoadUnits(on), sha, unit, how) != UnitResult::kOk)
            ADD_FAILURE() << sha;
    };
    const struct {
        const char* step;
        bool onQa;
        const char* sha;
        std::string identity;
        const char* created;
        int unit;
        int here, qa, other; // the offers after the step: KM-41 here, on qa, another recorder here
    } steps[] = {
        {"unknown recorder", false, "", km41, "", 0, 0, 0, 0},
        {"download to A", false, "d1", km41, kCreatedDownloaded, 1, 1, 0, 0},
        {"download to none", false, "d2", km41, kCreatedDownloaded, 0, 1, 0, 0},
        {"moved to B later", true, "d1", km41, "", 2, 2, 0, 0},
        {"qa's own to A", true, "d3", km41, kCreatedDownloaded, 1, 2, 1, 0},
        {"a file to A", false, "f1", km41, kCreatedImported, 1, 2, 1, 0},
        {"no identity", false, "f2", "", kCreatedDownloaded, 1, 2, 1, 0},
        {"another recorder", false, "o1", "beef", kCreatedDownloaded, 1, 2, 1, 1},
        {"newest to A", false, "d4", km41, kCreatedDownloaded, 1, 1, 1, 1},
    };
    for (const auto& k : steps) {
        keep(k.onQa ? qa : here, k.sha, k.identity, k.created, k.unit);
        EXPECT_EQ(
            std::tuple(OfferedUnit(here, km41), OfferedUnit(qa, km41), OfferedUnit(here, "beef")),
            std::tuple(k.here, k.qa, k.other))
            << k.step;
    }
    EXPECT_EQ(OfferedUnit(here, ""), 0);
}

TEST_F(UnitsTest, CalibrationInForceAtTheRecordingsTime) {
    Unit u;
    u.calibrations[0] = {{{"A", "2025-01-10", "2026-01-09", {}}, ""},
                         {{"B", "2026-01-08", "2027-01-07", {}}, ""}};
    EXPECT_EQ(CalibrationOn(u, 1, "2025-01-09"), std::nullopt);
    EXPECT_EQ(CalibrationOn(u, 1, "2025-01-10")->certificate, "A");
    EXPECT_EQ(CalibrationOn(u, 1, "2026-01-07")->certificate, "A");
    EXPECT_EQ(CalibrationOn(u, 1, "2026-01-08")->certificate, "B");
    EXPECT_EQ(CalibrationOn(u, 2, "2026-01-08"), std::nullopt);
}

TEST_F(UnitsTest, CorrectedValuesForTheReportRawValuesAfter) {
    CArchiveSession s(&mem, &FakeHash, context);
    const CBasicCp932Codec codec;
    CDocumentArchive da(s, doc, codec,
                        [&](const std::string& p) {
                            Recording r;
                            r.sha256 = Sha256Hex(&FakeHash, p);
                            r.path = p;
                            r.source = "file";
                            return std::optional<Recording>(r);
                        },
                        {});
    // Two channels of one file, 23:00 to 01:00 (local): the day before and the due day.
    const std::vector<uint16_t> raw = {C(-10.0), C(15.0), C(40.0), C(41.0), kCodeMissing};
    Fill(*doc.GetChannel(1), Local(2026, 7, 8, 23, 0, 0), 1800, raw, "ROOM");
    Fill(*doc.GetChannel(2), Local(2026, 7, 8, 23, 0, 0), 1800, raw, "FRZ");
    doc.RecalcRanges(RecalcMode::NewData);
    doc.CalcStatistics();
    da.Loaded("/x/a.klg", false);
    UnitsState st = LoadUnits(s);
    ASSERT_EQ(CreateUnit(s, st, Fridge()), UnitResult::kOk);
    st = LoadUnits(s);
    ASSERT_EQ(SetCalibration(s, st, 1, 1, {"JCSS-0412", "2026-01-10", "2026-07-09", kLine}),
              UnitResult::kOk);
    ASSERT_EQ(SetCalibration(s, st, 1, 2, {"JCSS-0413", "2026-01-10", "2026-07-10", {}}),
              UnitResult::kOk);
    ASSERT_EQ(AssignRecording(s, st, Sha256Hex(&FakeHash, "/x/a.klg"), 1, kAssignedFile),
              UnitResult::kOk);
    st = LoadUnits(s);

    const std::vector<UnitChannelSource> src = UnitSources(da, doc, st, true);
    ASSERT_EQ(src.size(), 2u);
    EXPECT_EQ(src[1].unitChannel, 2);
    EXPECT_EQ(src[0].last, Local(2026, 7, 9, 1, 0, 0));
    const ChannelRecord before = *doc.GetChannel(1);
    std::vector<ReportUnit> units;
    {
        const CCorrectedValues corrected(doc, st, src);
        const ChannelRecord& ch = *doc.GetChannel(1);
        EXPECT_EQ(
            std::vector<uint16_t>(ch.samples, ch.samples + 6),
            (std::vector<uint16_t>{C(-9.8), C(15.3), C(40.4), C(41.4), kCodeMissing, kCodeEnd}));
        EXPECT_EQ(ch.statMax, C(41.4));
        // Channel 2 has no correction: nothing done to it.
        EXPECT_EQ(corrected.Corrected(), (std::map<int, int>{{1, 1}}));
        units = ReportUnits(st, src, &corrected.Corrected());
    }
    // Raw values back, to the byte, once the corrected view is gone.
    EXPECT_EQ(std::memcmp(&before, doc.GetChannel(1), sizeof before), 0);

    ASSERT_EQ(units.size(), 1u);
    ASSERT_EQ(units[0].channels.size(), 2u);
    EXPECT_TRUE(units[0].channels[0].corrected);
    EXPECT_FALSE(units[0].channels[1].corrected);
    // Channel 1 was due on the 9th and its samples reach 01:00 of the 9th: still in time.
    EXPECT_EQ(PastDueWarning(units), "");
    const std::vector<std::string> lines = UnitReportLines(units);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "保管場所: 薬局冷蔵庫 2（2F\n調剤室）");
    EXPECT_EQ(lines[2],
              "    補正: -10.0 → -9.8 °C, 40.0 → 40.4 °C（適用済み）  校正範囲外の値 1 個");
    EXPECT_EQ(lines[4], "    補正: なし（適用せず、生の値）");

    // Recorded a day later, the samples reach the 10th: past channel 1's due day, not 2's.
    Fill(*doc.GetChannel(1), Local(2026, 7, 9, 22, 0, 0), 1800, raw, "ROOM");
    units = ReportUnits(st, UnitSources(da, doc, st, true), nullptr);
    EXPECT_EQ(PastDueWarning(units), "注意: Ch.1 の校正は記録の時点で有効期限を過ぎていました。");
}

TEST_F(UnitsTest, UnitLimitsAreTheReportsDefaults) {
    UnitsState st;
    st.units.push_back({1, Fridge(), {}});
    st.assignments["r"] = 1;
    const std::vector<UnitChannelSource> src = {
        {3, "r", 1, 0, 0}, {4, "r", 2, 0, 0}, {5, "other", 1, 0, 0}};
    ReportOptions o;
    ApplyUnitDefaults(st, src, false, false, o);
    EXPECT_EQ(o.channelLimits,
              (std::vector<ChannelLimits>{{3, 2.0, 8.0}, {4, std::nullopt, -15.0}}));
    ReportOptions f;
    ApplyUnitDefaults(st, src, true, false, f);
    EXPECT_NEAR(*f.channelLimits[0].low, 35.6, 1e-9);
    EXPECT_NEAR(*f.channelLimits[0].high, 46.4, 1e-9);
    // Limits given win: a channel's own, or common ones for all.
    ReportOptions own;
    own.channelLimits = {{4, 1.0, 2.0}};
    own.activationEnergy = 90;
    ApplyUnitDefaults(st, src, false, true, own);
    EXPECT_EQ(own.channelLimits, (std::vector<ChannelLimits>{{4, 1.0, 2.0}, {3, 2.0, 8.0}}));
    EXPECT_EQ(own.activationEnergy, 90);
    ReportOptions common;
    common.high = 30;
    ApplyUnitDefaults(st, src, false, false, common);
    EXPECT_TRUE(common.channelLimits.empty());
    // The dialog begins with the unit's rows and energy; what the user left as the unit gave
    // is not remembered as theirs, what they changed is.
    ReportDialogSettings remembered;
    remembered.channelLimits = {{3, 0.0, 1.0}, {6, 1.0, 2.0}};
    remembered.activationEnergy = 90;
    const ReportDialogSettings offered = UnitReportSettings(remembered, st, src, false);
    EXPECT_EQ(offered.channelLimits,
              (std::vector<ChannelLimits>{{6, 1.0, 2.0}, {3, 2.0, 8.0}, {4, std::nullopt, -15.0}}));
    EXPECT_EQ(offered.activationEnergy, 83.144);
    ReportDialogSettings kept = RememberedAfterUnitReport(remembered, offered, offered);
    EXPECT_EQ(kept.channelLimits, (std::vector<ChannelLimits>{{6, 1.0, 2.0}, {3, 0.0, 1.0}}));
    EXPECT_EQ(kept.activationEnergy, 90);
    ReportDialogSettings changed = offered;
    changed.channelLimits[1].high = 7.9;
    changed.activationEnergy = 83.1;
    kept = RememberedAfterUnitReport(remembered, offered, changed);
    EXPECT_EQ(kept.channelLimits, (std::vector<ChannelLimits>{{6, 1.0, 2.0}, {3, 2.0, 7.9}}));
    EXPECT_EQ(kept.activationEnergy, 83.1);
}

} // namespace
} // namespace saroko::test
