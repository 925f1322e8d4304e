// The local channel's line reader: a handed-over file name arrives as any bytes in pieces of
// any length (the input's bytes; each piece's length is the byte before it). The reader says
// "more" only while no LF came and the bytes are within the limit, gives the line when the
// first LF came within it, and gives up past it, whatever the pieces.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/text/LineGather.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace saroko;
    if (size == 0)
        return 0;
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    // Small limits reach their edges; the program's own is 64 KiB.
    const std::size_t maxLine = data[0] == 0xFF ? 64 * 1024 : data[0] % 64;
    std::string line, sent;
    for (std::size_t pos = 1; pos < in.size();) {
        const std::size_t n =
            std::min<std::size_t>(static_cast<uint8_t>(in[pos]), in.size() - pos - 1);
        const std::string_view piece = in.substr(pos + 1, n);
        pos += 1 + n;
        sent.append(piece);
        const LineStep step = GatherLine(line, piece, maxLine);
        const std::size_t lf = sent.find('\n');
        const std::size_t before = lf == std::string::npos ? sent.size() : lf;
        const LineStep expected = before > maxLine          ? LineStep::kTooLong
                                  : lf == std::string::npos ? LineStep::kMore
                                                            : LineStep::kLine;
        if (step != expected)
            __builtin_trap();
        if (step == LineStep::kMore && line != sent)
            __builtin_trap();
        if (step == LineStep::kLine && line != std::string_view(sent).substr(0, lf))
            __builtin_trap();
        if (step != LineStep::kMore)
            return 0;
    }
    return 0;
}
