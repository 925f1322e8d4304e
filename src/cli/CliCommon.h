#pragma once
// What every saroko-cli verb shares: the document on the user's settings store, loading
// files as the Open command does, and text conversions for the terminal.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/archive/Archive.h"
#include "core/document/LocalDateTime.h"
#include "core/document/ZorvicDoc.h"
#include "core/report/ReportProvenance.h"
#include "platform/QtSettingsStore.h"

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

struct CliSession {
    CQtSettingsStore store;
    SystemClock clock;
    CQtCp932Codec codec;
    CCliPrompts prompts;
    std::unique_ptr<CZorvicDoc> doc;
    // The loaded files as a report names them (their hash, and the archive's id and hash),
    // in the order they were given.
    std::vector<ReportSource> sources;
};

// A document on the user's settings store, initialised as at program start.
std::unique_ptr<CliSession> OpenSession();
// The session's sources as a report and a print name them: path, hash, archive id when kept.
std::vector<ReportSource> ReportSources(const CliSession& session);

// Loads the files one after another as the Open command would. False (message printed)
// when a file cannot be loaded.
bool LoadFiles(CliSession& session, const std::vector<std::string>& files);

// A channel's name as UTF-8.
std::string ChannelNameUtf8(const CliSession& session, const ChannelRecord& ch);

// Prints a message of the string table (UTF-8) to stderr, with an optional suffix.
void PrintMessage(int id, std::string_view extra = {});

// Sets the display unit the options ask for (--fahrenheit, --celsius), if any.
void ApplyUnit(CZorvicDoc& doc, std::optional<bool> fahrenheit);

} // namespace saroko::cli
