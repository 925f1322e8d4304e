#include "core/archive/SignedCopyText.h"

namespace saroko::archive {
namespace {

constexpr char kReportLine[] = "%saroko-signed-report ";
constexpr char kSignatureLine[] = "%saroko-signature ";

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t at = 0;
    while (at <= line.size()) {
        const std::size_t sp = line.find(' ', at);
        out.push_back(line.substr(at, sp == std::string_view::npos ? sp : sp - at));
        if (sp == std::string_view::npos)
            break;
        at = sp + 1;
    }
    return out;
}

} // namespace

std::string SignedCopyComment(std::size_t reportSize, const std::string& reportSha256,
                              const std::vector<Signature>& signatures) {
    std::string out = kReportLine + std::to_string(reportSize) + " " + reportSha256 + "\n";
    for (const Signature& s : signatures)
        out += kSignatureLine + s.key + " " + s.signature + " " + HexText(s.statement) + "\n";
    return out;
}

std::optional<SignedCopy> ReadSignedCopy(std::string_view pdf) {
    const std::size_t at = pdf.rfind(std::string("\n") + kReportLine);
    if (at == std::string_view::npos)
        return std::nullopt;
    SignedCopy copy;
    std::size_t line = at + 1;
    bool first = true;
    while (line < pdf.size() && pdf[line] == '%') {
        const std::size_t end = pdf.find('\n', line);
        if (end == std::string_view::npos)
            break;
        const std::string_view text = pdf.substr(line, end - line);
        line = end + 1;
        if (first) {
            const auto w = Words(text.substr(std::size(kReportLine) - 1));
            if (w.size() != 2 || w[0].empty() || w[0].size() > 12 ||
                w[0].find_first_not_of("0123456789") != std::string_view::npos)
                return std::nullopt;
            copy.reportSize = std::stoull(std::string(w[0]));
            copy.reportSha256 = w[1];
            first = false;
            continue;
        }
        if (text.rfind(kSignatureLine, 0) != 0)
            break;
        const auto w = Words(text.substr(std::size(kSignatureLine) - 1));
        const std::optional<std::string> statement = w.size() == 3 ? HexBytes(w[2]) : std::nullopt;
        if (!statement)
            return std::nullopt;
        copy.signatures.push_back({0, std::string(w[0]), std::string(w[1]), *statement});
    }
    if (copy.reportSize > at)
        return std::nullopt;
    return copy;
}

} // namespace saroko::archive
