// Why a serial device will not open: the causes named for gathered facts, most direct first,
// and no noise about brltty or ModemManager while the adapter works.
#include <gtest/gtest.h>

#include "recorder/PortDiagnosis.h"

namespace saroko {
namespace {

using C = PortCause;

DeviceFacts Usb() {
    DeviceFacts d;
    d.path = "/dev/ttyUSB0";
    d.exists = d.accessible = d.usb = d.groupReadWrite = true;
    d.group = "dialout";
    return d;
}

TEST(PortDiagnosis, CausesForTheFacts) {
    struct Case {
        const char* what;
        DeviceFacts device;
        SystemFacts system;
        std::vector<C> causes;
    };
    SystemFacts quiet{"ken", false, false, false};
    SystemFacts busySystem{"ken", true, false, true};
    std::vector<Case> cases;
    cases.push_back({"works", Usb(), busySystem, {}});
    DeviceFacts d = Usb();
    d.accessible = false;
    cases.push_back({"not in the group", d, quiet, {C::kNotInGroup}});
    d.inGroupList = true;
    cases.push_back({"joined, not logged in again", d, quiet, {C::kGroupNotActive}});
    d.owner = true;
    cases.push_back({"the owner's own bits", d, quiet, {C::kNoPermission}});
    d.owner = false;
    d.groupReadWrite = false;
    cases.push_back({"the group may not open it either", d, quiet, {C::kNoPermission}});
    d = Usb();
    d.exists = false;
    cases.push_back({"unplugged, brltty installed",
                     d,
                     busySystem,
                     {C::kMissing, C::kBrltty, C::kModemManager}});
    d.usb = false;
    cases.push_back({"no such ttyS", d, busySystem, {C::kMissing}});
    d = Usb();
    d.holders = {{812, "ModemManager"}};
    cases.push_back({"probed", d, quiet, {C::kBusy, C::kModemManager}});
    for (const Case& c : cases) {
        std::vector<C> got;
        for (const PortFinding& f : DiagnosePort(c.device, c.system))
            got.push_back(f.cause);
        EXPECT_EQ(got, c.causes) << c.what;
    }
}

TEST(PortDiagnosis, FindingsCarryWhatTheTextsName) {
    DeviceFacts d = Usb();
    d.accessible = false;
    d.holders = {{4711, "minicom"}};
    const auto f = DiagnosePort(d, {"ken", false, false, false});
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].group, "dialout");
    EXPECT_EQ(f[0].user, "ken");
    ASSERT_EQ(f[1].holders.size(), 1u);
    EXPECT_EQ(f[1].holders[0].command, "minicom");
    EXPECT_EQ(BindingPathOf(d), "/dev/ttyUSB0");
    d.byIdPath = "/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0";
    EXPECT_EQ(BindingPathOf(d), d.byIdPath);
    // brltty leaves no adapter to look at: named for the list when no USB adapter shows.
    EXPECT_EQ(DiagnoseSystem({"ken", true, false, false}, false).size(), 1u);
    EXPECT_TRUE(DiagnoseSystem({"ken", true, false, false}, true).empty());
}

} // namespace
} // namespace saroko
