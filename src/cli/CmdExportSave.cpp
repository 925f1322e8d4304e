// saroko-cli export and save: text export and native files, all data or a time window.
#include <iostream>

#include "cli/CliCommon.h"
#include "cli/CliVerb.h"

namespace saroko::cli {
namespace {

const char kExportUsage[] =
    "usage: saroko-cli export [--delimiter comma|tab|semicolon|space]\n"
    "                         [--from \"YYYY/MM/DD HH:MM:SS\" --to \"YYYY/MM/DD HH:MM:SS\"]\n"
    "                         [--fahrenheit|--celsius] -o OUT.TXT FILE...\n"
    "  Loads the files as 'info' does and writes them as delimited text (extension .TXT or\n"
    "  .PRN). Without --from/--to all data are written, with them only that time window.\n"
    "  Delimiter and unit default to the program's settings.\n";

const char kSaveUsage[] =
    "usage: saroko-cli save [--from \"YYYY/MM/DD HH:MM:SS\" --to \"YYYY/MM/DD HH:MM:SS\"]\n"
    "                       -o OUT.klg FILE...\n"
    "  Loads the files as 'info' does and saves them as one native data file: all data, or\n"
    "  the samples inside the time window. Converts older-series files to native ones.\n";

int RunExport(const std::vector<std::string>& args);
int RunSave(const std::vector<std::string>& args);
const Verb kExportVerb{"export", "write data files as delimited text", kExportUsage, &RunExport};
const Verb kSaveVerb{"save", "save or convert to a native data file", kSaveUsage, &RunSave};
const VerbRegistrar regExport{kExportVerb};
const VerbRegistrar regSave{kSaveVerb};

// Reads --from/--to into the view window. Returns the range to use (0 or 1), -1 on a usage
// error (message printed).
int ApplyWindow(const Verb& verb, const Options& o, CZorvicDoc& doc) {
    const std::string* from = o.Value("--from");
    const std::string* to = o.Value("--to");
    if (!from && !to)
        return 0;
    if (!from || !to) {
        UsageError(verb, "--from and --to go together");
        return -1;
    }
    uint32_t start = 0, end = 0;
    if (!ParseLocalDateTime(*from, start)) {
        UsageError(verb, "bad --from time '" + *from + "'");
        return -1;
    }
    if (!ParseLocalDateTime(*to, end)) {
        UsageError(verb, "bad --to time '" + *to + "'");
        return -1;
    }
    if (end < start) {
        UsageError(verb, "--to lies before --from");
        return -1;
    }
    doc.GetRange()->viewStart = start;
    doc.GetRange()->viewEnd = end;
    return 1;
}

// The common head of export and save: the output name and its extension, the input files
// loaded. Returns -1 to go on, else the exit status.
int Prepare(const Verb& verb, const Options& o, int kind, std::string& out,
            std::unique_ptr<CliSession>& session) {
    if (!o.error.empty())
        return UsageError(verb, o.error);
    const std::string* path = o.Value("-o") ? o.Value("-o") : o.Value("--output");
    if (!path)
        return UsageError(verb, "no output file (-o)");
    if (o.positional.empty())
        return UsageError(verb, "no file given");
    if (GetFileKind(*path) != kind) {
        PrintMessage(msg::kWrongExtension);
        return kExitFailed;
    }
    out = *path;
    session = OpenSession();
    return LoadFiles(*session, o.positional) ? -1 : static_cast<int>(kExitFailed);
}

int RunExport(const std::vector<std::string>& args) {
    const Options o = ParseOptions(args, {"--delimiter", "--from", "--to", "-o", "--output"},
                                   {"--fahrenheit", "--celsius"});
    if (o.Has("--fahrenheit") && o.Has("--celsius"))
        return UsageError(kExportVerb, "--fahrenheit and --celsius exclude each other");
    int delimiter = 0;
    if (const std::string* d = o.Value("--delimiter")) {
        const char* names[] = {"comma", "tab", "semicolon", "space"};
        for (int i = 0; i < 4; ++i)
            if (*d == names[i])
                delimiter = i + 1;
        if (delimiter == 0)
            return UsageError(kExportVerb, "unknown delimiter '" + *d + "'");
    }
    std::string out;
    std::unique_ptr<CliSession> session;
    if (const int status = Prepare(kExportVerb, o, kKindText, out, session); status >= 0)
        return status;
    CZorvicDoc& doc = *session->doc;
    if (delimiter)
        doc.m_nDivideCode = static_cast<uint32_t>(delimiter);
    if (o.Has("--fahrenheit") || o.Has("--celsius")) {
        doc.m_nUnitCF = o.Has("--fahrenheit") ? 1 : 0;
        doc.RecalcRanges(RecalcMode::UnitsOrScale);
    }
    const int range = ApplyWindow(kExportVerb, o, doc);
    if (range < 0)
        return kExitUsage;
    if (doc.ExportText(range, out) != kFileOk) {
        PrintMessage(msg::kSaveFailed);
        return kExitFailed;
    }
    return kExitOk;
}

int RunSave(const std::vector<std::string>& args) {
    const Options o = ParseOptions(args, {"--from", "--to", "-o", "--output"}, {});
    std::string out;
    std::unique_ptr<CliSession> session;
    if (const int status = Prepare(kSaveVerb, o, kKindKlg, out, session); status >= 0)
        return status;
    CZorvicDoc& doc = *session->doc;
    const int range = ApplyWindow(kSaveVerb, o, doc);
    if (range < 0)
        return kExitUsage;
    if (doc.SaveKlgFile(range, out) != kFileOk) {
        PrintMessage(msg::kSaveFailed);
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace
} // namespace saroko::cli
