#include "core/recorder/Download.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "core/document/ZorvicDoc.h"
#include "core/files/FileIo.h"
#include "core/files/KlgFormat.h"
#include "core/files/Utf8Path.h"
#include "core/messages/StringTable.h"
#include "core/messages/Translate.h"
#include "core/settings/SettingsStore.h"

namespace saroko {

void DefaultTargets(const CZorvicDoc& doc, int& target1, int& target2) {
    target1 = target2 = 0;
    for (int number = 1; number <= kChannelCount; ++number) {
        const ChannelRecord* ch = doc.GetChannel(number);
        if (!ch || ch->present != 0)
            continue;
        if (target1 == 0)
            target1 = number;
        else {
            target2 = number;
            return;
        }
    }
}

bool TargetIsEmpty(const ChannelRecord& ch) {
    return ch.name[0] == '\0' || ch.name[0] == ' ';
}

bool NeedsOverwriteConfirm(const CZorvicDoc& doc, int target1, int target2) {
    const ChannelRecord* a = doc.GetChannel(target1);
    const ChannelRecord* b = doc.GetChannel(target2);
    const bool bothEmpty = a && b && TargetIsEmpty(*a) && TargetIsEmpty(*b);
    return !(bothEmpty && target1 != target2);
}

uint32_t DownloadStartTime(const RecorderSettings& s, const DownloadHeader& header,
                           uint32_t downloadTime) {
    const bool endless = (s.flags & RecorderSettings::kFlagEndless) != 0;
    if (s.startMode == 0 || (endless && header.count == kMaxRecords))
        return downloadTime - (static_cast<uint32_t>(header.count) - 1) * s.intervalSec -
               header.age;
    return s.startTime;
}

namespace {

void FillOne(ChannelRecord& ch, int number, const char name[8], const char* fallback,
             const RecorderSettings& s, uint32_t start, const uint8_t* records, uint32_t n,
             int column) {
    ch.number = static_cast<uint32_t>(number);
    ch.present = static_cast<uint32_t>(number);
    std::memset(ch.name, 0, sizeof ch.name);
    if (name[0] != '\0')
        std::memcpy(ch.name, name, 8);
    else
        std::memcpy(ch.name, fallback, std::strlen(fallback));
    ch.startTime = start;
    ch.measureType = kTypeTemp13;
    ch.modelCode = kModelKm41;
    ch.unitFlag = static_cast<uint8_t>(s.flags & RecorderSettings::kFlagTempUnit);
    ch.recModeCode = (s.flags & RecorderSettings::kFlagEndless) ? 0 : 128;
    ch.sensorCode = (s.flags & RecorderSettings::kFlagJPt100) ? 1 : 0;
    ch.startKnown = s.startMode != 0 ? 1 : 0;
    ch.startModeCode = s.startMode == 0x30 ? 0 : s.startMode == 0x31 ? 1 : 0xFF;
    ch.interval = s.intervalSec;
    std::memset(ch.samples, 0xFF, sizeof ch.samples); // kCodeEnd in every slot
    ch.terminator = kCodeEnd;
    for (uint32_t i = 0; i < n; ++i)
        ch.samples[i] = GetU16(records + kRecordSize * i + 2 * column);
    ch.sampleCount = static_cast<uint16_t>(n);
}

} // namespace

void FillDownloadedChannels(CZorvicDoc& doc, int target1, int target2, const RecorderSettings& s,
                            const uint8_t* buffer, uint32_t downloadTime) {
    const DownloadHeader header = DownloadHeader::FromBytes(buffer);
    const uint32_t n = std::min<uint32_t>(header.count, kMaxRecords);
    const uint32_t start = DownloadStartTime(s, header, downloadTime);
    const uint8_t* records = buffer + kDownloadHeaderSize;
    if (ChannelRecord* ch = doc.GetChannel(target1))
        FillOne(*ch, target1, s.chanName1, "ch.1", s, start, records, n, 0);
    if (ChannelRecord* ch = doc.GetChannel(target2))
        FillOne(*ch, target2, s.chanName2, "ch.2", s, start, records, n, 1);
    doc.m_bShow[static_cast<std::size_t>(target1 - 1)] = 1;
    doc.m_bShow[static_cast<std::size_t>(target2 - 1)] = 1;
    doc.RecalcRanges(RecalcMode::ChangedData);
    doc.UpdateAllViews();
}

std::string FormatDownloadStart(uint32_t t) {
    std::tm tm{};
    if (!ToLocalTime(t, tm))
        return {};
    char buf[64];
    std::snprintf(buf, sizeof buf, "%4d/%2d/%2d %2d:%2d'%2d", tm.tm_year + 1900, tm.tm_mon + 1,
                  tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return buf;
}

int ProgressFillWidth(int barWidth, int progress, int steps) {
    if (steps <= 0 || barWidth <= 0)
        return 0;
    progress = std::clamp(progress, 0, steps);
    return static_cast<int>(progress * (static_cast<double>(barWidth) / steps));
}

void CDownloadPace::Start(uint32_t ms, uint32_t total) {
    m_bStarted = true;
    m_t0 = ms;
    m_nTotal = total;
    m_nLeft = total == 0 ? 0 : -1;
}

void CDownloadPace::Update(uint32_t ms, uint32_t received) {
    // Half a second of records is enough to know the rate of a line.
    constexpr uint32_t kMeasureMs = 500;
    if (!m_bStarted)
        return;
    if (received >= m_nTotal) {
        m_nLeft = 0;
        return;
    }
    const uint32_t elapsed = ms - m_t0;
    if (received == 0 || elapsed < kMeasureMs)
        return;
    const uint64_t leftMs = uint64_t{m_nTotal - received} * elapsed / received;
    m_nLeft = static_cast<int>((leftMs + 999) / 1000);
}

std::string FormatTimeLeft(int seconds) {
    if (seconds < 0)
        return {};
    char buf[64];
    if (seconds >= 3600) {
        const std::string format = TranslateFormat("Download", "残り %d:%02d:%02d");
        std::snprintf(buf, sizeof buf, format.c_str(), seconds / 3600, seconds / 60 % 60,
                      seconds % 60);
    } else {
        const std::string format = TranslateFormat("Download", "残り %d:%02d");
        std::snprintf(buf, sizeof buf, format.c_str(), seconds / 60, seconds % 60);
    }
    return buf;
}

bool CProgressTenths::Due(uint32_t received, uint32_t total) {
    const int tenth =
        total == 0 ? 10 : static_cast<int>(uint64_t{std::min(received, total)} * 10 / total);
    if (tenth <= m_nWritten)
        return false;
    m_nWritten = tenth;
    return true;
}

std::string FormatRecordCounts(uint32_t received, uint32_t total) {
    const std::string format = TranslateFormat("Download", "%u / %u 件");
    char buf[64];
    std::snprintf(buf, sizeof buf, format.c_str(), received, total);
    return buf;
}

std::string FormatAttempt(int attempt, int attempts) {
    const std::string format = TranslateFormat("Download", "試行 %d/%d");
    char buf[64];
    std::snprintf(buf, sizeof buf, format.c_str(), attempt, attempts);
    return buf;
}

bool CProgressRedraw::Due(uint32_t ms, int bar, bool last) {
    m_bHeld = m_bDrawn && bar == m_nBar && !last && ms - m_tLast < kEveryMs;
    if (m_bHeld)
        return false;
    m_bDrawn = true;
    m_tLast = ms;
    m_nBar = bar;
    return true;
}

std::string KeptDownloadName(uint32_t downloadTime, int n) {
    std::tm tm{};
    if (!ToLocalTime(downloadTime, tm))
        return {};
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d-%02d%02d%02d", tm.tm_year + 1900, tm.tm_mon + 1,
                  tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    // Appended piece by piece: GCC 12 at -O3 takes "-" + to_string(n) for an overlap.
    std::string name = buf;
    if (n > 1) {
        name += '-';
        name += std::to_string(n);
    }
    name += ".klg";
    return name;
}

std::string KeepDownloadImage(const std::string& folder, uint32_t downloadTime,
                              std::string_view image) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path dir = PathOfUtf8(folder);
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir, ec) || KeptDownloadName(downloadTime).empty())
        return {};
    // The file is created exclusively, so a name taken meanwhile moves on to the next one.
    for (int n = 1; n <= 999; ++n) {
        const fs::path at = dir / KeptDownloadName(downloadTime, n);
        if (fs::exists(at, ec))
            continue;
        if (WriteNewFile(Utf8OfPath(at), image))
            return Utf8OfPath(at);
        if (!fs::exists(at, ec))
            return {};
    }
    return {};
}

