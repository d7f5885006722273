#pragma once

#include <QString>
#include <QStringList>

// vbsrun's command line: the console script host's //options, GNU-style --options beside
// them, then the script and its own arguments.
struct RunOptions {
    enum Mode { Run, Execute, Check, Help, Version };
    Mode mode = Run;
    bool logo = false;       // //logo: a banner before the script runs
    bool interactive = true; // //B turns it off: no prompts, no Echo
    bool utf16 = false;      // //U: output as UTF-16LE
    qint64 timeoutSeconds = 0;
    QString script;
    QStringList scriptArguments;
};

// Reads the arguments after the program's name. False with a one-line message (without
// the "vbsrun: " prefix) when they are wrong; the caller exits with 2 then.
bool parseRunOptions(const QStringList &arguments, RunOptions &options, QString &message);

// What --help and //? print.
QString runUsage();
