#include "ui/printing/SignedCopy.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "core/archive/SignedCopyText.h"
#include "core/printing/PdfAppend.h"
#include "ui/graph/GraphPainter.h"

namespace saroko::ui {
namespace {

constexpr int kDpi = 1200;

struct SignaturePage {
    Q_DECLARE_TR_FUNCTIONS(SignaturePage)
};

QString MeaningText(const std::string& meaning) {
    if (meaning == "reviewed")
        return SignaturePage::tr("確認 (reviewed)");
    if (meaning == "approved")
        return SignaturePage::tr("承認 (approved)");
    return QString::fromStdString(meaning);
}

// Writes lines down a page, in the report's body font or a fixed-width one.
class CPageLines {
public:
    CPageLines(QPainter& p, double width) : m_painter(p), m_width(width) {}
    void Line(const QString& text, double points, bool bold = false, bool fixed = false) {
        QFont font = fixed ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : ProgramFont();
        font.setPointSizeF(points);
        font.setBold(bold);
        m_painter.setFont(font);
        const QFontMetricsF fm(font, m_painter.device());
        m_painter.drawText(QPointF(0, m_y + fm.ascent()),
                           fm.elidedText(text, Qt::ElideMiddle, m_width));
        m_y += fm.height() * 1.3;
    }
    void Rule() {
        m_painter.setPen(QPen(Qt::black, kDpi * 0.2 / 25.4));
        m_painter.drawLine(QPointF(0, m_y), QPointF(m_width, m_y));
        m_painter.setPen(Qt::black);
        m_y += kDpi * 1.5 / 25.4;
    }
    void Skip(double mm) { m_y += kDpi * mm / 25.4; }

private:
    QPainter& m_painter;
    double m_width;
    double m_y = 0;
};

} // namespace

std::optional<std::string> SignaturePagesPdf(const std::string& reportName,
                                             const std::string& reportSha256,
                                             std::size_t reportSize,
                                             const std::vector<archive::Signature>& signatures) {
    if (signatures.empty())
        return std::nullopt;
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(kDpi);
        writer.setCreator(QStringLiteral("Saroko"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                         QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer))
            return std::nullopt;
        for (std::size_t i = 0; i < signatures.size(); ++i) {
            if (i > 0)
                writer.newPage();
            const archive::Signature& s = signatures[i];
            const std::optional<archive::Statement> st = archive::ParseStatement(s.statement);
            CPageLines w(painter, writer.width());
            w.Line(SignaturePage::tr("＜電子署名＞ %1 / %2").arg(i + 1).arg(signatures.size()), 13,
                   true);
            w.Line(SignaturePage::tr("ﾚﾎﾟｰﾄ: %1    先頭 %2 ﾊﾞｲﾄ    SHA-256: %3")
                       .arg(QString::fromStdString(reportName))
                       .arg(reportSize)
                       .arg(QString::fromStdString(reportSha256)),
                   8.5);
            w.Rule();
            if (st) {
                w.Line(SignaturePage::tr("意味: %1").arg(MeaningText(st->meaning)), 11, true);
                w.Line(SignaturePage::tr("署名者: %1").arg(QString::fromStdString(st->name)), 11,
                       true);
                w.Line(SignaturePage::tr("時刻: %1").arg(QString::fromStdString(st->time)), 11,
                       true);
            }
            w.Line(SignaturePage::tr("鍵の指紋 (公開鍵 DER の SHA-256): %1")
                       .arg(QString::fromStdString(s.key)),
                   8.5);
            w.Skip(2);
            w.Line(SignaturePage::tr("署名した文 (UTF-8、各行の末尾に LF):"), 8.5, true);
            for (const QString& line : QString::fromStdString(s.statement).split(u'\n'))
                if (!line.isEmpty())
                    w.Line(line, 8, false, true);
            w.Skip(2);
            w.Line(SignaturePage::tr("署名 (Ed25519、16進):"), 8.5, true);
            for (std::size_t at = 0; at < s.signature.size(); at += 64)
                w.Line(QString::fromStdString(s.signature.substr(at, 64)), 8, false, true);
            w.Skip(3);
            w.Line(SignaturePage::tr("確かめ方: saroko-cli verify-signature、または openssl と "
                                     "sha256sum (ﾏﾆｭｱﾙ「署名」)"),
                   8.5);
        }
        if (!painter.end())
            return std::nullopt;
    }
    return bytes.toStdString();
}

bool WriteSignedCopy(const QString& path, const std::string& reportName, const std::string& report,
                     const std::vector<archive::Signature>& signatures,
                     const archive::Sha256Fn& hash) {
    const std::string sha = archive::Sha256Hex(hash, report);
    const std::optional<std::string> pages =
        SignaturePagesPdf(reportName, sha, report.size(), signatures);
    const std::optional<std::string> copy =
        pages ? AppendPdfPages(report, *pages,
                               archive::SignedCopyComment(report.size(), sha, signatures))
              : std::nullopt;
    if (!copy)
        return false;
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           f.write(copy->data(), static_cast<qint64>(copy->size())) ==
               static_cast<qint64>(copy->size()) &&
           f.flush();
}

QString SignedCopyPath(const QString& reportPath) {
    QString base = reportPath;
    if (base.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        base.chop(4);
    return base + QStringLiteral(".signed.pdf");
}

} // namespace saroko::ui
