// The three programs' command lines as a shell meets them: --version and --help with no display
// at all, a bad option refused with one line that names it, the window program's screenshot.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <set>

#include "SarokoVersion.h"
#include "support/DataFiles.h"

namespace {

struct Outcome {
    int status = -1;
    QString out, err;
};

Outcome RunIn(const char* program, const QStringList& args, const QProcessEnvironment& env) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QLatin1String(program), args);
    Outcome r;
    if (!p.waitForFinished(20000))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    // A Windows console line ends in CR LF; the texts are compared as the program wrote them.
    r.out = QString::fromUtf8(p.readAllStandardOutput()).replace(QStringLiteral("\r\n"), "\n");
    r.err = QString::fromUtf8(p.readAllStandardError()).replace(QStringLiteral("\r\n"), "\n");
    return r;
}

// Started as over ssh: no display, the platform Qt would pick on a desktop; or with the
// offscreen platform, for a window program that gets as far as its window application.
Outcome Start(const char* program, const QStringList& args, bool offscreen = false,
              const QString& home = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // A window program's settings and archive in a folder of the test's.
    if (!home.isEmpty())
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"})
            env.insert(QLatin1String(name), home);
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    if (offscreen)
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Qt's word on a missing runtime folder is not what this test reads.
    const QTemporaryDir runtime;
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    return RunIn(program, args, env);
}

TEST(CommandLines, VersionHelpAndABadOption) {
    const struct {
        const char* program;
        const char* name;
        const char* helpHas; // an option the help names
    } programs[] = {
        {SAROKO_CLI, "saroko-cli", "--lang"},
        {SAROKO_EXE, "saroko", "--version"},
        {KM41_SIM, "km41-sim", "--fault-times"},
    };
    for (const auto& p : programs) {
        const QString name = QLatin1String(p.name);
        const Outcome version = Start(p.program, {QStringLiteral("--version")});
        EXPECT_EQ(std::tuple(version.status, version.out, version.err),
                  std::tuple(0, name + QStringLiteral(" " SAROKO_VERSION "\n"), QString()))
            << p.name;
        const Outcome help = Start(p.program, {QStringLiteral("--help")});
        EXPECT_EQ(help.status, 0) << p.name;
        EXPECT_TRUE(help.out.startsWith(QStringLiteral("usage: ") + name)) << p.name;
        EXPECT_TRUE(help.out.contains(QLatin1String(p.helpHas))) << p.name;
        // Qt's own options (-style, -platform) are known only to the window application.
        const Outcome bad = Start(p.program, {QStringLiteral("--no-such-option")}, true);
        EXPECT_EQ(bad.status, 2) << p.name;
        EXPECT_TRUE(bad.err.startsWith(name + QStringLiteral(": ")))
            << p.name << bad.err.toStdString();
        EXPECT_TRUE(bad.err.contains(QLatin1String("no-such-option"))) << p.name;
        EXPECT_EQ(bad.err.count(QLatin1Char('\n')), 1) << p.name << bad.err.toStdString();
    }
}

