#include "core/messages/Translate.h"

#include <atomic>
#include <cstring>
#include <string_view>

namespace saroko {
namespace {
std::atomic<TranslateFn> g_translate{nullptr};
} // namespace

void SetTranslateFn(TranslateFn fn) {
    g_translate.store(fn);
}

std::string TranslateText(const char* context, const char* text) {
    const TranslateFn fn = g_translate.load();
    return fn ? fn(context, text) : std::string(text);
}

namespace {
// The conversion letters of a format, "%%" left out.
std::string Conversions(std::string_view format) {
    std::string letters;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%')
            continue;
        std::size_t j = i + 1;
        while (j < format.size() && std::strchr("-+ #0123456789.hlLqjzt", format[j]))
            ++j;
        if (j < format.size() && format[j] != '%')
            letters += format[j];
        i = j;
    }
    return letters;
}
} // namespace

std::string TranslateFormat(const char* context, const char* format) {
    std::string shown = TranslateText(context, format);
    if (Conversions(shown) != Conversions(format))
        return format;
    return shown;
}

} // namespace saroko
