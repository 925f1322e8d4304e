#pragma once
// Comments on a report's excursions: what was done about each run outside the limits. A
// comment is a "commented" event about the recording the excursion's channel came from; its
// detail anchors it to the excursion by channel, kind and the time of the run's first sample,
// so that it stays with its excursion whatever else the report lists.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/archive/ArchiveSession.h"
#include "core/report/ReportFigures.h"
#include "core/report/ReportProvenance.h"

namespace saroko::archive {

// An excursion as the report numbers it: channel by channel in the report's order, each
// channel's runs in time order, from 1 across the whole report.
struct NumberedExcursion {
    int number = 0;
    int channel = 0; // the channel number the report shows
    Excursion excursion;
    std::string recordingSha256; // the recording the channel came from; "" when not archived
};
// `recordingOf` names the recording behind a channel number ("" when none).
std::vector<NumberedExcursion>
NumberExcursions(const ReportFigures& figures,
                 const std::function<std::string(int channel)>& recordingOf);

// Where a comment belongs: "CH1 high 2026-12-07T08:30:00Z" (channel, high or low, the UTC time
// of the run's first sample when the comment was written).
struct CommentAnchor {
    int channel = 0;
    Excursion::Kind kind = Excursion::kHigh;
    int64_t start = 0;
    bool operator==(const CommentAnchor&) const = default;
};
std::string AnchorText(int channel, const Excursion& e);
std::optional<CommentAnchor> ParseAnchor(std::string_view detail);
// A comment belongs to the run of its channel and kind whose samples span its anchor time: a
// run that later limits make start earlier keeps it.
bool BelongsTo(const CommentAnchor& a, const NumberedExcursion& e);

// What is wrong with a comment for excursion `number` of `count`; "" when it may be recorded.
std::string CommentProblem(int number, std::size_t count, std::string_view text);
// `--comment N:TEXT`; false when N is no number from 1 or the colon is missing.
bool ParseCommentArgument(std::string_view argument, int& number, std::string& text);

// Records the comment as a "commented" event about the excursion's recording.
void RecordComment(CArchiveSession& session, const NumberedExcursion& e, const std::string& text);
// The comments the events hold for the excursions, oldest first; each numbered by its excursion.
std::vector<ExcursionComment> CommentsOf(const std::vector<NumberedExcursion>& excursions,
                                         const std::vector<Event>& events);
// The same, read from the session's store (the comments of the recordings behind them).
std::vector<ExcursionComment> StoredComments(CArchiveSession& session,
                                             const std::vector<NumberedExcursion>& excursions);

} // namespace saroko::archive
