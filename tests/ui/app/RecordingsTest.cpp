// The window and the recordings archive: what the main frame records of its files and
// changes, the recordings list, and a damaged archive at the start. The archive and the data
// folder are the test's own.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstring>
#include <filesystem>

#include "core/archive/MemorySiteStore.h"
#include "core/document/CommandState.h"
#include "core/files/ScriptedFileUi.h"
#include "core/messages/StringTable.h"
#include "core/settings/SettingsStore.h"
#include "platform/ArchiveSetup.h"
#include "platform/QtSettingsStore.h"
#include "platform/SiteArchive.h"
#include "platform/Translations.h"
#include "platform/UserFolders.h"
#include "support/QtApp.h"
#include "ui/app/Help.h"
#include "ui/app/MainFrame.h"
#include "ui/app/WindowArchive.h"
#include "ui/base/DialogBase.h"
#include "ui/base/MessageSink.h"
#include "ui/document/AuditTrailDlg.h"
#include "ui/document/DocumentPrompts.h"
#include "ui/document/RecordingsDlg.h"
#include "ui/document/UnitsDlg.h"
#include "ui/printing/PrintSetup.h"
#include "ui/printing/ReportDlg.h"
#include "ui/recorder/DownloadDlg.h"
#include <QComboBox>
#include <QDateTimeEdit>
#include <QRadioButton>

namespace saroko {
namespace {

using archive::Event;

class RecordingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::App();
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8());
        qputenv("LOCALAPPDATA",
                dir.filePath(QStringLiteral("data")).toUtf8()); // where Windows keeps them
        ui::SetMessageHandler([this](int id, const QString&) {
            shown.push_back(id);
            return answer;
        });
        ui::SetReadModeHandler([this] { return readMode; });
        doc.SetTextCodec(&codec);
        doc.OnNewDocument();
        frame = std::make_unique<CMainFrame>(doc, store);
        frame->SetFileUi(&dialogs);
        a = Demo("a.klg", "2026/12/01 00:00:00");
        b = Demo("b.klg", "2026/12/03 00:00:00");
    }
    void TearDown() override {
        doc.m_bDataModified = 0;
        frame.reset();
        ui::SetMessageHandler({});
        ui::SetReadModeHandler({});
        ui::SetReasonHandler({});
    }
    QString Demo(const char* name, const char* start) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_EQ(
            QProcess::execute(QStringLiteral(SAROKO_CLI), {"demo", "--start", start, "-o", path}),
            0);
        return path;
    }
    void OpenArchive() {
        // The one before is closed first: Windows renames no file that is open.
        frame->SetArchive(nullptr);
        archive.reset();
        archive = std::make_unique<ui::CWindowArchive>(doc, codec, frame.get(), ArchivePath());
        frame->SetArchive(archive.get());
    }
    std::string ArchivePath() const {
        return dir.filePath(QStringLiteral("archive.sqlite")).toStdString();
    }
    void OpenBoth() {
        readMode = IDocumentPrompts::kReadNew;
        ASSERT_EQ(frame->OpenFile(a), kFileOk);
        readMode = IDocumentPrompts::kReadAppend;
        ASSERT_EQ(frame->OpenFile(b), kFileOk);
    }
    // Each event as "kind detail|old|new|reason".
    std::vector<std::string> Events() {
        std::vector<Event> events;
        archive->Session().Store().Events(events);
        std::vector<std::string> out;
        for (const Event& e : events)
            out.push_back(std::string(archive::EventKindName(e.kind)) + " " + e.detail + "|" +
                          e.oldValue + "|" + e.newValue.substr(0, e.newValue.find(" sha256:")) +
                          "|" + e.reason);
        return out;
    }

    QTemporaryDir dir;
    CMemorySettingsStore store;
    SystemClock clock;
    CQtCp932Codec codec;
    CZorvicDoc doc{store, clock};
    test::ScriptedUi dialogs;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<ui::CWindowArchive> archive;
    std::vector<int> shown;
    int answer = kIdOk;
    int readMode = IDocumentPrompts::kReadNew;
    QString a, b;
};

