#include "windows.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include "wayland.h"
#include "x11.h"

namespace platform::windows {

int pickByTitle(const QStringList &titles, const QString &title)
{
    if (title.isEmpty())
        return -1;
    for (int i = 0; i < titles.size(); ++i)
        if (titles[i].compare(title, Qt::CaseInsensitive) == 0)
            return i;
    for (int i = 0; i < titles.size(); ++i)
        if (titles[i].startsWith(title, Qt::CaseInsensitive))
            return i;
    for (int i = 0; i < titles.size(); ++i)
        if (titles[i].endsWith(title, Qt::CaseInsensitive))
            return i;
    return -1;
}

Failure activateByTitle(const QString &title)
{
    // A wlroots compositor lists every window, native and XWayland alike.
    if (wayland::Session *w = wayland::session(); w && w->canListWindows()) {
        const QList<wayland::Toplevel> windows = w->windows();
        QStringList titles;
        for (const wayland::Toplevel &t : windows)
            titles << t.title;
        const int found = pickByTitle(titles, title);
        if (found < 0 || !w->activate(found))
            return failed(InvalidCall);
        return Failure();
    }
    x11::Connection *x = x11::connection();
    if (x) { // X11 windows, XWayland's among them
        const QList<x11::WindowInfo> windows = x->windows();
        QStringList titles;
        for (const x11::WindowInfo &w : windows)
            titles << w.title;
        if (const int found = pickByTitle(titles, title); found >= 0) {
            x->activate(windows[found].id);
            return Failure();
        }
    }
    if (wayland::inSession()) { // native windows, where the desktop has a way to them
        if (const std::optional<Failure> result = wayland::activateThroughDesktop(title))
            return *result;
    }
    if (!x)
        return wayland::inSession() ? wayland::noWayIn() : x11::noDisplay();
    return failed(InvalidCall);
}

QList<qint64> processFamily(qint64 pid)
{
    // Parent of every process, read once from /proc/*/stat.
    QHash<qint64, qint64> parentOf;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool ok = false;
        const qint64 p = entry.toLongLong(&ok);
        if (!ok)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(p));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const int close = int(line.lastIndexOf(')')); // the name may hold blanks and parentheses
        const QList<QByteArray> fields = line.mid(close + 2).split(' ');
        if (fields.size() > 1)
            parentOf.insert(p, fields[1].toLongLong());
    }
    QList<qint64> family{pid};
    for (int i = 0; i < family.size(); ++i)
        for (auto it = parentOf.constBegin(); it != parentOf.constEnd(); ++it)
            if (it.value() == family[i] && !family.contains(it.key()))
                family << it.key();
    return family;
}

Failure activateByProcess(qint64 pid, int waitMs)
{
    x11::Connection *x = x11::connection();
    // sway tells the process of each window, native or not, and focuses by it.
    const bool sway = wayland::inSession() && !qEnvironmentVariableIsEmpty("SWAYSOCK");
    if (!x && !sway)
        return wayland::inSession() ? wayland::noWayIn() : x11::noDisplay();
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const QList<qint64> family = processFamily(pid);
        if (sway && wayland::swayFocusProcess(family))
            return Failure();
        for (const x11::WindowInfo &w : x ? x->windows() : QList<x11::WindowInfo>()) {
            if (w.pid && family.contains(w.pid)) {
                x->activate(w.id);
                return Failure();
            }
        }
        // Only a living process can still show a window.
        if (clock.elapsed() >= waitMs || !QFile::exists(QStringLiteral("/proc/%1").arg(pid)))
            return failed(InvalidCall);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(50);
    }
}

} // namespace platform::windows
