#pragma once
// What a report states of the storage unit its recordings belong to: the unit, and for each
// channel the calibration in force at the recording's time, the correction applied and whether
// the calibration was past due.
#include <optional>
#include <string>
#include <vector>

#include "core/report/Calibration.h"

namespace saroko {

struct ReportUnitChannel {
    int number = 0;                         // the channel in the document
    int unitChannel = 0;                    // the unit's channel (1, 2) it was recorded on
    std::optional<Calibration> calibration; // in force at the recording's time
    bool corrected = false;                 // the figures are corrected values
    bool pastDue = false;                   // some of its samples lie after the due day
    int outsideRange = 0;                   // corrected samples outside the calibrated range
};

struct ReportUnit {
    int id = 0;
    std::string name; // UTF-8
    std::string location;
    std::string recorder;
    std::vector<ReportUnitChannel> channels;
};

// The report's lines about its unit(s), in the program's language: the unit, then per channel
// its certificate, calibration and due days and the correction applied.
std::vector<std::string> UnitReportLines(const std::vector<ReportUnit>& units);
// The first of those lines of one unit: its name, location and recorder.
std::string UnitHeadLine(const ReportUnit& unit);
// True when some channel's calibration in force has a correction that could be applied.
bool AnyCorrection(const std::vector<ReportUnit>& units);
// The header's warning when a calibration was past due at the recording's time; "" when none.
std::string PastDueWarning(const std::vector<ReportUnit>& units);

} // namespace saroko
