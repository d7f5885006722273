#include "filesystem.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStorageInfo>

#include "context.h"
#include "convert.h"
#include "filecopy.h"
#include "winpath.h"

namespace vbs {

namespace {

enum Mode { ForReading = 1, ForWriting = 2, ForAppending = 8 };

double dateOf(const QDateTime &t)
{
    const QDate d = t.date();
    const QTime time = t.time();
    return dateFromParts(d.year(), d.month(), d.day(), time.hour() * 3600 + time.minute() * 60 + time.second());
}

bool arg(Context &cx, Args a, int i, QString &out)
{
    if (i >= a.count)
        return cx.raise(err::WrongArgs);
    return toText(cx, a[i], out);
}

bool flag(Context &cx, Args a, int i, bool fallback, bool &out)
{
    out = fallback;
    return !a.has(i) || toBool(cx, a[i], out);
}

// A file opened for reading, writing or appending: text in UTF-8 (or UTF-16 with a mark),
// lines ending in CR LF when written, in CR LF or LF when read. With the Unicode format it
// is written as Windows writes it: UTF-16LE after the mark FF FE.
class TextStream : public Object {
public:
    TextStream(const QString &path, int mode) : m_file(path), m_mode(mode) {}
    bool open(bool unicode)
    {
        m_unicode = unicode;
        if (m_mode == ForReading) {
            if (!m_file.open(QIODevice::ReadOnly))
                return false;
            m_text = decodeText(m_file.readAll(), unicode);
            return true;
        }
        if (!m_file.open(m_mode == ForAppending ? QIODevice::Append : QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        if (unicode && m_file.size() == 0)
            return m_file.write("\xff\xfe", 2) == 2;
        return true;
    }
    QString typeName() const override { return QStringLiteral("TextStream"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"ReadLine", "ReadAll", "Read", "Write", "WriteLine", "WriteBlankLines",
                                         "AtEndOfStream", "AtEndOfLine", "Line", "Close", "SkipLine", "Skip",
                                         "Column"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke, Args args, Value &result) override
    {
        enum { ReadLine = 1, ReadAll, Read, Write, WriteLine, WriteBlankLines, AtEndOfStream, AtEndOfLine, Line,
               Close, SkipLine, Skip, Column };
        const bool reading = id == ReadLine || id == ReadAll || id == Read || id == AtEndOfStream
                             || id == AtEndOfLine || id == SkipLine || id == Skip;
        const bool anyMode = id == Line || id == Close || id == Column;
        if (!anyMode && !m_file.isOpen())
            return cx.raise(err::BadFileMode);
        if (!anyMode && reading != (m_mode == ForReading))
            return cx.raise(err::BadFileMode);
        switch (id) {
        case ReadLine:
        case SkipLine: {
            if (m_pos >= m_text.size())
                return cx.raise(err::InputPastEnd);
            qsizetype end = m_text.indexOf(QLatin1Char('\n'), m_pos);
            if (end < 0)
                end = m_text.size();
            QString line = m_text.mid(m_pos, end - m_pos);
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            advance(qMin(end + 1, m_text.size()) - m_pos);
            if (id == ReadLine)
                result = Value::string(line);
            return true;
        }
        case ReadAll:
            result = Value::string(m_text.mid(m_pos));
            advance(m_text.size() - m_pos);
            return true;
        case Read:
        case Skip: {
            int32_t n;
            if (args.count != 1 || !toLong(cx, args[0], n))
                return cx.raiseUnlessPending(err::WrongArgs);
            if (n < 0)
                return cx.raise(err::InvalidCall);
            if (m_pos >= m_text.size() && n > 0)
                return cx.raise(err::InputPastEnd);
            const qsizetype take = qMin<qsizetype>(n, m_text.size() - m_pos);
            if (id == Read)
                result = Value::string(m_text.mid(m_pos, take));
            advance(take);
            return true;
        }
        case Write:
        case WriteLine: {
            QString text;
            if (args.has(0) && !toText(cx, args[0], text))
                return false;
            if (id == WriteLine)
                text += QStringLiteral("\r\n");
            return write(cx, text);
        }
        case WriteBlankLines: {
            int32_t n;
            if (args.count != 1 || !toLong(cx, args[0], n))
                return cx.raiseUnlessPending(err::WrongArgs);
            // In pieces, each reported to the clock: a count in the millions is no string.
            constexpr int32_t Piece = 4096;
            for (int32_t left = qMax(0, n); left > 0; left -= Piece) {
                if (!write(cx, QStringLiteral("\r\n").repeated(qMin(left, Piece))) || !cx.spend(2 * Piece))
                    return false;
            }
            return true;
        }
        case AtEndOfStream: result = Value::boolean(m_pos >= m_text.size()); return true;
        case AtEndOfLine:
            result = Value::boolean(m_pos >= m_text.size() || m_text[m_pos] == QLatin1Char('\r')
                                    || m_text[m_pos] == QLatin1Char('\n'));
            return true;
        case Line: result = Value::lng(m_line); return true;
        case Column: result = Value::lng(m_column); return true;
        case Close: m_file.close(); return true;
        default: return cx.raise(err::NoSuchMember);
        }
    }

private:
    // Moves the reading position on, keeping Line and Column in step.
    void advance(qsizetype n)
    {
        track(QStringView(m_text).mid(m_pos, n));
        m_pos += n;
    }
    void track(QStringView text)
    {
        const qsizetype lastBreak = text.lastIndexOf(QLatin1Char('\n'));
        if (lastBreak < 0) {
            m_column += int(text.size());
            return;
        }
        m_line += int(text.count(QLatin1Char('\n')));
        m_column = int(text.size() - lastBreak);
    }
    bool write(Context &cx, const QString &text)
    {
        const QByteArray bytes = m_unicode ? QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2)
                                           : text.toUtf8();
        if (m_file.write(bytes) != bytes.size())
            return cx.raise(57); // Device I/O error
        track(text);
        return true;
    }

    QFile m_file;
    int m_mode;
    bool m_unicode = false;
    QString m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
    int m_column = 1;
};

// A read-only list of File or Folder objects: Count, Item(name), For Each.
class ItemList : public Object {
public:
    ItemList(const QString &typeName, std::vector<Value> items, const QStringList &names)
        : m_type(typeName), m_items(std::move(items))
    {
        for (qsizetype i = 0; i < names.size(); ++i)
            m_index.insert(names[i], int(i));
    }
    QString typeName() const override { return m_type; }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Count", "Item"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke, Args args, Value &result) override
    {
        if (id == 1) {
            result = Value::lng(int32_t(m_items.size()));
            return true;
        }
        QString name;
        if (!arg(cx, args, 0, name))
            return false;
        const int at = m_index.value(name, -1);
        if (at < 0)
            return cx.raise(m_type == QLatin1String("Drives") ? 68 : int(err::FileNotFound));
        result = m_items[size_t(at)];
        return true;
    }
    bool enumerate(Context &, std::vector<Value> &items) override
    {
        items = m_items;
        return true;
    }

private:
    QString m_type;
    std::vector<Value> m_items;
    QHash<QString, int> m_index;
};

// A mounted file system as a Drive: Linux has no drive letters, so Path and RootFolder are
// its mount point and DriveLetter is empty.
class Drive : public Object {
public:
    explicit Drive(const QStorageInfo &volume) : m_volume(volume) {}
    QString typeName() const override { return QStringLiteral("Drive"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Path", "DriveLetter", "RootFolder", "DriveType", "FileSystem",
                                         "FreeSpace", "AvailableSpace", "TotalSize", "IsReady", "VolumeName",
                                         "SerialNumber", "ShareName"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args, Value &result) override;

private:
    QStorageInfo m_volume;
};

// The files a path names: itself, or what * and ? match in its last part.
QStringList matching(const QString &path)
{
    const QFileInfo info(path);
    if (!info.fileName().contains(QLatin1Char('*')) && !info.fileName().contains(QLatin1Char('?')))
        return info.isFile() ? QStringList{path} : QStringList();
    QStringList out;
    for (const QFileInfo &f : info.dir().entryInfoList({info.fileName()}, QDir::Files | QDir::Hidden | QDir::CaseSensitive))
        out << f.filePath();
    return out;
}

// A script's destination on this system; false (with 76 raised) for one that names none.
bool destination(Context &cx, Args a, int i, QString &out)
{
    if (!arg(cx, a, i, out))
        return false;
    const std::optional<QString> local = winpath::local(out);
    if (!local)
        return cx.raise(err::PathNotFound);
    out = *local;
    return true;
}

// Copying and moving raise as Windows does: 58 where the target exists and may not be
// replaced, 70 where something would be copied onto or into itself or cannot be written.
// A copy never loses the source, whatever links lie on the way.
bool copyOne(Context &cx, const QString &from, const QString &to)
{
    QString error;
    switch (filecopy::copy(QFileInfo(from), to, error, [&cx](qint64 work) { return cx.spend(work); })) {
    case filecopy::Outcome::Copied: return true;
    case filecopy::Outcome::Stopped: return false;
    default: return cx.raise(err::PermissionDenied);
    }
}

// CopyFile and MoveFile: a file or what a wildcard matches, to a file or into a folder
// (a destination that is a folder, or ends with a separator). `moved` is where a single
// file went.
bool copyOrMoveFiles(Context &cx, const QString &from, const QString &to, bool move, bool overwrite, QString *moved = nullptr)
{
    const QStringList sources = matching(from);
    if (sources.isEmpty())
        return cx.raise(err::FileNotFound);
    for (const QString &source : sources) {
        QString target = to;
        if (to.endsWith(QLatin1Char('/')) || QFileInfo(to).isDir())
            target = QDir(to).filePath(QFileInfo(source).fileName());
        else if (sources.size() > 1)
            return cx.raise(err::PathNotFound);
        if (!QFileInfo(target).dir().exists())
            return cx.raise(err::PathNotFound);
        const bool taken = QFileInfo::exists(target) || QFileInfo(target).isSymLink();
        if (taken && (move || !overwrite))
            return cx.raise(err::FileExists);
        if (move && !QFile::rename(source, target))
            return cx.raise(err::PermissionDenied);
        if (!move && !copyOne(cx, source, target))
            return false;
        if (moved)
            *moved = target;
    }
    return true;
}

// CopyFolder and MoveFolder.
bool copyOrMoveFolder(Context &cx, const QString &from, const QString &to, bool move)
{
    if (from.isEmpty() || !QFileInfo(from).isDir())
        return cx.raise(err::PathNotFound);
    if (!move)
        return copyOne(cx, from, to);
    if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
        return cx.raise(err::FileExists);
    return QDir().rename(from, to) || cx.raise(err::PermissionDenied);
}

// A File or a Folder: Name (assigning it renames in place), Path, Size, dates, Delete,
// Copy and Move.
class Entry : public Object {
public:
    Entry(const QString &path, bool folder) : m_path(QFileInfo(path).absoluteFilePath()), m_folder(folder) {}
    QString typeName() const override { return m_folder ? QStringLiteral("Folder") : QStringLiteral("File"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Name", "Path", "Size", "DateLastModified", "DateCreated", "ParentFolder",
                                         "Delete", "Files", "SubFolders", "ShortName", "Type", "IsRootFolder",
                                         "Copy", "Move"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) override
    {
        const QFileInfo info(m_path);
        if (!info.exists() && id != 2)
            return cx.raise(m_folder ? err::PathNotFound : err::FileNotFound);
        if (id == DefaultMember)
            id = 2;
        switch (id) {
        case 1:
        case 10:
            if (kind & InvokeLet) {
                QString fresh;
                if (!arg(cx, args, args.count - 1, fresh))
                    return false;
                if (fresh.isEmpty() || fresh.contains(QLatin1Char('/')))
                    return cx.raise(err::BadFileName);
                const QString target = info.dir().filePath(fresh);
                if (QFileInfo::exists(target))
                    return cx.raise(err::FileExists);
                if (!QFile::rename(m_path, target))
                    return cx.raise(err::PermissionDenied);
                m_path = target;
                return true;
            }
            result = Value::string(info.fileName());
            return true;
        case 2: result = Value::string(m_path); return true;
        case 3: {
            qint64 size = info.size();
            if (m_folder) {
                size = 0;
                for (const QFileInfo &f : QDir(m_path).entryInfoList(QDir::Files | QDir::Hidden))
                    size += f.size();
            }
            result = Value::dbl(double(size));
            return true;
        }
        case 4: result = Value::date(dateOf(info.lastModified())); return true;
        case 5: result = Value::date(dateOf(info.birthTime().isValid() ? info.birthTime() : info.lastModified())); return true;
        case 6: result = Value::object(new Entry(info.absolutePath(), true)); return true;
        case 7: {
            const bool ok = m_folder ? QDir(m_path).removeRecursively() : QFile::remove(m_path);
            return ok || cx.raise(err::PermissionDenied);
        }
        case 8:
        case 9: {
            if (!m_folder)
                return cx.raise(err::NoSuchMember);
            std::vector<Value> items;
            QStringList names;
            const QDir::Filters which = id == 8 ? QDir::Files | QDir::Hidden : QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden;
            for (const QFileInfo &f : QDir(m_path).entryInfoList(which, QDir::Name)) {
                items.push_back(Value::object(new Entry(f.filePath(), id == 9)));
                names << f.fileName();
            }
            result = Value::object(new ItemList(id == 8 ? QStringLiteral("Files") : QStringLiteral("Folders"), std::move(items), names));
            return true;
        }
        case 11: result = Value::string(m_folder ? QStringLiteral("File folder") : info.suffix().toUpper() + QStringLiteral(" File")); return true;
        case 12: result = Value::boolean(info.isRoot()); return true;
        case 13: { // Copy destination[, overwrite]
            QString to;
            bool overwrite = true;
            if (!destination(cx, args, 0, to) || !flag(cx, args, 1, true, overwrite))
                return false;
            return m_folder ? copyOrMoveFolder(cx, m_path, to, false) : copyOrMoveFiles(cx, m_path, to, false, overwrite);
        }
        case 14: { // Move destination: the object follows its file or folder
            QString to;
            if (!destination(cx, args, 0, to))
                return false;
            QString moved = to;
            if (!(m_folder ? copyOrMoveFolder(cx, m_path, to, true) : copyOrMoveFiles(cx, m_path, to, true, false, &moved)))
                return false;
            m_path = QFileInfo(moved).absoluteFilePath();
            return true;
        }
        default: return cx.raise(err::NoSuchMember);
        }
    }

private:
    QString m_path;
    bool m_folder;
};

bool Drive::invoke(Context &cx, int id, Invoke kind, Args, Value &result)
{
    if (kind & (InvokeLet | InvokeSet))
        return cx.raise(err::NoSuchMember);
    m_volume.refresh();
    switch (id == DefaultMember ? 1 : id) {
    case 1: result = Value::string(m_volume.rootPath()); return true;
    case 2: result = Value::string(QString()); return true;
    case 3: result = Value::object(new Entry(m_volume.rootPath(), true)); return true;
    case 4: // 1 removable, 2 fixed, 3 network, 4 CD-ROM, 5 RAM disk
        result = Value::lng(m_volume.fileSystemType().startsWith("nfs") || m_volume.fileSystemType().startsWith("cifs") ? 3
                            : m_volume.fileSystemType() == "tmpfs" ? 5 : m_volume.fileSystemType() == "iso9660" ? 4 : 2);
        return true;
    case 5: result = Value::string(QString::fromLatin1(m_volume.fileSystemType())); return true;
    case 6: result = Value::dbl(double(m_volume.bytesFree())); return true;
    case 7: result = Value::dbl(double(m_volume.bytesAvailable())); return true;
    case 8: result = Value::dbl(double(m_volume.bytesTotal())); return true;
    case 9: result = Value::boolean(m_volume.isReady()); return true;
    case 10: result = Value::string(m_volume.name()); return true;
    case 11: result = Value::lng(int32_t(qHash(m_volume.device()))); return true;
    case 12: result = Value::string(QString()); return true;
    default: return cx.raise(err::NoSuchMember);
    }
}

enum Id {
    BuildPath = 1, CopyFile, CreateFolder, CreateTextFile, DeleteFile, DeleteFolder, FileExists, FolderExists,
    GetAbsolutePathName, GetBaseName, GetExtensionName, GetFile, GetFileName, GetFolder, GetParentFolderName,
    GetTempName, MoveFile, OpenTextFile, MoveFolder, CopyFolder, Drives, GetDrive, GetDriveName, DriveExists,
    GetSpecialFolder,
};

} // namespace

// The mounted file systems that scripts see as drives: real ones, not the kernel's own.
QList<QStorageInfo> mountedDrives()
{
    QList<QStorageInfo> drives;
    for (const QStorageInfo &v : QStorageInfo::mountedVolumes()) {
        const QByteArray type = v.fileSystemType();
        if (v.isValid() && !type.isEmpty() && type != "proc" && type != "sysfs" && type != "devpts"
            && type != "cgroup" && type != "cgroup2" && type != "overlay" && !v.rootPath().startsWith(QLatin1String("/proc"))
            && !v.rootPath().startsWith(QLatin1String("/sys")))
            drives << v;
    }
    if (drives.isEmpty())
        drives << QStorageInfo::root();
    return drives;
}

int FileSystemObject::memberId(const QString &name)
{
    static const MemberTable members{"BuildPath", "CopyFile", "CreateFolder", "CreateTextFile", "DeleteFile",
                                     "DeleteFolder", "FileExists", "FolderExists", "GetAbsolutePathName",
                                     "GetBaseName", "GetExtensionName", "GetFile", "GetFileName", "GetFolder",
                                     "GetParentFolderName", "GetTempName", "MoveFile", "OpenTextFile",
                                     "MoveFolder", "CopyFolder", "Drives", "GetDrive", "GetDriveName",
                                     "DriveExists", "GetSpecialFolder"};
    return members.id(name);
}

bool FileSystemObject::invoke(Context &cx, int id, Invoke, Args a, Value &result)
{
    QString p, q;
    if (id != GetTempName && id != Drives && id != GetSpecialFolder && !arg(cx, a, 0, p))
        return false;
    // The text functions work on the path as written, Windows paths included.
    switch (id) {
    case BuildPath:
        if (!arg(cx, a, 1, q))
            return false;
        result = Value::string(winpath::build(p, q));
        return true;
    case GetFileName: result = Value::string(winpath::fileName(p)); return true;
    case GetBaseName: result = Value::string(winpath::baseName(p)); return true;
    case GetExtensionName: result = Value::string(winpath::extension(p)); return true;
    case GetParentFolderName: result = Value::string(winpath::parentFolder(p)); return true;
    case GetDriveName: result = Value::string(winpath::hasDrive(p) ? p.left(2) : QString()); return true;
    case GetTempName:
        result = Value::string(QStringLiteral("rad%1.tmp").arg(QString::number(QRandomGenerator::global()->bounded(0x100000), 16).toUpper(), 5, QLatin1Char('0')));
        return true;
    case Drives: {
        std::vector<Value> items;
        QStringList names;
        for (const QStorageInfo &v : mountedDrives()) {
            items.push_back(Value::object(new Drive(v)));
            names << v.rootPath();
        }
        result = Value::object(new ItemList(QStringLiteral("Drives"), std::move(items), names));
        return true;
    }
    case GetSpecialFolder: { // 0 the system's folder, 1 its programs, 2 the temporary folder
        int32_t which;
        if (a.count != 1 || !toLong(cx, a[0], which))
            return cx.raiseUnlessPending(err::WrongArgs);
        if (which < 0 || which > 2)
            return cx.raise(err::InvalidCall);
        static const char *const folders[] = {"/etc", "/usr/bin"};
        result = Value::object(new Entry(which == 2 ? QDir::tempPath() : QString::fromLatin1(folders[which]), true));
        return true;
    }
    default:
        break;
    }
    // The others touch files: a path with a drive letter names nothing on this system.
    const std::optional<QString> local = winpath::local(p);
    if (!local) {
        switch (id) {
        case FileExists:
        case FolderExists:
        case DriveExists: result = Value::boolean(false); return true;
        case GetAbsolutePathName: result = Value::string(p); return true;
        case GetDrive: return cx.raise(68); // Device unavailable
        case CopyFile:
        case MoveFile:
        case DeleteFile:
        case GetFile:
        case OpenTextFile: return cx.raise(err::FileNotFound);
        default: return cx.raise(err::PathNotFound);
        }
    }
    p = *local;
    const QFileInfo info(p);
    if ((id == CopyFile || id == MoveFile || id == MoveFolder || id == CopyFolder) && !destination(cx, a, 1, q))
        return false;
    switch (id) {
    case CopyFile:
    case MoveFile: {
        bool overwrite = true;
        if (id == CopyFile && !flag(cx, a, 2, true, overwrite))
            return false;
        return copyOrMoveFiles(cx, p, q, id == MoveFile, overwrite);
    }
    case CreateFolder:
        if (p.isEmpty())
            return cx.raise(err::InvalidCall);
        if (info.exists())
            return cx.raise(err::FileExists);
        if (!info.dir().exists())
            return cx.raise(err::PathNotFound);
        if (!QDir().mkdir(p))
            return cx.raise(err::PermissionDenied);
        result = Value::object(new Entry(p, true));
        return true;
    case CreateTextFile:
    case OpenTextFile: {
        int32_t mode = id == CreateTextFile ? ForWriting : ForReading;
        bool create = id == CreateTextFile, overwrite = true, unicode = false;
        if (id == CreateTextFile) {
            if (!flag(cx, a, 1, true, overwrite) || !flag(cx, a, 2, false, unicode))
                return false;
        } else {
            int32_t format = 0;
            if ((a.has(1) && !toLong(cx, a[1], mode)) || !flag(cx, a, 2, false, create)
                || (a.has(3) && !toLong(cx, a[3], format)))
                return false;
            if (mode != ForReading && mode != ForWriting && mode != ForAppending)
                return cx.raise(err::InvalidCall);
            unicode = format == -1;
        }
        if (p.isEmpty())
            return cx.raise(err::FileNotFound);
        if (info.isDir())
            return cx.raise(err::PermissionDenied);
        if (!info.dir().exists())
            return cx.raise(err::PathNotFound);
        if (info.exists() && id == CreateTextFile && !overwrite)
            return cx.raise(err::FileExists);
        if (!info.exists() && !create)
            return cx.raise(err::FileNotFound);
        auto *stream = new TextStream(p, mode);
        Value holder = Value::object(stream);
        if (!stream->open(unicode))
            return cx.raise(err::PermissionDenied);
        result = holder;
        return true;
    }
    case DeleteFile: {
        const QStringList files = matching(p);
        if (files.isEmpty())
            return cx.raise(err::FileNotFound);
        for (const QString &f : files)
            if (!QFile::remove(f))
                return cx.raise(err::PermissionDenied);
        return true;
    }
    case DeleteFolder:
        if (p.isEmpty() || !info.isDir())
            return cx.raise(err::PathNotFound);
        return QDir(p).removeRecursively() || cx.raise(err::PermissionDenied);
    case MoveFolder:
    case CopyFolder: return copyOrMoveFolder(cx, p, q, id == MoveFolder);
    case FileExists: result = Value::boolean(!p.isEmpty() && info.isFile()); return true;
    case FolderExists: result = Value::boolean(!p.isEmpty() && info.isDir()); return true;
    case GetAbsolutePathName: {
        // Above the root is the root: "/../.." is "/".
        QString absolute = QDir::cleanPath(info.absoluteFilePath());
        while (absolute.startsWith(QLatin1String("/..")) && (absolute.size() == 3 || absolute[3] == QLatin1Char('/')))
            absolute.remove(0, 3);
        result = Value::string(absolute.isEmpty() ? QStringLiteral("/") : absolute);
        return true;
    }
    case GetFile:
        if (p.isEmpty() || !info.isFile())
            return cx.raise(err::FileNotFound);
        result = Value::object(new Entry(p, false));
        return true;
    case GetFolder:
        if (p.isEmpty() || !info.isDir())
            return cx.raise(err::PathNotFound);
        result = Value::object(new Entry(p, true));
        return true;
    case DriveExists:
    case GetDrive: {
        // A drive is a mounted file system, named by its mount point (or any path on it).
        const QStorageInfo volume(p.isEmpty() ? QStringLiteral("/") : p);
        if (id == DriveExists) {
            result = Value::boolean(!p.isEmpty() && volume.isValid());
            return true;
        }
        if (p.isEmpty() || !volume.isValid())
            return cx.raise(68); // Device unavailable
        result = Value::object(new Drive(volume));
        return true;
    }
    default:
        return cx.raise(err::NoSuchMember);
    }
}

} // namespace vbs
