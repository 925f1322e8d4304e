// The local line channel on real sockets: a client sending in pieces or too much, the time limit
// of a hand-over, a watch on a listener that ends (between two programs: the single instance's).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/LocalChannel.h"

namespace saroko {
namespace {

// A socket name in a folder of the test's own, and Qt's event loop for the listener.
class LocalChannel : public ::testing::Test {
protected:
    void SetUp() override {
        static int argc = 1;
        static char arg0[] = "saroko-test", *argv[] = {arg0, nullptr};
        [[maybe_unused]] static const auto* app = new QCoreApplication(argc, argv);
    }
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("s"));
};

// A plain client socket on `path`, or a listening one that never accepts.
int RawSocket(const QString& path, bool listen) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{.sun_family = AF_UNIX, .sun_path = {}};
    std::strncpy(addr.sun_path, QFile::encodeName(path).constData(), sizeof addr.sun_path - 1);
    const auto* a = reinterpret_cast<const sockaddr*>(&addr);
    const bool ok = listen ? ::bind(fd, a, sizeof addr) == 0 && ::listen(fd, 4) == 0
                           : ::connect(fd, a, sizeof addr) == 0;
    EXPECT_TRUE(ok) << path.toStdString();
    return fd;
}

// What the listener answers to `bytes` sent in `pieces`: its byte, or "" when it closes.
std::string Answer(const QString& path, const QByteArray& bytes, int pieces = 1) {
    const int fd = RawSocket(path, false);
    const qsizetype step = bytes.size() / pieces + 1;
    for (qsizetype at = 0; at < bytes.size(); at += step) {
        const QByteArray piece = bytes.mid(at, step);
        // Once the listener has closed on too long a line, the rest may not go out.
        ::send(fd, piece.constData(), static_cast<std::size_t>(piece.size()), MSG_NOSIGNAL);
        QTest::qWait(5);
    }
    char c = 0;
    ssize_t n = -1;
    (void)QTest::qWaitFor(
        [&] { return (n = ::recv(fd, &c, 1, MSG_DONTWAIT)) >= 0 || errno != EAGAIN; }, 5000);
    ::close(fd);
    return n == 1 ? std::string(1, c) : std::string();
}

TEST_F(LocalChannel, AnswersEachWholeLineUpToItsLimit) {
    CLineListener listener('+');
    ASSERT_TRUE(listener.Listen(name));
    QList<QByteArray> lines;
    QObject::connect(&listener, &CLineListener::lineReceived,
                     [&](const QByteArray& line) { lines.append(line); });
    const QByteArray longest(CLineListener::kMaxLine, 'a');
    EXPECT_EQ(Answer(name, longest + '\n', 5), "+");
    EXPECT_EQ(Answer(name, longest + "a\n", 5), "");
    EXPECT_EQ(lines, QList<QByteArray>({longest}));
}

TEST_F(LocalChannel, HandOverEndsAtItsTimeLimit) {
    EXPECT_EQ(SendLine(name, "a", 1000), std::nullopt); // nobody there
    // A listener that takes connections and never answers.
    const int stuck = RawSocket(name, true);
    EXPECT_TRUE(ListenerAnswers(name));
    for (const int limit : {50, 300}) {
        QElapsedTimer t;
        t.start();
        EXPECT_EQ(SendLine(name, "a", limit), std::nullopt);
        EXPECT_GE(t.elapsed(), limit);
        EXPECT_LT(t.elapsed(), limit + 200);
    }
    ::close(stuck);
}

TEST_F(LocalChannel, ListenerTakesOverALeftSocketAndRemovesItsOwn) {
    ::close(RawSocket(name, true)); // the file of a listener that ended without removing it
    auto listener = std::make_unique<CLineListener>('+');
    ASSERT_TRUE(listener->Listen(name));
    CListenerWatch watch;
    int ended = 0;
    QObject::connect(&watch, &CListenerWatch::ended, [&] { ++ended; });
    ASSERT_TRUE(watch.Watch(name));
    EXPECT_FALSE(QTest::qWaitFor([&] { return ended > 0; }, 20));
    listener.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended == 1; }, 5000));
    EXPECT_FALSE(QFile::exists(name));
    EXPECT_FALSE(watch.Watch(name));

    // Only its owner may connect; a socket another listener has put in its place since stays.
    listener = std::make_unique<CLineListener>('+');
    ASSERT_TRUE(listener->Listen(name));
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(name).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(::unlink(QFile::encodeName(name).constData()), 0);
    const int other = RawSocket(name, true);
    listener.reset();
    EXPECT_TRUE(QFile::exists(name));
    ::close(other);
}

} // namespace
} // namespace saroko
