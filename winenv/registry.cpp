#include "registry.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSysInfo>
#include <map>

#include "convert.h"
#include "shellenv.h"

using namespace vbs;

namespace winenv::registry {

namespace {

constexpr int32_t NotFound = int32_t(0x80070002);
constexpr int32_t AccessDenied = int32_t(0x80070005);

struct Entry {
    QString name; // as written; "" is the key's default value
    QString type; // REG_SZ, REG_EXPAND_SZ, REG_DWORD, REG_BINARY, REG_MULTI_SZ
    QVariant data;
};

struct Key {
    QString name; // the full path as written, root spelled out
    std::map<QString, Entry> values; // by lower-case name
};

using Store = std::map<QString, Key>; // by lower-case full path

struct Path {
    QString key;   // HKEY_CURRENT_USER\Software\App
    QString value; // Name; "" for the default value
    bool valid = false;
};

Path parse(const QString &written)
{
    static const QList<QPair<QString, QString>> roots{
        {"HKCU", "HKEY_CURRENT_USER"}, {"HKEY_CURRENT_USER", "HKEY_CURRENT_USER"},
        {"HKLM", "HKEY_LOCAL_MACHINE"}, {"HKEY_LOCAL_MACHINE", "HKEY_LOCAL_MACHINE"},
        {"HKCR", "HKEY_CLASSES_ROOT"}, {"HKEY_CLASSES_ROOT", "HKEY_CLASSES_ROOT"},
        {"HKU", "HKEY_USERS"}, {"HKEY_USERS", "HKEY_USERS"},
        {"HKCC", "HKEY_CURRENT_CONFIG"}, {"HKEY_CURRENT_CONFIG", "HKEY_CURRENT_CONFIG"}};
    Path p;
    const QString root = written.section(QLatin1Char('\\'), 0, 0);
    for (const auto &r : roots)
        if (root.compare(r.first, Qt::CaseInsensitive) == 0) {
            p.valid = true;
            const QString rest = written.section(QLatin1Char('\\'), 1);
            const qsizetype last = rest.lastIndexOf(QLatin1Char('\\'));
            p.key = r.second + (last < 0 ? QString() : QLatin1Char('\\') + rest.left(last));
            p.value = last < 0 ? rest : rest.mid(last + 1);
            if (rest.isEmpty() || written.endsWith(QLatin1Char('\\'))) { // a key: its default value
                p.key = r.second + (rest.isEmpty() ? QString() : QLatin1Char('\\') + rest.chopped(rest.endsWith(QLatin1Char('\\')) ? 1 : 0));
                p.value.clear();
            }
        }
    return p;
}

// ---- the store's file --------------------------------------------------------------------

QString quoted(const QString &s)
{
    QString out = s;
    out.replace(QLatin1String("\\"), QLatin1String("\\\\")).replace(QLatin1String("\""), QLatin1String("\\\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

QString hexBytes(const QByteArray &bytes)
{
    QStringList parts;
    for (const char b : bytes)
        parts << QStringLiteral("%1").arg(uchar(b), 2, 16, QLatin1Char('0'));
    return parts.join(QLatin1Char(','));
}

QByteArray fromHex(const QString &text)
{
    QByteArray out;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
        out += char(part.trimmed().toUInt(nullptr, 16));
    return out;
}

// A quoted .reg string at `from`: its text, and where it ends.
QString unquote(const QString &line, qsizetype &at)
{
    QString out;
    for (++at; at < line.size() && line[at] != QLatin1Char('"'); ++at) {
        if (line[at] == QLatin1Char('\\') && at + 1 < line.size())
            ++at;
        out += line[at];
    }
    ++at;
    return out;
}

Store load()
{
    Store store;
    QFile file(storePath());
    if (!file.open(QIODevice::ReadOnly))
        return store;
    Key *current = nullptr;
    for (QString line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = line.mid(1, line.size() - 2);
            current = &store[name.toLower()];
            current->name = name;
            continue;
        }
        if (!current || line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        Entry e;
        qsizetype at = 0;
        if (line.startsWith(QLatin1Char('@'))) {
            at = 1;
        } else if (line.startsWith(QLatin1Char('"'))) {
            e.name = unquote(line, at);
        } else {
            continue;
        }
        if (at >= line.size() || line[at] != QLatin1Char('='))
            continue;
        const QString data = line.mid(at + 1);
        if (data.startsWith(QLatin1Char('"'))) {
            qsizetype from = 0;
            e.type = QStringLiteral("REG_SZ");
            e.data = unquote(data, from);
        } else if (data.startsWith(QLatin1String("dword:"))) {
            e.type = QStringLiteral("REG_DWORD");
            e.data = qint32(data.mid(6).toUInt(nullptr, 16));
        } else if (data.startsWith(QLatin1String("hex(2):"))) {
            e.type = QStringLiteral("REG_EXPAND_SZ");
            const QByteArray bytes = fromHex(data.mid(7));
            e.data = QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()), bytes.size() / 2).section(QChar(0), 0, 0);
        } else if (data.startsWith(QLatin1String("hex(7):"))) {
            e.type = QStringLiteral("REG_MULTI_SZ");
            const QByteArray bytes = fromHex(data.mid(7));
            QStringList items = QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()), bytes.size() / 2).split(QChar(0));
            while (!items.isEmpty() && items.last().isEmpty())
                items.removeLast();
            e.data = items;
        } else if (data.startsWith(QLatin1String("hex:"))) {
            e.type = QStringLiteral("REG_BINARY");
            e.data = fromHex(data.mid(4));
        } else {
            continue;
        }
        current->values[e.name.toLower()] = e;
    }
    return store;
}

bool save(Context &cx, const Store &store)
{
    QString text = QStringLiteral("Windows Registry Editor Version 5.00\n");
    for (const auto &[lower, key] : store) {
        text += QStringLiteral("\n[") + key.name + QStringLiteral("]\n");
        for (const auto &[valueLower, e] : key.values) {
            text += e.name.isEmpty() ? QStringLiteral("@=") : quoted(e.name) + QLatin1Char('=');
            if (e.type == QLatin1String("REG_DWORD")) {
                text += QStringLiteral("dword:%1").arg(e.data.toUInt(), 8, 16, QLatin1Char('0'));
            } else if (e.type == QLatin1String("REG_BINARY")) {
                text += QStringLiteral("hex:") + hexBytes(e.data.toByteArray());
            } else if (e.type == QLatin1String("REG_EXPAND_SZ")) {
                const QString s = e.data.toString() + QChar(0);
                text += QStringLiteral("hex(2):") + hexBytes(QByteArray(reinterpret_cast<const char *>(s.utf16()), s.size() * 2));
            } else if (e.type == QLatin1String("REG_MULTI_SZ")) {
                const QString s = e.data.toStringList().join(QChar(0)) + QChar(0) + QChar(0);
                text += QStringLiteral("hex(7):") + hexBytes(QByteArray(reinterpret_cast<const char *>(s.utf16()), s.size() * 2));
            } else {
                text += quoted(e.data.toString());
            }
            text += QLatin1Char('\n');
        }
    }
    QDir().mkpath(QFileInfo(storePath()).absolutePath());
    QSaveFile file(storePath());
    const QByteArray bytes = text.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return cx.raise(AccessDenied, QStringLiteral("The registry store %1 cannot be written: %2").arg(storePath(), file.errorString()));
    return true;
}

// ---- what the system answers -------------------------------------------------------------

std::optional<QString> systemValue(const QString &key, const QString &value)
{
    const QString k = key.toLower(), v = value.toLower();
    if (k == QLatin1String("hkey_local_machine\\software\\microsoft\\windows nt\\currentversion")) {
        const QString kernel = QSysInfo::kernelVersion();
        if (v == QLatin1String("productname"))
            return QSysInfo::prettyProductName();
        if (v == QLatin1String("currentversion"))
            return kernel.section(QLatin1Char('.'), 0, 1);
        if (v == QLatin1String("currentbuild") || v == QLatin1String("currentbuildnumber"))
            return kernel.section(QLatin1Char('.'), 2).section(QLatin1Char('-'), 0, 0);
        if (v == QLatin1String("registeredowner"))
            return shellenv::userName();
        if (v == QLatin1String("systemroot"))
            return QStringLiteral("/");
        if (v == QLatin1String("editionid"))
            return QSysInfo::productType();
    }
    if (k == QLatin1String("hkey_current_user\\software\\microsoft\\windows\\currentversion\\explorer\\shell folders")
        || k == QLatin1String("hkey_current_user\\software\\microsoft\\windows\\currentversion\\explorer\\user shell folders")) {
        static const QList<QPair<QString, QString>> folders{
            {"desktop", "Desktop"}, {"personal", "MyDocuments"}, {"appdata", "AppData"}, {"local appdata", "LocalAppData"},
            {"startup", "Startup"}, {"programs", "Programs"}, {"start menu", "StartMenu"}, {"fonts", "Fonts"},
            {"templates", "Templates"}, {"my music", "MyMusic"}, {"my pictures", "MyPictures"}, {"my video", "MyVideos"},
            {"recent", "Recent"}, {"{374de290-123f-4565-9164-39c4925e467b}", "Downloads"}};
        for (const auto &f : folders)
            if (v == f.first)
                return shellenv::specialFolder(f.second);
    }
    if ((k == QLatin1String("hkey_local_machine\\system\\currentcontrolset\\control\\computername\\computername")
         || k == QLatin1String("hkey_local_machine\\system\\currentcontrolset\\control\\computername\\activecomputername"))
        && v == QLatin1String("computername"))
        return shellenv::computerName();
    if (k == QLatin1String("hkey_current_user\\environment")
        || k == QLatin1String("hkey_local_machine\\system\\currentcontrolset\\control\\session manager\\environment"))
        return shellenv::variable(value);
    if (k == QLatin1String("hkey_current_user\\volatile environment"))
        return shellenv::variable(value);
    return std::nullopt;
}

bool isSystemKey(const QString &key)
{
    const QString k = key.toLower();
    return k.startsWith(QLatin1String("hkey_local_machine\\software\\microsoft\\windows nt\\currentversion"))
           || k.startsWith(QLatin1String("hkey_current_user\\software\\microsoft\\windows\\currentversion\\explorer\\shell folders"))
           || k.startsWith(QLatin1String("hkey_current_user\\software\\microsoft\\windows\\currentversion\\explorer\\user shell folders"))
           || k.startsWith(QLatin1String("hkey_local_machine\\system\\currentcontrolset\\control\\computername"));
}


} // namespace

