#pragma once

#include <QDBusContext>
#include <QObject>
#include <QVariantMap>

namespace campanor {

// What the running program does for a command from outside. Each returns at
// once (nothing waits for a player to start); an empty text means done,
// anything else is why the command was refused or failed.
class RemoteHost {
  public:
    virtual ~RemoteHost() = default;
    virtual QVariantMap remoteStatus() = 0;
    virtual QString remoteRun(const QString& actionField) = 0;
    virtual QString remoteOpenTable(const QString& path) = 0;
    virtual QString remoteEmergency(bool on, const QString& playlist) = 0;
};

namespace remote {
inline const QString kService = QStringLiteral("org.campanor.Campanor");
inline const QString kPath = QStringLiteral("/org/campanor/Campanor");
inline const QString kInterface = QStringLiteral("org.campanor.Campanor1");
inline const QString kRefused = QStringLiteral("org.campanor.Campanor1.Error.Refused");
} // namespace remote

// The program on the user's own session bus: nothing listens on the network,
// and another user's session bus cannot reach it.
class RemoteService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.campanor.Campanor1")
  public:
    RemoteService(RemoteHost& host, QObject* parent = nullptr);
    ~RemoteService() override;

    // Takes the service name and exports the object; why not, when it fails.
    QString registerOnSessionBus();

  public slots:
    QVariantMap Status();
    void Run(const QString& action);
    void OpenTable(const QString& path);
    void Emergency(bool on, const QString& playlist);

  signals:
    // Each entry of the as-run log about an instruction.
    void InstructionCarriedOut(const QString& second, const QString& line, const QString& outcome);

  private:
    void answer(const QString& why);

    RemoteHost& host_;
    bool registered_ = false;
};

} // namespace campanor
