// The File menu's commands as the window runs them: open, save, save as, text export.
#include "core/files/FileCommands.h"
#include "core/files/FileIo.h"

namespace saroko {
namespace {

// Restores the normal cursor on every way out.
class WaitCursor {
public:
    explicit WaitCursor(IFileCommandUi& ui) : m_ui(ui) { m_ui.SetWaitCursor(true); }
    ~WaitCursor() { m_ui.SetWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    IFileCommandUi& m_ui;
};

bool CanWrite(const std::string& path) {
    return IsReadableFile(path) && !IsReadOnlyFile(path);
}

} // namespace

void CFileCommands::OnFileOpen() {
    std::string path;
    if (!m_ui.AskOpenPath(path))
        return;
    WaitCursor wait(m_ui);
    if (m_doc.OpenDataFile(path) == kFileFailed)
        ShowReadFailure(m_doc, path, m_sink);
}

void CFileCommands::OnOpenRecentFile(int n) {
    if (n < 1 || n > static_cast<int>(m_doc.m_recentFiles.size()))
        return;
    const std::string path = m_doc.m_recentFiles[static_cast<std::size_t>(n - 1)];
    const int kind = GetFileKind(path);
    if (kind != kKindKlg && kind != kKindKsv)
        return;
    WaitCursor wait(m_ui);
    if (m_doc.OpenDataFile(path) == kFileFailed)
        ShowReadFailure(m_doc, path, m_sink);
}

void CFileCommands::OnFileSave() {
    std::string path = m_doc.m_szPathName;
    for (;;) {
        bool dialogShown = false;
        if (!CanWrite(path)) {
            if (IsReadableFile(path))
                m_sink.ShowMessage(msg::kReadOnlyFile, "\n" + path);
            if (!m_ui.AskSavePath(0, path))
                return;
            dialogShown = true;
        }
        const bool native = GetFileKind(path) == kKindKlg;
        {
            WaitCursor wait(m_ui);
            if (!native)
                m_sink.ShowMessage(msg::kWrongExtension);
            else if (m_doc.SaveKlgFile(0, path) != kFileOk)
                m_sink.ShowMessage(msg::kSaveFailed);
        }
        if (native || !dialogShown)
            return;
    }
}

void CFileCommands::OnFileSaveAs(int range) {
    for (;;) {
        std::string path;
        if (!m_ui.AskSavePath(range, path))
            return;
        WaitCursor wait(m_ui);
        if (GetFileKind(path) != kKindKlg) {
            m_sink.ShowMessage(msg::kWrongExtension);
            continue;
        }
        if (m_doc.SaveKlgFile(range, path) != kFileOk)
            m_sink.ShowMessage(msg::kSaveFailed);
        return;
    }
}

void CFileCommands::OnExportText(int range) {
    for (;;) {
        std::string path;
        uint32_t divide = m_doc.m_nDivideCode;
        if (!m_ui.AskTextPath(range, divide, path))
            return;
        WaitCursor wait(m_ui);
        m_doc.m_nDivideCode = divide;
        m_doc.SaveTextFileSettings();
        if (GetFileKind(path) == kKindText) {
            if (m_doc.ExportText(range, path) != kFileOk)
                m_sink.ShowMessage(msg::kSaveFailed);
            return;
        }
        m_sink.ShowMessage(msg::kWrongExtension);
    }
}

} // namespace saroko
