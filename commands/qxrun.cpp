#include "qxrun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QStandardPaths>
#include <QThread>
#include <cmath>
#include <cstdio>

#include "context.h"
#include "controlpanel.h"
#include "convert.h"
#include "errors.h"
#include "files.h"
#include "keys.h"
#include "ownwindows.h"
#include "processes.h"
#include "runtime/text.h"
#include "statussink.h"
#include "windows.h"
#include "x11.h"

using namespace vbs;
using platform::Failure;

namespace {

const QString RunFailedPrefix = QStringLiteral("Can't Run Application - File Not Found ");
const QString SendKeysPrefix = QStringLiteral("Can't Send Keys - ");
const QString KillPrefix = QStringLiteral("Can't delete the file - ");
const QString RenamePrefix = QStringLiteral("Could not Rename File - ");
const QString NoWindowText = QStringLiteral("No Windows Found with This Title");
const QString Marker = QStringLiteral("qxRun.qx");

// A platform failure's description: its own, else VBScript's text for the number.
QString describe(const Failure &f)
{
    return f.description.isEmpty() ? errorText(f.number) : f.description;
}

QString cleaned(const QString &description)
{
    QString text = description;
    text.remove(Marker, Qt::CaseSensitive);
    return text;
}

// Lets this program's own windows take what was just sent to them.
void settleOwnEvents()
{
    if (!platform::ownwindows::hasFocus())
        return;
    QElapsedTimer clock;
    clock.start();
    do
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    while (clock.elapsed() < 60);
}

} // namespace

qxRun::qxRun(StatusSink &status, bool ownedByCreator) : m_status(status), m_owned(ownedByCreator) {}

void qxRun::lastReferenceGone()
{
    if (!m_owned)
        delete this;
}

int qxRun::memberId(const QString &name)
{
    static const MemberTable members{"Run", "qxSendKeys", "qxActivateApplication", "qxKill", "qxShell",
                                     "qxBeep", "qxMkDir", "qxCopyFile", "qxChDir", "qxDir", "qxFileLen",
                                     "qxDoEvents", "qxRename", "qxInstr", "qxInstrRev"};
    return members.id(name);
}

namespace {

struct Signature {
    int required;
    int total;
};

// Parameter counts of each member, by id.
const Signature signatures[] = {
    {0, 0}, {1, 1}, {1, 1}, {1, 2}, {1, 1}, {1, 1}, {0, 0}, {1, 1}, {2, 2},
    {1, 1}, {0, 2}, {1, 1}, {0, 0}, {2, 2}, {0, 3}, {0, 3},
};

// A String parameter: the engine's conversion at the call, before the member runs.
bool textArg(Context &cx, Args args, int i, QString &out)
{
    out.clear();
    if (i >= args.count || args[i].isMissing())
        return true;
    return toText(cx, args[i], out);
}

} // namespace

