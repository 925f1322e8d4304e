#include "core/archive/ExcursionComments.h"

#include <algorithm>

#include "core/archive/AuditTrail.h"
#include "core/text/TimeUtil.h"

namespace saroko::archive {

std::vector<NumberedExcursion>
NumberExcursions(const ReportFigures& figures,
                 const std::function<std::string(int channel)>& recordingOf) {
    std::vector<NumberedExcursion> out;
    for (const ChannelFigures& f : figures.channels) {
        const std::string sha = recordingOf ? recordingOf(f.number) : std::string();
        for (const Excursion& e : f.excursions)
            out.push_back({static_cast<int>(out.size()) + 1, f.number, e, sha});
    }
    return out;
}

std::string AnchorText(int channel, const Excursion& e) {
    return "CH" + std::to_string(channel) + (e.kind == Excursion::kHigh ? " high " : " low ") +
           UtcText(e.start);
}

std::optional<CommentAnchor> ParseAnchor(std::string_view detail) {
    if (!detail.starts_with("CH"))
        return std::nullopt;
    const std::size_t space = detail.find(' ');
    if (space != 3) // one digit, 1..8
        return std::nullopt;
    CommentAnchor a;
    a.channel = detail[2] - '0';
    if (a.channel < 1 || a.channel > 8)
        return std::nullopt;
    std::string_view rest = detail.substr(space + 1);
    if (rest.starts_with("high "))
        a.kind = Excursion::kHigh;
    else if (rest.starts_with("low "))
        a.kind = Excursion::kLow;
    else
        return std::nullopt;
    const std::optional<int64_t> t = ParseUtcText(rest.substr(rest.find(' ') + 1));
    if (!t)
        return std::nullopt;
    a.start = *t;
    return a;
}

bool BelongsTo(const CommentAnchor& a, const NumberedExcursion& e) {
    return a.channel == e.channel && a.kind == e.excursion.kind && a.start >= e.excursion.start &&
           a.start <= e.excursion.end;
}

std::string CommentProblem(int number, std::size_t count, std::string_view text) {
    if (count == 0)
        return "the report lists no excursion to comment on";
    if (number < 1 || static_cast<std::size_t>(number) > count)
        return "excursion " + std::to_string(number) + " is not in the report (1 to " +
               std::to_string(count) + ")";
    if (text.find_first_not_of(" \t\r\n") == text.npos)
        return "the comment on excursion " + std::to_string(number) + " is empty";
    return {};
}

bool ParseCommentArgument(std::string_view argument, int& number, std::string& text) {
    const std::size_t colon = argument.find(':');
    if (colon == 0 || colon == argument.npos || colon > 6)
        return false;
    int n = 0;
    for (const char c : argument.substr(0, colon)) {
        if (c < '0' || c > '9')
            return false;
        n = n * 10 + (c - '0');
    }
    number = n;
    text = std::string(argument.substr(colon + 1));
    return true;
}

void RecordComment(CArchiveSession& session, const NumberedExcursion& e, const std::string& text) {
    session.RecordAbout(EventKind::Commented, e.recordingSha256, AnchorText(e.channel, e.excursion),
                        {}, text);
}

std::vector<ExcursionComment> CommentsOf(const std::vector<NumberedExcursion>& excursions,
                                         const std::vector<Event>& events) {
    std::vector<ExcursionComment> out;
    for (const Event& ev : events) {
        if (ev.kind != EventKind::Commented)
            continue;
        const std::optional<CommentAnchor> a = ParseAnchor(ev.detail);
        if (!a)
            continue;
        const auto it = std::find_if(excursions.begin(), excursions.end(), [&](const auto& x) {
            return x.recordingSha256 == ev.recordingSha256 && !x.recordingSha256.empty() &&
                   BelongsTo(*a, x);
        });
        if (it != excursions.end())
            out.push_back({it->number, ev.newValue, ev.user, ev.host, ev.timeUtc});
    }
    return out;
}

std::vector<ExcursionComment> StoredComments(CArchiveSession& session,
                                             const std::vector<NumberedExcursion>& excursions) {
    if (!session.Enabled())
        return {};
    std::vector<Event> events;
    std::vector<std::string> done;
    for (const NumberedExcursion& x : excursions) {
        if (x.recordingSha256.empty() ||
            std::find(done.begin(), done.end(), x.recordingSha256) != done.end())
            continue;
        done.push_back(x.recordingSha256);
        const std::optional<Recording> r = session.Find(x.recordingSha256);
        std::vector<Event> some;
        if (r && r->id > 0 && session.Store().Events(some, r->id) == StoreStatus::kOk)
            events.insert(events.end(), some.begin(), some.end());
    }
    // Oldest first across the recordings, as the chain has them.
    std::sort(events.begin(), events.end(),
              [](const Event& a, const Event& b) { return a.seq < b.seq; });
    return CommentsOf(excursions, events);
}

} // namespace saroko::archive
