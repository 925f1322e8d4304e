#pragma once
// The calculation range dialog (113) and the vertical full-scale dialog (140).
#include <QTimer>

#include <array>

#include "core/channels/ScaleRanges.h"
#include "ui/channels/ChannelDialog.h"

class QLabel;
class QLineEdit;
class QRadioButton;

namespace saroko::ui {

class CCalcRangeDlg final : public CChannelDialog {
    Q_OBJECT
public:
    CCalcRangeDlg(uint32_t calcStart, uint32_t calcEnd, const GraphRange& range,
                  const CChannelPalette& palette, QWidget* parent);

    const CCalcRangeWork& Work() const { return m_work; }
    // Fields 0..11: start year .. second, end year .. second.
    QLineEdit* Field(int index) const { return m_fields[static_cast<std::size_t>(index)]; }

    static constexpr int kIdcField = 1301; // + index
    static constexpr int kIdcWhole = 1320;
    static constexpr int kIdcCurrentStart = 1321;
    static constexpr int kIdcCurrentEnd = 1322;

protected:
    void accept() override;

private:
    void ShowFields();

    CCalcRangeWork m_work;
    std::array<QLineEdit*, 12> m_fields{};
};

class CFullScaleDlg final : public CChannelDialog {
    Q_OBJECT
public:
    CFullScaleDlg(const CZorvicDoc& doc, const CChannelPalette& palette, QWidget* parent);

    int Mode() const { return m_nMode; }
    float Upper() const { return m_fUpper; }
    float Lower() const { return m_fLower; }
    QLineEdit* UpperField() const { return m_pUpper; }
    QLineEdit* LowerField() const { return m_pLower; }
    // One tick of the 500 ms timer: the fields follow the radio buttons.
    void OnTimerTick();
    bool TimerActive() const { return m_timer.isActive(); }

    static constexpr int kIdcAuto = 1401;
    static constexpr int kIdcManual = 1402;
    static constexpr int kIdcUpper = 1403;
    static constexpr int kIdcLower = 1404;

protected:
    void accept() override;

private:
    void ShowForm(const FullScaleForm& f);
    int RadioMode() const;

    QRadioButton* m_pAuto = nullptr;
    QRadioButton* m_pManual = nullptr;
    QLineEdit* m_pUpper = nullptr;
    QLineEdit* m_pLower = nullptr;
    QTimer m_timer;
    int m_nMode = 0;
    int m_nLastMode = 0;
    float m_fUpper = 0;
    float m_fLower = 0;
};

} // namespace saroko::ui
