#include "wshshortcut.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "context.h"
#include "convert.h"
#include "processes.h"
#include "shellenv.h"
#include "winpath.h"

using namespace vbs;

namespace wshshortcut {

namespace {

// A desktop entry's string: \s, \n, \t, \r and \\ escaped.
QString entryString(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\t': out += QLatin1String("\\t"); break;
        case '\r': out += QLatin1String("\\r"); break;
        default: out += c;
        }
    }
    return out;
}

QString unescapeEntryString(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\\') || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const QChar next = text[++i];
        out += next == QLatin1Char('n') ? QChar('\n') : next == QLatin1Char('t') ? QChar('\t')
             : next == QLatin1Char('r') ? QChar('\r') : next == QLatin1Char('s') ? QChar(' ') : next;
    }
    return out;
}

// One argument of an Exec line, quoted as desktop entries want it.
QString execArgument(const QString &argument)
{
    QString out = argument;
    out.replace(QLatin1String("%"), QLatin1String("%%"));
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    if (std::none_of(out.begin(), out.end(), [](QChar c) { return reserved.contains(c); }) && !out.isEmpty())
        return out;
    QString quoted;
    for (const QChar c : out) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// A file's lines as key=value pairs (in its first group), keys as written.
QList<QPair<QString, QString>> readPairs(const QString &path)
{
    QList<QPair<QString, QString>> pairs;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return pairs;
    bool inGroup = false;
    for (QString line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            if (inGroup)
                break;
            inGroup = true;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (inGroup && eq > 0 && !line.startsWith(QLatin1Char('#')))
            pairs.append({line.left(eq).trimmed(), line.mid(eq + 1).trimmed()});
    }
    return pairs;
}

QString valueOf(const QList<QPair<QString, QString>> &pairs, const QString &key)
{
    for (const auto &p : pairs)
        if (p.first.compare(key, Qt::CaseInsensitive) == 0)
            return p.second;
    return QString();
}

bool writeFile(Context &cx, const QString &path, const QString &text, bool executable)
{
    QSaveFile file(path);
    const QByteArray bytes = text.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return cx.raise(err::PermissionDenied, QStringLiteral("Unable to save shortcut \"%1\": %2").arg(path, file.errorString()));
    if (executable) // desktops launch only entries that may be run
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
    return true;
}

// WshShortcut (.lnk) and WshURLShortcut (.url).
class Shortcut : public Object {
public:
    Shortcut(const QString &scriptPath, const QString &file, bool url) : m_fullName(scriptPath), m_file(file), m_url(url)
    {
        load();
    }
    QString typeName() const override { return m_url ? QStringLiteral("IWshURLShortcut") : QStringLiteral("IWshShortcut"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"FullName", "TargetPath", "Arguments", "WorkingDirectory", "IconLocation",
                                         "Description", "WindowStyle", "Hotkey", "Save", "RelativePath", "Load"};
        const int id = members.id(name);
        return m_url && id != 1 && id != 2 && id != 9 && id != 11 ? NoMember : id;
    }
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) override
    {
        if (id == DefaultMember)
            id = 1; // FullName
        if (id < 1 || id > 11)
            return cx.raise(err::NoSuchMember);
        if (id == 9)
            return save(cx);
        if (id == 11)
            return load(), true;
        if (id == 1) {
            if (kind & (InvokeLet | InvokeSet))
                return cx.raise(err::NoSuchMember);
            result = Value::string(m_fullName);
            return true;
        }
        QString &field = m_fields[id];
        if (kind & InvokeLet) {
            if (id == 7) {
                int32_t style;
                if (args.count != 1 || !toLong(cx, args[0], style))
                    return cx.raiseUnlessPending(err::WrongArgs);
                field = QString::number(style);
                return true;
            }
            return args.count == 1 ? toText(cx, args[0], field) : cx.raiseUnlessPending(err::WrongArgs);
        }
        if (kind & InvokeSet)
            return cx.raise(err::NoSuchMember);
        if (id == 7)
            result = Value::lng(field.isEmpty() ? 1 : field.toInt());
        else
            result = Value::string(field);
        return true;
    }

private:
    enum { Target = 2, Arguments = 3, WorkingDirectory = 4, Icon = 5, Description = 6, Style = 7, Hotkey = 8 };

    // Where the shortcut lives on disk: the .desktop twin of a .lnk.
    QString diskPath() const
    {
        return m_url ? m_file : m_file.chopped(4) + QLatin1String(".desktop");
    }

    void load()
    {
        const auto pairs = readPairs(diskPath());
        if (m_url) {
            m_fields[Target] = valueOf(pairs, QStringLiteral("URL"));
            return;
        }
        // Our own keys give back exactly what was saved; another program's entry gives its
        // Exec line as the target.
        const auto field = [&](const char *own, const char *standard) {
            const QString value = valueOf(pairs, QString::fromLatin1(own));
            return unescapeEntryString(value.isEmpty() && standard ? valueOf(pairs, QString::fromLatin1(standard)) : value);
        };
        m_fields[Target] = field("X-Windows-TargetPath", "Exec");
        m_fields[Arguments] = field("X-Windows-Arguments", nullptr);
        m_fields[WorkingDirectory] = field("Path", nullptr);
        m_fields[Icon] = field("X-Windows-IconLocation", "Icon");
        m_fields[Description] = field("Comment", nullptr);
        m_fields[Style] = field("X-Windows-WindowStyle", nullptr);
        m_fields[Hotkey] = field("X-Windows-Hotkey", nullptr);
    }

    bool save(Context &cx)
    {
        if (!QFileInfo(QFileInfo(diskPath()).absolutePath()).isDir())
            return cx.raise(err::PathNotFound, QStringLiteral("Unable to save shortcut \"%1\": the folder does not exist").arg(m_fullName));
        if (m_url)
            return writeFile(cx, diskPath(), QStringLiteral("[InternetShortcut]\r\nURL=%1\r\n").arg(m_fields[Target]), false);
        const QString target = winenv::shellenv::expand(m_fields[Target]);
        // A program runs with its arguments; anything else (a folder, a document) opens with
        // the desktop's opener, as double-clicking it would.
        const QString local = winpath::local(target).value_or(target);
        QStringList program = platform::processes::resolveProgram(local);
        // A program on PATH stays a name, found again when the entry starts.
        if (!local.contains(QLatin1Char('/')) && !QStandardPaths::findExecutable(local).isEmpty())
            program = QStringList{local};
        const bool runs = !program.isEmpty() && !QFileInfo(local).isDir();
        QStringList exec;
        for (const QString &part : runs ? program : QStringList{QStringLiteral("xdg-open"), local})
            exec << execArgument(part);
        for (const QString &argument : platform::processes::splitCommandLine(winenv::shellenv::expand(m_fields[Arguments])))
            exec << execArgument(argument);
        QString icon = m_fields[Icon];
        if (const qsizetype comma = icon.lastIndexOf(QLatin1Char(',')); comma > 0)
            icon = icon.left(comma); // "file,index": desktop icons have no index
        QString text = QStringLiteral("[Desktop Entry]\nType=Application\nVersion=1.0\n");
        text += QStringLiteral("Name=%1\n").arg(entryString(QFileInfo(m_file).completeBaseName()));
        text += QStringLiteral("Exec=%1\n").arg(entryString(exec.join(QLatin1Char(' '))));
        const auto line = [&text](const char *key, const QString &value) {
            if (!value.isEmpty())
                text += QStringLiteral("%1=%2\n").arg(QString::fromLatin1(key), entryString(value));
        };
        line("Path", winpath::local(winenv::shellenv::expand(m_fields[WorkingDirectory])).value_or(QString()));
        line("Icon", winpath::local(winenv::shellenv::expand(icon)).value_or(QString()));
        line("Comment", m_fields[Description]);
        line("X-Windows-TargetPath", m_fields[Target]);
        line("X-Windows-Arguments", m_fields[Arguments]);
        line("X-Windows-IconLocation", m_fields[Icon]);
        line("X-Windows-WindowStyle", m_fields[Style]);
        line("X-Windows-Hotkey", m_fields[Hotkey]);
        return writeFile(cx, diskPath(), text, true);
    }

    QString m_fullName;
    QString m_file; // the local name of the path as given
    bool m_url;
    QString m_fields[12]; // by member id: Target .. Hotkey, and RelativePath (10)
};

} // namespace

Object *create(Context &cx, const QString &path)
{
    const std::optional<QString> local = winpath::local(path);
    const QString lower = path.toLower();
    if (!local || (!lower.endsWith(QLatin1String(".lnk")) && !lower.endsWith(QLatin1String(".url")))) {
        cx.raise(err::InvalidCall, QStringLiteral("The shortcut pathname must end with .lnk or .url."));
        return nullptr;
    }
    return new Shortcut(QFileInfo(*local).absoluteFilePath(), QFileInfo(*local).absoluteFilePath(), lower.endsWith(QLatin1String(".url")));
}

} // namespace wshshortcut
