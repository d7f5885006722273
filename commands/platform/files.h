#pragma once

#include <QString>

#include "failure.h"

// File commands. A relative path is relative to the process's current directory, which
// changeDirectory sets for everything that follows. Paths may be written as on Windows:
// `\` separates as `/` does, and a path with a drive letter is not found.
namespace platform::files {

// Deletes the file, or every file that matches * and ? in the last part of the path.
Failure kill(const QString &path);
Failure makeDirectory(const QString &path);
// Copies source to destination, replacing a destination file that exists.
Failure copyFile(const QString &source, const QString &destination);
Failure changeDirectory(const QString &path);
Failure fileLength(const QString &path, qint64 &bytes);
// Gives the file a new name in its own directory; a name with a path separator is refused.
Failure rename(const QString &path, const QString &newName);
// The name of the first entry (by name) that matches the pattern in the last part of the
// path, or the empty string. Directories count when attributes has vbDirectory (16), hidden
// entries when it has vbHidden (2).
Failure firstMatch(const QString &pattern, int attributes, QString &name);

// The size as the command object shows it: "1024Byte(s)", "1.5KB", "2 MB", "1GB".
QString sizeText(qint64 bytes, QChar decimalSeparator);

} // namespace platform::files
