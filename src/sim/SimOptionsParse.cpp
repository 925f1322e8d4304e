#include "sim/SimOptionsParse.h"

#include <QCommandLineParser>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include "core/document/ChannelRecord.h"
#include "core/document/ZorvicDoc.h"
#include "core/recorder/Protocol.h"
#include "platform/CommandLine.h"

namespace saroko::sim {

const char* const kSimUsage =
    "usage: km41-sim [OPTIONS]\n"
    "Serves a simulated KM-41 recorder on a pseudo-terminal until killed; prints the device.\n"
    "  --link PATH          also make PATH a symlink to the device\n"
    "  --port COMn          on Windows: serve on this COM port, one end of a null-modem pair\n"
    "  --paced              send and receive at the real 9600 baud (default: full speed)\n"
    "  --preload N          N records already recorded (up to 8000; more wrap in endless mode)\n"
    "  --start-mode M       how the preloaded recording began: now, delayed or manual\n"
    "  --interval S         recording interval in seconds (one of the recorder's 15)\n"
    "  --names A,B          channel names (at most 8 bytes each)\n"
    "  --endless            endless recording mode\n"
    "  --jpt100             JPt100 sensor (default: Pt100)\n"
    "  --model D0,D1        identify as another model (KM-41: 4,20)\n"
    "faults:\n"
    "  --silent             answer nothing\n"
    "  --refuse             answer 0x09 to every status command\n"
    "  --cut-after N        stop every reply after N bytes\n"
    "  --bad-check          spoil the check value of replies\n"
    "  --fault-cmd CODE     only replies to this wire code (e.g. 0x11) are spoiled\n"
    "  --fault-times K      only the first K of them\n"
    "  --verbose            log frames on stderr\n"
    "  --help, -h           this text\n"
    "  --version            print the program's version\n";

namespace {

bool ToU32(const std::string& s, uint32_t& v) {
    if (s.empty())
        return false;
    char* end = nullptr;
    const unsigned long x = std::strtoul(s.c_str(), &end, 0);
    if (*end != '\0' || x > 0xFFFFFFFFUL)
        return false;
    v = static_cast<uint32_t>(x);
    return true;
}

// What one option does with its value (empty for a flag); false with `error` set.
struct Apply {
    const std::string& name;
    const std::string& value;
    SimCommandLine& out;
    const ITextCodec& codec;
    std::string& error;

