#include "shellenv.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSysInfo>
#include <pwd.h>
#include <unistd.h>

namespace winenv::shellenv {

namespace {

QString xdg(const char *variable, const QString &fallback)
{
    const QString value = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(value) ? value : QDir::homePath() + fallback;
}

QString configHome() { return xdg("XDG_CONFIG_HOME", QStringLiteral("/.config")); }
QString dataHome() { return xdg("XDG_DATA_HOME", QStringLiteral("/.local/share")); }

// A folder of ~/.config/user-dirs.dirs (XDG_TEMPLATES_DIR, ...), else "" when unset.
QString userDir(const char *key)
{
    QFile file(configHome() + QLatin1String("/user-dirs.dirs"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (!line.startsWith(key) || !line.contains('='))
            continue;
        QString value = QString::fromUtf8(line.mid(line.indexOf('=') + 1)).trimmed();
        value.remove(QLatin1Char('"'));
        value.replace(QLatin1String("$HOME"), QDir::homePath());
        return value;
    }
    return QString();
}

// cmd's common built-ins as shell functions: each drops the switches cmd takes (/Y, /Q,
// /S, ...) from its arguments and runs its Linux twin on the rest. A switch is a slash and
// one letter (or /A:..., /O:...), which no path a script names here looks like.
QString cmdBuiltIns()
{
    struct BuiltIn {
        const char *names;    // cmd's names for it
        const char *switches; // case patterns of the switches it drops
        const char *command;  // what runs, with the remaining arguments after it
    };
    static const BuiltIn builtIns[] = {
        {"dir", "/[bB]) o=-1;; /[sSwWpPqQlLnNxX]|/[aAoOtT]|/[aAoOtT]:*", "ls ${o:--l}"},
        {"copy", "/[yYvVbBaAzZ]|/-[yY]", "cp -f"},
        {"xcopy", "/[yYsSeEiIqQfFhHrRkKcC]|/-[yY]", "cp -rf"},
        {"move", "/[yY]|/-[yY]", "mv -f"},
        {"del erase", "/[fFqQsSpP]|/[aA]|/[aA]:*", "rm -f"},
        {"type", "", "cat"},
        {"md mkdir", "", "command mkdir -p"},
        {"rd rmdir", "/[sS]) r=1;; /[qQ]", "if [ -n \"$r\" ]; then rm -rf \"$@\"; else command rmdir \"$@\"; fi; :"},
        {"cls", "", ":"},
    };
    QString out;
    for (const BuiltIn &b : builtIns) {
        const QString body = QString::fromLatin1(b.command);
        const QString run = body.contains(QLatin1String("\"$@\"")) ? body : body + QStringLiteral(" \"$@\"");
        const QString cases = *b.switches ? QStringLiteral("%1) ;; ").arg(QString::fromLatin1(b.switches)) : QString();
        for (const QString &name : QString::fromLatin1(b.names).split(QLatin1Char(' ')))
            out += QStringLiteral("%1() { o=; r=; n=$#; while [ $n -gt 0 ]; do a=$1; shift; n=$((n-1)); "
                                  "case $a in %2*) set -- \"$@\" \"$a\";; esac; done; %3; }; ")
                       .arg(name, cases, run);
    }
    // ren names the new name without a folder: it stays in the old one's.
    out += QStringLiteral("ren() { mv -- \"$1\" \"$(dirname -- \"$1\")/$2\"; }; rename() { ren \"$@\"; }; ");
    return out;
}

} // namespace

QString userName()
{
    const passwd *pw = getpwuid(getuid());
    return pw ? QString::fromLocal8Bit(pw->pw_name) : qEnvironmentVariable("USER");
}

QString computerName()
{
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return QString::fromLocal8Bit(name).section(QLatin1Char('.'), 0, 0).toUpper();
}

QStringList windowsNames()
{
    return {"TEMP", "TMP", "USERPROFILE", "HOMEPATH", "HOMEDRIVE", "APPDATA", "LOCALAPPDATA", "USERNAME",
            "USERDOMAIN", "COMPUTERNAME", "COMSPEC", "ProgramFiles", "ProgramFiles(x86)", "ProgramW6432",
            "SystemRoot", "WINDIR", "SystemDrive", "PUBLIC", "ALLUSERSPROFILE", "ProgramData",
            "NUMBER_OF_PROCESSORS", "PROCESSOR_ARCHITECTURE"};
}

std::optional<QString> variable(const QString &name)
{
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (env.contains(name))
        return env.value(name);
    const QString key = name.toUpper();
    if (key == QLatin1String("TEMP") || key == QLatin1String("TMP"))
        return QDir::tempPath();
    if (key == QLatin1String("USERPROFILE") || key == QLatin1String("HOMEPATH"))
        return QDir::homePath();
    if (key == QLatin1String("HOMEDRIVE") || key == QLatin1String("SYSTEMDRIVE"))
        return QString(); // no drive letters: "%HOMEDRIVE%%HOMEPATH%" is the home
    if (key == QLatin1String("APPDATA"))
        return configHome();
    if (key == QLatin1String("LOCALAPPDATA"))
        return dataHome();
    if (key == QLatin1String("USERNAME"))
        return userName();
    if (key == QLatin1String("USERDOMAIN") || key == QLatin1String("COMPUTERNAME"))
        return computerName();
    if (key == QLatin1String("COMSPEC"))
        return QStringLiteral("cmd.exe"); // Run and Exec take cmd.exe /c COMMAND to the system shell
    if (key.startsWith(QLatin1String("PROGRAMFILES")) || key == QLatin1String("PROGRAMW6432"))
        return QStringLiteral("/opt");
    if (key == QLatin1String("SYSTEMROOT") || key == QLatin1String("WINDIR"))
        return QStringLiteral("/");
    if (key == QLatin1String("PUBLIC") || key == QLatin1String("ALLUSERSPROFILE") || key == QLatin1String("PROGRAMDATA")) {
        const QString shared = userDir("XDG_PUBLICSHARE_DIR");
        return key == QLatin1String("PUBLIC") && !shared.isEmpty() ? shared : QStringLiteral("/usr/local/share");
    }
    if (key == QLatin1String("NUMBER_OF_PROCESSORS"))
        return QString::number(sysconf(_SC_NPROCESSORS_ONLN));
    if (key == QLatin1String("PROCESSOR_ARCHITECTURE"))
        return QSysInfo::currentCpuArchitecture() == QLatin1String("x86_64") ? QStringLiteral("AMD64")
                                                                               : QSysInfo::currentCpuArchitecture().toUpper();
    for (const QString &existing : env.keys()) // the name in another letter case: %home%
        if (existing.compare(name, Qt::CaseInsensitive) == 0)
            return env.value(existing);
    return std::nullopt;
}

QString expand(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("%([^%\\r\\n]+)%"));
    QString out = text;
    qsizetype offset = 0;
    QRegularExpressionMatch m;
    while ((m = pattern.match(out, offset)).hasMatch()) {
        const std::optional<QString> value = variable(m.captured(1));
        if (!value) {
            offset = m.capturedEnd() - 1;
            continue;
        }
        out.replace(m.capturedStart(), m.capturedLength(), *value);
        offset = m.capturedStart() + value->size();
    }
    return out;
}

QString specialFolder(const QString &name)
{
    const QString n = name.toLower();
    const auto located = [](QStandardPaths::StandardLocation where) { return QStandardPaths::writableLocation(where); };
    if (n == QLatin1String("desktop"))
        return located(QStandardPaths::DesktopLocation);
    if (n == QLatin1String("mydocuments") || n == QLatin1String("personal"))
        return located(QStandardPaths::DocumentsLocation);
    if (n == QLatin1String("appdata"))
        return configHome();
    if (n == QLatin1String("localappdata"))
        return dataHome();
    if (n == QLatin1String("startup"))
        return configHome() + QLatin1String("/autostart");
    if (n == QLatin1String("programs") || n == QLatin1String("startmenu"))
        return dataHome() + QLatin1String("/applications");
    if (n == QLatin1String("fonts"))
        return dataHome() + QLatin1String("/fonts");
    if (n == QLatin1String("templates")) {
        const QString dir = userDir("XDG_TEMPLATES_DIR");
        return dir.isEmpty() ? QDir::homePath() + QLatin1String("/Templates") : dir;
    }
    if (n == QLatin1String("mymusic"))
        return located(QStandardPaths::MusicLocation);
    if (n == QLatin1String("mypictures"))
        return located(QStandardPaths::PicturesLocation);
    if (n == QLatin1String("myvideos"))
        return located(QStandardPaths::MoviesLocation);
    if (n == QLatin1String("downloads"))
        return located(QStandardPaths::DownloadLocation);
    if (n == QLatin1String("allusersstartmenu") || n == QLatin1String("alluserprograms") || n == QLatin1String("allusersprograms"))
        return QStringLiteral("/usr/share/applications");
    if (n == QLatin1String("allusersstartup"))
        return QStringLiteral("/etc/xdg/autostart");
    if (n == QLatin1String("recent"))
        return dataHome() + QLatin1String("/RecentDocuments");
    // Favorites, SendTo, NetHood, PrintHood, AllUsersDesktop: no Linux place of their own.
    return QString();
}

QString specialFolder(int csidl)
{
    switch (csidl) {
    case 0: case 16: return specialFolder(QStringLiteral("Desktop"));     // ssfDESKTOP, ssfDESKTOPDIRECTORY
    case 2: return specialFolder(QStringLiteral("Programs"));             // ssfPROGRAMS
    case 5: return specialFolder(QStringLiteral("MyDocuments"));          // ssfPERSONAL
    case 7: return specialFolder(QStringLiteral("Startup"));              // ssfSTARTUP
    case 8: return specialFolder(QStringLiteral("Recent"));               // ssfRECENT
    case 11: return specialFolder(QStringLiteral("StartMenu"));           // ssfSTARTMENU
    case 13: return specialFolder(QStringLiteral("MyMusic"));
    case 14: return specialFolder(QStringLiteral("MyVideos"));
    case 20: return specialFolder(QStringLiteral("Fonts"));               // ssfFONTS
    case 21: return specialFolder(QStringLiteral("Templates"));           // ssfTEMPLATES
    case 26: return specialFolder(QStringLiteral("AppData"));             // ssfAPPDATA
    case 28: return specialFolder(QStringLiteral("LocalAppData"));        // ssfLOCALAPPDATA
    case 36: return QStringLiteral("/");                                  // ssfWINDOWS
    case 37: case 41: return QStringLiteral("/usr/bin");                  // ssfSYSTEM, ssfSYSTEMx86
    case 38: case 42: return QStringLiteral("/opt");                      // ssfPROGRAMFILES
    case 39: return specialFolder(QStringLiteral("MyPictures"));          // ssfMYPICTURES
    case 40: return QDir::homePath();                                     // ssfPROFILE
    default: return QString();
    }
}

std::optional<QStringList> cmdCommand(const QString &commandLine)
{
    // cmd, cmd.exe, C:\Windows\system32\cmd.exe, then /c or /k and the command as written.
    static const QRegularExpression form(QStringLiteral("^\\s*\"?(?:[^\"\\s]*[\\\\/])?cmd(?:\\.exe)?\"?\\s+/[ck]\\s+(.*)$"),
                                         QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = form.match(commandLine);
    if (!m.hasMatch())
        return std::nullopt;
    QString command = m.captured(1).trimmed();
    // cmd /c "whole command": the outer quotes go, as cmd takes them off.
    if (command.size() >= 2 && command.startsWith(QLatin1Char('"')) && command.endsWith(QLatin1Char('"'))
        && command.count(QLatin1Char('"')) == 2)
        command = command.mid(1, command.size() - 2);
    // A backslash is nothing but a path separator to cmd (its escape is ^); to the shell it
    // would escape the next character, so that sub\file.txt became subfile.txt.
    command.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QStringList{QStringLiteral("/bin/sh"), QStringLiteral("-c"), cmdBuiltIns() + command};
}

} // namespace winenv::shellenv
