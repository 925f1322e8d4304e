#pragma once
// Pages added to a PDF the program made, as an incremental update: the first document's bytes
// stay at the start of the result byte for byte (so their SHA-256 can still be checked with
// `head -c N`), followed by the added pages' objects, a new page tree, a cross-reference
// section and a trailer that points back to the first one. The added pages come from a second
// PDF the program painted; their objects are renumbered after the first document's.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace saroko {

// `comment` (lines each starting with "%" and ending in LF, or empty) goes into the update
// before its cross-reference section. Nullopt when either document is not one this code reads:
// one classic cross-reference section, a catalog with a page tree of one level.
std::optional<std::string> AppendPdfPages(std::string_view base, std::string_view extra,
                                          std::string_view comment = {});

// The number of pages of a PDF by its newest page tree; 0 when it cannot be read.
int PdfPageCount(std::string_view pdf);

} // namespace saroko
