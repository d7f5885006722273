// AppActivate on KDE Plasma's Wayland session: KWin runs a small script of ours through its
// scripting interface on D-Bus; the script picks the window as AppActivate does and tells
// us over D-Bus whether it found one. Part of the Wayland module.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QTemporaryFile>
#include <QTimer>

#include "waylandapi.h"

namespace {

const QString KWin = QStringLiteral("org.kde.KWin");
const QString AnswerPath = QStringLiteral("/org/vornix/KWinAnswer");
const QString AnswerInterface = QStringLiteral("org.vornix.KWinAnswer");

// Title first exactly, then as a beginning, then as an end, any case: AppActivate's rule.
const char *const Script = R"js(
(function () {
    var wanted = %1.toLowerCase();
    var list = typeof workspace.windowList === "function" ? workspace.windowList() : workspace.clientList();
    function pick(test) {
        for (var i = 0; i < list.length; ++i) {
            var w = list[i];
            if (w.normalWindow !== false && test(String(w.caption).toLowerCase()))
                return w;
        }
        return null;
    }
    var w = pick(function (c) { return c === wanted; })
        || pick(function (c) { return c.indexOf(wanted) === 0; })
        || pick(function (c) { return c.length >= wanted.length && c.lastIndexOf(wanted) === c.length - wanted.length; });
    if (w) {
        if ("activeWindow" in workspace)
            workspace.activeWindow = w;
        else
            workspace.activeClient = w;
    }
    callDBus(%2, "%3", "%4", "answer", w ? 1 : 0);
})();
)js";

class Answer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.vornix.KWinAnswer")
public:
    bool given = false;
    bool found = false;
public slots:
    void answer(int found)
    {
        given = true;
        this->found = found != 0;
        emit answered();
    }
signals:
    void answered();
};

QDBusMessage callKWin(const QString &path, const QString &interface, const QString &method, const QVariantList &args)
{
    QDBusMessage call = QDBusMessage::createMethodCall(KWin, path, interface, method);
    call.setArguments(args);
    return QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
}

} // namespace

namespace platform::wayland {

bool kwinAvailable()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface() && bus.interface()->isServiceRegistered(KWin).value();
}

Failure kwinActivate(const QString &title)
{
    Failure result;
    QDBusConnection bus = QDBusConnection::sessionBus();
    const auto refuse = [&](const QString &why) {
        result = failed(InvalidCall, QStringLiteral("KWin did not activate the window: ") + why);
    };
    Answer answer;
    bus.registerObject(AnswerPath, &answer, QDBusConnection::ExportAllSlots);
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/vornix-activate-XXXXXX.js"));
    const auto quoted = [](const QString &s) {
        return QString::fromUtf8(QJsonDocument(QJsonArray{s}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
    };
    if (!file.open()) {
        refuse(QStringLiteral("its script could not be written"));
        return result;
    }
    file.write(QString::fromLatin1(Script)
                   .arg(quoted(title), quoted(bus.baseService()), AnswerPath, AnswerInterface)
                   .toUtf8());
    file.flush();
    const QString plugin = QStringLiteral("vornix-activate-%1").arg(QCoreApplication::applicationPid());
    const QDBusMessage loaded = callKWin(QStringLiteral("/Scripting"), QStringLiteral("org.kde.kwin.Scripting"),
                                         QStringLiteral("loadScript"), {file.fileName(), plugin});
    if (loaded.type() != QDBusMessage::ReplyMessage || loaded.arguments().isEmpty()) {
        refuse(loaded.errorMessage());
        bus.unregisterObject(AnswerPath);
        return result;
    }
    const int id = loaded.arguments().first().toInt();
    // Plasma 6 names the script /Scripting/Script<id>, Plasma 5 /<id>.
    QDBusMessage ran = callKWin(QStringLiteral("/Scripting/Script%1").arg(id), QStringLiteral("org.kde.kwin.Script"),
                                QStringLiteral("run"), {});
    if (ran.type() != QDBusMessage::ReplyMessage)
        ran = callKWin(QStringLiteral("/%1").arg(id), QStringLiteral("org.kde.kwin.Script"), QStringLiteral("run"), {});
    if (ran.type() == QDBusMessage::ReplyMessage && !answer.given) {
        QEventLoop loop;
        QObject::connect(&answer, &Answer::answered, &loop, &QEventLoop::quit);
        QTimer::singleShot(3000, &loop, &QEventLoop::quit);
        loop.exec();
    }
    callKWin(QStringLiteral("/Scripting"), QStringLiteral("org.kde.kwin.Scripting"), QStringLiteral("unloadScript"),
             {plugin});
    bus.unregisterObject(AnswerPath);
    if (ran.type() != QDBusMessage::ReplyMessage)
        refuse(ran.errorMessage());
    else if (!answer.given)
        refuse(QStringLiteral("its script gave no answer"));
    else
        result = answer.found ? Failure() : failed(InvalidCall);
    return result;
}

} // namespace platform::wayland

#include "kwin.moc"
