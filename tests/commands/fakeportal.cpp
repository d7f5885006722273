// A stand-in for xdg-desktop-portal's RemoteDesktop interface on a private session bus: it
// grants a keyboard (or, with "refuse", the user says no) and writes each call it gets to a
// file, one line each, for the Wayland tests.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFile>
#include <QTimer>

class RemoteDesktop : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.RemoteDesktop")
    Q_PROPERTY(uint version READ version)
    Q_PROPERTY(uint AvailableDeviceTypes READ deviceTypes)

public:
    RemoteDesktop(QString record, bool refuse) : m_record(std::move(record)), m_refuse(refuse) {}
    uint version() const { return 2; }
    uint deviceTypes() const { return 7; }

public slots:
    QDBusObjectPath CreateSession(const QVariantMap &options, const QDBusMessage &message)
    {
        log("CreateSession");
        return answer(message, options, 0, {{QStringLiteral("session_handle"), QStringLiteral("/org/freedesktop/portal/desktop/session/1/s")}});
    }
    QDBusObjectPath SelectDevices(const QDBusObjectPath &, const QVariantMap &options, const QDBusMessage &message)
    {
        log(QStringLiteral("SelectDevices types=%1 persist=%2 restore=%3")
                .arg(options.value(QStringLiteral("types")).toUInt())
                .arg(options.value(QStringLiteral("persist_mode")).toUInt())
                .arg(options.value(QStringLiteral("restore_token")).toString()));
        return answer(message, options, 0, {});
    }
    QDBusObjectPath Start(const QDBusObjectPath &, const QString &, const QVariantMap &options, const QDBusMessage &message)
    {
        log("Start");
        if (m_refuse)
            return answer(message, options, 1, {});
        return answer(message, options, 0, {{QStringLiteral("devices"), uint(1)}, {QStringLiteral("restore_token"), QStringLiteral("token-1")}});
    }
    void NotifyKeyboardKeysym(const QDBusObjectPath &, const QVariantMap &, int keysym, uint state)
    {
        log(QStringLiteral("key %1 %2").arg(keysym, 0, 16).arg(state));
    }

private:
    // The method's reply names the Request object; its Response signal follows the reply.
    QDBusObjectPath answer(const QDBusMessage &message, const QVariantMap &options, uint code, const QVariantMap &results)
    {
        QString sender = message.service().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                                 .arg(sender, options.value(QStringLiteral("handle_token")).toString());
        QTimer::singleShot(20, this, [path, code, results] {
            QDBusMessage signal = QDBusMessage::createSignal(path, QStringLiteral("org.freedesktop.portal.Request"),
                                                             QStringLiteral("Response"));
            signal << code << results;
            QDBusConnection::sessionBus().send(signal);
        });
        return QDBusObjectPath(path);
    }
    void log(const QString &line)
    {
        QFile file(m_record);
        if (file.open(QIODevice::Append))
            file.write(line.toUtf8() + '\n');
    }

    QString m_record;
    bool m_refuse;
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    RemoteDesktop portal(QString::fromLocal8Bit(argv[1]), argc > 2 && qstrcmp(argv[2], "refuse") == 0);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties)
        || !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")))
        return 1;
    return app.exec();
}

#include "fakeportal.moc"
