#pragma once

#include <QByteArray>

#include "dispatch.h"

namespace vbs {

// The text of a file: UTF-16 after its byte-order mark (either byte order), UTF-8 after
// its mark or without one; UTF-16 little-endian without a mark when `unicode` says so.
QString decodeText(const QByteArray &bytes, bool unicode = false);

// Scripting.FileSystemObject: paths, files, folders and text streams, on the local file
// system through Qt. Relative paths are relative to the process's current directory.
class FileSystemObject : public Object {
public:
    static inline const QString ClassId = QStringLiteral("Scripting.FileSystemObject");

    QString typeName() const override { return QStringLiteral("FileSystemObject"); }
    int memberId(const QString &name) override;
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) override;
};

} // namespace vbs
