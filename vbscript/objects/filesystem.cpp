#include "filesystem.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include "context.h"
#include "convert.h"

namespace vbs {

namespace {

enum : int32_t { BadFileMode = 54, InputPastEnd = 62 };
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
// lines ending in CR LF when written, in CR LF or LF when read.
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
        return m_file.open(m_mode == ForAppending ? QIODevice::Append : QIODevice::WriteOnly | QIODevice::Truncate);
    }
    QString typeName() const override { return QStringLiteral("TextStream"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"ReadLine", "ReadAll", "Read", "Write", "WriteLine", "WriteBlankLines",
                                         "AtEndOfStream", "AtEndOfLine", "Line", "Close", "SkipLine"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke, Args args, Value &result) override
    {
        const bool reading = id <= 3 || id == 7 || id == 8 || id == 11;
        if (id != 9 && id != 10 && !m_file.isOpen())
            return cx.raise(BadFileMode);
        if (id != 9 && id != 10 && reading != (m_mode == ForReading))
            return cx.raise(BadFileMode);
        switch (id) {
        case 1:
        case 11: { // ReadLine, SkipLine
            if (m_pos >= m_text.size())
                return cx.raise(InputPastEnd);
            qsizetype end = m_text.indexOf(QLatin1Char('\n'), m_pos);
            if (end < 0)
                end = m_text.size();
            QString line = m_text.mid(m_pos, end - m_pos);
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            m_pos = end + 1;
            ++m_line;
            if (id == 1)
                result = Value::string(line);
            return true;
        }
        case 2:
            result = Value::string(m_text.mid(m_pos));
            m_pos = m_text.size();
            return true;
        case 3: {
            int32_t n;
            if (args.count != 1 || !toLong(cx, args[0], n))
                return cx.hasError() || cx.raise(err::WrongArgs);
            if (m_pos >= m_text.size())
                return cx.raise(InputPastEnd);
            result = Value::string(m_text.mid(m_pos, qMax(0, n)));
            m_pos += qMax(0, n);
            return true;
        }
        case 4:
        case 5: {
            QString text;
            if (args.has(0) && !toText(cx, args[0], text))
                return false;
            if (id == 5)
                text += QStringLiteral("\r\n");
            return write(cx, text);
        }
        case 6: {
            int32_t n;
            if (args.count != 1 || !toLong(cx, args[0], n))
                return cx.hasError() || cx.raise(err::WrongArgs);
            return write(cx, QStringLiteral("\r\n").repeated(qMax(0, n)));
        }
        case 7: result = Value::boolean(m_pos >= m_text.size()); return true;
        case 8: result = Value::boolean(m_pos >= m_text.size() || m_text[m_pos] == QLatin1Char('\r') || m_text[m_pos] == QLatin1Char('\n')); return true;
        case 9: result = Value::lng(m_line); return true;
        case 10: m_file.close(); return true;
        default: return cx.raise(err::NoSuchMember);
        }
    }

private:
    bool write(Context &cx, const QString &text)
    {
        const QByteArray bytes = m_unicode ? QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2)
                                           : text.toUtf8();
        if (m_file.write(bytes) != bytes.size())
            return cx.raise(57); // Device I/O error
        m_line += int(text.count(QLatin1Char('\n')));
        return true;
    }

    QFile m_file;
    int m_mode;
    bool m_unicode = false;
    QString m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
};

// A read-only list of File or Folder objects: Count, Item(name), For Each.
class ItemList : public Object {
public:
    ItemList(const QString &typeName, std::vector<Value> items, QStringList names)
        : m_type(typeName), m_items(std::move(items)), m_names(std::move(names)) {}
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
        const int at = int(m_names.indexOf(name));
        if (at < 0)
            return cx.raise(err::FileNotFound);
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
    QStringList m_names;
};

// A File or a Folder: Name (assigning it renames in place), Path, Size, dates, Delete.
class Entry : public Object {
public:
    Entry(const QString &path, bool folder) : m_path(QFileInfo(path).absoluteFilePath()), m_folder(folder) {}
    QString typeName() const override { return m_folder ? QStringLiteral("Folder") : QStringLiteral("File"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Name", "Path", "Size", "DateLastModified", "DateCreated", "ParentFolder",
                                         "Delete", "Files", "SubFolders", "ShortName", "Type", "IsRootFolder"};
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
        default: return cx.raise(err::NoSuchMember);
        }
    }

private:
    QString m_path;
    bool m_folder;
};

enum Id {
    BuildPath = 1, CopyFile, CreateFolder, CreateTextFile, DeleteFile, DeleteFolder, FileExists, FolderExists,
    GetAbsolutePathName, GetBaseName, GetExtensionName, GetFile, GetFileName, GetFolder, GetParentFolderName,
    GetTempName, MoveFile, OpenTextFile, MoveFolder, CopyFolder,
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

bool copyTree(const QString &from, const QString &to)
{
    if (!QDir().mkpath(to))
        return false;
    for (const QFileInfo &f : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString target = QDir(to).filePath(f.fileName());
        if (f.isDir() ? !copyTree(f.filePath(), target) : (QFile::exists(target) && !QFile::remove(target)) || !QFile::copy(f.filePath(), target))
            return false;
    }
    return true;
}

} // namespace

