#pragma once

#include <QFileInfo>
#include <QString>
#include <functional>

// Copying files and folders so that nothing the script did not name is lost: shared by
// FileSystemObject and Shell.Application.
//
// A copy never follows a link inside what it copies (the link is copied as a link, so a
// link loop cannot make the copy endless or reach outside the source), never writes into
// the folder it reads, and puts each file in place by renaming a finished copy over the
// old one: the old file stays whole until the new one is complete, and a link at the
// target is replaced, never written through.
namespace vbs::filecopy {

// Where a path really is, links and dots resolved; for a path not made yet, its folder's
// real path and its name.
QString realPath(const QString &path);

// True when path is folder or lies inside it.
bool within(const QString &path, const QString &folder);

// True when copying `from` to `to` would write onto `from` itself.
bool isItself(const QFileInfo &from, const QString &to);

enum class Outcome {
    Copied,
    Itself,     // `to` is `from` (a file copied onto itself, perhaps through a link)
    IntoItself, // a folder copied into itself or into a folder inside it
    Failed,     // error says why
    Stopped,    // spend said no: the time limit or a stop
};

// Work charged as a copy goes, before each step: about a unit per 64 bytes (a large file
// is charged block by block), and one per entry.
using Spend = std::function<bool(qint64 work)>;

// Copies a file, a link, or a folder with everything in it, to `to` (a folder's files
// are merged into an existing folder there and replace files of the same name).
Outcome copy(const QFileInfo &from, const QString &to, QString &error, const Spend &spend);

} // namespace vbs::filecopy
