#pragma once
// The communication menu's commands: the download, the record start, the port selection and
// the hidden command test, each a modal dialog on the document.
#include "core/recorder/RecorderComm.h"
#include "ui/recorder/RecorderDialog.h"

#include <QString>
#include <functional>

class QWidget;

namespace saroko {
class CChannelPalette;
class CZorvicDoc;
} // namespace saroko

namespace saroko::ui {

// Where a command puts a note for the main window's status bar.
using StatusNote = std::function<void(const QString& note)>;
// Told of each download kept: the file, the transcript of its exchange and the storage unit
// chosen for it (0: none).
using KeptHook = std::function<void(const QString& kept, const QString& transcript, int unit)>;

// Opens the dialog of `commandId` (cmd::kDownload, kRecordStart, kSelectPort, kCommandTest)
// and returns true once it has closed; false for any other id. Exchanges go through a real
// serial port on the document's COM number. A download leaves the document recalculated and
// its views updated, and the note names the file its copy was kept in; the download dialog
// offers `units`.
bool RunRecorderCommand(int commandId, CZorvicDoc& doc, const CChannelPalette& palette,
                        QWidget* parent, StatusNote note = {}, KeptHook kept = {},
                        const UnitOffer& units = {});

// The same on given exchange services (a line to a simulated recorder, a pinned clock).
bool RunRecorderCommand(int commandId, CZorvicDoc& doc, const CChannelPalette& palette,
                        const CommServices& services, QWidget* parent, StatusNote note = {},
                        KeptHook kept = {}, const UnitOffer& units = {});

} // namespace saroko::ui
