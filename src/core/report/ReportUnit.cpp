#include "core/report/ReportUnit.h"

#include <cstdio>

#include "core/messages/Translate.h"

namespace saroko {
namespace {

// A translated format of %s fields only.
template <typename... S> std::string Format(const char* format, const S&... args) {
    const std::string f = TranslateFormat("Units", format);
    const int n = std::snprintf(nullptr, 0, f.c_str(), std::string(args).c_str()...);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    std::snprintf(out.data(), out.size() + 1, f.c_str(), std::string(args).c_str()...);
    return out;
}

std::string OrDash(const std::string& s) {
    return s.empty() ? "-" : s;
}

} // namespace

std::string UnitHeadLine(const ReportUnit& u) {
    std::string head = Format(SAROKO_TRANSLATE_NOOP("Units", "保管場所: %s"), u.name);
    if (!u.location.empty())
        head += Format(SAROKO_TRANSLATE_NOOP("Units", "（%s）"), u.location);
    if (!u.recorder.empty())
        head += Format(SAROKO_TRANSLATE_NOOP("Units", "  記録計: %s"), u.recorder);
    return head;
}

bool AnyCorrection(const std::vector<ReportUnit>& units) {
    for (const ReportUnit& u : units)
        for (const ReportUnitChannel& c : u.channels)
            if (c.calibration && c.calibration->correction.kind != Correction::kNone)
                return true;
    return false;
}

std::vector<std::string> UnitReportLines(const std::vector<ReportUnit>& units) {
    std::vector<std::string> lines;
    for (const ReportUnit& u : units) {
        lines.push_back(UnitHeadLine(u));
        for (const ReportUnitChannel& c : u.channels) {
            const std::string ch = std::to_string(c.number);
            if (!c.calibration) {
                lines.push_back(Format(
                    SAROKO_TRANSLATE_NOOP("Units", "  Ch.%s: 記録の時点の校正の記録なし"), ch));
                continue;
            }
            const Calibration& k = *c.calibration;
            lines.push_back(Format(
                SAROKO_TRANSLATE_NOOP("Units", "  Ch.%s: 校正証明書 %s  校正日 %s  有効期限 %s"),
                ch, OrDash(k.certificate), OrDash(k.calibrated), OrDash(k.due)));
            std::string corr =
                c.corrected
                    ? Format(SAROKO_TRANSLATE_NOOP("Units", "    補正: %s（適用済み）"),
                             CorrectionText(k.correction))
                    : Format(SAROKO_TRANSLATE_NOOP("Units", "    補正: %s（適用せず、生の値）"),
                             CorrectionText(k.correction));
            if (c.corrected && c.outsideRange > 0)
                corr += Format(SAROKO_TRANSLATE_NOOP("Units", "  校正範囲外の値 %s 個"),
                               std::to_string(c.outsideRange));
            lines.push_back(corr);
        }
    }
    return lines;
}

std::string PastDueWarning(const std::vector<ReportUnit>& units) {
    std::string chans;
    for (const ReportUnit& u : units)
        for (const ReportUnitChannel& c : u.channels)
            if (c.calibration && c.pastDue)
                chans += (chans.empty() ? "Ch." : ", Ch.") + std::to_string(c.number);
    if (chans.empty())
        return {};
    return Format(
        SAROKO_TRANSLATE_NOOP("Units", "注意: %s の校正は記録の時点で有効期限を過ぎていました。"),
        chans);
}

} // namespace saroko
