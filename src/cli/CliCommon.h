#pragma once
// What every saroko-cli verb shares: the document on the user's settings store, loading
// files as the Open command does, and text conversions for the terminal.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/archive/DocumentArchive.h"
#include "core/document/LocalDateTime.h"
#include "core/document/ZorvicDoc.h"
#include "core/report/ReportProvenance.h"
#include "platform/QtSettingsStore.h"

namespace saroko::archive {
class CCorrectedValues;
}

namespace saroko::cli {

// Answers the document's questions on the command line: the first file loads as new, every
// further one is appended; the overflow question is answered "continue as far as possible".
// Every message text goes to stderr; while a file loads, its messages name it.
class CCliPrompts final : public IDocumentPrompts {
public:
    int AskReadMode() override { return m_nReadMode; }
    int ShowMessage(int id, std::string_view extra = {}) override;
    void SetReadMode(int mode) { m_nReadMode = mode; }
    void SetFile(std::string path) { m_file = std::move(path); }
    int LastMessage() const { return m_nLastMessage; }

private:
    int m_nReadMode = kReadNew;
    int m_nLastMessage = 0;
    std::string m_file;
};

// Tells the archive what the document reads, saves and exports, as the window's frame does;
// a changed recording opened is said on stderr.
class CCliArchiveLink final : public IDocumentObserver {
public:
    void Attach(archive::CDocumentArchive* archive) { m_pArchive = archive; }
    void OnFileLoaded(const std::string& path, bool appended,
                      std::span<const uint8_t> bytes) override;
    void OnFileSaved(const std::string& path, std::span<const uint8_t> bytes) override;
    void OnTextExported(const std::string& path) override;

private:
    archive::CDocumentArchive* m_pArchive = nullptr;
};

struct CliSession {
    CQtSettingsStore store;
    SystemClock clock;
    CQtCp932Codec codec;
    CCliPrompts prompts;
    std::unique_ptr<CZorvicDoc> doc;
    // The archive's view of the document, attached when the files are loaded: the same record
    // path as the window's.
    CCliArchiveLink link;
    std::unique_ptr<archive::CDocumentArchive> archive;
};

// A document on the user's settings store, initialised as at program start.
std::unique_ptr<CliSession> OpenSession();
// The session's sources as a report and a print name them: the recordings behind the
// channels shown, each with the hash of the bytes read and its archive id.
std::vector<ReportSource> ReportSources(const CliSession& session);
// Records that a print or report was made of the sources it names: `output` is the file
// written, or archive::kStandardOutput with the bytes written there.
void RecordMade(CliSession& session, archive::EventKind kind, const std::string& output,
                const std::vector<ReportSource>& named, std::string_view written = {});

// Loads the files one after another as the Open command would. False (message printed)
// when a file cannot be loaded.
bool LoadFiles(CliSession& session, const std::vector<std::string>& files);

// A channel's name as UTF-8.
std::string ChannelNameUtf8(const CliSession& session, const ChannelRecord& ch);

// Prints a message of the string table (UTF-8) to stderr, with an optional suffix.
void PrintMessage(int id, std::string_view extra = {});

// The loaded channels' values corrected by the calibrations of their storage units while the
// result lives (--corrected); the files and the archive keep the raw values.
std::unique_ptr<archive::CCorrectedValues> CorrectValues(CliSession& session);

// Sets the display unit the options ask for (--fahrenheit, --celsius), if any.
void ApplyUnit(CZorvicDoc& doc, std::optional<bool> fahrenheit);

} // namespace saroko::cli
