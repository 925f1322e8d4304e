// The document side of opening: file kinds, the open procedure and the recent-file list.
#include <algorithm>
#include <cctype>

#include "core/document/ZorvicDoc.h"
#include "core/files/FileCommands.h"
#include "core/files/FileIo.h"

namespace saroko {

int GetFileKind(std::string_view path) {
    const auto dot = path.find_last_of('.');
    std::string ext(dot == std::string_view::npos ? path : path.substr(dot + 1));
    // Only ASCII letters change case, so the trail bytes of multi-byte characters stay.
    for (char& c : ext)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    if (ext == "KLG")
        return kKindKlg;
    if (ext == "KSV")
        return kKindKsv;
    if (ext == "TXT" || ext == "PRN")
        return kKindText;
    return kKindOther;
}

int CZorvicDoc::OpenDataFile(const std::string& path, OpenOrder order) {
    m_readFailure = ReadFailure::kNone;
    if (!IsReadableFile(path)) {
        if (m_pPrompts)
            m_pPrompts->ShowMessage(msg::kFileNotFound);
        return kFileFailed;
    }
    int result = kFileFailed;
    switch (GetFileKind(path)) {
    case kKindKlg:
        result = LoadContainer(path, false, order);
        break;
    case kKindKsv:
        result = LoadContainer(path, true, order);
        break;
    default:
        if (m_pPrompts)
            m_pPrompts->ShowMessage(msg::kWrongExtension);
        break;
    }
    UpdateAllViews();
    return result;
}

int ReadFailureMessageId(ReadFailure failure) {
    switch (failure) {
    case ReadFailure::kNone:
        break;
    case ReadFailure::kUnreadable:
        return msg::kFileUnreadable;
    case ReadFailure::kNoHeader:
        return msg::kFileTooShort;
    case ReadFailure::kTruncated:
        return msg::kFileTruncated;
    case ReadFailure::kBadHeader:
        return msg::kFileBadHeader;
    }
    return 0;
}

void ShowReadFailure(const CZorvicDoc& doc, const std::string& path, IMessageSink& sink) {
    if (const int id = ReadFailureMessageId(doc.LastReadFailure()))
        sink.ShowMessage(id, "\n\n" + path);
}

void CZorvicDoc::AddRecentFile(const std::string& path) {
    const int kind = GetFileKind(path);
    if (kind != kKindKlg && kind != kKindKsv)
        return;
    const auto it = std::find(m_recentFiles.begin(), m_recentFiles.end(), path);
    if (it != m_recentFiles.end())
        m_recentFiles.erase(it);
    m_recentFiles.insert(m_recentFiles.begin(), path);
    if (m_recentFiles.size() > kRecentFileCount)
        m_recentFiles.resize(kRecentFileCount);
}

} // namespace saroko
