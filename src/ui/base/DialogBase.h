#pragma once
// What the program's dialogs share: controls found by their resource ids, F1 and the help
// button asking for the dialog's page, messages over the dialog, the wait cursor; and the one
// place a command runs its modal dialog, so that tests answer in place of the user.
#include <QDialog>
#include <QString>
#include <functional>
#include <map>

class QAbstractButton;

namespace saroko::ui {

class CDialogBase : public QDialog {
    Q_OBJECT
public:
    // The control with resource id `id`, nullptr when there is none.
    QWidget* GetDlgItem(int id) const;

protected:
    CDialogBase(int helpTopic, QWidget* parent);

    template <class W> W* Item(int id, W* w) {
        m_items[id] = w;
        w->setObjectName(QString::number(id));
        return w;
    }
    // `button` asks for this dialog's page, as F1 does.
    void ConnectHelp(QAbstractButton* button);
    void RequestHelp() const;
    // A message from the string table over the dialog.
    int Message(int id, const QString& extra = {});
    // After a check's message: the keyboard goes to the failing field.
    void FocusItem(int id);

private:
    int m_nHelpTopic;
    std::map<int, QWidget*> m_items;
};

// The wait cursor for as long as it lives.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

// Runs a command's modal dialog; tests answer in place of the user.
int ExecDialog(QDialog& dialog);
// Installs the tests' runner; an empty one restores exec().
void SetDialogRunner(std::function<int(QDialog&)> runner);

} // namespace saroko::ui