TEST_F(RecordingsTest, TheWindowRecordsItsFilesAndChanges) {
    OpenArchive();
    OpenBoth();
    ASSERT_TRUE(frame->ExecuteCommand(cmd::kAskReason));
    EXPECT_TRUE(archive->AsksReason());
    ui::SetReasonHandler([](const archive::DocumentChange&) { return QStringLiteral("typo"); });
    std::memcpy(doc.GetChannel(3)->name, "HALL", 5);
    ASSERT_TRUE(frame->ExecuteCommand(cmd::kUnitSwitch));
    const std::string saved = dir.filePath(QStringLiteral("c.klg")).toStdString();
    const std::string text = dir.filePath(QStringLiteral("c.txt")).toStdString();
    dialogs.answers = {saved, text};
    ASSERT_TRUE(frame->ExecuteCommand(cmd::kFileSaveAll));
    ASSERT_TRUE(frame->ExecuteCommand(cmd::kExportAll));
    const std::string unit = "changed unit|degC, V mode 0|degF, V mode 0|";
    EXPECT_EQ(Events(),
              (std::vector<std::string>{"created imported|||", "opened |||", "created imported|||",
                                        "opened |||", "changed name|室温|HALL|typo", unit, unit,
                                        "created saved|||", "saved ||" + saved + "|",
                                        "saved ||" + saved + "|", "exported ||" + text + "|"}));
    EXPECT_TRUE(shown.empty());
}

// A change whose reason is asked for and declined is taken back and not recorded; the changes
// that ask for none go on.
TEST_F(RecordingsTest, ADeclinedReasonTakesTheChangeBack) {
    OpenArchive();
    OpenBoth();
    ASSERT_TRUE(frame->ExecuteCommand(cmd::kAskReason));
    int asked = 0;
    ui::SetReasonHandler([&](const archive::DocumentChange&) -> std::optional<QString> {
        ++asked;
        return std::nullopt;
    });
    const std::string before = doc.GetChannel(3)->name;
    std::memcpy(doc.GetChannel(3)->name, "HALL", 5);
    ASSERT_TRUE(frame->ExecuteCommand(cmd::kUnitSwitch));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(std::string(doc.GetChannel(3)->name), before);
    const std::vector<std::string> events = Events();
    EXPECT_EQ(std::count_if(events.begin(), events.end(),
                            [](const std::string& e) { return e.starts_with("changed name"); }),
              0);
    EXPECT_EQ(std::count_if(events.begin(), events.end(),
                            [](const std::string& e) { return e.starts_with("changed unit"); }),
              2);
    // Nothing is asked again for what was taken back.
    ASSERT_TRUE(frame->ExecuteCommand(cmd::kUnitSwitch));
    EXPECT_EQ(asked, 1);
}

// A reason that is asked for cannot be empty: OK waits for text other than blanks.
TEST_F(RecordingsTest, TheReasonBoxTakesNoEmptyReason) {
    std::vector<bool> okEnabled;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        auto* edit = box->findChild<QLineEdit*>(QStringLiteral("reason"));
        auto* buttons = box->findChild<QDialogButtonBox*>();
        QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
        okEnabled.push_back(ok->isEnabled());
        edit->setText(QStringLiteral("  "));
        okEnabled.push_back(ok->isEnabled());
        edit->setText(QStringLiteral(" typo "));
        okEnabled.push_back(ok->isEnabled());
        ok->click();
    });
    EXPECT_EQ(ui::AskChangeReason({0, "name", "A", "B", true}, frame.get()),
              QStringLiteral("typo"));
    EXPECT_EQ(okEnabled, (std::vector<bool>{false, false, true}));
}