// A session without a display is Linux's (over ssh, say): Windows always has its desktop.
#ifndef _WIN32
// A start of the window program from a shell without a desktop says in one line that it found
// no display, in the program's language, and ends with the usage status, where Qt would abort;
// --help still answers, its options' texts in one column.
TEST(CommandLines, WindowProgramWithoutADisplaySaysSoInOneLine) {
    const QTemporaryDir home;
    const QString file = QString::fromStdString(saroko::test::DataFilePath("files/sound.klg"));
    const QString japanese =
        QStringLiteral("saroko: ディスプレイが見つかりません。ウィンドウを開けません\n");
    const QString english =
        QStringLiteral("saroko: no display was found; the window cannot open\n");
    const auto env = [&home](std::initializer_list<std::pair<const char*, const char*>> vars) {
        QProcessEnvironment e;
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            e.insert(QLatin1String(name), home.path());
        for (const auto& [name, value] : vars)
            e.insert(QLatin1String(name), QString::fromUtf8(value));
        return e;
    };
    // Nothing at all in the environment (env -i): the C locale speaks Japanese.
    const auto bare = [](const QStringList& args) {
        return RunIn("/usr/bin/env",
                     QStringList{QStringLiteral("-i"), QLatin1String(SAROKO_EXE)} + args,
                     QProcessEnvironment::systemEnvironment());
    };
    for (const QString& arg : {file, QStringLiteral("--bogus")}) {
        const Outcome r = bare({arg});
        EXPECT_EQ(std::tuple(r.status, r.out, r.err), std::tuple(2, QString(), japanese))
            << arg.toStdString();
    }
    const struct {
        std::initializer_list<std::pair<const char*, const char*>> vars;
        const QString& err;
    } cases[] = {
        {{{"LANG", "en_US.UTF-8"}}, english},
        {{{"LANG", "ja_JP.UTF-8"}, {"QT_QPA_PLATFORM", "xcb"}, {"WAYLAND_DISPLAY", "wl-9"}},
         japanese},
        {{{"LC_ALL", "de_DE.UTF-8"}, {"QT_QPA_PLATFORM", "wayland"}, {"DISPLAY", ":99"}}, english},
    };
    for (const auto& c : cases) {
        const Outcome r = RunIn(SAROKO_EXE, {file}, env(c.vars));
        EXPECT_EQ(std::tuple(r.status, r.out, r.err), std::tuple(2, QString(), c.err));
    }
    // A platform that needs no desktop, given on the command line, gets as far as the
    // program's own options.
    const Outcome offscreen =
        RunIn(SAROKO_EXE,
              {QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("--bogus")},
              env({}));
    EXPECT_EQ(offscreen.status, 2);
    EXPECT_TRUE(offscreen.err.contains(QLatin1String("unknown option --bogus")))
        << offscreen.err.toStdString();

    const Outcome help = bare({QStringLiteral("--help")});
    EXPECT_EQ(std::tuple(help.status, help.err), std::tuple(0, QString()));
    // Each option's text, and each continued line, starts in the same column.
    std::set<qsizetype> columns;
    for (const QString& line : help.out.split(QLatin1Char('\n'))) {
        if (!line.startsWith(QLatin1String("  --")) && !line.startsWith(QLatin1String("    ")))
            continue;
        static const QRegularExpression text(QStringLiteral("^  (--\\S+( [A-Z]+)?)? +"));
        columns.insert(text.match(line).capturedLength());
    }
    EXPECT_EQ(columns, std::set<qsizetype>{20}) << help.out.toStdString();
}
#endif

// --screenshot: the window of this start, saved once painted, then the end; 1 when it cannot
// be written.
TEST(CommandLines, ScreenshotSavesThePaintedWindowAndEnds) {
    const QTemporaryDir dir;
    const QString file = QString::fromStdString(saroko::test::DataFilePath("files/sound.klg"));
    for (const QString& png : {dir.filePath(QStringLiteral("shot.png")),
                               dir.filePath(QStringLiteral("missing/shot.png"))}) {
        const bool writable = !png.contains(QLatin1String("missing"));
        const Outcome r =
            Start(SAROKO_EXE, {QStringLiteral("--screenshot"), png, file}, true, dir.path());
        EXPECT_EQ(r.status, writable ? 0 : 1) << r.err.toStdString();
        QFile shot(png);
        EXPECT_EQ(shot.open(QIODevice::ReadOnly), writable);
        if (!writable) {
            EXPECT_TRUE(r.err.contains(QStringLiteral("saroko: cannot write")))
                << r.err.toStdString();
            continue;
        }
        // A PNG of the window's size: its header's width and height, four bytes each.
        const QByteArray head = shot.read(24);
        ASSERT_EQ(head.left(4), QByteArray("\x89PNG"));
        const auto word = [&head](int at) {
            return qFromBigEndian<quint32>(head.constData() + at);
        };
        EXPECT_GE(word(16), 320u);
        EXPECT_GE(word(20), 250u);
    }
}

} // namespace
