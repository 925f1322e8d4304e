#pragma once
// The program's main window: the graph view, the menu bar and accelerators, the file
// commands, dropped files, the remembered window place, the close prompt and help.
#include <QMainWindow>
#include <QPointer>
#include <QUrl>
#include <map>
#include <memory>

#include "core/document/CommandState.h"
#include "core/document/ZorvicDoc.h"
#include "core/files/FileCommands.h"
#include "ui/document/DocumentPrompts.h"

class QAction;
class QMenu;

namespace saroko {

class CZorvicView;
namespace ui {
class CWindowArchive;
}

class CMainFrame : public QMainWindow, public IDocumentObserver {
    Q_OBJECT
public:
    CMainFrame(CZorvicDoc& doc, ISettingsStore& store);
    ~CMainFrame() override;

    CZorvicView* View() { return m_pView; }
    CZorvicDoc& Doc() { return m_doc; }

    // Places the window as remembered, clamped to the desktop of the given client size.
    void PlaceWindow(int desktopWidth, int desktopHeight);
    // The open procedure on a path from the command line, another start or a drop.
    int OpenFile(const QString& path,
                 CZorvicDoc::OpenOrder order = CZorvicDoc::OpenOrder::kAskFirst);
    // Dropped files, opened one after another.
    void OpenDroppedFiles(const QList<QUrl>& urls);
    // Recordings chosen in the list: the first opened as a file is, the others added to its
    // channels.
    void OpenRecordings(const QStringList& paths);

    // Runs a menu or accelerator command when its update-UI rule allows it. True when run.
    bool ExecuteCommand(int id);
    // The update-UI rule, with commands that have no window yet greyed.
    CommandState QueryCommand(int id) const;
    // Refreshes the enabled and checked states and the recent-file entries of every menu.
    void UpdateCommandUi();
    QAction* MenuAction(int id) const;
    QMenu* FileMenu() const { return m_pFileMenu; }

    // Replaces the file dialogs (tests).
    void SetFileUi(IFileCommandUi* ui);
    // The recordings archive that records what the window does with files; none: nothing is
    // recorded and the list is greyed.
    void SetArchive(ui::CWindowArchive* archive);

    // IDocumentObserver
    void UpdateAllViews() override;
    void OnPathNameChanged(const std::string& path) override;
    void OnFileLoaded(const std::string& path, bool appended,
                      std::span<const uint8_t> bytes) override;
    void OnFileSaved(const std::string& path, std::span<const uint8_t> bytes) override;
    void OnTextExported(const std::string& path) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenus();
    void BuildAccelerators();
    void RebuildRecentEntries();
    void CopyToClipboard();
    void SwitchUnit();
    void ShowAbout();
    // Help at a dialog's context number, 0 for the main window's page.
    void OpenHelp(int topic);
    bool RunViewCommand(int id);
    void ShowRecordings();
    void ShowArchiveLocation();
    void ShowUnits();
    void ShowSigningKeys();
    void ShowSignReport();
    // Records the document's changes once the work at hand is done.
    void CommitChangesLater();
    // A note in the status bar for a while (where a download was kept).
    void ShowStatusNote(const QString& note);
    static constexpr int kStatusNoteMs = 60000;

    CZorvicDoc& m_doc;
    ISettingsStore& m_store;
    CZorvicView* m_pView = nullptr;
    ui::CUiPrompts m_prompts;
    std::unique_ptr<IFileCommandUi> m_pDialogs;
    IFileCommandUi* m_pFileUi = nullptr;
    std::unique_ptr<CFileCommands> m_pCommands;

    QMenu* m_pFileMenu = nullptr;
    QAction* m_pRecentAnchor = nullptr;
    std::vector<QAction*> m_recentActions;
    std::multimap<int, QAction*> m_menuActions;
    bool m_bPlaced = false;
    bool m_bStatusHooked = false;
    ui::CWindowArchive* m_pArchive = nullptr;
    // The report written last in this run, offered when a report is signed.
    QString m_szLastReport;
    bool m_bCommitQueued = false;
    QSize m_pendingOuterSize;
};

} // namespace saroko
