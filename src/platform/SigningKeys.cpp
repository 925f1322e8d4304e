#include "platform/SigningKeys.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

#include "core/archive/Signatures.h"
#include "core/files/Utf8Path.h"
#include "platform/UserFolders.h"

namespace saroko {
namespace {

using Key = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using Bio = std::unique_ptr<BIO, decltype(&BIO_free)>;

std::string PublicDerHex(EVP_PKEY* key) {
    unsigned char* der = nullptr;
    const int n = i2d_PUBKEY(key, &der);
    if (n <= 0)
        return {};
    std::string out = archive::HexText(
        std::string_view(reinterpret_cast<char*>(der), static_cast<std::size_t>(n)));
    OPENSSL_free(der);
    return out;
}

std::optional<std::string> Sign(EVP_PKEY* key, std::string_view message) {
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(),
                                                                      &EVP_MD_CTX_free);
    std::size_t n = 64;
    std::string sig(n, '\0');
    if (!ctx || EVP_DigestSignInit(ctx.get(), nullptr, nullptr, nullptr, key) != 1 ||
        EVP_DigestSign(ctx.get(), reinterpret_cast<unsigned char*>(sig.data()), &n,
                       reinterpret_cast<const unsigned char*>(message.data()), message.size()) != 1)
        return std::nullopt;
    sig.resize(n);
    return archive::HexText(sig);
}

} // namespace

std::optional<NewSigningKey> CreateSigningKey(const std::string& passphrase) {
    EVP_PKEY* raw = nullptr;
    const std::unique_ptr<EVP_PKEY_CTX, decltype(&EVP_PKEY_CTX_free)> ctx(
        EVP_PKEY_CTX_new_id(EVP_PKEY_ED25519, nullptr), &EVP_PKEY_CTX_free);
    if (!ctx || EVP_PKEY_keygen_init(ctx.get()) != 1 || EVP_PKEY_keygen(ctx.get(), &raw) != 1)
        return std::nullopt;
    const Key key(raw, &EVP_PKEY_free);
    const Bio bio(BIO_new(BIO_s_mem()), &BIO_free);
    if (!bio ||
        PEM_write_bio_PKCS8PrivateKey(bio.get(), key.get(), EVP_aes_256_cbc(), passphrase.data(),
                                      static_cast<int>(passphrase.size()), nullptr, nullptr) != 1)
        return std::nullopt;
    char* data = nullptr;
    const long n = BIO_get_mem_data(bio.get(), &data);
    return NewSigningKey{std::string(data, static_cast<std::size_t>(n)), PublicDerHex(key.get())};
}

OpenedKey OpenSigningKey(const std::string& pem, const std::string& passphrase,
                         std::optional<std::string_view> message) {
    OpenedKey out;
    const Bio bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())), &BIO_free);
    std::string pass = passphrase;
    // An empty passphrase must not fall back to a prompt of the library's own.
    const auto cb = [](char* buf, int size, int, void* u) -> int {
        const std::string& p = *static_cast<std::string*>(u);
        const int n =
            static_cast<int>(std::min<std::size_t>(p.size(), static_cast<std::size_t>(size)));
        std::copy_n(p.data(), n, buf);
        return n;
    };
    const Key key(bio ? PEM_read_bio_PrivateKey(bio.get(), nullptr, cb, &pass) : nullptr,
                  &EVP_PKEY_free);
    if (!key || EVP_PKEY_id(key.get()) != EVP_PKEY_ED25519)
        return out;
    out.opened = true;
    out.publicDerHex = PublicDerHex(key.get());
    if (message)
        if (const auto sig = Sign(key.get(), *message))
            out.signatureHex = *sig;
    return out;
}

bool VerifyEd25519(const std::string& publicDerHex, std::string_view message,
                   const std::string& signatureHex) {
    const std::optional<std::string> der = archive::HexBytes(publicDerHex);
    const std::optional<std::string> sig = archive::HexBytes(signatureHex);
    if (!der || !sig || sig->size() != 64)
        return false;
    const auto* p = reinterpret_cast<const unsigned char*>(der->data());
    const Key key(d2i_PUBKEY(nullptr, &p, static_cast<long>(der->size())), &EVP_PKEY_free);
    if (!key || EVP_PKEY_id(key.get()) != EVP_PKEY_ED25519)
        return false;
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(),
                                                                      &EVP_MD_CTX_free);
    return ctx && EVP_DigestVerifyInit(ctx.get(), nullptr, nullptr, nullptr, key.get()) == 1 &&
           EVP_DigestVerify(ctx.get(), reinterpret_cast<const unsigned char*>(sig->data()),
                            sig->size(), reinterpret_cast<const unsigned char*>(message.data()),
                            message.size()) == 1;
}

std::string SigningKeyPath(const std::string& fingerprint) {
    return Utf8OfPath(PathOfUtf8(SigningKeysFolder()) / (fingerprint + ".pem"));
}

bool SaveSigningKey(const std::string& fingerprint, const std::string& pem) {
    const QString folder = QString::fromStdString(SigningKeysFolder());
    if (!QDir().mkpath(folder))
        return false;
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile f(QString::fromStdString(SigningKeyPath(fingerprint)));
    if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return f.write(pem.data(), static_cast<qint64>(pem.size())) ==
               static_cast<qint64>(pem.size()) &&
           f.flush();
}

std::optional<std::string> LoadSigningKey(const std::string& fingerprint) {
    QFile f(QString::fromStdString(SigningKeyPath(fingerprint)));
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return f.readAll().toStdString();
}

std::vector<std::string> SigningKeyFiles() {
    std::vector<std::string> out;
    const QDir dir(QString::fromStdString(SigningKeysFolder()));
    for (const QFileInfo& f : dir.entryInfoList({QStringLiteral("*.pem")}, QDir::Files, QDir::Name))
        out.push_back(f.completeBaseName().toStdString());
    return out;
}

std::optional<std::string> ReadPassphrase(const std::string& prompt, int fd) {
    std::string line;
    if (fd >= 0) {
        char c = 0;
#ifdef _WIN32
        while (_read(fd, &c, 1) == 1 && c != '\n')
#else
        while (read(fd, &c, 1) == 1 && c != '\n')
#endif
            line += c;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        return line;
    }
    std::cerr << prompt << std::flush;
#ifdef _WIN32
    const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (!GetConsoleMode(in, &mode))
        return std::nullopt;
    SetConsoleMode(in, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    const bool ok = static_cast<bool>(std::getline(std::cin, line));
    SetConsoleMode(in, mode);
#else
    termios old{};
    if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &old) != 0)
        return std::nullopt;
    termios quiet = old;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    const bool ok = static_cast<bool>(std::getline(std::cin, line));
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &old);
#endif
    std::cerr << "\n";
    if (!ok)
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

} // namespace saroko