QString storePath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!QDir::isAbsolutePath(config))
        config = QDir::homePath() + QLatin1String("/.config");
    return config + QLatin1String("/vornix-coder/registry.reg");
}

bool read(Context &cx, const QString &written, Value &result)
{
    const Path p = parse(written);
    if (!p.valid)
        return cx.raise(NotFound, QStringLiteral("Invalid root in registry key \"%1\".").arg(written));
    if (const std::optional<QString> answer = systemValue(p.key, p.value)) {
        result = Value::string(*answer);
        return true;
    }
    const Store store = load();
    const auto key = store.find(p.key.toLower());
    const auto entry = key == store.end() ? std::map<QString, Entry>::const_iterator() : key->second.values.find(p.value.toLower());
    if (key == store.end() || entry == key->second.values.end()) {
        // A key that exists reads its default value as "", as Windows gives.
        if (key != store.end() && p.value.isEmpty()) {
            result = Value::string(QString());
            return true;
        }
        return cx.raise(NotFound, QStringLiteral("Unable to open registry key \"%1\" for reading.").arg(written));
    }
    const Entry &e = entry->second;
    if (e.type == QLatin1String("REG_DWORD")) {
        result = Value::lng(e.data.toInt());
    } else if (e.type == QLatin1String("REG_EXPAND_SZ")) {
        result = Value::string(shellenv::expand(e.data.toString()));
    } else if (e.type == QLatin1String("REG_BINARY")) {
        std::vector<Value> bytes;
        for (const char b : e.data.toByteArray())
            bytes.push_back(Value::lng(uchar(b)));
        result = Value::array(ArrayData::fromValues(std::move(bytes)));
    } else if (e.type == QLatin1String("REG_MULTI_SZ")) {
        std::vector<Value> items;
        for (const QString &s : e.data.toStringList())
            items.push_back(Value::string(s));
        result = Value::array(ArrayData::fromValues(std::move(items)));
    } else {
        result = Value::string(e.data.toString());
    }
    return true;
}

