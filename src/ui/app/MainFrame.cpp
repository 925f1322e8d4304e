#include "app/MainFrame.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>

#include "graph/ZorvicView.h"
#include "messages/StringTable.h"

namespace saroko {

CMainFrame::CMainFrame(CZorvicDoc& doc) : m_doc(doc) {
    m_pView = new CZorvicView(doc, this);
    setCentralWidget(m_pView);
    doc.SetObserver(this);
    doc.SetPrompts(this);

    QMenu* file = menuBar()->addMenu(QString::fromUtf8("ﾌｧｲﾙ(&F)"));
    QAction* open = file->addAction(QString::fromUtf8("開く(&O)..."));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(open, &QAction::triggered, this, &CMainFrame::OnFileOpen);
    file->addSeparator();
    QAction* quit = file->addAction(QString::fromUtf8("終了(&X)"));
    connect(quit, &QAction::triggered, this, &QWidget::close);

    setWindowTitle(QString::fromUtf8(kAppTitle));
    resize(800, 640);
}

CMainFrame::~CMainFrame() {
    m_doc.SetObserver(nullptr);
    m_doc.SetPrompts(nullptr);
}

int CMainFrame::OpenFile(const QString& path) {
    return m_doc.OnOpenDocument(QFileInfo(path).absoluteFilePath().toStdString());
}

void CMainFrame::OnFileOpen() {
    const QString path = QFileDialog::getOpenFileName(
        this, QString(), QString(), QStringLiteral("Data files (*.klg *.KLG *.ksv *.KSV)"));
    if (!path.isEmpty())
        OpenFile(path);
}

void CMainFrame::UpdateAllViews() {
    m_pView->update();
}

void CMainFrame::OnPathNameChanged(const std::string& path) {
    setWindowTitle(QFileInfo(QString::fromStdString(path)).fileName() + QStringLiteral(" - ") +
                   QString::fromUtf8(kAppTitle));
}

int CMainFrame::ShowMessage(int id, std::string_view extra) {
    const MessageDef* def = FindMessage(id);
    const QString text = QString::fromUtf8(MessageText(id).data(),
                                           static_cast<qsizetype>(MessageText(id).size())) +
                         QString::fromUtf8(extra.data(), static_cast<qsizetype>(extra.size()));
    const QString title = QString::fromUtf8(kAppTitle);
    if (def && def->buttons == MsgButtons::YesNo)
        return QMessageBox::question(this, title, text) == QMessageBox::Yes ? kIdYes : kIdNo;
    if (def && def->buttons == MsgButtons::OkCancel)
        return QMessageBox::warning(this, title, text, QMessageBox::Ok | QMessageBox::Cancel) ==
                       QMessageBox::Ok
                   ? kIdOk
                   : kIdCancel;
    if (def && def->icon == MsgIcon::Information)
        QMessageBox::information(this, title, text);
    else
        QMessageBox::warning(this, title, text);
    return kIdOk;
}

} // namespace saroko
