#pragma once
// The download of the recorder's data into two channels of the document: the choice of the
// targets, the overwrite question, the start time of the data, the status texts and the
// whole sequence of one press of "吸い上げ".
#include <cstdint>
#include <string>
#include <vector>

#include "recorder/Protocol.h"
#include "recorder/RecorderComm.h"
#include "recorder/RecorderSettings.h"

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
    const std::vector<uint8_t>& Buffer() const { return m_buffer; }
    DownloadHeader Header() const { return DownloadHeader::FromBytes(m_buffer.data()); }
    // The status texts for the header now in the buffer.
    DownloadStatusTexts StatusTexts() const;

private:
    CommServices m_services;
    CZorvicDoc& m_doc;
    IDownloadOwner& m_owner;
    RecorderSettings m_settings;
    uint32_t m_nModelCode = 0;
    std::vector<uint8_t> m_buffer;
};

} // namespace saroko
