#pragma once
// What the archive tests share: a hash that stands in for SHA-256, and the session of a user at
// a bench.
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "core/archive/ArchiveSession.h"

namespace saroko::test {

// Not SHA-256, but as sensitive to every byte, which is all the archive's rules need: four
// FNV-1a lanes of their own seeds fill the 32 bytes.
inline archive::Sha256Digest FakeHash(std::span<const uint8_t> bytes) {
    archive::Sha256Digest d{};
    for (std::size_t lane = 0; lane < 4; ++lane) {
        uint64_t h = 1469598103934665603ull ^ (lane * 0x9e3779b97f4a7c15ull);
        for (uint8_t b : bytes)
            h = (h ^ b) * 1099511628211ull;
        for (int k = 0; k < 8; ++k)
            d[lane * 8 + k] = static_cast<uint8_t>(h >> (8 * k));
    }
    return d;
}

// `user` on `host`, version 1.22, nine hours east of UTC, the clock read from `now`.
inline archive::SessionContext BenchContext(std::function<int64_t()> now, std::string user = "lab",
                                            std::string host = "bench") {
    return {std::move(user), std::move(host), "1.22", std::move(now), [](int64_t) { return 540; }};
}

} // namespace saroko::test
