#include "ui/document/FileDialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHeaderView>
#include <QLayout>
#include <QListView>
#include <QLocale>
#include <QMimeDatabase>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <algorithm>

namespace saroko::ui {
namespace {

QString Tr(const char* text) {
    return QCoreApplication::translate("CQtFileDialogs", text);
}

// Lower-case patterns are added because file names on this platform are case-sensitive.
// Looked up when a dialog opens, in the language of the moment.
const char* const kKlgFilter = QT_TRANSLATE_NOOP("CQtFileDialogs", "KM-4シリーズ (*.KLG *.klg)");
const char* const kKsvFilter = QT_TRANSLATE_NOOP("CQtFileDialogs", "KM3/2シリーズ (*.KSV *.ksv)");
const char* const kAllFilter = QT_TRANSLATE_NOOP("CQtFileDialogs", "全てのファイル (*)");
const char* const kTextFilterTexts[4] = {
    QT_TRANSLATE_NOOP("CQtFileDialogs", "ｶﾝﾏ区切り (*.TXT *.txt)"),
    QT_TRANSLATE_NOOP("CQtFileDialogs", "ﾀﾌﾞ区切り (*.TXT *.txt)"),
    QT_TRANSLATE_NOOP("CQtFileDialogs", "ｾﾐｺﾛﾝ区切り (*.TXT *.txt)"),
    QT_TRANSLATE_NOOP("CQtFileDialogs", "ｽﾍﾟｰｽ区切り (*.TXT *.txt)")};

bool Run(QFileDialog& dlg, ISettingsStore* store, std::string& path) {
    RunSized(dlg, store);
    if (dlg.result() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return false;
    path = dlg.selectedFiles().first().toStdString();
    return true;
}

} // namespace

bool CQtFileDialogs::AskOpenPath(std::string& path) {
    QFileDialog dlg(m_pParent, QCoreApplication::translate("CQtFileDialogs", "開く"));
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setNameFilters({Tr(kKlgFilter), Tr(kKsvFilter), Tr(kAllFilter)});
    dlg.setDefaultSuffix(QStringLiteral("KLG"));
    dlg.selectFile(QStringLiteral("Untitled.KLG"));
    return Run(dlg, m_pStore, path);
}

bool CQtFileDialogs::AskSavePath(int range, std::string& path) {
    QFileDialog dlg(m_pParent,
                    range ? QCoreApplication::translate("CQtFileDialogs", "表示範囲を保存")
                          : QCoreApplication::translate("CQtFileDialogs", "全データを保存"));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setNameFilters({Tr(kKlgFilter), Tr(kAllFilter)});
    dlg.setDefaultSuffix(QStringLiteral("KLG"));
    dlg.selectFile(QStringLiteral("Untitled.KLG"));
    return Run(dlg, m_pStore, path);
}

bool CQtFileDialogs::AskTextPath(int range, uint32_t& divideCode, std::string& path) {
    QFileDialog dlg(
        m_pParent,
        range ? QCoreApplication::translate("CQtFileDialogs", "表示範囲をテキストファイル出力")
              : QCoreApplication::translate("CQtFileDialogs", "全データをテキストファイル出力"));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    QStringList kTextFilters;
    for (const char* f : kTextFilterTexts)
        kTextFilters << Tr(f);
    dlg.setNameFilters(kTextFilters);
    const uint32_t pre = divideCode >= 1 && divideCode <= 4 ? divideCode : 1;
    dlg.selectNameFilter(kTextFilters[pre - 1]);
    dlg.setDefaultSuffix(QStringLiteral("TXT"));
    dlg.selectFile(QStringLiteral("Untitled.TXT"));
    if (!Run(dlg, m_pStore, path))
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
