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

// A file's bytes into `to`, in blocks, each charged before it is copied: a large file
// stops at the time limit in the middle, not after it.
Outcome copyBytes(const QString &from, const QString &to, QString &error, const Spend &spend)
{
    constexpr qint64 Block = 1 << 20;
    QFile in(from), out(to);
    if (!in.open(QIODevice::ReadOnly)) {
        error = in.errorString();
        return Outcome::Failed;
    }
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        error = out.errorString();
        return Outcome::Failed;
    }
    QByteArray block;
    while (!in.atEnd()) {
        if (!spend(Block / 64))
            return Outcome::Stopped;
        block = in.read(Block);
        if (block.isEmpty() && in.error() != QFileDevice::NoError) {
            error = in.errorString();
            return Outcome::Failed;
        }
        if (out.write(block) != block.size()) {
            error = out.errorString();
            return Outcome::Failed;
        }
    }
    if (!out.setPermissions(in.permissions()) || !out.flush()) {
        error = out.errorString();
        return Outcome::Failed;
    }
    return Outcome::Copied;
}

// The file or link `from` to `to`, through a part file beside it that is renamed over it.
Outcome putInPlace(const QFileInfo &from, const QString &to, QString &error, const Spend &spend)
{
    const QFileInfo target(to);
    if (target.isDir() && !target.isSymLink()) {
        error = QStringLiteral("a folder of that name is in the way");
        return Outcome::Failed;
    }
    const QString part = QDir(target.absolutePath())
                             .filePath(QStringLiteral(".%1.%2.part")
                                           .arg(target.fileName(), QString::number(QRandomGenerator::global()->generate(), 16)));
    const QByteArray partName = QFile::encodeName(part);
    Outcome o = Outcome::Copied;
    if (from.isSymLink()) {
        if (::symlink(linkText(from.absoluteFilePath()).constData(), partName.constData()) != 0) {
            error = systemError();
            return Outcome::Failed;
        }
    } else {
        o = copyBytes(from.absoluteFilePath(), part, error, spend);
    }
    if (o == Outcome::Copied && ::rename(partName.constData(), QFile::encodeName(to).constData()) != 0) {
        error = systemError();
        o = Outcome::Failed;
    }
    if (o != Outcome::Copied)
        ::unlink(partName.constData());
    return o;
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
    if (!spend(1))
        return Outcome::Stopped;
    if (!from.exists() && !from.isSymLink()) {
        error = QStringLiteral("no such file or folder");
        return Outcome::Failed;
    }
    if (isItself(from, to))
        return Outcome::Itself;
    if (!isFolder(from))
        return putInPlace(from, to, error, spend);
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
