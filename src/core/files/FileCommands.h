#pragma once
// The File menu's commands: open, overwrite save, save as, text export and the recent list.
// The dialogs are the UI's; the decisions, messages and loops are here.
#include <cstdint>
#include <string>

#include "core/document/CommandState.h"
#include "core/document/ZorvicDoc.h"

namespace saroko {

// The message for a file a load could not read (a headline, an empty line, why); 0 for kNone.
int ReadFailureMessageId(ReadFailure failure);
// After a failed open: says which file could not be read and why, when its bytes were the
// reason (a missing file or a wrong extension has had its message already).
void ShowReadFailure(const CZorvicDoc& doc, const std::string& path, IMessageSink& sink);

class IFileCommandUi {
public:
    virtual ~IFileCommandUi() = default;
    // The open dialog; false on Cancel.
    virtual bool AskOpenPath(std::string& path) = 0;
    // The native save dialog for all data (range 0) or the displayed range (1).
    virtual bool AskSavePath(int range, std::string& path) = 0;
    // The text save dialog: `divideCode` holds the preselected file type on entry and the
    // chosen one (1..4) on return.
    virtual bool AskTextPath(int range, uint32_t& divideCode, std::string& path) = 0;
    virtual void SetWaitCursor(bool /*on*/) {}
};

class CFileCommands {
public:
    CFileCommands(CZorvicDoc& doc, IFileCommandUi& ui, IMessageSink& sink)
        : m_doc(doc), m_ui(ui), m_sink(sink) {}

    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs(int range);
    void OnExportText(int range);
    // Entry n = 1..4 of the recent list; paths of other kinds are ignored silently.
    void OnOpenRecentFile(int n);
    void OnFileNew() {
        m_doc.OnNewDocument();
        m_doc.UpdateAllViews();
    }

private:
    CZorvicDoc& m_doc;
    IFileCommandUi& m_ui;
    IMessageSink& m_sink;
};

} // namespace saroko
