#pragma once
// Dialog 127: show only the file's data (New) or add them to the shown graph (Append).
#include <QDialog>

namespace saroko::ui {

class CReadConfirmDlg : public QDialog {
    Q_OBJECT
public:
    explicit CReadConfirmDlg(QWidget* parent = nullptr);
    int m_nMode = 0; // 1 new, 2 append; 0 until a button is pressed
};

} // namespace saroko::ui