// The archive's windows open their own help page in the program's language, by the help
// button and by F1; each page is in the guide.
TEST_F(RecordingsTest, EachArchiveWindowOpensItsHelpPage) {
    OpenArchive();
    OpenBoth();
    std::vector<archive::Recording> all;
    archive->Session().Store().Recordings(all);
    ASSERT_FALSE(all.empty());
    std::vector<std::string> opened;
    ui::SetHelpInterceptor(
        [&](const QUrl& url) { opened.push_back(url.toString().toStdString()); });
    const auto askHelp = [](QDialog& dlg, bool english) {
        for (QPushButton* b : dlg.findChildren<QPushButton*>())
            if (b->text() == (english ? QStringLiteral("Help") : QStringLiteral("ﾍﾙﾌﾟ")))
                b->click();
        QApplication::setActiveWindow(&dlg); // shortcuts go to the active window
        QTest::keyClick(&dlg, Qt::Key_F1);
        const QByteArray dir = qgetenv("SAROKO_PICTURE_DIR");
        if (!dir.isEmpty())
            dlg.grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + dlg.objectName() +
                            (english ? QStringLiteral("-en.png") : QStringLiteral("-ja.png")));
    };
    for (const bool english : {true, false}) {
        InstallTranslations(english ? Language::kEnglish : Language::kJapanese);
        const std::string base = english ? "qrc:/saroko/help/en/" : "qrc:/saroko/help/ja/";
        // A box of its own: its help asked for, then cancelled.
        const auto helpThenCancel = [&] {
            QTimer::singleShot(0, [&] {
                auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                ASSERT_TRUE(dlg);
                askHelp(*dlg, english);
                dlg->reject();
            });
        };
        const std::function<void()> windows[] = {
            [&] {
                ui::CRecordingsDlg dlg(archive->Session(), frame.get());
                dlg.show();
                askHelp(dlg, english);
            },
            [&] {
                ui::CRecordingHistoryDlg dlg(archive->Session(), all.front(), frame.get());
                dlg.show();
                askHelp(dlg, english);
            },
            [&] {
                ui::CUnitsDlg dlg(archive->Session(), frame.get());
                dlg.show();
                askHelp(dlg, english);
            },
            [&] {
                ui::CAuditTrailDlg dlg(archive->Session(), frame.get());
                dlg.show();
                askHelp(dlg, english);
            },
            [&] {
                helpThenCancel();
                EXPECT_FALSE(ui::AskChangeReason({0, "name", "A", "B", true}, frame.get()));
            },
            [&] {
                helpThenCancel();
                EXPECT_FALSE(ui::AskTakeIn({"/d/20261201-0900.klg", "/d/20261202-0900.klg"},
                                           "host=db.example dbname=saroko", frame.get()));
            },
        };
        const char* pages[] = {"recordings",  "history",       "units",
                               "audit-trail", "change-reason", "take-in"};
        for (std::size_t i = 0; i < std::size(pages); ++i) {
            opened.clear();
            windows[i]();
            const std::string want = base + pages[i] + ".html";
            EXPECT_EQ(opened, std::vector<std::string>({want, want})) << "button, then F1";
            EXPECT_TRUE(QFile::exists(QString::fromStdString(want.substr(3)))) << want;
        }
        EXPECT_TRUE(QFile::exists(QString::fromStdString(base.substr(3) + "verify-all.html")));
    }
    ui::SetHelpInterceptor({});
}

