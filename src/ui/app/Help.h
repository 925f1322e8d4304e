#pragma once
// Help: the user guide built into the program, shown in a help window of its own, so that it
// opens with no browser installed and no file beside the program. On Windows the original
// help file beside the program comes first when it is there.
#include <QTextBrowser>
#include <QUrl>
#include <QWidget>
#include <functional>

class QPushButton;

namespace saroko::ui {

// The guide's pages with Back, Forward and Close, as a help browser has them; Escape closes,
// Alt+Left and Alt+Right go back and forward.
class CHelpWindow final : public QWidget {
    Q_OBJECT
public:
    explicit CHelpWindow(QWidget* parent = nullptr);

    void setSource(const QUrl& url) { m_pBrowser->setSource(url); }
    QUrl source() const { return m_pBrowser->source(); }
    QString documentTitle() const { return m_pBrowser->documentTitle(); }
    QTextBrowser* Browser() const { return m_pBrowser; }

private:
    QTextBrowser* m_pBrowser;
    QPushButton* m_pBack;
    QPushButton* m_pForward;
};

// The guide's page for a dialog's help context number (0: the main window's page), in the
// language of the windows.
QUrl HelpPageUrl(int topic);

// Opens help at `topic`. The help window is made on first use and reused; while a modal
// dialog is open it belongs to that dialog, so that it takes input beside it.
void OpenHelpFile(int topic = 0);
// Closes the help window (the main frame going).
void CloseHelpWindow();
// The help window now shown, or null.
CHelpWindow* HelpWindow();

// Tests: receives every page opened instead of a window; an empty function restores them.
void SetHelpInterceptor(std::function<void(const QUrl&)> interceptor);

} // namespace saroko::ui
