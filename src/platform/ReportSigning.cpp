#include "platform/ReportSigning.h"

#include <QFileInfo>
#include <algorithm>

#include "core/archive/SignedCopyText.h"
#include "core/messages/Translate.h"
#include "platform/ArchiveSetup.h"
#include "platform/SigningKeys.h"

namespace saroko {
namespace {

std::optional<std::vector<archive::Event>> AllEvents(archive::CArchiveSession& session) {
    if (!session.Enabled())
        return std::nullopt;
    session.Flush();
    std::vector<archive::Event> events;
    if (session.Store().Events(events) != archive::StoreStatus::kOk)
        return std::nullopt;
    return events;
}

std::string Unreadable() {
    return TranslateText("Signatures", "記録保管庫を読めません。");
}

} // namespace

std::optional<std::map<std::string, archive::SigningKey>>
ArchiveKeys(archive::CArchiveSession& session) {
    const auto events = AllEvents(session);
    if (!events)
        return std::nullopt;
    return archive::FoldKeys(*events);
}

KeyResult CreateAndRegisterKey(archive::CArchiveSession& session, const std::string& name,
                               const std::string& passphrase) {
    if (!archive::ValidSignatureField(name))
        return {{}, TranslateText("Signatures", "名前を 1～100 ﾊﾞｲﾄの 1 行で入力してください。")};
    if (passphrase.size() < 8)
        return {{}, TranslateText("Signatures", "ﾊﾟｽﾌﾚｰｽﾞは 8 文字以上にしてください。")};
    if (!session.Enabled())
        return {{},
                TranslateText("Signatures",
                              "鍵は記録保管庫に登録します。記録保管庫なしでは作れません。")};
    const std::optional<NewSigningKey> key = CreateSigningKey(passphrase);
    if (!key)
        return {{}, TranslateText("Signatures", "鍵を作れませんでした。")};
    archive::SigningKey k;
    k.fingerprint = archive::KeyFingerprint(session.Hash(), key->publicDerHex);
    k.name = name;
    k.publicDerHex = key->publicDerHex;
    if (!SaveSigningKey(k.fingerprint, key->pem))
        return {{},
                TranslateText("Signatures", "鍵ﾌｧｲﾙを保存できません: ") +
                    SigningKeyPath(k.fingerprint)};
    session.RecordAbout(archive::EventKind::Key, "", archive::kKeyRegistered, {},
                        archive::KeyRegisteredValue(k));
    if (!session.Flush())
        return {k.fingerprint, session.TakeMessage()};
    return {k.fingerprint, {}};
}

std::string RetireKey(archive::CArchiveSession& session, const std::string& fingerprint,
                      const std::string& reason) {
    const auto keys = ArchiveKeys(session);
    if (!keys)
        return Unreadable();
    const auto it = keys->find(fingerprint);
    if (it == keys->end())
        return TranslateText("Signatures", "その指紋の鍵は登録されていません。");
    if (it->second.Retired())
        return TranslateText("Signatures", "その鍵はすでに廃止されています。");
    session.RecordAbout(archive::EventKind::Key, "", archive::kKeyRetired, {},
                        archive::KeyRetiredValue(fingerprint), reason);
    return session.Flush() ? std::string() : session.TakeMessage();
}

SignResult SignReport(archive::CArchiveSession& session, const std::string& path,
                      const std::string& name, const std::string& meaning,
                      const std::string& passphrase, int64_t nowUtc, int offsetMinutes) {
    const auto events = AllEvents(session);
    if (!events)
        return {{}, Unreadable()};
    const std::optional<std::string> reportSha = Sha256OfFile(path);
    if (!reportSha)
        return {{}, TranslateText("Signatures", "ﾚﾎﾟｰﾄを読めません: ") + path};
    archive::Statement st;
    st.reportSha256 = *reportSha;
    st.sources = archive::ReportSourcesOf(*events, *reportSha);
    if (st.sources.empty())
        return {{},
                TranslateText("Signatures",
                              "このﾚﾎﾟｰﾄは記録保管庫にありません "
                              "(このﾌﾟﾛｸﾞﾗﾑが作った、変更されていないﾚﾎﾟｰﾄだけに署名できます)。")};
    const std::map<std::string, archive::SigningKey> keys = archive::FoldKeys(*events);
    // The user's key of that name: a file of theirs registered under it, in use if any is.
    std::string fingerprint;
    for (const std::string& fp : SigningKeyFiles()) {
        const auto it = keys.find(fp);
        if (it == keys.end() || it->second.name != name)
            continue;
        if (fingerprint.empty() || !it->second.Retired())
            fingerprint = fp;
    }
    if (fingerprint.empty())
        return {{},
                TranslateText("Signatures",
                              "この名前で登録された鍵がこのﾕｰｻﾞｰの鍵ﾌｫﾙﾀﾞにありません。")};
    st.chainHead = events->empty() ? std::string() : events->back().hash;
    st.meaning = meaning;
    st.name = name;
    st.time = archive::StatementTime(nowUtc, offsetMinutes);
    st.key = fingerprint;
    const std::string text = archive::StatementText(st);
    const std::optional<std::string> pem = LoadSigningKey(fingerprint);
    const OpenedKey opened = pem ? OpenSigningKey(*pem, passphrase, text) : OpenedKey{};
    std::string problem = archive::SigningProblem(keys, fingerprint, name, meaning, opened.opened,
                                                  opened.publicDerHex);
    if (!problem.empty())
        return {{}, problem};
    archive::Signature s{0, fingerprint, opened.signatureHex, text};
    session.RecordAbout(archive::EventKind::Signed, "", archive::FileText(path, *reportSha), {},
                        archive::SignedValue(s));
    if (!session.Flush())
        return {{}, session.TakeMessage()};
    return {s, {}};
}

std::vector<archive::Signature> ReportSignatures(archive::CArchiveSession& session,
                                                 const std::string& reportSha256,
                                                 const std::string& path) {
    const auto events = AllEvents(session);
    if (!events)
        return {};
    std::vector<archive::Signature> out;
    for (archive::Signature& s : archive::SignaturesOfReport(*events, reportSha256, path)) {
        const auto st = archive::ParseStatement(s.statement);
        if (st && st->reportSha256 == reportSha256)
            out.push_back(std::move(s));
    }
    return out;
}

bool SignatureVerdict::Good() const {
    return problem.empty() && !checks.empty() &&
           std::all_of(checks.begin(), checks.end(),
                       [](const archive::SignatureCheck& c) { return c.Good(); });
}

SignatureVerdict VerifyReportSignatures(archive::CArchiveSession& session,
                                        const std::string& path) {
    SignatureVerdict v;
    v.file = path;
    const std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) {
        v.problem = TranslateText("Signatures", "ﾌｧｲﾙを読めません。");
        return v;
    }
    const auto events = AllEvents(session);
    std::vector<archive::Recording> recordings;
    std::vector<archive::KeptFile> kept;
    if (!events || session.Store().Recordings(recordings) != archive::StoreStatus::kOk ||
        session.Store().KeptFiles(kept) != archive::StoreStatus::kOk) {
        v.problem = Unreadable();
        return v;
    }
    archive::SignatureContext c;
    c.events = &*events;
    c.recordings = &recordings;
    c.kept = &kept;
    c.hashFile = &Sha256OfFile;
    c.verify = &VerifyEd25519;
    c.hash = session.Hash();
    std::vector<archive::Signature> signatures;
    if (const auto copy = archive::ReadSignedCopy(*bytes)) {
        // A signed copy: its report is its first bytes, its signatures its own.
        c.reportSha256 = archive::Sha256Hex(session.Hash(),
                                            std::string_view(*bytes).substr(0, copy->reportSize));
        signatures = copy->signatures;
    } else {
        c.reportSha256 = archive::Sha256Hex(session.Hash(), *bytes);
        const std::string absolute =
            QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
        signatures = archive::SignaturesOfReport(*events, c.reportSha256, absolute);
    }
    if (signatures.empty())
        v.problem = TranslateText("Signatures", "署名がありません。");
    for (const archive::Signature& s : signatures)
        v.checks.push_back(archive::CheckSignature(s, c));
    return v;
}

} // namespace saroko
