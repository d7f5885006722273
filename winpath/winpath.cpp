#include "winpath.h"

#include <QFileInfo>

namespace winpath {

namespace {

bool isSeparator(QChar c) { return c == QLatin1Char('/') || c == QLatin1Char('\\'); }

// Where the path's root ends: after "/", "\", "C:\" or "C:"; 0 for a relative path.
qsizetype rootLength(const QString &path)
{
    if (hasDrive(path))
        return path.size() > 2 && isSeparator(path[2]) ? 3 : 2;
    return !path.isEmpty() && isSeparator(path[0]) ? 1 : 0;
}

// The path without separators at its end, its root kept whole.
QString trimmed(const QString &path)
{
    const qsizetype root = rootLength(path);
    qsizetype end = path.size();
    while (end > root && isSeparator(path[end - 1]))
        --end;
    return path.left(end);
}

qsizetype lastSeparator(const QString &path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i)
        if (isSeparator(path[i]))
            return i;
    return -1;
}

} // namespace

bool hasDrive(const QString &path)
{
    return path.size() >= 2 && path[1] == QLatin1Char(':') && path[0].isLetter() && path[0].unicode() < 128;
}

std::optional<QString> local(const QString &path)
{
    // A NUL ends a file name for the system: a path holding one names nothing.
    if (hasDrive(path) || path.contains(QChar(0)))
        return std::nullopt;
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}

QString commandWord(const QString &word)
{
    if (!word.contains(QLatin1Char('\\')) || word.contains(QLatin1String("://")))
        return word;
    const std::optional<QString> path = local(word);
    if (!path || path->contains(QLatin1String("//")))
        return word;
    const QFileInfo info(*path);
    return info.exists() || QFileInfo(info.absolutePath()).isDir() ? *path : word;
}

QString fileName(const QString &path)
{
    const QString p = trimmed(path);
    const qsizetype root = rootLength(p);
    if (p.size() == root)
        return QString();
    return p.mid(std::max(lastSeparator(p) + 1, root));
}

QString parentFolder(const QString &path)
{
    const QString p = trimmed(path);
    const qsizetype root = rootLength(p);
    if (p.size() == root)
        return QString();
    const qsizetype sep = lastSeparator(p);
    if (sep < root)
        return p.left(root);
    return trimmed(p.left(sep + 1));
}

QString baseName(const QString &path)
{
    const QString name = fileName(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString extension(const QString &path)
{
    const QString name = fileName(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1);
}

QString build(const QString &path, const QString &name)
{
    if (path.isEmpty())
        return name;
    if (isSeparator(path.back()) || (hasDrive(path) && path.size() == 2))
        return path + name;
    const QChar separator = path.contains(QLatin1Char('\\')) ? QLatin1Char('\\') : QLatin1Char('/');
    return path + separator + name;
}

} // namespace winpath
