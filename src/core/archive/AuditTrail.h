#pragma once
// The audit trail on paper: the events of one recording, or of the whole archive, over a period,
// as the PDF and the CSV file state them, with the check of the whole chain when it was made.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/archive/ArchiveSession.h"

namespace saroko::archive {

// "2026-12-07T08:30:00Z" to seconds since 1970; nullopt for any other text.
std::optional<int64_t> ParseUtcText(std::string_view text);

// Which events: of one recording (id > 0) or all, whose time lies in [from, to): the start
// belongs to the period, the end does not, so that one month's trail and the next meet
// without an event in both.
struct AuditScope {
    int64_t recordingId = 0;
    std::optional<int64_t> from; // UTC seconds
    std::optional<int64_t> to;
    int unitId = 0; // a storage unit's trail: the events EventsOfUnit names
};
bool InScope(const Event& e, const AuditScope& scope);

struct AuditTrail {
    AuditScope scope;
    std::string recordingPath;            // the recording's, when the trail is of one
    std::string unitName;                 // the unit's, when the trail is of one
    std::vector<Event> events;            // those in scope, oldest first
    std::size_t chainEvents = 0;          // the whole chain, checked when the trail was made
    std::optional<ChainBreak> chainBreak; // its first break, none when it holds
    std::string chainHead;                // the newest event's hash, "" without any
    int64_t madeAt = 0;                   // UTC
    int madeOffsetMinutes = 0;
    std::string user, host, version;
};
// Reads the chain once, checks it and keeps the events in scope. False (and `problem` says
// why) when the store cannot be read or the recording is not in it.
bool MakeAuditTrail(CArchiveSession& session, const AuditScope& scope, AuditTrail& out,
                    std::string& problem);

// One row per event, every column of the events table in its order, under a heading row;
// RFC 4180: CRLF line ends, a field with a comma, quote, CR or LF in quotes, quotes doubled.
// UTF-8 as stored, no byte order mark.
std::string AuditCsv(const std::vector<Event>& events);

} // namespace saroko::archive
