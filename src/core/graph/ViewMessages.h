#pragma once
// Messages the legend pane and the data list window send to the graph view, with their
// parameters: a word (channel, packed rows or span) and a long (a time).
#include <cstdint>

namespace saroko {

inline constexpr int kWmUser = 0x400;
inline constexpr int UM_TOGGLE_SHOW = kWmUser + 4;     // word: channel
inline constexpr int UM_EDIT_CONDITIONS = kWmUser + 6; // no parameters
inline constexpr int UM_MOVE_CHANNEL = kWmUser + 11;   // word: target row + 10 x source row
inline constexpr int UM_JUMP_TO_MAX = kWmUser + 12;    // word: channel
inline constexpr int UM_JUMP_TO_MIN = kWmUser + 13;    // word: channel
inline constexpr int UM_LIST_RANGE = kWmUser + 14;     // word: span in seconds; long: first time

struct ViewMessage {
    int message = 0;
    uint32_t word = 0;
    int64_t param = 0;
    bool operator==(const ViewMessage&) const = default;
};

} // namespace saroko
