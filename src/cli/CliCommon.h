#pragma once
// What every saroko-cli verb shares: the document on the user's settings store, loading
// files as the Open command does, and text conversions for the terminal.
#include <memory>
#include <string>
#include <vector>

#include "core/document/LocalDateTime.h"
#include "core/document/ZorvicDoc.h"
#include "platform/QtSettingsStore.h"

namespace saroko::cli {

// Answers the document's questions on the command line: the first file loads as new, every
// further one is appended; the overflow question is answered "continue as far as possible".
// Every message text goes to stderr.
class CCliPrompts final : public IDocumentPrompts {
public:
    int AskReadMode() override { return m_nReadMode; }
    int ShowMessage(int id, std::string_view extra = {}) override;
    void SetReadMode(int mode) { m_nReadMode = mode; }
    int LastMessage() const { return m_nLastMessage; }

private:
    int m_nReadMode = kReadNew;
    int m_nLastMessage = 0;
};

struct CliSession {
    CQtSettingsStore store;
    SystemClock clock;
    CQtCp932Codec codec;
    CCliPrompts prompts;
    std::unique_ptr<CZorvicDoc> doc;
};

// A document on the user's settings store, initialised as at program start.
std::unique_ptr<CliSession> OpenSession();

// Loads the files one after another as the Open command would. False (message printed)
// when a file cannot be loaded.
bool LoadFiles(CliSession& session, const std::vector<std::string>& files);

// A channel's name as UTF-8.
std::string ChannelNameUtf8(const CliSession& session, const ChannelRecord& ch);

// Prints a message of the string table (UTF-8) to stderr, with an optional suffix.
void PrintMessage(int id, std::string_view extra = {});

// Small option parser: "--name value" pairs and flags; the rest are positional arguments.
struct Options {
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> values;
    std::vector<std::string> flags;
    std::string error;

    bool Has(const std::string& flag) const;
    const std::string* Value(const std::string& name) const;
};
Options ParseOptions(const std::vector<std::string>& args, const std::vector<std::string>& valueNames,
                     const std::vector<std::string>& flagNames);

} // namespace saroko::cli
