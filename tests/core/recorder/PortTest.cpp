// Port selection: the chosen number, the device each number opens, bindings kept until "OK";
// why a serial device will not open: the causes named for gathered facts, most direct first,
// and no noise about brltty or ModemManager while the adapter works.
#include <gtest/gtest.h>

#include "core/TestSupport.h"
#include "recorder/PortDiagnosis.h"
#include "recorder/PortSelect.h"
#include "recorder/SerialLine.h"

namespace saroko::test {
namespace {

class PortSelectTest : public DocTest {};

TEST_F(PortSelectTest, RadioIndexFromTheStoredNumber) {
    struct Case {
        int portNo, index;
    } cases[] = {{1, 0}, {3, 2}, {9, 8}, {10, -1}, {0, -1}, {-4, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(CPortSelection(store, c.portNo).Index(), c.index) << c.portNo;
}

TEST_F(PortSelectTest, BindingsShowAtOnceAndReachTheStoreOnlyOnApply) {
    store.WriteString(kRecorderCommSection, "COM4", "/dev/ttyACM0");
    CPortSelection sel(store, 1);
    EXPECT_EQ(sel.DeviceOf(1), DefaultPortDevice(1));
    EXPECT_EQ(sel.DeviceOf(4), "/dev/ttyACM0");
    EXPECT_TRUE(sel.IsBound(4));

    sel.Bind(2, "/dev/ttyUSB0");
    sel.Bind(4, "");                   // back to the usual device
    sel.Bind(5, DefaultPortDevice(5)); // the usual device itself is no binding
    sel.SetIndex(1);
    EXPECT_EQ(sel.DeviceOf(2), "/dev/ttyUSB0");
    EXPECT_EQ(sel.DeviceOf(4), DefaultPortDevice(4));
    EXPECT_FALSE(sel.IsBound(5));
    // Nothing written yet: a cancelled dialog leaves the store as it was.
    EXPECT_EQ(store.GetString(kRecorderCommSection, "COM2", ""), "");
    EXPECT_EQ(PortDeviceName(4, &store), "/dev/ttyACM0");

    sel.Apply(doc);
    EXPECT_EQ(doc.m_nPortNo, 2u);
    EXPECT_EQ(store.GetInt(kRecorderCommSection, "PortNo", 0), 2);
    EXPECT_EQ(PortDeviceName(2, &store), "/dev/ttyUSB0");
    EXPECT_EQ(PortDeviceName(4, &store), DefaultPortDevice(4));
    EXPECT_FALSE(store.Has(kRecorderCommSection, "COM5"));
}

TEST_F(PortSelectTest, OkWithoutAChoiceKeepsTheNumber) {
    // COM12 can be bound to a device here, so a stored 12 works and must survive an "OK"
    // on a dialog that shows no button for it.
    doc.m_nPortNo = 12;
    CPortSelection sel(store, 12);
    ASSERT_EQ(sel.Index(), -1);
    sel.Apply(doc);
    EXPECT_EQ(doc.m_nPortNo, 12u);
    EXPECT_EQ(store.GetInt(kRecorderCommSection, "PortNo", 0), 12);
}

using C = PortCause;

DeviceFacts Usb() {
    DeviceFacts d;
    d.path = "/dev/ttyUSB0";
    d.exists = d.accessible = d.usb = d.groupReadWrite = true;
    d.group = "dialout";
    return d;
}

TEST(PortDiagnosis, CausesForTheFacts) {
    // The USB adapter with some of its facts changed; a busy system runs brltty and
    // ModemManager.
    struct Case {
        const char* what;
        bool exists, accessible, usb, inGroupList, owner, groupReadWrite, busySystem;
        const char* holder;
        std::vector<C> causes;
    } cases[] = {
        // clang-format off
        {"works", true, true, true, false, false, true, true, nullptr, {}},
        {"not in the group", true, false, true, false, false, true, false, nullptr, {C::kNotInGroup}},
        {"joined, not logged in again", true, false, true, true, false, true, false, nullptr, {C::kGroupNotActive}},
        {"the owner's own bits", true, false, true, true, true, true, false, nullptr, {C::kNoPermission}},
        {"the group may not open it either", true, false, true, true, false, false, false, nullptr, {C::kNoPermission}},
        {"unplugged, brltty installed", false, true, true, false, false, true, true, nullptr, {C::kMissing, C::kBrltty, C::kModemManager}},
        {"no such ttyS", false, true, false, false, false, true, true, nullptr, {C::kMissing}},
        {"probed", true, true, true, false, false, true, false, "ModemManager", {C::kBusy, C::kModemManager}},
        // clang-format on
    };
    for (const Case& c : cases) {
        DeviceFacts d = Usb();
        d.exists = c.exists;
        d.accessible = c.accessible;
        d.usb = c.usb;
        d.inGroupList = c.inGroupList;
        d.owner = c.owner;
        d.groupReadWrite = c.groupReadWrite;
        if (c.holder)
            d.holders = {{812, c.holder}};
        std::vector<C> got;
        for (const PortFinding& f : DiagnosePort(d, {"ken", c.busySystem, false, c.busySystem}))
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
} // namespace saroko::test
