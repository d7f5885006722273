// Stand-ins for a desktop's D-Bus services on a private session bus, for the Wayland tests;
// each writes the calls it gets to a file, one line each.
//   fakeportal RECORD [refuse]          xdg-desktop-portal's RemoteDesktop: grants a keyboard
//                                       (with "refuse", the user says no)
//   fakeportal RECORD kwin TITLE...     KWin's scripting: "runs" an activation script over
//                                       windows of these titles, as KWin would
#include <QDBusConnectionInterface>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
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
    void log(const QString &line);

    QString m_record;
    bool m_refuse;
};

void append(const QString &record, const QString &line)
{
    QFile file(record);
    if (file.open(QIODevice::Append))
        file.write(line.toUtf8() + '\n');
}

// KWin's script object: run() carries out what our activation script asks, over the window
// titles given on the command line, and calls back as the script's callDBus would.
class KWinScript : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.kwin.Script")
public:
    KWinScript(QString record, QString file, QStringList windows)
        : m_record(std::move(record)), m_file(std::move(file)), m_windows(std::move(windows)) {}
public slots:
    void run()
    {
        QFile file(m_file);
        file.open(QIODevice::ReadOnly);
        const QString script = QString::fromUtf8(file.readAll());
        const auto literal = [&](const QString &pattern) {
            const QRegularExpressionMatch m = QRegularExpression(pattern).match(script);
            return QJsonDocument::fromJson("[" + m.captured(1).toUtf8() + "]").array().at(0).toString();
        };
        const QString wanted = literal(QStringLiteral("var wanted = (\"(?:[^\"\\\\]|\\\\.)*\")")).toLower();
        const QString caller = literal(QStringLiteral("callDBus\\((\"[^\"]*\")"));
        QString chosen;
        for (const auto &test : {std::function<bool(const QString &)>([&](const QString &c) { return c == wanted; }),
                                 std::function<bool(const QString &)>([&](const QString &c) { return c.startsWith(wanted); }),
                                 std::function<bool(const QString &)>([&](const QString &c) { return c.endsWith(wanted); })}) {
            for (const QString &w : m_windows)
                if (chosen.isEmpty() && test(w.toLower()))
                    chosen = w;
        }
        append(m_record, chosen.isEmpty() ? QStringLiteral("no window for %1").arg(wanted) : QStringLiteral("activate %1").arg(chosen));
        QDBusMessage answer = QDBusMessage::createMethodCall(caller, QStringLiteral("/org/vornix/KWinAnswer"),
                                                             QStringLiteral("org.vornix.KWinAnswer"), QStringLiteral("answer"));
        answer << int(chosen.isEmpty() ? 0 : 1);
        QDBusConnection::sessionBus().call(answer, QDBus::NoBlock);
    }

private:
    QString m_record, m_file;
    QStringList m_windows;
};

class KWinScripting : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.kwin.Scripting")
public:
    KWinScripting(QString record, QStringList windows) : m_record(std::move(record)), m_windows(std::move(windows)) {}
public slots:
    int loadScript(const QString &path, const QString &plugin)
    {
        append(m_record, QStringLiteral("loadScript %1").arg(plugin));
        const int id = ++m_count;
        auto *script = new KWinScript(m_record, path, m_windows);
        QDBusConnection::sessionBus().registerObject(QStringLiteral("/Scripting/Script%1").arg(id), script,
                                                     QDBusConnection::ExportAllSlots);
        return id;
    }
    bool unloadScript(const QString &plugin)
    {
        append(m_record, QStringLiteral("unloadScript %1").arg(plugin));
        return true;
    }

private:
    QString m_record;
    QStringList m_windows;
    int m_count = 0;
};

void RemoteDesktop::log(const QString &line)
{
    append(m_record, line);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    if (argc > 2 && qstrcmp(argv[2], "kwin") == 0) {
        QStringList windows;
        for (int i = 3; i < argc; ++i)
            windows << QString::fromUtf8(argv[i]);
        KWinScripting scripting(QString::fromLocal8Bit(argv[1]), windows);
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.registerObject(QStringLiteral("/Scripting"), &scripting, QDBusConnection::ExportAllSlots)
            || !bus.registerService(QStringLiteral("org.kde.KWin")))
            return 1;
        return app.exec();
    }
    RemoteDesktop portal(QString::fromLocal8Bit(argv[1]), argc > 2 && qstrcmp(argv[2], "refuse") == 0);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties)
        || !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")))
        return 1;
    return app.exec();
}

#include "fakeportal.moc"
