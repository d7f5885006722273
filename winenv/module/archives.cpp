#include "archives.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <archive.h>
#include <archive_entry.h>
#include <memory>

namespace winenv::archive {

namespace {

struct ReaderDeleter {
    void operator()(struct archive *a) const { archive_read_free(a); }
};
struct WriterDeleter {
    void operator()(struct archive *a) const { archive_write_free(a); }
};
using Reader = std::unique_ptr<struct archive, ReaderDeleter>;
using Writer = std::unique_ptr<struct archive, WriterDeleter>;

constexpr int BlockSize = 64 * 1024;

Reader openReader(const QString &file, QString &error)
{
    Reader a(archive_read_new());
    archive_read_support_filter_all(a.get());
    archive_read_support_format_all(a.get());
    if (archive_read_open_filename(a.get(), QFile::encodeName(file).constData(), BlockSize) != ARCHIVE_OK) {
        error = QString::fromLocal8Bit(archive_error_string(a.get()));
        return nullptr;
    }
    return a;
}

QString entryPath(struct archive_entry *e)
{
    const char *utf8 = archive_entry_pathname_utf8(e);
    QString path = utf8 ? QString::fromUtf8(utf8) : QFile::decodeName(archive_entry_pathname(e));
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (path.startsWith(QLatin1String("./")))
        path.remove(0, 2);
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

// A path inside the archive that stays inside the folder it is extracted to.
bool safe(const QString &path)
{
    return !path.isEmpty() && !path.startsWith(QLatin1Char('/')) && !path.split(QLatin1Char('/')).contains(QLatin1String(".."));
}

bool under(const QString &path, const QString &top)
{
    return path == top || path.startsWith(top + QLatin1Char('/'));
}

// Copies an entry's data from the reader to the writer in blocks.
bool copyData(struct archive *from, struct archive *to, QString &error, const Spend &spend)
{
    const void *buffer;
    size_t size;
    la_int64_t offset;
    for (;;) {
        const int r = archive_read_data_block(from, &buffer, &size, &offset);
        if (r == ARCHIVE_EOF)
            return true;
        if (r != ARCHIVE_OK) {
            error = QString::fromLocal8Bit(archive_error_string(from));
            return false;
        }
        if (archive_write_data(to, buffer, size) < 0) {
            error = QString::fromLocal8Bit(archive_error_string(to));
            return false;
        }
        if (!spend(qint64(size)))
            return false;
    }
}

// The archive of a file that holds none yet: missing, or the 22 bytes of an empty zip.
bool holdsNothing(const QString &file)
{
    const QFileInfo info(file);
    return !info.exists() || info.size() <= 22;
}

} // namespace

bool isArchive(const QString &file)
{
    QFile f(file);
    if (!QFileInfo(file).isFile() || !f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(8);
    return head.startsWith("PK\x03\x04") || head.startsWith("PK\x05\x06") || head.startsWith("7z\xBC\xAF")
           || head.startsWith("\x1F\x8B") || head.startsWith("Rar!");
}

bool list(const QString &file, QList<Entry> &entries, QString &error, const Spend &spend)
{
    entries.clear();
    if (holdsNothing(file))
        return QFileInfo(file).exists() || (error = QStringLiteral("The file does not exist"), false);
    Reader a = openReader(file, error);
    if (!a)
        return false;
    QSet<QString> seen;
    const auto addFolders = [&](const QString &path) {
        for (qsizetype slash = path.indexOf(QLatin1Char('/')); slash > 0; slash = path.indexOf(QLatin1Char('/'), slash + 1)) {
            const QString folder = path.left(slash);
            if (!seen.contains(folder)) {
                seen.insert(folder);
                entries.append({folder, true, 0, QDateTime()});
            }
        }
    };
    struct archive_entry *e;
    int r;
    while ((r = archive_read_next_header(a.get(), &e)) == ARCHIVE_OK) {
        if (!spend(512))
            return false;
        const QString path = entryPath(e);
        if (path.isEmpty())
            continue;
        addFolders(path);
        const bool folder = archive_entry_filetype(e) == AE_IFDIR;
        const QDateTime modified = QDateTime::fromSecsSinceEpoch(archive_entry_mtime(e));
        if (seen.contains(path)) { // a folder named before its own entry: keep the entry's date
            for (Entry &existing : entries)
                if (existing.path == path)
                    existing.modified = modified;
            continue;
        }
        seen.insert(path);
        entries.append({path, folder, folder ? 0 : qint64(archive_entry_size(e)), modified});
    }
    if (r != ARCHIVE_EOF) {
        error = QString::fromLocal8Bit(archive_error_string(a.get()));
        return false;
    }
    return true;
}

bool extract(const QString &file, const QStringList &paths, const QString &folder, bool overwrite, QString &error,
             const Spend &spend)
{
    Reader a = openReader(file, error);
    if (!a)
        return false;
    Writer disk(archive_write_disk_new());
    // Entry names are checked before they are joined to the folder (which is absolute); the
    // writer refuses ".." and paths through symbolic links on top of that.
    archive_write_disk_set_options(disk.get(), ARCHIVE_EXTRACT_TIME | ARCHIVE_EXTRACT_PERM | ARCHIVE_EXTRACT_SECURE_NODOTDOT
                                                   | ARCHIVE_EXTRACT_SECURE_SYMLINKS
                                                   | (overwrite ? 0 : ARCHIVE_EXTRACT_NO_OVERWRITE));
    archive_write_disk_set_standard_lookup(disk.get());
    struct archive_entry *e;
    int r;
    while ((r = archive_read_next_header(a.get(), &e)) == ARCHIVE_OK) {
        const QString path = entryPath(e);
        QString top;
        for (const QString &p : paths)
            if (under(path, p))
                top = p;
        if (top.isNull() || !safe(path))
            continue;
        // "docs/a/b.txt" copied as item "docs/a" lands at folder/a/b.txt.
        const qsizetype cut = top.lastIndexOf(QLatin1Char('/')) + 1;
        const QByteArray target = QFile::encodeName(folder + QLatin1Char('/') + path.mid(cut));
        archive_entry_set_pathname(e, target.constData());
        const int w = archive_write_header(disk.get(), e);
        if (w == ARCHIVE_FAILED && !overwrite && QFileInfo::exists(QFile::decodeName(target)))
            continue; // kept as it was
        if (w < ARCHIVE_WARN) {
            error = QString::fromLocal8Bit(archive_error_string(disk.get()));
            return false;
        }
        if (archive_entry_size(e) > 0 && !copyData(a.get(), disk.get(), error, spend))
            return false;
        if (archive_write_finish_entry(disk.get()) < ARCHIVE_WARN) {
            error = QString::fromLocal8Bit(archive_error_string(disk.get()));
            return false;
        }
        if (!spend(512))
            return false;
    }
    if (r != ARCHIVE_EOF) {
        error = QString::fromLocal8Bit(archive_error_string(a.get()));
        return false;
    }
    return true;
}

bool update(const QString &file, const QStringList &add, const QStringList &remove, QString &error, const Spend &spend)
{
    // The names the added files take at the top; old entries under them are replaced.
    QStringList replaced = remove;
    for (const QString &source : add)
        replaced << QFileInfo(source).fileName();
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        error = out.errorString();
        return false;
    }
    Writer w(archive_write_new());
    if (archive_write_set_format_filter_by_ext(w.get(), QFile::encodeName(file).constData()) != ARCHIVE_OK)
        archive_write_set_format_zip(w.get());
    if (archive_write_open_fd(w.get(), out.handle()) != ARCHIVE_OK) {
        error = QString::fromLocal8Bit(archive_error_string(w.get()));
        return false;
    }
    const auto fail = [&](struct archive *a) {
        error = QString::fromLocal8Bit(archive_error_string(a));
        return false;
    };
    if (!holdsNothing(file)) {
        Reader old = openReader(file, error);
        if (!old)
            return false;
        struct archive_entry *e;
        int r;
        while ((r = archive_read_next_header(old.get(), &e)) == ARCHIVE_OK) {
            const QString path = entryPath(e);
            if (std::any_of(replaced.begin(), replaced.end(), [&](const QString &top) { return under(path, top); }))
                continue;
            if (archive_write_header(w.get(), e) < ARCHIVE_WARN)
                return fail(w.get());
            if (archive_entry_size(e) > 0 && !copyData(old.get(), w.get(), error, spend))
                return false;
        }
        if (r != ARCHIVE_EOF)
            return fail(old.get());
    }
    // The files of a source folder go in below its name, in a stable order.
    const auto addFile = [&](const QString &source, const QString &name) -> bool {
        const QFileInfo info(source);
        std::unique_ptr<struct archive_entry, void (*)(struct archive_entry *)> e(archive_entry_new(), archive_entry_free);
        archive_entry_set_pathname_utf8(e.get(), (info.isDir() ? name + QLatin1Char('/') : name).toUtf8().constData());
        archive_entry_set_filetype(e.get(), info.isDir() ? AE_IFDIR : AE_IFREG);
        archive_entry_set_perm(e.get(), info.isDir() ? 0755 : (info.isExecutable() ? 0755 : 0644));
        archive_entry_set_size(e.get(), info.isDir() ? 0 : info.size());
        archive_entry_set_mtime(e.get(), info.lastModified().toSecsSinceEpoch(), 0);
        if (archive_write_header(w.get(), e.get()) < ARCHIVE_WARN)
            return fail(w.get());
        if (info.isDir())
            return true;
        QFile in(source);
        if (!in.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("%1: %2").arg(source, in.errorString());
            return false;
        }
        while (!in.atEnd()) {
            const QByteArray block = in.read(BlockSize);
            if (archive_write_data(w.get(), block.constData(), size_t(block.size())) < 0)
                return fail(w.get());
            if (!spend(block.size()))
                return false;
        }
        return true;
    };
    for (const QString &source : add) {
        const QString top = QFileInfo(source).fileName();
        if (!addFile(source, top))
            return false;
        if (!QFileInfo(source).isDir())
            continue;
        QStringList inside;
        QDirIterator it(source, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            inside << it.next();
        inside.sort();
        for (const QString &path : inside)
            if (!addFile(path, top + QLatin1Char('/') + QDir(source).relativeFilePath(path)))
                return false;
    }
    if (archive_write_close(w.get()) != ARCHIVE_OK)
        return fail(w.get());
    if (!out.commit()) {
        error = out.errorString();
        return false;
    }
    return true;
}

} // namespace winenv::archive
