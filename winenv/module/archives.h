#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>

// Zip files (and the other archives libarchive reads) as Shell.Application's folders see
// them: their entries listed, entries copied out into a folder, files copied in.
namespace winenv::archive {

struct Entry {
    QString path; // inside the archive, '/'-separated, no trailing slash
    bool isFolder = false;
    qint64 size = 0;
    QDateTime modified;
};

// Called with the bytes handled so far in a step; false stops the work (the time limit).
using Spend = std::function<bool(qint64 bytes)>;

// Whether the file is an archive these functions read (by its first bytes).
bool isArchive(const QString &file);

// Every entry, with the folders that file paths imply. False with the reason when the file
// cannot be read as an archive.
bool list(const QString &file, QList<Entry> &entries, QString &error, const Spend &spend);

// Copies the entries at the given paths (a folder with everything below it) into the
// folder, each under its own name. Entries that would land outside the folder (absolute
// paths, "..") are skipped.
bool extract(const QString &file, const QStringList &paths, const QString &folder, bool overwrite, QString &error,
             const Spend &spend);

// Rewrites the archive: entries under `remove` dropped, then the files and folders of `add`
// put in at the top under their own names (a name already there is replaced). An empty or
// missing file becomes a new archive of the kind its name says (zip by default).
bool update(const QString &file, const QStringList &add, const QStringList &remove, QString &error, const Spend &spend);

} // namespace winenv::archive
