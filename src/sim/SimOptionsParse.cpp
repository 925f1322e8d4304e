#include "sim/SimOptionsParse.h"

#include <cstdlib>
#include <cstring>

#include "core/document/ChannelRecord.h"
#include "core/document/ZorvicDoc.h"
#include "core/recorder/Protocol.h"

namespace saroko::sim {

const char* const kSimUsage =
    "usage: km41-sim [OPTIONS]\n"
    "Serves a simulated KM-41 recorder on a pseudo-terminal until killed; prints the device.\n"
    "  --link PATH          also make PATH a symlink to the device\n"
    "  --paced              send and receive at the real 9600 baud (default: full speed)\n"
    "  --preload N          N records already recorded (up to 8000; more wrap in endless mode)\n"
    "  --start-mode M       how the preloaded recording began: now, delayed or manual\n"
    "  --interval S         recording interval in seconds (one of the recorder's 15)\n"
    "  --names A,B          channel names (at most 8 bytes each)\n"
    "  --endless            endless recording mode     --jpt100   JPt100 sensor\n"
    "  --model D0,D1        identify as another model (KM-41: 4,20)\n"
    "faults:\n"
    "  --silent             answer nothing\n"
    "  --refuse             answer 0x09 to every status command\n"
    "  --cut-after N        stop every reply after N bytes\n"
    "  --bad-check          spoil the check value of replies\n"
    "  --fault-cmd CODE     only replies to this wire code (e.g. 0x11) are spoiled\n"
    "  --fault-times K      only the first K of them\n"
    "  --verbose            log frames on stderr\n";

namespace {

bool ToU32(const std::string& s, uint32_t& v) {
    if (s.empty()) return false;
    char* end = nullptr;
    const unsigned long x = std::strtoul(s.c_str(), &end, 0);
    if (*end != '\0' || x > 0xFFFFFFFFUL) return false;
    v = static_cast<uint32_t>(x);
    return true;
}

} // namespace

bool ParseSimCommandLine(const std::vector<std::string>& args, SimCommandLine& out,
                         std::string& error, const ITextCodec* codec) {
    const CBasicCp932Codec basic;
    if (!codec)
        codec = &basic;
    SimOptions& o = out.options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& v) {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return false;
            }
            v = args[++i];
            return true;
        };
        auto number = [&](uint32_t& n) {
            std::string v;
            if (!value(v)) return false;
            if (!ToU32(v, n)) {
                error = a + ": not a number: " + v;
                return false;
            }
            return true;
        };
        std::string v;
        uint32_t n = 0;
        if (a == "--link") {
            if (!value(out.link)) return false;
        } else if (a == "--paced") {
            o.paced = true;
        } else if (a == "--verbose") {
            out.verbose = true;
        } else if (a == "--preload") {
            if (!number(o.preload)) return false;
        } else if (a == "--start-mode") {
            if (!value(v)) return false;
            if (v == "now")
                o.preloadStartMode = 0x30;
            else if (v == "delayed")
                o.preloadStartMode = 0x31;
            else if (v == "manual")
                o.preloadStartMode = 0;
            else {
                error = "--start-mode: now, delayed or manual";
                return false;
            }
        } else if (a == "--interval") {
            if (!number(n)) return false;
            if (IntervalIndex(n) < 0) {
                error = "--interval: not one of the recorder's intervals";
                return false;
            }
            o.settings.intervalSec = static_cast<uint16_t>(n);
        } else if (a == "--names") {
            if (!value(v)) return false;
            const std::size_t comma = v.find(',');
            // The recorder holds CP932 bytes, as the program writes and reads them.
            const std::string n1 = codec->Utf8ToCp932(v.substr(0, comma));
            const std::string n2 =
                comma == std::string::npos ? "" : codec->Utf8ToCp932(v.substr(comma + 1));
            if (n1.size() > 8 || n2.size() > 8) {
                error = "--names: at most 8 bytes each";
                return false;
            }
            std::memset(o.settings.chanName1, 0, 8);
            std::memset(o.settings.chanName2, 0, 8);
            std::memcpy(o.settings.chanName1, n1.data(), n1.size());
            std::memcpy(o.settings.chanName2, n2.data(), n2.size());
        } else if (a == "--endless") {
            o.settings.flags |= RecorderSettings::kFlagEndless;
        } else if (a == "--jpt100") {
            o.settings.flags |= RecorderSettings::kFlagJPt100;
        } else if (a == "--model") {
            if (!value(v)) return false;
            unsigned d0 = 0, d1 = 0;
            char extra = 0;
            if (std::sscanf(v.c_str(), "%u,%u%c", &d0, &d1, &extra) != 2 || d0 > 255 || d1 > 255) {
                error = "--model: two bytes, e.g. 4,21";
                return false;
            }
            o.identD0 = static_cast<uint8_t>(d0);
            o.identD1 = static_cast<uint8_t>(d1);
        } else if (a == "--silent") {
            o.fault = FaultKind::Silence;
        } else if (a == "--refuse") {
            o.fault = FaultKind::Refuse;
        } else if (a == "--cut-after") {
            if (!number(o.cutAfter)) return false;
            o.fault = FaultKind::CutOff;
        } else if (a == "--bad-check") {
            o.fault = FaultKind::BadCheck;
        } else if (a == "--fault-cmd") {
            if (!number(n)) return false;
            if (n > 255) {
                error = "--fault-cmd: a byte";
                return false;
            }
            o.faultCommand = static_cast<uint8_t>(n);
        } else if (a == "--fault-times") {
            if (!number(o.faultTimes)) return false;
        } else {
            error = "unknown option " + a;
            return false;
        }
    }
    if (o.preload > kMaxRecords && !(o.settings.flags & RecorderSettings::kFlagEndless)) {
        error = "--preload: at most 8000 records in one-time mode";
        return false;
    }
    return true;
}

} // namespace saroko::sim
