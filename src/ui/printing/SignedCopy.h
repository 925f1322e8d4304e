#pragma once
// The signed copy of a report, NAME.signed.pdf: the report's bytes as they were signed, then
// one page per signature (meaning, name, time, the statement, the key's fingerprint and the
// signature in hex) added as an incremental update, so the copy's first bytes are still the
// signed report. Comment lines in the update carry the same for saroko-cli verify-signature.
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "core/archive/Signatures.h"

namespace saroko::ui {

// The signature pages alone, as a PDF of their own (A4 landscape, the report's page style).
std::optional<std::string> SignaturePagesPdf(const std::string& reportName,
                                             const std::string& reportSha256,
                                             std::size_t reportSize,
                                             const std::vector<archive::Signature>& signatures);
// Writes the signed copy of `report` (its bytes) with `signatures` to `path`.
bool WriteSignedCopy(const QString& path, const std::string& reportName, const std::string& report,
                     const std::vector<archive::Signature>& signatures,
                     const archive::Sha256Fn& hash);
// NAME.pdf -> NAME.signed.pdf
QString SignedCopyPath(const QString& reportPath);

} // namespace saroko::ui
