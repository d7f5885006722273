#include "shellapp.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

#include "archives.h"
#include "context.h"
#include "convert.h"
#include "objects/filecopy.h"
#include "processes.h"
#include "shellenv.h"
#include "systemd.h"
#include "winpath.h"
#include "x11.h"

#include <cstdio>

using namespace vbs;

namespace winenv::shellapp {

namespace {

double dateOf(const QDateTime &t)
{
    const QDate d = t.date();
    const QTime time = t.time();
    return dateFromParts(d.year(), d.month(), d.day(), time.hour() * 3600 + time.minute() * 60 + time.second());
}

// A place in the shell's namespace: a file or folder on disk, or an entry inside an
// archive (archive is the archive file, inner the entry's path in it, "" for its top).
struct Place {
    QString path;    // on disk; for an entry, the archive's path followed by the inner path
    QString archive; // empty for a place on disk
    QString inner;
    bool isFolder = false;
    qint64 size = 0;
    QDateTime modified;

    bool inArchive() const { return !archive.isEmpty(); }
    // A folder on disk, an archive file (which the shell opens as a folder) or a folder in one.
    bool opensAsFolder() const { return isFolder || (!inArchive() && archive::isArchive(path)); }
};

Place diskPlace(const QString &path)
{
    const QFileInfo info(path);
    return {info.absoluteFilePath(), QString(), QString(), info.isDir(), info.isDir() ? 0 : info.size(), info.lastModified()};
}

Place archiveTop(const QString &file)
{
    Place p = diskPlace(file);
    p.archive = p.path;
    p.isFolder = true;
    return p;
}

Place archivePlace(const QString &file, const archive::Entry &e)
{
    return {file + QLatin1Char('/') + e.path, file, e.path, e.isFolder, e.size, e.modified};
}

// The folder that holds a place: the archive's folder above an entry, the archive itself
// above its top entries; nothing above "/".
std::optional<Place> parentOf(const Place &p)
{
    if (p.inArchive() && !p.inner.isEmpty()) {
        const qsizetype slash = p.inner.lastIndexOf(QLatin1Char('/'));
        if (slash < 0)
            return archiveTop(p.archive);
        const QString inner = p.inner.left(slash);
        return Place{p.archive + QLatin1Char('/') + inner, p.archive, inner, true, 0, QDateTime()};
    }
    if (p.path == QLatin1String("/"))
        return std::nullopt;
    return diskPlace(QFileInfo(p.path).absolutePath());
}

archive::Spend spender(Context &cx)
{
    return [&cx](qint64 bytes) { return cx.spend(bytes / 64 + 1); };
}

// A path a script gives, possibly into an archive ("C:\data\x.zip\docs"): the place, or
// nothing when there is no such file or folder.
std::optional<Place> placeOf(Context &cx, const QString &written)
{
    const std::optional<QString> local = winpath::local(written);
    if (!local || local->isEmpty())
        return std::nullopt;
    const QString path = QFileInfo(*local).absoluteFilePath();
    if (QFileInfo::exists(path))
        return diskPlace(path);
    // Walk up to an archive file, then find the rest inside it.
    for (QString file = path; file.contains(QLatin1Char('/')) && file != QLatin1String("/"); file = QFileInfo(file).path()) {
        if (!QFileInfo(file).isFile())
            continue;
        if (!archive::isArchive(file))
            return std::nullopt;
        const QString inner = path.mid(file.size() + 1);
        QList<archive::Entry> entries;
        QString error;
        if (!archive::list(file, entries, error, spender(cx)))
            return std::nullopt;
        for (const archive::Entry &e : entries)
            if (e.path.compare(inner, Qt::CaseInsensitive) == 0)
                return archivePlace(file, e);
        return std::nullopt;
    }
    return std::nullopt;
}

QString errorText(const QString &what, const QString &why)
{
    return why.isEmpty() ? what : QStringLiteral("%1: %2").arg(what, why);
}

// Starts a program detached; false when it could not start.
bool launch(const QStringList &program, const QString &folder = QString())
{
    if (program.isEmpty())
        return false;
    const QStringList resolved = platform::processes::resolveProgram(program.first());
    if (resolved.isEmpty())
        return false;
    return QProcess::startDetached(resolved.first(), resolved.mid(1) + program.mid(1),
                                   folder.isEmpty() ? QDir::currentPath() : folder);
}

// Opens a file, folder or address with the desktop's opener, as a double click would.
bool openWithDesktop(const QString &target)
{
    return launch({QStringLiteral("xdg-open"), target});
}

class Folder;
class FolderItem;
class FolderItems;
Value folderValue(const Place &place);

// ---- FolderItem ----------------------------------------------------------------------------

class FolderItem : public Object {
public:
    explicit FolderItem(Place place) : m_place(std::move(place)) {}
    const Place &place() const { return m_place; }
    QString typeName() const override { return QStringLiteral("FolderItem2"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Name", "Path", "Size", "Type", "ModifyDate", "IsFolder", "IsFileSystem",
                                         "IsLink", "IsBrowsable", "GetFolder", "Parent", "InvokeVerb", "InvokeVerbEx",
                                         "ExtendedProperty"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) override
    {
        if (kind & (InvokeLet | InvokeSet))
            return cx.raise(err::NoSuchMember);
        const QFileInfo info(m_place.path);
        switch (id) {
        case DefaultMember:
        case 1: result = Value::string(m_place.inArchive() ? QFileInfo(m_place.inner).fileName() : info.fileName()); return true;
        case 2: result = Value::string(m_place.path); return true;
        case 3: result = Value::lng(int32_t(qMin<qint64>(m_place.size, INT32_MAX))); return true;
        case 4: result = Value::string(typeText()); return true;
        case 5: result = m_place.modified.isValid() ? Value::date(dateOf(m_place.modified)) : Value::date(0); return true;
        case 6: result = Value::boolean(m_place.opensAsFolder()); return true;
        case 7: result = Value::boolean(!m_place.inArchive()); return true;
        case 8: result = Value::boolean(!m_place.inArchive() && info.isSymLink()); return true;
        case 9: result = Value::boolean(m_place.opensAsFolder()); return true;
        case 10: // GetFolder: the folder this item is, Nothing for a file
            result = m_place.opensAsFolder() ? folderValue(m_place.inArchive() || m_place.isFolder ? m_place : archiveTop(m_place.path))
                                             : Value::object(nullptr);
            return true;
        case 11: {
            const std::optional<Place> parent = parentOf(m_place);
            result = parent ? folderValue(*parent) : Value::object(nullptr);
            return true;
        }
        case 12:
        case 13: {
            QString verb;
            if (args.count > 0 && !toText(cx, args[0], verb))
                return false;
            return invokeVerb(cx, verb.remove(QLatin1Char('&')).toLower());
        }
        default: { // ExtendedProperty(name): the few that scripts ask for
            QString name;
            if (args.count != 1 || !toText(cx, args[0], name))
                return cx.raiseUnlessPending(err::WrongArgs);
            const QString n = name.toLower();
            if (n == QLatin1String("size"))
                result = Value::dbl(double(m_place.size));
            else if (n == QLatin1String("system.datemodified") || n == QLatin1String("modifydate"))
                result = Value::date(dateOf(m_place.modified));
            else
                result = Value();
            return true;
        }
        }
    }

private:
    QString typeText() const
    {
        if (m_place.isFolder)
            return QStringLiteral("File folder");
        static const QMimeDatabase mimes;
        return m_place.inArchive() ? mimes.mimeTypeForFile(m_place.inner, QMimeDatabase::MatchExtension).comment()
                                   : mimes.mimeTypeForFile(m_place.path).comment();
    }
    bool invokeVerb(Context &cx, const QString &verb)
    {
        if (verb.isEmpty() || verb == QLatin1String("open") || verb == QLatin1String("explore") || verb == QLatin1String("edit")) {
            if (m_place.inArchive())
                return cx.raise(err::InvalidCall, QStringLiteral("Copy \"%1\" out of its archive to open it").arg(m_place.inner));
            return openWithDesktop(m_place.path) || cx.raise(err::FileNotFound, QStringLiteral("No program opens %1").arg(m_place.path));
        }
        if (verb == QLatin1String("print") && !m_place.inArchive())
            return launch({QStringLiteral("lp"), m_place.path}) || cx.raise(err::FileNotFound, QStringLiteral("There is no printing command (lp)"));
        return true; // a verb the item does not have: nothing happens, as on Windows
    }

    Place m_place;
};

// ---- FolderItems ---------------------------------------------------------------------------

class FolderItems : public Object {
public:
    explicit FolderItems(QList<Place> places) : m_places(std::move(places)) {}
    const QList<Place> &places() const { return m_places; }
    QString typeName() const override { return QStringLiteral("FolderItems3"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Count", "Item"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) override
    {
        if (kind & (InvokeLet | InvokeSet))
            return cx.raise(err::NoSuchMember);
        if (id == 1) {
            result = Value::lng(int32_t(m_places.size()));
            return true;
        }
        Value key;
        if (args.count > 1 || (args.count == 1 && !valueOf(cx, args[0], key)))
            return cx.raiseUnlessPending(err::WrongArgs);
        if (args.count == 0) { // Item(): the folder itself
            result = Value::object(nullptr);
            return true;
        }
        if (key.isNumeric()) {
            int32_t i;
            if (!toLong(cx, key, i))
                return false;
            result = i >= 0 && i < m_places.size() ? Value::object(new FolderItem(m_places[i])) : Value::object(nullptr);
            return true;
        }
        QString name;
        if (!toText(cx, key, name))
            return false;
        result = Value::object(nullptr);
        for (const Place &p : m_places)
            if (QFileInfo(p.path).fileName().compare(name, Qt::CaseInsensitive) == 0)
                result = Value::object(new FolderItem(p));
        return true;
    }
    bool enumerate(Context &, std::vector<Value> &items) override
    {
        for (const Place &p : m_places)
            items.push_back(Value::object(new FolderItem(p)));
        return true;
    }

private:
    QList<Place> m_places;
};

// ---- Folder --------------------------------------------------------------------------------

// What CopyHere and MoveHere are given: a path (wildcards allowed in its last part), a
// FolderItem or FolderItems.
bool sourcesOf(Context &cx, const Value &given, QList<Place> &out)
{
    if (given.type() == VType::Object && given.asObject()) {
        if (auto *item = dynamic_cast<FolderItem *>(given.asObject())) {
            out << item->place();
            return true;
        }
        if (auto *items = dynamic_cast<FolderItems *>(given.asObject())) {
            out << items->places();
            return true;
        }
    }
    Value v;
    if (!valueOf(cx, given, v))
        return false;
    QString written;
    if (!toText(cx, v, written))
        return false;
    for (const QString &one : written.split(QChar(0), Qt::SkipEmptyParts)) {
        const QString name = winpath::fileName(one);
        if (name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'))) {
            const std::optional<QString> folder = winpath::local(winpath::parentFolder(one));
            if (!folder)
                continue;
            const QDir dir(folder->isEmpty() ? QStringLiteral(".") : *folder);
            for (const QFileInfo &info : dir.entryInfoList({name}, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name))
                out << diskPlace(info.absoluteFilePath());
            continue;
        }
        const std::optional<Place> place = placeOf(cx, one);
        if (cx.hasError())
            return false;
        if (!place)
            return cx.raise(err::FileNotFound, QStringLiteral("Cannot find \"%1\"").arg(one));
        out << *place;
    }
    return true;
}

// A copy on disk, its outcome raised as Windows' error where it is one.
bool copyOnDisk(Context &cx, const QFileInfo &from, const QString &to)
{
    QString error;
    switch (filecopy::copy(from, to, error, [&cx](qint64 work) { return cx.spend(work); })) {
    case filecopy::Outcome::Copied:
    case filecopy::Outcome::Itself: return true;
    case filecopy::Outcome::Stopped: return false;
    case filecopy::Outcome::IntoItself:
        return cx.raise(err::PermissionDenied, QStringLiteral("Cannot copy \"%1\" into itself").arg(from.absoluteFilePath()));
    default:
        return cx.raise(err::PermissionDenied,
                        errorText(QStringLiteral("Cannot copy \"%1\" to \"%2\"").arg(from.absoluteFilePath(), to), error));
    }
}

// Removes a moved file or folder; a link goes, never what it points to.
bool removeOnDisk(const QString &path)
{
    const QFileInfo info(path);
    return info.isDir() && !info.isSymLink() ? QDir(path).removeRecursively() : QFile::remove(path);
}

class Folder : public Object {
public:
    explicit Folder(Place place) : m_place(std::move(place)) {}
    QString typeName() const override { return QStringLiteral("Folder3"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Title", "Self", "ParentFolder", "Items", "ParseName", "CopyHere", "MoveHere",
                                         "NewFolder", "GetDetailsOf"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) override
    {
        if (kind & (InvokeLet | InvokeSet))
            return cx.raise(err::NoSuchMember);
        switch (id) {
        case DefaultMember:
        case 1:
            result = Value::string(m_place.inArchive() && !m_place.inner.isEmpty() ? QFileInfo(m_place.inner).fileName()
                                   : m_place.path == QLatin1String("/") ? m_place.path : QFileInfo(m_place.path).fileName());
            return true;
        case 2: result = Value::object(new FolderItem(m_place)); return true;
        case 3: {
            const std::optional<Place> parent = parentOf(m_place);
            result = parent ? folderValue(*parent) : Value::object(nullptr);
            return true;
        }
        case 4: {
            QList<Place> places;
            if (!children(cx, places))
                return false;
            result = Value::object(new FolderItems(std::move(places)));
            return true;
        }
        case 5: {
            QString name;
            if (args.count != 1 || !toText(cx, args[0], name))
                return cx.raiseUnlessPending(err::WrongArgs);
            QList<Place> places;
            if (!children(cx, places))
                return false;
            result = Value::object(nullptr);
            for (const Place &p : places)
                if (QFileInfo(p.path).fileName().compare(name, Qt::CaseInsensitive) == 0)
                    result = Value::object(new FolderItem(p));
            return true;
        }
        case 6:
        case 7: {
            if (args.count < 1 || args.count > 2)
                return cx.raise(err::WrongArgs);
            QList<Place> sources;
            return sourcesOf(cx, args[0], sources) && copyHere(cx, sources, id == 7);
        }
        case 8: {
            QString name;
            if (args.count < 1 || !toText(cx, args[0], name))
                return cx.raiseUnlessPending(err::WrongArgs);
            if (m_place.inArchive())
                return cx.raise(err::InvalidCall, QStringLiteral("New folders are made on disk, not inside an archive"));
            return QDir(m_place.path).mkpath(name) || cx.raise(err::PermissionDenied, QStringLiteral("Cannot make the folder \"%1\"").arg(name));
        }
        default: { // GetDetailsOf(item, column): 0 name, 1 size, 2 type, 3 date modified
            int32_t column;
            if (args.count != 2 || !toLong(cx, args[1], column))
                return cx.raiseUnlessPending(err::WrongArgs);
            auto *folderItem = args[0].type() == VType::Object ? dynamic_cast<FolderItem *>(args[0].asObject()) : nullptr;
            static const char *const headings[] = {"Name", "Size", "Item type", "Date modified"};
            if (!folderItem) {
                result = Value::string(column >= 0 && column < 4 ? QString::fromLatin1(headings[column]) : QString());
                return true;
            }
            static const char *const members[] = {"Name", "Size", "Type", "ModifyDate"};
            if (column < 0 || column > 3) {
                result = Value::string(QString());
                return true;
            }
            Value v;
            if (!folderItem->invoke(cx, folderItem->memberId(QString::fromLatin1(members[column])), InvokeGet, Args(), v))
                return false;
            if (column == 1)
                v = Value::string(folderItem->place().isFolder ? QString() : QLocale().formattedDataSize(folderItem->place().size));
            QString text;
            if (!toText(cx, v, text))
                return false;
            result = Value::string(text);
            return true;
        }
        }
    }

private:
    bool children(Context &cx, QList<Place> &out) const
    {
        if (!m_place.inArchive()) {
            for (const QFileInfo &info : QDir(m_place.path).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System,
                                                                        QDir::DirsFirst | QDir::Name | QDir::IgnoreCase)) {
                if (!cx.spend(64))
                    return false;
                out << diskPlace(info.absoluteFilePath());
            }
            return true;
        }
        QList<archive::Entry> entries;
        QString error;
        if (!archive::list(m_place.archive, entries, error, spender(cx)))
            return cx.hasError() || cx.raise(err::PathFileAccess, errorText(QStringLiteral("Cannot read \"%1\"").arg(m_place.archive), error));
        const QString prefix = m_place.inner.isEmpty() ? QString() : m_place.inner + QLatin1Char('/');
        for (const archive::Entry &e : entries)
            if (e.path.startsWith(prefix) && !e.path.mid(prefix.size()).contains(QLatin1Char('/')))
                out << archivePlace(m_place.archive, e);
        return true;
    }

    bool copyHere(Context &cx, const QList<Place> &sources, bool move)
    {
        QString error;
        if (m_place.inArchive()) { // into an archive: files on disk only, at its top
            if (!m_place.inner.isEmpty())
                return cx.raise(err::InvalidCall, QStringLiteral("Files go into an archive at its top folder"));
            QStringList files;
            const QString archive = filecopy::realPath(m_place.archive);
            for (const Place &s : sources) {
                if (s.inArchive())
                    return cx.raise(err::InvalidCall, QStringLiteral("Copy \"%1\" out of its archive first").arg(s.inner));
                if (filecopy::within(archive, filecopy::realPath(s.path)))
                    return cx.raise(err::InvalidCall, QStringLiteral("Cannot put \"%1\" into an archive inside it").arg(s.path));
                files << s.path;
            }
            if (!archive::update(m_place.archive, files, {}, error, spender(cx)))
                return cx.hasError() || cx.raise(err::PermissionDenied, errorText(QStringLiteral("Cannot write \"%1\"").arg(m_place.archive), error));
            for (const QString &file : files)
                if (move)
                    removeOnDisk(file);
            return true;
        }
        // Into a folder on disk; entries of one archive come out together.
        QMap<QString, QStringList> fromArchives;
        for (const Place &s : sources) {
            if (s.inArchive()) {
                fromArchives[s.archive] << s.inner;
                continue;
            }
            // "folder\." and "folder\" name the folder itself; the root has no name and
            // everything is inside it.
            const QFileInfo from(QDir::cleanPath(QFileInfo(s.path).absoluteFilePath()));
            const QString target = QDir(m_place.path).filePath(from.fileName());
            if (filecopy::isItself(from, target))
                continue; // onto itself: nothing to do, and nothing to remove after a move
            if (move && !QFileInfo(target).exists() && !QFileInfo(target).isSymLink()
                && ::rename(QFile::encodeName(from.absoluteFilePath()).constData(), QFile::encodeName(target).constData()) == 0)
                continue;
            if (!copyOnDisk(cx, from, target) || (move && !removeOnDisk(from.absoluteFilePath()) && cx.raise(err::PermissionDenied)))
                return false;
        }
        for (auto a = fromArchives.cbegin(); a != fromArchives.cend(); ++a) {
            if (!archive::extract(a.key(), a.value(), m_place.path, true, error, spender(cx)))
                return cx.hasError() || cx.raise(err::PermissionDenied, errorText(QStringLiteral("Cannot copy out of \"%1\"").arg(a.key()), error));
            if (move && !archive::update(a.key(), {}, a.value(), error, spender(cx)))
                return cx.hasError() || cx.raise(err::PermissionDenied, errorText(QStringLiteral("Cannot write \"%1\"").arg(a.key()), error));
        }
        return true;
    }

    Place m_place;
};

Value folderValue(const Place &place)
{
    return Value::object(new Folder(place));
}

// A folder a script names: a path (into an archive too) or a special folder's number;
// nothing when there is no such folder. False when an error was raised.
bool folderNamed(Context &cx, const Value &given, std::optional<Place> &out)
{
    out.reset();
    Value v;
    if (!valueOf(cx, given, v))
        return false;
    QString path;
    if (v.isNumeric()) {
        int32_t csidl;
        if (!toLong(cx, v, csidl))
            return false;
        path = shellenv::specialFolder(csidl);
    } else if (!toText(cx, v, path)) {
        return false;
    }
    if (path.isEmpty())
        return true;
    const std::optional<Place> place = placeOf(cx, path);
    if (cx.hasError())
        return false;
    if (place && place->opensAsFolder())
        out = place->inArchive() || place->isFolder ? *place : archiveTop(place->path);
    return true;
}

// Namespace(...): the Folder, or Nothing as on Windows.
bool namespaceOf(Context &cx, const Value &given, Value &result)
{
    std::optional<Place> place;
    if (!folderNamed(cx, given, place))
        return false;
    result = place ? folderValue(*place) : Value::object(nullptr);
    return true;
}

// ---- Shell.Application -----------------------------------------------------------------------

enum Member {
    Namespace = 1, BrowseForFolder, ShellExecute, Open, Explore, MinimizeAll, UndoMinimizeAll, Windows,
    IsServiceRunning, ServiceStart, ServiceStop, CanStartStopService, GetSystemInformation
};

class ShellApplication : public Object {
public:
    QString typeName() const override { return QStringLiteral("IShellDispatch6"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Namespace", "BrowseForFolder", "ShellExecute", "Open", "Explore", "MinimizeAll",
                                         "UndoMinimizeALL", "Windows", "IsServiceRunning", "ServiceStart", "ServiceStop",
                                         "CanStartStopService", "GetSystemInformation"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) override
    {
        if (kind & (InvokeLet | InvokeSet))
            return cx.raise(err::NoSuchMember);
        switch (id) {
        case Namespace:
            if (args.count != 1)
                return cx.raise(err::WrongArgs);
            return namespaceOf(cx, args[0], result);
        case BrowseForFolder: return browse(cx, args, result);
        case ShellExecute: return shellExecute(cx, args);
        case Open:
        case Explore: {
            std::optional<Place> folder;
            if (args.count != 1 || !folderNamed(cx, args[0], folder))
                return cx.raiseUnlessPending(err::WrongArgs);
            if (!folder)
                return true; // no such folder: nothing opens, as on Windows
            return openWithDesktop(folder->inArchive() ? folder->archive : folder->path)
                   || cx.raise(err::FileNotFound, QStringLiteral("There is no file manager (xdg-open)"));
        }
        case MinimizeAll: return minimizeAll(true);
        case UndoMinimizeAll: return minimizeAll(false);
        case Windows: // the open Explorer windows: a file manager's windows are not scripts' here
            result = Value::object(new FolderItems({}));
            return true;
        case IsServiceRunning:
        case ServiceStart:
        case ServiceStop: {
            QString name;
            if (args.count < 1 || !toText(cx, args[0], name))
                return cx.raiseUnlessPending(err::WrongArgs);
            if (id == IsServiceRunning)
                result = Value::boolean(systemd::isActive(name));
            else
                result = Value::boolean(systemd::control(name, id == ServiceStart) == 0);
            return true;
        }
        case CanStartStopService:
            result = Value::boolean(systemd::manager() != nullptr);
            return true;
        default: { // GetSystemInformation(name)
            QString name;
            if (args.count != 1 || !toText(cx, args[0], name))
                return cx.raiseUnlessPending(err::WrongArgs);
            const QString n = name.toLower();
            if (n == QLatin1String("physicalmemoryinstalled"))
                result = Value::dbl(double(sysconf(_SC_PHYS_PAGES)) * double(sysconf(_SC_PAGESIZE)));
            else if (n == QLatin1String("processorarchitecture"))
                result = Value::lng(QSysInfo::currentCpuArchitecture() == QLatin1String("x86_64") ? 9 : 12);
            else if (n == QLatin1String("isos_professional") || n == QLatin1String("isos_domainmember"))
                result = Value::boolean(false);
            else
                return cx.raise(err::InvalidCall, QStringLiteral("GetSystemInformation(\"%1\") has no answer here").arg(name));
            return true;
        }
        }
    }

private:
    // BrowseForFolder(hwnd, title, options[, root]): the chosen folder, Nothing on Cancel.
    bool browse(Context &cx, Args args, Value &result)
    {
        QString title;
        if (args.count < 3 || args.count > 4 || !toText(cx, args[1], title))
            return cx.raiseUnlessPending(err::WrongArgs);
        QString root;
        if (args.has(3)) {
            std::optional<Place> start;
            if (!folderNamed(cx, args[3], start))
                return false;
            if (start && !start->inArchive())
                root = start->path;
        }
        std::optional<QString> chosen;
        if (Host *host = cx.host())
            if (!cx.inDialog(*host, [&] { chosen = host->browseForFolder(cx, title, root); }))
                return false;
        result = Value::object(nullptr);
        if (!chosen)
            return true;
        return namespaceOf(cx, Value::string(*chosen), result);
    }

    // ShellExecute(file[, arguments[, folder[, verb[, show]]]])
    bool shellExecute(Context &cx, Args args)
    {
        QString file, arguments, folder, verb;
        if (args.count < 1 || args.count > 5 || !toText(cx, args[0], file) || (args.has(1) && !toText(cx, args[1], arguments))
            || (args.has(2) && !toText(cx, args[2], folder)) || (args.has(3) && !toText(cx, args[3], verb)))
            return cx.raiseUnlessPending(err::WrongArgs);
        file = shellenv::expand(file);
        folder = winpath::local(shellenv::expand(folder)).value_or(QString());
        const QStringList extra = platform::processes::splitCommandLine(shellenv::expand(arguments));
        verb = verb.toLower();
        const bool isAddress = file.contains(QLatin1String("://")) || file.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive);
        const QString local = isAddress ? file : winpath::local(file).value_or(file);
        const QStringList program = isAddress ? QStringList() : platform::processes::resolveProgram(local);
        const bool runs = !program.isEmpty() && !QFileInfo(local).isDir();
        bool started;
        if (verb == QLatin1String("runas") && runs)
            started = launch(QStringList{QStringLiteral("pkexec")} + program + extra, folder);
        else if (verb == QLatin1String("print"))
            started = launch({QStringLiteral("lp"), local}, folder);
        else if (runs && (verb.isEmpty() || verb == QLatin1String("open")))
            started = launch(program + extra, folder);
        else if (isAddress || QFileInfo::exists(local))
            started = openWithDesktop(local);
        else
            return cx.raise(err::FileNotFound, QStringLiteral("Windows cannot find '%1'.").arg(file));
        return started || cx.raise(err::FileNotFound, QStringLiteral("No program opens '%1' here").arg(file));
    }

    bool minimizeAll(bool minimize)
    {
        platform::x11::Connection *x = platform::x11::connection();
        if (!x)
            return true; // the platform cannot: nothing happens
        if (minimize) {
            m_minimized.clear();
            for (const platform::x11::WindowInfo &w : x->windows()) {
                x->minimize(w.id);
                m_minimized << w.id;
            }
        } else {
            for (const unsigned long id : std::as_const(m_minimized))
                x->activate(id);
            m_minimized.clear();
        }
        return true;
    }

    QList<unsigned long> m_minimized;
};

} // namespace

Object *create()
{
    return new ShellApplication;
}

} // namespace winenv::shellapp
