// The report's statement of its times and sources: offsets over a period that crosses a
// daylight-saving change, the offset texts, the made time, and the prints' footer.
#include <gtest/gtest.h>

#include <map>

#include "core/TestSupport.h"
#include "core/report/ReportProvenance.h"

namespace saroko::test {
namespace {

TEST(ReportProvenanceTest, OffsetsOverAPeriod) {
    const ScopedTimeZone zone("Europe/Berlin");
    if (!zone)
        GTEST_SKIP() << "Europe/Berlin is not this process's zone";
    // Summer time begins 2026/03/29 at 02:00 local and ends 2026/10/25 at 03:00 local.
    const uint32_t change = Local(2026, 3, 29, 3, 0, 0);
    EXPECT_EQ(UtcOffsetsOver(change - 3600, change - 1), std::vector<int>{3600});
    EXPECT_EQ(UtcOffsetsOver(change - 3600, change), (std::vector<int>{3600, 7200}));
    EXPECT_EQ(UtcOffsetsOver(Local(2026, 1, 1, 0, 0, 0), Local(2026, 12, 31, 0, 0, 0)),
              (std::vector<int>{3600, 7200, 3600}));
    EXPECT_EQ(FormatStampWithOffset(change), "2026/03/29 03:00:00 (UTC+02:00)");
    const ScopedTimeZone tokyo("Asia/Tokyo");
    EXPECT_EQ(UtcOffsetsOver(0, 0xFFFFFFFFu), std::vector<int>{32400});
}

TEST(ReportProvenanceTest, OffsetTexts) {
    const std::pair<int, const char*> cases[] = {
        {0, "UTC+00:00"}, {32400, "UTC+09:00"}, {19800, "UTC+05:30"}, {-12600, "UTC-03:30"}};
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(FormatUtcOffset(seconds), text);
}

TEST_F(DocTest, DescribeTakesTheModelsOnceAndTheSampledPeriodsOffsets) {
    const ScopedTimeZone zone("Europe/Berlin");
    if (!zone)
        GTEST_SKIP() << "Europe/Berlin is not this process's zone";
    ReportFigures r;
    r.from = 0;
    r.to = Local(2026, 12, 1, 0, 0, 0);
    for (const uint32_t model : {kModelKm41, 0u, kModelKm41}) {
        ChannelFigures f;
        f.model = model;
        f.firstTime = Local(2026, 1, 5, 0, 0, 0);
        f.lastTime = Local(2026, 2, 5, 0, 0, 0);
        r.channels.push_back(f);
    }
    ReportProvenance p;
    const uint32_t now = Local(2026, 7, 1, 12, 0, 0);
    DescribeReport(p, r, now);
    EXPECT_EQ(p.recorderModels, (std::vector<uint32_t>{kModelKm41, 0}));
    EXPECT_EQ(p.timeOffsets, std::vector<int>{3600}); // the window spans summer, the samples not
    EXPECT_EQ(std::pair(p.madeAt, p.madeOffset), std::pair(now, 7200));
}

TEST(ReportProvenanceTest, FooterNamesEachFileWithTwelveDigits) {
    const std::string hash = "3f2a9c01b4de5566778899aabbccddeeff00112233445566778899aabbccddee";
    const std::vector<ReportSource> sources = {{"/data/downloads/room.klg", hash, 7, {}},
                                               {"C:\\old\\a.ksv", "", {}, {}},
                                               {"b.klg", hash, {}, {}}};
    EXPECT_EQ(SourcesFooter(sources),
              "room.klg 3f2a9c01b4de  a.ksv ------------  b.klg 3f2a9c01b4de");
    EXPECT_EQ(ShortHash(hash.substr(0, 11)), "------------");
    EXPECT_EQ(ShortHash(hash.substr(0, 12)), "3f2a9c01b4de");
}

TEST(ReportProvenanceTest, SourceVerifiedOnlyWhenReadAgainUnchangedAndAsArchived) {
    const std::string a(64, 'a'), b(64, 'b');
    // What each file gives when the report reads it again.
    const std::map<std::string, std::string> now = {{"same", a}, {"changed", b}, {"kept", a}};
    const SourceHasher hashFile = [&now](const std::string& path) -> std::optional<std::string> {
        const auto it = now.find(path);
        return it == now.end() ? std::nullopt : std::optional(it->second);
    };
    struct Case {
        const char* name;
        ReportSource source;
        bool verified;
        std::optional<std::pair<std::string, std::string>> differs;
    };
    const Case cases[] = {
        {"unchanged since it was read", {"same", a, 3}, true, std::nullopt},
        {"changed since it was read", {"changed", a, 3}, false, std::nullopt},
        {"gone since it was read", {"gone", a, {}}, false, std::nullopt},
        {"never readable", {"same", "", {}}, false, std::nullopt},
        {"unchanged, but not the archived bytes",
         {"kept", a, 4, b},
         false,
         std::pair(a.substr(0, 12), b.substr(0, 12))},
        {"the archive's hash the same", {"kept", a, 4, a}, true, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<ReportSource> sources{c.source};
        RecheckSources(sources, hashFile);
        EXPECT_EQ(SourceVerified(sources[0]), c.verified);
        EXPECT_EQ(DiffersFromArchive(sources[0]), c.differs);
    }
}

} // namespace
} // namespace saroko::test
