#pragma once
// The download of the recorder's data into two channels of the document: the choice of the
// targets, the overwrite question, the start time of the data, the status texts and the
// whole sequence of one press of "吸い上げ".
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/document/RecorderSettings.h"
#include "core/recorder/Protocol.h"
#include "core/recorder/RecorderComm.h"

namespace saroko {

class CZorvicDoc;
struct ChannelRecord;

// The first two channels without data (0 when there are fewer).
void DefaultTargets(const CZorvicDoc& doc, int& target1, int& target2);
// A target counts as empty when its name starts with NUL or a space.
bool TargetIsEmpty(const ChannelRecord& ch);
// True unless both targets are empty and different.
bool NeedsOverwriteConfirm(const CZorvicDoc& doc, int target1, int target2);

// Manual starts and wrapped endless memories date the data back from the download;
// otherwise the recorder's start time counts.
uint32_t DownloadStartTime(const RecorderSettings& settings, const DownloadHeader& header,
                           uint32_t downloadTime);

// Writes both recorder channels into the targets (channel 2 last, so it wins when both are
// the same), shows them, and recalculates the ranges.
void FillDownloadedChannels(CZorvicDoc& doc, int target1, int target2,
                            const RecorderSettings& settings, const uint8_t* buffer,
                            uint32_t downloadTime);

// What the download dialog shows once the header has arrived. Names are CP932 bytes.
struct DownloadStatusTexts {
    std::string model;      // 225
    std::string name1;      // 107
    std::string name2;      // 108
    std::string unit;       // 228, 229
    std::string start;      // 192
    std::string startMode;  // 252
    std::string recordMode; // 227
    std::string sensor;     // 271
    std::string interval;   // 193
};
DownloadStatusTexts FormatDownloadStatus(const RecorderSettings& settings, uint32_t modelCode,
                                         uint32_t startTime);
// "%4d/%2d/%2d %2d:%2d'%2d" in local time.
std::string FormatDownloadStart(uint32_t t);

// Pixels of the progress bar's filled part: progress x (width / steps), integer part.
int ProgressFillWidth(int barWidth, int progress, int steps);

// The time a download still needs at the rate the line has kept since the header came.
class CDownloadPace {
public:
    // The header has come at tick `ms` (the line's milliseconds): `total` records follow.
    void Start(uint32_t ms, uint32_t total);
    void Reset() {
        m_bStarted = false;
        m_nLeft = -1;
    }
    // `received` records are complete at tick `ms`.
    void Update(uint32_t ms, uint32_t received);
    // Whole seconds, rounded up; -1 until enough has arrived to tell the rate.
    int SecondsLeft() const { return m_nLeft; }

private:
    bool m_bStarted = false;
    uint32_t m_t0 = 0;
    uint32_t m_nTotal = 0;
    int m_nLeft = -1;
};
// "残り 0:27", "残り 1:02:05"; empty while the time is unknown.
std::string FormatTimeLeft(int seconds);

// When a progress line that is redrawn in place (on a terminal) is drawn again: the first
// time, whenever the bar moves, for the last record, else at most every kEveryMs. A line
// that was held back is drawn before it ends, so the last text is the same as drawing all.
class CProgressRedraw {
public:
    static constexpr uint32_t kEveryMs = 100;
    void Reset() { m_bDrawn = m_bHeld = false; }
    // Whether to draw the state at tick `ms` now; a true answer counts as drawn.
    bool Due(uint32_t ms, int bar, bool last);
    bool Held() const { return m_bHeld; }

private:
    bool m_bDrawn = false;
    bool m_bHeld = false;
    uint32_t m_tLast = 0;
    int m_nBar = 0;
};

// A progress line that cannot be redrawn in place (a pipe, a file) is written when the header
// has come and then each time the records reach another tenth of the total: eleven lines at
// most, whatever the count.
class CProgressTenths {
public:
    void Reset() { m_nWritten = -1; }
    // Whether `received` of `total` records reach a tenth not written yet; a true answer
    // counts as written.
    bool Due(uint32_t received, uint32_t total);

private:
    int m_nWritten = -1;
};

// The counts on the command line's progress line, "120 / 300 件", and its attempt after the
// first, "試行 2/3".
std::string FormatRecordCounts(uint32_t received, uint32_t total);
std::string FormatAttempt(int attempt, int attempts);

// Every download is kept as a native file of its own, so data the user never saved can still
// be found. The name is the download's local time, "20261206-143005.klg"; further downloads
// of the same second get "-2", "-3", ... before the extension. `n` counts from 1.
std::string KeptDownloadName(uint32_t downloadTime, int n = 1);
// Writes `image` into `folder` (made when missing) under the first name no file has yet; an
// existing file is never replaced. The path written, or empty when nothing could be kept.
std::string KeepDownloadImage(const std::string& folder, uint32_t downloadTime,
                              std::string_view image);
// Both recorder channels of a download as channels 1 and 2 of a file of their own.
std::string KeepDownload(const std::string& folder, const RecorderSettings& settings,
                         const uint8_t* buffer, uint32_t downloadTime);

// One press of "吸い上げ": checks, identification, settings, paced download and filling.
// The document changes only when everything succeeded.
class CRecorderDownload {
public:
    CRecorderDownload(const CommServices& services, CZorvicDoc& doc, IDownloadOwner& owner);

    // COMM_OK, kDownloadStopped (a check failed or the user said No), or the failure's
    // negative code; every message has been shown.
    int Run(int target1, int target2);
    static constexpr int kDownloadStopped = 1;

    const RecorderSettings& Settings() const { return m_settings; }
    uint32_t ModelCode() const { return m_nModelCode; }
    DownloadHeader Header() const {
        return m_buffer ? DownloadHeader::FromBytes(m_buffer.get()) : DownloadHeader{};
    }
    // Where the last successful download was kept; empty when it was not (or not asked to).
    const std::string& KeptPath() const { return m_szKept; }
    // The status texts for the header now in the buffer.
    DownloadStatusTexts StatusTexts() const;

private:
    CommServices m_services;
    CZorvicDoc& m_doc;
    IDownloadOwner& m_owner;
    RecorderSettings m_settings;
    uint32_t m_nModelCode = 0;
    // Only the header is cleared before each download: the records are read up to the
    // count the header gives, and nothing reads past them.
    std::unique_ptr<uint8_t[]> m_buffer;
    std::string m_szKept;
};

} // namespace saroko