    bool Fail(const std::string& text) {
        error = text;
        return false;
    }
    bool Number(uint32_t& n) {
        return ToU32(value, n) || Fail("--" + name + ": not a number: " + value);
    }
};

struct SimOption {
    const char* name;
    bool takesValue;
    bool (*apply)(Apply& a);
};

SimOptions& Opt(Apply& a) {
    return a.out.options;
}

// clang-format off
const SimOption kOptions[] = {
    {"link",     true,  [](Apply& a) { a.out.link = a.value; return true; }},
    {"port",     true,  [](Apply& a) { a.out.port = a.value; return true; }},
    {"paced",    false, [](Apply& a) { Opt(a).paced = true; return true; }},
    {"verbose",  false, [](Apply& a) { a.out.verbose = true; return true; }},
    {"preload",  true,  [](Apply& a) { return a.Number(Opt(a).preload); }},
    {"start-mode", true, [](Apply& a) {
        const struct { const char* name; uint8_t code; } modes[] = {{"now", 0x30}, {"delayed", 0x31}, {"manual", 0}};
        for (const auto& m : modes)
            if (a.value == m.name) {
                Opt(a).preloadStartMode = m.code;
                return true;
            }
        return a.Fail("--start-mode: now, delayed or manual");
    }},
    {"interval", true,  [](Apply& a) {
        uint32_t n = 0;
        if (!a.Number(n)) return false;
        if (IntervalIndex(n) < 0) return a.Fail("--interval: not one of the recorder's intervals");
        Opt(a).settings.intervalSec = static_cast<uint16_t>(n);
        return true;
    }},
    {"names",    true,  [](Apply& a) {
        const std::size_t comma = a.value.find(',');
        // The recorder holds CP932 bytes, as the program writes and reads them.
        const std::string n1 = a.codec.Utf8ToCp932(a.value.substr(0, comma));
        const std::string n2 = comma == std::string::npos ? "" : a.codec.Utf8ToCp932(a.value.substr(comma + 1));
        if (n1.size() > 8 || n2.size() > 8) return a.Fail("--names: at most 8 bytes each");
        RecorderSettings& s = Opt(a).settings;
        std::memset(s.chanName1, 0, 8);
        std::memset(s.chanName2, 0, 8);
        std::memcpy(s.chanName1, n1.data(), n1.size());
        std::memcpy(s.chanName2, n2.data(), n2.size());
        return true;
    }},
    {"endless",  false, [](Apply& a) { Opt(a).settings.flags |= RecorderSettings::kFlagEndless; return true; }},
    {"jpt100",   false, [](Apply& a) { Opt(a).settings.flags |= RecorderSettings::kFlagJPt100; return true; }},
    {"model",    true,  [](Apply& a) {
        unsigned d0 = 0, d1 = 0;
        char extra = 0;
        if (std::sscanf(a.value.c_str(), "%u,%u%c", &d0, &d1, &extra) != 2 || d0 > 255 || d1 > 255)
            return a.Fail("--model: two bytes, e.g. 4,21");
        Opt(a).identD0 = static_cast<uint8_t>(d0);
        Opt(a).identD1 = static_cast<uint8_t>(d1);
        return true;
    }},
    {"silent",   false, [](Apply& a) { Opt(a).fault = FaultKind::Silence; return true; }},
    {"refuse",   false, [](Apply& a) { Opt(a).fault = FaultKind::Refuse; return true; }},
    {"cut-after", true, [](Apply& a) {
        Opt(a).fault = FaultKind::CutOff;
        return a.Number(Opt(a).cutAfter);
    }},
    {"bad-check", false, [](Apply& a) { Opt(a).fault = FaultKind::BadCheck; return true; }},
    {"fault-cmd", true, [](Apply& a) {
        uint32_t n = 0;
        if (!a.Number(n)) return false;
        if (n > 255) return a.Fail("--fault-cmd: a byte");
        Opt(a).faultCommand = static_cast<uint8_t>(n);
        return true;
    }},
    {"fault-times", true, [](Apply& a) { return a.Number(Opt(a).faultTimes); }},
};
// clang-format on

} // namespace

bool ParseSimCommandLine(const std::vector<std::string>& args, SimCommandLine& out,
                         std::string& error, const ITextCodec* codec) {
    const CBasicCp932Codec basic;
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions({help, version});
    for (const SimOption& o : kOptions)
        parser.addOption(o.takesValue ? QCommandLineOption(QLatin1String(o.name), QString(),
                                                           QStringLiteral("VALUE"))
                                      : QCommandLineOption(QLatin1String(o.name)));
    const bool parsed = parser.parse(ParserArguments("km41-sim", args));
    out.help = parser.isSet(help);
    out.version = parser.isSet(version);
    if (out.help || out.version)
        return true;
    if (!parsed) {
        error = ParseProblem(parser);
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = "unknown option " + ArgumentBytes(parser.positionalArguments().first());
        return false;
    }
    // In the order given, so that a later fault option overrides an earlier one.
    std::map<QString, qsizetype> seen;
    for (const QString& name : parser.optionNames()) {
        const std::string key = name.toStdString();
        const SimOption* o = nullptr;
        for (const SimOption& candidate : kOptions)
            if (key == candidate.name)
                o = &candidate;
        if (!o)
            continue; // help and version
        const std::string value =
            o->takesValue ? ArgumentBytes(parser.values(name).at(seen[name]++)) : std::string();
        Apply a{key, value, out, codec ? *codec : basic, error};
        if (!o->apply(a))
            return false;
    }
    SimOptions& o = out.options;
    if (o.preload > kMaxRecords && !(o.settings.flags & RecorderSettings::kFlagEndless)) {
        error = "--preload: at most 8000 records in one-time mode";
        return false;
    }
    return true;
}

} // namespace saroko::sim
