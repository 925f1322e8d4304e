#include "document/FileDialogs.h"

#include <QApplication>
#include <QFileDialog>

namespace saroko::ui {
namespace {

// Lower-case patterns are added because file names on this platform are case-sensitive.
const QString kKlgFilter = QStringLiteral("KM-4シリーズ (*.KLG *.klg)");
const QString kKsvFilter = QStringLiteral("KM3/2シリーズ (*.KSV *.ksv)");
const QString kAllFilter = QStringLiteral("全てのファイル (*)");
const QString kTextFilters[4] = {
    QStringLiteral("ｶﾝﾏ区切り (*.TXT *.txt)"), QStringLiteral("ﾀﾌﾞ区切り (*.TXT *.txt)"),
    QStringLiteral("ｾﾐｺﾛﾝ区切り (*.TXT *.txt)"), QStringLiteral("ｽﾍﾟｰｽ区切り (*.TXT *.txt)")};

bool Run(QFileDialog& dlg, std::string& path) {
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return false;
    path = dlg.selectedFiles().first().toStdString();
    return true;
}

} // namespace

bool CQtFileDialogs::AskOpenPath(std::string& path) {
    QFileDialog dlg(m_pParent, QStringLiteral("開く"));
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setNameFilters({kKlgFilter, kKsvFilter, kAllFilter});
    dlg.setDefaultSuffix(QStringLiteral("KLG"));
    dlg.selectFile(QStringLiteral("Untitled.KLG"));
    return Run(dlg, path);
}

bool CQtFileDialogs::AskSavePath(int range, std::string& path) {
    QFileDialog dlg(m_pParent,
                    range ? QStringLiteral("表示範囲を保存") : QStringLiteral("全データを保存"));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setNameFilters({kKlgFilter, kAllFilter});
    dlg.setDefaultSuffix(QStringLiteral("KLG"));
    dlg.selectFile(QStringLiteral("Untitled.KLG"));
    return Run(dlg, path);
}

bool CQtFileDialogs::AskTextPath(int range, uint32_t& divideCode, std::string& path) {
    QFileDialog dlg(m_pParent, range ? QStringLiteral("表示範囲をテキストファイル出力")
                                     : QStringLiteral("全データをテキストファイル出力"));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setNameFilters({kTextFilters[0], kTextFilters[1], kTextFilters[2], kTextFilters[3]});
    const uint32_t pre = divideCode >= 1 && divideCode <= 4 ? divideCode : 1;
    dlg.selectNameFilter(kTextFilters[pre - 1]);
    dlg.setDefaultSuffix(QStringLiteral("TXT"));
    dlg.selectFile(QStringLiteral("Untitled.TXT"));
    if (!Run(dlg, path))
        return false;
    for (uint32_t i = 0; i < 4; ++i)
        if (dlg.selectedNameFilter() == kTextFilters[i])
            divideCode = i + 1;
    return true;
}

void CQtFileDialogs::SetWaitCursor(bool on) {
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

} // namespace saroko::ui
