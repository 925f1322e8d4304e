// Signatures and the site's settings as folds of the archive's events, checked against an
// archive in memory with a stand-in for Ed25519 (the real one is the platform's, tested there).
#include <gtest/gtest.h>

#include <map>

#include "core/archive/ArchiveSession.h"
#include "core/archive/ArchiveSettings.h"
#include "core/archive/MemoryArchiveStore.h"
#include "core/archive/Signatures.h"
#include "core/archive/SignedCopyText.h"
#include "support/FakeHash.h"

namespace saroko::archive {
namespace {

using test::FakeHash;

std::string H(const std::string& text) {
    return Sha256Hex(&FakeHash, text);
}

// A key stands for its own private half: the "signature" binds key and message.
std::string Der(const std::string& who) {
    return kEd25519DerPrefixHex + H(who);
}
std::string FakeSign(const std::string& der, std::string_view message) {
    return H(der + "|" + std::string(message)) + H(std::string(message) + "|" + der);
}
bool FakeVerify(const std::string& der, std::string_view message, const std::string& sig) {
    return sig == FakeSign(der, message);
}

class SignaturesTest : public ::testing::Test {
protected:
    SignaturesTest() : session(&mem, &FakeHash, Context()) {
        for (const char* name : {"a", "b"}) {
            Recording r;
            r.sha256 = H(name);
            r.path = std::string("/data/") + name + ".klg";
            r.source = "file";
            session.Record(EventKind::Created, r, "imported");
            files[r.path] = r.sha256;
        }
        // Report 1 of both recordings, report 2 of "a" alone.
        for (const char* name : {"a", "b"})
            session.RecordAbout(EventKind::Reported, H(name), {}, {},
                                FileText("/out/r1.pdf", H("r1")));
        session.RecordAbout(EventKind::Reported, H("a"), {}, {}, FileText("/out/r2.pdf", H("r2")));
        Register("hanako");
        Register("taro");
    }
    static SessionContext Context() {
        return test::BenchContext([] { return int64_t{1796630400}; }, "hanako", "qa-pc");
    }
    void Register(const std::string& who) {
        SigningKey k;
        k.fingerprint = KeyFingerprint(&FakeHash, Der(who));
        k.name = who + " (QA)";
        k.publicDerHex = Der(who);
        session.RecordAbout(EventKind::Key, "", kKeyRegistered, {}, KeyRegisteredValue(k));
    }
    std::string Fp(const std::string& who) { return KeyFingerprint(&FakeHash, Der(who)); }
    // Signs report `report` as `who` and records it; `edit` may change the statement first.
    Signature Sign(const std::string& who, const std::string& report,
                   void (*edit)(Statement&) = nullptr, bool record = true) {
        Statement st{H(report),
                     ReportSourcesOf(mem.events, H(report)),
                     mem.events.back().hash,
                     "approved",
                     who + " (QA)",
                     StatementTime(1796630400, 540),
                     Fp(who)};
        if (edit)
            edit(st);
        Signature s{0, Fp(who), FakeSign(Der(who), StatementText(st)), StatementText(st)};
        if (record)
            session.RecordAbout(EventKind::Signed, "",
                                FileText("/out/" + report + ".pdf", H(report)), {}, SignedValue(s));
        return s;
    }
    std::string Check(const Signature& s, const std::string& report) {
        SignatureContext c{H(report),
                           &mem.events,
                           &mem.recordings,
                           &mem.kept,
                           [this](const std::string& p) -> std::optional<std::string> {
                               const auto it = files.find(p);
                               return it == files.end() ? std::nullopt : std::optional(it->second);
                           },
                           &FakeVerify,
                           &FakeHash};
        return CheckSignature(s, c).problem;
    }

