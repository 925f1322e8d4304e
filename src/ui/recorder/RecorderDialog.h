#pragma once
// What the four recorder dialogs share beyond the dialog base: the exchange services with the
// dialog's message boxes, one exchange at a time under the wait cursor, dialog units, and the
// CP932 names at the glass.
#include <QString>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/messages/StringTable.h"
#include "core/recorder/RecorderComm.h"
#include "platform/QtSettingsStore.h" // FromCp932, ToCp932
#include "ui/base/DialogBase.h"
#include "ui/base/MessageSink.h"

class QPushButton;

namespace saroko::ui {

// The storage units a download may go to, by id and name, and the one offered (0: none). No
// units: the download dialog offers no choice.
struct UnitOffer {
    std::vector<std::pair<int, QString>> units;
    int offered = 0;
};

// Dialog units of the dialog's font, as the original layouts are measured.
int DialogUnitsX(const QWidget* w, int units);
int DialogUnitsY(const QWidget* w, int units);

class CRecorderDialog : public CDialogBase {
    Q_OBJECT
public:
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

    QPushButton* AddButton(int id, const QString& text);

    // The exchange services with this dialog's message boxes.
    const CommServices& Services() const { return m_services; }

private:
    CWindowSink m_sink;
    CommServices m_services;
    int m_nExchanges = 0;
};

} // namespace saroko::ui
