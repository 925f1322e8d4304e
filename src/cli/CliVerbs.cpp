// The table of saroko-cli's verbs. Each verb's declare function adds its options to the
// parser; its run function gets them parsed. A verb that paints starts the GUI application.
#include <string_view>

#include "cli/CliOptions.h"
#include "cli/CliVerb.h"

namespace saroko::cli {

// Defined beside each verb, in its Cmd*.cpp file.
extern const char kArchiveUsage[], kVerifyUsage[];
void DeclareArchiveList(CVerbOptions&), DeclareArchiveLog(CVerbOptions&),
    DeclareArchiveVerify(CVerbOptions&), DeclareArchiveRepair(CVerbOptions&),
    DeclareArchiveStatus(CVerbOptions&), DeclareArchivePush(CVerbOptions&),
    DeclareArchiveImport(CVerbOptions&), DeclareVerifyFiles(CVerbOptions&);
int RunArchiveList(const CVerbOptions&), RunArchiveLog(const CVerbOptions&),
    RunArchiveVerify(const CVerbOptions&), RunArchiveRepair(const CVerbOptions&),
    RunArchiveStatus(const CVerbOptions&), RunArchivePush(const CVerbOptions&),
    RunArchiveImport(const CVerbOptions&), RunVerifyFiles(const CVerbOptions&);
extern const char kDemoUsage[], kExportUsage[], kSaveUsage[], kInfoUsage[], kRecorderUsage[],
    kReportUsage[];
void DeclareDemo(CVerbOptions&), DeclareExport(CVerbOptions&), DeclareSave(CVerbOptions&),
    DeclareInfo(CVerbOptions&), DeclareReport(CVerbOptions&);
int RunDemo(const CVerbOptions&), RunExport(const CVerbOptions&), RunSave(const CVerbOptions&),
    RunInfo(const CVerbOptions&), RunReport(const CVerbOptions&);
void DeclareNoFiles(CVerbOptions&), DeclarePorts(CVerbOptions&), DeclareCommand(CVerbOptions&),
    DeclareRecorderDownload(CVerbOptions&), DeclareRecorderStart(CVerbOptions&);
int RunIdentify(const CVerbOptions&), RunSettings(const CVerbOptions&),
    RunRecorderDownload(const CVerbOptions&), RunRecorderStart(const CVerbOptions&),
    RunStop(const CVerbOptions&), RunCommand(const CVerbOptions&), RunPorts(const CVerbOptions&);
extern const char kKeyUsage[], kSignUsage[], kVerifySignatureUsage[], kSettingUsage[];
void DeclareKeyCreate(CVerbOptions&), DeclareKeyList(CVerbOptions&),
    DeclareKeyRetire(CVerbOptions&), DeclareSign(CVerbOptions&),
    DeclareVerifySignature(CVerbOptions&), DeclareArchiveSetting(CVerbOptions&);
int RunKeyCreate(const CVerbOptions&), RunKeyList(const CVerbOptions&),
    RunKeyRetire(const CVerbOptions&), RunSign(const CVerbOptions&),
    RunVerifySignature(const CVerbOptions&), RunArchiveSetting(const CVerbOptions&);
extern const char kUnitUsage[];
void DeclareUnitCreate(CVerbOptions&), DeclareUnitChange(CVerbOptions&),
    DeclareUnitCalibrate(CVerbOptions&), DeclareUnitList(CVerbOptions&),
    DeclareUnitShow(CVerbOptions&), DeclareUnitAssign(CVerbOptions&);
int RunUnitCreate(const CVerbOptions&), RunUnitChange(const CVerbOptions&),
    RunUnitCalibrate(const CVerbOptions&), RunUnitList(const CVerbOptions&),
    RunUnitShow(const CVerbOptions&), RunUnitAssign(const CVerbOptions&);
#ifdef SAROKO_CLI_HAS_GUI
extern const char kPrintGraphUsage[], kPrintListUsage[], kRenderUsage[];
void DeclarePrintGraph(CVerbOptions&), DeclarePrintList(CVerbOptions&),
    DeclareRender(CVerbOptions&);
int RunPrintGraph(const CVerbOptions&), RunPrintList(const CVerbOptions&),
    RunRender(const CVerbOptions&);
#endif

namespace {

// clang-format off
// The recorder's subcommands share its usage text, so their summaries are not shown.
const Verb kRecorderVerbs[] = {
    {"identify", "", kRecorderUsage, Paints::kNever, &DeclareNoFiles,          &RunIdentify},
    {"settings", "", kRecorderUsage, Paints::kNever, &DeclareNoFiles,          &RunSettings},
    {"download", "", kRecorderUsage, Paints::kNever, &DeclareRecorderDownload, &RunRecorderDownload},
    {"start",    "", kRecorderUsage, Paints::kNever, &DeclareRecorderStart,    &RunRecorderStart},
    {"stop",     "", kRecorderUsage, Paints::kNever, &DeclareNoFiles,          &RunStop},
    {"command",  "", kRecorderUsage, Paints::kNever, &DeclareCommand,          &RunCommand},
    {"ports",    "", kRecorderUsage, Paints::kNever, &DeclarePorts,            &RunPorts},
};

const Verb kArchiveVerbs[] = {
    {"list",   "", kArchiveUsage, Paints::kNever, &DeclareArchiveList,   &RunArchiveList},
    {"log",    "", kArchiveUsage, Paints::kWithPdf, &DeclareArchiveLog,  &RunArchiveLog},
    {"verify", "", kArchiveUsage, Paints::kNever, &DeclareArchiveVerify, &RunArchiveVerify},
    {"repair", "", kArchiveUsage, Paints::kNever, &DeclareArchiveRepair, &RunArchiveRepair},
    {"status", "", kArchiveUsage, Paints::kNever, &DeclareArchiveStatus, &RunArchiveStatus},
    {"push",   "", kArchiveUsage, Paints::kNever, &DeclareArchivePush,   &RunArchivePush},
    {"import", "", kArchiveUsage, Paints::kNever, &DeclareArchiveImport, &RunArchiveImport},
    {"setting", "", kSettingUsage, Paints::kNever, &DeclareArchiveSetting, &RunArchiveSetting},
};

const Verb kKeyVerbs[] = {
    {"create", "", kKeyUsage, Paints::kNever, &DeclareKeyCreate, &RunKeyCreate},
    {"list",   "", kKeyUsage, Paints::kNever, &DeclareKeyList,   &RunKeyList},
    {"retire", "", kKeyUsage, Paints::kNever, &DeclareKeyRetire, &RunKeyRetire},
};

const Verb kUnitVerbs[] = {
    {"create",    "", kUnitUsage, Paints::kNever, &DeclareUnitCreate,    &RunUnitCreate},
    {"change",    "", kUnitUsage, Paints::kNever, &DeclareUnitChange,    &RunUnitChange},
    {"calibrate", "", kUnitUsage, Paints::kNever, &DeclareUnitCalibrate, &RunUnitCalibrate},
    {"list",      "", kUnitUsage, Paints::kNever, &DeclareUnitList,      &RunUnitList},
    {"show",      "", kUnitUsage, Paints::kNever, &DeclareUnitShow,      &RunUnitShow},
    {"assign",    "", kUnitUsage, Paints::kNever, &DeclareUnitAssign,    &RunUnitAssign},
};

const Verb kVerbs[] = {
    {"archive",     "the recordings archive: list, log, verify, repair, status, push, import, setting", kArchiveUsage, Paints::kNever, nullptr, nullptr, kArchiveVerbs},
    {"demo",        "write a demo recording",                kDemoUsage,   Paints::kNever, &DeclareDemo,   &RunDemo},
    {"export",      "write data files as delimited text",    kExportUsage, Paints::kNever, &DeclareExport, &RunExport},
    {"save",        "save or convert to a native data file", kSaveUsage,   Paints::kNever, &DeclareSave,   &RunSave},
    {"info",        "describe data files",                   kInfoUsage,   Paints::kNever, &DeclareInfo,   &RunInfo},
    {"key",         "signing keys: create, list, retire",    kKeyUsage,    Paints::kNever, nullptr, nullptr, kKeyVerbs},
#ifdef SAROKO_CLI_HAS_GUI
    {"print-graph", "print the graph into a PDF file",       kPrintGraphUsage, Paints::kAlways, &DeclarePrintGraph, &RunPrintGraph},
    {"print-list",  "print the data list into a PDF file",   kPrintListUsage,  Paints::kAlways, &DeclarePrintList,  &RunPrintList},
#endif
    {"recorder",    "talk to the KM-41 recorder",            kRecorderUsage, Paints::kNever, nullptr, nullptr, kRecorderVerbs},
#ifdef SAROKO_CLI_HAS_GUI
    {"render",      "write the graph of data files as a PNG or PDF picture", kRenderUsage, Paints::kAlways, &DeclareRender, &RunRender},
#endif
    // Its PDF report paints; its --json figures do not.
    {"verify",      "say whether files are archived recordings", kVerifyUsage, Paints::kNever, &DeclareVerifyFiles, &RunVerifyFiles},
    {"sign",        "sign a report the program made",        kSignUsage,   Paints::kAlways, &DeclareSign, &RunSign},
    {"verify-signature", "check every signature of a report", kVerifySignatureUsage, Paints::kNever, &DeclareVerifySignature, &RunVerifySignature},
    {"unit",        "storage units: create, change, calibrate, list, show, assign", kUnitUsage, Paints::kNever, nullptr, nullptr, kUnitVerbs},
    {"report",      "report extremes, MKT and limit excursions (JSON or PDF)", kReportUsage, Paints::kWithOutput, &DeclareReport, &RunReport},
};
// clang-format on

} // namespace

std::span<const Verb> Verbs() {
    return kVerbs;
}

const Verb* FindVerb(std::span<const Verb> verbs, std::string_view name) {
    for (const Verb& v : verbs)
        if (name == v.name)
            return &v;
    return nullptr;
}

} // namespace saroko::cli
