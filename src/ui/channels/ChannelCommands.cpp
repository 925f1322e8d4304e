#include "ui/channels/ChannelCommands.h"

#include "core/document/CommandState.h"
#include "ui/channels/ChannelColorDlg.h"
#include "ui/channels/ChannelListDlgs.h"
#include "ui/channels/RecCondDlg.h"
#include "ui/channels/ScaleDlgs.h"
#include "ui/graph/ZorvicView.h"

namespace saroko::ui {
namespace {

// The graph, its strips and the legend pane at once, and every other view of the document.
void RepaintViews(CZorvicView& view) {
    view.RefreshGraph();
    view.update();
    view.Doc().UpdateAllViews();
}

template <class Dlg> bool Run(Dlg& dlg) {
    return dlg.exec() == QDialog::Accepted;
}

} // namespace

bool RunChannelCommand(int commandId, CZorvicView& view, QWidget* parent) {
    CZorvicDoc& doc = view.Doc();
    CChannelPalette& palette = view.Palette();
    switch (commandId) {
    case cmd::kShowOnOff: {
        CChannelShowDlg dlg(doc, palette, parent);
        if (Run(dlg)) {
            dlg.Work().ApplyShow(doc);
            RepaintViews(view);
        }
        return true;
    }
    case cmd::kDeleteChannels: {
        CChannelDeleteDlg dlg(doc, palette, parent);
        if (Run(dlg)) {
            dlg.Work().ApplyDelete(doc);
            RepaintViews(view);
        }
        return true;
    }
    case cmd::kReorderChannels: {
        CChannelOrderDlg dlg(doc, palette, parent);
        if (Run(dlg)) {
            dlg.Work().Apply(doc);
            RepaintViews(view);
        }
        return true;
    }
    case cmd::kEditConditions: {
        CRecCondDlg dlg(doc, palette, parent);
        if (Run(dlg)) {
            dlg.Work().Apply(doc);
            RepaintViews(view);
        }
        return true;
    }
    case cmd::kCalcRange: {
        const GraphRange& r = *doc.GetRange();
        CCalcRangeDlg dlg(r.calcStart, r.calcEnd, r, palette, parent);
        if (Run(dlg)) {
            view.Model().ApplyCalcRangeView(dlg.Work().Start(), dlg.Work().End());
            RepaintViews(view);
        }
        return true;
    }
    case cmd::kFullScale: {
        CFullScaleDlg dlg(doc, palette, parent);
        if (Run(dlg)) {
            ApplyFullScale(doc, dlg.Mode(), dlg.Upper(), dlg.Lower());
            RepaintViews(view);
        }
        return true;
    }
    case cmd::kChannelColours: {
        CChannelColorDlg dlg(
            doc, palette, doc.Store(),
            [&view] {
                view.repaint();
                view.RefreshPane();
            },
            parent);
        if (Run(dlg))
            RepaintViews(view);
        return true;
    }
    default:
        return false;
    }
}

void EditConditionsFromLegend(CZorvicView& view, QWidget* parent) {
    CZorvicDoc& doc = view.Doc();
    CRecCondDeleteDlg dlg(doc, view.Palette(), parent);
    if (Run(dlg)) {
        dlg.Work().Apply(doc);
        RepaintViews(view);
    }
}

} // namespace saroko::ui
