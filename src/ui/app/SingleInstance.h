#pragma once
// One running instance per opened file: a start with a file hands the path to the instance
// already running and ends; the running one listens and opens what it receives.
#include <QObject>
#include <QString>

namespace saroko {
class CLineListener;
class CListenerWatch;
} // namespace saroko

namespace saroko::ui {

inline constexpr char kOpenFileServerName[] = "__Pelnor_Saroko_Open_DataFile_";

class CSingleInstance : public QObject {
    Q_OBJECT
public:
    explicit CSingleInstance(QObject* parent = nullptr);
    ~CSingleInstance() override;

    // Hands `path` to a running instance of this user. True when one took it; false when none
    // answers or the socket under the name is not this user's own.
    static bool HandOver(const QString& path, int timeoutMs = 2000);
    // Listens for paths from later starts. When another instance listens, watches it and
    // takes the name over when it ends, so that every running instance can receive a file.
    void Start();
    bool IsListening() const;
    // The server's address: per user, in the runtime folder when there is a private one, else
    // in a folder of this user's own. Empty when no such folder can be had.
    static QString ServerName();

signals:
    void fileReceived(const QString& path);

private:
    bool Listen(const QString& name);
    void Watch(const QString& name);
    void RetryLater(int ms);

    CLineListener* m_pServer;
    CListenerWatch* m_pWatch;
    bool m_bRetryPending = false;
};

} // namespace saroko::ui