std::string KeepDownload(const std::string& folder, const RecorderSettings& settings,
                         const uint8_t* buffer, uint32_t downloadTime) {
    CMemorySettingsStore store;
    FixedClock clock(downloadTime);
    CZorvicDoc doc(store, clock);
    doc.OnNewDocument();
    FillDownloadedChannels(doc, 1, 2, settings, buffer, downloadTime);
    return KeepDownloadImage(folder, downloadTime, BuildKlgImage(doc, 0));
}

DownloadStatusTexts FormatDownloadStatus(const RecorderSettings& s, uint32_t modelCode,
                                         uint32_t startTime) {
    DownloadStatusTexts t;
    t.model = modelCode == kModelKm41 ? "KM-41" : TranslateText("Recorder", "不明");
    auto name = [](const char n[8], const char* fallback) {
        const std::string v(n, strnlen(n, 8));
        return v.empty() ? std::string(fallback) : v;
    };
    t.name1 = name(s.chanName1, "ch.1");
    t.name2 = name(s.chanName2, "ch.2");
    t.unit = (s.flags & RecorderSettings::kFlagTempUnit) ? "ﾟF " : "ﾟC ";
    t.start = FormatDownloadStart(startTime);
    t.startMode = s.startMode == 0x30   ? TranslateText("Recorder", "即時ｽﾀｰﾄ")
                  : s.startMode == 0x31 ? TranslateText("Recorder", "予約ｽﾀｰﾄ")
                  : s.startMode == 0    ? TranslateText("Recorder", "ﾏﾆｭｱﾙｽﾀｰﾄ")
                                        : TranslateText("Recorder", "不明");
    t.recordMode = (s.flags & RecorderSettings::kFlagEndless) ? TranslateText("Recorder", "ｴﾝﾄﾞﾚｽ")
                                                              : TranslateText("Recorder", "ﾜﾝﾀｲﾑ");
    t.sensor = (s.flags & RecorderSettings::kFlagJPt100) ? "JPt100" : "Pt100";
    const char* label = IntervalLabel(s.intervalSec);
    t.interval = label ? label : "????";
    return t;
}

