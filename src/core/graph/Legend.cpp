#include "core/graph/Legend.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iterator>

namespace saroko {
namespace {

bool IsSpecial(uint16_t code) {
    return code == kCodeEnd || code == kCodeMissing || code == kCodeOver || code == kCodeUnder;
}

std::string Printf(const char* fmt, auto... args) {
    char text[96];
    std::snprintf(text, sizeof text, fmt, args...);
    return text;
}

std::string LocalStamp(const char* prefix, uint32_t t) {
    std::tm f{};
    if (!ToLocalTime(t, f))
        f = std::tm{};
    char text[96];
    std::snprintf(text, sizeof text, "%s%2d/%02d/%02d %2d:%02d'%02d", prefix,
                  (f.tm_year + 1900) % 100, f.tm_mon + 1, f.tm_mday, f.tm_hour, f.tm_min, f.tm_sec);
    return text;
}

// Column positions of the table.
constexpr int kTopLineY = 0;
constexpr int kSecondLineY = 12;
constexpr int kHeadY = 31;
constexpr int kCursorLineX = 40;
constexpr int kDistanceX = 210;
constexpr int kRangeTitleX = 346;
constexpr int kFromLabelX = 457;
constexpr int kToLabelX = 469;
constexpr int kRangeValueX = 486;
constexpr int kNumberX = 20;
constexpr int kNameX = 54;
constexpr int kIntervalX = 127;
constexpr int kSamplesX = 182;
constexpr int kValueAX = 239;
constexpr int kValueBX = 307;
constexpr int kDifferenceX = 373;
constexpr int kMaxX = 434;
constexpr int kMinX = 488;
constexpr int kAvgX = 543;
constexpr int kUnitX = 600;
constexpr int kNumberBoxSize = 15;
constexpr int kNumberBoxHeight = 11;

struct Head {
    int x;
    const char* text;
};
constexpr Head kHeads[] = {{17, "Ch."},       {65, "Name"},      {117, "Interval"}, {180, "Sample"},
                           {236, "Cursor A"}, {304, "Cursor B"}, {378, "A   B"},    {444, "Max."},
                           {499, "Min."},     {553, "Avg."},     {597, "Unit"}};
constexpr int kHeadDistanceX = 378;

// The header rule is cut where the rules between columns and groups cross it: a single x is a
// column rule, a pair is the gap a group rule passes through.
constexpr int kColumnRules[] = {44, 109, 171, 293, 361, 481, 535};
constexpr int kGroupRules[] = {222, 424, 589};
struct Span {
    int from, to;
};
constexpr Span kHeaderRule[] = {{4, 44},    {46, 109},  {111, 171}, {173, 220},
                                {228, 293}, {295, 361}, {363, 422}, {430, 481},
                                {483, 535}, {537, 587}, {595, -1}};
constexpr int kHeaderRuleY1 = 45;
constexpr int kHeaderRuleY2 = 47;
constexpr int kColumnRuleTop = 29;
constexpr int kRulesBottom = kLegendLastRowY + 2; // the rules reach one pixel below the rows

void Etched(LegendPicture& p, int x1, int y1, int x2, int y2) {
    const bool vertical = x1 == x2;
    p.lines.push_back({kPalDarkEdge, {x1, y1, x2, y2}});
    if (vertical)
        p.lines.push_back({kPalLightEdge, {x1 + 1, y1, x2 + 1, y2}});
    else
        p.lines.push_back({kPalLightEdge, {x1, y1 + 1, x2, y2 + 1}});
}

// A double-headed arrow in the three-space gap between "A" and "B" of a text at x, y.
void GapArrow(LegendPicture& p, int x, int y, const TextMetrics& tm) {
    const int x1 = x + tm.aveCharWidth + 1;
    const int x2 = x + 4 * tm.aveCharWidth - 2;
    const int ym = y + tm.height / 2;
    const int head = std::max(1, std::min(3, (x2 - x1) / 3));
    p.arrows.push_back({kPalText, {x1, ym, x2 + 1, ym}});
    p.arrows.push_back({kPalText, {x1, ym, x1 + head + 1, ym - head - 1}});
    p.arrows.push_back({kPalText, {x1, ym, x1 + head + 1, ym + head + 1}});
    p.arrows.push_back({kPalText, {x2, ym, x2 - head - 1, ym - head - 1}});
    p.arrows.push_back({kPalText, {x2, ym, x2 - head - 1, ym + head + 1}});
}

} // namespace

uint16_t ValueAtCursor(const ChannelRecord& ch, uint32_t cursor) {
    if (cursor < ch.startTime)
        return kCodeEnd;
    const int64_t interval = ch.interval;
    const int64_t start = ch.startTime;
    if (interval == 0) // every sample at the start time: only sample 0 can be meant
        return cursor == ch.startTime ? SampleAt(ch, 0) : kCodeEnd;
    // The sample at or after the cursor; every sample before it must exist.
    const int64_t offset = static_cast<int64_t>(cursor) - start;
    int64_t i = (offset + interval - 1) / interval;
    if (i >= kMaxSampleWalk)
        return kCodeEnd;
    const uint16_t* first = ch.samples;
    const uint16_t* last = ch.samples + std::min<int64_t>(i, kMaxSamples);
    if (std::find(first, last, kCodeEnd) != last)
        return kCodeEnd; // the data end before the cursor
    const uint16_t c = SampleAt(ch, static_cast<int>(i));
    const int64_t t = start + i * interval;
    if (t == static_cast<int64_t>(cursor))
        return c;
    const uint16_t p = SampleAt(ch, static_cast<int>(i - 1));
    if (c >= kCodeEnd || p >= kCodeEnd)
        return kCodeEnd;
    for (uint16_t special : {kCodeMissing, kCodeOver, kCodeUnder})
        if (c == special || p == special)
            return special;
    const double v = static_cast<double>(c) - static_cast<double>(t - cursor) *
                                                  (static_cast<double>(c) - p) /
                                                  static_cast<double>(interval);
    // Rounded towards the earlier sample.
    return static_cast<uint16_t>(c >= p ? std::trunc(v) : std::trunc(v + 0.999999999));
}

LegendData FillLegend(CZorvicDoc& doc) {
    GraphRange& r = *doc.GetRange();
    for (uint32_t* c : {&r.cursorA, &r.cursorB}) {
        if (*c < r.viewStart)
            *c = r.viewStart;
        else if (*c > r.viewEnd)
            *c = r.viewEnd;
    }
    LegendData d;
    d.cursorA = r.cursorA;
    d.cursorB = r.cursorB;
    d.calcStart = r.calcStart;
    d.calcEnd = r.calcEnd;
    for (int n = 1; n <= kChannelCount; ++n) {
        LegendRow& row = d.rows[static_cast<std::size_t>(n - 1)];
        row.show = doc.m_bShow[static_cast<std::size_t>(n - 1)];
        const ChannelRecord* ch = doc.GetChannel(n);
        if (!ch)
            continue;
        row.present = ch->present;
        std::copy(std::begin(ch->name), std::end(ch->name), row.name);
        row.name[8] = '\0';
        row.interval = ch->interval;
        row.samples = ch->sampleCount;
        row.valueA = ValueAtCursor(*ch, r.cursorA);
        row.valueB = ValueAtCursor(*ch, r.cursorB);
        row.max = ch->statMax;
        row.min = ch->statMin;
        row.avg = ch->statAvg;
        row.type = ch->measureType;
        row.model = ch->modelCode;
    }
    return d;
}

std::string LegendCursorLine(char letter, uint32_t t) {
    const char prefix[] = {'C', 'u', 'r', 's', 'o', 'r', ' ', letter, ' ', '\0'};
    return LocalStamp(prefix, t);
}

std::string LegendDistance(uint32_t a, uint32_t b) {
    const long d = static_cast<long>(a > b ? a - b : b - a);
    return Printf("A   B %ld %02ld:%02ld'%02ld", d / 86400, d % 86400 / 3600, d % 3600 / 60,
                  d % 60);
}

std::string LegendRangeTime(uint32_t t) {
    return LocalStamp("", t);
}

std::string LegendInterval(uint32_t seconds) {
    if (seconds >= 60)
        return Printf("%2d%3s", static_cast<int>(seconds / 60), "min");
    return Printf("%2d%3s", static_cast<int>(seconds), "sec");
}

std::string LegendSamples(uint16_t count) {
    return count > 0 ? Printf("%5d", static_cast<int>(count)) : std::string("    ");
}

std::string LegendValueCell(const CZorvicDoc& doc, const LegendRow& row, uint16_t code,
                            bool average) {
    if (row.show == 0)
        return "      ";
    ChannelRecord type;
    type.measureType = static_cast<uint8_t>(row.type);
    return doc.CellValueText(type, code, average);
}

std::string LegendDifference(const CZorvicDoc& doc, const LegendRow& row) {
    if (row.show == 0)
        return "      ";
    if (IsSpecial(row.valueA) || IsSpecial(row.valueB))
        return "  --- ";
    const int type = static_cast<int>(row.type);
    const double d = std::fabs(doc.ToValue(row.valueA, type, 1) - doc.ToValue(row.valueB, type, 1));
    return doc.FormatValue(type, 0, d);
}

std::string LegendUnit(const CZorvicDoc& doc, const LegendRow& row) {
    if (row.show == 0)
        return "   ";
    return doc.FormatUnit(static_cast<int>(row.type), 0);
}

LegendPicture BuildLegendPicture(const CZorvicDoc& doc, const LegendData& d, const TextMetrics& tm,
                                 int width, int /*height*/, int frameRow, bool paper) {
    LegendPicture p;
    const auto text = [&](int x, int y, std::string s, int colour = kPalText) {
        p.texts.push_back({x, y, colour, std::move(s)});
    };
    // The cursor group's columns and their cuts in the header rule.
    const auto inCursorGroup = [paper](int x) {
        return paper && x > kGroupRules[0] && x < kGroupRules[1];
    };

    for (std::size_t i = 0; i < std::size(kHeaderRule); ++i) {
        const Span& s = kHeaderRule[i];
        int to = s.to < 0 ? width - 4 : s.to;
        // On paper the rule runs through the cursor group in one piece.
        while (inCursorGroup(to) && i + 1 < std::size(kHeaderRule) &&
               inCursorGroup(kHeaderRule[i + 1].from))
            to = kHeaderRule[++i].to;
        if (to > s.from) {
            Etched(p, s.from, kHeaderRuleY1, to, kHeaderRuleY1);
            Etched(p, s.from, kHeaderRuleY2, to, kHeaderRuleY2);
        }
    }
    for (int x : kColumnRules)
        if (!inCursorGroup(x))
            Etched(p, x, kColumnRuleTop, x, kRulesBottom);
    for (int x : kGroupRules)
        Etched(p, x, 0, x, kRulesBottom);

    if (!paper) {
        text(kCursorLineX, kTopLineY, LegendCursorLine('A', d.cursorA));
        text(kCursorLineX, kSecondLineY, LegendCursorLine('B', d.cursorB));
        text(kDistanceX, kSecondLineY, LegendDistance(d.cursorA, d.cursorB));
        GapArrow(p, kDistanceX, kSecondLineY, tm);
    }
    text(kRangeTitleX, kTopLineY, "Calculation Range");
    text(kFromLabelX, kTopLineY, "From");
    text(kRangeValueX, kTopLineY, LegendRangeTime(d.calcStart));
    text(kToLabelX, kSecondLineY, "To");
    text(kRangeValueX, kSecondLineY, LegendRangeTime(d.calcEnd));
    for (const Head& h : kHeads)
        if (!inCursorGroup(h.x))
            text(h.x, kHeadY, h.text);
    if (!paper)
        GapArrow(p, kHeadDistanceX, kHeadY, tm);

    for (int n = 1; n <= kChannelCount; ++n) {
        const LegendRow& row = d.rows[static_cast<std::size_t>(n - 1)];
        const int y = LegendRowY(n);
        text(kNumberX, y, Printf("%d", n));
        // A channel without data keeps its flag at 1, so its box shows too.
        if (row.show == 1)
            p.boxes.push_back(
                {kLegendNumberLeft, y, kLegendNumberLeft + kNumberBoxSize, y + kNumberBoxHeight});
        if (row.present == 0)
            continue;
        text(kNameX, y, std::string(row.name, FieldLength(row.name, sizeof row.name - 1)),
             ChannelPaletteIndex(n));
        text(kIntervalX, y, LegendInterval(row.interval));
        text(kSamplesX, y, LegendSamples(row.samples));
        if (!paper) {
            text(kValueAX, y, LegendValueCell(doc, row, row.valueA));
            text(kValueBX, y, LegendValueCell(doc, row, row.valueB));
            text(kDifferenceX, y, LegendDifference(doc, row));
        }
        text(kMaxX, y, LegendValueCell(doc, row, row.max));
        text(kMinX, y, LegendValueCell(doc, row, row.min));
        text(kAvgX, y, LegendValueCell(doc, row, row.avg, true));
        text(kUnitX, y, LegendUnit(doc, row));
    }

    if (frameRow >= 1 && frameRow <= kChannelCount)
        p.boxes.push_back(
            {48, frameRow * kLegendRowHeight + 37, 105, frameRow * kLegendRowHeight + 48});
    return p;
}

LegendHit LegendHitTest(int x, int y) {
    LegendHit hit;
    if (y < kLegendFirstRowY || y > kLegendLastRowY)
        return hit;
    hit.row = (y - kLegendFirstRowY) / kLegendRowHeight + 1;
    if (x >= kLegendNumberLeft && x <= kLegendNumberRight)
        hit.column = LegendColumn::kNumber;
    else if (x >= kLegendMaxLeft && x <= kLegendMaxRight)
        hit.column = LegendColumn::kMax;
    else if (x >= kLegendMinLeft && x <= kLegendMinRight)
        hit.column = LegendColumn::kMin;
    return hit;
}

CLegendClicks::Outcome CLegendClicks::ButtonDown(const LegendData& data, int x, int y) {
    Outcome out;
    const LegendHit hit = LegendHitTest(x, y);
    // A press anywhere else starts no drag: a later release on a number box must not move
    // the channel of an earlier press.
    m_nPressRow = 0;
    if (hit.column != LegendColumn::kNumber)
        return out;
    m_nPressRow = hit.row;
    m_bClickPending = 0;
    if (data.rows[static_cast<std::size_t>(hit.row - 1)].present != 0) {
        m_nFrameRow = hit.row;
        out.busyPointer = true;
        m_bClickPending = 1;
    }
    return out;
}

CLegendClicks::Outcome CLegendClicks::MouseMove(int x, int y, bool buttonDown) const {
    Outcome out;
    if (buttonDown && LegendHitTest(x, y).column == LegendColumn::kNumber)
        out.busyPointer = true;
    return out;
}

CLegendClicks::Outcome CLegendClicks::ButtonUp(int x, int y) {
    Outcome out;
    const LegendHit hit = LegendHitTest(x, y);
    m_ptRelease = {x, y};
    if (hit.column != LegendColumn::kNumber) {
        m_nReleaseRow = 0;
        m_nFrameRow = 0;
        out.repaint = true;
        return out;
    }
    m_nReleaseRow = hit.row;
    if (hit.row == m_nPressRow && m_bClickPending == 1) {
        out.startTimer = true; // a double click may still follow
    } else if (m_nPressRow != 0) {
        out.post.push_back({UM_MOVE_CHANNEL, static_cast<uint32_t>(hit.row + 10 * m_nPressRow), 0});
        m_nFrameRow = 0;
        out.repaint = true;
    } else {
        m_nFrameRow = 0;
        out.repaint = true;
    }
    return out;
}

CLegendClicks::Outcome CLegendClicks::Timer() {
    Outcome out;
    if (m_bClickPending == 1 &&
        LegendHitTest(m_ptRelease.x, m_ptRelease.y).column == LegendColumn::kNumber) {
        if (m_nReleaseRow != m_nPressRow)
            out.post.push_back(
                {UM_MOVE_CHANNEL, static_cast<uint32_t>(m_nReleaseRow + 10 * m_nPressRow), 0});
        else
            out.post.push_back({UM_TOGGLE_SHOW, static_cast<uint32_t>(m_nPressRow), 0});
    }
    m_bClickPending = 0; // one click, one toggle
    m_nFrameRow = 0;
    out.repaint = true;
    out.killTimer = true;
    return out;
}

CLegendClicks::Outcome CLegendClicks::DoubleClick(const LegendData& data, int x, int y) {
    Outcome out;
    const LegendHit hit = LegendHitTest(x, y);
    if (hit.column == LegendColumn::kNumber) {
        m_bClickPending = 0;
        m_nFrameRow = 0;
        out.post.push_back({UM_EDIT_CONDITIONS, 0, 0});
        out.repaint = true;
        return out;
    }
    if (hit.column == LegendColumn::kMax || hit.column == LegendColumn::kMin) {
        const LegendRow& row = data.rows[static_cast<std::size_t>(hit.row - 1)];
        if (row.present != 0 && row.show == 1 && row.avg != kCodeMissing)
            out.post.push_back({hit.column == LegendColumn::kMax ? UM_JUMP_TO_MAX : UM_JUMP_TO_MIN,
                                static_cast<uint32_t>(hit.row), 0});
    }
    return out;
}

} // namespace saroko

