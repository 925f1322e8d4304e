#pragma once
// What the channel dialogs share beyond the dialog base: the button row with its help button,
// the channel buttons, CP932 names at the glass, palette colours, and the painted columns of
// channel rows.
#include <QString>
#include <QWidget>

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "core/channels/ChannelPalette.h"
#include "platform/QtSettingsStore.h" // FromCp932, ToCp932
#include "ui/base/DialogBase.h"

class QPushButton;
class QGroupBox;

namespace saroko::ui {

// Help topics of the channel dialogs.
namespace help {
inline constexpr int kShow = 0x50A00A;
inline constexpr int kDelete = 0x64A00A;
inline constexpr int kOrder = 0x78A00A;
inline constexpr int kRecCond = 0xB4A00A;
inline constexpr int kCalcRange = 0xA0A00A;
inline constexpr int kFullScale = 0xC8A00A;
inline constexpr int kColor = 0x8CA00A;
} // namespace help

// Ids of the controls the dialogs share (the channel buttons are kIdcChannel1 + n - 1).
inline constexpr int kIdcOk = 1;
inline constexpr int kIdcCancel = 2;
inline constexpr int kIdcHelp = 9;
inline constexpr int kIdcUndo = 1001;
inline constexpr int kIdcDefaults = 1002;
inline constexpr int kIdcChannel1 = 1011;

QColor EntryColour(const CChannelPalette& palette, int index);

// The height of one painted channel row; the channel buttons are as tall.
inline constexpr int kRowPitch = 24;

// A column of eight painted rows, text in a palette colour on the dialogs' face colour.
class CRowColumn : public QWidget {
    Q_OBJECT
public:
    struct Cell {
        QString text;
        int paletteIndex = kPalText;
    };
    using CellSource = std::function<Cell(int row)>; // rows 1..8

    CRowColumn(const CChannelPalette& palette, CellSource source, int width, QWidget* parent);
    // The row whose cell holds a point, 0 outside the cells (beside them too).
    int RowAt(const QPoint& p) const;
    static QRect RowRect(int row, int width);

protected:
    void paintEvent(QPaintEvent* event) override;
    const CChannelPalette& m_palette;

private:
    CellSource m_source;
};

class CChannelDialog : public CDialogBase {
    Q_OBJECT
public:
    // The eight channel buttons "１" .. "８" (present in the dialogs that have them).
    QPushButton* ChannelButton(int channel) const;
    QPushButton* Button(int id) const;

protected:
    CChannelDialog(const CChannelPalette& palette, int helpTopic, const QString& title,
                   QWidget* parent);

    QPushButton* AddButton(int id, const QString& text, QWidget* parent = nullptr);
    // "Ch." with the buttons "１" .. "８", calling `clicked` with the channel number.
    QGroupBox* ChannelButtons(const std::function<void(int)>& clicked);
    // A group box holding one painted column.
    QGroupBox* PaintedGroup(const QString& title, CRowColumn* column);
    // OK, Cancel, (元に戻す / 初期値), ﾍﾙﾌﾟ in one row; `extraId`/`extraText` may be 0/empty.
    QWidget* ButtonRow(int extraId, const QString& extraText);
    // A message over the dialog (its text from the table, or the framework's own for an
    // integer field it cannot read).
    int Message(int id);

    const CChannelPalette& m_palette;
};

} // namespace saroko::ui
