#pragma once
// The program's one document: eight channel records, the graph ranges, the statistics and the
// user settings mirrored from the settings store. No windows here; the UI observes it.
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/document/ChannelRecord.h"
#include "core/document/RecorderSettings.h"
#include "core/messages/StringTable.h"
#include "core/settings/SettingsStore.h"
#include "core/text/TimeUtil.h"

namespace saroko {

// Converts channel names between the CP932 bytes the document keeps and the UTF-8 of the
// settings store. The core's own codec knows ASCII and half-width katakana; the platform
// supplies a full one.
class ITextCodec {
public:
    virtual ~ITextCodec() = default;
    virtual std::string Cp932ToUtf8(std::string_view bytes) const = 0;
    virtual std::string Utf8ToCp932(std::string_view text) const = 0;
};

class CBasicCp932Codec final : public ITextCodec {
public:
    std::string Cp932ToUtf8(std::string_view bytes) const override;
    std::string Utf8ToCp932(std::string_view text) const override;
};

// The questions a load asks: the read-confirm dialog and message boxes.
class IDocumentPrompts : public IMessageSink {
public:
    enum ReadMode { kReadCancel = 0, kReadNew = 1, kReadAppend = 2 };
    virtual int AskReadMode() = 0;
};

// What the document tells its windows.
class IDocumentObserver {
public:
    virtual ~IDocumentObserver() = default;
    virtual void UpdateAllViews() {}
    // The document took a new path (after a save or a load as new): title and the
    // framework's recent-file list.
    virtual void OnPathNameChanged(const std::string& /*path*/) {}
    // A data file was read in (as new, or appended to the channels there), saved, or
    // exported as text: the recordings archive follows each. A load passes the bytes it read.
    virtual void OnFileLoaded(const std::string& /*path*/, bool /*appended*/,
                              std::span<const uint8_t> /*bytes*/) {}
    // A save passes the bytes it wrote.
    virtual void OnFileSaved(const std::string& /*path*/, std::span<const uint8_t> /*bytes*/) {}
    virtual void OnTextExported(const std::string& /*path*/) {}
};

// Results of file and document operations.
enum FileResult : int { kFileFailed = 0, kFileOk = 1, kFileCancelled = 2 };

// Why the last load could not read its file.
enum class ReadFailure {
    kNone,
    kUnreadable, // the file could not be read at all
    kNoHeader,   // shorter than the file header
    kTruncated,  // a channel's header or samples end early
    kBadHeader,  // a channel header's sample count or interval is no valid number
};

// GetFileKind results.
enum FileKind : int { kKindOther = -1, kKindKlg = 1, kKindKsv = 2, kKindText = 3 };
int GetFileKind(std::string_view path);

inline constexpr std::size_t kRecentFileCount = 4;

// What changed before a RecalcRanges: it decides whether the windows and cursors start afresh
// and whether the document counts as modified.
enum class RecalcMode {
    NewData,      // freshly loaded: windows afresh, the data count as saved
    ChangedData,  // added or changed: windows afresh only when the ranges moved; modified
    UnitsOrScale, // display units or the vertical scale: windows afresh, modified flag kept
};

class CZorvicDoc {
public:
    CZorvicDoc(ISettingsStore& store, const IClock& clock);
    ~CZorvicDoc();
    CZorvicDoc(const CZorvicDoc&) = delete;
    CZorvicDoc& operator=(const CZorvicDoc&) = delete;

    void SetPrompts(IDocumentPrompts* prompts) { m_pPrompts = prompts; }
    void SetObserver(IDocumentObserver* observer) { m_pObserver = observer; }
    void SetTextCodec(const ITextCodec* codec);
    ISettingsStore& Store() { return m_store; }
    const IClock& Clock() const { return m_clock; }

    // Lifecycle.
    void OnNewDocument() { InitDocument(); }
    // When an open asks whether the file's data are new or added: before the file is read
    // (the open command's order), or only once the file has been read and found good (a file
    // handed over by another start, whose user is not at this window yet).
    enum class OpenOrder { kAskFirst, kReadFirst };
    // Initialises on first use, then runs the open procedure. Returns the load's result.
    int OnOpenDocument(const std::string& path, OpenOrder order = OpenOrder::kAskFirst);
    void InitDocument();
    void ClearAllChannels();
    bool IsInitialized() const { return m_bInitialized != 0; }

    ChannelRecord* GetChannel(int number);
    const ChannelRecord* GetChannel(int number) const;
    ChannelRecord* GetSlot(int slot) { return m_pChannel[slot].get(); }
    GraphRange* GetRange() { return &m_range; }
    const GraphRange* GetRange() const { return &m_range; }
    bool HasAnyData() const;

