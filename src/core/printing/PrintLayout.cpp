#include "core/printing/PrintLayout.h"
#include "core/messages/Translate.h"

#include <algorithm>
#include <limits>

namespace saroko {
namespace {

constexpr const char* kUntitledName = "Untitled";

int ClampInt(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, 0, std::numeric_limits<int>::max()));
}

} // namespace

GraphPrintSettings GraphPrintSettingsOf(const CZorvicDoc& doc) {
    return {doc.m_nPrintMethod, doc.m_nHorizontalScale, doc.m_nVerticalScale};
}

void StoreGraphPrintSettings(CZorvicDoc& doc, const GraphPrintSettings& settings) {
    doc.m_nPrintMethod = settings.method;
    doc.m_nHorizontalScale = settings.horizontalScale;
    doc.m_nVerticalScale = settings.verticalScale;
    doc.SavePrintGraphSettings();
}

GraphRect GraphPrintRect(const GraphPrintSettings& settings, int w, int h,
                         const PrinterMetrics& printer) {
    if (w <= 0 || h <= 0)
        return {};
    switch (settings.method) {
    case kPrintFillPaper:
        return {0, 0, printer.horzRes, printer.vertRes};
    case kPrintScale:
        return {0, 0, ClampInt(int64_t{w} * settings.horizontalScale),
                ClampInt(int64_t{h} * settings.verticalScale)};
    default:
        break;
    }
    // Fit: the full printable width at the window's proportions (in inches, so that unequal
    // printer resolutions keep the shape); a window too tall for that fits the height instead.
    if (printer.logPixelsX <= 0 || printer.logPixelsY <= 0)
        return {0, 0, printer.horzRes, printer.vertRes};
    const int64_t height =
        int64_t{printer.logPixelsY} * printer.horzRes * h / (int64_t{printer.logPixelsX} * w);
    if (height <= printer.vertRes)
        return {0, 0, printer.horzRes, ClampInt(height)};
    const int64_t width =
        int64_t{printer.logPixelsX} * printer.vertRes * w / (int64_t{printer.logPixelsY} * h);
    return {0, 0, ClampInt(width), printer.vertRes};
}

PageRange ResolvePageRange(int pageCount, bool userRange, int from, int to) {
    if (pageCount <= 0)
        return {0, 0};
    if (!userRange)
        return {1, pageCount};
    return {std::clamp(from, 1, pageCount), std::clamp(to, 1, pageCount)};
}

std::string FreshPdfName(const std::string& folder, const std::string& documentName,
                         const std::function<bool(const std::string&)>& exists) {
    std::string stem = documentName;
    const std::size_t dot = stem.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        stem.erase(dot);
    if (stem.empty() || documentName == kUntitledName)
        stem = "Saroko";
    std::string base = folder;
    if (!base.empty() && base.back() != '/')
        base += '/';
    base += stem;
    // A bound on the search: a folder with a thousand earlier prints gets the plain name,
    // and the question before replacing it.
    // Appended piece by piece: GCC 12 at -O3 takes the chained operator+ for an overlap.
    for (int n = 1; n <= 999; ++n) {
        std::string name = base;
        if (n > 1) {
            name += '-';
            name += std::to_string(n);
        }
        name += ".pdf";
        if (!exists(name))
            return name;
    }
    base += ".pdf";
    return base;
}

std::string PrintProgressText(int page, int lastPage) {
    std::string text = TranslateText("Printing", "現在、%1/%2 ﾍﾟｰｼﾞ目を印刷中です。");
    const auto put = [&text](const char* mark, int n) {
        if (const auto at = text.find(mark); at != std::string::npos)
            text.replace(at, 2, std::to_string(static_cast<unsigned>(n)));
    };
    put("%1", page);
    put("%2", lastPage);
    return text;
}

} // namespace saroko
