// saroko-cli recorder: talk to a KM-41 on a serial port (or to km41-sim on a pseudo-terminal).
#include "cli/CmdRecorder.h"

#include <cstdio>
#include <filesystem>
#include <iostream>

#include "core/messages/Translate.h"
#include "platform/SerialPorts.h"
#include "platform/UserFolders.h"
#include "core/recorder/CommandTest.h"
#include "core/recorder/Download.h"
#include "core/recorder/RecordStart.h"

namespace saroko::cli {
namespace {

const char kRecorderUsage[] =
    "usage: saroko-cli recorder SUBCOMMAND [--port N | --device PATH] [--transcript FILE] ...\n"
    "  identify                      ask the recorder what it is\n"
    "  settings                      read its recording conditions\n"
    "  download [--into A,B] -o OUT.klg [FILE...]\n"
    "                                load FILEs as 'info' does, download into channels A and B\n"
    "                                (default: the first two free ones), save all to OUT.klg\n"
    "  start --interval SECONDS --names NAME1,NAME2 [--endless] [--jpt100]\n"
    "        (--now | --at \"YYYY/MM/DD HH:MM:SS\")\n"
    "                                configure and start a recording\n"
    "  stop                          stop the recording\n"
    "  command PRCNO P0 P1 P2 P3 [--msg 0|1|2]\n"
    "                                run protocol command PRCNO with hex parameter bytes\n"
    "  ports                         list the serial devices and who may open them\n"
    "--port N opens COM N (the device bound to it in the settings, else /dev/ttyS<N-1>);\n"
    "without --port and --device the stored port number is used. --transcript writes every\n"
    "byte sent and received, with times, to FILE.\n";

int RunRecorder(const std::vector<std::string>& args);
const Verb kRecorderVerb{"recorder", "talk to the KM-41 recorder", kRecorderUsage, &RunRecorder};
const VerbRegistrar regRecorder{kRecorderVerb};

std::string Hex4(const uint8_t* d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02x %02x %02x %02x", d[0], d[1], d[2], d[3]);
    return buf;
}

// The start line's form, with the fields the recorder cannot tell.
const char kUnknownStart[] = "\?\?\?\?/\?\?/\?\? \?\?:\?\?'\?\?";

std::string Utf8Name(const CliSession& s, const std::string& cp932) {
    return s.codec.Cp932ToUtf8(cp932);
}

int RunIdentify(const Verb& verb, const std::vector<std::string>& args) {
    const Options o = ParseOptions(args, kLinkValueOptions, {});
    if (!o.error.empty() || !o.positional.empty())
        return UsageError(verb, o.error.empty() ? "identify takes no arguments" : o.error);
    RecorderLink link;
    if (!SetUpLink(verb, o, link)) return kExitUsage;
    CRecorderComm comm(link.services, 9600);
    int r = comm.Open();
    if (r < 0) return ExitFor(link, comm.ShowCommResult(r));
    uint8_t params[4] = {}, reply[4] = {};
    r = comm.Execute(kExecIdentify, {params, reply}, Wake::First, ShowResult::OnFailure);
    if (r != 0) return kExitFailed;
    const bool km41 = reply[0] == kKm41IdentD0 && reply[1] == kKm41IdentD1;
    std::cout << (km41 ? std::string("KM-41") : TranslateText("Cli", "不明")) << " (" << Hex4(reply)
              << ")\n";
    if (!km41) PrintMessage(msg::kUnknownModel);
    return km41 ? kExitOk : kExitFailed;
}

int RunSettings(const Verb& verb, const std::vector<std::string>& args) {
    const Options o = ParseOptions(args, kLinkValueOptions, {});
    if (!o.error.empty() || !o.positional.empty())
        return UsageError(verb, o.error.empty() ? "settings takes no arguments" : o.error);
    RecorderLink link;
    if (!SetUpLink(verb, o, link)) return kExitUsage;
    CRecorderComm comm(link.services, 9600);
    int r = comm.Open();
    if (r < 0) return ExitFor(link, comm.ShowCommResult(r));
    uint8_t params[4] = {}, reply[4] = {};
    if (comm.Execute(kExecIdentify, {params, reply}, Wake::First, ShowResult::OnFailure) != 0) return kExitFailed;
    const uint32_t model = reply[0] == kKm41IdentD0 && reply[1] == kKm41IdentD1 ? kModelKm41 : 0;
    RecorderSettings s;
    CommandBlock block{params, reply, &s};
    if (comm.Execute(kExecReadSettings, block, Wake::No, ShowResult::OnFailure) != 0) return kExitFailed;
    DownloadStatusTexts t = FormatDownloadStatus(s, model, s.startTime);
    // A recording started at the recorder has no start the recorder knows of: the dialog
    // empties its date fields and says so.
    RecordStartForm form;
    const bool manual = ApplyReceivedSettings(s, form);
    if (manual)
        t.start = kUnknownStart;
    const CliSession& session = *link.session;
    std::cout << TranslateText("Cli", "機種 : ") << t.model << "\n"
              << TranslateText("Cli", "ｹﾙﾌﾞﾗ Ch.1 : ") << Utf8Name(session, t.name1) << " "
              << t.unit << "\n"
              << TranslateText("Cli", "ｹﾙﾌﾞﾗ Ch.2 : ") << Utf8Name(session, t.name2) << " "
              << t.unit << "\n"
              << TranslateText("Cli", "開始日時 : ") << t.start << "\n"
              << TranslateText("Cli", "開始方法 : ") << t.startMode << "\n"
              << TranslateText("Cli", "記録ﾓｰﾄﾞ : ") << t.recordMode << "\n"
              << TranslateText("Cli", "ｾﾝｻ種類 : ") << t.sensor << "\n"
              << TranslateText("Cli", "記録間隔 : ") << t.interval << "\n";
    if (manual) {
        std::cout << std::flush;
        PrintMessage(msg::kManualStartUnknown);
    }
    return kExitOk;
}

int RunStop(const Verb& verb, const std::vector<std::string>& args) {
    const Options o = ParseOptions(args, kLinkValueOptions, {});
    if (!o.error.empty() || !o.positional.empty())
        return UsageError(verb, o.error.empty() ? "stop takes no arguments" : o.error);
    RecorderLink link;
    if (!SetUpLink(verb, o, link)) return kExitUsage;
    return ExitFor(link, RunRecordStop(link.services));
}

int RunCommand(const Verb& verb, const std::vector<std::string>& args) {
    std::vector<std::string> values = kLinkValueOptions;
    values.push_back("--msg");
    const Options o = ParseOptions(args, values, {});
    if (!o.error.empty()) return UsageError(verb, o.error);
    if (o.positional.size() != 5)
        return UsageError(verb, "command needs PRCNO and four parameter bytes");
    RecorderLink link;
    if (!SetUpLink(verb, o, link)) return kExitUsage;
    const std::string* msgMode = o.Value("--msg");
    const CommandTestInput in = ParseCommandTestFields(
        o.positional[0], {o.positional[1], o.positional[2], o.positional[3], o.positional[4]},
        msgMode ? *msgMode : "1");
    std::array<uint8_t, 4> result{};
    const int r =
        RunCommandTest(link.services, in, result);
    std::cout << Hex4(result.data()) << "\n";
    return ExitFor(link, r);
}

int RunPorts(const Verb& verb, const std::vector<std::string>& args) {
    const Options o = ParseOptions(args, {}, {});
    if (!o.error.empty() || !o.positional.empty())
        return UsageError(verb, o.error.empty() ? "ports takes no arguments" : o.error);
    auto session = OpenSession();
    const std::vector<SerialPortEntry> ports = ListSerialPorts(&session->store);
    if (ports.empty()) std::cout << "no serial devices found\n";
    const auto notes = [](const std::vector<PortFinding>& findings, const std::string& path) {
        for (QString text : PortFindingTexts(findings, path))
            std::cout << "  ! " << text.replace(QLatin1Char('\n'), QStringLiteral("\n    ")).toStdString()
                      << "\n";
    };
    for (const SerialPortEntry& p : ports) {
        std::cout << p.device;
        std::string com;
        for (int n : p.comNumbers)
            com += (com.empty() ? "" : ",") + std::string("COM") + std::to_string(n);
        std::cout << "  " << (com.empty() ? "-" : com);
        std::cout << "  " << (p.description.empty() ? "(no description)" : p.description);
        if (!p.manufacturer.empty()) std::cout << " [" << p.manufacturer << "]";
        if (p.hasUsbIds) {
            char ids[16];
            std::snprintf(ids, sizeof ids, "%04x:%04x", p.vendorId, p.productId);
            std::cout << "  usb " << ids;
        }
        std::cout << "  " << (p.findings.empty() ? "ok" : "no access") << "\n";
        // The by-id name stays with the adapter across replugging: bind to it.
        if (!p.byIdPath.empty()) std::cout << "  by-id " << p.byIdPath << "\n";
        notes(p.findings, p.device);
    }
    notes(DiagnoseSerialSystem(ports), {});
    std::cout << "Bind a COM number to a device (to its by-id name when it has one) with the port\n"
                 "selection dialog of the program, or use --device PATH.\n";
    return kExitOk;
}

struct SubVerb {
    const char* name;
    int (*run)(const Verb&, const std::vector<std::string>&);
};
const SubVerb kSubVerbs[] = {
    {"identify", &RunIdentify},   {"settings", &RunSettings}, {"download", &RunRecorderDownload},
    {"start", &RunRecorderStart}, {"stop", &RunStop},         {"command", &RunCommand},
    {"ports", &RunPorts},
};

int RunRecorder(const std::vector<std::string>& args) {
    if (args.empty()) return UsageError(kRecorderVerb, "which recorder subcommand?");
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    for (const SubVerb& s : kSubVerbs)
        if (args[0] == s.name) return s.run(kRecorderVerb, rest);
    return UsageError(kRecorderVerb, "unknown subcommand '" + args[0] + "'");
}

} // namespace

const std::vector<std::string> kLinkValueOptions = {"--port", "--device", "--transcript"};

int ExitFor(const RecorderLink& link, int result) {
    if (result == 0) return kExitOk;
    if (result >= COMM_BAD_SETTINGS && result < 0) {
        const std::string& device = link.services.port.device;
        std::cerr << device << ": " << link.serial.LastError() << "\n";
        if (result == COMM_OPEN_FAILED)
            for (const QString& text : PortFindingTexts(DiagnoseDevicePath(device), device))
                std::cerr << text.toStdString() << "\n";
    }
    return kExitFailed;
}

bool SetUpLink(const Verb& verb, const Options& o, RecorderLink& link) {
    link.session = OpenSession();
    CZorvicDoc& doc = *link.session->doc;
    const std::string* port = o.Value("--port");
    const std::string* device = o.Value("--device");
    if (port && device) {
        UsageError(verb, "--port and --device exclude each other");
        return false;
    }
    if (port) {
        int n = 0;
        if (!ParseStoredInt(*port, n) || n < 1 || n > 255) {
            UsageError(verb, "--port: a COM number from 1");
            return false;
        }
        // A record start stores the port it used, as the window does.
        doc.m_nPortNo = static_cast<uint32_t>(n);
    }
    link.services.port = ResolvePort(static_cast<int>(doc.m_nPortNo), &link.session->store);
    link.kept = std::make_unique<CKeptTranscriptLine>(link.serial, TranscriptFolder());
    link.services.line = link.kept.get();
    link.services.transcriptFile = link.kept->Path();
    link.services.keepFolder = KeptDownloadsFolder();
    link.services.sink = &link.session->prompts;
    link.services.clock = &link.session->clock;
    if (device) {
        // A bare name is a device of the system ("ttyUSB0") unless the current folder holds
        // it, as a simulator's link usually is.
        std::error_code ec;
        const std::filesystem::path p(*device);
        link.services.port.device = p.is_relative() && std::filesystem::exists(p, ec)
                                   ? std::filesystem::absolute(p, ec).string()
                                   : *device;
    }
    if (const std::string* t = o.Value("--transcript")) {
        link.transcriptFile.open(*t, std::ios::out | std::ios::trunc);
        if (!link.transcriptFile) {
            UsageError(verb, "cannot write the transcript " + *t);
            return false;
        }
        link.transcript = std::make_unique<CTranscriptLine>(*link.kept, link.transcriptFile);
        link.services.line = link.transcript.get();
    }
    return true;
}

} // namespace saroko::cli
