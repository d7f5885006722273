#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The Windows names that scripts use for this user's places and this computer, answered
// from Linux: environment variables (%TEMP%, %APPDATA%, %COMPUTERNAME%, ...), the special
// folders of WScript.Shell and Shell.Application, and cmd /c.
namespace winenv::shellenv {

// The value of an environment variable as a Windows script names it, in any letter case:
// a variable of this process first (the exact name, then the name in another case), else
// the Windows name's Linux answer (TEMP is the temporary folder, USERPROFILE the home,
// APPDATA the configuration folder, COMSPEC "cmd.exe", ...); nothing for other names.
std::optional<QString> variable(const QString &name);
// Every Windows name that variable() answers on its own.
QStringList windowsNames();
// %NAME% replaced by variable(NAME); unknown names stay as written.
QString expand(const QString &text);

// A special folder by WshShell's name (Desktop, MyDocuments, AppData, Startup, Programs,
// StartMenu, Fonts, Templates, ...): its path, or "" where Linux has no such place (as
// Windows gives for an unknown name).
QString specialFolder(const QString &name);
// The folders of Shell.Application's Namespace numbers (ssfDESKTOP 0, ssfPERSONAL 5, ...).
QString specialFolder(int csidl);

// The user's name, and the computer's, as Windows scripts see them.
QString userName();
QString computerName();

// cmd /c COMMAND (or /k), and %COMSPEC% /c: the program and arguments that run COMMAND
// through the system shell, with cmd's common built-ins (dir, copy, del, type, move, ren,
// md, rd, cls) defined as their Linux twins and every backslash taken as the path
// separator it is to cmd. Nothing for a command line that is not cmd's.
std::optional<QStringList> cmdCommand(const QString &commandLine);

} // namespace winenv::shellenv
