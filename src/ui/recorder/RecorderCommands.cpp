#include "ui/recorder/RecorderCommands.h"

#include <QDir>

#include "core/document/CommandState.h"
#include "core/document/ZorvicDoc.h"
#include "core/recorder/TranscriptLine.h"
#include "platform/SerialPorts.h"
#include "platform/SystemSerialLine.h"
#include "platform/UserFolders.h"
#include "ui/recorder/CommandTestDlg.h"
#include "ui/recorder/DownloadDlg.h"
#include "ui/recorder/PortSelectDlg.h"
#include "ui/recorder/RecordStartDlg.h"

namespace saroko::ui {

bool RunRecorderCommand(int commandId, CZorvicDoc& doc, const CChannelPalette& palette,
                        QWidget* parent, StatusNote note, KeptHook kept, const UnitOffer& units) {
    CSystemSerialLine serial;
    CKeptTranscriptLine line(serial, TranscriptFolder());
    CommServices services;
    services.line = &line;
    services.clock = &doc.Clock();
    services.port = ResolvePort(static_cast<int>(doc.m_nPortNo), &doc.Store());
    services.keepFolder = KeptDownloadsFolder();
    services.transcript = &line;
    return RunRecorderCommand(commandId, doc, palette, services, parent, std::move(note),
                              std::move(kept), units);
}

bool RunRecorderCommand(int commandId, CZorvicDoc& doc, const CChannelPalette& palette,
                        const CommServices& services, QWidget* parent, StatusNote note,
                        KeptHook kept, const UnitOffer& units) {
    switch (commandId) {
    case cmd::kDownload: {
        CDownloadDlg dlg(doc, palette, services, parent);
        dlg.OfferUnits(units);
        if (kept)
            dlg.SetKeptHook([kept, &services](const QString& path, int unit) {
                kept(path,
                     QString::fromStdString(services.transcript ? services.transcript->Path() : ""),
                     unit);
            });
        dlg.exec();
        if (note && !dlg.KeptPath().isEmpty())
            note(CDownloadDlg::tr("吸い上げたデータの控え: %1")
                     .arg(QDir::toNativeSeparators(dlg.KeptPath())));
        return true;
    }
    case cmd::kRecordStart: {
        // The proposed scheduled start: 5 to 15 minutes ahead, on a 10-minute step.
        doc.m_recSettings.startTime =
            ProposedStartTime(services.clock ? services.clock->Now() : doc.Clock().Now());
        CRecordStartDlg dlg(doc, services, parent);
        dlg.exec();
        return true;
    }
    case cmd::kSelectPort: {
        CPortSelectDlg dlg(doc, ListSerialPorts(&doc.Store()), parent);
        dlg.exec();
        return true;
    }
    case cmd::kCommandTest: {
        CCommandTestDlg dlg(doc, services, parent);
        dlg.exec();
        return true;
    }
    default:
        return false;
    }
}

} // namespace saroko::ui