QString decodeText(const QByteArray &bytes, bool unicode)
{
    auto utf16 = [&bytes](qsizetype from, bool bigEndian) {
        QString text(int((bytes.size() - from) / 2), Qt::Uninitialized);
        auto *out = reinterpret_cast<char16_t *>(text.data());
        const auto *in = reinterpret_cast<const uchar *>(bytes.constData() + from);
        for (qsizetype i = 0; i < text.size(); ++i, in += 2)
            out[i] = bigEndian ? char16_t(in[0] << 8 | in[1]) : char16_t(in[1] << 8 | in[0]);
        return text;
    };
    if (bytes.startsWith("\xff\xfe"))
        return utf16(2, false);
    if (bytes.startsWith("\xfe\xff"))
        return utf16(2, true);
    if (bytes.startsWith("\xef\xbb\xbf"))
        return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    return unicode ? utf16(0, false) : QString::fromUtf8(bytes);
}

int FileSystemObject::memberId(const QString &name)
{
    static const MemberTable members{"BuildPath", "CopyFile", "CreateFolder", "CreateTextFile", "DeleteFile",
                                     "DeleteFolder", "FileExists", "FolderExists", "GetAbsolutePathName",
                                     "GetBaseName", "GetExtensionName", "GetFile", "GetFileName", "GetFolder",
                                     "GetParentFolderName", "GetTempName", "MoveFile", "OpenTextFile",
                                     "MoveFolder", "CopyFolder"};
    return members.id(name);
}

bool FileSystemObject::invoke(Context &cx, int id, Invoke, Args a, Value &result)
{
    QString p, q;
    if (id != GetTempName && !arg(cx, a, 0, p))
        return false;
    const QFileInfo info(p);
    switch (id) {
    case BuildPath: {
        if (!arg(cx, a, 1, q))
            return false;
        result = Value::string(p.isEmpty() || p.endsWith(QLatin1Char('/')) ? p + q : p + QLatin1Char('/') + q);
        return true;
    }
    case CopyFile:
    case MoveFile: {
        bool overwrite = true;
        if (!arg(cx, a, 1, q) || (id == CopyFile && !flag(cx, a, 2, true, overwrite)))
            return false;
        const QStringList sources = matching(p);
        if (sources.isEmpty())
            return cx.raise(err::FileNotFound);
        for (const QString &source : sources) {
            QString target = q;
            if (q.endsWith(QLatin1Char('/')) || QFileInfo(q).isDir())
                target = QDir(q).filePath(QFileInfo(source).fileName());
            else if (sources.size() > 1)
                return cx.raise(err::PathNotFound);
            if (!QFileInfo(target).dir().exists())
                return cx.raise(err::PathNotFound);
            if (QFileInfo::exists(target)) {
                if (id == MoveFile || !overwrite)
                    return cx.raise(err::FileExists);
                if (!QFile::remove(target))
                    return cx.raise(err::PermissionDenied);
            }
            const bool ok = id == CopyFile ? QFile::copy(source, target) : QFile::rename(source, target);
            if (!ok)
                return cx.raise(err::PermissionDenied);
        }
        return true;
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
        if (!info.isDir())
            return cx.raise(err::PathNotFound);
        return QDir(p).removeRecursively() || cx.raise(err::PermissionDenied);
    case MoveFolder:
    case CopyFolder:
        if (!arg(cx, a, 1, q))
            return false;
        if (!info.isDir())
            return cx.raise(err::PathNotFound);
        if (id == MoveFolder) {
            if (QFileInfo::exists(q))
                return cx.raise(err::FileExists);
            return QDir().rename(p, q) || cx.raise(err::PermissionDenied);
        }
        return copyTree(p, q) || cx.raise(err::PermissionDenied);
    case FileExists: result = Value::boolean(info.isFile()); return true;
    case FolderExists: result = Value::boolean(info.isDir()); return true;
    case GetAbsolutePathName: result = Value::string(QDir::cleanPath(info.absoluteFilePath())); return true;
    case GetBaseName: result = Value::string(info.completeBaseName()); return true;
    case GetExtensionName: result = Value::string(info.suffix()); return true;
    case GetFileName: result = Value::string(info.fileName()); return true;
    case GetParentFolderName: {
        QString parent = p;
        while (parent.endsWith(QLatin1Char('/')) && parent.size() > 1)
            parent.chop(1);
        const qsizetype slash = parent.lastIndexOf(QLatin1Char('/'));
        result = Value::string(slash < 0 ? QString() : slash == 0 ? QStringLiteral("/") : parent.left(slash));
        return true;
    }
    case GetFile:
        if (!info.isFile())
            return cx.raise(err::FileNotFound);
        result = Value::object(new Entry(p, false));
        return true;
    case GetFolder:
        if (!info.isDir())
            return cx.raise(err::PathNotFound);
        result = Value::object(new Entry(p, true));
        return true;
    case GetTempName:
        result = Value::string(QStringLiteral("rad%1.tmp").arg(QRandomGenerator::global()->bounded(0x100000), 5, 16, QLatin1Char('0')).toUpper().replace(QLatin1String(".TMP"), QLatin1String(".tmp")));
        return true;
    default:
        return cx.raise(err::NoSuchMember);
    }
}

} // namespace vbs
