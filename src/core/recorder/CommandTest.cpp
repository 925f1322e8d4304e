#include "core/recorder/CommandTest.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

namespace saroko {

int ParseLeadingDecimal(std::string_view text) {
    const std::string s(text);
    errno = 0;
    const long v = std::strtol(s.c_str(), nullptr, 10);
    // atoi's overflow is undefined; clamping keeps a long digit run harmless.
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return static_cast<int>(v);
}

uint8_t ParseHexByte(std::string_view text) {
    const std::string s(text);
    return static_cast<uint8_t>(std::strtol(s.c_str(), nullptr, 16) & 0xFF);
}

CommandTestInput ParseCommandTestFields(std::string_view prcNo,
                                        const std::array<std::string, 4>& prm,
                                        std::string_view msg) {
    CommandTestInput in;
    in.command = ParseLeadingDecimal(prcNo);
    for (std::size_t i = 0; i < 4; ++i)
        in.params[i] = ParseHexByte(prm[i]);
    in.messageMode = ParseLeadingDecimal(msg);
    return in;
}

int RunCommandTest(const CommServices& services, const CommandTestInput& input,
                   std::array<uint8_t, 4>& result) {
    result = {};
    CRecorderComm comm(services, 9600);
    if (const int r = comm.Open(); r < 0)
        return comm.ShowCommResult(r);
    std::array<uint8_t, 4> params = input.params;
    RecorderSettings settings{};
    std::array<uint32_t, 16> words{};
    // Only the downloads fill the buffer, and they read it only up to what they received.
    const bool download = input.command == kExecDownload || input.command == kExecDownloadPaced;
    const std::unique_ptr<uint8_t[]> buffer =
        download ? std::make_unique_for_overwrite<uint8_t[]>(kDownloadBufferSize) : nullptr;
    CommandBlock block;
    block.params = params.data();
    block.reply = result.data();
    block.data = &settings;
    block.words = &words;
    block.buffer = buffer.get();
    return comm.Execute(input.command, block, Wake::First, ShowResultFromCode(input.messageMode));
}

} // namespace saroko
