#pragma once
// What the four recorder dialogs share: controls found by their resource ids, messages
// through the program's message sink with the dialog as parent, the wait cursor, the help
// button, and the CP932 names at the glass.
#include <QDialog>
#include <QString>

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "core/messages/StringTable.h"
#include "core/recorder/RecorderComm.h"
#include "platform/QtSettingsStore.h" // FromCp932, ToCp932

class QPushButton;

namespace saroko::ui {

// Help requests go to the frame, which opens the help file at the topic.
using HelpRequest = std::function<void(int topic)>;

// Messages of the core's exchanges, shown as boxes over the dialog.
class CDialogSink final : public IMessageSink {
public:
    explicit CDialogSink(QWidget* parent) : m_pParent(parent) {}
    int ShowMessage(int id, std::string_view extra = {}) override;

private:
    QWidget* m_pParent;
};

// The wait cursor for as long as one exchange lasts.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

// Dialog units of the dialog's font, as the original layouts are measured.
int DialogUnitsX(const QWidget* w, int units);
int DialogUnitsY(const QWidget* w, int units);

class CRecorderDialog : public QDialog {
    Q_OBJECT
public:
    // The control with resource id `id`, nullptr when there is none.
    QWidget* GetDlgItem(int id) const;
    void SetHelpRequest(HelpRequest help) { m_help = std::move(help); }

    // End code of "終了".
    static constexpr int kIdEnd = 251;

protected:
    CRecorderDialog(const CommServices& services, int helpTopic, QWidget* parent);

    // One exchange with the recorder: wait cursor, and the window stays until it is over
    // (its handler is still on the stack).
    class CExchange {
    public:
        explicit CExchange(CRecorderDialog& dlg) : m_dlg(dlg) { ++m_dlg.m_nExchanges; }
        ~CExchange() { --m_dlg.m_nExchanges; }
        CExchange(const CExchange&) = delete;
        CExchange& operator=(const CExchange&) = delete;

    private:
        CRecorderDialog& m_dlg;
        CWaitCursor m_wait;
    };
    bool InExchange() const { return m_nExchanges > 0; }
    void reject() override;

    template <class W> W* Item(int id, W* w) {
        m_items[id] = w;
        w->setObjectName(QString::number(id));
        return w;
    }
    QPushButton* AddButton(int id, const QString& text);
    // "ﾍﾙﾌﾟ": the frame's help at this dialog's topic.
    void RequestHelp();
    // After a check's message: the keyboard goes to the failing field.
    void FocusItem(int id);

    // The exchange services with this dialog's message boxes.
    const CommServices& Services() const { return m_services; }

private:
    CDialogSink m_sink;
    CommServices m_services;
    int m_nHelpTopic;
    HelpRequest m_help;
    std::map<int, QWidget*> m_items;
    int m_nExchanges = 0;
};

} // namespace saroko::ui
