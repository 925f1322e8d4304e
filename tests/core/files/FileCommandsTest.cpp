#include <gtest/gtest.h>

#include <filesystem>

#include "core/TestSupport.h"
#include "core/files/ScriptedFileUi.h"

namespace saroko::test {
namespace {

namespace fs = std::filesystem;

class FileCommandsTest : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        Fill(*doc.GetChannel(1), Local(2008, 3, 5, 9, 0, 0), 10, {C(1.0), C(2.0)}, "A");
        doc.RecalcRanges(2);
    }
    ScriptedUi ui;
    CFileCommands commands{doc, ui, prompts};
};

TEST_F(FileCommandsTest, OverwriteOfANeverSavedDocumentGoesStraightToTheDialog) {
    ui.answers = {Path("first.klg")};
    commands.OnFileSave();
    EXPECT_EQ(ui.asked, std::vector<std::string>{"save-all"});
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(fs::exists(Path("first.klg")));
    EXPECT_EQ(doc.m_szPathName, Path("first.klg"));
    EXPECT_EQ(doc.m_bDataModified, 0u);
    EXPECT_EQ(ui.waitDepth, 0);

    // Now it has a path: the next overwrite asks nothing.
    doc.m_bDataModified = 1;
    commands.OnFileSave();
    EXPECT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(doc.m_bDataModified, 0u);
}

TEST_F(FileCommandsTest, OverwriteOfAReadOnlyFileShowsThePathThenTheDialog) {
    const std::string ro = Path("ro.klg");
    WriteAll(ro, "x");
    fs::permissions(ro, fs::perms::owner_read);
    doc.SetPathName(ro);
    ui.answers = {Path("wrong.txt"), Path("right.klg")};
    commands.OnFileSave();
    ASSERT_GE(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0], msg::kReadOnlyFile);
    EXPECT_EQ(prompts.extras[0], "\n" + ro);
    EXPECT_EQ(prompts.shown[1], msg::kWrongExtension);
    EXPECT_EQ(ui.asked, (std::vector<std::string>{"save-all", "save-all"}));
    EXPECT_EQ(ReadAll(ro), "x");
    EXPECT_TRUE(fs::exists(Path("right.klg")));
    EXPECT_FALSE(fs::exists(Path("wrong.txt")));
}

TEST_F(FileCommandsTest, OlderSeriesPathIsRefusedWithoutADialog) {
    WriteAll(Path("old.ksv"), "x");
    doc.SetPathName(Path("old.ksv"));
    commands.OnFileSave();
    EXPECT_EQ(prompts.shown, std::vector<int>{msg::kWrongExtension});
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_EQ(ReadAll(Path("old.ksv")), "x");
}

TEST_F(FileCommandsTest, SaveAsLoopsOnAWrongExtensionAndReportsFailure) {
    ui.answers = {Path("out.txt"), Path("out.KLG")};
    commands.OnFileSaveAs(1);
    EXPECT_EQ(ui.asked, (std::vector<std::string>{"save-range", "save-range"}));
    EXPECT_EQ(prompts.shown, std::vector<int>{msg::kWrongExtension});
    EXPECT_TRUE(fs::exists(Path("out.KLG")));

    ui.answers = {Path("no/such/dir/x.klg")};
    commands.OnFileSaveAs(0);
    EXPECT_EQ(prompts.shown.back(), msg::kSaveFailed);

    ui.asked.clear();
    commands.OnFileSaveAs(0); // Cancel
    EXPECT_EQ(ui.asked.size(), 1u);
}

TEST_F(FileCommandsTest, ExportRemembersTheDelimiterEvenWhenTheNameIsWrong) {
    ui.chosenDivide = 2;
    ui.answers = {Path("out.csv"), Path("out.prn")};
    commands.OnExportText(0);
    EXPECT_EQ(prompts.shown, std::vector<int>{msg::kWrongExtension});
    EXPECT_EQ(ui.preselected, (std::vector<uint32_t>{1, 2}));
    EXPECT_EQ(store.GetInt("Text File Section", "DivideCode", 0), 2);
    EXPECT_NE(ReadAll(Path("out.prn")).find("\"Date/Time\"\t"), std::string::npos);
    EXPECT_FALSE(fs::exists(Path("out.csv")));
}

TEST_F(FileCommandsTest, OpenAndRecentEntries) {
    ASSERT_EQ(doc.SaveKlgFile(0, Path("a.klg")), kFileOk);
    ASSERT_EQ(doc.SaveKlgFile(0, Path("b.klg")), kFileOk);
    EXPECT_EQ(doc.m_recentFiles[0], Path("b.klg"));
    // Entry 2 loads and moves to the front.
    commands.OnOpenRecentFile(2);
    EXPECT_EQ(doc.m_recentFiles[0], Path("a.klg"));
    EXPECT_EQ(doc.m_recentFiles[1], Path("b.klg"));
    EXPECT_EQ(doc.m_szPathName, Path("a.klg"));
    // Empty or foreign entries do nothing, not even a message.
    doc.m_recentFiles[2] = "notes.txt";
    commands.OnOpenRecentFile(3);
    commands.OnOpenRecentFile(4);
    EXPECT_TRUE(prompts.shown.empty());

    ui.answers = {Path("gone.klg")};
    commands.OnFileOpen();
    EXPECT_EQ(prompts.shown, std::vector<int>{msg::kFileNotFound});
    WriteAll(Path("DATA.klg"), ReadAll(Path("a.klg")));
    ui.answers = {Path("DATA.klg")};
    prompts.readMode = IDocumentPrompts::kReadNew;
    commands.OnFileOpen();
    EXPECT_EQ(doc.m_szPathName, Path("DATA.klg"));
    EXPECT_EQ(ui.waitDepth, 0);

    // Ctrl+N asks nothing, even over unsaved data.
    doc.m_bDataModified = 1;
    commands.OnFileNew();
    EXPECT_FALSE(doc.HasAnyData());
    EXPECT_EQ(prompts.readModeAsked, 2);
}

} // namespace
} // namespace saroko::test
