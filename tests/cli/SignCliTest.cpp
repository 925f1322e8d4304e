// A report signed by two people (reviewed, then approved), checked by saroko-cli and by the
// documented openssl and sha256sum steps alone; any byte changed fails both.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

#include "core/printing/PdfAppend.h"
#include "support/DataFiles.h"

namespace {

namespace fs = std::filesystem;

class SignCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("saroko-sign-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        std::ofstream(P("pass")) << "correct horse battery\n";
        std::ofstream(P("wrong")) << "incorrect horse\n";
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string P(const std::string& name) const { return (dir / name).string(); }
    static std::string Read(const std::string& path) {
        std::ifstream f(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
    // saroko-cli as `user` (each with a configuration folder of their own), one archive;
    // returns the exit status, the output in `out`.
    int Cli(const std::string& user, const std::string& args, const std::string& pass = "pass") {
        const bool asks = args.starts_with("sign") || args.starts_with("key create");
        const std::string cmd = "cd '" + P("") + "' && TZ=Asia/Tokyo XDG_CONFIG_HOME='" + P(user) +
                                "' XDG_DATA_HOME='" + P("data") +
                                "' '" SAROKO_CLI "' --lang ja --archive '" + P("a.sqlite") + "' " +
                                args + (asks ? " --passphrase-fd 3 3<'" + P(pass) + "'" : "") +
                                " >'" + P("out") + "' 2>&1";
        const int raw = std::system(cmd.c_str());
        out = Read(P("out"));
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    // The check of docs/ARCHIVE.md, run as written.
    std::string DocumentedCheck(const std::string& report) {
        const std::string doc = saroko::test::ReadDataFile("../../docs/ARCHIVE.md");
        const std::size_t at = doc.find("<!-- verify-signature.sh");
        const std::size_t open = doc.find('\n', doc.find("```", at)) + 1;
        std::ofstream(P("check.sh")) << doc.substr(open, doc.find("\n```", open) + 1 - open);
        const std::string cmd = "cd '" + P("") + "' && ARCHIVE='" + P("a.sqlite") + "' REPORT='" +
                                report + "' bash check.sh >'" + P("check.out") + "' 2>&1";
        EXPECT_EQ(std::system(cmd.c_str()), 0);
        return Read(P("check.out"));
    }
    fs::path dir;
    std::string out;
};

TEST_F(SignCliTest, TwoSignaturesVerifyWithTheProgramAndWithOpensslAloneUntilAByteChanges) {
    ASSERT_EQ(Cli("hanako", "demo -o demo.klg"), 0) << out;
    ASSERT_EQ(Cli("hanako", "report -o r.pdf demo.klg"), 0) << out;
    ASSERT_EQ(Cli("hanako", "key create --name 'Hanako Sato, QA'"), 0) << out;
    const std::string hanako = out.substr(0, 64);
    ASSERT_EQ(Cli("taro", "key create --name '田中 太郎 (責任者)'"), 0) << out;
    ASSERT_EQ(Cli("hanako", "sign r.pdf --meaning reviewed --name 'Hanako Sato, QA'"), 0) << out;
    EXPECT_EQ(out, P("r.signed.pdf") + "\n");
    // Each way to be refused, with its own message; nothing is signed by them.
    // clang-format off
    const struct { std::string user, args, pass, message; } refused[] = {
        {"taro",   "sign r.pdf --meaning approved --name '田中 太郎 (責任者)'", "wrong", "ﾊﾟｽﾌﾚｰｽﾞが違います"},
        {"taro",   "sign r.pdf --meaning approved --name 'Hanako Sato, QA'",  "pass",  "この名前で登録された鍵がこのﾕｰｻﾞｰの鍵ﾌｫﾙﾀﾞにありません"},
        {"taro",   "sign demo.klg --meaning approved --name '田中 太郎 (責任者)'", "pass", "このﾚﾎﾟｰﾄは記録保管庫にありません"},
        {"taro",   "sign r.pdf --meaning '' --name '田中 太郎 (責任者)'",      "pass",  "署名の意味を"},
    };
    // clang-format on
    for (const auto& r : refused) {
        EXPECT_EQ(Cli(r.user, r.args, r.pass), 1) << r.args;
        EXPECT_NE(out.find(r.message), std::string::npos) << r.args << "\n" << out;
    }
    ASSERT_EQ(Cli("taro", "sign r.pdf --meaning approved --name '田中 太郎 (責任者)'"), 0) << out;

    for (const std::string file : {"r.pdf", "r.signed.pdf"}) {
        EXPECT_EQ(Cli("hanako", "verify-signature " + file), 0) << out;
        EXPECT_NE(out.find(": Hanako Sato, QA (reviewed, 20"), std::string::npos) << out;
        EXPECT_NE(out.find(": 田中 太郎 (責任者) (approved, 20"), std::string::npos) << out;
    }
    const std::string report = Read(P("r.pdf")), copy = Read(P("r.signed.pdf"));
    EXPECT_EQ(copy.substr(0, report.size()), report) << "the signed bytes open the copy";
    EXPECT_EQ(saroko::PdfPageCount(copy), saroko::PdfPageCount(report) + 2);
    std::ofstream(P("prefix.pdf"), std::ios::binary) << copy.substr(0, report.size());
    EXPECT_EQ(DocumentedCheck(P("r.pdf")), "signature 6: good\nsignature 7: good\n");
    EXPECT_EQ(DocumentedCheck(P("prefix.pdf")), "signature 6: good\nsignature 7: good\n");

    // One byte of the report changed: both checks fail.
    std::string changed = report;
    changed[changed.size() / 2] ^= 1;
    std::ofstream(P("r.pdf"), std::ios::binary) << changed;
    EXPECT_EQ(Cli("hanako", "verify-signature r.pdf"), 1);
    EXPECT_NE(out.find("ﾚﾎﾟｰﾄが署名の後に変更されています"), std::string::npos) << out;
    EXPECT_EQ(DocumentedCheck(P("r.pdf")), "no signature of these bytes\n");
    std::ofstream(P("r.pdf"), std::ios::binary) << report;

    // A key file changed (another key's bytes under this one's name) is found before it signs.
    const std::string keyFile = P("hanako/saroko/keys/" + hanako + ".pem");
    const std::string kept = Read(keyFile);
    for (const auto& e : fs::directory_iterator(P("taro/saroko/keys")))
        fs::copy_file(e.path(), keyFile, fs::copy_options::overwrite_existing);
    EXPECT_EQ(Cli("hanako", "sign r.pdf --meaning approved --name 'Hanako Sato, QA'"), 1);
    EXPECT_NE(out.find("が登録された鍵と一致しません"), std::string::npos) << out;
    std::ofstream(keyFile, std::ios::binary) << kept;

    // A retired key's earlier signature stays good; it signs nothing more.
    ASSERT_EQ(Cli("hanako", "key retire " + hanako + " --reason left"), 0) << out;
    EXPECT_EQ(Cli("hanako", "verify-signature r.signed.pdf"), 0) << out;
    EXPECT_EQ(Cli("hanako", "sign r.pdf --meaning approved --name 'Hanako Sato, QA'"), 1);
    EXPECT_NE(out.find("廃止された鍵では署名できません"), std::string::npos) << out;
    ASSERT_EQ(Cli("taro", "key list"), 0);
    EXPECT_NE(out.find(hanako + "  Hanako Sato, QA  "), std::string::npos) << out;
    EXPECT_NE(out.find("  retired\n"), std::string::npos) << out;

    // One byte of the source changed: both checks fail and name the source.
    std::string demo = Read(P("demo.klg"));
    demo[demo.size() - 3] ^= 1;
    std::ofstream(P("demo.klg"), std::ios::binary) << demo;
    EXPECT_EQ(Cli("hanako", "verify-signature r.pdf"), 1);
    EXPECT_NE(out.find("記録 1 のﾌｧｲﾙ " + P("demo.klg") + " が署名の後に変更されています"),
              std::string::npos)
        << out;
    EXPECT_EQ(DocumentedCheck(P("r.pdf")),
              "signature 6: source 1 changed\nsignature 7: source 1 changed\n");
}

} // namespace
