// The hidden command test's six text fields as a user may type them (one per input line),
// run against the simulated recorder on an in-memory line: the parsing and every command the
// numbers reach, including those outside the table.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/messages/StringTable.h"
#include "core/recorder/CommandTest.h"
#include "core/recorder/MemoryLine.h"
#include "sim/Km41Simulator.h"

namespace {

class CQuietSink final : public saroko::IMessageSink {
public:
    int ShowMessage(int, std::string_view) override { return saroko::kIdYes; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace saroko;
    std::array<std::string, 6> fields;
    std::size_t field = 0;
    for (std::size_t i = 0; i < size && field < fields.size(); ++i) {
        if (data[i] == '\n')
            ++field;
        else
            fields[field] += static_cast<char>(data[i]);
    }
    const CommandTestInput in =
        ParseCommandTestFields(fields[0], {fields[1], fields[2], fields[3], fields[4]}, fields[5]);
    for (std::size_t i = 0; i < 4; ++i)
        if (in.params[i] != ParseHexByte(fields[i + 1]))
            __builtin_trap();

    sim::SimOptions options;
    options.epoch = 1'210'000'000u;
    options.preload = 5;
    sim::CKm41Simulator recorder(options);
    CMemoryLine line(recorder);
    CMemoryLineClock clock(line, options.epoch);
    CQuietSink sink;
    CommServices services{&line, &sink, &clock, {1, "/dev/fuzz"}};
    std::array<uint8_t, 4> result{};
    const int r = RunCommandTest(services, in, result);
    if (r > 0)
        __builtin_trap(); // results are 0 or a negative code
    return 0;
}
