// Port selection: the chosen number, the device each number opens, bindings kept until "OK";
// and the download progress bar's filled width.
#include <gtest/gtest.h>

#include "core/TestSupport.h"
#include "recorder/Download.h"
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

TEST(DownloadProgress, FilledWidth) {
    // clang-format off
    struct Case { int width, progress, steps, expect; } cases[] = {
        {285, 0, 20, 0},    {285, 1, 20, 14},   {285, 10, 20, 142}, {285, 20, 20, 285},
        {190, 20, 20, 190}, {285, 25, 20, 285}, {285, -1, 20, 0},   {285, 5, 0, 0},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(ProgressFillWidth(c.width, c.progress, c.steps), c.expect)
            << c.width << " " << c.progress << "/" << c.steps;
}

} // namespace
} // namespace saroko::test
