#pragma once
// One running instance per opened file: a start with a file hands the path to the instance
// already running and ends; the running one listens and opens what it receives.
#include <QObject>
#include <QString>

class QLocalServer;

namespace saroko::ui {

inline constexpr char kOpenFileServerName[] = "__Pelnor_Saroko_Open_DataFile_";

class CSingleInstance : public QObject {
    Q_OBJECT
public:
    explicit CSingleInstance(QObject* parent = nullptr);
    ~CSingleInstance() override;

    // Hands `path` to a running instance. True when one took it; false when none answers.
    static bool HandOver(const QString& path, int timeoutMs = 2000);
    // Starts listening for paths from later starts. False when another instance listens.
    bool Listen();
    // The server's address: per user, in the runtime folder when there is one.
    static QString ServerName();

signals:
    void fileReceived(const QString& path);

private:
    QLocalServer* m_pServer;
};

} // namespace saroko::ui
