#pragma once
// The steps of registering keys, signing a report and checking its signatures, the same for
// the window and saroko-cli: the rules are core's (core/archive/Signatures.h), the keys and
// Ed25519 this folder's (SigningKeys.h), the events the archive session's.
#include <optional>
#include <string>
#include <vector>

#include "core/archive/ArchiveSession.h"
#include "core/archive/Signatures.h"

namespace saroko {

struct KeyResult {
    std::string fingerprint;
    std::string problem; // "" when done
};
// Makes a key under `passphrase`, keeps its file and registers it in the archive.
KeyResult CreateAndRegisterKey(archive::CArchiveSession& session, const std::string& name,
                               const std::string& passphrase);
// Retires a registered key by an event; it signs nothing more.
std::string RetireKey(archive::CArchiveSession& session, const std::string& fingerprint,
                      const std::string& reason);
// The archive's keys (nullopt when the archive cannot be read).
std::optional<std::map<std::string, archive::SigningKey>>
ArchiveKeys(archive::CArchiveSession& session);

struct SignResult {
    archive::Signature signature;
    std::string problem; // "" when signed
};
// Signs the report at `path` (absolute) with the user's key registered as `name`.
SignResult SignReport(archive::CArchiveSession& session, const std::string& path,
                      const std::string& name, const std::string& meaning,
                      const std::string& passphrase, int64_t nowUtc, int offsetMinutes);
// The report's signatures as the archive holds them, newest last; the signed copy is written
// beside the report with every one of them.
std::vector<archive::Signature> ReportSignatures(archive::CArchiveSession& session,
                                                 const std::string& reportSha256,
                                                 const std::string& path);

struct SignatureVerdict {
    std::string file;
    std::string problem;                         // about the file itself ("" when it was read)
    std::vector<archive::SignatureCheck> checks; // one per signature found
    bool Good() const;
};
// Checks every signature of a report or of a signed copy (found by its comment lines).
SignatureVerdict VerifyReportSignatures(archive::CArchiveSession& session, const std::string& path);

} // namespace saroko