TEST_F(RecordingsTest, TheListFiltersSortsOpensAndVerifies) {
    OpenArchive();
    OpenBoth();
    ui::CRecordingsDlg dlg(archive->Session(), frame.get());
    QTreeWidget& list = *dlg.List();
    ASSERT_EQ(list.topLevelItemCount(), 2);
    list.sortByColumn(ui::CRecordingsDlg::kFirst, Qt::AscendingOrder);
    EXPECT_TRUE(list.topLevelItem(0)->text(ui::CRecordingsDlg::kFirst).startsWith("2026/12/01"));
    list.sortByColumn(ui::CRecordingsDlg::kFirst, Qt::DescendingOrder);
    EXPECT_TRUE(list.topLevelItem(0)->text(ui::CRecordingsDlg::kFirst).startsWith("2026/12/03"));
    // The name, the first and the last day (unset when invalid), and the rows shown.
    const std::tuple<const char*, QDate, QDate, int> filters[] = {
        {"冷蔵", {}, {}, 2},        {"oven", {}, {}, 0},         {"", {2026, 12, 3}, {}, 1},
        {"", {}, {2026, 12, 2}, 1}, {"", {}, {2026, 11, 30}, 0}, {"", {}, {}, 2}};
    for (const auto& [name, from, to, rows] : filters) {
        dlg.NameFilter()->setText(QString::fromUtf8(name));
        dlg.FromDate()->setDate(from.isValid() ? from : QDate(2026, 1, 1));
        dlg.ToDate()->setDate(to.isValid() ? to : QDate(2026, 1, 1));
        dlg.FromCheck()->setChecked(from.isValid());
        dlg.ToCheck()->setChecked(to.isValid());
        EXPECT_EQ(list.topLevelItemCount(), rows) << name << from.day() << to.day();
    }

    // The older one's history: how it came and that it was opened.
    list.sortByColumn(ui::CRecordingsDlg::kFirst, Qt::AscendingOrder);
    std::vector<archive::Recording> all;
    archive->Session().Store().Recordings(all);
    const auto older = std::find_if(all.begin(), all.end(), [&](const archive::Recording& r) {
        return QString::fromStdString(r.path) == a;
    });
    ASSERT_NE(older, all.end());
    ui::CRecordingHistoryDlg history(archive->Session(), *older, &dlg);
    ASSERT_EQ(history.List()->topLevelItemCount(), 2);
    EXPECT_EQ(history.List()->topLevelItem(1)->text(2), QStringLiteral("読み込み"));
    EXPECT_EQ(history.List()->topLevelItem(0)->text(2), QStringLiteral("作成、取り込み"));

    // Both opened, overlaid: four channels.
    doc.OnNewDocument();
    QObject::connect(&dlg, &ui::CRecordingsDlg::openRequested, frame.get(),
                     &CMainFrame::OpenRecordings);
    list.selectAll();
    dlg.OpenButton()->click();
    int present = 0;
    for (int n = 1; n <= kChannelCount; ++n)
        present += doc.GetChannel(n)->present != 0;
    EXPECT_EQ(present, 4);

    // One file changed in a byte of the same size, one gone: the list tells which.
    QFile f(b);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(f.size() - 3);
    f.write("\x01");
    f.close();
    QFile::remove(a);
    ASSERT_TRUE(dlg.VerifyAll());
    QStringList status;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        status << list.topLevelItem(i)->text(ui::CRecordingsDlg::kStatus);
    EXPECT_EQ(status, (QStringList{QStringLiteral("ﾌｧｲﾙなし"), QStringLiteral("変更あり")}));
    EXPECT_TRUE(dlg.Summary()->text().contains(QStringLiteral("2 件")))
        << dlg.Summary()->text().toStdString();
    // The message names the files; a row in trouble carries an icon, not the word alone.
    for (const QString& path : {a, b})
        EXPECT_TRUE(dlg.Summary()->text().contains(QFileInfo(path).fileName()))
            << dlg.Summary()->text().toStdString();
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        EXPECT_FALSE(list.topLevelItem(i)->icon(ui::CRecordingsDlg::kStatus).isNull());
    // The file's name and source in columns of their own, the full path in the tip.
    EXPECT_EQ(list.topLevelItem(0)->toolTip(ui::CRecordingsDlg::kFile).toStdString().back(),
              list.topLevelItem(0)->text(ui::CRecordingsDlg::kFile).toStdString().back());
    EXPECT_EQ(list.topLevelItem(0)->text(ui::CRecordingsDlg::kSource), QStringLiteral("ﾌｧｲﾙ"));

    // The last check is shown again the next time the window opens, with its time, until the
    // next check; a missing file that is back is unverified until then.
    ASSERT_TRUE(QFile::copy(b, a));
    ui::CRecordingsDlg again(archive->Session(), frame.get());
    QStringList after, checked;
    for (int i = 0; i < again.List()->topLevelItemCount(); ++i) {
        after << again.List()->topLevelItem(i)->text(ui::CRecordingsDlg::kStatus);
        checked << again.List()->topLevelItem(i)->text(ui::CRecordingsDlg::kChecked);
    }
    EXPECT_EQ(after, (QStringList{QStringLiteral("未確認"), QStringLiteral("変更あり")}));
    EXPECT_TRUE(checked[0].isEmpty());
    EXPECT_TRUE(checked[1].startsWith(QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd"))))
        << checked[1].toStdString();
}

// The report names each source's archive id and the chain head before it; it and the print
// are events about both sources with the file written and its hash. A source changed on disk
// since it was read is named by the bytes read, which the figures come from.
TEST_F(RecordingsTest, TheWindowsReportAndPrintCarryTheArchive) {
    OpenArchive();
    OpenBoth();
    const QString read = QString::fromStdString(*Sha256OfFile(a.toStdString()));
    QFile changed(a);
    ASSERT_TRUE(changed.open(QIODevice::Append) && changed.write("x", 1) == 1 && changed.flush());
    frame->show();
    const QString report = dir.filePath(QStringLiteral("r.pdf"));
    const QString print = dir.filePath(QStringLiteral("p.pdf"));
    QPrinter& printer = ui::CPrintSetup::Of(*frame->View()).Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(print);
    ui::CPrintSetup::SetFileHook([&](const QString&) { return print; });
    ui::SetReportPathHook([&](const QString&) { return report; });
    ui::SetDialogRunner([](QDialog& dlg) {
        if (auto* ok = dlg.findChild<QAbstractButton*>(QString::number(kIdOk)))
            ok->click();
        else
            dlg.accept();
        return dlg.result();
    });
    const std::string head = archive->Session().ChainHead();
    // Each file written is named in the status bar, as a download is.
    EXPECT_TRUE(frame->ExecuteCommand(cmd::kReport));
    EXPECT_EQ(frame->statusBar()->toolTip(),
              QStringLiteral("レポートを書き込みました: ") + QDir::toNativeSeparators(report));
    EXPECT_TRUE(frame->ExecuteCommand(cmd::kPrintColour));
    EXPECT_EQ(frame->statusBar()->toolTip(),
              QStringLiteral("印刷を書き込みました: ") + QDir::toNativeSeparators(print));
    ui::SetDialogRunner({});
    ui::SetReportPathHook({});
    ui::CPrintSetup::SetFileHook({});

    std::vector<Event> events;
    archive->Session().Store().Events(events);
    ASSERT_EQ(events.size(), 8u);
    for (std::size_t i = 4; i < 8; ++i) {
        const std::string file = (i < 6 ? report : print).toStdString();
        EXPECT_EQ(std::string(archive::EventKindName(events[i].kind)) + " #" +
                      std::to_string(events[i].recordingId) + " " + events[i].newValue,
                  (i < 6 ? "reported #" : "printed #") + std::to_string(1 + i % 2) + " " + file +
                      " sha256:" + Sha256OfFile(file).value_or("?"));
    }
#ifdef SAROKO_PDFTOTEXT
    QProcess text;
    text.start(QStringLiteral(SAROKO_PDFTOTEXT), {QStringLiteral("-layout"), report, "-"});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QString out = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QString::fromStdString(head))) << out.toStdString();
    // a changed since it was read: read again at report time, it is not verified; b is.
    for (const auto& [path, id] : {std::pair{a, 1}, std::pair{b, 2}}) {
        const QString sha = id == 1 ? read : QString::fromStdString(*Sha256OfFile(b.toStdString()));
        const QString check = id == 1 ? QStringLiteral("未") : QStringLiteral("済");
        EXPECT_TRUE(out.contains(
            QRegularExpression(sha + QStringLiteral("\\s+%1\\s+%2").arg(id).arg(check))))
            << out.toStdString();
        EXPECT_TRUE(out.contains(QFileInfo(path).fileName() + QStringLiteral(" (検証: ") + check))
            << out.toStdString();
    }
#endif
}

