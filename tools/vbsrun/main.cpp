// vbsrun: runs a VBScript file on the console, as a console script host does.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "consolehost.h"
#include "consolestream.h"
#include "engine.h"
#include "objects/filesystem.h"
#include "options.h"
#include "wscript.h"
#include "winenv.h"
#include "wshshell.h"

namespace {

enum ExitCode { Success = 0, ScriptFailed = 1, BadCommandLine = 2 };

bool readScript(const QString &path, QString &text)
{
    QFile file(path);
    QString reason;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (QFileInfo(path).isDir())
        reason = QStringLiteral("it is a folder");
    else if (suffix == QLatin1String("wsf") || suffix == QLatin1String("wsh"))
        reason = QStringLiteral("vbsrun runs VBScript files (.vbs), not Windows Script Files; "
                                "save the script of its <job> as a .vbs file");
    else if (suffix == QLatin1String("js") || suffix == QLatin1String("jse") || suffix == QLatin1String("vbe"))
        reason = QStringLiteral("vbsrun runs plain VBScript (.vbs) only, not JScript or encoded scripts");
    else if (!file.open(QIODevice::ReadOnly))
        reason = file.errorString();
    if (!reason.isEmpty()) {
        std::fprintf(stderr, "vbsrun: cannot read %s: %s\n", qPrintable(path), qPrintable(reason));
        return false;
    }
    text = vbs::decodeText(file.readAll()); // UTF-8, or UTF-16 with a byte-order mark
    // "#!/usr/bin/env vbsrun" makes a command of a script; the line stays, empty, so that
    // errors name the lines the file has.
    if (text.startsWith(QLatin1String("#!"))) {
        qsizetype end = 0;
        while (end < text.size() && text[end] != QLatin1Char('\n') && text[end] != QLatin1Char('\r'))
            ++end;
        text.remove(0, end);
    }
    return true;
}

// WScript.Quit's code as a Linux exit status, which holds 0 to 255: codes in that range as
// given, others by their low eight bits as the system takes them (-1 is 255), except that
// a code whose low bits are all 0 (256, -256, ...) gives 255, so that no failure reads as
// success.
int exitStatus(int32_t code)
{
    if (code >= 0 && code <= 255)
        return code;
    return (code & 0xFF) == 0 ? 255 : code & 0xFF;
}

void report(const QString &path, const vbs::ScriptError &e)
{
    ConsoleOutput::write(stderr, QStringLiteral("%1(%2, %3) error %4: %5\n")
                                     .arg(path).arg(e.line).arg(e.column).arg(e.number).arg(e.description));
}

int checkFile(const RunOptions &options)
{
    QString text;
    if (!readScript(options.script, text))
        return BadCommandLine;
    vbs::Engine engine;
    engine.setTimeout(options.timeoutSeconds * 1000);
    if (engine.check(text))
        return Success;
    report(options.script, engine.error());
    return ScriptFailed;
}

int runFile(const RunOptions &options)
{
    QString text;
    if (!readScript(options.script, text))
        return BadCommandLine;
    WScriptSetup setup;
    setup.scriptPath = options.script;
    setup.arguments = options.scriptArguments;
    setup.interactive = options.interactive;
    setup.stdIn = vbs::Value::object(new ConsoleStream(stdin));
    setup.stdOut = vbs::Value::object(new ConsoleStream(stdout));
    setup.stdErr = vbs::Value::object(new ConsoleStream(stderr));
    setup.echo = [](vbs::Context &cx, const QString &text) {
        return ConsoleOutput::write(stdout, text + QLatin1Char('\n'), &cx);
    };
    auto *wscript = new WScriptObject(setup);
    const vbs::Value keep = vbs::Value::object(wscript); // outlives the engine
    wscript->setTimeoutSeconds(int(options.timeoutSeconds));
    ConsoleHost host;
    host.setInteractive([wscript] { return wscript->interactive(); });

    vbs::Engine engine;
    engine.setHost(&host);
    engine.setTimeout(options.timeoutSeconds * 1000);
    engine.registerClass(WshShell::ClassId, [] { return new WshShell; });
    winenv::registerObjects([&engine](const QString &progId, vbs::ClassFactory factory) {
        engine.registerClass(progId, std::move(factory));
    });
    winenv::registerMonikers([&engine](const QString &scheme, vbs::MonikerFactory factory) {
        engine.registerMoniker(scheme, std::move(factory));
    });
    engine.addObject(QStringLiteral("WScript"), wscript, false);
    // The program ends with the script: Class_Terminate of what it still holds runs within
    // the time limit, and an error there (a stop) is reported like any other.
    if (engine.addCode(text) && engine.end())
        return Success;
    if (wscript->quitRequested())
        return exitStatus(wscript->exitCode());
    report(options.script, engine.error());
    return ScriptFailed;
}

// A standard stream the caller closed is held open on /dev/null before anything else opens a
// file: otherwise the next file opened (Qt's event descriptor) takes its number, and reading
// standard input waits on it for ever. Read-only, so that output to a closed stream still
// fails and is reported rather than vanishing.
void holdClosedStandardStreams()
{
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        const int held = ::open("/dev/null", O_RDONLY);
        if (held >= 0 && held != fd) {
            ::dup2(held, fd);
            ::close(held);
        }
    }
}

} // namespace

// The Execute button's pipeline on the script's text (execute.cpp).
int executeFile(const QString &path, const QString &text, qint64 timeoutSeconds);

int main(int argc, char *argv[])
{
    holdClosedStandardStreams();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vbsrun"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VORNIX_VERSION));
    RunOptions options;
    QString message;
    if (!parseRunOptions(app.arguments().mid(1), options, message)) {
        std::fprintf(stderr, "vbsrun: %s\n", message.toUtf8().constData());
        return BadCommandLine;
    }
    ConsoleOutput::setUtf16(options.utf16);
    switch (options.mode) {
    case RunOptions::Help:
        ConsoleOutput::write(stdout, runUsage());
        return Success;
    case RunOptions::Version:
        ConsoleOutput::write(stdout, QStringLiteral("vbsrun " VORNIX_VERSION " (Vornix Coder), VBScript 5.8\n"));
        return Success;
    default:
        break;
    }
    if (options.logo)
        ConsoleOutput::write(stdout, QStringLiteral("Vornix Coder vbsrun version " VORNIX_VERSION
                                                    ", a VBScript 5.8 console script host\n\n"));
    switch (options.mode) {
    case RunOptions::Execute: {
        QString text;
        if (!readScript(options.script, text))
            return BadCommandLine;
        return executeFile(options.script, text, options.timeoutSeconds);
    }
    case RunOptions::Check:
        return checkFile(options);
    default:
        return runFile(options);
    }
}
