#include "core/messages/HelpTopics.h"

namespace saroko {
namespace {

struct TopicPage {
    int topic;
    const char* page;
};

// clang-format off
constexpr TopicPage kPages[] = {
    {1341450,  "download"},     {1331210,  "record-start"}, {2631690,  "port-select"},
    {1361930,  "data-list"},    {14458890, "graph-print"},  {2672650,  "list-print"},
    {0x50A00A, "channel-show"}, {0x64A00A, "channel-delete"}, {0x78A00A, "channel-order"},
    {0x8CA00A, "channel-color"}, {0xA0A00A, "calc-range"},  {0xB4A00A, "rec-cond"},
    {0xC8A00A, "full-scale"},   {0x12CA00A, "recordings"},   {0xF0A00A, "history"},
    {0x104A00A, "report"},      {0x118A00A, "change-reason"},
    {0x140A00A, "archive-location"}, {0x150A00A, "units"},
    {0x160A00A, "signing-keys"}, {0x160A00B, "sign-report"},
    {0x170A00A, "excursion-comments"}, {0x12CA00B, "audit-trail"}, {0x180A00A, "take-in"},
};
// clang-format on

} // namespace

std::string HelpPagePath(int topic, HelpLanguage language) {
    std::string path = language == HelpLanguage::kEnglish ? "en/" : "ja/";
    const char* page = "index";
    for (const TopicPage& p : kPages)
        if (p.topic == topic)
            page = p.page;
    return path + page + ".html";
}

} // namespace saroko
