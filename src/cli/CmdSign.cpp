// saroko-cli key create|list|retire, sign and verify-signature: signing keys registered in
// the archive, reports signed with them, and the check of every signature of a report.
#include <QFileInfo>
#include <cstdlib>
#include <iostream>
#ifdef SAROKO_CLI_HAS_GUI
#include "ui/printing/SignedCopy.h"
#endif

#include "cli/CliArchive.h"
#include "cli/CliCommon.h"
#include "cli/CliOptions.h"
#include "core/archive/ArchiveSettings.h"
#include "platform/ArchiveSetup.h"
#include "platform/ReportSigning.h"
#include "platform/SigningKeys.h"

namespace saroko::cli {

extern const char kKeyUsage[] =
    "usage: saroko-cli key SUBCOMMAND ...\n"
    "  create --name NAME [--passphrase-fd N]\n"
    "                 makes an Ed25519 signing key, kept encrypted under a passphrase in\n"
    "                 your configuration folder, and registers it in the archive under NAME\n"
    "  list           the archive's keys: fingerprint, name, who registered them, retired\n"
    "  retire FINGERPRINT [--reason TEXT]\n"
    "                 retires a key: it signs nothing more\n"
    "The passphrase is asked for on the terminal without echo, or read as one line from\n"
    "file descriptor N; never give it as an argument.\n";

extern const char kSignUsage[] =
    "usage: saroko-cli sign REPORT.pdf --meaning M --name NAME [--passphrase-fd N]\n"
    "  Signs a report the program made: the statement names the report's SHA-256, its\n"
    "  sources, the archive's chain head, the meaning (reviewed, approved or your own\n"
    "  word), NAME as your key is registered, and the time. The signature is an event in\n"
    "  the archive; REPORT.signed.pdf is written beside the report with a page for each of\n"
    "  its signatures.\n";

extern const char kVerifySignatureUsage[] =
    "usage: saroko-cli verify-signature FILE.pdf...\n"
    "  Checks every signature of a report, or of a signed copy: the statement, the key,\n"
    "  the signature, the report's bytes, the chain head and each source file. Exit status\n"
    "  0 when every signature is good, 1 otherwise, naming which.\n";

extern const char kSettingUsage[] =
    "usage: saroko-cli archive setting [reason-required (on|off) [--reason TEXT]]\n";

namespace {

int Say(const std::string& problem) {
    std::cerr << "saroko-cli: " << problem << "\n";
    return kExitFailed;
}

std::optional<std::string> Passphrase(const CVerbOptions& o, const char* prompt) {
    int fd = -1;
    if (const auto v = o.Value("passphrase-fd")) {
        char* end = nullptr;
        const long n = std::strtol(v->c_str(), &end, 10);
        if (v->empty() || *end || n < 0 || n > 1024)
            return std::nullopt;
        fd = static_cast<int>(n);
    }
    return ReadPassphrase(prompt, fd);
}

} // namespace

void DeclareKeyCreate(CVerbOptions& o) {
    o.TakeNoFiles();
    o.AddValue("name");
    o.AddValue("passphrase-fd");
}

int RunKeyCreate(const CVerbOptions& o) {
    const auto name = o.Value("name");
    if (!name)
        return o.Fail("create wants --name NAME");
    const auto pass = Passphrase(o, "passphrase: ");
    if (!pass)
        return o.Fail("no passphrase (a terminal or --passphrase-fd N)");
    if (!o.Value("passphrase-fd")) {
        const auto again = Passphrase(o, "again: ");
        if (!again || *again != *pass)
            return Say("the two passphrases differ");
    }
    const KeyResult r = CreateAndRegisterKey(CliArchive(), *name, *pass);
    if (!r.problem.empty())
        return Say(r.problem);
    std::cout << r.fingerprint << "\n";
    return kExitOk;
}

void DeclareKeyList(CVerbOptions& o) {
    o.TakeNoFiles();
}

int RunKeyList(const CVerbOptions&) {
    const auto keys = ArchiveKeys(CliArchive());
    if (!keys)
        return Say("the archive cannot be read");
    for (const auto& [fp, k] : *keys)
        std::cout << fp << "  " << k.name << "  " << k.user << "@" << k.host << "  "
                  << k.registeredAt << (k.Retired() ? "  retired" : "") << "\n";
    return kExitOk;
}

void DeclareKeyRetire(CVerbOptions& o) {
    o.AddValue("reason");
}

int RunKeyRetire(const CVerbOptions& o) {
    if (o.Files().size() != 1)
        return o.Fail("retire wants one FINGERPRINT");
    const std::string problem =
        RetireKey(CliArchive(), o.Files().front(), o.Value("reason").value_or(""));
    return problem.empty() ? kExitOk : Say(problem);
}

void DeclareSign(CVerbOptions& o) {
    o.AddValue("meaning");
    o.AddValue("name");
    o.AddValue("passphrase-fd");
}

int RunSign(const CVerbOptions& o) {
    if (o.Files().size() != 1)
        return o.Fail("sign wants one REPORT.pdf");
    const auto meaning = o.Value("meaning");
    const auto name = o.Value("name");
    if (!meaning || !name)
        return o.Fail("sign wants --meaning M and --name NAME");
    const std::string path =
        QFileInfo(QString::fromStdString(o.Files().front())).absoluteFilePath().toStdString();
    const auto pass = Passphrase(o, "passphrase: ");
    if (!pass)
        return o.Fail("no passphrase (a terminal or --passphrase-fd N)");
    archive::CArchiveSession& a = CliArchive();
    const int64_t now = a.Context().nowUtc();
    const SignResult r =
        SignReport(a, path, *name, *meaning, *pass, now, a.Context().offsetMinutes(now));
    if (!r.problem.empty())
        return Say(r.problem);
#ifdef SAROKO_CLI_HAS_GUI
    const auto bytes = ReadWholeFile(path);
    const std::string sha = bytes ? archive::Sha256Hex(a.Hash(), *bytes) : std::string();
    const QString copy = ui::SignedCopyPath(QString::fromStdString(path));
    if (!bytes ||
        !ui::WriteSignedCopy(copy, QFileInfo(QString::fromStdString(path)).fileName().toStdString(),
                             *bytes, ReportSignatures(a, sha, path), a.Hash()))
        return Say("signed, but the signed copy cannot be written: " + copy.toStdString());
    std::cout << copy.toStdString() << "\n";
#endif
    return kExitOk;
}

void DeclareVerifySignature(CVerbOptions&) {}

int RunVerifySignature(const CVerbOptions& o) {
    if (o.Files().empty())
        return o.Fail("no file given");
    bool good = true;
    for (const std::string& file : o.Files()) {
        const SignatureVerdict v = VerifyReportSignatures(CliArchive(), file);
        if (!v.problem.empty())
            std::cout << file << ": " << v.problem << "\n";
        for (const archive::SignatureCheck& c : v.checks) {
            const std::string who = c.statement ? c.statement->name + " (" + c.statement->meaning +
                                                      ", " + c.statement->time + ")"
                                                : c.signature.key.substr(0, 16);
            std::cout << file << ": " << who << ": " << (c.Good() ? "good" : c.problem) << "\n";
        }
        good = good && v.Good();
    }
    return good ? kExitOk : kExitFailed;
}

void DeclareArchiveSetting(CVerbOptions& o) {
    o.AddValue("reason");
}

int RunArchiveSetting(const CVerbOptions& o) {
    archive::CArchiveSession& a = CliArchive();
    if (!a.Enabled())
        return Say("--no-archive leaves no setting to read");
    a.Flush();
    std::vector<archive::Event> events;
    if (a.Store().Events(events) != archive::StoreStatus::kOk)
        return Say("the archive cannot be read");
    const auto now = archive::ArchiveSetting(events, archive::kReasonRequiredSetting);
    if (o.Files().empty()) {
        std::cout << "reason-required " << (now ? (*now ? "on" : "off") : "unset") << "\n";
        return kExitOk;
    }
    if (o.Files().size() != 2 || o.Files()[0] != "reason-required" ||
        (o.Files()[1] != "on" && o.Files()[1] != "off"))
        return o.Fail("setting takes: reason-required on|off");
    std::string problem;
    const auto change =
        archive::ChangeSetting(now, archive::kReasonRequiredSetting, o.Files()[1] == "on",
                               o.Value("reason").value_or(""), problem);
    if (!change)
        return Say(problem);
    a.RecordAbout(archive::EventKind::Setting, "", change->detail, change->oldValue,
                  change->newValue, change->reason);
    if (!a.Flush())
        return Say(a.TakeMessage());
    return kExitOk;
}

} // namespace saroko::cli
