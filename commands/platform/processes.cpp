#include "processes.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

#include "windows.h"
#include "x11.h"

namespace platform::processes {

namespace {

// Desktop counterparts of Windows programs, in order of preference.
const QHash<QString, QList<QStringList>> &aliases()
{
    static const QHash<QString, QList<QStringList>> table = {
        {"calc", {{"gnome-calculator"}, {"kcalc"}, {"mate-calc"}, {"galculator"}, {"qalculate-gtk"}, {"xcalc"}}},
        {"notepad", {{"gnome-text-editor"}, {"gedit"}, {"kate"}, {"kwrite"}, {"mousepad"}, {"pluma"}, {"xed"}, {"featherpad"}, {"leafpad"}, {"xedit"}}},
        {"write", {{"libreoffice", "--writer"}, {"abiword"}}},
        {"winword", {{"libreoffice", "--writer"}, {"abiword"}}},
        {"excel", {{"libreoffice", "--calc"}, {"gnumeric"}}},
        {"powerpnt", {{"libreoffice", "--impress"}}},
        {"mspaint", {{"pinta"}, {"kolourpaint"}, {"gimp"}}},
        {"explorer", {{"nautilus"}, {"dolphin"}, {"thunar"}, {"nemo"}, {"caja"}, {"pcmanfm"}, {"xdg-open", "."}}},
        {"cmd", {{"x-terminal-emulator"}, {"gnome-terminal"}, {"konsole"}, {"xfce4-terminal"}, {"mate-terminal"}, {"lxterminal"}, {"xterm"}}},
        {"iexplore", {{"x-www-browser"}, {"firefox"}, {"chromium"}, {"epiphany"}}},
        {"msedge", {{"x-www-browser"}, {"firefox"}, {"chromium"}, {"epiphany"}}},
        {"taskmgr", {{"gnome-system-monitor"}, {"plasma-systemmonitor"}, {"xfce4-taskmanager"}, {"mate-system-monitor"}, {"htop"}}},
        {"control", {{"gnome-control-center"}, {"systemsettings"}, {"xfce4-settings-manager"}, {"cinnamon-settings"}, {"mate-control-center"}}},
    };
    return table;
}

QString findExecutable(const QString &name)
{
    if (name.contains(QLatin1Char('/'))) {
        const QFileInfo info(name);
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(name);
}

// Applies the window style to the first window of the process when it shows, polling for
// a while without holding up the script.
void applyStyleLater(qint64 pid, WindowStyle style)
{
    if (style == WindowStyle::NormalNoFocus || style == WindowStyle::Hidden || !x11::connection())
        return;
    auto *timer = new QTimer;
    auto *tries = new int(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, pid, style] {
        x11::Connection *x = x11::connection();
        const QList<qint64> family = windows::processFamily(pid);
        for (const x11::WindowInfo &w : x->windows()) {
            if (!w.pid || !family.contains(w.pid))
                continue;
            if (style == WindowStyle::MinimizedFocus || style == WindowStyle::MinimizedNoFocus)
                x->minimize(w.id);
            else {
                if (style == WindowStyle::MaximizedFocus)
                    x->maximize(w.id);
                x->activate(w.id);
            }
            *tries = 1000; // done: stop polling
            break;
        }
        if (++*tries >= 150) { // 15 s
            timer->stop();
            timer->deleteLater();
            delete tries;
        }
    });
    timer->start(100);
}

} // namespace

QStringList splitCommandLine(const QString &commandLine)
{
    QStringList parts;
    QString current;
    bool quoted = false, any = false;
    for (const QChar c : commandLine) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            any = true;
        } else if ((c == QLatin1Char(' ') || c == QLatin1Char('\t')) && !quoted) {
            if (any || !current.isEmpty())
                parts << current;
            current.clear();
            any = false;
        } else {
            current += c;
        }
    }
    if (any || !current.isEmpty())
        parts << current;
    return parts;
}

QStringList counterparts(const QString &windowsName)
{
    QString key = QFileInfo(QString(windowsName).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName().toLower();
    if (key.endsWith(QLatin1String(".exe")))
        key.chop(4);
    QStringList names;
    for (const QStringList &candidate : aliases().value(key))
        names << QFileInfo(candidate.first()).fileName();
    return names;
}

QStringList resolveProgram(const QString &name)
{
    if (name.isEmpty())
        return {};
    const QString found = findExecutable(name);
    if (!found.isEmpty())
        return {found};
    QString key = QFileInfo(QString(name).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName().toLower();
    if (key.endsWith(QLatin1String(".exe")))
        key.chop(4);
    for (const QStringList &candidate : aliases().value(key)) {
        const QString program = findExecutable(candidate.first());
        if (!program.isEmpty())
            return QStringList{program} + candidate.mid(1);
    }
    return {};
}

Failure startProgram(const QStringList &program, WindowStyle style, qint64 &pid)
{
    pid = 0;
    if (program.isEmpty())
        return failed(FileNotFound);
    const QStringList resolved = resolveProgram(program.first());
    if (resolved.isEmpty())
        return failed(FileNotFound);
    if (!QProcess::startDetached(resolved.first(), resolved.mid(1) + program.mid(1), QDir::currentPath(), &pid))
        return failed(FileNotFound);
    applyStyleLater(pid, style);
    return Failure();
}

Failure Child::start(const QStringList &program)
{
    if (program.isEmpty())
        return failed(FileNotFound);
    std::vector<QByteArray> bytes;
    for (const QString &part : program)
        bytes.push_back(QFile::encodeName(part));
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return failed(FileNotFound);
    m_pid = pid;
    return Failure();
}

bool Child::wait(int milliseconds)
{
    if (m_ended || m_pid <= 0)
        return true;
    const timespec pause{0, 5 * 1000 * 1000};
    for (int waited = 0;; waited += 5) {
        int status = 0;
        const pid_t r = waitpid(pid_t(m_pid), &status, WNOHANG);
        if (r == pid_t(m_pid) || (r < 0 && errno != EINTR)) {
            m_ended = true;
            m_exitCode = r > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : r > 0 ? 128 + WTERMSIG(status) : 0;
            return true;
        }
        if (waited >= milliseconds)
            return false;
        nanosleep(&pause, nullptr);
    }
}

Failure start(const QString &commandLine, WindowStyle style, qint64 &pid)
{
    return startProgram(splitCommandLine(commandLine), style, pid);
}

} // namespace platform::processes
