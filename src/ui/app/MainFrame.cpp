#include "ui/app/MainFrame.h"
#include "platform/SiteArchive.h"
#include "ui/app/ArchiveLocationDlg.h"
#include "ui/app/Help.h"
#include "ui/app/SigningDlgs.h"

#include "SarokoVersion.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QRegularExpression>
#include <QResizeEvent>
#include <QShowEvent>
#include <QStatusBar>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "core/channels/ChannelPalette.h"
#include "core/document/MenuTable.h"
#include "core/messages/StringTable.h"
#include "core/settings/WindowPlacement.h"
#include "ui/app/WindowArchive.h"
#include "ui/base/DialogBase.h"
#include "ui/base/HelpRequest.h"
#include "ui/base/MessageSink.h"
#include "ui/channels/ChannelCommands.h"
#include "ui/document/FileDialogs.h"
#include "ui/document/RecordingsDlg.h"
#include "ui/document/UnitsDlg.h"
#include "ui/graph/ZorvicView.h"
#include "ui/printing/PrintingCommands.h"
#include "ui/printing/ReportPdf.h"
#include "ui/recorder/RecorderCommands.h"

namespace saroko {
namespace {

// "開く(O)..." becomes "開く(&O)...": the access letter in parentheses. A translation
// brings its own "&".
QString WithMnemonic(const char* label) {
    QString s = QCoreApplication::translate("Menu", label);
    static const QRegularExpression re(QStringLiteral("\\(([A-Z])\\)"));
    const QRegularExpressionMatch m = re.match(s);
    if (m.hasMatch())
        s.replace(m.capturedStart(), m.capturedLength(),
                  QStringLiteral("(&") + m.captured(1) + ')');
    return s;
}

QKeySequence ToKeySequence(const Accelerator& a) {
    static const Qt::Key keys[] = {
        Qt::Key_A,     Qt::Key_B,  Qt::Key_C,    Qt::Key_M,      Qt::Key_N,      Qt::Key_O,
        Qt::Key_P,     Qt::Key_V,  Qt::Key_W,    Qt::Key_X,      Qt::Key_Z,      Qt::Key_Left,
        Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Insert, Qt::Key_Delete, Qt::Key_Backspace,
        Qt::Key_F1,    Qt::Key_F6, Qt::Key_F10};
    Qt::KeyboardModifiers mods;
    if (a.mods & Accelerator::kCtrl)
        mods |= Qt::ControlModifier;
    if (a.mods & Accelerator::kShift)
        mods |= Qt::ShiftModifier;
    if (a.mods & Accelerator::kAlt)
        mods |= Qt::AltModifier;
    return QKeySequence(QKeyCombination(mods, keys[a.key]));
}

bool IsFileCommand(int id) {
    return id == cmd::kFileNew || id == cmd::kFileOpen || id == cmd::kFileSave ||
           id == cmd::kFileSaveAll || id == cmd::kFileSaveRange || id == cmd::kExportAll ||
           id == cmd::kExportRange || (id >= cmd::kRecentFirst && id < cmd::kRecentFirst + 4);
}

} // namespace

CMainFrame::CMainFrame(CZorvicDoc& doc, ISettingsStore& store)
    : m_doc(doc), m_store(store), m_prompts(this) {
    ui::SetAuditPdfWriter(&ui::WriteAuditTrailPdf);
    m_pView = new CZorvicView(doc, this);
    // The frame may be shrunk freely: too low a client area snaps it back (resizeEvent).
    m_pView->setMinimumSize(0, 0);
    setCentralWidget(m_pView);
    m_pDialogs = std::make_unique<ui::CQtFileDialogs>(this, &m_store);
    m_pFileUi = m_pDialogs.get();
    m_pCommands = std::make_unique<CFileCommands>(m_doc, *m_pFileUi, m_prompts);
    doc.SetObserver(this);
    doc.SetPrompts(&m_prompts);
    setWindowIcon(QIcon(QStringLiteral(":/saroko/saroko.png")));
    setAcceptDrops(true);
    BuildMenus();
    BuildAccelerators();
    // Every window's help requests come here, where the help window lives.
    ui::SetHelpHandler([this](int topic) { OpenHelp(topic); });
    // A double click on a channel number in the legend edits the recording conditions.
    connect(m_pView, &CZorvicView::editConditionsRequested, this, [this] {
        ui::EditConditionsFromLegend(*m_pView, this);
        UpdateCommandUi();
        if (m_pArchive)
            m_pArchive->Commit();
    });
    OnPathNameChanged(m_doc.m_szPathName);
}

CMainFrame::~CMainFrame() {
    ui::SetHelpHandler({});
    ui::CloseHelpWindow();
    m_doc.SetObserver(nullptr);
    m_doc.SetPrompts(nullptr);
}

void CMainFrame::SetFileUi(IFileCommandUi* fileUi) {
    m_pFileUi = fileUi ? fileUi : m_pDialogs.get();
    m_pCommands = std::make_unique<CFileCommands>(m_doc, *m_pFileUi, m_prompts);
}

void CMainFrame::SetArchive(ui::CWindowArchive* archive) {
    m_pArchive = archive;
    if (m_pArchive)
        m_pArchive->SetParent(this);
    UpdateCommandUi();
}

void CMainFrame::BuildMenus() {
    for (const MenuDef& def : MenuBar()) {
        QMenu* top = menuBar()->addMenu(WithMnemonic(def.title));
        connect(top, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUi);
        std::vector<QMenu*> stack{top};
        for (const MenuItem& item : def.items) {
            QMenu* menu = stack.back();
            switch (item.kind) {
            case MenuItem::kSeparator:
                menu->addSeparator();
                break;
            case MenuItem::kSubmenu: {
                QMenu* sub = menu->addMenu(WithMnemonic(item.label));
                connect(sub, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUi);
                stack.push_back(sub);
                break;
            }
            case MenuItem::kEnd:
                stack.pop_back();
                break;
            case MenuItem::kCommand: {
                QString text = WithMnemonic(item.label);
                if (item.key)
                    text += QLatin1Char('\t') + QString::fromUtf8(item.key);
                QAction* action = menu->addAction(text);
                action->setData(item.id);
                if (item.id == cmd::kCursorA || item.id == cmd::kCursorB ||
                    item.id == cmd::kAskReason)
                    action->setCheckable(true);
                const int id = item.id;
                connect(action, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
                m_menuActions.emplace(id, action);
                if (id == cmd::kRecentFirst) {
                    m_pRecentAnchor = action;
                    m_pFileMenu = top;
                }
                break;
            }
            }
        }
    }
    UpdateCommandUi();
}

void CMainFrame::BuildAccelerators() {
    // The keys work whether or not a menu is open; each press asks the update-UI rule first.
    for (const Accelerator& a : AcceleratorTable()) {
        auto* action = new QAction(this);
        action->setShortcut(ToKeySequence(a));
        action->setShortcutContext(Qt::WindowShortcut);
        const int id = a.id;
        connect(action, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
        addAction(action);
    }
}

QAction* CMainFrame::MenuAction(int id) const {
    const auto it = m_menuActions.find(id);
    return it == m_menuActions.end() ? nullptr : it->second;
}

CommandState CMainFrame::QueryCommand(int id) const {
    if (id >= cmd::kRecentFirst && id < cmd::kRecentFirst + 4) {
        const std::size_t n = static_cast<std::size_t>(id - cmd::kRecentFirst);
        return {n < m_doc.m_recentFiles.size() && !m_doc.m_recentFiles[n].empty(), false};
    }
    if (id == cmd::kRecordings || id == cmd::kAskReason || id == cmd::kArchiveLocation ||
        id == cmd::kUnits || id == cmd::kSignReport || id == cmd::kSigningKeys)
        return {m_pArchive != nullptr,
                m_pArchive && id == cmd::kAskReason && m_pArchive->AsksReason()};
    return GetCommandState(m_doc, id);
}

void CMainFrame::UpdateCommandUi() {
    for (const auto& [id, action] : m_menuActions) {
        const CommandState s = QueryCommand(id);
        action->setEnabled(s.enabled);
        if (action->isCheckable())
            action->setChecked(s.checked);
    }
    RebuildRecentEntries();
}

void CMainFrame::RebuildRecentEntries() {
    if (!m_pFileMenu || !m_pRecentAnchor)
        return;
    for (QAction* a : m_recentActions) {
        m_pFileMenu->removeAction(a);
        delete a;
    }
    m_recentActions.clear();
    std::vector<std::pair<int, QString>> entries;
    for (std::size_t i = 0; i < m_doc.m_recentFiles.size() && i < kRecentFileCount; ++i)
        if (!m_doc.m_recentFiles[i].empty())
            entries.emplace_back(static_cast<int>(i),
                                 QString::fromStdString(m_doc.m_recentFiles[i]));
    // While the list is empty the greyed placeholder stands in its place.
    m_pRecentAnchor->setVisible(entries.empty());
    m_pRecentAnchor->setEnabled(false);
    QAction* before = nullptr;
    const QList<QAction*> all = m_pFileMenu->actions();
    const qsizetype at = all.indexOf(m_pRecentAnchor);
    if (at >= 0 && at + 1 < all.size())
        before = all.at(at + 1);
    for (const auto& [index, path] : entries) {
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(index + 1).arg(path), m_pFileMenu);
        const int id = cmd::kRecentFirst + index;
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
        m_pFileMenu->insertAction(before, action);
        m_recentActions.push_back(action);
    }
}

bool CMainFrame::ExecuteCommand(int id) {
    if (!QueryCommand(id).enabled)
        return false;
    switch (id) {
    case cmd::kFileNew:
        m_pCommands->OnFileNew();
        break;
    case cmd::kFileOpen:
        m_pCommands->OnFileOpen();
        break;
    case cmd::kFileSave:
        m_pCommands->OnFileSave();
        break;
    case cmd::kFileSaveAll:
    case cmd::kFileSaveRange:
        m_pCommands->OnFileSaveAs(id == cmd::kFileSaveRange ? 1 : 0);
        break;
    case cmd::kExportAll:
    case cmd::kExportRange:
        m_pCommands->OnExportText(id == cmd::kExportRange ? 1 : 0);
        break;
    case cmd::kExit:
        close();
        break;
    case cmd::kRecordings:
        ShowRecordings();
        break;
    case cmd::kAskReason:
        m_pArchive->SetAsksReason(!m_pArchive->AsksReason());
        UpdateCommandUi();
        break;
    case cmd::kArchiveLocation:
        ShowArchiveLocation();
        break;
    case cmd::kUnits:
        ShowUnits();
        break;
    case cmd::kSignReport:
        ShowSignReport();
        break;
    case cmd::kSigningKeys:
        ShowSigningKeys();
        break;
    case cmd::kCopy:
        CopyToClipboard();
        break;
    case cmd::kUnitSwitch:
        SwitchUnit();
        break;
    case cmd::kAbout:
        ShowAbout();
        break;
    case cmd::kHelp:
    case cmd::kContextHelp:
    case cmd::kHelpContents:
        OpenHelp(0);
        break;
    default:
        if (id >= cmd::kRecentFirst && id < cmd::kRecentFirst + 4) {
            m_pCommands->OnOpenRecentFile(id - cmd::kRecentFirst + 1);
            break;
        }
        if (!RunViewCommand(id))
            return false;
        break;
    }
    if (IsFileCommand(id))
        m_pView->update();
    if (m_pArchive)
        m_pArchive->Commit();
    return true;
}

bool CMainFrame::RunViewCommand(int id) {
    // The recorder's, the printing and the channel tools' dialogs, then cursors, zoom and
    // scrolling; keys without a handler do nothing.
    ui::UnitOffer units;
    if (m_pArchive && id == cmd::kDownload) {
        for (const auto& [unit, name] : m_pArchive->Units())
            units.units.emplace_back(unit, QString::fromStdString(name));
        units.offered = m_pArchive->OfferedUnit();
    }
    if (ui::RunRecorderCommand(
            id, m_doc, m_pView->Palette(), this,
            [this](const QString& note) { ShowStatusNote(note); },
            [this](const QString& kept, const QString& transcript, int unit) {
                if (m_pArchive)
                    m_pArchive->Downloaded(kept, transcript, unit);
            },
            units) ||
        ui::RunPrintingCommand(
            id, *m_pView, this,
            [this](int command, const QString& output, const std::vector<ReportSource>& sources) {
                // A file written is named in the status bar, as a download's is.
                if (!output.isEmpty() && command == cmd::kReport)
                    m_szLastReport = output;
                if (!output.isEmpty())
                    ShowStatusNote((command == cmd::kReport ? tr("レポートを書き込みました: %1")
                                                            : tr("印刷を書き込みました: %1"))
                                       .arg(QDir::toNativeSeparators(output)));
                if (!m_pArchive)
                    return;
                m_pArchive->Document().Produced(command == cmd::kReport
                                                    ? archive::EventKind::Reported
                                                    : archive::EventKind::Printed,
                                                output.toStdString(), sources);
                m_pArchive->SayProblem();
            },
            m_pArchive ? &m_pArchive->Document() : nullptr) ||
        ui::RunChannelCommand(id, *m_pView, this)) {
        UpdateCommandUi();
        return true;
    }
    return m_pView->OnCommand(id);
}

void CMainFrame::CopyToClipboard() {
    const QImage& screen = m_pView->ScreenLayer();
    if (screen.isNull())
        return;
    // An 8-bit picture whose colour table is the palette: every pixel of the graph is a
    // palette colour, so the mapping is exact.
    QList<QRgb> table;
    for (const PaletteEntry& e : m_pView->Palette().Entries())
        table.push_back(qRgb(e.red, e.green, e.blue));
    const QImage indexed = screen.convertToFormat(QImage::Format_Indexed8, table,
                                                  Qt::ThresholdDither | Qt::AvoidDither);
    if (indexed.isNull())
        return;
    QApplication::clipboard()->setImage(indexed);
}

void CMainFrame::SwitchUnit() {
    if (!AnyChannelPresent(m_doc))
        return;
    m_doc.m_nUnitCF = m_doc.m_nUnitCF == 0 ? 1 : 0;
    m_doc.SaveUnitSettings();
    m_doc.RecalcRanges(RecalcMode::UnitsOrScale);
    m_pView->RefreshGraph();
    m_pView->update();
}

void CMainFrame::ShowAbout() {
    QDialog dlg(this);
    dlg.setObjectName(QStringLiteral("about"));
    dlg.setWindowTitle(tr("バージョン情報"));
    auto* layout = new QVBoxLayout(&dlg);
    auto* row = new QHBoxLayout;
    auto* icon = new QLabel(&dlg);
    icon->setPixmap(windowIcon().pixmap(32, 32));
    row->addWidget(icon);
    row->addWidget(new QLabel(QStringLiteral("Saroko Version " SAROKO_VERSION " (J)"), &dlg));
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dlg);
    connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    layout->addWidget(buttons);
    dlg.exec();
}

void CMainFrame::OpenHelp(int topic) {
    ui::OpenHelpFile(topic);
}

void CMainFrame::ShowStatusNote(const QString& note) {
    // The frame has no status bar of its own: one comes for the note and goes with it.
    QStatusBar* bar = statusBar();
    if (!m_bStatusHooked) {
        connect(bar, &QStatusBar::messageChanged, bar, [bar](const QString& message) {
            bar->setVisible(!message.isEmpty());
            if (message.isEmpty())
                bar->setToolTip({});
        });
        m_bStatusHooked = true;
    }
    // A long path is shortened in its middle to the window's width, so the file's name stays;
    // the tip has the note whole.
    const int room = width() - 2 * bar->style()->pixelMetric(QStyle::PM_SizeGripSize);
    bar->showMessage(bar->fontMetrics().elidedText(note, Qt::ElideMiddle, std::max(room, 0)),
                     kStatusNoteMs);
    bar->setToolTip(note);
    bar->show();
}

void CMainFrame::PlaceWindow(int desktopWidth, int desktopHeight) {
    const WindowRect r = LoadWindowPlacement(m_store, desktopWidth, desktopHeight);
    move(r.x, r.y);
    resize(r.width, r.height);
    m_bPlaced = true;
}

int CMainFrame::OpenFile(const QString& path, CZorvicDoc::OpenOrder order) {
    const std::string absolute = QFileInfo(path).absoluteFilePath().toStdString();
    const int r = m_doc.OnOpenDocument(absolute, order);
    if (r == kFileFailed)
        ShowReadFailure(m_doc, absolute, m_prompts);
    UpdateCommandUi();
    // For the two-process tests: where the document stands after an open.
    const QByteArray status = qgetenv("SAROKO_TEST_STATUS_FILE");
    if (!status.isEmpty()) {
        QFile f(QString::fromLocal8Bit(status));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(QByteArray::fromStdString(m_doc.m_szPathName) + '\n');
    }
    return r;
}

void CMainFrame::UpdateAllViews() {
    m_pView->update();
    CommitChangesLater();
}

void CMainFrame::CommitChangesLater() {
    // A drag in the legend renumbers channels outside any command: its change is recorded
    // when the event loop comes back, once however many repaints it asked for.
    if (!m_pArchive || m_bCommitQueued)
        return;
    m_bCommitQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_bCommitQueued = false;
            if (m_pArchive)
                m_pArchive->Commit();
        },
        Qt::QueuedConnection);
}