bool qxRun::invoke(Context &cx, int id, Invoke kind, Args args, Value &result)
{
    if (id < Run || id > qxInstrRev || (kind & (InvokeLet | InvokeSet)))
        return cx.raise(err::NoSuchMember);
    const Signature sig = signatures[id];
    int given = args.count;
    while (given > sig.required && args[given - 1].isMissing())
        --given;
    if (given < sig.required || args.count > sig.total)
        return cx.raise(err::WrongArgs);

    switch (Member(id)) {
    case qxBeep:
        if (platform::x11::Connection *x = platform::x11::connection())
            x->bell();
        else
            std::fputc('\a', stderr);
        return true;
    case qxInstr:
    case qxInstrRev:
        return instr(cx, args, result, id == qxInstrRev);
    default:
        break;
    }

    // Every other member copies its arguments, works, and on failure writes its message to
    // the status line instead of stopping the script.
    QString a, b;
    switch (Member(id)) {
    case Run: {
        if (!textArg(cx, args, 0, a))
            return false;
        if (!runCommand(a))
            m_status.writeStatus(RunFailedPrefix + a);
        return true;
    }
    case qxSendKeys: {
        if (!textArg(cx, args, 0, a))
            return false;
        QList<platform::keys::Stroke> strokes;
        Failure f = platform::keys::parse(a, strokes);
        if (!f)
            f = platform::keys::send(strokes);
        if (f) {
            m_status.writeStatus(SendKeysPrefix + cleaned(describe(f)));
            return true;
        }
        settleOwnEvents();
        return true;
    }
    case qxActivateApplication: {
        const Value title = args[0];
        bool wait = true;
        if (args.has(1) && !toBool(cx, args[1], wait)) {
            // A conversion inside the member is one of its failures.
            m_status.writeStatus(cleaned(cx.error().description.isEmpty() ? errorText(cx.error().number) : cx.error().description));
            cx.clearError();
            return true;
        }
        const Failure f = activate(cx, title, wait);
        if (f)
            m_status.writeStatus(f.number == platform::InvalidCall && f.description.isEmpty() ? NoWindowText : cleaned(describe(f)));
        return true;
    }
    case qxKill: {
        if (!textArg(cx, args, 0, a))
            return false;
        if (const Failure f = platform::files::kill(a))
            m_status.writeStatus(KillPrefix + cleaned(describe(f)));
        return true;
    }
    case qxShell: {
        result = Value::dbl(0);
        if (!textArg(cx, args, 0, a))
            return false;
        qint64 pid = 0;
        if (const Failure f = platform::processes::start(a, platform::processes::WindowStyle::NormalFocus, pid)) {
            m_status.writeStatus(cleaned(describe(f)));
            return true;
        }
        result = Value::dbl(double(pid));
        return true;
    }
    case qxMkDir:
    case qxChDir: {
        if (!textArg(cx, args, 0, a))
            return false;
        const Failure f = id == qxMkDir ? platform::files::makeDirectory(a) : platform::files::changeDirectory(a);
        if (f)
            m_status.writeStatus(cleaned(describe(f)));
        return true;
    }
    case qxCopyFile: {
        if (!textArg(cx, args, 0, a) || !textArg(cx, args, 1, b))
            return false;
        if (const Failure f = platform::files::copyFile(a, b))
            m_status.writeStatus(cleaned(describe(f)));
        return true;
    }
    case qxDir: {
        result = Value::string(QString());
        int32_t attributes = 0;
        if (!textArg(cx, args, 0, a) || (args.has(1) && !toLong(cx, args[1], attributes)))
            return false;
        QString name;
        if (const Failure f = platform::files::firstMatch(a, attributes, name)) {
            m_status.writeStatus(cleaned(describe(f)));
            return true;
        }
        result = Value::string(name);
        return true;
    }
    case qxFileLen: {
        result = Value::string(QString());
        if (!textArg(cx, args, 0, a))
            return false;
        qint64 bytes = 0;
        if (const Failure f = platform::files::fileLength(a, bytes)) {
            m_status.writeStatus(cleaned(describe(f)));
            return true;
        }
        result = Value::string(platform::files::sizeText(bytes, decimalSeparator()));
        return true;
    }
    case qxDoEvents:
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return true;
    case qxRename: {
        if (!textArg(cx, args, 0, a) || !textArg(cx, args, 1, b))
            return false;
        if (const Failure f = platform::files::rename(a, b))
            m_status.writeStatus(RenamePrefix + cleaned(describe(f)));
        return true;
    }
    default:
        return cx.raise(err::NoSuchMember);
    }
}

// Run: a control-panel applet by its plain name, else the command itself, maximised.
bool qxRun::runCommand(const QString &command)
{
    const int group = platform::controlpanel::groupOf(command.toUpper());
    qint64 pid = 0;
    if (group >= 0) {
        const QStringList settings = platform::controlpanel::settingsCommand(
            group, qEnvironmentVariable("XDG_CURRENT_DESKTOP"),
            [](const QString &program) { return !QStandardPaths::findExecutable(program).isEmpty(); });
        return !platform::processes::startProgram(settings, platform::processes::WindowStyle::MinimizedFocus, pid);
    }
    return !platform::processes::start(command, platform::processes::WindowStyle::MaximizedFocus, pid);
}

// AppActivate: a number is a process id, anything else a title.
Failure qxRun::activate(Context &cx, const Value &title, bool wait)
{
    if (wait) {
        // Wait (a while, never for ever) until this program is the active one.
        QElapsedTimer clock;
        clock.start();
        while (platform::ownwindows::hasWindows() && !platform::ownwindows::isActive() && clock.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            QThread::msleep(20);
        }
    }
    Value plain;
    if (!valueOf(cx, title, plain)) {
        const Failure f = platform::failed(cx.error().number, cx.error().description);
        cx.clearError();
        return f;
    }
    if (plain.isNumeric()) {
        double pid;
        toDouble(cx, plain, pid);
        return platform::windows::activateByProcess(qint64(pid), 5000);
    }
    QString text;
    if (!toText(cx, plain, text)) {
        const Failure f = platform::failed(cx.error().number, cx.error().description);
        cx.clearError();
        return f;
    }
    return platform::windows::activateByTitle(text);
}

// qxInstr and qxInstrRev: the two-argument form (text, sought) when the third is empty;
// InStr from the start, InStrRev always from the end; text comparison.
bool qxRun::instr(Context &cx, Args args, Value &result, bool backward)
{
    Value start = args.count > 0 ? args[0] : Value::missing();
    QString a, b;
    if (!textArg(cx, args, 1, a) || !textArg(cx, args, 2, b))
        return false;
    int32_t s = 1;
    if (b.isEmpty()) {
        b = a;
        if (start.isMissing())
            a.clear();
        else if (!toText(cx, start, a))
            return false;
    } else if (!start.isMissing() && !toLong(cx, start, s)) {
        return false;
    }
    if (s == 0)
        s = 1;
    if (backward) {
        result = Value::lng(findText(a, b, -1, true, true));
        return true;
    }
    if (s < 1)
        return cx.raise(err::InvalidCall);
    result = Value::lng(findText(a, b, s, true, false));
    return true;
}
