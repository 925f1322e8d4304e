// Native file writer and the loader shared with the older-series import.
#include <bit>
#include <cstdio>
#include <cstring>

#include "core/document/ZorvicDoc.h"
#include "core/files/FileIo.h"
#include "core/files/KlgFormat.h"

namespace saroko {
namespace {

constexpr const char* kWeekdays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

void PutU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t GetU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Writes printf output into a fixed-width field without its terminating NUL.
template <typename... Args>
void PutText(uint8_t* field, std::size_t width, const char* fmt, Args... args) {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, args...);
    std::memcpy(field, buf, std::min(width, std::strlen(buf)));
}

std::size_t AreaBytes(int count) {
    return (static_cast<std::size_t>(count) * 2 + 15) / 16 * 16;
}

// Whether the file holds more channels than `capacity` can take, or one in a position past
// the eighth: either way the user is asked before any is read.
bool Overflows(const KlgImage& image, int capacity) {
    for (std::size_t i = 0; i < image.positions.size(); ++i)
        if (static_cast<int>(i) + 1 > capacity || image.positions[i] >= 9)
            return true;
    return false;
}

// One block of a file into a channel: its header fields, its start in local time, its codes
// (an older-series file's shifted into ours).
void FillChannel(ChannelRecord& ch, const KlgBlock& block, bool olderSeries) {
    const uint8_t* h = block.header;
    ch.present = ch.number;
    std::memcpy(ch.name, h + klg::kOffName, 8);
    ch.name[8] = '\0';
    ch.startTime = StartTimeOf(StartFieldsOf(h));
    ch.interval = block.interval;
    ch.measureType = h[klg::kOffType];
    ch.modelCode = GetU32(h + klg::kOffModel);
    ch.startKnown = h[klg::kOffStartKnown];
    ch.recModeCode = h[klg::kOffRecMode];
    ch.startModeCode = h[klg::kOffStartMode];
    ch.unitFlag = h[klg::kOffUnitFlag];
    if (!olderSeries)
        ch.sensorCode = h[klg::kOffSensor];
    ch.sampleCount = static_cast<uint16_t>(block.count);
    const bool shifted =
        olderSeries && (ch.measureType == kTypeTemp13 || ch.measureType == kTypeTemp14 ||
                        ch.measureType == kTypeHumidity);
    // The file's codes are little-endian: on such a host one copy takes them all.
    if constexpr (std::endian::native == std::endian::little)
        std::memcpy(ch.samples, block.area.data(), block.area.size());
    else
        for (int i = 0; i < block.count; ++i)
            ch.samples[i] = block.Code(static_cast<std::size_t>(i));
    if (shifted)
        for (int i = 0; i < block.count; ++i) {
            uint16_t& code = ch.samples[i];
            if (code != kCodeMissing && code != kCodeEnd)
                code = static_cast<uint16_t>(code + 31768);
        }
    // A second block for the same channel must not leave the first one's tail behind.
    std::memset(ch.samples + block.count, 0xFF, // kCodeEnd in every slot
                sizeof(uint16_t) * static_cast<std::size_t>(kMaxSamples - block.count));
}

} // namespace

bool ParseNumberField(const uint8_t* p, std::size_t n, long& value) {
    std::size_t i = 0;
    while (i < n && p[i] == ' ')
        ++i;
    bool neg = false;
    if (i < n && (p[i] == '+' || p[i] == '-')) {
        neg = p[i] == '-';
        ++i;
    }
    const std::size_t first = i;
    long v = 0;
    while (i < n && p[i] >= '0' && p[i] <= '9')
        v = v * 10 + (p[i++] - '0');
    if (i == first)
        return false;
    for (; i < n; ++i)
        if (p[i] != ' ' && p[i] != '\0')
            return false;
    value = neg ? -v : v;
    return true;
}

KlgStartFields StartFieldsOf(const uint8_t* h) {
    const auto field = [h](std::size_t at, std::size_t n) {
        return static_cast<int>(AtoiField(h + at, n));
    };
    KlgStartFields f;
    f.year = field(klg::kOffYear, 4);
    f.month = field(klg::kOffMonth, 2);
    f.day = field(klg::kOffDay, 2);
    f.hour = field(klg::kOffHour, 2);
    f.minute = field(klg::kOffMinute, 2);
    f.second = field(klg::kOffSecond, 2);
    f.utc = GetU32(h + klg::kOffStartTime);
    return f;
}

uint32_t StartTimeOf(const KlgStartFields& f) {
    uint32_t converted = 0;
    return FromLocalFieldsHinted(f.year, f.month, f.day, f.hour, f.minute, f.second, f.utc,
                                 converted)
               ? converted
               : klg::kStartFallback;
}

long AtoiField(const uint8_t* p, std::size_t n) {
    std::size_t i = 0;
    while (i < n && (p[i] == ' ' || p[i] == '\t'))
        ++i;
    bool neg = false;
    if (i < n && (p[i] == '+' || p[i] == '-')) {
        neg = p[i] == '-';
        ++i;
    }
    long v = 0;
    while (i < n && p[i] >= '0' && p[i] <= '9')
        v = v * 10 + (p[i++] - '0');
    return neg ? -v : v;
}

