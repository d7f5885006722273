// vbsrun: runs a VBScript file on the console, as a console script host does.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>
#include <iostream>

#include "consolehost.h"
#include "engine.h"
#include "objects/filesystem.h"
#include "consolestream.h"
#include "wscript.h"
#include "wshshell.h"

namespace {

int usage()
{
    std::fprintf(stderr, "usage: vbsrun [--timeout SECONDS] FILE [ARGS...]\n"
                         "       vbsrun --execute [--timeout SECONDS] FILE\n");
    return 2;
}

bool readScript(const QString &path, QString &text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "vbsrun: cannot read %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    text = vbs::decodeText(file.readAll()); // UTF-8, or UTF-16 with a byte-order mark
    return true;
}

void report(const QString &path, const vbs::ScriptError &e)
{
    std::fprintf(stderr, "%s(%d, %d) error %d: %s\n", qPrintable(path), e.line, e.column, e.number,
                 e.description.toUtf8().constData());
}

int runFile(const QString &path, const QStringList &arguments, qint64 timeoutSeconds)
{
    QString text;
    if (!readScript(path, text))
        return 1;
    ConsoleHost host;
    vbs::Engine engine;
    engine.setHost(&host);
    engine.setTimeout(timeoutSeconds * 1000);
    engine.registerClass(WshShell::ClassId, [] { return new WshShell; });
    WScriptSetup setup;
    setup.scriptPath = path;
    setup.arguments = arguments;
    setup.stdIn = vbs::Value::object(new ConsoleStream(stdin));
    setup.stdOut = vbs::Value::object(new ConsoleStream(stdout));
    setup.stdErr = vbs::Value::object(new ConsoleStream(stderr));
    setup.echo = [](vbs::Context &, const QString &text) {
        ConsoleOutput::write(stdout, text + QLatin1Char('\n'));
        return true;
    };
    auto *wscript = new WScriptObject(setup);
    vbs::Value keep = vbs::Value::object(wscript);
    engine.addObject(QStringLiteral("WScript"), wscript, false);
    if (engine.addCode(text))
        return 0;
    if (wscript->quitRequested())
        return wscript->exitCode();
    report(path, engine.error());
    return 1;
}

} // namespace

int executeFile(const QString &path, qint64 timeoutSeconds); // the Execute button's pipeline

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    bool execute = false;
    qint64 timeout = 0;
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString option = args.takeFirst();
        if (option == QLatin1String("--execute")) {
            execute = true;
        } else if (option == QLatin1String("--timeout") && !args.isEmpty()) {
            bool ok = false;
            timeout = args.takeFirst().toLongLong(&ok);
            if (!ok || timeout < 0 || timeout > INT32_MAX)
                return usage();
        } else {
            return usage();
        }
    }
    if (args.isEmpty())
        return usage();
    const QString path = args.takeFirst();
    if (execute)
        return executeFile(path, timeout);
    return runFile(path, args, timeout);
}
