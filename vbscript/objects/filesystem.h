#pragma once

#include <QByteArray>

#include "dispatch.h"
#include "textcodec.h"

#include <QStorageInfo>

namespace vbs {

// The mounted file systems that scripts see as drives: real ones, not the kernel's own.
// (FileSystemObject's Drives, and the disks that WMI answers with.)
QList<QStorageInfo> mountedDrives();

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
