// The three programs' command lines as a shell meets them: --version and --help with no display
// at all, and a bad option refused with one line that names it.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "SarokoVersion.h"

namespace {

struct Outcome {
    int status = -1;
    QString out, err;
};

// Started as over ssh: no display, the platform Qt would pick on a desktop; or with the
// offscreen platform, for a window program that gets as far as its window application.
Outcome Start(const char* program, const QStringList& args, bool offscreen = false) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    if (offscreen)
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Qt's word on a missing runtime folder is not what this test reads.
    const QTemporaryDir runtime;
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QLatin1String(program), args);
    Outcome r;
    if (!p.waitForFinished(20000))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
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

} // namespace