bool write(Context &cx, const QString &written, const Value &value, const QString &type)
{
    const Path p = parse(written);
    if (!p.valid)
        return cx.raise(NotFound, QStringLiteral("Invalid root in registry key \"%1\".").arg(written));
    if (isSystemKey(p.key))
        return cx.raise(AccessDenied, QStringLiteral("Unable to save registry key \"%1\": this system answers it itself.").arg(written));
    QString t = type.trimmed().toUpper();
    if (t.isEmpty())
        t = value.isNumeric() ? QStringLiteral("REG_DWORD") : QStringLiteral("REG_SZ");
    Entry e;
    e.name = p.value;
    e.type = t;
    if (t == QLatin1String("REG_SZ") || t == QLatin1String("REG_EXPAND_SZ")) {
        QString text;
        if (!toText(cx, value, text))
            return false;
        e.data = text;
    } else if (t == QLatin1String("REG_DWORD")) {
        double d;
        if (!toDouble(cx, value, d))
            return false;
        e.data = qint32(qint64(d));
    } else if (t == QLatin1String("REG_BINARY")) {
        int32_t n;
        if (!toLong(cx, value, n))
            return false;
        QByteArray bytes;
        for (uint32_t u = uint32_t(n); u || bytes.isEmpty(); u >>= 8)
            bytes += char(u & 0xFF);
        e.data = bytes;
    } else {
        return cx.raise(err::TypeMismatch, QStringLiteral("Invalid registry type %1 (RegWrite takes REG_SZ, REG_EXPAND_SZ, "
                                                          "REG_DWORD and REG_BINARY)").arg(type));
    }
    Store store = load();
    // The key and the keys above it exist from now on.
    QString path;
    for (const QString &part : p.key.split(QLatin1Char('\\'))) {
        path += (path.isEmpty() ? QString() : QStringLiteral("\\")) + part;
        Key &k = store[path.toLower()];
        if (k.name.isEmpty())
            k.name = path;
    }
    store[p.key.toLower()].values[p.value.toLower()] = e;
    return save(cx, store);
}

bool remove(Context &cx, const QString &written)
{
    const Path p = parse(written);
    if (!p.valid)
        return cx.raise(NotFound, QStringLiteral("Invalid root in registry key \"%1\".").arg(written));
    if (isSystemKey(p.key))
        return cx.raise(AccessDenied, QStringLiteral("Unable to remove registry key \"%1\".").arg(written));
    Store store = load();
    const QString key = p.key.toLower();
    if (written.endsWith(QLatin1Char('\\'))) { // the key, if it has no keys below it
        if (!store.count(key))
            return cx.raise(NotFound, QStringLiteral("Unable to remove registry key \"%1\".").arg(written));
        for (const auto &[other, k] : store)
            if (other.startsWith(key + QLatin1Char('\\')))
                return cx.raise(AccessDenied, QStringLiteral("Unable to remove registry key \"%1\": it has keys below it.").arg(written));
        store.erase(key);
    } else {
        auto k = store.find(key);
        if (k == store.end() || !k->second.values.erase(p.value.toLower()))
            return cx.raise(NotFound, QStringLiteral("Unable to remove registry key \"%1\".").arg(written));
    }
    return save(cx, store);
}

} // namespace winenv::registry
