#pragma once
// The printing tests' fixture: a document with two channels in a shown view, the view's
// printer set to a PDF file on A4 without margins in a scratch folder, and the dialogs and
// messages answered by the test.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <functional>
#include <memory>

#include "app/MessageSink.h"
#include "core/TestSupport.h"
#include "graph/ZorvicView.h"
#include "printing/PrintSetup.h"
#include "support/QtApp.h"

namespace saroko::test {

class PrintFixture : public DocTest {
protected:
    static constexpr uint32_t kT0 = 1200000000;

    void SetUp() override {
        App();
        DocTest::SetUp();
        // Two 1 s channels of 100 samples each from kT0.
        std::vector<uint16_t> a, b;
        for (int i = 0; i < 100; ++i) {
            a.push_back(C(20.0 + (i % 30) * 0.5));
            b.push_back(C(-5.0 + (i % 17)));
        }
        Fill(*doc.GetChannel(1), kT0, 1, a, "ROOM");
        Fill(*doc.GetChannel(2), kT0, 1, b, "OUTSIDE");
        doc.RecalcRanges(1);
        main = std::make_unique<QWidget>();
        main->resize(700, 560);
        view = new CZorvicView(doc, main.get());
        view->setGeometry(0, 0, 640, 480);
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
        QApplication::processEvents();
        pdf = QString::fromStdString(Path("out.pdf"));
        QPrinter& p = PrintSetup().Printer();
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
        p.setPrintRange(QPrinter::AllPages);
        p.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        ui::SetFrameworkMessageHook([this](const QString& t) { frameworkMessages << t; });
        ui::SetMessageHandler([](int, const QString&) { return kIdOk; });
        // Each job into a PDF asks for its file: the next of `pdfAnswers`, else `pdf`.
        ui::CPrintSetup::SetFileHook([this](const QString& proposed) {
            proposals << proposed;
            return pdfAnswers.isEmpty() ? pdf : pdfAnswers.takeFirst();
        });
        ui::SetFrameworkQuestionHook([this](const QString& t) {
            questions << t;
            return replaceAnswer;
        });
        ui::CPrintSetup::SetDialogHook([this](QPrinter& p, int lo, int hi) {
            ++setupRuns;
            setupLimits = {lo, hi};
            return setupAnswer ? setupAnswer(p) : false;
        });
    }
    void TearDown() override {
        ui::SetDialogRunner({});
        ui::CPrintSetup::SetDialogHook({});
        ui::CPrintSetup::SetFileHook({});
        ui::SetFrameworkQuestionHook({});
        ui::SetFrameworkMessageHook({});
        ui::SetMessageHandler({});
        main.reset();
        DocTest::TearDown();
    }

    ui::CPrintSetup& PrintSetup() { return ui::CPrintSetup::Of(*view); }

    // Answers the next modal dialogs in turn: each gets the dialog and returns its result.
    void Answer(std::vector<std::function<int(QDialog&)>> answers) {
        auto queue =
            std::make_shared<std::vector<std::function<int(QDialog&)>>>(std::move(answers));
        ui::SetDialogRunner([this, queue](QDialog& dlg) {
            ++dialogsRun;
            if (queue->empty())
                return static_cast<int>(QDialog::Rejected);
            auto next = queue->front();
            queue->erase(queue->begin());
            return next(dlg);
        });
    }
    static int Click(QDialog& dlg, int id) {
        auto* b = dlg.findChild<QAbstractButton*>(QString::number(id));
        EXPECT_NE(b, nullptr) << id;
        if (b)
            b->click();
        return dlg.result();
    }
    static std::function<int(QDialog&)> Ok() {
        return [](QDialog& dlg) { return Click(dlg, ui::kIdOk); };
    }

    static int PdfPages(const QString& file) {
#ifdef SAROKO_PDFINFO
        QProcess p;
        p.start(QStringLiteral(SAROKO_PDFINFO), {file});
        p.waitForFinished(10000);
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(out);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
#else
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return -1;
        return static_cast<int>(
            QString::fromLatin1(f.readAll())
                .count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))));
#endif
    }
    // Page `page` of a PDF as an image at `dpi`, null without the poppler tools.
    QImage PdfPage(const QString& file, int page, int dpi) const {
#ifdef SAROKO_PDFTOPPM
        const QString stem = QString::fromStdString(Path("page"));
        QProcess p;
        p.start(QStringLiteral(SAROKO_PDFTOPPM),
                {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                 QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                 QString::number(page), QStringLiteral("-singlefile"), file, stem});
        p.waitForFinished(20000);
        return QImage(stem + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
#else
        (void)file, (void)page, (void)dpi;
        return {};
#endif
    }

    std::unique_ptr<QWidget> main;
    CZorvicView* view = nullptr; // a child of main
    QString pdf;
    QStringList frameworkMessages;
    QStringList proposals;  // the files the jobs proposed
    QStringList pdfAnswers; // the files the user gives, in turn; empty for ｷｬﾝｾﾙ
    QStringList questions;  // the replace questions
    bool replaceAnswer = true;
    int dialogsRun = 0;
    int setupRuns = 0;
    std::pair<int, int> setupLimits;
    std::function<bool(QPrinter&)> setupAnswer;
};

} // namespace saroko::test
