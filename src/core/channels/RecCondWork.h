#pragma once
// The recording-conditions dialogs' work copy: a name and a start date-time per channel,
// checked when the user leaves a channel or presses OK; the variant opened from the legend
// can also mark channels for deletion.
#include <array>
#include <cstdint>
#include <string>

#include "core/channels/ChannelLists.h"
#include "core/document/ZorvicDoc.h"
#include "core/messages/Translate.h"
#include "core/text/DateFields.h"

namespace saroko {

// The edit fields, in the order the checks point at them.
enum RecCondField : int {
    kRcName = 0,
    kRcYear,
    kRcMonth,
    kRcDay,
    kRcHour,
    kRcMinute,
    kRcSecond,
};

// Check codes: 0 accepted, 1 name too long, 2..7 as CheckDateFields, and two of our own.
inline constexpr int kRcNameTooLong = 1;
inline constexpr int kRcNotInteger = -1;    // a date field is no integer
inline constexpr int kRcNotConvertible = 8; // a local time before 1970 UTC

// The dialog framework's own message for an integer field it cannot read; it has no entry in
// the program's table.
inline constexpr int kMsgEnterInteger = 61712;
inline constexpr const char* kEnterIntegerText =
    SAROKO_TRANSLATE_NOOP("Channels", "整数を入力してください。");

inline constexpr int kNameBytes = 8;

// The texts of the edit fields as the user sees them (the name as CP932 bytes).
struct RecCondForm {
    std::string name;
    std::array<std::string, 6> date; // year, month, day, hour, minute, second

    bool operator==(const RecCondForm&) const = default;
};

// What one user action asks the dialog to do next.
struct RecCondOutcome {
    int messageId = 0; // shown first, 0 none
    int focus = -1;    // RecCondField, -1 leave the focus alone
    bool reloadForm = false;
    bool closed = false; // OK accepted
};

class CRecCondWork {
public:
    // `withDelete`: the dialog opened from the legend, with "編集"/"削除".
    CRecCondWork(const CZorvicDoc& doc, bool withDelete);

    // "元に戻す": every channel back to the values at opening, no selection, empty fields.
    void Undo();
    // Buttons 1..8.
    RecCondOutcome Select(int channel);
    RecCondOutcome Ok();
    // The radio buttons: 0 編集, 1 削除.
    void SetMode(int mode) { m_nMode = mode; }
    int Mode() const { return m_nMode; }

    // The fields as typed; Select and Ok read them, and rewrite them when they reload.
    RecCondForm form;
    int Selected() const { return m_nSel; }
    int LastError() const { return m_nError; }
    bool WithDelete() const { return m_bWithDelete; }
    bool Present(int channel) const { return Ch(channel).present != 0; }
    bool Deleted(int channel) const { return Ch(channel).deleted; }
    // The list's two columns (name as CP932 bytes, time as UTF-8).
    std::string NameText(int channel) const;
    std::string TimeText(int channel) const;
    // The handed-back name (9 bytes) and start, valid after Ok.
    const ChannelName& ResultName(int channel) const { return Ch(channel).name; }
    uint32_t ResultStart(int channel) const { return Ch(channel).start; }

    // The view's side after OK: names and starts into the records (deleted channels cleared),
    // then the ranges rebuilt, or the empty document when no data remain.
    void Apply(CZorvicDoc& doc) const;

    // "   削  除" and the date column's mark of a deleted channel.
    static constexpr const char* kDeletedName = SAROKO_TRANSLATE_NOOP("Channels", "   削  除");
    static constexpr const char* kDeletedTime =
        SAROKO_TRANSLATE_NOOP("Channels", "             削    除");

private:
    struct Channel {
        ChannelName name{}; // m_szName: handed in, and back on OK
        uint32_t start = 0; // m_tStart
        uint32_t present = 0;
        ChannelName editName{}; // last accepted
        CalendarFields tm{};    // last accepted start
        bool tmValid = false;
        std::string timeText;
        bool deleted = false;
    };
    Channel& Ch(int n) { return m_ch.at(static_cast<std::size_t>(n - 1)); }
    const Channel& Ch(int n) const { return m_ch.at(static_cast<std::size_t>(n - 1)); }

    void Reset();
    // Reads and checks the fields for the selected channel; on success its start is taken.
    bool CheckChannel(int n);
    void TakeName(int n);
    void MarkDeleted(int n);
    void LoadForm();
    void ClearForm();
    static int FocusOf(int error);

    std::array<Channel, kChannelCount> m_ch{};
    bool m_bWithDelete;
    int m_nSel = 0;
    int m_nError = 0;
    int m_nMode = 0;
};

} // namespace saroko
