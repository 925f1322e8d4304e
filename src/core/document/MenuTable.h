#pragma once
// The menu bar and the accelerator table, as data: the UI builds its menus and shortcuts from
// these, so labels and keys live in one place.
#include <span>

namespace saroko {

struct MenuItem {
    enum Kind { kCommand, kSeparator, kSubmenu, kEnd };
    Kind kind;
    int id;            // command id (kCommand)
    const char* label; // UTF-8, with the access letter in parentheses
    const char* key;   // the key text shown after a tab, or nullptr
};

struct MenuDef {
    const char* title;
    std::span<const MenuItem> items; // a kSubmenu item is followed by its items up to kEnd
};

std::span<const MenuDef> MenuBar();

// One accelerator: modifier flags and a key, as the UI maps them.
struct Accelerator {
    enum Mod { kNone = 0, kCtrl = 1, kShift = 2, kAlt = 4 };
    enum Key {
        kKeyA,
        kKeyB,
        kKeyC,
        kKeyM,
        kKeyN,
        kKeyO,
        kKeyP,
        kKeyV,
        kKeyW,
        kKeyX,
        kKeyZ,
        kLeft,
        kRight,
        kUp,
        kDown,
        kInsert,
        kDelete,
        kBackspace,
        kF1,
        kF6,
        kF10
    };
    int mods;
    Key key;
    int id; // the command; ids without a handler make the key do nothing
};

std::span<const Accelerator> AcceleratorTable();

} // namespace saroko