TEST_F(RecordingsTest, ADamagedArchiveIsSetAsideOnlyWhenTheUserAgrees) {
    for (const int reply : {kIdNo, kIdYes}) {
        QFile::remove(QString::fromStdString(ArchivePath()));
        QFile junk(QString::fromStdString(ArchivePath()));
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(8192, 'x'));
        junk.close();
        shown.clear();
        answer = reply;
        OpenArchive();
        ASSERT_EQ(frame->OpenFile(a), kFileOk);
        ASSERT_EQ(frame->OpenFile(a), kFileOk);
        const bool aside =
            !QDir(dir.path()).entryList({QStringLiteral("archive.sqlite.corrupt-*")}).isEmpty();
        EXPECT_EQ(aside, reply == kIdYes);
        // Without a new archive the run says once that it records nothing.
        std::vector<int> expected{msg::kArchiveSetAside};
        if (reply == kIdNo)
            expected.push_back(msg::kArchiveProblem);
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(archive->Session().Waiting(),
                  reply == kIdYes ? 0u : 3u); // created, opened, opened
    }
}

// A site archive away: what waits shows in the list and the history, each file created once;
// once the server answers, the downloads kept here are offered once per site archive.
TEST_F(RecordingsTest, WhatWaitsForTheSiteIsShownAndItsFirstUseOffersTheKeptDownloads) {
    if (!SiteArchiveBuiltIn())
        GTEST_SKIP() << "built without the site archive (no libpq): nothing waits for a server";
    archive::CMemorySiteStore server, other;
    SetSiteStoreMaker([&](const std::string& l) {
        return std::make_unique<archive::CSiteStoreView>(l.ends_with("other") ? other : server);
    });
    std::filesystem::create_directories(KeptDownloadsFolder());
    const std::string kept = KeptDownloadsFolder() + "/20261201-0000.klg";
    std::filesystem::copy_file(a.toStdString(), kept);
    std::vector<std::size_t> offered;
    bool take = false;
    ui::SetTakeInHandler([&](const std::vector<std::string>& paths) {
        offered.push_back(paths.size());
        return take;
    });
    const auto open = [&](const char* location) {
        frame->SetArchive(nullptr);
        archive = std::make_unique<ui::CWindowArchive>(doc, codec, frame.get(), location);
        frame->SetArchive(archive.get());
    };
    const char* site = "host=site dbname=saroko";
    server.down = true;
    open(site);
    OpenBoth();
    ASSERT_EQ(frame->OpenFile(a), kFileOk); // opened again: still created once
    {
        ui::CRecordingsDlg dlg(archive->Session(), frame.get());
        ASSERT_EQ(dlg.List()->topLevelItemCount(), 2);
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(dlg.List()->topLevelItem(i)->text(ui::CRecordingsDlg::kStatus),
                      QStringLiteral("送信待ち"));
        EXPECT_TRUE(dlg.WaitingLine()->isVisibleTo(&dlg));
        EXPECT_TRUE(dlg.WaitingLine()->text().startsWith(
            QStringLiteral("5 件が送信待ちです（新しい記録ﾃﾞｰﾀ 2 件）")))
            << dlg.WaitingLine()->text().toStdString();
        EXPECT_FALSE(dlg.VerifyButton()->isEnabled());
        const archive::WaitingWork w = archive::WhatWaits(archive->Session().Store());
        ui::CRecordingHistoryDlg history(archive->Session(), w.recordings.front(), &dlg);
        ASSERT_EQ(history.List()->topLevelItemCount(), 3); // created, opened, opened
        EXPECT_EQ(history.List()->topLevelItem(2)->text(0), QStringLiteral("送信待ち"));
        const QByteArray pictures = qgetenv("SAROKO_PICTURE_DIR");
        for (const bool english : {false, true}) {
            if (pictures.isEmpty())
                break;
            InstallTranslations(english ? Language::kEnglish : Language::kJapanese);
            ui::CRecordingsDlg shown(archive->Session(), frame.get());
            shown.show();
            shown.grab().save(QString::fromLocal8Bit(pictures) + "/recordings-waiting-" +
                              (english ? "en" : "ja") + ".png");
        }
        InstallTranslations(Language::kJapanese);
    }
    EXPECT_TRUE(offered.empty()); // the server away: nothing to compare with, nothing asked
    server.down = false;
    // Declined for one site archive, taken in for the other: each asked once.
    for (const char* location : {"host=site dbname=other", "host=site dbname=other", site, site}) {
        take = !std::string(location).ends_with("other");
        open(location);
    }
    EXPECT_EQ(offered, (std::vector<std::size_t>{1, 1}));
    EXPECT_TRUE(other.memory.events.empty());
    std::string trail;
    for (const Event& e : server.memory.events)
        trail += std::string(archive::EventKindName(e.kind)).substr(0, 1) + e.detail.substr(0, 1);
    EXPECT_EQ(trail, "ciociooci"); // a, b, a again, the kept copy of a
    ui::CRecordingsDlg dlg(archive->Session(), frame.get());
    EXPECT_EQ(dlg.List()->topLevelItemCount(), 2); // a by its kept copy, b
    EXPECT_FALSE(dlg.WaitingLine()->isVisibleTo(&dlg));
    ui::SetTakeInHandler({});
    SetSiteStoreMaker({});
}

