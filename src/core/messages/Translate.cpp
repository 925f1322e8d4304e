#include "messages/Translate.h"

#include <atomic>

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

} // namespace saroko
