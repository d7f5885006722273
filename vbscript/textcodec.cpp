#include "textcodec.h"

#include <QStringDecoder>

namespace vbs {

namespace {

// 0x80..0x9F in Windows-1252.
constexpr char16_t HighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString fromUtf16(const QByteArray &bytes, qsizetype from, bool bigEndian)
{
    QString text((bytes.size() - from) / 2, Qt::Uninitialized);
    auto *out = reinterpret_cast<char16_t *>(text.data());
    const auto *in = reinterpret_cast<const uchar *>(bytes.constData() + from);
    for (qsizetype i = 0; i < text.size(); ++i, in += 2)
        out[i] = bigEndian ? char16_t(in[0] << 8 | in[1]) : char16_t(in[1] << 8 | in[0]);
    return text;
}

} // namespace

QString fromWindows1252(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    auto *out = reinterpret_cast<char16_t *>(text.data());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar b = uchar(bytes[i]);
        out[i] = b >= 0x80 && b < 0xA0 ? HighControls[b - 0x80] : char16_t(b);
    }
    return text;
}

QString decodeText(const QByteArray &bytes, bool unicode)
{
    if (bytes.startsWith("\xff\xfe"))
        return fromUtf16(bytes, 2, false);
    if (bytes.startsWith("\xfe\xff"))
        return fromUtf16(bytes, 2, true);
    if (bytes.startsWith("\xef\xbb\xbf"))
        return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    if (unicode)
        return fromUtf16(bytes, 0, false);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return fromWindows1252(bytes);
}

} // namespace vbs
