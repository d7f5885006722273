#include "filecopy.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace vbs::filecopy {

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

QByteArray linkText(const QString &path)
{
    QByteArray text(4096, '\0');
    const ssize_t n = ::readlink(QFile::encodeName(path).constData(), text.data(), size_t(text.size()));
    return n < 0 ? QByteArray() : text.left(n);
}

// The file or link `from` to `to`, through a part file beside it that is renamed over it.
bool putInPlace(const QFileInfo &from, const QString &to, QString &error)
{
    const QFileInfo target(to);
    if (target.isDir() && !target.isSymLink()) {
        error = QStringLiteral("a folder of that name is in the way");
        return false;
    }
    const QString part = QDir(target.absolutePath())
                             .filePath(QStringLiteral(".%1.%2.part")
                                           .arg(target.fileName(), QString::number(QRandomGenerator::global()->generate(), 16)));
    const QByteArray partName = QFile::encodeName(part);
    if (from.isSymLink()) {
        if (::symlink(linkText(from.absoluteFilePath()).constData(), partName.constData()) != 0) {
            error = systemError();
            return false;
        }
    } else {
        QFile file(from.absoluteFilePath());
        if (!file.copy(part)) {
            error = file.errorString();
            return false;
        }
    }
    if (::rename(partName.constData(), QFile::encodeName(to).constData()) != 0) {
        error = systemError();
        ::unlink(partName.constData());
        return false;
    }
    return true;
}

bool isFolder(const QFileInfo &info)
{
    return info.isDir() && !info.isSymLink();
}

} // namespace

QString realPath(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : QDir(folder).filePath(info.fileName());
}

bool within(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
}

bool isItself(const QFileInfo &from, const QString &to)
{
    // A link is itself only where it lies; anything else is itself wherever it is reached.
    const QString source = from.isSymLink() ? QDir(realPath(from.absolutePath())).filePath(from.fileName())
                                            : from.canonicalFilePath();
    return !source.isEmpty() && realPath(to) == source;
}

Outcome copy(const QFileInfo &from, const QString &to, QString &error, const Spend &spend)
{
    if (!spend(from.isFile() && !from.isSymLink() ? from.size() / 64 + 1 : 1))
        return Outcome::Stopped;
    if (!from.exists() && !from.isSymLink()) {
        error = QStringLiteral("no such file or folder");
        return Outcome::Failed;
    }
    if (isItself(from, to))
        return Outcome::Itself;
    if (!isFolder(from))
        return putInPlace(from, to, error) ? Outcome::Copied : Outcome::Failed;
    if (within(realPath(to), from.canonicalFilePath()))
        return Outcome::IntoItself;
    if (!QDir().mkpath(to) || !isFolder(QFileInfo(to))) {
        error = QStringLiteral("cannot make the folder");
        return Outcome::Failed;
    }
    const QDir source(from.absoluteFilePath());
    for (const QFileInfo &child : source.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        const Outcome o = copy(child, QDir(to).filePath(child.fileName()), error, spend);
        if (o == Outcome::Itself) // a link in the target that leads back: nothing to copy over it
            continue;
        if (o != Outcome::Copied)
            return o;
    }
    return Outcome::Copied;
}

} // namespace vbs::filecopy
