#include "modules.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibrary>

namespace platform::modules {

QFunctionPointer entry(const QString &fileName, const QString &buildPath, const char *symbol, QString *why)
{
    const QStringList candidates{
        QCoreApplication::applicationDirPath() + QStringLiteral("/../" VORNIX_MODULE_DIR "/") + fileName, buildPath};
    QString failure;
    for (const QString &path : candidates) {
        if (!QFile::exists(path))
            continue;
        QLibrary library(path);
        if (QFunctionPointer found = library.resolve(symbol))
            return found;
        failure = library.errorString();
    }
    if (why)
        *why = failure.isEmpty() ? QStringLiteral("the program's module %1 is not installed").arg(fileName) : failure;
    return nullptr;
}

} // namespace platform::modules
