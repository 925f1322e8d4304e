// saroko-cli recorder start: the record-start dialog's "設定" on the command line, with the
// dialog's checks and messages.
#include <iostream>

#include "cli/CmdRecorder.h"
#include "core/document/ChannelRecord.h"
#include "core/recorder/RecordStart.h"

namespace saroko::cli {
namespace {

// "YYYY/MM/DD HH:MM:SS" into the six fields as typed, so the dialog's checks judge them.
bool SplitDateTime(const std::string& text, DateFields& f) {
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == '/' || c == ':' || (c == ' ' && !parts.back().empty() && parts.size() == 3))
            parts.emplace_back();
        else
            parts.back() += c;
    }
    if (parts.size() != 6)
        return false;
    f = DateFields{parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]};
    return true;
}

} // namespace

void DeclareRecorderStart(CVerbOptions& o) {
    AddLinkOptions(o);
    o.TakeNoFiles();
    for (const char* name : {"interval", "names", "at"})
        o.AddValue(name);
    for (const char* name : {"endless", "jpt100", "now"})
        o.AddFlag(name);
}

int RunRecorderStart(const CVerbOptions& o) {
    const auto interval = o.Value("interval");
    const auto names = o.Value("names");
    const auto at = o.Value("at");
    if (!interval || !names)
        return o.Fail("start needs --interval and --names");
    if (o.Has("now") == at.has_value())
        return o.Fail("start needs either --now or --at");
    int seconds = 0;
    if (!ParseStoredInt(*interval, seconds) || IntervalIndex(static_cast<uint32_t>(seconds)) < 0)
        return o.Fail("--interval: one of 1 2 5 10 15 20 30 60 120 300 600 900 1200 1800 3600");

    RecorderLink link;
    if (!SetUpLink(o, link))
        return kExitUsage;
    CliSession& session = *link.session;
    CZorvicDoc& doc = *session.doc;

    RecordStartForm form = FormFromSettings(doc.m_recSettings);
    const std::size_t comma = names->find(',');
    const std::string n1 = names->substr(0, comma);
    const std::string n2 = comma == std::string::npos ? "" : names->substr(comma + 1);
    form.name1 = session.codec.Utf8ToCp932(n1);
    form.name2 = session.codec.Utf8ToCp932(n2);
    form.intervalIndex = IntervalIndex(static_cast<uint32_t>(seconds));
    form.recordMode = o.Has("endless") ? 1 : 0;
    form.sensor = o.Has("jpt100") ? 1 : 0;
    form.startMethod = at ? kStartScheduled : kStartImmediate;
    if (at && !SplitDateTime(*at, form.date))
        return o.Fail("--at: \"YYYY/MM/DD HH:MM:SS\"");

    const RecordStartResult r = RunRecordStart(link.services, doc, form);
    if (r.result != 0)
        return r.result == 1 ? kExitFailed : ExitFor(link, r.result);
    // The end counts from the start the recorder was given, not from the end of the exchange.
    int index = form.intervalIndex;
    const ClockTexts clock = RecordStartClock(form, doc.m_recSettings.startTime, index);
    std::cout << "start: " << FormatLocalDateTime(doc.m_recSettings.startTime) << "\n"
              << "expected end: " << clock.endDate << clock.endTime << "\n";
    return kExitOk;
}

} // namespace saroko::cli
