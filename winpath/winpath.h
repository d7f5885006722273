#pragma once

#include <QString>
#include <optional>

// Paths as scripts written for Windows give them: `\` separates as `/` does, and a drive
// letter names something this system does not have. The engine's FileSystemObject and the
// command object's file commands both go through here; this knows neither of them.
namespace winpath {

// "C:", "d:\x", "C:file": the path begins with a drive letter.
bool hasDrive(const QString &path);

// The local file name the path stands for, with `\` turned into `/`; nothing for a path
// with a drive letter, which is never found here (not turned into a name with backslashes),
// or with a NUL character, which no file name holds.
std::optional<QString> local(const QString &path);

// A word of a command line for a Linux program: a path written with `\` that names a
// place here (it, or the folder it would be in, exists) with `/`; any other word (a
// switch, a pattern, text) as written.
QString commandWord(const QString &word);

// Text functions that treat both separators alike, as FileSystemObject's do, on Windows
// paths too: fileName("C:\dir\a.txt") is "a.txt", parentFolder "C:\dir".
QString fileName(const QString &path);
QString parentFolder(const QString &path);
QString baseName(const QString &path);  // the file name without its last extension
QString extension(const QString &path); // after the file name's last dot
// The path and a name joined by the separator the path already uses.
QString build(const QString &path, const QString &name);

} // namespace winpath
