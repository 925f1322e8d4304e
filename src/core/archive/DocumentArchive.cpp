#include "core/archive/DocumentArchive.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "core/archive/ArchiveFiles.h"
#include "core/archive/ReportProof.h"
#include "core/document/ZorvicDoc.h"
#include "core/text/TimeUtil.h"

namespace saroko::archive {
namespace {

std::string ChannelText(const ChannelState& c) {
    std::string s = "CH" + std::to_string(c.number);
    if (!c.name.empty())
        s += " " + c.name;
    return s;
}

std::string ScaleText(const DocumentState& s) {
    return "mode " + std::to_string(s.scaleMode) + ", " + FormatScaleSetting(s.scaleUpper) +
           " .. " + FormatScaleSetting(s.scaleLower);
}

std::string UnitText(uint32_t unitCF, uint32_t unitV) {
    return std::string(unitCF == 0 ? "degC" : "degF") + ", V mode " + std::to_string(unitV);
}

} // namespace

DocumentState StateOf(const CZorvicDoc& doc, const ITextCodec& codec) {
    DocumentState s;
    for (int i = 0; i < kChannelCount; ++i) {
        const ChannelRecord* ch = doc.m_pChannel[static_cast<std::size_t>(i)].get();
        ChannelState& c = s.channels[static_cast<std::size_t>(i)];
        if (!ch || ch->present == 0)
            continue;
        c.present = true;
        c.number = static_cast<int>(ch->number);
        c.name = codec.Cp932ToUtf8(std::string_view(ch->name, FieldLength(ch->name, 8)));
        c.start = ch->startTime;
    }
    s.unitCF = doc.m_nUnitCF;
    s.unitV = doc.m_nUnitV;
    s.scaleMode = doc.m_nScaleMode;
    s.scaleUpper = doc.m_fScaleUpper;
    s.scaleLower = doc.m_fScaleLower;
    return s;
}

std::vector<DocumentChange> ChangesBetween(const DocumentState& before,
                                           const DocumentState& after) {
    std::vector<DocumentChange> out;
    for (int i = 0; i < kChannelCount; ++i) {
        const ChannelState& b = before.channels[static_cast<std::size_t>(i)];
        const ChannelState& a = after.channels[static_cast<std::size_t>(i)];
        if (!b.present)
            continue;
        if (!a.present) {
            out.push_back({i, kChangeDeleted, ChannelText(b), {}, false, b});
            continue;
        }
        if (b.number != a.number)
            out.push_back({i, kChangeOrder, ChannelText(b), ChannelText(a), false, b});
        if (b.name != a.name)
            out.push_back({i, kChangeName, b.name, a.name, true, b});
        if (b.start != a.start)
            out.push_back({i, kChangeStart, UtcText(b.start), UtcText(a.start), true, b});
    }
    if (before.unitCF != after.unitCF || before.unitV != after.unitV)
        out.push_back({-1,
                       kChangeUnit,
                       UnitText(before.unitCF, before.unitV),
                       UnitText(after.unitCF, after.unitV),
                       false,
                       {}});
    if (before.scaleMode != after.scaleMode || before.scaleUpper != after.scaleUpper ||
        before.scaleLower != after.scaleLower)
        out.push_back({-1, kChangeLimits, ScaleText(before), ScaleText(after), false, {}});
    return out;
}

CDocumentArchive::CDocumentArchive(CArchiveSession& session, const CZorvicDoc& doc,
                                   const ITextCodec& codec, Describe describe, FileHasher hashFile)
    : m_session(session), m_doc(doc), m_codec(codec), m_describe(std::move(describe)),
      m_hashFile(std::move(hashFile)), m_state(StateOf(doc, codec)) {}

void CDocumentArchive::TakeOwnership(const ReportSource& source, bool all) {
    const DocumentState now = StateOf(m_doc, m_codec);
    for (std::size_t i = 0; i < m_owner.size(); ++i) {
        const ChannelState& b = m_state.channels[i];
        const ChannelState& a = now.channels[i];
        const bool arrived = a.present && (!b.present || b.name != a.name || b.start != a.start);
        if (!a.present)
            m_owner[i] = {};
        else if (all || arrived)
            m_owner[i] = source;
    }
    m_state = now;
}

Opening CDocumentArchive::Loaded(const std::string& path, bool appended,
                                 std::span<const uint8_t> bytes) {
    // Described from the bytes the channels came from: a later report of them names those,
    // whatever the file on disk holds by then.
    const std::optional<Recording> r =
        bytes.empty()
            ? m_describe(path)
            : DescribeDataFile(
                  std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                  PlaceOf(path), m_codec, m_session.Hash());
    Opening o;
    if (r)
        o = m_session.Open(*r);
    TakeOwnership(r ? OpenedSource(r->path, o) : ReportSource{}, !appended);
    return o;
}

void CDocumentArchive::Downloaded(const Recording& r, const std::string& keptPath) {
    TakeOwnership(SourceOf(PlaceOf(keptPath), r), false);
}

void CDocumentArchive::Saved(const std::string& path, std::span<const uint8_t> bytes) {
    Commit();
    const std::string_view image(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::optional<Recording> r =
        bytes.empty() ? m_describe(path)
                      : DescribeDataFile(image, PlaceOf(path), m_codec, m_session.Hash());
    const std::string what =
        OutputText(path, r ? r->sha256 : m_hashFile(path).value_or(std::string()));
    ReportSource saved;
    if (r) {
        const std::optional<Recording> known = m_session.Find(r->sha256);
        saved = SourceOf(r->path,
                         known ? *known : m_session.Record(EventKind::Created, *r, kCreatedSaved));
    }
    for (const std::string& source : Sources())
        m_session.RecordAbout(EventKind::Saved, source, {}, {}, what);
    TakeOwnership(saved, true);
}

void CDocumentArchive::Produced(EventKind kind, const std::string& output) {
    Commit();
    Produced(kind, output, Shown());
}

void CDocumentArchive::Produced(EventKind kind, const std::string& output,
                                const std::vector<ReportSource>& named, std::string_view written) {
    Commit();
    const std::string what =
        OutputText(output, output == kStandardOutput ? Sha256Hex(m_session.Hash(), written)
                           : output.empty()          ? std::string()
                                                     : m_hashFile(output).value_or(std::string()));
    for (const ReportSource& source : named)
        if (!EventTarget(source).empty())
            m_session.RecordAbout(kind, EventTarget(source), {}, {}, what);
}

std::vector<DocumentChange> CDocumentArchive::Commit(const AskReason& ask) {
    const DocumentState now = StateOf(m_doc, m_codec);
    std::vector<std::pair<DocumentChange, std::vector<std::string>>> changes;
    for (DocumentChange& c : ChangesBetween(m_state, now)) {
        std::vector<std::string> about =
            c.slot < 0
                ? Sources()
                : std::vector<std::string>{EventTarget(m_owner[static_cast<std::size_t>(c.slot)])};
        changes.emplace_back(std::move(c), std::move(about));
    }
    for (std::size_t i = 0; i < m_owner.size(); ++i)
        if (!now.channels[i].present)
            m_owner[i] = {};
    // Taken before any question: a commit that runs while the user answers one (the window's
    // repaints ask for one) finds nothing new, so no change is asked for or recorded twice.
    m_state = now;
    std::vector<DocumentChange> declined;
    for (auto& [c, about] : changes) {
        std::optional<std::string> reason;
        if (c.asksReason && ask) {
            reason = ask(c);
            if (!reason) {
                declined.push_back(std::move(c));
                continue;
            }
        }
        for (const std::string& sha : about)
            if (!sha.empty())
                m_session.RecordAbout(EventKind::Changed, sha, c.detail, c.oldValue, c.newValue,
                                      reason.value_or(std::string()));
    }
    return declined;
}

void UndoChange(CZorvicDoc& doc, const DocumentChange& change, const ITextCodec& codec) {
    if (change.slot < 0 || change.slot >= kChannelCount)
        return;
    ChannelRecord* ch = doc.m_pChannel[static_cast<std::size_t>(change.slot)].get();
    if (!ch || ch->present == 0)
        return;
    if (change.detail == kChangeName) {
        const std::string bytes = codec.Utf8ToCp932(change.before.name);
        std::memset(ch->name, 0, sizeof ch->name);
        std::memcpy(ch->name, bytes.data(), std::min(bytes.size(), sizeof ch->name - 1));
    } else if (change.detail == kChangeStart) {
        ch->startTime = change.before.start;
    }
}

std::vector<std::string> CDocumentArchive::Sources() const {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < m_owner.size(); ++i)
        if (const std::string target = EventTarget(m_owner[i]);
            m_state.channels[i].present && !target.empty() &&
            std::find(out.begin(), out.end(), target) == out.end())
            out.push_back(target);
    return out;
}

std::vector<ReportSource> CDocumentArchive::Shown() const {
    std::vector<ReportSource> out;
    // The channels a report's figures and a print's picture are made of, in their order.
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelRecord* ch = m_doc.GetChannel(n);
        if (!ch || ch->present == 0 || m_doc.m_bShow[static_cast<std::size_t>(n - 1)] != 1)
            continue;
        for (std::size_t i = 0; i < m_owner.size(); ++i) {
            const ReportSource& s = m_owner[i];
            if (m_doc.m_pChannel[i].get() == ch && !s.sha256.empty() &&
                std::none_of(out.begin(), out.end(),
                             [&](const ReportSource& o) { return o.sha256 == s.sha256; }))
                out.push_back(s);
        }
    }
    return out;
}

std::string CDocumentArchive::RecordingOf(int number) const {
    const ChannelRecord* ch = m_doc.GetChannel(number);
    for (std::size_t i = 0; ch && ch->present != 0 && i < m_owner.size(); ++i)
        if (m_doc.m_pChannel[i].get() == ch)
            return EventTarget(m_owner[i]);
    return {};
}

std::vector<CDocumentArchive::ChannelOrigin> CDocumentArchive::Origins() const {
    std::vector<ChannelOrigin> out;
    std::map<std::string, int> seen;
    for (std::size_t i = 0; i < m_owner.size(); ++i) {
        const ChannelRecord* ch = m_doc.m_pChannel[i].get();
        if (!ch || ch->present == 0 || m_owner[i].sha256.empty())
            continue;
        const int number = static_cast<int>(ch->number);
        const bool shown = number >= 1 && number <= kChannelCount &&
                           m_doc.m_bShow[static_cast<std::size_t>(number - 1)] == 1;
        out.push_back({number, m_owner[i].sha256, ++seen[m_owner[i].sha256], shown});
    }
    return out;
}

} // namespace saroko::archive
