#pragma once
// What the `recorder` verbs share: the line to the recorder (a COM number or a device path,
// optionally with a transcript) and the session whose settings and document they use.
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "cli/CliCommon.h"
#include "cli/CliOptions.h"
#include "core/recorder/RecorderComm.h"
#include "core/recorder/TranscriptLine.h"
#include "platform/SystemSerialLine.h"

namespace saroko::cli {

struct RecorderLink {
    std::unique_ptr<CliSession> session;
    CSystemSerialLine serial;
    std::unique_ptr<CKeptTranscriptLine> kept;
    std::ofstream transcriptFile;
    std::unique_ptr<CTranscriptLine> transcript;
    CommServices services;
};

// The options every recorder subcommand takes, besides its own: --port, --device, --transcript.
void AddLinkOptions(CVerbOptions& options);

// Opens the session and prepares the line from --port, --device and --transcript; every
// exchange is also kept in the user's cache folder, every download in the data folder. False
// after a usage error (printed).
bool SetUpLink(const CVerbOptions& options, RecorderLink& link);

// Exit status of a communication result whose message has been printed; an open failure
// also gets the device and the system's reason.
int ExitFor(const RecorderLink& link, int result);

} // namespace saroko::cli
