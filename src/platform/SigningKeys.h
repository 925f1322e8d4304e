#pragma once
// Ed25519 signing keys through OpenSSL's libcrypto: made here, kept as encrypted PKCS#8 PEM
// files (AES-256-CBC, the key derived from the passphrase by PBKDF2) in the user's keys
// folder, named by the key's fingerprint. The passphrase is never stored.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace saroko {

struct NewSigningKey {
    std::string pem;          // the encrypted private key
    std::string publicDerHex; // SubjectPublicKeyInfo, hex
};
// Nullopt when the library fails (it should not).
std::optional<NewSigningKey> CreateSigningKey(const std::string& passphrase);

struct OpenedKey {
    bool opened = false;      // the passphrase opened the file
    std::string publicDerHex; // of the private key inside
    std::string signatureHex; // over the message, when asked to sign
};
// Opens an encrypted PEM with the passphrase and, when `message` is given, signs it.
OpenedKey OpenSigningKey(const std::string& pem, const std::string& passphrase,
                         std::optional<std::string_view> message = std::nullopt);
bool VerifyEd25519(const std::string& publicDerHex, std::string_view message,
                   const std::string& signatureHex);

// The key files: KEYS/FINGERPRINT.pem, written readable by the user alone.
std::string SigningKeyPath(const std::string& fingerprint);
bool SaveSigningKey(const std::string& fingerprint, const std::string& pem);
std::optional<std::string> LoadSigningKey(const std::string& fingerprint);
// The fingerprints of the key files in the user's folder.
std::vector<std::string> SigningKeyFiles();

// A passphrase from a terminal without echo, or one line from file descriptor `fd` (>= 0);
// nullopt when there is none to read.
std::optional<std::string> ReadPassphrase(const std::string& prompt, int fd = -1);

} // namespace saroko
