#include "core/archive/Signatures.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "core/messages/Translate.h"
#include "core/text/TimeUtil.h"

namespace saroko::archive {
namespace {

constexpr char kStatementHead[] = "saroko-signature/1\n";
constexpr std::size_t kMaxField = 100;

// The lines "key=value" of a value, each key once, in the given order; nullopt otherwise.
std::optional<std::vector<std::string>> Fields(std::string_view text,
                                               const std::vector<std::string_view>& keys) {
    std::vector<std::string> out;
    std::size_t at = 0;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::size_t end = text.find('\n', at);
        const std::string_view line =
            text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        if (line.size() <= keys[i].size() || line.substr(0, keys[i].size()) != keys[i] ||
            line[keys[i].size()] != '=')
            return std::nullopt;
        out.emplace_back(line.substr(keys[i].size() + 1));
        if (end == std::string_view::npos)
            return i + 1 == keys.size() ? std::optional(out) : std::nullopt;
        at = end + 1;
    }
    return at == text.size() ? std::optional(out) : std::nullopt;
}

bool IsHash(std::string_view s) {
    return s.size() == 64 && std::all_of(s.begin(), s.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

// "PATH sha256:HEX" split; nullopt when it has no hash.
std::optional<std::pair<std::string, std::string>> SplitFileText(std::string_view text) {
    const std::size_t at = text.rfind(" sha256:");
    if (at == std::string_view::npos || !IsHash(text.substr(at + 8)))
        return std::nullopt;
    return std::pair{std::string(text.substr(0, at)), std::string(text.substr(at + 8))};
}

std::string Format(const char* format, const std::string& a, const std::string& b = {}) {
    const std::string f = TranslateFormat("Signatures", format);
    std::string out(
        static_cast<std::size_t>(std::snprintf(nullptr, 0, f.c_str(), a.c_str(), b.c_str())), '\0');
    std::snprintf(out.data(), out.size() + 1, f.c_str(), a.c_str(), b.c_str());
    return out;
}

std::string Short(const std::string& hash) {
    return hash.substr(0, 16);
}

} // namespace

std::string HexText(std::string_view bytes) {
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<uint8_t>(c);
        out += kHex[b >> 4];
        out += kHex[b & 15];
    }
    return out;
}

std::optional<std::string> HexBytes(std::string_view hex) {
    if (hex.size() % 2)
        return std::nullopt;
    const auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    std::string out;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int hi = nibble(hex[i]), lo = nibble(hex[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
    }
    return out;
}

std::string KeyFingerprint(const Sha256Fn& hash, const std::string& publicDerHex) {
    const std::string prefix = kEd25519DerPrefixHex;
    const std::optional<std::string> der = HexBytes(publicDerHex);
    if (!der || der->size() != 44 || publicDerHex.compare(0, prefix.size(), prefix) != 0)
        return {};
    return Sha256Hex(hash, *der);
}

bool ValidSignatureField(std::string_view text) {
    return !text.empty() && text.size() <= kMaxField &&
           std::none_of(text.begin(), text.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

std::string KeyRegisteredValue(const SigningKey& key) {
    return "fingerprint=" + key.fingerprint + "\nname=" + key.name +
           "\npublic_key=" + key.publicDerHex;
}

std::string KeyRetiredValue(const std::string& fingerprint) {
    return "fingerprint=" + fingerprint;
}

std::map<std::string, SigningKey> FoldKeys(const std::vector<Event>& events) {
    std::map<std::string, SigningKey> keys;
    for (const Event& e : events) {
        if (e.kind != EventKind::Key)
            continue;
        if (e.detail == kKeyRegistered) {
            const auto f = Fields(e.newValue, {"fingerprint", "name", "public_key"});
            if (!f || keys.count((*f)[0]))
                continue;
            SigningKey k;
            k.fingerprint = (*f)[0];
            k.name = (*f)[1];
            k.publicDerHex = (*f)[2];
            k.user = e.user;
            k.host = e.host;
            k.registeredAt = e.timeUtc;
            k.registeredSeq = e.seq;
            keys.emplace(k.fingerprint, std::move(k));
        } else if (e.detail == kKeyRetired) {
            const auto f = Fields(e.newValue, {"fingerprint"});
            if (!f)
                continue;
            const auto it = keys.find((*f)[0]);
            if (it != keys.end() && !it->second.Retired())
                it->second.retiredSeq = e.seq;
        }
    }
    return keys;
}

std::string StatementTime(int64_t utc, int offsetMinutes) {
    std::string t = UtcText(utc + int64_t{offsetMinutes} * 60);
    t.pop_back(); // the "Z"
    const int a = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
    char buf[8];
    std::snprintf(buf, sizeof buf, "%c%02d:%02d", offsetMinutes < 0 ? '-' : '+', a / 60 % 100,
                  a % 60);
    return t + buf;
}

std::string StatementText(const Statement& s) {
    std::string out = kStatementHead;
    out += "report=sha256:" + s.reportSha256 + "\n";
    for (const SignedSource& src : s.sources)
        out += "source=" + std::to_string(src.id) + " sha256:" + src.sha256 + "\n";
    out += "chain=" + s.chainHead + "\n";
    out += "meaning=" + s.meaning + "\n";
    out += "name=" + s.name + "\n";
    out += "time=" + s.time + "\n";
    out += "key=" + s.key + "\n";
    return out;
}

std::optional<Statement> ParseStatement(std::string_view text) {
    if (text.substr(0, std::size(kStatementHead) - 1) != kStatementHead)
        return std::nullopt;
    std::vector<std::pair<std::string, std::string>> lines;
    std::size_t at = std::size(kStatementHead) - 1;
    while (at < text.size()) {
        const std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            return std::nullopt;
        const std::string_view line = text.substr(at, end - at);
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            return std::nullopt;
        lines.emplace_back(line.substr(0, eq), line.substr(eq + 1));
        at = end + 1;
    }
    Statement s;
    std::size_t i = 0;
    const auto take = [&](const char* key, std::string& out) {
        if (i >= lines.size() || lines[i].first != key)
            return false;
        out = lines[i++].second;
        return true;
    };
    std::string report;
    if (!take("report", report) || report.rfind("sha256:", 0) != 0)
        return std::nullopt;
    s.reportSha256 = report.substr(7);
    while (i < lines.size() && lines[i].first == "source") {
        const std::string& v = lines[i++].second;
        const std::size_t sp = v.find(" sha256:");
        if (sp == std::string::npos || sp == 0 || sp > 18 ||
            v.find_first_not_of("0123456789") != sp)
            return std::nullopt;
        s.sources.push_back({std::stoll(v.substr(0, sp)), v.substr(sp + 8)});
    }
    if (!take("chain", s.chainHead) || !take("meaning", s.meaning) || !take("name", s.name) ||
        !take("time", s.time) || !take("key", s.key) || i != lines.size())
        return std::nullopt;
    // Only a text that is exactly what the program writes is a statement.
    if (StatementText(s) != text)
        return std::nullopt;
    return s;
}

std::string SignedValue(const Signature& s) {
    return "key=" + s.key + "\nsignature=" + s.signature + "\n" + s.statement;
}

std::optional<Signature> ParseSignedValue(std::string_view value) {
    Signature s;
    std::size_t at = 0;
    for (const auto& [key, out] : {std::pair{"key=", &s.key}, {"signature=", &s.signature}}) {
        const std::size_t end = value.find('\n', at);
        const std::string_view line = value.substr(at, end - at);
        if (end == std::string_view::npos || line.rfind(key, 0) != 0)
            return std::nullopt;
        *out = line.substr(std::string_view(key).size());
        at = end + 1;
    }
    s.statement = value.substr(at);
    return s;
}

std::vector<Signature> SignaturesIn(const std::vector<Event>& events) {
    std::vector<Signature> out;
    for (const Event& e : events)
        if (e.kind == EventKind::Signed)
            if (std::optional<Signature> s = ParseSignedValue(e.newValue)) {
                s->seq = e.seq;
                out.push_back(std::move(*s));
            }
    return out;
}

std::vector<SignedSource> ReportSourcesOf(const std::vector<Event>& events,
                                          const std::string& reportSha256) {
    std::map<int64_t, std::string> found;
    for (const Event& e : events) {
        if (e.kind != EventKind::Reported || e.recordingId <= 0)
            continue;
        const auto file = SplitFileText(e.newValue);
        if (file && file->second == reportSha256)
            found.emplace(e.recordingId, e.recordingSha256);
    }
    std::vector<SignedSource> out;
    for (const auto& [id, sha] : found)
        out.push_back({id, sha});
    return out;
}

bool IsKnownReport(const std::vector<Event>& events, const std::string& reportSha256) {
    return std::any_of(events.begin(), events.end(), [&](const Event& e) {
        const auto file = SplitFileText(e.newValue);
        return e.kind == EventKind::Reported && file && file->second == reportSha256;
    });
}

std::string SigningProblem(const std::map<std::string, SigningKey>& keys,
                           const std::string& fingerprint, const std::string& name,
                           const std::string& meaning, bool passphraseOpened,
                           const std::string& publicDerHexOfFile) {
    if (!ValidSignatureField(meaning))
        return TranslateText("Signatures", "署名の意味を 1～100 ﾊﾞｲﾄの 1 行で入力してください。");
    const auto it = keys.find(fingerprint);
    if (it == keys.end())
        return Format(
            SAROKO_TRANSLATE_NOOP("Signatures", "鍵 %s は記録保管庫に登録されていません。"),
            Short(fingerprint));
    if (it->second.Retired())
        return Format(
            SAROKO_TRANSLATE_NOOP("Signatures",
                                  "鍵 %s は廃止されています。廃止された鍵では署名できません。"),
            Short(fingerprint));
    if (name != it->second.name)
        return Format(SAROKO_TRANSLATE_NOOP("Signatures", "氏名が鍵の登録名 (%s) と一致しません。"),
                      it->second.name);
    if (!passphraseOpened)
        return TranslateText("Signatures", "ﾊﾟｽﾌﾚｰｽﾞが違います。");
    if (publicDerHexOfFile != it->second.publicDerHex)
        return Format(
            SAROKO_TRANSLATE_NOOP(
                "Signatures", "鍵ﾌｧｲﾙ %s.pem が登録された鍵と一致しません (変更されています)。"),
            Short(fingerprint));
    return {};
}

SignatureCheck CheckSignature(const Signature& s, const SignatureContext& c) {
    SignatureCheck out{s, ParseStatement(s.statement), {}};
    const auto fail = [&](std::string problem) {
        out.problem = std::move(problem);
        return out;
    };
    if (!out.statement)
        return fail(TranslateText("Signatures", "署名文が読めません (書式が違います)。"));
    const Statement& st = *out.statement;
    if (st.key != s.key)
        return fail(TranslateText("Signatures", "署名文の鍵と署名の鍵が違います。"));
    const std::vector<Event>& events = *c.events;
    const std::map<std::string, SigningKey> keys = FoldKeys(events);
    const auto key = keys.find(s.key);
    if (key == keys.end())
        return fail(
            Format(SAROKO_TRANSLATE_NOOP("Signatures", "鍵 %s は記録保管庫に登録されていません。"),
                   Short(s.key)));
    if (!c.verify(key->second.publicDerHex, s.statement, s.signature))
        return fail(TranslateText("Signatures",
                                  "署名が署名文と一致しません (署名文か署名が変更されています)。"));
    // The signature is genuine; the archive must hold it, made while its key was in use.
    int64_t seq = s.seq;
    if (seq == 0)
        for (const Signature& held : SignaturesIn(events))
            if (held.signature == s.signature && held.statement == s.statement)
                seq = held.seq;
    if (seq == 0)
        return fail(TranslateText("Signatures", "この署名は記録保管庫にありません。"));
    out.signature.seq = seq;
    if (key->second.Retired() && key->second.retiredSeq < seq)
        return fail(
            Format(SAROKO_TRANSLATE_NOOP("Signatures", "鍵 %s は署名の前に廃止されていました。"),
                   Short(s.key)));
    if (st.reportSha256 != c.reportSha256)
        return fail(IsKnownReport(events, c.reportSha256)
                        ? Format(SAROKO_TRANSLATE_NOOP(
                                     "Signatures", "この署名は別のﾚﾎﾟｰﾄ (SHA-256 %s) のものです。"),
                                 Short(st.reportSha256))
                        : Format(SAROKO_TRANSLATE_NOOP(
                                     "Signatures",
                                     "ﾚﾎﾟｰﾄが署名の後に変更されています (署名時 %s、現在 %s)。"),
                                 Short(st.reportSha256), Short(c.reportSha256)));
    if (std::none_of(events.begin(), events.end(),
                     [&](const Event& e) { return e.hash == st.chainHead; }))
        return fail(TranslateText(
            "Signatures", "署名時のﾁｪｰﾝﾍｯﾄﾞが記録保管庫にありません (ｲﾍﾞﾝﾄが失われています)。"));
    for (const SignedSource& src : st.sources) {
        const auto rec = std::find_if(c.recordings->begin(), c.recordings->end(),
                                      [&](const Recording& r) { return r.id == src.id; });
        if (rec == c.recordings->end() || rec->sha256 != src.sha256)
            return fail(Format(
                SAROKO_TRANSLATE_NOOP("Signatures", "記録 %s は記録保管庫の記録と違います。"),
                std::to_string(src.id)));
        for (const ListedFile& f : ListedFiles(*c.recordings, *c.kept)) {
            if (&(*c.recordings)[f.recording] != &*rec)
                continue;
            const std::optional<std::string> now = c.hashFile(f.path);
            if (!now)
                return fail(
                    Format(SAROKO_TRANSLATE_NOOP("Signatures", "記録 %s のﾌｧｲﾙ %s がありません。"),
                           std::to_string(src.id), f.path));
            if (*now != src.sha256)
                return fail(
                    Format(SAROKO_TRANSLATE_NOOP(
                               "Signatures", "記録 %s のﾌｧｲﾙ %s が署名の後に変更されています。"),
                           std::to_string(src.id), f.path));
        }
    }
    return out;
}

std::vector<Signature> SignaturesOfReport(const std::vector<Event>& events,
                                          const std::string& reportSha256,
                                          const std::string& path) {
    std::vector<Signature> out;
    for (const Event& e : events) {
        if (e.kind != EventKind::Signed)
            continue;
        std::optional<Signature> s = ParseSignedValue(e.newValue);
        if (!s)
            continue;
        s->seq = e.seq;
        const auto file = SplitFileText(e.detail);
        const std::optional<Statement> st = ParseStatement(s->statement);
        if ((st && st->reportSha256 == reportSha256) || (file && file->first == path))
            out.push_back(std::move(*s));
    }
    return out;
}

} // namespace saroko::archive
