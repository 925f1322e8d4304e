#pragma once
// The archive's view of the window's document: which recording each channel came from, and
// what the user changed since the last look, as "changed" events with the old and new value.
#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/archive/ArchiveSession.h"
#include "core/document/ChannelRecord.h"
#include "core/report/ReportProvenance.h"

namespace saroko {
class CZorvicDoc;
}

namespace saroko::archive {

// What of a document counts as a change to its recordings. Slots keep their place when
// channels are renumbered, so a slot is a channel's identity.
struct ChannelState {
    bool present = false;
    int number = 0;
    std::string name; // UTF-8
    uint32_t start = 0;
};
struct DocumentState {
    std::array<ChannelState, kChannelCount> channels;
    uint32_t unitCF = 0;
    uint32_t unitV = 0;
    uint32_t scaleMode = 0;
    float scaleUpper = 0;
    float scaleLower = 0;
};
DocumentState StateOf(const CZorvicDoc& doc, const ITextCodec& codec);

// What a "changed" event names in its detail, as the archive's readers know the words.
inline constexpr char kChangeName[] = "name";
inline constexpr char kChangeStart[] = "start";
inline constexpr char kChangeUnit[] = "unit";
inline constexpr char kChangeLimits[] = "limits";
inline constexpr char kChangeDeleted[] = "deleted";
inline constexpr char kChangeOrder[] = "order";

struct DocumentChange {
    int slot = -1; // -1: the whole document (unit, limits)
    std::string detail;
    std::string oldValue;
    std::string newValue;
    bool asksReason = false; // a recording's start time or a channel's name
    ChannelState before{};   // the channel as it was, for a change that is taken back
};
// Takes a declined change back in the document (a channel's name or start time); the other
// changes ask for no reason and are never declined.
void UndoChange(CZorvicDoc& doc, const DocumentChange& change, const ITextCodec& codec);
// A channel that appears is left out: it came with a load or a download, recorded as such.
std::vector<DocumentChange> ChangesBetween(const DocumentState& before, const DocumentState& after);

class CDocumentArchive {
public:
    // `describe` reads a data file as a recording (nullopt when it is none), `hashFile` the
    // SHA-256 of any written file.
    using Describe = std::function<std::optional<Recording>(const std::string& path)>;
    // The reason given, or nullopt when the user declines: the change is then not recorded.
    using AskReason = std::function<std::optional<std::string>(const DocumentChange& change)>;
    CDocumentArchive(CArchiveSession& session, const CZorvicDoc& doc, const ITextCodec& codec,
                     Describe describe, FileHasher hashFile);

    CArchiveSession& Session() { return m_session; }

    // A file was read in: an "opened" event; its channels are the recording's from now on.
    // The recording is described from `bytes`, the ones the channels were read from; without
    // them, from the file as it is now. Says whether the file was a changed recording.
    Opening Loaded(const std::string& path, bool appended, std::span<const uint8_t> bytes = {});
    // A download filled channels: they belong to the recording it made, read from the file
    // kept at `keptPath` (the archive may have seen these bytes first elsewhere).
    void Downloaded(const Recording& r, const std::string& keptPath);
    // The document was saved as `path` with `bytes`: the saved file is a recording of its own,
    // created by the save, and the sources get a "saved" event with its hash. Its channels
    // are then its. Without the bytes, the file as it is now.
    void Saved(const std::string& path, std::span<const uint8_t> bytes = {});
    // Something was made from the sources: an export, print or report. `output` is the file
    // written, kStandardOutput (then `written` are its bytes, hashed) or "" for a printer.
    // The events are about `named`, the sources the output names (a report's or a print's
    // Shown()), or else about the sources Shown() names: a hidden channel is in no output.
    void Produced(EventKind kind, const std::string& output);
    void Produced(EventKind kind, const std::string& output, const std::vector<ReportSource>& named,
                  std::string_view written = {});
    // Records what changed since the last look; `ask` gives the reason where one is asked.
    // Returns the changes declined, for the caller to take back (UndoChange), then Resync.
    std::vector<DocumentChange> Commit(const AskReason& ask = {});
    // Takes the document as it is now as the last look, recording nothing.
    void Resync() { m_state = StateOf(m_doc, m_codec); }

    // The recordings behind the channels now present, each once, in slot order.
    std::vector<std::string> Sources() const;
    // What a report or a print names as its sources: the recordings behind the channels it
    // shows (present and not hidden), each once, by channel number, with the path and hash
    // of the bytes read when they came in. A file changed on disk since is still named by
    // the bytes read, which are the ones the figures come from.
    std::vector<ReportSource> Shown() const;
    // The recording (its events' target) behind the channel the document numbers `number`,
    // "" when none: where a comment on that channel's excursion belongs.
    std::string RecordingOf(int number) const;

    // Each present channel with the recording it was read from and its place among that
    // recording's channels (1, 2, ...), in slot order; channels of no recording are left out.
    struct ChannelOrigin {
        int number = 0;
        std::string sha256;
        int position = 0;
        bool shown = false;
    };
    std::vector<ChannelOrigin> Origins() const;

private:
    void TakeOwnership(const ReportSource& source, bool all);

    CArchiveSession& m_session;
    const CZorvicDoc& m_doc;
    const ITextCodec& m_codec;
    Describe m_describe;
    FileHasher m_hashFile;
    DocumentState m_state;
    std::array<ReportSource, kChannelCount> m_owner; // the recording read, per slot
};

} // namespace saroko::archive