namespace saroko {

namespace {
// The font's glyphs may reach this far outside their cell.
constexpr int kGlyphOverhang = 2;
} // namespace

GraphRect LegendTextArea(const LegendText& t, int textWidth, int textHeight) {
    return {t.x - kGlyphOverhang, t.y - kGlyphOverhang, t.x + textWidth + kGlyphOverhang,
            t.y + textHeight + kGlyphOverhang};
}

GraphRect LegendLineArea(const LegendLine& l) {
    const GraphSegment& g = l.line;
    return {std::min(g.x1, g.x2), std::min(g.y1, g.y2), std::max(g.x1, g.x2) + 1,
            std::max(g.y1, g.y2) + 1};
}

std::vector<GraphRect> LegendChangedAreas(const LegendPicture& was, const LegendPicture& now,
                                          const std::function<int(const std::string&)>& width,
                                          int textHeight, int paneWidth, int paneHeight) {
    const std::vector<GraphRect> all{{0, 0, paneWidth, paneHeight}};
    if (was.lines.size() != now.lines.size() || was.texts.size() != now.texts.size() ||
        was.boxes.size() != now.boxes.size() || was.arrows.size() != now.arrows.size())
        return all;
    std::vector<GraphRect> areas;
    const auto lines = [&](const std::vector<LegendLine>& a, const std::vector<LegendLine>& b) {
        for (std::size_t i = 0; i < a.size(); ++i)
            if (!(a[i] == b[i])) {
                areas.push_back(LegendLineArea(a[i]));
                areas.push_back(LegendLineArea(b[i]));
            }
    };
    lines(was.lines, now.lines);
    lines(was.arrows, now.arrows);
    for (std::size_t i = 0; i < was.texts.size(); ++i)
        if (!(was.texts[i] == now.texts[i]))
            for (const LegendText* t : {&was.texts[i], &now.texts[i]})
                areas.push_back(LegendTextArea(*t, width(t->text), textHeight));
    for (std::size_t i = 0; i < was.boxes.size(); ++i)
        if (!(was.boxes[i] == now.boxes[i])) {
            areas.push_back(was.boxes[i]);
            areas.push_back(now.boxes[i]);
        }
    return areas;
}

} // namespace saroko
