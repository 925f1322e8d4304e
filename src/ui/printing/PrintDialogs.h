#pragma once
// The two print dialogs ("グラフ印刷", "データ一覧印刷") and the modeless progress box of the
// data list print. Controls carry their resource ids as object names.
#include <QDialog>
#include <QString>
#include <functional>

#include "core/printing/PrintLayout.h"
#include "ui/base/DialogBase.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;

namespace saroko::ui {

// Control ids shared by both dialogs.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdHelp = 1004;
inline constexpr int kIdPrinterSetup = 57606;

class CPrintDialogBase : public CDialogBase {
    Q_OBJECT
public:
    // "ﾌﾟﾘﾝﾀの設定": the view's printer setup.
    void SetPrinterSetup(std::function<void()> setup) { m_setup = std::move(setup); }

protected:
    CPrintDialogBase(const QString& title, int helpTopic, QWidget* parent);
    // Heading, the "印刷ﾃﾞｰﾀ" group with the file name (and `extraGroupRow`) and the four
    // buttons; `middle` goes between the group and the buttons.
    void Build(const QString& heading, int fileNameId, const QString& fileName,
               QWidget* extraGroupRow, QWidget* middle);
    virtual void OnPrinterSetup();

private:
    std::function<void()> m_setup;
};

class CGraphPrintDlg : public CPrintDialogBase {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 14458890;
    static constexpr int kIdFileName = 203;
    static constexpr int kIdMethodFit = 1000; // then 1001, 1002
    static constexpr int kIdHorizontal = 101;
    static constexpr int kIdVertical = 102;

    CGraphPrintDlg(const QString& fileName, const GraphPrintSettings& settings,
                   QWidget* parent = nullptr);
    // What the dialog holds; valid after OK.
    const GraphPrintSettings& Settings() const { return m_settings; }

    void accept() override;

private:
    GraphPrintSettings m_settings;
    QButtonGroup* m_pMethod;
    QLineEdit* m_pHorizontal;
    QLineEdit* m_pVertical;
};

class CListPrintDlg : public CPrintDialogBase {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 2672650;
    static constexpr int kIdFileName = 201;
    static constexpr int kIdPages = 202;

    // `countPages` counts the pages for the printer as it is now.
    CListPrintDlg(const QString& fileName, std::function<int()> countPages,
                  QWidget* parent = nullptr);
    int PageCount() const { return m_nPages; }

    void accept() override;

protected:
    void OnPrinterSetup() override;

private:
    void Recount();

    std::function<int()> m_countPages;
    int m_nPages = 0;
    QLabel* m_pPages;
};

// "印刷中": the page being printed and a cancel button. Modeless.
class CPrintProgressDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kIdText = 204;

    explicit CPrintProgressDlg(QWidget* parent = nullptr);
    ~CPrintProgressDlg() override;
    void ShowPage(int page, int lastPage);
    bool Cancelled() const { return m_bCancelled; }
    // As "ｷｬﾝｾﾙ" does: the job stops after the current page.
    void Cancel();

protected:
    void reject() override { Cancel(); }

private:
    QLabel* m_pText;
    bool m_bCancelled = false;
};

} // namespace saroko::ui
