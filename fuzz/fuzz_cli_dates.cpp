// The command line's --from/--to/--at texts: any bytes. An accepted text names a time that
// prints and reads back as itself, and its fields pass the dialogs' calendar rule.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/document/LocalDateTime.h"
#include "core/text/DateFields.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace saroko;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    uint32_t t = 0;
    if (!ParseLocalDateTime(text, t))
        return 0;
    uint32_t again = 0;
    const std::string shown = FormatLocalDateTime(t);
    if (!ParseLocalDateTime(shown, again) || again != t)
        __builtin_trap();
    CalendarFields f;
    if (!ToCalendarFields(t, f))
        __builtin_trap();
    // Years beyond the dialogs' range are the dialogs' business; inside it the rule agrees.
    if (f.year >= kFirstYear && f.year <= kLastYear &&
        CheckDateFields(f.year, f.month, f.day, f.hour, f.minute, f.second) != kDateOk)
        __builtin_trap();
    return 0;
}
