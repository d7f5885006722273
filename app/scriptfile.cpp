#include "scriptfile.h"

#include <QFile>
#include <QSaveFile>

#include "textcodec.h"

namespace scriptfile {

namespace {

// Editors write larger files than anyone edits by hand; beyond this it is no script.
constexpr qint64 MaxBytes = qint64(256) << 20;

QString withCrLf(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

} // namespace

Read read(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, file.errorString()};
    if (file.size() > MaxBytes)
        return {std::nullopt, QFile::tr("The file is too large to edit (%1 MB)").arg(file.size() >> 20)};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, file.errorString()};
    return {withCrLf(vbs::decodeText(bytes)), QString()};
}

std::optional<QString> write(const QString &fileName, const QString &text)
{
    QSaveFile file(fileName);
    const QByteArray bytes = withCrLf(text).toUtf8();
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return why;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace scriptfile
