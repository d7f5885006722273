#include "adostream.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include "convert.h"
#include "textcodec.h"
#include "winpath.h"

using namespace vbs;

namespace winenv {

namespace {

// ADO's errors as scripts see them.
enum : int32_t {
    InvalidArgument = 3001,   // arguments of the wrong type, out of range, or in conflict
    FileNotOpened = 3002,     // "File could not be opened."
    WriteFailed = 3004,       // "Write to file failed."
    IllegalOperation = 3219,  // "Operation is not allowed in this context."
    ObjectClosed = 3704,      // "Operation is not allowed when the object is closed."
};

enum { Binary = 1, Text = 2 };
enum { ReadAll = -1, ReadLine = -2 };
enum { SeparatorCrLf = -1, SeparatorLf = 10, SeparatorCr = 13 };

bool adoError(Context &cx, int32_t number)
{
    switch (number) {
    case InvalidArgument:
        return cx.raise(number, QStringLiteral("Arguments are of the wrong type, are out of acceptable range, or are "
                                               "in conflict with one another."));
    case FileNotOpened: return cx.raise(number, QStringLiteral("File could not be opened."));
    case WriteFailed: return cx.raise(number, QStringLiteral("Write to file failed."));
    case ObjectClosed: return cx.raise(number, QStringLiteral("Operation is not allowed when the object is closed."));
    default: return cx.raise(number, QStringLiteral("Operation is not allowed in this context."));
    }
}

// The character sets scripts name, in any letter case.
enum class Charset { Unicode, Utf8, Windows1252, Ascii, Latin1 };

std::optional<Charset> charsetNamed(const QString &name)
{
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("unicode") || n == QLatin1String("utf-16") || n == QLatin1String("utf-16le"))
        return Charset::Unicode;
    if (n == QLatin1String("utf-8"))
        return Charset::Utf8;
    if (n == QLatin1String("windows-1252") || n == QLatin1String("ascii") || n == QLatin1String("_autodetect")
        || n == QLatin1String("_autodetect_all"))
        return Charset::Windows1252;
    if (n == QLatin1String("us-ascii"))
        return Charset::Ascii;
    if (n == QLatin1String("iso-8859-1") || n == QLatin1String("latin1"))
        return Charset::Latin1;
    return std::nullopt;
}

QByteArray toWindows1252(const QString &text, bool asciiOnly)
{
    static const QString high = fromWindows1252(QByteArray("\x80\x81\x82\x83\x84\x85\x86\x87\x88\x89\x8a\x8b\x8c\x8d\x8e\x8f"
                                                            "\x90\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9a\x9b\x9c\x9d\x9e\x9f",
                                                            32));
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (!asciiOnly && u >= 0xA0 && u < 0x100)) {
            out += char(u);
        } else if (const qsizetype at = asciiOnly ? -1 : high.indexOf(c); at >= 0) {
            out += char(0x80 + at);
        } else {
            out += '?'; // as Windows writes a character its code page lacks
        }
    }
    return out;
}

} // namespace

int AdoStream::memberId(const QString &name)
{
    static const MemberTable members{"Type", "Charset", "Open", "Close", "LoadFromFile", "SaveToFile", "Read", "Write",
                                     "ReadText", "WriteText", "Position", "Size", "EOS", "SetEOS", "CopyTo",
                                     "LineSeparator", "State", "Flush", "SkipLine", "Mode", "Cancel"};
    return members.id(name);
}

QByteArray AdoStream::encode(const QString &text) const
{
    switch (m_charset) {
    case int(Charset::Unicode): return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    case int(Charset::Utf8): return text.toUtf8();
    case int(Charset::Latin1): return toWindows1252(text, false); // near enough: the same for 0xA0 .. 0xFF
    case int(Charset::Ascii): return toWindows1252(text, true);
    default: return toWindows1252(text, false);
    }
}

QString AdoStream::decode(const QByteArray &bytes) const
{
    switch (m_charset) {
    case int(Charset::Unicode): {
        QString text(bytes.size() / 2, Qt::Uninitialized);
        auto *out = reinterpret_cast<char16_t *>(text.data());
        for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
            out[i / 2] = char16_t(uchar(bytes[i]) | uchar(bytes[i + 1]) << 8);
        return text;
    }
    case int(Charset::Utf8): return QString::fromUtf8(bytes);
    case int(Charset::Latin1): return QString::fromLatin1(bytes);
    default: return fromWindows1252(bytes);
    }
}

// The byte mark that text in the stream's character set starts with, as ADO writes it.
QByteArray AdoStream::mark() const
{
    if (m_charset == int(Charset::Unicode))
        return QByteArray("\xff\xfe", 2);
    if (m_charset == int(Charset::Utf8))
        return QByteArray("\xef\xbb\xbf", 3);
    return QByteArray();
}

