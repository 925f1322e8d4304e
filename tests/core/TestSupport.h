#pragma once
// Shared fixtures of the core tests: a document on an in-memory store with a pinned clock,
// prompts that record what was asked, and a scratch folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/document/ZorvicDoc.h"

namespace saroko::test {

class RecordingPrompts : public IDocumentPrompts {
public:
    int AskReadMode() override {
        ++readModeAsked;
        return readMode;
    }
    int ShowMessage(int id, std::string_view extra = {}) override {
        shown.push_back(id);
        extras.emplace_back(extra);
        return answer;
    }
    int readMode = kReadNew;
    int answer = kIdOk;
    int readModeAsked = 0;
    std::vector<int> shown;
    std::vector<std::string> extras;
};

// A test whose expectation holds only in some zones sets one of them itself, so that it
// gives the same answer wherever it runs; the runner's zone comes back afterwards.
#ifdef _WIN32
extern std::string g_hostZone; // the zone Wine was started in (support/WindowsZone.cpp)
#endif

class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ"))
            m_old = old;
#ifdef _WIN32
        // The Windows runtime reads TZ in its own form (name, hours west of UTC) and applies
        // its own daylight rule, so a zone with daylight saving is only there when Wine runs in
        // it: then the variable goes and the runtime follows the Windows zone.
        if (zone == g_hostZone)
            _putenv_s("TZ", "");
        else if (std::string(zone) == "Asia/Tokyo")
            _putenv_s("TZ", "JST-9");
        else
            m_available = false;
        _tzset();
#else
        ::setenv("TZ", zone, 1);
        ::tzset();
#endif
    }
    ~ScopedTimeZone() {
#ifdef _WIN32
        _putenv_s("TZ", m_old ? m_old->c_str() : ""); // empty: the Windows zone again
        _tzset();
#else
        if (m_old)
            ::setenv("TZ", m_old->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
#endif
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;
    // False where the zone cannot be set in this process (daylight zones on Windows).
    explicit operator bool() const {
        return m_available;
    }

private:
    std::optional<std::string> m_old;
    bool m_available = true;
};

inline uint32_t Local(int y, int mo, int d, int h, int mi, int s) {
    uint32_t t = 0;
    EXPECT_TRUE(FromLocalFields(y, mo, d, h, mi, s, t));
    return t;
}

// Fills a channel with data as a load would.
inline void Fill(ChannelRecord& ch, uint32_t start, uint32_t interval,
                 const std::vector<uint16_t>& codes, const char* name = "",
                 uint8_t type = kTypeTemp13, uint8_t sensor = 0) {
    ch.present = ch.number;
    std::fill(std::begin(ch.name), std::end(ch.name), '\0');
    std::copy(name, name + std::min<std::size_t>(8, std::char_traits<char>::length(name)), ch.name);
    ch.startTime = start;
    ch.interval = interval;
    ch.measureType = type;
    ch.sensorCode = sensor;
    std::fill(std::begin(ch.samples), std::end(ch.samples), kCodeEnd);
    std::copy(codes.begin(), codes.end(), ch.samples);
    ch.sampleCount = static_cast<uint16_t>(codes.size());
}

// Temperature code of a value in degC.
inline uint16_t C(double v) {
    return static_cast<uint16_t>(32768 + static_cast<int>(v * 10 + (v >= 0 ? 0.5 : -0.5)));
}

class DocTest : public ::testing::Test {
protected:
    void SetUp() override {
        clock.Set(Local(2008, 3, 5, 12, 0, 0));
        doc.SetPrompts(&prompts);
        doc.OnNewDocument();
        dir = std::filesystem::temp_directory_path() /
              ("saroko-test-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        RemoveScratch();
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { RemoveScratch(); }
    // Windows deletes no read-only file, so every entry gets its write permission back first.
    void RemoveScratch() const {
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::permissions(dir, fs::perms::all, ec);
        for (fs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir, ec);
    }
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    static std::string ReadAll(const std::string& path) {
        std::ifstream f(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
    static void WriteAll(const std::string& path, const std::string& bytes) {
        std::ofstream f(path, std::ios::binary);
        f << bytes;
    }

    CMemorySettingsStore store;
    FixedClock clock{0};
    RecordingPrompts prompts;
    CZorvicDoc doc{store, clock};
    std::filesystem::path dir;
};

} // namespace saroko::test
