#include "ui/base/HelpRequest.h"

namespace saroko::ui {
namespace {

HelpHandler& Handler() {
    static HelpHandler handler;
    return handler;
}

} // namespace

void RequestHelp(int topic) {
    if (Handler())
        Handler()(topic);
}

void SetHelpHandler(HelpHandler handler) {
    Handler() = std::move(handler);
}

} // namespace saroko::ui