void AdoStream::writeBytes(const QByteArray &bytes)
{
    // Writing goes over what is at the position and on past the end.
    const qsizetype overlap = qMin<qsizetype>(bytes.size(), m_data.size() - m_position);
    if (overlap > 0)
        m_data.replace(m_position, overlap, bytes.left(overlap));
    m_data.append(bytes.mid(qMax<qsizetype>(overlap, 0)));
    m_position += bytes.size();
}

bool AdoStream::invoke(Context &cx, int id, Invoke kind, Args a, Value &result)
{
    enum { Type = 1, CharsetId, Open, Close, LoadFromFile, SaveToFile, Read, Write, ReadText, WriteText, Position, Size,
           EOS, SetEOS, CopyTo, LineSeparator, State, Flush, SkipLine, Mode, Cancel };
    const bool assigning = kind & (InvokeLet | InvokeSet);
    if (assigning && id != Type && id != CharsetId && id != Position && id != LineSeparator && id != Mode)
        return cx.raise(err::NoSuchMember);
    const bool needsOpen = !(id == Type || id == CharsetId || id == Open || id == State || id == LineSeparator
                             || id == Mode || id == Close || id == Cancel);
    if (needsOpen && !m_open)
        return adoError(cx, ObjectClosed);
    int32_t n = 0;
    QString text;
    switch (id) {
    case Type:
        if (!assigning) {
            result = Value::lng(m_type);
            return true;
        }
        if (!toLong(cx, a[0], n))
            return false;
        if (n != Binary && n != Text)
            return adoError(cx, InvalidArgument);
        if (m_open && m_position != 0)
            return adoError(cx, IllegalOperation);
        m_type = n;
        return true;
    case CharsetId: {
        if (!assigning) {
            static const char *const names[] = {"Unicode", "utf-8", "windows-1252", "us-ascii", "iso-8859-1"};
            result = Value::string(QString::fromLatin1(names[m_charset]));
            return true;
        }
        if (!toText(cx, a[0], text))
            return false;
        const std::optional<Charset> named = charsetNamed(text);
        if (!named)
            return adoError(cx, InvalidArgument);
        if (m_open && m_position != 0)
            return adoError(cx, IllegalOperation);
        m_charset = int(*named);
        return true;
    }
    case Open:
        if (a.has(0)) // opening a URL or a record as the source
            return cx.raise(IllegalOperation, QStringLiteral("A stream opens here without a source: use LoadFromFile"));
        m_open = true;
        m_data.clear();
        m_position = 0;
        return true;
    case Close:
        m_open = false;
        m_data.clear();
        m_position = 0;
        return true;
    case LoadFromFile: {
        if (a.count != 1 || !toText(cx, a[0], text))
            return cx.raiseUnlessPending(err::WrongArgs);
        const std::optional<QString> path = winpath::local(text);
        QFile file(path.value_or(QString()));
        if (!path || !file.open(QIODevice::ReadOnly))
            return adoError(cx, FileNotOpened);
        if (file.size() > cx.limits.maxStringLength * 2 || !cx.reserveMemory(file.size()))
            return cx.raiseUnlessPending(err::OutOfMemory);
        m_data = file.readAll();
        m_position = 0;
        return cx.spend(m_data.size());
    }
    case SaveToFile: {
        int32_t options = 1; // adSaveCreateNotExist
        if (a.count < 1 || !toText(cx, a[0], text) || (a.has(1) && !toLong(cx, a[1], options)))
            return cx.raiseUnlessPending(err::WrongArgs);
        const std::optional<QString> path = winpath::local(text);
        if (!path)
            return adoError(cx, WriteFailed);
        if (!(options & 2) && QFile::exists(*path))
            return adoError(cx, WriteFailed);
        QSaveFile file(*path);
        if (!file.open(QIODevice::WriteOnly) || file.write(m_data) != m_data.size() || !file.commit())
            return adoError(cx, WriteFailed);
        return cx.spend(m_data.size());
    }
    case Read: {
        if (m_type != Binary)
            return adoError(cx, IllegalOperation);
        n = ReadAll;
        if (a.has(0) && !toLong(cx, a[0], n))
            return false;
        const qsizetype left = m_data.size() - m_position;
        const qsizetype take = n < 0 ? left : qMin<qsizetype>(n, left);
        if (take <= 0) {
            result = Value::null(); // nothing left: Null, as ADO gives
            return true;
        }
        result = Value::array(ArrayData::fromBytes(m_data.mid(m_position, take)));
        m_position += take;
        return true;
    }
    case Write: {
        if (m_type != Binary)
            return adoError(cx, IllegalOperation);
        if (a.count != 1)
            return cx.raise(err::WrongArgs);
        if (a[0].isArray() && a[0].asArray()->isBytes()) {
            writeBytes(a[0].asArray()->bytes());
        } else if (a[0].isString()) { // a byte string (MidB, ChrB): its bytes
            writeBytes(QByteArray(reinterpret_cast<const char *>(a[0].asString().utf16()), a[0].asString().size() * 2));
        } else {
            return adoError(cx, InvalidArgument);
        }
        return true;
    }
    case ReadText: {
        if (m_type != Text)
            return adoError(cx, IllegalOperation);
        n = ReadAll;
        if (a.has(0) && !toLong(cx, a[0], n))
            return false;
        if (m_position == 0 && m_data.startsWith(mark()))
            m_position = mark().size();
        const QString rest = decode(m_data.mid(m_position));
        qsizetype take = rest.size();
        qsizetype skip = 0;
        if (n == ReadLine) {
            const QString separator = m_separator == SeparatorLf ? QStringLiteral("\n")
                                      : m_separator == SeparatorCr ? QStringLiteral("\r") : QStringLiteral("\r\n");
            const qsizetype at = rest.indexOf(separator);
            if (at >= 0) {
                take = at;
                skip = separator.size();
            }
        } else if (n >= 0) {
            take = qMin<qsizetype>(n, rest.size());
        } else if (n != ReadAll) {
            return adoError(cx, InvalidArgument);
        }
        result = Value::string(rest.left(take));
        m_position += encode(rest.left(take + skip)).size();
        return true;
    }
    case WriteText: {
        if (m_type != Text)
            return adoError(cx, IllegalOperation);
        int32_t option = 0;
        if (a.count < 1 || !toText(cx, a[0], text) || (a.has(1) && !toLong(cx, a[1], option)))
            return cx.raiseUnlessPending(err::WrongArgs);
        if (option == 1) // adWriteLine
            text += m_separator == SeparatorLf ? QStringLiteral("\n")
                    : m_separator == SeparatorCr ? QStringLiteral("\r") : QStringLiteral("\r\n");
        if (m_position == 0 && m_data.isEmpty())
            writeBytes(mark());
        writeBytes(encode(text));
        return cx.spend(text.size());
    }
    case Position:
        if (!assigning) {
            result = Value::lng(int32_t(m_position));
            return true;
        }
        if (!toLong(cx, a[0], n))
            return false;
        if (n < 0 || n > m_data.size())
            return adoError(cx, InvalidArgument);
        m_position = n;
        return true;
    case Size: result = Value::lng(int32_t(m_data.size())); return true;
    case EOS: result = Value::boolean(m_position >= m_data.size()); return true;
    case SetEOS: m_data.truncate(m_position); return true;
    case CopyTo: {
        if (a.count < 1 || !a[0].isObject() || !a[0].asObject())
            return adoError(cx, InvalidArgument);
        auto *target = dynamic_cast<AdoStream *>(a[0].asObject());
        if (!target || !target->m_open)
            return adoError(cx, target ? ObjectClosed : InvalidArgument);
        n = -1;
        if (a.has(1) && !toLong(cx, a[1], n))
            return false;
        Value hold = a[0];
        const qsizetype left = m_data.size() - m_position;
        QByteArray piece = m_data.mid(m_position, n < 0 ? left : qMin<qsizetype>(n, left));
        if (m_type == Text && n >= 0) // a count of characters in a text stream
            piece = encode(decode(m_data.mid(m_position)).left(n));
        m_position += piece.size();
        target->writeBytes(piece);
        return true;
    }
    case LineSeparator:
        if (!assigning) {
            result = Value::lng(m_separator);
            return true;
        }
        if (!toLong(cx, a[0], n))
            return false;
        if (n != SeparatorCrLf && n != SeparatorLf && n != SeparatorCr)
            return adoError(cx, InvalidArgument);
        m_separator = n;
        return true;
    case State: result = Value::lng(m_open ? 1 : 0); return true;
    case Flush:
    case Cancel: return true;
    case SkipLine: {
        Value ignored;
        Value mode = Value::lng(ReadLine);
        Value *args[] = {&mode};
        return invoke(cx, ReadText, InvokeMethod, Args{args, 1}, ignored);
    }
    case Mode:
        if (!assigning)
            result = Value::lng(m_mode);
        else if (!toLong(cx, a[0], m_mode))
            return false;
        return true;
    default:
        return cx.raise(err::NoSuchMember);
    }
}

} // namespace winenv
