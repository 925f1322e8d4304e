// saroko-cli export and save: text export and native files, all data or a time window.
#include <cstring>
#include <iostream>

#include "cli/CliCommon.h"
#include "cli/CliOptions.h"
#include "core/archive/Units.h"

namespace saroko::cli {

extern const char kExportUsage[] =
    "usage: saroko-cli export [--delimiter comma|tab|semicolon|space]\n"
    "                         [--from \"YYYY/MM/DD HH:MM:SS\" --to \"YYYY/MM/DD HH:MM:SS\"]\n"
    "                         [--fahrenheit|--celsius] [--corrected] -o OUT.TXT FILE...\n"
    "  Loads the files as 'info' does and writes them as delimited text (extension .TXT or\n"
    "  .PRN). Without --from/--to all data are written, with them only that time window.\n"
    "  Delimiter and unit default to the program's settings.\n"
    "  --corrected  the values corrected by the calibration of each recording's storage\n"
    "               unit (see 'unit calibrate'); without it the raw values, as recorded\n";

extern const char kSaveUsage[] =
    "usage: saroko-cli save [--from \"YYYY/MM/DD HH:MM:SS\" --to \"YYYY/MM/DD HH:MM:SS\"]\n"
    "                       [--name N=NAME] -o OUT.klg FILE...\n"
    "  Loads the files as 'info' does and saves them as one native data file: all data, or\n"
    "  the samples inside the time window. Converts older-series files to native ones.\n"
    "  --name N=NAME  channel N (1..8, with data) is saved named NAME (at most 8 bytes in\n"
    "                 Shift-JIS), recorded in the archive as a changed name\n";

namespace {

// The common head of export and save: the output name and its extension, the input files
// loaded. Returns -1 to go on, else the exit status.
int Prepare(const CVerbOptions& o, int kind, std::unique_ptr<CliSession>& session) {
    if (o.Output().empty())
        return o.Fail("no output file (-o)");
    if (o.Files().empty())
        return o.Fail("no file given");
    if (GetFileKind(o.Output()) != kind) {
        PrintMessage(msg::kWrongExtension, "\n" + o.Output());
        return kExitFailed;
    }
    session = OpenSession();
    return LoadFiles(*session, o.Files()) ? -1 : static_cast<int>(kExitFailed);
}

// The archive heard of the file written from the document, as the window's does.
int Finish(const CVerbOptions& o, int written) {
    if (written == kFileOk)
        return kExitOk;
    PrintMessage(msg::kSaveFailed, "\n" + o.Output());
    return kExitFailed;
}

} // namespace

void DeclareExport(CVerbOptions& o) {
    o.AddValue("delimiter");
    o.AddWindow();
    o.AddUnits();
    o.AddOutput();
    o.AddFlag("corrected");
}

int RunExport(const CVerbOptions& o) {
    int delimiter = 0;
    if (const auto d = o.Value("delimiter")) {
        const char* names[] = {"comma", "tab", "semicolon", "space"};
        for (int i = 0; i < 4; ++i)
            if (*d == names[i])
                delimiter = i + 1;
        if (delimiter == 0)
            return o.Fail("unknown delimiter '" + *d + "'");
    }
    std::unique_ptr<CliSession> session;
    if (const int status = Prepare(o, kKindText, session); status >= 0)
        return status;
    CZorvicDoc& doc = *session->doc;
    if (delimiter)
        doc.m_nDivideCode = static_cast<uint32_t>(delimiter);
    ApplyUnit(doc, o.Fahrenheit());
    if (!o.ApplyWindow(*doc.GetRange()))
        return kExitUsage;
    const auto corrected = o.Has("corrected") ? CorrectValues(*session) : nullptr;
    // All data, or only the time window when one was given.
    return Finish(o, doc.ExportText(o.HasWindow() ? 1 : 0, o.Output()));
}

void DeclareSave(CVerbOptions& o) {
    o.AddWindow();
    o.AddValue("name");
    o.AddOutput();
}

// --name N=NAME: the channel's new name, as the channel dialog would set it.
bool Rename(const CliSession& session, const std::string& text) {
    const std::size_t eq = text.find('=');
    if (eq != 1 || text[0] < '1' || text[0] > '8')
        return false;
    ChannelRecord* ch = session.doc->GetChannel(text[0] - '0');
    const std::string bytes = session.codec.Utf8ToCp932(text.substr(2));
    if (!ch || ch->present == 0 || bytes.size() > 8)
        return false;
    std::memset(ch->name, 0, sizeof ch->name);
    std::memcpy(ch->name, bytes.data(), bytes.size());
    return true;
}

int RunSave(const CVerbOptions& o) {
    std::unique_ptr<CliSession> session;
    if (const int status = Prepare(o, kKindKlg, session); status >= 0)
        return status;
    if (!o.ApplyWindow(*session->doc->GetRange()))
        return kExitUsage;
    if (const auto name = o.Value("name"); name && !Rename(*session, *name))
        return o.Fail("--name wants N=NAME: a channel 1..8 with data, a name of 8 bytes at most");
    return Finish(o, session->doc->SaveKlgFile(o.HasWindow() ? 1 : 0, o.Output()));
}

} // namespace saroko::cli