void CMainFrame::OnFileLoaded(const std::string& path, bool appended,
                              std::span<const uint8_t> bytes) {
    if (!m_pArchive)
        return;
    const archive::Opening o = m_pArchive->Document().Loaded(path, appended, bytes);
    if (o.Changed())
        ui::ShowMessage(msg::kRecordingChanged,
                        QString::fromStdString(archive::ChangedFileMessage(path, o)), this);
    m_pArchive->SayProblem();
}

void CMainFrame::OnFileSaved(const std::string& path, std::span<const uint8_t> bytes) {
    if (!m_pArchive)
        return;
    m_pArchive->Document().Saved(path, bytes);
    m_pArchive->SayProblem();
}

void CMainFrame::OnTextExported(const std::string& path) {
    ShowStatusNote(
        tr("ﾃｷｽﾄを書き込みました: %1").arg(QDir::toNativeSeparators(QString::fromStdString(path))));
    if (!m_pArchive)
        return;
    m_pArchive->Document().Produced(archive::EventKind::Exported, path);
    m_pArchive->SayProblem();
}

void CMainFrame::ShowSigningKeys() {
    if (!m_pArchive)
        return;
    ui::CSigningKeysDlg dlg(m_pArchive->Session(), this);
    ui::ExecDialog(dlg);
}