bool FormatKlgDateText(uint32_t t, char (&out)[24]) {
    std::tm tm{};
    if (!ToLocalTime(t, tm))
        return false;
    const int year = tm.tm_year + 1900;
    if (year < 0 || year > 9999)
        return false;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%4d/%2d/%2d(%3s)%2d:%2d'%2d", year, tm.tm_mon + 1, tm.tm_mday,
                  kWeekdays[tm.tm_wday % 7], tm.tm_hour, tm.tm_min, tm.tm_sec);
    std::memcpy(out, buf, 23);
    out[23] = '\0';
    return true;
}

bool ParseKlgImage(std::span<const uint8_t> bytes, KlgImage& out, ReadFailure* why) {
    out = KlgImage{};
    const auto fail = [why](ReadFailure f) {
        if (why)
            *why = f;
        return false;
    };
    if (bytes.size() < kKlgHeaderSize)
        return fail(ReadFailure::kNoHeader);
    for (int pos = 1; pos <= 64; ++pos)
        if (bytes[static_cast<std::size_t>((pos - 1) / 8)] & (1u << ((pos - 1) % 8)))
            out.positions.push_back(pos);
    std::size_t off = kKlgHeaderSize;
    out.blocks.reserve(out.positions.size());
    for (std::size_t b = 0; b < out.positions.size(); ++b) {
        if (bytes.size() - off < kKlgHeaderSize)
            return fail(ReadFailure::kTruncated);
        KlgBlock block;
        std::memcpy(block.header, bytes.data() + off, kKlgHeaderSize);
        off += kKlgHeaderSize;
        long n = 0, interval = 0;
        if (!ParseNumberField(block.header + klg::kOffCount, 5, n) || n < 0 || n > kMaxSamples)
            return fail(ReadFailure::kBadHeader);
        if (!ParseNumberField(block.header + klg::kOffInterval, 5, interval) || interval <= 0)
            return fail(ReadFailure::kBadHeader);
        const std::size_t area = AreaBytes(static_cast<int>(n));
        if (bytes.size() - off < area)
            return fail(ReadFailure::kTruncated);
        block.number = static_cast<int>(AtoiField(block.header + klg::kOffNumber, 2));
        block.interval = static_cast<uint32_t>(interval);
        block.count = static_cast<int>(n);
        block.area = bytes.subspan(off, 2 * static_cast<std::size_t>(n));
        off += area;
        out.blocks.push_back(std::move(block));
    }
    return true;
}

std::string BuildKlgImage(const CZorvicDoc& doc, int range) {
    const GraphRange* r = doc.GetRange();
    struct Selected {
        const ChannelRecord* ch;
        std::vector<uint16_t> codes;
        uint32_t first = 0;
    };
    std::vector<Selected> channels;
    uint8_t fileHeader[kKlgHeaderSize] = {};
    for (int number = 1; number <= kChannelCount; ++number) {
        const ChannelRecord* ch = doc.GetChannel(number);
        if (!ch || ch->present == 0)
            continue;
        Selected sel{ch, {}, 0};
        for (int i = 0; i < kMaxSamples && ch->samples[i] != kCodeEnd; ++i) {
            const uint32_t t = ch->startTime + static_cast<uint32_t>(i) * ch->interval;
            if (range == 1 && (t < r->viewStart || t > r->viewEnd))
                continue;
            if (sel.codes.empty())
                sel.first = t;
            sel.codes.push_back(ch->samples[i]);
        }
        if (sel.codes.empty())
            continue;
        fileHeader[0] |= static_cast<uint8_t>(1u << (number - 1));
        channels.push_back(std::move(sel));
    }
    fileHeader[254] = 0x0D;
    fileHeader[255] = 0x0A;

    std::string out(reinterpret_cast<const char*>(fileHeader), kKlgHeaderSize);
    for (const Selected& sel : channels) {
        const ChannelRecord& ch = *sel.ch;
        uint8_t h[kKlgHeaderSize] = {};
        PutText(h + klg::kOffNumber, 2, "%2d", static_cast<int>(ch.number));
        std::memcpy(h + klg::kOffName, ch.name, FieldLength(ch.name, 8));
        char date[24] = {};
        if (FormatKlgDateText(sel.first, date))
            std::memcpy(h + klg::kOffDateText, date, 23);
        PutU32(h + klg::kOffStartTime, sel.first);
        PutText(h + klg::kOffInterval, 5, "%5u", ch.interval);
        h[klg::kOffType] = ch.measureType;
        PutU32(h + klg::kOffModel, ch.modelCode);
        h[klg::kOffStartKnown] = ch.startKnown;
        h[klg::kOffRecMode] = ch.recModeCode;
        h[klg::kOffStartMode] = ch.startModeCode;
        h[klg::kOffUnitFlag] = ch.unitFlag;
        h[klg::kOffSensor] = ch.sensorCode;
        PutText(h + klg::kOffCount, 5, "%5d", static_cast<int>(sel.codes.size()));
        h[254] = 0x0D;
        h[255] = 0x0A;
        out.append(reinterpret_cast<const char*>(h), kKlgHeaderSize);
        const std::size_t area = AreaBytes(static_cast<int>(sel.codes.size()));
        std::string samples(area, '\xFF');
        for (std::size_t i = 0; i < sel.codes.size(); ++i) {
            samples[2 * i] = static_cast<char>(sel.codes[i] & 0xFF);
            samples[2 * i + 1] = static_cast<char>(sel.codes[i] >> 8);
        }
        out += samples;
    }
    return out;
}

