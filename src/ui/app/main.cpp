// saroko: the program window.
#include <QApplication>
#include <memory>

#include "app/MainFrame.h"
#include "document/TimeUtil.h"
#include "platform/QtSettingsStore.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QString::fromUtf8(saroko::kOrganisation));
    QCoreApplication::setApplicationName(QString::fromUtf8(saroko::kApplication));

    saroko::CQtSettingsStore store;
    saroko::SystemClock clock;
    saroko::CQtCp932Codec codec;
    saroko::CZorvicDoc doc(store, clock);
    if (saroko::CQtCp932Codec::Available())
        doc.SetTextCodec(&codec);

    saroko::CMainFrame frame(doc);
    doc.OnNewDocument();
    frame.show();
    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 1)
        frame.OpenFile(args.at(1));
    return app.exec();
}
