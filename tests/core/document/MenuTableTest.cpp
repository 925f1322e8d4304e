#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "document/MenuTable.h"

namespace saroko {
namespace {

std::string KeyText(const Accelerator& a) {
    static const char* names[] = {"A", "B", "C", "M", "N", "O", "P", "V", "W", "X", "Z",
                                  "←", "→", "↑", "↓", "Insert", "Delete", "Backspace",
                                  "F1", "F6", "F10"};
    std::string s;
    if (a.mods & Accelerator::kCtrl)
        s += "Ctrl+";
    if (a.mods & Accelerator::kAlt)
        s += "Alt+";
    if (a.mods & Accelerator::kShift)
        s += "Shift+";
    return s + names[a.key];
}

// Every key text shown in a menu is backed by an accelerator for the same command, and no
// key is bound twice.
TEST(MenuTable, ShownKeysMatchTheAcceleratorTable) {
    std::map<std::string, int> keys;
    for (const Accelerator& a : AcceleratorTable())
        EXPECT_TRUE(keys.emplace(KeyText(a), a.id).second) << KeyText(a);
    std::set<int> ids;
    int depth = 0, shown = 0;
    for (const MenuDef& m : MenuBar()) {
        for (const MenuItem& item : m.items) {
            if (item.kind == MenuItem::kSubmenu)
                ++depth;
            if (item.kind == MenuItem::kEnd)
                --depth;
            if (item.kind != MenuItem::kCommand)
                continue;
            EXPECT_TRUE(ids.insert(item.id).second) << item.id;
            if (item.id != 57616) { // the recent-file placeholder has no access letter
                EXPECT_NE(std::string(item.label).find('('), std::string::npos) << item.label;
            }
            if (item.key) {
                ++shown;
                ASSERT_TRUE(keys.count(item.key)) << item.key;
                EXPECT_EQ(keys[item.key], item.id) << item.key;
            }
        }
        EXPECT_EQ(depth, 0) << m.title;
    }
    EXPECT_EQ(MenuBar().size(), 6u);
    EXPECT_EQ(shown, 15);
    EXPECT_EQ(keys["Ctrl+Insert"], 57634);
    EXPECT_EQ(keys["Ctrl+N"], 57600);
    // The command test keeps its key and has one that Linux desktops leave to the program.
    EXPECT_EQ(keys["Ctrl+Alt+F10"], 32810);
    EXPECT_EQ(keys["Ctrl+Shift+F10"], 32810);
}

} // namespace
} // namespace saroko