CRecorderDownload::CRecorderDownload(const CommServices& services, CZorvicDoc& doc,
                                     IDownloadOwner& owner)
    : m_services(services), m_doc(doc), m_owner(owner) {}

DownloadStatusTexts CRecorderDownload::StatusTexts() const {
    return FormatDownloadStatus(m_settings, m_nModelCode,
                                DownloadStartTime(m_settings, Header(), m_owner.downloadTime));
}

int CRecorderDownload::Run(int target1, int target2) {
    IMessageSink* sink = m_services.sink;
    if (target1 < 1 || target1 > kChannelCount || target2 < 1 || target2 > kChannelCount) {
        if (sink)
            sink->ShowMessage(msg::kNoChannelChosen);
        return kDownloadStopped;
    }
    if (NeedsOverwriteConfirm(m_doc, target1, target2) &&
        (!sink || sink->ShowMessage(msg::kOverwriteConfirm) != kIdYes))
        return kDownloadStopped;

    m_settings = RecorderSettings{};
    if (!m_buffer)
        m_buffer = std::make_unique_for_overwrite<uint8_t[]>(kDownloadBufferSize);
    std::memset(m_buffer.get(), 0, kDownloadHeaderSize);
    m_nModelCode = 0;
    CRecorderComm comm(m_services, 9600);
    int r = comm.Open();
    if (r < 0)
        return comm.ShowCommResult(r);
    comm.SetOwner(&m_owner);

    uint8_t params[4] = {}, reply[4] = {};
    CommandBlock block;
    block.params = params;
    block.reply = reply;
    r = comm.Execute(kExecIdentify, block, Wake::First, ShowResult::OnFailure);
    if (r != COMM_OK)
        return r;
    if (reply[0] != kKm41IdentD0 || reply[1] != kKm41IdentD1) {
        if (sink)
            sink->ShowMessage(msg::kUnknownModel);
        return COMM_UNKNOWN_MODEL;
    }
    m_nModelCode = kModelKm41;

    std::memset(params, 0, 4);
    std::memset(reply, 0, 4);
    block.data = &m_settings;
    r = comm.Execute(kExecReadSettings, block, Wake::No, ShowResult::OnFailure);
    if (r != COMM_OK)
        return r;

    std::memset(params, 0, 4);
    std::memset(reply, 0, 4);
    block.data = nullptr;
    block.buffer = m_buffer.get();
    r = comm.Execute(kExecDownloadPaced, block, Wake::No, ShowResult::Always);
    if (r != COMM_OK)
        return r;

    // Kept before the document changes; a copy that cannot be written costs only the copy.
    m_szKept.clear();
    if (!m_services.keepFolder.empty()) {
        m_szKept =
            KeepDownload(m_services.keepFolder, m_settings, m_buffer.get(), m_owner.downloadTime);
        if (m_szKept.empty() && sink)
            sink->ShowMessage(msg::kKeepFailed, "\n" + m_services.keepFolder);
    }

    FillDownloadedChannels(m_doc, target1, target2, m_settings, m_buffer.get(),
                           m_owner.downloadTime);
    return COMM_OK;
}

} // namespace saroko
