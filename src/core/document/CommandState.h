#pragma once
// Menu and accelerator command ids, and the update-UI rules that grey or check them. Rules are
// evaluated on the document each time the UI asks; nothing is cached.
#include "core/document/ZorvicDoc.h"

namespace saroko {

namespace cmd {
// The File menu.
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAll = 32789;
inline constexpr int kFileSaveRange = 32790;
inline constexpr int kExportAll = 32807;
inline constexpr int kExportRange = 32808;
inline constexpr int kRecentFirst = 57616; // .. 57619
// The view, graph and tool menus.
inline constexpr int kCursorRight = 32768;
inline constexpr int kCursorLeft = 32769;
inline constexpr int kShowOnOff = 32770;
inline constexpr int kDeleteChannels = 32771;
inline constexpr int kReorderChannels = 32772;
inline constexpr int kUnitSwitch = 32773;
inline constexpr int kEditConditions = 32774;
inline constexpr int kZoomIn = 32775;
inline constexpr int kDownload = 32776;
inline constexpr int kZoomOut = 32778;
inline constexpr int kDataList = 32779;
inline constexpr int kGraphRight = 32780;
inline constexpr int kGraphLeft = 32781;
inline constexpr int kGraphUp = 32782;
inline constexpr int kGraphDown = 32783;
inline constexpr int kPrintColour = 32784;
inline constexpr int kPrintMono = 32785;
inline constexpr int kCalcRange = 32786;
inline constexpr int kChannelColours = 32787;
inline constexpr int kSelectPort = 32806;
inline constexpr int kFullScale = 32809;
inline constexpr int kCommandTest = 32810;
inline constexpr int kReport = 32811;
inline constexpr int kCursorSolid = 32792;
inline constexpr int kCursorDotted = 32793;
inline constexpr int kCursorDashed = 32794;
inline constexpr int kPrintDataList = 40002;
inline constexpr int kRecordStart = 40003;
// The recordings archive: its list, whether a change of a name or start asks why, and where it
// is (this computer's file or a site archive on a server).
inline constexpr int kRecordings = 40010;
inline constexpr int kAskReason = 40011;
inline constexpr int kArchiveLocation = 40012;
// The storage units with their calibrations.
inline constexpr int kUnits = 40020;
// Electronic signatures: a report signed, the signing keys.
inline constexpr int kSignReport = 40021;
inline constexpr int kSigningKeys = 40022;
inline constexpr int kCursorA = 40006;
inline constexpr int kCursorB = 40007;
inline constexpr int kPrintSetup = 57606;
inline constexpr int kCopy = 57634;
inline constexpr int kAbout = 57664;
inline constexpr int kExit = 57665;
inline constexpr int kHelpContents = 57666;
inline constexpr int kContextHelp = 57669;
inline constexpr int kHelp = 57670;
} // namespace cmd

struct CommandState {
    bool enabled = true;
    bool checked = false;
};

// True when any of channels 1..8 holds data.
bool AnyChannelPresent(const CZorvicDoc& doc);
// True when the view shows the whole data span and the full value scale.
bool ViewShowsEverything(const GraphRange& r);
CommandState GetCommandState(const CZorvicDoc& doc, int id);

} // namespace saroko