void CMainFrame::ShowSignReport() {
    if (!m_pArchive)
        return;
    ui::CSignReportDlg dlg(m_pArchive->Session(), m_szLastReport, this);
    if (ui::ExecDialog(dlg) == QDialog::Accepted)
        ShowStatusNote(tr("署名しました。署名付きの写し: %1").arg(dlg.SignedCopy()));
}

void CMainFrame::ShowArchiveLocation() {
    if (!m_pArchive)
        return;
    ui::CArchiveLocationDlg dlg(m_pArchive->Location(), &TestSiteConnection, this);
    if (ui::ExecDialog(dlg) == QDialog::Accepted && dlg.Location() != m_pArchive->Location())
        m_pArchive->SetLocation(dlg.Location());
}

void CMainFrame::ShowUnits() {
    ui::CUnitsDlg dlg(m_pArchive->Session(), this);
    ui::ExecDialog(dlg);
    m_pArchive->SayProblem();
}

void CMainFrame::ShowRecordings() {
    ui::CRecordingsDlg dlg(m_pArchive->Session(), this);
    connect(&dlg, &ui::CRecordingsDlg::openRequested, this,
            [this](const QStringList& paths) { OpenRecordings(paths); });
    ui::ExecDialog(dlg);
}

void CMainFrame::OnPathNameChanged(const std::string& path) {
    const QString name = QFileInfo(QString::fromStdString(path)).fileName();
    setWindowTitle(name + QStringLiteral(" - ") + QString::fromUtf8(kAppTitle));
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // The place is remembered first, whatever the answer.
    SaveWindowPosition(m_store, {frameGeometry().x(), frameGeometry().y(), width(), height()});
    if (m_doc.m_bDataModified == 1 && ui::ShowMessage(msg::kQuitUnsaved, {}, this) != kIdYes) {
        event->ignore();
        return;
    }
    m_doc.SaveRecentFiles();
    event->accept();
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    const int clientHeight = height() - (menuBar()->isVisible() ? menuBar()->height() : 0);
    if (m_bPlaced && ShouldSnapWindow(clientHeight, isMinimized())) {
        move(0, 0);
        resize(kMinFrameWidth, kSnapClientHeight);
    }
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    UpdateCommandUi();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    // Opened once the drop has completed: the questions and messages of the open procedure
    // would otherwise keep the program the files came from waiting on its drag.
    QMetaObject::invokeMethod(
        this, [this, urls] { OpenDroppedFiles(urls); }, Qt::QueuedConnection);
}

namespace {

// The document's questions, but a file read while channels are there is added to them.
class CAppendPrompts final : public IDocumentPrompts {
public:
    explicit CAppendPrompts(IDocumentPrompts& inner) : m_inner(inner) {}
    int ShowMessage(int id, std::string_view extra) override {
        return m_inner.ShowMessage(id, extra);
    }
    int AskReadMode() override { return kReadAppend; }

private:
    IDocumentPrompts& m_inner;
};

} // namespace

void CMainFrame::OpenRecordings(const QStringList& paths) {
    if (paths.isEmpty() || OpenFile(paths.first()) != kFileOk)
        return;
    CAppendPrompts append(m_prompts);
    m_doc.SetPrompts(&append);
    for (qsizetype i = 1; i < paths.size(); ++i)
        OpenFile(paths[i]);
    m_doc.SetPrompts(&m_prompts);
    m_pView->update();
}

void CMainFrame::OpenDroppedFiles(const QList<QUrl>& urls) {
    // One after another, each with its own question.
    for (const QUrl& url : urls)
        if (url.isLocalFile())
            OpenFile(url.toLocalFile());
}

} // namespace saroko
