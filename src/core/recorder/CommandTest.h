#pragma once
// The hidden command test: any of the sixteen commands with four raw parameter bytes.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/recorder/RecorderComm.h"

namespace saroko {

struct CommandTestInput {
    int command = 0;
    std::array<uint8_t, 4> params{};
    int messageMode = 1;
};

// Decimal with C's leading-digits rule: "12ab" is 12, "ab" is 0.
int ParseLeadingDecimal(std::string_view text);
// Hexadecimal with the same rule, kept to its low 8 bits: "1FF" is 0xFF.
uint8_t ParseHexByte(std::string_view text);
CommandTestInput ParseCommandTestFields(std::string_view prcNo,
                                        const std::array<std::string, 4>& prm,
                                        std::string_view msg);

// Opens the port, runs the command with a wake-up and returns its code; `result` gets d0..d3.
// Commands that need a settings block, words or a download buffer get scratch storage.
int RunCommandTest(const CommServices& services, const CommandTestInput& input,
                   std::array<uint8_t, 4>& result);

} // namespace saroko
