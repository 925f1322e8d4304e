// The Windows serial line: the port names it opens, a port that is not there, and, when the
// test run puts the simulated recorder on a COM port (SAROKO_SIM_PORT), whole exchanges over it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/document/ZorvicDoc.h"
#include "core/recorder/CommRig.h"
#include "core/recorder/Download.h"
#include "core/recorder/Protocol.h"
#include "core/recorder/RecorderComm.h"
#include "core/settings/SettingsStore.h"
#include "platform/Win32SerialLine.h"

namespace saroko {
namespace {

TEST(Win32SerialLine, PortNamesGoToTheDeviceNamespace) {
    const std::pair<const char*, const char*> cases[] = {
        {"COM1", "\\\\.\\COM1"},
        {"com12", "\\\\.\\COM12"},
        {"COM256", "\\\\.\\COM256"},
        {"\\\\.\\COM5", "\\\\.\\COM5"},
        {"COM", "COM"},
        {"COMX", "COMX"},
        {"COM1234", "COM1234"},
        {"LPT1", "LPT1"},
        {"COM3:", "COM3:"},
    };
    for (const auto& [device, path] : cases)
        EXPECT_EQ(CWin32SerialLine::DevicePath(device), path) << device;
}

TEST(Win32SerialLine, APortThatIsNotThereDoesNotOpen) {
    CWin32SerialLine line;
    EXPECT_EQ(line.Open("COM249", 9600), COMM_OPEN_FAILED);
    EXPECT_FALSE(line.IsOpen());
    EXPECT_FALSE(line.LastError().empty());
    uint8_t b = 0;
    EXPECT_FALSE(line.TryReadByte(b));
    EXPECT_EQ(line.WriteByte(0x35), -1);
    // A wait on a closed line is still a wait.
    const uint32_t t0 = line.TickCount();
    line.WaitForInput(50);
    EXPECT_GE(line.TickCount() - t0, 45u);
}

class SimulatedPort : public ::testing::Test {
protected:
    void SetUp() override {
        const char* port = std::getenv("SAROKO_SIM_PORT");
        if (!port || !*port)
            GTEST_SKIP() << "no simulated recorder on a COM port (SAROKO_SIM_PORT)";
        device = port;
    }
    CommServices Services(ISerialLine& line) {
        CommServices s;
        s.line = &line;
        s.sink = &sink;
        s.clock = &clock;
        s.port = {33, device};
        return s;
    }
    std::string device;
    test::CRecordingSink sink;
    SystemClock clock;
    CMemorySettingsStore store;
};

// The recorder answers its identity, and a waiting line wakes on the reply rather than at
// the end of its time-out.
TEST_F(SimulatedPort, IdentifiesAndWakesOnTheReply) {
    int pumps = 0;
    CWin32SerialLine line([&pumps] { ++pumps; });
    CRecorderComm comm(Services(line), 9600);
    ASSERT_EQ(comm.Open(), COMM_OK) << line.LastError();
    uint8_t params[8] = {}, reply[8] = {};
    const uint32_t t0 = line.TickCount();
    ASSERT_EQ(comm.Execute(kExecIdentify, {params, reply}, Wake::First, ShowResult::Never), 0);
    EXPECT_EQ(std::pair(reply[0], reply[1]), std::pair(uint8_t{4}, uint8_t{20}));
    EXPECT_LT(line.TickCount() - t0, 3000u);
    EXPECT_GT(pumps, 0);
    // Nothing is left over once the exchange is done; a silent wait lasts its time and keeps
    // the windows painting all along, a slice at a time.
    uint8_t b = 0;
    EXPECT_FALSE(line.TryReadByte(b));
    pumps = 0;
    const uint32_t t1 = line.TickCount();
    line.WaitForInput(200);
    EXPECT_GE(line.TickCount() - t1, 190u);
    EXPECT_GE(pumps, 5);
}

// A whole download over the port at the wire's own pace: every record the recorder holds, in
// both channels.
TEST_F(SimulatedPort, DownloadsEveryRecord) {
    CWin32SerialLine line;
    CZorvicDoc doc{store, clock};
    doc.OnNewDocument();
    test::CRecordingOwner owner;
    ASSERT_EQ(CRecorderDownload(Services(line), doc, owner).Run(1, 2), COMM_OK)
        << line.LastError() << " messages: " << sink.ids.size();
    EXPECT_EQ(doc.GetChannel(1)->sampleCount, 300u);
    EXPECT_EQ(doc.GetChannel(2)->sampleCount, 300u);
}

} // namespace
} // namespace saroko