    CMemoryArchiveStore mem;
    CArchiveSession session;
    std::map<std::string, std::string> files;
};

// The bytes signed, byte for byte as docs/ARCHIVE.md gives them, and only those read back.
TEST_F(SignaturesTest, TheStatementIsTheDocumentedTextAndOnlyThatParses) {
    const Statement st{
        std::string(64, 'e'), {{1, std::string(64, 'a')}, {12, std::string(64, 'b')}},
        std::string(64, 'c'), "reviewed",
        "佐藤 花子, QA",      StatementTime(1796630400 + 59, -150),
        std::string(64, 'f')};
    const std::string text = StatementText(st);
    EXPECT_EQ(text,
              "saroko-signature/1\nreport=sha256:" + std::string(64, 'e') +
                  "\nsource=1 sha256:" + std::string(64, 'a') +
                  "\nsource=12 sha256:" + std::string(64, 'b') + "\nchain=" + std::string(64, 'c') +
                  "\nmeaning=reviewed\nname=佐藤 花子, QA\ntime=2026-12-07T05:30:59-02:30\nkey=" +
                  std::string(64, 'f') + "\n");
    EXPECT_EQ(StatementTime(1796630400, 540), "2026-12-07T17:00:00+09:00");
    EXPECT_EQ(ParseStatement(text), st);
    Statement none = st;
    none.sources.clear();
    EXPECT_EQ(ParseStatement(StatementText(none)), none);
    for (const std::string& bad :
         {text.substr(0, text.size() - 1), text + "x=y\n", "saroko-signature/2" + text.substr(18),
          std::string(text).replace(text.find("source=1 "), 9, "source=x "),
          std::string(text).replace(text.find("meaning"), 7, "Meaning")})
        EXPECT_EQ(ParseStatement(bad), std::nullopt) << bad;
}

// A signature is good only as signed; each way to spoil it is found with its own message.
TEST_F(SignaturesTest, EachFaultOfASignatureIsFoundWithItsOwnMessage) {
    const Signature good = Sign("hanako", "r1");
    EXPECT_EQ(Check(good, "r1"), "");
    EXPECT_EQ(ParseStatement(good.statement)->sources,
              (std::vector<SignedSource>{{1, H("a")}, {2, H("b")}}));
    Signature edited = good;
    edited.statement.replace(edited.statement.find("approved"), 8, "reviewed");
    Signature otherKey = good;
    otherKey.key = Fp("taro");
    Signature unknown = Sign("jiro", "r1", [](Statement& s) { s.name = "jiro (QA)"; });
    const Signature unrecorded = Sign("taro", "r1", nullptr, false);
    const Signature lost =
        Sign("taro", "r1", [](Statement& s) { s.chainHead = std::string(64, '9'); });
    Signature malformed = good;
    malformed.statement += "\n";
    // clang-format off
    const struct { const Signature* s; std::string report; std::string problem; } cases[] = {
        {&good,       "r9", "ﾚﾎﾟｰﾄが署名の後に変更されています"},
        {&good,       "r2", "この署名は別のﾚﾎﾟｰﾄ"},
        {&edited,     "r1", "署名が署名文と一致しません"},
        {&otherKey,   "r1", "署名文の鍵と署名の鍵が違います"},
        {&unknown,    "r1", "は記録保管庫に登録されていません"},
        {&unrecorded, "r1", "この署名は記録保管庫にありません"},
        {&lost,       "r1", "署名時のﾁｪｰﾝﾍｯﾄﾞが記録保管庫にありません"},
        {&malformed,  "r1", "署名文が読めません"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_NE(Check(*c.s, c.report).find(c.problem), std::string::npos)
            << c.problem << " / " << Check(*c.s, c.report);
    files["/data/b.klg"] = H("b changed");
    EXPECT_EQ(Check(good, "r1"), "記録 2 のﾌｧｲﾙ /data/b.klg が署名の後に変更されています。");
    files.erase("/data/b.klg");
    EXPECT_EQ(Check(good, "r1"), "記録 2 のﾌｧｲﾙ /data/b.klg がありません。");
}

// A retired key signs nothing more; what it signed before stays good.
TEST_F(SignaturesTest, ARetiredKeyKeepsItsEarlierSignaturesAndMakesNoNewOnes) {
    const Signature before = Sign("hanako", "r1");
    session.RecordAbout(EventKind::Key, "", kKeyRetired, {}, KeyRetiredValue(Fp("hanako")), "left");
    // Retiring twice, or a key never registered, changes nothing.
    session.RecordAbout(EventKind::Key, "", kKeyRetired, {}, KeyRetiredValue(Fp("hanako")));
    session.RecordAbout(EventKind::Key, "", kKeyRetired, {}, KeyRetiredValue(Fp("nobody")));
    const Signature after = Sign("hanako", "r1");
    EXPECT_EQ(Check(before, "r1"), "");
    EXPECT_NE(Check(after, "r1").find("署名の前に廃止されていました"), std::string::npos);
    const auto keys = FoldKeys(mem.events);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys.at(Fp("hanako")).retiredSeq, mem.events[mem.events.size() - 4].seq);
    EXPECT_FALSE(keys.at(Fp("taro")).Retired());
    EXPECT_EQ(keys.at(Fp("taro")).user + "@" + keys.at(Fp("taro")).host, "hanako@qa-pc");
    EXPECT_EQ(SignaturesOfReport(mem.events, H("r1"), "").size(), 2u);
    EXPECT_EQ(SignaturesOfReport(mem.events, H("r9"), "/out/r1.pdf").size(), 2u) << "by its path";
    EXPECT_TRUE(SignaturesOfReport(mem.events, H("r2"), "/out/r2.pdf").empty());
}

// What stops a signature before it is made, in its order, each limit from both sides.
TEST_F(SignaturesTest, SigningIsRefusedForEachReasonWithItsOwnMessage) {
    session.RecordAbout(EventKind::Key, "", kKeyRetired, {}, KeyRetiredValue(Fp("taro")));
    const auto keys = FoldKeys(mem.events);
    const std::string hanako = Fp("hanako"), name = "hanako (QA)";
    // clang-format off
    const struct { std::string fp, name, meaning; bool opened; std::string der, problem; } cases[] = {
        {hanako, name, "approved",            true,  Der("hanako"), ""},
        {hanako, name, std::string(100, 'm'), true,  Der("hanako"), ""},
        {hanako, name, std::string(101, 'm'), true,  Der("hanako"), "署名の意味を"},
        {hanako, name, "",                    true,  Der("hanako"), "署名の意味を"},
        {hanako, name, "ok\nno",              true,  Der("hanako"), "署名の意味を"},
        {Fp("jiro"), name, "approved",        true,  Der("jiro"),   "登録されていません"},
        {Fp("taro"), "taro (QA)", "approved", true,  Der("taro"),   "廃止されています"},
        {hanako, "hanako", "approved",        true,  Der("hanako"), "氏名が鍵の登録名 (hanako (QA)) と一致しません"},
        {hanako, name, "approved",            false, "",            "ﾊﾟｽﾌﾚｰｽﾞが違います"},
        {hanako, name, "approved",            true,  Der("taro"),   "が登録された鍵と一致しません"},
    };
    // clang-format on
    for (const auto& c : cases) {
        const std::string p = SigningProblem(keys, c.fp, c.name, c.meaning, c.opened, c.der);
        EXPECT_EQ(p.empty(), c.problem.empty()) << c.problem << " / " << p;
        EXPECT_NE(p.find(c.problem), std::string::npos) << c.problem << " / " << p;
    }
    EXPECT_TRUE(ReportSourcesOf(mem.events, H("r9")).empty()) << "a report the archive never made";
    EXPECT_EQ(KeyFingerprint(&FakeHash, Der("x").substr(2)), "");
}

// A signed copy's comment lines carry its report's length and every signature, read back.
TEST_F(SignaturesTest, ASignedCopyCarriesItsSignaturesInItsComments) {
    const std::vector<Signature> sigs = {Sign("hanako", "r1"), Sign("taro", "r1")};
    const std::string report = "%PDF-1.4\n...%%EOF\n";
    const std::string copy = report + "9 0 obj\n<<>>\nendobj\n" +
                             SignedCopyComment(report.size(), H("r1"), sigs) + "xref\n";
    const auto read = ReadSignedCopy(copy);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->reportSize, report.size());
    EXPECT_EQ(read->reportSha256, H("r1"));
    ASSERT_EQ(read->signatures.size(), 2u);
    EXPECT_EQ(read->signatures[1].statement, sigs[1].statement);
    EXPECT_EQ(read->signatures[1].signature, sigs[1].signature);
    EXPECT_FALSE(ReadSignedCopy(report));
    EXPECT_FALSE(ReadSignedCopy(SignedCopyComment(copy.size() + 1, H("r1"), sigs)));
}

// "A reason is required": the archive's setting once set, the user's option until then;
// turning it off wants a reason that is more than blanks.
TEST_F(SignaturesTest, TheReasonSettingIsTheArchivesOnceItHoldsOne) {
    EXPECT_EQ(ArchiveSetting(mem.events, kReasonRequiredSetting), std::nullopt);
    EXPECT_TRUE(ReasonRequired(std::nullopt, true));
    EXPECT_FALSE(ReasonRequired(std::nullopt, false));
    std::string problem;
    const auto on = ChangeSetting(std::nullopt, kReasonRequiredSetting, true, "", problem);
    ASSERT_TRUE(on) << problem;
    EXPECT_EQ(on->oldValue + ">" + on->newValue, ">on");
    session.RecordAbout(EventKind::Setting, "", on->detail, on->oldValue, on->newValue);
    EXPECT_EQ(ArchiveSetting(mem.events, kReasonRequiredSetting), true);
    EXPECT_TRUE(ReasonRequired(true, false));
    EXPECT_FALSE(ChangeSetting(true, kReasonRequiredSetting, true, "", problem));
    EXPECT_NE(problem, "");
    for (const char* blank : {"", " \t", "\xe3\x80\x80 "})
        EXPECT_FALSE(ChangeSetting(true, kReasonRequiredSetting, false, blank, problem)) << blank;
    EXPECT_EQ(problem, "設定を切るには理由が必要です。");
    const auto off = ChangeSetting(true, kReasonRequiredSetting, false, " 監査終了", problem);
    ASSERT_TRUE(off);
    EXPECT_EQ(off->oldValue + ">" + off->newValue + ":" + off->reason, "on>off: 監査終了");
    session.RecordAbout(EventKind::Setting, "", off->detail, off->oldValue, off->newValue,
                        off->reason);
    EXPECT_EQ(ArchiveSetting(mem.events, kReasonRequiredSetting), false);
    EXPECT_FALSE(ReasonRequired(false, true));
    EXPECT_EQ(mem.events.back().recordingId, 0);
    EXPECT_EQ(mem.events.back().recordingSha256, "");
}

} // namespace
} // namespace saroko::archive
