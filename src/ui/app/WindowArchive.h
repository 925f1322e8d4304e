#pragma once
// The recordings archive of one run of the window: opened at the start (a damaged one set
// aside for a new one when the user agrees), told of every file the document reads, saves,
// exports, prints and reports, and of each download; its one problem of the run is shown once.
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/archive/DocumentArchive.h"
#include "platform/ArchiveSetup.h"

class QWidget;

namespace saroko {

class CZorvicDoc;

namespace ui {

class CWindowArchive {
public:
    // `path` empty: the user's archive.
    CWindowArchive(CZorvicDoc& doc, const ITextCodec& codec, QWidget* parent,
                   const std::string& path = {});

    archive::CArchiveSession& Session() { return *m_handle.session; }
    archive::CDocumentArchive& Document() { return *m_pDocument; }
    const std::string& Path() const { return m_szPath; }

    // A download kept, and assigned to storage unit `unit` (0: none) as the download's.
    void Downloaded(const QString& kept, const QString& transcript, int unit = 0);
    // The storage units by id and name, and the one a download from the recorder is offered.
    std::vector<std::pair<int, std::string>> Units();
    int OfferedUnit();
    // Records the document's changes since the last look, asking for a reason where one is
    // wanted and the user asked to be asked.
    void Commit();
    // Shows the archive's problem, once in the run.
    void SayProblem();

    void SetParent(QWidget* parent) { m_pParent = parent; }
    // The setting "where the archive is": a site archive's connection string, or "" for this
    // computer's. Set, the archive is opened there at once.
    std::string Location() const;
    void SetLocation(const std::string& location);
    // "A reason is required for every change": the archive's setting (a `setting` event, read
    // when the archive is opened) once it holds one, else the user's own option, off unless
    // turned on. Set, it changes the archive's setting where there is one (turning it off asks
    // for a reason), else the user's option.
    bool AsksReason() const;
    void SetAsksReason(bool on);
    std::optional<bool> ArchiveReasonSetting() const { return m_reasonSetting; }

private:
    void Open();
    void ReadSetting();

    CZorvicDoc& m_doc;
    const ITextCodec& m_codec;
    QWidget* m_pParent;
    std::string m_szPath;
    ArchiveHandle m_handle;
    std::unique_ptr<archive::CDocumentArchive> m_pDocument;
    std::optional<bool> m_reasonSetting;
};

// The first use of a site archive: asks whether the downloads kept on this computer that the
// site archive at `location` lacks are taken in. True when the user agrees.
bool AskTakeIn(const std::vector<std::string>& paths, const std::string& location, QWidget* parent);
// Answers that question in tests; an empty handler restores it.
void SetTakeInHandler(std::function<bool(const std::vector<std::string>& paths)> handler);

// The reason box: nullopt when the user declines (the change is then taken back).
std::optional<QString> AskChangeReason(const archive::DocumentChange& change, QWidget* parent);
// Answers the reason box in tests; an empty handler restores it.
void SetReasonHandler(
    std::function<std::optional<QString>(const archive::DocumentChange&)> handler);

} // namespace ui
} // namespace saroko
