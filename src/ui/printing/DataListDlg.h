#pragma once
// "データ一覧表示": the data of a short time window as a table under the statistics of the
// calculation range, moved through the data with its scroll bar, the wheel and Page Up/Down.
// While it is open the graph marks the span it shows.
#include <vector>

#include "core/printing/ListWindow.h"
#include "ui/base/DialogBase.h"

class QScrollArea;
class QScrollBar;

namespace saroko {

class CZorvicView;

namespace ui {

class CDataListTable;

class CDataListDlg : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 1361930;
    static constexpr int kIdClose = 1;
    static constexpr int kIdHelp = 189;
    static constexpr int kIdScrollBar = 169;
    // Rows shown at least; a window that can hold more gets a taller area, and scrolls
    // inside it while the dialog is too short for all of them.
    static constexpr int kVisibleRows = 20;

    CDataListDlg(CZorvicView& view, QWidget* parent = nullptr);

    const CListWindow& Window() const { return m_window; }
    const std::vector<ListRowTexts>& Rows() const { return m_rows; }
    QScrollBar* ScrollBar() const { return m_pScroll; }
    // The table's head (statistics and headings), whose paint reports the span to the view.
    QWidget* Table() const;
    // The rows of the window, scrolled inside the dialog when they outgrow the screen.
    QScrollArea* RowArea() const;
    CZorvicView& View() { return m_view; }

protected:
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnScrollAction(int action);
    void OnSliderReleased();
    // After a move: the rows, the thumb and the table anew.
    void Shown();

    CZorvicView& m_view;
    CListWindow m_window;
    CWheelSteps m_wheel;
    std::vector<ListRowTexts> m_rows;
    CDataListTable* m_pHead;
    CDataListTable* m_pTable;
    QScrollArea* m_pRowArea;
    QScrollBar* m_pScroll;
    int m_nAreaRows = kVisibleRows; // the lines the area's height holds
    bool m_bPlacing = false;
};

// The list window for command 32779: marks its span in the view while it is open.
void RunDataListWindow(CZorvicView& view, QWidget* parent);

} // namespace ui
} // namespace saroko
