#include "session.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSaveFile>

namespace {

const QString FilePrefix = QStringLiteral("session-");
const QString TextSuffix = QStringLiteral(".json");
const QString LockSuffix = QStringLiteral(".lock");
const QString RecentName = QStringLiteral("recent-files");
constexpr int FormatVersion = 1;

struct Found {
    Session::Snapshot snapshot;
    qint64 saved = -1;
};

std::optional<Found> readSnapshot(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonObject o = QJsonDocument::fromJson(file.readAll()).object();
    if (o.value(QLatin1String("version")).toInt() != FormatVersion || !o.value(QLatin1String("text")).isString())
        return std::nullopt;
    Found f;
    f.snapshot.text = o.value(QLatin1String("text")).toString();
    f.snapshot.fileName = o.value(QLatin1String("file")).toString();
    f.snapshot.caret = o.value(QLatin1String("caret")).toInt();
    f.snapshot.modified = o.value(QLatin1String("modified")).toBool();
    f.saved = qint64(o.value(QLatin1String("saved")).toDouble());
    return f;
}

bool writeAtomically(const QString &path, const QByteArray &bytes, QString &error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    error = file.errorString();
    return false;
}

} // namespace

QString Session::defaultFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state)) // the base directory specification ignores a relative one
        state = QDir::homePath() + QLatin1String("/.local/state");
    return state + QLatin1String("/vornix-coder");
}

Session::Session(const QString &folder) : m_folder(folder)
{
    m_id = QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-')
           + QString::number(QRandomGenerator::global()->generate(), 16);
}

Session::~Session() = default;

QString Session::ownFile() const
{
    return m_folder + QLatin1Char('/') + FilePrefix + m_id + TextSuffix;
}

std::optional<Session::Snapshot> Session::claim(bool adopt)
{
    if (m_lock)
        return std::nullopt;
    if (!QDir().mkpath(m_folder)) {
        m_error = QCoreApplication::translate("Session", "The folder %1 cannot be made").arg(m_folder);
        return std::nullopt;
    }
    m_lock = std::make_unique<QLockFile>(m_folder + QLatin1Char('/') + FilePrefix + m_id + LockSuffix);
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        m_error = QCoreApplication::translate("Session", "The lock file in %1 cannot be made").arg(m_folder);
        return std::nullopt;
    }
    // A file whose lock can be taken belongs to a program that has ended (its lock names a
    // process that is gone, or there is no lock); the others are running now.
    // Unsaved work comes back before a file that was open and saved (which is on disk).
    std::optional<Found> newestWork, newestFile;
    const QDir dir(m_folder);
    const QStringList files = dir.entryList({FilePrefix + QLatin1Char('*') + TextSuffix}, QDir::Files);
    for (const QString &name : files) {
        const QString path = dir.filePath(name);
        if (path == ownFile())
            continue;
        QLockFile probe(path.chopped(TextSuffix.size()) + LockSuffix);
        probe.setStaleLockTime(0);
        if (!probe.tryLock(0))
            continue;
        const std::optional<Found> found = readSnapshot(path);
        if (adopt || !found || !found->snapshot.modified)
            m_leftovers << path;
        if (!found)
            continue;
        std::optional<Found> &newest = found->snapshot.modified ? newestWork : newestFile;
        if ((found->snapshot.modified || !found->snapshot.fileName.isEmpty()) && (!newest || found->saved > newest->saved))
            newest = found;
    }
    if (newestWork)
        return newestWork->snapshot;
    if (newestFile)
        return newestFile->snapshot;
    return std::nullopt;
}

bool Session::save(const Snapshot &snapshot)
{
    if (!m_lock)
        claim();
    QJsonObject o;
    o.insert(QLatin1String("version"), FormatVersion);
    o.insert(QLatin1String("saved"), double(QDateTime::currentMSecsSinceEpoch()));
    o.insert(QLatin1String("file"), snapshot.fileName);
    o.insert(QLatin1String("caret"), snapshot.caret);
    o.insert(QLatin1String("modified"), snapshot.modified);
    o.insert(QLatin1String("text"), snapshot.text);
    if (!writeAtomically(ownFile(), QJsonDocument(o).toJson(QJsonDocument::Compact), m_error))
        return false;
    removeLeftovers();
    return true;
}

void Session::removeLeftovers()
{
    // Only once this program's own copy is on disk: until then a leftover may be the only one.
    for (const QString &path : std::as_const(m_leftovers))
        QFile::remove(path);
    m_leftovers.clear();
}

QStringList Session::recentFiles() const
{
    QFile file(m_folder + QLatin1Char('/') + RecentName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList names = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return names.mid(0, RecentCount);
}

void Session::addRecentFile(const QString &fileName)
{
    if (fileName.contains(QLatin1Char('\n')))
        return; // the list keeps one name a line
    QStringList names = recentFiles();
    names.removeAll(fileName);
    names.prepend(fileName);
    names = names.mid(0, RecentCount);
    QDir().mkpath(m_folder);
    QString ignored;
    writeAtomically(m_folder + QLatin1Char('/') + RecentName, names.join(QLatin1Char('\n')).toUtf8() + '\n', ignored);
}
