#pragma once
// Storage units: the named places recordings belong to (a fridge, a cold room), with their
// limits, activation energy and each channel's calibration. A unit lives only in the archive's
// chain: creating it, every change, every calibration and every assignment of a recording is
// an event, and the units as they stand are a fold over the events.
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/archive/ArchiveSession.h"
#include "core/report/Calibration.h"
#include "core/report/ReportFigures.h"
#include "core/report/ReportSettings.h"
#include "core/report/ReportUnit.h"

namespace saroko {
class CZorvicDoc;
}

namespace saroko::archive {

class CDocumentArchive;

// The recorder's two channels.
inline constexpr int kUnitChannels = 2;

struct UnitLimits {
    std::optional<double> low, high; // degC
    bool operator==(const UnitLimits&) const = default;
};

// What the user edits of a unit.
struct UnitFields {
    std::string name; // UTF-8, never empty
    std::string location;
    std::string recorder; // the recorder's identity as the site names it (model, serial)
    std::array<UnitLimits, kUnitChannels> limits;
    std::optional<double> activationEnergy; // kJ/mol
    std::string note;
    bool operator==(const UnitFields&) const = default;
};

// One calibration as it was set, with the event's time.
struct CalibrationEntry {
    Calibration calibration;
    std::string setAt; // UTC, the event's time
};

struct Unit {
    int id = 0; // 1, 2, ...: the unit's place among the creations
    UnitFields fields;
    // Each channel's calibrations in the order they were set; the last is the current one.
    std::array<std::vector<CalibrationEntry>, kUnitChannels> calibrations;
};

struct UnitsState {
    std::vector<Unit> units;                // by id
    std::map<std::string, int> assignments; // recording's sha256 -> unit id
    const Unit* Find(int id) const;
    // The first unit of that name (exactly as written).
    const Unit* FindByName(std::string_view name) const;
    const Unit* UnitOf(const std::string& sha256) const;
};

// The events' words, as the trail and the texts of old and new values write them.
inline constexpr char kUnitCreated[] = "created";
inline constexpr char kUnitChanged[] = "changed";
inline constexpr char kAssignedDownload[] = "download";
inline constexpr char kAssignedFile[] = "file";

// The text of a unit's fields in an event's old and new values: key=value lines in a fixed
// order, values escaped as the event text escapes them.
std::string UnitText(const UnitFields& f);
std::optional<UnitFields> ParseUnitText(std::string_view text);
std::string CalibrationText(const Calibration& c);
std::optional<Calibration> ParseCalibrationText(std::string_view text);
// What an "assigned" event names: "ID NAME".
std::string AssignedText(const Unit& u);

// The units as the events leave them. Events that do not parse are passed over.
UnitsState FoldUnits(const std::vector<Event>& events);
// Which events concern unit `unitId`: its creation and changes, its calibrations, assignments to
// it, and every event of a recording that was assigned to it at any time. One flag per event.
std::vector<bool> EventsOfUnit(const std::vector<Event>& events, int unitId);
// The unit a download from the recorder that identifies as `identity` is offered on `host`:
// the unit its newest download there that went to a unit belongs to now (a recording moved
// to another unit later takes the offer with it); 0 for a recorder never downloaded there,
// or whose downloads went to no unit. A recorder is known by what it answers and the host it
// hangs on: recorders of one model answer alike, and each PC has its own.
int OfferedUnit(const std::vector<Event>& events, const std::vector<Recording>& recordings,
                const std::string& host, const std::string& identity);
// The same from the session's archive for this host; 0 without an archive.
int OfferedUnit(CArchiveSession& s, const std::string& identity);

// Which calibration held on a day: the newest one set whose calibration day is not after it
// (an entry without a calibration day holds from the start); none when the day predates all.
std::optional<Calibration> CalibrationOn(const Unit& u, int channel, const std::string& day);

// What a unit's change refuses.
enum class UnitResult {
    kOk,
    kEmptyName,
    kNameTaken,
    kNoSuchUnit,
    kNoChange,
    kBadLimits, // a low above the high
    kBadEnergy, // not above 0
    kBadChannel,
    kBadCalibration,
    kNotArchived, // the recording is not in the archive
    kNoArchive,
    kBadNumber, // a field that should hold a number does not
};
// The message of a result in the program's voice; "" for kOk.
std::string UnitResultMessage(UnitResult r);

// The writes. `state` is the fold the user looked at; each checks against it and writes one
// event through the session.
UnitResult CreateUnit(CArchiveSession& s, const UnitsState& state, const UnitFields& f,
                      const std::string& reason = {});
UnitResult ChangeUnit(CArchiveSession& s, const UnitsState& state, int id, const UnitFields& f,
                      const std::string& reason = {});
UnitResult SetCalibration(CArchiveSession& s, const UnitsState& state, int id, int channel,
                          const Calibration& c, const std::string& reason = {});
// `how` is kAssignedDownload or kAssignedFile.
UnitResult AssignRecording(CArchiveSession& s, const UnitsState& state, const std::string& sha256,
                           int id, const char* how, const std::string& reason = {});
// The units window's fields as typed; numbers are decimal texts, empty for none.
struct UnitForm {
    std::string name, location, recorder, note, energy;
    std::array<std::string, kUnitChannels> low, high;
};
struct CalibrationForm {
    std::string certificate, calibrated, due;
    Correction::Kind kind = Correction::kNone;
    std::string offset, raw1, true1, raw2, true2;
};
// Reads the forms; kBadNumber names a field that is no number (a correction's fields only
// for its kind), the rest as the writes check.
UnitResult ReadUnitForm(const UnitForm& form, UnitFields& out);
UnitResult ReadCalibrationForm(const CalibrationForm& form, Calibration& out);
// The forms of a unit's fields and a calibration, to fill the window.
UnitForm FormOf(const UnitFields& f);
CalibrationForm FormOf(const Calibration& c);

// Reads the events and folds them; an empty state without an archive.
UnitsState LoadUnits(CArchiveSession& s);

// A report on channels that came from a unit's recordings: for each such channel (its number
// in the document, the recording it came from, its unit channel and the first and last sample
// time) what the report states.
struct UnitChannelSource {
    int number = 0;
    std::string sha256;
    int unitChannel = 0;
    uint32_t first = 0, last = 0;
};
// The document's channels that came from recordings assigned to a unit (`shownOnly`: those
// a report or print shows).
std::vector<UnitChannelSource> UnitSources(const CDocumentArchive& archive, const CZorvicDoc& doc,
                                           const UnitsState& state, bool shownOnly);

// The document's values corrected by the calibration in force at each recording's time, for
// as long as it lives: the channels are put back as they were read when it goes, so a save
// or the graph afterwards never sees a corrected value.
class CCorrectedValues {
public:
    CCorrectedValues(CZorvicDoc& doc, const UnitsState& state,
                     const std::vector<UnitChannelSource>& channels);
    ~CCorrectedValues();
    CCorrectedValues(const CCorrectedValues&) = delete;
    CCorrectedValues& operator=(const CCorrectedValues&) = delete;
    // Channel number -> its corrected values outside the calibrated range.
    const std::map<int, int>& Corrected() const { return m_corrected; }

private:
    CZorvicDoc& m_doc;
    std::vector<std::pair<int, std::unique_ptr<ChannelRecord>>> m_saved;
    std::map<int, int> m_corrected;
};

// `corrected`: the channels whose values were corrected (CCorrectedValues), or null.
std::vector<ReportUnit> ReportUnits(const UnitsState& state,
                                    const std::vector<UnitChannelSource>& channels,
                                    const std::map<int, int>* corrected);
// The unit's limits as the report's defaults for each of its channels when no limits were
// given (neither common ones nor the channel's own), and its activation energy when none was
// given. Limits are kept in degC; `fahrenheit` converts them to the shown unit.
void ApplyUnitDefaults(const UnitsState& state, const std::vector<UnitChannelSource>& channels,
                       bool fahrenheit, bool energyGiven, ReportOptions& options);
// The report dialog's first values on a unit's recordings: each of their channels' rows holds
// the unit's limits and the energy the unit's, as ApplyUnitDefaults gives them when nothing
// is given; the rest as remembered.
ReportDialogSettings UnitReportSettings(const ReportDialogSettings& remembered,
                                        const UnitsState& state,
                                        const std::vector<UnitChannelSource>& channels,
                                        bool fahrenheit);
// What the dialog keeps for the next time after a report begun with `offered`: a row or the
// energy the unit filled in and the user left as it was is the unit's, not the user's, and
// goes back to what was remembered.
ReportDialogSettings RememberedAfterUnitReport(const ReportDialogSettings& remembered,
                                               const ReportDialogSettings& offered,
                                               const ReportDialogSettings& result);

} // namespace saroko::archive
