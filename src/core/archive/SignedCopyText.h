#pragma once
// What a signed copy (a report with its signature pages) says about itself in its update's
// comment lines, so that it can be checked without the archive's help:
//   %saroko-signed-report LENGTH SHA256
//   %saroko-signature KEY SIGNATURE STATEMENT_HEX
// The report is the copy's first LENGTH bytes.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/archive/Signatures.h"

namespace saroko::archive {

std::string SignedCopyComment(std::size_t reportSize, const std::string& reportSha256,
                              const std::vector<Signature>& signatures);

struct SignedCopy {
    std::size_t reportSize = 0;
    std::string reportSha256; // as the copy claims it
    std::vector<Signature> signatures;
};
// Nullopt when the bytes are not a signed copy (a report itself, say).
std::optional<SignedCopy> ReadSignedCopy(std::string_view pdf);

} // namespace saroko::archive