// The units window refuses what the core refuses, writes one event per thing changed, and
// the list then filters by unit.
TEST_F(RecordingsTest, TheUnitsWindowWritesItsEventsAndTheListFiltersByUnit) {
    OpenArchive();
    OpenBoth();
    std::vector<std::string> refused;
    ui::SetFrameworkMessageHandler(
        [&](const QString& text) { refused.push_back(text.toStdString()); });
    ui::CUnitsDlg dlg(archive->Session(), frame.get());
    dlg.NameEdit()->setText(QStringLiteral("薬局冷蔵庫 2"));
    dlg.LowEdit(1)->setText(QStringLiteral("2"));
    dlg.HighEdit(1)->setText(QStringLiteral("1.9"));
    EXPECT_FALSE(dlg.Save());
    dlg.HighEdit(1)->setText(QStringLiteral("8"));
    const ui::CUnitsDlg::CalibrationFields& c = dlg.Calibration(1);
    c.certificate->setText(QStringLiteral("JCSS-0412"));
    c.calibrated->setText(QStringLiteral("2026-01-10"));
    c.due->setText(QStringLiteral("2026-01-09"));
    c.kind->setCurrentIndex(2);
    c.raw1->setText(QStringLiteral("-10"));
    c.true1->setText(QStringLiteral("-9.8"));
    c.raw2->setText(QStringLiteral("40"));
    c.true2->setText(QStringLiteral("x"));
    EXPECT_FALSE(dlg.Save());
    c.true2->setText(QStringLiteral("40.4"));
    EXPECT_FALSE(dlg.Save());
    c.due->setText(QStringLiteral("2027-01-09"));
    dlg.ReasonEdit()->setText(QStringLiteral("new fridge"));
    std::vector<Event> before;
    archive->Session().Store().Events(before);
    ASSERT_TRUE(dlg.Save());
    EXPECT_EQ(refused, (std::vector<std::string>{
                           "下限が上限より大きくなっています。", "数値を入力してください。",
                           archive::UnitResultMessage(archive::UnitResult::kBadCalibration)}));
    std::vector<Event> after;
    archive->Session().Store().Events(after);
    // The unit and channel 1's calibration; channel 2, left empty, is no calibration.
    ASSERT_EQ(after.size(), before.size() + 2);
    EXPECT_EQ(after[before.size()].kind, archive::EventKind::Unit);
    EXPECT_EQ(after.back().detail, "unit 1 channel 1");
    EXPECT_EQ(after.back().reason, "new fridge");
    ASSERT_EQ(dlg.State().units.size(), 1u);
    EXPECT_EQ(dlg.State().units[0].calibrations[0].back().calibration.correction.true2, 40.4);
    // Saved again unchanged: nothing more is written.
    ASSERT_TRUE(dlg.Save());
    archive->Session().Store().Events(after);
    EXPECT_EQ(after.size(), before.size() + 2);

    std::vector<archive::Recording> all;
    archive->Session().Store().Recordings(all);
    ASSERT_EQ(archive::AssignRecording(archive->Session(), dlg.State(), all.front().sha256, 1,
                                       archive::kAssignedFile),
              archive::UnitResult::kOk);
    ui::CRecordingsDlg list(archive->Session(), frame.get());
    ASSERT_EQ(list.List()->topLevelItemCount(), 2);
    ASSERT_EQ(list.UnitFilter()->count(), 2);
    list.UnitFilter()->setCurrentIndex(1);
    EXPECT_EQ(list.List()->topLevelItemCount(), 1);
    ui::SetFrameworkMessageHandler({});
}

