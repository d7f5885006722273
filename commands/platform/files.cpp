#include "files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <cmath>

#include "winpath.h"

namespace platform::files {

namespace {

bool hasWildcards(const QString &s)
{
    return s.contains(QLatin1Char('*')) || s.contains(QLatin1Char('?'));
}

QRegularExpression wildcard(const QString &pattern)
{
    return QRegularExpression(QRegularExpression::wildcardToRegularExpression(
        pattern, QRegularExpression::UnanchoredWildcardConversion).prepend(QLatin1Char('^')).append(QLatin1Char('$')));
}

// What errno says about a failed file operation, in VBScript's numbers.
Failure fromErrno(int fallback)
{
    switch (errno) {
    case ENOENT: return failed(PathNotFound);
    case EACCES:
    case EPERM:
    case EROFS: return failed(PermissionDenied);
    case EEXIST: return failed(FileExists);
    case ENOTDIR: return failed(PathNotFound);
    default: return failed(fallback);
    }
}

} // namespace

Failure kill(const QString &scriptPath)
{
    const QString path = winpath::local(scriptPath).value_or(QString());
    if (path.isEmpty())
        return failed(FileNotFound);
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (!hasWildcards(name)) {
        if (!info.exists() && !info.isSymLink())
            return failed(FileNotFound);
        if (info.isDir())
            return failed(FileNotFound);
        QFile file(path);
        return file.remove() ? Failure() : failed(PermissionDenied);
    }
    QDir dir = info.dir();
    if (!dir.exists())
        return failed(PathNotFound);
    const QRegularExpression match = wildcard(name);
    bool any = false;
    for (const QFileInfo &entry : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)) {
        if (!match.match(entry.fileName()).hasMatch())
            continue;
        any = true;
        if (!QFile::remove(entry.filePath()))
            return failed(PermissionDenied);
    }
    return any ? Failure() : failed(FileNotFound);
}

Failure makeDirectory(const QString &scriptPath)
{
    const QString path = winpath::local(scriptPath).value_or(QString());
    if (path.isEmpty())
        return failed(PathNotFound);
    const QFileInfo info(path);
    if (info.exists())
        return failed(PathFileAccess);
    if (!info.dir().exists())
        return failed(PathNotFound);
    return QDir().mkdir(path) ? Failure() : failed(PathFileAccess);
}

Failure copyFile(const QString &scriptSource, const QString &scriptDestination)
{
    const QString source = winpath::local(scriptSource).value_or(QString());
    const QString destination = winpath::local(scriptDestination).value_or(QString());
    const QFileInfo from(source);
    if (source.isEmpty() || !from.exists() || from.isDir())
        return failed(FileNotFound);
    const QFileInfo to(destination);
    if (destination.isEmpty() || !to.dir().exists())
        return failed(PathNotFound);
    if (to.isDir())
        return failed(PathFileAccess);
    if (to.exists() && from.canonicalFilePath() == to.canonicalFilePath())
        return failed(PermissionDenied);
    // Copy beside the destination and put it in place only when complete: a failed copy
    // never leaves half a file where the old one was.
    const QString partial = destination + QStringLiteral(".vornix-partial");
    QFile::remove(partial);
    if (!QFile::copy(source, partial))
        return failed(PermissionDenied);
    if (to.exists() && !QFile::remove(destination)) {
        QFile::remove(partial);
        return failed(PermissionDenied);
    }
    if (!QFile::rename(partial, destination)) {
        QFile::remove(partial);
        return failed(PermissionDenied);
    }
    return Failure();
}

Failure changeDirectory(const QString &scriptPath)
{
    const QString path = winpath::local(scriptPath).value_or(QString());
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || !info.isDir())
        return failed(PathNotFound);
    return QDir::setCurrent(path) ? Failure() : failed(PermissionDenied);
}

Failure fileLength(const QString &scriptPath, qint64 &bytes)
{
    const QString path = winpath::local(scriptPath).value_or(QString());
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || info.isDir())
        return failed(FileNotFound);
    bytes = info.size();
    return Failure();
}

Failure rename(const QString &scriptPath, const QString &newName)
{
    const QString path = winpath::local(scriptPath).value_or(QString());
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || info.isDir())
        return failed(FileNotFound);
    // A separator would move the file into another directory: refused, nothing touched.
    if (newName.isEmpty() || newName.contains(QLatin1Char('/')) || newName.contains(QLatin1Char('\\'))
        || winpath::hasDrive(newName) || newName == QLatin1String(".")
        || newName == QLatin1String(".."))
        return failed(BadFileName);
    const QString target = info.dir().filePath(newName);
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
        return failed(FileExists);
    if (std::rename(QFile::encodeName(path).constData(), QFile::encodeName(target).constData()) != 0)
        return fromErrno(PathFileAccess);
    return Failure();
}

Failure firstMatch(const QString &scriptPattern, int attributes, QString &name)
{
    name.clear();
    if (scriptPattern.isEmpty())
        return failed(InvalidCall);
    const std::optional<QString> local = winpath::local(scriptPattern);
    if (!local)
        return Failure(); // nothing matches on a drive this system does not have
    const QString &pattern = *local;
    QFileInfo info(pattern);
    QString last = info.fileName();
    QDir dir = info.dir();
    if (pattern.endsWith(QLatin1Char('/'))) { // a directory: its first entry
        dir = QDir(pattern);
        last = QStringLiteral("*");
    }
    if (!dir.exists())
        return Failure();
    QDir::Filters filters = QDir::Files;
    if (attributes & 16)
        filters |= QDir::Dirs | QDir::NoDotAndDotDot;
    if (attributes & 2)
        filters |= QDir::Hidden;
    const QRegularExpression match = wildcard(last);
    for (const QString &entry : dir.entryList(filters, QDir::Name)) {
        if (match.match(entry).hasMatch()) {
            name = entry;
            break;
        }
    }
    return Failure();
}

QString sizeText(qint64 bytes, QChar decimalSeparator)
{
    // Note the uneven borders: 1024 bytes is still bytes, 1 MiB still KB, 1 GiB already GB.
    double value;
    QString unit;
    if (bytes > 1073741823) {
        value = double(bytes) / 1073741824.0;
        unit = QStringLiteral("GB");
    } else if (bytes > 1048576) {
        value = double(bytes) / 1048576.0;
        unit = QStringLiteral(" MB");
    } else if (bytes > 1024) {
        value = double(bytes) / 1024.0;
        unit = QStringLiteral("KB");
    } else {
        return QString::number(bytes) + QStringLiteral("Byte(s)");
    }
    const double rounded = std::nearbyint(value * 100.0) / 100.0; // ties to even
    QString text = QString::number(rounded, 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    text.replace(QLatin1Char('.'), decimalSeparator);
    return text + unit;
}

} // namespace platform::files
