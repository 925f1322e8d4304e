#pragma once
// The recording-conditions dialogs: name and start of each channel (2200, from the menu) and
// the same with deletion (116, from the legend's double click).
#include <array>

#include "core/channels/RecCondWork.h"
#include "ui/channels/ChannelDialog.h"

class QLabel;
class QLineEdit;
class QRadioButton;

namespace saroko::ui {

class CRecCondDlg : public CChannelDialog {
    Q_OBJECT
public:
    CRecCondDlg(const CZorvicDoc& doc, const CChannelPalette& palette, QWidget* parent)
        : CRecCondDlg(doc, palette, false, parent) {}

    CRecCondWork& Work() { return m_work; }
    // The field widgets by RecCondField.
    QLineEdit* Field(int field) const { return m_fields[static_cast<std::size_t>(field)]; }
    QLabel* SelectedLabel() const { return m_pSelected; }

    static constexpr int kIdcName = 1201; // + RecCondField
    static constexpr int kIdcSelected = 1210;
    static constexpr int kIdcEdit = 1211;
    static constexpr int kIdcDelete = 1212;

protected:
    CRecCondDlg(const CZorvicDoc& doc, const CChannelPalette& palette, bool withDelete,
                QWidget* parent);
    void accept() override;

private:
    void OnChannel(int n);
    void OnUndo();
    void ReadForm();
    // After a step: its message, the fields and list, then the focus.
    void Finish(const RecCondOutcome& o);
    void ShowForm();

    CRecCondWork m_work;
    std::array<QLineEdit*, 7> m_fields{};
    QLabel* m_pSelected = nullptr;
    CRowColumn* m_pNames = nullptr;
    CRowColumn* m_pTimes = nullptr;
};

class CRecCondDeleteDlg final : public CRecCondDlg {
    Q_OBJECT
public:
    CRecCondDeleteDlg(const CZorvicDoc& doc, const CChannelPalette& palette, QWidget* parent)
        : CRecCondDlg(doc, palette, true, parent) {}
};

} // namespace saroko::ui
