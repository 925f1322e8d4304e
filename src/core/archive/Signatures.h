#pragma once
// Electronic signatures on reports, and the keys that make them. A signer's key is registered
// in the archive by a `key` event and retired by another; a signature is a `signed` event that
// holds a short canonical statement (the report's hash, its sources, the chain head, meaning,
// name, time, key), the key's fingerprint and the Ed25519 signature over the statement. The
// state (which keys are registered, which retired, what was signed) is a fold of the events.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/archive/Archive.h"

namespace saroko::archive {

// An Ed25519 public key's DER (SubjectPublicKeyInfo) is this prefix and the 32 raw bytes; its
// fingerprint is the SHA-256 of those 44 bytes (`sha256sum pub.der`).
inline constexpr char kEd25519DerPrefixHex[] = "302a300506032b6570032100";
inline constexpr char kKeyRegistered[] = "registered";
inline constexpr char kKeyRetired[] = "retired";

std::string HexText(std::string_view bytes);
// Nullopt unless every character is a hex digit and there is an even number of them.
std::optional<std::string> HexBytes(std::string_view hex);
// The fingerprint of a DER public key given in hex; "" when it is not an Ed25519 key's DER.
std::string KeyFingerprint(const Sha256Fn& hash, const std::string& publicDerHex);

// A name or a meaning is one line of 1 to 100 bytes without control characters.
bool ValidSignatureField(std::string_view text);

struct SigningKey {
    std::string fingerprint;
    std::string name;         // as the user gave it ("Hanako Sato, QA")
    std::string publicDerHex; // the public key's DER in hex
    std::string user, host;   // who registered it, where
    std::string registeredAt; // UTC
    int64_t registeredSeq = 0;
    int64_t retiredSeq = 0; // 0 while it is in use
    bool Retired() const { return retiredSeq != 0; }
};
// The `key` events' values: "fingerprint=FP\nname=NAME\npublic_key=DERHEX" and
// "fingerprint=FP".
std::string KeyRegisteredValue(const SigningKey& key);
std::string KeyRetiredValue(const std::string& fingerprint);
// Every key ever registered, by fingerprint; a second registration of one fingerprint and a
// retirement of an unknown or retired key change nothing.
std::map<std::string, SigningKey> FoldKeys(const std::vector<Event>& events);

struct SignedSource {
    int64_t id = 0; // the archive's recording id
    std::string sha256;
    bool operator==(const SignedSource&) const = default;
};

struct Statement {
    std::string reportSha256;
    std::vector<SignedSource> sources; // in the order of their ids
    std::string chainHead;             // the newest event's hash when it was signed
    std::string meaning;               // "reviewed", "approved" or the site's own word
    std::string name;                  // the signer's name as registered
    std::string time;                  // local, with its offset: "2026-12-08T17:29:38+09:00"
    std::string key;                   // the key's fingerprint
    bool operator==(const Statement&) const = default;
};
// The local time of `utc` at `offsetMinutes` east of UTC, as a statement writes it.
std::string StatementTime(int64_t utc, int offsetMinutes);
// The bytes that are signed: UTF-8, every line ending in LF (see docs/ARCHIVE.md).
std::string StatementText(const Statement& s);
// Nullopt when the text is not exactly what StatementText makes of some statement.
std::optional<Statement> ParseStatement(std::string_view text);

// A signature as the archive holds it (the `signed` event) or a signed copy carries it.
struct Signature {
    int64_t seq = 0;       // the `signed` event; 0 when not (yet) found in the archive
    std::string key;       // fingerprint
    std::string signature; // hex, 64 bytes
    std::string statement; // the text signed
    bool operator==(const Signature&) const = default;
};
// The `signed` event's new value: "key=FP\nsignature=HEX\n" followed by the statement.
std::string SignedValue(const Signature& s);
std::optional<Signature> ParseSignedValue(std::string_view value);
// Every `signed` event of the chain, in order.
std::vector<Signature> SignaturesIn(const std::vector<Event>& events);

// The recordings a report with `reportSha256` was made of: those its `reported` events are
// about (their new value ends "sha256:HASH"), each once, by id. Empty when the archive knows
// no report with these bytes.
std::vector<SignedSource> ReportSourcesOf(const std::vector<Event>& events,
                                          const std::string& reportSha256);
bool IsKnownReport(const std::vector<Event>& events, const std::string& reportSha256);

// Why a key cannot sign now; "" when it can. `publicDerHexOfFile` is the public key of the
// key file that was opened with the passphrase ("" when the passphrase did not open it).
std::string SigningProblem(const std::map<std::string, SigningKey>& keys,
                           const std::string& fingerprint, const std::string& name,
                           const std::string& meaning, bool passphraseOpened,
                           const std::string& publicDerHexOfFile);

// Ed25519 over `message` with the DER public key: from a library, never from here.
using SignatureVerifier = std::function<bool(
    const std::string& publicDerHex, std::string_view message, const std::string& signatureHex)>;

struct SignatureCheck {
    Signature signature;
    std::optional<Statement> statement;
    std::string problem; // "" when the signature is good; otherwise in the program's voice
    bool Good() const { return problem.empty(); }
};

// What a signature is checked against: the report's bytes' hash, the archive's events and
// recordings, and each source file's bytes now.
struct SignatureContext {
    std::string reportSha256;
    const std::vector<Event>* events = nullptr;
    const std::vector<Recording>* recordings = nullptr;
    const std::vector<KeptFile>* kept = nullptr;
    FileHasher hashFile;
    SignatureVerifier verify;
    Sha256Fn hash;
};
// The first problem of one signature, in the order: the statement, the key, the signature,
// the archive's record of it, the report, the chain head, the sources.
SignatureCheck CheckSignature(const Signature& s, const SignatureContext& c);
// The signatures of a report as the archive holds them: those whose statement names its hash,
// or whose event names the file at `path` (a report changed since it was signed).
std::vector<Signature> SignaturesOfReport(const std::vector<Event>& events,
                                          const std::string& reportSha256, const std::string& path);

} // namespace saroko::archive
