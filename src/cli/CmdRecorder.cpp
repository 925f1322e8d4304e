// saroko-cli recorder: talk to a KM-41 on a serial port (or to km41-sim on a pseudo-terminal).
#include "cli/CmdRecorder.h"

#include <cstdio>
#include <filesystem>
#include <iostream>

#include "core/files/Utf8Path.h"
#include "core/messages/Translate.h"
#include "core/recorder/CommandTest.h"
#include "core/recorder/Download.h"
#include "core/recorder/RecordStart.h"
#include "platform/SerialPorts.h"
#include "platform/UserFolders.h"

namespace saroko::cli {

extern const char kRecorderUsage[] =
    "usage: saroko-cli recorder SUBCOMMAND [--port N | --device PATH] [--transcript FILE] ...\n"
    "  identify                      ask the recorder what it is\n"
    "  settings                      read its recording conditions\n"
    "  download [--into A,B] [--unit NAME] -o OUT.klg [FILE...]\n"
    "                                load FILEs as 'info' does, download into channels A and B\n"
    "                                (default: the first two free ones), save all to OUT.klg;\n"
    "                                the download belongs to the storage unit NAME\n"
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

namespace {

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

// identify and settings both begin by asking the recorder what it is.
struct Identified {
    RecorderLink link;
    std::unique_ptr<CRecorderComm> comm;
    uint8_t reply[4] = {};
    bool km41 = false;
};

// 0 with the answer in `id`, else the exit status (message printed).
int Identify(const CVerbOptions& o, Identified& id) {
    if (!SetUpLink(o, id.link))
        return kExitUsage;
    id.comm = std::make_unique<CRecorderComm>(id.link.services, 9600);
    if (const int r = id.comm->Open(); r < 0)
        return ExitFor(id.link, id.comm->ShowCommResult(r));
    uint8_t params[4] = {};
    if (id.comm->Execute(kExecIdentify, {params, id.reply}, Wake::First, ShowResult::OnFailure) !=
        0)
        return kExitFailed;
    id.km41 = id.reply[0] == kKm41IdentD0 && id.reply[1] == kKm41IdentD1;
    return 0;
}

} // namespace

void DeclareNoFiles(CVerbOptions& o) {
    AddLinkOptions(o);
    o.TakeNoFiles();
}

int RunIdentify(const CVerbOptions& o) {
    Identified id;
    if (const int status = Identify(o, id))
        return status;
    std::cout << (id.km41 ? std::string("KM-41") : TranslateText("Cli", "不明")) << " ("
              << Hex4(id.reply) << ")\n";
    if (!id.km41)
        PrintMessage(msg::kUnknownModel);
    return id.km41 ? kExitOk : kExitFailed;
}

int RunSettings(const CVerbOptions& o) {
    Identified id;
    if (const int status = Identify(o, id))
        return status;
    const uint32_t model = id.km41 ? kModelKm41 : 0;
    uint8_t params[4] = {}, reply[4] = {};
    RecorderSettings s;
    CommandBlock block{params, reply, &s};
    if (id.comm->Execute(kExecReadSettings, block, Wake::No, ShowResult::OnFailure) != 0)
        return kExitFailed;
    DownloadStatusTexts t = FormatDownloadStatus(s, model, s.startTime);
    // A recording started at the recorder has no start the recorder knows of: the dialog
    // empties its date fields and says so.
    RecordStartForm form;
    const bool manual = ApplyReceivedSettings(s, form);
    if (manual)
        t.start = kUnknownStart;
    const CliSession& session = *id.link.session;
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

int RunStop(const CVerbOptions& o) {
    RecorderLink link;
    if (!SetUpLink(o, link))
        return kExitUsage;
    return ExitFor(link, RunRecordStop(link.services));
}

void DeclareCommand(CVerbOptions& o) {
    AddLinkOptions(o);
    o.AddValue("msg");
}

int RunCommand(const CVerbOptions& o) {
    const std::vector<std::string>& f = o.Files();
    if (f.size() != 5)
        return o.Fail("command needs PRCNO and four parameter bytes");
    RecorderLink link;
    if (!SetUpLink(o, link))
        return kExitUsage;
    const CommandTestInput in =
        ParseCommandTestFields(f[0], {f[1], f[2], f[3], f[4]}, o.Value("msg").value_or("1"));
    std::array<uint8_t, 4> result{};
    const int r = RunCommandTest(link.services, in, result);
    std::cout << Hex4(result.data()) << "\n";
    return ExitFor(link, r);
}

void DeclarePorts(CVerbOptions& o) {
    o.TakeNoFiles();
}

int RunPorts(const CVerbOptions&) {
    auto session = OpenSession();
    const std::vector<SerialPortEntry> ports = ListSerialPorts(&session->store);
    if (ports.empty())
        std::cout << "no serial devices found\n";
    const auto notes = [](const std::vector<PortFinding>& findings, const std::string& path) {
        for (QString text : PortFindingTexts(findings, path))
            std::cout << "  ! "
                      << text.replace(QLatin1Char('\n'), QStringLiteral("\n    ")).toStdString()
                      << "\n";
    };
    for (const SerialPortEntry& p : ports) {
        std::cout << p.device;
        std::string com;
        for (int n : p.comNumbers) {
            if (!com.empty())
                com += ',';
            com += PortBindingEntry(n);
        }
        std::cout << "  " << (com.empty() ? "-" : com);
        std::cout << "  " << (p.description.empty() ? "(no description)" : p.description);
        if (!p.manufacturer.empty())
            std::cout << " [" << p.manufacturer << "]";
        if (p.hasUsbIds) {
            char ids[16];
            std::snprintf(ids, sizeof ids, "%04x:%04x", p.vendorId, p.productId);
            std::cout << "  usb " << ids;
        }
        std::cout << "  " << (p.findings.empty() ? "ok" : "no access") << "\n";
        // The by-id name stays with the adapter across replugging: bind to it.
        if (!p.byIdPath.empty())
            std::cout << "  by-id " << p.byIdPath << "\n";
        notes(p.findings, p.device);
    }
    notes(DiagnoseSerialSystem(ports), {});
    std::cout << "Bind a COM number to a device (to its by-id name when it has one) with the port\n"
                 "selection dialog of the program, or use --device PATH.\n";
    return kExitOk;
}

void AddLinkOptions(CVerbOptions& o) {
    o.AddValue("port");
    o.AddValue("device");
    o.AddValue("transcript");
}

int ExitFor(const RecorderLink& link, int result) {
    if (result == 0)
        return kExitOk;
    if (result >= COMM_BAD_SETTINGS && result < 0) {
        const std::string& device = link.services.port.device;
        std::cerr << device << ": " << link.serial.LastError() << "\n";
        if (result == COMM_OPEN_FAILED)
            for (const QString& text : PortFindingTexts(DiagnoseDevicePath(device), device))
                std::cerr << text.toStdString() << "\n";
    }
    return kExitFailed;
}

bool SetUpLink(const CVerbOptions& o, RecorderLink& link) {
    link.session = OpenSession();
    CZorvicDoc& doc = *link.session->doc;
    const auto port = o.Value("port");
    const auto device = o.Value("device");
    if (port && device) {
        o.Fail("--port and --device exclude each other");
        return false;
    }
    if (port) {
        int n = 0;
        if (!ParseStoredInt(*port, n) || n < 1 || n > 255) {
            o.Fail("--port: a COM number from 1");
            return false;
        }
        // A record start stores the port it used, as the window does.
        doc.m_nPortNo = static_cast<uint32_t>(n);
    }
    link.services.port = ResolvePort(static_cast<int>(doc.m_nPortNo), &link.session->store);
    link.kept = std::make_unique<CKeptTranscriptLine>(link.serial, TranscriptFolder());
    link.services.line = link.kept.get();
    link.services.transcript = link.kept.get();
    link.services.keepFolder = KeptDownloadsFolder();
    link.services.sink = &link.session->prompts;
    link.services.clock = &link.session->clock;
    if (device) {
        // A bare name is a device of the system ("ttyUSB0") unless the current folder holds
        // it, as a simulator's link usually is.
        std::error_code ec;
        const std::filesystem::path p = PathOfUtf8(*device);
        link.services.port.device = p.is_relative() && std::filesystem::exists(p, ec)
                                        ? Utf8OfPath(std::filesystem::absolute(p, ec))
                                        : *device;
    }
    if (const auto t = o.Value("transcript")) {
        link.transcriptFile.open(PathOfUtf8(*t), std::ios::out | std::ios::trunc);
        if (!link.transcriptFile) {
            o.Fail("cannot write the transcript " + *t);
            return false;
        }
        link.transcript = std::make_unique<CTranscriptLine>(*link.kept, link.transcriptFile);
        link.services.line = link.transcript.get();
    }
    return true;
}

} // namespace saroko::cli
