// The audit trail's check over whatever rows an archive file gives back. The input makes a
// chain of events (each text field any bytes, each number any value) and seals it as the
// program does, then changes it as someone with the file could: an event removed, two swapped,
// one copied elsewhere, a field or a number changed. The check must then hold for the sealed
// chain and for any part of it cut off at its end, and find a break in every other one; the
// hashed text of any event has its thirteen line ends and no more, whatever its values hold.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/archive/Archive.h"

namespace {

using saroko::archive::Event;

// Not SHA-256, but as sensitive to every byte, which is all the chain's rules need.
saroko::archive::Sha256Digest Hash(std::span<const uint8_t> bytes) {
    saroko::archive::Sha256Digest d{};
    for (std::size_t lane = 0; lane < 4; ++lane) {
        uint64_t h = 1469598103934665603ull ^ (lane * 0x9e3779b97f4a7c15ull);
        for (uint8_t b : bytes)
            h = (h ^ b) * 1099511628211ull;
        for (int k = 0; k < 8; ++k)
            d[lane * 8 + k] = static_cast<uint8_t>(h >> (8 * k));
    }
    return d;
}

class CReader {
public:
    explicit CReader(std::string_view in) : m_in(in) {}
    bool Done() const { return m_pos >= m_in.size(); }
    uint8_t Byte() { return Done() ? 0 : static_cast<uint8_t>(m_in[m_pos++]); }
    // A field: its length, then its bytes.
    std::string Text() {
        const std::size_t n =
            std::min<std::size_t>(Byte() % 24, m_in.size() - std::min(m_pos, m_in.size()));
        std::string s(m_in.substr(m_pos, n));
        m_pos += n;
        return s;
    }
    int64_t Number() {
        int64_t v = 0;
        for (int i = 0; i < 3; ++i)
            v = (v << 8) | Byte();
        return v - (int64_t{1} << 23);
    }

private:
    std::string_view m_in;
    std::size_t m_pos = 0;
};

std::string* Field(Event& e, int which) {
    std::string* fields[] = {
        &e.timeUtc,  &e.user,     &e.host,   &e.version,  &e.detail, &e.recordingSha256,
        &e.oldValue, &e.newValue, &e.reason, &e.prevHash, &e.hash};
    return fields[which % 11];
}

bool Same(const Event& a, const Event& b) {
    return a.seq == b.seq && a.offsetMinutes == b.offsetMinutes && a.kind == b.kind &&
           a.recordingId == b.recordingId && a.timeUtc == b.timeUtc && a.user == b.user &&
           a.host == b.host && a.version == b.version && a.detail == b.detail &&
           a.recordingSha256 == b.recordingSha256 && a.oldValue == b.oldValue &&
           a.newValue == b.newValue && a.reason == b.reason && a.prevHash == b.prevHash &&
           a.hash == b.hash;
}

// `cut` is `whole` with events missing only at its end.
bool IsHead(const std::vector<Event>& cut, const std::vector<Event>& whole) {
    return cut.size() <= whole.size() && std::equal(cut.begin(), cut.end(), whole.begin(), Same);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace saroko::archive;
    CReader in(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::size_t count = 1 + in.Byte() % 8;
    std::vector<Event> sealed;
    for (std::size_t i = 0; i < count; ++i) {
        Event e;
        e.kind = static_cast<EventKind>(in.Byte() % 7);
        e.offsetMinutes = static_cast<int>(in.Number() % (24 * 60));
        e.recordingId = in.Number();
        for (int f = 0; f < 9; ++f)
            *Field(e, f) = in.Text();
        SealEvent(&Hash, sealed.empty() ? nullptr : &sealed.back(), e);
        const std::string text = CanonicalText(e);
        if (std::count(text.begin(), text.end(), '\n') != 13)
            __builtin_trap();
        sealed.push_back(std::move(e));
    }
    if (CheckChain(&Hash, sealed))
        __builtin_trap();

    std::vector<Event> rows = sealed;
    while (!in.Done() && !rows.empty()) {
        const uint8_t op = in.Byte();
        const std::size_t i = in.Byte() % rows.size(), j = in.Byte() % rows.size();
        switch (op % 5) {
        case 0:
            rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        case 1:
            std::swap(rows[i], rows[j]);
            break;
        case 2:
            rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(j), Event(rows[i]));
            break;
        case 3:
            *Field(rows[i], static_cast<int>(j + op / 5)) = in.Text();
            break;
        default:
            (op & 8 ? rows[i].seq : rows[i].recordingId) = in.Number();
            break;
        }
    }
    const std::optional<ChainBreak> found = CheckChain(&Hash, rows);
    if (found.has_value() == IsHead(rows, sealed))
        __builtin_trap();
    if (found && found->what != "changed" && found->what != "removed" &&
        found->what != "inserted" && found->what != "reordered")
        __builtin_trap();
    return 0;
}
