#pragma once
// The three channel-list dialogs of the tools menu: display on/off (1900), deletion (2000) and
// reordering (2100). Each works on a copy; the command applies the result after OK.
#include "core/channels/ChannelLists.h"
#include "ui/channels/ChannelDialog.h"

class QComboBox;

namespace saroko::ui {

// Display on/off and deletion: a button per channel flips its flag.
class CChannelFlagDlg : public CChannelDialog {
    Q_OBJECT
public:
    const CChannelFlagWork& Work() const { return m_work; }
    CRowColumn* NameColumn() const { return m_pNames; }
    CRowColumn* LabelColumn() const { return m_pLabels; }

protected:
    CChannelFlagDlg(const CZorvicDoc& doc, const CChannelPalette& palette,
                    CChannelFlagWork::Kind kind, QWidget* parent);

private:
    void OnChannel(int n);

    CChannelFlagWork m_work;
    CRowColumn* m_pNames = nullptr;
    CRowColumn* m_pLabels = nullptr;
};

class CChannelShowDlg final : public CChannelFlagDlg {
    Q_OBJECT
public:
    CChannelShowDlg(const CZorvicDoc& doc, const CChannelPalette& palette, QWidget* parent)
        : CChannelFlagDlg(doc, palette, CChannelFlagWork::Kind::kShow, parent) {}
};

class CChannelDeleteDlg final : public CChannelFlagDlg {
    Q_OBJECT
public:
    CChannelDeleteDlg(const CZorvicDoc& doc, const CChannelPalette& palette, QWidget* parent)
        : CChannelFlagDlg(doc, palette, CChannelFlagWork::Kind::kDelete, parent) {}
};

// The number column of the reorder dialog: the rows are the drag handles.
class COrderNumberColumn final : public CRowColumn {
    Q_OBJECT
public:
    COrderNumberColumn(CChannelOrderWork& work, const CChannelPalette& palette, QWidget* parent);

signals:
    void moved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    CChannelOrderWork& m_work;
};

class CChannelOrderDlg final : public CChannelDialog {
    Q_OBJECT
public:
    CChannelOrderDlg(const CZorvicDoc& doc, const CChannelPalette& palette, QWidget* parent);

    CChannelOrderWork& Work() { return m_work; }
    QComboBox* FromList() const { return m_pFrom; }
    QComboBox* ToList() const { return m_pTo; }
    QWidget* NumberColumn() const { return m_pNumbers; }

    static constexpr int kIdcFrom = 1101;
    static constexpr int kIdcTo = 1102;
    static constexpr int kIdcSort = 1103;

protected:
    void accept() override;

private:
    void Refresh();

    CChannelOrderWork m_work;
    COrderNumberColumn* m_pNumbers = nullptr;
    CRowColumn* m_pNames = nullptr;
    QComboBox* m_pFrom = nullptr;
    QComboBox* m_pTo = nullptr;
};

} // namespace saroko::ui
