#pragma once
// The channel colour dialog (137): picks channel colours with scroll bars or typed numbers,
// shows every change at once in the live palette, stores the colours on OK and puts the
// palette back on Cancel.
#include <QLineEdit>

#include <array>
#include <functional>

#include "core/channels/ColorWork.h"
#include "core/document/ZorvicDoc.h"
#include "ui/channels/ChannelDialog.h"

class QGroupBox;
class QHBoxLayout;
class QLabel;
class QScrollBar;

namespace saroko::ui {

class CChannelColorDlg;

// A component field: Tab and Enter reach it as keys; leaving it runs the dialog's check.
class CNumberEdit final : public QLineEdit {
    Q_OBJECT
public:
    CNumberEdit(CChannelColorDlg* dialog, int component, QWidget* parent);

    int m_bTabbed = 0;
    int m_nShiftState = 0; // negative when Shift was down

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    CChannelColorDlg* m_pDialog;
    int m_nComponent;
};

class CChannelColorDlg final : public CChannelDialog {
    Q_OBJECT
public:
    // `palette` is the live palette; `repaintView` shows its entries in the graph at once.
    CChannelColorDlg(const CZorvicDoc& doc, CChannelPalette& palette, ISettingsStore& store,
                     std::function<void()> repaintView, QWidget* parent);

    const CChannelColorWork& Work() const { return m_work; }
    QScrollBar* Bar(int component) const { return m_bars[static_cast<std::size_t>(component)]; }
    CNumberEdit* Edit(int component) const { return m_edits[static_cast<std::size_t>(component)]; }
    QLabel* SelectedLabel() const { return m_pSelected; }
    QWidget* Swatch() const { return m_pSwatch; }
    QWidget* Sample() const { return m_pSample; }

    // The check of a field that lost the focus.
    void OnEditLeave(int component);

    static constexpr int kIdcSelected = 1501;
    static constexpr int kIdcRedBar = 1510; // + component

public slots:
    void accept() override;
    void reject() override;

private:
    QHBoxLayout* BuildLists();
    QGroupBox* BuildChange();
    void ConnectControls();
    void OnChannel(int n);
    void OnDefaults();
    void OnCancel();
    void OnScrollAction(int component, int action);
    void OnThumbReleased(int component);
    void AfterComponentChange(int component);
    void Animate();
    // The fields and scroll bars from the working entries.
    void ShowComponents();

    const CZorvicDoc& m_doc;
    CChannelPalette& m_live;
    ISettingsStore& m_store;
    std::function<void()> m_repaintView;
    CChannelColorWork m_work;
    std::array<QScrollBar*, 3> m_bars{};
    std::array<CNumberEdit*, 3> m_edits{};
    QLabel* m_pSelected = nullptr;
    QWidget* m_pSwatch = nullptr;
    QWidget* m_pSample = nullptr;
    CRowColumn* m_pNames = nullptr;
};

} // namespace saroko::ui
