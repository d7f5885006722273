#pragma once

#include <QByteArray>
#include <QString>

namespace vbs {

// The text of a file as Windows reads it: UTF-16 after its byte-order mark (either byte
// order), UTF-8 after its mark or without one when the bytes are valid UTF-8, and
// otherwise Windows-1252, the code page of a US Windows, so that "Grüße" saved by an old
// editor reads as itself, never with replacement characters. With `unicode` a file without
// a mark is UTF-16 little-endian (FileSystemObject's format -1).
QString decodeText(const QByteArray &bytes, bool unicode = false);

// Windows-1252 bytes as text: Latin-1, except that 0x80..0x9F are the code page's
// typographic characters (the five bytes it leaves undefined stay as the same code points).
QString fromWindows1252(const QByteArray &bytes);

} // namespace vbs