// What the window makes of a storage unit is what the command line makes: the report's lines
// (the unit, its corrected calibration, the past-due warning), the trail's bytes, and the
// download's assignment, which the next download is then offered.
TEST_F(RecordingsTest, TheWindowsUnitReportTrailAndDownloadAreTheCommandLines) {
    OpenArchive();
    OpenBoth();
    archive::CArchiveSession& s = archive->Session();
    archive::UnitFields f{"薬局冷蔵庫 2", "", "", {{{}, {2.0, 8.0}}}, 90.0, ""};
    ASSERT_EQ(CreateUnit(s, archive::LoadUnits(s), f), archive::UnitResult::kOk);
    const Calibration cal{"JCSS-0412", "2026-01-10", "2026-11-30", {Correction::kOffset, -0.5}};
    ASSERT_EQ(SetCalibration(s, archive::LoadUnits(s), 1, 2, cal), archive::UnitResult::kOk);
    ASSERT_EQ(AssignRecording(s, archive::LoadUnits(s), *Sha256OfFile(a.toStdString()), 1,
                              archive::kAssignedFile),
              archive::UnitResult::kOk);
    const QString window = dir.filePath(QStringLiteral("w.pdf")), out = dir.filePath("out");
    ui::SetReportPathHook([&](const QString&) { return window; });
    const QByteArray pictures = qgetenv("SAROKO_PICTURE_DIR");
    bool english = true;
    double energy = 0;
    ui::SetDialogRunner([&](QDialog& dlg) {
        auto* report = qobject_cast<ui::CReportDlg*>(&dlg);
        if (!report) // the excursions' comments: none
            return (dlg.accept(), dlg.result());
        dlg.show();
        QCoreApplication::processEvents();
        if (!pictures.isEmpty())
            dlg.grab().save(pictures + (english ? "/report-unit-en.png" : "/report-unit-ja.png"));
        EXPECT_TRUE(report->CorrectionChoice()->isEnabled());
        report->CorrectionChoice()->setCurrentIndex(1);
        english ? dlg.reject() : report->accept();
        energy = report->Options().activationEnergy;
        return dlg.result();
    });
    for (const bool e : {true, false}) {
        InstallTranslations((english = e) ? Language::kEnglish : Language::kJapanese);
        EXPECT_EQ(frame->ExecuteCommand(cmd::kReport), true);
    }
    ui::SetDialogRunner({});
    ui::SetReportPathHook({});
    EXPECT_EQ(energy, 90);
    // The unit's limits and energy were the report's, not the user's to remember.
    EXPECT_EQ(LoadReportSettings(store), ReportDialogSettings{});
    const auto cli = [&](const QStringList& args) {
        QFile::remove(out);
        EXPECT_EQ(QProcess::execute(
                      QStringLiteral(SAROKO_CLI),
                      QStringList{"--archive", QString::fromStdString(ArchivePath())} + args),
                  0);
        QFile f(out);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    cli({"report", "--corrected", "-o", out + ".pdf", a, b});
#ifdef SAROKO_PDFTOTEXT
    const auto lines = [](const QString& pdf) {
        QProcess text;
        text.start(QStringLiteral(SAROKO_PDFTOTEXT), {QStringLiteral("-layout"), pdf, "-"});
        EXPECT_TRUE(text.waitForFinished(20000));
        QStringList kept; // but when each was made, and the chain then
        for (const QString& l : QString::fromUtf8(text.readAllStandardOutput()).split('\n'))
            if (!l.contains(QStringLiteral("作成")) && !l.contains(QStringLiteral("ﾁｪｰﾝ")))
                kept << l.simplified();
        return kept;
    };
    const QStringList fromWindow = lines(window);
    EXPECT_EQ(fromWindow, lines(out + ".pdf"));
    for (const char* want : {"保管場所: 薬局冷蔵庫 2", "補正: -0.5 °C（適用済み）",
                             "注意: Ch.2 の校正は記録の時点で有効期限を過ぎていました。"})
        EXPECT_FALSE(fromWindow.filter(QString::fromUtf8(want)).isEmpty()) << want;
#endif

    // The unit's trail over a period, and the whole archive's to a time, byte for byte.
    std::vector<std::string> refused;
    ui::SetFrameworkMessageHandler([&](const QString& t) { refused.push_back(t.toStdString()); });
    ui::CAuditTrailDlg trail(s, frame.get());
    const QDate today = QDate::currentDate();
    const QDateTime from(today.addDays(-1), QTime(0, 0)), to(today.addDays(1), QTime(0, 0));
    const QString fromText = from.toString("yyyy/MM/dd HH:mm:ss");
    const QString toText = to.toString("yyyy/MM/dd HH:mm:ss");
    trail.FromCheck()->setChecked(true);
    trail.ToCheck()->setChecked(true);
    trail.FromTime()->setDateTime(to);
    trail.ToTime()->setDateTime(to);
    QString proposed;
    ui::SetAuditPathHook(
        [&](const QString& p) { return (proposed = QFileInfo(p).fileName(), out); });
    EXPECT_FALSE(trail.WriteTrail(false)); // the end not after the start
    trail.FromTime()->setDateTime(from);
    trail.UnitChoice()->setChecked(true);
    ASSERT_TRUE(trail.WriteTrail(false));
    EXPECT_EQ(proposed, QStringLiteral("薬局冷蔵庫 2-audit.csv"));
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray unitTrail = written.readAll();
    written.close();
    EXPECT_EQ(unitTrail, cli({"archive", "log", "--csv", out, "--unit",
                              QString::fromStdString(f.name), "--from", fromText, "--to", toText}));
    trail.WholeChoice()->setChecked(true);
    trail.FromCheck()->setChecked(false);
    ASSERT_TRUE(trail.WriteTrail(false));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray wholeTrail = written.readAll();
    written.close(); // Windows replaces no file that is open
    EXPECT_EQ(wholeTrail, cli({"archive", "log", "--csv", out, "--to", toText}));
    EXPECT_EQ(refused, std::vector<std::string>{"終了は開始より後の日時にしてください。"});
    ui::SetFrameworkMessageHandler({});
    ui::SetAuditPathHook({});
    // A download kept and assigned as saroko-cli's `recorder download --unit` assigns it;
    // the next download from that recorder here is offered the unit.
    EXPECT_EQ(archive->OfferedUnit(), 0);
    archive->Downloaded(Demo("k.klg", "2026/12/05 00:00:00"), QString(), 1);
    EXPECT_EQ(Events().back(), "assigned download||1 薬局冷蔵庫 2|");
    int offered = -1;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<ui::CDownloadDlg*>(QApplication::activeModalWidget());
        offered = dlg ? dlg->ChosenUnit() : -2;
        if (dlg)
            static_cast<QDialog*>(dlg)->reject();
    });
    EXPECT_TRUE(frame->ExecuteCommand(cmd::kDownload));
    EXPECT_EQ(offered, 1);
}

} // namespace
} // namespace saroko
