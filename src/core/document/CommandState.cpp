#include "core/document/CommandState.h"

#include <algorithm>
#include <array>

namespace saroko {
namespace {

constexpr std::array kNeedData = {
    cmd::kPrintColour,   cmd::kPrintMono, cmd::kPrintDataList, cmd::kFileSave,  cmd::kFileSaveAll,
    cmd::kFileSaveRange, cmd::kExportAll, cmd::kExportRange,   cmd::kDataList,  cmd::kCursorRight,
    cmd::kCursorLeft,    cmd::kZoomIn,    cmd::kGraphRight,    cmd::kGraphLeft, cmd::kGraphUp,
    cmd::kGraphDown,     cmd::kReport};

} // namespace

bool AnyChannelPresent(const CZorvicDoc& doc) {
    return doc.HasAnyData();
}

bool ViewShowsEverything(const GraphRange& r) {
    return r.viewStart == r.dataStart && r.viewEnd == r.dataEnd && r.viewUpper == r.fullUpper &&
           r.viewLower == r.fullLower;
}

CommandState GetCommandState(const CZorvicDoc& doc, int id) {
    CommandState s;
    if (std::find(kNeedData.begin(), kNeedData.end(), id) != kNeedData.end()) {
        s.enabled = AnyChannelPresent(doc);
    } else if (id == cmd::kCursorA || id == cmd::kCursorB) {
        s.enabled = AnyChannelPresent(doc);
        s.checked = (id == cmd::kCursorA ? doc.m_nCursorASelect : doc.m_nCursorBSelect) == 1;
    } else if (id == cmd::kZoomOut) {
        s.enabled = !ViewShowsEverything(*doc.GetRange());
    }
    return s;
}

} // namespace saroko