int CZorvicDoc::SaveKlgFile(int range, const std::string& path) {
    if (IsReadOnlyFile(path))
        return kFileFailed;
    const std::string image = BuildKlgImage(*this, range);
    if (!WriteFileAtomically(path, image))
        return kFileFailed;
    m_bDataModified = 0;
    SetPathName(path);
    AddRecentFile(path);
    if (m_pObserver)
        m_pObserver->OnFileSaved(path,
                                 {reinterpret_cast<const uint8_t*>(image.data()), image.size()});
    return kFileOk;
}

int CZorvicDoc::LoadKlgFile(const std::string& path) {
    return LoadContainer(path, false, OpenOrder::kAskFirst);
}
int CZorvicDoc::LoadKsvFile(const std::string& path) {
    return LoadContainer(path, true, OpenOrder::kAskFirst);
}

int CZorvicDoc::LoadContainer(const std::string& path, bool olderSeries, OpenOrder order) {
    m_readFailure = ReadFailure::kNone;
    std::vector<uint8_t> bytes;
    const auto read = [&] {
        if (ReadFileBytes(path, kKlgMaxFileSize, bytes))
            return true;
        m_readFailure = ReadFailure::kUnreadable;
        return false;
    };
    if (order == OpenOrder::kReadFirst) {
        KlgImage image;
        if (!read() || !ParseKlgImage(bytes, image, &m_readFailure))
            return kFileFailed;
    }
    int free = 0;
    for (int number = 1; number <= kChannelCount; ++number)
        if (GetChannel(number)->present == 0)
            ++free;
    int mode = IDocumentPrompts::kReadNew;
    if (free < kChannelCount) {
        mode = m_pPrompts ? m_pPrompts->AskReadMode() : IDocumentPrompts::kReadNew;
        if (mode != IDocumentPrompts::kReadNew && mode != IDocumentPrompts::kReadAppend)
            return kFileCancelled;
    }
    if (order == OpenOrder::kAskFirst && !read())
        return kFileFailed;
    return LoadContainerImage(bytes, path, olderSeries, mode);
}

int CZorvicDoc::LoadContainerImage(std::span<const uint8_t> bytes, const std::string& path,
                                   bool olderSeries, int mode) {
    // The whole file is read and checked before anything changes, so a damaged file or a
    // cancelled question leaves the document as it was.
    KlgImage image;
    m_readFailure = ReadFailure::kNone;
    if (!ParseKlgImage(bytes, image, &m_readFailure))
        return kFileFailed;

    std::vector<int> freeNumbers;
    for (int number = 1; number <= kChannelCount; ++number)
        if (GetChannel(number)->present == 0)
            freeNumbers.push_back(number);
    const int capacity =
        mode == IDocumentPrompts::kReadNew ? kChannelCount : static_cast<int>(freeNumbers.size());
    if (Overflows(image, capacity)) {
        const int answer =
            m_pPrompts ? m_pPrompts->ShowMessage(msg::kLoadOverflow) : static_cast<int>(kIdOk);
        if (answer != kIdOk)
            return kFileCancelled;
    }

    if (mode == IDocumentPrompts::kReadNew)
        ClearAllChannels();

    std::size_t nextFree = 0;
    for (const KlgBlock& block : image.blocks) {
        ChannelRecord* target = nullptr;
        if (mode == IDocumentPrompts::kReadNew) {
            if (block.number < 1 || block.number > kChannelCount)
                continue;
            target = GetChannel(block.number);
        } else {
            if (nextFree >= freeNumbers.size())
                continue;
            target = GetChannel(freeNumbers[nextFree++]);
        }
        FillChannel(*target, block, olderSeries);
    }

    if (mode == IDocumentPrompts::kReadNew) {
        SetPathName(path);
        AddRecentFile(path);
        RecalcRanges(RecalcMode::NewData);
    } else {
        AddRecentFile(path);
        RecalcRanges(RecalcMode::ChangedData);
    }
    if (m_pObserver)
        m_pObserver->OnFileLoaded(path, mode != IDocumentPrompts::kReadNew, bytes);
    return kFileOk;
}

} // namespace saroko
