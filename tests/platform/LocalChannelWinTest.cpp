// The local line channel on Windows's named pipes: a client sending in pieces or too much, the
// time limit of a hand-over against a pipe that never answers, a watch on a listener that ends.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QUuid>
#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "platform/LocalChannel.h"

#include <windows.h>
// The security calls want windows.h before them.
#include <aclapi.h>

namespace saroko {
namespace {

class LocalChannelWin : public ::testing::Test {
protected:
    void SetUp() override {
        static int argc = 1;
        static char arg0[] = "saroko-test", *argv[] = {arg0, nullptr};
        [[maybe_unused]] static const auto* app = new QCoreApplication(argc, argv);
    }
    // A pipe name of the test's own.
    const QString name =
        QStringLiteral("saroko-test-") + QUuid::createUuid().toString(QUuid::Id128);
    std::wstring Path() const { return (QStringLiteral("\\\\.\\pipe\\") + name).toStdWString(); }
};

// What the listener answers to `bytes` sent in `pieces`: its byte, or "" when it closes. The
// client's calls block, so it runs in a thread of its own while this one runs the listener.
std::string Answer(const std::wstring& path, const QByteArray& bytes, int pieces) {
    std::atomic<bool> done{false};
    std::string answer;
    std::thread client([&] {
        HANDLE h = INVALID_HANDLE_VALUE;
        for (int i = 0; i < 500 && h == INVALID_HANDLE_VALUE; ++i) {
            h = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
            if (h == INVALID_HANDLE_VALUE)
                ::Sleep(10); // the listener makes the pipe's next instance between connections
        }
        if (h != INVALID_HANDLE_VALUE) {
            const qsizetype step = bytes.size() / pieces + 1;
            bool sent = true;
            for (qsizetype at = 0; sent && at < bytes.size(); at += step) {
                const QByteArray piece = bytes.mid(at, step);
                DWORD written = 0;
                // Once the listener has closed on too long a line, the rest does not go out.
                sent = ::WriteFile(h, piece.constData(), static_cast<DWORD>(piece.size()), &written,
                                   nullptr);
                ::Sleep(5);
            }
            char c = 0;
            DWORD got = 0;
            if (::ReadFile(h, &c, 1, &got, nullptr) && got == 1)
                answer = std::string(1, c);
            ::CloseHandle(h);
        }
        done = true;
    });
    const bool ended = QTest::qWaitFor([&] { return done.load(); }, 10000);
    client.join();
    EXPECT_TRUE(ended);
    return answer;
}

TEST_F(LocalChannelWin, AnswersEachWholeLineUpToItsLimit) {
    CLineListener listener('+');
    ASSERT_TRUE(listener.Listen(name));
    QList<QByteArray> lines;
    QObject::connect(&listener, &CLineListener::lineReceived,
                     [&](const QByteArray& line) { lines.append(line); });
    const QByteArray longest(CLineListener::kMaxLine, 'a');
    EXPECT_EQ(Answer(Path(), longest + '\n', 5), "+");
    EXPECT_EQ(Answer(Path(), longest + "a\n", 5), "");
    EXPECT_EQ(lines, QList<QByteArray>({longest}));
}

// Whether the system names a pipe's owner (Wine names none): a client talks only to a pipe
// this user owns, so without an owner it talks to none.
bool PipesHaveOwners(const std::wstring& path) {
    const HANDLE server =
        ::CreateNamedPipeW(path.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 1, 64, 64, 0, nullptr);
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    const bool named = ::GetSecurityInfo(server, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION,
                                         &owner, nullptr, nullptr, nullptr, &sd) == ERROR_SUCCESS &&
                       owner != nullptr;
    ::LocalFree(sd);
    ::CloseHandle(server);
    return named;
}

TEST_F(LocalChannelWin, HandOverEndsAtItsTimeLimitAndAWatchSeesTheListenerEnd) {
    EXPECT_EQ(SendLine(name, "a", 1000), std::nullopt); // nobody there
    const bool owners = PipesHaveOwners(Path());
    {
        // A pipe of this user's that takes a connection and never answers.
        const HANDLE stuck =
            ::CreateNamedPipeW(Path().c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT, 4,
                               4096, 4096, 0, nullptr);
        ASSERT_NE(stuck, INVALID_HANDLE_VALUE);
        for (const int limit : {50, 300}) {
            QElapsedTimer t;
            t.start();
            EXPECT_EQ(SendLine(name, "a", limit), std::nullopt);
            if (owners) {
                EXPECT_GE(t.elapsed(), limit - 16); // the system's clock steps
            }
            EXPECT_LT(t.elapsed(), limit + 300);
            ::DisconnectNamedPipe(stuck);
        }
        ::CloseHandle(stuck);
    }
    auto listener = std::make_unique<CLineListener>('+');
    ASSERT_TRUE(listener->Listen(name));
    EXPECT_TRUE(ListenerAnswers(name));
    EXPECT_EQ(SendLine(name, "b", 5000), owners ? std::optional<char>('+') : std::nullopt);
    CListenerWatch watch;
    int ended = 0;
    QObject::connect(&watch, &CListenerWatch::ended, [&] { ++ended; });
    ASSERT_EQ(watch.Watch(name), owners);
    if (owners) {
        EXPECT_FALSE(QTest::qWaitFor([&] { return ended > 0; }, 20));
        listener.reset();
        EXPECT_TRUE(QTest::qWaitFor([&] { return ended == 1; }, 5000));
    }
    listener.reset();
    EXPECT_FALSE(ListenerAnswers(name));
}

} // namespace
} // namespace saroko
