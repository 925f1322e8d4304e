#pragma once
// The graph print's settings and where the picture lands on the printer's page for each
// scaling method, and the page range a print job covers.
#include <cstdint>
#include <functional>
#include <string>

#include "core/document/ZorvicDoc.h"
#include "core/graph/GraphRect.h"

namespace saroko {

enum GraphPrintMethod : uint32_t {
    kPrintFitPaper = 0,  // "用紙に適したｻｲｽﾞに伸縮"
    kPrintFillPaper = 1, // "用紙いっぱいに伸縮"
    kPrintScale = 2,     // "任意のｽｹｰﾙを指定"
};

struct GraphPrintSettings {
    uint32_t method = kPrintFitPaper;
    uint32_t horizontalScale = 1; // printer pixels per screen pixel, method 2
    uint32_t verticalScale = 1;
    bool operator==(const GraphPrintSettings&) const = default;
};

GraphPrintSettings GraphPrintSettingsOf(const CZorvicDoc& doc);
// Into the document, and "Print Graph Section" saved.
void StoreGraphPrintSettings(CZorvicDoc& doc, const GraphPrintSettings& settings);

// The printable area in device pixels and the resolution in pixels per inch.
struct PrinterMetrics {
    int horzRes = 0;
    int vertRes = 0;
    int logPixelsX = 0;
    int logPixelsY = 0;
};

// The destination of a picture of w x h screen pixels on the page, in printer pixels.
GraphRect GraphPrintRect(const GraphPrintSettings& settings, int w, int h,
                         const PrinterMetrics& printer);

// The pages a job prints, 1-based and inclusive; {0, 0} prints nothing.
struct PageRange {
    int from = 0;
    int to = 0;
    bool operator==(const PageRange&) const = default;
    bool Empty() const { return from <= 0 || to <= 0 || to < from; }
};
// All pages unless the user chose a range, which is kept within 1..pageCount.
PageRange ResolvePageRange(int pageCount, bool userRange, int from, int to);

// The PDF file a print job proposes in `folder`: the document's name with its extension
// replaced by ".pdf" ("Saroko.pdf" for a document never saved), with "-2", "-3", ... added
// while `exists` says a file of that name is there, so that no job proposes an earlier
// job's file.
std::string FreshPdfName(const std::string& folder, const std::string& documentName,
                         const std::function<bool(const std::string&)>& exists);

// "現在、%u/%u ﾍﾟｰｼﾞ目を印刷中です。"
std::string PrintProgressText(int page, int lastPage);

} // namespace saroko