    void RecalcRanges(RecalcMode mode);
    void CalcStatistics();
    void UpdateAllViews();

    // Conversions and formats, following the unit settings.
    double ToValue(uint16_t code, int type, int mode) const;
    uint16_t ToCode(double value, int type) const;
    std::string FormatValue(int type, int mode, double value) const;
    std::string FormatUnit(int type, int mode) const;
    // A value cell as the legend shows it: "  --- " for no value, "  Over", " Under", else the
    // formatted value. For an average only the end and missing codes have a text of their own.
    std::string CellValueText(const ChannelRecord& ch, uint16_t code, bool average) const;

    // Files.
    int LoadKlgFile(const std::string& path);
    int LoadKsvFile(const std::string& path);
    int SaveKlgFile(int range, const std::string& path);
    int ExportText(int range, const std::string& path);
    // The text ExportText writes, CP932 bytes with CR LF line ends.
    std::string BuildTextExport(int range) const;
    // Loads a container file already read into memory, in mode kReadNew or kReadAppend.
    int LoadContainerImage(std::span<const uint8_t> bytes, const std::string& path,
                           bool olderSeries, int mode);
    // The open procedure: checks the file, loads by kind, repaints. Returns the load's result
    // or 0 after a message.
    int OpenDataFile(const std::string& path, OpenOrder order = OpenOrder::kAskFirst);
    // Why the last load failed on its file's bytes; kNone when it did not.
    ReadFailure LastReadFailure() const { return m_readFailure; }
    void AddRecentFile(const std::string& path);
    void SaveRecentFiles();

    // Settings sections; LoadSettings reads them all and the recent files, as a new document
    // does, and leaves the data alone.
    void LoadSettings();
    void LoadTextFileSettings();
    void SaveTextFileSettings();
    void LoadPrintGraphSettings();
    void SavePrintGraphSettings();
    void LoadCommSettings();
    void SaveCommSettings();
    void LoadUnitSettings();
    void SaveUnitSettings();
    void LoadCursorSettings();
    void SaveCursorSettings();
    void LoadScaleSettings();
    void SaveScaleSettings();

    void SetPathName(const std::string& path);

    // Members, in the order of the original document.
    std::array<std::unique_ptr<ChannelRecord>, kChannelCount> m_pChannel;
    GraphRange m_range;
    std::string m_szPathName = "Untitled";
    std::string m_szFileName = "Untitled";
    std::array<uint32_t, kChannelCount> m_bShow{1, 1, 1, 1, 1, 1, 1, 1};
    uint32_t m_bDataModified = 0;
    std::vector<std::string> m_recentFiles;
    uint32_t m_nDivideCode = 1;
    uint32_t m_nPrintMethod = 0;
    uint32_t m_nHorizontalScale = 1;
    uint32_t m_nVerticalScale = 1;
    uint32_t m_nPortNo = 1;
    // The record-start settings (m_wRecFlags, m_wInterval, m_szChanName1, m_szChanName2,
    // m_wStartMode, m_tStartTime and six zero bytes), laid out as the recorder's block.
    RecorderSettings m_recSettings;
    uint32_t m_nUnitCF = 0;
    uint32_t m_nUnitV = 0;
    uint32_t m_nCursorStyle = 2;
    uint32_t m_nCursorASelect = 1;
    uint32_t m_nCursorBSelect = 1;
    uint32_t m_nScaleMode = 0;
    float m_fScaleUpper = 600.0f;
    float m_fScaleLower = -200.0f;
    uint8_t m_bInitialized = 0;

private:
    int LoadContainer(const std::string& path, bool olderSeries, OpenOrder order);
    void ResetRanges();
    void ClearChannelContents(ChannelRecord& ch, uint32_t now);

    ISettingsStore& m_store;
    const IClock& m_clock;
    IDocumentPrompts* m_pPrompts = nullptr;
    IDocumentObserver* m_pObserver = nullptr;
    CBasicCp932Codec m_basicCodec;
    const ITextCodec* m_pCodec = &m_basicCodec;
    ReadFailure m_readFailure = ReadFailure::kNone;
};

// "%6.1f" of a temperature of k tenths of a degree Celsius in degC or degF, without printf;
// the same text FormatValue gives for the converted value. Returns the length written.
std::size_t FormatTemperatureText(int k, bool fahrenheit, char* out);

// Formats a scale value as the settings store keeps it: 6 significant digits, no trailing point.
std::string FormatScaleSetting(double value);

} // namespace saroko
