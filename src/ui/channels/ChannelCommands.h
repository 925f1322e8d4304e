#pragma once
// The tools menu's channel commands, each a modal dialog on the view's document and palette,
// and the legend's double click that opens the recording conditions with deletion.
#include "ui/channels/ChannelDialog.h"

class QWidget;

namespace saroko {
class CZorvicView;
} // namespace saroko

namespace saroko::ui {

// Runs the dialog of `commandId` (cmd::kShowOnOff, kDeleteChannels, kReorderChannels,
// kEditConditions, kCalcRange, kChannelColours, kFullScale) and applies its result after OK;
// the view and the legend pane are repainted. False for any other id.
bool RunChannelCommand(int commandId, CZorvicView& view, QWidget* parent);

// The legend's double click (the view's editConditionsRequested): the recording conditions
// with deletion.
void EditConditionsFromLegend(CZorvicView& view, QWidget* parent);

} // namespace saroko::ui
