#include "ui/base/FileDialogSize.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHeaderView>
#include <QLayout>
#include <QListView>
#include <QLocale>
#include <QMimeDatabase>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <algorithm>

#include "core/settings/WindowPlacement.h"

namespace saroko::ui {
namespace {

// Room for a column: its heading, and its widest sample with the view's text margins (and the
// file's icon in the first column).
int ColumnWidth(const QTreeView& tree, int section, const QStringList& samples) {
    const QStyle* style = tree.style();
    const int pad = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1) + 16 +
                    (section == 0 ? style->pixelMetric(QStyle::PM_SmallIconSize) : 0);
    int w = tree.header()->sectionSizeHint(section);
    for (const QString& s : samples)
        w = std::max(w, tree.fontMetrics().horizontalAdvance(s) + pad);
    return w;
}

// Sizes the detail view's columns to the widest of their kind in the user's language and in
// the system's locale, which the file model writes sizes and dates in (a kept download's name,
// a size near the next unit, the types of data, text and other files and of a folder, a date
// with two-digit fields), instead of Qt's widths for short English texts; returns their sum.
int SizeColumns(QTreeView& tree) {
    const QLocale locale = QLocale::system();
    const QMimeDatabase mime;
    const QStringList samples[4] = {
        {QStringLiteral("20261228-235959-999.klg"), QStringLiteral("Untitled.KLG")},
        {locale.formattedDataSize(qint64(1023.99 * 1024 * 1024)), locale.formattedDataSize(1023)},
        {mime.mimeTypeForFile(QStringLiteral("x.klg"), QMimeDatabase::MatchExtension).comment(),
         mime.mimeTypeForName(QStringLiteral("text/plain")).comment(),
         mime.mimeTypeForName(QStringLiteral("application/octet-stream")).comment(),
         mime.mimeTypeForName(QStringLiteral("application/pdf")).comment(),
         QFileIconProvider().type(QFileInfo(QDir::homePath()))},
        {locale.toString(QDateTime(QDate(2026, 12, 28), QTime(23, 59, 59)), QLocale::ShortFormat)},
    };
    QHeaderView& header = *tree.header();
    int columns = 0;
    for (int i = 0; i < 4 && i < header.count(); ++i) {
        header.resizeSection(i, ColumnWidth(tree, i, samples[i]));
        columns += header.sectionSize(i);
    }
    return columns;
}

// The width the places on the left need for their names, with the list's frame.
int SidebarWidth(const QListView& sidebar) {
    return sidebar.sizeHintForColumn(0) + 2 * sidebar.frameWidth() + 4;
}

} // namespace

int RunSized(QFileDialog& dlg, ISettingsStore* store) {
    auto* tree = dlg.findChild<QTreeView*>(QStringLiteral("treeView"));
    auto* sidebar = dlg.findChild<QListView*>(QStringLiteral("sidebar"));
    auto* splitter = dlg.findChild<QSplitter*>(QStringLiteral("splitter"));
    if (!tree || !sidebar || !splitter)
        return dlg.exec(); // the desktop's own dialog sizes itself
    const int columns = SizeColumns(*tree);
    const int extent = dlg.style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
    const int lines = 24 * dlg.fontMetrics().lineSpacing();
    // What the dialog needs beside the columns is known once it is laid out on the screen:
    // first a guess from the size hints, then the exact size as soon as it shows.
    const auto place = [&dlg, store, columns, extent, lines](int besides) {
        const WindowSize least{besides + columns + extent,
                               std::max(dlg.sizeHint().height(), lines)};
        const QRect desktop = dlg.screen() ? dlg.screen()->availableGeometry() : QRect(0, 0, 1, 1);
        const WindowSize size =
            store ? LoadFileDialogSize(*store, least, desktop.width(), desktop.height()) : least;
        dlg.resize(size.width, size.height);
    };
    place(dlg.sizeHint().width() - tree->sizeHint().width());
    QTimer::singleShot(0, &dlg, [&dlg, tree, sidebar, splitter, place] {
        const int side = std::max(sidebar->width(), SidebarWidth(*sidebar));
        place(dlg.width() - tree->viewport()->width() + side - sidebar->width());
        dlg.layout()->activate();
        splitter->setSizes({side, splitter->width() - side - splitter->handleWidth()});
    });
    const int result = dlg.exec();
    if (store)
        SaveFileDialogSize(*store, {dlg.width(), dlg.height()});
    return result;
}

} // namespace saroko::ui
