#pragma once
// A first main window: the graph view over the document, a file to open from the command
// line or the File menu. The full frame (menus, accelerators, window position) comes later.
#include <QMainWindow>
#include <memory>

#include "document/ZorvicDoc.h"
#include "platform/QtSettingsStore.h"

namespace saroko {

class CZorvicView;

class CMainFrame : public QMainWindow, public IDocumentObserver, public IDocumentPrompts {
    Q_OBJECT
public:
    explicit CMainFrame(CZorvicDoc& doc);
    ~CMainFrame() override;

    CZorvicView* View() { return m_pView; }
    int OpenFile(const QString& path);

    // IDocumentObserver
    void UpdateAllViews() override;
    void OnPathNameChanged(const std::string& path) override;
    // IDocumentPrompts
    int AskReadMode() override { return kReadNew; }
    int ShowMessage(int id, std::string_view extra = {}) override;

private:
    void OnFileOpen();

    CZorvicDoc& m_doc;
    CZorvicView* m_pView = nullptr;
};

} // namespace saroko
