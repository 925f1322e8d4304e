#pragma once
// "コマンドテスト" (dialog 141): any one of the sixteen recorder commands with four raw
// parameter bytes, and the four result bytes. Reached only by its accelerator.
#include <array>
#include <cstdint>

#include "core/recorder/CommandTest.h"
#include "ui/recorder/RecorderDialog.h"

class QLabel;
class QLineEdit;

namespace saroko {
class CZorvicDoc;
}

namespace saroko::ui {

class CCommandTestDlg final : public CRecorderDialog {
    Q_OBJECT
public:
    enum : int {
        kIdd = 141,
        kIdcPrcNo = 106,
        kIdcPrm1 = 266,
        kIdcPrm2 = 103,
        kIdcPrm3 = 104,
        kIdcPrm4 = 105,
        kIdcMsg = 107,
        kIdcResult1 = 267, // ..270
        kIdcSend = 249,
        kIdcEnd = 251,
    };

    CCommandTestDlg(const CZorvicDoc& doc, const CommServices& services, QWidget* parent = nullptr);

    const std::array<uint8_t, 4>& Result() const { return m_result; }
    // The code of the last exchange; 0 before any.
    int LastResult() const { return m_nLastResult; }

private:
    void OnSend();
    void ShowResult();

    const CZorvicDoc& m_doc;
    std::array<uint8_t, 4> m_result{};
    int m_nLastResult = 0;
    QLineEdit* m_pPrcNo = nullptr;
    std::array<QLineEdit*, 4> m_pPrm{};
    QLineEdit* m_pMsg = nullptr;
    std::array<QLabel*, 4> m_pResult{};
};

} // namespace saroko::ui
