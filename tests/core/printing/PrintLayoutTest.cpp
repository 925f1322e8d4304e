// Where the printed graph lands for each scaling method, the print settings and page ranges.
#include <gtest/gtest.h>

#include <array>
#include <set>

#include "core/TestSupport.h"
#include "printing/PrintLayout.h"

namespace saroko::test {
namespace {

constexpr PrinterMetrics kA4At600{4960, 7016, 600, 600};

TEST(PrintLayoutTest, DestinationForEachMethod) {
    // clang-format off
    const struct { const char* name; GraphPrintSettings settings; int w, h; PrinterMetrics printer; GraphRect expected; } cases[] = {
        {"scale 2 x 3", {kPrintScale, 2, 3}, 400, 300, kA4At600, {0, 0, 800, 900}},
        {"scale 1", {kPrintScale, 1, 1}, 640, 480, kA4At600, {0, 0, 640, 480}},
        {"scale 0 leaves nothing", {kPrintScale, 0, 3}, 400, 300, kA4At600, {0, 0, 0, 900}},
        {"scale beyond int", {kPrintScale, 0xFFFFFFFFu, 1}, 400, 300, kA4At600, {0, 0, 0x7FFFFFFF, 300}},
        {"fill is the printable area", {kPrintFillPaper, 5, 5}, 400, 300, kA4At600, {0, 0, 4960, 7016}},
        {"fill of a tall window too", {kPrintFillPaper, 1, 1}, 300, 900, kA4At600, {0, 0, 4960, 7016}},
        {"fit keeps the shape across the width", {kPrintFitPaper, 9, 9}, 800, 600, kA4At600, {0, 0, 4960, 3720}},
        {"fit of a tall window takes the height", {kPrintFitPaper, 1, 1}, 300, 800, kA4At600, {0, 0, 2631, 7016}},
        {"fit on landscape paper", {kPrintFitPaper, 1, 1}, 800, 600, {7016, 4960, 600, 600}, {0, 0, 6613, 4960}},
        {"fit with unequal resolutions", {kPrintFitPaper, 1, 1}, 800, 600, {4800, 3200, 600, 300}, {0, 0, 4800, 1800}},
        {"an unknown method fits", {7, 1, 1}, 800, 600, kA4At600, {0, 0, 4960, 3720}},
        {"an empty window prints nothing", {kPrintFillPaper, 1, 1}, 0, 600, kA4At600, {}},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(GraphPrintRect(c.settings, c.w, c.h, c.printer), c.expected) << c.name;
}

TEST(PrintLayoutTest, PageRanges) {
    // clang-format off
    const struct { int count; bool user; int from, to; PageRange expected; } cases[] = {
        {3, false, 0, 0, {1, 3}}, {3, false, 2, 2, {1, 3}}, {3, true, 2, 3, {2, 3}},
        {3, true, 2, 9, {2, 3}},  {3, true, 0, 2, {1, 2}},  {3, true, 5, 7, {3, 3}},
        {0, false, 1, 1, {0, 0}}, {0, true, 1, 3, {0, 0}},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(ResolvePageRange(c.count, c.user, c.from, c.to), c.expected)
            << c.count << " " << c.user << " " << c.from << "-" << c.to;
    EXPECT_TRUE((PageRange{0, 0}).Empty());
    EXPECT_FALSE((PageRange{1, 1}).Empty());
}

TEST(PrintLayoutTest, FreshPdfNames) {
    const std::set<std::string> there = {"/d/run.pdf", "/d/run-2.pdf", "/d/Saroko.pdf"};
    const auto exists = [&](const std::string& f) { return there.count(f) != 0; };
    // clang-format off
    const struct { const char* folder; const char* name; const char* expected; } cases[] = {
        {"/d", "run.klg", "/d/run-3.pdf"},     // two earlier prints
        {"/d/", "new.KLG", "/d/new.pdf"},
        {"/d", "Untitled", "/d/Saroko-2.pdf"},
        {"/e", "a.b.klg", "/e/a.b.pdf"},
        {"", "run.klg", "run.pdf"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(FreshPdfName(c.folder, c.name, exists), c.expected) << c.name;
    EXPECT_EQ(FreshPdfName("/f", "x", [](const std::string&) { return true; }), "/f/x.pdf");
}

TEST(PrintLayoutTest, ProgressText) {
    EXPECT_EQ(PrintProgressText(2, 5), "現在、2/5 ﾍﾟｰｼﾞ目を印刷中です。");
}

class PrintSettingsTest : public DocTest {};

TEST_F(PrintSettingsTest, StoredWhenConfirmed) {
    EXPECT_EQ(GraphPrintSettingsOf(doc), (GraphPrintSettings{kPrintFitPaper, 1, 1}));
    StoreGraphPrintSettings(doc, {kPrintScale, 2, 3});
    const auto stored = [&](const char* key) {
        return store.GetInt("Print Graph Section", key, -1);
    };
    EXPECT_EQ(
        (std::array{stored("PrintMethod"), stored("HorizontalScale"), stored("VerticalScale")}),
        (std::array{2, 2, 3}));
}

} // namespace
} // namespace saroko::test
