#pragma once
// The program's string table: message id -> text, icon and buttons, all in one place.
#include <span>
#include <string_view>

namespace saroko {

enum class MsgIcon { Information, Exclamation, Question };
enum class MsgButtons { Ok, OkCancel, YesNo };

// Answers of a message box, with the platform's usual numbers.
enum MsgAnswer : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

struct MessageDef {
    int id;
    MsgIcon icon;
    MsgButtons buttons;
    const char* text; // UTF-8
};

namespace msg {
inline constexpr int kAppTitle = 57344;
inline constexpr int kCommOk = 57696;
inline constexpr int kPortOpenError = 57697;
inline constexpr int kNoResponse = 57705;
inline constexpr int kCommBroken = 57708;
inline constexpr int kNoData = 57709;
inline constexpr int kChecksum = 57710;
inline constexpr int kCommFailed = 57711;
inline constexpr int kNameTooLong = 57712;
inline constexpr int kNoStartMethod = 57725;
inline constexpr int kDateNotConvertible = 57744;
inline constexpr int kStartInPast = 57745;
inline constexpr int kCalcEndBeforeStart = 57746;
inline constexpr int kNoChannelChosen = 57747;
inline constexpr int kFileNotFound = 57748;
inline constexpr int kWrongExtension = 57749;
inline constexpr int kManualStartUnknown = 57750;
inline constexpr int kReadOnlyFile = 57751;
inline constexpr int kSaveFailed = 57752;
inline constexpr int kOverwriteConfirm = 57760;
inline constexpr int kLoadOverflow = 57761;
inline constexpr int kQuitUnsaved = 57762;
inline constexpr int kUnknownModel = 57784;
// The program's own, beyond the original table.
inline constexpr int kKeepFailed = 58001;
// Not a box of its own: appended to a communication failure, followed by the file's path.
inline constexpr int kTranscriptNote = 58002;
// A data file that could not be read, followed by its path.
inline constexpr int kFileUnreadable = 58003;
inline constexpr int kFileTooShort = 58004;
inline constexpr int kFileTruncated = 58005;
inline constexpr int kFileBadHeader = 58006;
// The recordings archive: its one problem of a run (followed by what went wrong), and the
// question before a damaged archive is set aside for a new one.
inline constexpr int kArchiveProblem = 58007;
inline constexpr int kArchiveSetAside = 58008;
// The files of an older version could not all be moved to the current folders; the places
// follow.
inline constexpr int kFolderMoveFailed = 58010;
// A file opened is an archived recording whose bytes changed; which one and the hashes follow.
inline constexpr int kRecordingChanged = 58011;
} // namespace msg

inline constexpr const char* kAppTitle = "Saroko";

const MessageDef* FindMessage(int id);
// The text of a message, empty for an unknown id.
std::string_view MessageText(int id);
std::span<const MessageDef> AllMessages();
// No is the default answer where Yes throws away what has not been saved.
bool DefaultAnswerIsNo(int id);

// Where the core's operations show a message and take the user's answer. The UI shows a
// message box; tests and the command line record or print the text.
class IMessageSink {
public:
    virtual ~IMessageSink() = default;
    // `extra` is appended to the text (for example a path). Returns a MsgAnswer.
    virtual int ShowMessage(int id, std::string_view extra = {}) = 0;
};

} // namespace saroko
